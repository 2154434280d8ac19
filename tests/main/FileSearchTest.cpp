#include "main/FileSearch.h"

#include "main/ScanHarness.h"
#include "main/TestFolder.h"
#include "main/UnixLink.h"
#include "DecimalSeparatorPin.h"
#include "ui/Exception.h"
#include "ui/Numbers.h"

#include <gtest/gtest.h>

#include <map>

namespace {
// A group row to take the files, as a single-folder category has it.
template <class THarness> void AppendParentRow(THarness& scan) {
  scan.Grid.AppendRows(1);
  scan.State.GroupRow = scan.State.FileParentRow = scan.Grid.LastAddedIndex();
}

uint64_t FileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  ::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data);
  return (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

// The shell takes longer than the scan's message interval over every 40th kind it is asked about.
class TSlowTypeMachine : public TFakeMachine {
public:
  std::vector<std::string> Slow;
  int Questions = 0;
  std::wstring ShellTypeName(const std::wstring& path) override {
    if (Questions++ % 40 == 0) {
      Slow.push_back(WideToAnsi(path));
      OutlastTheMessageInterval();
    }
    return TFakeMachine::ShellTypeName(path);
  }
};

// Breaks the listing of one folder after a number of entries, as a failing disk would.
class TFailingMachine : public TFakeMachine {
public:
  std::string FailIn;
  int EntriesBeforeFailure = 0;

  class TFailingListing : public TDirectoryListing {
  public:
    TFailingListing(std::unique_ptr<TDirectoryListing> inner, int entries)
        : inner_(std::move(inner)), left_(entries) {}
    bool FindNext(TFindEntry& entry) override {
      if (--left_ < 0) throw Exception("disk gone");
      return inner_->FindNext(entry);
    }

  private:
    std::unique_ptr<TDirectoryListing> inner_;
    int left_;
  };

  std::unique_ptr<TDirectoryListing> FindFirst(const std::wstring& pattern,
                                               TFindEntry& first) override {
    auto listing = TFakeMachine::FindFirst(pattern, first);
    if (!listing || pattern != W(FailIn + "*.*")) return listing;
    return std::make_unique<TFailingListing>(std::move(listing), EntriesBeforeFailure);
  }
};
} // namespace

TEST(FileSearchTest, FilesOfEveryDepthBecomeSiblingsInDepthFirstOrder) {
  TTestFolder tree;
  tree.MakeFile("a.txt", std::string(1024, 'a'));
  tree.MakeFile("sub1\\b.log", std::string(1025, 'b'));
  tree.MakeFile("sub1\\deeper\\c.dat", std::string(1536, 'c'));
  tree.MakeFile("sub1\\deeper\\noextension", "d");
  tree.MakeFile("sub2\\e.txt", "");
  tree.MakeFile("f.tmp", std::string(3000, 'f'));
  tree.MakeFolder("empty");
  const std::map<std::string, const wchar_t*> sizeTexts = {
      {tree / "a.txt", L"1024 B"},
      {tree / "sub1\\b.log", L"1 KB"},
      {tree / "sub1\\deeper\\c.dat", L"1.5 KB"},
      {tree / "sub1\\deeper\\noextension", L"1 B"},
      {tree / "sub2\\e.txt", L"0 B"},
      {tree / "f.tmp", L"2.9 KB"},
  };
  std::vector<std::string> expected;
  for (const auto& file : sizeTexts)
    expected.push_back(file.first);
  SortDepthFirst(tree.Path(), expected);
  TDecimalSeparatorPin point(L'.');

  TScanHarness scan;
  AppendParentRow(scan);
  scan.Bar->SetMax(1000);
  // The folder without its trailing backslash: the search adds it.
  scan.Scan.Search().SearchFiles(W(tree.Path().substr(0, tree.Path().size() - 1)), true);

  ASSERT_EQ(scan.Grid.TotalRows(), 1 + int(expected.size()));
  TWin32Services shell;
  uint64_t total = 0;
  for (size_t i = 0; i < expected.size(); ++i) {
    int row = 1 + int(i);
    const std::string& path = expected[i];
    uint64_t size = FileSize(path);
    total += size;
    EXPECT_EQ(scan.Name(row), path);
    EXPECT_EQ(scan.Grid.LevelOf(row), 1);
    EXPECT_EQ(scan.Grid.ParentRowOf(row), 0);
    EXPECT_EQ(scan.Text(kFileSizeColumn, row), sizeTexts.at(path)) << path;
    EXPECT_EQ(scan.Text(kRealFileSizeColumn, row), std::to_wstring(size)) << path;
    EXPECT_EQ(scan.Text(kFileTypeColumn, row), shell.ShellTypeName(W(path))) << path;
    EXPECT_TRUE(scan.Checked(row));
    // File rows get no column defaults.
    EXPECT_EQ(scan.Text(kNumberColumn, row), L"");
    EXPECT_FALSE(scan.Grid.IsRowDisplayed(row));
  }
  // Collapsed on its first child; the group keeps its defaults.
  EXPECT_FALSE(scan.Grid.IsRowExpanded(0));
  EXPECT_EQ(scan.Text(kNumberColumn, 0), L"0");
  EXPECT_FALSE(scan.Grid.UpdatesLocked());

  EXPECT_EQ(scan.State.FoundBytes, total);
  EXPECT_EQ(scan.Bar->Position(), int(total / 1024));
  EXPECT_EQ(scan.Status(), "Search: " + expected.back());
}

