#include "GridControl.h"
#include "PixelInk.h"
#include "grid/ThemePartCache.h"
#include "ui/Bitmap.h"

#include <gtest/gtest.h>

#include <vssym32.h>

namespace {

struct GridPaintTest : ::testing::Test {
  TControlGridWindow w;
  TBitmap picture{300, 220};

  // The grid's client area as it paints now.
  void Snap() {
    picture.Fill(RGB(1, 2, 3));
    w.grid->PaintTo(picture.Canvas().Handle(), 0, 0);
    ::GdiFlush();
  }
  TColor At(int x, int y) { return picture.Pixel(x, y); }
  // A pixel inside the (empty) Size cell of a row.
  TColor SizeCell(int row) {
    const RECT r = w.grid->GetCellRect(1, row);
    return At(r.left + 40, r.top + 8);
  }
};

} // namespace

TEST_F(GridPaintTest, SelectionLooksFollowTheFocus) {
  for (int r = 0; r < 3; ++r)
    w.grid->AppendRows(1);
  w.grid->SelectRow(1);
  Snap();
  EXPECT_EQ(SizeCell(1), ColorToRGB(clHighlight));
  EXPECT_EQ(SizeCell(0), ColorToRGB(clWindow));
  ::SetFocus(w.form.Handle());
  Snap();
  EXPECT_EQ(SizeCell(1), ColorToRGB(clWindow)); // aoHideSelection
  w.grid->SetAppearanceOptions({});
  Snap();
  EXPECT_EQ(SizeCell(1), ColorToRGB(clBtnFace));
}

TEST_F(GridPaintTest, FillerRowsCarryTheGridLinesBelowTheLastRow) {
  w.grid->AppendRows(2);
  Snap();
  const int lastBottom = w.grid->GetRowRect(1).bottom; // the last row's line is its last pixel
  const int fillerLine = lastBottom + 16;
  EXPECT_EQ(At(10, lastBottom + 5), ColorToRGB(clWindow));
  EXPECT_EQ(At(10, fillerLine), ColorToRGB(clBtnFace));
  EXPECT_EQ(At(149, lastBottom + 5), ColorToRGB(clBtnFace)); // vertical line of the filler
  EXPECT_EQ(At(10, 215), ColorToRGB(clWindow));
}

TEST_F(GridPaintTest, ScrolledColumnsNeverPaintOverFixedOnes) {
  for (int r = 0; r < 5; ++r)
    w.grid->AppendRows(1);
  w.grid->Columns().ColumnAt(0)->SetColor(RGB(255, 0, 0));
  w.grid->Columns().ColumnAt(1)->SetColor(RGB(0, 0, 255));
  w.grid->SetFixedCols(1);
  w.grid->SetWidth(200);
  for (int k = 0; k < 6; ++k)
    ::SendMessageW(w.window, WM_HSCROLL, SB_LINERIGHT, 0);
  ASSERT_GT(w.grid->HorzScrollBar().Position(), 0);
  Snap();
  auto blue = [](TColor c) { return c == RGB(0, 0, 255); };
  const RECT fixedPart{0, 0, 149, 200};
  const RECT box = InkBox(picture, fixedPart, blue);
  EXPECT_TRUE(::IsRectEmpty(&box));
  const RECT scrolled = InkBox(picture, RECT{150, 0, 196, 200}, blue);
  EXPECT_EQ(scrolled.left, 150);
}

TEST_F(GridPaintTest, AnEmptyGridShowsItsCaptionCentredAndAStrangeStyleKeepsTheLook) {
  w.grid->SetCaption(L"Nothing found");
  Snap();
  const RECT body = w.grid->GetBodyRect();
  const RECT text = InkBox(picture, RECT{0, body.top, 270, body.bottom},
                           [](TColor c) { return c == ColorToRGB(clWindowText); });
  ASSERT_FALSE(::IsRectEmpty(&text));
  EXPECT_NEAR((text.left + text.right) / 2, (body.left + body.right) / 2, 2);
  EXPECT_NEAR((text.top + text.bottom) / 2, (body.top + body.bottom) / 2, 2);

  const TColor header = At(60, 9);
  w.grid->SetHeaderStyle(7); // a name outside the five looks, as the found-files grid's
  w.grid->SetColor(RGB(250, 240, 200));
  Snap();
  EXPECT_EQ(At(60, 9), header);
  EXPECT_EQ(At(285, 9), RGB(250, 240, 200)); // the band beyond the columns: the grid colour
  EXPECT_EQ(At(285, 100), RGB(250, 240, 200));
}

