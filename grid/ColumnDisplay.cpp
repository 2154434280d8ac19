#include "grid/ColumnDisplay.h"

#include "grid/Column.h"
#include "grid/ThemePartCache.h"
#include "ui/Control.h"
#include "ui/Handles.h"
#include "ui/ImgList.h"
#include "ui/Numbers.h"

#include <uxtheme.h>
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
  bool open = false;
  TTheme theme;
  TThemePartCache parts;
};
TThemeSlot gButtonTheme{L"Button", nullptr, false, TTheme(), TThemePartCache()};
TThemeSlot gTreeTheme{L"treeview", nullptr, false, TTheme(), TThemePartCache()};

// The theme of a class for the owner's window; none without a window or with theming off.
HTHEME OpenTheme(TWinControl* owner, TThemeSlot& slot) {
  if (!owner || !owner->HandleAllocated()) return nullptr;
  if (!slot.open || slot.window != owner->Handle()) {
    slot.parts.Clear();
    slot.theme.Reset(::OpenThemeData(owner->Handle(), slot.themeClass));
    slot.window = owner->Handle();
    slot.open = true;
  }
  return slot.theme.Get();
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
               TVerticalAlignment verticalAlignment) {
  POINT p{};
  switch (alignment) {
  case taLeftJustify:
    p.x = rect.left + kMargin;
    break;
  case taRightJustify:
    p.x = rect.right - w - kMargin;
    break;
  default:
    p.x = (rect.left + rect.right) / 2 - w / 2;
    break;
  }
  switch (verticalAlignment) {
  case taAlignTop:
    p.y = rect.top + kMargin;
    break;
  case taAlignBottom:
    p.y = rect.bottom - h - kMargin;
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

RECT TColumnDisplay::ContentRect() const {
  return RECT{CellRect.left + kMargin, CellRect.top, CellRect.right - kMargin, CellRect.bottom};
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
  canvas.Polygon({{r.right - 5, r.top}, {r.right - 1, r.top}, {r.right - 1, r.top + 4}});
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
                            OwnerColumn->VerticalAlignment());
  images->Draw(*TargetCanvas, at.x, at.y, PlayInt, true);
}

int TCheckBoxColumnDisplay::NeededWidth() {
  return OpenTheme(ThemeOwner, gButtonTheme) ? kThemedBox : kClassicBox;
}

void TCheckBoxColumnDisplay::PaintCell() {
  DrawCheckBox(CellRect, PlayBool, false, false);
}

void TCheckBoxColumnDisplay::DrawCheckBox(const RECT& rect, bool ticked, bool pressed, bool hot) {
  TCanvas& canvas = *TargetCanvas;
  const TAlignment alignment = OwnerColumn->Alignment();
  const TVerticalAlignment vertical = OwnerColumn->VerticalAlignment();
  if (HTHEME theme = OpenTheme(ThemeOwner, gButtonTheme)) {
    const POINT at = PlaceBox(rect, kThemedBox, kThemedBox, alignment, vertical);
    int state = ticked ? CBS_CHECKEDNORMAL : CBS_UNCHECKEDNORMAL;
    if (hot && ticked) state = pressed ? CBS_CHECKEDPRESSED : CBS_CHECKEDHOT;
    if (hot && !ticked) state = pressed ? CBS_UNCHECKEDPRESSED : CBS_UNCHECKEDHOT;
    RECT box{at.x, at.y, at.x + kThemedBox, at.y + kThemedBox};
    // The cell is filled already, in the brush's colour. A theme that fails to draw leaves
    // the classic box to be drawn.
    if (gButtonTheme.parts.Draw(theme, canvas.Handle(), BP_CHECKBOX, state, box,
                                canvas.Brush().Color())) {
      drawnSize_ = kThemedBox;
      return;
    }
  }
  drawnSize_ = kClassicBox;
  const POINT at = PlaceBox(rect, kClassicBox, kClassicBox, alignment, vertical);
  const RECT box{at.x, at.y, at.x + kClassicBox, at.y + kClassicBox};
  canvas.Brush().SetColor(pressed ? clBtnFace : clWindow);
  canvas.FillRect(box);
  canvas.Brush().SetColor(clBtnShadow);
  canvas.FrameRect(box);
  if (!ticked) return;
  canvas.Pen().SetColor(clWindowText);
  for (int dy = 0; dy < 3; ++dy)
    canvas.Polyline(
        {{at.x + 2, at.y + 4 + dy}, {at.x + 4, at.y + 6 + dy}, {at.x + 9, at.y + 1 + dy}});
}

RECT TCheckBoxColumnDisplay::BoxIn(const RECT& rect) {
  int size = drawnSize_;
  if (size == 0) size = OpenTheme(ThemeOwner, gButtonTheme) ? kThemedBox : kClassicBox;
  const POINT at =
      PlaceBox(rect, size, size, OwnerColumn->Alignment(), OwnerColumn->VerticalAlignment());
  return RECT{at.x, at.y, at.x + size, at.y + size};
}

int TTreeColumnDisplay::NeededWidth() {
  return MeasureText().cx + TVxTreeColumn::kLevelIndent * RowLevel + TVxTreeColumn::kButtonIndent;
}

void TTreeColumnDisplay::PaintCell() {
  TCanvas& canvas = *TargetCanvas;
  const auto& column = static_cast<const TVxTreeColumn&>(*OwnerColumn);
  const RECT& r = CellRect;
  const int h = r.bottom - r.top;
  const int indent = TVxTreeColumn::kLevelIndent;
  if (column.ShowLines()) {
    canvas.Pen().SetColor(clGrayText);
    for (int k = 0; k < RowLevel; ++k)
      Line(canvas, r.left + indent * k + 6, r.top, r.left + indent * k + 6, r.bottom);
    if (RowLevel >= 1) {
      const int y = static_cast<int>(RoundHalfEven(r.top + h / 2.0)) - 1;
      const int x = r.left + indent * (RowLevel - 1) + 6;
      Line(canvas, x, y, x + 15, y);
    }
  }
  if (RowChildCount > 0) {
    const int left = r.left + indent * RowLevel + 2;
    const int top = r.top + h / 2 - 5;
    const RECT box{left, top, left + kTreeButton, top + kTreeButton};
    if (column.ShowLines() && RowExpanded) {
      canvas.Pen().SetColor(clGrayText);
      Line(canvas, left + 4, box.bottom, left + 4, r.bottom);
    }
    if (column.ShowButtons()) {
      const HTHEME theme = OpenTheme(ThemeOwner, gTreeTheme);
      if (!theme || !gTreeTheme.parts.Draw(theme, canvas.Handle(), TVP_GLYPH,
                                           RowExpanded ? GLPS_OPENED : GLPS_CLOSED, box,
                                           canvas.Brush().Color())) {
        const bool highlight = column.HighlightButton() && IsSelectedCell;
        canvas.Brush().SetColor(highlight ? clHighlightText : clGrayText);
        canvas.FrameRect(box);
        canvas.Pen().SetColor(highlight ? clHighlightText : clBlack);
        Line(canvas, left + 2, top + 4, box.right - 2, top + 4);
        if (!RowExpanded) Line(canvas, left + 4, top + 2, left + 4, box.bottom - 2);
      }
    }
  }
  RECT text = ContentRect();
  text.left += indent * RowLevel + TVxTreeColumn::kButtonIndent;
  DrawCellText(DrawnText, text);
}
