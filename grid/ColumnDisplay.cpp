#include "grid/ColumnDisplay.h"

#include "grid/Column.h"
#include "grid/ThemePartCache.h"
#include "ui/Control.h"
#include "ui/Handles.h"
#include "ui/ImgList.h"
#include "ui/Numbers.h"

#include <uxtheme.h>
#include <algorithm>
#include <vssym32.h>

namespace {

constexpr int kMargin = 2;
constexpr int kThemedBox = 13;
constexpr int kClassicBox = 11;
constexpr int kTreeButton = 9;

struct TThemeTraits {
  static HTHEME Invalid() { return nullptr; }
  static void Close(HTHEME h) { ::CloseThemeData(h); }
};
using TTheme = TUniqueHandle<HTHEME, TThemeTraits>;

// Opening a theme costs far more than drawing a cell with it, so the theme of each class
// stays open for the window that asked last, until that window's theme changes.
struct TThemeSlot {
  const wchar_t* themeClass;
  HWND window = nullptr;
  int dpi = kDesignDpi;
  bool open = false;
  TTheme theme;
  TThemePartCache parts;
};
TThemeSlot gButtonTheme{L"Button", nullptr, kDesignDpi, false, TTheme(), TThemePartCache()};
TThemeSlot gTreeTheme{L"treeview", nullptr, kDesignDpi, false, TTheme(), TThemePartCache()};

// The theme of a class for the owner's window at its DPI; none without a window or with
// theming off.
HTHEME OpenTheme(TWinControl* owner, TThemeSlot& slot) {
  if (!owner || !owner->HandleAllocated()) return nullptr;
  if (!slot.open || slot.window != owner->Handle() || slot.dpi != owner->Dpi()) {
    slot.parts.Clear();
    slot.theme.Reset(OpenThemeForDpi(owner->Handle(), slot.themeClass, owner->Dpi()));
    slot.window = owner->Handle();
    slot.dpi = owner->Dpi();
    slot.open = true;
  }
  return slot.theme.Get();
}

// The width of the strokes of a small glyph (a tick, a plus) drawn 1 pixel wide at 96 DPI.
int StrokeWidth(int dpi) {
  return std::max(1, ScaleForDpi(1, dpi));
}

// The frame of a small box stays one pixel thin until the scale allows a whole second one, so
// that it never smears over two half-lit pixels.
int FrameWidth(int dpi) {
  return std::max(1, dpi / kDesignDpi);
}

void FrameBox(TCanvas& canvas, RECT box, int width) {
  for (int i = 0; i < width && box.right > box.left && box.bottom > box.top; ++i) {
    canvas.FrameRect(box);
    ::InflateRect(&box, -1, -1);
  }
}

void Line(TCanvas& canvas, int x1, int y1, int x2, int y2) {
  canvas.MoveTo(x1, y1);
  canvas.LineTo(x2, y2);
}

} // namespace

void ForgetColumnThemes() {
  for (TThemeSlot* slot : {&gButtonTheme, &gTreeTheme}) {
    slot->theme.Reset();
    slot->parts.Clear();
    slot->open = false;
  }
}

POINT PlaceBox(const RECT& rect, int w, int h, TAlignment alignment,
               TVerticalAlignment verticalAlignment, int dpi) {
  const int margin = ScaleForDpi(kMargin, dpi);
  POINT p{};
  switch (alignment) {
  case taLeftJustify:
    p.x = rect.left + margin;
    break;
  case taRightJustify:
    p.x = rect.right - w - margin;
    break;
  default:
    p.x = (rect.left + rect.right) / 2 - w / 2;
    break;
  }
  switch (verticalAlignment) {
  case taAlignTop:
    p.y = rect.top + margin;
    break;
  case taAlignBottom:
    p.y = rect.bottom - h - margin;
    break;
  default:
    p.y = (rect.top + rect.bottom) / 2 - h / 2;
    break;
  }
  return p;
}

UINT CellTextFormat(const TVxCustomColumn& column, bool measuring) {
  UINT format = DT_NOPREFIX;
  if (column.BiDiMode() != bdLeftToRight) format |= DT_RTLREADING;
  format |= column.Alignment() == taRightJustify ? DT_RIGHT
            : column.Alignment() == taCenter     ? DT_CENTER
                                                 : DT_LEFT;
  const bool multiLine = column.WrapKind() == wkWordWrap || column.IsMultiLine();
  if (!multiLine) {
    format |= DT_SINGLELINE;
    format |= column.VerticalAlignment() == taAlignBottom      ? DT_BOTTOM
              : column.VerticalAlignment() == taVerticalCenter ? DT_VCENTER
                                                               : DT_TOP;
  }
  if (column.WrapKind() == wkWordWrap) format |= DT_WORDBREAK;
  if (!measuring && column.WrapKind() == wkEllipsis) format |= DT_END_ELLIPSIS;
  if (!measuring && column.WrapKind() == wkPathEllipsis) format |= DT_PATH_ELLIPSIS;
  return format;
}

