#include "main/TypeNameCache.h"

#include "main/FakeMachine.h"
#include "main/TestFolder.h"

#include <gtest/gtest.h>

#include <map>

namespace {
// The real shell, with every question counted.
class TCountingShell : public TWin32Services {
public:
  std::map<std::string, int> Asked;
  std::wstring ShellTypeName(const std::wstring& path) override {
    ++Asked[WideToAnsi(path)];
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
    EXPECT_EQ(cache.TypeName(W(path), W(name)), plain.ShellTypeName(W(path))) << name;
    EXPECT_FALSE(cache.TypeName(W(path), W(name)).empty()) << name;
  }
  // .txt, .TXT, no extension, .tmp, .dat: one question each, for the first file of each.
  EXPECT_EQ(shell.Asked.size(), 5u);
  for (const char* first : {"a.txt", "c.TXT", "noext", "d.tmp", "f.dat"})
    EXPECT_EQ(shell.Asked[folder / first], 1) << first;

  // A new scan asks afresh.
  cache.Clear();
  cache.TypeName(W(folder / "b.txt"), L"b.txt");
  EXPECT_EQ(shell.Asked[folder / "b.txt"], 1);
}

TEST(TypeNameCacheTest, AFailedAnswerIsNotKeptForTheExtension) {
  TTestFolder folder;
  std::string present = folder.MakeFile("present.log");
  TCountingShell shell;
  TTypeNameCache cache(shell);
  // A file that vanished since it was listed gets no type name, and does not take it away from
  // the next file of its kind.
  EXPECT_EQ(cache.TypeName(W(folder / "gone.log"), L"gone.log"), L"");
  EXPECT_NE(cache.TypeName(W(present), L"present.log"), L"");
  EXPECT_EQ(shell.Asked[present], 1);
}
