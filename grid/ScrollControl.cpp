#include "grid/ScrollControl.h"

#include "ui/Screen.h"

#include <windowsx.h>

#include <cstdlib>

TVxCustomScrollControl::TVxCustomScrollControl(TComponent* owner) : TWinControl(owner) {
  // Every pixel is painted by the control: no background erase.
  SetOpaque(true);
}

void TVxCustomScrollControl::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.Style |= WS_HSCROLL | WS_VSCROLL | WS_CLIPCHILDREN;
}

void TVxCustomScrollControl::ScrollContent(TVxCustomScrollBar& bar, int dx, int dy) {
  BeforeScroll(bar.Kind());
  if (HandleAllocated() && (dx != 0 || dy != 0)) {
    const RECT area = dx != 0 ? horzScrollArea_ : vertScrollArea_;
    const int extent = dx != 0 ? RectWidth(area) : RectHeight(area);
    if (std::abs(dx != 0 ? dx : dy) >= extent)
      ::InvalidateRect(Handle(), &area, FALSE);
    else if (dx != 0)
      ::ScrollWindowEx(Handle(), dx, 0, &area, &area, nullptr, nullptr, SW_INVALIDATE);
    else
      ::ScrollWindowEx(Handle(), 0, dy, &area, &area, nullptr, nullptr, SW_INVALIDATE);
  }
  AfterScroll(bar.Kind());
}

TVxScrollControl::TVxScrollControl(TComponent* owner)
    : TVxCustomScrollControl(owner), horzScrollBar_(*this, sbHorizontal),
      vertScrollBar_(*this, sbVertical), rollTimer_(std::make_unique<TTimer>(nullptr)),
      rollMarker_(std::make_unique<TRollShadow>(nullptr)) {
  rollTimer_->SetEnabled(false);
  rollTimer_->SetInterval(1);
  rollTimer_->OnTimer = [this](TObject*) { RollTick(); };
  static const bool registered = [] {
    Screen().SetCursors(crRoll, LoadCursorResource(L"ROLL"));
    Screen().SetCursors(crRollUp, LoadCursorResource(L"ROLLUP"));
    Screen().SetCursors(crRollDown, LoadCursorResource(L"ROLLDOWN"));
    return true;
  }();
  (void)registered;
}

TVxScrollControl::~TVxScrollControl() {
  rollTimer_->SetEnabled(false);
  if (rolling_ && Screen().Cursor() >= crRoll && Screen().Cursor() <= crRollDown)
    Screen().SetCursor(crDefault);
}

void TVxScrollControl::CreateWnd() {
  TVxCustomScrollControl::CreateWnd();
  horzScrollBar_.Update();
  vertScrollBar_.Update();
  horzScrollBar_.SetVisible(horzScrollBar_.Visible());
  vertScrollBar_.SetVisible(vertScrollBar_.Visible());
}

void TVxScrollControl::EnabledChanged() {
  TVxCustomScrollControl::EnabledChanged();
  horzScrollBar_.Update();
  vertScrollBar_.Update();
  Invalidate();
}

bool TVxScrollControl::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
  case WM_HSCROLL:
  case WM_VSCROLL:
    if (lParam != 0) break; // a scroll bar control's message, not ours
    DefaultHandler(msg, wParam, lParam);
    ScrollMessage(msg == WM_HSCROLL ? horzScrollBar_ : vertScrollBar_, LOWORD(wParam));
    result = 0;
    return true;
  case WM_CAPTURECHANGED:
    if (rolling_ && reinterpret_cast<HWND>(lParam) != Handle()) EndRoll();
    break;
  default:
    break;
  }
  return TVxCustomScrollControl::HandleMessage(msg, wParam, lParam, result);
}

void TVxScrollControl::ScrollMessage(TVxScrollBar& bar, int code) {
  BeforeScrollMessage(bar.Kind());
  bar.SetScrollKind(ScrollMessageKindOf(code));
  int track = bar.Position();
  if (code == SB_THUMBTRACK || code == SB_THUMBPOSITION) {
    // The live track position, read from the window's bar.
    SCROLLINFO info{};
    info.cbSize = sizeof(info);
    info.fMask = SIF_TRACKPOS;
    if (::GetScrollInfo(Handle(), bar.Kind() == sbHorizontal ? SB_HORZ : SB_VERT, &info))
      track = info.nTrackPos;
  }
  int target = 0;
  if (ScrollMessageTarget(code, bar.Position(), bar.SmallChange(), bar.LargeChange(), bar.Max(),
                          bar.PageSize(), track, target))
    bar.SetPosition(target);
  const TVxScrollEvent& event = bar.Kind() == sbHorizontal ? OnHorizontalScroll : OnVerticalScroll;
  if (event) event(this, bar.Position());
}

