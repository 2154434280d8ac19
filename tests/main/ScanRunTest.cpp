#include "main/ScanRun.h"

#include "DecimalSeparatorPin.h"
#include "main/ScanHarness.h"
#include "main/TestFolder.h"
#include "ui/Exception.h"

#include <gtest/gtest.h>

#include <functional>
#include <utility>

namespace {
using TStrings = std::vector<std::string>;

// Profiles under D:\Users: alice and bob with temp files, carol without any cache folder, and a
// hidden profile folder that is never searched.
template <class TMachine> void MakeNewLayout(TTestFolder& tree, TMachine& machine) {
  MakeDrives(tree, machine);
  machine.SetRecent("D:\\Users\\alice\\AppData\\Roaming\\Microsoft\\Windows\\Recent");
  tree.MakeFile("D\\Users\\alice\\AppData\\Local\\Temp\\a1.tmp", std::string(3000, 'a'));
  tree.MakeFile("D\\Users\\alice\\AppData\\Local\\Temp\\sub\\a2.log", std::string(2000, 'a'));
  tree.MakeFile("D\\Users\\bob\\AppData\\Local\\Temp\\b1.tmp", std::string(4000, 'b'));
  tree.MakeFolder("D\\Users\\carol\\Documents");
  tree.MakeFile("D\\Users\\Hidden\\AppData\\Local\\Temp\\h.tmp", "h");
  ::SetFileAttributesA((tree / "D\\Users\\Hidden").c_str(), FILE_ATTRIBUTE_HIDDEN);
  tree.MakeFile("C\\Windows\\Temp\\s1.tmp", std::string(700, 's'));
}

// The child rows of each user row of the group at row, by profile name.
template <class THarness> std::map<std::string, TStrings> FilesByUser(THarness& scan, int group) {
  std::map<std::string, TStrings> files;
  int last = group + scan.Grid.CountDescendants(group);
  for (int r = group + 1; r <= last; ++r)
    if (scan.Grid.LevelOf(r) == 1) files[scan.Name(r)] = scan.ChildNames(r);
  return files;
}

// Counts the shell's type-name questions and lets a test act when a question is asked; the
// associations change when the test says so.
class TWatchedMachine : public TFakeMachine {
public:
  int TypeNameQuestions = 0;
  bool FileTypesChanged = true;
  bool FileTypesMayHaveChanged() override { return std::exchange(FileTypesChanged, false); }
  std::function<void(const std::string& pattern)> OnFindFirst;
  std::function<void()> OnMessageBox;
  std::wstring ShellTypeName(const std::wstring& path) override {
    ++TypeNameQuestions;
    return TFakeMachine::ShellTypeName(path);
  }
  std::unique_ptr<TDirectoryListing> FindFirst(const std::wstring& pattern,
                                               TFindEntry& first) override {
    if (OnFindFirst) OnFindFirst(WideToAnsi(pattern));
    return TFakeMachine::FindFirst(pattern, first);
  }
  int ShowMessageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                     UINT type) override {
    if (OnMessageBox) OnMessageBox();
    return TFakeMachine::ShowMessageBox(owner, text, caption, type);
  }
};
} // namespace

