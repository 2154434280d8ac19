#include "grid/Grid.h"
#include "ui/Exception.h"

#include "FoundFilesGrid.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace {

// The tree queries by their definitions: plain scans over the row list.
int ScanCountDescendants(TVxGrid& g, int row) {
  int j = row + 1;
  while (j < g.TotalRows() && g.LevelOf(j) > g.LevelOf(row))
    ++j;
  return j - row - 1;
}

int ScanLastDescendant(TVxGrid& g, int a) {
  if (g.TotalRows() == 0) return -1;
  if (a + 1 < g.TotalRows() && g.LevelOf(a + 1) > g.LevelOf(a)) {
    int j = a + 1;
    while (j + 1 < g.TotalRows() && g.LevelOf(j + 1) > g.LevelOf(a))
      ++j;
    return j;
  }
  return a + 1;
}

int ScanParentRow(TVxGrid& g, int row) {
  TRow& r = g.RowObject(row);
  if (r.Level() == 0 || !r.ParentRow()) return -1;
  for (int j = 0; j < g.TotalRows(); ++j)
    if (&g.RowObject(j) == r.ParentRow()) return j;
  return -1;
}

// The rank index answers what counting the displayed flags from the top gives.
void ExpectRanksMatchFlags(TVxGrid& g, const std::string& step) {
  const TCells& cells = g.Cells();
  int before = 0;
  for (int r = 0; r < g.TotalRows(); ++r) {
    ASSERT_EQ(cells.DisplayedRank(r), before) << step << " row " << r;
    if (g.IsRowDisplayed(r)) {
      ASSERT_EQ(cells.DisplayedRowAt(before++), r) << step;
    }
  }
  ASSERT_EQ(cells.DisplayedRank(g.TotalRows()), before) << step;
  ASSERT_EQ(cells.DisplayedRowAt(before), g.TotalRows()) << step;
  // Likewise the selected count, and every selected row lies in the selected span.
  int selected = 0;
  for (int r = 0; r < g.TotalRows(); ++r) {
    if (!g.IsRowSelected(r)) continue;
    ++selected;
    ASSERT_TRUE(r >= cells.SelectedFirst() && r <= cells.SelectedLast()) << step << " row " << r;
  }
  ASSERT_EQ(g.SelectedCount(), selected) << step;
}

void ExpectTreeQueriesMatchScans(TVxGrid& g, const std::string& step) {
  int displayed = 0;
  std::vector<int> children(g.TotalRows(), 0);
  for (int r = 0; r < g.TotalRows(); ++r) {
    ASSERT_EQ(g.CountDescendants(r), ScanCountDescendants(g, r)) << step << " row " << r;
    ASSERT_EQ(g.LastDescendantRow(r), ScanLastDescendant(g, r)) << step << " row " << r;
    const int parent = ScanParentRow(g, r);
    ASSERT_EQ(g.ParentRowOf(r), parent) << step << " row " << r;
    if (parent >= 0) ++children[parent];
    displayed += g.IsRowDisplayed(r);
  }
  for (int r = 0; r < g.TotalRows(); ++r)
    ASSERT_EQ(g.RowObject(r).ChildCount(), children[r]) << step << " row " << r;
  ASSERT_EQ(g.Cells().ShownTotal(), displayed) << step;
  ExpectRanksMatchFlags(g, step);
}

struct GridRowsTest : ::testing::Test {
  TVxGrid grid;
  void SetUp() override { SetUpFoundFilesGrid(grid); }
  std::wstring Name(int row) { return grid.CellByKey(L"FileName", row)->TextValue(); }
  int AddGroup(const std::wstring& name) {
    const int row = grid.AppendRows(1);
    grid.CellByKey(L"FileName", row)->SetTextValue(name);
    return row;
  }
  int AddChild(int parent, const std::wstring& name, bool atEnd = true) {
    grid.AppendChildRow(parent, atEnd);
    const int row = grid.LastAddedIndex();
    grid.ExpandRow(row - 1, false);
    grid.CellByKey(L"FileName", row)->SetTextValue(name);
    return row;
  }
};

} // namespace

