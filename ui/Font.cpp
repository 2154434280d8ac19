#include "ui/Font.h"

TFont::TFont(const TFont& other)
    : TObject(), name_(other.name_), height_(other.height_), points_(other.points_),
      dpi_(other.dpi_), color_(other.color_), style_(other.style_), charset_(other.charset_) {}

void TFont::SetName(const std::wstring& name) {
  if (name == name_) return;
  name_ = name;
  Changed();
}

void TFont::SetHeight(int height) {
  if (height == height_ && points_ == 0) return;
  height_ = height;
  points_ = 0;
  Changed();
}

int TFont::Size() const {
  return points_ != 0 ? points_ : -::MulDiv(height_, 72, kDesignDpi);
}

void TFont::SetSize(int points) {
  if (points == points_) return;
  points_ = points;
  height_ = -::MulDiv(points, kDesignDpi, 72);
  Changed();
}

void TFont::SetDpi(int dpi) {
  if (dpi == dpi_) return;
  dpi_ = dpi;
  Changed();
}

int TFont::PixelHeight() const {
  return PixelHeightAt(height_, points_, dpi_);
}

int TFont::PixelHeightAt(int height, int points, int dpi) {
  // A point size is measured at the DPI itself rather than scaled from its 96-DPI height, which
  // would round twice (8 points: 11 pixels at 96 DPI, 16 at 144, not 11 * 1.5 = 17).
  return points != 0 ? -::MulDiv(points, dpi, 72) : ScaleForDpi(height, dpi);
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
  return name_ == o.name_ && height_ == o.height_ && points_ == o.points_ && dpi_ == o.dpi_ &&
         color_ == o.color_ && style_ == o.style_ && charset_ == o.charset_;
}

void TFont::Assign(const TFont& source) {
  if (&source == this) return;
  // A canvas drawing for a control keeps its font at that control's DPI: only the rest comes.
  const int dpi = dpiFixed_ ? dpi_ : source.dpi_;
  const bool newHandle = name_ != source.name_ || style_ != source.style_ ||
                         charset_ != source.charset_ ||
                         PixelHeight() != PixelHeightAt(source.height_, source.points_, dpi);
  if (!newHandle && height_ == source.height_ && points_ == source.points_ && dpi_ == dpi &&
      color_ == source.color_)
    return;
  name_ = source.name_;
  height_ = source.height_;
  points_ = source.points_;
  dpi_ = dpi;
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
    lf.lfHeight = PixelHeight();
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