int TVirtualColElement::Dpi() const {
  return ThemeOwner ? ThemeOwner->Dpi() : kDesignDpi;
}

RECT TreeButtonBox(int level, int h, int dpi) {
  const int left = ScaleForDpi(TVxTreeColumn::kLevelIndent, dpi) * level + ScaleForDpi(2, dpi);
  const int top = h / 2 - ScaleForDpi(5, dpi);
  const int size = ScaleForDpi(kTreeButton, dpi);
  return RECT{left, top, left + size, top + size};
}

RECT TColumnDisplay::ContentRect() const {
  const int margin = Scaled(kMargin);
  return RECT{CellRect.left + margin, CellRect.top, CellRect.right - margin, CellRect.bottom};
}

void TColumnDisplay::DrawCellText(const std::wstring& text, const RECT& rect) {
  TCanvas& canvas = *TargetCanvas;
  const UINT format = CellTextFormat(*OwnerColumn, false);
  RECT place = rect;
  if (!(format & DT_SINGLELINE) && OwnerColumn->VerticalAlignment() != taAlignTop) {
    // A block of lines sits at the bottom or in the middle of the rectangle.
    RECT measured = rect;
    canvas.DrawTextW(text, measured, CellTextFormat(*OwnerColumn, true) | DT_CALCRECT);
    const int free = RectHeight(rect) - RectHeight(measured);
    place.top += OwnerColumn->VerticalAlignment() == taAlignBottom ? free : free / 2;
  }
  // The text lies on the background painted before it.
  const TBrushStyle style = canvas.Brush().Style();
  canvas.Brush().SetStyle(bsClear);
  canvas.DrawTextW(text, place, format);
  canvas.Brush().SetStyle(style);
}

void TColumnDisplay::DrawHintMark() {
  TCanvas& canvas = *TargetCanvas;
  const RECT& r = CellRect;
  canvas.Pen().SetColor(RGB(255, 0, 0));
  canvas.Brush().SetColor(RGB(255, 0, 0));
  const int side = Scaled(4);
  canvas.Polygon({{r.right - 1 - side, r.top}, {r.right - 1, r.top}, {r.right - 1, r.top + side}});
}

int TColumnDisplay::NeededWidth() {
  return MeasureText().cx;
}

int TColumnDisplay::NeededHeight() {
  return MeasureText().cy;
}

SIZE TColumnDisplay::MeasureText() {
  RECT rect = ContentRect();
  TargetCanvas->DrawTextW(DrawnText, rect,
                          CellTextFormat(*OwnerColumn, true) | DT_CALCRECT | DT_NOCLIP);
  return SIZE{RectWidth(rect), RectHeight(rect)};
}

void TTextColumnDisplay::PaintCell() {
  DrawCellText(OwnerColumn->DisplayText(DrawnText), ContentRect());
}

int TImageColumnDisplay::NeededWidth() {
  const TImageList* images = static_cast<TVxImageColumn*>(OwnerColumn)->Images();
  return images ? images->Width() : 0;
}

int TImageColumnDisplay::NeededHeight() {
  const TImageList* images = static_cast<TVxImageColumn*>(OwnerColumn)->Images();
  return images ? images->Height() : 0;
}

void TImageColumnDisplay::PaintCell() {
  const TImageList* images = static_cast<TVxImageColumn*>(OwnerColumn)->Images();
  if (!images || PlayInt < 0 || PlayInt >= images->Count()) return;
  const POINT at = PlaceBox(CellRect, images->Width(), images->Height(), OwnerColumn->Alignment(),
                            OwnerColumn->VerticalAlignment(), Dpi());
  images->Draw(*TargetCanvas, at.x, at.y, PlayInt, true);
}

int TCheckBoxColumnDisplay::NeededWidth() {
  return Scaled(OpenTheme(ThemeOwner, gButtonTheme) ? kThemedBox : kClassicBox);
}

void TCheckBoxColumnDisplay::PaintCell() {
  DrawCheckBox(CellRect, PlayBool, false, false);
}

