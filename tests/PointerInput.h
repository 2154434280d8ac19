#pragma once
#include <windows.h>

#include <initializer_list>
#include <utility>

// Pointer input as a person's: each step moves the pointer to a point of a window's client
// area and may press or release the left button there.
inline void PointerSteps(HWND window, std::initializer_list<std::pair<POINT, DWORD>> steps) {
  const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
  for (auto [point, button] : steps) {
    ::ClientToScreen(window, &point);
    INPUT input[2] = {};
    for (INPUT& i : input) {
      i.type = INPUT_MOUSE;
      i.mi.dx = LONG((point.x * 65536LL + width / 2) / width);
      i.mi.dy = LONG((point.y * 65536LL + height / 2) / height);
      i.mi.dwFlags = MOUSEEVENTF_ABSOLUTE;
    }
    input[0].mi.dwFlags |= MOUSEEVENTF_MOVE;
    input[1].mi.dwFlags |= button;
    ::SendInput(button ? 2 : 1, input, sizeof(INPUT));
  }
}

// A left click at a point of a window's client area: the pointer moves there, the button
// goes down and up.
inline void ClickWithPointer(HWND window, POINT point) {
  PointerSteps(window, {{point, MOUSEEVENTF_LEFTDOWN}, {point, MOUSEEVENTF_LEFTUP}});
}

// A left-button drag from one point of a window's client area to another, by way of the
// point halfway.
inline void DragWithPointer(HWND window, POINT from, POINT to) {
  const POINT half{(from.x + to.x) / 2, (from.y + to.y) / 2};
  PointerSteps(window,
               {{from, MOUSEEVENTF_LEFTDOWN}, {half, 0}, {to, 0}, {to, MOUSEEVENTF_LEFTUP}});
}
