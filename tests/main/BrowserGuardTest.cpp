#include <gtest/gtest.h>

#include "main/BrowserGuard.h"
#include "main/FakeMachine.h"
#include "main/TestFolder.h"

namespace {

const HWND kOwner = reinterpret_cast<HWND>(0x1234);

std::vector<TProcessEntry> SomeProcesses() {
  return {{11, L"explorer.exe"},
          {12, L"firefox.exe"},
          {13, L"C:\\Program Files\\Mozilla Firefox\\FIREFOX.EXE"},
          {14, L"chrome.exe"},
          {15, L"notfirefox.exe"},
          {16, L"firefox.exe.bak"},
          {17, L"D:firefox.exe"}};
}

// A copy of the waiting program, started under Wine with the given executable name.
class TFakeBrowser {
public:
  TFakeBrowser(const TTestFolder& tree, const std::string& folder, const std::string& exeName) {
    char self[MAX_PATH];
    std::string path(self, ::GetModuleFileNameA(nullptr, self, MAX_PATH));
    std::string sleeper = path.substr(0, path.find_last_of('\\') + 1) + "varnox_sleeper.exe";
    tree.MakeFolder(folder);
    std::string exe = tree / (folder + "\\" + exeName);
    ::CopyFileA(sleeper.c_str(), exe.c_str(), FALSE);
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    std::string commandLine = "\"" + exe + "\"";
    if (::CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                         nullptr, &startup, &info_))
      ::CloseHandle(info_.hThread);
    else
      info_ = {};
  }
  TFakeBrowser(const TFakeBrowser&) = delete;
  TFakeBrowser& operator=(const TFakeBrowser&) = delete;
  ~TFakeBrowser() {
    if (!info_.hProcess) return;
    ::TerminateProcess(info_.hProcess, 1);
    ::WaitForSingleObject(info_.hProcess, 5000);
    ::CloseHandle(info_.hProcess);
  }

  bool Started() const { return info_.hProcess != nullptr; }
  // The process list shows a new process only once it has started; waits for that.
  bool Listed(TSystemServices& services) const {
    for (int i = 0; i < 200; ++i) {
      std::vector<TProcessEntry> processes;
      services.ProcessSnapshot(processes);
      for (const TProcessEntry& p : processes)
        if (p.ProcessId == info_.dwProcessId && !p.ExeFile.empty()) return true;
      ::Sleep(50);
    }
    return false;
  }
  bool Running() const { return ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT; }
  bool Ended() const { return ::WaitForSingleObject(info_.hProcess, 10000) == WAIT_OBJECT_0; }

private:
  PROCESS_INFORMATION info_{};
};

// Real processes, with every request to end one counted.
class TEndingMachine : public TFakeMachine {
public:
  int Endings = 0;
  bool TerminateProcessById(DWORD processId) override {
    ++Endings;
    return TFakeMachine::TerminateProcessById(processId);
  }
};

} // namespace

TEST(BrowserGuard, Questions) {
  EXPECT_EQ(BrowserQuestion(L"firefox.exe"),
            L"Mozilla FireFox to be closed to clean unnesesary files. Close Mozilla Firefox?");
  EXPECT_EQ(BrowserQuestion(L"chrome.exe"),
            L"Google Chrome to be closed to clean unnesesary files. Close Google Chrome?");
  EXPECT_EQ(BrowserQuestion(L"opera.exe"),
            L"Opera to be closed to clean unnesesary files. Close Opera?");
  EXPECT_EQ(BrowserQuestion(L"msedge.exe"),
            L"Microsoft Edge to be closed to clean unnesesary files. Close Microsoft Edge?");
}

TEST(BrowserGuard, DetectionMatchesTheWholeNameWithItsCase) {
  TFakeMachine machine;
  machine.Processes = SomeProcesses();
  EXPECT_TRUE(IsProcessRunning(machine, L"firefox.exe"));
  EXPECT_TRUE(IsProcessRunning(machine, L"chrome.exe"));
  EXPECT_FALSE(IsProcessRunning(machine, L"opera.exe"));
  EXPECT_FALSE(IsProcessRunning(machine, L"Chrome.exe"));
  EXPECT_FALSE(IsProcessRunning(machine, L"fox.exe")) << "whole names only";
  machine.SnapshotFails = true;
  EXPECT_FALSE(IsProcessRunning(machine, L"firefox.exe"));
}

