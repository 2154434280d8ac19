#include "styled/FxProgressBar.h"

#include "Pump.h"
#include "TestHost.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

class TBar : public TFxProgressBar {
public:
  explicit TBar(TWinControl* host) : TFxProgressBar(nullptr) { SetParent(host); }
  using TFxProgressBar::Paint;

  // Paints into a bitmap the way a paint message does: background first, then the bar.
  void Render(TBitmap& target) {
    target.SetSize(Width(), Height());
    target.Fill(ColorToRGB(Color()));
    target.Canvas().Font().Assign(Font());
    Paint(target.Canvas());
    ::GdiFlush();
  }
};

// A new bar's vertical gradient at row y of rows, from its definition: each channel steps evenly
// from DefaultFrom (126, 151, 182) towards DefaultTo (201, 210, 224), rounded half to even.
TColor DefaultGradientAt(int y, int rows) {
  auto channel = [&](int from, int to) {
    return int(std::nearbyint(from + (to - from) / double(rows) * y));
  };
  return RGBColor(channel(126, 201), channel(151, 210), channel(182, 224));
}

// Layout values arrive between BeginLoading and EndLoading.
template <typename F> void WhileLoading(TBar& bar, F apply) {
  bar.BeginLoading();
  apply();
  bar.EndLoading();
}

} // namespace

TEST(FxProgressBarTest, DefaultsOfANewBar) {
  TTestHost host;
  TBar bar(&host);
  EXPECT_EQ(bar.Caption(), L"");
  EXPECT_EQ(bar.DefaultFrom(), RGBColor(126, 151, 182));
  EXPECT_EQ(bar.DefaultTo(), RGBColor(201, 210, 224));
  EXPECT_EQ(bar.Max(), 100);
  EXPECT_EQ(bar.Min(), 0);
  EXPECT_EQ(bar.Position(), 0);
  EXPECT_EQ(bar.Step(), 1);
  EXPECT_EQ(bar.BorderLines(), (TBorderLines{blTop, blBottom, blLeft, blRight}));
  EXPECT_EQ(bar.BorderColor(), clGray);
  EXPECT_EQ(bar.BorderWidth(), 1);
  EXPECT_EQ(bar.GradientType(), gtVertical);
  EXPECT_EQ(bar.Orientation(), pbHorizontal);
  EXPECT_TRUE(bar.ShowText());
  EXPECT_FALSE(bar.TextShadow());
  EXPECT_EQ(bar.Width(), 150);
  EXPECT_EQ(bar.Height(), 16);
  EXPECT_EQ(bar.GradientImage().Width(), 150);
  EXPECT_EQ(bar.GradientImage().Height(), 16);
}

TEST(FxProgressBarTest, PositionStaysInRangeAndGivesThePercentage) {
  TTestHost host;
  TBar bar(&host);
  bar.SetPosition(33);
  EXPECT_EQ(bar.Percent(), 33);
  EXPECT_EQ(bar.BarText(), L"33%");
  bar.SetPosition(150);
  EXPECT_EQ(bar.Position(), 100);
  EXPECT_EQ(bar.Percent(), 100);
  bar.SetPosition(-4);
  EXPECT_EQ(bar.Position(), 0);

  // Halves go to the even neighbour: 1/200, 3/200, 5/200 are 0.5, 1.5, 2.5 percent.
  bar.SetMax(200);
  const int expected[][2] = {{1, 0}, {3, 2}, {5, 2}, {7, 4}, {199, 100}};
  for (const auto& e : expected) {
    bar.SetPosition(e[0]);
    EXPECT_EQ(bar.Percent(), e[1]) << e[0];
  }
}

TEST(FxProgressBarTest, RangeSettersAreIgnoredAtRunTimeWhenTheyWouldCollapse) {
  TTestHost host;
  TBar bar(&host);
  bar.SetPosition(40);
  bar.SetMax(0);
  EXPECT_EQ(bar.Max(), 100) << "0 is not above Min";
  bar.SetMax(-1);
  EXPECT_EQ(bar.Max(), 100);
  bar.SetMax(20);
  EXPECT_EQ(bar.Max(), 20);
  EXPECT_EQ(bar.Position(), 20) << "the position follows a maximum below it";
  EXPECT_EQ(bar.Percent(), 100);

  bar.SetMin(20);
  EXPECT_EQ(bar.Min(), 0) << "not below Max";
  bar.SetMin(10);
  EXPECT_EQ(bar.Min(), 10);
  bar.SetPosition(15);
  EXPECT_EQ(bar.Percent(), 50);
  bar.SetMin(12);
  EXPECT_EQ(bar.Percent(), 38) << "Min recomputes: 3 / 8 = 37.5 -> 38";

  bar.SetPosition(11);
  bar.SetMin(14);
  EXPECT_EQ(bar.Position(), 14) << "the position follows a minimum above it";
}

