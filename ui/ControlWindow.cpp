// TWinControl: construction, parent and window, and dispatch of messages.
#include "ui/Control.h"

#include "ui/Application.h"
#include "ui/Bitmap.h"
#include "ui/Exception.h"

#include <algorithm>
#include <cstring>
#include <typeinfo>

namespace {

HINSTANCE Instance() {
  return ::GetModuleHandleW(nullptr);
}

} // namespace

TWinControl::TWinControl(TComponent* owner) : TComponent(owner) {
  font_.OnChange = [this](TObject*) {
    if (!takingParentFont_) parentFont_ = false;
    FontChanged();
    // During a DPI change every child sets its own font's DPI as the change reaches it.
    if (!changingDpi_) NotifyFontToChildren();
  };
}

TWinControl::~TWinControl() {
  // From here on the derived parts are gone: the window gets no more calls into this object.
  if (handle_) {
    ::SetWindowLongPtrW(handle_, GWLP_USERDATA, 0);
    if (systemProc_)
      ::SetWindowLongPtrW(handle_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(systemProc_));
  }
  for (TWinControl* p = parent_; p; p = p->parent_)
    p->ControlRemoving(this);
  DestroyComponents();
  // Children owned elsewhere outlive us without a parent; their windows go with ours.
  for (TWinControl* child : controls_)
    child->parent_ = nullptr;
  controls_.clear();
  tabList_.clear();
  if (parent_) {
    TWinControl* parent = parent_;
    std::erase(parent->controls_, this);
    std::erase(parent->tabList_, this);
    parent_ = nullptr;
    if (align_ != alNone && !parent->Destroying()) parent->Realign();
  }
  if (handle_) {
    HWND window = handle_;
    handle_ = nullptr;
    ::DestroyWindow(window);
  }
}

void TWinControl::SetParent(TWinControl* parent) {
  if (parent == parent_) return;
  for (TWinControl* p = parent; p; p = p->parent_)
    if (p == this) throw EInvalidOperation("A control cannot have itself as its parent");
  if (handle_) DestroyHandle();
  if (parent_) {
    for (TWinControl* p = parent_; p; p = p->parent_)
      p->ControlRemoving(this);
    TWinControl* old = parent_;
    std::erase(old->controls_, this);
    std::erase(old->tabList_, this);
    parent_ = nullptr;
    if (align_ != alNone) old->Realign();
  }
  parent_ = parent;
  if (!parent_) return;
  parent_->controls_.push_back(this);
  parent_->tabList_.push_back(this);
  if (parentFont_) {
    TScopedValue taking(takingParentFont_, true);
    font_.Assign(parent_->font_);
  }
  if (parentColor_ && color_ != parent_->color_) {
    color_ = parent_->color_;
    ColorChanged();
  }
  if (dpi_ != parent_->dpi_) ChangeDpi(parent_->dpi_);
  if (parent_->handle_) CreateHandle();
  if (align_ != alNone) RequestParentRealign();
}

void TWinControl::ChangeDpi(int dpi) {
  if (dpi <= 0) throw EInvalidOperation("A DPI must be positive");
  if (dpi != dpi_) {
    const int old = dpi_;
    dpi_ = dpi;
    {
      // Following the DPI is no font of the control's own choosing: ParentFont stays.
      TScopedValue taking(takingParentFont_, true);
      TScopedValue changing(changingDpi_, true);
      font_.SetDpi(dpi);
    }
    DpiChanged(old, dpi);
  }
  for (TWinControl* child : controls_)
    child->ChangeDpi(dpi);
}

void TWinControl::DpiChanged(int, int) {}

TWinControl* TWinControl::TopLevel() {
  TWinControl* c = this;
  while (c->parent_)
    c = c->parent_;
  return c;
}

HWND TWinControl::Handle() {
  if (!handle_) CreateHandle();
  return handle_;
}

TWinControl* TWinControl::FromHandle(HWND window) {
  if (!window) return nullptr;
  WNDPROC proc = reinterpret_cast<WNDPROC>(::GetWindowLongPtrW(window, GWLP_WNDPROC));
  if (proc != &TWinControl::WindowProc) return nullptr;
  return reinterpret_cast<TWinControl*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
}

