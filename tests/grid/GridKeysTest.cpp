#include "GridControl.h"

#include <gtest/gtest.h>

namespace {

// Groups of a parent with three children; the even groups are collapsed. Rows: group g at
// 4 g, its children at 4 g + 1 .. 4 g + 3; the tree column's text is "g<g>" or "c<g><k>".
struct GridKeysTest : ::testing::Test {
  TControlGridWindow w;
  std::vector<std::string> selected;

  void Build(int groups) {
    for (int g = 0; g < groups; ++g) {
      const int parent = w.grid->AppendRows(1);
      w.grid->SetCellText(0, parent, L"g" + std::to_wstring(g));
      for (int k = 0; k < 3; ++k) {
        w.grid->AppendChildRow(parent, true);
        w.grid->SetCellText(0, w.grid->LastAddedIndex(),
                            L"c" + std::to_wstring(g) + std::to_wstring(k));
      }
      if (g % 2 == 0) w.grid->ExpandRow(parent, false);
    }
  }
  int Row() const { return w.grid->SelectedRow(); }
};

} // namespace

TEST_F(GridKeysTest, ArrowsHomeEndAndPageKeysVisitShownRowsOnly) {
  Build(20); // 80 rows, 50 shown; a page holds 11 rows
  const int page = w.grid->RowsPerPage();
  ASSERT_EQ(page, 11);
  w.grid->SelectRow(0);
  std::vector<int> shown;
  for (int r = 0; r < w.grid->TotalRows(); ++r)
    if (w.grid->IsRowDisplayed(r)) shown.push_back(r);
  ASSERT_EQ(shown.size(), 50u);
  auto at = [&](int k) { return shown[static_cast<size_t>(k)]; };
  w.Key(VK_DOWN);
  EXPECT_EQ(Row(), at(1));
  w.Key(VK_UP);
  w.Key(VK_UP);
  EXPECT_EQ(Row(), at(0));
  w.Key(VK_NEXT); // to the page's last row
  EXPECT_EQ(Row(), at(page - 1));
  EXPECT_EQ(w.grid->TopRow(), 0);
  w.Key(VK_NEXT); // a page further, scrolled by a page
  EXPECT_EQ(Row(), at(2 * page - 1));
  EXPECT_GT(w.grid->TopRow(), 0);
  w.Key(VK_END);
  EXPECT_EQ(Row(), at(49));
  EXPECT_LE(w.grid->GetRowRect(Row()).bottom, w.grid->GetBodyRect().bottom);
  EXPECT_EQ(w.grid->VertScrollBar().Position(), 50 - page);
  EXPECT_EQ(w.grid->TopRow(), at(50 - page));
  w.Key(VK_NEXT); // nothing further to go: stays on the last shown row
  EXPECT_EQ(Row(), at(49));
  w.Key(VK_PRIOR); // to the top row of the page
  EXPECT_EQ(Row(), w.grid->TopRow());
  w.Key(VK_HOME);
  EXPECT_EQ(Row(), 0);
  EXPECT_EQ(w.grid->TopRow(), 0);
  EXPECT_EQ(w.grid->VertScrollBar().Position(), 0);
  // Down from the selection far below the view scrolls it into view.
  w.Key(VK_END);
  w.Key(VK_HOME);
  for (int k = 0; k < 20; ++k)
    w.Key(VK_DOWN);
  EXPECT_EQ(Row(), at(20));
  EXPECT_LE(w.grid->GetRowRect(Row()).bottom, w.grid->GetBodyRect().bottom);
  EXPECT_EQ(w.grid->VertScrollBar().Position(), 20 - page + 1);
}

TEST_F(GridKeysTest, PageDownWithFewerRowsThanAPageStopsOnTheLastShownRow) {
  Build(2); // rows 0 (collapsed, children 1-3 hidden) and 4 with children 5-7 shown
  w.grid->SelectRow(0);
  w.Key(VK_NEXT);
  EXPECT_EQ(Row(), 7);
  w.Key(VK_NEXT);
  EXPECT_EQ(Row(), 7);
  w.grid->ExpandRow(4, false); // the selected row goes hidden with its parent's collapse
  w.grid->SelectRow(4);
  w.Key(VK_NEXT);
  EXPECT_EQ(Row(), 4);
  // Rows out of range or hidden are refused without any event.
  w.TakeLog();
  for (int row : {-1, 2, 6, 8, 1000})
    w.grid->SelectCell(0, row, true, {});
  EXPECT_EQ(Row(), 4);
  EXPECT_TRUE(w.TakeLog().empty());
}

