#pragma once
#include "grid/Cell.h"
#include "grid/Columns.h"
#include "ui/DpiLength.h"
#include "grid/GridEvents.h"
#include "grid/GridTypes.h"
#include "grid/InplaceEdit.h"
#include "grid/RowFacts.h"
#include "grid/ScrollControl.h"

#include <functional>
#include <memory>
#include <string>

class THeaderDisplays;
class TColumnDrag;
class THintWindow;
class TTimer;
class TColumnPlay;
struct TGridColors;

using TVxCellEvent = std::function<void(TObject* Sender, int ACol, int ARow)>;
using TVxColumnEvent = std::function<void(TObject* Sender, int ACol)>;
using TVxRowExpandEvent = std::function<void(TObject* Sender, int ARow)>;
using TVxSortColumnEvent = std::function<void(TObject* Sender, int ACol, bool Ascending)>;
using TCompareEvent =
    std::function<void(TObject* Sender, TCell* Cell1, TCell* Cell2, int& Compare)>;
using TMeasuringRowHeightEvent = std::function<void(TObject* Sender, int Index, int& RowHeight)>;
using TCellHintEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, std::wstring& Value)>;

using TVxEditAcceptEvent = std::function<void(TObject* Sender, int ACol, int ARow,
                                              const std::wstring& Value, bool& Accept)>;
using TVxEditEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, const std::wstring& Value)>;
// A handler may change Value.
using TVxEditTextEvent =
    std::function<void(TObject* Sender, int ACol, int ARow, std::wstring& Value)>;
using TVxBeforeEditEvent = std::function<void(TObject* Sender, int ACol, int ARow, bool& Accept)>;
using TVxInputAcceptEvent = std::function<void(TObject* Sender, bool& Accept)>;

// Layout, selection, scrolling, painting entry and event dispatch of the grid. It knows the
// rows only through the row facts (TRowFacts) that the derived grid's row store answers; what
// the row operations ask of the window (redraws, body shifts, scroll ranges) does nothing
// until the control has a window to act on.
class TVxCustomGridControl : public TVxScrollControl, public TColumnsHost {
public:
  explicit TVxCustomGridControl(TComponent* owner);
  ~TVxCustomGridControl() override;
  const char* ClassName() const override { return "TVxCustomGridControl"; }

  TVxColumns& Columns() { return columns_; }
  const TVxColumns& Columns() const { return columns_; }

  TGridOptions Options() const { return options_; }
  void SetOptions(TGridOptions value);
  TGridLinesStyle GridLinesStyle() const { return gridLinesStyle_; }
  void SetGridLinesStyle(TGridLinesStyle value);
  int RowSize() const { return rowSize_; }
  void SetRowSize(int value);

  int SelectedColumn() const { return selectedColumn_; }
  int SelectedRow() const { return selectedRow_; }
  int TopRow() const { return topRow_; }
  int HeaderSize() const { return headerSize_; }
  void SetHeaderSize(int value);
  int FooterSize() const { return footerSize_; }
  void SetFooterSize(int value);
  int InputSize() const { return inputSize_; }
  void SetInputSize(int value);
  // Hide the vertical bar when every row fits (else it stays, disabled).
  bool HideScrollBar() const { return VertScrollBar().AutoHide(); }
  void SetHideScrollBar(bool value) { VertScrollBar().SetAutoHide(value); }
  using TVxScrollControl::VertScrollBar;
  const TVxScrollBar& VertScrollBar() const {
    return const_cast<TVxCustomGridControl*>(this)->VertScrollBar();
  }

  // The height of a row, as OnMeasuringRowHeight answers it, within kLeastRowHeight to
  // kGreatestRowHeight; a row outside the rows is an empty row of RowSize pixels.
  int RowHeightOf(int row);
  static constexpr int kLeastRowHeight = 1;
  static constexpr int kGreatestRowHeight = 0x7FFF;
  // Pixels between two rows: the horizontal grid line.
  int RowSeparator() const;
  // The band the rows are drawn in: below the header (and input line), above the footer.
  RECT GetBodyRect();
  // The number of displayed rows from TopRow whose whole height fits in the body.
  int RowsFit();
  // The number of displayed rows before row: the vertical scroll position that shows it on top.
  int DisplayedRowsBefore(int row) const;

