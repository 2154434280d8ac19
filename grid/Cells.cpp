#include "grid/Cells.h"

#include "grid/Columns.h"
#include "grid/TreeOrder.h"
#include "ui/Exception.h"

#include <algorithm>
#include <string>
#include <string_view>

namespace {

[[noreturn]] void RaiseIndexError(int index) {
  throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

// A stable bottom-up merge sort. Unlike std::sort it stays within its ranges whatever the
// comparison answers, which matters for a handler-supplied comparison.
template <class T, class Less> void MergeSort(std::vector<T>& items, Less less) {
  const size_t n = items.size();
  constexpr size_t kRun = 16;
  for (size_t lo = 0; lo < n; lo += kRun) {
    const size_t hi = std::min(lo + kRun, n);
    for (size_t i = lo + 1; i < hi; ++i) {
      T value = std::move(items[i]);
      size_t j = i;
      for (; j > lo && less(value, items[j - 1]); --j)
        items[j] = std::move(items[j - 1]);
      items[j] = std::move(value);
    }
  }
  std::vector<T> merged(n);
  for (size_t width = kRun; width < n; width *= 2) {
    for (size_t lo = 0; lo < n; lo += 2 * width) {
      const size_t mid = std::min(lo + width, n), hi = std::min(lo + 2 * width, n);
      size_t a = lo, b = mid, out = lo;
      while (a < mid && b < hi)
        merged[out++] = less(items[b], items[a]) ? std::move(items[b++]) : std::move(items[a++]);
      while (a < mid)
        merged[out++] = std::move(items[a++]);
      while (b < hi)
        merged[out++] = std::move(items[b++]);
    }
    items.swap(merged);
  }
}

// One row's sort key beside the row's number.
template <class Key> struct TSortEntry {
  Key key;
  int row;
};

int CompareDoubles(double a, double b) {
  return a < b ? -1 : (b < a ? 1 : 0);
}

std::string CaseInsensitiveKey(const std::wstring& text) {
  std::string key = WideToAnsi(text);
  for (char& c : key)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return key;
}

// Dotted number texts ("10.0.0.2") order by their numbers, part by part; the text breaks ties
// and orders what is not a dotted number.
struct TIpKey {
  uint32_t parts[4] = {0, 0, 0, 0};
  bool valid = false;
};

TIpKey ParseIp(const std::wstring& text) {
  TIpKey key;
  size_t part = 0;
  bool digit = false;
  for (wchar_t c : text) {
    if (c >= L'0' && c <= L'9') {
      key.parts[part] = key.parts[part] * 10 + static_cast<uint32_t>(c - L'0');
      if (key.parts[part] > 255) return TIpKey{};
      digit = true;
    } else if (c == L'.' && digit && part < 3) {
      ++part;
      digit = false;
    } else {
      return TIpKey{};
    }
  }
  key.valid = digit;
  return key;
}

} // namespace

TCells::TCells(TVxColumns& columns) : columns_(columns) {}

TCells::~TCells() {
  Clear();
}

TRow& TCells::Row(int row) const {
  if (!IsRowIndex(row)) RaiseIndexError(row);
  return *rows_[row];
}

TCell* TCells::CellAt(int column, int row) {
  if (!IsRowIndex(row)) RaiseIndexError(row);
  if (column < 0 || column >= ColumnTotal()) RaiseIndexError(column);
  currentColumn_ = column;
  currentRow_ = row;
  return cells_[column][row].get();
}

std::unique_ptr<TCell> TCells::CreateCell(int column, TCellCreation creation) {
  TVxCustomColumn* owner = columns_.ColumnAt(column);
  const uint8_t kind = owner ? owner->DataKind() : uint8_t(dkText);
  std::unique_ptr<TCell> cell;
  switch (kind) {
  case dkAutoNumber:
    if (creation == ccInsertRowAt || creation == ccColumnInserted)
      cell = std::make_unique<TIntegerCell>(this);
    else
      cell = std::make_unique<TIncrementCell>(this);
    break;
  case dkBoolean:
    cell = std::make_unique<TBooleanCell>(this);
    break;
  case dkDateTime:
    cell = std::make_unique<TDateTimeCell>(this);
    break;
  case dkFloat:
    cell = std::make_unique<TFloatCell>(this);
    break;
  case dkGuid:
    if (creation == ccAppendChildRow || creation == ccInsertRowAt)
      cell = std::make_unique<TStringCell>(this);
    else
      cell = std::make_unique<TGuidCell>(this);
    break;
  case dkInteger:
    cell = std::make_unique<TIntegerCell>(this);
    break;
  case dkVirtual:
    cell = std::make_unique<TVirtualCell>(this, owner);
    break;
  default:
    cell = std::make_unique<TStringCell>(this);
    break;
  }
  if (owner) {
    cell->SetCreating(true);
    cell->SetTextStyle(owner->Font().Style());
    cell->SetBackColor(owner->Color());
    cell->SetCreating(false);
  }
  return cell;
}

TRow* TCells::NewRow(int level, TRow* parent, bool shown) {
  TRow* row = new TRow;
  row->level_ = level;
  row->parentRow_ = parent;
  row->shown_ = shown;
  row->height_ = defaultRowHeight_;
  return row;
}

void TCells::InsertRow(int at, TRow* row, TCellCreation creation) {
  std::unique_ptr<TRow> owned(row);
  // Every cell is made before any list grows, so a failure leaves the lists of equal length.
  newCells_.clear();
  for (size_t column = 0; column < cells_.size(); ++column)
    newCells_.push_back(CreateCell(static_cast<int>(column), creation));
  rows_.insert(rows_.begin() + at, owned.release());
  for (size_t column = 0; column < cells_.size(); ++column)
    cells_[column].insert(cells_[column].begin() + at, std::move(newCells_[column]));
  if (row->Displayed()) ++shownTotal_;
  Renumber(at);
  RankStale(at);
  // The new row is not selected; the selected rows after it moved down one.
  if (at <= selectedLast_) ++selectedLast_;
  if (at <= selectedFirst_) ++selectedFirst_;
}

void TCells::Renumber(int first, int last) {
  const int end = last < 0 ? RowTotal() : last + 1;
  for (int i = first; i < end; ++i)
    rows_[i]->index_ = static_cast<int32_t>(i);
}

int TCells::AppendRows(int count) {
  const int first = RowTotal();
  for (int k = 0; k < count; ++k) {
    // A top-level row at the end ends every run before it and starts none.
    InsertRow(RowTotal(), NewRow(0, nullptr, true), ccAppendRows);
  }
  isSorted_ = false;
  return first;
}

int TCells::AppendChildRow(int parent, bool atEnd) {
  TRow& owner = Row(parent);
  EnsureRuns();
  const int level = owner.level_ + 1;
  const int at = atEnd ? parent + owner.runLength_ + 1 : parent + 1;
  // Directly after the parent there may stand rows deeper than the new one (only after a
  // sort or move); the new row would take them into its run, so count afresh then.
  const bool deeperFollows = at < RowTotal() && rows_[at]->level_ > level;
  // A child is shown only when its parent is expanded and shown itself.
  TRow* row = NewRow(level, &owner, owner.expanded_ && owner.shown_);
  ++owner.childCount_;
  InsertRow(at, row, ccAppendChildRow);
  if (deeperFollows) {
    runsValid_ = false;
  } else {
    // The new row extends the runs of its parent and of every row whose run holds the
    // parent, and nothing else.
    row->runParent_ = &owner;
    for (TRow* r = &owner; r; r = r->runParent_)
      ++r->runLength_;
  }
  return at;
}

void TCells::InsertRowAt(int index) {
  if (index < 0 || index > RowTotal()) RaiseIndexError(index);
  const bool atEnd = index == RowTotal();
  InsertRow(index, NewRow(0, nullptr, true), ccInsertRowAt);
  // A top-level row in the middle cuts the runs around it.
  if (!atEnd) runsValid_ = false;
  isSorted_ = false;
}

void TCells::RemoveRows(int first, int last) {
  if (first > last) return;
  Row(first);
  Row(last);
  for (int j = first; j <= last; ++j) {
    TRow* row = rows_[j];
    if (row->Displayed()) --shownTotal_;
    if (row->selected_) --selectedTotal_;
    if (row->parentRow_) --row->parentRow_->childCount_;
  }
  // A removed row with children left elsewhere (rows moved by a sort or a move) would leave
  // them pointing at freed memory: they lose their parent instead.
  bool orphans = false;
  for (int j = first; j <= last; ++j) {
    rows_[j]->index_ = -1;
    if (rows_[j]->childCount_ > 0) orphans = true;
  }
  if (orphans) {
    for (TRow* row : rows_)
      if (row->index_ >= 0 && row->parentRow_ && row->parentRow_->index_ < 0)
        row->parentRow_ = nullptr;
  }
  for (int j = first; j <= last; ++j)
    delete rows_[j];
  rows_.erase(rows_.begin() + first, rows_.begin() + last + 1);
  for (auto& list : cells_)
    list.erase(list.begin() + first, list.begin() + last + 1);
  Renumber(first);
  RankStale(first);
  SelectionSpanLost();
  runsValid_ = false;
}

void TCells::Clear() {
  for (auto& list : cells_)
    list.clear();
  for (TRow* row : rows_)
    delete row;
  rows_.clear();
  shownTotal_ = 0;
  isSorted_ = false;
  runsValid_ = true;
  rankValid_ = 0;
  selectedTotal_ = 0;
}

void TCells::ExchangeRows(int a, int b) {
  Row(a);
  Row(b);
  if (a == b) return;
  std::swap(rows_[a], rows_[b]);
  for (auto& list : cells_)
    std::swap(list[a], list[b]);
  rows_[a]->index_ = a;
  rows_[b]->index_ = b;
  const int change =
      static_cast<int>(rows_[a]->Displayed()) - static_cast<int>(rows_[b]->Displayed());
  RankFlagChanged(a, change);
  RankFlagChanged(b, -change);
  SelectionSpanCovers(std::min(a, b), std::max(a, b));
  runsValid_ = false;
}

void TCells::MoveRow(int from, int to) {
  Row(from);
  Row(to);
  if (from == to) return;
  auto move = [from, to](auto& list) {
    if (from < to)
      std::rotate(list.begin() + from, list.begin() + from + 1, list.begin() + to + 1);
    else
      std::rotate(list.begin() + to, list.begin() + from, list.begin() + from + 1);
  };
  // A leaf that stays in the same run leaves every run length and run parent as it was.
  const bool runsKept = runsValid_ && LeafFitsAt(from, to, &TRow::runParent_);
  const int lo = std::min(from, to);
  const int hi = std::max(from, to);
  std::vector<bool> before(hi - lo + 1);
  for (int i = lo; i <= hi; ++i)
    before[i - lo] = rows_[i]->Displayed();
  move(rows_);
  for (auto& list : cells_)
    move(list);
  Renumber(lo, hi);
  runsValid_ = runsKept;
  // The rows between the two places moved by one: the counts follow their flags.
  for (int i = lo; i <= hi; ++i)
    RankFlagChanged(i, static_cast<int>(rows_[i]->Displayed()) - static_cast<int>(before[i - lo]));
  SelectionSpanCovers(lo, hi);
  isSorted_ = false;
}

bool TCells::LeafFitsAt(int from, int to, TRow* TRow::*up) const {
  const TRow& moved = *rows_[from];
  auto deeper = [&](int row) { return row < RowTotal() && rows_[row]->level_ > moved.level_; };
  // The rows that will stand just above and below it, counted before the move.
  const int above = to > from ? to : to - 1;
  const int below = to > from ? to + 1 : to;
  if (deeper(from + 1) || deeper(below)) return false;
  const TRow* owner = above >= 0 ? rows_[above] : nullptr;
  while (owner && owner->level_ >= moved.level_)
    owner = owner->*up;
  return owner == moved.*up;
}

bool TCells::MoveKeepsTree(int from, int to) const {
  const TRow& moved = Row(from);
  Row(to);
  return from == to || (moved.childCount_ == 0 && LeafFitsAt(from, to, &TRow::parentRow_));
}

void TCells::EnsureRuns() const {
  if (runsValid_) return;
  // One pass with the stack of rows whose runs are still open: a row closes the runs of every
  // open row whose level is not below its own, and the open row left on top is its run parent.
  std::vector<int> open;
  const int n = RowTotal();
  for (int i = 0; i < n; ++i) {
    TRow* row = rows_[i];
    while (!open.empty() && rows_[open.back()]->level_ >= row->level_) {
      rows_[open.back()]->runLength_ = i - open.back() - 1;
      open.pop_back();
    }
    row->runParent_ = open.empty() ? nullptr : rows_[open.back()];
    open.push_back(i);
  }
  for (int index : open)
    rows_[index]->runLength_ = n - index - 1;
  runsValid_ = true;
}

int TCells::NextDisplayedRow(int row) const {
  const int n = RowTotal();
  EnsureRuns();
  int j = row + 1;
  if (row >= 0 && row < n && !rows_[row]->expanded_) j = row + rows_[row]->runLength_ + 1;
  while (j < n) {
    const TRow& candidate = *rows_[j];
    if (candidate.Displayed()) return j;
    j += candidate.expanded_ ? 1 : candidate.runLength_ + 1;
  }
  return n;
}

int TCells::PreviousDisplayedRow(int row) const {
  EnsureRuns();
  int j = std::min(row, RowTotal()) - 1;
  while (j >= 0) {
    // A row inside collapsed nodes stands for the outermost of them.
    const TRow* outer = nullptr;
    for (const TRow* a = rows_[j]->runParent_; a; a = a->runParent_)
      if (!a->expanded_) outer = a;
    if (outer) j = outer->index_;
    if (rows_[j]->Displayed()) return j;
    --j;
  }
  return -1;
}

void TCells::SetSelected(TRow& row, bool value) {
  if (row.selected_ == value) return;
  row.selected_ = value;
  if (!value) {
    --selectedTotal_;
    return;
  }
  const int index = row.index_;
  if (selectedTotal_++ == 0) {
    selectedFirst_ = selectedLast_ = index;
  } else {
    selectedFirst_ = std::min(selectedFirst_, index);
    selectedLast_ = std::max(selectedLast_, index);
  }
}

void TCells::RankFlagChanged(int row, int delta) {
  if (delta == 0 || row < 0) return;
  // Only the valid counts are kept up; those further on are recounted from the flags.
  for (int i = row + 1; i <= rankValid_; i += i & -i)
    rank_[i] += delta;
}

int TCells::RankPrefix(int row) const {
  int count = 0;
  for (int i = row; i > 0; i -= i & -i)
    count += rank_[i];
  return count;
}

void TCells::EnsureRank() const {
  const int n = RowTotal();
  if (rankValid_ >= n) return;
  const int from = rankValid_;
  rank_.resize(n + 1);
  // Running counts from `from` on; an entry whose range starts before `from` takes the part
  // before it from the counts that are still valid.
  rankScratch_.resize(n - from + 1);
  rankScratch_[0] = RankPrefix(from);
  for (int i = from + 1; i <= n; ++i) {
    rankScratch_[i - from] = rankScratch_[i - from - 1] + (rows_[i - 1]->Displayed() ? 1 : 0);
    const int low = i - (i & -i);
    rank_[i] = rankScratch_[i - from] - (low >= from ? rankScratch_[low - from] : RankPrefix(low));
  }
  rankValid_ = n;
}

int TCells::DisplayedRank(int row) const {
  EnsureRank();
  return RankPrefix(std::clamp(row, 0, RowTotal()));
}

int TCells::DisplayedRowAt(int rank) const {
  const int n = RowTotal();
  if (rank < 0 || rank >= shownTotal_) return n;
  EnsureRank();
  // The longest prefix holding no more than rank displayed rows ends just before the row.
  int position = 0;
  int step = 1;
  while (step * 2 <= n)
    step *= 2;
  for (; step > 0; step /= 2) {
    if (position + step <= n && rank_[position + step] <= rank) {
      position += step;
      rank -= rank_[position];
    }
  }
  return position;
}

int TCells::CountDescendants(int row) const {
  TRow& r = Row(row);
  EnsureRuns();
  return r.runLength_;
}

int TCells::LastDescendantRow(int row) const {
  if (rows_.empty()) return -1;
  TRow& r = Row(row);
  if (row + 1 < RowTotal() && rows_[row + 1]->level_ > r.level_) {
    EnsureRuns();
    return row + r.runLength_;
  }
  return row + 1;
}

int TCells::ParentRowOf(int row) const {
  TRow& r = Row(row);
  if (r.level_ == 0 || !r.parentRow_) return -1;
  return r.parentRow_->index_;
}

void TCells::SetShown(TRow& row, bool value) {
  const bool before = row.Displayed();
  row.shown_ = value;
  const int change = static_cast<int>(row.Displayed()) - static_cast<int>(before);
  shownTotal_ += change;
  RankFlagChanged(row.index_, change);
}

void TCells::SetVisible(TRow& row, bool value) {
  const bool before = row.Displayed();
  row.visible_ = value;
  const int change = static_cast<int>(row.Displayed()) - static_cast<int>(before);
  shownTotal_ += change;
  RankFlagChanged(row.index_, change);
}

void TCells::Permute(const std::vector<int>& order) {
  const size_t n = order.size();
  std::vector<TRow*> rows(n);
  for (size_t k = 0; k < n; ++k)
    rows[k] = rows_[order[k]];
  rows_.swap(rows);
  std::vector<std::unique_ptr<TCell>> cells(n);
  for (auto& list : cells_) {
    for (size_t k = 0; k < n; ++k)
      cells[k] = std::move(list[order[k]]);
    list.swap(cells);
  }
  Renumber(0);
  RankStale(0);
  SelectionSpanLost();
  runsValid_ = false;
}

void TCells::Sort(int column, TSortType type, bool force, TSortKind direction) {
  const int n = RowTotal();
  if (column < 0 || column >= ColumnTotal()) RaiseIndexError(column);
  // With child rows, siblings are sorted among themselves and each subtree stays together
  // under its parent; reading the rows backwards would put children before their parents.
  const bool tree = std::any_of(rows_.begin(), rows_.end(), [](TRow* r) { return r->level_ > 0; });
  if (column == sortColumn_ && isSorted_ && direction != sortDirection_ && !force && !tree) {
    // The same order read backwards, exactly: rows k and n - 1 - k change places.
    std::reverse(rows_.begin(), rows_.end());
    for (auto& list : cells_)
      std::reverse(list.begin(), list.end());
    Renumber(0);
    RankStale(0);
    SelectionSpanLost();
    runsValid_ = false;
  } else if (n > 1) {
    // Every key is read before any row moves, so a value that does not convert leaves the
    // rows as they were. The keys sit beside the row numbers, so the sort reads them in place.
    const int sign = direction == skAscending ? 1 : -1;
    std::vector<int> order(n);
    auto sortBy = [&](auto readKey, auto compare) {
      using Key = decltype(readKey(0));
      std::vector<TSortEntry<Key>> entries(n);
      for (int r = 0; r < n; ++r)
        entries[r] = {readKey(r), r};
      MergeSort(entries, [&](const TSortEntry<Key>& a, const TSortEntry<Key>& b) {
        const int c = compare(a.key, b.key);
        return sign * ((c > 0) - (c < 0)) < 0;
      });
      for (int k = 0; k < n; ++k)
        order[k] = entries[k].row;
    };
    switch (type) {
    case stBoolean:
      sortBy([&](int r) { return CellAt(column, r)->BoolValue(); },
             [](bool a, bool b) { return int(a) - int(b); });
      break;
    case stNumeric:
      sortBy([&](int r) { return CellAt(column, r)->FloatValue(); }, CompareDoubles);
      break;
    case stDate:
      sortBy([&](int r) { return CellAt(column, r)->DateTimeValue(); }, CompareDoubles);
      break;
    case stCaseInsensitive: {
      std::vector<std::string> keys(n);
      for (int r = 0; r < n; ++r)
        keys[r] = CaseInsensitiveKey(CellAt(column, r)->TextValue());
      sortBy([&](int r) { return std::string_view(keys[r]); },
             [](std::string_view a, std::string_view b) { return a.compare(b); });
      break;
    }
    case stCustom:
      sortBy([&](int r) { return CellAt(column, r); },
             [&](TCell* a, TCell* b) { return OnCompareCells ? OnCompareCells(*a, *b) : 0; });
      break;
    case stIP: {
      std::vector<std::wstring> texts(n);
      std::vector<TIpKey> keys(n);
      for (int r = 0; r < n; ++r) {
        texts[r] = CellAt(column, r)->TextValue();
        keys[r] = ParseIp(texts[r]);
      }
      sortBy([](int r) { return r; },
             [&](int a, int b) {
               if (keys[a].valid != keys[b].valid) return keys[a].valid ? -1 : 1;
               for (int p = 0; p < 4; ++p)
                 if (keys[a].parts[p] != keys[b].parts[p])
                   return keys[a].parts[p] < keys[b].parts[p] ? -1 : 1;
               return texts[a].compare(texts[b]);
             });
      break;
    }
    default: {
      // Text cells are compared in place; other cells lend a copy of their text.
      std::vector<std::wstring> copies;
      copies.reserve(n);
      sortBy(
          [&](int r) {
            TCell* cell = CellAt(column, r);
            if (auto* text = dynamic_cast<TStringCell*>(cell))
              return std::wstring_view(text->Text());
            copies.push_back(cell->TextValue());
            return std::wstring_view(copies.back());
          },
          [](std::wstring_view a, std::wstring_view b) { return a.compare(b); });
      break;
    }
    }
    if (tree) {
      std::vector<int> levels(n);
      for (int r = 0; r < n; ++r)
        levels[r] = rows_[r]->level_;
      order = TreeSortOrder(levels, order);
    }
    Permute(order);
  }
  sortDirection_ = direction;
  sortColumn_ = column;
  isSorted_ = true;
}

void TCells::ColumnAdded(int index, bool atEnd) {
  index = std::clamp(index, 0, ColumnTotal());
  std::vector<std::unique_ptr<TCell>> list;
  list.reserve(rows_.size());
  for (size_t r = 0; r < rows_.size(); ++r)
    list.push_back(CreateCell(index, atEnd ? ccColumnAdded : ccColumnInserted));
  cells_.insert(cells_.begin() + index, std::move(list));
  isSorted_ = false;
}

void TCells::ColumnRemoved(int index) {
  if (index < 0 || index >= ColumnTotal()) return;
  cells_.erase(cells_.begin() + index);
  if (sortColumn_ == index)
    sortColumn_ = -1;
  else if (sortColumn_ > index)
    --sortColumn_;
}

void TCells::CellChanged() {
  isSorted_ = false;
  if (OnCellChanged) OnCellChanged(currentColumn_, currentRow_);
}
