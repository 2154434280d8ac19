#include "styled/FxButton.h"
#include "styled/FxCheckBox.h"
#include "styled/FxPanel.h"
#include "styled/FxProgressBar.h"

#include "TestHost.h"

#include <gtest/gtest.h>

// A panel set up at 96 DPI (corner 10, border 2) and moved to 144 and 192 DPI draws its frame
// with corner 15 and 20, border 3 and 4: pixel for pixel the whole frame drawn three times as
// large and every 3 x 3 block averaged, as if no band were cut out of it.
TEST(FxDpiTest, PanelFrameIsTheLargeFrameAveragedDownAtEachScale) {
  const struct { int dpi, corner, border; } scales[] = {{144, 15, 3}, {192, 20, 4}};
  for (const auto& s : scales) {
    TTestHost host;
    auto* panel = host.Make<TFxPanel>();
    panel->SetParent(&host);
    panel->SetShowCaption(false);
    host.ChangeDpi(s.dpi);
    const int w = 150, h = 90;
    panel->SetBounds(0, 0, w, h);
    ASSERT_EQ(panel->CornerWidth(), s.corner);
    TBitmap shown(w, h);
    panel->PaintTo(shown.Canvas().Handle(), 0, 0);

    TBitmap large(3 * w, 3 * h);
    TCanvas& canvas = large.Canvas();
    canvas.Brush().SetColor(panel->OuterColor());
    canvas.FillRect(RECT{0, 0, 3 * w, 3 * h});
    const int pen = 3 * s.border - 1, i = pen / 2;
    canvas.Pen().SetWidth(pen);
    canvas.Pen().SetColor(panel->BorderColor());
    canvas.Brush().SetColor(panel->Color());
    canvas.RoundRect(RECT{i, i, 3 * w - i, 3 * h - i}, 3 * s.corner, 3 * s.corner);
    ::GdiFlush();
    int wrong = 0;
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) {
        int sum[3] = {0, 0, 0};
        for (int dy = 0; dy < 3; ++dy)
          for (int dx = 0; dx < 3; ++dx) {
            const TColor c = large.Pixel(3 * x + dx, 3 * y + dy);
            sum[0] += GetRValue(c);
            sum[1] += GetGValue(c);
            sum[2] += GetBValue(c);
          }
        if (shown.Pixel(x, y) != RGB(sum[0] / 9, sum[1] / 9, sum[2] / 9)) ++wrong;
      }
    EXPECT_EQ(wrong, 0) << s.dpi;
  }
}

// The glyph is the picture drawn for the DPI (the 20-pixel lens is drawn at 40 for 192), and
// going back gives the small one again; the check box's caption keeps its distance (3 set at
// 96 is 6 at 192).
TEST(FxDpiTest, GlyphsAndSpacingFollowTheDpi) {
  TTestHost host;
  auto* button = host.Make<TFxButton>();
  button->SetParent(&host);
  button->SetGlyphResource(L"GLYPH_FIND");
  auto* box = host.Make<TFxCheckBox>();
  box->SetParent(&host);
  const int sizes[][3] = {{192, 40, 6}, {144, 30, 5}, {96, 20, 3}};
  for (const auto& s : sizes) {
    host.ChangeDpi(s[0]);
    EXPECT_EQ(button->Glyph().Width(), s[1]) << s[0];
    EXPECT_EQ(button->Glyph().Height(), s[1]) << s[0];
    EXPECT_EQ(box->Spacing(), s[2]) << s[0];
  }
}
