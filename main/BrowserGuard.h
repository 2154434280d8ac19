#pragma once
#include <string>

#include "main/SystemServices.h"

// Before a browser's cache is searched, the user is offered to end that browser, so that the
// cache files are not held open while they are listed and later overwritten.

inline constexpr const wchar_t* kFirefoxExe = L"firefox.exe";
inline constexpr const wchar_t* kChromeExe = L"chrome.exe";
inline constexpr const wchar_t* kEdgeExe = L"msedge.exe";
inline constexpr const wchar_t* kOperaExe = L"opera.exe";
inline constexpr const wchar_t* kWarningCaption = L"Warning!";

// The question asked for a browser executable; empty for any other name.
std::wstring BrowserQuestion(const std::wstring& exeName);

// True when some process's executable name equals exeName exactly, letter case included.
bool IsProcessRunning(TSystemServices& services, const std::wstring& exeName);

// Ends every process whose executable name, or its file-name part, equals exeName without regard
// to the case of a-z. Returns the success flag of the last termination attempt (false when none
// was made). Nothing waits for the processes to go.
bool KillProcess(TSystemServices& services, const std::wstring& exeName);

// When the browser runs, asks its question (Yes/No, caption "Warning!") and on Yes ends it.
void GuardBrowser(TSystemServices& services, HWND owner, const std::wstring& exeName);
