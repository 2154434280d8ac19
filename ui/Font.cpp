#include "ui/Font.h"

TFont::TFont(const TFont& other)
    : TObject(), name_(other.name_), height_(other.height_), color_(other.color_),
      style_(other.style_), charset_(other.charset_) {}

int TFont::PixelsPerInch() {
  static const int ppi = [] {
    TWindowDC screen;
    int value = screen ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
    return value > 0 ? value : 96;
  }();
  return ppi;
}

void TFont::SetName(const std::wstring& name) {
  if (name == name_) return;
  name_ = name;
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == height_) return;
  height_ = height;
  Changed();
}

int TFont::Size() const {
  return -::MulDiv(height_, 72, PixelsPerInch());
}

void TFont::SetSize(int points) {
  SetHeight(-::MulDiv(points, PixelsPerInch(), 72));
}

void TFont::SetColor(TColor color) {
  if (color == color_) return;
  color_ = color;
  // The colour is not part of the GDI font: no new handle, but listeners must repaint.
  if (OnChange) OnChange(this);
}

void TFont::SetStyle(TFontStyles style) {
  if (style == style_) return;
  style_ = style;
  Changed();
}

void TFont::SetCharset(BYTE charset) {
  if (charset == charset_) return;
  charset_ = charset;
  Changed();
}

bool TFont::SameAs(const TFont& o) const {
  return name_ == o.name_ && height_ == o.height_ && color_ == o.color_ && style_ == o.style_ &&
         charset_ == o.charset_;
}

void TFont::Assign(const TFont& source) {
  if (&source == this || SameAs(source)) return;
  bool newHandle = name_ != source.name_ || height_ != source.height_ || style_ != source.style_ ||
                   charset_ != source.charset_;
  name_ = source.name_;
  height_ = source.height_;
  color_ = source.color_;
  style_ = source.style_;
  charset_ = source.charset_;
  if (newHandle) {
    if (releasing_) releasing_();
    handle_.Reset();
  }
  if (OnChange) OnChange(this);
}

void TFont::Changed() {
  if (releasing_) releasing_();
  handle_.Reset();
  if (OnChange) OnChange(this);
}

HFONT TFont::Handle() const {
  if (!handle_) {
    LOGFONTW lf{};
    lf.lfHeight = height_;
    lf.lfWeight = style_.Contains(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = style_.Contains(fsItalic);
    lf.lfUnderline = style_.Contains(fsUnderline);
    lf.lfStrikeOut = style_.Contains(fsStrikeOut);
    lf.lfCharSet = charset_;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    lstrcpynW(lf.lfFaceName, name_.c_str(), LF_FACESIZE);
    handle_.Reset(::CreateFontIndirectW(&lf));
  }
  return static_cast<HFONT>(handle_.Get());
}
