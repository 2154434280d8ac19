#include "grid/Columns.h"
#include "grid/DefaultStyleDisplay.h"
#include "grid/HeaderDisplays.h"
#include "grid/HeaderStyles.h"
#include "grid/HeaderTheme.h"
#include "grid/PaintColors.h"
#include "ui/Bitmap.h"

#include "PixelInk.h"

#include <gtest/gtest.h>

#include <iterator>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace {

constexpr TColor kHeaderColor = RGBColor(210, 220, 230);
constexpr TColor kBackground = RGBColor(1, 2, 3);

// A theme that records what it is asked to draw, paints a marker colour, or fails.
struct FakeTheme : THeaderTheme {
  struct Call {
    int part, state;
    RECT rect;
  };
  std::vector<Call>* calls;
  bool fails;
  FakeTheme(std::vector<Call>* calls, bool fails) : calls(calls), fails(fails) {}
  bool DrawItem(HWND, HDC dc, int part, int state, const RECT& rect) override {
    calls->push_back({part, state, rect});
    if (fails) return false;
    HBRUSH brush = CreateSolidBrush(RGB(0, 200, 0));
    FillRect(dc, &rect, brush);
    DeleteObject(brush);
    return true;
  }
};

struct StyleDisplayTest : ::testing::Test {
  TVxColumns columns;
  TVxCustomColumn *a, *b, *c;
  TBitmap bitmap{300, 40};
  std::vector<FakeTheme::Call> calls;

  void SetUp() override {
    a = columns.Add<TVxCustomColumn>(L"A");
    b = columns.Add<TVxCustomColumn>(L"B");
    c = columns.Add<TVxCustomColumn>(L"C");
    for (TVxCustomColumn* col : {a, b, c})
      col->Header().SetColor(kHeaderColor);
    a->Header().SetCaption(L"Name");
    bitmap.Fill(kBackground);
    bitmap.Canvas().Font().SetName(L"Tahoma");
    bitmap.Canvas().Font().SetColor(clBlack);
  }
  TColor At(int x, int y) {
    GdiFlush();
    return bitmap.Pixel(x, y);
  }
  // Begins a pass of display on the test bitmap.
  TStyleDisplay& Pass(TStyleDisplay& display, bool themed = false, int pressed = -1, int hot = -1) {
    display.BeginPass(bitmap.Canvas(), themed, pressed, hot);
    return display;
  }
  int CountColor(const RECT& r, TColor color) {
    GdiFlush();
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        n += bitmap.Pixel(x, y) == color;
    return n;
  }
};

const TColor kLight = ColorToRGB(clBtnHighlight);
const TColor kShadow = ColorToRGB(clBtnShadow);

} // namespace

TEST_F(StyleDisplayTest, CaptionGlyphAndArrowPlacement) {
  const RECT r = MakeRect(100, 0, 200, 18);
  struct Case {
    TAlignment align;
    int glyph;
    bool sorted;
    int captionX, glyphX;
  };
  const Case cases[] = {
      {taLeftJustify, 0, false, 102, 102},  {taRightJustify, 0, false, 170, 170},
      {taRightJustify, 0, true, 139, 139},  {taCenter, 0, false, 135, 135},
      {taLeftJustify, 16, false, 121, 103}, {taRightJustify, 16, false, 170, 152},
      {taRightJustify, 16, true, 139, 121}, {taCenter, 16, true, 144, 126},
  };
  for (const Case& c : cases) {
    THeaderPlacement p = PlaceHeaderContent(r, c.align, 30, c.glyph, c.sorted);
    EXPECT_EQ(p.captionX, c.captionX) << int(c.align) << c.glyph << c.sorted;
    EXPECT_EQ(p.glyphX, c.glyphX) << int(c.align) << c.glyph << c.sorted;
  }
  POINT arrow = SortArrowPos(r, 139, 30);
  EXPECT_EQ(arrow.x, 188);
  EXPECT_EQ(arrow.y, 5);
  EXPECT_TRUE(SortArrowShown(arrow, 200, true)) << "188 + 8 < 200";
  EXPECT_FALSE(SortArrowShown(POINT{192, 5}, 200, true));
  EXPECT_TRUE(SortArrowShown(POINT{192, 5}, 200, false)) << "HideArrow off: always";
}

