#include <gtest/gtest.h>

#include <algorithm>

#include "main/CleaningLocations.h"
#include "main/FakeMachine.h"
#include "main/TestFolder.h"

namespace {

std::vector<std::string> Sorted(std::vector<std::string> names) {
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

  struct {
    const char* name;
    std::string expected;
  } cases[] = {
      {"Plain", "C:\\Users\\bob\\Recent"},
      {"plain", "C:\\Users\\bob\\Recent"}, // value names match without regard to case
      {"NoZero", "C:\\NoZero"},            // no character lost when no zero was stored
      {"Empty", ""},
      {"Expand", ""}, // only REG_SZ counts
      {"Number", ""},
      {"Missing", ""},
  };
  for (const auto& c : cases)
    EXPECT_EQ(ReadRegistryString(services, HKEY_CURRENT_USER, key.Path(), c.name), c.expected)
        << c.name;
  EXPECT_EQ(ReadRegistryString(services, HKEY_CURRENT_USER, key.Path() + "\\Absent", "Plain"), "");
}

TEST(CleaningLocations, ReadShellFolderReadsTheCurrentUsersRecent) {
  TWin32Services services;
  std::string recent = ReadShellFolder(services, "Recent");
  ASSERT_GT(recent.size(), 7u);
  EXPECT_EQ(recent.substr(recent.size() - 7), "\\Recent");
  EXPECT_EQ(recent.find('\0'), std::string::npos);
  EXPECT_EQ(ReadShellFolder(services, "NoSuchShellFolder"), "");
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
    TProfileLayout layout = ResolveProfileLayout(c.recent);
    EXPECT_EQ(layout.RecentFolder, c.recent);
    EXPECT_EQ(layout.UsersRoot, c.usersRoot) << c.recent;
    EXPECT_EQ(layout.NewProfileLayout, c.newLayout) << c.recent;
    EXPECT_EQ(layout.LocalDataPart, c.newLayout ? "\\AppData\\Local\\" : "\\Local Settings\\");
  }
}

TEST(CleaningLocations, ProfileLayoutFromTheRegistry) {
  TFakeMachine machine;
  machine.SetRecent("D:\\Documents and Settings\\eve\\Recent");
  EXPECT_EQ(ResolveProfileLayout(machine).UsersRoot, "D:\\Documents and Settings\\");
  EXPECT_EQ(ResolveProfileLayout(machine).RecentFolder, "D:\\Documents and Settings\\eve\\Recent");

  machine.SetRecent("D:\\Users\\eve\\Recent", REG_EXPAND_SZ);
  TProfileLayout layout = ResolveProfileLayout(machine);
  EXPECT_EQ(layout.RecentFolder, "") << "a REG_EXPAND_SZ Recent folder is not taken";
  EXPECT_EQ(layout.UsersRoot, "C:\\Users\\");
  EXPECT_TRUE(layout.NewProfileLayout);

  machine.Registry.emplace();
  EXPECT_EQ(ResolveProfileLayout(machine).UsersRoot, "C:\\Users\\");
}

TEST(CleaningLocations, FolderOfEveryCategoryInBothLayouts) {
  const TProfileLayout newer = ResolveProfileLayout("C:\\Users\\bob\\Recent");
  const TProfileLayout older = ResolveProfileLayout("D:\\Documents and Settings\\bob\\Recent");
  struct {
    TPerUserCategory category;
    const char* caption;
    const char* newFolder;
    const char* oldFolder;
  } cases[] = {
      {pcUserTemp, "User Temp Files", "C:\\Users\\ann\\AppData\\Local\\Temp",
       "D:\\Documents and Settings\\ann\\Local Settings\\Temp"},
      {pcInternetExplorer, "Internet Explorer Temp Files",
       "C:\\Users\\ann\\AppData\\Local\\Microsoft\\Windows\\Temporary Internet Files",
       "D:\\Documents and Settings\\ann\\Local Settings\\Temporary Internet Files"},
      {pcFirefox, "Mozilla Firefox Temp Files",
       "C:\\Users\\ann\\AppData\\Local\\Mozilla\\Firefox\\Profiles/x.default\\Cache",
       "D:\\Documents and Settings\\ann\\Local Settings\\Application Data\\Mozilla\\Firefox\\"
       "Profiles/x.default\\Cache"},
      {pcChrome, "Google Chrome Temp Files",
       "C:\\Users\\ann\\AppData\\Local\\Google\\Chrome\\User Data\\Default\\Cache",
       "D:\\Documents and Settings\\ann\\Local Settings\\Application Data\\Google\\Chrome\\"
       "User Data\\Default\\Cache"},
      {pcOpera, "Opera Temp Files", "C:\\Users\\ann\\AppData\\Local\\Opera\\Opera\\cache",
       "D:\\Documents and Settings\\ann\\Local Settings\\Application Data\\Opera\\Opera\\cache"},
      {pcUnityWebPlayer, "Unity WebPlayer Temp Files",
       "C:\\Users\\ann\\AppData\\Local\\Unity\\WebPlayer\\Cache",
       "D:\\Documents and Settings\\ann\\Local Settings\\Application Data\\Unity\\WebPlayer\\"
       "Cache"},
  };
  ASSERT_EQ(std::size(cases), std::size(kPerUserCategories));
  for (const auto& c : cases) {
    EXPECT_STREQ(GroupCaption(c.category), c.caption);
    std::string suffix = c.category == pcFirefox ? "Profiles/x.default\\Cache" : "";
    EXPECT_EQ(PerUserFolder(newer, "ann", PerUserFolderPieces(c.category, newer), suffix),
              c.newFolder);
    EXPECT_EQ(PerUserFolder(older, "ann", PerUserFolderPieces(c.category, older), suffix),
              c.oldFolder);
  }
  // Only the user temp folder puts the local-data part into piece B.
  EXPECT_EQ(PerUserFolderPieces(pcUserTemp, newer).PieceA, "");
  EXPECT_EQ(PerUserFolderPieces(pcUserTemp, newer).PieceB, "\\AppData\\Local\\");
  EXPECT_EQ(PerUserFolderPieces(pcChrome, older).PieceB, "");
}

