#include "grid/Grid.h"
#include "ui/Exception.h"

#include "FoundFilesGrid.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

struct GridCellsTest : ::testing::Test {
  TVxGrid grid;
  std::vector<std::pair<int, int>> changes;
  void SetUp() override {
    SetUpFoundFilesGrid(grid);
    grid.OnChange = [this](TObject*, int col, int row) { changes.emplace_back(col, row); };
  }
  std::string ErrorOf(const TCellKey& column, const TCellKey& row) {
    try {
      grid.CellByKey(column, row);
    } catch (const EListError& e) {
      return "list: " + e.Message();
    } catch (const Exception& e) {
      return e.Message();
    }
    return "no error";
  }
  // FileName texts of all rows, in order.
  std::wstring Names() {
    std::wstring names;
    for (int r = 0; r < grid.TotalRows(); ++r)
      names += grid.CellText(2, r) + L" ";
    return names;
  }
  void AddRows(std::initializer_list<std::pair<const wchar_t*, const wchar_t*>> rows) {
    for (auto [name, size] : rows) {
      const int r = grid.AppendRows(1);
      grid.CellByKey(L"FileName", r)->SetTextValue(name);
      grid.CellByKey(L"FileSize", r)->SetTextValue(size);
    }
  }
};

} // namespace

TEST_F(GridCellsTest, KeysResolveNamesNumbersAndKeywords) {
  grid.AppendRows(3);
  TCell* bottomRight = grid.CellByKey(L"Last", L"Last");
  EXPECT_EQ(grid.Cells().CurrentColumn(), 6);
  EXPECT_EQ(grid.Cells().CurrentRow(), 2);
  EXPECT_EQ(bottomRight, grid.CellAt(6, 2));
  EXPECT_EQ(grid.CellByKey(L"Filename", 1), grid.CellAt(2, 1));
  EXPECT_EQ(grid.CellByKey(L"fIRST", L"FIRST"), grid.CellAt(0, 0));
  EXPECT_EQ(grid.CellByKey(3, L"2"), grid.CellAt(3, 2));
  EXPECT_EQ(grid.CellByKey(L"4", 1), grid.CellAt(4, 1));
  EXPECT_EQ(grid.CellByKey(std::string("SelectCheck"), "1"), grid.CellAt(5, 1));
  EXPECT_EQ(ErrorOf(L"FilerealSize", 0),
            "Invalid Columnname 'FilerealSize' for 'TVxGrid:VxGrid1'.");
  EXPECT_EQ(ErrorOf(L"FileName", L"Top"), "Invalid Rowname 'Top' for 'TVxGrid:VxGrid1'.");
  // The row is resolved first.
  EXPECT_EQ(ErrorOf(L"nothing", L"x"), "Invalid Rowname 'x' for 'TVxGrid:VxGrid1'.");
  EXPECT_EQ(ErrorOf(L"FileName", 3), "list: List index out of bounds (3)");
  // Nothing is selected yet: the selected row is -1.
  EXPECT_EQ(ErrorOf(L"Selected", L"Selected"), "list: List index out of bounds (-1)");
}

TEST_F(GridCellsTest, CellTextOutsideTheGridIsEmptyAndIgnored) {
  grid.AppendRows(2);
  grid.SetCellText(2, 2, L"x");
  grid.SetCellText(7, 0, L"x");
  grid.SetCellText(-1, 0, L"x");
  EXPECT_EQ(grid.TotalRows(), 2);
  EXPECT_EQ(grid.CellText(2, 2), L"");
  EXPECT_EQ(grid.CellText(9, 0), L"");
  grid.SetCellText(2, 1, L"name");
  EXPECT_EQ(grid.CellText(2, 1), L"name");
  EXPECT_THROW(grid.SetCellText(1, 1, L"abc"), EConvertError);
  EXPECT_EQ(grid.CellHintOf(2, 1), L"");
  grid.CellAt(2, 1)->SetHintText(L"hint");
  grid.OnCellHint = [](TObject*, int, int, std::wstring& value) { value += L"!"; };
  EXPECT_EQ(grid.CellHintOf(2, 1), L"hint!");
}

