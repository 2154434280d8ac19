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
  return cells_[column]->At(row);
}

const TCellExtras* TCells::FindExtras(int column, int row) const {
  if (!IsRowIndex(row) || column < 0 || column >= ColumnTotal()) return nullptr;
  const TRow* owner = rows_[row];
  if (!owner->extras_) return nullptr;
  auto found = extras_.find({owner, column});
  return found == extras_.end() ? nullptr : &found->second;
}

TColor TCells::CellBackColor(int column, int row) const {
  if (const TCellExtras* extras = FindExtras(column, row)) return extras->BackColor;
  return column >= 0 && column < ColumnTotal() ? cells_[column]->MadeColor() : clWindow;
}

TFontStyles TCells::CellTextStyle(int column, int row) const {
  if (const TCellExtras* extras = FindExtras(column, row)) return extras->TextStyle;
  return column >= 0 && column < ColumnTotal() ? cells_[column]->MadeStyle() : TFontStyles{};
}

std::wstring TCells::CellHint(int column, int row) const {
  const TCellExtras* extras = FindExtras(column, row);
  return extras ? extras->Hint : std::wstring();
}

TCellExtras& TCells::CellExtras(int column, int row) {
  TRow& owner = Row(row);
  if (column < 0 || column >= ColumnTotal()) RaiseIndexError(column);
  auto [entry, made] = extras_.try_emplace({&owner, column});
  if (made) {
    entry->second.BackColor = cells_[column]->MadeColor();
    entry->second.TextStyle = cells_[column]->MadeStyle();
    owner.extras_ = true;
  }
  return entry->second;
}

void TCells::DropExtras(const TRow* row) noexcept {
  if (!row->extras_) return;
  auto first = extras_.lower_bound({row, 0});
  auto last = first;
  while (last != extras_.end() && last->first.first == row)
    ++last;
  extras_.erase(first, last);
}

void TCells::FollowColumnLook(int column) {
  const TVxCustomColumn* owner = columns_.ColumnAt(column);
  TColumnCells& list = *cells_[column];
  if (!owner || list.HoldsObjects()) return;
  const TColor color = owner->Color();
  const TFontStyles style = owner->Font().Style();
  if (color == list.MadeColor() && style == list.MadeStyle()) return;
  // The cells made so far keep the look they were made with, in entries of their own; each
  // entry holds what the cell read already, so a failure part-way changes nothing that shows.
  for (int row = 0; row < RowTotal(); ++row)
    CellExtras(column, row);
  list.SetMadeLook(color, style);
}

std::unique_ptr<TCell> TCells::CreateCell(int column, TCellCreation creation) {
  // Only auto-number and GUID columns keep a cell object per row.
  TVxCustomColumn* owner = columns_.ColumnAt(column);
  std::unique_ptr<TCell> cell;
  const bool inserted = creation == ccInsertRowAt || creation == ccColumnInserted;
  if (owner->DataKind() == dkAutoNumber) {
    if (inserted)
      cell = std::make_unique<TIntegerCell>(this);
    else
      cell = std::make_unique<TIncrementCell>(this);
  } else if (creation == ccAppendChildRow || creation == ccInsertRowAt) {
    cell = std::make_unique<TStringCell>(this);
  } else {
    cell = std::make_unique<TGuidCell>(this);
  }
  cell->SetCreating(true);
  cell->SetTextStyle(owner->Font().Style());
  cell->SetBackColor(owner->Color());
  cell->SetCreating(false);
  return cell;
}

TRow* TCells::InsertRows(int at, int count, int level, TRow* parent, bool shown,
                         TCellCreation creation) {
  // Everything that can fail comes first: the looks, the rows, the cell objects and the room
  // in every list.
  for (int column = 0; column < ColumnTotal(); ++column)
    FollowColumnLook(column);
  newRows_.clear();
  newCells_.clear();
  newRows_.reserve(static_cast<size_t>(count));
  for (int k = 0; k < count; ++k) {
    auto row = std::make_unique<TRow>();
    row->level_ = level;
    row->parentRow_ = parent;
    row->shown_ = shown;
    row->height_ = defaultRowHeight_;
    newRows_.push_back(std::move(row));
  }
  for (int column = 0; column < ColumnTotal(); ++column)
    if (cells_[column]->HoldsObjects())
      for (int k = 0; k < count; ++k)
        newCells_.push_back(CreateCell(column, creation));
  ReserveMore(rows_, static_cast<size_t>(count));
  for (auto& list : cells_)
    list->Reserve(static_cast<size_t>(count));

  // Nothing below can fail.
  const size_t old = rows_.size();
  rows_.resize(old + static_cast<size_t>(count));
  for (int k = 0; k < count; ++k)
    rows_[old + static_cast<size_t>(k)] = newRows_[static_cast<size_t>(k)].release();
  std::rotate(rows_.begin() + at, rows_.begin() + static_cast<ptrdiff_t>(old), rows_.end());
  std::unique_ptr<TCell>* objects = newCells_.data();
  for (auto& list : cells_) {
    list->Insert(static_cast<size_t>(at), static_cast<size_t>(count), objects);
    if (list->HoldsObjects()) objects += count;
  }
  if (shown) shownTotal_ += count;
  Renumber(at);
  RankStale(at);
  // The new rows are not selected; the selected rows after them moved down.
  if (at <= selectedLast_) selectedLast_ += count;
  if (at <= selectedFirst_) selectedFirst_ += count;
  return rows_[at];
}

void TCells::Renumber(int first, int last) {
  const int end = last < 0 ? RowTotal() : last + 1;
  for (int i = first; i < end; ++i)
    rows_[i]->index_ = static_cast<int32_t>(i);
}