TEST(FileSearchTest, IndexDatIsCountedButNeverListedWhileOtherCasesAre) {
  TTestFolder tree;
  tree.MakeFile("cache\\index.dat", std::string(2000, 'i'));
  // Names differ only in case across folders: the file system may not tell them apart.
  tree.MakeFile("other\\INDEX.DAT", std::string(10, 'I'));
  tree.MakeFile("Index.dat", std::string(5, 'x'));
  tree.MakeFile("hidden.tmp", "h", FILE_ATTRIBUTE_HIDDEN);
  tree.MakeFile("system.tmp", "s", FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_HIDDEN);
  tree.MakeFile("readonly.tmp", "r", FILE_ATTRIBUTE_READONLY);

  TScanHarness scan;
  AppendParentRow(scan);
  scan.Scan.Search().SearchFiles(W(tree.Path()), true);
  std::vector<std::string> names = scan.ChildNames(0);
  std::sort(names.begin(), names.end());
  std::vector<std::string> expected = {tree / "Index.dat", tree / "other\\INDEX.DAT",
                                       tree / "hidden.tmp", tree / "readonly.tmp",
                                       tree / "system.tmp"};
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names, expected);
  EXPECT_EQ(scan.State.FoundBytes, 2000u + 10 + 5 + 3);

  uint64_t total = 7;
  scan.Scan.Search().AnalyzeFolder(W(tree.Path()), total, L"User Temp Files");
  EXPECT_EQ(total, 7u + 2000 + 10 + 5 + 3);
  std::string lastFolder;
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA((tree / "*.*").c_str(), &data);
  do {
    if ((data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && data.cFileName[0] != '.')
      lastFolder = data.cFileName;
  } while (::FindNextFileA(find, &data));
  ::FindClose(find);
  // Set after each subfolder's analysis returns: the last one met at the top.
  EXPECT_EQ(scan.Status(), "Analysis: User Temp Files " + lastFolder);
}

