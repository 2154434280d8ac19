// TWinControl: input and notification hooks, and the message handler.
#include "ui/Control.h"

#include "ui/Menus.h"
#include "ui/Screen.h"

#include <windowsx.h>

namespace {

TShiftState MouseShift(WPARAM wParam) {
  TShiftState s;
  if (wParam & MK_SHIFT) s.Include(ssShift);
  if (wParam & MK_CONTROL) s.Include(ssCtrl);
  if (wParam & MK_LBUTTON) s.Include(ssLeft);
  if (wParam & MK_RBUTTON) s.Include(ssRight);
  if (wParam & MK_MBUTTON) s.Include(ssMiddle);
  if (::GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  return s;
}

} // namespace

TShiftState TWinControl::KeyboardShiftState() {
  TShiftState s;
  if (::GetKeyState(VK_SHIFT) < 0) s.Include(ssShift);
  if (::GetKeyState(VK_CONTROL) < 0) s.Include(ssCtrl);
  if (::GetKeyState(VK_MENU) < 0) s.Include(ssAlt);
  if (::GetKeyState(VK_LBUTTON) < 0) s.Include(ssLeft);
  if (::GetKeyState(VK_RBUTTON) < 0) s.Include(ssRight);
  if (::GetKeyState(VK_MBUTTON) < 0) s.Include(ssMiddle);
  return s;
}

bool TWinControl::MouseCapture() const {
  return handle_ && ::GetCapture() == handle_;
}

void TWinControl::SetMouseCapture(bool capture) {
  if (capture)
    ::SetCapture(Handle());
  else if (MouseCapture())
    ::ReleaseCapture();
}

POINT TWinControl::ClientToScreen(POINT point) {
  ::MapWindowPoints(Handle(), nullptr, &point, 1);
  return point;
}

POINT TWinControl::ScreenToClient(POINT point) {
  ::MapWindowPoints(nullptr, Handle(), &point, 1);
  return point;
}

// ---- hooks ---------------------------------------------------------------------------------

void TWinControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseDown) OnMouseDown(this, button, shift, x, y);
}

void TWinControl::MouseMove(TShiftState shift, int x, int y) {
  if (OnMouseMove) OnMouseMove(this, shift, x, y);
}

void TWinControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  if (OnMouseUp) OnMouseUp(this, button, shift, x, y);
}

bool TWinControl::MouseWheel(TShiftState, int, POINT) {
  return false;
}

void TWinControl::MouseEnter() {
  if (OnMouseEnter) OnMouseEnter(this);
}

void TWinControl::MouseLeave() {
  if (OnMouseLeave) OnMouseLeave(this);
}

void TWinControl::KeyDown(WORD& key, TShiftState shift) {
  if (OnKeyDown) OnKeyDown(this, key, shift);
}

void TWinControl::KeyUp(WORD& key, TShiftState shift) {
  if (OnKeyUp) OnKeyUp(this, key, shift);
}

void TWinControl::KeyPress(wchar_t& key) {
  if (OnKeyPress) OnKeyPress(this, key);
}

bool TWinControl::DialogKey(WORD, TShiftState) {
  return false;
}

void TWinControl::Click() {
  if (OnClick) OnClick(this);
}

void TWinControl::DblClick() {
  if (OnDblClick) OnDblClick(this);
}

void TWinControl::DoEnter() {
  if (OnEnter) OnEnter(this);
}

void TWinControl::DoExit() {
  if (OnExit) OnExit(this);
}

void TWinControl::EnabledChanged() {
  Invalidate();
}
void TWinControl::VisibleChanged() {}

void TWinControl::Resize() {
  if (OnResize) OnResize(this);
}

void TWinControl::CaptionChanged() {
  Invalidate();
}

void TWinControl::FontChanged() {
  if (handle_ && systemProc_)
    ::SendMessageW(handle_, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), TRUE);
  Invalidate();
}

void TWinControl::ColorChanged() {
  Invalidate();
}

void TWinControl::ParentColorChanged() {}
bool TWinControl::Notification(const NMHDR&, LRESULT&) {
  return false;
}
void TWinControl::ControlRemoving(TWinControl*) {}
void TWinControl::ApplicationActivateChanged(bool) {}

void TWinControl::BroadcastActivate(bool active) {
  ApplicationActivateChanged(active);
  for (TWinControl* child : std::vector<TWinControl*>(controls_))
    child->BroadcastActivate(active);
}

