#pragma once
#include <windows.h>

// A left click at a point of a window's client area, sent as a person's pointer input: the
// pointer moves there, the button goes down and up.
inline void ClickWithPointer(HWND window, POINT point) {
  ::ClientToScreen(window, &point);
  const int width = ::GetSystemMetrics(SM_CXSCREEN), height = ::GetSystemMetrics(SM_CYSCREEN);
  INPUT input[3] = {};
  for (INPUT& i : input) {
    i.type = INPUT_MOUSE;
    i.mi.dx = LONG((point.x * 65536LL + width / 2) / width);
    i.mi.dy = LONG((point.y * 65536LL + height / 2) / height);
    i.mi.dwFlags = MOUSEEVENTF_ABSOLUTE;
  }
  input[0].mi.dwFlags |= MOUSEEVENTF_MOVE;
  input[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
  input[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
  ::SendInput(3, input, sizeof(INPUT));
}