TEST_F(GridCellsTest, ChangesReportTheirCellUnlessUpdatesAreLocked) {
  grid.AppendRows(1);
  // Default values: Number, FileIcon and SelectCheck of row 0.
  EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {5, 0}}));
  changes.clear();
  grid.CellByKey(L"FileType", 0)->SetTextValue(L"t");
  grid.CellByKey(L"FileType", 0)->SetTextValue(L"t");
  EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{4, 0}, {4, 0}}));
  changes.clear();
  grid.LockUpdates();
  grid.LockUpdates();
  grid.AppendRows(1);
  grid.AppendChildRow(1, true);
  grid.CellByKey(L"SelectCheck", 2)->SetBoolValue(true);
  grid.UnlockUpdates();
  grid.CellByKey(L"FileType", 2)->SetTextValue(L"t");
  EXPECT_TRUE(changes.empty());
  grid.UnlockUpdates();
  grid.UnlockUpdates();
  EXPECT_FALSE(grid.UpdatesLocked());
  grid.CellByKey(L"FileType", 2)->SetTextValue(L"u");
  EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{4, 2}}));
  changes.clear();
  grid.CellAt(3, 1)->SetBackColor(clRed);
  EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{3, 1}}));
  EXPECT_EQ(grid.CellBackColorOf(3, 1), clRed);
  grid.Columns().ColumnAt(3)->SetParentCellColor(true);
  EXPECT_EQ(grid.CellBackColorOf(3, 1), clWindow);
}

// A cell's own colour and hint stay with its row through a sort and a new column before it,
// and go with the row: a row made later starts with its column's look.
TEST_F(GridCellsTest, ACellsOwnColourAndHintStayWithItsRow) {
  AddRows({{L"b", L""}, {L"a", L""}, {L"c", L""}});
  grid.CellAt(3, 0)->SetHintText(L"of b");
  grid.CellAt(3, 0)->SetBackColor(clRed);
  grid.SortByColumn(2, true);
  ASSERT_EQ(Names(), L"a b c ");
  grid.Columns().InsertColumn(0, std::make_unique<TVxTextColumn>());
  for (int r = 0; r < 3; ++r) {
    EXPECT_EQ(grid.CellHintOf(4, r), r == 1 ? L"of b" : L"") << r;
    EXPECT_EQ(grid.CellBackColorOf(4, r), r == 1 ? clRed : clWindow) << r;
    EXPECT_EQ(grid.CellHintOf(3, r), L"") << r;
  }
  grid.DeleteRowAt(1);
  AddRows({{L"d", L""}});
  grid.CellAt(3, 2)->SetHintText(L"of d");
  for (int r = 0; r < 3; ++r) {
    EXPECT_EQ(grid.CellHintOf(4, r), L"") << r;
    EXPECT_EQ(grid.CellBackColorOf(4, r), clWindow) << r;
  }
}

TEST_F(GridCellsTest, RepeatedSortInTheOtherDirectionReversesExactly) {
  AddRows({{L"b1", L"x"}, {L"a", L"y"}, {L"b2", L"x"}, {L"c", L"w"}});
  std::vector<int> sorted;
  grid.OnAfterSort = [&](TObject*, int col) { sorted.push_back(col); };
  grid.SortByColumn(3, true);
  const std::wstring ascending = Names();
  EXPECT_TRUE(ascending == L"c b1 b2 a " || ascending == L"c b2 b1 a ") << ascending;
  grid.SortByColumn(3, false);
  std::wstring reversed = ascending;
  // The names read backwards, row by row.
  std::vector<std::wstring> parts;
  for (size_t s = 0, e; (e = ascending.find(L' ', s)) != std::wstring::npos; s = e + 1)
    parts.push_back(ascending.substr(s, e - s));
  reversed.clear();
  for (auto it = parts.rbegin(); it != parts.rend(); ++it)
    reversed += *it + L" ";
  EXPECT_EQ(Names(), reversed);
  EXPECT_EQ(sorted, (std::vector<int>{3, 3}));
  EXPECT_TRUE(grid.Cells().IsSorted());
  // A child row leaves the order sorted; a write does not.
  grid.AppendChildRow(0, false);
  EXPECT_TRUE(grid.Cells().IsSorted());
  grid.DeleteRowAt(1);
  // After a write the next sort orders again: the changed row moves to its place.
  grid.CellByKey(L"FileSize", 3)->SetTextValue(L"z");
  EXPECT_FALSE(grid.Cells().IsSorted());
  grid.SortByColumn(3, true);
  EXPECT_EQ(grid.CellText(3, 3), L"z");
  EXPECT_EQ(grid.CellText(3, 0), L"x");
}

