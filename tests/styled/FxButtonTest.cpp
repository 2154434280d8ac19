#include "styled/FxButton.h"

#include "TestHost.h"

#include <gtest/gtest.h>

namespace {

// A 6 x 4 glyph of pure red; its bottom-left pixel is magenta, the colour left out.
void RedGlyph(TBitmap& glyph) {
  glyph.SetSize(6, 4);
  glyph.Fill(clRed);
  glyph.SetPixel(0, 3, clFuchsia);
}

SIZE TextSize(const TWinControl& control, const std::wstring& text) {
  TBitmap scratch(1, 1);
  scratch.Canvas().Font().Assign(control.Font());
  return scratch.Canvas().TextExtent(text);
}

} // namespace

TEST(FxButtonTest, GlyphStandsWhereTheLayoutSays) {
  TTestHost host;
  TFxButton button(nullptr);
  button.SetParent(&host);
  TBitmap glyph;
  RedGlyph(glyph);
  button.SetGlyph(glyph);
  const int gw = 6, gh = 4, s = 2;
  const SIZE t = TextSize(button, L"Find");
  // With a text the glyph stands Spacing away from the text's box, which is centred in the
  // caption rectangle and half a pixel to the top left when it cannot be.
  auto textBox = [&](const RECT& caption) {
    const int left = caption.left + (caption.right - caption.left - t.cx) / 2;
    const int top = caption.top + (caption.bottom - caption.top - t.cy) / 2;
    return RECT{left, top, left + t.cx, top + t.cy};
  };
  const RECT left{8, 0, 75, 25}, right{-8, 0, 75, 25}, top{0, 8, 75, 25}, bottom{0, -8, 75, 25};
  struct {
    TButtonLayout layout;
    bool text;
    RECT caption; // moved aside by the glyph's width plus Spacing
    int x, y;     // the glyph's top left corner, worked out by hand without a text
  } cases[] = {
      {blGlyphLeft, true, left, textBox(left).left - s - gw, 10},
      {blGlyphLeft, false, left, 34, 10},
      {blGlyphRight, true, right, textBox(right).right + s, 10},
      {blGlyphRight, false, right, 35, 10},
      {blGlyphTop, true, top, 34, textBox(top).top - s - gh},
      {blGlyphTop, false, top, 34, 10},
      {blGlyphBottom, true, bottom, 34, textBox(bottom).bottom + s},
      {blGlyphBottom, false, bottom, 34, 10},
  };
  TBitmap image;
  for (const auto& c : cases) {
    button.SetLayout(c.layout);
    button.SetCaption(c.text ? L"Find" : L"");
    RECT caption = button.CaptionRect();
    EXPECT_TRUE(SameRect(caption, c.caption)) << "layout " << int(c.layout);
    Render(button, image);
    // Top-left corner of the red block; the magenta corner is left out.
    EXPECT_EQ(image.Pixel(c.x, c.y), ColorToRGB(clRed)) << "layout " << int(c.layout);
    EXPECT_NE(image.Pixel(c.x - 1, c.y), ColorToRGB(clRed));
    EXPECT_NE(image.Pixel(c.x, c.y - 1), ColorToRGB(clRed));
    EXPECT_NE(image.Pixel(c.x, c.y + gh - 1), ColorToRGB(clFuchsia)) << "kept transparent";
  }
  // A hidden caption counts as no text.
  button.SetLayout(blGlyphLeft);
  button.SetCaption(L"Find");
  button.SetShowCaption(false);
  Render(button, image);
  EXPECT_EQ(image.Pixel(34, 10), ColorToRGB(clRed));
  // A disabled button shows its glyph tinted dark grey.
  button.SetEnabled(false);
  Render(button, image);
  TColor tinted = image.Pixel(34, 10);
  EXPECT_EQ(tinted, RGBColor(85 + 64, 85 + 64, 85 + 64));
  button.SetSpacing(-5);
  EXPECT_EQ(button.Spacing(), 0);
}

