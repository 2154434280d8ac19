#include "grid/BodyPainter.h"
#include "grid/Columns.h"
#include "grid/DefaultStyleDisplay.h"
#include "ui/Bitmap.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

const TColor kColumnColors[] = {RGBColor(250, 200, 200), RGBColor(200, 250, 200),
                                RGBColor(200, 200, 250)};

// Gives each column's filler cells a colour of their own and counts the rows painted.
struct Client : TCellPaintClient {
  std::vector<int> rows;
  void CellColoring(int col, int row, TColor& cell, TColor&, TCellState) override {
    cell = kColumnColors[col];
    if (rows.empty() || rows.back() != row) rows.push_back(row);
  }
  void DrawCellContent(TCanvas&, int, int, const RECT&, TColor, TCellState, bool) override {}
};

struct BodyPainterTest : ::testing::Test {
  TVxColumns columns;
  void SetUp() override {
    for (const wchar_t* name : {L"A", L"B", L"C"})
      columns.Add<TVxCustomColumn>(name);
    columns.SetFixedCols(1);
  }
};

} // namespace

TEST_F(BodyPainterTest, ScrolledColumnsSkipThoseBehindTheFixedOnesAndThoseBeyondTheClient) {
  const RECT client = MakeRect(0, 0, 150, 100);
  struct Case {
    int scrollX;
    std::vector<std::pair<int, int>> spans; // left, right
  };
  const Case cases[] = {
      {0, {{0, 80}, {80, 160}}},              // C starts beyond the client
      {50, {{0, 80}, {30, 110}, {110, 190}}}, // B partly behind A
      {100, {{0, 80}, {60, 140}}},            // B wholly behind A
  };
  for (const Case& c : cases) {
    std::vector<TColumnSpan> spans = ColumnSpans(columns, c.scrollX, client);
    ASSERT_EQ(spans.size(), c.spans.size()) << c.scrollX;
    for (size_t i = 0; i < spans.size(); ++i) {
      EXPECT_EQ(spans[i].left, c.spans[i].first) << c.scrollX << " " << i;
      EXPECT_EQ(spans[i].right, c.spans[i].second) << c.scrollX << " " << i;
      bool fixed = i == 0;
      EXPECT_EQ(spans[i].clipArea.left, fixed ? 0 : 80);
    }
    EXPECT_EQ(spans.back().last, spans.back().column == columns.LastVisibleColumn());
  }
}

TEST_F(BodyPainterTest, FillerRowsReachTheBodyBottomAndNeverPaintOverFixedColumns) {
  TBitmap bitmap(150, 100);
  bitmap.Fill(clBlack);
  TGridColors grid;
  grid.gridLinesColor = clGray;
  TGridLineWidths lines = GridLineWidths({goGrid}, lsNormal, false);
  Client client;
  std::vector<TColumnSpan> spans = ColumnSpans(columns, 100, MakeRect(0, 0, 150, 100));
  PaintFillerRows(bitmap.Canvas(), grid, lines, spans, 18, 100, 16, 7, client);
  GdiFlush();
  EXPECT_EQ(client.rows, (std::vector<int>{7, 8, 9, 10, 11})) << "tops 18, 35, 52, 69, 86";
  for (int y : {34, 51, 68, 85})
    EXPECT_EQ(bitmap.Pixel(40, y), clGray) << "the grid continues: line at " << y;
  EXPECT_EQ(bitmap.Pixel(40, 99), kColumnColors[0]) << "the last row runs past the body bottom";
  EXPECT_EQ(bitmap.Pixel(40, 17), clBlack) << "nothing above the first filler row";
  EXPECT_EQ(bitmap.Pixel(70, 25), kColumnColors[0]) << "C scrolled under A: A stays";
  EXPECT_EQ(bitmap.Pixel(79, 25), clGray);
  EXPECT_EQ(bitmap.Pixel(80, 25), kColumnColors[2]);
  EXPECT_EQ(bitmap.Pixel(139, 25), clGray);
  EXPECT_EQ(bitmap.Pixel(140, 25), clBlack)
      << "right of the columns is painted with the empty area, not here";

  // With an indicator strip the filler rows get empty indicator cells.
  TDefaultStyleDisplay display(nullptr);
  display.BeginPass(bitmap.Canvas(), false);
  bitmap.Fill(clBlack);
  PaintFillerRows(bitmap.Canvas(), grid, lines, {}, 18, 100, 16, 0, client, &display, 12);
  GdiFlush();
  EXPECT_EQ(bitmap.Pixel(5, 25), ColorToRGB(clBtnFace));
  EXPECT_EQ(bitmap.Pixel(0, 18), ColorToRGB(clBtnHighlight));
  EXPECT_EQ(bitmap.Pixel(20, 25), clBlack);
}
