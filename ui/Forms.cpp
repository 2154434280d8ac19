#include "ui/Forms.h"

#include "ui/Application.h"
#include "ui/Screen.h"

TForm::TForm(TComponent* owner) : TWinControl(owner) {
  SetVisible(false);
  SetBounds(0, 0, 320, 240);
}

TForm::~TForm() {
  if (Application().MainForm() == this) Application().SetMainForm(nullptr);
}

void TForm::SetBorderStyle(TBorderStyle value) {
  if (value == borderStyle_) return;
  borderStyle_ = value;
  RecreateWnd();
}

void TForm::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.ClassName = L"VarnoxForm";
  params.Style &= ~(WS_POPUP | WS_CHILD);
  params.ExStyle |= WS_EX_CONTROLPARENT;
  switch (borderStyle_) {
  case bsNone:
    params.Style |= WS_POPUP;
    break;
  case bsSingle:
    params.Style |= WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    break;
  case bsDialog:
    params.Style |= WS_POPUP | WS_CAPTION | WS_SYSMENU;
    params.ExStyle |= WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE;
    break;
  case bsToolWindow:
    params.Style |= WS_CAPTION | WS_SYSMENU;
    params.ExStyle |= WS_EX_TOOLWINDOW;
    break;
  case bsSizeToolWin:
    params.Style |= WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    params.ExStyle |= WS_EX_TOOLWINDOW;
    break;
  default:
    params.Style |= WS_OVERLAPPEDWINDOW;
    break;
  }
  // The first window is made where Position says, so it never shows at the designed place
  // first; a window made again keeps where the form is now.
  if (!placed_) {
    if (position_ == poDefault || position_ == poDefaultPosOnly) {
      params.X = params.Y = CW_USEDEFAULT;
    } else {
      POINT p = PlacedPosition();
      params.X = p.x;
      params.Y = p.y;
    }
  }
}

