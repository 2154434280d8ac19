#include "styled/FxProgressBar.h"

#include "ui/Numbers.h"

#include <cmath>

TFxProgressBar::TFxProgressBar(TComponent* owner) : TFxCustomControl(owner) {
  // It only shows progress: Tab passes it by.
  SetTabStop(false);
  SetTextShadow(false);
  SetBounds(Left(), Top(), 150, 16);
  UpdateImages();
}

void TFxProgressBar::SetDefaultFrom(TColor value) {
  if (defaultFrom_ == value) return;
  defaultFrom_ = value;
  UpdateImages();
}

void TFxProgressBar::SetDefaultTo(TColor value) {
  if (defaultTo_ == value) return;
  defaultTo_ = value;
  UpdateImages();
}

void TFxProgressBar::SetGradientType(TGradientType value) {
  if (gradientType_ == value) return;
  gradientType_ = value;
  UpdateImages();
}

// A range with no width (Max = Min, reachable only through a layout) shows 0 %.
void TFxProgressBar::SetPosition(int value) {
  position_ = value;
  if (position_ < min_) position_ = min_;
  if (max_ < position_) position_ = max_;
  if (max_ == min_) {
    percent_ = 0;
  } else {
    double part = (double(position_) - min_) / (double(max_) - min_);
    percent_ = static_cast<int>(RoundHalfEven(std::fabs(part) * 100));
  }
  Invalidate();
}

// At run time the range never becomes empty or inverted: a clean run over one row asks for a
// maximum of 0, which the bar ignores and keeps the previous one.
void TFxProgressBar::SetMax(int value) {
  if (!Loading() && (value == max_ || value <= min_)) return;
  max_ = value;
  if (value < position_) SetPosition(value);
  SetPosition(position_);
}

void TFxProgressBar::SetMin(int value) {
  if (!Loading() && (value == min_ || value >= max_)) return;
  min_ = value;
  if (position_ < value) SetPosition(value);
  SetPosition(position_);
}

void TFxProgressBar::SetBorderLines(TBorderLines value) {
  if (borderLines_ == value) return;
  borderLines_ = value;
  Invalidate();
}

void TFxProgressBar::SetBorderColor(TColor value) {
  if (borderColor_ == value) return;
  borderColor_ = value;
  Invalidate();
}

// A border of half the height or more would leave no bar at all.
void TFxProgressBar::DpiChanged(int oldDpi, int newDpi) {
  TFxCustomControl::DpiChanged(oldDpi, newDpi);
  borderWidth_.Rescale(newDpi);
  Invalidate();
}

void TFxProgressBar::SetBorderWidth(int value) {
  if (value == borderWidth_ || value < 0) return;
  if (value < Height() / 2) borderWidth_.Set(value, Dpi());
  Invalidate();
}

void TFxProgressBar::SetOrientation(TProgressBarOrientation value) {
  if (orientation_ == value) return;
  orientation_ = value;
  Invalidate();
}

void TFxProgressBar::SetShowText(bool value) {
  if (showText_ == value) return;
  showText_ = value;
  Invalidate();
}

RECT TFxProgressBar::BarRect(const RECT& client) const {
  if (orientation_ == pbVertical)
    return RECT{client.left, (100 - percent_) * (client.bottom - client.top) / 100, client.right,
                client.bottom};
  return RECT{client.left, client.top, (client.right - client.left) * percent_ / 100,
              client.bottom};
}

std::wstring TFxProgressBar::BarText() const {
  std::wstring text;
  if (showText_) text = IntToStrW(percent_) + L"%";
  if (!Caption().empty() && ShowCaption()) text = showText_ ? text + L" " + Caption() : Caption();
  return text;
}

void TFxProgressBar::UpdateImages() {
  image_.SetSize(Width(), Height());
  FillGradient(image_, RECT{0, 0, Width(), Height()}, defaultFrom_, nullptr, gradientType_,
               defaultTo_);
  Invalidate();
}

void TFxProgressBar::Resized() {
  UpdateImages();
}

void TFxProgressBar::Paint(TCanvas& canvas) {
  const RECT client = ClientRect();
  RECT bar = BarRect(client);
  int shrink = borderWidth_ + (borderLines_.Empty() ? 0 : 1);
  ::InflateRect(&bar, -shrink, -shrink);
  // A bar narrower than its border has nothing to show (and a reversed rectangle would mirror
  // the copy).
  if (percent_ > 0 && bar.right > bar.left && bar.bottom > bar.top)
    ::BitBlt(canvas.Handle(), bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top,
             image_.Canvas().Handle(), bar.left, bar.top, SRCCOPY);

  if (showText_ || ShowCaption()) {
    canvas.Brush().SetStyle(bsClear);
    DrawCaptionText(canvas, BarText(), Font(), clWhite, TextShadow(),
                    DT_CENTER | DT_VCENTER | DT_SINGLELINE, client, true, Scaled(1));
  }

  TPen& pen = canvas.Pen();
  pen.SetColor(borderColor_);
  pen.SetWidth(1);
  pen.SetStyle(psSolid);
  if (borderLines_.Contains(blTop)) {
    canvas.MoveTo(0, 0);
    canvas.LineTo(client.right, client.top);
  }
  if (borderLines_.Contains(blBottom)) {
    canvas.MoveTo(0, client.bottom - 1);
    canvas.LineTo(client.right, client.bottom - 1);
  }
  if (borderLines_.Contains(blLeft)) {
    canvas.MoveTo(0, 0);
    canvas.LineTo(client.left, client.bottom);
  }
  if (borderLines_.Contains(blRight)) {
    canvas.MoveTo(client.right - 1, client.top);
    canvas.LineTo(client.right - 1, client.bottom);
  }
}
