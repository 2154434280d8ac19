#include "main/TypeNameCache.h"

#include "main/Win32Services.h"
#include "main/TestFolder.h"

#include <gtest/gtest.h>

#include <map>

namespace {
// The real shell, with every question counted.
class TCountingShell : public TWin32Services {
public:
  std::map<std::string, int> Asked;
  std::string ShellTypeName(const std::string& path) override {
    ++Asked[path];
    return TWin32Services::ShellTypeName(path);
  }
};
} // namespace

TEST(TypeNameCacheTest, AsksOncePerExactExtensionAndGivesTheShellsOwnText) {
  TTestFolder folder;
  const char* names[] = {"a.txt", "b.txt", "c.TXT", "noext", "other", "d.tmp", "e.tmp", "f.dat"};
  for (const char* name : names)
    folder.MakeFile(name);

  TCountingShell shell;
  TWin32Services plain;
  TTypeNameCache cache(shell);
  for (const char* name : names) {
    std::string path = folder / name;
    // The cached answer is what the shell gives for this very file.
    EXPECT_EQ(cache.TypeName(path, name), plain.ShellTypeName(path)) << name;
    EXPECT_FALSE(cache.TypeName(path, name).empty()) << name;
  }
  // .txt, .TXT, no extension, .tmp, .dat: one question each, for the first file of each.
  EXPECT_EQ(shell.Asked.size(), 5u);
  for (const char* first : {"a.txt", "c.TXT", "noext", "d.tmp", "f.dat"})
    EXPECT_EQ(shell.Asked[folder / first], 1) << first;

  // A new scan asks afresh.
  cache.Clear();
  cache.TypeName(folder / "b.txt", "b.txt");
  EXPECT_EQ(shell.Asked[folder / "b.txt"], 1);
}

TEST(TypeNameCacheTest, AFailedAnswerIsNotKeptForTheExtension) {
  TTestFolder folder;
  std::string present = folder.MakeFile("present.log");
  TCountingShell shell;
  TTypeNameCache cache(shell);
  // A file that vanished since it was listed gets no type name, and does not take it away from
  // the next file of its kind.
  EXPECT_EQ(cache.TypeName(folder / "gone.log", "gone.log"), "");
  EXPECT_NE(cache.TypeName(present, "present.log"), "");
  EXPECT_EQ(shell.Asked[present], 1);
}