void TCheckBoxColumnDisplay::DrawCheckBox(const RECT& rect, bool ticked, bool pressed, bool hot) {
  TCanvas& canvas = *TargetCanvas;
  const TAlignment alignment = OwnerColumn->Alignment();
  const TVerticalAlignment vertical = OwnerColumn->VerticalAlignment();
  const int dpi = Dpi();
  if (HTHEME theme = OpenTheme(ThemeOwner, gButtonTheme)) {
    const int size = Scaled(kThemedBox);
    const POINT at = PlaceBox(rect, size, size, alignment, vertical, dpi);
    int state = ticked ? CBS_CHECKEDNORMAL : CBS_UNCHECKEDNORMAL;
    if (hot && ticked) state = pressed ? CBS_CHECKEDPRESSED : CBS_CHECKEDHOT;
    if (hot && !ticked) state = pressed ? CBS_UNCHECKEDPRESSED : CBS_UNCHECKEDHOT;
    RECT box{at.x, at.y, at.x + size, at.y + size};
    // The cell is filled already, in the brush's colour. A theme that fails to draw leaves
    // the classic box to be drawn.
    if (gButtonTheme.parts.Draw(theme, canvas.Handle(), BP_CHECKBOX, state, box,
                                canvas.Brush().Color())) {
      drawnSize_ = size;
      return;
    }
  }
  const int size = Scaled(kClassicBox);
  drawnSize_ = size;
  const POINT at = PlaceBox(rect, size, size, alignment, vertical, dpi);
  const RECT box{at.x, at.y, at.x + size, at.y + size};
  canvas.Brush().SetColor(pressed ? clBtnFace : clWindow);
  canvas.FillRect(box);
  canvas.Brush().SetColor(clBtnShadow);
  FrameBox(canvas, box, FrameWidth(dpi));
  if (!ticked) return;
  // The tick is a band of one-pixel polylines stacked downwards; each leg is scaled as a whole
  // so that both keep their 45-degree slope and their pixels stay whole at every scale.
  canvas.Pen().SetColor(clWindowText);
  const POINT start{at.x + Scaled(2), at.y + Scaled(4)};
  const int down = Scaled(2), up = Scaled(5);
  for (int dy = 0; dy < 3 * StrokeWidth(dpi); ++dy)
    canvas.Polyline({{start.x, start.y + dy},
                     {start.x + down, start.y + down + dy},
                     {start.x + down + up, start.y + down - up + dy}});
}

RECT TCheckBoxColumnDisplay::BoxIn(const RECT& rect) {
  int size = drawnSize_;
  if (size == 0) size = Scaled(OpenTheme(ThemeOwner, gButtonTheme) ? kThemedBox : kClassicBox);
  const POINT at =
      PlaceBox(rect, size, size, OwnerColumn->Alignment(), OwnerColumn->VerticalAlignment(), Dpi());
  return RECT{at.x, at.y, at.x + size, at.y + size};
}

int TTreeColumnDisplay::NeededWidth() {
  return MeasureText().cx + Scaled(TVxTreeColumn::kLevelIndent) * RowLevel +
         Scaled(TVxTreeColumn::kButtonIndent);
}

void TTreeColumnDisplay::PaintCell() {
  TCanvas& canvas = *TargetCanvas;
  const auto& column = static_cast<const TVxTreeColumn&>(*OwnerColumn);
  const RECT& r = CellRect;
  const int h = r.bottom - r.top;
  const int dpi = Dpi();
  const int indent = Scaled(TVxTreeColumn::kLevelIndent);
  // The level lines run through the middle of the buttons above them; the lines stay one
  // pixel thin at every scale.
  const int lineX = Scaled(6);
  RECT box = TreeButtonBox(RowLevel, h, dpi);
  ::OffsetRect(&box, r.left, r.top);
  if (column.ShowLines()) {
    canvas.Pen().SetColor(clGrayText);
    for (int k = 0; k < RowLevel; ++k)
      Line(canvas, r.left + indent * k + lineX, r.top, r.left + indent * k + lineX, r.bottom);
    if (RowLevel >= 1) {
      const int y = static_cast<int>(RoundHalfEven(r.top + h / 2.0)) - 1;
      const int x = r.left + indent * (RowLevel - 1) + lineX;
      // Up to the left edge of this row's button.
      Line(canvas, x, y, box.left, y);
    }
  }
  if (RowChildCount > 0) {
    const int size = box.right - box.left;
    // The middle column and the middle band of rows of the button: for an even size the band
    // is two strokes wide, so the plus stays centred.
    const int stroke = StrokeWidth(dpi);
    const int middleX = box.left + (size - 1) / 2;
    const int band = (size - stroke) / 2;
    if (column.ShowLines() && RowExpanded) {
      canvas.Pen().SetColor(clGrayText);
      Line(canvas, middleX, box.bottom, middleX, r.bottom);
    }
    if (column.ShowButtons()) {
      const HTHEME theme = OpenTheme(ThemeOwner, gTreeTheme);
      if (!theme || !gTreeTheme.parts.Draw(theme, canvas.Handle(), TVP_GLYPH,
                                           RowExpanded ? GLPS_OPENED : GLPS_CLOSED, box,
                                           canvas.Brush().Color())) {
        const bool highlight = column.HighlightButton() && IsSelectedCell;
        canvas.Brush().SetColor(highlight ? clHighlightText : clGrayText);
        FrameBox(canvas, box, FrameWidth(dpi));
        canvas.Brush().SetColor(highlight ? clHighlightText : clBlack);
        const int inset = Scaled(2);
        canvas.FillRect(
            RECT{box.left + inset, box.top + band, box.right - inset, box.top + band + stroke});
        if (!RowExpanded)
          canvas.FillRect(
              RECT{box.left + band, box.top + inset, box.left + band + stroke, box.bottom - inset});
      }
    }
  }
  RECT text = ContentRect();
  text.left += indent * RowLevel + Scaled(TVxTreeColumn::kButtonIndent);
  DrawCellText(DrawnText, text);
}
