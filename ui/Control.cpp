#include "ui/Control.h"

#include "ui/Application.h"
#include "ui/Bitmap.h"
#include "ui/Exception.h"
#include "ui/Menus.h"
#include "ui/Screen.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <typeinfo>

void ArrangeAligned(const RECT& client, std::vector<TAlignEntry>& entries) {
  RECT rest = client;
  auto ordered = [&](TAlign which, auto before) {
    std::vector<size_t> order;
    for (size_t i = 0; i < entries.size(); ++i)
      if (entries[i].Align == which) order.push_back(i);
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
      return before(entries[a].Bounds, entries[b].Bounds);
    });
    return order;
  };
  for (size_t i : ordered(alTop, [](const RECT&a, const RECT&b) { return a.top < b.top; })) {
    int h = RectHeight(entries[i].Bounds);
    entries[i].Bounds = RECT{rest.left, rest.top, rest.right, rest.top + h};
    rest.top += h;
  }
  for (size_t i :
       ordered(alBottom, [](const RECT&a, const RECT&b) { return a.bottom > b.bottom; })) {
    int h = RectHeight(entries[i].Bounds);
    entries[i].Bounds = RECT{rest.left, rest.bottom - h, rest.right, rest.bottom};
    rest.bottom -= h;
  }
  for (size_t i : ordered(alLeft, [](const RECT&a, const RECT&b) { return a.left < b.left; })) {
    int w = RectWidth(entries[i].Bounds);
    entries[i].Bounds = RECT{rest.left, rest.top, rest.left + w, rest.bottom};
    rest.left += w;
  }
  for (size_t i : ordered(alRight, [](const RECT&a, const RECT&b) { return a.right > b.right; })) {
    int w = RectWidth(entries[i].Bounds);
    entries[i].Bounds = RECT{rest.right - w, rest.top, rest.right, rest.bottom};
    rest.right -= w;
  }
  RECT fill{rest.left, rest.top, std::max(rest.left, rest.right), std::max(rest.top, rest.bottom)};
  for (size_t i : ordered(alClient, [](const RECT&, const RECT&) { return false; }))
    entries[i].Bounds = fill;
}

namespace {

HINSTANCE Instance() {
  return ::GetModuleHandleW(nullptr);
}

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

TWinControl::TWinControl(TComponent* owner) : TComponent(owner) {
  font_.OnChange = [this](TObject*) {
    if (!takingParentFont_) parentFont_ = false;
    FontChanged();
    NotifyFontToChildren();
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
  if (Application().MainForm() == this) Application().SetMainForm(nullptr);
}

// ---- parent and window ---------------------------------------------------------------------

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
    takingParentFont_ = true;
    font_.Assign(parent_->font_);
    takingParentFont_ = false;
  }
  if (parentColor_ && color_ != parent_->color_) {
    color_ = parent_->color_;
    ColorChanged();
  }
  if (parent_->handle_) CreateHandle();
  if (align_ != alNone) RequestParentRealign();
}

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
    try {
      LRESULT result = 0;
      if (HandleMessage(msg, wParam, lParam, result)) return result;
    } catch (...) {
      Application().HandleException(this);
      return 0;
    }
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

// ---- bounds and alignment ------------------------------------------------------------------

