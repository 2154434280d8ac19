#include "ui/Timer.h"

#include "ui/Application.h"
#include "ui/Exception.h"

namespace {
constexpr UINT_PTR kTimerId = 1;
const wchar_t kClassName[] = L"VarnoxTimerWindow";
} // namespace

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!::GetClassInfoExW(instance, kClassName, &wc)) {
    wc.lpfnWndProc = &TTimer::WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = kClassName;
    ::RegisterClassExW(&wc);
  }
  window_.Reset(::CreateWindowExW(0, kClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                  instance, nullptr));
  if (!window_) throw EOutOfResources("Not enough timers available");
  ::SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  UpdateTimer();
}

TTimer::~TTimer() {
  if (running_) ::KillTimer(window_.Get(), kTimerId);
  ::SetWindowLongPtrW(window_.Get(), GWLP_USERDATA, 0);
}

void TTimer::SetInterval(UINT interval) {
  if (interval == interval_) return;
  interval_ = interval;
  UpdateTimer();
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  UpdateTimer();
}

void TTimer::UpdateTimer() {
  if (running_) ::KillTimer(window_.Get(), kTimerId);
  running_ = false;
  if (enabled_ && interval_ > 0) {
    if (!::SetTimer(window_.Get(), kTimerId, interval_, nullptr))
      throw EOutOfResources("Not enough timers available");
    running_ = true;
  }
}

LRESULT CALLBACK TTimer::WindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_TIMER && wParam == kTimerId) {
    auto* self = reinterpret_cast<TTimer*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self && self->running_ && !self->Destroying() && self->OnTimer) {
      try {
        self->OnTimer(self);
      } catch (...) {
        Application().HandleException(self);
      }
    }
    return 0;
  }
  return ::DefWindowProcW(window, msg, wParam, lParam);
}
