#pragma once
#include "ui/Color.h"
#include "ui/Font.h"
#include "ui/Handles.h"
#include "ui/Types.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class TBitmap;

enum TPenStyle : uint8_t {
  psSolid,
  psDash,
  psDot,
  psDashDot,
  psDashDotDot,
  psClear,
  psInsideFrame
};
// The raster operation of the pen: pmCopy draws the colour, pmNot inverts, pmXor mixes.
enum TPenMode : uint8_t { pmCopy, pmNot, pmXor, pmMerge, pmMask };

class TPen {
public:
  TColor Color() const { return color_; }
  void SetColor(TColor color);
  int Width() const { return width_; }
  void SetWidth(int width);
  TPenStyle Style() const { return style_; }
  void SetStyle(TPenStyle style);
  TPenMode Mode() const { return mode_; }
  void SetMode(TPenMode mode);
  HPEN Handle() const;

private:
  friend class TCanvas;
  void Changed();
  TColor color_ = clBlack;
  int width_ = 1;
  TPenStyle style_ = psSolid;
  TPenMode mode_ = pmCopy;
  mutable TGdiObject handle_;
  std::function<void()> releasing_;
};

enum TBrushStyle : uint8_t {
  bsSolid,
  bsClear,
  bsHorizontal,
  bsVertical,
  bsFDiagonal,
  bsBDiagonal,
  bsCross,
  bsDiagCross
};

class TBrush {
public:
  TColor Color() const { return color_; }
  // Setting a colour makes a clear brush solid again.
  void SetColor(TColor color);
  TBrushStyle Style() const { return style_; }
  void SetStyle(TBrushStyle style);
  HBRUSH Handle() const;

private:
  friend class TCanvas;
  void Changed();
  TColor color_ = clWhite;
  TBrushStyle style_ = bsSolid;
  mutable TGdiObject handle_;
  std::function<void()> releasing_;
};

// Drawing on a device context with a current pen, brush and font. The canvas selects its
// objects into the DC when an operation needs them and puts the DC's own objects back when it
// lets go of the DC (destruction or SetHandle), so a canvas may wrap a BeginPaint DC or a
// memory DC it does not own. Handle() selects all three first, for raw GDI calls.
//
// Text is drawn in the font's colour; its background follows the brush: a solid brush paints the
// text cell in the brush colour, bsClear leaves the background (set Brush().SetStyle(bsClear)
// before drawing text over a picture).
class TCanvas {
public:
  TCanvas() : TCanvas(nullptr) {}
  explicit TCanvas(HDC dc);
  TCanvas(const TCanvas&) = delete;
  TCanvas& operator=(const TCanvas&) = delete;
  ~TCanvas();

  HDC Handle();
  // Switches to another DC (or none), restoring the previous DC's own objects.
  void SetHandle(HDC dc);
  bool HandleAllocated() const { return dc_ != nullptr; }

  TPen& Pen() { return pen_; }
  TBrush& Brush() { return brush_; }
  TFont& Font() { return font_; }
  // The DPI of the control the canvas draws for: every font given to it is made for that DPI.
  // 0 (the default) leaves each font at its own DPI.
  int Dpi() const { return dpi_; }
  void SetDpi(int dpi);

  // Pen position for MoveTo/LineTo.
  POINT PenPos();
  void MoveTo(int x, int y);
  void LineTo(int x, int y);
  void Polyline(const std::vector<POINT>& points);
  void Polygon(const std::vector<POINT>& points);

  // With the brush, no outline.
  void FillRect(const RECT& rect);
  // A one-pixel frame in the brush colour.
  void FrameRect(const RECT& rect);
  // Outline with the pen, inside with the brush; right and bottom are exclusive.
  void Rectangle(const RECT& rect);
  void Rectangle(int left, int top, int right, int bottom);
  void RoundRect(const RECT& rect, int cornerWidth, int cornerHeight);
  void Ellipse(const RECT& rect);
  // The dotted inverting frame of a focused item; drawing it twice removes it.
  void DrawFocusRect(const RECT& rect);

  TColor Pixels(int x, int y);
  void SetPixels(int x, int y, TColor color);

  void TextOut(int x, int y, const std::wstring& text);
  // Text clipped to rect, at (x, y).
  void TextRect(const RECT& rect, int x, int y, const std::wstring& text);
  SIZE TextExtent(const std::wstring& text);
  int TextWidth(const std::wstring& text) { return TextExtent(text).cx; }
  int TextHeight(const std::wstring& text) { return TextExtent(text).cy; }
  // Formatted text (DT_ flags); with DT_CALCRECT the rect receives the text's extent.
  // Answers the text height like the system call.
  int DrawTextW(const std::wstring& text, RECT& rect, UINT format);
  int DrawTextW(const std::wstring& text, const RECT& rect, UINT format);

  // Clipping: the current clip box, narrowing it, and replacing it by a region (null: none).
  RECT ClipRect();
  void IntersectClipRect(const RECT& rect);
  void SelectClipRgn(HRGN region);

  // Copies a bitmap with its top-left corner at (x, y); a transparent bitmap leaves the pixels
  // of its transparent colour out.
  void Draw(int x, int y, const TBitmap& bitmap);
  void StretchDraw(const RECT& dest, const TBitmap& bitmap);
  // Copies source's srcRect onto dest (stretching when the sizes differ).
  void CopyRect(const RECT& dest, TCanvas& source, const RECT& srcRect);

private:
  enum : unsigned { kPen = 1, kBrush = 2, kFont = 4 };
  void Require(unsigned what);
  void Release(unsigned what);

  HDC dc_ = nullptr;
  TPen pen_;
  TBrush brush_;
  TFont font_;
  int dpi_ = 0;
  unsigned selected_ = 0;
  HGDIOBJ oldPen_ = nullptr, oldBrush_ = nullptr, oldFont_ = nullptr;
};

// Holds the clip region of a DC for one scope and restores it, so a painting step may narrow
// the clipping freely.
class TClipSave {
public:
  explicit TClipSave(HDC dc);
  TClipSave(const TClipSave&) = delete;
  TClipSave& operator=(const TClipSave&) = delete;
  ~TClipSave();

private:
  HDC dc_;
  TGdiObject region_;
  bool hadClip_ = false;
};