TEST(ScanRunTest, TemporaryFilesListEveryPlainProfileThenTheSystemTemp) {
  TTestFolder tree;
  TScanHarness scan;
  MakeNewLayout(tree, scan.Machine);
  scan.TickOnly({1});
  scan.Label2->SetCaption(L"previous scan");
  scan.Imagelist->AddIcon(::LoadIconW(nullptr, IDI_APPLICATION));
  ASSERT_EQ(scan.Imagelist->Count(), 1);
  ASSERT_TRUE(scan.Scan.Run());
  // Each folder is enumerated once, the search going over what the size pass listed: the users
  // root, alice's Temp and Temp\sub, bob's Temp, carol's missing Temp, C:\Windows\Temp.
  EXPECT_EQ(scan.Machine.FindFirstCalls, 6);

  EXPECT_EQ(scan.Captions, TStrings{"Varnox - Found files"});
  EXPECT_EQ(scan.PageMoves, 1);
  EXPECT_EQ(scan.Imagelist->Count(), 0);
  EXPECT_EQ(scan.GroupCaptions(), (TStrings{"User Temp Files", "System Temp Files"}));
  int users = scan.GroupRows()[0], system = scan.GroupRows()[1];

  // User rows in the file system's order, hidden profile left out.
  TStrings profiles{tree / "D\\Users\\alice", tree / "D\\Users\\bob", tree / "D\\Users\\carol"};
  SortDepthFirst(tree / "D\\Users\\", profiles);
  for (std::string& path : profiles)
    path = path.substr(path.rfind('\\') + 1);
  EXPECT_EQ(scan.ChildNames(users), profiles);
  auto files = FilesByUser(scan, users);
  EXPECT_EQ(files.size(), 3u);
  const std::string aliceTemp = "D\\Users\\alice\\AppData\\Local\\Temp\\";
  TStrings alice{tree / aliceTemp + "a1.tmp", tree / aliceTemp + "sub\\a2.log"};
  SortDepthFirst(tree / aliceTemp, alice);
  for (std::string& path : alice)
    path = "D:" + path.substr((tree / "D").size());
  EXPECT_EQ(files["alice"], alice);
  EXPECT_EQ(files["bob"], TStrings{"D:\\Users\\bob\\AppData\\Local\\Temp\\b1.tmp"});
  EXPECT_TRUE(files["carol"].empty());
  EXPECT_EQ(scan.ChildNames(system), TStrings{"C:\\Windows\\Temp\\s1.tmp"});

  for (int r = 0; r < scan.Grid.TotalRows(); ++r) {
    EXPECT_TRUE(scan.Checked(r)) << r;
    // Only file rows hold a drive path; the clean run tells files from headings by it.
    bool isFile = scan.Name(r).find(":\\") != std::string::npos;
    EXPECT_EQ(isFile, scan.Text(kRealFileSizeColumn, r) != L"") << r;
    if (scan.Grid.RowHasChildren(r)) {
      EXPECT_FALSE(scan.Grid.IsRowExpanded(r)) << r;
    }
  }
  EXPECT_EQ(scan.Text(kNumberColumn, users), L"0");

  // The bar's range covers the analysed sizes of all profiles so far, and ends full.
  EXPECT_EQ(scan.Bar->Max(), int((3000 + 2000 + 4000) / 1024));
  EXPECT_EQ(scan.Bar->Position(), scan.Bar->Max());
  EXPECT_EQ(scan.Status(), "Scanning has been finished.");
  // Each searched folder with where it lay when searched; carol's, missing, lies nowhere.
  TStrings listed, finals;
  for (const TSearchedFolder& folder : scan.State.SearchedFolders) {
    listed.push_back(WideToAnsi(folder.Listed));
    finals.push_back(TFakeMachine::Lower(WideToAnsi(folder.Final)));
  }
  EXPECT_EQ(listed, (TStrings{"D:\\Users\\alice\\AppData\\Local\\Temp\\",
                              "D:\\Users\\bob\\AppData\\Local\\Temp\\",
                              "D:\\Users\\carol\\AppData\\Local\\Temp\\", "C:\\Windows\\Temp\\"}));
  EXPECT_EQ(finals, (TStrings{TFakeMachine::Lower(tree / "D\\Users\\alice\\AppData\\Local\\Temp"),
                              TFakeMachine::Lower(tree / "D\\Users\\bob\\AppData\\Local\\Temp"), "",
                              TFakeMachine::Lower(tree / "C\\Windows\\Temp")}));
  EXPECT_FALSE(scan.State.Busy);
  EXPECT_FALSE(scan.Grid.UpdatesLocked());
}

TEST(ScanRunTest, TheOlderLayoutSearchesDocumentsAndSettings) {
  TTestFolder tree;
  TScanHarness scan;
  MakeDrives(tree, scan.Machine);
  scan.Machine.SetRecent("D:\\Documents and Settings\\dave\\Recent");
  tree.MakeFile("D\\Documents and Settings\\dave\\Local Settings\\Temp\\t.tmp", "t");
  tree.MakeFile("D\\Documents and Settings\\dave\\Local Settings\\Application "
                "Data\\Google\\"
                "Chrome\\User Data\\Default\\Cache\\f_000001",
                "c");
  tree.MakeFile("D\\Documents and Settings\\dave\\Recent\\report.lnk", "r");
  scan.TickOnly({1, 3, 8});
  ASSERT_TRUE(scan.Scan.Run());

  EXPECT_EQ(scan.GroupCaptions(), (TStrings{"User Temp Files", "System Temp Files",
                                            "Google Chrome Temp Files", "Recent Files"}));
  auto groups = scan.GroupRows();
  EXPECT_EQ(FilesByUser(scan, groups[0])["dave"],
            TStrings{"D:\\Documents and Settings\\dave\\Local Settings\\Temp\\t.tmp"});
  EXPECT_EQ(FilesByUser(scan, groups[2])["dave"],
            TStrings{"D:\\Documents and Settings\\dave\\Local Settings\\Application Data\\"
                     "Google\\Chrome\\User Data\\Default\\Cache\\f_000001"});
  // A single-folder category without files keeps only its group row and its defaults.
  EXPECT_TRUE(scan.ChildNames(groups[1]).empty());
  EXPECT_EQ(scan.Text(kFileSizeColumn, groups[1]), L"");
  EXPECT_EQ(scan.ChildNames(groups[3]),
            TStrings{"D:\\Documents and Settings\\dave\\Recent\\report.lnk"});
}

