#include "grid/HeaderTheme.h"

THeaderTheme::~THeaderTheme() {
  Reset();
}

bool THeaderTheme::DrawItem(HWND window, HDC dc, int part, int state, const RECT& rect) {
  if (!opened_) {
    theme_ = ::OpenThemeData(window, L"HEADER");
    opened_ = true;
  }
  if (!theme_) return false;
  return parts_.Draw(theme_, dc, part, state, rect, clBtnFace);
}

void THeaderTheme::Reset() {
  if (theme_) ::CloseThemeData(theme_);
  theme_ = nullptr;
  opened_ = false;
  parts_.Clear();
}

bool VisualStylesActive() {
  return ::IsThemeActive() && ::IsAppThemed();
}
