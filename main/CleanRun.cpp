#include "main/CleanRun.h"

#include "grid/Grid.h"
#include "main/CleanerState.h"
#include "main/FoundFilesList.h"
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

TCleanRun::TCleanRun(const TTargets& targets)
    : services_(targets.Services), grid_(targets.Grid), log_(targets.Log),
      bar_(targets.ProgressBar), timer_(targets.SummaryTimer), state_(targets.State),
      wiper_(targets.Services) {}

void TCleanRun::AddLine(const std::wstring& line) {
  log_.Lines().Add(line);
}

void TCleanRun::EmptyRecycleBin() {
  services_.EmptyRecycleBin(Owner);
}

bool TCleanRun::Run() {
  // Rows are addressed by index; a scan still adding them would shift what the run reads.
  if (state_.Busy) return false;
  TBusyScope busy(state_);

  if (SetCaption) SetCaption("Varnox - Deleting Files");
  if (NextPage) NextPage();
  bar_.SetMax(grid_.TotalRows() - 1);
  log_.Lines().Clear();
  timer_.SetEnabled(false);
  AddLine(kCleanLogHeader);
  double total = 0;
  RecycleBinPass(total);
  FilePass(total);
  AddLine(L"");
  AddLine(TotalCleanedLogLine(total));
  return true;
}

void TCleanRun::RecycleBinPass(double& total) {
  if (!IsRecycleBinTicked || !IsRecycleBinTicked()) return;
  for (int row = 0; row < grid_.TotalRows(); ++row) {
    if (!grid_.CellByKey(kSelectCheckColumn, row)->BoolValue() ||
        grid_.CellByKey(kFileNameColumn, row)->TextValue() != L"Recycle Bin")
      continue;
    // The scan leaves the size empty when the shell could not tell it. The bin is emptied and
    // logged all the same; only the total goes without what nobody measured.
    double bytes = 0;
    if (TryStrToFloat(grid_.CellByKey(kRealFileSizeColumn, row)->TextValue(), bytes))
      total += bytes;
    EmptyRecycleBin();
    AddLine(RecycleBinLogLine(grid_.CellByKey(kFileSizeColumn, row)->TextValue()));
  }
}

void TCleanRun::FilePass(double& total) {
  // Where the scan's folders lie now decides which listed files may still be touched.
  wiper_.TrustFolders(state_.SearchedFolders);
  const int rows = grid_.TotalRows();
  for (int row = 0; row < rows; ++row) {
    if (ProcessMessages) ProcessMessages();
    bar_.SetPosition(row);
    if (!grid_.CellByKey(kSelectCheckColumn, row)->BoolValue()) continue;
    // File rows carry a full drive-letter path; group, user and Recycle Bin rows never do.
    std::wstring path = grid_.CellByKey(kFileNameColumn, row)->TextValue();
    if (path.find(L":\\") == std::wstring::npos) continue;
    // Only a file that is really gone is logged and counted; any failure passes it over quietly.
    try {
      if (!OverwriteAndDeleteFile(WideToAnsi(path))) continue;
    } catch (const std::exception&) {
      continue;
    }
    double bytes = 0;
    if (TryStrToFloat(grid_.CellByKey(kRealFileSizeColumn, row)->TextValue(), bytes))
      total += bytes;
    AddLine(RemovedFileLogLine(path, grid_.CellByKey(kFileSizeColumn, row)->TextValue()));
  }
}
