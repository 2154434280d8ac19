#include "grid/StyleDisplay.h"

#include "grid/Columns.h"
#include "grid/HeaderTheme.h"
#include "ui/Bitmap.h"
#include "ui/Control.h"

namespace {

constexpr int kSortArrowRoom = 31;

bool IsFirstVisible(const TVxCustomColumn& column) {
  return column.Collection() && column.Collection()->FirstVisibleColumn() == &column;
}

} // namespace

TStyleDisplay::TStyleDisplay(TWinControl* owner)
    : owner_(owner), theme_(std::make_unique<THeaderTheme>()) {}

TStyleDisplay::~TStyleDisplay() = default;

int TStyleDisplay::Dpi() const {
  return owner_ ? owner_->Dpi() : kDesignDpi;
}

void TStyleDisplay::BeginPass(TCanvas& canvas, bool themesEnabled, int pressedColumn, int hotColumn,
                              bool rightToLeft) {
  canvas_ = &canvas;
  themesEnabled_ = themesEnabled;
  pressedColumn_ = pressedColumn;
  hotColumn_ = hotColumn;
  rightToLeft_ = rightToLeft;
}

void TStyleDisplay::SetTheme(std::unique_ptr<THeaderTheme> theme) {
  theme_ = std::move(theme);
}

void TStyleDisplay::ThemeChanged() {
  theme_->Reset();
}

bool TStyleDisplay::Pressed(const TVxCustomColumn& column) const {
  return pressedColumn_ >= 0 && column.Index() == pressedColumn_;
}

bool TStyleDisplay::Hot(const TVxCustomColumn& column) const {
  return hotColumn_ >= 0 && column.Index() == hotColumn_;
}

bool TStyleDisplay::DrawThemePart(int part, int state, const RECT& rect) {
  HWND window = owner_ && owner_->HandleAllocated() ? owner_->Handle() : nullptr;
  theme_->SetDpi(Dpi());
  return theme_->DrawItem(window, Cv().Handle(), part, state, rect);
}

void TStyleDisplay::Fill(const RECT& rect, TColor color) {
  Cv().Brush().SetColor(ColorToRGB(color));
  Cv().FillRect(rect);
}

void TStyleDisplay::Frame3D(const RECT& r, TColor light, TColor dark) {
  Fill(MakeRect(r.left, r.top, r.right, r.top + 1), light);
  Fill(MakeRect(r.left, r.top, r.left + 1, r.bottom), light);
  Fill(MakeRect(r.left, r.bottom - 1, r.right, r.bottom), dark);
  Fill(MakeRect(r.right - 1, r.top, r.right, r.bottom), dark);
}

int TStyleDisplay::GetHeaderMargin(const TVxCustomColumn& column) const {
  if (!defaultDrawing_ || !displayMedia_) return 0;
  return Scaled(Themed() && column.Header().DisplayMode() == dmTextOnly ? 11 : 2);
}

THeaderPlacement PlaceHeaderContent(const RECT& rect, TAlignment alignment, int captionWidth,
                                    int glyphWidth, bool sorted, int dpi) {
  const int room = sorted ? ScaleForDpi(kSortArrowRoom, dpi) : 0;
  const int gap = ScaleForDpi(2, dpi);
  int middle = (rect.left + rect.right) / 2;
  THeaderPlacement p;
  if (glyphWidth <= 0) {
    switch (alignment) {
    case taLeftJustify:
      p.captionX = rect.left + gap;
      break;
    case taRightJustify:
      p.captionX = rect.right - captionWidth - room;
      break;
    case taCenter:
      p.captionX = middle - captionWidth / 2;
      break;
    }
    p.glyphX = p.captionX;
    return p;
  }
  switch (alignment) {
  case taLeftJustify:
    p.glyphX = rect.left + ScaleForDpi(3, dpi);
    break;
  case taRightJustify:
    p.glyphX = rect.right - glyphWidth - captionWidth - gap - room;
    break;
  case taCenter:
    p.glyphX = middle - (glyphWidth + gap + captionWidth) / 2;
    break;
  }
  p.captionX = p.glyphX + glyphWidth + gap;
  return p;
}

POINT SortArrowPos(const RECT& rect, int captionX, int captionWidth, int dpi) {
  return POINT{captionX + captionWidth + ScaleForDpi(19, dpi),
               (rect.top + rect.bottom) / 2 - ScaleForDpi(4, dpi)};
}

