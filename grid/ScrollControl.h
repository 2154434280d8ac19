#pragma once
#include "ui/Control.h"

enum TScrollBarKind : unsigned char { sbHorizontal, sbVertical };

// The scrolling base of the grid: the window's two scroll bars and how a scroll position
// becomes a shift of the contents.
class TVxCustomScrollControl : public TWinControl {
public:
  explicit TVxCustomScrollControl(TComponent* owner) : TWinControl(owner) {}
  // The class name as error texts show it (TVxGrid).
  virtual const char* ClassName() const { return "TVxCustomScrollControl"; }

protected:
  virtual int GetHorzScrollDelta(int, int) { return 0; }
  virtual int GetVertScrollDelta(int, int) { return 0; }
  virtual void AfterScroll(TScrollBarKind) {}
  virtual void BeforeScroll(TScrollBarKind) {}
};

class TVxScrollControl : public TVxCustomScrollControl {
public:
  explicit TVxScrollControl(TComponent* owner) : TVxCustomScrollControl(owner) {}
  const char* ClassName() const override { return "TVxScrollControl"; }
  bool MouseWheelEnabled() const { return mouseWheelEnabled_; }
  void SetMouseWheelEnabled(bool value) { mouseWheelEnabled_ = value; }

private:
  bool mouseWheelEnabled_ = true;
};
