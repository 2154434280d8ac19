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
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr int kGroups = 6;
constexpr int kUsers = 20;
// Fewer in a smoke run.
int Repeats() {
  return Sized(7, 1);
}

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
  TList small(Sized(50000, 1200), kGroups), large(Sized(200000, 4800), kGroups);
  UpdateSelectionSummary(small.List);
  UpdateSelectionSummary(large.List);
  std::vector<double> smallTimes, largeTimes;
  auto time = [](TList& list) {
    double start = Seconds();
    UpdateSelectionSummary(list.List);
    return (Seconds() - start) * 1000;
  };
  for (int i = 0; i < 3 * Repeats(); ++i) {
    smallTimes.push_back(time(small));
    largeTimes.push_back(time(large));
  }
  ms50k = Median(smallTimes);
  ms200k = Median(largeTimes);
}

// The window's summary over a million file rows: a full pass, a refresh over rows that did not
// change (a timer tick after the scan), and one file unticked and ticked again. Each change is
// checked against a full pass over the rows.
void KeptSummaryMs(double& fullMs, double& idleMs, double& changeMs) {
  TList list(Sized(1000000, 2400), kGroups);
  TSelectionSummary summary;
  double start = Seconds();
  summary.Refresh(list.List);
  fullMs = (Seconds() - start) * 1000;
  std::vector<double> idle, change;
  const int row = list.Grid.TotalRows() - 1;
  if (!list.List.IsFileRow(row)) {
    std::fprintf(stderr, "bench_summary: row %d is not a file row\n", row);
    std::exit(1);
  }
  for (int i = 0; i < 10 * Repeats(); ++i) {
    start = Seconds();
    summary.Refresh(list.List);
    idle.push_back((Seconds() - start) * 1000);
    start = Seconds();
    list.List.SetTicked(row, i % 2 != 0);
    summary.SubtreeTicked(list.List, row, [&] { list.List.TickDescendants(row); });
    change.push_back((Seconds() - start) * 1000);
  }
  if (summary.Selected() != UpdateSelectionSummary(list.List)) {
    std::fprintf(stderr, "bench_summary: the kept summary disagrees with a full pass\n");
    std::exit(1);
  }
  idleMs = Median(idle);
  changeMs = Median(change);
}

} // namespace

int main(int argc, char** argv) {
  ReadBenchArguments(argc, argv);
  double ms50k = 0, ms200k = 0;
  SummaryMs(ms50k, ms200k);
  Figure("summary_ms_50k", ms50k, 2);
  Figure("summary_ms_200k", ms200k, 2);
  Figure("summary_200k_vs_50k_ratio", ms200k / ms50k, 2);
  double fullMs = 0, idleMs = 0, changeMs = 0;
  KeptSummaryMs(fullMs, idleMs, changeMs);
  Figure("summary_full_pass_ms_1m", fullMs, 2);
  Figure("summary_idle_tick_ms_1m", idleMs, 4);
  Figure("summary_one_change_ms_1m", changeMs, 4);

  // One group of 100,000 files under 20 users, unticked through the propagation and, as the
  // baseline, by writing the same cells under one update lock; they take turns going first.
  std::vector<double> propagate, baseline;
  for (int i = 0; i < Repeats(); ++i) {
    TList one(Sized(100000, 200), 1);
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
  Figure("propagate_ms_100k", Median(propagate), 2);
  Figure("propagate_baseline_ms_100k", Median(baseline), 2);
  Figure("propagate_vs_locked_writes_ratio", Median(propagate) / Median(baseline), 2);
  return Done("bench_summary");
}
