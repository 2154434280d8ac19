#include "ui/Bitmap.h"
#include "ui/Canvas.h"
#include "ui/Exception.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

TEST(BitmapTest, RowsAreTopDownBgrAndPaddedToFourBytes) {
  TBitmap b(5, 3);
  EXPECT_EQ(b.Stride(), 16); // 15 bytes rounded up
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 5; ++x)
      EXPECT_EQ(b.Pixel(x, y), clBlack) << "new pixels are zero";
  EXPECT_EQ(static_cast<uint8_t*>(b.ScanLine(1)) - static_cast<uint8_t*>(b.ScanLine(0)), 16);

  b.SetPixel(2, 1, RGBColor(10, 20, 30));
  const uint8_t* row = static_cast<const uint8_t*>(b.ScanLine(1));
  EXPECT_EQ(row[6], 30); // blue
  EXPECT_EQ(row[7], 20); // green
  EXPECT_EQ(row[8], 10); // red
  // GDI sees the same pixel at the same place: row 0 is the top.
  EXPECT_EQ(GetPixel(b.Canvas().Handle(), 2, 1), RGB(10, 20, 30));

  b.Canvas().SetPixels(4, 0, clRed);
  GdiFlush();
  EXPECT_EQ(static_cast<const uint8_t*>(b.ScanLine(0))[14], 255);
  EXPECT_THROW(b.ScanLine(3), EInvalidOperation);
}

TEST(BitmapTest, ResizingKeepsTheOverlapAndZeroesTheRest) {
  TBitmap b(2, 2);
  b.Fill(clWhite);
  b.SetSize(3, 1);
  EXPECT_EQ(b.Pixel(0, 0), clWhite);
  EXPECT_EQ(b.Pixel(1, 0), clWhite);
  EXPECT_EQ(b.Pixel(2, 0), clBlack);
  b.SetSize(0, 0);
  EXPECT_TRUE(b.Empty());
  b.SetSize(4, 4);
  EXPECT_EQ(b.Pixel(3, 3), clBlack);
  EXPECT_EQ(b.Pixel(4, 0), clNone) << "outside";
}

TEST(BitmapTest, CanvasShapesLandOnTheExpectedPixels) {
  TBitmap b(20, 20);
  TCanvas& c = b.Canvas();
  c.Brush().SetColor(clBlue);
  c.FillRect(MakeRect(2, 2, 6, 6));
  c.Pen().SetColor(clRed);
  c.Brush().SetColor(clLime);
  c.Rectangle(MakeRect(10, 10, 15, 15));
  c.Brush().SetColor(clYellow);
  c.FrameRect(MakeRect(0, 16, 4, 20));
  c.Pen().SetColor(clWhite);
  c.MoveTo(0, 8);
  c.LineTo(5, 8);
  GdiFlush();
  EXPECT_EQ(b.Pixel(2, 2), clBlue);
  EXPECT_EQ(b.Pixel(5, 5), clBlue);
  EXPECT_EQ(b.Pixel(6, 6), clBlack) << "right and bottom are exclusive";
  EXPECT_EQ(b.Pixel(10, 10), clRed) << "outline";
  EXPECT_EQ(b.Pixel(14, 14), clRed);
  EXPECT_EQ(b.Pixel(12, 12), clLime) << "inside";
  EXPECT_EQ(b.Pixel(15, 15), clBlack);
  EXPECT_EQ(b.Pixel(0, 16), clYellow);
  EXPECT_EQ(b.Pixel(1, 17), clBlack) << "a frame has no inside";
  EXPECT_EQ(b.Pixel(4, 8), clWhite);
  EXPECT_EQ(b.Pixel(5, 8), clBlack) << "the last point of a line is not drawn";
  EXPECT_EQ(c.Pixels(12, 12), clLime);
}

