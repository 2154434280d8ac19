// The results grid under a scan-sized load: building the found-files list as the scan builds
// it (the list's own grid layout), against a bare store of the same cells; sorting by a text
// column, against std::sort of the same texts; and the memory one file row costs.
#include "BenchTiming.h"
#include "grid/Grid.h"

#include "main/CleanerState.h"
#include "main/FoundFilesList.h"

#include <windows.h>

#define PSAPI_VERSION 2
#include <psapi.h>

#include <malloc.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <new>
#include <string>
#include <vector>

// The heap bytes the program holds while counting is on, to weigh what a row costs; the
// timed runs leave it off.
static size_t gLiveBytes = 0;
static bool gCounting = false;

void* operator new(size_t size) {
  void* block = std::malloc(size ? size : 1);
  if (!block) throw std::bad_alloc();
  if (gCounting) gLiveBytes += _msize(block);
  return block;
}
static void Release(void* block) noexcept {
  if (!block) return;
  if (gCounting) gLiveBytes -= _msize(block);
  std::free(block);
}
void operator delete(void* block) noexcept {
  Release(block);
}
void operator delete(void* block, size_t) noexcept {
  Release(block);
}

namespace {

constexpr int kGroups = 10;
constexpr int kUsers = 20;

// The texts of one file row; the names are scrambled so that a sort has work to do.
struct FileTexts {
  std::wstring path, size, realSize, type;
};

FileTexts TextsOf(int group, int user, int file) {
  const unsigned hash = static_cast<unsigned>(file + 7919 * user + 104729 * group) * 2654435761u;
  wchar_t name[16];
  swprintf(name, 16, L"%08x", hash);
  FileTexts t;
  t.path = L"C:\\Users\\user" + std::to_wstring(user) + L"\\AppData\\Local\\Temp\\cache\\" + name +
           L".tmp";
  const int bytes = static_cast<int>(hash % 5000000);
  t.size = std::to_wstring(bytes / 1024) + L".5 KB";
  t.realSize = std::to_wstring(bytes);
  t.type = L"TMP File";
  return t;
}

// Builds the list exactly as the scan does: group rows, user rows collapsed at their first
// child, file rows with five cell writes each, every folder search under the update lock.
int BuildScanList(TVxGrid& grid, int filesPerUser) {
  int rows = 0;
  for (int g = 0; g < kGroups; ++g) {
    const int groupRow = grid.AppendRows(1);
    grid.CellByKey(kFileNameColumn, grid.LastAddedIndex())->SetTextValue(L"User Temp Files");
    ++rows;
    for (int u = 0; u < kUsers; ++u) {
      grid.AppendChildRow(groupRow, true);
      grid.ExpandRow(grid.LastAddedIndex() - 1, false);
      grid.CellByKey(kFileNameColumn, grid.LastAddedIndex())
          ->SetTextValue(L"user" + std::to_wstring(u));
      grid.CellByKey(kSelectCheckColumn, grid.LastAddedIndex())->SetBoolValue(true);
      const int parent = grid.LastAddedIndex();
      ++rows;
      grid.LockUpdates();
      for (int f = 0; f < filesPerUser; ++f) {
        const FileTexts t = TextsOf(g, u, f);
        grid.AppendChildRow(parent, true);
        grid.ExpandRow(grid.LastAddedIndex() - 1, false);
        const int row = grid.TotalRows() - 1;
        grid.CellByKey(kFileNameColumn, row)->SetTextValue(t.path);
        grid.CellByKey(kFileSizeColumn, row)->SetTextValue(t.size);
        grid.CellByKey(kRealFileSizeColumn, row)->SetTextValue(t.realSize);
        grid.CellByKey(kFileTypeColumn, row)->SetTextValue(t.type);
        grid.CellByKey(kSelectCheckColumn, row)->SetBoolValue(true);
        ++rows;
      }
      grid.UnlockUpdates();
    }
  }
  return rows;
}

// The bare baseline: seven heap cells per row in plain per-column vectors.
struct BareCell {
  virtual ~BareCell() = default;
};
struct BareText : BareCell {
  explicit BareText(std::wstring t) : text(std::move(t)) {}
  std::wstring text;
};
struct BareInt : BareCell {
  int value = 0;
};
struct BareBool : BareCell {
  bool value = true;
};

int BuildBare(std::vector<std::vector<std::unique_ptr<BareCell>>>& columns, int filesPerUser) {
  columns.clear();
  columns.resize(7);
  int rows = 0;
  auto add = [&](const FileTexts& t) {
    columns[0].push_back(std::make_unique<BareText>(L""));
    columns[1].push_back(std::make_unique<BareInt>());
    columns[2].push_back(std::make_unique<BareText>(t.path));
    columns[3].push_back(std::make_unique<BareText>(t.size));
    columns[4].push_back(std::make_unique<BareText>(t.type));
    columns[5].push_back(std::make_unique<BareBool>());
    columns[6].push_back(std::make_unique<BareText>(t.realSize));
    ++rows;
  };
  for (int g = 0; g < kGroups; ++g) {
    add(FileTexts{L"User Temp Files", L"", L"", L""});
    for (int u = 0; u < kUsers; ++u) {
      add(FileTexts{L"user" + std::to_wstring(u), L"", L"", L""});
      for (int f = 0; f < filesPerUser; ++f)
        add(TextsOf(g, u, f));
    }
  }
  return rows;
}

// The process's committed private memory. Wine leaves PrivateUsage at 0; there the committed
// private regions of the address space, which are what Windows counts in it, are summed.
size_t PrivateBytes() {
  PROCESS_MEMORY_COUNTERS_EX counters{};
  counters.cb = sizeof(counters);
  if (GetProcessMemoryInfo(GetCurrentProcess(),
                           reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters),
                           sizeof(counters)) &&
      counters.PrivateUsage > 0)
    return counters.PrivateUsage;
  size_t committed = 0;
  MEMORY_BASIC_INFORMATION region;
  const char* at = nullptr;
  while (VirtualQuery(at, &region, sizeof(region)) == sizeof(region)) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) committed += region.RegionSize;
    const char* next = static_cast<const char*>(region.BaseAddress) + region.RegionSize;
    if (next <= at) break;
    at = next;
  }
  return committed;
}