TEST(FxProgressBarTest, LoadingAcceptsAnEmptyRangeWhichShowsZero) {
  TTestHost host;
  TBar bar(&host);
  bar.SetPosition(50);
  WhileLoading(bar, [&] { bar.SetMax(0); });
  EXPECT_EQ(bar.Max(), 0);
  EXPECT_EQ(bar.Position(), 0);
  EXPECT_EQ(bar.Percent(), 0);
  EXPECT_EQ(bar.BarText(), L"0%");
}

TEST(FxProgressBarTest, BorderWidthMustLeaveRoomForTheBar) {
  TTestHost host;
  TBar bar(&host);
  bar.SetBorderWidth(7);
  EXPECT_EQ(bar.BorderWidth(), 7);
  bar.SetBorderWidth(8);
  EXPECT_EQ(bar.BorderWidth(), 7);
  bar.SetBorderWidth(-1);
  EXPECT_EQ(bar.BorderWidth(), 7);
  bar.SetBorderWidth(0);
  EXPECT_EQ(bar.BorderWidth(), 0);
}

TEST(FxProgressBarTest, TextJoinsPercentageAndCaption) {
  TTestHost host;
  TBar bar(&host);
  bar.SetPosition(7);
  bar.SetCaption(L"done");
  EXPECT_EQ(bar.BarText(), L"7% done");
  bar.SetShowText(false);
  EXPECT_EQ(bar.BarText(), L"done");
  bar.SetShowCaption(false);
  EXPECT_EQ(bar.BarText(), L"");
  bar.SetShowText(true);
  EXPECT_EQ(bar.BarText(), L"7%");
}

TEST(FxProgressBarTest, CachedGradientFollowsSizeAndColours) {
  TTestHost host;
  TBar bar(&host);
  // gtVertical over 16 rows: steps 4.6875, 3.6875, 2.625; row 4 is 144.75, 165.75, 192.5.
  EXPECT_EQ(bar.GradientImage().Pixel(10, 0), RGBColor(126, 151, 182));
  EXPECT_EQ(bar.GradientImage().Pixel(10, 4), RGBColor(145, 166, 192));
  bar.SetBounds(0, 0, 100, 40);
  EXPECT_EQ(bar.GradientImage().Width(), 100);
  // Over 40 rows the steps are 1.875, 1.475, 1.05: row 4 is 133.5, 156.9, 186.2.
  EXPECT_EQ(bar.GradientImage().Pixel(10, 4), RGBColor(134, 157, 186));
  bar.SetDefaultFrom(RGBColor(0, 0, 0));
  EXPECT_EQ(bar.GradientImage().Pixel(10, 0), RGBColor(0, 0, 0));
  bar.SetGradientType(gtHorizontal);
  EXPECT_EQ(bar.GradientImage().Pixel(0, 30), RGBColor(0, 0, 0));
  EXPECT_NE(bar.GradientImage().Pixel(50, 0), RGBColor(0, 0, 0));
}

