#include "grid/ColumnCells.h"

#include "grid/Column.h"

#include <algorithm>
#include <type_traits>
#include <utility>

TColumnCells::TColumnCells(TCells* store, const TVxCustomColumn* column)
    : store_(store), column_(column) {
  switch (column ? column->DataKind() : uint8_t(dkText)) {
  case dkAutoNumber:
  case dkGuid:
    layout_ = lObjects;
    break;
  case dkBoolean:
    layout_ = lBoolean;
    break;
  case dkDateTime:
    layout_ = lDateTime;
    break;
  case dkFloat:
    layout_ = lFloat;
    break;
  case dkInteger:
    layout_ = lInteger;
    break;
  case dkVirtual:
    layout_ = lVirtual;
    break;
  default:
    layout_ = lText;
    break;
  }
  shared_ = NewShared();
  if (column) SetMadeLook(column->Color(), column->Font().Style());
}

std::unique_ptr<TCell> TColumnCells::NewShared() {
  auto* owner = const_cast<TVxCustomColumn*>(column_);
  switch (layout_) {
  case lText:
    return std::make_unique<TStringCell>(store_, texts_);
  case lBoolean:
    return std::make_unique<TBooleanCell>(store_, bytes_);
  case lInteger:
    return std::make_unique<TIntegerCell>(store_, ints_);
  case lFloat:
    return std::make_unique<TFloatCell>(store_, doubles_);
  case lDateTime:
    return std::make_unique<TDateTimeCell>(store_, doubles_);
  case lVirtual:
    return std::make_unique<TVirtualCell>(store_, owner);
  default:
    return nullptr;
  }
}

template <class F> void TColumnCells::Visit(F f) {
  switch (layout_) {
  case lText:
    f(texts_.texts);
    break;
  case lBoolean:
  case lVirtual:
    f(bytes_);
    break;
  case lInteger:
    f(ints_);
    break;
  case lFloat:
  case lDateTime:
    f(doubles_);
    break;
  default:
    f(objects_);
    break;
  }
}

template <class F> void TColumnCells::Visit(F f) const {
  const_cast<TColumnCells*>(this)->Visit([&](auto& items) { f(std::as_const(items)); });
}

size_t TColumnCells::Size() const {
  size_t size = 0;
  Visit([&](const auto& items) { size = items.size(); });
  return size;
}

TCell* TColumnCells::Pinned(int column, int row) {
  if (layout_ == lObjects) return objects_[static_cast<size_t>(row)].get();
  std::unique_ptr<TCell>& cell = pinned_[nextPinned_];
  nextPinned_ = 1 - nextPinned_;
  if (!cell) cell = NewShared();
  cell->Pin(column, row);
  return cell.get();
}

void TColumnCells::Reserve(size_t count) {
  Visit([&](auto& items) { ReserveMore(items, count); });
}

void TColumnCells::Insert(size_t at, size_t count, std::unique_ptr<TCell>* objects) noexcept {
  Visit([&](auto& items) {
    // Within the reserved room: the new cells go to the end and turn into place.
    const size_t old = items.size();
    items.resize(old + count);
    if constexpr (std::is_same_v<std::decay_t<decltype(items)>,
                                 std::vector<std::unique_ptr<TCell>>>) {
      for (size_t k = 0; k < count; ++k)
        items[old + k] = std::move(objects[k]);
    }
    std::rotate(items.begin() + at, items.begin() + old, items.end());
  });
}

void TColumnCells::Erase(size_t first, size_t last) noexcept {
  Visit([&](auto& items) { items.erase(items.begin() + first, items.begin() + last + 1); });
}

void TColumnCells::Clear() noexcept {
  Visit([](auto& items) { items.clear(); });
  // No text refers to a head any more.
  texts_.heads.Clear();
}

void TColumnCells::Swap(size_t a, size_t b) noexcept {
  Visit([&](auto& items) { std::swap(items[a], items[b]); });
}

void TColumnCells::Move(size_t from, size_t to) noexcept {
  Visit([&](auto& items) {
    if (from < to)
      std::rotate(items.begin() + from, items.begin() + from + 1, items.begin() + to + 1);
    else
      std::rotate(items.begin() + to, items.begin() + from, items.begin() + from + 1);
  });
}

void TColumnCells::Reverse() noexcept {
  Visit([](auto& items) { std::reverse(items.begin(), items.end()); });
}

void TColumnCells::Permute(const std::vector<int>& order, std::vector<uint8_t>& done) noexcept {
  Visit([&](auto& items) { PermuteInPlace(items, order, done); });
}