TEST(BitmapTest, ClippingAndTheClipSaveRestoreIt) {
  TBitmap b(10, 10);
  TCanvas& c = b.Canvas();
  c.Brush().SetColor(clWhite);
  {
    TClipSave save(c.Handle());
    c.IntersectClipRect(MakeRect(0, 0, 5, 10));
    c.FillRect(MakeRect(0, 0, 10, 10));
    EXPECT_EQ(RectWidth(c.ClipRect()), 5);
  }
  GdiFlush();
  EXPECT_EQ(b.Pixel(4, 4), clWhite);
  EXPECT_EQ(b.Pixel(5, 4), clBlack);
  TGdiObject region(CreateRectRgn(0, 0, 3, 3));
  c.SelectClipRgn(static_cast<HRGN>(region.Get()));
  c.Brush().SetColor(clRed);
  c.FillRect(MakeRect(0, 0, 10, 10));
  c.SelectClipRgn(nullptr);
  GdiFlush();
  EXPECT_EQ(b.Pixel(2, 2), clRed);
  EXPECT_EQ(b.Pixel(3, 3), clWhite);
  EXPECT_EQ(RectWidth(c.ClipRect()), 10) << "the clip was lifted";
}

TEST(BitmapTest, DrawCopiesAndTransparentDrawLeavesTheKeyColourOut) {
  TBitmap glyph(3, 3);
  glyph.Fill(clFuchsia);
  glyph.SetPixel(1, 1, clGreen);
  TBitmap dest(6, 6);
  dest.Fill(clWhite);
  dest.Canvas().Draw(0, 0, glyph);
  glyph.SetTransparent(true);
  EXPECT_EQ(glyph.TransparentColor(), clFuchsia) << "the bottom-left pixel";
  dest.Canvas().Draw(3, 3, glyph);
  GdiFlush();
  EXPECT_EQ(dest.Pixel(0, 0), clFuchsia);
  EXPECT_EQ(dest.Pixel(1, 1), clGreen);
  EXPECT_EQ(dest.Pixel(3, 3), clWhite);
  EXPECT_EQ(dest.Pixel(4, 4), clGreen);

  TBitmap big(6, 6);
  big.Canvas().StretchDraw(MakeRect(0, 0, 6, 6), dest);
  big.Canvas().CopyRect(MakeRect(0, 0, 2, 2), dest.Canvas(), MakeRect(4, 4, 6, 6));
  GdiFlush();
  EXPECT_EQ(big.Pixel(0, 0), clGreen);
  EXPECT_EQ(big.Pixel(5, 5), clWhite);

  TBitmap copy;
  copy.Assign(glyph);
  EXPECT_EQ(copy.Width(), 3);
  EXPECT_EQ(copy.Pixel(1, 1), clGreen);
  EXPECT_TRUE(copy.Transparent());
}

TEST(BitmapTest, TextUsesFontColourAndBrushDecidesTheBackground) {
  TBitmap b(60, 20);
  b.Fill(clWhite);
  TCanvas& c = b.Canvas();
  c.Font().SetName(L"Tahoma");
  c.Font().SetColor(clBlack);
  c.Brush().SetStyle(bsClear);
  SIZE size = c.TextExtent(L"WWW");
  EXPECT_GT(size.cx, 10);
  EXPECT_EQ(c.TextWidth(L"WWW"), size.cx);
  c.TextOut(0, 0, L"WWW");
  GdiFlush();
  int black = 0;
  for (int x = 0; x < size.cx; ++x)
    for (int y = 0; y < size.cy; ++y)
      black += b.Pixel(x, y) != clWhite;
  EXPECT_GT(black, 0);
  EXPECT_EQ(b.Pixel(59, 19), clWhite) << "clear brush: no background";

  RECT r = MakeRect(0, 0, 0, 0);
  int height = c.DrawTextW(L"Hello", r, DT_CALCRECT | DT_SINGLELINE);
  EXPECT_EQ(height, RectHeight(r));
  EXPECT_EQ(RectWidth(r), c.TextWidth(L"Hello"));

  int before = c.TextWidth(L"Hello");
  TFont bold;
  bold.SetName(L"Tahoma");
  bold.SetHeight(-30);
  c.Font().Assign(bold);
  EXPECT_GT(c.TextWidth(L"Hello"), before) << "a changed font is used at once";
}