int TCells::AppendRows(int count) {
  const int first = RowTotal();
  // Top-level rows at the end end every run before them and start none.
  if (count > 0) InsertRows(first, count, 0, nullptr, true, ccAppendRows);
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
  TRow* row = InsertRows(at, 1, level, &owner, owner.expanded_ && owner.shown_, ccAppendChildRow);
  ++owner.childCount_;
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
  InsertRows(index, 1, 0, nullptr, true, ccInsertRowAt);
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
  for (int j = first; j <= last; ++j) {
    DropExtras(rows_[j]);
    delete rows_[j];
  }
  rows_.erase(rows_.begin() + first, rows_.begin() + last + 1);
  for (auto& list : cells_)
    list->Erase(static_cast<size_t>(first), static_cast<size_t>(last));
  Renumber(first);
  RankStale(first);
  SelectionSpanLost();
  runsValid_ = false;
}

void TCells::Clear() {
  for (auto& list : cells_)
    list->Clear();
  extras_.clear();
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
    list->Swap(static_cast<size_t>(a), static_cast<size_t>(b));
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
    list->Move(static_cast<size_t>(from), static_cast<size_t>(to));
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
  // The one allocation comes before any row moves.
  std::vector<uint8_t> done(order.size());
  PermuteInPlace(rows_, order, done);
  for (auto& list : cells_)
    list->Permute(order, done);
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
      list->Reverse();
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
    case stCustom: {
      // The handler holds two cells at once: each stands for its own row.
      TColumnCells& list = *cells_[column];
      sortBy([](int r) { return r; },
             [&](int a, int b) {
               TCell* first = list.Pinned(column, a);
               TCell* second = list.Pinned(column, b);
               return OnCompareCells ? OnCompareCells(*first, *second) : 0;
             });
      break;
    }
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
      // The texts side by side in one buffer, each row's key a span of it: every text is read
      // once and compared in place. Equal texts keep their row order, so the result does not
      // depend on the sort's own order of work.
      // In a tree only siblings are compared: the key begins with the row's parent, so the
      // sort orders each family by itself and never compares texts across families.
      struct TTextKey {
        int parent;
        int row;
        size_t offset, length;
      };
      std::vector<int> parents(static_cast<size_t>(n), 0);
      if (tree) {
        std::vector<int> open;
        for (int r = 0; r < n; ++r) {
          while (!open.empty() && rows_[open.back()]->level_ >= rows_[r]->level_)
            open.pop_back();
          parents[static_cast<size_t>(r)] = open.empty() ? -1 : open.back();
          open.push_back(r);
        }
      }
      std::wstring chars;
      std::vector<TTextKey> keys(static_cast<size_t>(n));
      if (const std::vector<TCellText>* texts = cells_[column]->Texts()) {
        size_t total = 0;
        for (const TCellText& text : *texts)
          total += text.Length();
        chars.resize(total);
        size_t at = 0;
        for (int r = 0; r < n; ++r) {
          const TCellText& text = (*texts)[static_cast<size_t>(r)];
          keys[static_cast<size_t>(r)] = {parents[static_cast<size_t>(r)], r, at, text.Length()};
          text.CopyTo(chars.data() + at);
          at += text.Length();
        }
      } else {
        for (int r = 0; r < n; ++r) {
          const std::wstring text = CellAt(column, r)->TextValue();
          keys[static_cast<size_t>(r)] = {parents[static_cast<size_t>(r)], r, chars.size(),
                                          text.size()};
          chars += text;
        }
      }
      const wchar_t* base = chars.data();
      std::sort(keys.begin(), keys.end(), [&](const TTextKey& a, const TTextKey& b) {
        if (a.parent != b.parent) return a.parent < b.parent;
        const int c = std::wstring_view(base + a.offset, a.length)
                          .compare(std::wstring_view(base + b.offset, b.length));
        if (c != 0) return sign > 0 ? c < 0 : c > 0;
        return a.row < b.row;
      });
      for (int k = 0; k < n; ++k)
        order[static_cast<size_t>(k)] = keys[static_cast<size_t>(k)].row;
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
  auto list = std::make_unique<TColumnCells>(this, columns_.ColumnAt(index));
  const size_t rows = rows_.size();
  list->Reserve(rows);
  std::vector<std::unique_ptr<TCell>> objects;
  if (list->HoldsObjects()) {
    objects.reserve(rows);
    for (size_t r = 0; r < rows; ++r)
      objects.push_back(CreateCell(index, atEnd ? ccColumnAdded : ccColumnInserted));
  }
  auto extras = RekeyedExtras(index, 1);
  ReserveMore(cells_, 1);
  list->Insert(0, rows, objects.data());
  cells_.insert(cells_.begin() + index, std::move(list));
  extras_.swap(extras);
  isSorted_ = false;
}

void TCells::ColumnRemoved(int index) {
  if (index < 0 || index >= ColumnTotal()) return;
  auto extras = RekeyedExtras(index, -1);
  cells_.erase(cells_.begin() + index);
  extras_.swap(extras);
  if (sortColumn_ == index)
    sortColumn_ = -1;
  else if (sortColumn_ > index)
    --sortColumn_;
}

std::map<std::pair<const TRow*, int>, TCellExtras> TCells::RekeyedExtras(int index,
                                                                         int delta) const {
  std::map<std::pair<const TRow*, int>, TCellExtras> moved;
  for (const auto& [key, extras] : extras_) {
    if (delta < 0 && key.second == index) continue;
    moved.emplace(std::pair(key.first, key.second >= index ? key.second + delta : key.second),
                  extras);
  }
  return moved;
}

void TCells::CellChanged() {
  isSorted_ = false;
  if (OnCellChanged) OnCellChanged(currentColumn_, currentRow_);
}
