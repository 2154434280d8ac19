#include "styled/FxPanel.h"

#include "TestHost.h"

#include <gtest/gtest.h>

namespace {

constexpr TColor kPanelColor = 14933983;
constexpr TColor kCaptionColor = 13500416;

// The frame drawn whole at three times the size and averaged down: what the panel's band
// rendering must equal.
void ReferenceFrame(TBitmap& expected, TFxPanel& panel, int captionHeight) {
  const int w = panel.Width(), h = panel.Height();
  TBitmap large(3 * w, 3 * h);
  TCanvas& canvas = large.Canvas();
  canvas.Brush().SetColor(panel.OuterColor());
  canvas.FillRect(RECT{0, 0, 3 * w, 3 * h});
  const int pen = 3 * panel.BorderWidth() - 1;
  canvas.Pen().SetWidth(pen);
  canvas.Pen().SetColor(panel.BorderColor());
  canvas.Brush().SetColor(panel.Color());
  const int i = pen / 2;
  canvas.RoundRect(RECT{i, i + 3 * captionHeight / 2, 3 * w - i, 3 * h - i},
                   3 * panel.CornerWidth(), 3 * panel.CornerWidth());
  ::GdiFlush();
  expected.SetSize(w, h);
  DownsampleEdges(expected, large, 3, panel.Color(), panel.CornerWidth() + 20);
}

// The bounding box of the pixels in color.
RECT PixelsOf(const TBitmap& image, TColor color) {
  RECT box{image.Width(), image.Height(), -1, -1};
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 0; x < image.Width(); ++x)
      if (image.Pixel(x, y) == ColorToRGB(color)) {
        box.left = std::min<LONG>(box.left, x);
        box.top = std::min<LONG>(box.top, y);
        box.right = std::max<LONG>(box.right, x + 1);
        box.bottom = std::max<LONG>(box.bottom, y + 1);
      }
  return box;
}

SIZE TextSize(const TWinControl& control, const std::wstring& text) {
  TBitmap scratch(1, 1);
  scratch.Canvas().Font().Assign(control.Font());
  return scratch.Canvas().TextExtent(text);
}

// The first row, down the middle column, that is not the outer colour: the frame's top.
int FrameTop(const TBitmap& image, TColor outer) {
  for (int y = 0; y < image.Height(); ++y)
    if (image.Pixel(image.Width() / 2, y) != ColorToRGB(outer)) return y;
  return -1;
}

} // namespace

TEST(FxPanelTest, AntialiasedWinsOverGradientInAnyOrder) {
  TTestHost host;
  TFxPanel panel(nullptr);
  panel.SetParent(&host);
  panel.BeginLoading();
  panel.SetAntialiased(false);
  panel.SetGradient(true);
  panel.SetAntialiased(true);
  panel.EndLoading();
  EXPECT_FALSE(panel.Gradient());
  panel.SetGradient(true);
  EXPECT_FALSE(panel.Gradient()) << "Gradient is refused while Antialiased";
  panel.SetAntialiased(false);
  panel.SetGradient(true);
  EXPECT_TRUE(panel.Gradient());
}

// Only the outer band is drawn at three times the size; the result must be the whole drawing
// averaged down, for plain and group-box frames of several sizes.
TEST(FxPanelTest, BandRenderingEqualsTheWholeFrameAveragedDown) {
  TTestHost host;
  struct {
    int w, h, corner, border;
    bool groupBox;
  } cases[] = {{185, 105, 10, 2, false},
               {600, 300, 10, 2, true},
               {40, 30, 4, 1, false},
               {20, 18, 10, 3, true}};
  for (const auto& c : cases) {
    TFxPanel panel(nullptr);
    panel.SetParent(&host);
    panel.SetCaption(L"Types of cleaning:");
    panel.SetCornerWidth(c.corner);
    panel.SetBorderWidth(c.border);
    panel.SetCaptionPosition(c.groupBox ? cpGroupBox : cpTopLeft);
    panel.SetBounds(0, 0, c.w, c.h);
    TBitmap expected;
    ReferenceFrame(expected, panel, c.groupBox ? panel.CaptionHeight() : 0);
    int differing = 0;
    for (int y = 0; y < c.h; ++y)
      for (int x = 0; x < c.w; ++x)
        differing += panel.FrameImage().Pixel(x, y) != expected.Pixel(x, y);
    EXPECT_EQ(differing, 0) << c.w << " x " << c.h;
  }
}

TEST(FxPanelTest, CornersAreSmoothedAgainstTheOuterColour) {
  TTestHost host;
  TFxPanel panel(nullptr);
  panel.SetParent(&host);
  panel.SetOuterColor(clWhite);
  const TBitmap& image = panel.FrameImage();
  EXPECT_EQ(image.Pixel(0, 0), ColorToRGB(clWhite));
  EXPECT_EQ(image.Pixel(panel.Width() / 2, panel.Height() / 2), ColorToRGB(kPanelColor));
  // Around the corner the frame passes from white through the line's grey into the inside in
  // shades between them.
  int blends = 0;
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) {
      TColor p = image.Pixel(x, y);
      if (p == ColorToRGB(clWhite) || p == ColorToRGB(clGray) || p == ColorToRGB(kPanelColor))
        continue;
      ++blends;
      EXPECT_GE(ColorR(p), 0x80);
      EXPECT_EQ(ColorR(p), ColorG(p)) << "white and grey blend to grey shades";
    }
  EXPECT_GE(blends, 4);
}