void TWinControl::CreateParams(TCreateParams& params) {
  // One window class per control class, so each may choose its own class styles.
  const char* type = typeid(*this).name();
  params.ClassName = L"Varnox." + std::wstring(type, type + std::strlen(type));
  params.ClassStyle = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
  params.Style = WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (parent_ ? WS_CHILD : WS_POPUP);
  if (visible_) params.Style |= WS_VISIBLE;
  if (!enabled_) params.Style |= WS_DISABLED;
  params.X = bounds_.left;
  params.Y = bounds_.top;
  params.Width = Width();
  params.Height = Height();
  params.WndParent = parent_ ? parent_->handle_ : nullptr;
}

void TWinControl::CreateHandle() {
  if (parent_ && !parent_->handle_) {
    parent_->CreateHandle(); // creates ours too
    if (handle_) return;
  }
  TCreateParams params;
  CreateParams(params);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  bool system = false;
  if (::GetClassInfoExW(Instance(), params.ClassName.c_str(), &wc)) {
    system = wc.lpfnWndProc != &TWinControl::WindowProc;
  } else {
    wc = WNDCLASSEXW{};
    wc.cbSize = sizeof wc;
    wc.style = params.ClassStyle;
    wc.lpfnWndProc = &TWinControl::WindowProc;
    wc.hInstance = Instance();
    wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = params.ClassName.c_str();
    if (!::RegisterClassExW(&wc)) throw EOSError("Cannot register the window class");
  }
  HWND window = ::CreateWindowExW(params.ExStyle, params.ClassName.c_str(), caption_.c_str(),
                                  params.Style, params.X, params.Y, params.Width, params.Height,
                                  params.WndParent, nullptr, Instance(), this);
  if (!window) throw EOSError("Error creating window");
  if (system) {
    handle_ = window;
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    systemProc_ = reinterpret_cast<WNDPROC>(::SetWindowLongPtrW(
        window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWinControl::WindowProc)));
    ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_.Handle()), FALSE);
  }
  if (!parent_) {
    // A top-level window may have been placed or framed differently from what we asked.
    RECT r;
    ::GetWindowRect(window, &r);
    bounds_ = r;
  }
  for (TWinControl* child : controls_)
    if (!child->handle_) child->CreateHandle();
  CreateWnd();
  Realign();
}

void TWinControl::DestroyHandle() {
  if (!handle_) return;
  // Children first, each through its own DestroyWnd, so that what lives only in a window (a
  // memo's text) is saved before the system takes the windows down with ours.
  for (TWinControl* child : controls_)
    child->DestroyHandle();
  DestroyWnd();
  HWND window = handle_;
  ::DestroyWindow(window);
  handle_ = nullptr;
}

void TWinControl::RecreateWnd() {
  if (!handle_) return;
  DestroyHandle();
  CreateHandle();
}

LRESULT CALLBACK TWinControl::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  TWinControl* self;
  if (msg == WM_NCCREATE) {
    self = static_cast<TWinControl*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    if (self) {
      ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
      self->handle_ = window;
    }
  } else {
    self = reinterpret_cast<TWinControl*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  }
  if (!self) return ::DefWindowProcW(window, msg, wParam, lParam);
  if (msg == WM_NCDESTROY) {
    LRESULT result = self->DefaultHandler(msg, wParam, lParam);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    self->handle_ = nullptr;
    self->systemProc_ = nullptr;
    self->mouseInside_ = false;
    return result;
  }
  return self->Dispatch(msg, wParam, lParam);
}

LRESULT TWinControl::Dispatch(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!Destroying()) {
    // Any event a message raises may free this control and its window (a handler that closes
    // the form): then the message is answered here, not by the default procedure of a gone
    // window.
    TLifeGuard guard(*this);
    try {
      LRESULT result = 0;
      if (HandleMessage(msg, wParam, lParam, result)) return result;
    } catch (...) {
      Application().HandleException(guard.Alive() ? this : nullptr);
      return 0;
    }
    if (!guard.Alive()) return 0;
  }
  return DefaultHandler(msg, wParam, lParam);
}

LRESULT TWinControl::DefaultHandler(UINT msg, WPARAM wParam, LPARAM lParam) {
  if (!handle_) return 0;
  if (systemProc_) return ::CallWindowProcW(systemProc_, handle_, msg, wParam, lParam);
  return ::DefWindowProcW(handle_, msg, wParam, lParam);
}

LRESULT TWinControl::Perform(UINT msg, WPARAM wParam, LPARAM lParam) {
  return ::SendMessageW(Handle(), msg, wParam, lParam);
}
