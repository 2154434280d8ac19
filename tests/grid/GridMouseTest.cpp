#include "GridControl.h"
#include "Pump.h"
#include "grid/ColumnDrag.h"
#include "ui/Bitmap.h"
#include "ui/Handles.h"
#include "ui/HintWindow.h"
#include "ui/Screen.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

using Log = std::vector<std::string>;

// Real mouse messages to a real grid window: the events arrive in the order the owner relies
// on (OnCellClick sees the check box before its toggle, the value change comes after it).
TEST(GridMouseTest, EventsOfPressAndReleaseComeInTheirOrder) {
  TControlGridWindow w;
  for (int r = 0; r < 6; ++r)
    w.grid->AppendRows(1);
  for (int r = 0; r < 6; ++r)
    w.grid->CellAt(2, r)->SetBoolValue(true);
  const POINT below{20, w.grid->GetRowRect(5).bottom + 10};
  struct Step {
    const char* what;
    std::function<void()> act;
    Log expected;
  };
  const Step steps[] = {
      {"click on a cell",
       [&] { w.Click(w.CellPoint(0, 2)); },
       {"MouseDown", "BeforeSelect 0,2", "Select 0,2", "MouseUp", "CellClick 0,2"}},
      {"click on the selected cell",
       [&] { w.Click(w.CellPoint(0, 2)); },
       {"MouseDown", "BeforeSelect 0,2", "Select 0,2", "MouseUp", "CellClick 0,2"}},
      {"click in a check box",
       [&] { w.Click(w.CellPoint(2, 3)); },
       {"MouseDown", "BeforeSelect 2,3", "Deselect 0,2", "Select 2,3", "MouseUp",
        "CellClick 2,3 was on", "ValueChanged 2,3=False"}},
      {"click below the last row", [&] { w.Click(below); }, {"MouseDown", "MouseUp"}},
      {"press on one cell, release on another",
       [&] {
         w.Press(w.CellPoint(0, 1));
         w.Release(w.CellPoint(0, 4));
       },
       {"MouseDown", "BeforeSelect 0,1", "Deselect 2,3", "Select 0,1", "MouseUp"}},
      {"right press selects, right release clicks nothing",
       [&] {
         w.Press(w.CellPoint(1, 5), WM_RBUTTONDOWN, MK_RBUTTON);
         w.Release(w.CellPoint(1, 5), WM_RBUTTONUP);
       },
       {"MouseDown", "BeforeSelect 1,5", "Deselect 0,1", "Select 1,5", "MouseUp"}},
      {"OnBeforeSelect refusing",
       [&] {
         w.Accept = false;
         w.Click(w.CellPoint(0, 0));
         w.Accept = true;
       },
       {"MouseDown", "BeforeSelect 0,0", "MouseUp", "CellClick 0,0"}},
  };
  w.TakeLog();
  for (const Step& step : steps) {
    step.act();
    EXPECT_EQ(w.TakeLog(), step.expected) << step.what;
  }
  EXPECT_EQ(w.grid->SelectedRow(), 5);
  EXPECT_FALSE(w.grid->CellAt(2, 3)->BoolValue());
  EXPECT_EQ(w.grid->SelectedCount(), 1);
}

TEST(GridMouseTest, HeaderClickSortsUnlessTheOwnerRefuses) {
  TControlGridWindow w;
  for (const wchar_t* text : {L"b", L"c", L"a"})
    w.grid->SetCellText(1, w.grid->AppendRows(1), text);
  std::vector<int> asked;
  bool accept = false;
  w.grid->OnBeforeSort = [&](TObject*, int col, bool& ok) {
    asked.push_back(col);
    ok = accept;
  };
  const POINT header{200, 9};
  w.Click(header);
  EXPECT_EQ(w.grid->CellText(1, 0), L"b");
  EXPECT_FALSE(w.grid->Columns().ColumnAt(1)->Sorted());
  accept = true;
  w.Click(header);
  EXPECT_EQ(w.grid->CellText(1, 0), L"a");
  w.Click(header);
  EXPECT_EQ(w.grid->CellText(1, 0), L"c");
  EXPECT_EQ(asked, (std::vector<int>{1, 1, 1}));
  // A press on one header and a release on another sorts nothing.
  w.Press(header);
  w.Release(POINT{60, 9});
  EXPECT_EQ(asked.size(), 3u);
}

