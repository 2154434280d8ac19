#pragma once
#include <algorithm>
#include <cctype>
#include <deque>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "main/CleaningLocations.h"
#include "main/Win32Services.h"
#include "ui/Numbers.h"

// The tests' own paths and names are ASCII, which widens character by character.
inline std::wstring W(const std::string& text) {
  return std::wstring(text.begin(), text.end());
}

// A machine for tests: by default every service is the real one of the Wine prefix; each setting
// below replaces one service with a scripted answer, to show what the prefix cannot (another
// drive, the older profile layout, an old shell, a Recycle Bin that cannot be read, processes of
// other users). Message boxes are never shown: they are recorded and answered from Answers.
// Shell "open" requests are recorded, never carried out.
class TFakeMachine : public TWin32Services {
public:
  // When set, these values are the whole registry, keyed by RegistryKey(key path, value name).
  std::optional<std::map<std::wstring, TRegistryValue>> Registry;
  // Drive letter (upper case) -> real folder without trailing backslash that stands for the
  // drive's root, e.g. 'D' -> "C:\varnox_test_1\D" (the tests' own folders have ASCII names).
  // Every path-taking service maps through it.
  std::map<char, std::string> Drives;
  // Entry path (as the program names it, in lower case; see AddAttributes) -> attribute bits
  // added to what the file system reports, for kinds Wine does not keep on folders (read-only,
  // archive) or cannot make from inside (junctions).
  std::map<std::wstring, DWORD> AddedAttributes;
  void AddAttributes(const std::wstring& path, DWORD attributes) {
    AddedAttributes[Lower(path)] |= attributes;
  }
  void AddAttributes(const std::string& path, DWORD attributes) {
    AddAttributes(AnsiToWide(path), attributes);
  }
  std::optional<std::wstring> WindowsDir;
  std::optional<DWORD> Shell32Version;

  // The Recycle Bin: when FakeRecycleBin is false the real shell answers the query and emptying
  // is refused (the real one would empty the desktop user's trash).
  bool FakeRecycleBin = true;
  HRESULT RecycleBinResult = S_OK;
  uint64_t RecycleBinBytes = 0;
  uint64_t RecycleBinItems = 0;
  bool Shell32Missing = false;
  int RecycleBinEmptied = 0;

  // When set, these are the running processes; ids in Protected cannot be ended.
  std::optional<std::vector<TProcessEntry>> Processes;
  bool SnapshotFails = false;
  std::set<DWORD> Protected;
  std::vector<DWORD> Terminated;

  struct TMessage {
    HWND Owner;
    std::wstring Text;
    std::wstring Caption;
    UINT Type;
  };
  std::vector<TMessage> Messages;
  std::deque<int> Answers;
  int DefaultAnswer = IDNO;
  std::vector<std::wstring> Opened;
  // The program runs as a plain user; restarts with administrator rights are recorded, never
  // carried out.
  bool Elevated = false;
  std::vector<std::wstring> ElevatedRestarts;
  // Folders (lower case, without trailing backslash) that, with everything below them, cannot
  // be listed for want of rights.
  std::set<std::wstring> DeniedFolders;
  int FindFirstCalls = 0;
  // Path (lower case) -> the system error with which opening that file for the wipe fails.
  std::map<std::wstring, DWORD> OpenErrors;

  class TAdjustedListing : public TDirectoryListing {
  public:
    TAdjustedListing(TFakeMachine& machine, std::unique_ptr<TDirectoryListing> real,
                     std::wstring folder)
        : machine_(machine), real_(std::move(real)), folder_(std::move(folder)) {}
    bool FindNext(TFindEntry& entry) override {
      if (!real_->FindNext(entry)) return false;
      Adjust(entry);
      return true;
    }
    void Adjust(TFindEntry& entry) const {
      auto added = machine_.AddedAttributes.find(folder_ + Lower(entry.Name));
      if (added != machine_.AddedAttributes.end()) entry.Attributes |= added->second;
    }

  private:
    TFakeMachine& machine_;
    std::unique_ptr<TDirectoryListing> real_;
    std::wstring folder_;
  };

