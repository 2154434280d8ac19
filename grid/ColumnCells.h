#pragma once
#include "grid/Cell.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <vector>

class TVxCustomColumn;

// Room for count more items, doubling as push_back would: reserving the exact need on every
// row would copy the whole list each time.
template <class T> void ReserveMore(std::vector<T>& items, size_t count) {
  const size_t need = items.size() + count;
  if (need > items.capacity()) items.reserve(std::max(need, items.capacity() * 2));
}

// Position k receives the item that stood at order[k]; done has one entry per item. Cannot fail.
template <class T>
void PermuteInPlace(std::vector<T>& items, const std::vector<int>& order,
                    std::vector<uint8_t>& done) noexcept {
  // Follows each cycle of the permutation once; an item moves straight to its place.
  std::fill(done.begin(), done.end(), 0);
  const size_t n = items.size();
  for (size_t start = 0; start < n; ++start) {
    if (done[start]) continue;
    T held = std::move(items[start]);
    size_t at = start;
    for (;;) {
      done[at] = 1;
      const size_t from = static_cast<size_t>(order[at]);
      if (from == start) break;
      items[at] = std::move(items[from]);
      at = from;
    }
    items[at] = std::move(held);
  }
}

// The cells of one column of the row store, one per row in row order. A column of the common
// kinds keeps its values in one compact list and hands out one shared cell that stands for
// whichever row the store's current cell names: a million rows then cost their values, not a
// million cell objects. Auto-number and GUID columns, whose cells differ in class from row to
// row, keep a cell object per row.
//
// Every change of the row order is split in two: what can fail (Reserve, and making the cell
// objects) comes first, the moves after it cannot fail, so the store never holds a column of a
// different length than its rows.
class TColumnCells {
public:
  // The layout follows the column's data kind; a store without a column object keeps text.
  TColumnCells(TCells* store, const TVxCustomColumn* column);
  TColumnCells(const TColumnCells&) = delete;
  TColumnCells& operator=(const TColumnCells&) = delete;

  size_t Size() const;
  // Whether each row has a cell object of its own, made by the store before it is inserted.
  bool HoldsObjects() const { return layout_ == lObjects; }
  // The cell of row, shared or its own.
  TCell* At(size_t row) { return layout_ == lObjects ? objects_[row].get() : shared_.get(); }
  // A cell of the column's class that stands for one row only, for a comparison that holds two
  // cells at once; the row's own object in an object column.
  TCell* Pinned(int column, int row);
  // The texts of a text column, read in place by a sort; nullptr for other layouts.
  const std::vector<TCellText>* Texts() const { return layout_ == lText ? &texts_.texts : nullptr; }

  // Room for count more cells: the inserts after it cannot fail.
  void Reserve(size_t count);
  // Inserts count empty cells at at; an object column takes them from objects, in order.
  void Insert(size_t at, size_t count, std::unique_ptr<TCell>* objects) noexcept;
  void Erase(size_t first, size_t last) noexcept;
  void Clear() noexcept;
  void Swap(size_t a, size_t b) noexcept;
  // Moves the cell at from to to, the cells between shifting by one.
  void Move(size_t from, size_t to) noexcept;
  void Reverse() noexcept;
  // Row k receives the cell that stood at row order[k]; done has one entry per row.
  void Permute(const std::vector<int>& order, std::vector<uint8_t>& done) noexcept;

  // The colour and font style that the column gave the cells made from it.
  TColor MadeColor() const { return madeColor_; }
  TFontStyles MadeStyle() const { return madeStyle_; }
  void SetMadeLook(TColor color, TFontStyles style) {
    madeColor_ = color;
    madeStyle_ = style;
  }

private:
  enum TLayout : uint8_t { lText, lBoolean, lInteger, lFloat, lDateTime, lVirtual, lObjects };
  template <class F> void Visit(F f);
  template <class F> void Visit(F f) const;
  std::unique_ptr<TCell> NewShared();

  TCells* store_;
  const TVxCustomColumn* column_;
  TLayout layout_;
  TTextValues texts_;
  // Booleans; a virtual column keeps nothing but the count here.
  std::vector<uint8_t> bytes_;
  std::vector<int32_t> ints_;
  std::vector<double> doubles_;
  std::vector<std::unique_ptr<TCell>> objects_;
  std::unique_ptr<TCell> shared_;
  std::unique_ptr<TCell> pinned_[2];
  int nextPinned_ = 0;
  TColor madeColor_ = clWindow;
  TFontStyles madeStyle_;
};