TEST(GridMouseTest, GripDragResizesNoNarrowerThanMinWidth) {
  TControlGridWindow w;
  TVxCustomColumn& size = *w.grid->Columns().ColumnAt(1);
  size.SetMinWidth(30);
  std::vector<int> resized;
  w.grid->OnColumnResize = [&](TObject*, int col) { resized.push_back(col); };
  const int right = 230; // 150 + 80
  EXPECT_EQ(w.grid->ColumnGripAt(right - 3), 1);
  EXPECT_EQ(w.grid->ColumnGripAt(right + 2), 1);
  EXPECT_EQ(w.grid->ColumnGripAt(right - 4), -1);
  auto drag = [&](int from, int to) {
    ::SendMessageW(w.window, WM_MOUSEMOVE, 0, MAKELPARAM(from, 9));
    w.Press(POINT{from, 9});
    ::SendMessageW(w.window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to, 9));
    w.Release(POINT{to, 9});
  };
  // Mid-drag the inverted lines outlast a repaint of the whole window, and the release leaves
  // nothing of them on the screen.
  const int height = w.grid->ClientHeight();
  auto pixels = [&](HDC source, int x) {
    TBitmap strip(1, height);
    ::BitBlt(strip.Canvas().Handle(), 0, 0, 1, height, source, x, 0, SRCCOPY);
    ::GdiFlush();
    std::vector<COLORREF> column;
    for (int y = 0; y < height; ++y)
      column.push_back(strip.Pixel(0, y));
    return column;
  };
  auto shown = [&](int x) { return pixels(TWindowDC(w.window).Get(), x); };
  auto painted = [&](int x) {
    TBitmap picture(300, height);
    w.grid->PaintTo(picture.Canvas().Handle(), 0, 0);
    return pixels(picture.Canvas().Handle(), x);
  };
  const int line = right + 24;
  ::UpdateWindow(w.window);
  const std::vector<COLORREF> before = shown(line);
  ::SendMessageW(w.window, WM_MOUSEMOVE, 0, MAKELPARAM(right, 9));
  w.Press(POINT{right, 9});
  ::SendMessageW(w.window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(right + 25, 9));
  ::RedrawWindow(w.window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  const std::vector<COLORREF> during = shown(line);
  int inverted = 0;
  for (int y = 0; y < height; ++y)
    inverted += during[y] != before[y];
  EXPECT_EQ(inverted, height);
  w.Release(POINT{right + 25, 9});
  ::UpdateWindow(w.window);
  EXPECT_EQ(shown(line), painted(line));
  EXPECT_EQ(size.Width(), 105);
  drag(150 + 105, 100);
  EXPECT_EQ(size.Width(), 30);
  EXPECT_EQ(resized, (std::vector<int>{1, 1}));
  EXPECT_FALSE(size.Sorted()); // a resize is no header click
  // A double click on the grip fits the column to its widest shown text.
  w.grid->SetCellText(1, w.grid->AppendRows(1), L"a rather long text");
  const int grip = 150 + 30;
  ::SendMessageW(w.window, WM_MOUSEMOVE, 0, MAKELPARAM(grip, 9));
  w.Click(POINT{grip, 9});
  w.Press(POINT{grip, 9}, WM_LBUTTONDBLCLK);
  w.Release(POINT{grip, 9});
  TBitmap measure(1, 1);
  measure.Canvas().Font().Assign(size.Font());
  EXPECT_EQ(size.Width(), measure.Canvas().TextWidth(L"a rather long text") + 5);
}

