#pragma once
#include "grid/ThemePartCache.h"
#include "ui/Dpi.h"

#include <windows.h>

#include <uxtheme.h>

// The platform theme's "header" class, opened on first use for the grid's window. A theme
// that cannot be opened or that fails to draw is reported as false and never raised: the
// header displays then draw their classic look, so a paint always finishes.
class THeaderTheme {
public:
  THeaderTheme() = default;
  THeaderTheme(const THeaderTheme&) = delete;
  THeaderTheme& operator=(const THeaderTheme&) = delete;
  virtual ~THeaderTheme();

  // Draws a part of the header class (header item 1, header-item-left 2) in a state (normal 1,
  // hot 2, pressed 3) over rect; false when the theme could not.
  virtual bool DrawItem(HWND window, HDC dc, int part, int state, const RECT& rect);
  // Lets go of the theme, for a theme change; the next drawing opens it again.
  void Reset();
  // The DPI the parts are drawn for; a change opens the theme again at the next drawing.
  void SetDpi(int dpi);
  int Dpi() const { return dpi_; }

private:
  int dpi_ = kDesignDpi;
  HTHEME theme_ = nullptr;
  bool opened_ = false;
  TThemePartCache parts_;
};

// Whether the platform's visual styles are on for this program.
bool VisualStylesActive();
