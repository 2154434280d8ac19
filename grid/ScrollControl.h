#pragma once
#include "grid/Flyout.h"
#include "grid/ScrollBar.h"
#include "ui/Control.h"
#include "ui/Timer.h"

#include <functional>
#include <memory>

using TVxScrollEvent = std::function<void(TObject* Sender, int Position)>;

// The roll cursors, registered with the screen under these numbers.
constexpr int crRoll = 4003;
constexpr int crRollUp = 4004;
constexpr int crRollDown = 4005;

// The scrolling base of the grid: how a scroll position becomes a shift of the contents.
class TVxCustomScrollControl : public TWinControl {
public:
  explicit TVxCustomScrollControl(TComponent* owner);
  // The class name as error texts show it (TVxGrid).
  virtual const char* ClassName() const { return "TVxCustomScrollControl"; }

  // The parts of the client area that move sideways and up or down; the painting code
  // refreshes them.
  RECT HorzScrollArea() const { return horzScrollArea_; }
  RECT VertScrollArea() const { return vertScrollArea_; }

protected:
  friend class TVxCustomScrollBar;
  // Pixels to shift the contents for a bar moving from oldPosition to newPosition.
  virtual int GetHorzScrollDelta(int, int) { return 0; }
  virtual int GetVertScrollDelta(int, int) { return 0; }
  virtual void AfterScroll(TScrollBarKind) {}
  virtual void BeforeScroll(TScrollBarKind) {}
  // Shifts the window's contents inside the scrolling area of the bar's kind and invalidates
  // only the uncovered strip; a shift of the whole area or more invalidates the area instead.
  virtual void ScrollContent(TVxCustomScrollBar& bar, int dx, int dy);
  void SetScrollAreas(const RECT& horz, const RECT& vert) {
    horzScrollArea_ = horz;
    vertScrollArea_ = vert;
  }
  void CreateParams(TCreateParams& params) override;

private:
  RECT horzScrollArea_{0, 0, 0, 0};
  RECT vertScrollArea_{0, 0, 0, 0};
};

// The control with its two scroll bars, their messages, the wheel and the middle-button roll
// mode.
class TVxScrollControl : public TVxCustomScrollControl {
public:
  explicit TVxScrollControl(TComponent* owner);
  ~TVxScrollControl() override;
  const char* ClassName() const override { return "TVxScrollControl"; }

  bool MouseWheelEnabled() const { return mouseWheelEnabled_; }
  void SetMouseWheelEnabled(bool value) { mouseWheelEnabled_ = value; }
  TVxScrollBar& HorzScrollBar() { return horzScrollBar_; }
  TVxScrollBar& VertScrollBar() { return vertScrollBar_; }
  bool RollEnabled() const { return rollEnabled_; }
  void SetRollEnabled(bool value) { rollEnabled_ = value; }
  bool Rolling() const { return rolling_; }
  TRollDirection RollDirection() const { return rollDirection_; }
  TRollShadow& RollMarker() { return *rollMarker_; }
  TTimer& RollTimer() { return *rollTimer_; }
  // Ends roll mode: the timer stops, the marker hides, the cursor and the capture go back.
  void EndRoll();

  TVxScrollEvent OnHorizontalScroll;
  TVxScrollEvent OnVerticalScroll;

protected:
  bool HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) override;
  void CreateWnd() override;
  void EnabledChanged() override;
  void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
  void MouseMove(TShiftState shift, int x, int y) override;
  void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
  bool MouseWheel(TShiftState shift, int delta, POINT screenPoint) override;
  void DoExit() override;
  void ApplicationActivateChanged(bool active) override;
  // Runs before a scroll message of the bar's kind moves the position.
  virtual void BeforeScrollMessage(TScrollBarKind) {}
  // Whether the wheel may scroll now (not while an editor is open).
  virtual bool WheelAllowed() { return true; }
  // Whether the wheel may fall back to the horizontal bar (the report style).
  virtual bool WheelScrollsSideways() const { return true; }
  // The control's own hover handling (after OnMouseMove), skipped while rolling.
  virtual void HoverMove(TShiftState, int, int) {}

private:
  void ScrollMessage(TVxScrollBar& bar, int code);
  void RollTick();

  bool mouseWheelEnabled_ = true;
  TVxScrollBar horzScrollBar_;
  TVxScrollBar vertScrollBar_;
  int wheelRest_ = 0;
  bool rollEnabled_ = true;
  bool rolling_ = false;
  TRollDirection rollDirection_ = rdNone;
  POINT rollAnchor_{0, 0};
  std::unique_ptr<TTimer> rollTimer_;
  std::unique_ptr<TRollShadow> rollMarker_;
};