TEST(GridMouseTest, HitTestLeavesTheLastPixelOfEachAreaOut) {
  TControlGridWindow w;
  w.grid->AppendRows(2);
  const struct {
    int x, y;
    TGridHitTest area;
    TGridCell cell;
  } points[] = {
      {10, 16, htHeader, {0, -1}}, {10, 17, htNone, {0, -1}},   {10, 18, htBody, {0, 0}},
      {268, 20, htBody, {2, 0}},   {269, 20, htNone, {2, 0}},   {160, 35, htBody, {1, 1}},
      {160, 53, htBody, {1, -1}},  {285, 20, htNone, {-1, -1}},
  };
  for (const auto& p : points) {
    EXPECT_EQ(w.grid->HitTest(p.x, p.y), p.area) << p.x << "," << p.y;
    EXPECT_EQ(w.grid->GetCellAtPos(p.x, p.y), p.cell) << p.x << "," << p.y;
  }
}

// A point maps to the rows shown: the children of a collapsed row take no place.
TEST(GridMouseTest, APointSkipsTheRowsUnderACollapsedParent) {
  TControlGridWindow w;
  w.grid->AppendRows(1);
  w.grid->AppendChildRow(0, true);
  w.grid->AppendChildRow(0, true);
  w.grid->AppendRows(1);
  w.grid->ExpandRow(0, false);
  // Rows are 16 pixels and a grid line under an 18-pixel header.
  EXPECT_EQ(w.grid->GetCellAtPos(160, 18 + 8), (TGridCell{1, 0}));
  EXPECT_EQ(w.grid->GetCellAtPos(160, 18 + 17 + 8), (TGridCell{1, 3}));
  EXPECT_EQ(w.grid->GetCellAtPos(160, 18 + 34 + 8), (TGridCell{1, -1}));
}

TEST(GridMouseTest, HeaderDragMovesTheColumnAndDeactivationResetsAPress) {
  TControlGridWindow w;
  std::vector<std::vector<int>> moves;
  w.grid->OnColumnMove = [&](TObject*, int col, int from, int to) {
    moves.push_back({col, from, to});
  };
  w.Press(POINT{40, 9});
  ::SendMessageW(w.window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 9));
  EXPECT_EQ(w.grid->DraggedColumn(), 0);
  EXPECT_TRUE(w.grid->ColumnDrag().Box().Visible());
  // Outside the header band the drop is refused and says so with the cursor.
  ::SendMessageW(w.window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(60, 100));
  EXPECT_EQ(Screen().Cursor(), crColumnNoDrag);
  EXPECT_FALSE(w.grid->ColumnDrag().DownArrow().Visible());
  ::SendMessageW(w.window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(250, 9));
  EXPECT_TRUE(w.grid->ColumnDrag().DownArrow().Visible());
  w.Release(POINT{250, 9});
  EXPECT_EQ(moves, (std::vector<std::vector<int>>{{0, 0, 2}}));
  EXPECT_EQ(w.grid->Columns().ColumnAtPosition(2)->Name(), L"Name");
  EXPECT_FALSE(w.grid->ColumnDrag().Box().Visible());
  EXPECT_EQ(Screen().Cursor(), crDefault);

  // A header with a hint shows it while the pointer is over it.
  w.grid->Columns().ColumnAt(1)->Header().SetHint(L"Bytes on disk");
  ::SendMessageW(w.window, WM_MOUSEMOVE, 0, MAKELPARAM(40, 9));
  EXPECT_TRUE(w.grid->HeaderHint().Active());
  ::SendMessageW(w.window, WM_MOUSEMOVE, 0, MAKELPARAM(40, 60));
  EXPECT_FALSE(w.grid->HeaderHint().Active());
  w.Press(POINT{40, 9});
  EXPECT_EQ(w.grid->PressedHeader(), 1);
  ::SendMessageW(w.window, WM_ACTIVATEAPP, FALSE, 0);
  EXPECT_EQ(w.grid->PressedHeader(), -1);
}