  // ASCII letters only: the tests' paths and names compare as the file system would.
  static std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
  }
  static std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text)
      if (c >= L'A' && c <= L'Z') c = wchar_t(c - L'A' + L'a');
    return text;
  }
  static std::wstring RegistryKey(const std::wstring& keyPath, const std::wstring& valueName) {
    return Lower(keyPath) + L"|" + Lower(valueName);
  }
  // The data as Windows stores a string value: UTF-16, here from the test's text.
  void SetRegistry(const std::wstring& keyPath, const std::wstring& valueName, DWORD type,
                   const std::wstring& data) {
    if (!Registry) Registry.emplace();
    (*Registry)[RegistryKey(keyPath, valueName)] = {type, data};
  }
  // A Recent shell folder as Windows stores it: REG_SZ with its terminating zero.
  void SetRecent(const std::wstring& folder, DWORD type = REG_SZ) {
    SetRegistry(kShellFoldersKey, L"Recent", type, folder + L'\0');
  }
  void SetRecent(const std::string& folder, DWORD type = REG_SZ) {
    SetRecent(AnsiToWide(folder), type);
  }

  std::wstring MapPath(const std::wstring& path) const {
    if (path.size() >= 2 && path[1] == L':' && path[0] < 0x80) {
      auto drive = Drives.find(char(std::toupper(int(path[0]))));
      if (drive != Drives.end()) return AnsiToWide(drive->second) + path.substr(2);
    }
    return path;
  }

  std::unique_ptr<TDirectoryListing> FindFirst(const std::wstring& pattern,
                                               TFindEntry& first) override {
    ++FindFirstCalls;
    const std::wstring folder = Lower(pattern.substr(0, pattern.find_last_of(L'\\')));
    for (const std::wstring& denied : DeniedFolders)
      if (folder.compare(0, denied.size(), denied) == 0 &&
          (folder.size() == denied.size() || folder[denied.size()] == L'\\')) {
        ::SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
      }
    auto listing = TWin32Services::FindFirst(MapPath(pattern), first);
    if (!listing || AddedAttributes.empty()) return listing;
    auto adjusted = std::make_unique<TAdjustedListing>(
        *this, std::move(listing), Lower(pattern.substr(0, pattern.find_last_of(L'\\') + 1)));
    adjusted->Adjust(first);
    return adjusted;
  }
  // Another run holds the run lock.
  bool RunLockHeld = false;
  std::unique_ptr<TRunLock> HoldRunLock() override {
    return RunLockHeld ? nullptr : TWin32Services::HoldRunLock();
  }

  // Writes never reach the prefix's registry, which other tests and programs read; they are kept
  // here and read back before anything else.
  std::map<std::wstring, TRegistryValue> Written;
  bool WriteRegistryString(HKEY, const std::wstring& keyPath, const std::wstring& valueName,
                           const std::wstring& text) override {
    Written[RegistryKey(keyPath, valueName)] = {REG_SZ, text + L'\0'};
    return true;
  }
  bool QueryRegistryValue(HKEY root, const std::wstring& keyPath, const std::wstring& valueName,
                          TRegistryValue& value) override {
    if (auto written = Written.find(RegistryKey(keyPath, valueName)); written != Written.end()) {
      value = written->second;
      return true;
    }
    if (!Registry) return TWin32Services::QueryRegistryValue(root, keyPath, valueName, value);
    auto found = Registry->find(RegistryKey(keyPath, valueName));
    if (found == Registry->end()) return false;
    value = found->second;
    return true;
  }
  std::wstring WindowsDirectory() override {
    return WindowsDir ? *WindowsDir : TWin32Services::WindowsDirectory();
  }
  std::wstring ShellTypeName(const std::wstring& path) override {
    return TWin32Services::ShellTypeName(MapPath(path));
  }
  DWORD GetFileVersionMS(const std::wstring& fileName) override {
    if (Shell32Version && Lower(fileName) == L"shell32.dll") return *Shell32Version;
    return TWin32Services::GetFileVersionMS(fileName);
  }
  HRESULT QueryRecycleBin(uint64_t& totalBytes, uint64_t& items) override {
    if (!FakeRecycleBin) return TWin32Services::QueryRecycleBin(totalBytes, items);
    if (RecycleBinResult == S_OK) {
      totalBytes = RecycleBinBytes;
      items = RecycleBinItems;
    }
    return RecycleBinResult;
  }
  bool EmptyRecycleBin(HWND owner) override {
    if (Shell32Missing) {
      ShowMessageBox(owner, kShell32LoadError, kErrorCaption, MB_OK | MB_ICONERROR);
      return false;
    }
    ++RecycleBinEmptied;
    RecycleBinBytes = 0;
    RecycleBinItems = 0;
    return true;
  }
  bool ProcessSnapshot(std::vector<TProcessEntry>& processes) override {
    if (SnapshotFails) return false;
    if (!Processes) return TWin32Services::ProcessSnapshot(processes);
    processes = *Processes;
    return true;
  }
  bool TerminateProcessById(DWORD processId) override {
    if (!Processes) return TWin32Services::TerminateProcessById(processId);
    auto found = std::find_if(Processes->begin(), Processes->end(),
                              [&](const TProcessEntry& p) { return p.ProcessId == processId; });
    if (found == Processes->end() || Protected.count(processId)) return false;
    Processes->erase(found);
    Terminated.push_back(processId);
    return true;
  }
  int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                     UINT type) override {
    Messages.push_back({owner, text, caption, type});
    if (Answers.empty()) return DefaultAnswer;
    int answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
  void ShellOpen(HWND, const std::wstring& path) override { Opened.push_back(path); }
  bool IsElevated() override { return Elevated; }
  bool RestartElevated(HWND, const std::wstring& parameters) override {
    ElevatedRestarts.push_back(parameters);
    return true;
  }
  std::unique_ptr<TOpenFile> OpenExisting(const std::wstring& path) override {
    auto error = OpenErrors.find(Lower(path));
    if (error != OpenErrors.end()) {
      ::SetLastError(error->second);
      return nullptr;
    }
    return TWin32Services::OpenExisting(MapPath(path));
  }
  std::unique_ptr<TOpenFile> OpenAttributes(const std::wstring& path) override {
    return TWin32Services::OpenAttributes(MapPath(path));
  }
  std::wstring FinalFolderPath(const std::wstring& path) override {
    return TWin32Services::FinalFolderPath(MapPath(path));
  }
  bool ReadSmallFile(const std::wstring& path, size_t maxBytes, std::string& bytes) override {
    return TWin32Services::ReadSmallFile(MapPath(path), maxBytes, bytes);
  }
};