TEST(BrowserGuard, KillEndsEveryMatchWhateverTheCase) {
  TFakeMachine machine;
  machine.Processes = SomeProcesses();
  EXPECT_TRUE(KillProcess(machine, L"Firefox.Exe"));
  EXPECT_EQ(machine.Terminated, (std::vector<DWORD>{12, 13, 17}));

  machine.Processes = SomeProcesses();
  machine.Terminated.clear();
  EXPECT_FALSE(KillProcess(machine, L"opera.exe")) << "no attempt made";
  EXPECT_TRUE(machine.Terminated.empty());

  // Another user's instance that cannot be ended does not keep the others alive; the result is
  // that of the last attempt.
  machine.Protected = {12};
  EXPECT_TRUE(KillProcess(machine, L"firefox.exe"));
  EXPECT_EQ(machine.Terminated, (std::vector<DWORD>{13, 17}));
  machine.Processes = SomeProcesses();
  machine.Terminated.clear();
  machine.Protected = {17};
  EXPECT_FALSE(KillProcess(machine, L"firefox.exe"));
  EXPECT_EQ(machine.Terminated, (std::vector<DWORD>{12, 13}));

  machine.SnapshotFails = true;
  EXPECT_FALSE(KillProcess(machine, L"chrome.exe"));
}

TEST(BrowserGuard, AsksOnlyWhenTheBrowserRuns) {
  for (const wchar_t* exe : {kFirefoxExe, kChromeExe, kEdgeExe, kOperaExe}) {
    for (int answer : {IDYES, IDNO}) {
      TFakeMachine machine;
      machine.Processes = {{5, L"explorer.exe"}, {6, exe}, {7, exe}};
      machine.Answers = {answer};
      GuardBrowser(machine, kOwner, exe);
      ASSERT_EQ(machine.Messages.size(), 1u)
          << WideToAnsi(exe) << ": one question for two instances";
      EXPECT_EQ(machine.Messages[0].Owner, kOwner);
      EXPECT_EQ(machine.Messages[0].Text, BrowserQuestion(exe));
      EXPECT_EQ(machine.Messages[0].Caption, L"Warning!");
      EXPECT_EQ(machine.Messages[0].Type, 4u) << "Yes/No, no icon";
      const std::vector<DWORD> ended =
          answer == IDYES ? std::vector<DWORD>{6, 7} : std::vector<DWORD>{};
      EXPECT_EQ(machine.Terminated, ended);
    }
    TFakeMachine idle;
    idle.Processes = {{5, L"explorer.exe"}};
    GuardBrowser(idle, kOwner, exe);
    EXPECT_TRUE(idle.Messages.empty());
  }
}

// The rest runs real processes under Wine: only the message box is the fake machine's.
TEST(BrowserGuard, RealBrowserNoKeepsBothYesEndsBoth) {
  TTestFolder tree;
  TEndingMachine machine;
  TFakeBrowser first(tree, "one", "firefox.exe");
  TFakeBrowser second(tree, "two", "firefox.exe");
  ASSERT_TRUE(first.Started() && second.Started());
  ASSERT_TRUE(first.Listed(machine) && second.Listed(machine));
  EXPECT_TRUE(IsProcessRunning(machine, L"firefox.exe"));

  machine.Answers = {IDNO};
  GuardBrowser(machine, kOwner, L"firefox.exe");
  EXPECT_EQ(machine.Messages.size(), 1u);
  EXPECT_EQ(machine.Endings, 0) << "No ends nothing";
  EXPECT_TRUE(first.Running() && second.Running());

  machine.Answers = {IDYES};
  GuardBrowser(machine, kOwner, L"firefox.exe");
  EXPECT_EQ(machine.Messages.size(), 2u) << "again one question for both";
  EXPECT_TRUE(first.Ended());
  EXPECT_TRUE(second.Ended());
  EXPECT_FALSE(IsProcessRunning(machine, L"firefox.exe"));
}

TEST(BrowserGuard, RealBrowserInCapitalsIsNotDetected) {
  TTestFolder tree;
  TFakeMachine machine;
  TFakeBrowser upper(tree, "upper", "FIREFOX.EXE");
  ASSERT_TRUE(upper.Started());
  ASSERT_TRUE(upper.Listed(machine));
  EXPECT_FALSE(IsProcessRunning(machine, L"firefox.exe"));
  GuardBrowser(machine, kOwner, L"firefox.exe");
  EXPECT_TRUE(machine.Messages.empty()) << "no question, so it keeps running";
  EXPECT_TRUE(upper.Running());
  // Yet the ending, which ignores letter case, would have caught it.
  EXPECT_TRUE(KillProcess(machine, L"firefox.exe"));
  EXPECT_TRUE(upper.Ended());
}