bool TVxScrollControl::MouseWheel(TShiftState shift, int delta, POINT screenPoint) {
  if (!mouseWheelEnabled_) return TVxCustomScrollControl::MouseWheel(shift, delta, screenPoint);
  if (!WheelAllowed()) return true;
  // One step per full notch; a finer wheel adds up its parts.
  wheelRest_ += delta;
  while (std::abs(wheelRest_) >= WHEEL_DELTA) {
    const bool down = wheelRest_ < 0;
    wheelRest_ += down ? WHEEL_DELTA : -WHEEL_DELTA;
    TWheelBars bars;
    bars.VertMax = vertScrollBar_.Max();
    bars.VertPosition = vertScrollBar_.Position();
    bars.VertVisible = vertScrollBar_.Visible();
    bars.HorzMax = horzScrollBar_.Max();
    bars.Report = WheelScrollsSideways();
    const TWheelStep step = WheelStep(down, shift.Contains(ssCtrl), bars);
    if (step.Scrolls)
      ::SendMessageW(Handle(), step.Bar == sbHorizontal ? WM_HSCROLL : WM_VSCROLL, step.Code, 0);
  }
  return true;
}

void TVxScrollControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TVxCustomScrollControl::MouseDown(button, shift, x, y);
  if (button != mbMiddle || !rollEnabled_ || rolling_) return;
  rolling_ = true;
  rollDirection_ = rdNone;
  rollAnchor_ = POINT{x, y};
  rollMarker_->SetCursor(crRoll);
  rollMarker_->ChangeDpi(Dpi());
  rollMarker_->ShowAt(ClientToScreen(rollAnchor_));
  rollTimer_->SetInterval(1);
  rollTimer_->SetEnabled(true);
  SetMouseCapture(true);
}

void TVxScrollControl::MouseMove(TShiftState shift, int x, int y) {
  TVxCustomScrollControl::MouseMove(shift, x, y);
  if (!rolling_) {
    HoverMove(shift, x, y);
    return;
  }
  rollDirection_ = RollDirectionOf(y - rollAnchor_.y);
  const int cursor = rollDirection_ == rdUp     ? crRollUp
                     : rollDirection_ == rdDown ? crRollDown
                                                : crRoll;
  Screen().SetCursor(cursor);
  ::SetCursor(Screen().Cursors(cursor));
  rollMarker_->SetCursor(cursor);
}

void TVxScrollControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  // Any button release ends roll mode.
  if (rolling_) EndRoll();
  TVxCustomScrollControl::MouseUp(button, shift, x, y);
}

void TVxScrollControl::RollTick() {
  POINT pointer{};
  ::GetCursorPos(&pointer);
  const int dy = ScreenToClient(pointer).y - rollAnchor_.y;
  rollTimer_->SetInterval(static_cast<UINT>(RollInterval(dy)));
  if (vertScrollBar_.Max() < 1 || !HandleAllocated()) return;
  if (rollDirection_ == rdUp)
    ::SendMessageW(Handle(), WM_VSCROLL, SB_LINEUP, 0);
  else if (rollDirection_ == rdDown)
    ::SendMessageW(Handle(), WM_VSCROLL, SB_LINEDOWN, 0);
}

void TVxScrollControl::EndRoll() {
  if (!rolling_) return;
  rolling_ = false;
  rollDirection_ = rdNone;
  rollTimer_->SetEnabled(false);
  rollMarker_->Hide();
  Screen().SetCursor(crDefault);
  if (MouseCapture()) SetMouseCapture(false);
}

void TVxScrollControl::DoExit() {
  // Without the focus nothing would ever end the roll: a lost focus ends it.
  EndRoll();
  TVxCustomScrollControl::DoExit();
}

void TVxScrollControl::ApplicationActivateChanged(bool active) {
  if (!active) EndRoll();
  TVxCustomScrollControl::ApplicationActivateChanged(active);
}
