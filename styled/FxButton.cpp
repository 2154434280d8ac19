#include "styled/FxButton.h"

#include <oleacc.h>

POINT ButtonGlyphPosition(TButtonLayout layout, const RECT& c, SIZE glyph, SIZE text, bool withText,
                          int spacing, int width, int height) {
  const int gw = glyph.cx, gh = glyph.cy, tw = withText ? text.cx : 0, th = text.cy;
  switch (layout) {
  case blGlyphLeft:
    return {withText ? (c.left + c.right - tw) / 2 - spacing - gw
                     : (c.left + c.right - spacing) / 2 - gw,
            (height - gh) / 2};
  case blGlyphRight:
    return {(tw + c.left + c.right) / 2 + spacing, (height - gh) / 2};
  case blGlyphTop:
    return {(width - gw) / 2, (c.top + c.bottom - (withText ? th : 0)) / 2 - spacing - gh};
  case blGlyphBottom:
    return {(width - gw) / 2, ((withText ? th : 0) + c.top + c.bottom) / 2 + spacing};
  }
  return {0, 0};
}

TFxButton::TFxButton(TComponent* owner) : TFxCustomControl(owner) {
  // It shows its parent's colour at the corners, outside the rounded border.
  SetParentColor(true);
  SetOpaque(true);
  SetBounds(Left(), Top(), 75, 25);
  UpdateImages();
}

void TFxButton::SetGlyph(const TBitmap& glyph) {
  glyphResource_.clear();
  TakeGlyph(glyph);
}

void TFxButton::SetGlyphResource(const std::wstring& name) {
  TBitmap glyph;
  LoadBitmapForDpi(glyph, name, Dpi());
  TakeGlyph(glyph);
  glyphResource_ = name;
}

void TFxButton::DpiChanged(int oldDpi, int newDpi) {
  TFxCustomControl::DpiChanged(oldDpi, newDpi);
  spacing_.Rescale(newDpi);
  if (!glyphResource_.empty()) SetGlyphResource(glyphResource_);
  UpdateImages();
}

void TFxButton::TakeGlyph(const TBitmap& glyph) {
  glyph_.Assign(glyph);
  glyph_.SetTransparent(true);
  disabledGlyph_.Assign(glyph_);
  TintBitmap(disabledGlyph_, RGBColor(64, 64, 64));
  ++glyphStamp_;
  Invalidate();
}

void TFxButton::SetLayout(TButtonLayout value) {
  SetAndRepaint(layout_, value);
}

void TFxButton::SetShowFocusRect(bool value) {
  SetAndRepaint(showFocusRect_, value);
}

void TFxButton::SetHotTrack(bool value) {
  SetAndRepaint(hotTrack_, value);
}

void TFxButton::SetGradientBorder(bool value) {
  SetAndRepaint(gradientBorder_, value);
}

void TFxButton::SetGradientType(TGradientType value) {
  if (value == gradientType_) return;
  gradientType_ = value;
  UpdateImages();
}

bool TFxButton::AnotherDown() const {
  if (!Parent()) return false;
  for (int i = 0; i < Parent()->ControlCount(); ++i) {
    auto* other = dynamic_cast<TFxButton*>(Parent()->Controls(i));
    if (other && other != this && other->groupIndex_ == groupIndex_ && other->down_) return true;
  }
  return false;
}

void TFxButton::SetDown(bool value) {
  if (groupIndex_ <= 0) return;
  if (!value && !allowAllUp_ && !AnotherDown()) return;
  down_ = value;
  if (value) {
    if (Parent())
      for (int i = 0; i < Parent()->ControlCount(); ++i) {
        auto* other = dynamic_cast<TFxButton*>(Parent()->Controls(i));
        if (other && other != this && other->groupIndex_ == groupIndex_ && other->down_)
          other->SetDown(false);
      }
    SetStateFlags(StateFlags() | kMouseOver | kLeftPressed);
    ChooseFadeStep(&TFxButton::FadeInStep);
  } else {
    SetStateFlags(StateFlags() & ~kLeftPressed);
    ChooseFadeStep(&TFxButton::FadeOutStep);
  }
  StartFade();
}

void TFxButton::Click() {
  if (groupIndex_ > 0) SetDown(!down_);
  TFxCustomControl::Click();
}

// Enter clicks the focused or the Default button, Escape the Cancel one; only a button that
// can take the focus answers.
bool TFxButton::DialogKey(WORD key, TShiftState shift) {
  const bool plain = !shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
  const bool enter = key == VK_RETURN && (Focused() || default_);
  const bool escape = key == VK_ESCAPE && cancel_ && plain;
  if ((enter || escape) && CanFocus()) {
    Click();
    return true;
  }
  return TFxCustomControl::DialogKey(key, shift);
}

void TFxButton::MouseEntered() {
  SetStateFlags(StateFlags() | kMouseOver);
  FadeIn();
  TFxCustomControl::MouseEntered();
}

// A latched button keeps its hover look when the mouse goes.
void TFxButton::MouseLeft() {
  if (!down_) {
    SetStateFlags(StateFlags() & ~kMouseOver);
    FadeOut();
  }
  TFxCustomControl::MouseLeft();
}

