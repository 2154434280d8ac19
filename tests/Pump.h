#pragma once
#include <windows.h>

#include "ui/Application.h"
#include "ui/Timer.h"

// Tests wait for a condition, never for a stretch of time. The cap only ends a wait that would
// otherwise never end: a loaded machine may take seconds over what takes milliseconds at rest.
constexpr DWORD kPumpCap = 15000;

// Lets messages run until done() holds or the cap has passed; answers done().
template <typename F> bool PumpUntil(F done, DWORD cap = kPumpCap) {
  const DWORD start = ::GetTickCount();
  while (!done()) {
    if (::GetTickCount() - start >= cap) return done();
    Application().ProcessMessages();
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
  }
  return true;
}

// For a check that something does not come: lets messages run until a timer of interval
// milliseconds, started now, has fired. A timer due sooner comes before it however late the
// machine runs them, so a check made afterwards cannot pass only because the machine is slow.
inline bool PumpPastTimer(UINT interval) {
  TTimer sentinel(nullptr);
  bool fired = false;
  sentinel.OnTimer = [&](TObject*) {
    fired = true;
    sentinel.SetEnabled(false);
  };
  sentinel.SetInterval(interval);
  return PumpUntil([&] { return fired; });
}
