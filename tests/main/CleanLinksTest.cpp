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

// A cleaned tree whose listed paths lead out of it through links, as a scan could have listed
// them (the paths) and as the machine stands at clean time (the links):
// - a file symlink and a hard link, each inside a searched folder, to files outside;
// - a subfolder of a searched folder, and a whole searched folder, swapped for folder links to
//   outside folders after the scan;
// - a searched folder reached through a folder link above it, which is the user's own business
//   and must be cleaned.
struct TLinkFixture {
  TTestFolder Root;
  std::vector<std::string> Searched;
  std::string Own, FileLink, HardLink, UnderSwappedSub, UnderSwappedFolder, BelowLinkAbove;
  std::vector<std::string> Listed;
  std::map<std::string, std::string> Outside; // path -> content, none of which may change
  std::unique_ptr<TFileLink> FileLinkMade;
  std::unique_ptr<TFolderLink> SubLink, FolderLink, AboveLink;

  TLinkFixture() {
    auto outside = [&](const std::string& relative, const std::string& content) {
      std::string path = Root.MakeFile(relative, content);
      Outside[path] = content;
      return path;
    };
    std::string secret = outside("outside\\secret.txt", "secret data");
    std::string shared = outside("outside\\shared.txt", "shared data");
    outside("outside\\dir\\inner.txt", "inner data");
    outside("outside\\dir2\\moved.txt", "moved data");
    Searched = {Root / "clean\\", Root / "swapped", Root / "above\\temp"};
    Own = Root.MakeFile("clean\\own.tmp", "own");
    FileLink = Root / "clean\\filelink.txt";
    HardLink = Root / "clean\\hard.txt";
    UnderSwappedSub = Root.MakeFile("clean\\sub\\inner.txt", "listed inner");
    UnderSwappedFolder = Root.MakeFile("swapped\\moved.txt", "listed moved");
    Root.MakeFile("real_above\\temp\\c.tmp", "above");
    BelowLinkAbove = Root / "above\\temp\\c.tmp";
    Listed = {Own, FileLink, HardLink, UnderSwappedSub, UnderSwappedFolder, BelowLinkAbove};
    FileLinkMade = std::make_unique<TFileLink>(FileLink, secret);
    ::CreateHardLinkA(HardLink.c_str(), shared.c_str(), nullptr);
    AboveLink = std::make_unique<TFolderLink>(Root / "above", Root / "real_above");
    // The swaps after the scan: the real folders move aside, links to outside take their names.
    ::MoveFileA((Root / "clean\\sub").c_str(), (Root / "sub_was").c_str());
    SubLink = std::make_unique<TFolderLink>(Root / "clean\\sub", Root / "outside\\dir");
    ::MoveFileA((Root / "swapped").c_str(), (Root / "swapped_was").c_str());
    FolderLink = std::make_unique<TFolderLink>(Root / "swapped", Root / "outside\\dir2");
  }

  bool Made() const {
    return FileLinkMade->Made() && AboveLink->Made() && SubLink->Made() && FolderLink->Made() &&
           ReadWholeFile(HardLink) == "shared data" && ReadWholeFile(BelowLinkAbove) == "above";
  }
};

TEST(CleanLinksTest, NothingOutsideTheCleanedFoldersChanges) {
  TLinkFixture fixture;
  ASSERT_TRUE(fixture.Made());
  TCleanHarness h;
  for (const std::string& folder : fixture.Searched)
    h.Searched(folder);
  h.Group("User Temp Files");
  h.User("alice");
  std::map<std::string, int> rows;
  for (const std::string& path : fixture.Listed)
    rows[path] = h.File(path);
  EXPECT_TRUE(h.Clean.Run());

  for (const auto& [path, content] : fixture.Outside)
    EXPECT_EQ(ReadWholeFile(path), content) << path;
  // Logged, in row order: the plain file, the hard link's name (its data stays with the outside
  // name, not overwritten) and the file of the folder reached through a link above it.
  EXPECT_EQ(h.Log(), (std::vector<std::wstring>{
                         L"Next files removed from the Hard drive:", h.Line(rows[fixture.Own]),
                         h.Line(rows[fixture.HardLink]), h.Line(rows[fixture.BelowLinkAbove]), L"",
                         L"Total cleaned space: 0Mbyte"}));
  for (const std::string& path : {fixture.Own, fixture.HardLink, fixture.BelowLinkAbove})
    EXPECT_FALSE(Exists(path)) << path;
  EXPECT_FALSE(Exists(fixture.Root / "real_above\\temp\\c.tmp"));
  size_t hardLinkPasses = 0;
  for (const auto& file : h.Machine.Files)
    if (file->Path == fixture.HardLink) hardLinkPasses += file->Passes.size();
  EXPECT_EQ(hardLinkPasses, 0u);
  // What the links lead to is skipped without a trace; the folders that were swapped out keep
  // their files too.
  for (const std::string& path :
       {fixture.FileLink, fixture.UnderSwappedSub, fixture.UnderSwappedFolder})
    EXPECT_TRUE(Exists(path)) << path;
  EXPECT_EQ(ReadWholeFile(fixture.Root / "sub_was\\inner.txt"), "listed inner");
  EXPECT_EQ(ReadWholeFile(fixture.Root / "swapped_was\\moved.txt"), "listed moved");
}