TEST_F(StyleDisplayTest, GlyphIsTransparentAndVerticalCaptionsStandUpright) {
  TBitmap glyph(6, 4);
  glyph.Fill(clFuchsia);
  glyph.SetPixel(2, 1, clRed);
  a->Header().SetGlyph(glyph);
  a->Header().SetDisplayMode(dmTextAndImage);
  TFlatStyleDisplay display(nullptr);
  Pass(display).DrawHeader(*a, MakeRect(0, 0, 100, 18));
  // Left-aligned glyph at x + 3, centred down: top at (18 - 4) / 2.
  EXPECT_EQ(At(3 + 2, 7 + 1), clRed);
  EXPECT_EQ(At(3, 7), kHeaderColor) << "the bottom-left colour is left out";
  EXPECT_EQ(CountColor(MakeRect(0, 0, 11, 17), clBlack), 0) << "caption starts after the glyph";
  EXPECT_GT(CountColor(MakeRect(11, 0, 60, 17), clBlack), 0);
  a->Header().SetDisplayMode(dmImageOnly);
  Pass(display).DrawHeader(*a, MakeRect(0, 0, 100, 18));
  EXPECT_EQ(CountColor(MakeRect(11, 0, 99, 17), clBlack), 0) << "image only: no caption";

  a->Header().SetDisplayMode(dmTextOnly);
  a->Header().SetOrientation(hoVertical);
  Pass(display).DrawHeader(*a, MakeRect(100, 0, 130, 40));
  RECT ink = InkBox(bitmap, MakeRect(100, 0, 130, 40), [](TColor c) { return c == clBlack; });
  EXPECT_GT(RectHeight(ink), RectWidth(ink)) << "the caption stands upright";
  EXPECT_GE(ink.bottom, 30) << "bottom-aligned";
}

TEST_F(StyleDisplayTest, DefaultClassicFrameShortensTheEdgesBetweenNeighbours) {
  TDefaultStyleDisplay display(nullptr);
  Pass(display);
  EXPECT_EQ(display.GetCapabilities(), kInvertsPressedHeader);
  display.DrawHeaderBackground(*a, MakeRect(0, 0, 80, 18));
  display.DrawHeaderBackground(*b, MakeRect(80, 0, 160, 18));
  display.DrawHeaderBackground(*c, MakeRect(160, 0, 240, 18));
  EXPECT_EQ(At(0, 0), kLight);
  EXPECT_EQ(At(0, 17), kShadow) << "the bottom edge wins the corner";
  EXPECT_EQ(At(0, 8), kLight) << "outer left edge full";
  EXPECT_EQ(At(239, 1), kShadow) << "outer right edge full";
  EXPECT_EQ(At(79, 1), kHeaderColor) << "inner edge starts 2 below the top";
  EXPECT_EQ(At(79, 2), kShadow);
  EXPECT_EQ(At(79, 15), kShadow);
  EXPECT_EQ(At(79, 16), kHeaderColor) << "and stops 2 above the bottom";
  EXPECT_EQ(At(80, 1), kHeaderColor);
  EXPECT_EQ(At(80, 2), kLight);
  EXPECT_EQ(At(40, 8), kHeaderColor);

  c->SetVisible(false);
  b->SetVisible(false);
  display.DrawHeaderBackground(*a, MakeRect(0, 20, 80, 38));
  EXPECT_EQ(At(79, 21), kShadow) << "the only visible column gets a full frame";
}

