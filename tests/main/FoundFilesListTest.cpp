#include "main/FoundFilesList.h"

#include "grid/Grid.h"
#include "main/CleanerState.h"
#include "DecimalSeparatorPin.h"
#include "ui/Numbers.h"

#include <gtest/gtest.h>

TEST(FoundFilesListTest, TheGridCarriesTheSevenColumnsOfTheList) {
  TVxGrid grid;
  SetupFoundFilesGrid(grid);
  EXPECT_EQ(grid.Options(), (TGridOptions{goGrid, goHeader, goSelectFullRow, goUseDefaultValues}));
  const struct {
    const wchar_t* name;
    const char* className;
    const wchar_t* caption;
    bool visible;
    const wchar_t* defaultValue;
    int width; // 0: the grid's default
    TSortType sortType;
  } columns[] = {
      {L"Number", "TVxTextColumn", L"#", true, L"0", 39, stAlphabetic},
      {L"FileIcon", "TVxImageColumn", L"Icon", false, L"0", 38, stNumeric},
      {L"FileName", "TVxTreeColumn", L"File", true, L"", 426, stAlphabetic},
      {L"FileSize", "TVxTextColumn", L"Size", true, L"", 0, stAlphabetic},
      {L"FileType", "TVxTextColumn", L"Type", true, L"", 0, stAlphabetic},
      {L"SelectCheck", "TVxCheckBoxColumn", L"Select", true, L"true", 36, stBoolean},
      {L"RealFileSize", "TVxTextColumn", L"", false, L"", 0, stAlphabetic},
  };
  ASSERT_EQ(grid.Columns().ColumnCount(), 7);
  int defaultWidth = TVxTextColumn().Width();
  for (int i = 0; i < 7; ++i) {
    const auto& c = columns[i];
    TVxCustomColumn* column = grid.Columns().ColumnAt(i);
    EXPECT_EQ(column->Name(), c.name);
    EXPECT_STREQ(column->ClassName(), c.className);
    EXPECT_EQ(column->Header().Caption(), c.caption) << i;
    EXPECT_EQ(column->Visible(), c.visible) << i;
    EXPECT_EQ(column->DefaultValue(), c.defaultValue) << i;
    EXPECT_EQ(column->Width(), c.width ? c.width : defaultWidth) << i;
    EXPECT_EQ(column->SortType(), c.sortType) << i;
    EXPECT_EQ(column->Font().Name(), L"Tahoma");
    EXPECT_EQ(column->Font().Size(), 8);
    EXPECT_EQ(column->Font().Color(), clBlue);
  }
  EXPECT_EQ(grid.Columns().ColumnAt(0)->Alignment(), taRightJustify);
  EXPECT_EQ(grid.Columns().ColumnAt(5)->Alignment(), taCenter);
  EXPECT_TRUE(grid.Columns().ColumnAt(5)->Options().Contains(coEditing));
  EXPECT_TRUE(grid.Columns().ColumnAt(2)->Options().Contains(coShowTextFitHint));
  EXPECT_TRUE(static_cast<TVxTreeColumn*>(grid.Columns().ColumnAt(2))->ShowLines());
}