TEST_F(GridRowsTest, TopLevelRowsTakeDefaultsAndChildRowsDoNot) {
  EXPECT_EQ(grid.AppendRows(0), -1);
  const int group = grid.AppendRows(1);
  EXPECT_EQ(group, 0);
  EXPECT_EQ(grid.AppendRows(0), 0);
  EXPECT_TRUE(grid.CellByKey(L"SelectCheck", group)->BoolValue());
  EXPECT_EQ(grid.CellByKey(L"FileIcon", group)->IntValue(), 0);
  EXPECT_EQ(grid.CellByKey(L"Number", group)->TextValue(), L"0");
  grid.AppendChildRow(group, true);
  const int child = grid.LastAddedIndex();
  EXPECT_EQ(child, 1);
  EXPECT_FALSE(grid.CellByKey(L"SelectCheck", child)->BoolValue());
  EXPECT_EQ(grid.CellByKey(L"Number", child)->TextValue(), L"");
  EXPECT_EQ(grid.LevelOf(child), 1);
  EXPECT_EQ(grid.ParentRowOf(child), group);
  EXPECT_EQ(grid.AppendRows(2), 3);
}

TEST_F(GridRowsTest, ADefaultThatDoesNotConvertFailsAfterTheRowsAreThere) {
  grid.Columns().ColumnByName(L"FileIcon")->SetDefaultValue(L"x");
  EXPECT_THROW(grid.AppendRows(2), EConvertError);
  EXPECT_EQ(grid.TotalRows(), 2);
  EXPECT_EQ(grid.LastAddedIndex(), 1);
  EXPECT_EQ(grid.CellByKey(L"Number", 0)->TextValue(), L"0");
  EXPECT_FALSE(grid.CellByKey(L"SelectCheck", 0)->BoolValue());
}

TEST_F(GridRowsTest, ChildrenGoAfterTheLastDescendantOrRightAfterTheParent) {
  const int g = AddGroup(L"g");
  const int u1 = AddChild(g, L"u1");
  AddChild(u1, L"f1");
  AddChild(u1, L"f2");
  const int u2 = AddChild(g, L"u2");
  EXPECT_EQ(u2, 4);
  AddGroup(L"h");
  // A child of g at the end goes after u2 (and before h), at any depth below.
  AddChild(g, L"u3");
  EXPECT_EQ(Name(5), L"u3");
  EXPECT_EQ(Name(6), L"h");
  AddChild(u1, L"f0", false);
  EXPECT_EQ(Name(2), L"f0");
  EXPECT_EQ(grid.LastDescendantRow(g), 6);
  EXPECT_EQ(grid.CountDescendants(g), 6);
  EXPECT_EQ(grid.LastDescendantRow(u1), 4);
  EXPECT_EQ(grid.LastDescendantRow(2), 3);
  // The last row: its index + 1, the row count.
  EXPECT_EQ(grid.LastDescendantRow(7), 8);
  EXPECT_EQ(grid.CountDescendants(7), 0);
  EXPECT_EQ(grid.RowObject(g).ChildCount(), 3);
  ExpectTreeQueriesMatchScans(grid, "built");
  grid.ClearAllRows();
  EXPECT_EQ(grid.LastDescendantRow(0), -1);
}

TEST_F(GridRowsTest, AGroupWithThreeFilesEndsThreeRowsLater) {
  AddGroup(L"a");
  const int g = AddGroup(L"g");
  for (int i = 0; i < 3; ++i)
    AddChild(g, L"f");
  EXPECT_EQ(grid.LastDescendantRow(g), g + 3);
  EXPECT_EQ(grid.LastDescendantRow(0), 1);
}

TEST_F(GridRowsTest, CollapsingAtTheFirstChildHidesLaterChildrenAndExpandKeepsInnerNodesShut) {
  std::vector<int> expanded;
  grid.OnExpand = [&](TObject*, int row) { expanded.push_back(row); };
  const int g = AddGroup(L"g");
  const int u1 = AddChild(g, L"u1");
  const int f1 = AddChild(u1, L"f1");
  const int f2 = AddChild(u1, L"f2");
  const int u2 = AddChild(g, L"u2");
  // The scan's ExpandRow(last - 1, false) collapsed g at u1 and u1 at f1 only.
  EXPECT_EQ(expanded, (std::vector<int>{g, u1}));
  EXPECT_FALSE(grid.IsRowExpanded(g));
  EXPECT_FALSE(grid.IsRowExpanded(u1));
  EXPECT_TRUE(grid.IsRowExpanded(f1));
  for (int r : {u1, f1, f2, u2})
    EXPECT_FALSE(grid.IsRowDisplayed(r)) << r;
  EXPECT_EQ(grid.Cells().ShownTotal(), 1);
  grid.ExpandRow(g, true);
  EXPECT_TRUE(grid.IsRowDisplayed(u1));
  EXPECT_TRUE(grid.IsRowDisplayed(u2));
  EXPECT_FALSE(grid.IsRowDisplayed(f1));
  EXPECT_FALSE(grid.IsRowDisplayed(f2));
  EXPECT_EQ(grid.Cells().ShownTotal(), 3);
  expanded.clear();
  grid.ExpandRow(f1, false);
  grid.ExpandRow(g, true);
  EXPECT_TRUE(expanded.empty());
  EXPECT_TRUE(grid.IsRowExpanded(f1));
  grid.ToggleExpanded(u1);
  EXPECT_TRUE(grid.IsRowDisplayed(f2));
  EXPECT_EQ(expanded, (std::vector<int>{u1}));
  ExpectTreeQueriesMatchScans(grid, "expanded");
}

