#include "grid/Grid.h"

#include "AllocationLimit.h"
#include "FoundFilesGrid.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Every row of the store, by its row object, level and the text of each of its cells.
struct RowPicture {
  const TRow* row;
  int level;
  std::vector<std::wstring> texts;
  bool operator==(const RowPicture&) const = default;
};

std::vector<RowPicture> Picture(TVxGrid& grid) {
  std::vector<RowPicture> rows;
  for (int r = 0; r < grid.TotalRows(); ++r) {
    RowPicture picture{&grid.RowObject(r), grid.LevelOf(r), {}};
    for (int c = 0; c < grid.Cells().ColumnTotal(); ++c)
      picture.texts.push_back(grid.CellText(c, r));
    rows.push_back(picture);
  }
  return rows;
}

// Two groups of children in reverse name order, so that a sort moves every row, and a column
// list that has just filled its room, so that one more row makes every list grow.
void Fill(TVxGrid& grid) {
  SetUpFoundFilesGrid(grid);
  for (int g = 0; g < 2; ++g) {
    const int group = grid.AppendRows(1);
    grid.SetCellText(2, group, L"group" + std::to_wstring(1 - g));
    for (int k = 0; k < 7; ++k) {
      const int row = grid.Cells().AppendChildRow(group, true);
      grid.SetCellText(2, row,
                       std::wstring(1, wchar_t(L'z' - k)) + L" a name past the inline size");
      grid.SetCellText(3, row, std::to_wstring(k) + L" KB");
      grid.SetCellText(1, row, std::to_wstring(k));
    }
  }
}

} // namespace

// A failed allocation part-way through an insert, a large append or a sort leaves the store as
// it was: every column as long as the row list, every cell on its row, the rows in their order.
TEST(RowStoreFailureTest, AFailedAllocationLeavesEveryRowWhole) {
  const std::pair<const char*, std::function<void(TCells&)>> operations[] = {
      {"insert row", [](TCells& cells) { cells.InsertRowAt(3); }},
      {"append child row", [](TCells& cells) { cells.AppendChildRow(0, true); }},
      {"append many rows", [](TCells& cells) { cells.AppendRows(500); }},
      {"sort", [](TCells& cells) { cells.Sort(2, stAlphabetic, false, skAscending); }},
  };
  for (const auto& [name, operation] : operations) {
    int failures = 0;
    for (long allowed = 0;; ++allowed) {
      TVxGrid grid;
      Fill(grid);
      const std::vector<RowPicture> before = Picture(grid);
      try {
        TAllocationLimit limit(allowed);
        operation(grid.Cells());
      } catch (const std::bad_alloc&) {
        ++failures;
        for (int c = 0; c < grid.Cells().ColumnTotal(); ++c)
          ASSERT_EQ(grid.Cells().CellCount(c), grid.TotalRows()) << name << " " << allowed;
        ASSERT_TRUE(Picture(grid) == before) << name << " failing allocation " << allowed;
        continue;
      }
      break;
    }
    EXPECT_GT(failures, 0) << name << " allocated nothing";
  }
}
