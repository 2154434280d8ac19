#include <gtest/gtest.h>

#include <algorithm>

#include "main/CleaningLocations.h"
#include "main/FakeMachine.h"
#include "main/TestFolder.h"

namespace {

std::vector<std::wstring> Sorted(std::vector<std::wstring> names) {
  std::sort(names.begin(), names.end());
  return names;
}

// A key of its own under HKEY_CURRENT_USER, removed with its values afterwards.
class TTestKey {
public:
  TTestKey() : path_("Software\\VarnoxTest_" + std::to_string(::GetCurrentProcessId())) {
    ::RegCreateKeyExA(HKEY_CURRENT_USER, path_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &key_, nullptr);
  }
  ~TTestKey() {
    ::RegCloseKey(key_);
    ::RegDeleteTreeA(HKEY_CURRENT_USER, path_.c_str());
  }
  void Set(const char* name, DWORD type, const std::string& bytes) {
    ::RegSetValueExA(key_, name, 0, type, reinterpret_cast<const BYTE*>(bytes.data()),
                     DWORD(bytes.size()));
  }
  const std::string& Path() const { return path_; }
  HKEY Handle() const { return key_; }

private:
  std::string path_;
  HKEY key_ = nullptr;
};

} // namespace

TEST(CleaningLocations, ReadRegistryStringOnTheRealRegistry) {
  TTestKey key;
  key.Set("Plain", REG_SZ, std::string("C:\\Users\\bob\\Recent") + '\0');
  key.Set("NoZero", REG_SZ, "C:\\NoZero");
  key.Set("Empty", REG_SZ, std::string(1, '\0'));
  key.Set("Expand", REG_EXPAND_SZ, std::string("%USERPROFILE%\\Recent") + '\0');
  key.Set("Number", REG_DWORD, std::string("\x01\x00\x00\x00", 4));
  TWin32Services services;

  // A value outside the code page, stored as the wide entry points store it.
  const std::wstring wide = L"C:\\Users\\\u0436\u0435\u043d\u044f\\Recent";
  ::RegSetValueExW(key.Handle(), L"Wide", 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.c_str()),
                   DWORD((wide.size() + 1) * sizeof(wchar_t)));
  struct {
    const wchar_t* name;
    std::wstring expected;
  } cases[] = {
      {L"Plain", L"C:\\Users\\bob\\Recent"},
      {L"plain", L"C:\\Users\\bob\\Recent"}, // value names match without regard to case
      {L"NoZero", L"C:\\NoZero"},            // no character lost when no zero was stored
      {L"Wide", wide},
      {L"Empty", L""},
      {L"Expand", L""}, // only REG_SZ counts
      {L"Number", L""},
      {L"Missing", L""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ReadRegistryString(services, HKEY_CURRENT_USER, W(key.Path()), c.name), c.expected)
        << WideToAnsi(c.name);
  EXPECT_EQ(ReadRegistryString(services, HKEY_CURRENT_USER, W(key.Path() + "\\Absent"), L"Plain"),
            L"");
}

TEST(CleaningLocations, ReadShellFolderReadsTheCurrentUsersRecent) {
  TWin32Services services;
  std::wstring recent = ReadShellFolder(services, L"Recent");
  ASSERT_GT(recent.size(), 7u);
  EXPECT_EQ(recent.substr(recent.size() - 7), L"\\Recent");
  EXPECT_EQ(recent.find(L'\0'), std::wstring::npos);
  EXPECT_EQ(ReadShellFolder(services, L"NoSuchShellFolder"), L"");
}

