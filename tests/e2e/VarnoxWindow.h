#pragma once
#include "PointerInput.h"
#include "ui/Bitmap.h"

#include <windows.h>

#include <cstdlib>
#include <string>
#include <vector>

// The real Varnox.exe beside this test program, seen from outside: its windows found by their
// texts, pointer input sent as a person's, its pictures taken from the screen.
class TVarnoxWindow {
public:
  TVarnoxWindow() = default;
  TVarnoxWindow(const TVarnoxWindow&) = delete;
  TVarnoxWindow& operator=(const TVarnoxWindow&) = delete;
  ~TVarnoxWindow() {
    if (process_.hProcess) {
      if (::WaitForSingleObject(process_.hProcess, 0) == WAIT_TIMEOUT)
        ::TerminateProcess(process_.hProcess, 1);
      ::CloseHandle(process_.hProcess);
      ::CloseHandle(process_.hThread);
    }
  }

  // Starts the program and waits for its main window.
  bool Start() {
    std::wstring exe = Folder() + L"Varnox.exe";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    std::wstring command = L"\"" + exe + L"\"";
    if (!::CreateProcessW(exe.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process_))
      return false;
    ::WaitForInputIdle(process_.hProcess, 20000);
    return Wait(20000, [&] { return (main_ = FindMain()) != nullptr; });
  }

  // Clicks the middle of the shown window with that text (a button, a check box).
  void Click(const std::wstring& text) {
    HWND window = FindShown(text);
    if (!window) return;
    RECT r;
    ::GetClientRect(window, &r);
    ClickAt(window, {r.right / 2, r.bottom / 2});
  }
  // Clicks a point of the found-files grid, in its client coordinates.
  void ClickGrid(POINT point) { ClickAt(Grid(), point); }
  // A click on the down arrow of the grid's scroll bar, as a person scrolls one row; true once
  // the screen shows the list moved. (Wine keeps a window's scroll position in its own process,
  // so another program cannot ask for it.)
  bool ScrollGridDown() {
    const RECT r = GridClientRect();
    const int arrowWidth = ::GetSystemMetrics(SM_CXVSCROLL);
    const int arrowHeight = ::GetSystemMetrics(SM_CYVSCROLL);
    const std::vector<uint32_t> before = GridPixels();
    ClickWithPointer(Grid(), {r.right + arrowWidth / 2, r.bottom - arrowHeight / 2});
    return Wait(10000, [&] { return GridPixels() != before; });
  }
  // The grid's client area as the screen shows it.
  std::vector<uint32_t> GridPixels() const {
    const RECT r = GridClientRect();
    POINT origin{0, 0};
    ::ClientToScreen(Grid(), &origin);
    TBitmap picture;
    picture.SetSize(r.right, r.bottom);
    HDC screen = ::GetDC(nullptr);
    ::BitBlt(picture.Canvas().Handle(), 0, 0, r.right, r.bottom, screen, origin.x, origin.y,
             SRCCOPY);
    ::ReleaseDC(nullptr, screen);
    std::vector<uint32_t> pixels;
    pixels.reserve(size_t(r.right) * size_t(r.bottom));
    for (int y = 0; y < r.bottom; ++y)
      for (int x = 0; x < r.right; ++x)
        pixels.push_back(uint32_t(::GetPixel(picture.Canvas().Handle(), x, y)));
    return pixels;
  }

  bool WaitForText(const std::wstring& text, DWORD ms) {
    return Wait(ms, [&] { return FindShown(text) != nullptr; });
  }
  // Buttons are held off while a run goes on: enabled again, the run is over.
  bool WaitForEnabled(const std::wstring& text, DWORD ms) {
    return Wait(ms, [&] {
      HWND window = FindShown(text);
      return window && ::IsWindowEnabled(window);
    });
  }
  bool WaitForMemo(const std::wstring& part, DWORD ms) {
    return Wait(ms, [&] { return MemoText().find(part) != std::wstring::npos; });
  }
  std::wstring MemoText() { return TextOf(FindByClass(L"Edit")); }

  RECT ClientRect() const {
    RECT r{};
    ::GetClientRect(main_, &r);
    return r;
  }
  // Each shown window with a text, with its class name.
  struct TShownText {
    HWND Window;
    std::wstring Text;
    std::wstring ClassName;
  };
  std::vector<TShownText> ShownTexts() const {
    std::vector<TShownText> shown;
    for (HWND child : Children()) {
      wchar_t name[128] = {};
      ::GetClassNameW(child, name, 128);
      if (::IsWindowVisible(child) && !TextOf(child).empty())
        shown.push_back({child, TextOf(child), name});
    }
    return shown;
  }

  RECT GridClientRect() const {
    RECT r{};
    ::GetClientRect(Grid(), &r);
    return r;
  }
  int OuterWidth() const {
    RECT r{};
    ::GetWindowRect(main_, &r);
    return r.right - r.left;
  }