TEST(FxButtonTest, GroupButtonsLatchUnderTheMouse) {
  TTestHost host;
  TFxButton a(nullptr), b(nullptr), plain(nullptr);
  for (TFxButton* button : {&a, &b, &plain})
    button->SetParent(&host);
  a.SetGroupIndex(1);
  b.SetGroupIndex(1);
  b.SetLeft(80);

  ClickWithMouse(a);
  EXPECT_TRUE(a.Down());
  ClickWithMouse(a);
  EXPECT_TRUE(a.Down()) << "the only latched button of a group stays down";
  ClickWithMouse(b);
  EXPECT_TRUE(b.Down());
  EXPECT_FALSE(a.Down()) << "another button of the group releases it";
  b.SetAllowAllUp(true);
  ClickWithMouse(b);
  EXPECT_FALSE(b.Down()) << "with AllowAllUp all may be up";

  plain.SetDown(true);
  EXPECT_FALSE(plain.Down()) << "Down needs a group";
  ClickWithMouse(plain);
  EXPECT_FALSE(plain.Down());
}

// Hover fades in over ten ticks, the press over four, the release keeps the hover, and
// leaving fades it out; a latched button keeps its hover look when the mouse goes.
TEST(FxButtonTest, RealMouseMessagesDriveTheFades) {
  TTestHost host;
  TFxButton button(nullptr), latched(nullptr);
  button.SetParent(&host);
  latched.SetParent(&host);
  int clicks = 0;
  button.OnClick = [&](TObject*) { ++clicks; };

  SendMouse(button, WM_MOUSEMOVE);
  EXPECT_EQ(button.FadeTimerInterval(), 20u);
  EXPECT_EQ(RunFade(button), 10);
  EXPECT_EQ(button.HoverLevel(), 100);
  SendMouse(button, WM_LBUTTONDOWN);
  RunFade(button);
  EXPECT_EQ(button.PressLevel(), 100);
  SendMouse(button, WM_LBUTTONUP);
  EXPECT_EQ(clicks, 1);
  RunFade(button);
  EXPECT_EQ(button.PressLevel(), 0);
  EXPECT_EQ(button.HoverLevel(), 100);
  SendMouse(button, WM_MOUSELEAVE);
  RunFade(button);
  EXPECT_EQ(button.HoverLevel(), 0);

  // Released outside: no click, and the press fades.
  SendMouse(button, WM_MOUSEMOVE);
  SendMouse(button, WM_LBUTTONDOWN);
  SendMouse(button, WM_LBUTTONUP, 200, 5);
  EXPECT_EQ(clicks, 1);

  latched.SetGroupIndex(1);
  SendMouse(latched, WM_MOUSEMOVE);
  RunFade(latched);
  SendMouse(latched, WM_LBUTTONDOWN);
  SendMouse(latched, WM_LBUTTONUP);
  SendMouse(latched, WM_MOUSELEAVE);
  EXPECT_TRUE(latched.StateFlags() & TFxCustomControl::kMouseOver);
  RunFade(latched);
  EXPECT_EQ(latched.HoverLevel(), 100);
  EXPECT_EQ(latched.PressLevel(), 100);
}

TEST(FxButtonTest, ColourAndGradientChangesRenderTheImagesAgain) {
  TTestHost host;
  TFxButton button(nullptr);
  button.SetParent(&host);
  EXPECT_EQ(button.RestImage().Pixel(10, 0), ColorToRGB(clWhite));
  TBitmap image;
  Render(button, image);
  button.Colors().SetDefaultFrom(clRed);
  EXPECT_EQ(button.RestImage().Pixel(10, 0), ColorToRGB(clRed));
  Render(button, image);
  EXPECT_EQ(image.Pixel(10, 1), ColorToRGB(clRed)) << "a frame drawn before is not shown again";
  button.SetGradientType(gtHorizontal);
  EXPECT_EQ(button.RestImage().Pixel(0, 20), ColorToRGB(clRed));
  button.SetBounds(0, 0, 100, 30);
  EXPECT_EQ(button.HoverImage().Width(), 100);
  EXPECT_EQ(button.PressedImage().Height(), 30);
}
