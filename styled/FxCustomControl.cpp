#include "styled/FxCustomControl.h"

#include "styled/FxStyleManager.h"

TFxCustomControl::TFxCustomControl(TComponent* owner) : TWinControl(owner) {
  SetDoubleBuffered(true);
  SetTabStop(true);
}

TFxCustomControl::~TFxCustomControl() {
  SetFxStyleManager(nullptr);
}

void TFxCustomControl::SetTextShadow(bool value) {
  if (textShadow_ == value) return;
  textShadow_ = value;
  Invalidate();
}

void TFxCustomControl::SetShowCaption(bool value) {
  if (showCaption_ == value) return;
  showCaption_ = value;
  Invalidate();
}

void TFxCustomControl::SetFxStyleManager(TFxStyleManager* manager) {
  if (styleManager_ == manager) return;
  if (styleManager_) styleManager_->RemoveControl(this);
  styleManager_ = manager;
  if (styleManager_) styleManager_->AddControl(this);
}

void TFxCustomControl::LeftButtonDown() {
  if (!Focused() && CanFocus()) SetFocus();
}

void TFxCustomControl::MouseEntered() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TFxCustomControl::MouseLeft() {
  if (OnMouseLeave) OnMouseLeave(this);
}

void TFxCustomControl::TextChanged() {
  Invalidate();
}

void TFxCustomControl::EnabledChanged() {
  Invalidate();
}

void TFxCustomControl::FadeInStep() {
  if ((state_ & (kMouseOver | kLeftPressed)) == (kMouseOver | kLeftPressed)) {
    if (pressLevel_ >= 100) {
      pressLevel_ = 100;
      Invalidate();
      StopFade();
      return;
    }
    pressLevel_ += 25;
  } else {
    if (pressLevel_ > 0) pressLevel_ -= 25;
    if (hoverLevel_ < 100)
      hoverLevel_ += 10;
    else
      hoverLevel_ = 100;
    if (pressLevel_ <= 0 && hoverLevel_ >= 100) {
      Invalidate();
      StopFade();
      return;
    }
  }
  Invalidate();
}

void TFxCustomControl::FadeOutStep() {
  if (pressLevel_ > 0) pressLevel_ -= 25;
  if (hoverLevel_ > 0 || pressLevel_ > 0) {
    hoverLevel_ -= 10;
  } else {
    hoverLevel_ = 0;
    pressLevel_ = 0;
    StopFade();
  }
  Invalidate();
}

void TFxCustomControl::StartFade() {
  StopFade();
  fadeInterval_ = FadeInterval(fadeSpeed_);
  ::SetTimer(Handle(), kFadeTimerId, fadeInterval_, nullptr);
}

void TFxCustomControl::FadeIn() {
  ChooseFadeStep(&TFxCustomControl::FadeInStep);
  StartFade();
}

void TFxCustomControl::FadeOut() {
  ChooseFadeStep(&TFxCustomControl::FadeOutStep);
  StartFade();
}

void TFxCustomControl::StopFade() {
  if (HandleAllocated()) ::KillTimer(Handle(), kFadeTimerId);
  fadeInterval_ = 0;
}

bool TFxCustomControl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if (msg == WM_TIMER && wParam == kFadeTimerId && fadeStep_) {
    // A fade is decoration: a failing step must not bring up an error box at every tick.
    try {
      (this->*fadeStep_)();
    } catch (...) {
    }
  }
  return TWinControl::HandleMessage(msg, wParam, lParam, result);
}

void TFxCustomControl::DestroyWnd() {
  StopFade();
  TWinControl::DestroyWnd();
}

void TFxCustomControl::DoEnter() {
  FocusChanged();
  TWinControl::DoEnter();
}

void TFxCustomControl::DoExit() {
  FocusChanged();
  TWinControl::DoExit();
}

void TFxCustomControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TWinControl::MouseDown(button, shift, x, y);
  if (button == mbLeft) LeftButtonDown();
}

void TFxCustomControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TWinControl::MouseUp(button, shift, x, y);
  if (button == mbLeft) LeftButtonUp();
}

void TFxCustomControl::MouseMove(TShiftState shift, int x, int y) {
  MouseMoved();
  TWinControl::MouseMove(shift, x, y);
}

// OnMouseEnter and OnMouseLeave are raised by MouseEntered and MouseLeft, so that a styled
// control that overrides them decides whether the events run.
void TFxCustomControl::MouseEnter() {
  MouseEntered();
}

void TFxCustomControl::MouseLeave() {
  MouseLeft();
}

void TFxCustomControl::Resize() {
  Resized();
  TWinControl::Resize();
}

void TFxCustomControl::CaptionChanged() {
  TextChanged();
  TWinControl::CaptionChanged();
}
