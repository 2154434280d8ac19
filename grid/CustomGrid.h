#pragma once
#include "grid/Cell.h"
#include "grid/Columns.h"
#include "grid/GridTypes.h"
#include "grid/RowFacts.h"
#include "grid/ScrollControl.h"

#include <functional>
#include <string>

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

  // The height of a row, as OnMeasuringRowHeight answers it; a row outside the rows is an
  // empty row of RowSize pixels.
  int RowHeightOf(int row);
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

  TVxCellEvent OnChange;
  TVxRowExpandEvent OnExpand;
  TCompareEvent OnCompare;
  TVxColumnEvent OnAfterSort;
  TVxSortColumnEvent OnSortColumn;
  TMeasuringRowHeightEvent OnMeasuringRowHeight;
  TCellHintEvent OnCellHint;
  TVxEditAcceptEvent OnEditAccept;
  TVxEditEvent OnAfterEdit;

  // TColumnsHost
  void ColumnsNotify(const TColumnsNotice& notice) override;
  int ColumnsClientWidth() const override;
  bool ColumnsShowIndicator() const override { return options_.Contains(goIndicator); }
  bool ColumnsLoading() const override { return Loading(); }
  bool ColumnsDestroying() const override { return tearingDown_ || Destroying(); }
  const TFont& ColumnsGridFont() const override { return Font(); }

protected:
  void FontChanged() override;
  void Loaded() override;
  void CreateWnd() override;
  void Resize() override;
  void Paint(TCanvas& canvas) override;
  int GetHorzScrollDelta(int oldPosition, int newPosition) override;
  int GetVertScrollDelta(int oldPosition, int newPosition) override;
  void BeforeScrollMessage(TScrollBarKind kind) override;
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
  void RowsInserted(int first, int count);
  void RowsRemoved(int first, int count);
  virtual void ScrollRowIntoView(int) {}
  // All rows are gone: scroll positions start again.
  virtual void RowsCleared();
  // After a sort the selection follows its row to the row's new index.
  virtual void SelectSortedRow(int row) { StoreSelection(selectedColumn_, row); }
  // Ends any in-place edit before rows go.
  virtual void EndEdit() {}

  void SetTopRow(int row) { topRow_ = row; }
  // Sets the selection directly, for the row operations that keep it pointing at the same row.
  void StoreSelection(int column, int row) {
    selectedColumn_ = column;
    selectedRow_ = row;
  }
  void ResetNavigation();

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
  int rowSize_ = 16;
  int headerSize_ = 18;
  int footerSize_ = 18;
  int inputSize_ = 16;
  int selectedColumn_ = 0;
  int selectedRow_ = -1;
  int topRow_ = 0;
  int updateLock_ = 0;
};

// Mouse, keyboard, focus and window messages, column drag helpers and the published
// properties of the grid.
class TVxCustomGrid : public TVxCustomGridControl {
public:
  explicit TVxCustomGrid(TComponent* owner) : TVxCustomGridControl(owner) {}
  const char* ClassName() const override { return "TVxCustomGrid"; }
};