TEST(BitmapTest, SavedFileReadsBackPixelForPixel) {
  TBitmap b(7, 3);
  b.SetPixel(0, 0, RGBColor(1, 2, 3));
  b.SetPixel(6, 2, RGBColor(200, 100, 50));
  wchar_t dir[MAX_PATH];
  GetTempPathW(MAX_PATH, dir);
  std::wstring path = std::wstring(dir) + L"varnox_bitmap_test.bmp";
  b.SaveToFile(path);
  TBitmap back;
  back.LoadFromFile(path);
  DeleteFileW(path.c_str());
  ASSERT_EQ(back.Width(), 7);
  ASSERT_EQ(back.Height(), 3);
  EXPECT_EQ(back.Pixel(0, 0), RGBColor(1, 2, 3));
  EXPECT_EQ(back.Pixel(6, 2), RGBColor(200, 100, 50));
  EXPECT_THROW(back.LoadFromResource(L"NO_SUCH_BITMAP"), EResNotFound);
}

TEST(FontTest, SizeAndHeightAgreeAndChangesAreAnnounced) {
  TFont f;
  EXPECT_EQ(f.Height(), -11);
  EXPECT_EQ(f.Name(), L"MS Sans Serif");
  int changes = 0;
  f.OnChange = [&](TObject*) { ++changes; };
  f.SetSize(8);
  EXPECT_EQ(f.Height(), -11) << "8 points are 10.67 pixels at 96 DPI";
  f.SetColor(clBlue);
  f.SetStyle({fsBold});
  f.SetStyle({fsBold});
  EXPECT_EQ(changes, 3);
  HFONT h = f.Handle();
  LOGFONTW lf;
  GetObjectW(h, sizeof lf, &lf);
  EXPECT_EQ(lf.lfWeight, FW_BOLD);
  TFont copy(f);
  EXPECT_TRUE(copy.SameAs(f));
}

TEST(FontTest, TheGdiFontIsMadeForTheFontsDpi) {
  // A height is a length at 96 DPI and scales as one; a point size is points * DPI / 72 pixels.
  struct TCase {
    int dpi, heightOfMinus11, heightOf8Points;
  };
  const TCase cases[] = {{96, -11, -11}, {120, -14, -13}, {144, -17, -16}, {192, -22, -21}};
  for (const TCase& c : cases) {
    TFont byHeight, byPoints;
    byHeight.SetHeight(-11);
    byPoints.SetSize(8);
    for (TFont* f : {&byHeight, &byPoints}) {
      f->Handle();
      f->SetDpi(c.dpi);
    }
    auto madeHeight = [](const TFont& f) {
      LOGFONTW lf{};
      GetObjectW(f.Handle(), sizeof lf, &lf);
      return lf.lfHeight;
    };
    EXPECT_EQ(madeHeight(byHeight), c.heightOfMinus11) << c.dpi;
    EXPECT_EQ(madeHeight(byPoints), c.heightOf8Points) << c.dpi;
    TCanvas carried, drawingFor;
    carried.Font().Assign(byPoints);
    EXPECT_EQ(madeHeight(carried.Font()), c.heightOf8Points) << "the DPI goes with the font";
    drawingFor.SetDpi(c.dpi);
    TFont designed;
    designed.SetSize(8);
    drawingFor.Font().Assign(designed);
    EXPECT_EQ(madeHeight(drawingFor.Font()), c.heightOf8Points) << "made for the canvas's DPI";
  }
}

TEST(BitmapTest, PolygonsPolylinesAndRoundedCorners) {
  TBitmap b(30, 30);
  TCanvas& c = b.Canvas();
  c.Pen().SetColor(clRed);
  c.Brush().SetColor(clLime);
  c.Polygon({{0, 0}, {20, 0}, {0, 20}});
  c.Pen().SetColor(clWhite);
  c.Polyline({{25, 0}, {25, 10}, {29, 10}});
  c.Brush().SetColor(clBlue);
  c.Pen().SetStyle(psClear);
  c.RoundRect(MakeRect(10, 15, 30, 30), 10, 10);
  GdiFlush();
  EXPECT_EQ(b.Pixel(3, 3), clLime) << "inside the triangle";
  EXPECT_EQ(b.Pixel(0, 5), clRed) << "its outline";
  EXPECT_EQ(b.Pixel(12, 12), clBlack) << "beyond the hypotenuse";
  EXPECT_EQ(b.Pixel(25, 5), clWhite);
  EXPECT_EQ(b.Pixel(27, 10), clWhite);
  EXPECT_EQ(b.Pixel(20, 22), clBlue) << "inside the rounded box";
  EXPECT_EQ(b.Pixel(10, 15), clBlack) << "a rounded corner leaves its tip";
}
