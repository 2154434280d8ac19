#include "ui/Screen.h"

TScreen::TScreen() {
  const struct {
    int id;
    LPCWSTR system;
  } standard[] = {
      {crArrow, IDC_ARROW},       {crCross, IDC_CROSS},     {crIBeam, IDC_IBEAM},
      {crSizeNESW, IDC_SIZENESW}, {crSizeNS, IDC_SIZENS},   {crSizeNWSE, IDC_SIZENWSE},
      {crSizeWE, IDC_SIZEWE},     {crUpArrow, IDC_UPARROW}, {crHourGlass, IDC_WAIT},
      {crDrag, IDC_ARROW},        {crNoDrop, IDC_NO},       {crHSplit, IDC_SIZEWE},
      {crVSplit, IDC_SIZENS},     {crNo, IDC_NO},           {crAppStart, IDC_APPSTARTING},
      {crHelp, IDC_HELP},         {crHandPoint, IDC_HAND},  {crSizeAll, IDC_SIZEALL}};
  for (const auto& s : standard)
    cursors_[s.id] = ::LoadCursorW(nullptr, s.system);
  cursors_[crNone] = nullptr;
}

HCURSOR TScreen::Cursors(int id) const {
  auto it = cursors_.find(id);
  if (it != cursors_.end() && (it->second || id == crNone)) return it->second;
  return ::LoadCursorW(nullptr, IDC_ARROW);
}

void TScreen::SetCursors(int id, HCURSOR cursor) {
  if (cursor)
    cursors_[id] = cursor;
  else if (id > 0)
    cursors_.erase(id);
}

void TScreen::SetCursor(int cursor) {
  if (cursor == cursor_) return;
  cursor_ = cursor;
  if (cursor_ != crDefault) {
    ::SetCursor(Cursors(cursor_));
  } else {
    // Let the window under the pointer choose again.
    POINT p;
    ::GetCursorPos(&p);
    ::SetCursorPos(p.x, p.y);
  }
}

TScreen& Screen() {
  static TScreen screen;
  return screen;
}

HCURSOR LoadCursorResource(const std::wstring& name) {
  return static_cast<HCURSOR>(::LoadImageW(::GetModuleHandleW(nullptr), name.c_str(), IMAGE_CURSOR,
                                           0, 0, LR_DEFAULTSIZE | LR_SHARED));
}