TEST(GridMouseTest, CtrlAndShiftBuildAMultiSelectionThatAPlainClickEnds) {
  TControlGridWindow w;
  w.grid->SetOptions(w.grid->Options() + TGridOptions{goMultiSelect});
  for (int r = 0; r < 6; ++r)
    w.grid->AppendRows(1);
  auto selected = [&] {
    std::vector<int> rows;
    for (int r = 0; r < 6; ++r)
      if (w.grid->IsRowSelected(r)) rows.push_back(r);
    return rows;
  };
  auto click = [&](int row, WPARAM keys) {
    w.Press(w.CellPoint(0, row), WM_LBUTTONDOWN, MK_LBUTTON | keys);
    w.Release(w.CellPoint(0, row));
  };
  click(1, 0);
  click(3, MK_CONTROL);
  EXPECT_EQ(selected(), (std::vector<int>{1, 3}));
  click(5, MK_SHIFT);
  EXPECT_EQ(selected(), (std::vector<int>{3, 4, 5}));
  click(0, 0);
  EXPECT_EQ(selected(), (std::vector<int>{0}));
  click(2, MK_CONTROL);
  // A right press selects the row under the pointer and keeps the others for the menu.
  w.Press(w.CellPoint(0, 4), WM_RBUTTONDOWN, MK_RBUTTON);
  w.Release(w.CellPoint(0, 4), WM_RBUTTONUP);
  EXPECT_EQ(selected(), (std::vector<int>{0, 2, 4}));
  EXPECT_EQ(w.grid->SelectedCount(), 3);
  // A click below the last row ends the multi-selection.
  w.Click(POINT{20, w.grid->GetRowRect(5).bottom + 10});
  EXPECT_TRUE(selected().empty());
}

// A text too long for its cell shows whole just below the cell once the pointer rests on it;
// a text that fits shows nothing, and a press takes the hint away.
TEST(GridMouseTest, ARestingPointerShowsTheWholeTextOfACellTooNarrowForIt) {
  TControlGridWindow w;
  TVxCustomColumn* name = w.grid->Columns().ColumnAt(0);
  name->SetOptions(name->Options() + TColumnOptions{coShowTextFitHint});
  const std::wstring path = L"C:\\Users\\someone\\AppData\\Local\\Temp\\" + std::wstring(40, L'x');
  w.grid->SetCellText(0, w.grid->AppendRows(1), L"short");
  w.grid->SetCellText(0, w.grid->AppendRows(1), path);
  auto restOn = [&](POINT p) { ::SendMessageW(w.window, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y)); };
  THintWindow& hint = w.grid->CellHint();
  restOn(w.CellPoint(0, 0));
  // Past the pause, however late the timers run: a hint due would have shown by then.
  ASSERT_TRUE(PumpPastTimer(TVxCustomGrid::kCellHintPause + 100));
  EXPECT_FALSE(hint.Active());
  restOn(w.CellPoint(0, 1));
  ASSERT_TRUE(PumpUntil([&] { return hint.Active(); }));
  EXPECT_EQ(hint.Caption(), path);
  POINT below{0, w.grid->GetCellRect(0, 1).bottom + 2};
  ::ClientToScreen(w.window, &below);
  EXPECT_EQ(hint.Top(), below.y);
  w.Click(w.CellPoint(0, 1));
  EXPECT_FALSE(hint.Active());
}

