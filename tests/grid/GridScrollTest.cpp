#include "grid/Grid.h"

#include "FoundFilesGrid.h"

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>
#include <vector>

namespace {

// A found-files grid of groups, each with users and files under it, collapsed as a scan
// leaves them; it counts the body shifts it is asked for.
struct ScrollGrid : TVxGrid {
  std::vector<int> shifts;
  void ShiftBody(int row, int dy) override {
    shifts.push_back(dy);
    TVxGrid::ShiftBody(row, dy);
  }
};

struct GridScrollTest : ::testing::Test {
  ScrollGrid grid;
  std::vector<int> groups;
  void SetUp() override {
    SetUpFoundFilesGrid(grid);
    grid.SetBounds(0, 0, 400, 200);
    for (int g = 0; g < 40; ++g) {
      const int group = grid.AppendRows(1);
      groups.push_back(group);
      grid.SetCellText(2, group, L"group " + std::to_wstring(g));
      for (int u = 0; u < 3; ++u) {
        grid.AppendChildRow(group, true);
        grid.ExpandRow(grid.LastAddedIndex() - 1, false);
        const int user = grid.LastAddedIndex();
        for (int f = 0; f < 4; ++f) {
          grid.AppendChildRow(user, true);
          grid.ExpandRow(grid.LastAddedIndex() - 1, false);
        }
      }
    }
    grid.shifts.clear();
  }
  TVxScrollBar& Bar() { return grid.VertScrollBar(); }
  // The scroll position and TopRow agree, and TopRow is a displayed row.
  void ExpectInStep(const std::string& when) {
    EXPECT_TRUE(grid.IsRowDisplayed(grid.TopRow())) << when;
    EXPECT_EQ(Bar().Position(), grid.DisplayedRowsBefore(grid.TopRow())) << when;
  }
};

} // namespace

TEST_F(GridScrollTest, TheRangeCountsShownRowsAndStepsSkipCollapsedSubtrees) {
  const RECT body = grid.GetBodyRect();
  const int fit = (body.bottom - body.top) / 17;
  EXPECT_EQ(grid.RowsFit(), fit);
  EXPECT_EQ(Bar().Max(), 40);
  EXPECT_EQ(Bar().PageSize(), fit + 1);
  EXPECT_EQ(Bar().LargeChange(), fit + 1);
  for (int k = 1; k <= 5; ++k) {
    Bar().SetPosition(k);
    EXPECT_EQ(grid.TopRow(), groups[k]);
  }
  Bar().SetPosition(2);
  EXPECT_EQ(grid.TopRow(), groups[2]);
  // The furthest position leaves the last rows flush with the body bottom.
  Bar().Last();
  EXPECT_EQ(Bar().Position(), 40 - fit);
  EXPECT_EQ(grid.TopRow(), groups[40 - fit]);
  EXPECT_EQ(grid.RowsFit(), fit);
  EXPECT_LE(body.top + fit * 17, body.bottom);
  EXPECT_GT(body.top + (fit + 1) * 17, body.bottom);
  Bar().First();
  EXPECT_EQ(grid.TopRow(), 0);
  // Every row fits: no range, and TopRow back on the first row.
  Bar().SetPosition(5);
  grid.SetBounds(0, 0, 400, 2000);
  grid.ExpandRow(groups[3], true);
  EXPECT_EQ(grid.TopRow(), 0);
  EXPECT_EQ(Bar().Position(), 0);
  EXPECT_EQ(Bar().Max(), 0);
  EXPECT_FALSE(Bar().Visible());
  // Without auto-hide the bar stays, with nothing to scroll.
  grid.SetHideScrollBar(false);
  EXPECT_TRUE(Bar().Visible());
}

