#pragma once
#include "ui/Set.h"

#include <windows.h>

#include <cstdint>

// Enumerations and small helpers shared by the canvas and the controls.

enum TAlignment : uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TVerticalAlignment : uint8_t { taAlignTop, taAlignBottom, taVerticalCenter };

// How a control is placed inside its parent's client area (see ArrangeAligned).
enum TAlign : uint8_t { alNone, alTop, alBottom, alLeft, alRight, alClient };

// Frames: controls use bsNone and bsSingle; windows use all of them.
enum TBorderStyle : uint8_t { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

// Modifier keys and mouse buttons held during an input event; ssDouble marks a double click.
enum TShiftStateItem : uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem, uint8_t>;

constexpr RECT MakeRect(int left, int top, int right, int bottom) {
  return RECT{left, top, right, bottom};
}
constexpr RECT BoundsRect(int left, int top, int width, int height) {
  return RECT{left, top, left + width, top + height};
}
constexpr int RectWidth(const RECT& r) {
  return r.right - r.left;
}
constexpr int RectHeight(const RECT& r) {
  return r.bottom - r.top;
}
constexpr bool SameRect(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