TEST(ScanRunTest, CategoriesGoInTheirFixedOrderAndBrowsersAreOfferedFirst) {
  TTestFolder tree;
  TScanHarnessOn<TWatchedMachine> scan;
  MakeNewLayout(tree, scan.Machine);
  scan.Machine.Processes = std::vector<TProcessEntry>{{11, L"firefox.exe"},
                                                      {12, L"chrome.exe"},
                                                      {13, L"opera.exe"},
                                                      {14, L"firefox.exe"},
                                                      {15, L"msedge.exe"}};
  scan.Machine.Answers = {IDNO, IDYES, IDYES, IDNO};
  TStrings lastGroupAtQuestion;
  scan.Machine.OnMessageBox = [&] { lastGroupAtQuestion.push_back(scan.GroupCaptions().back()); };
  for (bool& box : scan.Ticked)
    box = true;
  ASSERT_TRUE(scan.Scan.Run());

  EXPECT_EQ(scan.GroupCaptions(),
            (TStrings{"User Temp Files", "System Temp Files", "Internet Explorer Temp Files",
                      "Mozilla Firefox Temp Files", "Google Chrome Temp Files",
                      "Microsoft Edge Temp Files", "Opera Temp Files", "Unity WebPlayer Temp Files",
                      "Recycle Bin", "Recent Files", "Prefetch Old Files"}));
  // One question per browser, before its group row; the answer only decides the ending.
  ASSERT_EQ(scan.Machine.Messages.size(), 4u);
  EXPECT_EQ(scan.Machine.Messages[0].Caption, L"Warning!");
  EXPECT_EQ(scan.Machine.Messages[0].Type, UINT(MB_YESNO));
  EXPECT_EQ(lastGroupAtQuestion,
            (TStrings{"Internet Explorer Temp Files", "Mozilla Firefox Temp Files",
                      "Google Chrome Temp Files", "Microsoft Edge Temp Files"}));
  EXPECT_EQ(scan.Machine.Terminated, (std::vector<DWORD>{12, 15}));
}

TEST(ScanRunTest, FirefoxCacheFollowsTheFirstProfileOfItsList) {
  TTestFolder tree;
  TScanHarness scan;
  MakeNewLayout(tree, scan.Machine);
  tree.MakeFile("D\\Users\\alice\\AppData\\Roaming\\Mozilla\\Firefox\\profiles.ini",
                "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName="
                "default\r\n"
                "IsRelative=1\r\nPath=Profiles/x1.default\r\n");
  tree.MakeFile("D\\Users\\alice\\AppData\\Local\\Mozilla\\Firefox\\Profiles\\x"
                "1.default\\Cache\\"
                "0\\AB\\CD01",
                "f");
  // bob's list steps out of his Firefox folder to another folder named Cache: not followed.
  tree.MakeFile("D\\Users\\bob\\AppData\\Roaming\\Mozilla\\Firefox\\profiles.ini",
                "[Profile0]\r\nPath=..\\../..\\../../..\r\n");
  tree.MakeFile("D\\Cache\\precious.doc", "p");
  scan.TickOnly({2});
  ASSERT_TRUE(scan.Scan.Run());
  EXPECT_EQ(FilesByUser(scan, 0)["alice"],
            TStrings{"D:\\Users\\alice\\AppData\\Local\\Mozilla\\Firefox\\Profiles/"
                     "x1.default\\"
                     "Cache\\0\\AB\\CD01"});
  EXPECT_TRUE(FilesByUser(scan, 0)["bob"].empty());
}