TEST(FileSearchTest, AFiveGibibyteFileReadsFiveGB) {
  TTestFolder tree;
  std::string path = tree.MakeFile("big.bin", "");
  {
    // Sparse where the file system allows: only the length matters.
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    LARGE_INTEGER length;
    length.QuadPart = 5368709120LL;
    bool sized = ::SetFilePointerEx(file, length, nullptr, FILE_BEGIN) && ::SetEndOfFile(file);
    ::CloseHandle(file);
    ASSERT_TRUE(sized);
  }
  ASSERT_EQ(FileSize(path), 5368709120ull);

  TScanHarness scan;
  AppendParentRow(scan);
  scan.Scan.Search().SearchFiles(W(tree.Path()), true);
  ASSERT_EQ(scan.Grid.TotalRows(), 2);
  EXPECT_EQ(scan.Text(kFileSizeColumn, 1), L"5 GB");
  EXPECT_EQ(scan.Text(kRealFileSizeColumn, 1), L"5368709120");
  EXPECT_EQ(scan.State.FoundBytes, 5368709120ull);
  // The bar keeps within its range.
  EXPECT_EQ(scan.Bar->Position(), scan.Bar->Max());
}

TEST(FileSearchTest, EmptyOrMissingFoldersAddNothingAndLeaveTheStatusAlone) {
  TTestFolder tree;
  tree.MakeFolder("empty");
  TScanHarness scan;
  AppendParentRow(scan);
  scan.Label2->SetCaption(L"before");
  uint64_t total = 0;
  for (std::string folder : {tree / "empty", tree / "missing", std::string()}) {
    scan.Scan.Search().SearchFiles(W(folder), true);
    scan.Scan.Search().AnalyzeFolder(W(folder), total, L"Group");
  }
  EXPECT_EQ(scan.Grid.TotalRows(), 1);
  EXPECT_EQ(total, 0u);
  EXPECT_EQ(scan.Status(), "before");
  EXPECT_FALSE(scan.Grid.UpdatesLocked());
}

// Names are listed as the system stores them, whatever the code page: a folder named
// "..<fullwidth backslash>outside" is an ordinary folder of the searched tree (a best-fit
// conversion would have read it as "..\outside" and left the tree), and a snowman is a snowman.
TEST(FileSearchTest, NamesAreListedAsTheSystemStoresThem) {
  const std::wstring escape = L"..\xFF3C"
                              L"outside",
                     snow = L"snow\x2603.tmp";
  TTestFolder tree;
  tree.MakeFile("outside\\secret.txt", std::string(700, 's'));
  tree.MakeFile("temp\\plain.tmp", std::string(100, 'p'));
  std::wstring temp = W(tree / "temp\\");
  ASSERT_TRUE(::CreateDirectoryW((temp + escape).c_str(), nullptr));
  for (const auto& [name, size] : {std::pair{snow, 20}, std::pair{escape + L"\\inner.tmp", 30}}) {
    HANDLE file =
        ::CreateFileW((temp + name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ::WriteFile(file, std::string(size_t(size), 'x').data(), DWORD(size), &written, nullptr);
    ::CloseHandle(file);
  }

  TScanHarness scan;
  AppendParentRow(scan);
  scan.Scan.Search().SearchFiles(W(tree / "temp"), true);
  std::vector<std::wstring> names;
  for (int row = 1; row < scan.Grid.TotalRows(); ++row)
    names.push_back(scan.Text(kFileNameColumn, row));
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::wstring>{temp + escape + L"\\inner.tmp", temp + L"plain.tmp",
                                              temp + snow}));
  EXPECT_EQ(scan.State.FoundBytes, 150u);
  uint64_t total = 0;
  scan.Scan.Search().AnalyzeFolder(W(tree / "temp"), total, L"Group");
  EXPECT_EQ(total, 150u);
  ::DeleteFileW((temp + snow).c_str());
  ::DeleteFileW((temp + escape + L"\\inner.tmp").c_str());
  ::RemoveDirectoryW((temp + escape).c_str());
}