TEST_F(GridRowsTest, ShowRowAndHeightsKeepTheShownCountTrue) {
  const int g = AddGroup(L"g");
  const int u = AddChild(g, L"u");
  EXPECT_FALSE(grid.IsRowDisplayed(u));
  grid.ShowRow(u, true);
  EXPECT_FALSE(grid.IsRowDisplayed(u));
  EXPECT_EQ(grid.Cells().ShownTotal(), 1);
  grid.ShowRow(g, false);
  EXPECT_EQ(grid.Cells().ShownTotal(), 0);
  grid.ShowRow(g, true);
  EXPECT_EQ(grid.Cells().ShownTotal(), 1);
  EXPECT_EQ(grid.RowHeightOf(g), 16);
  grid.OnMeasuringRowHeight = [](TObject*, int, int& height) { height += 4; };
  EXPECT_EQ(grid.RowHeightOf(g), 20);
  grid.SetRowHeightOf(g, 20);
  EXPECT_EQ(grid.RowObject(g).Height(), 16);
  grid.SetRowHeightOf(g, 30);
  EXPECT_EQ(grid.RowObject(g).Height(), 30);
  grid.OnMeasuringRowHeight = nullptr;
  grid.SetRowSize(20);
  EXPECT_EQ(grid.RowObject(AddGroup(L"h")).Height(), 20);
}

TEST_F(GridRowsTest, SelectionFlagsAndInsertRowAt) {
  AddGroup(L"a");
  AddGroup(L"b");
  grid.MarkRowSelected(1, true);
  grid.MarkRowSelected(5, true);
  EXPECT_TRUE(grid.IsRowSelected(1));
  grid.MarkRowsSelected(0, 1, false);
  EXPECT_FALSE(grid.IsRowSelected(1));
  grid.MarkRowsSelected(0, 2, true);
  EXPECT_FALSE(grid.IsRowSelected(0));
  EXPECT_EQ(grid.SelectedRow(), -1);
  grid.InsertRowAt(1);
  EXPECT_EQ(grid.LastAddedIndex(), 1);
  EXPECT_EQ(grid.SelectedRow(), 0);
  EXPECT_EQ(Name(2), L"b");
  EXPECT_EQ(grid.CellByKey(L"Number", 1)->TextValue(), L"");
  EXPECT_THROW(grid.InsertRowAt(9), EListError);
}

TEST_F(GridRowsTest, DeleteRemovesTheSubtreeAndTheParentsCount) {
  const int g = AddGroup(L"g");
  const int u1 = AddChild(g, L"u1");
  AddChild(u1, L"f1");
  AddChild(u1, L"f2");
  AddChild(g, L"u2");
  AddGroup(L"h");
  grid.DeleteRowAt(u1);
  EXPECT_EQ(grid.TotalRows(), 3);
  EXPECT_EQ(Name(1), L"u2");
  EXPECT_EQ(grid.RowObject(g).ChildCount(), 1);
  ExpectTreeQueriesMatchScans(grid, "deleted");
  grid.DeleteRowAt(g);
  EXPECT_EQ(grid.TotalRows(), 1);
  EXPECT_EQ(Name(0), L"h");
  EXPECT_EQ(grid.LastAddedIndex(), 5);
  EXPECT_THROW(grid.DeleteRowAt(1), EListError);
}

TEST(GridRowsDeleteTest, ASelectionAtOrPastTheEndMovesUpToTheLastRow) {
  struct SelectingGrid : TVxGrid {
    using TVxCustomGridControl::StoreSelection;
  } grid;
  SetUpFoundFilesGrid(grid);
  grid.AppendRows(4);
  grid.StoreSelection(5, 3);
  grid.DeleteRowAt(3);
  EXPECT_EQ(grid.SelectedRow(), 2);
  EXPECT_EQ(grid.SelectedColumn(), 5);
  // Row 2 is now past the end of the two rows left.
  grid.DeleteRowAt(0);
  EXPECT_EQ(grid.SelectedRow(), 1);
  grid.StoreSelection(5, 0);
  grid.DeleteRowAt(1);
  EXPECT_EQ(grid.SelectedRow(), 0);
  grid.DeleteRowAt(0);
  EXPECT_EQ(grid.SelectedRow(), -1);
}

