#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "grid/Grid.h"
#include "main/CleanerState.h"
#include "main/CleaningKinds.h"
#include "ui/Control.h"

class TLabel;
class TMemo;
class TTimer;
class TImageList;
class TFxProgressBar;
class TSystemServices;

// One file (or the Recycle Bin) as the console program reports it.
struct TFoundItem {
  enum TStatus { stFound, stRemoved, stLeft };
  std::wstring Kind;
  // The profile folder's name for a per-user kind; empty for the others.
  std::wstring User;
  // Empty for the Recycle Bin, which the shell empties as a whole.
  std::wstring Path;
  uint64_t Bytes = 0;
  TStatus Status = stFound;
  std::wstring Reason;
  int Row = -1;
};

// The window's own scan and clean runs, on controls that are never shown: the same walk, the same
// list, the same checks at clean time, so that the console program cleans exactly as "Find" and
// "Next" do.
class THeadlessRuns {
public:
  explicit THeadlessRuns(TSystemServices& services);
  ~THeadlessRuns();

  // A short text of where the run stands, whenever the run lets messages run.
  std::function<void(const std::wstring& text)> OnProgress;
  // Asked at the same moments; true stops the run there, never inside one file's work.
  std::function<bool()> StopRequested;

  // Every file and Recycle Bin row of the ticked kinds, in list order.
  std::vector<TFoundItem> Scan(const TTickedBoxes& boxes);
  // Cleans what the last scan found, marking each item removed or left (with its reason).
  void Clean(std::vector<TFoundItem>& items, bool recycleBinTicked);

private:
  void LetMessagesRun(const std::wstring& text);

  TSystemServices& services_;
  TCleanerState state_;
  TWinControl host_{nullptr};
  TLabel* label_;
  TFxProgressBar* scanBar_;
  TFxProgressBar* cleanBar_;
  TImageList* images_;
  TMemo* log_;
  TTimer* timer_;
  TVxGrid grid_;
};