void TFxButton::LeftButtonDown() {
  TFxCustomControl::LeftButtonDown();
  SetStateFlags(StateFlags() | kMouseOver | kLeftPressed);
  FadeIn();
}

void TFxButton::LeftButtonUp() {
  if ((StateFlags() & kLeftPressed) && !down_) SetStateFlags(StateFlags() & ~kLeftPressed);
  if (StateFlags() & kMouseOver) ChooseFadeStep(&TFxButton::FadeInStep);
  StartFade();
}

void TFxButton::UpdateImages() {
  const RECT all{0, 0, Width(), Height()};
  const struct {
    TBitmap& image;
    TColor from, to;
  } looks[] = {{rest_, colors_.DefaultFrom(), colors_.DefaultTo()},
               {hover_, colors_.OverFrom(), colors_.OverTo()},
               {pressed_, colors_.ClickedFrom(), colors_.ClickedTo()}};
  for (const auto& look : looks) {
    look.image.SetSize(Width(), Height());
    FillGradient(look.image, all, look.from, nullptr, gradientType_, look.to);
  }
  ++imagesStamp_;
  Invalidate();
}

RECT TFxButton::CaptionRect() {
  RECT c = ClientRect();
  if (glyph_.Empty()) return c;
  const int shift = glyph_.Width() + spacing_;
  switch (layout_) {
  case blGlyphLeft:
    c.left += shift;
    break;
  case blGlyphRight:
    c.left -= shift;
    break;
  case blGlyphTop:
    c.top += shift;
    break;
  case blGlyphBottom:
    c.top -= shift;
    break;
  }
  return c;
}

TFxButton::TLook TFxButton::CurrentLook() {
  const RECT r = ClientRect();
  return TLook{r.right,
               r.bottom,
               Caption(),
               hotTrack_ && (StateFlags() & kMouseOver),
               Enabled(),
               ShowCaption(),
               TextShadow(),
               gradientBorder_,
               Color(),
               colors_.BorderColor(),
               colors_.HotTrack(),
               colors_.TextShadow(),
               layout_,
               spacing_,
               imagesStamp_,
               glyphStamp_};
}

void TFxButton::Paint(TCanvas& canvas) {
  const TLook look = CurrentLook();
  frames_.Paint(
      canvas, frame_, TFxFrameCache::Key(HoverLevel(), PressLevel()), [this] { DrawFrame(); }, look,
      look_, Font(), lookFont_);
  if (HasFocus() && showFocusRect_) {
    RECT focus{0, 0, look.Width, look.Height};
    ::InflateRect(&focus, -Scaled(2), -Scaled(2));
    canvas.DrawFocusRect(focus);
  }
}

void TFxButton::DrawFrame() {
  RECT r = ClientRect();
  const int width = r.right, height = r.bottom;
  const int offset = Scaled(1);
  ComposeState(frame_, rest_, hover_, offset, r, HoverLevel());
  if (PressLevel() > 0) {
    RECT pressed = r;
    if (gradientBorder_) ::InflateRect(&pressed, -Scaled(3), -Scaled(3));
    ComposeState(frame_, frame_, pressed_, offset, pressed, PressLevel());
  }
  TCanvas& image = frame_.Canvas();
  image.Brush().SetStyle(bsClear);
  image.Pen().SetWidth(1);
  image.Pen().SetStyle(psSolid);
  image.Pen().SetColor(Color());
  // The outline covers the band the shifted rest image leaves uncovered.
  for (RECT band = r; band.left < r.left + offset; ::InflateRect(&band, -1, -1))
    image.Rectangle(band);
  image.Pen().SetColor(colors_.BorderColor());
  const int corner = Scaled(5);
  image.RoundRect(RECT{0, 0, width, height}, corner, corner);

  const RECT c = CaptionRect();
  TFont font(Font());
  if (hotTrack_ && (StateFlags() & kMouseOver)) font.SetColor(colors_.HotTrack());
  const bool withText = ShowCaption() && !Caption().empty();
  if (ShowCaption())
    DrawCaptionText(image, Caption(), font, colors_.TextShadow(), TextShadow(),
                    TextFormat(taCenter, false), c, Enabled(), Scaled(1));

  if (!glyph_.Empty()) {
    const SIZE text = withText ? image.TextExtent(Caption()) : SIZE{0, 0};
    const POINT at = ButtonGlyphPosition(layout_, c, SIZE{glyph_.Width(), glyph_.Height()}, text,
                                         withText, spacing_, width, height);
    DrawTransparent(frame_, at.x, at.y, Enabled() ? glyph_ : disabledGlyph_);
  }
}

LONG TFxButton::AccessibleRole() const {
  return ROLE_SYSTEM_PUSHBUTTON;
}

LONG TFxButton::AccessibleState() const {
  LONG state = TFxCustomControl::AccessibleState();
  if (down_) state |= STATE_SYSTEM_PRESSED;
  if (default_) state |= STATE_SYSTEM_DEFAULT;
  return state;
}
