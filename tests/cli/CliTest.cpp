// varnox-cli.exe run for real on the prefix's disk: what it lists, what it removes, what it says.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "cli/CliHarness.h"
#include "e2e/VarnoxWindow.h"

namespace {

constexpr const wchar_t* kSettingsKey = L"Software\\Varnox";

// Two user profiles of the test's own beside the prefix's real ones: a Chrome cache and a temp
// folder each, one name outside every code page. Removed again, with the remembered choices.
class TSeededMachine {
public:
  TSeededMachine() {
    const std::wstring id = std::to_wstring(::GetCurrentProcessId());
    for (const std::wstring& user : {L"varnox_cli_a" + id, L"varnox_cli_b" + id}) {
      users_.push_back(user);
      int size = 100;
      for (const wchar_t* name : {L"c_0", L"\u043a\u044d\u0448_1"})
        Make(Cache(user) + name, size += 37, L"chrome");
      Make(Temp(user) + L"t_0.tmp", size += 37, L"temp");
    }
    ForgetChoices();
  }
  ~TSeededMachine() {
    for (const std::wstring& user : users_)
      RemoveTree(L"C:\\Users\\" + user);
    ForgetChoices();
  }

  static std::wstring Cache(const std::wstring& user) {
    return L"C:\\Users\\" + user + L"\\AppData\\Local\\Google\\Chrome\\User Data\\Default\\Cache\\";
  }
  static std::wstring Temp(const std::wstring& user) {
    return L"C:\\Users\\" + user + L"\\AppData\\Local\\Temp\\";
  }
  static void ForgetChoices() { ::RegDeleteKeyW(HKEY_CURRENT_USER, kSettingsKey); }
  static void Remember(const std::wstring& kinds) {
    HKEY key = nullptr;
    ::RegCreateKeyExW(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                      nullptr);
    ::RegSetValueExW(key, L"Kinds", 0, REG_SZ, reinterpret_cast<const BYTE*>(kinds.c_str()),
                     DWORD((kinds.size() + 1) * sizeof(wchar_t)));
    ::RegCloseKey(key);
  }

  struct TSeeded {
    std::wstring Kind;
    std::wstring User;
    size_t Bytes;
  };
  // Path -> what the test wrote there.
  std::map<std::wstring, TSeeded> Files;
  bool IsOurs(const std::wstring& path) const {
    return std::any_of(users_.begin(), users_.end(), [&](const std::wstring& user) {
      return path.rfind(L"C:\\Users\\" + user + L"\\", 0) == 0;
    });
  }
  static bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
  }

private:
  void Make(const std::wstring& path, size_t size, const std::wstring& kind) {
    for (size_t at = path.find(L'\\', 3); at != std::wstring::npos; at = path.find(L'\\', at + 1))
      ::CreateDirectoryW(path.substr(0, at).c_str(), nullptr);
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    std::string bytes(size, 'x');
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), DWORD(size), &written, nullptr);
    ::CloseHandle(file);
    const std::wstring user = path.substr(9, path.find(L'\\', 9) - 9);
    Files[path] = {kind, user, size};
  }
  static void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW entry;
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &entry);
    if (find != INVALID_HANDLE_VALUE) {
      do {
        const std::wstring name = entry.cFileName;
        if (name == L"." || name == L"..") continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          RemoveTree(folder + L"\\" + name);
        else
          ::DeleteFileW((folder + L"\\" + name).c_str());
      } while (::FindNextFileW(find, &entry));
      ::FindClose(find);
    }
    ::RemoveDirectoryW(folder.c_str());
  }

  std::vector<std::wstring> users_;
};

// The entries of a checked document that lie in the test's own profiles, by path.
std::map<std::wstring, TJsonFile> OurFiles(const TSeededMachine& machine, const TJsonCheck& check) {
  std::map<std::wstring, TJsonFile> ours;
  for (const TJsonFile& file : check.Files) {
    const std::wstring path = FromUtf8(file.Path);
    if (machine.IsOurs(path)) ours[path] = file;
  }
  return ours;
}

// Waits, with a generous cap, for a condition.
template <typename TTest> bool WaitFor(TTest test) {
  for (int i = 0; i < 600; ++i) {
    if (test()) return true;
    ::Sleep(50);
  }
  return false;
}

// The window's question about a running browser, shown in the middle of its scan.
bool WaitForQuestion() {
  return WaitFor([] {
    HWND box = ::FindWindowW(nullptr, L"Warning!");
    return box && ::IsWindowVisible(box);
  });
}

