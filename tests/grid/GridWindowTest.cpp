#include "grid/Grid.h"
#include "ui/Application.h"
#include "ui/Bitmap.h"
#include "ui/Screen.h"

#include "FoundFilesGrid.h"

#include <gtest/gtest.h>

#include <uxtheme.h>

#include <functional>
#include <string>
#include <utility>

namespace {

// The grid in a real window: 100 groups with collapsed children, 400 x 300 pixels.
struct GridWindowTest : ::testing::Test {
  struct WindowGrid : TVxGrid {
    using TVxGrid::TVxGrid;
    using TVxScrollControl::ApplicationActivateChanged;
  };
  TWinControl form{nullptr};
  WindowGrid* grid = form.Make<WindowGrid>();
  HWND window = nullptr;
  std::vector<int> scrolled;

  void SetUp() override {
    SetUpFoundFilesGrid(*grid);
    form.SetBounds(0, 0, 420, 320);
    grid->SetBounds(0, 0, 400, 300);
    grid->SetParent(&form);
    for (int g = 0; g < 100; ++g) {
      const int group = grid->AppendRows(1);
      grid->AppendChildRow(group, true);
      grid->ExpandRow(grid->LastAddedIndex() - 1, false);
    }
    grid->OnVerticalScroll = [this](TObject*, int position) { scrolled.push_back(position); };
    window = grid->Handle();
    form.Show();
    SetForegroundWindow(form.Handle());
    Application().ProcessMessages();
    UpdateWindow(window);
  }
  int ThumbPosition() { return GetScrollPos(window, SB_VERT); }
  // The box of what is waiting to be painted.
  RECT UpdateBox() {
    HRGN region = CreateRectRgn(0, 0, 0, 0);
    GetUpdateRgn(window, region, FALSE);
    RECT box{};
    GetRgnBox(region, &box);
    DeleteObject(region);
    return box;
  }
};

} // namespace

TEST_F(GridWindowTest, ScrollMessagesAndTheWheelMoveTopRowAndTheThumb) {
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_ALL;
  GetScrollInfo(window, SB_VERT, &info);
  EXPECT_EQ(info.nMax, 100);
  EXPECT_EQ(static_cast<int>(info.nPage), grid->RowsFit() + 1);
  SendMessageW(window, WM_VSCROLL, SB_LINEDOWN, 0);
  EXPECT_EQ(grid->TopRow(), 2);
  EXPECT_EQ(ThumbPosition(), 1);
  POINT center = grid->ClientToScreen(POINT{100, 100});
  SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(center.x, center.y));
  EXPECT_EQ(grid->TopRow(), 4);
  EXPECT_EQ(ThumbPosition(), 2);
  SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, -WHEEL_DELTA),
               MAKELPARAM(center.x, center.y));
  EXPECT_EQ(ThumbPosition(), 2 + grid->VertScrollBar().LargeChange());
  SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(center.x, center.y));
  EXPECT_EQ(ThumbPosition(), 1 + grid->VertScrollBar().LargeChange());
  SendMessageW(window, WM_VSCROLL, SB_BOTTOM, 0);
  EXPECT_EQ(ThumbPosition(), 100 - grid->RowsFit());
  EXPECT_EQ(grid->TopRow(), 2 * (100 - grid->RowsFit()));
  SendMessageW(window, WM_VSCROLL, SB_TOP, 0);
  EXPECT_EQ(grid->TopRow(), 0);
  EXPECT_EQ(scrolled.size(), 6u);
  EXPECT_EQ(scrolled.back(), 0);
}

TEST_F(GridWindowTest, ALineStepInvalidatesOnlyTheUncoveredStripAndAPageTheBody) {
  const RECT body = grid->GetBodyRect();
  const int width = grid->ClientWidth();
  ValidateRect(window, nullptr);
  SendMessageW(window, WM_VSCROLL, SB_LINEDOWN, 0);
  RECT box = UpdateBox();
  EXPECT_EQ(box.left, 0);
  EXPECT_EQ(box.right, width);
  EXPECT_EQ(box.top, body.bottom - 17);
  EXPECT_EQ(box.bottom, body.bottom);
  ValidateRect(window, nullptr);
  SendMessageW(window, WM_VSCROLL, SB_LINEUP, 0);
  box = UpdateBox();
  EXPECT_EQ(box.top, body.top);
  EXPECT_EQ(box.bottom, body.top + 17);
  // A page moves further than the body is high: the body is painted anew instead.
  ValidateRect(window, nullptr);
  SendMessageW(window, WM_VSCROLL, SB_PAGEDOWN, 0);
  box = UpdateBox();
  EXPECT_EQ(box.top, body.top);
  EXPECT_EQ(box.bottom, body.bottom);
}

TEST_F(GridWindowTest, TheHorizontalBarScrollsByPixelsInsideTheScrollingArea) {
  TVxScrollBar& bar = grid->HorzScrollBar();
  EXPECT_EQ(bar.Max(), 39 + 426 + 80 + 80 + 36);
  EXPECT_TRUE(bar.Visible());
  std::vector<int> moved;
  grid->OnHorizontalScroll = [&](TObject*, int position) { moved.push_back(position); };
  ValidateRect(window, nullptr);
  SendMessageW(window, WM_HSCROLL, SB_LINERIGHT, 0);
  EXPECT_EQ(bar.Position(), 5);
  EXPECT_EQ(GetScrollPos(window, SB_HORZ), 5);
  EXPECT_EQ(moved, std::vector<int>{5});
  const RECT box = UpdateBox();
  EXPECT_EQ(box.left, grid->ClientWidth() - 5);
  EXPECT_EQ(box.right, grid->ClientWidth());
  EXPECT_EQ(box.top, 0);
  EXPECT_EQ(box.bottom, grid->ClientHeight());
}

