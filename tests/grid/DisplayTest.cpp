#include "grid/Grid.h"
#include "ui/Bitmap.h"
#include "ui/ImgList.h"

#include "FoundFilesGrid.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct DisplayTest : ::testing::Test {
  TVxGrid grid;
  TBitmap picture{120, 16};
  const TColor grey = ColorToRGB(clGrayText);
  void SetUp() override { SetUpFoundFilesGrid(grid); }
  int Column(const wchar_t* name) {
    return grid.Columns().IndexOfColumn(grid.Columns().ColumnByName(name));
  }
  // Paints one cell of the row into a white picture, as the grid would.
  void Paint(const wchar_t* column, int row, const RECT& cell = RECT{0, 0, 120, 16}) {
    picture.Fill(clWhite);
    grid.PaintCellContent(Column(column), row, picture.Canvas(), cell);
  }
  bool Blank(int fromX, int toX) {
    for (int x = fromX; x < toX; ++x)
      for (int y = 0; y < picture.Height(); ++y)
        if (picture.Pixel(x, y) != clWhite) return false;
    return true;
  }
};

} // namespace

TEST_F(DisplayTest, TreeRowsDrawLinesButtonAndTextByTheirLevel) {
  const int g = grid.AppendRows(1);
  grid.AppendChildRow(g, true);
  const int u = grid.LastAddedIndex();
  grid.AppendChildRow(u, true);
  const int f = grid.LastAddedIndex();
  grid.ExpandRow(u, false);
  for (int row : {g, u, f})
    grid.SetCellText(Column(L"FileName"), row, L"Mw");
  grid.ExpandRow(u, true);
  grid.ExpandRow(g, false);

  // Level 0, collapsed, with children: a plus box at (2, 3), text from 18.
  Paint(L"FileName", g);
  EXPECT_EQ(picture.Pixel(2, 3), grey);
  EXPECT_EQ(picture.Pixel(10, 11), grey);
  EXPECT_EQ(picture.Pixel(5, 7), clBlack);
  EXPECT_EQ(picture.Pixel(6, 5), clBlack);
  EXPECT_TRUE(Blank(11, 18));
  EXPECT_FALSE(Blank(18, 30));
  // The text is drawn on the background, without a box of its own.
  EXPECT_EQ(picture.Pixel(18, 1), clWhite);
  picture.SaveToFile(L"grid_tree_level0.bmp");

  // Level 1, expanded: a line at x 6 with its branch on row 7, a minus box at (21, 3) joined
  // to the rows below, text from 37.
  Paint(L"FileName", u);
  EXPECT_EQ(picture.Pixel(6, 0), grey);
  EXPECT_EQ(picture.Pixel(6, 15), grey);
  EXPECT_EQ(picture.Pixel(20, 7), grey);
  EXPECT_EQ(picture.Pixel(21, 3), grey);
  EXPECT_EQ(picture.Pixel(25, 5), clWhite);
  EXPECT_EQ(picture.Pixel(25, 14), grey);
  EXPECT_TRUE(Blank(30, 37));
  EXPECT_FALSE(Blank(37, 50));

  // Level 2 file row: two lines, no button, text from 56.
  Paint(L"FileName", f);
  EXPECT_EQ(picture.Pixel(6, 3), grey);
  EXPECT_EQ(picture.Pixel(25, 3), grey);
  EXPECT_EQ(picture.Pixel(39, 7), grey);
  EXPECT_TRUE(Blank(40, 56));
  EXPECT_FALSE(Blank(56, 70));
  picture.SaveToFile(L"grid_tree_level2.bmp");
}