// Nobody holds the run lock (a run that was killed leaves it abandoned, which is free).
bool WaitForLockFree() {
  return WaitFor([] {
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, L"Global\\Varnox.ScanOrClean");
    DWORD waited = ::WaitForSingleObject(mutex, 0);
    const bool free = waited == WAIT_OBJECT_0 || waited == WAIT_ABANDONED;
    if (free) ::ReleaseMutex(mutex);
    ::CloseHandle(mutex);
    return free;
  });
}

std::string Narrow(const std::wstring& text) {
  return std::string(text.begin(), text.end());
}

} // namespace

TEST(VarnoxCli, ListVersionAndBadUsage) {
  TSeededMachine machine;
  // The order the window shows the kinds in, and what a remembered "chrome,recent" ticks.
  TSeededMachine::Remember(L"chrome,recent");
  TCliResult list = RunCli(L"list");
  EXPECT_EQ(list.ExitCode, 0);
  const std::vector<std::pair<std::string, bool>> expected = {
      {"temp", false},  {"firefox", false}, {"chrome", true},      {"edge", false}, {"ie", false},
      {"opera", false}, {"unity", false},   {"recyclebin", false}, {"recent", true}};
  std::stringstream lines(list.Out);
  std::string line;
  for (const auto& [id, ticked] : expected) {
    ASSERT_TRUE(std::getline(lines, line)) << list.Out;
    std::stringstream words(line);
    std::string word, state;
    words >> word >> state;
    EXPECT_EQ(word, id);
    EXPECT_EQ(state, ticked ? "ticked" : "unticked") << line;
  }
  EXPECT_FALSE(std::getline(lines, line)) << line;

  // A damaged value is as good as none: the window's first ticks.
  TSeededMachine::Remember(L"chrome,nonsense");
  EXPECT_NE(RunCli(L"list").Out.find("temp        ticked"), std::string::npos);

  // The version is the one the program's version resource carries.
  const std::wstring exe = TestFolder() + L"varnox-cli.exe";
  std::vector<char> info(::GetFileVersionInfoSizeW(exe.c_str(), nullptr));
  ASSERT_TRUE(::GetFileVersionInfoW(exe.c_str(), 0, DWORD(info.size()), info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT size = 0;
  ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &size));
  const std::string version = std::to_string(HIWORD(fixed->dwFileVersionMS)) + "." +
                              std::to_string(LOWORD(fixed->dwFileVersionMS)) + "." +
                              std::to_string(HIWORD(fixed->dwFileVersionLS)) + "." +
                              std::to_string(LOWORD(fixed->dwFileVersionLS));
  TCliResult shown = RunCli(L"--version");
  EXPECT_EQ(shown.ExitCode, 0);
  EXPECT_EQ(shown.Out, "varnox-cli " + version + "\n");

  for (const wchar_t* bad :
       {L"", L"bogus", L"preview --kinds", L"preview --kinds temp,nope", L"clean --kinds \"\"",
        L"clean --kinds temp --preset", L"list --close-browsers", L"preview --close-browsers",
        L"preview --frobnicate"}) {
    TCliResult result = RunCli(bad);
    EXPECT_EQ(result.ExitCode, 2) << Narrow(bad);
    EXPECT_TRUE(result.Out.empty()) << Narrow(bad);
    EXPECT_FALSE(result.Err.empty()) << Narrow(bad);
  }
}

TEST(VarnoxCli, PreviewRemovesNothingAndCleanRemovesExactlyItsKind) {
  TSeededMachine machine;
  TCliResult preview = RunCli(L"preview --kinds temp,chrome --json");
  EXPECT_EQ(preview.ExitCode, 0) << preview.Err;
  TJsonCheck check = CheckJson(preview.Out);
  ASSERT_EQ(check.Verdict, "ok") << preview.Out;
  EXPECT_EQ(check.Kinds, (std::vector<std::string>{"temp", "chrome"}));
  std::map<std::wstring, TJsonFile> ours = OurFiles(machine, check);
  EXPECT_EQ(ours.size(), machine.Files.size());
  for (const auto& [path, seeded] : machine.Files) {
    EXPECT_TRUE(TSeededMachine::Exists(path)) << Narrow(seeded.User);
    auto found = ours.find(path);
    ASSERT_NE(found, ours.end()) << Narrow(seeded.User);
    EXPECT_EQ(found->second.Kind, Narrow(seeded.Kind));
    EXPECT_EQ(found->second.User, Narrow(seeded.User));
    EXPECT_EQ(found->second.Bytes, seeded.Bytes);
    EXPECT_EQ(found->second.Status, "found");
  }

  TCliResult clean = RunCli(L"clean --kinds temp --json");
  check = CheckJson(clean.Out);
  ASSERT_EQ(check.Verdict, "ok") << clean.Out;
  ours = OurFiles(machine, check);
  bool anyLeft = false;
  for (const TJsonFile& file : check.Files)
    anyLeft = anyLeft || file.Status == "left";
  // Files of the prefix's own temp folders may be in use by Wine; the code says so.
  EXPECT_EQ(clean.ExitCode, anyLeft ? 1 : 0) << clean.Err;
  for (const auto& [path, seeded] : machine.Files) {
    const bool temp = seeded.Kind == L"temp";
    EXPECT_EQ(TSeededMachine::Exists(path), !temp) << Narrow(seeded.User);
    EXPECT_EQ(ours.count(path), temp ? 1u : 0u);
    if (temp) {
      EXPECT_EQ(ours[path].Status, "removed");
    }
  }
}

