#pragma once
#include "grid/ScrollMath.h"

#include <windows.h>

class TVxCustomScrollControl;

// The model of one of the control's window scroll bars: it keeps the values and mirrors them
// on the window's bar once the window exists (until then it only stores them). A position
// change shifts the control's contents unless updates are held or the bar scrolls manually.
class TVxCustomScrollBar {
public:
  TVxCustomScrollBar(TVxCustomScrollControl& owner, TScrollBarKind kind);
  virtual ~TVxCustomScrollBar() = default;
  TVxCustomScrollBar(const TVxCustomScrollBar&) = delete;
  TVxCustomScrollBar& operator=(const TVxCustomScrollBar&) = delete;

  TScrollBarKind Kind() const { return kind_; }
  int Min() const { return min_; }
  void SetMin(int value) { min_ = value; }
  int Max() const { return max_; }
  void SetMax(int value);
  int Position() const { return position_; }
  void SetPosition(int value);
  int OldPosition() const { return oldPosition_; }
  int PageSize() const { return pageSize_; }
  void SetPageSize(int value);
  int SmallChange() const { return smallChange_; }
  void SetSmallChange(int value) { smallChange_ = value; }
  int LargeChange() const { return largeChange_; }
  void SetLargeChange(int value) { largeChange_ = value; }
  // Hide the bar when there is nothing to scroll; when false the bar stays, disabled.
  bool AutoHide() const { return autoHide_; }
  void SetAutoHide(bool value);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool value);
  bool Visible() const { return visible_; }
  virtual void SetVisible(bool value) { visible_ = value; }
  // While set, position changes do not shift the contents.
  bool ManualScroll() const { return manualScroll_; }
  void SetManualScroll(bool value) { manualScroll_ = value; }
  int UpdateCount() const { return updateCount_; }
  TScrollMessageKind ScrollKind() const { return scrollKind_; }
  void SetScrollKind(TScrollMessageKind value) { scrollKind_ = value; }

  void First() { SetPosition(0); }
  void Last() { SetPosition(max_ - pageSize_ + 1); }
  void MoveBy(int n) { SetPosition(position_ + n); }
  // Send the owner the matching scroll message, which then moves the position.
  void LineUp() { Send(SB_LINEUP); }
  void LineDown() { Send(SB_LINEDOWN); }
  void PageUp() { Send(SB_PAGEUP); }
  void PageDown() { Send(SB_PAGEDOWN); }
  bool IsAtEnd() const { return position_ + pageSize_ >= max_; }
  bool IsAtStart() const { return position_ == 0; }
  // While held, position changes do not shift the contents.
  void BeginUpdate() { ++updateCount_; }
  void EndUpdate() { --updateCount_; }

  // Mirrors the values on the window's bar (nothing before the window exists).
  virtual void Update() {}

protected:
  TVxCustomScrollControl& owner_;

private:
  void Send(int code);

  TScrollBarKind kind_;
  int min_ = 0;
  int max_ = 0;
  int position_ = 0;
  int oldPosition_ = 0;
  int pageSize_ = 0;
  int smallChange_ = 1;
  int largeChange_ = 1;
  bool autoHide_ = true;
  bool enabled_ = true;
  bool visible_ = false;
  bool manualScroll_ = false;
  int updateCount_ = 0;
  TScrollMessageKind scrollKind_ = smNone;
};

class TVxScrollBar : public TVxCustomScrollBar {
public:
  using TVxCustomScrollBar::TVxCustomScrollBar;
  void SetVisible(bool value) override;
  void Update() override;

private:
  bool updating_ = false;
};
