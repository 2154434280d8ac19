#include "grid/ScrollBar.h"

#include "grid/ScrollControl.h"

namespace {

int WindowBar(TScrollBarKind kind) {
  return kind == sbHorizontal ? SB_HORZ : SB_VERT;
}

} // namespace

TVxCustomScrollBar::TVxCustomScrollBar(TVxCustomScrollControl& owner, TScrollBarKind kind)
    : owner_(owner), kind_(kind) {}

void TVxCustomScrollBar::SetMax(int value) {
  if (max_ == value) return;
  max_ = value < 0 ? 0 : value;
  SetVisible(!(pageSize_ >= max_ && autoHide_));
  Update();
  if (position_ > max_) SetPosition(max_);
}

void TVxCustomScrollBar::SetPageSize(int value) {
  if (pageSize_ == value) return;
  pageSize_ = value <= 0 ? 1 : value;
  Update();
}

void TVxCustomScrollBar::SetPosition(int value) {
  oldPosition_ = position_;
  position_ = LimitScrollPosition(value, min_, max_);
  Update();
  if (updateCount_ > 0 || manualScroll_) return;
  const int delta = kind_ == sbHorizontal ? owner_.GetHorzScrollDelta(oldPosition_, position_)
                                          : owner_.GetVertScrollDelta(oldPosition_, position_);
  if (kind_ == sbHorizontal)
    owner_.ScrollContent(*this, delta, 0);
  else
    owner_.ScrollContent(*this, 0, delta);
}

void TVxCustomScrollBar::SetAutoHide(bool value) {
  autoHide_ = value;
  if (max_ > 0 || !autoHide_) SetVisible(true);
  Update();
}

void TVxCustomScrollBar::SetEnabled(bool value) {
  if (enabled_ == value) return;
  enabled_ = value;
  Update();
}

void TVxCustomScrollBar::Send(int code) {
  if (max_ >= 1 && owner_.HandleAllocated())
    ::SendMessageW(owner_.Handle(), kind_ == sbHorizontal ? WM_HSCROLL : WM_VSCROLL, code, 0);
}

void TVxScrollBar::SetVisible(bool value) {
  TVxCustomScrollBar::SetVisible(value);
  if (owner_.HandleAllocated()) ::ShowScrollBar(owner_.Handle(), WindowBar(Kind()), value);
}

void TVxScrollBar::Update() {
  if (updating_ || !owner_.HandleAllocated()) return;
  updating_ = true;
  SCROLLINFO info{};
  info.cbSize = sizeof(info);
  info.fMask = SIF_RANGE | SIF_PAGE | SIF_POS;
  if (!AutoHide()) info.fMask |= SIF_DISABLENOSCROLL;
  info.nMin = Min();
  info.nMax = Max();
  info.nPage = static_cast<UINT>(PageSize());
  info.nPos = Position();
  const HWND window = owner_.Handle();
  if (Max() > 0)
    ::EnableScrollBar(window, WindowBar(Kind()),
                      owner_.Enabled() && Enabled() ? ESB_ENABLE_BOTH : ESB_DISABLE_BOTH);
  ::SetScrollInfo(window, WindowBar(Kind()), &info, TRUE);
  updating_ = false;
}
