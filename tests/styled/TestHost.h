#pragma once
#include "ui/Control.h"

// A hidden top-level window to hold the controls under test. Wine under Xvfb waits seconds
// for a visible top-level window to go away when no window manager runs; hidden ones go at once.
class TTestHost : public TWinControl {
public:
  TTestHost() : TWinControl(nullptr) {
    SetVisible(false);
    SetBounds(0, 0, 400, 200);
  }
};