TEST(VarnoxCli, AFileHeldOpenIsLeftWithItsReason) {
  TSeededMachine machine;
  const std::wstring held = machine.Files.begin()->first;
  ASSERT_EQ(machine.Files.begin()->second.Kind, L"chrome");
  HANDLE file = ::CreateFileW(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  TCliResult clean = RunCli(L"clean --kinds chrome");
  ::CloseHandle(file);
  EXPECT_EQ(clean.ExitCode, 1) << clean.Out;
  const std::wstring out = FromUtf8(clean.Out);
  EXPECT_NE(out.find(L"\t" + held + L"\tin use\n"), std::wstring::npos) << clean.Out;
  for (const auto& [path, seeded] : machine.Files)
    EXPECT_EQ(TSeededMachine::Exists(path), path == held || seeded.Kind != L"chrome");
}

TEST(VarnoxCli, BusyWhileTheWindowScansAndThePresetIsWhatItsFindTicked) {
  TSeededMachine machine;
  // A held lock, as another run holds it: the console program stays away.
  {
    HANDLE mutex = ::CreateMutexW(nullptr, TRUE, L"Global\\Varnox.ScanOrClean");
    TCliResult busy = RunCli(L"preview --kinds temp");
    ::CloseHandle(mutex);
    EXPECT_EQ(busy.ExitCode, 3) << busy.Out;
  }

  // A running "chrome.exe" stops the window's scan at its question, in the middle of the run.
  const std::wstring folder = TestFolder();
  const std::wstring chrome = folder + L"cli_test_browser\\chrome.exe";
  ::CreateDirectoryW((folder + L"cli_test_browser").c_str(), nullptr);
  ::CopyFileW((folder + L"varnox_sleeper.exe").c_str(), chrome.c_str(), FALSE);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  PROCESS_INFORMATION browser{};
  std::wstring command = L"\"" + chrome + L"\"";
  ASSERT_TRUE(::CreateProcessW(chrome.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &browser));
  {
    TVarnoxWindow program;
    ASSERT_TRUE(program.Start());
    for (const wchar_t* box : {L"Temporary files", L"Mozilla Firefox Temporary Files",
                               L"Internet Explorer Temporary Files", L"Recycle Bin"})
      program.Click(box);
    program.Click(L"Find");
    ASSERT_TRUE(WaitForQuestion()) << "the window asks about Chrome";
    TCliResult busy = RunCli(L"preview --kinds temp");
    EXPECT_EQ(busy.ExitCode, 3) << busy.Out;
    EXPECT_NE(busy.Err.find("another Varnox run"), std::string::npos);
  }
  // The window, ended mid-run, let go of the lock; what its "Find" ticked is the preset, and the
  // browser's kind is skipped, the browser left running.
  ASSERT_TRUE(WaitForLockFree());
  TCliResult preset = RunCli(L"preview --preset --json");
  EXPECT_EQ(preset.ExitCode, 1) << preset.Err;
  TJsonCheck check = CheckJson(preset.Out);
  ASSERT_EQ(check.Verdict, "ok") << preset.Out;
  EXPECT_EQ(check.Kinds,
            (std::vector<std::string>{"chrome", "edge", "opera", "unity", "recyclebin"}));
  EXPECT_EQ(check.Skipped.count("chrome"), 1u);
  EXPECT_TRUE(OurFiles(machine, check).empty());
  EXPECT_EQ(::WaitForSingleObject(browser.hProcess, 0), DWORD(WAIT_TIMEOUT));
  ::TerminateProcess(browser.hProcess, 1);
  ::WaitForSingleObject(browser.hProcess, 10000);
  ::CloseHandle(browser.hProcess);
  ::CloseHandle(browser.hThread);
  ::DeleteFileW(chrome.c_str());
  ::RemoveDirectoryW((folder + L"cli_test_browser").c_str());
}
