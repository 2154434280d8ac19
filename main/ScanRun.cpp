#include "main/ScanRun.h"

#include "main/BrowserGuard.h"
#include "main/CleanerState.h"
#include "main/FileWiper.h"
#include "main/SizeTexts.h"
#include "main/SystemServices.h"
#include "styled/FxProgressBar.h"
#include "ui/Application.h"
#include "ui/ImgList.h"

TScanRun::TScanRun(const TTargets& targets)
    : services_(targets.Services), images_(targets.Images), state_(targets.State),
      list_(targets.Grid, targets.State), progress_(targets.StatusLabel, targets.ProgressBar,
                                                    [this] {
                                                      if (ProcessMessages) ProcessMessages();
                                                    }),
      search_(targets.Services, list_, targets.State, progress_) {
  ProcessMessages = [] { Application().ProcessMessages(); };
}

bool TScanRun::Run() {
  // Both runs address rows by index; a second one would work on rows this one still fills.
  if (state_.Busy) return false;
  TBusyScope busy(state_);

  if (SetCaption) SetCaption("Varnox - Found files");
  if (NextPage) NextPage();
  list_.Clear();
  images_.Clear();
  state_.FoundBytes = 0;
  state_.SearchedFolders.clear();
  search_.ForgetTypeNames();

  layout_ = ResolveProfileLayout(services_);

  if (Ticked(1)) {
    ScanPerUser(pcUserTemp, false);
    ScanCategory(kSystemTempFolder, "", kSystemTempCaption, "", "", false, false);
  }
  if (Ticked(4)) ScanPerUser(pcInternetExplorer, false);
  if (Ticked(2)) {
    GuardBrowser(services_, Owner, kFirefoxExe);
    ScanPerUser(pcFirefox, true);
  }
  if (Ticked(3)) {
    GuardBrowser(services_, Owner, kChromeExe);
    ScanPerUser(pcChrome, false);
  }
  if (Ticked(5)) {
    GuardBrowser(services_, Owner, kOperaExe);
    ScanPerUser(pcOpera, false);
  }
  if (Ticked(6)) ScanPerUser(pcUnityWebPlayer, false);
  if (Ticked(7)) AppendRecycleBinRow();
  if (Ticked(8)) ScanCategory(layout_.RecentFolder, "", kRecentFilesCaption, "", "", false, false);
  if (Ticked(9)) ScanPrefetch();

  progress_.SetPositionToMax();
  progress_.SetStatusNow("Scanning has been finished.");
  return true;
}

void TScanRun::ScanPerUser(TPerUserCategory category, bool firefox) {
  TFolderPieces pieces = PerUserFolderPieces(category, layout_);
  ScanCategory(layout_.UsersRoot, pieces.PieceA, GroupCaption(category), pieces.PieceB, pieces.Tail,
               true, firefox);
}

void TScanRun::ScanCategory(const std::string& firstFolder, const std::string& pieceA,
                            const std::string& groupCaption, const std::string& pieceB,
                            const std::string& tail, bool perUser, bool firefox) {
  list_.AppendGroupRow(groupCaption);
  if (!perUser) {
    list_.SetFileParentToGroup();
    progress_.SetPositionNow(0);
    state_.FoundBytes = 0;
    // Both single-folder categories pass empty pieces; an unknown Recent folder stays unsearched.
    SearchFolder(firstFolder + pieceA + pieceB + tail);
    return;
  }
  uint64_t categoryTotal = 0;
  for (const std::string& profile : ListSubfolders(services_, firstFolder)) {
    list_.AppendUserRow(profile);
    std::string folder = firstFolder + profile + pieceA + pieceB + tail;
    if (firefox) {
      // A profile path that leads out of the user's Firefox folder is not followed; the user
      // row stays without files.
      std::optional<std::string> suffix = FirefoxProfileSuffix(services_, firstFolder, profile);
      folder = suffix && StaysInside(folder + *suffix, folder) ? folder + *suffix : "";
    }
    progress_.SetPositionNow(0);
    state_.FoundBytes = 0;
    if (folder.empty()) continue;
    // One profile that cannot be searched must not cost the others their turn.
    try {
      // Located before the size pass, whose listing the search shows.
      LocateFolder(folder);
      search_.AnalyzeFolder(folder, categoryTotal, groupCaption);
      // The total covers every profile so far, while the position restarts for each.
      progress_.SetMax(categoryTotal / 1024);
      search_.SearchFiles(folder, true);
    } catch (const ERunStopped&) {
      throw;
    } catch (...) {
    }
  }
}

void TScanRun::LocateFolder(const std::string& folder) {
  // Where the folder lies as it is enumerated, links above it and the folder itself resolved, is
  // where the clean run will look for what the search lists.
  state_.SearchedFolders.push_back(LocateSearchedFolder(services_, folder));
}

void TScanRun::SearchFolder(const std::string& folder) {
  if (folder.empty()) return;
  LocateFolder(folder);
  search_.SearchFiles(folder, true);
}

void TScanRun::AppendRecycleBinRow() {
  list_.AppendRecycleBinRow();
  uint64_t bytes = 0;
  if (QueryRecycleBinSize(services_, bytes)) list_.SetRecycleBinSize(bytes);
}

void TScanRun::ScanPrefetch() {
  list_.AppendGroupRow(kPrefetchCaption);
  list_.SetFileParentToGroup();
  // Neither the bar nor FoundBytes restart here: the prefetch files continue the last count.
  SearchFolder(PrefetchFolder(services_));
}
