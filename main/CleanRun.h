#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "main/CleanLog.h"
#include "main/FileWiper.h"
#include "main/FoundFilesList.h"

class TVxGrid;
class TMemo;
class TFxProgressBar;
class TTimer;
class TSystemServices;
struct TCleanerState;

// The log's fixed texts; each is one line of the memo.
inline constexpr const wchar_t* kCleanLogHeader = L"Next files removed from the Hard drive:";
std::wstring RecycleBinLogLine(const std::wstring& sizeText);
std::wstring RemovedFileLogLine(const std::wstring& path, const std::wstring& sizeText);
// "Total cleaned space: " with the total in megabytes, one decimal place, then "Mbyte".
std::wstring TotalCleanedLogLine(double totalBytes);
// After the total, the files the run gave up on, each as its path, one space and why.
inline constexpr const wchar_t* kNotRemovedLogHeader = L"Files that could not be removed:";
// Why a file was left, as the log and the console name it ("in use", "no longer there", ...).
const wchar_t* WipeReasonText(TWipeResult why);
std::wstring NotRemovedLogLine(const std::wstring& path, TWipeResult why);
// The log's last line, and the message's, when memory ran out during a clean run.
inline constexpr const char* kCleanOutOfMemoryText =
    "Not enough memory: cleaning stopped, and the files not reached yet were left as they were.";

// The clean run behind "Next" on the "Found files" page: empties the Recycle Bin when its row is
// ticked, overwrites and deletes every ticked file row, and logs what is gone, closed by the total
// freed, then what it had to leave and why. The window creates one and calls Run from its button
// handler; everything the run touches belongs to the window.
class TCleanRun {
public:
  struct TTargets {
    TSystemServices& Services;
    TVxGrid& Grid;               // VxGrid1, the found-files list as the scan left it
    TMemo& Log;                  // Memo1
    TFxProgressBar& ProgressBar; // FxProgressBar2
    TTimer& SummaryTimer;        // Timer1
    TCleanerState& State;
  };

  explicit TCleanRun(const TTargets& targets);

  // Whether the "Recycle Bin" category box (FxCheckBox7) is ticked; read when the run starts.
  std::function<bool()> IsRecycleBinTicked;
  // The window's part: its caption and the move to the next page.
  std::function<void(const std::string& caption)> SetCaption;
  std::function<void()> NextPage;
  // Lets every pending window message run; the application's ProcessMessages.
  std::function<void()> ProcessMessages;
  // Told, for every ticked file row and Recycle Bin row the run takes up, whether what it names is
  // gone (wrRemoved) or why it was left; path is the row's name as listed. For a caller that
  // accounts for each file.
  std::function<void(int row, const std::wstring& path, TWipeResult result)> OnRowDone;
  // Owner of what the shell shows while emptying the Recycle Bin.
  HWND Owner = nullptr;

  // The run; false, with nothing changed, while a scan or another clean run is going on. When
  // memory runs out it stops, logs the total so far and why it stopped, and raises EOutOfMemory.
  bool Run();

  // Empties the Recycle Bin of all drives; true when the shell says it did.
  bool EmptyRecycleBin();
  // Overwrites and deletes one listed file; wrRemoved only when it is gone. The file must lie
  // exactly below where a folder that the last scan searched lay when it was searched.
  TWipeResult OverwriteAndDeleteFile(const std::wstring& path) {
    return wiper_.OverwriteAndDeleteFile(path);
  }

private:
  void RecycleBinPass(double& total);
  void FilePass(double& total);
  // Logs a removed file and counts its bytes.
  void LogRemoved(int row, double& total);
  void LogNotRemoved();
  void LetMessagesRun(int row);
  void RowDone(int row, TWipeResult result);

  TSystemServices& services_;
  TFoundFilesList list_;
  TCleanLog log_;
  TFxProgressBar& bar_;
  TTimer& timer_;
  TCleanerState& state_;
  TFileWiper wiper_;
  // The ticked files this run gave up on, in row order.
  std::vector<std::pair<std::wstring, TWipeResult>> notRemoved_;
  // The row of a file that is gone but not yet logged, or -1.
  int unloggedRow_ = -1;
  std::chrono::steady_clock::time_point lastMessages_;
};
