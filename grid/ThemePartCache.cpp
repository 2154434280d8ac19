#include "grid/ThemePartCache.h"

namespace {

// Enough for every look a grid shows at once; past it the copies start again.
constexpr size_t kMaxEntries = 64;

} // namespace

HTHEME OpenThemeForDpi(HWND window, const wchar_t* classList, int dpi) {
  // Looked up at run time: older systems lack the call, and a program that imported it would
  // not start there.
  using TOpenForDpi = HTHEME(WINAPI*)(HWND, LPCWSTR, UINT);
  static const auto openForDpi = [] {
    HMODULE uxtheme = ::GetModuleHandleW(L"uxtheme.dll");
    return uxtheme ? reinterpret_cast<TOpenForDpi>(
                         reinterpret_cast<void*>(::GetProcAddress(uxtheme, "OpenThemeDataForDpi")))
                   : nullptr;
  }();
  if (openForDpi) return openForDpi(window, classList, static_cast<UINT>(dpi));
  return ::OpenThemeData(window, classList);
}

bool TThemePartCache::Draw(HTHEME theme, HDC dc, int part, int state, const RECT& rect,
                           TColor background) {
  const int width = rect.right - rect.left;
  const int height = rect.bottom - rect.top;
  if (!theme || width <= 0 || height <= 0) return theme != nullptr;
  const COLORREF under = ColorToRGB(background);
  TEntry* found = nullptr;
  for (TEntry& entry : entries_)
    if (entry.part == part && entry.state == state && entry.width == width &&
        entry.height == height && entry.background == under)
      found = &entry;
  if (!found) {
    auto picture = std::make_unique<TBitmap>(width, height);
    picture->Fill(under);
    const RECT box{0, 0, width, height};
    if (FAILED(
            ::DrawThemeBackground(theme, picture->Canvas().Handle(), part, state, &box, nullptr)))
      return false;
    ::GdiFlush();
    if (entries_.size() >= kMaxEntries) entries_.clear();
    entries_.push_back(TEntry{part, state, width, height, under, std::move(picture)});
    found = &entries_.back();
  }
  return ::BitBlt(dc, rect.left, rect.top, width, height, found->picture->Canvas().Handle(), 0, 0,
                  SRCCOPY) != 0;
}