TEST(CleaningLocations, ProfileLayoutFromTheRecentFolder) {
  struct {
    std::string recent;
    std::string usersRoot;
    bool newLayout;
  } cases[] = {
      {"C:\\Documents and Settings\\bob\\Recent", "C:\\Documents and Settings\\", false},
      {"D:\\Documents and Settings\\bob\\Recent", "D:\\Documents and Settings\\", false},
      {"C:\\Users\\bob\\AppData\\Roaming\\Microsoft\\Windows\\Recent", "C:\\Users\\", true},
      {"D:\\Users\\bob\\AppData\\Roaming\\Microsoft\\Windows\\Recent", "D:\\Users\\", true},
      {"", "C:\\Users\\", true},
      {"\\\\server\\profiles\\bob\\Recent", "C:\\Users\\", true},
      {"E:\\Redirected\\bob\\Recent", "C:\\Users\\", true},
      // The markers are matched with their letter case; Wine's own "users" falls through to
      // drive C's Users folder, which is the same folder on a case-blind file system.
      {"C:\\users\\root\\AppData\\Roaming\\Microsoft\\Windows\\Recent", "C:\\Users\\", true},
      {"C:\\documents and settings\\bob\\Recent", "C:\\Users\\", true},
      // A marker without a drive before it keeps a fixed count of characters from the start;
      // such a root names no existing folder, so no profile is found under it. It still ends
      // with a backslash, as every users root does.
      {"\\\\srv\\Documents and Settings\\bob\\Recent", "\\\\srv\\Documents and Sett\\", false},
      {"\\\\srv\\Users\\bob\\Recent", "\\\\srv\\U\\", true},
  };
  for (const auto& c : cases) {
    TProfileLayout layout = ResolveProfileLayout(W(c.recent));
    EXPECT_EQ(layout.RecentFolder, W(c.recent));
    EXPECT_EQ(layout.UsersRoot, W(c.usersRoot)) << c.recent;
    EXPECT_EQ(layout.NewProfileLayout, c.newLayout) << c.recent;
    EXPECT_EQ(layout.LocalDataPart, c.newLayout ? L"\\AppData\\Local\\" : L"\\Local Settings\\");
  }
}

TEST(CleaningLocations, ProfileLayoutFromTheRegistry) {
  TFakeMachine machine;
  machine.SetRecent("D:\\Documents and Settings\\eve\\Recent");
  EXPECT_EQ(ResolveProfileLayout(machine).UsersRoot, L"D:\\Documents and Settings\\");
  EXPECT_EQ(ResolveProfileLayout(machine).RecentFolder, L"D:\\Documents and Settings\\eve\\Recent");

  machine.SetRecent("D:\\Users\\eve\\Recent", REG_EXPAND_SZ);
  TProfileLayout layout = ResolveProfileLayout(machine);
  EXPECT_EQ(layout.RecentFolder, L"") << "a REG_EXPAND_SZ Recent folder is not taken";
  EXPECT_EQ(layout.UsersRoot, L"C:\\Users\\");
  EXPECT_TRUE(layout.NewProfileLayout);

  machine.Registry.emplace();
  EXPECT_EQ(ResolveProfileLayout(machine).UsersRoot, L"C:\\Users\\");
}

