#include "GridControl.h"
#include "PixelInk.h"
#include "ui/Bitmap.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// The small tree grid of GridControl.h in slides of 60 pixels: the name at (8, 20), the size
// at (120, 20), the check box at (220, 20), each 16 high, under 18 pixels of header.
struct GridSlidesTest : ::testing::Test {
  TControlGridWindow w;
  TVxGrid& g = *w.grid;
  TBitmap picture{300, 220};

  void SetUp() override {
    const int lefts[] = {8, 120, 220};
    const int widths[] = {100, 80, 16};
    for (int c = 0; c < 3; ++c) {
      TVxSlideBounds& bounds = g.Columns().ColumnAt(c)->SlideBounds();
      bounds.SetLeft(lefts[c]);
      bounds.SetTop(20);
      bounds.SetWidth(widths[c]);
    }
    for (int r = 0; r < 10; ++r)
      g.AppendRows(1);
    g.SetSlideSize(60);
    g.SetGridStyle(gsSlides);
    Application().ProcessMessages();
  }
  void Snap() {
    picture.Fill(RGB(1, 2, 3));
    g.PaintTo(picture.Canvas().Handle(), 0, 0);
    ::GdiFlush();
  }
  TColor At(int x, int y) { return picture.Pixel(x, y); }
};

} // namespace

TEST_F(GridSlidesTest, SlidesStackUnderTheHeaderAndPlaceTheirCellsByTheSlideBounds) {
  const int width = g.ClientWidth();
  EXPECT_FALSE(g.HorzScrollBar().Visible());
  for (int r = 0; r < 3; ++r) {
    const RECT row = g.GetRowRect(r);
    EXPECT_EQ(row.top, 18 + 61 * r) << r;
    EXPECT_EQ(row.bottom, row.top + 61) << r; // the slide and the line below it
    EXPECT_EQ(row.right, width) << r;
  }
  const RECT size = g.GetCellRect(1, 2);
  EXPECT_EQ(size.left, 120);
  EXPECT_EQ(size.top, 18 + 122 + 20);
  EXPECT_EQ(size.right, 200);
  EXPECT_EQ(size.bottom, 18 + 122 + 36);

  EXPECT_EQ(g.GetCellAtPos(150, 18 + 61 + 25), (TGridCell{1, 1}));
  EXPECT_EQ(g.GetCellAtPos(150, 18 + 61 + 50), (TGridCell{-1, 1})); // in the slide, on no cell
  EXPECT_EQ(g.GetCellAtPos(150, 5), (TGridCell{-1, -1}));
  EXPECT_EQ(g.HitTest(150, 5), htHeader);
  EXPECT_EQ(g.HitTest(5, 100), htBody); // no indicator or footer in slides

  // Bounds reaching out of the slide are cut to it; nothing of them outside is a cell.
  TVxSlideBounds& check = g.Columns().ColumnAt(2)->SlideBounds();
  check.SetTop(50);
  check.SetWidth(2000000000);
  check.SetHeight(30);
  const RECT cut = g.GetCellRect(2, 0);
  EXPECT_EQ(cut.right, width);
  EXPECT_EQ(cut.bottom, 18 + 60);
  check.SetHeight(-5);
  const RECT none = g.GetCellRect(2, 0);
  EXPECT_TRUE(::IsRectEmpty(&none));
  EXPECT_EQ(g.GetCellAtPos(230, 18 + 50).Col, -1);

  g.SetSlideSize(0);
  g.SetSlideSize(-3);
  EXPECT_EQ(g.SlideSize(), 60);

  // The vertical bar and the Page keys count whole slides.
  const int fit = (g.GetBodyRect().bottom - 18) / 61;
  EXPECT_EQ(g.RowsPerPage(), fit);
  EXPECT_EQ(g.VertScrollBar().Max(), 10);
  EXPECT_EQ(g.VertScrollBar().PageSize(), fit + 1);
  g.SelectRow(0);
  w.Key(VK_NEXT);
  EXPECT_EQ(g.SelectedRow(), fit - 1);
  w.Key(VK_NEXT);
  EXPECT_EQ(g.SelectedRow(), 2 * fit - 1);
  EXPECT_EQ(g.TopRow(), fit);
}