  // Between LockUpdates and UnlockUpdates cell changes neither redraw nor raise OnChange.
  void LockUpdates() { ++updateLock_; }
  void UnlockUpdates();
  bool UpdatesLocked() const { return updateLock_ > 0; }

  // Look (GridPaint.cpp): every change repaints the whole control.
  TAppearanceOptions AppearanceOptions() const { return appearance_; }
  void SetAppearanceOptions(TAppearanceOptions value);
  uint8_t HeaderStyle() const;
  void SetHeaderStyle(uint8_t value);
  THeaderDisplays& HeaderDisplays() const { return *headerDisplays_; }
  TColor SelectionColor() const { return selectionColor_; }
  void SetSelectionColor(TColor value) { SetLook(selectionColor_, value); }
  TColor InactiveSelectionColor() const { return inactiveSelectionColor_; }
  void SetInactiveSelectionColor(TColor value) { SetLook(inactiveSelectionColor_, value); }
  TColor HighlightedTextColor() const { return highlightedTextColor_; }
  void SetHighlightedTextColor(TColor value) { SetLook(highlightedTextColor_, value); }
  TColor GridLinesColor() const { return gridLinesColor_; }
  void SetGridLinesColor(TColor value) { SetLook(gridLinesColor_, value); }
  TSortedStyle SortedStyle() const { return sortedStyle_; }
  void SetSortedStyle(TSortedStyle value);
  bool EnableVisualStyles() const { return enableVisualStyles_; }
  void SetEnableVisualStyles(bool value);
  int FixedCols() const { return columns_.FixedCols(); }
  void SetFixedCols(int value);
  // The indicator strip's width at the grid's DPI, whether or not goIndicator shows it; and
  // the width it takes from the columns (0 without goIndicator).
  int IndicatorStripWidth() const { return Scaled(kIndicatorWidth); }
  int IndicatorWidth() const { return options_.Contains(goIndicator) ? IndicatorStripWidth() : 0; }
  static constexpr int kIndicatorWidth = 12;
  // The input line's and the footer band's room beyond their InputSize and FooterSize.
  static constexpr int kInputExtra = 6;
  static constexpr int kFooterExtra = 4;
  // The five line widths from Options, GridLinesStyle and ao3DGridLines.
  TGridLineWidths LineWidths() const;