TEST(CleaningLocations, FolderOfEveryCategoryInBothLayouts) {
  const TProfileLayout newer = ResolveProfileLayout(L"C:\\Users\\bob\\Recent");
  const TProfileLayout older = ResolveProfileLayout(L"D:\\Documents and Settings\\bob\\Recent");
  struct {
    TPerUserCategory category;
    const wchar_t* caption;
    const wchar_t* newFolder;
    const wchar_t* oldFolder;
  } cases[] = {
      {pcUserTemp, L"User Temp Files", L"C:\\Users\\ann\\AppData\\Local\\Temp",
       L"D:\\Documents and Settings\\ann\\Local Settings\\Temp"},
      {pcInternetExplorer, L"Internet Explorer Temp Files",
       L"C:\\Users\\ann\\AppData\\Local\\Microsoft\\Windows\\Temporary Internet Files",
       L"D:\\Documents and Settings\\ann\\Local Settings\\Temporary Internet Files"},
      {pcFirefox, L"Mozilla Firefox Temp Files",
       L"C:\\Users\\ann\\AppData\\Local\\Mozilla\\Firefox\\Profiles/x.default\\Cache",
       L"D:\\Documents and Settings\\ann\\Local Settings\\Application Data\\Mozilla\\Firefox\\"
       L"Profiles/x.default\\Cache"},
      {pcChrome, L"Google Chrome Temp Files",
       L"C:\\Users\\ann\\AppData\\Local\\Google\\Chrome\\User Data\\Default\\Cache",
       L"D:\\Documents and Settings\\ann\\Local Settings\\Application Data\\Google\\Chrome\\"
       L"User Data\\Default\\Cache"},
      {pcEdge, L"Microsoft Edge Temp Files",
       L"C:\\Users\\ann\\AppData\\Local\\Microsoft\\Edge\\User Data\\Default\\Cache",
       L"D:\\Documents and Settings\\ann\\Local Settings\\Application Data\\Microsoft\\Edge\\"
       L"User Data\\Default\\Cache"},
      {pcOpera, L"Opera Temp Files", L"C:\\Users\\ann\\AppData\\Local\\Opera\\Opera\\cache",
       L"D:\\Documents and Settings\\ann\\Local Settings\\Application Data\\Opera\\Opera\\cache"},
      {pcUnityWebPlayer, L"Unity WebPlayer Temp Files",
       L"C:\\Users\\ann\\AppData\\Local\\Unity\\WebPlayer\\Cache",
       L"D:\\Documents and Settings\\ann\\Local Settings\\Application Data\\Unity\\WebPlayer\\"
       L"Cache"},
  };
  ASSERT_EQ(std::size(cases), std::size(kPerUserCategories));
  for (const auto& c : cases) {
    EXPECT_STREQ(GroupCaption(c.category), c.caption);
    std::wstring suffix = c.category == pcFirefox ? L"Profiles/x.default\\Cache" : L"";
    EXPECT_EQ(PerUserFolder(newer, L"ann", PerUserFolderPieces(c.category, newer), suffix),
              c.newFolder);
    EXPECT_EQ(PerUserFolder(older, L"ann", PerUserFolderPieces(c.category, older), suffix),
              c.oldFolder);
  }
  // Only the user temp folder puts the local-data part into piece B.
  EXPECT_EQ(PerUserFolderPieces(pcUserTemp, newer).PieceA, L"");
  EXPECT_EQ(PerUserFolderPieces(pcUserTemp, newer).PieceB, L"\\AppData\\Local\\");
  EXPECT_EQ(PerUserFolderPieces(pcChrome, older).PieceB, L"");
}

TEST(CleaningLocations, SingleFolders) {
  TFakeMachine machine;
  machine.WindowsDir = L"D:\\WINNT";
  EXPECT_EQ(GetWindowsFolder(machine), L"D:\\WINNT");
  EXPECT_EQ(PrefetchFolder(machine), L"D:\\WINNT\\Prefetch");
  EXPECT_STREQ(kSystemTempFolder, L"C:\\Windows\\Temp") << L"whatever the Windows directory is";
  machine.WindowsDir = L"";
  EXPECT_EQ(PrefetchFolder(machine), L"") << L"never \"\\Prefetch\", the current drive's";

  TWin32Services services;
  EXPECT_EQ(PrefetchFolder(services), services.WindowsDirectory() + L"\\Prefetch");
}

