#include "main/ScanRun.h"

#include "grid/Grid.h"
#include "main/BrowserGuard.h"
#include "main/CleanerState.h"
#include "main/FileWiper.h"
#include "main/SizeTexts.h"
#include "main/SystemServices.h"
#include "styled/FxProgressBar.h"
#include "ui/Application.h"
#include "ui/ImgList.h"
#include "ui/Numbers.h"

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
  deniedProfiles_.clear();
  deniedFolders_.clear();
  deniedNote_.clear();

  TMemoryReserve reserve;
  try {
    reserve.Hold();
    if (services_.FileTypesMayHaveChanged()) search_.ForgetTypeNames();
    layout_ = ResolveProfileLayout(services_);
    ScanTickedCategories();
  } catch (const std::bad_alloc&) {
    // The rows listed so far are whole and stay; the user is told that more may lie on the disk.
    reserve.Release();
    // The walks let go of the grid's update lock without bringing it up to date.
    list_.Grid().LockUpdates();
    list_.Grid().UnlockUpdates();
    progress_.SetStatusNow(AnsiToWide(kScanOutOfMemoryText));
    throw EOutOfMemory(kScanOutOfMemoryText);
  }

  progress_.SetPositionToMax();
  if (!deniedProfiles_.empty() || !deniedFolders_.empty())
    deniedNote_ =
        DeniedFoldersNote(int(deniedProfiles_.size()), deniedFolders_, services_.IsElevated());
  progress_.SetStatusNow(deniedNote_.empty() ? L"Scanning has been finished."
                                             : L"Scanning has been finished. " + deniedNote_);
  return true;
}

void TScanRun::ScanTickedCategories() {
  if (Ticked(1)) {
    ScanCategory(pcUserTemp);
    ScanCategory(kSystemTempCaption, kSystemTempFolder);
  }
  if (Ticked(4)) ScanCategory(pcInternetExplorer);
  if (Ticked(2)) {
    GuardBrowser(services_, Owner, kFirefoxExe);
    ScanCategory(pcFirefox);
  }
  if (Ticked(3)) {
    GuardBrowser(services_, Owner, kChromeExe);
    ScanCategory(pcChrome);
  }
  if (Ticked(10)) {
    GuardBrowser(services_, Owner, kEdgeExe);
    ScanCategory(pcEdge);
  }
  if (Ticked(5)) {
    GuardBrowser(services_, Owner, kOperaExe);
    ScanCategory(pcOpera);
  }
  if (Ticked(6)) ScanCategory(pcUnityWebPlayer);
  if (Ticked(7)) AppendRecycleBinRow();
  if (Ticked(8)) ScanCategory(kRecentFilesCaption, layout_.RecentFolder);
  if (Ticked(9)) ScanPrefetch();
}

void TScanRun::ScanCategory(TPerUserCategory category) {
  const std::wstring groupCaption = GroupCaption(category);
  AppendWhole(list_, [&] { list_.AppendGroupRow(groupCaption); });
  uint64_t categoryTotal = 0;
  for (const std::wstring& profile : ListSubfolders(services_, layout_.UsersRoot)) {
    AppendWhole(list_, [&] { list_.AppendUserRow(profile); });
    const int deniedBefore = search_.DeniedFolders();
    progress_.SetPositionNow(0);
    state_.FoundBytes = 0;
    // One folder that cannot be searched must not cost the others their turn.
    try {
      for (const std::wstring& folder : PerUserFolders(services_, layout_, category, profile)) {
        try {
          // Located before the size pass, whose listing the search shows.
          LocateFolder(folder);
          search_.AnalyzeFolder(folder, categoryTotal, groupCaption);
          // The total covers every profile so far, while the position restarts for each.
          progress_.SetMax(categoryTotal / 1024);
          search_.SearchFiles(folder, true);
        } catch (const ERunStopped&) {
          throw;
        } catch (const std::bad_alloc&) {
          throw;
        } catch (...) {
        }
      }
    } catch (const ERunStopped&) {
      throw;
    } catch (const std::bad_alloc&) {
      // Not one folder's trouble: the next would run short too, so the scan ends.
      throw;
    } catch (...) {
    }
    // Another user's profile is closed to a plain user: every folder of it is denied at once.
    if (search_.DeniedFolders() > deniedBefore) deniedProfiles_.insert(profile);
  }
}

void TScanRun::ScanCategory(const std::wstring& groupCaption, const std::wstring& folder) {
  AppendWhole(list_, [&] { list_.AppendGroupRow(groupCaption); });
  list_.SetFileParentToGroup();
  progress_.SetPositionNow(0);
  state_.FoundBytes = 0;
  // An unknown Recent folder stays unsearched.
  SearchFolder(folder);
}

void TScanRun::LocateFolder(const std::wstring& folder) {
  // Where the folder lies as it is enumerated, links above it and the folder itself resolved, is
  // where the clean run will look for what the search lists.
  state_.SearchedFolders.push_back(LocateSearchedFolder(services_, folder));
}

void TScanRun::SearchFolder(const std::wstring& folder) {
  if (folder.empty()) return;
  LocateFolder(folder);
  const int deniedBefore = search_.DeniedFolders();
  search_.SearchFiles(folder, true);
  if (search_.DeniedFolders() > deniedBefore) deniedFolders_.push_back(folder);
}

std::wstring DeniedFoldersNote(int profiles, const std::vector<std::wstring>& folders,
                               bool elevated) {
  std::vector<std::wstring> parts;
  if (profiles > 0)
    parts.push_back(std::to_wstring(profiles) +
                    (profiles == 1 ? L" user profile" : L" user profiles"));
  if (folders.size() == 1) parts.push_back(folders[0]);
  if (folders.size() > 1) parts.push_back(std::to_wstring(folders.size()) + L" folders");
  if (parts.empty()) return {};
  std::wstring note = parts[0];
  if (parts.size() > 1) note += L" and " + parts[1];
  note += L" could not be searched";
  return note + (elevated ? L"." : L" without administrator rights.");
}

void TScanRun::AppendRecycleBinRow() {
  AppendWhole(list_, [&] { list_.AppendRecycleBinRow(); });
  uint64_t bytes = 0;
  if (QueryRecycleBinSize(services_, bytes)) list_.SetRecycleBinSize(bytes);
}

void TScanRun::ScanPrefetch() {
  AppendWhole(list_, [&] { list_.AppendGroupRow(kPrefetchCaption); });
  list_.SetFileParentToGroup();
  // Neither the bar nor FoundBytes restart here: the prefetch files continue the last count.
  SearchFolder(PrefetchFolder(services_));
}
