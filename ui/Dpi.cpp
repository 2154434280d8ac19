#include "ui/Dpi.h"

#include "ui/Handles.h"

namespace {

// A user32 function that older Windows lack, looked up when first asked for so that the
// program still starts there.
template <typename TFunction> TFunction User32Function(const char* name) {
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  FARPROC found = user32 ? ::GetProcAddress(user32, name) : nullptr;
  return reinterpret_cast<TFunction>(reinterpret_cast<void*>(found));
}

} // namespace

int WindowDpi(HWND window) {
  using TGetDpiForWindow = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow = User32Function<TGetDpiForWindow>("GetDpiForWindow");
  if (getDpiForWindow && window) {
    if (const UINT dpi = getDpiForWindow(window); dpi > 0) return int(dpi);
  }
  TWindowDC screen;
  const int dpi = screen ? ::GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : kDesignDpi;
}

RECT FrameAtDpi(DWORD style, DWORD exStyle, int dpi) {
  using TAdjustForDpi = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
  static const auto adjustForDpi = User32Function<TAdjustForDpi>("AdjustWindowRectExForDpi");
  RECT frame{0, 0, 0, 0};
  if (!adjustForDpi || !adjustForDpi(&frame, style, FALSE, exStyle, UINT(dpi)))
    ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
  return frame;
}
