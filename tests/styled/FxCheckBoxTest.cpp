#include "styled/FxCheckBox.h"

#include "TestHost.h"

#include <gtest/gtest.h>

namespace {

// The mark's pixels, by row from the top.
const std::vector<int> kMarkRows[8] = {
    {}, {7}, {6, 7}, {1, 5, 6, 7}, {1, 2, 4, 5, 6}, {1, 2, 3, 4, 5}, {2, 3, 4}, {3}};

bool InMark(int x, int y) {
  for (int m : kMarkRows[y])
    if (m == x) return true;
  return false;
}

} // namespace

TEST(FxCheckBoxTest, CheckResourceIsTheEightBySixteenColourMark) {
  TGdiObject loaded(
      ::LoadImageW(::GetModuleHandleW(nullptr), L"CHECK", IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
  ASSERT_TRUE(loaded);
  DIBSECTION dib{};
  ASSERT_EQ(::GetObjectW(loaded.Get(), sizeof dib, &dib), int(sizeof dib));
  EXPECT_EQ(dib.dsBm.bmWidth, 8);
  EXPECT_EQ(dib.dsBm.bmHeight, 8);
  EXPECT_EQ(dib.dsBmih.biBitCount, 4);
  TBitmap mark;
  mark.LoadFromResource(L"CHECK");
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x)
      EXPECT_EQ(mark.Pixel(x, y), InMark(x, y) ? RGBColor(0, 0, 0) : RGBColor(255, 0, 255))
          << x << ", " << y;
}

// The box image lands on the control at B's corner, and the mark stands at B + (2, 2) in it:
// CheckColor when enabled, grey when disabled, with the box showing through around it.
TEST(FxCheckBoxTest, MarkIsTintedGreenOrGreyAtTheBoxCorner) {
  TTestHost host;
  TFxCheckBox box(nullptr);
  box.SetParent(&host);
  box.SetCaption(L"Recycle Bin");
  box.SetChecked(true);
  const RECT b = box.BoxRect();
  EXPECT_EQ(b.left, 1);
  EXPECT_EQ(b.top, 1);
  TBitmap image;
  for (bool enabled : {true, false}) {
    box.SetEnabled(enabled);
    Render(box, image);
    const TColor mark = enabled ? ColorToRGB(clGreen) : ColorToRGB(clGray);
    for (int y = 0; y < 8; ++y)
      for (int x = 0; x < 8; ++x) {
        TColor p = image.Pixel(2 * b.left + 2 + x, 2 * b.top + 2 + y);
        if (InMark(x, y))
          EXPECT_EQ(p, mark) << x << ", " << y << (enabled ? "" : " disabled");
        else
          EXPECT_NE(p, mark) << x << ", " << y;
      }
  }
  // Disabled, the caption is engraved: highlight below right of the shadow-coloured text.
  int highlight = 0, shadow = 0;
  for (int y = 0; y < image.Height(); ++y)
    for (int x = 20; x < image.Width(); ++x) {
      highlight += image.Pixel(x, y) == ColorToRGB(clBtnHighlight);
      shadow += image.Pixel(x, y) == ColorToRGB(clBtnShadow);
    }
  EXPECT_GT(highlight, 10);
  EXPECT_GT(shadow, 10);
  box.SetChecked(false);
  Render(box, image);
  EXPECT_NE(image.Pixel(2 * b.left + 2 + 3, 2 * b.top + 2 + 7), ColorToRGB(clGray));
}

TEST(FxCheckBoxTest, ClickTogglesThenRaisesOnClickAndPressFades) {
  TTestHost host;
  TFxCheckBox box(nullptr);
  box.SetParent(&host);
  std::vector<bool> seen;
  box.OnClick = [&](TObject*) { seen.push_back(box.Checked()); };
  ClickWithMouse(box);
  ClickWithMouse(box);
  EXPECT_EQ(seen, (std::vector<bool>{true, false}));
  RunFade(box);

  SendMouse(box, WM_LBUTTONDOWN);
  RunFade(box);
  EXPECT_EQ(box.PressLevel(), 100);
  EXPECT_EQ(box.HoverLevel(), 100);
  SendMouse(box, WM_MOUSELEAVE);
  EXPECT_EQ(box.StateFlags(), 0) << "leaving drops the press too";
  RunFade(box);
  EXPECT_EQ(box.PressLevel(), 0);
  EXPECT_EQ(box.HoverLevel(), 0);
  SendMouse(box, WM_LBUTTONUP, 500, 5);
  EXPECT_EQ(seen.size(), 2u) << "a release outside is no click";
}
