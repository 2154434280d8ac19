#include "grid/CellPainter.h"
#include "ui/Bitmap.h"

#include "PixelInk.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

constexpr TColor kBackground = RGBColor(1, 2, 3);
constexpr TColor kColumn = RGBColor(250, 240, 230);

// Records the hooks; the content is one pixel in the text colour at the content rect's corner.
struct Client : TCellPaintClient {
  std::vector<TCellState> states;
  RECT contentRect{};
  TColor textColor = clNone;
  TColor recolor = clNone, relineColor = clNone;
  bool skipFill = false;
  std::string order; // the hooks in the order they ran
  void CellColoring(int, int, TColor& cell, TColor& lines, TCellState state) override {
    order += "colour ";
    states.push_back(state);
    if (recolor != clNone) cell = recolor;
    if (relineColor != clNone) lines = relineColor;
  }
  void DrawCellBackground(int, int, const RECT&, TCellState, bool& fill) override {
    order += fill ? "background " : "background(no fill) ";
    if (skipFill) fill = false;
  }
  void DrawHintMark(int, int, const RECT&) override { order += "hint "; }
  void CustomDrawCell(int, int, const RECT&, TCellState) override { order += "custom "; }
  void DrawCellContent(TCanvas& canvas, int, int, const RECT& rect, TColor text, TCellState,
                       bool) override {
    order += "content ";
    contentRect = rect;
    textColor = text;
    canvas.SetPixels(rect.left, rect.top, text);
  }
};

struct CellPainterTest : ::testing::Test {
  TBitmap bitmap{120, 60};
  TGridColors grid;
  TGridLineWidths lines = GridLineWidths({goGrid}, lsNormal, false);
  Client client;
  TCellPaint cell;
  void SetUp() override {
    bitmap.Fill(kBackground);
    grid.gridLinesColor = clGray;
    grid.selectionColor = clNavy;
    grid.inactiveSelectionColor = clSilver;
    cell.rect = MakeRect(10, 10, 50, 26);
    cell.clipArea = MakeRect(0, 0, 120, 60);
    cell.columnColor = kColumn;
    cell.fontColor = clBlack;
    cell.padding = 2;
  }
  TColor At(int x, int y) {
    GdiFlush();
    return bitmap.Pixel(x, y);
  }
  void Paint() { PaintCell(bitmap.Canvas(), grid, lines, cell, client); }
};

} // namespace

TEST_F(CellPainterTest, SelectionColoursFocusedAndUnfocused) {
  struct Case {
    bool focused;
    TAppearanceOptions appearance;
    TColor fill, text;
  };
  grid.highlightedTextColor = clYellow;
  const Case cases[] = {
      {true, {aoHideSelection}, clNavy, clYellow},
      {false, {aoHideSelection}, kColumn, clBlack}, // the default: no selection without focus
      {false, {}, clSilver, clBlack},
      {true, {aoAlphaBlendedSelection}, BlendSelection(kColumn, clHighlight), clYellow},
  };
  for (const Case& c : cases) {
    grid.focused = c.focused;
    grid.appearance = c.appearance;
    cell.selected = PaintsAsSelected(grid, TSelectionFacts{.fullRow = true, .rowSelected = true});
    Paint();
    EXPECT_EQ(At(30, 20), c.fill) << c.focused << c.appearance.ToInt();
    EXPECT_EQ(At(12, 10), c.text) << "text colour handed to the display";
    EXPECT_TRUE(SameRect(client.contentRect, MakeRect(12, 10, 48, 26))) << "narrowed by padding";
  }
}