TEST(FoundFilesListTest, RowsAreBuiltCompleteAndParentsCollapseOnTheirFirstChild) {
  TVxGrid grid;
  SetupFoundFilesGrid(grid);
  TCleanerState state;
  TFoundFilesList list(grid, state);
  TDecimalSeparatorPin point(L'.');

  list.AppendGroupRow(L"User Temp Files");
  EXPECT_EQ(state.GroupRow, 0);
  list.AppendUserRow(L"alice");
  EXPECT_EQ(state.FileParentRow, 1);
  list.AppendFileRow(L"C:\\Users\\alice\\AppData\\Local\\Temp\\a.tmp", 1536, L"TMP File");
  list.AppendFileRow(L"C:\\Users\\alice\\AppData\\Local\\Temp\\b", 5368709120ull, L"");
  list.AppendUserRow(L"bob");
  list.AppendRecycleBinRow();
  list.SetRecycleBinSize(12897485);
  EXPECT_EQ(state.FileParentRow, 4) << "the Recycle Bin row takes no files";

  auto text = [&](const wchar_t* column, int row) {
    return grid.CellByKey(column, row)->TextValue();
  };
  ASSERT_EQ(grid.TotalRows(), 6);
  const int levels[] = {0, 1, 2, 2, 1, 0};
  for (int r = 0; r < 6; ++r) {
    EXPECT_EQ(grid.LevelOf(r), levels[r]) << r;
    EXPECT_TRUE(grid.CellByKey(L"SelectCheck", r)->BoolValue()) << r;
  }
  // Group rows carry the defaults; the rows below them none but their own cells.
  EXPECT_EQ(text(L"Number", 0), L"0");
  EXPECT_EQ(text(L"Number", 1), L"");
  EXPECT_EQ(text(L"filename", 2), L"C:\\Users\\alice\\AppData\\Local\\Temp\\a.tmp");
  EXPECT_EQ(text(L"FileSize", 2), L"1.5 KB");
  EXPECT_EQ(text(L"RealFileSize", 2), L"1536");
  EXPECT_EQ(text(L"FileType", 2), L"TMP File");
  EXPECT_EQ(text(L"FileSize", 3), L"5 GB");
  EXPECT_EQ(text(L"FileType", 3), L"");
  EXPECT_EQ(text(L"FileName", 4), L"bob");
  EXPECT_EQ(text(L"FileSize", 5), L"12.3 Mb");
  EXPECT_EQ(text(L"RealFileSize", 5), L"12897485");
  // Collapsed once they had a child; bob has none and stays as he was.
  EXPECT_FALSE(grid.IsRowExpanded(0));
  EXPECT_FALSE(grid.IsRowExpanded(1));
  EXPECT_TRUE(grid.IsRowExpanded(4));
  EXPECT_FALSE(grid.IsRowDisplayed(2));
  EXPECT_TRUE(grid.IsRowDisplayed(5));

  // What the list reads back: the kind of each row, the exact 64-bit bytes, the tick.
  for (int r = 0; r < 6; ++r) {
    EXPECT_EQ(list.IsFileRow(r), r == 2 || r == 3) << r;
    EXPECT_EQ(list.IsRecycleBinRow(r), r == 5) << r;
  }
  uint64_t bytes = 0;
  EXPECT_TRUE(list.Bytes(3, bytes));
  EXPECT_EQ(bytes, 5368709120ull);
  EXPECT_TRUE(list.Bytes(5, bytes));
  EXPECT_EQ(bytes, 12897485u);
  EXPECT_FALSE(list.Bytes(0, bytes));
  list.SetTicked(2, false);
  EXPECT_FALSE(list.IsTicked(2));

  list.Clear();
  EXPECT_EQ(grid.TotalRows(), 0);
}

TEST(FoundFilesListTest, RowsArrivingUnderAClearedHeadingStartCleared) {
  TVxGrid grid;
  SetupFoundFilesGrid(grid);
  TCleanerState state;
  TFoundFilesList list(grid, state);
  list.AppendGroupRow(L"User Temp Files");
  list.AppendUserRow(L"alice");
  list.AppendFileRow(L"C:\\a\\1.tmp", 1, L"");
  // The user clears the group while the scan goes on.
  list.SetTicked(0, false);
  list.TickDescendants(0);
  list.AppendFileRow(L"C:\\a\\2.tmp", 1, L"");
  list.AppendUserRow(L"bob");
  list.AppendFileRow(L"C:\\b\\1.tmp", 1, L"");
  for (int row = 0; row < grid.TotalRows(); ++row) EXPECT_FALSE(list.IsTicked(row)) << row;
}

// A heading's tick reaches every row below it and not one row further: the next user's row and
// the Recycle Bin row right after a group keep what the user chose.
TEST(FoundFilesListTest, AHeadingsTickReachesItsRowsAndNoFurther) {
  TVxGrid grid;
  SetupFoundFilesGrid(grid);
  TCleanerState state;
  TFoundFilesList list(grid, state);
  list.AppendGroupRow(L"User Temp Files");     // 0
  list.AppendUserRow(L"alice");                // 1
  list.AppendFileRow(L"C:\\a\\1.tmp", 1, L""); // 2
  list.AppendUserRow(L"bob");                  // 3
  list.AppendFileRow(L"C:\\b\\1.tmp", 1, L""); // 4
  list.AppendRecycleBinRow();                // 5
  const struct {
    int row;
    bool ticked;
    const char* after; // row by row
  } clicks[] = {
      {5, false, "111110"}, {1, false, "100110"}, {0, true, "111110"},
      {5, true, "111111"},  {0, false, "000001"}, {3, true, "000111"},
  };
  for (const auto& click : clicks) {
    list.SetTicked(click.row, click.ticked);
    list.TickDescendants(click.row);
    std::string ticks;
    for (int row = 0; row < grid.TotalRows(); ++row)
      ticks += list.IsTicked(row) ? '1' : '0';
    EXPECT_EQ(ticks, click.after) << click.row << " " << click.ticked;
  }
}
