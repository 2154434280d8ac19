// Starts a program, waits for its first visible top-level window, closes that window with
// WM_CLOSE and waits for the program to end. Prints what it saw; exits 0 only when a window
// appeared, the program ended in time and its exit code was 0. Every wait is bounded.
#include <windows.h>

#include <cstdio>
#include <string>

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
  HWND found;
};

BOOL CALLBACK TakeVisibleWindowOf(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (processId != search->processId || !IsWindowVisible(window)) return TRUE;
  search->found = window;
  return FALSE;
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

  WindowSearch search{info.dwProcessId, nullptr};
  DWORD started = GetTickCount();
  while (!search.found) {
    if (WaitForSingleObject(process.Get(), 100) == WAIT_OBJECT_0)
      return Fail(process, "the program ended before it showed a window");
    if (GetTickCount() - started > kWindowTimeoutMs)
      return Fail(process, "no window appeared in time");
    EnumWindows(TakeVisibleWindowOf, reinterpret_cast<LPARAM>(&search));
  }
  char title[256] = "";
  GetWindowTextA(search.found, title, sizeof title);
  std::printf("start-close: window \"%s\" after %lu ms\n", title, GetTickCount() - started);

  PostMessageW(search.found, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(process.Get(), kExitTimeoutMs) != WAIT_OBJECT_0)
    return Fail(process, "the program did not end after WM_CLOSE");
  DWORD exitCode = 1;
  GetExitCodeProcess(process.Get(), &exitCode);
  std::printf("start-close: the program ended with exit code %lu\n", exitCode);
  return exitCode == 0 ? 0 : 1;
}