TEST(ScanRunTest, ASecondScanShowsOnlyItsOwnRowsAndAsksTheShellOnlyAfterAChange) {
  TTestFolder tree;
  TScanHarnessOn<TWatchedMachine> scan;
  MakeNewLayout(tree, scan.Machine);
  scan.TickOnly({1});
  ASSERT_TRUE(scan.Scan.Run());
  int firstRows = scan.Grid.TotalRows();
  int firstQuestions = scan.Machine.TypeNameQuestions;
  // a1.tmp, a2.log, b1.tmp, s1.tmp: one question per kind of file.
  EXPECT_EQ(firstQuestions, 2);

  ::DeleteFileA((tree / "D\\Users\\bob\\AppData\\Local\\Temp\\b1.tmp").c_str());
  tree.MakeFile("D\\Users\\bob\\AppData\\Local\\Temp\\b2.tmp", "2");
  ASSERT_TRUE(scan.Scan.Run());
  EXPECT_EQ(scan.Grid.TotalRows(), firstRows);
  EXPECT_EQ(scan.GroupCaptions(), (TStrings{"User Temp Files", "System Temp Files"}));
  EXPECT_EQ(FilesByUser(scan, 0)["bob"], TStrings{"D:\\Users\\bob\\AppData\\Local\\Temp\\b2.tmp"});
  // The same kinds of file as before: the shell's answers still hold.
  EXPECT_EQ(scan.Machine.TypeNameQuestions, firstQuestions);
  EXPECT_EQ(scan.Text(kFileTypeColumn, scan.Grid.TotalRows() - 1),
            scan.Machine.TWin32Services::ShellTypeName(W(tree / "C\\Windows\\Temp\\s1.tmp")));

  // Once the associations may have changed, every kind is asked again.
  scan.Machine.FileTypesChanged = true;
  ASSERT_TRUE(scan.Scan.Run());
  EXPECT_EQ(scan.Machine.TypeNameQuestions, 2 * firstQuestions);
}

TEST(ScanRunTest, NothingTickedStillMovesOnAndFinishes) {
  TScanHarness scan;
  scan.TickOnly({});
  ASSERT_TRUE(scan.Scan.Run());
  EXPECT_EQ(scan.Grid.TotalRows(), 0);
  EXPECT_EQ(scan.PageMoves, 1);
  EXPECT_EQ(scan.Bar->Position(), scan.Bar->Max());
  EXPECT_EQ(scan.Status(), "Scanning has been finished.");
}

TEST(ScanRunTest, TheRecycleBinRowShowsTheShellsSizeOnlyWhenItCanBeTrusted) {
  TDecimalSeparatorPin point(L'.');
  const struct {
    DWORD shellVersion;
    HRESULT result;
    uint64_t bytes;
    const wchar_t* sizeText;
    const wchar_t* realSize;
  } cases[] = {
      {0x00060000, S_OK, 12897485, L"12.3 Mb", L"12897485"},
      {0x00040048, S_OK, 0, L"0 Mb", L"0"},
      {0x00040048, S_OK, 5368709120ull, L"5120 Mb", L"5368709120"},
      {0x00040047, S_OK, 1048576, L"", L""},
      {0x00060000, E_FAIL, 1048576, L"", L""},
  };
  for (const auto& c : cases) {
    TScanHarness scan;
    scan.Machine.Shell32Version = c.shellVersion;
    scan.Machine.RecycleBinResult = c.result;
    scan.Machine.RecycleBinBytes = c.bytes;
    scan.State.FileParentRow = 77;
    scan.TickOnly({7});
    ASSERT_TRUE(scan.Scan.Run());
    ASSERT_EQ(scan.Grid.TotalRows(), 1);
    EXPECT_EQ(scan.Name(0), "Recycle Bin");
    EXPECT_TRUE(scan.Checked(0));
    EXPECT_EQ(scan.Text(kFileSizeColumn, 0), c.sizeText) << c.bytes;
    EXPECT_EQ(scan.Text(kRealFileSizeColumn, 0), c.realSize) << c.bytes;
    EXPECT_EQ(scan.State.FileParentRow, 77);
  }
}

TEST(ScanRunTest, FoldersClosedToTheUserAreNamedWhenTheScanEnds) {
  // carol has no temp folder at all: missing is not denied.
  const struct {
    std::vector<std::wstring> denied;
    bool elevated;
    const wchar_t* note;
  } cases[] = {
      {{}, false, L""},
      // Searched by two categories, each profile counts once.
      {{L"d:\\users\\alice", L"d:\\users\\bob"},
       false,
       L"2 user profiles could not be searched without administrator rights."},
      {{L"d:\\users\\bob\\appdata\\local\\temp\\sub", L"c:\\windows\\temp"},
       false,
       L"1 user profile and C:\\Windows\\Temp could not be searched without administrator rights."},
      {{L"c:\\windows\\temp"}, true, L"C:\\Windows\\Temp could not be searched."},
  };
  for (const auto& c : cases) {
    TTestFolder tree;
    TScanHarness scan;
    MakeNewLayout(tree, scan.Machine);
    tree.MakeFolder("D\\Users\\bob\\AppData\\Local\\Temp\\sub");
    scan.Machine.DeniedFolders.insert(c.denied.begin(), c.denied.end());
    scan.Machine.Elevated = c.elevated;
    scan.TickOnly({1, 3});
    ASSERT_TRUE(scan.Scan.Run());
    EXPECT_EQ(scan.Scan.DeniedNote(), c.note);
    const std::wstring finished = L"Scanning has been finished.";
    EXPECT_EQ(scan.Label2->Caption(), *c.note ? finished + L" " + c.note : finished);
  }
}

