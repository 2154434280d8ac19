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

// A machine for tests: by default every service is the real one of the Wine prefix; each setting
// below replaces one service with a scripted answer, to show what the prefix cannot (another
// drive, the older profile layout, an old shell, a Recycle Bin that cannot be read, processes of
// other users). Message boxes are never shown: they are recorded and answered from Answers.
// Shell "open" requests are recorded, never carried out.
class TFakeMachine : public TWin32Services {
public:
  // When set, these values are the whole registry, keyed by RegistryKey(key path, value name).
  std::optional<std::map<std::string, TRegistryValue>> Registry;
  // Drive letter (upper case) -> real folder without trailing backslash that stands for the
  // drive's root, e.g. 'D' -> "C:\varnox_test_1\D". Every path-taking service maps through it.
  std::map<char, std::string> Drives;
  // Entry path (as the program names it, in lower case; see AddAttributes) -> attribute bits
  // added to what the file system reports, for kinds Wine does not keep on folders (read-only,
  // archive) or cannot make from inside (junctions).
  std::map<std::string, DWORD> AddedAttributes;
  void AddAttributes(const std::string& path, DWORD attributes) {
    AddedAttributes[Lower(path)] |= attributes;
  }
  std::optional<std::string> WindowsDir;
  std::optional<DWORD> Shell32Version;

  // The Recycle Bin: when FakeRecycleBin is false the real shell answers the query and emptying
  // is refused (the real one would empty the desktop user's trash).
  bool FakeRecycleBin = true;
  HRESULT RecycleBinResult = S_OK;
  uint64_t RecycleBinBytes = 0;
  bool Shell32Missing = false;
  int RecycleBinEmptied = 0;

  // When set, these are the running processes; ids in Protected cannot be ended.
  std::optional<std::vector<TProcessEntry>> Processes;
  bool SnapshotFails = false;
  std::set<DWORD> Protected;
  std::vector<DWORD> Terminated;

  struct TMessage {
    HWND Owner;
    std::string Text;
    std::string Caption;
    UINT Type;
  };
  std::vector<TMessage> Messages;
  std::deque<int> Answers;
  int DefaultAnswer = IDNO;
  std::vector<std::string> Opened;
  int FindFirstCalls = 0;

  class TAdjustedListing : public TDirectoryListing {
  public:
    TAdjustedListing(TFakeMachine& machine, std::unique_ptr<TDirectoryListing> real,
                     std::string folder)
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
    std::string folder_;
  };

  static std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    return text;
  }
  static std::string RegistryKey(const std::string& keyPath, const std::string& valueName) {
    return Lower(keyPath) + "|" + Lower(valueName);
  }
  void SetRegistry(const std::string& keyPath, const std::string& valueName, DWORD type,
                   const std::string& data) {
    if (!Registry) Registry.emplace();
    (*Registry)[RegistryKey(keyPath, valueName)] = {type, data};
  }
  // A Recent shell folder as Windows stores it: REG_SZ with its terminating zero.
  void SetRecent(const std::string& folder, DWORD type = REG_SZ) {
    SetRegistry(kShellFoldersKey, "Recent", type, folder + '\0');
  }

  std::string MapPath(const std::string& path) const {
    if (path.size() >= 2 && path[1] == ':') {
      auto drive = Drives.find(char(std::toupper(static_cast<unsigned char>(path[0]))));
      if (drive != Drives.end()) return drive->second + path.substr(2);
    }
    return path;
  }

  std::unique_ptr<TDirectoryListing> FindFirst(const std::string& pattern,
                                               TFindEntry& first) override {
    ++FindFirstCalls;
    auto listing = TWin32Services::FindFirst(MapPath(pattern), first);
    if (!listing || AddedAttributes.empty()) return listing;
    auto adjusted = std::make_unique<TAdjustedListing>(
        *this, std::move(listing), Lower(pattern.substr(0, pattern.find_last_of('\\') + 1)));
    adjusted->Adjust(first);
    return adjusted;
  }
  bool QueryRegistryValue(HKEY root, const std::string& keyPath, const std::string& valueName,
                          TRegistryValue& value) override {
    if (!Registry) return TWin32Services::QueryRegistryValue(root, keyPath, valueName, value);
    auto found = Registry->find(RegistryKey(keyPath, valueName));
    if (found == Registry->end()) return false;
    value = found->second;
    return true;
  }
  std::string WindowsDirectory() override {
    return WindowsDir ? *WindowsDir : TWin32Services::WindowsDirectory();
  }
  std::string ShellTypeName(const std::string& path) override {
    return TWin32Services::ShellTypeName(MapPath(path));
  }
  DWORD GetFileVersionMS(const std::string& fileName) override {
    if (Shell32Version && Lower(fileName) == "shell32.dll") return *Shell32Version;
    return TWin32Services::GetFileVersionMS(fileName);
  }
  HRESULT QueryRecycleBin(uint64_t& totalBytes) override {
    if (!FakeRecycleBin) return TWin32Services::QueryRecycleBin(totalBytes);
    if (RecycleBinResult == S_OK) totalBytes = RecycleBinBytes;
    return RecycleBinResult;
  }
  bool EmptyRecycleBin(HWND owner) override {
    if (Shell32Missing) {
      ShowMessageBox(owner, kShell32LoadError, kErrorCaption, MB_OK | MB_ICONERROR);
      return false;
    }
    ++RecycleBinEmptied;
    RecycleBinBytes = 0;
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
  int ShowMessageBox(HWND owner, const std::string& text, const std::string& caption,
                     UINT type) override {
    Messages.push_back({owner, text, caption, type});
    if (Answers.empty()) return DefaultAnswer;
    int answer = Answers.front();
    Answers.pop_front();
    return answer;
  }
  void ShellOpen(HWND, const std::string& path) override { Opened.push_back(path); }
  std::unique_ptr<TOpenFile> OpenExisting(const std::string& path) override {
    return TWin32Services::OpenExisting(MapPath(path));
  }
  std::unique_ptr<TOpenFile> OpenAttributes(const std::string& path) override {
    return TWin32Services::OpenAttributes(MapPath(path));
  }
  std::string FinalFolderPath(const std::string& path) override {
    return TWin32Services::FinalFolderPath(MapPath(path));
  }
  std::string ReadProfileString(const std::string& fileName, const std::string& section,
                                const std::string& key, const std::string& defaultValue) override {
    return TWin32Services::ReadProfileString(MapPath(fileName), section, key, defaultValue);
  }
};
