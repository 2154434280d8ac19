#pragma once
#include "grid/Cell.h"
#include "grid/Columns.h"
#include "grid/GridTypes.h"
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

// Layout, selection, painting entry and event dispatch of the grid. The row facts come from
// the row storage of the derived grid; what the row operations ask of the window (redraws,
// body shifts, scroll ranges, the drawn-row markers) goes through the hooks below, which do
// nothing until the control has a window to act on.
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
  virtual void RowSizeChanged() {}

  // Window work requested by the row operations.
  virtual void InvalidateCell(int, int) {}
  virtual void InvalidateRow(int) {}
  virtual void InvalidateRows(int, int) {}
  virtual void InvalidateBody() {}
  virtual void InvalidateHeader() {}
  virtual void InvalidateIndicator() {}
  // Moves the part of the body from row downwards by dy pixels (up when negative).
  virtual void ShiftBody(int, int) {}
  virtual void UpdateVertScrollRange() {}
  virtual void SetLastRowMarker(int) {}
  virtual void RecomputeFirstRowMarker() {}
  virtual void RecomputeLastRowMarker() {}
  // A row was removed: adjusts the drawn-row markers and TopRow as the removal requires.
  virtual void RowRemoved(int, bool, int) {}
  virtual void ScrollRowIntoView(int) {}
  // All rows are gone: scroll positions and drawn-row markers start again.
  virtual void RowsCleared() {}
  // After a sort the selection follows its row to the row's new index.
  virtual void SelectSortedRow(int row) { StoreSelection(selectedColumn_, row); }
  // Ends any in-place edit before rows go.
  virtual void EndEdit() {}

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
  int rowSize_ = 16;
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