TEST(FxProgressBarTest, PaintedBarShowsTheUnstretchedGradient) {
  TTestHost host;
  TBar bar(&host);
  bar.SetShowText(false);
  bar.SetPosition(40); // bar (0, 0, 60, 16), shrunk by 1 + 1: (2, 2, 58, 14)
  TBitmap shot;
  bar.Render(shot);
  const TBitmap& gradient = bar.GradientImage();
  const TColor background = ColorToRGB(bar.Color());
  for (int y = 2; y < 14; ++y)
    for (int x : {2, 30, 57})
      EXPECT_EQ(shot.Pixel(x, y), gradient.Pixel(x, y)) << x << "," << y;
  EXPECT_EQ(shot.Pixel(58, 8), background);
  EXPECT_EQ(shot.Pixel(1, 8), background) << "the gap inside the edge line";
  EXPECT_EQ(shot.Pixel(120, 8), background);
  // Edge lines on all four sides.
  for (auto [x, y] : {std::pair{0, 8}, {149, 8}, {70, 0}, {70, 15}, {0, 0}})
    EXPECT_EQ(shot.Pixel(x, y), clGray) << x << "," << y;

  // Without edge lines and border the bar reaches the edge; vertical bars grow from the bottom.
  bar.SetBorderLines({});
  bar.SetBorderWidth(0);
  bar.SetOrientation(pbVertical);
  bar.SetPosition(25); // (0, 75 * 16 div 100 = 12, 150, 16)
  EXPECT_EQ(bar.BarRect(RECT{0, 0, 150, 16}).top, 12);
  bar.Render(shot);
  EXPECT_EQ(shot.Pixel(0, 12), gradient.Pixel(0, 12));
  EXPECT_EQ(shot.Pixel(149, 15), gradient.Pixel(149, 15));
  EXPECT_EQ(shot.Pixel(75, 11), background);
  EXPECT_EQ(shot.Pixel(0, 0), background);

  bar.SetPosition(0);
  bar.Render(shot);
  EXPECT_EQ(shot.Pixel(75, 15), background) << "nothing at 0 %";
}

TEST(FxProgressBarTest, PercentageIsWrittenInTheMiddle) {
  TTestHost host;
  TBar bar(&host);
  bar.SetPosition(50);
  TBitmap plain, written;
  bar.SetShowText(false);
  bar.Render(plain);
  bar.SetShowText(true);
  bar.Render(written);
  int changedMiddle = 0, changedOutside = 0;
  for (int y = 0; y < 16; ++y)
    for (int x = 0; x < 150; ++x) {
      bool changed = plain.Pixel(x, y) != written.Pixel(x, y);
      (x >= 55 && x < 95 ? changedMiddle : changedOutside) += changed;
    }
  EXPECT_GT(changedMiddle, 5);
  EXPECT_EQ(changedOutside, 0);
}

// Shows a bar in a real window and takes the screen's pixels: the file is for a person to look
// at (build folder, styled_progressbar.bmp); the test checks the bar against its gradient.
TEST(FxProgressBarTest, ShowsInARealWindow) {
  TWinControl form(nullptr);
  form.SetBounds(40, 40, 260, 90);
  form.SetColor(RGBColor(236, 233, 216));
  TBar bar(&form);
  bar.SetBounds(20, 20, 220, 22);
  bar.SetPosition(62);
  bar.SetCaption(L"Scanning");
  form.Show();
  ::ShowWindow(form.Handle(), SW_SHOWNORMAL);
  ::SetWindowPos(form.Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  POINT origin = bar.ClientToScreen(POINT{0, 0});
  RECT outer;
  ::GetWindowRect(form.Handle(), &outer);
  TBitmap screen(outer.right - outer.left, outer.bottom - outer.top);
  const int dx = origin.x - outer.left, dy = origin.y - outer.top;
  // 62 % of 220 is 136 columns; inside the edge lines and the border, left of the text.
  auto mismatches = [&] {
    int wrong = 0;
    for (int y = 2; y < 20; ++y)
      for (int x : {2, 20, 40})
        wrong += screen.Pixel(dx + x, dy + y) != DefaultGradientAt(y, 22);
    wrong += screen.Pixel(dx + 200, dy + 10) != ColorToRGB(bar.Color());
    wrong += screen.Pixel(dx, dy + 10) != clGray;
    return wrong;
  };
  // The screen shows the window once the system has had it painted: waited for, not timed.
  PumpUntil([&] {
    HDC screenDC = ::GetDC(nullptr);
    ::BitBlt(screen.Canvas().Handle(), 0, 0, screen.Width(), screen.Height(), screenDC, outer.left,
             outer.top, SRCCOPY);
    ::ReleaseDC(nullptr, screenDC);
    ::GdiFlush();
    return mismatches() == 0;
  });
  screen.SaveToFile(L"styled_progressbar.bmp");
  EXPECT_EQ(mismatches(), 0);
  form.Hide();
}
