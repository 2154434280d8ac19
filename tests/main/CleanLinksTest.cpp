#include "main/CleanRun.h"

#include "CleanHarness.h"
#include "TestFolder.h"
#include "UnixLink.h"

#include <gtest/gtest.h>

#include <map>

// A file link at linkPath leading to the existing file targetPath, made from the host side as
// TFolderLink is, and removed from there at the end of its scope: Wine's DeleteFile on a host
// symlink to a file deletes the target. Such a link shows to Windows as the target itself:
// opening it follows it, and only the handle's final path tells.
class TFileLink {
public:
  TFileLink(const std::string& linkPath, const std::string& targetPath) : linkPath_(linkPath) {
    size_t cut = linkPath.find_last_of('\\');
    std::string parentUnix = UnixPathOf(linkPath.substr(0, cut));
    std::string targetUnix = UnixPathOf(targetPath);
    if (parentUnix.empty() || targetUnix.empty()) return;
    unixLink_ = parentUnix + "/" + linkPath.substr(cut + 1);
    RunUnixShell("ln -s '" + targetUnix + "' '" + unixLink_ + "'");
    // The host process may end before its link shows.
    for (int i = 0; i < 100 && !Exists(linkPath); ++i)
      ::Sleep(50);
  }
  TFileLink(const TFileLink&) = delete;
  TFileLink& operator=(const TFileLink&) = delete;
  ~TFileLink() {
    if (unixLink_.empty()) return;
    RunUnixShell("rm -f '" + unixLink_ + "'");
    for (int i = 0; i < 100 && Exists(linkPath_); ++i)
      ::Sleep(50);
  }

  bool Made() const { return !unixLink_.empty() && Exists(linkPath_); }

private:
  std::string linkPath_;
  std::string unixLink_;
};

// A cleaned tree whose listed paths lead out of it through links, built as the scan met it,
// then changed as the machine stands at clean time (SwapAfterScan):
// - a file symlink and a hard link (to a hidden file), each inside a searched folder, to files
//   outside;
// - a subfolder of a searched folder, a whole searched folder, and a folder above a searched
//   folder, swapped for folder links to outside folders after the scan;
// - a searched folder reached through a folder link above it, and a searched folder that is
//   itself a link (a temp folder moved elsewhere), both there when the scan ran: the user's own
//   arrangement, cleaned.
struct TLinkFixture {
  TTestFolder Root;
  std::vector<std::string> Searched;
  std::string Own, FileLink, HardLink, UnderSwappedSub, UnderSwappedFolder, UnderSwappedAbove,
      BelowLinkAbove, InLinkedFolder, Shared;
  std::vector<std::string> Listed;
  std::map<std::string, std::string> Outside; // path -> content, none of which may change
  std::unique_ptr<TFileLink> FileLinkMade;
  std::unique_ptr<TFolderLink> SubLink, FolderLink, AboveLink, MovedTemp, SwappedAbove;

  TLinkFixture() {
    auto outside = [&](const std::string& relative, const std::string& content) {
      std::string path = Root.MakeFile(relative, content);
      Outside[path] = content;
      return path;
    };
    std::string secret = outside("outside\\secret.txt", "secret data");
    Shared = outside("outside\\shared.txt", "shared data");
    outside("outside\\dir\\inner.txt", "inner data");
    outside("outside\\dir2\\moved.txt", "moved data");
    outside("outside\\look\\temp\\d.tmp", "look data");
    Searched = {Root / "clean\\", Root / "swapped", Root / "above\\temp", Root / "above2\\temp",
                Root / "movedtemp"};
    Own = Root.MakeFile("clean\\own.tmp", "own");
    FileLink = Root / "clean\\filelink.txt";
    HardLink = Root / "clean\\hard.txt";
    UnderSwappedSub = Root.MakeFile("clean\\sub\\inner.txt", "listed inner");
    UnderSwappedFolder = Root.MakeFile("swapped\\moved.txt", "listed moved");
    UnderSwappedAbove = Root.MakeFile("above2\\temp\\d.tmp", "listed d");
    Root.MakeFile("real_above\\temp\\c.tmp", "above");
    BelowLinkAbove = Root / "above\\temp\\c.tmp";
    Root.MakeFile("elsewhere\\temp\\e.tmp", "moved temp");
    InLinkedFolder = Root / "movedtemp\\e.tmp";
    Listed = {Own,
              FileLink,
              HardLink,
              UnderSwappedSub,
              UnderSwappedFolder,
              BelowLinkAbove,
              UnderSwappedAbove,
              InLinkedFolder};
    FileLinkMade = std::make_unique<TFileLink>(FileLink, secret);
    ::CreateHardLinkA(HardLink.c_str(), Shared.c_str(), nullptr);
    ::SetFileAttributesA(Shared.c_str(), FILE_ATTRIBUTE_HIDDEN);
    AboveLink = std::make_unique<TFolderLink>(Root / "above", Root / "real_above");
    MovedTemp = std::make_unique<TFolderLink>(Root / "movedtemp", Root / "elsewhere\\temp");
  }

