#pragma once
#include <windows.h>

#include <cstdint>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "main/CleaningLocations.h"
#include "main/FileSearch.h"
#include "main/FoundFilesList.h"
#include "main/ScanProgress.h"

// The status line's text, and the message's, when memory ran out during a scan.
inline constexpr const char* kScanOutOfMemoryText =
    "Not enough memory: the list shows only the files found so far.";

class TVxGrid;
class TWinControl;
class TImageList;
class TFxProgressBar;
class TSystemServices;
struct TCleanerState;

// The whole scan behind "Find": empties the found-files list and fills it, category by category in
// a fixed order, from the ticked categories. The window creates one and calls Run from its button
// handler; everything the scan touches belongs to the window.
class TScanRun {
public:
  struct TTargets {
    TSystemServices& Services;
    TVxGrid& Grid;               // VxGrid1
    TWinControl& StatusLabel;    // Label2
    TFxProgressBar& ProgressBar; // FxProgressBar1
    TImageList& Images;          // Imagelist, behind the hidden FileIcon column
    TCleanerState& State;
  };

  explicit TScanRun(const TTargets& targets);

  // Whether check box FxCheckBox<box> (1 to 10) is ticked; read when its category's turn comes.
  std::function<bool(int box)> IsCategoryTicked;
  // The window's part: its caption and the move to the next page.
  std::function<void(const std::string& caption)> SetCaption;
  std::function<void()> NextPage;
  // Lets every pending window message run; the application's ProcessMessages.
  std::function<void()> ProcessMessages;
  // Owner of the browsers' questions.
  HWND Owner = nullptr;

  // The scan; false, with nothing changed, when a scan or a clean run is already going on. An error
  // other than in one profile folder's search ends the scan there and reaches the caller (the
  // window shows it in the standard error box); the rows added so far stay. When memory runs out
  // the scan stops so too, says so on the status line and raises EOutOfMemory; every row listed
  // is whole.
  bool Run();

  TFileSearch& Search() { return search_; }
  // What the status line added when the scan ended: the user profiles and folders it could not
  // search for want of rights, or empty when there were none (or the scan did not end).
  const std::wstring& DeniedNote() const { return deniedNote_; }
  TScanProgress& Progress() { return progress_; }

private:
  bool Ticked(int box) const { return IsCategoryTicked && IsCategoryTicked(box); }
  void ScanTickedCategories();
  // One category into a new group row. Per user: a user row for every plain profile folder
  // below the users root, holding the files of each of the category's folders in that profile.
  void ScanCategory(TPerUserCategory category);
  // A single folder: the group row holds the folder's files directly.
  void ScanCategory(const std::wstring& groupCaption, const std::wstring& folder);
  // Notes the folder, and where it lies now, among the folders the clean run may clean in.
  void LocateFolder(const std::wstring& folder);
  void SearchFolder(const std::wstring& folder);
  void AppendRecycleBinRow();
  void ScanPrefetch();

  TSystemServices& services_;
  TImageList& images_;
  TCleanerState& state_;
  TFoundFilesList list_;
  TScanProgress progress_;
  TFileSearch search_;
  TProfileLayout layout_;
  // Every category searches each profile again; a profile closed to the user counts once.
  std::set<std::wstring> deniedProfiles_;
  std::vector<std::wstring> deniedFolders_;
  std::wstring deniedNote_;
};

// "2 user profiles and C:\Windows\Temp could not be searched without administrator rights."; empty
// when nothing was denied. Without the rights phrase when the program already has them.
std::wstring DeniedFoldersNote(int profiles, const std::vector<std::wstring>& folders,
                               bool elevated);
