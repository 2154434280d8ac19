#include "main/FoundFilesList.h"

#include "grid/Grid.h"
#include "grid/PaintTypes.h"
#include "main/CleanerState.h"
#include "main/SizeTexts.h"
#include "ui/Numbers.h"

namespace {
constexpr const wchar_t* kRecycleBinCaption = L"Recycle Bin";
} // namespace

void SetupFoundFilesGrid(TVxGrid& grid) {
  grid.SetOptions({goGrid, goHeader, goSelectFullRow, goUseDefaultValues});
  // The list's layout names a header look ("hsOffice2010") that the grid does not have; it is
  // kept as the value after the grid's own looks, which draws the header as the grid does for
  // any look it does not know.
  grid.SetHeaderStyle(kHeaderStyleCount);
  TVxColumns& columns = grid.Columns();
  auto setUp = [&](TVxCustomColumn* column, const wchar_t* caption, TSortType sortType) {
    column->Header().SetCaption(caption);
    column->SetSortType(sortType);
    column->Font().SetName(L"Tahoma");
    column->Font().SetSize(8);
    column->Font().SetColor(clBlue);
    return column;
  };

  TVxCustomColumn* number = setUp(columns.Add<TVxTextColumn>(kNumberColumn), L"#", stAlphabetic);
  number->SetAlignment(taRightJustify);
  number->SetDefaultValue(L"0");
  number->SetWidth(39);

  TVxCustomColumn* icon = setUp(columns.Add<TVxImageColumn>(kFileIconColumn), L"Icon", stNumeric);
  icon->SetVisible(false);
  icon->SetDefaultValue(L"0");
  icon->SetWidth(38);

  auto* name = columns.Add<TVxTreeColumn>(kFileNameColumn);
  setUp(name, L"File", stAlphabetic);
  name->SetShowLines(true);
  name->SetOptions(name->Options() + TColumnOptions{coShowTextFitHint});
  name->SetWidth(426);

  setUp(columns.Add<TVxTextColumn>(kFileSizeColumn), L"Size", stAlphabetic);
  setUp(columns.Add<TVxTextColumn>(kFileTypeColumn), L"Type", stAlphabetic);

  TVxCustomColumn* check =
      setUp(columns.Add<TVxCheckBoxColumn>(kSelectCheckColumn), L"Select", stBoolean);
  check->SetAlignment(taCenter);
  check->SetOptions(check->Options() + TColumnOptions{coEditing});
  check->SetDefaultValue(L"true");
  check->SetWidth(36);

  TVxCustomColumn* realSize =
      setUp(columns.Add<TVxTextColumn>(kRealFileSizeColumn), L"", stAlphabetic);
  realSize->SetVisible(false);
}

void TFoundFilesList::Clear() {
  grid_.ClearAllRows();
}

void TFoundFilesList::AppendGroupRow(const std::wstring& caption) {
  grid_.AppendRows(1);
  int row = grid_.LastAddedIndex();
  Cell(kFileNameColumn, row)->SetTextValue(caption);
  state_.GroupRow = row;
}

void TFoundFilesList::SetFileParentToGroup() {
  state_.FileParentRow = state_.GroupRow;
}

void TFoundFilesList::CollapseOnFirstChild() {
  // The row before a new last child is its parent only when it is the first child.
  grid_.ExpandRow(grid_.LastAddedIndex() - 1, false);
}

void TFoundFilesList::AppendUserRow(const std::wstring& profileName) {
  grid_.AppendChildRow(state_.GroupRow, true);
  CollapseOnFirstChild();
  int row = grid_.LastAddedIndex();
  Cell(kFileNameColumn, row)->SetTextValue(profileName);
  TickLikeParent(row);
  state_.FileParentRow = row;
}

void TFoundFilesList::AppendFileRow(const std::wstring& path, uint64_t size,
                                    const std::wstring& typeName) {
  grid_.AppendChildRow(state_.FileParentRow, true);
  CollapseOnFirstChild();
  // New children always go to the last top-level row, so the new row is the grid's last.
  int row = grid_.TotalRows() - 1;
  // Thousands of files share each folder and a handful of type names: the grid keeps each of
  // those once. The size texts are short enough to need no storage of their own.
  SetSharedText(kFileNameColumn, row, path, path.rfind(L'\\') + 1);
  Cell(kFileSizeColumn, row)->SetTextValue(FileSizeText(size));
  Cell(kRealFileSizeColumn, row)->SetTextValue(RealSizeText(size));
  SetSharedText(kFileTypeColumn, row, typeName, typeName.size());
  TickLikeParent(row);
}

void TFoundFilesList::TickLikeParent(int row) {
  int parent = grid_.ParentRowOf(row);
  SetTicked(row, parent < 0 || IsTicked(parent));
}

void TFoundFilesList::AppendRecycleBinRow() {
  AppendGroupRow(kRecycleBinCaption);
}

void TFoundFilesList::SetRecycleBinSize(uint64_t bytes) {
  int row = state_.GroupRow;
  std::wstring digits = IntToStrW(static_cast<int64_t>(bytes));
  Cell(kRealFileSizeColumn, row)->SetTextValue(digits);
  Cell(kFileSizeColumn, row)->SetTextValue(RecycleBinSizeText(bytes));
}