TEST_F(GridWindowTest, RollModeScrollsAndEndsWhenTheCaptureOrTheApplicationGoes) {
  EXPECT_NE(Screen().Cursors(crRoll), nullptr);
  EXPECT_EQ(Screen().Cursors(crRollUp), LoadCursorResource(L"ROLLUP"));
  EXPECT_NE(LoadCursorResource(L"ROLLDOWN"), nullptr);
  auto press = [&] {
    SendMessageW(window, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(100, 100));
    ASSERT_TRUE(grid->Rolling());
    EXPECT_TRUE(grid->RollTimer().Enabled());
    EXPECT_TRUE(IsWindowVisible(grid->RollMarker().Handle()));
    EXPECT_EQ(GetCapture(), window);
  };
  press();
  // Within the dead zone nothing scrolls.
  SendMessageW(window, WM_MOUSEMOVE, MK_MBUTTON, MAKELPARAM(100, 104));
  EXPECT_EQ(grid->RollDirection(), rdNone);
  SendMessageW(window, WM_MOUSEMOVE, MK_MBUTTON, MAKELPARAM(100, 140));
  EXPECT_EQ(grid->RollDirection(), rdDown);
  EXPECT_EQ(Screen().Cursor(), crRollDown);
  ReleaseCapture();
  EXPECT_FALSE(grid->Rolling());
  EXPECT_FALSE(grid->RollTimer().Enabled());
  EXPECT_FALSE(IsWindowVisible(grid->RollMarker().Handle()));
  EXPECT_EQ(Screen().Cursor(), crDefault);
  press();
  grid->ApplicationActivateChanged(false);
  EXPECT_FALSE(grid->Rolling());
  EXPECT_NE(GetCapture(), window);
  press();
  SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(100, 100));
  EXPECT_FALSE(grid->Rolling());
  grid->SetFocus();
  press();
  SetFocus(form.Handle());
  EXPECT_FALSE(grid->Rolling());
  // The marker: two arrow heads and a dot around the anchor.
  HRGN shape = TRollShadow::CreateShape();
  for (POINT inside : {POINT{7, 3}, POINT{7, 17}, POINT{7, 11}})
    EXPECT_TRUE(PtInRegion(shape, inside.x, inside.y)) << inside.x << "," << inside.y;
  for (POINT outside : {POINT{0, 0}, POINT{20, 20}, POINT{1, 11}})
    EXPECT_FALSE(PtInRegion(shape, outside.x, outside.y)) << outside.x << "," << outside.y;
  DeleteObject(shape);
}

TEST_F(GridWindowTest, CheckBoxesAreThemedUntilTheWindowTurnsThemingOff) {
  const int col = grid->Columns().IndexOfColumn(grid->Columns().ColumnByName(L"SelectCheck"));
  TBitmap picture(36, 16);
  auto paint = [&] {
    picture.Fill(clWhite);
    grid->PaintCellContent(col, 0, picture.Canvas(), RECT{0, 0, 36, 16});
    return grid->LoadDisplay(col, 0, picture.Canvas(), RECT{0, 0, 36, 16}).NeededWidth();
  };
  if (HTHEME theme = OpenThemeData(window, L"Button")) {
    CloseThemeData(theme);
    EXPECT_EQ(paint(), 13);
    picture.SaveToFile(L"grid_check_themed.bmp");
  }
  SetWindowTheme(window, L" ", L" ");
  EXPECT_EQ(paint(), 11);
  EXPECT_EQ(picture.Pixel(13, 3), ColorToRGB(clBtnShadow));
  EXPECT_EQ(picture.Pixel(15, 7), ColorToRGB(clWindowText));
}

// Fault mended: the grid's resize left auto-size columns at their old widths. With one such
// column, the visible columns fill the client width exactly after every resize.
TEST_F(GridWindowTest, AResizeSharesTheNewWidthAmongAutoSizeColumns) {
  TVxColumns& columns = grid->Columns();
  columns.ColumnByName(L"FileName")->SetWidth(100);
  TVxCustomColumn& type = *columns.ColumnByName(L"FileType");
  type.SetOptions(type.Options() + TColumnOptions{coAutoSize});
  for (const int width : {450, 520, 430}) {
    grid->SetBounds(0, 0, width, 300);
    Application().ProcessMessages();
    int sum = 0;
    for (int c = 0; c < columns.ColumnCount(); ++c)
      if (columns.ColumnAt(c)->Visible()) sum += columns.ColumnAt(c)->Width();
    EXPECT_EQ(sum, grid->ClientWidth()) << width;
  }
}

// Fault mended: the line style moves the input line and the footer, and the row size the
// rows: both repaint more than the body, the row size at all.
TEST_F(GridWindowTest, LineStyleAndRowSizeRepaintEveryBandTheyMove) {
  grid->SetOptions(grid->Options() + TGridOptions{goInput, goFooter});
  UpdateWindow(window);
  const std::pair<const char*, std::function<void()>> changes[] = {
      {"line style", [&] { grid->SetGridLinesStyle(lsFramed); }},
      {"row size", [&] { grid->SetRowSize(21); }},
  };
  for (const auto& [what, change] : changes) {
    ValidateRect(window, nullptr);
    change();
    const RECT box = UpdateBox();
    EXPECT_LE(box.top, grid->GetInputRect().top) << what;
    EXPECT_GE(box.bottom, grid->GetFooterRect().bottom) << what;
  }
}