TEST(ScanRunTest, PrefetchFilesContinueTheCountAndAnUnknownWindowsFolderIsNeverSearched) {
  TTestFolder tree;
  TScanHarness scan;
  MakeNewLayout(tree, scan.Machine);
  tree.MakeFile("C\\Windows\\Prefetch\\APP.EXE-1234.pf", std::string(5000, 'p'));
  scan.TickOnly({1, 9});
  ASSERT_TRUE(scan.Scan.Run());
  int prefetch = scan.GroupRows().back();
  EXPECT_EQ(scan.Name(prefetch), "Prefetch Old Files");
  EXPECT_EQ(scan.ChildNames(prefetch), TStrings{"C:\\Windows\\Prefetch\\APP.EXE-1234.pf"});
  EXPECT_EQ(scan.Grid.LevelOf(prefetch + 1), 1);
  // The system temp search reset the count; the prefetch search adds to it.
  EXPECT_EQ(scan.State.FoundBytes, 700u + 5000);

  scan.Machine.WindowsDir = L"";
  scan.TickOnly({9});
  ASSERT_TRUE(scan.Scan.Run());
  EXPECT_EQ(scan.GroupCaptions(), TStrings{"Prefetch Old Files"});
  EXPECT_EQ(scan.Grid.TotalRows(), 1);
  EXPECT_TRUE(scan.State.SearchedFolders.empty());
}

TEST(ScanRunTest, ASecondRunIsRefusedWhileOneIsGoing) {
  TTestFolder tree;
  TScanHarnessOn<TWatchedMachine> scan;
  MakeNewLayout(tree, scan.Machine);
  // Slow listings, so that messages run during the scan.
  scan.Machine.OnFindFirst = [](const std::string&) { ::Sleep(20); };
  scan.TickOnly({1});
  int refused = 0;
  scan.OnMessages = [&] {
    EXPECT_TRUE(scan.State.Busy);
    if (!scan.Scan.Run()) ++refused;
  };
  ASSERT_TRUE(scan.Scan.Run());
  EXPECT_GT(refused, 0);
  EXPECT_EQ(scan.PageMoves, 1);
  EXPECT_FALSE(scan.State.Busy);

  // A clean run going on: nothing is touched.
  scan.OnMessages = nullptr;
  int rows = scan.Grid.TotalRows();
  scan.State.Busy = true;
  EXPECT_FALSE(scan.Scan.Run());
  EXPECT_EQ(scan.Grid.TotalRows(), rows);
  EXPECT_EQ(scan.PageMoves, 1);
}

TEST(ScanRunTest, AnErrorInOneProfileIsDroppedAndAnyOtherEndsTheScan) {
  TTestFolder tree;
  TScanHarnessOn<TWatchedMachine> scan;
  MakeNewLayout(tree, scan.Machine);
  scan.Machine.OnFindFirst = [](const std::string& pattern) {
    if (pattern.find("\\bob\\") != std::string::npos) throw Exception("cannot read bob");
  };
  scan.TickOnly({1});
  ASSERT_TRUE(scan.Scan.Run());
  auto files = FilesByUser(scan, 0);
  EXPECT_EQ(files.size(), 3u);
  EXPECT_TRUE(files["bob"].empty());
  EXPECT_EQ(files["alice"].size(), 2u);
  EXPECT_EQ(scan.GroupCaptions().back(), "System Temp Files");
  EXPECT_FALSE(scan.Grid.UpdatesLocked());

  // Outside one profile's search (here: listing the profiles) the error ends the scan; the rows so
  // far stay and the next scan may start.
  scan.Machine.OnFindFirst = [](const std::string& pattern) {
    if (pattern == "D:\\Users\\*.*") throw Exception("cannot list profiles");
  };
  EXPECT_THROW(scan.Scan.Run(), Exception);
  EXPECT_EQ(scan.GroupCaptions(), TStrings{"User Temp Files"});
  EXPECT_FALSE(scan.State.Busy);
  EXPECT_FALSE(scan.Grid.UpdatesLocked());
}
