#pragma once
#include "styled/FxCustomControl.h"
#include "ui/Application.h"
#include "ui/Bitmap.h"
#include "ui/Control.h"
#include "ui/Forms.h"

// A hidden top-level window to hold the controls under test. Wine under Xvfb waits seconds
// for a visible top-level window to go away when no window manager runs; hidden ones go at once.
class TTestHost : public TWinControl {
public:
  TTestHost() : TWinControl(nullptr) {
    SetVisible(false);
    SetBounds(0, 0, 400, 200);
  }
};

// A shown window, for what needs the focus: controls of a hidden window cannot take it.
class TTestForm : public TForm {
public:
  TTestForm() : TForm(nullptr) {
    SetBounds(0, 0, 400, 250);
    Show();
  }
};

// A mouse message as the system sends it, at (x, y) of the control's client area.
inline void SendMouse(TWinControl& control, UINT msg, int x = 5, int y = 5) {
  WPARAM keys = msg == WM_LBUTTONDOWN ? MK_LBUTTON : 0;
  ::SendMessageW(control.Handle(), msg, keys, MAKELPARAM(x, y));
}

// Moves in, presses and releases the left button: a click as the user makes it.
inline void ClickWithMouse(TWinControl& control) {
  SendMouse(control, WM_MOUSEMOVE);
  SendMouse(control, WM_LBUTTONDOWN);
  SendMouse(control, WM_LBUTTONUP);
}

// A key pressed and released at the focused window, through the application's message
// handling (Tab and the dialog keys are answered there, as in the running program).
inline void TypeKey(WORD key) {
  MSG down{::GetFocus(), WM_KEYDOWN, key, 1, 0, {}};
  Application().ProcessMessage(down);
  MSG up{::GetFocus(), WM_KEYUP, key, LPARAM(0xC0000001), 0, {}};
  Application().ProcessMessage(up);
}

// Delivers the fade timer's ticks until the fade stops; answers the number of ticks.
inline int RunFade(TFxCustomControl& control) {
  int ticks = 0;
  while (control.FadeTimerInterval() != 0 && ticks < 100) {
    ::SendMessageW(control.Handle(), WM_TIMER, TFxCustomControl::kFadeTimerId, 0);
    ++ticks;
  }
  return ticks;
}

// The control as it shows on screen.
inline void Render(TWinControl& control, TBitmap& target) {
  target.SetSize(control.Width(), control.Height());
  target.Fill(control.Color());
  control.PaintTo(target.Canvas().Handle(), 0, 0);
  ::GdiFlush();
}