void TWinControl::SetBounds(int left, int top, int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  RECT next = ::BoundsRect(left, top, width, height);
  if (SameRect(next, bounds_)) return;
  bool resized = width != Width() || height != Height();
  bounds_ = next;
  if (handle_)
    ::SetWindowPos(handle_, nullptr, left, top, width, height,
                   SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  if (resized) {
    Realign();
    if (!Loading()) Resize();
  }
  if (align_ != alNone) RequestParentRealign();
}

void TWinControl::UpdateBoundsFromWindow(const WINDOWPOS& pos) {
  RECT next = bounds_;
  if (!(pos.flags & SWP_NOMOVE)) {
    next.right += pos.x - next.left;
    next.bottom += pos.y - next.top;
    next.left = pos.x;
    next.top = pos.y;
  }
  if (!(pos.flags & SWP_NOSIZE)) {
    next.right = next.left + pos.cx;
    next.bottom = next.top + pos.cy;
  }
  if (SameRect(next, bounds_)) return;
  bool resized = RectWidth(next) != Width() || RectHeight(next) != Height();
  bounds_ = next;
  if (resized) {
    Realign();
    if (!Loading()) Resize();
  }
}

RECT TWinControl::ClientRect() {
  RECT r{0, 0, 0, 0};
  if (handle_) {
    ::GetClientRect(handle_, &r);
    return r;
  }
  TCreateParams params;
  CreateParams(params);
  RECT frame{0, 0, 0, 0};
  ::AdjustWindowRectEx(&frame, params.Style, FALSE, params.ExStyle);
  r.right = std::max(0, Width() - RectWidth(frame));
  r.bottom = std::max(0, Height() - RectHeight(frame));
  return r;
}

void TWinControl::SetAlign(TAlign align) {
  if (align == align_) return;
  align_ = align;
  RequestParentRealign();
}

void TWinControl::RequestParentRealign() {
  if (parent_ && !parent_->aligning_) parent_->Realign();
}

void TWinControl::AdjustClientRect(RECT&) {}

void TWinControl::Realign() {
  if (Loading()) {
    realignPending_ = true;
    return;
  }
  if (aligning_) return;
  realignPending_ = false;
  std::vector<TAlignEntry> entries;
  std::vector<TWinControl*> aligned;
  for (TWinControl* child : controls_) {
    if (child->align_ == alNone || !child->visible_) continue;
    entries.push_back({child->align_, child->bounds_});
    aligned.push_back(child);
  }
  if (aligned.empty()) return;
  RECT client = ClientRect();
  AdjustClientRect(client);
  ArrangeAligned(client, entries);
  aligning_ = true;
  try {
    for (size_t i = 0; i < aligned.size(); ++i) {
      const RECT& b = entries[i].Bounds;
      aligned[i]->SetBounds(b.left, b.top, RectWidth(b), RectHeight(b));
    }
  } catch (...) {
    aligning_ = false;
    throw;
  }
  aligning_ = false;
}

void TWinControl::Loaded() {
  if (realignPending_) Realign();
}

// ---- properties ----------------------------------------------------------------------------

void TWinControl::SetVisible(bool visible) {
  if (visible == visible_) return;
  visible_ = visible;
  if (handle_) {
    // Children and pop-ups that refuse activation appear without taking it.
    bool quiet = parent_ || (::GetWindowLongW(handle_, GWL_EXSTYLE) & WS_EX_NOACTIVATE);
    ::ShowWindow(handle_, visible ? (quiet ? SW_SHOWNA : SW_SHOW) : SW_HIDE);
  } else if (visible && !parent_)
    CreateHandle();
  VisibleChanged();
  if (align_ != alNone) RequestParentRealign();
}

bool TWinControl::Showing() const {
  for (const TWinControl* c = this; c; c = c->parent_)
    if (!c->visible_) return false;
  return true;
}

void TWinControl::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  if (handle_) ::EnableWindow(handle_, enabled);
  EnabledChanged();
}

void TWinControl::SetCaption(const std::wstring& caption) {
  if (caption == caption_) return;
  caption_ = caption;
  if (handle_) ::SetWindowTextW(handle_, caption_.c_str());
  CaptionChanged();
}

void TWinControl::SetColor(TColor color) {
  if (color == color_ && !parentColor_) return;
  parentColor_ = false;
  if (color == color_) return;
  color_ = color;
  ColorChanged();
  NotifyColorToChildren();
}

void TWinControl::SetParentColor(bool value) {
  if (value == parentColor_) return;
  parentColor_ = value;
  if (value && parent_ && color_ != parent_->color_) {
    color_ = parent_->color_;
    ColorChanged();
    NotifyColorToChildren();
  }
}

void TWinControl::NotifyColorToChildren() {
  for (TWinControl* child : controls_) {
    if (child->parentColor_ && child->color_ != color_) {
      child->color_ = color_;
      child->ColorChanged();
      child->NotifyColorToChildren();
    }
    child->ParentColorChanged();
  }
}