// A found-files list as a scan of real temporary folders leaves it: eight users, a few thousand
// folders under their Temp folders, file names of 20 to 40 characters, a few kinds of file;
// built through the list itself. Returns the committed bytes the file rows took, per file row;
// the list stays in grid.
double FoundRowsBytesPerRow(int files, std::unique_ptr<TVxGrid>& grid) {
  static const wchar_t* const kUsers[] = {L"Administrator", L"jsmith",   L"maria.gonzalez",
                                          L"dev",           L"Kowalski", L"backup-operator",
                                          L"t.nakamura",    L"Guest"};
  struct Kind {
    const wchar_t* ext;
    const wchar_t* type;
  };
  static const Kind kKinds[] = {
      {L".tmp", L"TMP File"},  {L".log", L"Text Document"},
      {L".dat", L"DAT File"},  {L".js", L"JavaScript File"},
      {L".png", L"PNG image"}, {L".cab", L"Cabinet File"},
      {L".etl", L"ETL File"},  {L".html", L"Microsoft Edge HTML Document"}};
  constexpr int kFoldersPerUser = 400;
  unsigned seed = 12345;
  auto next = [&seed] { return seed = seed * 1103515245u + 12345u, seed >> 8; };
  grid = std::make_unique<TVxGrid>();
  SetupFoundFilesGrid(*grid);
  TCleanerState state;
  TFoundFilesList list(*grid, state);
  const size_t before = PrivateBytes();
  list.AppendGroupRow(L"User Temp Files");
  const int perFolder = (files + 8 * kFoldersPerUser - 1) / (8 * kFoldersPerUser);
  int made = 0, users = 0;
  for (int u = 0; u < 8 && made < files; ++u, ++users) {
    list.AppendUserRow(kUsers[u]);
    for (int f = 0; f < kFoldersPerUser && made < files; ++f) {
      wchar_t folder[64];
      if (f % 3 == 0)
        swprintf(folder, 64, L"{%08X-%04X-4%03X-A%03X-%06X%06X}", next(), next() & 0xFFFF,
                 next() & 0xFFF, next() & 0xFFF, next() & 0xFFFFFF, next() & 0xFFFFFF);
      else
        swprintf(folder, 64, L"%s%u", f % 3 == 1 ? L"_MEI" : L"chrome_drag", next() % 100000);
      const std::wstring path =
          std::wstring(L"C:\\Users\\") + kUsers[u] + L"\\AppData\\Local\\Temp\\" + folder + L"\\";
      TFoundFilesList::TUpdateLock lock(list);
      for (int k = 0; k < perFolder && made < files; ++k, ++made) {
        const Kind& kind = kKinds[next() % 8];
        std::wstring name;
        const int length = 20 + int(next() % 21) - int(wcslen(kind.ext));
        for (int c = 0; c < length; ++c)
          name += L"abcdefghijklmnopqrstuvwxyz0123456789_-"[next() % 38];
        list.AppendFileRow(path + name + kind.ext, next() % 50000000, kind.type);
      }
    }
  }
  const size_t after = PrivateBytes();
  if (list.RowCount() != 1 + users + files || !list.IsFileRow(list.RowCount() - 1)) {
    std::fprintf(stderr, "bench_grid: the found-files list has the wrong rows\n");
    std::exit(1);
  }
  return static_cast<double>(after - before) / files;
}