TEST(CleaningLocations, SingleFolders) {
  TFakeMachine machine;
  machine.WindowsDir = "D:\\WINNT";
  EXPECT_EQ(GetWindowsFolder(machine), "D:\\WINNT");
  EXPECT_EQ(PrefetchFolder(machine), "D:\\WINNT\\Prefetch");
  EXPECT_STREQ(kSystemTempFolder, "C:\\Windows\\Temp") << "whatever the Windows directory is";
  machine.WindowsDir = "";
  EXPECT_EQ(PrefetchFolder(machine), "") << "never \"\\Prefetch\", the current drive's";

  TWin32Services services;
  EXPECT_EQ(PrefetchFolder(services), services.WindowsDirectory() + "\\Prefetch");
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
  std::vector<std::string> expected = {"alice", "bob", "stale profile"};

  EXPECT_EQ(Sorted(ListSubfolders(machine, tree / "Users\\")), expected);
  EXPECT_EQ(Sorted(ListSubfolders(machine, tree / "Users")), expected)
      << "a missing trailing backslash must not list the parent's entries";

  // The order is the file system's: the same as a plain listing gives.
  std::vector<std::string> listed;
  WIN32_FIND_DATAA data;
  HANDLE find = ::FindFirstFileA((tree / "Users\\*.*").c_str(), &data);
  ASSERT_NE(find, INVALID_HANDLE_VALUE);
  do
    if (std::find(expected.begin(), expected.end(), data.cFileName) != expected.end())
      listed.push_back(data.cFileName);
  while (::FindNextFileA(find, &data));
  ::FindClose(find);
  EXPECT_EQ(ListSubfolders(machine, tree / "Users\\"), listed);

  // Wine keeps neither the read-only nor the archive bit on a folder and cannot make a junction
  // from inside, so the fake machine adds those bits to real folders.
  for (DWORD bits :
       {DWORD(FILE_ATTRIBUTE_READONLY), DWORD(FILE_ATTRIBUTE_ARCHIVE),
        DWORD(FILE_ATTRIBUTE_REPARSE_POINT), DWORD(FILE_ATTRIBUTE_NOT_CONTENT_INDEXED)}) {
    TFakeMachine marked;
    marked.AddAttributes(tree / "Users\\bob", bits);
    EXPECT_EQ(Sorted(ListSubfolders(marked, tree / "Users\\")),
              (std::vector<std::string>{"alice", "stale profile"}))
        << "attributes " << bits;
  }
}

TEST(CleaningLocations, ListSubfoldersBadInput) {
  TTestFolder tree;
  std::string file = tree.MakeFile("plain.txt");
  TFakeMachine machine;
  EXPECT_TRUE(ListSubfolders(machine, "").empty());
  EXPECT_EQ(machine.FindFirstCalls, 0) << "an empty folder text is never listed";
  EXPECT_TRUE(ListSubfolders(machine, tree / "absent\\").empty());
  EXPECT_TRUE(ListSubfolders(machine, file + "\\").empty());
  EXPECT_TRUE(ListSubfolders(machine, tree / "<>|\\").empty());
  // A cut-off root such as "...\Us" lists the folder of that name, not its namesakes beside it.
  tree.MakeFolder("Users\\alice");
  EXPECT_TRUE(ListSubfolders(machine, tree / "Us").empty());
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
            (std::vector<std::string>{"carol", "dave"}));

  machine.SetRecent("D:\\Documents and Settings\\erin\\Recent");
  layout = ResolveProfileLayout(machine);
  EXPECT_FALSE(layout.NewProfileLayout);
  EXPECT_EQ(ListSubfolders(machine, layout.UsersRoot), std::vector<std::string>{"erin"});
}