  // Behaviour switches.
  bool AutoScroll() const { return autoScroll_; }
  void SetAutoScroll(bool value) { autoScroll_ = value; }
  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }
  THomeEndBehaviour HomeEndBehaviour() const { return homeEndBehaviour_; }
  void SetHomeEndBehaviour(THomeEndBehaviour value) { homeEndBehaviour_ = value; }
  // Tab and Enter go to the grid instead of the window.
  bool WantTabs() const { return wantTabs_; }
  void SetWantTabs(bool value) { wantTabs_ = value; }
  bool WantReturns() const { return wantReturns_; }
  void SetWantReturns(bool value) { wantReturns_ = value; }
  // Where Enter moves the selection with WantReturns.
  TSelectionMoveDirection SelectionMoveDirection() const { return selectionMoveDirection_; }
  void SetSelectionMoveDirection(TSelectionMoveDirection value) { selectionMoveDirection_ = value; }

  // Layout (GridLayout.cpp), in client coordinates.
  RECT GetHeaderRect();
  RECT GetInputRect();
  RECT GetFooterRect();
  RECT GetIndicatorRect();
  int GetRowTop(int row) { return RowTop(row); }
  RECT GetRowRect(int row);
  RECT GetCellRect(int col, int row);
  // The shown rows from TopRow whose whole height fits in the body.
  int RowsPerPage() { return RowsFit(); }
  TGridCell GetCellAtPos(int x, int y);
  TGridHitTest HitTest(int x, int y);
  // The column whose resize grip lies under x in the header; -1 for none.
  int ColumnGripAt(int x);
  // The column under x, as the header and the cells see it; -1 for none.
  int ColumnAtX(int x);
  // The left edge of a column after horizontal scrolling (fixed columns do not scroll).
  int ColumnLeft(const TVxCustomColumn& column);

  // Slides style (GridSlides.cpp): every shown row is one slide of SlideSize pixels across
  // the client, each column's cell where its slide bounds put it. Switching back to the
  // report style gives the report layout as it was.
  TGridStyle GridStyle() const { return gridStyle_; }
  void SetGridStyle(TGridStyle value);
  int SlideSize() const { return slideSize_; }
  // A size of 0 or less is ignored.
  void SetSlideSize(int value);
  TSlidesOptions SlidesOptions() const { return slidesOptions_; }
  void SetSlidesOptions(TSlidesOptions value);
  TColor SlideSelectionColor() const { return slideSelectionColor_; }
  void SetSlideSelectionColor(TColor value) { SetLook(slideSelectionColor_, value); }
  // The height a shown row takes in the body: its slide in slides style, else its height.
  int RowExtentOf(int row);

  // Selection (GridSelect.cpp). Every change of the selection goes through SelectCell.
  void SelectCell(int col, int row, bool plain, TShiftState shift);
  void SelectRow(int row);
  void MoveDown(TShiftState shift);
  void MoveUp(TShiftState shift);
  void MoveToFirst(TShiftState shift);
  void MoveToLast(TShiftState shift);
  // Moves the selection count shown rows down (up when negative), stopping at the ends.
  void MoveBy(int count);
  void SelectNextColumn();
  void SelectPreviousColumn();
  void PageDown();
  void PageUp();
  int SelectedCount();
  void ClearSelection();
  bool MultiSelectActive() const { return multiSelectActive_; }
  void ScrollColumnIntoView(int col);
  // Whether row is a row of the grid that is shown.
  bool IsShownRow(int row) const;
  // The in-place edit: whether an editor is open, and on which cell (the input line's cells
  // have row -1); whether the input line holds the selection.
  bool EditorOpen() const { return edit_.open; }
  TGridCell EditCell() const { return edit_.cell; }
  bool InputLineActive() const { return edit_.inputLine; }
  // With goInput: the selection goes to the input line, or back to the rows.
  void EnterInputLine();
  void LeaveInputLine();

  TVxBeforeSelectEvent OnBeforeSelect;
  TVxCellEvent OnDeselectCell;
  TVxCellEvent OnSelectCell;
  TVxCellEvent OnCellClick;
  TVxCellEvent OnCellDblClick;
  TVxColumnEvent OnHeaderClick;
  TVxColumnEvent OnHeaderDblClick;
  TVxColumnEvent OnFooterClick;
  TVxColumnEvent OnColumnResize;
  TVxColumnMoveEvent OnColumnMove;
  // The owner may refuse a sort the user asked for by a header click.
  TVxBeforeSortEvent OnBeforeSort;
  // The user changed a cell's value (a click in a check box, Space, ...): raised after the
  // change with the new value, whichever input made it.
  TVxEditEvent OnCellValueChanged;
  TVxCellColoringEvent OnCellColoring;
  TVxDrawCellBackgroundEvent OnDrawCellBackground;
  TVxCustomDrawCellEvent OnCustomDrawCell;
  TNotifyEvent OnPostDraw;
  TVxSlideColoringEvent OnSlideColoring;

  TVxCellEvent OnChange;
  TVxRowExpandEvent OnExpand;
  TCompareEvent OnCompare;
  TVxColumnEvent OnAfterSort;
  TVxSortColumnEvent OnSortColumn;
  TMeasuringRowHeightEvent OnMeasuringRowHeight;
  // A row's height was set (by the row store or a drag in the indicator strip).
  TVxRowHeightEvent OnChangeRowHeight;
  TCellHintEvent OnCellHint;
  TVxEditAcceptEvent OnEditAccept;
  TVxEditEvent OnAfterEdit;
  // In-place editing (GridEdit.cpp): before an editor opens (the owner may refuse), the text
  // it opens with, its opening, the text about to be written, its closing.
  TVxBeforeEditEvent OnBeforeEdit;
  TVxEditTextEvent OnApplyEditText;
  TVxCellEvent OnEdit;
  TVxEditTextEvent OnEditText;
  TVxCellEvent OnEditExit;
  // The input line: a row is about to be added from its values (the owner may refuse), it was
  // added (the grid's LastAddedIndex), the input line's column changed.
  TVxInputAcceptEvent OnInputAccept;
  TNotifyEvent OnInputAdded;
  TVxColumnEvent OnInputSelectCell;

  // TColumnsHost
  void ColumnsNotify(const TColumnsNotice& notice) override;
  int ColumnsClientWidth() const override;
  int ColumnsIndicatorWidth() const override { return IndicatorWidth(); }
  bool ColumnsLoading() const override { return Loading(); }
  bool ColumnsDestroying() const override { return tearingDown_ || Destroying(); }
  const TFont& ColumnsGridFont() const override { return Font(); }

