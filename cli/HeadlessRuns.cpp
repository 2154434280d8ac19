#include "cli/HeadlessRuns.h"

#include <map>

#include "main/CleanRun.h"
#include "main/FoundFilesList.h"
#include "main/LongPath.h"
#include "main/ScanRun.h"
#include "styled/FxProgressBar.h"
#include "ui/Handles.h"
#include "ui/ImgList.h"
#include "ui/StdCtrls.h"
#include "ui/Timer.h"

THeadlessRuns::THeadlessRuns(TSystemServices& services)
    : services_(services), label_(host_.Make<TLabel>()), scanBar_(host_.Make<TFxProgressBar>()),
      cleanBar_(host_.Make<TFxProgressBar>()), images_(host_.Make<TImageList>()),
      log_(host_.Make<TMemo>()), timer_(host_.Make<TTimer>()) {
  label_->SetParent(&host_);
  scanBar_->SetParent(&host_);
  cleanBar_->SetParent(&host_);
  log_->SetParent(&host_);
  SetupFoundFilesGrid(grid_);
}

THeadlessRuns::~THeadlessRuns() = default;

void THeadlessRuns::LetMessagesRun(const std::wstring& text) {
  if (StopRequested && StopRequested()) throw ERunStopped();
  if (OnProgress) OnProgress(text);
}

std::vector<TFoundItem> THeadlessRuns::Scan(const TTickedBoxes& boxes) {
  TScanRun run({services_, grid_, *label_, *scanBar_, *images_, state_});
  run.IsCategoryTicked = [&boxes](int box) { return box >= 1 && box <= 10 && boxes[box]; };
  run.ProcessMessages = [this] { LetMessagesRun(L"Scanning: " + label_->Caption()); };
  run.Run();

  TFoundFilesList list(grid_, state_);
  std::vector<TFoundItem> items;
  const TCleaningKind* kind = nullptr;
  std::wstring user;
  for (int row = 0; row < list.RowCount(); ++row) {
    if (grid_.LevelOf(row) == 0) {
      user.clear();
      kind = FindKindByGroupCaption(list.Path(row));
    }
    if (list.IsRecycleBinRow(row)) {
      TFoundItem item;
      item.Kind = FindKindByBox(7)->Id;
      list.Bytes(row, item.Bytes);
      item.Row = row;
      items.push_back(item);
    } else if (list.IsFileRow(row)) {
      TFoundItem item;
      item.Kind = kind ? kind->Id : L"";
      item.User = user;
      item.Path = list.Path(row);
      list.Bytes(row, item.Bytes);
      item.Row = row;
      items.push_back(item);
    } else if (grid_.LevelOf(row) == 1) {
      user = list.Path(row);
    }
  }
  return items;
}

void THeadlessRuns::Clean(std::vector<TFoundItem>& items, bool recycleBinTicked) {
  std::map<int, TFoundItem*> byRow;
  for (TFoundItem& item : items)
    byRow[item.Row] = &item;
  TCleanRun run({services_, grid_, *log_, *cleanBar_, *timer_, state_});
  run.IsRecycleBinTicked = [recycleBinTicked] { return recycleBinTicked; };
  const int rows = grid_.TotalRows();
  run.ProcessMessages = [this, rows] {
    LetMessagesRun(L"Cleaning: row " + std::to_wstring(cleanBar_->Position() + 1) + L" of " +
                   std::to_wstring(rows));
  };
  run.OnRowDone = [&byRow](int row, const std::wstring&, TWipeResult result) {
    auto found = byRow.find(row);
    if (found == byRow.end()) return;
    TFoundItem& item = *found->second;
    item.Status = result == wrRemoved ? TFoundItem::stRemoved : TFoundItem::stLeft;
    if (result == wrRemoved) return;
    item.Reason = item.Path.empty() ? L"the shell did not empty it" : WipeReasonText(result);
  };
  run.Run();
}
