// The clean run overwriting and deleting listed files against the plainest program that puts the
// same bytes on disk: one open, three passes of large writes each followed by a flush, close,
// delete. Prints the median ratio cleaner / baseline for 100 files of 1 MiB and for 1,000 files
// of 4 KiB.
#include "BenchTiming.h"
#include "main/CleanHarness.h"
#include "main/CleanRandom.h"
#include "main/CleanRun.h"
#include "main/CleanerState.h"
#include "main/FileWiper.h"
#include "main/FoundFilesList.h"
#include "main/TestFolder.h"
#include "main/Win32Services.h"
#include "styled/FxProgressBar.h"
#include "ui/Application.h"
#include "ui/Control.h"
#include "ui/StdCtrls.h"
#include "ui/Timer.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// The file system writes freshly made files back lazily, and the first flush that follows pays
// for all of them; each file is flushed as it is made, so neither contender pays for the set-up.
std::string MakeSettledFile(const TTestFolder& folder, const std::string& name,
                            const std::string& content) {
  std::string path = folder.MakeFile(name, content);
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  ::FlushFileBuffers(file);
  ::CloseHandle(file);
  return path;
}

// Both sets are made side by side, so neither meets files that have sat longer in the cache.
void MakeFiles(const TTestFolder& folder, int count, size_t size, std::vector<std::string>& one,
               std::vector<std::string>& other) {
  std::string content(size, 'j');
  for (int i = 0; i < count; ++i) {
    one.push_back(MakeSettledFile(folder, std::to_string(i) + ".clean.tmp", content));
    other.push_back(MakeSettledFile(folder, std::to_string(i) + ".raw.tmp", content));
  }
}

// The baseline's bytes: the same 4096-byte pass buffer repeated, written in one piece.
std::vector<uint8_t> PassBytes(size_t size) {
  std::vector<uint8_t> bytes(std::max<size_t>(size, TFileWiper::kPassBytes));
  TCleanRandom generator;
  generator.Fill(bytes.data(), TFileWiper::kPassBytes);
  for (size_t at = TFileWiper::kPassBytes; at < bytes.size(); at += TFileWiper::kPassBytes)
    std::copy_n(bytes.begin(), TFileWiper::kPassBytes, bytes.begin() + at);
  return bytes;
}

void Baseline(const std::string& path, const std::vector<uint8_t>& bytes, size_t size) {
  HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
  for (int pass = 0; pass < 3; ++pass) {
    ::SetFilePointer(file, 0, nullptr, FILE_BEGIN);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), DWORD(size), &written, nullptr);
    ::FlushFileBuffers(file);
  }
  ::CloseHandle(file);
  ::DeleteFileA(path.c_str());
}

// The clean run as the window holds it, on the real machine, over one group row and its files.
struct TCleanBench : TCleanHarnessOn<TWin32Services> {
  void ListFiles(const std::string& folder, const std::vector<std::string>& paths, size_t size) {
    State.SearchedFolders = {LocateSearchedFolder(Machine, folder)};
    List.Clear();
    List.AppendGroupRow("System Temp Files");
    List.SetFileParentToGroup();
    for (const std::string& path : paths)
      List.AppendFileRow(path, size, "Temporary file");
  }
};

// The machine is shared and its load comes in bursts, so the two contenders take turns in small
// slices and each round compares their sums.
double Ratio(int count, size_t size, int rounds) {
  const int kSlices = 10;
  std::vector<uint8_t> bytes = PassBytes(size);
  TCleanBench bench;
  std::vector<double> ratios;
  for (int round = 0; round < rounds; ++round) {
    TTestFolder folder;
    std::vector<std::string> cleaned, raw;
    MakeFiles(folder, count, size, cleaned, raw);
    double clean = 0, base = 0;
    for (int slice = 0; slice < kSlices; ++slice) {
      int from = count * slice / kSlices, to = count * (slice + 1) / kSlices;
      bench.ListFiles(folder.Path(), {cleaned.begin() + from, cleaned.begin() + to}, size);
      for (int turn = 0; turn < 2; ++turn) {
        double start = Seconds();
        if ((turn + slice + round) % 2 == 0) {
          bench.Clean.Run();
          clean += Seconds() - start;
        } else {
          for (int i = from; i < to; ++i)
            Baseline(raw[i], bytes, size);
          base += Seconds() - start;
        }
      }
    }
    ratios.push_back(clean / base);
  }
  std::sort(ratios.begin(), ratios.end());
  return ratios[ratios.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
  ReadBenchArguments(argc, argv);
  Figure("clean_vs_raw_ratio_1mib", Ratio(Sized(100, 10), 1 << 20, Sized(7, 1)), 3);
  Figure("clean_vs_raw_ratio_4kib", Ratio(Sized(1000, 10), 4096, Sized(7, 1)), 3);
  return Done("bench_clean");
}