void TWinControl::SetParentFont(bool value) {
  if (value == parentFont_) return;
  parentFont_ = value;
  if (value && parent_) {
    takingParentFont_ = true;
    font_.Assign(parent_->font_);
    takingParentFont_ = false;
  }
}

void TWinControl::NotifyFontToChildren() {
  for (TWinControl* child : controls_) {
    if (!child->parentFont_) continue;
    child->takingParentFont_ = true;
    child->font_.Assign(font_);
    child->takingParentFont_ = false;
  }
}

void TWinControl::SetCursor(int cursor) {
  if (cursor == cursor_) return;
  cursor_ = cursor;
  POINT p;
  if (handle_ && ::GetCursorPos(&p) && ::WindowFromPoint(p) == handle_ &&
      Screen().Cursor() == crDefault)
    ::SetCursor(Screen().Cursors(cursor_));
}

// ---- focus ---------------------------------------------------------------------------------

int TWinControl::TabOrder() const {
  if (!parent_) return -1;
  auto& list = parent_->tabList_;
  return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TWinControl::SetTabOrder(int order) {
  if (!parent_) return;
  auto& list = parent_->tabList_;
  std::erase(list, this);
  order = std::clamp(order, 0, static_cast<int>(list.size()));
  list.insert(list.begin() + order, this);
}

bool TWinControl::CanFocus() const {
  for (const TWinControl* c = this; c; c = c->parent_)
    if (!c->visible_ || !c->enabled_) return false;
  return true;
}

void TWinControl::SetFocus() {
  if (!CanFocus()) throw EInvalidOperation("Cannot focus a disabled or invisible window");
  ::SetFocus(Handle());
}

bool TWinControl::Focused() const {
  return handle_ && ::GetFocus() == handle_;
}

void TWinControl::CollectTabOrder(std::vector<TWinControl*>& list) {
  for (TWinControl* child : tabList_) {
    list.push_back(child);
    child->CollectTabOrder(list);
  }
}

TWinControl* TWinControl::FindNextControl(TWinControl* current, bool forward, bool checkTabStop) {
  std::vector<TWinControl*> list;
  CollectTabOrder(list);
  if (list.empty()) return nullptr;
  int n = static_cast<int>(list.size());
  int start = static_cast<int>(std::find(list.begin(), list.end(), current) - list.begin());
  if (start == n) start = forward ? -1 : n;
  for (int step = 1; step <= n; ++step) {
    int i = ((forward ? start + step : start - step) % n + n) % n;
    TWinControl* c = list[i];
    if (c == current) break;
    if ((!checkTabStop || c->tabStop_) && c->CanFocus()) return c;
  }
  return nullptr;
}

void TWinControl::SelectNext(TWinControl* current, bool forward, bool checkTabStop) {
  if (TWinControl* next = FindNextControl(current, forward, checkTabStop)) next->SetFocus();
}

bool TWinControl::BroadcastDialogKey(WORD key, TShiftState shift) {
  if (DialogKey(key, shift)) return true;
  for (TWinControl* child : std::vector<TWinControl*>(controls_))
    if (child->BroadcastDialogKey(key, shift)) return true;
  return false;
}

// ---- painting ------------------------------------------------------------------------------

void TWinControl::BringToFront() {
  if (handle_)
    ::SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::SendToBack() {
  if (handle_)
    ::SetWindowPos(handle_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::Invalidate() {
  if (handle_) ::InvalidateRect(handle_, nullptr, !opaque_ && !doubleBuffered_);
}

void TWinControl::InvalidateRect(const RECT& rect) {
  if (handle_) ::InvalidateRect(handle_, &rect, !opaque_ && !doubleBuffered_);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::Update() {
  if (handle_) ::UpdateWindow(handle_);
}

void TWinControl::Paint(TCanvas&) {}

void TWinControl::PrepareCanvas(TCanvas& canvas) {
  canvas.Font().Assign(font_);
  canvas.Brush().SetColor(color_);
  canvas.Pen().SetColor(clBlack);
  canvas.Pen().SetWidth(1);
  canvas.Pen().SetStyle(psSolid);
  canvas.Pen().SetMode(pmCopy);
}

void TWinControl::PaintTo(HDC dc, int x, int y) {
  TClipSave clip(dc);
  POINT origin;
  ::GetViewportOrgEx(dc, &origin);
  ::SetViewportOrgEx(dc, origin.x + x, origin.y + y, nullptr);
  RECT client = ClientRect();
  ::IntersectClipRect(dc, 0, 0, client.right, client.bottom);
  try {
    if (systemProc_) {
      ::SendMessageW(handle_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                     PRF_CLIENT | PRF_ERASEBKGND);
    } else {
      TCanvas canvas(dc);
      PrepareCanvas(canvas);
      if (!opaque_) canvas.FillRect(client);
      Paint(canvas);
    }
    for (TWinControl* child : controls_)
      if (child->visible_) child->PaintTo(dc, child->Left(), child->Top());
  } catch (...) {
    ::SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    throw;
  }
  ::SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
}

void TWinControl::PaintMessage() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(handle_, &ps);
  struct TEndPaint {
    HWND window;
    PAINTSTRUCT* ps;
    ~TEndPaint() { ::EndPaint(window, ps); }
  } endPaint{handle_, &ps};
  auto prepare = [this](TCanvas& canvas) { PrepareCanvas(canvas); };
  if (!doubleBuffered_) {
    TCanvas canvas(dc);
    prepare(canvas);
    Paint(canvas);
    return;
  }
  RECT client;
  ::GetClientRect(handle_, &client);
  if (RectWidth(client) <= 0 || RectHeight(client) <= 0) return;
  if (!paintBuffer_) paintBuffer_ = std::make_unique<TBitmap>();
  paintBuffer_->SetSize(RectWidth(client), RectHeight(client));
  TCanvas& canvas = paintBuffer_->Canvas();
  HDC buffer = canvas.Handle();
  ::SelectClipRgn(buffer, nullptr);
  canvas.IntersectClipRect(ps.rcPaint);
  prepare(canvas);
  if (!opaque_) canvas.FillRect(client);
  Paint(canvas);
  ::BitBlt(dc, ps.rcPaint.left, ps.rcPaint.top, RectWidth(ps.rcPaint), RectHeight(ps.rcPaint),
           buffer, ps.rcPaint.left, ps.rcPaint.top, SRCCOPY);
}

// ---- mouse capture and coordinates ---------------------------------------------------------

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

HBRUSH TWinControl::ControlColors(HDC dc) {
  ::SetTextColor(dc, ColorToRGB(font_.Color()));
  ::SetBkColor(dc, ColorToRGB(color_));
  if (!colorBrush_ || colorBrushColor_ != color_) {
    colorBrush_.Reset(::CreateSolidBrush(ColorToRGB(color_)));
    colorBrushColor_ = color_;
  }
  return static_cast<HBRUSH>(colorBrush_.Get());
}

void TWinControl::PaintParentBackground(TCanvas& canvas) {
  if (!parent_) return;
  HDC dc = canvas.Handle();
  TClipSave clip(dc);
  POINT origin;
  ::GetViewportOrgEx(dc, &origin);
  ::SetViewportOrgEx(dc, origin.x - Left(), origin.y - Top(), nullptr);
  // Logical coordinates are now the parent's: keep the drawing inside this control's area.
  ::IntersectClipRect(dc, Left(), Top(), Left() + Width(), Top() + Height());
  RECT parentClient = parent_->ClientRect();
  TGdiObject brush(::CreateSolidBrush(ColorToRGB(parent_->color_)));
  ::FillRect(dc, &parentClient, static_cast<HBRUSH>(brush.Get()));
  try {
    parent_->Paint(canvas);
  } catch (...) {
    ::SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    throw;
  }
  ::SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
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

// ---- the message handler -------------------------------------------------------------------

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
      MouseEnter();
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
      if (button == mbLeft) DblClick();
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
  case WM_DESTROY:
    if (Application().MainForm() == this) Application().Terminate();
    return false;
  default:
    return false;
  }
}