TEST_F(StyleDisplayTest, TheOtherLooksDrawTheirFaces) {
  const RECT r = MakeRect(10, 0, 90, 18);
  TFlatStyleDisplay flat(nullptr);
  Pass(flat).DrawHeaderBackground(*a, r);
  const TColor grey = ColorToRGB(clGrayText);
  EXPECT_EQ(At(89, 5), grey);
  EXPECT_EQ(At(40, 17), grey);
  EXPECT_EQ(At(10, 0), kHeaderColor) << "no light edge";

  TOldStyleDisplay old(nullptr);
  Pass(old).DrawHeaderBackground(*a, r);
  EXPECT_EQ(At(10, 5), kLight);
  EXPECT_EQ(At(89, 5), ColorToRGB(clWindowFrame));
  EXPECT_EQ(At(40, 17), ColorToRGB(clWindowFrame));
  EXPECT_EQ(At(40, 8), ColorToRGB(clBtnFace)) << "button face, not the header colour";

  TOutlookStyleDisplay outlook(nullptr);
  Pass(outlook).DrawHeaderBackground(*a, r);
  EXPECT_EQ(At(40, 17), kShadow);
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(At(40, 16 - i), BlendTowards(clBtnShadow, kHeaderColor, kOutlookShades[i])) << i;
  EXPECT_EQ(At(40, 13), kHeaderColor);
  RECT text = r;
  outlook.AdjustTextRect(text);
  EXPECT_EQ(text.bottom, 15);

  TVistaStyleDisplay vista(nullptr);
  a->SetSorted(true);
  Pass(vista).DrawHeaderBackground(*a, r);
  EXPECT_EQ(At(30, 3), ColorToRGB(clBtnFace));
  EXPECT_EQ(At(30, 12), clWhite);
  EXPECT_EQ(At(10, 5), clWhite);
  EXPECT_EQ(vista.GetCapabilities(), kDrawsOwnSortArrow);
  // Its own arrow, 6 x 3 pixels at the top centre, point up for ascending.
  EXPECT_EQ(CountColor(MakeRect(40, 1, 60, 4), clWhite), 2 + 4 + 6);
  EXPECT_EQ(At(49, 1), clWhite);
  EXPECT_EQ(At(48, 1), ColorToRGB(clBtnFace));
  EXPECT_EQ(At(47, 3), clWhite);
}

TEST_F(StyleDisplayTest, SortArrowThemedFilledClassicSunkenAndOmittedWhenNarrow) {
  a->Header().SetCaption(L"");
  a->SetSorted(true);
  TDefaultStyleDisplay display(nullptr);
  display.SetTheme(std::make_unique<FakeTheme>(&calls, false));
  // Empty caption, left-aligned: caption start 2, width 2, arrow at x = 23, y = 9 - 4.
  const RECT r = MakeRect(0, 0, 100, 18);
  Pass(display, true).DrawHeader(*a, r);
  const TColor grey = ColorToRGB(clGrayText);
  EXPECT_EQ(At(27, 5), grey) << "ascending: the point at the top";
  EXPECT_EQ(At(27, 8), grey);
  EXPECT_EQ(At(23, 9), grey);
  EXPECT_EQ(At(27, 10), RGBColor(0, 200, 0)) << "below the arrow: the themed face";

  a->SetSortKind(skDescending);
  Pass(display, true).DrawHeader(*a, r);
  EXPECT_EQ(At(23, 5), grey);
  EXPECT_EQ(At(27, 9), grey) << "descending: the point at the bottom";
  EXPECT_EQ(At(27, 4), RGBColor(0, 200, 0));

  Pass(display, false).DrawHeader(*a, r);
  EXPECT_EQ(At(23, 5), kShadow) << "classic: dark top and left";
  EXPECT_EQ(At(30, 5), kLight) << "light right";
  EXPECT_EQ(At(27, 8), kHeaderColor) << "outlined, not filled";

  // Narrow: the arrow would reach the header's right edge.
  bitmap.Fill(kBackground);
  const RECT narrow = MakeRect(0, 20, 30, 38);
  Pass(display, false).DrawHeader(*a, narrow);
  EXPECT_EQ(CountColor(MakeRect(1, 21, 29, 37), kShadow), 0) << "no arrow, only the frame";
  a->Header().SetHideArrow(false);
  Pass(display, false).DrawHeader(*a, narrow);
  EXPECT_EQ(At(23, 25), kShadow) << "HideArrow off draws it anyway";
}

