#include "grid/Columns.h"

#include "ui/Exception.h"
#include "ui/Numbers.h"

#include <windows.h>

#include <algorithm>
#include <string>

namespace {

// Component names are identifiers, so the ASCII fold settles nearly every comparison; other
// letters go to the system's ordinal case-insensitive comparison.
bool SameName(std::wstring_view a, std::wstring_view b) {
  if (a.size() != b.size()) return false;
  bool ascii = true;
  for (size_t i = 0; i < a.size(); ++i) {
    wchar_t x = a[i], y = b[i];
    if (x >= 128 || y >= 128) {
      ascii = false;
      break;
    }
    if (x >= L'A' && x <= L'Z') x = static_cast<wchar_t>(x + 32);
    if (y >= L'A' && y <= L'Z') y = static_cast<wchar_t>(y + 32);
    if (x != y) return false;
  }
  if (ascii) return true;
  return CompareStringOrdinal(a.data(), static_cast<int>(a.size()), b.data(),
                              static_cast<int>(b.size()), TRUE) == CSTR_EQUAL;
}

} // namespace

TVxColumns::~TVxColumns() {
  for (auto& column : items_)
    column->collection_ = nullptr;
}

TVxCustomColumn* TVxColumns::ColumnAt(int index) const {
  return IsColumnIndex(index) ? items_[index].get() : nullptr;
}

TVxCustomColumn* TVxColumns::ColumnAtPosition(int position) const {
  if (position < 0 || position >= static_cast<int>(positions_.size())) return nullptr;
  return positions_[position];
}

TVxCustomColumn* TVxColumns::ColumnByName(std::wstring_view name) const {
  for (auto& column : items_)
    if (SameName(column->Name(), name)) return column.get();
  return nullptr;
}

int TVxColumns::IndexOfColumn(const TVxCustomColumn* column) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].get() == column) return static_cast<int>(i);
  return -1;
}

TVxCustomColumn* TVxColumns::AddColumn(std::unique_ptr<TVxCustomColumn> column) {
  return InsertColumn(ColumnCount(), std::move(column));
}

TVxCustomColumn* TVxColumns::InsertColumn(int index, std::unique_ptr<TVxCustomColumn> column) {
  // Checked before anything changes, so the collection and the row store stay in step.
  if (ColumnCount() >= kMaxColumns)
    throw EListError("List index out of bounds (" + std::to_string(ColumnCount()) + ")");
  index = std::clamp(index, 0, ColumnCount());
  const bool atEnd = index == ColumnCount();
  TVxCustomColumn* added = column.get();
  Tell(atEnd ? ckAdding : ckInserting, added, index);
  added->collection_ = this;
  // Its widths, set or default, were lengths at the DPI it had alone (96).
  added->RescaleForDpi(dpi_);
  items_.insert(items_.begin() + index, std::move(column));
  // A column that follows the grid's font starts with it.
  if (host_ && added->ParentFont()) added->TakeGridFont(host_->ColumnsGridFont());
  if (Loading()) {
    // The stored positions decide the display order.
    auto at = std::find_if(positions_.begin(), positions_.end(), [added](TVxCustomColumn* c) {
      return c->Position() > added->Position();
    });
    positions_.insert(at, added);
    Layout(false);
  } else {
    positions_.push_back(added);
    Layout(true);
    AutoSize(TAutoSizeStart::None, nullptr);
  }
  Tell(atEnd ? ckAdded : ckInserted, added, index);
  return added;
}

std::unique_ptr<TVxCustomColumn> TVxColumns::RemoveColumn(TVxCustomColumn* column) {
  const int index = IndexOfColumn(column);
  if (index < 0) return nullptr;
  Tell(ckRemoving, column, index);
  std::unique_ptr<TVxCustomColumn> removed = std::move(items_[index]);
  items_.erase(items_.begin() + index);
  std::erase(positions_, column);
  removed->collection_ = nullptr;
  removed->visibleIndex_ = -1;
  if (!(host_ && host_->ColumnsDestroying())) {
    Layout(true);
    AutoSize(TAutoSizeStart::None, nullptr);
  }
  Tell(ckRemoved, removed.get(), index);
  return removed;
}

void TVxColumns::MoveColumn(int fromPosition, int toPosition) {
  const int count = static_cast<int>(positions_.size());
  if (fromPosition < 0 || fromPosition >= count || toPosition < 0 || toPosition >= count ||
      fromPosition == toPosition)
    return;
  TVxCustomColumn* moved = positions_[fromPosition];
  positions_.erase(positions_.begin() + fromPosition);
  positions_.insert(positions_.begin() + toPosition, moved);
  Layout(true);
  Tell(ckPosition, moved, fromPosition);
}