// Scrolling: a tree grid of 200 collapsed groups whose subtrees hold the rest of the rows, as
// a scan leaves them. A scroll message first updates the range, then moves the position.
struct ScrollGrid : TVxGrid {
  void Step(int target) {
    UpdateVertScrollRange(false);
    VertScrollBar().SetPosition(target);
  }
};

std::unique_ptr<ScrollGrid> BuildScrollTree(int usersPerGroup, int filesPerUser) {
  auto grid = std::make_unique<ScrollGrid>();
  grid->SetBounds(0, 0, 600, 400);
  grid->Columns().Add<TVxTreeColumn>(L"FileName");
  grid->LockUpdates();
  for (int g = 0; g < 200; ++g) {
    const int group = grid->AppendRows(1);
    for (int u = 0; u < usersPerGroup; ++u) {
      grid->AppendChildRow(group, true);
      grid->ExpandRow(grid->LastAddedIndex() - 1, false);
      const int user = grid->LastAddedIndex();
      for (int f = 0; f < filesPerUser; ++f) {
        grid->AppendChildRow(user, true);
        grid->ExpandRow(grid->LastAddedIndex() - 1, false);
      }
    }
  }
  grid->UnlockUpdates();
  return grid;
}

// Each row's parent as the levels in row order make it: the nearest row above one level up
// (-1 for a top row). Read from the levels alone, not from what the grid keeps.
std::vector<int> ParentsByLevel(TVxGrid& grid) {
  std::vector<int> parents, lastAtLevel;
  for (int r = 0; r < grid.TotalRows(); ++r) {
    const size_t level = size_t(grid.LevelOf(r));
    lastAtLevel.resize(level + 1, -1);
    lastAtLevel[level] = r;
    parents.push_back(level == 0 ? -1 : lastAtLevel[level - 1]);
  }
  return parents;
}

// Writes each row's position before the sort into the RealFileSize column, which the sort does
// not compare, and returns each row's parent then.
std::vector<int> MarkRows(TVxGrid& grid) {
  for (int r = 0; r < grid.TotalRows(); ++r)
    grid.CellByKey(kRealFileSizeColumn, r)->SetTextValue(std::to_wstring(r));
  return ParentsByLevel(grid);
}

// What a tree sort promises: every row stays below the parent it had, so every subtree stays
// whole, and the children of each parent stand in ascending FileName order.
bool SortedAsATree(TVxGrid& grid, const std::vector<int>& parentsBefore) {
  if (grid.TotalRows() != int(parentsBefore.size())) return false;
  const std::vector<int> parents = ParentsByLevel(grid);
  auto before = [&](int row) { return std::stoi(grid.CellText(6, row)); };
  std::vector<int> lastChild(parents.size() + 1, -1); // by parent row + 1
  for (int r = 0; r < grid.TotalRows(); ++r) {
    const int parent = parents[size_t(r)];
    const int expected = parentsBefore[size_t(before(r))];
    if ((parent < 0) != (expected < 0) || (parent >= 0 && before(parent) != expected)) return false;
    int& previous = lastChild[size_t(parent + 1)];
    if (previous >= 0 && grid.CellText(2, previous) > grid.CellText(2, r)) return false;
    previous = r;
  }
  return true;
}

// 100 line steps, then Home and End, repeated to be measurable; the seconds per round.
double TimeScrolling(ScrollGrid& grid) {
  constexpr int kRounds = 200;
  const double start = Seconds();
  for (int round = 0; round < kRounds; ++round) {
    for (int k = 1; k <= 100; ++k)
      grid.Step(grid.VertScrollBar().Position() + 1);
    grid.Step(0);
    grid.Step(grid.VertScrollBar().Max());
    grid.Step(0);
  }
  return (Seconds() - start) / kRounds;
}

} // namespace

