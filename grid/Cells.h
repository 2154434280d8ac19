#pragma once
#include "grid/Cell.h"
#include "grid/ColumnCells.h"
#include "grid/GridTypes.h"
#include "grid/RowFacts.h"
#include "grid/SmallPool.h"

#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <vector>

class TVxColumns;

// One row of the grid. The tree is implicit in the row order: a row's descendants are the
// rows after it up to the first one whose level is not greater than its own.
class TRow final : public TPooled {
public:
  int ChildCount() const { return childCount_; }
  bool Expanded() const { return expanded_; }
  int Level() const { return level_; }
  TRow* ParentRow() const { return parentRow_; }
  int Height() const { return height_; }
  bool Selected() const { return selected_; }
  bool Shown() const { return shown_; }
  bool Visible() const { return visible_; }
  bool Displayed() const { return shown_ && visible_; }
  // The row's current position in the row list.
  int Index() const { return index_; }

private:
  friend class TCells;
  int32_t childCount_ = 0;
  int32_t level_ = 0;
  TRow* parentRow_ = nullptr;
  int32_t height_ = 16;
  bool expanded_ : 1 = true;
  bool selected_ : 1 = false;
  bool shown_ : 1 = true;
  bool visible_ : 1 = true;
  // Some cell of the row has a colour, style or hint of its own in the store's side table.
  bool extras_ : 1 = false;
  // Bookkeeping so that tree queries need not scan: the row's position, the number of rows in
  // its descendant run, and the nearest earlier row of lower level (the row whose run this
  // row ends or extends).
  int32_t index_ = 0;
  int32_t runLength_ = 0;
  TRow* runParent_ = nullptr;
};

// Which operation creates cells; some data kinds get a different cell class for each.
enum TCellCreation : uint8_t {
  ccAppendRows,
  ccAppendChildRow,
  ccInsertRowAt,
  ccColumnAdded,
  ccColumnInserted
};

// What a cell has beyond its value. Few cells have any but the look their column gave them, so
// the store keeps these aside, for the cells that do.
struct TCellExtras {
  TColor BackColor = clWindow;
  TFontStyles TextStyle;
  std::wstring Hint;
};

// The row store: one list of rows and, per column, one list of cells of the same length.
// Owns every row and every cell. Every operation that adds, removes or reorders rows either
// completes or, when an allocation fails, leaves rows and cells as they were.
class TCells final : public TRowFacts {
public:
  explicit TCells(TVxColumns& columns);
  ~TCells() override;
  TCells(const TCells&) = delete;
  TCells& operator=(const TCells&) = delete;

  int ColumnTotal() const { return static_cast<int>(cells_.size()); }
  int RowTotal() const override { return static_cast<int>(rows_.size()); }
  int ShownTotal() const override { return shownTotal_; }
  int StoredRowHeight(int row) const override { return Row(row).Height(); }
  bool RowDisplayed(int row) const override { return Row(row).Displayed(); }
  int CurrentColumn() const { return currentColumn_; }
  int CurrentRow() const { return currentRow_; }
  int DefaultRowHeight() const { return defaultRowHeight_; }
  void SetDefaultRowHeight(int value) { defaultRowHeight_ = value; }
  bool IsSorted() const { return isSorted_; }
  int SortColumn() const { return sortColumn_; }
  TSortKind SortDirection() const { return sortDirection_; }

  // Raises "List index out of bounds (%d)" for a row outside the rows.
  TRow& Row(int row) const;
  bool IsRowIndex(int row) const { return row >= 0 && row < RowTotal(); }
  // Records (column, row) as the current cell.
  TCell* CellAt(int column, int row);
  // The length of a column's cell list: the row count, whatever failed.
  int CellCount(int column) const { return static_cast<int>(cells_[column]->Size()); }

  // The colour, style and hint of a shared cell.
  TColor CellBackColor(int column, int row) const;
  TFontStyles CellTextStyle(int column, int row) const;
  std::wstring CellHint(int column, int row) const;
  bool CellHasExtras(int column, int row) const { return FindExtras(column, row) != nullptr; }
  // The cell's own entry, made from its column's look when it has none.
  TCellExtras& CellExtras(int column, int row);

  // Appends n top-level rows; returns the index of the first.
  int AppendRows(int count);
  // Inserts one child of row parent at q (after its run when atEnd, else right after it).
  int AppendChildRow(int parent, bool atEnd);
  void InsertRowAt(int index);
  // Removes rows first to last (inclusive) and frees them; rows whose parent goes with them
  // but which stay lose their parent.
  void RemoveRows(int first, int last);
  void Clear();
  void ExchangeRows(int a, int b);
  void MoveRow(int from, int to);
  // Whether moving row from to position to leaves the tree whole: the row has no children and
  // lands among its own siblings, between two of their subtrees.
  bool MoveKeepsTree(int from, int to) const;