  // The window as the screen shows it, saved in the build folder.
  void SavePicture(const std::wstring& name) {
    // The main window itself lies under its children, which clip it: the child shown in its
    // middle takes the paint mark. A window that takes no mark (one painted by its parent) is
    // not waited for; the picture is for a person to look at.
    HWND shown = main_;
    POINT middle{};
    for (;;) {
      RECT r{};
      ::GetClientRect(shown, &r);
      middle = {r.right / 2, r.bottom / 2};
      HWND child = ::ChildWindowFromPointEx(shown, middle, CWP_SKIPINVISIBLE);
      if (!child || child == shown) break;
      shown = child;
    }
    TakenIn(shown, middle);
    RECT r{};
    ::GetWindowRect(main_, &r);
    TBitmap picture;
    picture.SetSize(r.right - r.left, r.bottom - r.top);
    HDC screen = ::GetDC(nullptr);
    ::BitBlt(picture.Canvas().Handle(), 0, 0, r.right - r.left, r.bottom - r.top, screen, r.left,
             r.top, SRCCOPY);
    ::ReleaseDC(nullptr, screen);
    picture.SaveToFile(Folder() + name);
  }

  // The exit code, or -1 when the program is still running after ms.
  int WaitForExit(DWORD ms) {
    if (::WaitForSingleObject(process_.hProcess, ms) != WAIT_OBJECT_0) return -1;
    DWORD code = 0;
    ::GetExitCodeProcess(process_.hProcess, &code);
    return int(code);
  }

private:
  struct TMainSearch {
    DWORD process;
    HWND found;
  };
  // The system calls these back in its own calling convention, which on 32-bit Windows is not
  // the one a lambda converts to.
  static BOOL CALLBACK MatchMain(HWND window, LPARAM data) {
    auto* search = reinterpret_cast<TMainSearch*>(data);
    DWORD owner = 0;
    ::GetWindowThreadProcessId(window, &owner);
    wchar_t text[64] = {};
    ::GetWindowTextW(window, text, 64);
    if (owner != search->process || !::IsWindowVisible(window) ||
        std::wstring(text).rfind(L"Varnox", 0) != 0)
      return TRUE;
    search->found = window;
    return FALSE;
  }
  static BOOL CALLBACK CollectChild(HWND window, LPARAM data) {
    reinterpret_cast<std::vector<HWND>*>(data)->push_back(window);
    return TRUE;
  }
  template <typename TTest> static bool Wait(DWORD ms, TTest test) {
    for (DWORD waited = 0;; waited += 50) {
      if (test()) return true;
      if (waited >= ms) return false;
      ::Sleep(50);
    }
  }
  static std::wstring Folder() {
    wchar_t path[MAX_PATH];
    DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    return folder.substr(0, folder.rfind(L'\\') + 1);
  }
  static std::wstring TextOf(HWND window) {
    if (!window) return {};
    DWORD_PTR length = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 5000, &length);
    std::wstring text(length + 1, L'\0');
    DWORD_PTR copied = 0;
    ::SendMessageTimeoutW(window, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()),
                          SMTO_ABORTIFHUNG, 5000, &copied);
    text.resize(copied);
    return text;
  }
  HWND FindMain() const {
    TMainSearch search{process_.dwProcessId, nullptr};
    ::EnumWindows(MatchMain, reinterpret_cast<LPARAM>(&search));
    return search.found;
  }
  std::vector<HWND> Children() const {
    std::vector<HWND> children;
    ::EnumChildWindows(main_, CollectChild, reinterpret_cast<LPARAM>(&children));
    return children;
  }
  HWND FindShown(const std::wstring& text) const {
    for (HWND child : Children())
      if (::IsWindowVisible(child) && TextOf(child) == text) return child;
    return nullptr;
  }
  HWND FindByClass(const std::wstring& part) const {
    for (HWND child : Children()) {
      wchar_t name[128] = {};
      ::GetClassNameW(child, name, 128);
      if (std::wstring(name).find(part) != std::wstring::npos) return child;
    }
    return nullptr;
  }
  HWND Grid() const { return FindByClass(L"TVxGrid"); }

  void ClickAt(HWND window, POINT point) {
    ClickWithPointer(window, point);
    // The system has the click once the pointer stands on the point (give or take the
    // rounding of absolute coordinates); then the program has to take it in.
    POINT screen = point;
    ::ClientToScreen(window, &screen);
    Wait(kSettleCap, [&] {
      POINT at{};
      return ::GetCursorPos(&at) && std::abs(at.x - screen.x) <= 1 &&
             std::abs(at.y - screen.y) <= 1;
    });
    TakenIn(window, point);
  }
  // Waits until the program has taken in the input sent so far. A thread takes a window's
  // paint only once no input is left in its queue, so a pixel of the window (at, where nothing
  // covers it) marked for painting after the input and then painted shows that the input was
  // handled before it. A window that went away or was hidden meanwhile has been handled too.
  void TakenIn(HWND window, POINT at) {
    RECT pixel{at.x, at.y, at.x + 1, at.y + 1};
    ::RedrawWindow(window, &pixel, nullptr, RDW_INVALIDATE);
    Wait(kSettleCap,
         [&] { return !::IsWindowVisible(window) || !::GetUpdateRect(window, nullptr, FALSE); });
  }
  static constexpr DWORD kSettleCap = 20000;

  PROCESS_INFORMATION process_{};
  HWND main_ = nullptr;
};
