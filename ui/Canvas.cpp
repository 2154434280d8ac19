#include "ui/Canvas.h"

#include "ui/Bitmap.h"

void TPen::Changed() {
  if (releasing_) releasing_();
  handle_.Reset();
}

void TPen::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  Changed();
}

void TPen::SetWidth(int width) {
  if (width == width_) return;
  width_ = width;
  Changed();
}

void TPen::SetStyle(TPenStyle style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

void TPen::SetMode(TPenMode mode) {
  if (mode == mode_) return;
  mode_ = mode;
  Changed();
}

HPEN TPen::Handle() const {
  if (style_ == psClear) return static_cast<HPEN>(::GetStockObject(NULL_PEN));
  if (!handle_) {
    static const int styles[] = {PS_SOLID,      PS_DASH, PS_DOT,        PS_DASHDOT,
                                 PS_DASHDOTDOT, PS_NULL, PS_INSIDEFRAME};
    handle_.Reset(::CreatePen(styles[style_ <= psInsideFrame ? style_ : psSolid], width_,
                              ColorToRGB(color_)));
  }
  return static_cast<HPEN>(handle_.Get());
}

void TBrush::Changed() {
  if (releasing_) releasing_();
  handle_.Reset();
}

void TBrush::SetColor(TColor color) {
  if (color == color_ && style_ != bsClear) return;
  color_ = color;
  if (style_ == bsClear) style_ = bsSolid;
  Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

HBRUSH TBrush::Handle() const {
  if (style_ == bsClear) return static_cast<HBRUSH>(::GetStockObject(NULL_BRUSH));
  if (!handle_) {
    COLORREF rgb = ColorToRGB(color_);
    static const int hatches[] = {HS_HORIZONTAL, HS_VERTICAL, HS_FDIAGONAL,
                                  HS_BDIAGONAL,  HS_CROSS,    HS_DIAGCROSS};
    if (style_ == bsSolid || style_ > bsDiagCross)
      handle_.Reset(::CreateSolidBrush(rgb));
    else
      handle_.Reset(::CreateHatchBrush(hatches[style_ - bsHorizontal], rgb));
  }
  return static_cast<HBRUSH>(handle_.Get());
}

TCanvas::TCanvas(HDC dc) : dc_(dc) {
  pen_.releasing_ = [this] { Release(kPen); };
  brush_.releasing_ = [this] { Release(kBrush); };
  font_.releasing_ = [this] { Release(kFont); };
}

void TCanvas::SetDpi(int dpi) {
  dpi_ = dpi;
  // Whatever font is given then, from a control, a column or a copy, is made for this DPI.
  font_.dpiFixed_ = dpi != 0;
  if (dpi != 0) font_.SetDpi(dpi);
}

TCanvas::~TCanvas() {
  Release(kPen | kBrush | kFont);
}

void TCanvas::SetHandle(HDC dc) {
  if (dc == dc_) return;
  Release(kPen | kBrush | kFont);
  dc_ = dc;
}

HDC TCanvas::Handle() {
  Require(kPen | kBrush | kFont);
  return dc_;
}

void TCanvas::Require(unsigned what) {
  if (!dc_) return;
  if ((what & kPen) && !(selected_ & kPen)) {
    oldPen_ = ::SelectObject(dc_, pen_.Handle());
    static const int rops[] = {R2_COPYPEN, R2_NOT, R2_XORPEN, R2_MERGEPEN, R2_MASKPEN};
    ::SetROP2(dc_, rops[pen_.Mode() <= pmMask ? pen_.Mode() : pmCopy]);
    selected_ |= kPen;
  }
  if ((what & kBrush) && !(selected_ & kBrush)) {
    oldBrush_ = ::SelectObject(dc_, brush_.Handle());
    selected_ |= kBrush;
  }
  if ((what & kBrush) || (what & kFont)) {
    // Text and hatch backgrounds follow the brush.
    if (brush_.Style() == bsClear) {
      ::SetBkMode(dc_, TRANSPARENT);
    } else {
      ::SetBkMode(dc_, OPAQUE);
      ::SetBkColor(dc_, ColorToRGB(brush_.Color()));
    }
  }
  if ((what & kFont) && !(selected_ & kFont)) {
    oldFont_ = ::SelectObject(dc_, font_.Handle());
    selected_ |= kFont;
  }
  if (what & kFont) ::SetTextColor(dc_, ColorToRGB(font_.Color()));
}

void TCanvas::Release(unsigned what) {
  if (!dc_) {
    selected_ = 0;
    return;
  }
  if ((what & kPen) && (selected_ & kPen)) {
    ::SelectObject(dc_, oldPen_);
    ::SetROP2(dc_, R2_COPYPEN);
    selected_ &= ~kPen;
  }
  if ((what & kBrush) && (selected_ & kBrush)) {
    ::SelectObject(dc_, oldBrush_);
    selected_ &= ~kBrush;
  }
  if ((what & kFont) && (selected_ & kFont)) {
    ::SelectObject(dc_, oldFont_);
    selected_ &= ~kFont;
  }
}

POINT TCanvas::PenPos() {
  POINT p{};
  if (dc_) ::GetCurrentPositionEx(dc_, &p);
  return p;
}

void TCanvas::MoveTo(int x, int y) {
  if (dc_) ::MoveToEx(dc_, x, y, nullptr);
}

void TCanvas::LineTo(int x, int y) {
  Require(kPen);
  if (dc_) ::LineTo(dc_, x, y);
}

void TCanvas::Polyline(const std::vector<POINT>& points) {
  Require(kPen);
  if (dc_ && !points.empty()) ::Polyline(dc_, points.data(), static_cast<int>(points.size()));
}

void TCanvas::Polygon(const std::vector<POINT>& points) {
  Require(kPen | kBrush);
  if (dc_ && !points.empty()) ::Polygon(dc_, points.data(), static_cast<int>(points.size()));
}

void TCanvas::FillRect(const RECT& rect) {
  if (dc_ && brush_.Style() != bsClear) ::FillRect(dc_, &rect, brush_.Handle());
}

void TCanvas::FrameRect(const RECT& rect) {
  if (dc_ && brush_.Style() != bsClear) ::FrameRect(dc_, &rect, brush_.Handle());
}

void TCanvas::Rectangle(const RECT& rect) {
  Rectangle(rect.left, rect.top, rect.right, rect.bottom);
}

void TCanvas::Rectangle(int left, int top, int right, int bottom) {
  Require(kPen | kBrush);
  if (dc_) ::Rectangle(dc_, left, top, right, bottom);
}

void TCanvas::RoundRect(const RECT& r, int cornerWidth, int cornerHeight) {
  Require(kPen | kBrush);
  if (dc_) ::RoundRect(dc_, r.left, r.top, r.right, r.bottom, cornerWidth, cornerHeight);
}

void TCanvas::Ellipse(const RECT& r) {
  Require(kPen | kBrush);
  if (dc_) ::Ellipse(dc_, r.left, r.top, r.right, r.bottom);
}

void TCanvas::DrawFocusRect(const RECT& rect) {
  if (!dc_) return;
  // The dotted frame inverts against black background and white text colours.
  COLORREF oldText = ::SetTextColor(dc_, RGB(255, 255, 255));
  COLORREF oldBk = ::SetBkColor(dc_, RGB(0, 0, 0));
  ::DrawFocusRect(dc_, &rect);
  ::SetTextColor(dc_, oldText);
  ::SetBkColor(dc_, oldBk);
}

TColor TCanvas::Pixels(int x, int y) {
  return dc_ ? ::GetPixel(dc_, x, y) : clNone;
}

void TCanvas::SetPixels(int x, int y, TColor color) {
  if (dc_) ::SetPixelV(dc_, x, y, ColorToRGB(color));
}

void TCanvas::TextOut(int x, int y, const std::wstring& text) {
  Require(kFont | kBrush);
  if (dc_) ::TextOutW(dc_, x, y, text.c_str(), static_cast<int>(text.size()));
}

void TCanvas::TextRect(const RECT& rect, int x, int y, const std::wstring& text) {
  Require(kFont | kBrush);
  UINT options = ETO_CLIPPED | (brush_.Style() != bsClear ? ETO_OPAQUE : 0);
  if (dc_)
    ::ExtTextOutW(dc_, x, y, options, &rect, text.c_str(), static_cast<UINT>(text.size()), nullptr);
}

SIZE TCanvas::TextExtent(const std::wstring& text) {
  SIZE size{};
  Require(kFont);
  if (dc_) ::GetTextExtentPoint32W(dc_, text.c_str(), static_cast<int>(text.size()), &size);
  return size;
}

int TCanvas::DrawTextW(const std::wstring& text, RECT& rect, UINT format) {
  Require(kFont | kBrush);
  if (!dc_) return 0;
  return ::DrawTextW(dc_, text.c_str(), static_cast<int>(text.size()), &rect, format);
}

int TCanvas::DrawTextW(const std::wstring& text, const RECT& rect, UINT format) {
  RECT r = rect;
  return DrawTextW(text, r, format);
}

RECT TCanvas::ClipRect() {
  RECT r{};
  if (dc_) ::GetClipBox(dc_, &r);
  return r;
}

void TCanvas::IntersectClipRect(const RECT& r) {
  if (dc_) ::IntersectClipRect(dc_, r.left, r.top, r.right, r.bottom);
}

void TCanvas::SelectClipRgn(HRGN region) {
  if (dc_) ::SelectClipRgn(dc_, region);
}

void TCanvas::Draw(int x, int y, const TBitmap& bitmap) {
  StretchDraw(BoundsRect(x, y, bitmap.Width(), bitmap.Height()), bitmap);
}

void TCanvas::StretchDraw(const RECT& dest, const TBitmap& bitmap) {
  if (!dc_ || bitmap.Empty()) return;
  HDC src = bitmap.Canvas().Handle();
  int w = RectWidth(dest), h = RectHeight(dest);
  if (bitmap.Transparent()) {
    ::TransparentBlt(dc_, dest.left, dest.top, w, h, src, 0, 0, bitmap.Width(), bitmap.Height(),
                     ColorToRGB(bitmap.TransparentColor()));
  } else if (w == bitmap.Width() && h == bitmap.Height()) {
    ::BitBlt(dc_, dest.left, dest.top, w, h, src, 0, 0, SRCCOPY);
  } else {
    int old = ::SetStretchBltMode(dc_, COLORONCOLOR);
    ::StretchBlt(dc_, dest.left, dest.top, w, h, src, 0, 0, bitmap.Width(), bitmap.Height(),
                 SRCCOPY);
    ::SetStretchBltMode(dc_, old);
  }
}

void TCanvas::CopyRect(const RECT& dest, TCanvas& source, const RECT& srcRect) {
  HDC src = source.Handle();
  if (!dc_ || !src) return;
  int w = RectWidth(dest), h = RectHeight(dest);
  int sw = RectWidth(srcRect), sh = RectHeight(srcRect);
  if (w == sw && h == sh) {
    ::BitBlt(dc_, dest.left, dest.top, w, h, src, srcRect.left, srcRect.top, SRCCOPY);
  } else {
    int old = ::SetStretchBltMode(dc_, COLORONCOLOR);
    ::StretchBlt(dc_, dest.left, dest.top, w, h, src, srcRect.left, srcRect.top, sw, sh, SRCCOPY);
    ::SetStretchBltMode(dc_, old);
  }
}

TClipSave::TClipSave(HDC dc) : dc_(dc), region_(::CreateRectRgn(0, 0, 0, 0)) {
  hadClip_ = ::GetClipRgn(dc_, static_cast<HRGN>(region_.Get())) == 1;
}

TClipSave::~TClipSave() {
  ::SelectClipRgn(dc_, hadClip_ ? static_cast<HRGN>(region_.Get()) : nullptr);
}