bool SortArrowShown(POINT pos, int right, bool hideArrow, int dpi) {
  return pos.x + ScaleForDpi(8, dpi) < right || !hideArrow;
}

void TStyleDisplay::DrawHeader(const TVxCustomColumn& column, const RECT& rect) {
  if (displayMedia_) DrawHeaderBackground(column, rect);
  DrawHeaderContent(column, rect);
}

void TStyleDisplay::DrawHeaderBackground(const TVxCustomColumn& column, const RECT& rect) {
  DrawHeaderFace(column, rect);
}

void TStyleDisplay::DrawHeaderFace(const TVxCustomColumn& column, const RECT& rect) {
  Fill(rect, column.Header().Color());
  Frame3D(rect, clBtnHighlight, clBtnShadow);
}

void TStyleDisplay::DrawHeaderContent(const TVxCustomColumn& column, const RECT& rect) {
  const TColumnHeader& header = column.Header();
  TClipSave clip(Cv().Handle());
  Cv().IntersectClipRect(rect);
  const TBitmap* glyph = header.Glyph();
  bool hasGlyph = glyph && !glyph->Empty() && header.DisplayMode() != dmTextOnly;
  bool vertical = header.Orientation() == hoVertical;
  bool textShown = header.DisplayMode() != dmImageOnly;
  int captionWidth = 0;
  if (textShown) {
    SIZE size = Cv().TextExtent(header.Caption());
    captionWidth = (vertical ? size.cy : size.cx) + Scaled(2);
  }
  THeaderPlacement place =
      PlaceHeaderContent(rect, header.Alignment(), captionWidth, hasGlyph ? glyph->Width() : 0,
                         column.Sorted(), Dpi());
  // The column keeps its glyph transparent.
  if (hasGlyph)
    Cv().Draw(place.glyphX, rect.top + (RectHeight(rect) - glyph->Height()) / 2, *glyph);
  if (textShown) DrawCaption(column, MakeRect(place.captionX, rect.top, rect.right, rect.bottom));

  if (defaultDrawing_ && column.Sorted() && !(GetCapabilities() & kDrawsOwnSortArrow)) {
    POINT pos = SortArrowPos(rect, place.captionX, captionWidth, Dpi());
    if (SortArrowShown(pos, rect.right, header.HideArrow(), Dpi()))
      DrawSortArrow(pos, column.SortKind() == skAscending);
  }
  if (Pressed(column) && column.Options().Contains(coCanClick) &&
      (GetCapabilities() & kInvertsPressedHeader)) {
    RECT inverted = rect;
    if (IsFirstVisible(column)) inverted.left += 1;
    ::InvertRect(Cv().Handle(), &inverted);
  }
}

void TStyleDisplay::DrawCaption(const TVxCustomColumn& column, RECT rect) {
  const TColumnHeader& header = column.Header();
  AdjustTextRect(rect);
  Cv().Brush().SetStyle(bsClear);
  if (header.Orientation() == hoVertical) {
    LOGFONTW lf;
    ::GetObjectW(Cv().Font().Handle(), sizeof lf, &lf);
    lf.lfEscapement = lf.lfOrientation = 900;
    TGdiObject font(::CreateFontIndirectW(&lf));
    HDC dc = Cv().Handle();
    TScopedSelect select(dc, font.Get());
    COLORREF oldColor = ::SetTextColor(dc, ColorToRGB(Cv().Font().Color()));
    int oldMode = ::SetBkMode(dc, TRANSPARENT);
    // Turned by 90 degrees the text runs upwards from its start point.
    ::ExtTextOutW(dc, rect.left, rect.bottom - Scaled(2), ETO_CLIPPED, &rect,
                  header.Caption().c_str(), static_cast<UINT>(header.Caption().size()), nullptr);
    ::SetBkMode(dc, oldMode);
    ::SetTextColor(dc, oldColor);
  } else {
    UINT format = DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
    if (!header.MultiLine()) format |= DT_SINGLELINE;
    if (rightToLeft_) format |= DT_RTLREADING;
    Cv().DrawTextW(header.Caption(), rect, format);
  }
  Cv().Brush().SetStyle(bsSolid);
}