protected:
  void FontChanged() override;
  // The lengths the owner set follow the grid to the new DPI; rows, ticks and the selection
  // stay as they are.
  void DpiChanged(int oldDpi, int newDpi) override;
  void Loaded() override;
  void CreateWnd() override;
  void Resize() override;
  void Paint(TCanvas& canvas) override;
  int GetHorzScrollDelta(int oldPosition, int newPosition) override;
  int GetVertScrollDelta(int oldPosition, int newPosition) override;
  void BeforeScrollMessage(TScrollBarKind kind) override;
  // Slides never scroll sideways.
  bool WheelScrollsSideways() const override { return gridStyle_ != gsSlides; }
  // The row store the grid's facts come from (the derived grid sets it).
  void SetRowFacts(const TRowFacts* facts) { rowFacts_ = facts; }
  const TRowFacts& RowFacts() const;
  virtual void RowSizeChanged() {}

  // Window work requested by the row operations; nothing before the window exists.
  virtual void InvalidateCell(int, int row) { InvalidateRow(row); }
  virtual void InvalidateRow(int row) { InvalidateRows(row, row); }
  virtual void InvalidateRows(int first, int last);
  virtual void InvalidateBody();
  virtual void InvalidateHeader();
  virtual void InvalidateIndicator();
  // The part of the body from row downwards moved by dy pixels (down when positive).
  virtual void ShiftBody(int row, int dy);
  // The vertical range after the rows or the body changed: shown rows, the rows that fit, and
  // TopRow moved onto a displayed row with the position taken from it. With rowsChanged false
  // (before a scroll message) TopRow is trusted as it stands.
  void UpdateVertScrollRange(bool rowsChanged = true);
  // The horizontal range after column widths or the client width changed.
  void UpdateHorzScrollRange();
  virtual void SetLastRowMarker(int) {}
  virtual void RecomputeFirstRowMarker() {}
  virtual void RecomputeLastRowMarker() {}
  // Rows first to first + count - 1 were inserted or removed: TopRow keeps its row.
  // The selection and the Shift anchor follow their rows.
  virtual void RowsInserted(int first, int count);
  virtual void RowsRemoved(int first, int count);
  // Scrolls the least that shows a shown row whole in the body.
  virtual void ScrollRowIntoView(int row);
  // All rows are gone: scroll positions start again.
  virtual void RowsCleared();
  // After a sort the selection follows its row to the row's new index.
  virtual void SelectSortedRow(int row) { StoreSelection(selectedColumn_, row); }
  // Closes any in-place editor without applying its text (rows or columns go or move, the
  // contents scroll); an apply in progress writes nothing.
  virtual void EndEdit() {}
  // Applies the open editor's text and closes it.
  virtual void ApplyEdit() {}
  void BeforeScroll(TScrollBarKind) override { EndEdit(); }
  void InvalidateInputLine();

  // The state of in-place editing that selection and painting read.
  struct TEditState {
    TGridCell cell;         // the edited cell; row -1 in the input line
    bool open = false;      // an editor is open
    bool input = false;     // the open editor is the input line's
    bool inputLine = false; // the input line holds the selection
    RECT editorRect{};      // where the open editor stands
    unsigned session = 0;   // changes whenever an editor opens or closes
  };
  TEditState edit_;

  void SetTopRow(int row) { topRow_ = row; }
  // Sets the selection directly, for the row operations that keep it pointing at the same row.
  void StoreSelection(int column, int row) {
    selectedColumn_ = column;
    selectedRow_ = row;
  }
  void ResetNavigation();
  // Counts the changes that take rows or columns away or renumber the columns: a pass that
  // runs event handlers (a paint) compares it to know its rows and columns still hold.
  unsigned ShapeStamp() const { return shapeStamp_; }

  friend class TGridPaintClient;
  // The row store's side of selection and painting, answered by the grid with rows.
  virtual bool RowSelectedFlag(int) const { return false; }
  virtual int SelectedRowTotal() const { return 0; }
  virtual void SetRowSelectedFlag(int, bool) {}
  virtual void SetRowsSelectedFlag(int, int, bool) {}
  // The column's play loaded for a cell; null when the column has none or the row is none.
  virtual TColumnPlay* PlayAt(int, int, const RECT&) { return nullptr; }
  virtual std::wstring SearchTextOf(int, int) { return {}; }
  virtual int RowLevelOf(int) const { return 0; }
  // The width the cell's content needs, measured by the column's display.
  virtual int CellContentWidth(int, int, TCanvas&, const RECT&) { return 0; }
  virtual int CellContentHeight(int, int, TCanvas&, const RECT&) { return 0; }
  virtual std::wstring CellHintFor(int, int) { return {}; }
  // The hint shown while the pointer rests on a cell: its whole text when it does not fit,
  // else its cell hint.
  virtual std::wstring RestingHintFor(int, int, TCanvas&, const RECT&, bool) { return {}; }
  // Draws a cell's value through the column's display inside contentRect.
  virtual void PaintCellValue(TCanvas&, int, int, const RECT&, TColor, TCellState, bool) {}
  // The header pressed by a click in progress (-1 for none), and the hovered one.
  virtual int PressedHeader() const { return -1; }
  virtual int HotHeader() const { return -1; }
  // Shows a row at the top with the given vertical position, repainting the body.
  void JumpTopTo(int row, int position);
  // The first shown row from TopRow, RowTotal() when none.
  int FirstRowFromTop() const;
  // Selection anchor of Shift ranges.
  int SelectionAnchor() const { return anchor_; }
  void SetMultiSelectActive(bool value) { multiSelectActive_ = value; }

  // Set from the start of the destructor, before the members go.
  bool tearingDown_ = false;

