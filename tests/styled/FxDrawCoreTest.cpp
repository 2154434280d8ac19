#include "styled/FxDrawCore.h"

#include "ui/Handles.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr TColor kSentinel = RGBColor(1, 2, 3);

struct TPixelCase {
  int x, y;
  TColor expected;
};

// A bitmap of the given size, every pixel in one colour (the sentinel unless told).
struct TFilled : TBitmap {
  TFilled(int width, int height, TColor fill = kSentinel) : TBitmap(width, height) { Fill(fill); }
};

void ExpectPixels(const TBitmap& bitmap, const std::vector<TPixelCase>& cases) {
  for (const auto& c : cases)
    EXPECT_EQ(bitmap.Pixel(c.x, c.y), c.expected) << "pixel " << c.x << "," << c.y;
}

} // namespace

// Every kind at a few pixels, each value worked out by hand from the step (to - from) / L and
// the distance of that kind; halves round to even.
TEST(FillGradientTest, EveryKindGivesTheFormulaAtSamplePixels) {
  // Steps 0.5, 10, 20 per pixel (red, green, blue) over L = 10.
  const TColor from = RGBColor(10, 20, 30), to = RGBColor(15, 120, 230);
  {
    TFilled b(10, 3);
    FillGradient(b, RECT{0, 0, 10, 3}, from, nullptr, gtHorizontal, to);
    ExpectPixels(b, {{0, 0, RGBColor(10, 20, 30)},
                     {1, 2, RGBColor(10, 30, 50)},     // 10.5 -> 10
                     {3, 1, RGBColor(12, 50, 90)},     // 11.5 -> 12
                     {5, 0, RGBColor(12, 70, 130)},    // 12.5 -> 12
                     {9, 2, RGBColor(14, 110, 210)}}); // 14.5 -> 14
  }
  {
    TFilled b(6, 15);
    FillGradient(b, RECT{2, 3, 6, 13}, from, nullptr, gtVertical, to);
    ExpectPixels(b, {{2, 3, from},
                     {5, 4, RGBColor(10, 30, 50)},
                     {3, 6, RGBColor(12, 50, 90)},
                     {2, 12, RGBColor(14, 110, 210)},
                     {1, 5, kSentinel},
                     {2, 13, kSentinel},
                     {2, 2, kSentinel}});
  }
  // 30 x 40: diagonal 50; steps 2, 3, 5 from black to (100, 150, 250).
  const TColor black = RGBColor(0, 0, 0), corner = RGBColor(100, 150, 250);
  {
    TFilled b(30, 40);
    FillGradient(b, RECT{0, 0, 30, 40}, black, nullptr, gtFromTopLeft, corner);
    ExpectPixels(b, {{0, 0, black},
                     {3, 4, RGBColor(10, 15, 25)},
                     {6, 8, RGBColor(20, 30, 50)},
                     {1, 1, RGBColor(3, 4, 7)}}); // d = 1.4142...
  }
  {
    TFilled b(30, 40);
    FillGradient(b, RECT{0, 0, 30, 40}, black, nullptr, gtFromTopRight, corner);
    ExpectPixels(
        b,
        {{27, 4, RGBColor(10, 15, 25)}, {29, 0, RGBColor(2, 3, 5)}, {0, 0, RGBColor(60, 90, 150)}});
  }
  {
    // L = 50 div 2 = 25: steps 4, 6, 10 from the centre (15, 20).
    TFilled b(30, 40);
    FillGradient(b, RECT{0, 0, 30, 40}, black, nullptr, gtRadial, corner);
    ExpectPixels(b, {{15, 20, black},
                     {18, 24, RGBColor(20, 30, 50)},
                     {15, 0, RGBColor(80, 120, 200)},
                     {0, 0, corner}});
  }
  {
    // L = 10, steps 10, 15, 25; distance from the middle column.
    TFilled b(20, 2);
    FillGradient(b, RECT{0, 0, 20, 2}, black, nullptr, gtDoubleHorz, corner);
    ExpectPixels(b, {{10, 0, black},
                     {0, 1, corner},
                     {13, 0, RGBColor(30, 45, 75)},
                     {7, 1, RGBColor(30, 45, 75)}});
  }
  {
    TFilled b(2, 20);
    FillGradient(b, RECT{0, 0, 2, 20}, black, nullptr, gtDoubleVert, corner);
    ExpectPixels(b, {{0, 10, black}, {1, 0, corner}, {1, 13, RGBColor(30, 45, 75)}});
  }
}