int main(int argc, char** argv) {
  ReadBenchArguments(argc, argv);
  const int repeats = Sized(5, 1);
  const int scale = Sized(1000, 10);
  const int sizes[] = {50 * scale, 100 * scale, 200 * scale};

  // Memory first, while the process has nothing else on its heap: the committed memory of a
  // million found-file rows, then all heap bytes a 200,000-file list holds, its texts'
  // characters included.
  // Kept to the end, so that the blocks it would free do not speed up the timed builds.
  std::unique_ptr<TVxGrid> foundRows;
  const double foundRowBytes = FoundRowsBytesPerRow(Sized(1000000, 1000), foundRows);
  auto measured = std::make_unique<TVxGrid>();
  SetupFoundFilesGrid(*measured);
  gCounting = true;
  const size_t withColumns = gLiveBytes;
  BuildScanList(*measured, sizes[2] / (kGroups * kUsers));
  const double bytesPerRow = static_cast<double>(gLiveBytes - withColumns) / measured->TotalRows();
  gCounting = false;

  measured.reset();

  std::vector<double> perRow[3], bare200;
  for (int repeat = 0; repeat < repeats; ++repeat) {
    for (int s = 0; s < 3; ++s) {
      const int filesPerUser = sizes[s] / (kGroups * kUsers);
      auto grid = std::make_unique<TVxGrid>();
      SetupFoundFilesGrid(*grid);
      const double start = Seconds();
      const int rows = BuildScanList(*grid, filesPerUser);
      perRow[s].push_back((Seconds() - start) * 1e6 / rows);
    }
    std::vector<std::vector<std::unique_ptr<BareCell>>> columns;
    const double start = Seconds();
    const int rows = BuildBare(columns, sizes[2] / (kGroups * kUsers));
    bare200.push_back((Seconds() - start) * 1e6 / rows);
  }

  // Sorting: the grid's sort by FileName against std::sort of the same texts.
  std::vector<double> sortRatios;
  for (int repeat = 0; repeat < repeats; ++repeat) {
    TVxGrid grid;
    SetupFoundFilesGrid(grid);
    BuildScanList(grid, sizes[2] / (kGroups * kUsers));
    const std::vector<int> parents = MarkRows(grid);
    std::vector<std::wstring> texts;
    texts.reserve(grid.TotalRows());
    for (int r = 0; r < grid.TotalRows(); ++r)
      texts.push_back(grid.CellText(2, r));
    double start = Seconds();
    std::sort(texts.begin(), texts.end());
    const double plain = Seconds() - start;
    start = Seconds();
    grid.SortByColumn(2, true);
    const double ours = Seconds() - start;
    if (!SortedAsATree(grid, parents)) {
      std::fprintf(stderr, "bench_grid: the grid's sort broke the tree or its order\n");
      return 1;
    }
    sortRatios.push_back(ours / plain);
  }

  // The same scrolling over 1,000 and over 1,000,000 rows.
  std::vector<double> scrollRatios;
  {
    const int usersEach = Sized(5, 1), filesEach = Sized(999, 9);
    auto small = BuildScrollTree(1, 3);
    auto large = BuildScrollTree(usersEach, filesEach);
    if (small->TotalRows() != 1000 ||
        large->TotalRows() != 200 * (1 + usersEach * (1 + filesEach))) {
      std::fprintf(stderr, "bench_grid: the scroll trees have the wrong sizes\n");
      return 1;
    }
    for (int repeat = 0; repeat < Sized(7, 1); ++repeat) {
      const double a = TimeScrolling(*small);
      const double b = TimeScrolling(*large);
      scrollRatios.push_back(b / a);
    }
  }

  const double us50 = Median(perRow[0]), us100 = Median(perRow[1]), us200 = Median(perRow[2]);
  Figure("grid_build_us_per_row_50k", us50, 3);
  Figure("grid_build_us_per_row_100k", us100, 3);
  Figure("grid_build_us_per_row_200k", us200, 3);
  Figure("grid_build_vs_bare_ratio", us200 / Median(bare200), 2);
  Figure("grid_sort_vs_stdsort_ratio", Median(sortRatios), 2);
  Figure("grid_bytes_per_row", bytesPerRow, 1);
  Figure("found_rows_bytes_per_row_1m", foundRowBytes, 1);
  Figure("grid_scroll_ratio_1m_vs_1k", Median(scrollRatios), 2);
  return Done("bench_grid");
}
