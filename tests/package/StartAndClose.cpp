// Starts a program, waits for its first visible top-level window and closes it with WM_CLOSE;
// each window of the program that shows later (the main window after a first box, say) gets
// one WM_CLOSE too, until the program ends. Prints what it saw; exits 0 only when a window
// appeared, the program ended in time and its exit code was 0. Every wait is bounded.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr DWORD kWindowTimeoutMs = 60000;
constexpr DWORD kExitTimeoutMs = 30000;

class Handle {
public:
  explicit Handle(HANDLE handle) : handle_(handle) {}
  Handle(const Handle&) = delete;
  Handle& operator=(const Handle&) = delete;
  ~Handle() {
    if (handle_) CloseHandle(handle_);
  }
  HANDLE Get() const { return handle_; }

private:
  HANDLE handle_;
};

struct WindowSearch {
  DWORD processId;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectVisibleWindowsOf(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId == search->processId && IsWindowVisible(window)) search->found.push_back(window);
  return TRUE;
}

std::vector<HWND> VisibleWindowsOf(DWORD processId) {
  WindowSearch search{processId, {}};
  EnumWindows(CollectVisibleWindowsOf, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

int Fail(const Handle& process, const char* what) {
  std::printf("start-close: %s\n", what);
  TerminateProcess(process.Get(), 1);
  return 1;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fputs("usage: varnox_start_close PROGRAM\n", stderr);
    return 2;
  }
  std::wstring commandLine = L"\"" + std::wstring(argv[1]) + L"\"";
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  if (!CreateProcessW(argv[1], commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &info)) {
    std::printf("start-close: cannot start the program (error %lu)\n", GetLastError());
    return 1;
  }
  Handle process(info.hProcess);
  Handle thread(info.hThread);

  DWORD started = GetTickCount();
  std::vector<HWND> windows;
  while (windows.empty()) {
    if (WaitForSingleObject(process.Get(), 100) == WAIT_OBJECT_0)
      return Fail(process, "the program ended before it showed a window");
    if (GetTickCount() - started > kWindowTimeoutMs)
      return Fail(process, "no window appeared in time");
    windows = VisibleWindowsOf(info.dwProcessId);
  }
  char title[256] = "";
  GetWindowTextA(windows.front(), title, sizeof title);
  std::printf("start-close: window \"%s\" after %lu ms\n", title, GetTickCount() - started);

  DWORD closing = GetTickCount();
  std::vector<HWND> closed;
  while (WaitForSingleObject(process.Get(), 0) != WAIT_OBJECT_0) {
    if (GetTickCount() - closing > kExitTimeoutMs)
      return Fail(process, "the program did not end after WM_CLOSE");
    for (HWND window : windows) {
      if (std::find(closed.begin(), closed.end(), window) != closed.end()) continue;
      PostMessageW(window, WM_CLOSE, 0, 0);
      closed.push_back(window);
    }
    WaitForSingleObject(process.Get(), 1000);
    windows = VisibleWindowsOf(info.dwProcessId);
  }
  DWORD exitCode = 1;
  GetExitCodeProcess(process.Get(), &exitCode);
  std::printf("start-close: %u WM_CLOSE sent; the program ended with exit code %lu\n",
              static_cast<unsigned>(closed.size()), exitCode);
  return exitCode == 0 ? 0 : 1;
}