// Saves grid_tree_sorted.bmp in the working folder: three groups of three folders of two
// files, sorted by size descending; each subtree stays under its parent.
TEST_F(GridPaintTest, TreeSortedByOneColumnKeepsEverySubtreeTogether) {
  TVxGrid& g = *w.grid;
  static_cast<TVxTreeColumn*>(g.Columns().ColumnAt(0))->SetShowLines(true);
  g.Columns().ColumnAt(0)->Header().SetCaption(L"File");
  g.Columns().ColumnAt(1)->Header().SetCaption(L"Size");
  g.Columns().ColumnAt(1)->SetSortType(stNumeric);
  g.Columns().ColumnAt(1)->SetAlignment(taRightJustify);
  g.Columns().ColumnAt(2)->Header().SetCaption(L"Sel");
  g.SetHeight(560);
  w.form.SetHeight(580);
  int size = 7;
  auto add = [&](int parent, const std::wstring& name) {
    int row;
    if (parent < 0) {
      row = g.AppendRows(1);
    } else {
      g.AppendChildRow(parent, true);
      row = g.LastAddedIndex();
    }
    size = (size * 37 + 11) % 97;
    g.SetCellText(0, row, name);
    g.SetCellText(1, row, std::to_wstring(size));
    g.CellAt(2, row)->SetBoolValue(size % 3 != 0);
    return row;
  };
  for (int a = 0; a < 3; ++a) {
    const int group = add(-1, L"Group " + std::to_wstring(a));
    for (int b = 0; b < 3; ++b) {
      const int folder = add(group, L"Folder " + std::to_wstring(a) + std::to_wstring(b));
      for (int c = 0; c < 2; ++c)
        add(folder, L"file" + std::to_wstring(a) + std::to_wstring(b) + std::to_wstring(c));
    }
  }
  ASSERT_EQ(g.TotalRows(), 30);
  TVxCustomColumn& sizeColumn = *g.Columns().ColumnAt(1);
  sizeColumn.SetSortKind(skDescending);
  sizeColumn.SetSorted(true);
  g.SelectRow(5);
  for (int r = 0; r < 30; ++r) {
    const int parent = g.ParentRowOf(r);
    if (parent >= 0) {
      EXPECT_EQ(g.LevelOf(parent) + 1, g.LevelOf(r)) << r;
    }
    if (r > 0) {
      EXPECT_LE(g.LevelOf(r), g.LevelOf(r - 1) + 1) << r;
    }
    // The next sibling is not larger.
    const int next = r + g.CountDescendants(r) + 1;
    if (next < 30 && g.LevelOf(next) == g.LevelOf(r)) {
      EXPECT_GE(std::stoi(g.CellText(1, r)), std::stoi(g.CellText(1, next))) << r;
    }
  }
  TBitmap tree(300, 560);
  tree.Fill(RGB(1, 2, 3));
  g.PaintTo(tree.Canvas().Handle(), 0, 0);
  tree.SaveToFile(L"grid_tree_sorted.bmp");
}

TEST(ThemePartCacheTest, CopiesMatchTheThemesOwnDrawing) {
  TControlGridWindow w;
  HTHEME theme = ::OpenThemeData(w.window, L"Button");
  if (!theme) GTEST_SKIP() << "no visual styles";
  TThemePartCache cache;
  const RECT box{0, 0, 13, 13};
  // Each look twice: drawn by the theme into the cache, then copied from it.
  for (int state : {CBS_CHECKEDNORMAL, CBS_UNCHECKEDNORMAL, CBS_CHECKEDNORMAL}) {
    for (TColor under : {clHighlight, clWindow}) {
      TBitmap direct(13, 13), copied(13, 13);
      direct.Fill(ColorToRGB(under));
      copied.Fill(RGB(9, 9, 9));
      ::DrawThemeBackground(theme, direct.Canvas().Handle(), BP_CHECKBOX, state, &box, nullptr);
      ASSERT_TRUE(cache.Draw(theme, copied.Canvas().Handle(), BP_CHECKBOX, state, box, under));
      ::GdiFlush();
      for (int y = 0; y < 13; ++y)
        for (int x = 0; x < 13; ++x)
          ASSERT_EQ(copied.Pixel(x, y), direct.Pixel(x, y)) << state << " " << x << "," << y;
    }
  }
  ::CloseThemeData(theme);
}
