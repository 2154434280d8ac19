#include "main/BrowserGuard.h"

#include <vector>

namespace {

// Only a-z change; other bytes of the system code page stay as they are.
std::string UpperAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
  return text;
}

std::string FileNamePart(const std::string& path) {
  size_t cut = path.find_last_of("\\:");
  return cut == std::string::npos ? path : path.substr(cut + 1);
}

} // namespace

std::string BrowserQuestion(const std::string& exeName) {
  if (exeName == kFirefoxExe)
    return "Mozilla FireFox to be closed to clean unnesesary files. Close Mozilla Firefox?";
  if (exeName == kChromeExe)
    return "Google Chrome to be closed to clean unnesesary files. Close Google Chrome?";
  if (exeName == kOperaExe) return "Opera to be closed to clean unnesesary files. Close Opera?";
  return {};
}

bool IsProcessRunning(TSystemServices& services, const std::string& exeName) {
  std::vector<TProcessEntry> processes;
  if (!services.ProcessSnapshot(processes)) return false;
  for (const TProcessEntry& process : processes)
    if (process.ExeFile == exeName) return true;
  return false;
}

bool KillProcess(TSystemServices& services, const std::string& exeName) {
  std::vector<TProcessEntry> processes;
  if (!services.ProcessSnapshot(processes)) return false;
  const std::string wanted = UpperAscii(exeName);
  bool result = false;
  for (const TProcessEntry& process : processes) {
    const std::string name = UpperAscii(process.ExeFile);
    if (FileNamePart(name) == wanted || name == wanted)
      result = services.TerminateProcessById(process.ProcessId);
  }
  return result;
}

void GuardBrowser(TSystemServices& services, HWND owner, const std::string& exeName) {
  // The detection compares letter case exactly while the ending does not: a browser running
  // under a differently cased name is not noticed, so no question is asked and it keeps running.
  if (!IsProcessRunning(services, exeName)) return;
  if (services.ShowMessageBox(owner, BrowserQuestion(exeName), kWarningCaption, MB_YESNO) == IDYES)
    KillProcess(services, exeName);
}