TEST(FillGradientTest, ValuesOutsideTheByteRangeKeepTheirLowEightBits) {
  // A diagonal gradient whose rectangle starts at x 10: L = 5 - 10 = -5, so the red step is
  // 50 / -5 = -10 and one pixel in the value is -10, stored as 246.
  TFilled b(14, 4);
  FillGradient(b, RECT{10, 0, 13, 4}, RGBColor(0, 0, 0), nullptr, gtFromTopLeft,
               RGBColor(50, 0, 0));
  ExpectPixels(b, {{10, 0, RGBColor(0, 0, 0)}, {11, 0, RGBColor(246, 0, 0)}});
}

TEST(FillGradientTest, ZeroLengthSaturatesRisingChannelsAndKeepsFallingOnes) {
  const TColor from = RGBColor(10, 200, 50), to = RGBColor(20, 100, 50);
  // One column of gtDoubleHorz: L = 0, every pixel at distance 0 shows the from colour.
  TFilled column(1, 4);
  FillGradient(column, RECT{0, 0, 1, 4}, from, nullptr, gtDoubleHorz, to);
  for (int y = 0; y < 4; ++y)
    EXPECT_EQ(column.Pixel(0, y), from);

  // gtFromTopLeft from x 5 with a 3 x 4 rectangle: L = 5 - 5 = 0, yet distances reach 5. The
  // rising red steps 255 per pixel (265 -> low byte 9), the falling green and the flat blue
  // stay at the from colour.
  TFilled diagonal(8, 4);
  FillGradient(diagonal, RECT{5, 0, 8, 4}, from, nullptr, gtFromTopLeft, to);
  ExpectPixels(diagonal, {{5, 0, from}, {6, 0, RGBColor(9, 200, 50)}});
}

TEST(FillGradientTest, VerticalOfHeightOneShowsOnlyTheFromColour) {
  TFilled b(5, 1);
  FillGradient(b, RECT{0, 0, 5, 1}, RGBColor(40, 50, 60), nullptr, gtVertical, clWhite);
  for (int x = 0; x < 5; ++x)
    EXPECT_EQ(b.Pixel(x, 0), RGBColor(40, 50, 60));
}

TEST(FillGradientTest, EqualColoursFillFlatInsideTheRectangleOrRegion) {
  TFilled plain(6, 6);
  FillGradient(plain, RECT{1, 1, 4, 5}, clBtnFace, nullptr, gtRadial, clBtnFace);
  TColor face = ColorToRGB(clBtnFace);
  ExpectPixels(plain, {{1, 1, face}, {3, 4, face}, {0, 0, kSentinel}, {4, 4, kSentinel}});

  // Two separate squares: the gap between them keeps its colour.
  TGdiObject region(::CreateRectRgn(0, 0, 2, 2));
  TGdiObject second(::CreateRectRgn(4, 4, 6, 6));
  ::CombineRgn(static_cast<HRGN>(region.Get()), static_cast<HRGN>(region.Get()),
               static_cast<HRGN>(second.Get()), RGN_OR);
  TFilled limited(6, 6);
  FillGradient(limited, RECT{0, 0, 6, 6}, RGBColor(9, 9, 9), static_cast<HRGN>(region.Get()),
               gtVertical, RGBColor(9, 9, 9));
  ExpectPixels(limited, {{0, 0, RGBColor(9, 9, 9)},
                         {1, 1, RGBColor(9, 9, 9)},
                         {5, 5, RGBColor(9, 9, 9)},
                         {3, 3, kSentinel},
                         {2, 0, kSentinel}});
}

TEST(FillGradientTest, RegionLimitsTheGradientToItsPixels) {
  TGdiObject region(::CreateRectRgn(2, 1, 5, 3));
  TFilled b(10, 4);
  FillGradient(b, RECT{0, 0, 10, 4}, RGBColor(10, 20, 30), static_cast<HRGN>(region.Get()),
               gtHorizontal, RGBColor(15, 120, 230));
  // Inside, the gradient of the whole rectangle (not of the region's bounds).
  ExpectPixels(b, {{2, 1, RGBColor(11, 40, 70)},
                   {4, 2, RGBColor(12, 60, 110)},
                   {1, 1, kSentinel},
                   {5, 1, kSentinel},
                   {3, 0, kSentinel},
                   {3, 3, kSentinel}});
}

TEST(FillGradientTest, RectangleBeyondTheBitmapIsClipped) {
  TFilled b(10, 10);
  FillGradient(b, RECT{-5, -5, 100, 100}, RGBColor(0, 0, 0), nullptr, gtHorizontal,
               RGBColor(105, 0, 0));
  ExpectPixels(b, {{0, 0, RGBColor(5, 0, 0)}, {9, 9, RGBColor(14, 0, 0)}});
}