void TVxColumns::EndLoading() {
  if (loading_ > 0 && --loading_ == 0) ApplyStoredPositions();
}

void TVxColumns::ApplyStoredPositions() {
  std::stable_sort(
      positions_.begin(), positions_.end(),
      [](TVxCustomColumn* a, TVxCustomColumn* b) { return a->Position() < b->Position(); });
  Layout(true);
}

void TVxColumns::Layout(bool renumber) {
  int left = host_ ? host_->ColumnsIndicatorWidth() : 0;
  int visibleIndex = 0;
  fixedWidth_ = 0;
  for (size_t place = 0; place < positions_.size(); ++place) {
    TVxCustomColumn* column = positions_[place];
    if (renumber) column->position_ = static_cast<int>(place);
    if (column->Visible()) {
      column->left_ = left;
      column->visibleIndex_ = visibleIndex++;
      left += column->Width();
      if (static_cast<int>(place) < fixedCols_) fixedWidth_ += column->Width();
    } else {
      column->visibleIndex_ = -1;
    }
  }
}

void TVxColumns::ChangeDpi(int newDpi) {
  if (dpi_ == newDpi) return;
  dpi_ = newDpi;
  for (auto& column : items_)
    column->RescaleForDpi(newDpi);
  Layout();
}

void TVxColumns::SetFixedCols(int value) {
  if (fixedCols_ == value) return;
  fixedCols_ = value;
  Layout();
}

void TVxColumns::AutoSize(TAutoSizeStart start, const TVxCustomColumn* column) {
  // Without a grid there is no client width to share.
  if (!host_ || Loading()) return;
  int from = 0;
  int b = 0;
  if (start == TAutoSizeStart::At) {
    from = column->Position();
    b = column->Left();
  } else if (start == TAutoSizeStart::After) {
    from = column->Position() + 1;
    b = column->Visible() ? column->Left() + column->Width() : column->Left();
  }
  if (host_) b -= host_->ColumnsIndicatorWidth();
  int t = 0, s = 0;
  std::vector<TVxCustomColumn*> sized;
  for (size_t place = std::max(from, 0); place < positions_.size(); ++place) {
    TVxCustomColumn* c = positions_[place];
    if (!c->Visible()) continue;
    if (c->Options().Contains(coAutoSize)) {
      t += c->Width();
      sized.push_back(c);
    } else {
      s += c->Width();
    }
  }
  if (sized.empty() || t == 0) return;
  const int clientWidth = host_->ColumnsClientWidth();
  for (TVxCustomColumn* c : sized) {
    const double share = static_cast<double>(c->Width()) * (clientWidth - b - s) / t;
    c->ApplyWidth(static_cast<int>(RoundHalfEven(share)), false);
  }
}

void TVxColumns::Tell(TColumnChangeKind kind, TVxCustomColumn* column, int value) {
  if (host_) host_->ColumnsNotify(TColumnsNotice{kind, column, value});
}

void TVxColumns::SearchColumnSet(TVxCustomColumn& column) {
  for (auto& other : items_) {
    if (other.get() == &column || !other->options_.Contains(coSearchColumn)) continue;
    other->options_.Exclude(coSearchColumn);
    if (!Loading()) {
      other->Notify(ckAppearance);
      other->Tell(lcOptions);
    }
  }
}

void TVxColumns::UnsortOthers(TVxCustomColumn& column) {
  for (auto& other : items_)
    if (other.get() != &column && other->Sorted()) other->SetSorted(false);
}

int TVxColumns::VisibleColumnCount() const {
  return static_cast<int>(
      std::count_if(items_.begin(), items_.end(), [](auto& c) { return c->Visible(); }));
}

int TVxColumns::VisibleColumnsWidth() const {
  int width = 0;
  for (auto& c : items_)
    if (c->Visible()) width += c->Width();
  return width;
}

TVxCustomColumn* TVxColumns::FirstVisibleColumn() const {
  for (TVxCustomColumn* c : positions_)
    if (c->Visible()) return c;
  return nullptr;
}

TVxCustomColumn* TVxColumns::LastVisibleColumn() const {
  for (auto it = positions_.rbegin(); it != positions_.rend(); ++it)
    if ((*it)->Visible()) return *it;
  return nullptr;
}

TVxCustomColumn* TVxColumns::NextColumn(TVxCustomColumn* column) const {
  for (size_t place = column->Position() + 1; place < positions_.size(); ++place)
    if (positions_[place]->Enabled() && positions_[place]->Visible()) return positions_[place];
  return column;
}

TVxCustomColumn* TVxColumns::PreviousColumn(TVxCustomColumn* column) const {
  for (int place = column->Position() - 1; place >= 0; --place)
    if (positions_[place]->Enabled() && positions_[place]->Visible()) return positions_[place];
  return column;
}
