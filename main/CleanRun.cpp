#include "main/CleanRun.h"

#include "main/CleanerState.h"
#include "main/CleaningLocations.h"
#include "main/ScanProgress.h"
#include "main/SizeTexts.h"
#include "main/SystemServices.h"
#include "styled/FxProgressBar.h"
#include "ui/Numbers.h"
#include "ui/StdCtrls.h"
#include "ui/Timer.h"

std::wstring RecycleBinLogLine(const std::wstring& sizeText) {
  return L"Recycle Bin was cleaned " + sizeText;
}

std::wstring RemovedFileLogLine(const std::wstring& path, const std::wstring& sizeText) {
  return path + L" " + sizeText;
}

std::wstring TotalCleanedLogLine(double totalBytes) {
  return L"Total cleaned space: " + MegabytesText(totalBytes) + L"Mbyte";
}

const wchar_t* WipeReasonText(TWipeResult why) {
  const wchar_t* reason = L"access denied";
  switch (why) {
  case wrInUse:
    reason = L"in use";
    break;
  case wrNotOverwritten:
    reason = L"could not be overwritten";
    break;
  case wrGone:
    reason = L"no longer there";
    break;
  case wrChanged:
    reason = L"changed since the scan";
    break;
  case wrRemoved:
  case wrAccessDenied:
    break;
  }
  return reason;
}

std::wstring NotRemovedLogLine(const std::wstring& path, TWipeResult why) {
  return path + L" " + WipeReasonText(why);
}

TCleanRun::TCleanRun(const TTargets& targets)
    : services_(targets.Services), list_(targets.Grid, targets.State), log_(targets.Log),
      bar_(targets.ProgressBar), timer_(targets.SummaryTimer), state_(targets.State),
      wiper_(targets.Services) {}

bool TCleanRun::EmptyRecycleBin() {
  return services_.EmptyRecycleBin(Owner);
}

bool TCleanRun::Run() {
  // Rows are addressed by index; a scan still adding them would shift what the run reads.
  if (state_.Busy) return false;
  TBusyScope busy(state_);

  if (SetCaption) SetCaption("Varnox - Deleting Files");
  if (NextPage) NextPage();
  bar_.SetMax(list_.RowCount() - 1);
  log_.Clear();
  timer_.SetEnabled(false);
  double total = 0;
  unloggedRow_ = -1;
  // When memory runs out the run stops where it is: the files not reached yet stay as they are,
  // and the log says what went before the stop.
  TMemoryReserve reserve;
  bool ranOut = false;
  try {
    reserve.Hold();
    log_.Add(kCleanLogHeader);
    RecycleBinPass(total);
    FilePass(total);
  } catch (const std::bad_alloc&) {
    reserve.Release();
    ranOut = true;
    // A file whose removal memory ran out right after is gone all the same.
    if (unloggedRow_ >= 0) LogRemoved(unloggedRow_, total);
  }
  // The total is written even when memory runs out on the way to it: the reserve then makes
  // the room, and the lines already written are not written twice.
  int summaryLines = 0;
  auto logSummary = [&] {
    if (summaryLines == 0) {
      log_.Add(L"");
      summaryLines = 1;
    }
    if (summaryLines == 1) {
      log_.Add(TotalCleanedLogLine(total));
      summaryLines = 2;
    }
  };
  try {
    logSummary();
    if (!ranOut) {
      LogNotRemoved();
      log_.Flush();
      return true;
    }
  } catch (const std::bad_alloc&) {
    reserve.Release();
    logSummary();
  }
  // Lines the log could not take yet are still kept, and go with this one.
  log_.Add(AnsiToWide(kCleanOutOfMemoryText));
  log_.Flush();
  throw EOutOfMemory(kCleanOutOfMemoryText);
}

void TCleanRun::RecycleBinPass(double& total) {
  if (!IsRecycleBinTicked || !IsRecycleBinTicked()) return;
  for (int row = 0; row < list_.RowCount(); ++row) {
    if (!list_.IsTicked(row) || !list_.IsRecycleBinRow(row)) continue;
    // What the bin holds now is what goes, not what the scan saw: a second run finds it empty and
    // says nothing. Empty files and folders weigh nothing but are items all the same, so the
    // count decides. When the shell cannot tell, the bin is emptied all the same and logged
    // without a size, and the total takes nothing that nobody measured.
    uint64_t bytes = 0, items = 0;
    bool measured = QueryRecycleBinSize(services_, bytes, &items);
    if (measured && items == 0) {
      RowDone(row, wrRemoved);
      continue;
    }
    const bool emptied = EmptyRecycleBin();
    RowDone(row, emptied ? wrRemoved : wrNotOverwritten);
    if (!emptied) continue;
    if (measured) total += double(bytes);
    log_.Add(RecycleBinLogLine(measured ? RecycleBinSizeText(bytes) : std::wstring()));
  }
}

void TCleanRun::FilePass(double& total) {
  wiper_.TrustFolders(state_.SearchedFolders);
  notRemoved_.clear();
  const int rows = list_.RowCount();
  for (int row = 0; row < rows; ++row) {
    LetMessagesRun(row);
    if (!list_.IsTicked(row) || !list_.IsFileRow(row)) continue;
    std::wstring path = list_.Path(row);
    // Only a file that is really gone is logged and counted; the rest are named after the total.
    TWipeResult result = wrNotOverwritten;
    try {
      result = OverwriteAndDeleteFile(path);
    } catch (const std::bad_alloc&) {
      // Not this file's trouble: the next would run short too, so the run stops.
      throw;
    } catch (const std::exception&) {
    }
    if (result == wrRemoved) unloggedRow_ = row;
    RowDone(row, result);
    if (result != wrRemoved) {
      notRemoved_.emplace_back(std::move(path), result);
      continue;
    }
    LogRemoved(row, total);
  }
  if (rows > 0) bar_.SetPosition(rows - 1);
}

void TCleanRun::LogRemoved(int row, double& total) {
  uint64_t bytes = 0;
  const bool measured = list_.Bytes(row, bytes);
  log_.Add(RemovedFileLogLine(list_.Path(row), list_.SizeText(row)));
  // Counted once logged, so that a retry after memory ran out counts it once.
  if (measured) total += double(bytes);
  unloggedRow_ = -1;
}

void TCleanRun::LogNotRemoved() {
  // Users expect to know what was left on the disk, and why, beside what went.
  if (notRemoved_.empty()) return;
  log_.Add(L"");
  log_.Add(kNotRemovedLogHeader);
  for (const auto& [path, why] : notRemoved_)
    log_.Add(NotRemovedLogLine(path, why));
}

void TCleanRun::RowDone(int row, TWipeResult result) {
  if (OnRowDone) OnRowDone(row, list_.Path(row), result);
}

void TCleanRun::LetMessagesRun(int row) {
  // Wiping a small file takes far less than a pass through the message queue, and the bar
  // repaints on every move, so both wait for the interval the scan keeps too; the bar and the log
  // are brought up to date right before messages run, so that whatever a repaint or a click sees
  // is where the run stands.
  using namespace std::chrono;
  const auto interval = duration<double>(TScanProgress::kMessageInterval);
  if (row > 0 && steady_clock::now() - lastMessages_ < interval) return;
  if (bar_.Position() != row) bar_.SetPosition(row);
  log_.FlushIfDue();
  if (ProcessMessages) ProcessMessages();
  // Counted from the end of the run, so that a slow handler does not eat the run's share.
  lastMessages_ = steady_clock::now();
}
