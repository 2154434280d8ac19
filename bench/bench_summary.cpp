// The main window's selection summary and tick propagation on found-files lists of a scan's size:
// one summary over 50,000 and over 200,000 file rows (it must grow linearly), and unticking a
// group of 100,000 files against writing the same 100,000 cells under one update lock.
#include "BenchTiming.h"
#include "grid/Grid.h"
#include "main/CleanerState.h"
#include "main/FoundFilesList.h"
#include "main/SelectionSummary.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int kGroups = 6;
constexpr int kUsers = 20;
constexpr int kRepeats = 7;

// A list as a scan leaves it: groups of kUsers users, files spread evenly.
struct TList {
  TVxGrid Grid;
  TCleanerState State;
  TFoundFilesList List{Grid, State};

  TList(int files, int groups) {
    SetupFoundFilesGrid(Grid);
    TFoundFilesList::TUpdateLock lock(List);
    const int perUser = files / (groups * kUsers);
    for (int g = 0; g < groups; ++g) {
      List.AppendGroupRow(L"Group " + std::to_wstring(g));
      for (int u = 0; u < kUsers; ++u) {
        List.AppendUserRow(L"user" + std::to_wstring(u));
        for (int f = 0; f < perUser; ++f)
          List.AppendFileRow(L"C:\\Users\\u\\Temp\\f" + std::to_wstring(f) + L".tmp",
                             uint64_t(f) * 977 + 13, L"TMP File");
      }
    }
  }
};

// One summary over each list, the first (which writes every total) left out; the two lists take
// turns, so that both see the same moments of a busy machine.
void SummaryMs(double& ms50k, double& ms200k) {
  TList small(50000, kGroups), large(200000, kGroups);
  UpdateSelectionSummary(small.List);
  UpdateSelectionSummary(large.List);
  std::vector<double> smallTimes, largeTimes;
  auto time = [](TList& list) {
    double start = Seconds();
    UpdateSelectionSummary(list.List);
    return (Seconds() - start) * 1000;
  };
  for (int i = 0; i < 3 * kRepeats; ++i) {
    smallTimes.push_back(time(small));
    largeTimes.push_back(time(large));
  }
  ms50k = Median(smallTimes);
  ms200k = Median(largeTimes);
}

} // namespace

int main() {
  double ms50k = 0, ms200k = 0;
  SummaryMs(ms50k, ms200k);
  std::printf("bench summary_ms_50k %.2f\n", ms50k);
  std::printf("bench summary_ms_200k %.2f\n", ms200k);
  std::printf("bench summary_200k_vs_50k_ratio %.2f\n", ms200k / ms50k);

  // One group of 100,000 files under 20 users, unticked through the propagation and, as the
  // baseline, by writing the same cells under one update lock; they take turns going first.
  std::vector<double> propagate, baseline;
  for (int i = 0; i < kRepeats; ++i) {
    TList one(100000, 1);
    auto timeIt = [&](bool viaPropagation, bool tick) {
      double start = Seconds();
      if (viaPropagation) {
        one.List.SetTicked(0, tick);
        one.List.TickDescendants(0);
      } else {
        TFoundFilesList::TUpdateLock lock(one.List);
        for (int row = 0; row < one.Grid.TotalRows(); ++row)
          if (one.Grid.LevelOf(row) == 2) one.List.SetTicked(row, tick);
      }
      return (Seconds() - start) * 1000;
    };
    if (i % 2 == 0) {
      propagate.push_back(timeIt(true, false));
      baseline.push_back(timeIt(false, true));
    } else {
      baseline.push_back(timeIt(false, false));
      propagate.push_back(timeIt(true, true));
    }
  }
  std::printf("bench propagate_ms_100k %.2f\n", Median(propagate));
  std::printf("bench propagate_baseline_ms_100k %.2f\n", Median(baseline));
  std::printf("bench propagate_vs_locked_writes_ratio %.2f\n",
              Median(propagate) / Median(baseline));
  return 0;
}