TEST(BlendBitmapsTest, BlendsByPercentInsideTheRectangle) {
  const TColor destColor = RGBColor(10, 100, 200), overColor = RGBColor(21, 0, 250);
  struct {
    int percent;
    TColor expected;
  } cases[] = {{0, destColor},
               {50, RGBColor(16, 50, 225)}, // 15.5 -> 16
               {30, RGBColor(13, 70, 215)}, // 7 + 6.3, 70 + 0, 140 + 75
               {100, overColor}};
  for (const auto& c : cases) {
    TFilled dest(8, 8, destColor);
    TFilled overlay(4, 4, overColor);
    overlay.SetPixel(0, 0, RGBColor(0, 0, 0));
    BlendBitmaps(dest, overlay, RECT{2, 3, 6, 7}, c.percent);
    EXPECT_EQ(dest.Pixel(3, 4), c.expected) << c.percent;
    EXPECT_EQ(dest.Pixel(1, 4), destColor) << "outside, " << c.percent;
    EXPECT_EQ(dest.Pixel(6, 4), destColor) << "outside, " << c.percent;
    // The overlay's origin lies at the rectangle's corner.
    if (c.percent == 100) {
      EXPECT_EQ(dest.Pixel(2, 3), RGBColor(0, 0, 0));
    }
  }
}

TEST(ComposeStateTest, CopiesBaseAtTheOffsetThenBlendsTheOverlay) {
  TFilled base(10, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 10; ++x)
      base.SetPixel(x, y, RGBColor(x * 10, y * 10, 77));
  TFilled overlay(10, 10, RGBColor(255, 255, 255));

  TFilled dest(10, 10);
  ComposeState(dest, base, overlay, 1, RECT{0, 0, 10, 10}, 0);
  ExpectPixels(dest, {{1, 1, RGBColor(0, 0, 77)},
                      {9, 9, RGBColor(80, 80, 77)}, // base's last row and column are not copied
                      {5, 2, RGBColor(40, 10, 77)},
                      {0, 5, kSentinel},
                      {5, 0, kSentinel}});

  ComposeState(dest, base, overlay, 0, RECT{0, 0, 10, 10}, 150);
  EXPECT_EQ(dest.Pixel(4, 4), RGBColor(255, 255, 255)) << "percent is capped at 100";

  ComposeState(dest, base, overlay, 0, RECT{0, 0, 10, 10}, 50);
  EXPECT_EQ(dest.Pixel(3, 1), RGBColor(142, 132, 166)); // (30+255)/2 = 142.5 -> 142
}

TEST(ComposeStateTest, ComposingAnImageOntoItselfReadsTheOriginalRows) {
  TFilled image(20, 20);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 20; ++x)
      image.SetPixel(x, y, RGBColor(x, y, 0));
  // Pressed look of a button: the rectangle shrunk by 3, offset 1, nothing blended yet.
  ComposeState(image, image, image, 1, RECT{3, 3, 17, 17}, 0);
  ExpectPixels(image, {{4, 4, RGBColor(0, 0, 0)},
                       {8, 8, RGBColor(4, 4, 0)},
                       {16, 16, RGBColor(12, 12, 0)},
                       {3, 3, RGBColor(3, 3, 0)},
                       {17, 17, RGBColor(17, 17, 0)}});
}

TEST(TintBitmapTest, GreyPlusColourSaturatesAt255) {
  TFilled glyph(2, 1);
  glyph.SetPixel(0, 0, RGBColor(30, 60, 90));  // grey 60
  glyph.SetPixel(1, 0, RGBColor(255, 0, 255)); // grey 170
  TintBitmap(glyph, RGBColor(10, 200, 250));
  EXPECT_EQ(glyph.Pixel(0, 0), RGBColor(70, 255, 255));
  EXPECT_EQ(glyph.Pixel(1, 0), RGBColor(180, 255, 255));

  TFilled black(1, 1, RGBColor(0, 0, 1)); // grey 0 (1 div 3)
  TintBitmap(black, clBtnShadow);
  EXPECT_EQ(black.Pixel(0, 0), ColorToRGB(clBtnShadow));
}

