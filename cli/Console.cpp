#include "cli/Console.h"

#include <algorithm>

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0, nullptr,
                                   nullptr);
  std::string bytes(size_t(std::max(size, 0)), '\0');
  ::WideCharToMultiByte(CP_UTF8, 0, text.data(), int(text.size()), bytes.data(), size, nullptr,
                        nullptr);
  return bytes;
}

namespace {

bool IsConsole(HANDLE handle) {
  DWORD mode = 0;
  return handle != INVALID_HANDLE_VALUE && handle && ::GetConsoleMode(handle, &mode);
}

} // namespace

TConsole::TConsole()
    : out_(::GetStdHandle(STD_OUTPUT_HANDLE)), err_(::GetStdHandle(STD_ERROR_HANDLE)),
      outIsConsole_(IsConsole(out_)), errIsConsole_(IsConsole(err_)) {}

void TConsole::Write(HANDLE handle, bool isConsole, const std::wstring& text) {
  if (!handle || handle == INVALID_HANDLE_VALUE || text.empty()) return;
  if (isConsole) {
    DWORD written = 0;
    ::WriteConsoleW(handle, text.data(), DWORD(text.size()), &written, nullptr);
    return;
  }
  const std::string bytes = Utf8(text);
  DWORD written = 0;
  ::WriteFile(handle, bytes.data(), DWORD(bytes.size()), &written, nullptr);
}

void TConsole::OutUtf8(const std::string& bytes) {
  if (outIsConsole_) {
    int size = ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), nullptr, 0);
    std::wstring text(size_t(std::max(size, 0)), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, bytes.data(), int(bytes.size()), text.data(), size);
    Out(text);
    return;
  }
  DWORD written = 0;
  if (out_ && out_ != INVALID_HANDLE_VALUE)
    ::WriteFile(out_, bytes.data(), DWORD(bytes.size()), &written, nullptr);
}

void TConsole::Err(const std::wstring& text) {
  EndProgress();
  Write(err_, errIsConsole_, text);
}

void TConsole::Progress(const std::wstring& text) {
  if (!errIsConsole_) return;
  // A console redraws slowly; a few updates a second read as continuous.
  const DWORD now = ::GetTickCount();
  if (progressWidth_ > 0 && now - lastProgress_ < 100) return;
  lastProgress_ = now;
  CONSOLE_SCREEN_BUFFER_INFO info{};
  size_t columns = 80;
  if (::GetConsoleScreenBufferInfo(err_, &info))
    columns = size_t(std::max<SHORT>(info.dwSize.X, 2));
  // One column short of the width, so that the cursor never wraps to a new line.
  std::wstring line = text.substr(0, columns - 1);
  const size_t width = line.size();
  if (width < progressWidth_) line.append(progressWidth_ - width, L' ');
  Write(err_, true, L"\r" + line);
  progressWidth_ = width;
}

void TConsole::EndProgress() {
  if (progressWidth_ == 0) return;
  Write(err_, true, L"\r" + std::wstring(progressWidth_, L' ') + L"\r");
  progressWidth_ = 0;
}