  // The displayed rows (shown and visible) in row order. Rows inside a collapsed node are
  // skipped a whole subtree at a time, so a walk costs the displayed rows it passes and the
  // depth of the tree, whatever the number of hidden rows.
  // The first displayed row after row (from the top when row is -1); RowTotal() when none.
  int NextDisplayedRow(int row) const override;
  // The last displayed row before row; -1 when none.
  int PreviousDisplayedRow(int row) const override;
  // Counted through a tree of partial counts (a Fenwick tree) over the displayed flags: a flag
  // change costs log n, a row added at the end log n, and a change in the middle of the list
  // is paid by the next query over the rows from there on, no more than the change itself.
  int DisplayedRank(int row) const override;
  int DisplayedRowAt(int rank) const override;

  int CountDescendants(int row) const;
  int LastDescendantRow(int row) const;
  int ParentRowOf(int row) const;
  // Sets the row's flags and keeps the shown count.
  void SetShown(TRow& row, bool value);
  void SetVisible(TRow& row, bool value);
  void SetExpanded(TRow& row, bool value) { row.expanded_ = value; }
  void SetHeight(TRow& row, int value) { row.height_ = value; }
  void SetSelected(TRow& row, bool value);
  // The number of selected rows, and a span of rows outside which no row is selected (first >
  // last when none is), so that clearing a selection need not visit every row.
  int SelectedTotal() const { return selectedTotal_; }
  int SelectedFirst() const { return selectedTotal_ > 0 ? selectedFirst_ : 0; }
  int SelectedLast() const { return selectedTotal_ > 0 ? selectedLast_ : -1; }

  // Sorts by column with the sort type; a repeated sort in the other direction reverses.
  void Sort(int column, TSortType type, bool force, TSortKind direction);

  // The column collection changed.
  void ColumnAdded(int index, bool atEnd);
  void ColumnRemoved(int index);

  // Called by a cell whose value changed: reports the current cell to the grid.
  void CellChanged();

  // Hooks set by the grid.
  std::function<void(int column, int row)> OnCellChanged;
  std::function<int(TCell& cell1, TCell& cell2)> OnCompareCells;

private:
  std::unique_ptr<TCell> CreateCell(int column, TCellCreation creation);
  // Inserts count new rows at at, all of one level, parent and shown flag, each with a new cell
  // in every column; returns the first. All or nothing.
  TRow* InsertRows(int at, int count, int level, TRow* parent, bool shown, TCellCreation creation);
  // Cells made from now on take the column's current look; cells made before keep theirs.
  void FollowColumnLook(int column);
  const TCellExtras* FindExtras(int column, int row) const;
  void DropExtras(const TRow* row) noexcept;
  // The side table after a column is inserted (delta 1) or removed (delta -1) at index.
  std::map<std::pair<const TRow*, int>, TCellExtras> RekeyedExtras(int index, int delta) const;
  // Gives rows first to last (the last row when -1) their positions.
  void Renumber(int first, int last = -1);
  // Whether a row that is a leaf at from would again be a leaf at to, following the same
  // nearest row above it of lower level, found through the links `up`.
  bool LeafFitsAt(int from, int to, TRow* TRow::*up) const;
  void EnsureRuns() const;
  void Permute(const std::vector<int>& order);
  // The partial counts from row on no longer hold (rows were added, removed or reordered).
  void RankStale(int row) { rankValid_ = std::min(rankValid_, row); }
  // Rows moved: the selected span widens to every row.
  void SelectionSpanLost() {
    selectedFirst_ = 0;
    selectedLast_ = RowTotal() - 1;
  }
  // Rows first to last changed places among themselves: a selected row among them may now
  // stand anywhere there.
  void SelectionSpanCovers(int first, int last) {
    if (selectedTotal_ == 0 || selectedLast_ < first || selectedFirst_ > last) return;
    selectedFirst_ = std::min(selectedFirst_, first);
    selectedLast_ = std::max(selectedLast_, last);
  }
  // Row's displayed flag changed by delta (+1 or -1).
  void RankFlagChanged(int row, int delta);
  void EnsureRank() const;
  // Displayed rows before row, from the valid partial counts alone (row <= rankValid_).
  int RankPrefix(int row) const;

  TVxColumns& columns_;
  std::vector<TRow*> rows_;
  std::vector<std::unique_ptr<TColumnCells>> cells_;
  // The rows and cell objects being inserted, kept to spare allocations per row.
  std::vector<std::unique_ptr<TRow>> newRows_;
  std::vector<std::unique_ptr<TCell>> newCells_;
  // Keyed by the row object, which travels with its row, and the column index.
  std::map<std::pair<const TRow*, int>, TCellExtras> extras_;
  int currentColumn_ = 0;
  int currentRow_ = 0;
  int defaultRowHeight_ = 16;
  int shownTotal_ = 0;
  bool isSorted_ = false;
  int sortColumn_ = -1;
  TSortKind sortDirection_ = skAscending;
  // The run lengths and run parents of every row are valid; operations that would make the
  // incremental update expensive clear this and the next tree query rebuilds them in one pass.
  mutable bool runsValid_ = true;
  // rank_[i] (from 1) counts the displayed rows in (i - lowbit(i), i]; the first rankValid_
  // entries are valid.
  mutable std::vector<int32_t> rank_{0};
  mutable std::vector<int32_t> rankScratch_;
  mutable int rankValid_ = 0;
  int selectedTotal_ = 0;
  int selectedFirst_ = 0;
  int selectedLast_ = -1;
};
