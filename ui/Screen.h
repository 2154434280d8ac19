#pragma once
#include <windows.h>

#include <map>
#include <string>

// Cursor numbers: zero and below are the standard cursors; programs register their own positive
// numbers.
constexpr int crDefault = 0;
constexpr int crNone = -1;
constexpr int crArrow = -2;
constexpr int crCross = -3;
constexpr int crIBeam = -4;
constexpr int crSizeNESW = -6;
constexpr int crSizeNS = -7;
constexpr int crSizeNWSE = -8;
constexpr int crSizeWE = -9;
constexpr int crUpArrow = -10;
constexpr int crHourGlass = -11;
constexpr int crDrag = -12;
constexpr int crNoDrop = -13;
constexpr int crHSplit = -14;
constexpr int crVSplit = -15;
constexpr int crNo = -18;
constexpr int crAppStart = -19;
constexpr int crHelp = -20;
constexpr int crHandPoint = -21;
constexpr int crSizeAll = -22;

// The screen: its cursor table and the cursor forced on every window of the program.
class TScreen {
public:
  TScreen();
  // The cursor registered under id; the arrow for an unknown id or crDefault.
  HCURSOR Cursors(int id) const;
  // Registers a cursor (null removes the registration). Cursors loaded from resources are
  // shared and never destroyed.
  void SetCursors(int id, HCURSOR cursor);
  // While not crDefault, every window of the program shows this cursor.
  int Cursor() const { return cursor_; }
  void SetCursor(int cursor);
  int Width() const { return ::GetSystemMetrics(SM_CXSCREEN); }
  int Height() const { return ::GetSystemMetrics(SM_CYSCREEN); }

private:
  std::map<int, HCURSOR> cursors_;
  int cursor_ = crDefault;
};

TScreen& Screen();

// A cursor resource of the program, or null when there is none.
HCURSOR LoadCursorResource(const std::wstring& name);
