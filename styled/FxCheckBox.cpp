#include "styled/FxCheckBox.h"

#include "ui/Exception.h"

#include <oleacc.h>

#include <map>
#include <memory>

namespace {

// The "CHECK" resource drawn for a DPI, loaded once for the program at each DPI asked for. A
// program without it shows no mark rather than an error at every paint.
const TBitmap& PlainCheckMark(int dpi) {
  static std::map<int, std::unique_ptr<TBitmap>> marks;
  std::unique_ptr<TBitmap>& mark = marks[dpi];
  if (!mark) {
    mark = std::make_unique<TBitmap>();
    try {
      LoadBitmapForDpi(*mark, L"CHECK", dpi);
    } catch (const EResNotFound&) {
      mark->SetSize(0, 0);
    }
  }
  return *mark;
}

} // namespace

TFxCheckBox::TFxCheckBox(TComponent* owner) : TFxCustomControl(owner) {
  SetParentColor(true);
  SetOpaque(true);
  SetBounds(Left(), Top(), 130, 17);
  UpdateImages();
}

void TFxCheckBox::SetBorderLines(TBorderLines value) {
  SetAndRepaint(borderLines_, value);
}

void TFxCheckBox::SetBorderLinesColor(TColor value) {
  SetAndRepaint(borderLinesColor_, value);
}

void TFxCheckBox::SetHotTrack(bool value) {
  SetAndRepaint(hotTrack_, value);
}

void TFxCheckBox::SetSpacing(int value) {
  if (value == spacing_) return;
  spacing_.Set(value, Dpi());
  Invalidate();
}

void TFxCheckBox::DpiChanged(int oldDpi, int newDpi) {
  TFxCustomControl::DpiChanged(oldDpi, newDpi);
  spacing_.Rescale(newDpi);
  mark_.SetSize(0, 0);
  UpdateImages();
}

void TFxCheckBox::SetChecked(bool value) {
  SetAndRepaint(checked_, value);
}

void TFxCheckBox::SetShowFocusRect(bool value) {
  SetAndRepaint(showFocusRect_, value);
}

void TFxCheckBox::SetCheckColor(TColor value) {
  SetAndRepaint(checkColor_, value);
}

void TFxCheckBox::SetGradientBorder(bool value) {
  SetAndRepaint(gradientBorder_, value);
}

RECT TFxCheckBox::BoxRect() const {
  const int size = Scaled(kBoxSize);
  const int top = (Height() - size) / 4;
  return RECT{Scaled(1), top, Scaled(1) + size, top + size};
}

const TBitmap& TFxCheckBox::CheckMark() {
  const TColor color = Enabled() ? checkColor_ : clGray;
  if (color != markColor_ || mark_.Empty()) {
    mark_.Assign(PlainCheckMark(Dpi()));
    TintBitmap(mark_, color);
    // The background's tint is the bottom-left pixel's colour, which drawing leaves out.
    mark_.SetTransparent(true);
    markColor_ = color;
  }
  return mark_;
}

void TFxCheckBox::UpdateImages() {
  const int size = Scaled(kBoxSize);
  const RECT box{0, 0, size, size};
  // The frame gains a second pixel only where the scale gives whole ones.
  const int frameWidth = std::max(1, Dpi() / kDesignDpi);
  const struct {
    TBitmap& image;
    TColor from, to;
    bool framed;
  } looks[] = {{rest_, colors_.DefaultFrom(), colors_.DefaultTo(), true},
               {hover_, colors_.OverFrom(), colors_.OverTo(), true},
               {pressed_, colors_.ClickedFrom(), colors_.ClickedTo(), false}};
  for (const auto& look : looks) {
    look.image.SetSize(size, size);
    FillGradient(look.image, box, look.from, nullptr, gtFromTopLeft, look.to);
    if (!look.framed) continue;
    TCanvas& canvas = look.image.Canvas();
    canvas.Brush().SetStyle(bsClear);
    canvas.Pen().SetStyle(psSolid);
    canvas.Pen().SetWidth(1);
    canvas.Pen().SetColor(colors_.BorderColor());
    for (RECT ring = box; ring.left < frameWidth; ::InflateRect(&ring, -1, -1))
      canvas.Rectangle(ring);
    ::GdiFlush();
  }
  ++imagesStamp_;
  Invalidate();
}

void TFxCheckBox::Click() {
  SetChecked(!checked_);
  TFxCustomControl::Click();
}

void TFxCheckBox::MouseEntered() {
  SetStateFlags(StateFlags() | kMouseOver);
  FadeIn();
  TFxCustomControl::MouseEntered();
}