TEST_F(GridRowsTest, DeletingAParentWhoseChildWasMovedAwayOrphansTheChild) {
  const int g = AddGroup(L"b");
  AddChild(g, L"a");
  AddGroup(L"c");
  // Moving the child above its parent leaves the parent without a descendant run.
  grid.MoveRowTo(1, 0);
  EXPECT_EQ(Name(0), L"a");
  grid.DeleteRowAt(1);
  EXPECT_EQ(grid.TotalRows(), 2);
  EXPECT_EQ(grid.RowObject(0).ParentRow(), nullptr);
  EXPECT_EQ(grid.ParentRowOf(0), -1);
  ExpectTreeQueriesMatchScans(grid, "orphaned");
}

TEST_F(GridRowsTest, ExchangeAndMoveCarryEveryCellOfTheRow) {
  for (const wchar_t* n : {L"a", L"b", L"c", L"d"})
    AddGroup(n);
  grid.CellByKey(L"FileSize", 0)->SetTextValue(L"size a");
  grid.SelectRow(0);
  grid.ExchangeRows(0, 3);
  EXPECT_EQ(Name(0), L"d");
  EXPECT_EQ(Name(3), L"a");
  EXPECT_EQ(grid.CellByKey(L"FileSize", 3)->TextValue(), L"size a");
  // The selection goes with its row, as the row's selected flag does.
  EXPECT_EQ(grid.SelectedRow(), 3);
  EXPECT_TRUE(grid.IsRowSelected(3));
  grid.MoveRowTo(3, 1);
  EXPECT_EQ(Name(1), L"a");
  EXPECT_EQ(Name(2), L"b");
  grid.MoveRowTo(0, 3);
  EXPECT_EQ(Name(3), L"d");
  EXPECT_EQ(Name(0), L"a");
  EXPECT_EQ(grid.CellByKey(L"FileSize", 0)->TextValue(), L"size a");
}

TEST_F(GridRowsTest, TreeQueriesEqualTheScansThroughRandomOperations) {
  std::mt19937 random(12345);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  for (int step = 0; step < 400; ++step) {
    const int n = grid.TotalRows();
    const int op = n == 0 ? 0 : pick(10);
    std::string what;
    if (op <= 1) {
      AddGroup(std::to_wstring(pick(50)));
      what = "append";
    } else if (op <= 5) {
      const int parent = pick(n);
      const bool atEnd = pick(4) != 0;
      const int expected = atEnd ? parent + ScanCountDescendants(grid, parent) + 1 : parent + 1;
      AddChild(parent, std::to_wstring(pick(50)), atEnd);
      ASSERT_EQ(grid.LastAddedIndex(), expected) << step;
      what = "child";
    } else if (op == 6) {
      grid.InsertRowAt(pick(n + 1));
      what = "insert";
    } else if (op == 7) {
      grid.DeleteRowAt(pick(n));
      what = "delete";
    } else if (op == 8) {
      if (pick(3) == 0)
        grid.MarkRowSelected(pick(n), pick(2) != 0);
      else if (pick(2))
        grid.ExchangeRows(pick(n), pick(n));
      else
        grid.MoveRowTo(pick(n), pick(n));
      what = "move";
    } else {
      if (pick(3) == 0)
        grid.Cells().Sort(2, stAlphabetic, false, pick(2) ? skAscending : skDescending);
      else
        grid.ExpandRow(pick(n), pick(2) != 0);
      what = "sort or expand";
    }
    ExpectTreeQueriesMatchScans(grid, what + " at step " + std::to_string(step));
    if (HasFatalFailure()) return;
  }
}

namespace {

// Whether a row is shown by definition: every ancestor is expanded.
bool ShownByAncestors(TVxGrid& g, int row) {
  for (TRow* a = g.RowObject(row).ParentRow(); a; a = a->ParentRow())
    if (!a->Expanded()) return false;
  return true;
}

void ExpectShownFollowsAncestors(TVxGrid& g, const std::string& step) {
  std::vector<int> displayed;
  for (int r = 0; r < g.TotalRows(); ++r) {
    const bool shown = ShownByAncestors(g, r);
    ASSERT_EQ(g.RowObject(r).Shown(), shown) << step << " row " << r;
    if (shown && g.RowObject(r).Visible()) displayed.push_back(r);
  }
  ASSERT_EQ(g.Cells().ShownTotal(), static_cast<int>(displayed.size())) << step;
  std::vector<int> forward, backward;
  for (int r = g.Cells().NextDisplayedRow(-1); r < g.TotalRows(); r = g.Cells().NextDisplayedRow(r))
    forward.push_back(r);
  for (int r = g.Cells().PreviousDisplayedRow(g.TotalRows()); r >= 0;
       r = g.Cells().PreviousDisplayedRow(r))
    backward.insert(backward.begin(), r);
  ASSERT_EQ(forward, displayed) << step;
  ASSERT_EQ(backward, displayed) << step;
}

} // namespace