TCell* TFoundFilesList::Cell(const wchar_t* column, int row) const {
  // The summary and the propagation read every row: each column is looked up by name once per
  // list, then reached by its index; a column that moved since is looked up again.
  for (TColumnIndex& known : columnIndexes_) {
    if (known.Name != column) continue;
    if (grid_.Columns().ColumnAt(known.Index) != known.Column) {
      known.Column = grid_.Columns().ColumnByName(column);
      known.Index = grid_.Columns().IndexOfColumn(known.Column);
    }
    if (known.Column) return grid_.CellAt(known.Index, row);
  }
  const TVxCustomColumn* found = grid_.Columns().ColumnByName(column);
  if (!found) return grid_.CellByKey(column, row); // raises the grid's error for a missing column
  columnIndexes_.push_back({column, found, grid_.Columns().IndexOfColumn(found)});
  return grid_.CellAt(columnIndexes_.back().Index, row);
}

int TFoundFilesList::RowCount() const {
  return grid_.TotalRows();
}

bool TFoundFilesList::IsFileRow(int row) const {
  return Path(row).find(L":\\") != std::wstring::npos;
}

bool TFoundFilesList::IsRecycleBinRow(int row) const {
  return grid_.LevelOf(row) == 0 && Path(row) == kRecycleBinCaption;
}

bool TFoundFilesList::IsTicked(int row) const {
  return Cell(kSelectCheckColumn, row)->BoolValue();
}

void TFoundFilesList::SetTicked(int row, bool ticked) {
  Cell(kSelectCheckColumn, row)->SetBoolValue(ticked);
}

std::wstring TFoundFilesList::Path(int row) const {
  return Cell(kFileNameColumn, row)->TextValue();
}

std::wstring TFoundFilesList::SizeText(int row) const {
  return Cell(kFileSizeColumn, row)->TextValue();
}

bool TFoundFilesList::Bytes(int row, uint64_t& bytes) const {
  std::wstring text = Cell(kRealFileSizeColumn, row)->TextValue();
  // Plain digits, as every size below 10^15 bytes is written, read exactly; anything else as the
  // user's number format has it.
  if (!text.empty() && text.size() < 20 &&
      text.find_first_not_of(L"0123456789") == std::wstring::npos) {
    bytes = std::stoull(text);
    return true;
  }
  double value = 0;
  if (!TryStrToFloat(text, value) || !(value >= 0) || value >= 18446744073709551616.0) return false;
  bytes = static_cast<uint64_t>(value);
  return true;
}

bool TFoundFilesList::IsTickColumn(int column) const {
  const TVxCustomColumn* tick = grid_.Columns().ColumnByName(kSelectCheckColumn);
  return tick && grid_.Columns().IndexOfColumn(tick) == column;
}

void TFoundFilesList::TickDescendants(int row) {
  if (row < 0 || row >= RowCount() || !grid_.RowHasChildren(row)) return;
  const bool ticked = IsTicked(row);
  const int last = grid_.LastDescendantRow(row);
  TUpdateLock lock(*this);
  for (int child = row + 1; child <= last; ++child)
    if (IsTicked(child) != ticked) SetTicked(child, ticked);
}

void TFoundFilesList::SetSharedText(const wchar_t* column, int row, const std::wstring& text,
                                    size_t sharedLength) {
  TCell* cell = Cell(column, row);
  if (auto* textCell = dynamic_cast<TStringCell*>(cell))
    textCell->SetTextValueSharing(text, sharedLength);
  else
    cell->SetTextValue(text);
}

void TFoundFilesList::SetText(const wchar_t* column, int row, const std::wstring& text) {
  TCell* cell = Cell(column, row);
  if (cell->TextValue() != text) cell->SetTextValue(text);
}

void TFoundFilesList::WriteParentTotals(int row, int children, uint64_t bytes) {
  SetText(kRealFileSizeColumn, row, RealSizeText(bytes));
  SetText(kFileSizeColumn, row, MegabytesText(double(bytes)) + L"MB");
  SetText(kNumberColumn, row, IntToStrW(children));
}

void FitFileNameColumn(TVxGrid& grid, int windowWidth) {
  TVxColumns& columns = grid.Columns();
  TVxCustomColumn* name = columns.ColumnByName(kFileNameColumn);
  if (!name) return;
  // The 75 pixels are a length of the layout at 96 DPI and scale as the layout's do, rounded once
  // to the nearest pixel; the other columns' widths are the grid's, already at its DPI.
  int width = windowWidth - grid.Scaled(75);
  for (const wchar_t* other : {kNumberColumn, kFileSizeColumn, kFileTypeColumn})
    if (const TVxCustomColumn* column = columns.ColumnByName(other)) width -= column->Width();
  name->SetWidth(width);
}

TFoundFilesList::TUpdateLock::TUpdateLock(TFoundFilesList& list) : grid_(list.grid_) {
  grid_.LockUpdates();
}

TFoundFilesList::TUpdateLock::~TUpdateLock() {
  grid_.UnlockUpdates();
}
