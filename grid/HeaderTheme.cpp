#include "grid/HeaderTheme.h"

THeaderTheme::~THeaderTheme() {
  Reset();
}

bool THeaderTheme::DrawItem(HWND window, HDC dc, int part, int state, const RECT& rect) {
  if (!opened_) {
    theme_ = OpenThemeForDpi(window, L"HEADER", dpi_);
    opened_ = true;
  }
  if (!theme_) return false;
  return parts_.Draw(theme_, dc, part, state, rect, clBtnFace);
}

void THeaderTheme::SetDpi(int dpi) {
  if (dpi_ == dpi) return;
  Reset();
  dpi_ = dpi;
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