void TForm::CreateWnd() {
  placed_ = true;
  // The layout is written for 96 DPI; the window may stand on a monitor of another scale. It is
  // not shown yet, so where Position centres it, it is centred again at its new size.
  const int dpi = WindowDpi(Handle());
  if (dpi != Dpi()) {
    ScaleToDpi(dpi);
    if (position_ != poDesigned && position_ != poDefault && position_ != poDefaultPosOnly) {
      const POINT p = PlacedPosition();
      SetBounds(p.x, p.y, Width(), Height());
    }
  }
  HICON icon = ::LoadIconW(::GetModuleHandleW(nullptr), L"MAINICON");
  if (icon) {
    ::SendMessageW(Handle(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    ::SendMessageW(Handle(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
  }
}

POINT TForm::PlacedPosition() const {
  POINT p{Left(), Top()};
  switch (position_) {
  case poScreenCenter:
    p = {(Screen().Width() - Width()) / 2, (Screen().Height() - Height()) / 2};
    break;
  case poDesktopCenter:
    p = {::GetSystemMetrics(SM_XVIRTUALSCREEN) +
             (::GetSystemMetrics(SM_CXVIRTUALSCREEN) - Width()) / 2,
         ::GetSystemMetrics(SM_YVIRTUALSCREEN) +
             (::GetSystemMetrics(SM_CYVIRTUALSCREEN) - Height()) / 2};
    break;
  case poMainFormCenter:
  case poOwnerFormCenter:
    if (TWinControl* main = Application().MainForm(); main && main != this)
      p = {main->Left() + (main->Width() - Width()) / 2,
           main->Top() + (main->Height() - Height()) / 2};
    break;
  default:
    break;
  }
  return p;
}

void TForm::VisibleChanged() {
  if (Visible()) {
    ::SetForegroundWindow(Handle());
    if (!activeControl_) {
      if (TWinControl* first = FindNextControl(nullptr, true, true)) first->SetFocus();
    }
    if (OnShow) OnShow(this);
  }
  TWinControl::VisibleChanged();
}

RECT TForm::FrameAt(int dpi) {
  DWORD style, exStyle;
  if (HandleAllocated()) {
    style = DWORD(::GetWindowLongPtrW(Handle(), GWL_STYLE));
    exStyle = DWORD(::GetWindowLongPtrW(Handle(), GWL_EXSTYLE));
  } else {
    TCreateParams params;
    CreateParams(params);
    style = params.Style;
    exStyle = params.ExStyle;
  }
  return FrameAtDpi(style, exStyle, dpi);
}

void TForm::ScaleToDpi(int dpi, const RECT* bounds) {
  if (dpi == Dpi()) return;
  RECT target;
  if (bounds) {
    target = *bounds;
  } else {
    // The client area is what the layout fills; the frame around it is the system's, which
    // does not grow in exact proportion to the DPI.
    const RECT oldFrame = FrameAt(Dpi()), newFrame = FrameAt(dpi);
    const int clientWidth = Width() - RectWidth(oldFrame);
    const int clientHeight = Height() - RectHeight(oldFrame);
    target = {Left(), Top(), Left() + ::MulDiv(clientWidth, dpi, Dpi()) + RectWidth(newFrame),
              Top() + ::MulDiv(clientHeight, dpi, Dpi()) + RectHeight(newFrame)};
  }
  ChangeDpi(dpi);
  SetBounds(target.left, target.top, RectWidth(target), RectHeight(target));
  LayoutForDpi();
}

void TForm::SetClientWidth(int value) {
  SetWidth(Width() - ClientWidth() + value);
}

void TForm::SetClientHeight(int value) {
  SetHeight(Height() - ClientHeight() + value);
}

bool TForm::OwnsControl(const TWinControl* control) const {
  for (const TWinControl* c = control; c; c = c->Parent())
    if (c == this) return c != control;
  return false;
}

TWinControl* TForm::ActiveControl() const {
  TWinControl* focused = FromHandle(::GetFocus());
  return OwnsControl(focused) ? focused : activeControl_;
}

void TForm::ControlRemoving(TWinControl* control) {
  if (control == activeControl_) activeControl_ = nullptr;
}

void TForm::SetActiveControl(TWinControl* control) {
  activeControl_ = control;
  if (control && Visible() && HandleAllocated() && control->CanFocus()) control->SetFocus();
}

void TForm::Close() {
  bool canClose = true;
  if (OnCloseQuery) OnCloseQuery(this, canClose);
  if (!canClose) return;
  bool main = Application().MainForm() == this;
  TCloseAction action = main ? caFree : caHide;
  if (OnClose) OnClose(this, action);
  if (main && action != caNone) Application().Terminate();
  switch (action) {
  case caNone:
    return;
  case caMinimize:
    ::ShowWindow(Handle(), SW_MINIMIZE);
    return;
  case caHide:
    Hide();
    return;
  default:
    // The window goes; the object stays with its owner. For the main form this ends Run.
    if (HandleAllocated()) ::DestroyWindow(Handle());
    SetVisible(false);
    return;
  }
}

void TForm::DoCreate() {
  if (created_) return;
  created_ = true;
  if (OnCreate) OnCreate(this);
}

void TForm::Loaded() {
  TWinControl::Loaded();
  DoCreate();
}

bool TForm::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
  case WM_DESTROY:
    // However the main form's window goes, the application ends with it.
    if (Application().MainForm() == this) Application().Terminate();
    return TWinControl::HandleMessage(msg, wParam, lParam, result);
  case WM_CLOSE:
    Close();
    result = 0;
    return true;
  case kWmDpiChanged:
    // Both halves of wParam carry the new DPI; lParam the rectangle the system suggests, which
    // keeps the window where the user put it, at a size for the new scale.
    ScaleToDpi(HIWORD(wParam), reinterpret_cast<const RECT*>(lParam));
    result = 0;
    return true;
  case WM_ACTIVATE:
    if (LOWORD(wParam) == WA_INACTIVE) {
      TWinControl* focused = FromHandle(::GetFocus());
      if (OwnsControl(focused)) activeControl_ = focused;
    } else if (activeControl_ && OwnsControl(activeControl_) && activeControl_->CanFocus()) {
      activeControl_->SetFocus();
      result = 0;
      return true;
    }
    return TWinControl::HandleMessage(msg, wParam, lParam, result);
  case WM_SETFOCUS:
    // Focus given to the form itself goes on to the control that had it.
    if (activeControl_ && OwnsControl(activeControl_) && activeControl_->CanFocus()) {
      activeControl_->SetFocus();
      return true;
    }
    return TWinControl::HandleMessage(msg, wParam, lParam, result);
  default:
    return TWinControl::HandleMessage(msg, wParam, lParam, result);
  }
}
