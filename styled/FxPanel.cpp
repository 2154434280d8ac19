#include "styled/FxPanel.h"

#include <oleacc.h>

#include <algorithm>

TFxPanel::TFxPanel(TComponent* owner) : TFxCustomControl(owner) {
  // A panel holds controls; Tab passes it by and lands on them.
  SetTabStop(false);
  // The frame and caption cover every pixel.
  SetOpaque(true);
  SetColor(14933983);
  Font().SetColor(13500416);
  SetBounds(Left(), Top(), 185, 105);
  ready_ = true;
  UpdateImages();
}

void TFxPanel::CreateParams(TCreateParams& params) {
  TFxCustomControl::CreateParams(params);
  // Painting copies the cached frame, which a resize renders again: no full redraw needed.
  params.ClassStyle &= ~(CS_HREDRAW | CS_VREDRAW);
}

void TFxPanel::FrameChanged() {
  UpdateImages();
}

void TFxPanel::SetCaptionPosition(TFxCaptionPos value) {
  if (value == captionPosition_) return;
  bool groupBoxChanged = (value == cpGroupBox) != (captionPosition_ == cpGroupBox);
  captionPosition_ = value;
  Realign();
  if (groupBoxChanged)
    FrameChanged();
  else
    Invalidate();
}

void TFxPanel::SetCornerWidth(int value) {
  if (value == frame_.CornerWidth || value < 0) return;
  cornerWidth_.Set(value, Dpi());
  frame_.CornerWidth = value;
  FrameChanged();
}

void TFxPanel::SetBorderWidth(int value) {
  if (value == frame_.BorderWidth || value <= 0) return;
  borderWidth_.Set(value, Dpi());
  frame_.BorderWidth = value;
  Realign();
  FrameChanged();
}

void TFxPanel::DpiChanged(int oldDpi, int newDpi) {
  TFxCustomControl::DpiChanged(oldDpi, newDpi);
  cornerWidth_.Rescale(newDpi);
  borderWidth_.Rescale(newDpi);
  frame_.CornerWidth = cornerWidth_;
  frame_.BorderWidth = borderWidth_;
  frame_.Dpi = newDpi;
  Realign();
  UpdateImages();
}

void TFxPanel::SetBorderColor(TColor value) {
  if (value == frame_.BorderColor) return;
  frame_.BorderColor = value;
  FrameChanged();
}

void TFxPanel::SetOuterColor(TColor value) {
  if (value == frame_.OuterColor) return;
  frame_.OuterColor = value;
  FrameChanged();
}

void TFxPanel::SetTextShadowColor(TColor value) {
  SetAndRepaint(textShadowColor_, value);
}

void TFxPanel::SetAntialiased(bool value) {
  if (value == frame_.Antialiased) return;
  frame_.Antialiased = value;
  if (value) frame_.Gradient = false;
  FrameChanged();
}

void TFxPanel::SetGradient(bool value) {
  if (frame_.Antialiased) value = false;
  if (value == frame_.Gradient) return;
  frame_.Gradient = value;
  FrameChanged();
}

// The gradient colours are part of the frame: a panel that shows its gradient renders it again
// at once, rather than keeping the old colours on screen until the next resize.
void TFxPanel::SetDefaultFrom(TColor value) {
  if (value == frame_.DefaultFrom) return;
  frame_.DefaultFrom = value;
  if (frame_.Gradient)
    FrameChanged();
  else
    Invalidate();
}

void TFxPanel::SetDefaultTo(TColor value) {
  if (value == frame_.DefaultTo) return;
  frame_.DefaultTo = value;
  if (frame_.Gradient)
    FrameChanged();
  else
    Invalidate();
}

void TFxPanel::SetGradientType(TGradientType value) {
  if (value == frame_.GradientType) return;
  frame_.GradientType = value;
  FrameChanged();
}

int TFxPanel::CaptionHeight() {
  TCanvas& canvas = image_.Canvas();
  canvas.Font().Assign(Font());
  return canvas.TextHeight(Caption());
}

void TFxPanel::UpdateImages() {
  if (!ready_ || Loading()) return;
  frame_.Color = Color();
  frame_.CaptionHeight = captionPosition_ == cpGroupBox ? CaptionHeight() : 0;
  image_.SetSize(Width(), Height());
  RenderPanelFrame(image_, frame_);
  Invalidate();
}