TEST_F(GridCellsTest, FullResortAndCustomOrderAskTheHandlerAgain) {
  AddRows({{L"a", L"1"}, {L"b", L"3"}, {L"c", L"2"}});
  TVxCustomColumn* size = grid.Columns().ColumnByName(L"FileSize");
  size->SetSortType(stCustom);
  int asked = 0;
  grid.OnCompare = [&](TObject*, TCell* a, TCell* b, int& compare) {
    ++asked;
    compare = b->IntValue() - a->IntValue();
  };
  grid.SortByColumn(3, true);
  EXPECT_EQ(Names(), L"b c a ");
  EXPECT_GT(asked, 0);
  asked = 0;
  grid.SortByColumn(3, false);
  EXPECT_EQ(asked, 0);
  EXPECT_EQ(Names(), L"a c b ");
  size->SetOptions(size->Options() + TColumnOptions{coFullResort});
  grid.SortByColumn(3, true);
  EXPECT_GT(asked, 0);
  EXPECT_EQ(Names(), L"b c a ");
  // A handler that contradicts itself cannot push the sort outside the rows.
  grid.OnCompare = [&](TObject*, TCell*, TCell*, int& compare) { compare = (asked++ % 3) - 1; };
  for (int i = 0; i < 40; ++i)
    AddRows({{L"n", L"0"}});
  grid.SortByColumn(3, true);
  EXPECT_EQ(grid.TotalRows(), 43);
}

TEST_F(GridCellsTest, SortTypesOrderTheirOwnWay) {
  AddRows({{L"r1", L"10"}, {L"r2", L"9"}, {L"r3", L"100"}, {L"r4", L"-1.5"}});
  TVxCustomColumn* size = grid.Columns().ColumnByName(L"FileSize");
  grid.SortByColumn(3, true);
  EXPECT_EQ(Names(), L"r4 r1 r3 r2 ");
  size->SetSortType(stNumeric);
  grid.SortByColumn(3, true);
  EXPECT_EQ(Names(), L"r4 r2 r1 r3 ");
  grid.SortByColumn(3, false);
  EXPECT_EQ(Names(), L"r3 r1 r2 r4 ");
  // A text that is no number stops the sort before any row moves.
  grid.CellByKey(L"FileSize", 0)->SetTextValue(L"big");
  EXPECT_THROW(grid.SortByColumn(3, true), EConvertError);
  EXPECT_EQ(Names(), L"r3 r1 r2 r4 ");

  grid.ClearAllRows();
  AddRows({{L"b", L""}, {L"A", L""}, {L"C", L""}, {L"a", L""}});
  grid.Cells().Sort(2, stCaseInsensitive, false, skAscending);
  const std::wstring names = Names();
  EXPECT_TRUE(names == L"A a b C " || names == L"a A b C ") << names;
  grid.Cells().Sort(2, stAlphabetic, false, skAscending);
  EXPECT_EQ(Names(), L"A C a b ");

  grid.ClearAllRows();
  AddRows({{L"x", L"10.0.0.2"}, {L"y", L"9.1.1.1"}, {L"z", L"10.0.0.10"}});
  size->SetSortType(stIP);
  grid.SortByColumn(3, true);
  EXPECT_EQ(Names(), L"y x z ");

  grid.CellByKey(L"SelectCheck", 1)->SetBoolValue(false);
  grid.SortByColumn(5, true);
  EXPECT_EQ(grid.CellByKey(L"SelectCheck", 0)->BoolValue(), false);
  EXPECT_EQ(Names().substr(0, 2), L"x ");
}

