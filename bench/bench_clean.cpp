// The clean run overwriting and deleting listed files against the plainest program that puts the
// same bytes on disk: one open, three passes of large writes each followed by a flush, close,
// delete. Prints the median ratio cleaner / baseline for 100 files of 1 MiB and for 1,000 files
// of 4 KiB.
//
// Then a long run as the window shows it: 50,000 files of 512 bytes cleaned with the log and the
// progress bar in a shown window, against wiping the same number of files with the same calls and
// no window, list or log; and the time per file over the last 5,000 files against the first 5,000,
// which stays flat only when nothing in the run grows with the log.
#include "BenchTiming.h"
#include "main/CleanHarness.h"
#include "main/CleanRandom.h"
#include "main/CleanRun.h"
#include "main/CleanerState.h"
#include "main/FileWiper.h"
#include "main/FoundFilesList.h"
#include "main/TestFolder.h"
#include "main/UnixLink.h"
#include "main/Win32Services.h"
#include "styled/FxProgressBar.h"
#include "ui/Application.h"
#include "ui/Control.h"
#include "ui/StdCtrls.h"
#include "ui/Timer.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
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
    State.SearchedFolders = {LocateSearchedFolder(Machine, W(folder))};
    List.Clear();
    List.AppendGroupRow(L"System Temp Files");
    List.SetFileParentToGroup();
    for (const std::string& path : paths)
      List.AppendFileRow(W(path), size, L"Temporary file");
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

// The services as Windows provides them, noting when each file is opened for its wipe.
struct TTimedServices : TWin32Services {
  std::vector<double> Opens;
  std::unique_ptr<TOpenFile> OpenExisting(const std::wstring& path) override {
    Opens.push_back(Seconds());
    return TWin32Services::OpenExisting(path);
  }
};

// count files of 512 bytes named <prefix><i>.tmp in folder, made from the Unix side (through
// the Windows side each costs Wine milliseconds) and written to the disk before anything is
// timed, so that the first flushes timed do not pay for the whole set. Returns their paths.
std::vector<std::string> MakeSmallFiles(const TTestFolder& folder, const std::string& prefix,
                                        int count) {
  const std::string unix = UnixPathOf(folder.Path());
  const std::string done = prefix + "done";
  RunUnixShell("cd '" + unix + "' && i=0; while [ $i -lt " + std::to_string(count) +
               " ]; do printf '%512s' '' > " + prefix + "$i.tmp; i=$((i + 1)); done; sync; : > " +
               done);
  // Wine may report the Unix process finished before it is.
  for (int i = 0;
       i < 6000 && ::GetFileAttributesA((folder / done).c_str()) == INVALID_FILE_ATTRIBUTES; ++i)
    ::Sleep(50);
  std::vector<std::string> paths;
  for (int i = 0; i < count; ++i)
    paths.push_back(folder / (prefix + std::to_string(i) + ".tmp"));
  return paths;
}

struct TWindowRun {
  double Ratio = 0, LastVsFirst = 0;
};

TWindowRun CleanThroughWindow(int count, int sliceFiles) {
  TTestFolder folder;
  const std::vector<std::string> listed = MakeSmallFiles(folder, "c", count);
  const std::vector<std::string> raw = MakeSmallFiles(folder, "r", count);

  TCleanHarnessOn<TTimedServices> window;
  window.Form.SetBounds(0, 0, 640, 480);
  window.Memo1->SetParent(&window.Form);
  window.Memo1->SetBounds(0, 0, 640, 400);
  window.Memo1->SetScrollBars(ssBoth);
  window.Memo1->SetWordWrap(false);
  window.Bar->SetParent(&window.Form);
  window.Bar->SetBounds(0, 410, 640, 30);
  window.Form.Show();
  window.State.SearchedFolders = {LocateSearchedFolder(window.Machine, W(folder.Path()))};
  {
    TFoundFilesList::TUpdateLock lock(window.List);
    window.List.AppendGroupRow(L"System Temp Files");
    window.List.SetFileParentToGroup();
    for (const std::string& path : listed)
      window.List.AppendFileRow(W(path), 512, L"TMP File");
  }
  // The bare wipes take half their files before the run and half after it, so that neither side
  // alone meets a file system that has grown slower or faster over the minutes.
  TWin32Services services;
  TFileWiper wiper(services);
  wiper.TrustFolders(window.State.SearchedFolders);
  int wiped = 0;
  double rawTime = 0;
  auto wipeRaw = [&](size_t from, size_t to) {
    const double start = Seconds();
    for (size_t i = from; i < to; ++i)
      wiped += wiper.OverwriteAndDeleteFile(W(raw[i])) == wrRemoved;
    rawTime += Seconds() - start;
  };
  wipeRaw(0, raw.size() / 2);
  const double start = Seconds();
  window.Clean.Run();
  const double end = Seconds();
  const double cleanTime = end - start;
  wipeRaw(raw.size() / 2, raw.size());

  const std::vector<double>& opens = window.Machine.Opens;
  const int logged = window.Memo1->Lines().Count();
  // Header, one line a file, the empty line and the total.
  if (int(opens.size()) != count || wiped != count || logged != count + 3) {
    std::fprintf(stderr, "bench_clean: %d of %d files opened, %d wiped, %d log lines\n",
                 int(opens.size()), count, wiped, logged);
    std::exit(1);
  }
  const double first = opens[size_t(sliceFiles)] - opens[0];
  const double last = end - opens[size_t(count - sliceFiles)];
  return {cleanTime / rawTime, last / first};
}

} // namespace

int main(int argc, char** argv) {
  ReadBenchArguments(argc, argv);
  Figure("clean_vs_raw_ratio_1mib", Ratio(Sized(100, 10), 1 << 20, Sized(7, 1)), 3);
  Figure("clean_vs_raw_ratio_4kib", Ratio(Sized(1000, 10), 4096, Sized(7, 1)), 3);
  const TWindowRun run = CleanThroughWindow(Sized(50000, 300), Sized(5000, 30));
  Figure("clean_window_50k_vs_raw_ratio", run.Ratio, 3);
  Figure("clean_window_per_file_last_vs_first_ratio", run.LastVsFirst, 3);
  return Done("bench_clean");
}
