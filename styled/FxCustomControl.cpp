#include "styled/FxCustomControl.h"

#include "styled/FxAccessible.h"
#include "styled/FxStyleManager.h"

#include <oleacc.h>
#include <windowsx.h>

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

LONG TFxCustomControl::AccessibleState() const {
  LONG state = 0;
  if (!Showing()) state |= STATE_SYSTEM_INVISIBLE;
  if (!Enabled())
    state |= STATE_SYSTEM_UNAVAILABLE;
  else if (TabStop())
    state |= STATE_SYSTEM_FOCUSABLE;
  if (Focused()) state |= STATE_SYSTEM_FOCUSED;
  if (state_ & kMouseOver) state |= STATE_SYSTEM_HOTTRACKED;
  return state;
}

bool TFxCustomControl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
  case WM_TIMER:
    if (wParam == kFadeTimerId && fadeStep_) {
      // A fade is decoration: a failing step must not bring up an error box at every tick.
      try {
        (this->*fadeStep_)();
      } catch (...) {
      }
    }
    break;
  case WM_LBUTTONUP: {
    // The click comes first, then the release handling; the click may free this control (and
    // its window), so nothing here touches it afterwards unless it is still alive, and the
    // message is answered here rather than by the default procedure of a gone window.
    TLifeGuard guard(*this);
    POINT point{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    RECT client = ClientRect();
    bool click = clickPending_ && ::PtInRect(&client, point);
    clickPending_ = false;
    SetMouseCapture(false);
    if (click) Click();
    if (guard.Alive()) MouseUp(mbLeft, KeyboardShiftState(), point.x, point.y);
    result = 0;
    return true;
  }
  case WM_CAPTURECHANGED:
    if (reinterpret_cast<HWND>(lParam) != Handle()) clickPending_ = false;
    break;
  case WM_KEYDOWN:
    // A held Space repeats its key-down: only the first press clicks.
    if (wParam == VK_SPACE && (lParam & (1 << 30)) && ClicksOnSpace()) {
      result = 0;
      return true;
    }
    break;
  case WM_GETOBJECT:
    if (static_cast<LONG>(static_cast<DWORD>(lParam)) == OBJID_CLIENT && AccessibleRole() != 0) {
      result = AnswerAccessibleObject(Handle(), wParam);
      if (result) return true;
    }
    break;
  case kAccessibleActionMessage:
    if (Enabled() && !AccessibleDefaultAction().empty()) Click();
    result = 0;
    return true;
  default:
    break;
  }
  return TWinControl::HandleMessage(msg, wParam, lParam, result);
}

void TFxCustomControl::DestroyWnd() {
  StopFade();
  hasFocus_ = false;
  TWinControl::DestroyWnd();
}

void TFxCustomControl::DoEnter() {
  hasFocus_ = true;
  FocusChanged();
  TWinControl::DoEnter();
}

void TFxCustomControl::DoExit() {
  hasFocus_ = false;
  FocusChanged();
  TWinControl::DoExit();
}

// A left press captures the mouse, so that the release arrives here wherever it happens and
// clicks only when it is inside.
void TFxCustomControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TLifeGuard guard(*this);
  TWinControl::MouseDown(button, shift, x, y);
  if (!guard.Alive() || button != mbLeft) return;
  SetMouseCapture(true);
  clickPending_ = true;
  LeftButtonDown();
}

void TFxCustomControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TLifeGuard guard(*this);
  TWinControl::MouseUp(button, shift, x, y);
  if (guard.Alive() && button == mbLeft) LeftButtonUp();
}

// The click is the last thing done with the key: the framework then only answers the message.
void TFxCustomControl::KeyDown(WORD& key, TShiftState shift) {
  TLifeGuard guard(*this);
  TWinControl::KeyDown(key, shift);
  if (!guard.Alive() || key != VK_SPACE || !ClicksOnSpace()) return;
  if (shift.Contains(ssShift) || shift.Contains(ssCtrl) || shift.Contains(ssAlt)) return;
  key = 0;
  Click();
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