TEST_F(GridCellsTest, HeaderSortingFollowsTheColumnsSortedFlag) {
  AddRows({{L"b", L"2"}, {L"a", L"1"}});
  std::vector<std::pair<int, bool>> asked;
  grid.OnSortColumn = [&](TObject*, int col, bool ascending) {
    asked.emplace_back(col, ascending);
  };
  grid.Columns().ColumnByName(L"FileName")->SetSorted(true);
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(Names(), L"b a ");
  TVxCustomColumn* size = grid.Columns().ColumnByName(L"FileSize");
  size->SetSorted(true);
  EXPECT_EQ(Names(), L"a b ");
  size->SetSortKind(skDescending);
  EXPECT_EQ(Names(), L"b a ");
  EXPECT_EQ(asked, (std::vector<std::pair<int, bool>>{{3, true}, {3, false}}));
  // Without coCanSort nothing moves.
  size->SetOptions(size->Options() - TColumnOptions{coCanSort});
  grid.SortByColumn(3, true);
  EXPECT_EQ(Names(), L"b a ");
}

TEST_F(GridCellsTest, SortingOrdersSiblingsUnderTheirParentAndKeepsTheSelectedRow) {
  AddRows({{L"m", L""}});
  grid.AppendChildRow(0, true);
  grid.CellByKey(L"FileName", 1)->SetTextValue(L"a");
  AddRows({{L"z", L""}});
  grid.InsertRowAt(3);
  grid.CellByKey(L"FileName", 3)->SetTextValue(L"n");
  ASSERT_EQ(grid.SelectedRow(), 0);
  // The tree column refuses to become sorted, but a direct sort by it works.
  grid.SortByColumn(2, false);
  EXPECT_EQ(Names(), L"z n m a ");
  EXPECT_EQ(grid.LevelOf(3), 1);
  EXPECT_EQ(grid.ParentRowOf(3), 2);
  EXPECT_EQ(grid.SelectedRow(), 2);
  // The other way round is a sort of its own, not the rows read backwards.
  grid.SortByColumn(2, true);
  EXPECT_EQ(Names(), L"m a n z ");
  EXPECT_EQ(grid.ParentRowOf(1), 0);
}

// Fault mended: a sort that fails on a value that does not convert left the column marked
// sorted (so every later click failed again) and the owner told of a sort that never was.
TEST_F(GridCellsTest, AFailedSortLeavesTheHeaderAndTheOwnerAsTheyWere) {
  AddRows({{L"b", L"2"}, {L"a", L"1"}, {L"c", L"3"}});
  TVxColumns& columns = grid.Columns();
  TVxCustomColumn* type = columns.ColumnByName(L"FileType");
  TVxCustomColumn* size = columns.ColumnByName(L"FileSize");
  size->SetSortType(stNumeric);
  std::vector<std::pair<int, bool>> told;
  grid.OnSortColumn = [&](TObject*, int col, bool ascending) { told.emplace_back(col, ascending); };
  type->SetSorted(true);
  size->SetSorted(true);
  ASSERT_EQ(Names(), L"a b c ");
  told.clear();
  grid.CellByKey(L"FileSize", 1)->SetTextValue(L"two");
  EXPECT_THROW(size->SetSortKind(skDescending), EConvertError);
  EXPECT_EQ(size->SortKind(), skAscending);
  EXPECT_TRUE(told.empty());
  size->SetSorted(false);
  type->SetSorted(true);
  told.clear();
  EXPECT_THROW(size->SetSorted(true), EConvertError);
  EXPECT_FALSE(size->Sorted());
  EXPECT_TRUE(type->Sorted());
  EXPECT_EQ(Names(), L"a b c ");
  EXPECT_TRUE(told.empty());
}