TEST_F(CellPainterTest, GridLinesLieAlongTheBottomAndRightWithLightLinesOnTopAndLeft) {
  Paint();
  EXPECT_EQ(At(10, 26), clGray) << "bottom line at the cell's bottom";
  EXPECT_EQ(At(49, 26), clGray);
  EXPECT_EQ(At(49, 10), clGray) << "right line inside the cell's width";
  EXPECT_EQ(At(48, 25), kColumn);
  EXPECT_EQ(At(10, 9), kBackground) << "no light line without 3-D lines";
  EXPECT_EQ(At(50, 20), kBackground) << "nothing beyond the cell";

  bitmap.Fill(kBackground);
  lines = GridLineWidths({goGrid}, lsNormal, true);
  Paint();
  EXPECT_EQ(At(20, 9), ColorToRGB(clBtnHighlight)) << "light line above";
  EXPECT_EQ(At(10, 20), ColorToRGB(clBtnHighlight)) << "light line at the left";
  EXPECT_EQ(At(11, 20), kColumn);

  bitmap.Fill(kBackground);
  lines = GridLineWidths({goGrid}, lsHorizontalOnly, false);
  Paint();
  EXPECT_EQ(At(49, 20), kColumn) << "no vertical line";
  EXPECT_EQ(At(49, 26), clGray);

  bitmap.Fill(kBackground);
  grid.linesStyle = lsFramed;
  lines = GridLineWidths({goGrid}, lsFramed, false);
  cell.lastRow = cell.lastColumn = true;
  client.relineColor = clRed;
  Paint();
  EXPECT_EQ(At(20, 26), clBlack) << "the last row's bottom line";
  EXPECT_EQ(At(49, 20), clBlack) << "the last column's right line";
  cell.lastRow = false;
  Paint();
  EXPECT_EQ(At(20, 26), clRed) << "other lines keep the colouring event's colour";
}

TEST_F(CellPainterTest, EventsRecolourOrSkipTheFillAndTheCellStaysInsideItsArea) {
  client.recolor = clTeal;
  grid.sortedStyle = soWhite;
  cell.sortedColumn = true;
  Paint();
  EXPECT_EQ(At(30, 20), clWhite) << "soWhite applies after the colouring event";
  cell.sortedColumn = false;
  Paint();
  EXPECT_EQ(At(30, 20), clTeal);

  bitmap.Fill(kBackground);
  client.skipFill = true;
  Paint();
  EXPECT_EQ(At(30, 20), kBackground);
  client.skipFill = false;

  // A scrolled column partly under the fixed columns: only the scrolling area is painted.
  bitmap.Fill(kBackground);
  cell.clipArea = MakeRect(30, 0, 120, 60);
  Paint();
  EXPECT_EQ(At(29, 20), kBackground);
  EXPECT_EQ(At(30, 20), clTeal);
  EXPECT_EQ(At(12, 10), kBackground) << "the content is clipped too";

  cell.rect = MakeRect(200, 10, 240, 26);
  EXPECT_FALSE(PaintCell(bitmap.Canvas(), grid, lines, cell, client)) << "outside the clip box";
}

TEST_F(CellPainterTest, DrawingOptionsDecideFillContentAndCustomDrawing) {
  const std::pair<TDrawingOptions, const char*> cases[] = {
      {doNormal, "colour background content hint "},
      {doBackgroundOnly, "colour background hint custom "},
      {doCustom, "colour background content hint custom "},
      {doCustomOnly, "colour background(no fill) hint custom "},
  };
  cell.hintMark = true;
  for (auto [drawing, order] : cases) {
    bitmap.Fill(kBackground);
    client.order.clear();
    cell.drawing = drawing;
    Paint();
    EXPECT_EQ(client.order, order) << int(drawing);
    EXPECT_EQ(At(30, 20), drawing == doCustomOnly ? kBackground : kColumn) << int(drawing);
  }
}

TEST_F(CellPainterTest, FillerRowsTakeTheGridColourAndHideLinesForActiveStyles) {
  grid.color = RGBColor(240, 250, 250);
  PaintFillerCell(bitmap.Canvas(), grid, lines, cell, client);
  EXPECT_EQ(At(30, 20), grid.color);
  EXPECT_EQ(At(30, 26), clGray);
  EXPECT_EQ(At(49, 20), clGray);
  ASSERT_EQ(client.states.size(), 1u);
  EXPECT_EQ(client.states[0], TCellState{csEmpty});
  EXPECT_EQ(client.textColor, clNone) << "no content in a filler cell";

  grid.linesStyle = lsActiveRows;
  PaintFillerCell(bitmap.Canvas(), grid, lines, cell, client);
  EXPECT_EQ(At(30, 26), grid.color);
  EXPECT_EQ(At(49, 20), grid.color);
}