TEST_F(DisplayTest, ClassicCheckBoxIsPlacedByTheColumnsAlignment) {
  const int row = grid.AppendRows(1);
  auto* check = grid.Columns().ColumnByName(L"SelectCheck");
  struct Case {
    TAlignment alignment;
    int x;
  } cases[] = {{taLeftJustify, 2}, {taRightJustify, 23}, {taCenter, 13}};
  for (const Case& c : cases) {
    check->SetAlignment(c.alignment);
    Paint(L"SelectCheck", row, RECT{0, 0, 36, 16});
    EXPECT_EQ(picture.Pixel(c.x, 3), ColorToRGB(clBtnShadow)) << c.alignment;
    EXPECT_EQ(picture.Pixel(c.x + 10, 13), ColorToRGB(clBtnShadow)) << c.alignment;
    EXPECT_EQ(picture.Pixel(c.x - 1, 3), clWhite) << c.alignment;
    // Ticked: the three strokes of the tick.
    EXPECT_EQ(picture.Pixel(c.x + 2, 3 + 4), ColorToRGB(clWindowText)) << c.alignment;
    EXPECT_EQ(picture.Pixel(c.x + 4, 3 + 8), ColorToRGB(clWindowText)) << c.alignment;
  }
  grid.CellByKey(L"SelectCheck", row)->SetBoolValue(false);
  Paint(L"SelectCheck", row, RECT{0, 0, 36, 16});
  EXPECT_EQ(picture.Pixel(13 + 2, 3 + 4), ColorToRGB(clWindow));
  EXPECT_EQ(grid.LoadDisplay(Column(L"SelectCheck"), row, picture.Canvas(), RECT{0, 0, 36, 16})
                .NeededWidth(),
            11);
}

TEST_F(DisplayTest, AnImageIndexOutsideTheListDrawsNothing) {
  const int row = grid.AppendRows(1);
  auto* icon = static_cast<TVxImageColumn*>(grid.Columns().ColumnByName(L"FileIcon"));
  TImageList images(nullptr, 16, 16);
  TBitmap red(16, 16);
  red.Fill(RGB(255, 0, 0));
  images.Add(red);
  auto paintIndex = [&](int index) {
    grid.CellByKey(L"FileIcon", row)->SetIntValue(index);
    Paint(L"FileIcon", row, RECT{0, 0, 38, 16});
  };
  paintIndex(0);
  EXPECT_TRUE(Blank(0, 38)) << "no image list";
  icon->SetImages(&images);
  for (int index : {-1, 1, 5}) {
    paintIndex(index);
    EXPECT_TRUE(Blank(0, 38)) << index;
  }
  paintIndex(0);
  EXPECT_EQ(picture.Pixel(2, 0), RGB(255, 0, 0));
  EXPECT_EQ(picture.Pixel(17, 15), RGB(255, 0, 0));
  EXPECT_EQ(picture.Pixel(18, 8), clWhite);
}

TEST_F(DisplayTest, HintMarkAndTextFormats) {
  const int row = grid.AppendRows(1);
  TColumnDisplay& display =
      grid.LoadDisplay(Column(L"FileSize"), row, picture.Canvas(), RECT{0, 0, 40, 16});
  picture.Fill(clWhite);
  display.DrawHintMark();
  for (POINT p : {POINT{35, 0}, POINT{39, 0}, POINT{39, 4}, POINT{38, 1}})
    EXPECT_EQ(picture.Pixel(p.x, p.y), RGB(255, 0, 0)) << p.x << "," << p.y;
  EXPECT_EQ(picture.Pixel(34, 0), clWhite);
  EXPECT_EQ(picture.Pixel(36, 3), clWhite);

  TVxTextColumn text;
  EXPECT_EQ(CellTextFormat(text, false),
            UINT(DT_NOPREFIX | DT_LEFT | DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS));
  EXPECT_EQ(CellTextFormat(text, true), UINT(DT_NOPREFIX | DT_LEFT | DT_SINGLELINE | DT_VCENTER));
  text.SetAlignment(taRightJustify);
  text.SetVerticalAlignment(taAlignBottom);
  text.SetWrapKind(wkPathEllipsis);
  text.SetBiDiMode(bdRightToLeft);
  EXPECT_EQ(CellTextFormat(text, false), UINT(DT_NOPREFIX | DT_RTLREADING | DT_RIGHT |
                                              DT_SINGLELINE | DT_BOTTOM | DT_PATH_ELLIPSIS));
  text.SetBiDiMode(bdLeftToRight);
  text.SetAlignment(taCenter);
  text.SetWrapKind(wkWordWrap);
  EXPECT_EQ(CellTextFormat(text, false), UINT(DT_NOPREFIX | DT_CENTER | DT_WORDBREAK));
  text.SetWrapKind(wkNone);
  text.SetMultiLine(true);
  EXPECT_EQ(CellTextFormat(text, false), UINT(DT_NOPREFIX | DT_CENTER));
}