TEST_F(GridSlidesTest, TheSelectedSlideTakesItsColourAndFrameAndLinesSeparateSlides) {
  const TColor slideBlue = RGB(200, 220, 255);
  g.SetSlideSelectionColor(slideBlue);
  g.SelectRow(1);
  const RECT slide = g.GetRowRect(1);
  const int empty = slide.top + 50; // below the cells
  Snap();
  EXPECT_EQ(At(150, empty), slideBlue);
  EXPECT_EQ(At(slide.left, empty), ColorToRGB(clHighlight)); // the outer frame
  EXPECT_EQ(At(slide.left + 1, empty), slideBlue);
  EXPECT_EQ(At(slide.left + 2, empty), ColorToRGB(clHighlight)); // the inner frame
  EXPECT_EQ(At(150, slide.top + 28), ColorToRGB(clHighlight));   // aoHighlightSlideCells
  EXPECT_EQ(At(150, g.GetRowRect(0).top + 50), ColorToRGB(clWindow));
  EXPECT_EQ(At(150, slide.top - 1), ColorToRGB(clBtnFace)); // the line between slides 0 and 1

  ::SetFocus(w.form.Handle());
  Snap();
  EXPECT_EQ(At(150, empty), ColorToRGB(clWindow)); // soHideSelection: nothing shows
  EXPECT_EQ(At(slide.left, empty), ColorToRGB(clWindow));
  g.SetSlidesOptions({soFrame});
  g.SetAppearanceOptions({aoHighlightSlideCells});
  Snap();
  EXPECT_EQ(At(150, empty), ColorToRGB(clBtnFace));
  EXPECT_EQ(At(slide.left, empty), ColorToRGB(clBtnShadow));
  EXPECT_EQ(At(150, slide.top + 28), ColorToRGB(clBtnFace)); // InactiveSelectionColor

  std::vector<int> colored;
  g.OnSlideColoring = [&](TObject*, int index, TColor& color, TColor& lines, TCellState state) {
    colored.push_back(index);
    if (index == 2) {
      color = RGB(255, 0, 0);
      lines = RGB(0, 128, 0);
      EXPECT_FALSE(state.Contains(csSelected));
    }
  };
  Snap();
  EXPECT_EQ(colored.front(), 0);
  EXPECT_LE(colored.size(), 4u); // the slides on screen only
  const RECT third = g.GetRowRect(2);
  EXPECT_EQ(At(150, third.top + 50), RGB(255, 0, 0));
  EXPECT_EQ(At(150, third.bottom - 1), RGB(0, 128, 0));
}

TEST_F(GridSlidesTest, APressOnThePartlyShownLastSlideScrollsItIntoView) {
  const RECT body = g.GetBodyRect();
  int partly = 0;
  while (g.GetRowRect(partly).bottom <= body.bottom)
    ++partly;
  ASSERT_LT(g.GetRowRect(partly).top, body.bottom - 4);
  w.Click(POINT{150, static_cast<int>(body.bottom) - 3});
  EXPECT_EQ(g.SelectedRow(), partly);
  EXPECT_EQ(g.TopRow(), 1);
  EXPECT_LE(g.GetRowRect(partly).bottom, body.bottom);
  EXPECT_EQ(g.VertScrollBar().Position(), 1);
}