TEST_F(GridKeysTest, SpacePlusMinusAndTypeAhead) {
  Build(3);
  w.grid->Columns().ColumnAt(0)->SetOptions(w.grid->Columns().ColumnAt(0)->Options() +
                                            TColumnOptions{coSearchColumn});
  // Space on a check box raises the same value-changed event as a click.
  w.grid->SelectCell(2, 4, true, {});
  w.TakeLog();
  w.Char(L' ');
  EXPECT_EQ(w.TakeLog(), (std::vector<std::string>{"ValueChanged 2,4=True"}));
  // '+' and '-' on the tree column open and close the selected row's node.
  w.grid->SelectCell(0, 0, true, {});
  w.Char(L'+');
  EXPECT_TRUE(w.grid->IsRowExpanded(0));
  w.Char(L'-');
  EXPECT_FALSE(w.grid->IsRowExpanded(0));
  // Type-ahead: rows after the selection first, whole prefix, case ignored; it forgets after
  // 500 ms.
  w.Char(L'-');
  w.grid->SearchTimer().OnTimer(nullptr); // any earlier keys are forgotten
  w.Char(L'C');
  EXPECT_EQ(Row(), 5); // c10, the first shown row starting with "c" after row 0
  w.Char(L'1');
  w.Char(L'2');
  EXPECT_EQ(Row(), 7);
  EXPECT_EQ(w.grid->SearchText(), L"C12");
  w.grid->SearchTimer().OnTimer(nullptr);
  EXPECT_EQ(w.grid->SearchText(), L"");
  w.Char(L'g');
  EXPECT_EQ(Row(), 8);
}

TEST_F(GridKeysTest, AnEmptyGridRaisesNothing) {
  w.TakeLog();
  for (WORD key : {VK_UP, VK_DOWN, VK_NEXT, VK_PRIOR, VK_HOME, VK_END})
    w.Key(key);
  w.Char(L' ');
  w.Click(w.CellPoint(0, 0));
  EXPECT_EQ(w.TakeLog(), (std::vector<std::string>{"MouseDown", "MouseUp"}));
  EXPECT_EQ(Row(), -1);
}

TEST_F(GridKeysTest, TabAndEnterMoveOnlyWhenTheGridWantsThem) {
  Build(2); // shown rows 0, 4, 5, 6, 7
  w.grid->SelectCell(1, 0, true, {});
  w.Key(VK_TAB);
  w.Key(VK_RETURN);
  EXPECT_EQ(w.grid->SelectedColumn(), 1);
  EXPECT_EQ(Row(), 0);
  w.grid->SetWantTabs(true);
  w.grid->SetWantReturns(true);
  w.Key(VK_TAB);
  EXPECT_EQ(w.grid->SelectedColumn(), 2);
  w.Key(VK_TAB); // from the last column to the first of the next shown row
  EXPECT_EQ(w.grid->SelectedColumn(), 0);
  EXPECT_EQ(Row(), 4);
  w.Key(VK_RETURN);
  EXPECT_EQ(Row(), 5);
  EXPECT_EQ(w.grid->SelectedColumn(), 0);
  w.grid->SetSelectionMoveDirection(mdRight);
  w.Key(VK_RETURN);
  EXPECT_EQ(w.grid->SelectedColumn(), 1);
}

// Fault mended: with every column hidden there is no column for Tab to wrap to.
TEST_F(GridKeysTest, TabWithEveryColumnHiddenLeavesTheSelectionAlone) {
  Build(2); // shown rows 0, 4, 5, 6, 7
  w.grid->SetWantTabs(true);
  for (const int row : {0, 7}) { // a next shown row, and none
    w.grid->SelectCell(2, row, true, {});
    for (int c = 0; c < w.grid->Columns().ColumnCount(); ++c)
      w.grid->Columns().ColumnAt(c)->SetVisible(false);
    w.Key(VK_TAB);
    EXPECT_EQ(w.grid->SelectedColumn(), 2) << row;
    for (int c = 0; c < w.grid->Columns().ColumnCount(); ++c)
      w.grid->Columns().ColumnAt(c)->SetVisible(true);
  }
}