private:
  TVxColumns columns_;
  TGridOptions options_{goHeader};
  TGridLinesStyle gridLinesStyle_ = lsNormal;
  void RefreshScrollAreas();
  // Moves TopRow onto a displayed row within the rows and no further down than the last
  // page allows.
  void SyncTopRow();
  int RowTop(int row);

  const TRowFacts* rowFacts_ = nullptr;
  TDpiLength rowSize_{16};
  TDpiLength headerSize_{18};
  TDpiLength footerSize_{18};
  TDpiLength inputSize_{16};
  int selectedColumn_ = 0;
  int selectedRow_ = -1;
  int topRow_ = 0;
  int updateLock_ = 0;

  void SetLook(TColor& field, TColor value);
  // The colours and switches a paint starts from.
  TGridColors CurrentColors();
  void PaintSlides(TCanvas& canvas, const TGridColors& colors);
  // The slide of a row: the client's width, SlideSize high, at the row's top.
  RECT SlideRect(int row);
  // The column whose cell in row's slide holds the point; -1 for none.
  int SlideColumnAt(int row, int x, int y);
  bool AcceptCell(int col, int row);
  void RedrawSelection(int oldCol, int oldRow, int col, int row);
  void ScrollDownTo(int row);
  void SelectInputCell(int col);
  std::unique_ptr<THeaderDisplays> headerDisplays_;
  TAppearanceOptions appearance_{aoHideSelection, aoHighlightSlideCells};
  TColor selectionColor_ = clHighlight;
  TColor inactiveSelectionColor_ = clBtnFace;
  TColor highlightedTextColor_ = clHighlightText;
  TColor gridLinesColor_ = clBtnFace;
  TSortedStyle sortedStyle_ = soDefault;
  bool enableVisualStyles_ = true;
  bool autoScroll_ = false;
  bool readOnly_ = false;
  THomeEndBehaviour homeEndBehaviour_ = hebTopBottom;
  bool wantTabs_ = false;
  bool wantReturns_ = false;
  TSelectionMoveDirection selectionMoveDirection_ = mdDown;
  TGridStyle gridStyle_ = gsReport;
  TDpiLength slideSize_{80};
  TSlidesOptions slidesOptions_{soFrame, soHideSelection};
  TColor slideSelectionColor_ = clWindow;
  // The report's horizontal position, kept while the slides hide the bar.
  int reportHorzPosition_ = 0;
  int anchor_ = -1;
  bool multiSelectActive_ = false;
  unsigned shapeStamp_ = 0;
  // The row a selection change is leaving, while OnDeselectCell runs.
  int leavingRow_ = -1;
};

