#pragma once
#include <functional>
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

// The files below folder (with trailing backslash) in the order a depth-first walk meets them, as
// full paths: the order every walk of the file system gives here.
inline void ListFilesDepthFirst(const std::string& folder, std::vector<std::string>& files) {
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA((folder + "*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = data.cFileName;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (name != "." && name != ".." && !(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT))
        ListFilesDepthFirst(folder + name + "\\", files);
    } else {
      files.push_back(folder + name);
    }
  } while (::FindNextFileA(find, &data));
  ::FindClose(find);
}
