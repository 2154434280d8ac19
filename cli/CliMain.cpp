// varnox-cli: the window's scan and clean for scripts and scheduled tasks.
#include <windows.h>

#include <atomic>

#include "cli/CommandLine.h"
#include "cli/Console.h"
#include "cli/ConsoleServices.h"
#include "cli/HeadlessRuns.h"
#include "cli/Report.h"
#include "main/BrowserGuard.h"
#include "main/CleaningKinds.h"
#include "varnox_version.h"

namespace {

enum TExitCode { ecDone = 0, ecLeft = 1, ecUsage = 2, ecBusy = 3 };

std::atomic<bool> stopRequested{false};

// Ctrl+C would end the process in the middle of overwriting a file; the run stops between files.
BOOL WINAPI OnConsoleControl(DWORD event) {
  if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
  stopRequested = true;
  return TRUE;
}

std::wstring VersionText() {
  const char* text = VARNOX_VERSION_TEXT;
  return std::wstring(text, text + std::char_traits<char>::length(text));
}

int List(TConsole& console, TSystemServices& services, bool json) {
  const TTickedBoxes ticked = LoadRememberedKinds(services);
  std::string document = "{\n  \"kinds\": [";
  std::wstring text;
  bool first = true;
  for (const TCleaningKind& kind : kCleaningKinds) {
    if (!kind.Shown) continue;
    const bool on = ticked[kind.Box];
    document += std::string(first ? "" : ",") + "\n    {\"id\": " + JsonString(kind.Id) +
                ", \"caption\": " + JsonString(kind.Caption) +
                ", \"ticked\": " + (on ? "true" : "false") + "}";
    std::wstring id = kind.Id;
    text += id + std::wstring(12 - id.size(), L' ') + (on ? L"ticked    " : L"unticked  ") +
            kind.Caption + L"\n";
    first = false;
  }
  if (json) {
    console.OutUtf8(document + "\n  ]\n}\n");
  } else {
    console.Out(text);
  }
  return ecDone;
}

// Leaves out the kinds of a running browser, or ends the browser when allowed to.
void GuardBrowsers(TConsoleServices& services, TTickedBoxes& boxes, TRunReport& report) {
  for (const TCleaningKind& kind : kCleaningKinds) {
    if (!kind.Shown || !boxes[kind.Box] || !kind.BrowserExe) continue;
    if (!IsProcessRunning(services, kind.BrowserExe)) continue;
    if (services.CloseBrowsers) {
      KillProcess(services, kind.BrowserExe);
      // Its files stay open until the process is really gone.
      for (int waited = 0; waited < 100 && IsProcessRunning(services, kind.BrowserExe); ++waited)
        ::Sleep(100);
      if (!IsProcessRunning(services, kind.BrowserExe)) continue;
      report.Skipped.push_back({kind.Id, std::wstring(kind.BrowserExe) + L" did not close"});
    } else {
      report.Skipped.push_back({kind.Id, std::wstring(kind.BrowserExe) +
                                             L" is running (clean --close-browsers ends it)"});
    }
    boxes[kind.Box] = false;
  }
}

int Run(TConsole& console, TConsoleServices& services, const TCliOptions& options) {
  std::unique_ptr<TRunLock> lock = services.HoldRunLock();
  if (!lock) {
    console.Err(L"varnox-cli: another Varnox run is scanning or cleaning\n");
    return ecBusy;
  }
  TTickedBoxes boxes = options.Kinds    ? *ParseKindList(*options.Kinds)
                       : options.Preset ? LoadRememberedKinds(services)
                                        : DefaultTickedBoxes();
  TRunReport report;
  report.Command = options.Command == ccClean ? L"clean" : L"preview";
  for (const TCleaningKind& kind : kCleaningKinds)
    if (kind.Shown && boxes[kind.Box]) report.Kinds.push_back(kind.Id);
  services.CloseBrowsers = options.CloseBrowsers;
  GuardBrowsers(services, boxes, report);

  THeadlessRuns runs(services);
  runs.OnProgress = [&console](const std::wstring& text) { console.Progress(text); };
  runs.StopRequested = [] { return stopRequested.load(); };
  ::SetConsoleCtrlHandler(OnConsoleControl, TRUE);
  try {
    report.Items = runs.Scan(boxes);
    if (options.Command == ccClean) runs.Clean(report.Items, boxes[7]);
  } catch (const ERunStopped&) {
    report.Interrupted = true;
  }
  console.EndProgress();
  for (const std::wstring& message : services.Messages)
    console.Err(L"varnox-cli: " + message + L"\n");
  if (options.Json) {
    console.OutUtf8(ReportJson(report, VersionText()));
  } else {
    console.Out(ReportText(report));
  }
  return Complete(report) ? ecDone : ecLeft;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
  TConsole console;
  std::vector<std::wstring> arguments(argv + (argc > 0 ? 1 : 0), argv + argc);
  std::wstring error;
  std::optional<TCliOptions> options = ParseCommandLine(arguments, error);
  if (!options) {
    console.Err(L"varnox-cli: " + error + L"\nRun varnox-cli --help for the commands.\n");
    return ecUsage;
  }
  try {
    TConsoleServices services;
    switch (options->Command) {
    case ccHelp:
      console.Out(UsageText());
      return ecDone;
    case ccVersion:
      console.Out(L"varnox-cli " + VersionText() + L"\n");
      return ecDone;
    case ccList:
      return List(console, services, options->Json);
    default:
      return Run(console, services, *options);
    }
  } catch (const std::exception& e) {
    // Whatever stopped the run, it is not a success.
    console.EndProgress();
    const char* what = e.what();
    console.Err(L"varnox-cli: " + std::wstring(what, what + std::char_traits<char>::length(what)) +
                L"\n");
    return ecLeft;
  }
}
