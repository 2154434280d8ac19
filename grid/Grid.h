#pragma once
#include "grid/Cells.h"
#include "grid/ColumnPlay.h"
#include "grid/CustomGrid.h"

#include <memory>
#include <string>
#include <string_view>

// A cell key: a column or row named by number or by text ("First", "Last", "Selected", a
// column's name, or a number written as text). A key lives for one call: wide texts are
// viewed where they stand, only narrow texts and numbers are turned into wide text.
class TCellKey {
public:
  TCellKey(int number)
      : owned_(IntToStrW(number)), text_(owned_), number_(number), isNumber_(true) {}
  TCellKey(const wchar_t* text) : text_(text) {}
  TCellKey(const std::wstring& text) : text_(text) {}
  TCellKey(const char* text) : owned_(AnsiToWide(text)), text_(owned_) {}
  TCellKey(const std::string& text) : owned_(AnsiToWide(text)), text_(owned_) {}
  TCellKey(const TCellKey&) = delete;
  TCellKey& operator=(const TCellKey&) = delete;

  bool IsNumber() const { return isNumber_; }
  int Number() const { return number_; }
  std::wstring_view Text() const { return text_; }

private:
  std::wstring owned_;
  std::wstring_view text_;
  int number_ = 0;
  bool isNumber_ = false;
};

// The grid with its row storage: rows in display order, a tree by levels, typed cells.
class TVxGrid : public TVxCustomGrid {
public:
  explicit TVxGrid(TComponent* owner = nullptr);
  ~TVxGrid() override;
  const char* ClassName() const override { return "TVxGrid"; }

  TCells& Cells() { return *cells_; }
  const TCells& Cells() const { return *cells_; }

  int TotalRows() const { return cells_->RowTotal(); }
  int LastAddedIndex() const { return lastAddedIndex_; }
  int AppendRows(int count);
  void AppendChildRow(int parent, bool atEnd);
  void InsertRowAt(int index);
  void DeleteRowAt(int index);
  void ClearAllRows();
  void ExchangeRows(int a, int b);
  void MoveRowTo(int from, int to);

  TRow& RowObject(int row) const { return cells_->Row(row); }
  int LevelOf(int row) const { return cells_->Row(row).Level(); }
  bool RowHasChildren(int row) const { return cells_->Row(row).ChildCount() > 0; }
  int CountDescendants(int row) const { return cells_->CountDescendants(row); }
  int LastDescendantRow(int row) const { return cells_->LastDescendantRow(row); }
  int ParentRowOf(int row) const { return cells_->ParentRowOf(row); }
  bool IsRowExpanded(int row) const { return cells_->Row(row).Expanded(); }
  void ExpandRow(int row, bool value);
  void ToggleExpanded(int row) { ExpandRow(row, !IsRowExpanded(row)); }
  bool IsRowDisplayed(int row) const { return cells_->Row(row).Displayed(); }
  void ShowRow(int row, bool value);
  void SetRowHeightOf(int row, int height);
  bool IsRowSelected(int row) const { return cells_->Row(row).Selected(); }
  void MarkRowSelected(int row, bool value);
  void MarkRowsSelected(int first, int last, bool value);
  void SortByColumn(int column, bool ascending);

  TCell* CellAt(int column, int row) { return cells_->CellAt(column, row); }
  TCell* CellByKey(const TCellKey& column, const TCellKey& row);
  std::wstring CellText(int column, int row);
  void SetCellText(int column, int row, const std::wstring& text);
  std::wstring CellHintOf(int column, int row);
  TColor CellBackColorOf(int column, int row);

  // Loads the column's display with a cell: the canvas in the column's font (bold when asked),
  // the rectangle narrowed by the column's Padding, the value by the column's data kind and
  // the row's tree facts.
  TColumnDisplay& LoadDisplay(int column, int row, TCanvas& canvas, const RECT& cellRect,
                              bool bold = false);
  // Loads the display and draws the cell's content, unless the column draws only its
  // background or only custom content.
  void PaintCellContent(int column, int row, TCanvas& canvas, const RECT& cellRect,
                        bool bold = false);
  // Loads the column's play for a cell, with its hooks; null when the column has none.
  TColumnPlay* LoadPlay(int column, int row, const RECT& cellRect);
  // A play's value goes to its cell when OnEditAccept accepts it; then OnAfterEdit.
  void ApplyPlayValue(TColumnPlay& play);
  // The hint over a cell: the whole text when a fit-hint column is too narrow for it, else
  // the cell's own hint.
  std::wstring CellHintText(int column, int row, TCanvas& canvas, const RECT& cellRect,
                            bool bold = false);

  // Text colour and font style of a cell before its content is drawn.
  TVxCellFormatingEvent OnCellFormating;
  // May change the text measured for auto-fit and the fit hint, and the hint shown (not the
  // stored value, nor what the cell paints).
  TVxApplyCellEvent OnApplyCell;

protected:
  // The row store's answers to the control (GridRowHooks.cpp).
  bool RowSelectedFlag(int row) const override;
  void SetRowSelectedFlag(int row, bool value) override { MarkRowSelected(row, value); }
  int SelectedRowTotal() const override { return cells_->SelectedTotal(); }
  void SetRowsSelectedFlag(int first, int last, bool value) override;
  TColumnPlay* PlayAt(int col, int row, const RECT& cellRect) override {
    return LoadPlay(col, row, cellRect);
  }
  std::wstring SearchTextOf(int col, int row) override;
  int RowLevelOf(int row) const override;
  int CellContentWidth(int col, int row, TCanvas& canvas, const RECT& cellRect) override;
  int CellContentHeight(int col, int row, TCanvas& canvas, const RECT& cellRect) override;
  std::wstring CellHintFor(int col, int row) override { return CellHintOf(col, row); }
  std::wstring RestingHintFor(int col, int row, TCanvas& canvas, const RECT& cellRect,
                              bool bold) override {
    return CellHintText(col, row, canvas, cellRect, bold);
  }
  int RowDropPosition(int from, int over) const override;
  void MoveRowByDrag(int from, int to) override { MoveRowTo(from, to); }
  void SetRowHeightByDrag(int row, int height) override { SetRowHeightOf(row, height); }
  void PaintCellValue(TCanvas& canvas, int col, int row, const RECT& contentRect, TColor textColor,
                      TCellState state, bool selectedCell) override;
  std::wstring CellEditText(int col, int row) override { return CellText(col, row); }
  void WriteEditText(int col, int row, const std::wstring& text) override {
    SetCellText(col, row, text);
  }
  TColor CellEditColor(int col, int row) override { return CellBackColorOf(col, row); }
  int AppendEditRow() override { return AppendRows(1); }
  // The one place that decides what a column change means for the rows and the window.
  void ColumnsNotify(const TColumnsNotice& notice) override;
  void RowSizeChanged() override;
  // Every row keeps its place, its cells and its tick; only its height follows the DPI.
  void DpiChanged(int oldDpi, int newDpi) override;
  // The colour the grid gives a column whose cells take the grid's colour.
  virtual TColor ColumnCellColor(int) { return clWindow; }

private:
  bool IsCellPair(int column, int row) const;
  TRow* RowOrNull(int row) const { return cells_->IsRowIndex(row) ? &cells_->Row(row) : nullptr; }
  void SortRows(int column, bool ascending, bool byHeader);
  void CellChanged(int column, int row);

  std::unique_ptr<TCells> cells_;
  int lastAddedIndex_ = -1;
};