TEST(FxPanelTest, CaptionStandsWhereItsPositionSays) {
  TTestHost host;
  TFxPanel panel(nullptr);
  panel.SetParent(&host);
  panel.SetBounds(0, 0, 300, 120);
  panel.SetCaption(L"Found files");
  panel.SetTextShadow(false);
  enum { kStart, kMiddle, kEnd };
  struct {
    TFxCaptionPos position;
    int horizontal, vertical;
  } cases[] = {{cpGroupBox, kStart, kStart},    {cpTopLeft, kStart, kStart},
               {cpTopCenter, kMiddle, kStart},  {cpTopRight, kEnd, kStart},
               {cpMiddleLeft, kStart, kMiddle}, {cpMiddleCenter, kMiddle, kMiddle},
               {cpMiddleRight, kEnd, kMiddle},  {cpBottomLeft, kStart, kEnd},
               {cpBottomCenter, kMiddle, kEnd}, {cpBottomRight, kEnd, kEnd}};
  TBitmap image;
  for (const auto& c : cases) {
    panel.SetCaptionPosition(c.position);
    Render(panel, image);
    const RECT text = PixelsOf(image, kCaptionColor);
    ASSERT_LT(text.left, text.right) << "position " << int(c.position);
    const int cx = (text.left + text.right) / 2, cy = (text.top + text.bottom) / 2;
    const int where[] = {cx < 100   ? kStart
                         : cx > 200 ? kEnd
                                    : kMiddle,
                         cy < 40   ? kStart
                         : cy > 80 ? kEnd
                                   : kMiddle};
    EXPECT_EQ(where[0], c.horizontal) << "position " << int(c.position);
    EXPECT_EQ(where[1], c.vertical) << "position " << int(c.position);
    if (c.position == cpTopLeft) {
      EXPECT_NEAR(text.left, 6, 2) << "(CornerWidth + BorderWidth) div 2";
    }
    if (c.position == cpGroupBox) {
      EXPECT_LE(text.top, 2);
    }
  }
  // The group box's frame line runs through the caption's middle and breaks behind it: in
  // ink of the outer colour, the caption leaves a gap of nothing but the outer colour.
  panel.SetCaptionPosition(cpGroupBox);
  panel.Font().SetColor(panel.OuterColor());
  Render(panel, image);
  const int line = FrameTop(panel.FrameImage(), panel.OuterColor());
  EXPECT_NEAR(line, panel.CaptionHeight() / 2, 1);
  const int gapEnd = 6 + TextSize(panel, L"Found files").cx;
  for (int x = 6; x < gapEnd; ++x)
    EXPECT_EQ(image.Pixel(x, line), ColorToRGB(panel.OuterColor())) << x;
  EXPECT_NE(image.Pixel(gapEnd + 10, line), ColorToRGB(panel.OuterColor()));
}

TEST(FxPanelTest, ChildrenFillTheInsideOfTheFrame) {
  TTestHost host;
  TFxPanel panel(nullptr);
  panel.SetParent(&host);
  TFxPanel child(nullptr);
  child.SetParent(&panel);
  child.SetAlign(alClient);
  EXPECT_EQ(child.BoundsRect().left, 3);
  EXPECT_EQ(child.BoundsRect().top, 3);
  EXPECT_EQ(child.BoundsRect().right, 185 - 3);

  panel.SetBorderWidth(4);
  EXPECT_EQ(child.BoundsRect().left, 5) << "BorderWidth realigns the children";
  panel.SetBorderWidth(0);
  EXPECT_EQ(panel.BorderWidth(), 4) << "a border of 0 is refused";

  panel.SetCaption(L"Group");
  panel.SetCaptionPosition(cpGroupBox);
  const int half = panel.CaptionHeight() / 2;
  EXPECT_EQ(child.BoundsRect().top, half + 2 + half - 1);
  EXPECT_EQ(child.BoundsRect().bottom, 105 - 3);
  EXPECT_EQ(child.BoundsRect().left, 5);
}

// Fault mended: a gradient colour changed on a gradient panel used to wait for the next resize.
TEST(FxPanelTest, NewGradientColourShowsAtOnce) {
  TTestHost host;
  TFxPanel panel(nullptr);
  panel.SetParent(&host);
  panel.SetAntialiased(false);
  panel.SetGradient(true);
  const int x = panel.Width() / 2;
  EXPECT_EQ(panel.FrameImage().Pixel(x, 1), ColorToRGB(clWhite));
  panel.SetDefaultFrom(clRed);
  const TColor top = panel.FrameImage().Pixel(x, 1);
  EXPECT_EQ(ColorR(top), 255);
  EXPECT_LE(ColorG(top), 3);
  panel.SetDefaultTo(clBlue);
  EXPECT_GT(ColorB(panel.FrameImage().Pixel(x, panel.Height() - 4)), 200);
}

// Fault mended: the group box's frame hangs from the caption's middle, so a bigger font must
// move it down at once.
TEST(FxPanelTest, FontChangeOnAGroupBoxRendersTheFrameAgain) {
  TTestHost host;
  TFxPanel panel(nullptr);
  panel.SetParent(&host);
  panel.SetCaption(L"Group");
  panel.SetCaptionPosition(cpGroupBox);
  const int before = FrameTop(panel.FrameImage(), panel.OuterColor());
  panel.Font().SetHeight(-30);
  const int after = FrameTop(panel.FrameImage(), panel.OuterColor());
  EXPECT_GE(after, before + 7);
  EXPECT_NEAR(after, panel.CaptionHeight() / 2, 1);
}