bool TWinControl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  const bool native = systemProc_ != nullptr;
  switch (msg) {
  case WM_PAINT:
    if (native) return false;
    PaintMessage();
    result = 0;
    return true;
  case WM_ERASEBKGND:
    if (native) return false;
    if (!opaque_ && !doubleBuffered_) {
      RECT client;
      ::GetClientRect(handle_, &client);
      TGdiObject brush(::CreateSolidBrush(ColorToRGB(color_)));
      ::FillRect(reinterpret_cast<HDC>(wParam), &client, static_cast<HBRUSH>(brush.Get()));
    }
    result = 1;
    return true;
  case WM_WINDOWPOSCHANGED:
    UpdateBoundsFromWindow(*reinterpret_cast<WINDOWPOS*>(lParam));
    return false;
  case WM_SETFOCUS:
    DoEnter();
    return false;
  case WM_KILLFOCUS:
    DoExit();
    return false;
  case WM_MOUSEMOVE: {
    if (!mouseInside_) {
      mouseInside_ = true;
      TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle_, 0};
      ::TrackMouseEvent(&track);
      TLifeGuard guard(*this);
      MouseEnter();
      if (!guard.Alive()) return false;
    }
    MouseMove(MouseShift(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    return false;
  }
  case WM_MOUSELEAVE:
    mouseInside_ = false;
    MouseLeave();
    return false;
  case WM_LBUTTONDOWN:
  case WM_RBUTTONDOWN:
  case WM_MBUTTONDOWN:
  case WM_LBUTTONDBLCLK:
  case WM_RBUTTONDBLCLK:
  case WM_MBUTTONDBLCLK: {
    TMouseButton button = msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK   ? mbLeft
                          : msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK ? mbRight
                                                                             : mbMiddle;
    TShiftState shift = MouseShift(wParam);
    bool twice = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
    if (twice) {
      shift.Include(ssDouble);
      TLifeGuard guard(*this);
      if (button == mbLeft) DblClick();
      if (!guard.Alive()) return false;
    }
    MouseDown(button, shift, GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    return false;
  }
  case WM_LBUTTONUP:
  case WM_RBUTTONUP:
  case WM_MBUTTONUP: {
    TMouseButton button = msg == WM_LBUTTONUP ? mbLeft : msg == WM_RBUTTONUP ? mbRight : mbMiddle;
    MouseUp(button, MouseShift(wParam), GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
    return false;
  }
  case WM_MOUSEWHEEL: {
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (MouseWheel(MouseShift(GET_KEYSTATE_WPARAM(wParam)), GET_WHEEL_DELTA_WPARAM(wParam), p)) {
      result = 0;
      return true;
    }
    return false;
  }
  case WM_KEYDOWN:
  case WM_SYSKEYDOWN:
  case WM_KEYUP:
  case WM_SYSKEYUP: {
    WORD key = static_cast<WORD>(wParam);
    TShiftState shift = KeyboardShiftState();
    if (msg == WM_KEYDOWN || msg == WM_SYSKEYDOWN)
      KeyDown(key, shift);
    else
      KeyUp(key, shift);
    if (key == 0) {
      result = 0;
      return true;
    }
    return false;
  }
  case WM_CHAR: {
    wchar_t key = static_cast<wchar_t>(wParam);
    KeyPress(key);
    if (key == static_cast<wchar_t>(wParam)) return false;
    result = key ? DefaultHandler(msg, key, lParam) : 0;
    return true;
  }
  case WM_GETDLGCODE:
    result = DialogCode(static_cast<UINT>(DefaultHandler(msg, wParam, lParam)));
    return true;
  case WM_SETCURSOR:
    if (reinterpret_cast<HWND>(wParam) == handle_ && LOWORD(lParam) == HTCLIENT) {
      int cursor = Screen().Cursor() != crDefault ? Screen().Cursor() : cursor_;
      if (cursor != crDefault) {
        ::SetCursor(Screen().Cursors(cursor));
        result = TRUE;
        return true;
      }
    }
    return false;
  case WM_CONTEXTMENU: {
    if (!popupMenu_) return false;
    POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    if (lParam == -1) {
      RECT client = ClientRect();
      p = ClientToScreen(POINT{client.right / 2, client.bottom / 2});
    }
    popupMenu_->SetPopupComponent(this);
    popupMenu_->Popup(p.x, p.y);
    result = 0;
    return true;
  }
  case WM_CTLCOLOREDIT:
  case WM_CTLCOLORSTATIC:
  case WM_CTLCOLORLISTBOX:
    // A system-class child asks its parent for colours; the child control answers itself.
    if (TWinControl* child = FromHandle(reinterpret_cast<HWND>(lParam))) {
      result = reinterpret_cast<LRESULT>(child->ControlColors(reinterpret_cast<HDC>(wParam)));
      return true;
    }
    return false;
  case WM_NOTIFY: {
    const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
    TWinControl* child = FromHandle(header.hwndFrom);
    return child && child != this && child->Notification(header, result);
  }
  case WM_ACTIVATEAPP:
    BroadcastActivate(wParam != 0);
    return false;
  default:
    return false;
  }
}