void TStyleDisplay::DrawSortArrow(POINT p, bool ascending) {
  const int x = p.x, y = p.y;
  // The arrow keeps its 45-degree sides at every scale: its height is half its width.
  const int half = Scaled(4);
  if (Themed()) {
    TColor grey = ColorToRGB(clGrayText);
    Cv().Pen().SetColor(grey);
    Cv().Brush().SetColor(grey);
    if (ascending)
      Cv().Polygon({{x, y + half}, {x + half, y}, {x + 2 * half, y + half}});
    else
      Cv().Polygon({{x, y}, {x + half, y + half}, {x + 2 * half, y}});
    return;
  }
  const int s3 = Scaled(3), s4 = Scaled(4), s6 = Scaled(6), s7 = Scaled(7);
  // Classic: a sunken outline, dark on the left, light on the right.
  TColor dark = ColorToRGB(clBtnShadow), light = ColorToRGB(clBtnHighlight);
  auto line = [&](TColor color, int x1, int y1, int x2, int y2) {
    Cv().Pen().SetColor(color);
    Cv().MoveTo(x1, y1);
    Cv().LineTo(x2, y2);
    Cv().SetPixels(x2, y2, color);
  };
  if (ascending) {
    line(dark, x, y + s7, x + s3, y + Scaled(1));
    line(light, x + s4, y, x + s7, y + s6);
    line(light, x, y + s7, x + s7, y + s7);
  } else {
    line(dark, x, y, x + s7, y);
    line(dark, x, y + Scaled(1), x + s3, y + s7);
    line(light, x + s4, y + s6, x + s7, y);
  }
}

void TStyleDisplay::DrawFooter(const TVxCustomColumn& column, const RECT& rect, bool framed) {
  Fill(rect, column.Footer().Color());
  if (framed) Frame3D(rect, clBtnShadow, clBtnHighlight);
  DrawFooterContent(column, rect);
}

void TStyleDisplay::DrawFooterContent(const TVxCustomColumn& column, const RECT& rect) {
  const TColumnFooter& footer = column.Footer();
  std::wstring text = footer.TextBefore() + footer.Caption() + footer.TextAfter();
  if (text.empty()) return;
  RECT r = MakeRect(rect.left + Scaled(2), rect.top, rect.right - Scaled(2), rect.bottom);
  UINT format = DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX;
  if (footer.Alignment() == taRightJustify) format |= DT_RIGHT;
  if (footer.Alignment() == taCenter) format |= DT_CENTER;
  if (rightToLeft_) format |= DT_RTLREADING;
  Cv().Brush().SetStyle(bsClear);
  Cv().DrawTextW(text, r, format);
  Cv().Brush().SetStyle(bsSolid);
}

void TStyleDisplay::DrawInputCell(const TVxCustomColumn& column, const RECT& rect) {
  Fill(rect, clWindow);
  std::wstring text = column.InputDisplayValue();
  TColor oldColor = Cv().Font().Color();
  if (text.empty()) {
    text = column.InputCaption();
    Cv().Font().SetColor(clGrayText);
  }
  RECT r = MakeRect(rect.left + Scaled(2), rect.top, rect.right - Scaled(2), rect.bottom);
  Cv().Brush().SetStyle(bsClear);
  Cv().DrawTextW(text, r, DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
  Cv().Brush().SetStyle(bsSolid);
  Cv().Font().SetColor(oldColor);
}

void TStyleDisplay::DrawStripBackground(const RECT& rect) {
  DrawIndicatorCell(rect, 0);
}

void TStyleDisplay::DrawIndicatorCell(const RECT& rect, int) {
  Fill(rect, clBtnFace);
  Frame3D(rect, clBtnHighlight, clBtnShadow);
}

void TStyleDisplay::DrawEmptyHeader(const RECT& rect) {
  DrawIndicatorCell(rect, 0);
}

void TStyleDisplay::DrawIndicatorRow(const RECT& rect) {
  DrawIndicatorCell(rect, 0);
}

void TStyleDisplay::DrawIndicatorMark(const RECT& rect, bool selected, bool focused, bool editing) {
  int cx = (rect.left + rect.right) / 2, cy = (rect.top + rect.bottom) / 2;
  TColor color = ColorToRGB(focused ? clBtnText : clBtnShadow);
  Cv().Pen().SetColor(color);
  Cv().Brush().SetColor(color);
  if (editing) {
    // A text cursor: a stem with a bar across each end.
    Cv().FillRect(MakeRect(cx - 2, cy - 4, cx + 3, cy - 3));
    Cv().FillRect(MakeRect(cx, cy - 3, cx + 1, cy + 4));
    Cv().FillRect(MakeRect(cx - 2, cy + 4, cx + 3, cy + 5));
  } else if (selected)
    Cv().Polygon({{cx - 2, cy - 4}, {cx + 2, cy}, {cx - 2, cy + 4}});
}