// Fault mended: rows that come, go or change places between the press on a check box and its
// release (a scan adding rows, the click handler) must not move the tick to another row. The
// pressed row is followed: it is ticked only while it is still under the pointer.
TEST(GridMouseTest, ACheckBoxReleaseTicksOnlyThePressedRow) {
  TControlGridWindow w;
  auto build = [&] {
    w.grid->ClearAllRows();
    for (int r = 0; r < 6; ++r) {
      const int row = w.grid->AppendRows(1);
      w.grid->SetCellText(0, row, L"r" + std::to_wstring(r));
      w.grid->CellAt(2, row)->SetBoolValue(true);
    }
  };
  auto unticked = [&] {
    std::wstring names;
    for (int r = 0; r < w.grid->TotalRows(); ++r)
      if (!w.grid->CellAt(2, r)->BoolValue()) names += w.grid->CellText(0, r);
    return names;
  };
  const struct {
    const char* what;
    std::function<void()> between; // runs between the press and the release
    bool inClick;                  // runs from OnCellClick instead
    const wchar_t* unticked;
  } cases[] = {
      {"nothing changes", [] {}, false, L"r3"},
      {"a row inserted below", [&] { w.grid->InsertRowAt(5); }, false, L"r3"},
      {"a row inserted above", [&] { w.grid->InsertRowAt(0); }, false, L""},
      {"a row deleted above", [&] { w.grid->DeleteRowAt(0); }, false, L""},
      {"the pressed row deleted", [&] { w.grid->DeleteRowAt(3); }, false, L""},
      {"sorted the other way", [&] { w.grid->SortByColumn(0, false); }, false, L""},
      {"exchanged with another", [&] { w.grid->ExchangeRows(3, 1); }, false, L""},
      {"moved to the top", [&] { w.grid->MoveRowTo(3, 0); }, false, L""},
      {"all rows cleared and added again", build, false, L""},
      {"a row inserted above by the click", [&] { w.grid->InsertRowAt(0); }, true, L""},
  };
  for (const auto& c : cases) {
    build();
    w.grid->OnCellClick = [&](TObject*, int, int) {
      if (c.inClick) c.between();
    };
    const POINT box = w.CellPoint(2, 3);
    w.Press(box);
    if (!c.inClick) c.between();
    w.Release(box);
    EXPECT_EQ(unticked(), c.unticked) << c.what;
  }
}

// Fault mended: the click area is the box as drawn, whatever the column's padding and
// alignment. The box is found in the painted cell, by the pixels the cell's fill does not have.
TEST(GridMouseTest, TheCheckBoxClickAreaIsTheDrawnBox) {
  TControlGridWindow w;
  TVxCustomColumn& check = *w.grid->Columns().ColumnAt(2);
  for (int r = 0; r < 2; ++r)
    w.grid->AppendRows(1);
  for (const auto& [padding, alignment] :
       {std::pair{0, taCenter}, std::pair{7, taLeftJustify}, std::pair{6, taRightJustify}}) {
    // Row 0 unselected: its fill is plain, without the focus rectangle.
    w.grid->SelectCell(0, 1, true, {});
    check.SetPadding(padding);
    check.SetAlignment(alignment);
    ::UpdateWindow(w.window);
    const RECT cell = w.grid->GetCellRect(2, 0);
    TBitmap picture(300, 220);
    w.grid->PaintTo(picture.Canvas().Handle(), 0, 0);
    ::GdiFlush();
    const COLORREF fill = picture.Pixel(cell.left + 1, cell.top + 1);
    RECT box{cell.right, cell.bottom, cell.left, cell.top};
    for (int y = cell.top + 1; y < cell.bottom - 1; ++y)
      for (int x = cell.left + 1; x < cell.right - 1; ++x)
        if (picture.Pixel(x, y) != fill) {
          box.left = std::min<LONG>(box.left, x);
          box.top = std::min<LONG>(box.top, y);
          box.right = std::max<LONG>(box.right, x + 1);
          box.bottom = std::max<LONG>(box.bottom, y + 1);
        }
    ASSERT_LT(box.left, box.right) << padding;
    const struct {
      POINT at;
      bool ticks;
    } clicks[] = {
        {{box.left, box.top}, true},          {{box.right - 1, box.bottom - 1}, true},
        {{box.left - 1, box.top + 3}, false}, {{box.right, box.top + 3}, false},
        {{box.left + 3, box.top - 1}, false}, {{box.left + 3, box.bottom}, false},
    };
    for (const auto& c : clicks) {
      const bool before = w.grid->CellAt(2, 0)->BoolValue();
      w.Click(c.at);
      EXPECT_EQ(w.grid->CellAt(2, 0)->BoolValue() != before, c.ticks)
          << padding << ": " << c.at.x << "," << c.at.y;
    }
  }
}