TEST(DownsampleEdgesTest, AveragesTheFrameAndFillsTheInside) {
  // 3 x 3 blocks: blue = sx + sy (average 3x + 3y + 2), green 17 in one pixel of each block
  // (17 div 9 = 1, truncated), red 255 everywhere.
  TFilled source(30, 30);
  for (int sy = 0; sy < 30; ++sy)
    for (int sx = 0; sx < 30; ++sx)
      source.SetPixel(sx, sy, RGBColor(255, (sx % 3 == 0 && sy % 3 == 0) ? 17 : 0, sx + sy));
  TFilled dest(10, 10);
  const TColor fill = RGBColor(5, 6, 7);
  DownsampleEdges(dest, source, 3, fill, 4); // k = 2: inside is (2, 2, 8, 8)
  auto average = [](int x, int y) { return RGBColor(255, 1, 3 * x + 3 * y + 2); };
  ExpectPixels(dest, {{0, 0, average(0, 0)},
                      {1, 5, average(1, 5)},
                      {9, 9, average(9, 9)},
                      {8, 3, average(8, 3)},
                      {5, 8, average(5, 8)},
                      {2, 2, fill},
                      {7, 7, fill},
                      {5, 5, fill}});
}

TEST(TextFormatTest, FormatNumbersPerAlignmentAndWrap) {
  struct {
    TAlignment alignment;
    bool wrap;
    UINT expected;
  } cases[] = {{taLeftJustify, false, 34820 + 32},  {taLeftJustify, true, 34820 + 16},
               {taRightJustify, false, 34822 + 32}, {taRightJustify, true, 34822 + 16},
               {taCenter, false, 34821 + 32},       {taCenter, true, 34821 + 16}};
  for (const auto& c : cases)
    EXPECT_EQ(TextFormat(c.alignment, c.wrap), c.expected);
}

TEST(FadeIntervalTest, IntervalPerSpeed) {
  EXPECT_EQ(FadeInterval(fsSlow), 40u);
  EXPECT_EQ(FadeInterval(fsMedium), 20u);
  EXPECT_EQ(FadeInterval(fsFast), 12u);
  EXPECT_EQ(FadeInterval(fsVeryFast), 8u);
}

namespace {

constexpr TColor kPaper = RGBColor(0, 128, 128);

// Renders "HI" on a plain background, shadow colour red.
void RenderCaption(TBitmap& b, TColor textColor, bool shadow, bool enabled) {
  b.SetSize(60, 30);
  b.Fill(kPaper);
  TFont font;
  font.SetHeight(-20);
  font.SetStyle({fsBold});
  font.SetColor(textColor);
  b.Canvas().Brush().SetStyle(bsClear);
  DrawCaptionText(b.Canvas(), L"HI", font, RGBColor(255, 0, 0), shadow, DT_LEFT | DT_TOP,
                  RECT{5, 5, 60, 30}, enabled);
  ::GdiFlush();
}

int CountColour(const TBitmap& b, TColor color) {
  int n = 0;
  for (int y = 0; y < b.Height(); ++y)
    for (int x = 0; x < b.Width(); ++x)
      n += b.Pixel(x, y) == color;
  return n;
}

} // namespace

TEST(DrawCaptionTextTest, ShadowSitsOnePixelDownRightAndTheTextOnTop) {
  const TColor blue = RGBColor(0, 0, 255), red = RGBColor(255, 0, 0);
  TBitmap plain, shadowed;
  RenderCaption(plain, blue, false, true);
  RenderCaption(shadowed, blue, true, true);
  EXPECT_EQ(CountColour(plain, red), 0);
  int shadowPixels = 0;
  for (int y = 1; y < 30; ++y)
    for (int x = 1; x < 60; ++x) {
      if (plain.Pixel(x, y) == blue) {
        EXPECT_EQ(shadowed.Pixel(x, y), blue) << x << "," << y;
      }
      if (shadowed.Pixel(x, y) != red) continue;
      ++shadowPixels;
      EXPECT_NE(plain.Pixel(x - 1, y - 1), kPaper)
          << "shadow away from the text at " << x << "," << y;
    }
  EXPECT_GT(shadowPixels, 10);
}

TEST(DrawCaptionTextTest, DisabledTextIsEngravedInTheSystemColours) {
  TBitmap b;
  RenderCaption(b, RGBColor(0, 0, 255), true, false);
  EXPECT_EQ(CountColour(b, RGBColor(0, 0, 255)), 0);
  EXPECT_EQ(CountColour(b, RGBColor(255, 0, 0)), 0) << "no shadow colour when disabled";
  EXPECT_GT(CountColour(b, ColorToRGB(clBtnShadow)), 10);
  EXPECT_GT(CountColour(b, ColorToRGB(clBtnHighlight)), 5);
}