TEST_F(CellPainterTest, FocusRectangleIsDottedByInversionOrASolidHighlightFrame) {
  grid.focused = true;
  EXPECT_TRUE(FocusRectWanted(grid, true, 3, 2, false));
  EXPECT_FALSE(FocusRectWanted(grid, true, 1, 2, false)) << "above TopRow";
  EXPECT_FALSE(FocusRectWanted(grid, false, 3, 2, false)) << "no rows";
  EXPECT_FALSE(FocusRectWanted(grid, true, 3, 2, true)) << "input line";
  grid.appearance.Include(aoHideFocus);
  EXPECT_FALSE(FocusRectWanted(grid, true, 3, 2, false));
  grid.focused = false;
  grid.appearance.Exclude(aoHideFocus);
  EXPECT_FALSE(FocusRectWanted(grid, true, 3, 2, false));

  RECT row = MakeRect(0, 10, 120, 27);
  RECT r = FullRowFocusRect(12, 100, row, lines);
  EXPECT_TRUE(SameRect(r, MakeRect(12, 10, 99, 26)));
  bitmap.Fill(clWhite);
  DrawGridFocusRect(bitmap.Canvas(), r, false);
  int inverted = 0;
  for (int x = r.left; x < r.right; ++x)
    inverted += At(x, r.top) == clBlack;
  EXPECT_GT(inverted, RectWidth(r) / 3) << "dotted";
  EXPECT_LT(inverted, RectWidth(r)) << "not solid";
  EXPECT_EQ(At(50, 20), clWhite) << "inside untouched";
  DrawGridFocusRect(bitmap.Canvas(), r, false);
  EXPECT_EQ(At(r.left, r.top), clWhite) << "drawing it again removes it";

  DrawGridFocusRect(bitmap.Canvas(), r, true);
  for (POINT p : {POINT{12, 10}, POINT{13, 10}, POINT{98, 25}, POINT{12, 18}})
    EXPECT_EQ(At(p.x, p.y), ColorToRGB(clHighlight));

  EXPECT_TRUE(SameRect(CellFocusRect(cell.rect, MakeRect(30, 0, 120, 60), lines),
                       MakeRect(30, 10, 49, 26)));
}

TEST_F(CellPainterTest, EmptyGridCaptionIsCentredInTheBody) {
  TFont font;
  font.SetName(L"Tahoma");
  font.SetColor(clBlack);
  bitmap.Fill(clWhite);
  RECT body = MakeRect(0, 20, 120, 60);
  DrawEmptyCaption(bitmap.Canvas(), body, L"", font, true);
  DrawEmptyCaption(bitmap.Canvas(), MakeRect(0, 0, 120, 20), L"", font, true);
  EXPECT_EQ(At(60, 40), clWhite);

  for (bool enabled : {true, false}) {
    bitmap.Fill(clWhite);
    DrawEmptyCaption(bitmap.Canvas(), body, L"No files", font, enabled);
    RECT ink = InkBox(bitmap, MakeRect(0, 0, 120, 60), [](TColor c) { return c != clWhite; });
    bool grey = InkBox(bitmap, body, [](TColor c) { return c == ColorToRGB(clGrayText); }).right >
                body.left;
    ASSERT_GT(ink.right, ink.left);
    EXPECT_GE(ink.top, body.top);
    EXPECT_NEAR(ink.left + ink.right, body.left + body.right, 3) << "centred across";
    EXPECT_NEAR(ink.top + ink.bottom, body.top + body.bottom, 5) << "centred down";
    EXPECT_EQ(grey, !enabled) << "grey text only when disabled";
  }
}