// Mouse, keyboard, focus and window messages, column drag helpers and the published
// properties of the grid.
class TVxCustomGrid : public TVxCustomGridControl, private TVxEditHost {
public:
  explicit TVxCustomGrid(TComponent* owner);
  ~TVxCustomGrid() override;
  const char* ClassName() const override { return "TVxCustomGrid"; }

  // The control's version, as its property lists show it; not stored.
  const wchar_t* Version() const { return L"4.7"; }
  TInputEnterMode InputEnterMode() const { return inputEnterMode_; }
  void SetInputEnterMode(TInputEnterMode value) { inputEnterMode_ = value; }
  // Opens the in-place editor on a cell, when the column, the grid and OnBeforeEdit allow it;
  // true when it opened.
  bool BeginEdit(int col, int row) { return OpenEditor(col, row, nullptr); }
  // With goInput: opens the input line's editor on a column that takes input.
  bool BeginInputEdit(int col) { return OpenInputEditor(col, nullptr); }
  // The editor open now (the column's own or its InplaceEdit); null when none.
  TWinControl* ActiveEditor() const { return activeEditor_; }
  void ApplyEdit() override { CloseEditor(true, true); }
  void EndEdit() override { CloseEditor(false, true); }

  // bsSingle (the default) gives the window a sunken edge; bsNone none.
  TBorderStyle BorderStyle() const { return borderStyle_; }
  void SetBorderStyle(TBorderStyle value);
  // Auto-fit: the column's width becomes what its widest shown cell needs.
  void AutoFitColumn(int col);
  // Auto-fit: the row's height becomes what its tallest cell needs, at least RowSize.
  void AutoFitRowHeight(int row);
  const std::wstring& SearchText() const { return searchText_; }
  TTimer& SearchTimer() { return *searchTimer_; }
  // The column a drag is moving (-1 for none), and the drag box and arrows it shows.
  int DraggedColumn() const { return dragColumn_; }
  TColumnDrag& ColumnDrag() { return *columnDrag_; }
  // Shows the hint of the header under the pointer, just below the header band.
  THintWindow& HeaderHint() { return *headerHint_; }
  // How long the pointer rests on a cell before its hint shows, in milliseconds.
  static constexpr UINT kCellHintPause = 500;
  // Shows the hint of the cell the pointer rests on, just below the cell.
  THintWindow& CellHint() { return *cellHint_; }
  TTimer& CellHintTimer() { return *cellHintTimer_; }
  int PressedHeader() const override { return pressedHeader_; }
  int HotHeader() const override { return hotHeader_; }

