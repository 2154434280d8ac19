#pragma once
#include <windows.h>

// Every length of the layout and of the controls' drawing is written for 96 dots per inch
// (100% display scale) and scaled to the DPI of the window it appears in.
constexpr int kDesignDpi = 96;

// Sent to a top-level window whose DPI changed (it moved to a monitor of another scale, or the
// user changed the scale); the headers name it only for newer Windows than we build for.
constexpr UINT kWmDpiChanged = 0x02E0;

// value (a length at 96 DPI) at dpi, rounded to the nearest pixel, halves away from zero, so
// that a length and its negative scale alike.
inline int ScaleForDpi(int value, int dpi) {
  return dpi == kDesignDpi ? value : MulDiv(value, dpi, kDesignDpi);
}

inline RECT ScaleForDpi(const RECT& rect, int dpi) {
  return {ScaleForDpi(rect.left, dpi), ScaleForDpi(rect.top, dpi), ScaleForDpi(rect.right, dpi),
          ScaleForDpi(rect.bottom, dpi)};
}

// The DPI the system draws a window for: its own on Windows 10 and later, where each monitor has
// its scale; before that the one scale of the whole screen.
int WindowDpi(HWND window);

// How far a window's frame of these styles reaches beyond its client area at dpi, as the
// offsets AdjustWindowRectEx gives for an empty client rectangle. Before Windows 10 the frame
// is the system's at its one scale, whatever dpi says.
RECT FrameAtDpi(DWORD style, DWORD exStyle, int dpi);
