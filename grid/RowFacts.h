#pragma once

// The row facts that layout, hit testing, scrolling and painting need. The row store answers
// them; the grid's base classes know the rows through this interface alone. A displayed row
// is shown (no collapsed node above it) and visible (its own flag).
class TRowFacts {
public:
  virtual ~TRowFacts() = default;
  virtual int RowTotal() const = 0;
  virtual int ShownTotal() const = 0;
  // The stored height of a row of the store.
  virtual int StoredRowHeight(int row) const = 0;
  virtual bool RowDisplayed(int row) const = 0;
  // The first displayed row after row (from the top for -1); RowTotal() when none. Hidden
  // subtrees are skipped whole.
  virtual int NextDisplayedRow(int row) const = 0;
  // The last displayed row before row; -1 when none.
  virtual int PreviousDisplayedRow(int row) const = 0;
  // The number of displayed rows before row (any index up to RowTotal()), without a walk.
  virtual int DisplayedRank(int row) const = 0;
  // The displayed row that has rank displayed rows before it; RowTotal() when there is none.
  virtual int DisplayedRowAt(int rank) const = 0;
};