TEST(CleaningLocations, FirefoxProfileVariants) {
  TTestFolder tree;
  const std::string root = tree / "Users\\";
  const std::string list = "\\AppData\\Roaming\\Mozilla\\Firefox\\profiles.ini";
  struct {
    const char* profile;
    const char* ini; // nullptr: no file
    const char* suffix;
  } cases[] = {
      {"nofile", nullptr, "\\Cache"},
      {"usual",
       "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\n"
       "IsRelative=1\r\nPath=Profiles/abcd1234.default\r\n",
       "Profiles/abcd1234.default\\Cache"},
      {"nokey", "[Profile0]\r\nName=default\r\n", "\\Cache"},
      {"nosection", "[Profile1]\r\nPath=Profiles/other\r\n", "\\Cache"},
      {"lettercase", "[PROFILE0]\r\nPATH=Profiles\\mixed.Default\r\n",
       "Profiles\\mixed.Default\\Cache"},
      {"second", "[Profile1]\r\nPath=Profiles/one\r\n[Profile0]\r\nPath=Profiles/zero\r\n",
       "Profiles/zero\\Cache"},
      {"dots", "[Profile0]\r\nPath=Profiles/..x/x..\r\n", "Profiles/..x/x..\\Cache"},
      // Paths that could lead out of the user's Firefox folder are refused (nullptr).
      {"absolute", "[Profile0]\r\nIsRelative=0\r\nPath=C:\\Elsewhere\\p.default\r\n", nullptr},
      {"drive", "[Profile0]\r\nPath=D:Profiles\r\n", nullptr},
      {"up", "[Profile0]\r\nPath=../../../../../x\r\n", nullptr},
      {"upback", "[Profile0]\r\nPath=Profiles\\..\\..\\x\r\n", nullptr},
      {"upend", "[Profile0]\r\nPath=Profiles/..\r\n", nullptr},
      {"slash", "[Profile0]\r\nPath=/x\r\n", nullptr},
      {"backslash", "[Profile0]\r\nPath=\\\\srv\\x\r\n", nullptr},
  };
  for (const auto& c : cases) {
    tree.MakeFolder(std::string("Users\\") + c.profile);
    if (c.ini) tree.MakeFile(std::string("Users\\") + c.profile + list, c.ini);
  }
  TWin32Services services;
  for (const auto& c : cases) {
    std::optional<std::string> suffix = FirefoxProfileSuffix(services, root, c.profile);
    EXPECT_EQ(suffix.value_or("<refused>"), c.suffix ? c.suffix : "<refused>") << c.profile;
  }

  // The joined folder is checked as the system resolves it, whatever the steps look like.
  const std::string firefox = "C:\\Users\\ann\\AppData\\Local\\Mozilla\\Firefox\\";
  const struct {
    std::string path;
    bool inside;
  } joined[] = {
      {firefox + "Profiles/x.default\\Cache", true},
      {firefox + "./Cache", true},
      {firefox, true},
      {firefox + "Profiles/../Cache", true},
      {firefox + "Profiles\\..\\..\\Cache", false},
      {"C:\\Users\\ann\\AppData\\Local\\Mozilla\\FirefoxCache", false},
  };
  for (const auto& j : joined)
    EXPECT_EQ(StaysInside(j.path, firefox), j.inside) << j.path;
}

TEST(CleaningLocations, FirefoxProfileListOfTheOlderLayout) {
  TTestFolder tree;
  const std::string root = tree / "Documents and Settings\\";
  tree.MakeFile("Documents and Settings\\frank\\Application Data\\Mozilla\\Firefox\\profiles.ini",
                "[Profile0]\r\nPath=Profiles/old.default\r\n");
  // The newer layout's list of the same user must not be the one read.
  tree.MakeFile("Documents and Settings\\frank\\AppData\\Roaming\\Mozilla\\Firefox\\profiles.ini",
                "[Profile0]\r\nPath=Profiles/wrong\r\n");
  EXPECT_EQ(FirefoxProfileList("C:\\Documents and Settings\\", "frank"),
            "C:\\Documents and Settings\\frank\\Application Data\\Mozilla\\Firefox\\profiles.ini");
  TWin32Services services;
  EXPECT_EQ(FirefoxProfileSuffix(services, root, "frank"), "Profiles/old.default\\Cache");

  // Through drive D of the fake machine, the profile list is read from the mapped folder.
  TFakeMachine machine;
  machine.Drives['D'] = tree.Path().substr(0, tree.Path().size() - 1);
  EXPECT_EQ(FirefoxProfileSuffix(machine, "D:\\Documents and Settings\\", "frank"),
            "Profiles/old.default\\Cache");
}