  // The indicator strip's drags (GridRowInput.cpp): the row whose height is being dragged
  // (-1 for none), and whether a row is being dragged to another place.
  int ResizingRow() const { return rowDrag_.resizeRow; }
  bool RowMoving() const { return rowDrag_.moving; }
  // The row whose bottom grip lies under y in the indicator strip; -1 for none.
  int RowGripAt(int y);
  // A dragged row is about to move from FromPos to ToPos; the owner may refuse.
  TVxRowMoveEvent OnRowMove;
  // A dragged row moved.
  TVxAfterRowMoveEvent OnAfterRowMove;

protected:
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void CreateParams(TCreateParams& params) override;
  // Mouse (GridMouse.cpp), header hover, resizing and moving (GridHeaderInput.cpp).
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  void HoverMove(TShiftState shift, int x, int y) override;
  void MouseLeave() override;
  // Keys (GridKeys.cpp).
  void KeyDown(WORD& key, TShiftState shift) override;
  void KeyPress(wchar_t& key) override;
  UINT DialogCode(UINT defaultCode) override;
  // Focus and activation.
  void DoEnter() override;
  void DoExit() override;
  void ApplicationActivateChanged(bool active) override;
  // Keeps an inverted row mark on the screen through paints and scrolls.
  void Paint(TCanvas& canvas) override;
  void BeforeScroll(TScrollBarKind kind) override;
  void AfterScroll(TScrollBarKind kind) override;
  // The row store's side of the indicator drags, answered by the grid with rows: where a row
  // dropped over another goes (-1 where the move is refused), the move and the new height.
  virtual int RowDropPosition(int, int) const { return -1; }
  virtual void MoveRowByDrag(int, int) {}
  virtual void SetRowHeightByDrag(int, int) {}
  bool WheelAllowed() override { return !EditorOpen(); }
  // A press awaiting its release follows its row, and is dropped when its row or the column
  // indexes go.
  void RowsInserted(int first, int count) override;
  void RowsRemoved(int first, int count) override;
  void RowsCleared() override;
  void ColumnsNotify(const TColumnsNotice& notice) override;
  // The row of a press awaiting its release (-1 for none), for the row operations that
  // reorder rows to keep it on its row.
  int PressedRow() const { return pressCell_.Row; }
  void FollowPressedRow(int row) { pressCell_.Row = row; }
  void ControlRemoving(TWinControl* control) override;
  // Closes an open editor without a word: no event, no text applied (the grid is going).
  void DropEditor();
  // The row store's side of editing, answered by the grid with rows.
  virtual std::wstring CellEditText(int, int) { return {}; }
  virtual void WriteEditText(int, int, const std::wstring&) {}
  virtual TColor CellEditColor(int, int) { return Color(); }
  // Appends one row for the input line's values; its index, -1 when there is none.
  virtual int AppendEditRow() { return -1; }

private:
  // GridEdit.cpp
  bool CanEdit(const TVxCustomColumn& column, TEditorUse use) const;
  RECT EditArea(int col, int row);
  RECT InputEditArea(int col);
  bool OpenEditor(int col, int row, const std::wstring* typed);
  bool OpenInputEditor(int col, const std::wstring* typed);
  // Opens the column's editor over area with text; a typed first character is not selected.
  void ShowEditor(TVxCustomColumn& column, const RECT& area, TColor color, const std::wstring& text,
                  bool typed, bool input);
  void CloseEditor(bool apply, bool focusGrid);
  void HideEditor(TWinControl& editor, bool focusGrid);
  void ApplyCellText(TGridCell cell, std::wstring text);
  void AddInputRow();
  void EditorKeyDown(WORD& key, TShiftState shift) override;
  void EditorKeyPress(wchar_t& key) override;
  void EditorFocusLeaving(HWND newFocus) override;