TEST_F(StyleDisplayTest, ThemedStatesAndAFailingThemeFallsBackToClassic) {
  TDefaultStyleDisplay display(nullptr);
  display.SetTheme(std::make_unique<FakeTheme>(&calls, false));
  const RECT r = MakeRect(0, 0, 80, 18);
  Pass(display, true, b->Index(), a->Index()).DrawHeader(*a, r);
  Pass(display, true, b->Index(), a->Index()).DrawHeader(*b, r);
  Pass(display, true).DrawHeader(*c, r);
  display.DrawEmptyHeader(MakeRect(240, 0, 300, 18));
  display.DrawIndicatorCell(MakeRect(0, 0, 12, 18), 0);
  ASSERT_EQ(calls.size(), 5u);
  const int expected[][2] = {{1, 2}, {1, 3}, {1, 1}, {2, 1}, {1, 1}};
  for (size_t i = 0; i < calls.size(); ++i) {
    EXPECT_EQ(calls[i].part, expected[i][0]) << i;
    EXPECT_EQ(calls[i].state, expected[i][1]) << i;
  }
  EXPECT_EQ(display.GetCapabilities(), kDrawsThemed);

  // The theme fails in the middle of a paint: the classic look, and the paint goes on.
  display.SetTheme(std::make_unique<FakeTheme>(&calls, true));
  bitmap.Fill(kBackground);
  EXPECT_NO_THROW(Pass(display, true).DrawHeader(*c, MakeRect(160, 0, 240, 18)));
  EXPECT_NO_THROW(display.DrawEmptyHeader(MakeRect(240, 0, 300, 18)));
  EXPECT_EQ(At(239, 5), kShadow);
  EXPECT_EQ(At(200, 0), kLight);
  EXPECT_EQ(At(270, 8), ColorToRGB(clBtnFace));
  EXPECT_EQ(At(299, 5), kShadow);
}

TEST_F(StyleDisplayTest, PressedHeaderIsInvertedOnDisplaysThatSayTheyDoIt) {
  const RECT r = MakeRect(0, 0, 80, 18);
  TDefaultStyleDisplay classic(nullptr);
  Pass(classic, false, a->Index()).DrawHeader(*a, r);
  EXPECT_EQ(At(40, 8), kHeaderColor ^ 0xFFFFFF);
  EXPECT_EQ(At(0, 8), kLight) << "the first column's left edge stays";
  TFlatStyleDisplay flat(nullptr);
  Pass(flat, false, a->Index()).DrawHeader(*a, r);
  EXPECT_EQ(At(40, 8), kHeaderColor) << "the flat look shows no press";
  a->SetOptions(a->Options().Exclude(coCanClick));
  Pass(classic, false, a->Index()).DrawHeader(*a, r);
  EXPECT_EQ(At(40, 8), kHeaderColor) << "a header that cannot be clicked is never pressed";
}

