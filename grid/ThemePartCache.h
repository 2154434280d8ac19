#pragma once
#include "ui/Bitmap.h"
#include "ui/Color.h"

#include <windows.h>

#include <uxtheme.h>

#include <memory>
#include <vector>

// Copies of themed parts. Drawing through the theme costs far more than copying pixels, and a
// grid draws the same few parts (a check box in two states, a header item of each column's
// width) over and over: each look (part, state, size and the colour under it) is drawn by the
// theme once into a bitmap and copied from there. A theme change must clear the copies.
// Opens a theme class for a window drawn at dpi: through OpenThemeDataForDpi where the system
// has it (its parts then come at that DPI's sizes), else OpenThemeData, whose parts are those
// of the system's DPI.
HTHEME OpenThemeForDpi(HWND window, const wchar_t* classList, int dpi);

class TThemePartCache {
public:
  // Draws the part into dc at rect over background; false when the theme could not draw it.
  bool Draw(HTHEME theme, HDC dc, int part, int state, const RECT& rect, TColor background);
  void Clear() { entries_.clear(); }

private:
  struct TEntry {
    int part, state, width, height;
    COLORREF background;
    std::unique_ptr<TBitmap> picture;
  };
  std::vector<TEntry> entries_;
};