TEST_F(GridScrollTest, TopRowStaysOnAShownRowWhenRowsChangeAboveOrAroundIt) {
  Bar().SetPosition(10);
  const int top = grid.TopRow();
  EXPECT_EQ(top, groups[10]);
  // Rows opening and closing above the view: the same top row, the position follows it.
  grid.ExpandRow(groups[0], true);
  EXPECT_EQ(grid.TopRow(), top);
  EXPECT_EQ(Bar().Position(), 13);
  ExpectInStep("expanded above");
  grid.ExpandRow(groups[0], false);
  EXPECT_EQ(Bar().Position(), 10);
  // The top row inside a node that closes: the node's row takes its place.
  grid.ExpandRow(groups[10], true);
  grid.ExpandRow(groups[10] + 1, true);
  Bar().SetPosition(13);
  EXPECT_EQ(grid.TopRow(), groups[10] + 3);
  grid.ExpandRow(groups[10], false);
  EXPECT_EQ(grid.TopRow(), groups[10]);
  ExpectInStep("collapsed around");
  // Deleting rows above keeps the top row's row.
  grid.DeleteRowAt(groups[2]);
  EXPECT_EQ(grid.CellText(2, grid.TopRow()), L"group 10");
  ExpectInStep("deleted above");
  // Near the end a collapse above pulls the view back so that the body stays full.
  grid.ExpandRow(groups[0], true);
  Bar().Last();
  const int last = Bar().Position();
  grid.ExpandRow(groups[0], false);
  EXPECT_EQ(Bar().Position(), last - 3);
  EXPECT_EQ(Bar().Position(), grid.Cells().ShownTotal() - grid.RowsFit());
  ExpectInStep("collapsed near the end");
  grid.ClearAllRows();
  EXPECT_EQ(grid.TopRow(), 0);
  EXPECT_EQ(Bar().Position(), 0);
  EXPECT_EQ(Bar().Max(), 0);
}

TEST_F(GridScrollTest, ExpandingCollapsingAndDeletingShiftTheBodyOnce) {
  grid.ExpandRow(groups[1], true);
  EXPECT_EQ(grid.shifts, (std::vector<int>{3 * 16}));
  grid.ExpandRow(groups[1] + 1, true);
  grid.shifts.clear();
  grid.ExpandRow(groups[1], false);
  EXPECT_EQ(grid.shifts, (std::vector<int>{-7 * 16}));
  grid.ExpandRow(groups[1], true);
  grid.shifts.clear();
  grid.DeleteRowAt(groups[1]);
  EXPECT_EQ(grid.shifts, (std::vector<int>{-8 * 16}));
}

// Fault mended: a height of no pixels or fewer let every walk down the rows (paint, pointer,
// thumb) pass all of them, and one near INT_MAX overflowed the row tops. Whatever a row's
// height, a walk stops at the body's bottom, at most one row per pixel of the body.
TEST(GridRowHeightTest, EveryHeightKeepsTheWalksWithinTheBody) {
  TVxGrid grid;
  SetUpFoundFilesGrid(grid);
  grid.SetOptions({goHeader}); // no lines between rows: a row of no height takes no room
  grid.SetBounds(0, 0, 400, 200);
  const int rows = 50000;
  grid.AppendRows(rows);
  const RECT body = grid.GetBodyRect();
  const int cap = body.bottom - body.top + 2;
  for (const int height : {0, -7, INT_MIN, INT_MAX, INT_MAX - 3}) {
    int asked = 0;
    grid.OnMeasuringRowHeight = [&](TObject*, int, int& h) {
      ++asked;
      h = height;
    };
    const std::vector<std::function<void()>> walks = {
        [&] { grid.RowsFit(); },
        [&] { EXPECT_GE(grid.GetRowTop(rows - 1), body.top) << height; },
        [&] { grid.GetCellAtPos(20, body.bottom - 1); },
    };
    for (const auto& walk : walks) {
      asked = 0;
      walk();
      EXPECT_LE(asked, cap) << height;
    }
    EXPECT_LE(grid.GetRowTop(1), grid.GetRowTop(2)) << height;
  }
}

// Fault mended: a subtree's height was summed in an int, so a big enough subtree came out
// negative and its expansion shifted the body the wrong way.
TEST(GridRowHeightTest, ASubtreeTallerThanAnIntShiftsTheBodyItsWay) {
  ScrollGrid grid;
  SetUpFoundFilesGrid(grid);
  grid.SetBounds(0, 0, 400, 200);
  const int parent = grid.AppendRows(1);
  grid.LockUpdates();
  for (int k = 0; k < 70000; ++k)
    grid.AppendChildRow(parent, true);
  grid.ExpandRow(parent, false);
  grid.UnlockUpdates();
  grid.OnMeasuringRowHeight = [](TObject*, int, int& h) { h = 32767; };
  grid.shifts.clear();
  grid.ExpandRow(parent, true);
  ASSERT_EQ(grid.shifts.size(), 1u);
  EXPECT_GT(grid.shifts[0], 0);
}
