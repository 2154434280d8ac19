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
//
// Then a scan of 5,000,000 files that exist only in a fake machine's listings (no disk) shows
// whether a list that long fits: scan_5m_rows_ok is 1 when the scan ended normally with every file
// a row, beside its time and the process's peak committed memory.
#include "BenchTiming.h"
#include <windows.h>

#define PSAPI_VERSION 2
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
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
// Users U0 to U<Profiles - 1> under D:\Users, each temp folder holding FoldersPerProfile folders
// of FilesPerFolder files, all of them made up as they are listed; no other folder exists.
class TSyntheticMachine : public TFakeMachine {
public:
  static constexpr int kProfiles = 10;
  int FoldersPerProfile = 0;
  int FilesPerFolder = 0;

  TSyntheticMachine() {
    WindowsDir = L"C:\\Windows";
    SetRecent("D:\\Users\\U0\\AppData\\Roaming\\Microsoft\\Windows\\Recent");
    Processes.emplace();
  }
  uint64_t Files() const { return uint64_t(kProfiles) * FoldersPerProfile * FilesPerFolder; }

  std::unique_ptr<TDirectoryListing> FindFirst(const std::wstring& pattern,
                                               TFindEntry& first) override {
    const std::wstring folder = pattern.substr(0, pattern.rfind(L'\\'));
    const std::wstring parent = folder.substr(0, folder.rfind(L'\\'));
    auto listing = std::make_unique<TListing>();
    if (folder == L"D:\\Users") {
      listing->Count = kProfiles;
      listing->Prefix = L"U";
    } else if (IsTempFolder(folder)) {
      listing->Count = FoldersPerProfile;
      listing->Prefix = L"d";
    } else if (IsTempFolder(parent) && folder.compare(parent.size(), 2, L"\\d") == 0) {
      listing->Count = FilesPerFolder;
      listing->Prefix = L"f";
      listing->Files = true;
    } else {
      ::SetLastError(ERROR_PATH_NOT_FOUND);
      return nullptr;
    }
    listing->FindNext(first);
    return listing;
  }
  std::wstring ShellTypeName(const std::wstring& path) override {
    return path.substr(path.rfind(L'.') + 1) + L" File";
  }
  bool FileTypesMayHaveChanged() override { return false; }
  std::wstring FinalFolderPath(const std::wstring& path) override { return path; }

private:
  // "." and "..", then Count folders or files named Prefix and a number.
  struct TListing : TDirectoryListing {
    int Count = 0;
    const wchar_t* Prefix = L"";
    bool Files = false;
    int next = -2;
    bool FindNext(TFindEntry& entry) override {
      if (next >= Count) return false;
      const int i = next++;
      entry.Attributes = FILE_ATTRIBUTE_DIRECTORY;
      entry.Size = 0;
      if (i < 0) {
        entry.Name = i == -2 ? L"." : L"..";
        return true;
      }
      static constexpr const wchar_t* kExtensions[] = {L".tmp", L".log", L".dat", L".js"};
      entry.Name = Prefix + std::to_wstring(i);
      if (Files) {
        entry.Name += kExtensions[i % 4];
        entry.Attributes = FILE_ATTRIBUTE_ARCHIVE;
        entry.Size = uint64_t(i) * 37 % 70000;
      }
      return true;
    }
  };
  static bool IsTempFolder(const std::wstring& folder) {
    return folder.starts_with(L"D:\\Users\\U") && folder.ends_with(L"\\AppData\\Local\\Temp");
  }
};

double PeakCommittedMiB() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof counters;
  ::GetProcessMemoryInfo(::GetCurrentProcess(),
                         reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
  return double(counters.PeakPagefileUsage) / 1048576.0;
}

// The 5,000,000-file scan; false when it failed its own check.
bool ScanFiveMillion() {
  TScanHarnessOn<TSyntheticMachine> scan;
  scan.Machine.FoldersPerProfile = Sized(500, 2);
  scan.Machine.FilesPerFolder = Sized(1000, 3);
  scan.TickOnly({1});
  bool ended = false;
  const double start = Seconds();
  try {
    ended = scan.Scan.Run();
  } catch (const EOutOfMemory& e) {
    std::printf("the 5,000,000-file scan stopped: %s\n", e.what());
  }
  const double seconds = Seconds() - start;
  // The group, a user row per profile, every file, and the system temp group.
  const uint64_t rows = 1 + TSyntheticMachine::kProfiles + scan.Machine.Files() + 1;
  const bool ok = ended && uint64_t(scan.Grid.TotalRows()) == rows;
  Figure("scan_5m_rows_ok", ok ? 1 : 0, 0);
  Figure("scan_5m_seconds", seconds, 1);
  Figure("scan_5m_peak_mib", PeakCommittedMiB(), 0);
  if (!ok)
    std::printf("the 5,000,000-file scan listed %d rows, expected %llu\n", scan.Grid.TotalRows(),
                static_cast<unsigned long long>(rows));
  // A smoke run must pass; a full one reports what it found, which the figure says.
  return ok || !gSmoke;
}

// The scan against the bare walks; false when it failed its own check.
bool ScanAgainstWalks() {
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
      return false;
    }
  }
  int expectedRows = 2 + TProfileFixture::kProfiles * (1 + filesPerProfile);
  if (scan.Grid.TotalRows() != expectedRows) {
    std::printf("scan listed %d rows, expected %d\n", scan.Grid.TotalRows(), expectedRows);
    return false;
  }
  double scanTime = Median(scans), walkTime = Median(walks), oneWalkTime = Median(oneWalks);
  Figure("scan_ms", scanTime * 1000, 1);
  Figure("bare_walks_ms", walkTime * 1000, 1);
  Figure("bare_one_walk_ms", oneWalkTime * 1000, 1);
  Figure("scan_vs_walk_ratio", scanTime / walkTime, 2);
  Figure("scan_vs_one_walk_ratio", scanTime / oneWalkTime, 2);
  return true;
}
} // namespace

int main(int argc, char** argv) {
  ReadBenchArguments(argc, argv);
  if (!ScanAgainstWalks() || !ScanFiveMillion()) return 1;
  return Done("bench_scan");
}
