#include "main/BrowserGuard.h"

#include <vector>

namespace {

// Only a-z change; every other character stays as it is.
std::wstring UpperAscii(std::wstring text) {
  for (wchar_t& c : text)
    if (c >= L'a' && c <= L'z') c = wchar_t(c - L'a' + L'A');
  return text;
}

std::wstring FileNamePart(const std::wstring& path) {
  size_t cut = path.find_last_of(L"\\:");
  return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

} // namespace

std::wstring BrowserQuestion(const std::wstring& exeName) {
  if (exeName == kFirefoxExe)
    return L"Mozilla FireFox to be closed to clean unnesesary files. Close Mozilla Firefox?";
  if (exeName == kChromeExe)
    return L"Google Chrome to be closed to clean unnesesary files. Close Google Chrome?";
  // Worded as its siblings are, so that the four questions read as one program's.
  if (exeName == kEdgeExe)
    return L"Microsoft Edge to be closed to clean unnesesary files. Close Microsoft Edge?";
  if (exeName == kOperaExe) return L"Opera to be closed to clean unnesesary files. Close Opera?";
  return {};
}

bool IsProcessRunning(TSystemServices& services, const std::wstring& exeName) {
  std::vector<TProcessEntry> processes;
  if (!services.ProcessSnapshot(processes)) return false;
  for (const TProcessEntry& process : processes)
    if (process.ExeFile == exeName) return true;
  return false;
}

bool KillProcess(TSystemServices& services, const std::wstring& exeName) {
  std::vector<TProcessEntry> processes;
  if (!services.ProcessSnapshot(processes)) return false;
  const std::wstring wanted = UpperAscii(exeName);
  bool result = false;
  for (const TProcessEntry& process : processes) {
    const std::wstring name = UpperAscii(process.ExeFile);
    if (FileNamePart(name) == wanted || name == wanted)
      result = services.TerminateProcessById(process.ProcessId);
  }
  return result;
}

void GuardBrowser(TSystemServices& services, HWND owner, const std::wstring& exeName) {
  // The detection compares letter case exactly while the ending does not: a browser running
  // under a differently cased name is not noticed, so no question is asked and it keeps running.
  if (!IsProcessRunning(services, exeName)) return;
  if (services.ShowMessageBox(owner, BrowserQuestion(exeName), kWarningCaption, MB_YESNO) == IDYES)
    KillProcess(services, exeName);
}