  // The real folders move aside, links to outside take their names.
  void SwapAfterScan() {
    ::MoveFileA((Root / "clean\\sub").c_str(), (Root / "sub_was").c_str());
    SubLink = std::make_unique<TFolderLink>(Root / "clean\\sub", Root / "outside\\dir");
    ::MoveFileA((Root / "swapped").c_str(), (Root / "swapped_was").c_str());
    FolderLink = std::make_unique<TFolderLink>(Root / "swapped", Root / "outside\\dir2");
    ::MoveFileA((Root / "above2").c_str(), (Root / "above2_was").c_str());
    SwappedAbove = std::make_unique<TFolderLink>(Root / "above2", Root / "outside\\look");
  }

  bool Made() const {
    return FileLinkMade->Made() && AboveLink->Made() && MovedTemp->Made() && SubLink->Made() &&
           FolderLink->Made() && SwappedAbove->Made() && ReadWholeFile(HardLink) == "shared data" &&
           ReadWholeFile(BelowLinkAbove) == "above" &&
           ReadWholeFile(InLinkedFolder) == "moved temp";
  }
};

TEST(CleanLinksTest, NothingOutsideTheCleanedFoldersChanges) {
  TLinkFixture fixture;
  TCleanHarness h;
  for (const std::string& folder : fixture.Searched)
    h.Searched(folder);
  h.Group("User Temp Files");
  h.User("alice");
  for (const std::string& path : fixture.Listed)
    h.File(path);
  fixture.SwapAfterScan();
  ASSERT_TRUE(fixture.Made());
  EXPECT_TRUE(h.Clean.Run());

  for (const auto& [path, content] : fixture.Outside)
    EXPECT_EQ(ReadWholeFile(path), content) << path;
  // Attributes belong to the file, so a hard link's other name would see any change.
  EXPECT_EQ(::GetFileAttributesA(fixture.Shared.c_str()) & FILE_ATTRIBUTE_HIDDEN,
            DWORD(FILE_ATTRIBUTE_HIDDEN));
  // Logged, in row order: the plain file, the hard link's name (its data stays with the outside
  // name, not overwritten) and the files of the folders reached through links that were there
  // when the scan ran; then each file reached through a link since, as changed.
  std::vector<std::wstring> log{L"Next files removed from the Hard drive:",
                                h.Removed(fixture.Own, L"3 B"),
                                h.Removed(fixture.HardLink, L"11 B"),
                                h.Removed(fixture.BelowLinkAbove, L"5 B"),
                                h.Removed(fixture.InLinkedFolder, L"10 B"),
                                L"",
                                L"Total cleaned space: 0Mbyte",
                                L"",
                                L"Files that could not be removed:"};
  for (const std::string& path : {fixture.FileLink, fixture.UnderSwappedSub,
                                  fixture.UnderSwappedFolder, fixture.UnderSwappedAbove})
    log.push_back(AnsiToWide(path) + L" changed since the scan");
  EXPECT_EQ(h.Log(), log);
  for (const std::string& path :
       {fixture.Own, fixture.HardLink, fixture.BelowLinkAbove, fixture.InLinkedFolder})
    EXPECT_FALSE(Exists(path)) << path;
  EXPECT_FALSE(Exists(fixture.Root / "real_above\\temp\\c.tmp"));
  EXPECT_FALSE(Exists(fixture.Root / "elsewhere\\temp\\e.tmp"));
  size_t hardLinkPasses = 0;
  for (const auto& file : h.Machine.Files)
    if (file->Path == fixture.HardLink) hardLinkPasses += file->Passes.size();
  EXPECT_EQ(hardLinkPasses, 0u);
  // What the links lead to is skipped without a trace; the folders that were swapped out keep
  // their files too.
  for (const std::string& path : {fixture.FileLink, fixture.UnderSwappedSub,
                                  fixture.UnderSwappedFolder, fixture.UnderSwappedAbove})
    EXPECT_TRUE(Exists(path)) << path;
  EXPECT_EQ(ReadWholeFile(fixture.Root / "sub_was\\inner.txt"), "listed inner");
  EXPECT_EQ(ReadWholeFile(fixture.Root / "swapped_was\\moved.txt"), "listed moved");
  EXPECT_EQ(ReadWholeFile(fixture.Root / "above2_was\\temp\\d.tmp"), "listed d");
}

