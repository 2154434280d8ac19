#pragma once
#include <algorithm>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "grid/Grid.h"
#include "main/CleanerState.h"
#include "main/FakeMachine.h"
#include "main/FoundFilesList.h"
#include "main/ScanRun.h"
#include "styled/FxProgressBar.h"
#include "ui/Application.h"
#include "ui/Control.h"
#include "ui/ImgList.h"
#include "ui/StdCtrls.h"

// A scan as the main window holds it (grid, status line, progress bar, state), without the window:
// the machine is the fake one, the category boxes, caption and page are recorded.
template <class TMachine> class TScanHarnessOn {
public:
  TMachine Machine;
  TCleanerState State;
  TWinControl Form{nullptr};
  TLabel* Label2 = Form.Make<TLabel>();
  TFxProgressBar* Bar = Form.Make<TFxProgressBar>();
  TImageList* Imagelist = Form.Make<TImageList>();
  TVxGrid Grid;
  TScanRun Scan{{Machine, Grid, *Label2, *Bar, *Imagelist, State}};

  bool Ticked[11] = {};
  std::vector<std::string> Captions;
  int PageMoves = 0;
  int MessageRuns = 0;
  // Runs whenever the scan lets messages run, before the pending messages themselves.
  std::function<void()> OnMessages;

  TScanHarnessOn() {
    Label2->SetParent(&Form);
    Bar->SetParent(&Form);
    SetupFoundFilesGrid(Grid);
    Machine.Processes.emplace();
    Scan.IsCategoryTicked = [this](int box) { return Ticked[box]; };
    Scan.SetCaption = [this](const std::string& caption) { Captions.push_back(caption); };
    Scan.NextPage = [this] { ++PageMoves; };
    Scan.ProcessMessages = [this] {
      ++MessageRuns;
      if (OnMessages) OnMessages();
      Application().ProcessMessages();
    };
  }

  void TickOnly(std::initializer_list<int> boxes) {
    for (bool& box : Ticked)
      box = false;
    for (int box : boxes)
      Ticked[box] = true;
  }

  std::wstring Text(const wchar_t* column, int row) {
    return Grid.CellByKey(column, row)->TextValue();
  }
  std::string Name(int row) { return WideToAnsi(Text(kFileNameColumn, row)); }
  bool Checked(int row) { return Grid.CellByKey(kSelectCheckColumn, row)->BoolValue(); }
  std::string Status() { return WideToAnsi(Label2->Caption()); }

  // The FileName texts of the direct children of row, in row order.
  std::vector<std::string> ChildNames(int row) {
    std::vector<std::string> names;
    int last = row + Grid.CountDescendants(row);
    for (int r = row + 1; r <= last; ++r)
      if (Grid.ParentRowOf(r) == row) names.push_back(Name(r));
    return names;
  }
  // The rows of level 0.
  std::vector<int> GroupRows() {
    std::vector<int> rows;
    for (int r = 0; r < Grid.TotalRows(); ++r)
      if (Grid.LevelOf(r) == 0) rows.push_back(r);
    return rows;
  }
  std::vector<std::string> GroupCaptions() {
    std::vector<std::string> captions;
    for (int r : GroupRows())
      captions.push_back(Name(r));
    return captions;
  }
};

using TScanHarness = TScanHarnessOn<TFakeMachine>;

// The performance counter, in seconds: the clock the scan's message interval is measured by.
inline double ScanClock() {
  LARGE_INTEGER frequency, now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&now);
  return double(now.QuadPart) / double(frequency.QuadPart);
}

// Makes the entry being handled take longer than the scan's message interval: the scan must
// then let messages run before it goes on, however fast or slow the machine.
inline void OutlastTheMessageInterval() {
  const double until = ScanClock() + TScanProgress::kMessageInterval * 1.5;
  while (ScanClock() < until)
    ::Sleep(1);
}

// Puts paths below root (with trailing backslash) in depth-first order, worked out from its
// definition: where two paths part, the one whose entry the file system lists first in that
// folder comes first. Each folder's own listing is the only thing asked of the file system.
inline void SortDepthFirst(const std::string& root, std::vector<std::string>& paths) {
  std::map<std::string, std::vector<std::string>> listings;
  auto rankIn = [&](const std::string& folder, const std::string& name) {
    auto [at, added] = listings.try_emplace(folder);
    if (added) {
      WIN32_FIND_DATAA data;
      HANDLE find = ::FindFirstFileA((folder + "*").c_str(), &data);
      if (find != INVALID_HANDLE_VALUE) {
        do
          at->second.push_back(data.cFileName);
        while (::FindNextFileA(find, &data));
        ::FindClose(find);
      }
    }
    return std::find(at->second.begin(), at->second.end(), name) - at->second.begin();
  };
  auto ranks = [&](const std::string& path) {
    std::vector<std::ptrdiff_t> result;
    for (size_t from = root.size(), cut; from < path.size(); from = cut + 1) {
      cut = std::min(path.find('\\', from), path.size());
      result.push_back(rankIn(path.substr(0, from), path.substr(from, cut - from)));
    }
    return result;
  };
  std::stable_sort(paths.begin(), paths.end(),
                   [&](const std::string& a, const std::string& b) { return ranks(a) < ranks(b); });
}
