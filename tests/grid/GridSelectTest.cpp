#include "grid/Grid.h"

#include "FoundFilesGrid.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

// Six rows named r0 .. r5; the popup actions act on the selected row, so the selection must
// name the row the user chose, whatever happens to the rows around it.
struct GridSelectTest : ::testing::Test {
  TVxGrid grid;
  void SetUp() override {
    SetUpFoundFilesGrid(grid);
    Build();
  }
  void Build() {
    grid.ClearAllRows();
    for (int r = 0; r < 6; ++r)
      grid.SetCellText(2, grid.AppendRows(1), L"r" + std::to_wstring(r));
  }
  std::wstring Selected() {
    const int row = grid.SelectedRow();
    return row < 0 ? L"none" : grid.CellText(2, row);
  }
  std::vector<int> Flagged() {
    std::vector<int> rows;
    for (int r = 0; r < grid.TotalRows(); ++r)
      if (grid.IsRowSelected(r)) rows.push_back(r);
    return rows;
  }
};

} // namespace

TEST_F(GridSelectTest, TheSelectionFollowsItsRowThroughInsertsAndDeletes) {
  const struct {
    const char* what;
    std::function<void()> change;
    const wchar_t* selected;
  } cases[] = {
      {"a row inserted below", [&] { grid.InsertRowAt(4); }, L"r3"},
      {"a row inserted above", [&] { grid.InsertRowAt(1); }, L"r3"},
      {"a row inserted at its place", [&] { grid.InsertRowAt(3); }, L"r3"},
      {"a child appended above", [&] { grid.AppendChildRow(0, true); }, L"r3"},
      {"a row deleted below", [&] { grid.DeleteRowAt(5); }, L"r3"},
      {"a row deleted above", [&] { grid.DeleteRowAt(0); }, L"r3"},
      {"its own row deleted", [&] { grid.DeleteRowAt(3); }, L"r4"},
  };
  for (const auto& c : cases) {
    Build();
    grid.SelectCell(2, 3, true, {});
    c.change();
    EXPECT_EQ(Selected(), c.selected) << c.what;
  }
}

// Fault mended: a selection handler that deletes rows left SelectedRow past the rows, and
// OnSelectCell was given that index.
TEST_F(GridSelectTest, HandlersThatDeleteRowsLeaveTheSelectionOnARow) {
  const struct {
    const char* what;
    bool before; // OnBeforeSelect deletes, else OnDeselectCell
    int first, count;
    const wchar_t* selected;
  } cases[] = {
      {"the target deleted before it is selected", true, 4, 2, L"r1"},
      {"rows above deleted on leaving the old cell", false, 0, 1, L"r5"},
      {"the target deleted on leaving the old cell", false, 3, 3, L"r2"},
  };
  for (const auto& c : cases) {
    Build();
    grid.SelectCell(2, 1, true, {});
    bool armed = true;
    auto remove = [&] {
      if (!std::exchange(armed, false)) return;
      for (int k = 0; k < c.count; ++k)
        grid.DeleteRowAt(c.first);
    };
    grid.OnBeforeSelect = [&](TObject*, int, int, bool&) {
      if (c.before) remove();
    };
    grid.OnDeselectCell = [&](TObject*, int, int) {
      if (!c.before) remove();
    };
    std::vector<std::wstring> told;
    grid.OnSelectCell = [&](TObject*, int, int row) {
      told.push_back(row < grid.TotalRows() ? grid.CellText(2, row) : L"past the end");
    };
    grid.SelectCell(2, 5, true, {});
    EXPECT_LT(grid.SelectedRow(), grid.TotalRows()) << c.what;
    EXPECT_EQ(Selected(), c.selected) << c.what;
    for (const std::wstring& name : told)
      EXPECT_EQ(name, c.selected) << c.what;
    // The row left behind loses its flag, wherever the handler moved it.
    EXPECT_EQ(Flagged(), std::vector<int>{grid.SelectedRow()}) << c.what;
    grid.OnBeforeSelect = nullptr;
    grid.OnDeselectCell = nullptr;
    grid.OnSelectCell = nullptr;
  }
}

// Fault mended: a Shift range after ClearAllRows reached back to the anchor of the rows that
// went.
TEST_F(GridSelectTest, ClearingTheRowsForgetsTheShiftAnchorAndTheMultiSelection) {
  grid.SetOptions(grid.Options() + TGridOptions{goMultiSelect});
  grid.SelectCell(2, 1, true, {});
  grid.SelectCell(2, 4, true, TShiftState{ssCtrl});
  ASSERT_EQ(Flagged(), (std::vector<int>{1, 4}));
  Build();
  grid.SelectCell(2, 2, true, TShiftState{ssShift});
  EXPECT_EQ(Flagged(), (std::vector<int>{2}));
  // A plain click then selects one row, as it does in a fresh list.
  grid.SelectCell(2, 5, true, {});
  EXPECT_EQ(Flagged(), (std::vector<int>{5}));
}
