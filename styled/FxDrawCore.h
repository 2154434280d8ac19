#pragma once
#include "ui/Bitmap.h"
#include "ui/Canvas.h"
#include "ui/Color.h"
#include "ui/Set.h"

#include <windows.h>

#include <cstdint>
#include <string>

// The drawing core of the styled controls: gradients rendered straight into 24-bit row memory,
// captions with a shadow, and the blends that make hover and press looks fade into each other.

enum TGradientType : uint8_t {
  gtHorizontal,
  gtVertical,
  gtFromTopLeft,
  gtFromTopRight,
  gtRadial,
  gtDoubleHorz,
  gtDoubleVert
};

enum TFadeSpeed : uint8_t { fsSlow, fsMedium, fsFast, fsVeryFast };

enum TBorderLine : uint8_t { blTop, blBottom, blLeft, blRight };
using TBorderLines = TSet<TBorderLine>;

// Interval of the fade timer in milliseconds.
UINT FadeInterval(TFadeSpeed speed);

// DrawTextW flags for a caption: vertically centred, no prefix, ellipsis at the end, the
// alignment, and word break or a single line.
UINT TextFormat(TAlignment alignment, bool wordWrap);

// Fills rect of a 24-bit bitmap with a gradient from fromColor to toColor; when region is not
// null only the pixels inside it are painted.
void FillGradient(TBitmap& bitmap, const RECT& rect, TColor fromColor, HRGN region,
                  TGradientType type, TColor toColor);

// Draws text with a shadow (enabled) or engraved (disabled), the shadow shiftBy pixels right
// and down (one pixel at 96 DPI).
void DrawCaptionText(TCanvas& canvas, const std::wstring& text, const TFont& font,
                     TColor shadowColor, bool shadow, UINT format, const RECT& rect, bool enabled,
                     int shiftBy = 1);

// Loads the bitmap resource name drawn for dpi: the program carries its pictures drawn anew at
// a few scales as name_120, name_144, ...; the one for the greatest DPI not above dpi is
// taken (name itself below 120), never a stretched copy.
void LoadBitmapForDpi(TBitmap& bitmap, const std::wstring& name, int dpi);

// One frame of a fading control: base copied to rect's corner moved by offset, then overlay
// blended over rect at percent.
void ComposeState(TBitmap& dest, const TBitmap& base, const TBitmap& overlay, int offset,
                  const RECT& rect, int percent);

// Blends overlay (its origin at rect's corner) into dest over rect; percent 0 keeps dest,
// 100 gives the overlay.
void BlendBitmaps(TBitmap& dest, const TBitmap& overlay, const RECT& rect, int percent);

// Copies source onto dest with its top-left corner at (x, y), leaving out the pixels of its
// transparent colour: a glyph or a check mark drawn in row memory.
void DrawTransparent(TBitmap& dest, int x, int y, const TBitmap& source);

// Recolours a glyph: every pixel becomes its grey level plus the colour, saturating at 255.
void TintBitmap(TBitmap& bitmap, TColor color);

// Antialiases the edges of a frame rendered factor times larger: the outer band of dest gets the
// average of the source pixels it covers, the inside is filled with fillColor.
void DownsampleEdges(TBitmap& dest, const TBitmap& source, int factor, TColor fillColor, int band);