TEST_F(DisplayTest, ACheckBoxClickAppliesThroughTheAcceptAndAfterEditEvents) {
  const int row = grid.AppendRows(1);
  const int col = Column(L"SelectCheck");
  const RECT cell{0, 0, 36, 16};
  std::vector<std::wstring> events;
  bool accept = true;
  grid.OnEditAccept = [&](TObject*, int c, int r, const std::wstring& value, bool& ok) {
    events.push_back(L"accept " + std::to_wstring(c) + L"," + std::to_wstring(r) + L" " + value);
    ok = accept;
  };
  grid.OnChange = [&](TObject*, int, int) { events.push_back(L"change"); };
  grid.OnAfterEdit = [&](TObject*, int, int, const std::wstring& value) {
    events.push_back(L"after " + value);
  };
  // Outside the box (centred at 13..23, 3..13) nothing happens.
  grid.LoadPlay(col, row, cell)->PlayMouseUp(mbLeft, {}, 3, 8);
  EXPECT_TRUE(events.empty());
  grid.LoadPlay(col, row, cell)->PlayMouseUp(mbLeft, {}, 15, 8);
  EXPECT_EQ(events, (std::vector<std::wstring>{L"accept 5,0 False", L"change", L"after False"}));
  EXPECT_FALSE(grid.CellByKey(L"SelectCheck", row)->BoolValue());
  events.clear();
  accept = false;
  TColumnPlay* play = grid.LoadPlay(col, row, cell);
  play->PlayKey(L' ');
  EXPECT_TRUE(play->PlayBool);
  EXPECT_FALSE(grid.CellByKey(L"SelectCheck", row)->BoolValue());
  EXPECT_FALSE(grid.LoadPlay(col, row, cell)->PlayBool);
  accept = true;
  // Space flips once per press.
  grid.LoadPlay(col, row, cell)->PlayKey(L' ');
  grid.LoadPlay(col, row, cell)->PlayKey(L'x');
  EXPECT_TRUE(grid.CellByKey(L"SelectCheck", row)->BoolValue());
  grid.LoadPlay(col, row, cell)->PlayKey(L' ');
  EXPECT_FALSE(grid.CellByKey(L"SelectCheck", row)->BoolValue());
}

TEST_F(DisplayTest, PlusOnlyExpandsMinusOnlyCollapsesAndTheButtonToggles) {
  const int g = grid.AppendRows(1);
  grid.AppendChildRow(g, true);
  const int col = Column(L"FileName");
  const RECT cell{0, 0, 426, 16};
  auto key = [&](wchar_t k) { grid.LoadPlay(col, g, cell)->PlayKey(k); };
  ASSERT_TRUE(grid.IsRowExpanded(g));
  key(L'+');
  EXPECT_TRUE(grid.IsRowExpanded(g));
  key(L'-');
  EXPECT_FALSE(grid.IsRowExpanded(g));
  key(L'-');
  EXPECT_FALSE(grid.IsRowExpanded(g));
  key(L'+');
  EXPECT_TRUE(grid.IsRowExpanded(g));
  // The button of a level-0 row covers 2..10 across and 3..11 down.
  grid.LoadPlay(col, g, cell)->PlayMouseUp(mbLeft, {}, 11, 5);
  EXPECT_TRUE(grid.IsRowExpanded(g));
  grid.LoadPlay(col, g, cell)->PlayMouseUp(mbLeft, {}, 10, 11);
  EXPECT_FALSE(grid.IsRowExpanded(g));
  static_cast<TVxTreeColumn*>(grid.Columns().ColumnAt(col))->SetExpandLock(true);
  key(L'+');
  grid.LoadPlay(col, g, cell)->PlayMouseUp(mbLeft, {}, 5, 5);
  EXPECT_FALSE(grid.IsRowExpanded(g));
}

TEST_F(DisplayTest, TheFitHintShowsTheWholeTextOnlyWhenTheColumnIsTooNarrow) {
  const int row = grid.AppendRows(1);
  const int col = Column(L"FileName");
  grid.OnCellHint = [](TObject*, int, int, std::wstring& hint) { hint = L"cell hint"; };
  grid.SetCellText(col, row, L"short");
  const RECT cell{0, 0, 426, 16};
  EXPECT_EQ(grid.CellHintText(col, row, picture.Canvas(), cell), L"cell hint");
  const std::wstring path = L"C:\\Users\\someone\\AppData\\Local\\Temp\\" + std::wstring(80, L'x');
  grid.SetCellText(col, row, path);
  EXPECT_EQ(grid.CellHintText(col, row, picture.Canvas(), cell), path);
}
