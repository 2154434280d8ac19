// Scan speed against the bare directory walk it cannot do without.
//
// A fixture of 20,000 files over 10 user-profile folders at several depths is scanned as the
// "Temporary files" category, through the whole scan run with its grid, status label and progress
// bar in a shown window, the grid painting the rows as they arrive. In the same run a bare
// recursive FindFirstFileA/FindNextFileA walk goes over the same folders as often as the scan
// enumerates them: twice for each profile's temp folder (the size pass and the search) and once for
// the system temp folder. Scans and walks take turns; the medians of the repeats and their ratio
// are printed. A second baseline walks each folder once, the least any scan must do: the scan
// against it is scan_vs_one_walk_ratio.
#include "BenchTiming.h"
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "main/ProfileFixture.h"
#include "main/ScanHarness.h"

namespace {
// Fewer in a smoke run.
int Repeats() {
  return Sized(5, 1);
}

uint64_t BareWalk(const std::string& folder) {
  uint64_t total = 0;
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA((folder + "*.*").c_str(), &data);
  if (find == INVALID_HANDLE_VALUE) return 0;
  do {
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      if (std::strcmp(data.cFileName, ".") && std::strcmp(data.cFileName, ".."))
        total += BareWalk(folder + data.cFileName + "\\");
    } else {
      total += (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    }
  } while (::FindNextFileA(find, &data));
  ::FindClose(find);
  return total;
}
} // namespace

int main(int argc, char** argv) {
  ReadBenchArguments(argc, argv);
  TScanHarness scan;
  const int filesPerProfile = Sized(TProfileFixture::kFilesPerProfile, 20);
  TProfileFixture fixture(scan.Machine, filesPerProfile);
  scan.TickOnly({1});
  scan.Form.SetBounds(0, 0, 800, 600);
  scan.Label2->SetBounds(0, 0, 800, 16);
  scan.Bar->SetBounds(0, 20, 800, 33);
  scan.Grid.SetParent(&scan.Form);
  scan.Grid.SetBounds(0, 60, 800, 540);
  scan.Form.Show();

  // Warm the file system's and the shell's caches before anything is timed.
  for (const std::string& folder : fixture.TempFolders())
    BareWalk(folder);
  scan.Scan.Run();

  // Every folder walked walksPerFolder times, as the two baselines walk them.
  auto walkAll = [&](int walksPerFolder) {
    uint64_t bytes = 0;
    for (int walk = 0; walk < walksPerFolder; ++walk)
      for (const std::string& folder : fixture.TempFolders())
        bytes += BareWalk(folder);
    return bytes + BareWalk(fixture.SystemTempFolder());
  };
  std::vector<double> scans, walks, oneWalks;
  for (int repeat = 0; repeat < Repeats(); ++repeat) {
    double start = Seconds();
    scan.Scan.Run();
    scans.push_back(Seconds() - start);

    start = Seconds();
    uint64_t bytes = walkAll(2);
    walks.push_back(Seconds() - start);

    start = Seconds();
    bytes += walkAll(1);
    oneWalks.push_back(Seconds() - start);
    if (bytes == 0) {
      std::printf("the bare walk found nothing\n");
      return 1;
    }
  }
  int expectedRows = 2 + TProfileFixture::kProfiles * (1 + filesPerProfile);
  if (scan.Grid.TotalRows() != expectedRows) {
    std::printf("scan listed %d rows, expected %d\n", scan.Grid.TotalRows(), expectedRows);
    return 1;
  }
  double scanTime = Median(scans), walkTime = Median(walks), oneWalkTime = Median(oneWalks);
  Figure("scan_ms", scanTime * 1000, 1);
  Figure("bare_walks_ms", walkTime * 1000, 1);
  Figure("bare_one_walk_ms", oneWalkTime * 1000, 1);
  Figure("scan_vs_walk_ratio", scanTime / walkTime, 2);
  Figure("scan_vs_one_walk_ratio", scanTime / oneWalkTime, 2);
  return Done("bench_scan");
}
