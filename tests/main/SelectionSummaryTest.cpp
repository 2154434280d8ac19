#include "main/SelectionSummary.h"

#include "grid/Grid.h"
#include "main/CleanerState.h"
#include "main/FoundFilesList.h"
#include "DecimalSeparatorPin.h"

#include <gtest/gtest.h>

namespace {

// A found-files list as a scan leaves it, with ticks changed as a user would.
struct TSummaryList {
  TVxGrid Grid;
  TCleanerState State;
  TFoundFilesList List{Grid, State};
  TDecimalSeparatorPin Point{L'.'};

  TSummaryList() { SetupFoundFilesGrid(Grid); }
  std::wstring Text(const wchar_t* column, int row) {
    return Grid.CellByKey(column, row)->TextValue();
  }
};

} // namespace

TEST(SelectionSummaryTest, TotalsFollowTheTreeAndSelectedIsWhatNextWouldRemove) {
  TSummaryList s;
  TFoundFilesList& list = s.List;
  list.AppendGroupRow(L"User Temp Files");               // 0
  list.AppendUserRow(L"alice");                          // 1
  list.AppendFileRow(L"C:\\a\\big", 3221225472ull, L""); // 2: 3 GiB, past any 32-bit reading
  list.AppendFileRow(L"C:\\a\\small", 1048576, L"");     // 3
  list.AppendUserRow(L"bob");                            // 4
  list.AppendFileRow(L"C:\\b\\one", 2097152, L"");       // 5
  list.AppendUserRow(L"carol");                          // 6: no files
  list.AppendGroupRow(L"Windows Temp Files");            // 7
  list.SetFileParentToGroup();
  list.AppendFileRow(L"C:\\w\\t", 4194304, L""); // 8
  list.AppendGroupRow(L"Recent Documents");      // 9: no files
  list.AppendRecycleBinRow();                    // 10
  list.SetRecycleBinSize(5242880);

  // The user clears a file of a ticked group and a whole group, then ticks one file back in it.
  list.SetTicked(3, false);
  list.SetTicked(7, false);
  list.TickDescendants(7);
  list.SetTicked(8, true);

  const uint64_t selected = UpdateSelectionSummary(list);
  EXPECT_EQ(selected, 3221225472ull + 2097152 + 4194304 + 5242880);
  EXPECT_EQ(SelectedText(selected), L"Selected 3083 MB");

  const struct {
    int row;
    const wchar_t *number, *size, *bytes;
  } parents[] = {
      {1, L"2", L"3073MB", L"3222274048"},
      {4, L"1", L"2MB", L"2097152"},
      {0, L"3", L"3075MB", L"3224371200"},
      {7, L"1", L"4MB", L"4194304"},
      // Rows without children keep what the scan gave them.
      {6, L"", L"", L""},
      {9, L"0", L"", L""},
      {10, L"0", L"5 Mb", L"5242880"},
  };
  for (const auto& p : parents) {
    EXPECT_EQ(s.Text(L"Number", p.row), p.number) << p.row;
    EXPECT_EQ(s.Text(L"FileSize", p.row), p.size) << p.row;
    EXPECT_EQ(s.Text(L"RealFileSize", p.row), p.bytes) << p.row;
  }

  // Nothing changed since: the next tick writes no cell, so nothing repaints.
  int changes = 0;
  s.Grid.OnChange = [&](TObject*, int, int) { ++changes; };
  EXPECT_EQ(UpdateSelectionSummary(list), selected);
  EXPECT_EQ(changes, 0);
}

TEST(SelectionSummaryTest, AnEmptyListOrUnreadableSizesCountNothing) {
  TSummaryList s;
  EXPECT_EQ(SelectedText(UpdateSelectionSummary(s.List)), L"Selected 0 MB");
  s.List.AppendRecycleBinRow(); // the shell could not tell its size
  s.List.AppendGroupRow(L"User Temp Files");
  s.List.SetFileParentToGroup();
  s.List.AppendFileRow(L"C:\\t\\x", 100, L"");
  s.Grid.CellByKey(L"RealFileSize", 2)->SetTextValue(L"not a size");
  EXPECT_EQ(UpdateSelectionSummary(s.List), 0u);
  EXPECT_EQ(s.Text(L"RealFileSize", 1), L"0");
  EXPECT_EQ(s.Text(L"FileSize", 0), L"");
}