void TFxPanel::Resized() {
  UpdateImages();
}

// A group box's frame runs through the middle of its caption, so the caption's height shapes
// the frame and the client area: a new caption or font renders and realigns again.
void TFxPanel::TextChanged() {
  if (captionPosition_ == cpGroupBox) {
    Realign();
    UpdateImages();
  }
  TFxCustomControl::TextChanged();
}

void TFxPanel::FontChanged() {
  TFxCustomControl::FontChanged();
  if (captionPosition_ == cpGroupBox) {
    Realign();
    UpdateImages();
  }
}

void TFxPanel::ColorChanged() {
  TFxCustomControl::ColorChanged();
  UpdateImages();
}

void TFxPanel::ParentColorChanged() {
  TFxCustomControl::ParentColorChanged();
  if (ParentColor() && Parent()) SetOuterColor(Parent()->Color());
}

void TFxPanel::Loaded() {
  TFxCustomControl::Loaded();
  UpdateImages();
}

void TFxPanel::AdjustClientRect(RECT& rect) {
  const int side = frame_.BorderWidth + Scaled(1);
  if (captionPosition_ != cpGroupBox) {
    ::InflateRect(&rect, -side, -side);
    return;
  }
  const int half = CaptionHeight() / 2;
  rect.left += side;
  rect.right -= side;
  rect.top += half + Scaled(2);
  rect.bottom -= half + Scaled(2);
  ::OffsetRect(&rect, 0, half - Scaled(1));
}

RECT TFxPanel::CaptionRect(UINT& format) {
  const int cw = frame_.CornerWidth, bw = frame_.BorderWidth;
  const int m = (cw + bw) / 2;
  RECT r{m, bw, Width() - m, Height() - bw};
  format = DT_SINGLELINE | DT_END_ELLIPSIS;
  switch (captionPosition_) {
  case cpGroupBox:
    r.top -= bw;
    if (bw + cw < 2) r.left += Scaled(5);
    format |= DT_TOP | DT_LEFT;
    break;
  case cpTopLeft:
    format |= DT_TOP | DT_LEFT;
    break;
  case cpTopCenter:
    format |= DT_TOP | DT_CENTER;
    break;
  case cpTopRight:
    format |= DT_TOP | DT_RIGHT;
    break;
  case cpMiddleLeft:
    r.left -= (cw - bw) / 2;
    format |= DT_VCENTER | DT_LEFT;
    break;
  case cpMiddleCenter:
    format |= DT_VCENTER | DT_CENTER;
    break;
  case cpMiddleRight:
    r.right += (cw - bw) / 2;
    format |= DT_VCENTER | DT_RIGHT;
    break;
  case cpBottomLeft:
    format |= DT_BOTTOM | DT_LEFT;
    break;
  case cpBottomCenter:
    format |= DT_BOTTOM | DT_CENTER;
    break;
  case cpBottomRight:
    format |= DT_BOTTOM | DT_RIGHT;
    break;
  }
  return r;
}

void TFxPanel::Paint(TCanvas& canvas) {
  canvas.Brush().SetColor(frame_.OuterColor);
  canvas.FillRect(canvas.ClipRect());
  canvas.Draw(0, 0, image_);
  if (!ShowCaption()) return;

  UINT format = 0;
  RECT r = CaptionRect(format);
  canvas.Font().Assign(Font());
  if (captionPosition_ == cpGroupBox) {
    // The caption stands in a gap of the frame's top line, on the outer colour.
    const int h = canvas.TextHeight(Caption());
    const int line = h / 2 + r.top;
    canvas.Brush().SetColor(frame_.OuterColor);
    canvas.FillRect(RECT{0, 0, r.right, line});
    canvas.FillRect(RECT{r.left, line, r.left + canvas.TextWidth(Caption()),
                         line + std::min(frame_.BorderWidth, h / 2)});
  }
  canvas.Brush().SetStyle(bsClear);
  DrawCaptionText(canvas, Caption(), Font(), textShadowColor_, TextShadow(), format, r, Enabled(),
                  Scaled(1));
}

LONG TFxPanel::AccessibleRole() const {
  return ROLE_SYSTEM_GROUPING;
}