void TFxCheckBox::MouseLeft() {
  SetStateFlags(StateFlags() & ~(kMouseOver | kLeftPressed));
  FadeOut();
  TFxCustomControl::MouseLeft();
}

void TFxCheckBox::LeftButtonDown() {
  TFxCustomControl::LeftButtonDown();
  SetStateFlags(StateFlags() | kLeftPressed);
  FadeIn();
}

void TFxCheckBox::LeftButtonUp() {
  if (!(StateFlags() & kLeftPressed)) return;
  SetStateFlags(StateFlags() & ~kLeftPressed);
  FadeIn();
}

TFxCheckBox::TLook TFxCheckBox::CurrentLook() {
  const RECT r = ClientRect();
  return TLook{r.right,
               r.bottom,
               Caption(),
               hotTrack_ && (StateFlags() & kMouseOver),
               Enabled(),
               checked_,
               ShowCaption(),
               TextShadow(),
               gradientBorder_,
               Color(),
               checkColor_,
               colors_.HotTrack(),
               colors_.TextShadow(),
               borderLinesColor_,
               borderLines_.ToInt(),
               spacing_,
               imagesStamp_};
}

// The control is put together off screen and goes to the screen in one copy; each fade frame
// is drawn once for the current look (see TFxFrameCache).
void TFxCheckBox::Paint(TCanvas& canvas) {
  const TLook look = CurrentLook();
  frames_.Paint(
      canvas, screen_, TFxFrameCache::Key(HoverLevel(), PressLevel()), [this] { DrawFrame(); },
      look, look_, Font(), lookFont_);
  if (HasFocus() && showFocusRect_) canvas.DrawFocusRect(RECT{0, 0, look.Width, look.Height});
}

void TFxCheckBox::DrawFrame() {
  const RECT client = ClientRect();
  frame_.SetSize(client.right, client.bottom);
  frame_.Fill(Color());
  RECT box = BoxRect();
  ComposeState(frame_, rest_, hover_, 0, box, HoverLevel());
  if (PressLevel() > 0) {
    RECT pressed = box;
    const int inset = Scaled(gradientBorder_ ? 2 : 1);
    ::InflateRect(&pressed, -inset, -inset);
    ComposeState(frame_, frame_, pressed_, Scaled(10), pressed, PressLevel());
  }
  if (checked_) DrawTransparent(frame_, box.left + Scaled(2), box.top + Scaled(2), CheckMark());
  // The box image lands on the control at the box's corner.
  screen_.SetSize(client.right, client.bottom);
  screen_.Fill(Color());
  TCanvas& image = screen_.Canvas();
  ::BitBlt(image.Handle(), box.left, box.top, client.right, client.bottom, frame_.Canvas().Handle(),
           0, 0, SRCCOPY);

  RECT caption = client;
  caption.left += spacing_ + Scaled(16);
  TFont font(Font());
  if (hotTrack_ && (StateFlags() & kMouseOver)) font.SetColor(colors_.HotTrack());
  image.Brush().SetStyle(bsClear);
  if (ShowCaption())
    DrawCaptionText(image, Caption(), font, colors_.TextShadow(), TextShadow(),
                    TextFormat(taLeftJustify, false), caption, Enabled(), Scaled(1));

  TPen& pen = image.Pen();
  pen.SetColor(borderLinesColor_);
  pen.SetWidth(1);
  pen.SetStyle(psSolid);
  const int l = client.left, t = client.top, r = client.right, b = client.bottom;
  if (borderLines_.Contains(blTop)) {
    image.MoveTo(l, t);
    image.LineTo(r, t);
  }
  if (borderLines_.Contains(blBottom)) {
    image.MoveTo(l, b - 1);
    image.LineTo(r, b - 1);
  }
  if (borderLines_.Contains(blLeft)) {
    image.MoveTo(l, t);
    image.LineTo(l, b);
  }
  if (borderLines_.Contains(blRight)) {
    image.MoveTo(r - 1, t);
    image.LineTo(r - 1, b);
  }
}

LONG TFxCheckBox::AccessibleRole() const {
  return ROLE_SYSTEM_CHECKBUTTON;
}

LONG TFxCheckBox::AccessibleState() const {
  return TFxCustomControl::AccessibleState() | (checked_ ? STATE_SYSTEM_CHECKED : 0);
}

std::wstring TFxCheckBox::AccessibleDefaultAction() const {
  return checked_ ? L"Uncheck" : L"Check";
}