  void CellPress(TMouseButton button, TShiftState shift, int x, int y);
  void CellRelease(TShiftState shift, int x, int y);
  void HeaderRelease(int x, int y);
  bool PlayTakesMouse(int col, int row) const;
  void InvalidateHeaderOf(int col);
  void SetHotHeader(int col);
  void StartResize(int col);
  void DrawResizeLines();
  void InvertResizeLines(HDC dc);
  void EndResize(bool apply);
  void DragMove(int x, int y);
  void EndDrag(int x, int y);
  // Where a dragged column would go for a pointer at x; -1 where the move is refused.
  int DropPosition(const TVxCustomColumn& dragged, int x, int y);
  void ResetHeaderState();
  // Indicator strip input (GridRowInput.cpp); each answers whether it took the pointer.
  void IndicatorPress(TMouseButton button, int x, int y);
  bool RowInputMove(TShiftState shift, int x, int y);
  bool RowInputRelease(int x, int y);
  // Ends a row resize or move without changing anything (Escape, focus or capture lost);
  // answers whether one was going on.
  bool CancelRowInput();
  int IndicatorCursorAt(int x, int y);
  // The displayed row on the screen at y (its separator line included); -1 for none.
  int RowUnder(int y);
  // Visits the displayed rows from TopRow down to the body's bottom until visit answers true;
  // answers the top of the row where the walk stopped (below the last row visited).
  int WalkScreenRows(const std::function<bool(int row, int top, int height)>& visit);
  // The y where the first displayed row from index row on starts (the body's bottom when it
  // lies below the screen).
  int RowBoundaryY(int row);
  void UpdateDropMark(int x, int y);
  // Replaces the inverted mark on the screen with another (an empty one for none).
  void SetRowMark(const RECT& mark);
  void ShowRowMark(bool show);
  void InvertRowMark(HDC dc) const;
  void TypeAhead(wchar_t key);
  // The cell hint (GridCellHint.cpp): the pointer moved to x, y in the body, or went.
  void TrackCellHint(int x, int y);
  void HideCellHint();
  void ShowCellHint();
  void TabKey(bool back);
  void EnterKey();

  TBorderStyle borderStyle_ = bsSingle;
  int pressedHeader_ = -1;
  int hotHeader_ = -1;
  int gripColumn_ = -1;
  int resizeColumn_ = -1;
  int resizeChange_ = 0;
  bool resizeLinesShown_ = false;
  int dragColumn_ = -1;
  POINT pressPoint_{-1, -1};
  bool pressValid_ = false;
  TGridCell pressCell_;
  bool secondClick_ = false;
  std::wstring searchText_;
  std::unique_ptr<TTimer> searchTimer_;
  std::unique_ptr<TColumnDrag> columnDrag_;
  std::unique_ptr<THintWindow> headerHint_;
  std::unique_ptr<THintWindow> cellHint_;
  std::unique_ptr<TTimer> cellHintTimer_;
  TGridCell hintCell_;
  struct TRowDrag {
    int resizeRow = -1;    // the row whose height is dragged
    int resizeTop = 0;     // its top when the drag started
    int resizeLine = 0;    // where the inverted line is: the row's new bottom
    int moveRow = -1;      // the row pressed in the strip while rows can move
    bool moving = false;   // dragged far enough to be a move
    RECT mark{0, 0, 0, 0}; // the inverted line or drop mark (empty for none)
    bool markShown = false;
  };
  TRowDrag rowDrag_;
  TInputEnterMode inputEnterMode_ = imEditing;
  TWinControl* activeEditor_ = nullptr;
  TWinControl* outsideEditor_ = nullptr;    // a column's InplaceEdit while it edits here
  TWinControl* editorHomeParent_ = nullptr; // and its own parent, given back afterwards
};