TEST_F(GridRowsTest, ShownRowsFollowTheirAncestorsThroughRandomTreeOperations) {
  std::mt19937 random(777);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  int grandparentCollapses = 0;
  for (int step = 0; step < 600; ++step) {
    const int n = grid.TotalRows();
    const int op = n == 0 ? 0 : pick(12);
    std::string what;
    if (op == 0) {
      AddGroup(L"g");
      what = "group";
    } else if (op <= 4) {
      grid.AppendChildRow(pick(n), pick(4) != 0);
      what = "child";
    } else if (op == 5) {
      AddChild(pick(n), L"scan child");
      what = "scan child";
    } else if (op == 6) {
      grid.DeleteRowAt(pick(n));
      what = "delete";
    } else if (op == 7) {
      grid.ShowRow(pick(n), pick(3) != 0);
      what = "show";
    } else if (op <= 9) {
      // Collapse the grandparent of an expanded row, then maybe open it again.
      const int r = pick(n);
      const int parent = grid.ParentRowOf(r);
      const int grandparent = parent >= 0 ? grid.ParentRowOf(parent) : -1;
      if (grandparent < 0 || !grid.IsRowExpanded(parent)) continue;
      grid.ExpandRow(grandparent, false);
      grandparentCollapses += !grid.IsRowExpanded(grandparent);
      if (pick(2)) grid.ExpandRow(grandparent, true);
      what = "grandparent";
    } else {
      grid.ExpandRow(pick(n), pick(2) != 0);
      what = "expand";
    }
    ExpectShownFollowsAncestors(grid, what + " at step " + std::to_string(step));
    // Every third step, so that several changes meet the rank index between its queries.
    if (step % 3 == 0) ExpectRanksMatchFlags(grid, what + " at step " + std::to_string(step));
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(grandparentCollapses, 10);
}

namespace {

// Whether the rows, with one moved from `from` to `to`, still form the tree their links name:
// every row stands under its parent, one level deeper, and a top-level row has no parent.
bool WholeAfterMove(TVxGrid& g, int from, int to) {
  std::vector<TRow*> order;
  for (int r = 0; r < g.TotalRows(); ++r)
    order.push_back(&g.RowObject(r));
  TRow* moved = order[from];
  order.erase(order.begin() + from);
  order.insert(order.begin() + to, moved);
  for (size_t i = 0; i < order.size(); ++i) {
    TRow* above = nullptr;
    for (size_t j = i; j-- > 0;)
      if (order[j]->Level() < order[i]->Level()) {
        above = order[j];
        break;
      }
    if (above != order[i]->ParentRow()) return false;
    if (above && above->Level() != order[i]->Level() - 1) return false;
  }
  return true;
}

} // namespace

TEST_F(GridRowsTest, AMoveKeepsTheTreeExactlyWhenEveryRowStaysUnderItsParent) {
  std::mt19937 random(4242);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  for (int k = 0; k < 24; ++k)
    if (grid.TotalRows() == 0 || pick(4) == 0)
      AddGroup(std::to_wstring(k));
    else
      AddChild(pick(grid.TotalRows()), std::to_wstring(k), pick(3) != 0);
  int kept = 0, refused = 0;
  for (int step = 0; step < 400; ++step) {
    const int from = pick(grid.TotalRows()), to = pick(grid.TotalRows());
    const bool whole = WholeAfterMove(grid, from, to);
    ASSERT_EQ(grid.Cells().MoveKeepsTree(from, to), whole) << step << ": " << from << "->" << to;
    if (!whole) {
      ++refused;
      continue;
    }
    ++kept;
    grid.MoveRowTo(from, to);
    // The store kept its run bookkeeping through the move: the queries still equal the scans.
    ExpectTreeQueriesMatchScans(grid, "move at step " + std::to_string(step));
    if (HasFatalFailure()) return;
  }
  EXPECT_GT(kept, 20);
  EXPECT_GT(refused, 20);
}
