#pragma once
#include <windows.h>

#include <string>

// UTF-16 text to UTF-8 bytes; a lone surrogate, which no UTF-8 can carry, becomes U+FFFD.
std::string Utf8(const std::wstring& text);

// The console program's two output streams. Text written to a console window goes through
// WriteConsoleW, which shows every character whatever the console's code page; redirected to a
// file or pipe it is written as UTF-8 bytes, which every script reads the same way.
class TConsole {
public:
  TConsole();

  void Out(const std::wstring& text) { Write(out_, outIsConsole_, text); }
  // Text already in UTF-8 (a JSON document): written as it is when redirected.
  void OutUtf8(const std::string& bytes);
  void Err(const std::wstring& text);

  // One line on stderr that each call replaces; only when stderr is a console window.
  void Progress(const std::wstring& text);
  // Clears the progress line, so that what follows starts on a clean line.
  void EndProgress();

private:
  static void Write(HANDLE handle, bool isConsole, const std::wstring& text);

  HANDLE out_;
  HANDLE err_;
  bool outIsConsole_;
  bool errIsConsole_;
  size_t progressWidth_ = 0;
  DWORD lastProgress_ = 0;
};
