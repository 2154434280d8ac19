#pragma once
#include <windows.h>

// Every length of the layout and of the controls' drawing is written for 96 dots per inch
// (100% display scale) and scaled to the DPI of the window it appears in.
constexpr int kDesignDpi = 96;

// value (a length at 96 DPI) at dpi, rounded to the nearest pixel, halves away from zero, so
// that a length and its negative scale alike.
inline int ScaleForDpi(int value, int dpi) {
  return dpi == kDesignDpi ? value : MulDiv(value, dpi, kDesignDpi);
}

inline RECT ScaleForDpi(const RECT& rect, int dpi) {
  return {ScaleForDpi(rect.left, dpi), ScaleForDpi(rect.top, dpi), ScaleForDpi(rect.right, dpi),
          ScaleForDpi(rect.bottom, dpi)};
}
