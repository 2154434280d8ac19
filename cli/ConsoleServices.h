#pragma once
#include <string>
#include <vector>

#include "main/Win32Services.h"

// The system services for a program without a window: no message box is ever shown. A browser's
// question is answered from --close-browsers; anything else the core would tell the user is kept
// for stderr and acknowledged.
class TConsoleServices : public TWin32Services {
public:
  bool CloseBrowsers = false;
  std::vector<std::wstring> Messages;

  int ShowMessageBox(HWND, const std::wstring& text, const std::wstring& caption,
                     UINT type) override {
    if ((type & MB_TYPEMASK) == MB_YESNO) return CloseBrowsers ? IDYES : IDNO;
    Messages.push_back(caption + L": " + text);
    return IDOK;
  }
};
