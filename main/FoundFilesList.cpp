#include "main/FoundFilesList.h"

#include "grid/Grid.h"
#include "main/CleanerState.h"
#include "main/SizeTexts.h"
#include "ui/Numbers.h"

namespace {
constexpr const char* kRecycleBinCaption = "Recycle Bin";
} // namespace

void SetupFoundFilesGrid(TVxGrid& grid) {
  grid.SetOptions({goGrid, goHeader, goSelectFullRow, goUseDefaultValues});
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

void TFoundFilesList::AppendGroupRow(const std::string& caption) {
  grid_.AppendRows(1);
  int row = grid_.LastAddedIndex();
  grid_.CellByKey(kFileNameColumn, row)->SetTextValue(AnsiToWide(caption));
  state_.GroupRow = row;
}

void TFoundFilesList::SetFileParentToGroup() {
  state_.FileParentRow = state_.GroupRow;
}

void TFoundFilesList::CollapseOnFirstChild() {
  // The row before a new last child is its parent only when it is the first child.
  grid_.ExpandRow(grid_.LastAddedIndex() - 1, false);
}

void TFoundFilesList::AppendUserRow(const std::string& profileName) {
  grid_.AppendChildRow(state_.GroupRow, true);
  CollapseOnFirstChild();
  int row = grid_.LastAddedIndex();
  grid_.CellByKey(kFileNameColumn, row)->SetTextValue(AnsiToWide(profileName));
  grid_.CellByKey(kSelectCheckColumn, row)->SetBoolValue(true);
  state_.FileParentRow = row;
}

void TFoundFilesList::AppendFileRow(const std::string& path, uint64_t size,
                                    const std::string& typeName) {
  grid_.AppendChildRow(state_.FileParentRow, true);
  CollapseOnFirstChild();
  // New children always go to the last top-level row, so the new row is the grid's last.
  int row = grid_.TotalRows() - 1;
  grid_.CellByKey(kFileNameColumn, row)->SetTextValue(AnsiToWide(path));
  grid_.CellByKey(kFileSizeColumn, row)->SetTextValue(FileSizeText(size));
  grid_.CellByKey(kRealFileSizeColumn, row)->SetTextValue(RealSizeText(size));
  grid_.CellByKey(kFileTypeColumn, row)->SetTextValue(AnsiToWide(typeName));
  grid_.CellByKey(kSelectCheckColumn, row)->SetBoolValue(true);
}

void TFoundFilesList::AppendRecycleBinRow() {
  AppendGroupRow(kRecycleBinCaption);
}

void TFoundFilesList::SetRecycleBinSize(uint64_t bytes) {
  int row = state_.GroupRow;
  std::wstring digits = IntToStrW(static_cast<int64_t>(bytes));
  grid_.CellByKey(kRealFileSizeColumn, row)->SetTextValue(digits);
  grid_.CellByKey(kFileSizeColumn, row)->SetTextValue(RecycleBinSizeText(bytes));
}

TCell* TFoundFilesList::Cell(const wchar_t* column, int row) const {
  return grid_.CellByKey(column, row);
}

int TFoundFilesList::RowCount() const {
  return grid_.TotalRows();
}

bool TFoundFilesList::IsFileRow(int row) const {
  return Path(row).find(L":\\") != std::wstring::npos;
}

bool TFoundFilesList::IsRecycleBinRow(int row) const {
  return grid_.LevelOf(row) == 0 && Path(row) == AnsiToWide(kRecycleBinCaption);
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

TFoundFilesList::TUpdateLock::TUpdateLock(TFoundFilesList& list) : grid_(list.grid_) {
  grid_.LockUpdates();
}

TFoundFilesList::TUpdateLock::~TUpdateLock() {
  grid_.UnlockUpdates();
}
