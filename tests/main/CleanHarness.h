#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "CleanFixture.h"
#include "DecimalSeparatorPin.h"
#include "grid/Grid.h"
#include "main/CleanRun.h"
#include "main/CleanerState.h"
#include "main/FoundFilesList.h"
#include "styled/FxProgressBar.h"
#include "ui/Application.h"
#include "ui/Control.h"
#include "ui/Numbers.h"
#include "ui/StdCtrls.h"
#include "ui/Timer.h"

// A clean run as the main window holds it (grid, memo, progress bar, timer, state), without the
// window: by default the machine records every write and fakes the Recycle Bin; the "Recycle Bin"
// box, caption and page moves are recorded. Rows are built as the scan builds them.
template <class TMachine> struct TCleanHarnessOn {
  TMachine Machine;
  TCleanerState State;
  TWinControl Form{nullptr};
  TMemo* Memo1 = Form.Make<TMemo>();
  TFxProgressBar* Bar = Form.Make<TFxProgressBar>();
  TTimer* Timer1 = Form.Make<TTimer>();
  TVxGrid Grid;
  TFoundFilesList List{Grid, State};
  TCleanRun Clean{{Machine, Grid, *Memo1, *Bar, *Timer1, State}};

  bool RecycleBinTicked = false;
  std::vector<std::string> Captions;
  int PageMoves = 0;
  int MessageRuns = 0;
  std::vector<int> PositionsAtMessages;

  TCleanHarnessOn() {
    SetupFoundFilesGrid(Grid);
    Timer1->SetInterval(10000);
    Clean.IsRecycleBinTicked = [this] { return RecycleBinTicked; };
    Clean.SetCaption = [this](const std::string& caption) { Captions.push_back(caption); };
    Clean.NextPage = [this] { ++PageMoves; };
    Clean.ProcessMessages = [this] {
      ++MessageRuns;
      PositionsAtMessages.push_back(Bar->Position());
      Application().ProcessMessages();
    };
  }

  // A group row; for a single-folder category its files go straight below it.
  int Group(const std::string& caption, bool checked = true) {
    List.AppendGroupRow(W(caption));
    List.SetFileParentToGroup();
    SetChecked(State.GroupRow, checked);
    return State.GroupRow;
  }
  int User(const std::string& name, bool checked = true) {
    List.AppendUserRow(W(name));
    SetChecked(State.FileParentRow, checked);
    return State.FileParentRow;
  }
  // A file row for an existing file, with its size as the scan would read it.
  int File(const std::string& path, bool checked = true) {
    List.AppendFileRow(W(path), ReadWholeFile(path).size(), L"Temporary file");
    int row = Grid.TotalRows() - 1;
    SetChecked(row, checked);
    return row;
  }
  void SetChecked(int row, bool checked) { List.SetTicked(row, checked); }
  // The folder as the scan records it when it searches it, where it lies now.
  void Searched(const std::string& folder) {
    State.SearchedFolders.push_back(LocateSearchedFolder(Machine, W(folder)));
  }

  std::vector<std::wstring> Log() const {
    std::vector<std::wstring> lines;
    for (int i = 0; i < Memo1->Lines().Count(); ++i)
      lines.push_back(Memo1->Lines().Strings(i));
    return lines;
  }
  // The log line of a removed file: its path, then its size as the list shows it.
  static std::wstring Removed(const std::string& path, const wchar_t* sizeText) {
    return AnsiToWide(path) + L" " + sizeText;
  }
};

using TCleanHarness = TCleanHarnessOn<TRecordingMachine>;