TEST(CleanLinksTest, ALinkSwappedInAfterTheChecksRedirectsNothing) {
  TTestFolder root;
  std::string listed = root.MakeFile("clean\\sub\\f.tmp", "listed");
  std::string outside = root.MakeFile("outside\\f.tmp", "outside");
  TCleanHarness h;
  h.Searched(root / "clean");
  h.Group("System Temp Files");
  h.File(listed);
  // Between the checks and the delete, the listed file's folder moves aside and a link to outside
  // takes its name: only a delete by name would reach through it.
  std::unique_ptr<TFolderLink> link;
  h.Machine.BeforeDelete = [&] {
    ::MoveFileA((root / "clean\\sub").c_str(), (root / "sub_was").c_str());
    link = std::make_unique<TFolderLink>(root / "clean\\sub", root / "outside");
  };
  EXPECT_TRUE(h.Clean.Run());
  ASSERT_TRUE(link && link->Made());
  EXPECT_EQ(ReadWholeFile(outside), "outside");
  EXPECT_EQ(h.Log()[1], h.Removed(listed, L"6 B"));
  // Windows deletes the file the handle is open on, now under sub_was. Wine unlinks by the name
  // the file was opened under, and only when that name still leads to the same file, so there
  // the overwritten file stays behind; either way nothing outside is touched.
  std::string moved = ReadWholeFile(root / "sub_was\\f.tmp");
  EXPECT_TRUE(moved == "<missing>" || (moved.size() == 6 && moved != "listed")) << moved;
}

// Opens files as Windows does for a user who is not the superuser: a read-only file cannot be
// opened for writing. Notes whether the watched file ever lost its read-only bit.
class TReadOnlyMachine : public TRecordingMachine {
public:
  std::string Watched;
  bool WatchedLostReadOnly = false;
  void Watch() {
    if (!(::GetFileAttributesA(Watched.c_str()) & FILE_ATTRIBUTE_READONLY))
      WatchedLostReadOnly = true;
  }
  std::unique_ptr<TOpenFile> OpenExisting(const std::wstring& path) override {
    Watch();
    if (::GetFileAttributesW(MapPath(path).c_str()) & FILE_ATTRIBUTE_READONLY) {
      ::SetLastError(ERROR_ACCESS_DENIED);
      return nullptr;
    }
    return TRecordingMachine::OpenExisting(path);
  }
  std::unique_ptr<TOpenFile> OpenAttributes(const std::wstring& path) override {
    Watch();
    return TRecordingMachine::OpenAttributes(path);
  }
};

// A read-only file listed through a link, and one with a second name outside: neither may lose
// its read-only bit, which every name of the file shares.
TEST(CleanLinksTest, AReadOnlyFileIsCheckedBeforeItsAttributesChange) {
  TTestFolder root;
  std::string outside = root.MakeFile("outside\\ro.txt", "outside", FILE_ATTRIBUTE_READONLY);
  std::string shared = root.MakeFile("outside\\shared.txt", "shared", FILE_ATTRIBUTE_READONLY);
  std::string own = root.MakeFile("clean\\own.tmp", "own", FILE_ATTRIBUTE_READONLY);
  TFileLink link(root / "clean\\link.txt", outside);
  ASSERT_TRUE(link.Made());
  std::string hard = root / "clean\\hard.txt";
  ASSERT_TRUE(::CreateHardLinkA(hard.c_str(), shared.c_str(), nullptr));
  TCleanHarnessOn<TReadOnlyMachine> h;
  h.Machine.Watched = outside;
  h.Searched(root / "clean");
  h.Group("System Temp Files");
  h.File(root / "clean\\link.txt");
  h.File(hard);
  h.File(own);
  EXPECT_TRUE(h.Clean.Run());
  EXPECT_FALSE(h.Machine.WatchedLostReadOnly);
  EXPECT_EQ(ReadWholeFile(outside), "outside");
  EXPECT_TRUE(::GetFileAttributesA(shared.c_str()) & FILE_ATTRIBUTE_READONLY);
  EXPECT_EQ(ReadWholeFile(shared), "shared");
  // The hard-linked read-only file cannot be opened for writing, and its bit is not cleared.
  EXPECT_EQ(h.Log(), (std::vector<std::wstring>{
                         L"Next files removed from the Hard drive:", h.Removed(own, L"3 B"), L"",
                         L"Total cleaned space: 0Mbyte", L"", L"Files that could not be removed:",
                         AnsiToWide(root / "clean\\link.txt") + L" changed since the scan",
                         AnsiToWide(hard) + L" access denied"}))
      << "only the own read-only file is cleaned";
  EXPECT_FALSE(Exists(own));
}