// Junctions and directory links lead outside the category: what lies behind them would be listed
// and then destroyed by the clean run, and a link to its own ancestor never ends.
TEST(FileSearchTest, FolderLinksAreNeverFollowed) {
  TTestFolder tree;
  tree.MakeFile("outside\\precious.doc", std::string(4096, 'p'));
  tree.MakeFile("temp\\junk.tmp", std::string(100, 'j'));
  tree.MakeFile("temp\\sub\\more.tmp", std::string(50, 'm'));
  TFolderLink toOutside(tree / "temp\\documents", tree / "outside");
  TFolderLink toAncestor(tree / "temp\\sub\\loop", tree / "temp");
  ASSERT_TRUE(toOutside.Made() && toAncestor.Made())
      << "a Unix symlink in the prefix should show as a reparse-point folder";

  TScanHarness scan;
  AppendParentRow(scan);
  scan.Scan.Search().SearchFiles(W(tree / "temp"), true);
  std::vector<std::string> names = scan.ChildNames(0);
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names,
            (std::vector<std::string>{tree / "temp\\junk.tmp", tree / "temp\\sub\\more.tmp"}));
  EXPECT_EQ(scan.State.FoundBytes, 150u);

  uint64_t total = 0;
  scan.Scan.Search().AnalyzeFolder(W(tree / "temp"), total, L"Group");
  EXPECT_EQ(total, 150u);
  EXPECT_EQ(scan.Status(), "Analysis: Group sub");
}

TEST(FileSearchTest, AFailingListingReleasesTheLockAndLeavesCompleteRows) {
  TTestFolder tree;
  for (int i = 0; i < 5; ++i)
    tree.MakeFile(std::string("f") + std::to_string(i) + ".tmp", "x");
  TScanHarness scan;
  TFailingMachine machine;
  machine.FailIn = tree.Path();
  machine.EntriesBeforeFailure = 4;
  TFoundFilesList list(scan.Grid, scan.State);
  TScanProgress progress(*scan.Label2, *scan.Bar, nullptr);
  TFileSearch search(machine, list, scan.State, progress);
  AppendParentRow(scan);

  EXPECT_THROW(search.SearchFiles(W(tree.Path()), true), Exception);
  EXPECT_FALSE(scan.Grid.UpdatesLocked());
  ASSERT_GT(scan.Grid.TotalRows(), 1);
  int last = scan.Grid.TotalRows() - 1;
  EXPECT_NE(scan.Text(kRealFileSizeColumn, last), L"");
  EXPECT_TRUE(scan.Checked(last));
  // The status line shows the last file handled, though the walk ended in an error.
  EXPECT_EQ(scan.Status(), "Search: " + scan.Name(last));
}

// Messages never run twice within the interval, and always run after an entry that outlasts it;
// whatever runs then sees the status line and the rows exactly as a per-entry update would show
// them.
TEST(FileSearchTest, MessagesRunOnTimeAndSeeTheEntryJustHandled) {
  TTestFolder tree;
  for (int i = 0; i < 400; ++i)
    // A kind of its own per file, so that each one costs a question to the shell.
    tree.MakeFile(std::string("d") + std::to_string(i % 4) + "\\f" + std::to_string(i) + ".k" +
                      std::to_string(i),
                  std::string(size_t(i), 'x'));

  TScanHarnessOn<TSlowTypeMachine> scan;
  AppendParentRow(scan);
  scan.Bar->SetMax(1000000);
  std::vector<std::string> seen;
  scan.OnMessages = [&] {
    int last = scan.Grid.TotalRows() - 1;
    if (last < 1) return;
    seen.push_back(scan.Name(last));
    EXPECT_EQ(scan.Status(), "Search: " + scan.Name(last));
    EXPECT_NE(scan.Text(kFileSizeColumn, last), L"");
    EXPECT_NE(scan.Text(kRealFileSizeColumn, last), L"");
    EXPECT_TRUE(scan.Checked(last));
    EXPECT_EQ(scan.Bar->Position(), int(scan.State.FoundBytes / 1024));
  };
  const double start = ScanClock();
  scan.Scan.Search().SearchFiles(W(tree.Path()), true);
  const double seconds = ScanClock() - start;
  EXPECT_LE(scan.MessageRuns, int(seconds / TScanProgress::kMessageInterval) + 1);
  ASSERT_EQ(scan.Machine.Slow.size(), 10u);
  for (const std::string& slow : scan.Machine.Slow)
    EXPECT_GT(std::count(seen.begin(), seen.end(), slow), 0) << slow;
}
