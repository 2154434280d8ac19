#pragma once
#include "ui/Classes.h"
#include "ui/Handles.h"

#include <windows.h>

// A window timer: OnTimer runs every Interval milliseconds on the user-interface thread while
// Enabled (and Interval > 0). The timer owns a hidden message window that receives the ticks.
// Changing Interval or Enabled restarts the count. An exception in OnTimer goes to the
// application's error box.
class TTimer : public TComponent {
public:
  explicit TTimer(TComponent* owner);
  ~TTimer() override;

  UINT Interval() const { return interval_; }
  void SetInterval(UINT interval);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  TNotifyEvent OnTimer;

private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam);
  void UpdateTimer();

  UINT interval_ = 1000;
  bool enabled_ = true;
  TWindowHandle window_;
  bool running_ = false;
};