TEST(CleaningLocations, ListSubfoldersKeepsOnlyPlainFolders) {
  TTestFolder tree;
  tree.MakeFolder("Users\\alice");
  tree.MakeFolder("Users\\bob");
  tree.MakeFolder("Users\\stale profile");
  tree.MakeFolder("Users\\Default", FILE_ATTRIBUTE_HIDDEN);
  tree.MakeFolder("Users\\System", FILE_ATTRIBUTE_SYSTEM);
  tree.MakeFolder("Users\\Both", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
  tree.MakeFile("Users\\desktop.ini");
  TFakeMachine machine;
  std::vector<std::wstring> expected = {L"alice", L"bob", L"stale profile"};

  EXPECT_EQ(Sorted(ListSubfolders(machine, W(tree / "Users\\"))), expected);
  EXPECT_EQ(Sorted(ListSubfolders(machine, W(tree / "Users"))), expected)
      << "a missing trailing backslash must not list the parent's entries";

  // The order is the file system's: the same as a plain listing gives.
  std::vector<std::wstring> listed;
  WIN32_FIND_DATAW data;
  HANDLE find = ::FindFirstFileW(W(tree / "Users\\*.*").c_str(), &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  do
    if (std::find(expected.begin(), expected.end(), data.cFileName) != expected.end())
      listed.push_back(data.cFileName);
  while (::FindNextFileW(find, &data));
  ::FindClose(find);
  EXPECT_EQ(ListSubfolders(machine, W(tree / "Users\\")), listed);

  // Wine keeps neither the read-only nor the archive bit on a folder and cannot make a junction
  // from inside, so the fake machine adds those bits to real folders.
  for (DWORD bits :
       {DWORD(FILE_ATTRIBUTE_READONLY), DWORD(FILE_ATTRIBUTE_ARCHIVE),
        DWORD(FILE_ATTRIBUTE_REPARSE_POINT), DWORD(FILE_ATTRIBUTE_NOT_CONTENT_INDEXED)}) {
    TFakeMachine marked;
    marked.AddAttributes(tree / "Users\\bob", bits);
    EXPECT_EQ(Sorted(ListSubfolders(marked, W(tree / "Users\\"))),
              (std::vector<std::wstring>{L"alice", L"stale profile"}))
        << "attributes " << bits;
  }
}

TEST(CleaningLocations, ListSubfoldersBadInput) {
  TTestFolder tree;
  std::string file = tree.MakeFile("plain.txt");
  TFakeMachine machine;
  EXPECT_TRUE(ListSubfolders(machine, L"").empty());
  EXPECT_EQ(machine.FindFirstCalls, 0) << "an empty folder text is never listed";
  EXPECT_TRUE(ListSubfolders(machine, W(tree / "absent\\")).empty());
  EXPECT_TRUE(ListSubfolders(machine, W(file + "\\")).empty());
  EXPECT_TRUE(ListSubfolders(machine, W(tree / "<>|\\")).empty());
  // A cut-off root such as "...\Us" lists the folder of that name, not its namesakes beside it.
  tree.MakeFolder("Users\\alice");
  EXPECT_TRUE(ListSubfolders(machine, W(tree / "Us")).empty());
}

TEST(CleaningLocations, ProfilesOnDriveD) {
  TTestFolder tree;
  tree.MakeFolder("D\\Users\\carol");
  tree.MakeFolder("D\\Users\\dave");
  tree.MakeFolder("D\\Users\\Default", FILE_ATTRIBUTE_HIDDEN);
  tree.MakeFolder("D\\Documents and Settings\\erin");
  tree.MakeFolder("D\\Documents and Settings\\All Users", FILE_ATTRIBUTE_HIDDEN);
  TFakeMachine machine;
  machine.Drives['D'] = tree / "D";

  machine.SetRecent("D:\\Users\\carol\\AppData\\Roaming\\Microsoft\\Windows\\Recent");
  TProfileLayout layout = ResolveProfileLayout(machine);
  EXPECT_EQ(Sorted(ListSubfolders(machine, layout.UsersRoot)),
            (std::vector<std::wstring>{L"carol", L"dave"}));

  machine.SetRecent("D:\\Documents and Settings\\erin\\Recent");
  layout = ResolveProfileLayout(machine);
  EXPECT_FALSE(layout.NewProfileLayout);
  EXPECT_EQ(ListSubfolders(machine, layout.UsersRoot), std::vector<std::wstring>{L"erin"});
}

TEST(CleaningLocations, FirefoxProfileVariants) {
  TTestFolder tree;
  const std::string root = tree / "Users\\";
  const std::string list = "\\AppData\\Roaming\\Mozilla\\Firefox\\profiles.ini";
  const std::string roaming = root + "mapped\\AppData\\Roaming\\Mozilla\\Firefox\\";
  const bool westernCodePage = ::GetACP() == 1252;
  struct {
    const char* profile;
    std::string ini;    // "-": no file
    std::wstring paths; // every profile path taken, joined by "|"
  } cases[] = {
      {"nofile", "-", L""},
      {"usual",
       "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\n"
       "IsRelative=1\r\nPath=Profiles/abcd1234.default\r\n",
       L"Profiles/abcd1234.default"},
      // Today's Firefox lists two, and the one in use need not be the first.
      {"today",
       "[Profile1]\r\nName=default\r\nIsRelative=1\r\nPath=Profiles/a.default\r\n"
       "[Profile0]\r\nName=default-release\r\nIsRelative=1\r\nPath=Profiles/b.default-release\r\n"
       "[Install308046B0AF4A39CB]\r\nDefault=Profiles/b.default-release\r\n",
       L"Profiles/a.default|Profiles/b.default-release"},
      {"nokey", "[Profile0]\r\nName=default\r\n", L""},
      {"lettercase", "[PROFILE0]\r\nPATH=Profiles\\mixed.Default\r\n", L"Profiles\\mixed.Default"},
      {"dots", "[Profile0]\r\nPath=Profiles/..x/x..\r\n", L"Profiles/..x/x.."},
      {"utf8", "\xEF\xBB\xBF[Profile0]\r\nPath=Profiles/\xD0\xB6.default\r\n",
       L"Profiles/\u0436.default"},
      {"ansi", "[Profile0]\r\nPath=Profiles/caf\xE9\r\n",
       westernCodePage ? L"Profiles/caf\u00e9" : L"<code page>"},
      // Kept elsewhere, inside the user's own Firefox folder: the same place below the local one.
      {"mapped", "[Profile0]\r\nIsRelative=0\r\nPath=" + roaming + "Profiles\\c.default\r\n",
       L"Profiles\\c.default"},
      // Paths that could lead out of the user's Firefox folder are refused: none is taken.
      {"absolute", "[Profile0]\r\nIsRelative=0\r\nPath=C:\\Elsewhere\\p.default\r\n", L""},
      {"otheruser",
       "[Profile0]\r\nIsRelative=0\r\nPath=" + roaming + "..\\..\\..\\..\\..\\usual\r\n", L""},
      {"drive", "[Profile0]\r\nPath=D:Profiles\r\n", L""},
      {"up", "[Profile0]\r\nPath=../../../../../x\r\n", L""},
      {"upback", "[Profile0]\r\nPath=Profiles\\..\\..\\x\r\n", L""},
      {"upend", "[Profile0]\r\nPath=Profiles/..\r\n", L""},
      {"slash", "[Profile0]\r\nPath=/x\r\n", L""},
      {"backslash", "[Profile0]\r\nPath=\\\\srv\\x\r\n", L""},
  };
  for (const auto& c : cases) {
    tree.MakeFolder(std::string("Users\\") + c.profile);
    if (c.ini != "-") tree.MakeFile(std::string("Users\\") + c.profile + list, c.ini);
  }
  TWin32Services services;
  for (const auto& c : cases) {
    if (c.paths == L"<code page>") continue;
    std::wstring joined;
    for (const std::wstring& path : FirefoxProfilePaths(services, W(root), W(c.profile)))
      joined += (joined.empty() ? L"" : L"|") + path;
    EXPECT_EQ(joined, c.paths) << c.profile;
  }
  // A list whose every profile is refused takes nothing, not even the Firefox folder's own cache.
  EXPECT_TRUE(FirefoxProfilePaths(services, W(root), L"up").empty());

  // The joined folder is checked as the system resolves it, whatever the steps look like.
  const std::wstring firefox = L"C:\\Users\\ann\\AppData\\Local\\Mozilla\\Firefox\\";
  const struct {
    std::wstring path;
    bool inside;
  } joined[] = {
      {firefox + L"Profiles/x.default\\Cache", true},
      {firefox + L"./Cache", true},
      {firefox, true},
      {firefox + L"Profiles/../Cache", true},
      {firefox + L"Profiles\\..\\..\\Cache", false},
      {L"C:\\Users\\ann\\AppData\\Local\\Mozilla\\FirefoxCache", false},
      {L"Profiles\\x", false},
  };
  for (const auto& j : joined)
    EXPECT_EQ(StaysInside(j.path, firefox), j.inside) << WideToAnsi(j.path);
}

TEST(CleaningLocations, FirefoxProfileListOfTheOlderLayout) {
  TTestFolder tree;
  const std::string root = tree / "Documents and Settings\\";
  tree.MakeFile("Documents and Settings\\frank\\Application Data\\Mozilla\\Firefox\\profiles.ini",
                "[Profile0]\r\nPath=Profiles/old.default\r\n");
  // The newer layout's list of the same user must not be the one read.
  tree.MakeFile("Documents and Settings\\frank\\AppData\\Roaming\\Mozilla\\Firefox\\profiles.ini",
                "[Profile0]\r\nPath=Profiles/wrong\r\n");
  EXPECT_EQ(FirefoxProfileList(L"C:\\Documents and Settings\\", L"frank"),
            L"C:\\Documents and Settings\\frank\\Application Data\\Mozilla\\Firefox\\profiles.ini");
  const std::vector<std::wstring> expected = {L"Profiles/old.default"};
  TWin32Services services;
  EXPECT_EQ(FirefoxProfilePaths(services, W(root), L"frank"), expected);

  // Through drive D of the fake machine, the profile list is read from the mapped folder.
  TFakeMachine machine;
  machine.Drives['D'] = tree.Path().substr(0, tree.Path().size() - 1);
  EXPECT_EQ(FirefoxProfilePaths(machine, L"D:\\Documents and Settings\\", L"frank"), expected);
}

TEST(CleaningLocations, TodaysCacheFoldersBesideTheOldOnes) {
  TTestFolder tree;
  const std::string local = "D\\Users\\ann\\AppData\\Local\\";
  for (const char* folder :
       {"Google\\Chrome\\User Data\\Profile 2", "Google\\Chrome\\User Data\\Default",
        "Google\\Chrome\\User Data\\ShaderCache", "Google\\Chrome\\User Data\\Profile x",
        "Microsoft\\Edge\\User Data\\Guest Profile", "Microsoft\\Edge\\User Data\\Crashpad"})
    tree.MakeFolder(local + folder);
  tree.MakeFile("D\\Users\\ann\\AppData\\Roaming\\Mozilla\\Firefox\\profiles.ini",
                "[Profile0]\r\nPath=Profiles/p\r\n[Profile1]\r\nPath=Profiles/p\r\n");
  TFakeMachine machine;
  machine.Drives['D'] = tree / "D";
  const TProfileLayout layout = ResolveProfileLayout(L"D:\\Users\\ann\\Recent");
  const std::wstring base = L"D:\\Users\\ann\\AppData\\Local\\";
  struct {
    TPerUserCategory category;
    std::vector<std::wstring> folders;
  } cases[] = {
      {pcUserTemp, {base + L"Temp"}},
      {pcInternetExplorer,
       {base + L"Microsoft\\Windows\\Temporary Internet Files",
        base + L"Microsoft\\Windows\\INetCache"}},
      // The same profile listed twice is searched once.
      {pcFirefox,
       {base + L"Mozilla\\Firefox\\Profiles/p\\Cache",
        base + L"Mozilla\\Firefox\\Profiles/p\\cache2"}},
      {pcChrome,
       {base + L"Google\\Chrome\\User Data\\Default\\Cache",
        base + L"Google\\Chrome\\User Data\\Profile 2\\Cache"}},
      {pcEdge,
       {base + L"Microsoft\\Edge\\User Data\\Default\\Cache",
        base + L"Microsoft\\Edge\\User Data\\Guest Profile\\Cache"}},
      {pcOpera, {base + L"Opera\\Opera\\cache", base + L"Opera Software\\Opera Stable\\Cache"}},
      {pcUnityWebPlayer, {base + L"Unity\\WebPlayer\\Cache"}},
  };
  ASSERT_EQ(std::size(cases), std::size(kPerUserCategories));
  for (const auto& c : cases) {
    std::vector<std::wstring> folders = PerUserFolders(machine, layout, c.category, L"ann");
    // The first folder always comes first; the others in the order the disk lists them.
    if (c.category == pcChrome) std::sort(folders.begin() + 1, folders.end());
    EXPECT_EQ(folders, c.folders) << int(c.category);
  }
  // The older layout's systems never had the new internet cache.
  const TProfileLayout older = ResolveProfileLayout(L"D:\\Documents and Settings\\ann\\Recent");
  EXPECT_EQ(PerUserFolders(machine, older, pcInternetExplorer, L"ann").size(), 1u);
}