TEST_F(StyleDisplayTest, StyleSwitchingAndTheBandBeyondTheColumns) {
  THeaderDisplays displays(nullptr);
  EXPECT_EQ(&displays.Active(), &displays.Display(hsAuto));
  EXPECT_TRUE(displays.SetHeaderStyle(hsVista));
  EXPECT_FALSE(displays.SetHeaderStyle(5));
  EXPECT_EQ(displays.HeaderStyle(), 5) << "stored";
  EXPECT_EQ(&displays.Active(), &displays.Display(hsVista)) << "the previous look stays";

  displays.Display(hsAuto).SetTheme(std::make_unique<FakeTheme>(&calls, false));
  const RECT client = MakeRect(0, 0, 300, 40);
  const TColor gridColor = RGBColor(255, 255, 250);
  displays.SetHeaderStyle(hsAuto);
  displays.PaintBeyondColumns(bitmap.Canvas(), client, 240, 18, true, gridColor);
  EXPECT_EQ(At(270, 5), RGBColor(0, 200, 0)) << "themed empty header item";
  EXPECT_EQ(calls.back().part, 2);
  EXPECT_EQ(At(270, 18), gridColor);
  EXPECT_EQ(At(239, 30), kBackground) << "the columns are left alone";

  for (uint8_t style : {uint8_t(5), uint8_t(hsFlatBorders)}) {
    bitmap.Fill(kBackground);
    displays.SetHeaderStyle(style);
    displays.PaintBeyondColumns(bitmap.Canvas(), client, 240, 18, true, gridColor);
    EXPECT_EQ(At(270, 0), gridColor) << "filled from the top for style " << int(style);
  }
  bitmap.Fill(kBackground);
  displays.PaintBeyondColumns(bitmap.Canvas(), client, 300, 18, true, gridColor);
  EXPECT_EQ(At(299, 30), kBackground) << "columns wider than the client: no fill";
}

// Saves grid_header_looks.bmp in the working folder: the five looks stacked (hsAuto twice,
// with the platform theme and classic), each with an indicator corner, three headers (the
// second sorted, the third pressed) and the band beyond them as the grid paints it.
TEST_F(StyleDisplayTest, PictureOfTheFiveLooks) {
  const int rowHeight = 24, headerSize = 18;
  const std::pair<THeaderStyle, bool> looks[] = {{hsAuto, true},         {hsAuto, false},
                                                 {hsFlatBorders, false}, {hsOldStyle, false},
                                                 {hsOutlook, false},     {hsVista, false}};
  const int count = static_cast<int>(std::size(looks));
  TBitmap picture(320, rowHeight * count);
  picture.Fill(clWhite);
  TCanvas& canvas = picture.Canvas();
  canvas.Font().SetName(L"Tahoma");
  canvas.Font().SetColor(clBlack);
  b->Header().SetCaption(L"Size");
  b->Header().SetAlignment(taRightJustify);
  b->SetSorted(true);
  c->Header().SetCaption(L"Type");
  c->Header().SetAlignment(taCenter);
  THeaderDisplays displays(nullptr);
  for (int i = 0; i < count; ++i) {
    auto [style, themed] = looks[i];
    displays.SetHeaderStyle(style);
    TStyleDisplay& display = displays.Active();
    display.BeginPass(canvas, themed, c->Index());
    int top = i * rowHeight;
    display.DrawIndicatorCell(MakeRect(0, top, 12, top + headerSize), 0);
    int x = 12;
    for (TVxCustomColumn* col : {a, b, c}) {
      display.DrawHeader(*col, MakeRect(x, top, x + col->Width(), top + headerSize));
      x += col->Width();
    }
    displays.PaintBeyondColumns(canvas, MakeRect(0, top, 320, top + headerSize), x, headerSize,
                                themed, clWhite);
  }
  GdiFlush();
  picture.SaveToFile(L"grid_header_looks.bmp");

  auto sameRows = [&](int i, int j) {
    for (int y = 0; y < headerSize; ++y)
      for (int x = 0; x < 320; ++x)
        if (picture.Pixel(x, i * rowHeight + y) != picture.Pixel(x, j * rowHeight + y))
          return false;
    return true;
  };
  for (int i = 1; i < count; ++i)
    for (int j = 0; j < i; ++j)
      EXPECT_FALSE(sameRows(i, j)) << "looks " << i << " and " << j << " are alike";
}
