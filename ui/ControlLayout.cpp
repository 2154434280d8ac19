// TWinControl: bounds, the client area and the alignment of children.
#include "ui/Control.h"

#include <algorithm>

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
  TScopedValue aligning(aligning_, true);
  for (size_t i = 0; i < aligned.size(); ++i) {
    const RECT& b = entries[i].Bounds;
    aligned[i]->SetBounds(b.left, b.top, RectWidth(b), RectHeight(b));
  }
}

void TWinControl::Loaded() {
  if (realignPending_) Realign();
}