TEST_F(GridSlidesTest, SwitchingBackToTheReportRestoresItsLayout) {
  g.AppendRows(20);
  g.SetGridStyle(gsReport);
  g.SetWidth(200); // columns wider than the client: the report scrolls sideways
  Application().ProcessMessages();
  ::SendMessageW(w.window, WM_HSCROLL, SB_LINERIGHT, 0);
  ::SendMessageW(w.window, WM_VSCROLL, SB_LINEDOWN, 0);
  ::SendMessageW(w.window, WM_VSCROLL, SB_LINEDOWN, 0);
  ASSERT_EQ(g.TopRow(), 2);
  ASSERT_GT(g.HorzScrollBar().Position(), 0);
  auto layout = [&] {
    std::vector<long> facts{g.TopRow(),
                            g.HorzScrollBar().Position(),
                            g.HorzScrollBar().Visible(),
                            g.VertScrollBar().Position(),
                            g.VertScrollBar().Max(),
                            g.VertScrollBar().PageSize(),
                            g.RowsPerPage()};
    for (int r = 2; r < 6; ++r) {
      const RECT row = g.GetRowRect(r);
      const RECT cell = g.GetCellRect(1, r);
      facts.insert(facts.end(), {row.top, row.bottom, row.right, cell.left, cell.top, cell.right});
    }
    for (POINT p : {POINT{5, 5}, POINT{100, 30}, POINT{160, 70}, POINT{190, 120}}) {
      const TGridCell cell = g.GetCellAtPos(p.x, p.y);
      facts.insert(facts.end(), {cell.Col, cell.Row, g.HitTest(p.x, p.y)});
    }
    return facts;
  };
  const std::vector<long> report = layout();
  g.SetGridStyle(gsSlides);
  Application().ProcessMessages();
  EXPECT_FALSE(g.HorzScrollBar().Visible());
  EXPECT_NE(layout(), report);
  g.SetGridStyle(gsReport);
  Application().ProcessMessages();
  EXPECT_EQ(layout(), report);
}

// Saves grid_slides.bmp in the working folder: six slides of a file list, each with its name
// and size under their captions, the third slide selected.
TEST_F(GridSlidesTest, SixSlidesWithCaptionsAsTheUserSeesThem) {
  const wchar_t* names[] = {L"report.doc", L"holiday.jpg", L"budget.xls",
                            L"notes.txt",  L"setup.exe",   L"song.mp3"};
  g.ClearAllRows();
  for (int r = 0; r < 6; ++r) {
    g.AppendRows(1);
    g.SetCellText(0, r, names[r]);
    g.SetCellText(1, r, std::to_wstring((r * 7919) % 900 + 12) + L" KB");
  }
  TVxCustomColumn& name = *g.Columns().ColumnAt(0);
  TVxCustomColumn& size = *g.Columns().ColumnAt(1);
  g.Columns().ColumnAt(2)->SetVisible(false);
  name.SetSlideCaption(L"File name");
  name.SlideBounds().SetTop(22);
  name.SlideBounds().SetWidth(150);
  size.SetSlideCaption(L"Size:");
  size.SetSlideCaptionLocation(clLeft);
  size.SlideBounds().SetLeft(200);
  size.SlideBounds().SetTop(22);
  size.SlideBounds().SetWidth(70);
  g.SetSlideSize(48);
  g.SetSlideSelectionColor(RGB(225, 235, 250));
  g.SetHeight(18 + 6 * 49 + 4);
  w.form.SetHeight(g.Height() + 20);
  Application().ProcessMessages();
  g.SelectRow(2);
  ASSERT_FALSE(g.VertScrollBar().Visible());
  TBitmap shot(300, g.Height());
  shot.Fill(RGB(1, 2, 3));
  g.PaintTo(shot.Canvas().Handle(), 0, 0);
  shot.SaveToFile(L"grid_slides.bmp");
  ::GdiFlush();
  // Every slide shows its caption above the name and its size caption left of the size.
  for (int r = 0; r < 6; ++r) {
    const RECT nameCell = g.GetCellRect(0, r);
    const RECT sizeCell = g.GetCellRect(1, r);
    auto text = [](TColor c) { return c == ColorToRGB(clWindowText); };
    const RECT above = InkBox(
        shot, RECT{nameCell.left, nameCell.top - 16, nameCell.right, nameCell.top - 1}, text);
    const RECT left = InkBox(shot, RECT{120, sizeCell.top, sizeCell.left, sizeCell.bottom}, text);
    EXPECT_FALSE(::IsRectEmpty(&above)) << r;
    EXPECT_FALSE(::IsRectEmpty(&left)) << r;
    EXPECT_LE(left.right, sizeCell.left - 4) << r;
  }
}
