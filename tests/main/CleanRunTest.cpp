#include "main/CleanRun.h"

#include "CleanHarness.h"
#include "TestFolder.h"
#include "main/CleanRandom.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
const std::wstring kHeader = L"Next files removed from the Hard drive:";
const std::wstring kNotRemoved = L"Files that could not be removed:";
} // namespace

TEST(CleanRunTest, EmptyListLogsHeaderAndZeroTotal) {
  TCleanHarness h;
  h.Memo1->Lines().Add(L"left from before");
  EXPECT_TRUE(h.Clean.Run());
  EXPECT_EQ(h.Log(), (std::vector<std::wstring>{kHeader, L"", L"Total cleaned space: 0Mbyte"}));
  EXPECT_EQ(h.Captions, std::vector<std::string>{"Varnox - Deleting Files"});
  EXPECT_EQ(h.PageMoves, 1);
  EXPECT_FALSE(h.Timer1->Enabled());
  EXPECT_FALSE(h.State.Busy);
}

TEST(CleanRunTest, TotalLineInMegabytesWithOneDecimal) {
  TDecimalSeparatorPin point(L'.');
  const struct {
    double bytes;
    const wchar_t* line;
  } cases[] = {
      {0, L"Total cleaned space: 0Mbyte"},
      {100, L"Total cleaned space: 0Mbyte"},
      {1.5 * 1048576, L"Total cleaned space: 1.5Mbyte"},
      {123456789, L"Total cleaned space: 117.7Mbyte"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(TotalCleanedLogLine(c.bytes), c.line) << c.bytes;
  SetDecimalSeparatorOverride(L',');
  EXPECT_EQ(TotalCleanedLogLine(1.5 * 1048576), L"Total cleaned space: 1,5Mbyte");
}

TEST(CleanRunTest, MixedListThenASecondRun) {
  TDecimalSeparatorPin point(L'.');
  TTestFolder folder;
  TCleanHarness h;
  h.RecycleBinTicked = true;
  h.Machine.RecycleBinBytes = 1048576;
  h.Machine.RecycleBinItems = 3;

  h.Group("User Temp Files");
  h.User("alice");
  std::string small = folder.MakeFile("alice\\Temp\\small.tmp", std::string(100, 's'));
  std::string big = folder.MakeFile("alice\\Temp\\sub\\big.tmp", std::string(1572764, 'b'),
                                    FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
  std::string kept = folder.MakeFile("alice\\Temp\\kept.tmp", "kept");
  std::string held = folder.MakeFile("alice\\Temp\\held.tmp", "held");
  std::string system = folder.MakeFile("Windows\\Temp\\system.tmp", "", FILE_ATTRIBUTE_SYSTEM);
  h.Searched(folder / "alice\\Temp\\");
  h.Searched(folder / "Windows\\Temp\\");
  int smallRow = h.File(small);
  h.File(big);
  h.File(kept, false);
  int heldRow = h.File(held);
  // Only each file row's own box counts, whatever its group's box says.
  h.Group("System Temp Files", false);
  h.File(system);
  h.Group("Recycle Bin");
  h.List.SetRecycleBinSize(1048576);

  HANDLE holder = ::CreateFileA(held.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(holder, INVALID_HANDLE_VALUE);
  uint32_t state = CleanRandom().State();
  EXPECT_TRUE(h.Clean.Run());
  ::CloseHandle(holder);

  // 1572764 bytes are 1.49994 MB. What was left follows the total, with why.
  EXPECT_EQ(h.Log(), (std::vector<std::wstring>{
                         kHeader, L"Recycle Bin was cleaned 1 Mb", h.Removed(small, L"100 B"),
                         h.Removed(big, L"1.5 MB"), h.Removed(system, L"0 B"), L"",
                         L"Total cleaned space: 2.5Mbyte", L"", kNotRemoved,
                         AnsiToWide(held) + L" in use"}));
  EXPECT_EQ(h.Machine.RecycleBinEmptied, 1);
  for (const std::string& path : {small, big, system})
    EXPECT_FALSE(Exists(path)) << path;
  EXPECT_EQ(ReadWholeFile(kept), "kept");
  EXPECT_EQ(ReadWholeFile(held), "held");
  // Three passes per file, in row order, each the next 4096 bytes of the generator repeated.
  ASSERT_EQ(h.Machine.Files.size(), 3u);
  for (const auto& file : h.Machine.Files) {
    size_t length = file->Path == small ? 100 : file->Path == big ? 1572764 : 0;
    ASSERT_EQ(file->Passes.size(), 3u) << file->Path;
    for (const std::string& pass : file->Passes)
      EXPECT_TRUE(pass == ExpectedPass(state, length)) << file->Path;
  }
  // Messages ran before the first row and then between rows, each time with the bar moved to the
  // row about to be handled; at the end the bar stands at the last row.
  ASSERT_FALSE(h.PositionsAtMessages.empty());
  EXPECT_EQ(h.PositionsAtMessages.front(), 0);
  EXPECT_TRUE(std::is_sorted(h.PositionsAtMessages.begin(), h.PositionsAtMessages.end()));
  EXPECT_EQ(h.Bar->Position(), h.Grid.TotalRows() - 1);
  // The grid stays as it was.
  EXPECT_TRUE(h.List.IsTicked(smallRow));

  // Back and Next again: the files already gone are neither logged as removed nor counted, only
  // named as no longer there; the Recycle Bin, empty now, is neither logged nor counted again.
  h.SetChecked(heldRow, false);
  EXPECT_TRUE(h.Clean.Run());
  std::vector<std::wstring> second{kHeader, L"", L"Total cleaned space: 0Mbyte", L"", kNotRemoved};
  for (const std::string& path : {small, big, system})
    second.push_back(AnsiToWide(path) + L" no longer there");
  EXPECT_EQ(h.Log(), second);
  EXPECT_EQ(h.Machine.RecycleBinEmptied, 1);
  EXPECT_EQ(ReadWholeFile(kept), "kept");
  EXPECT_EQ(ReadWholeFile(held), "held");
}

TEST(CleanRunTest, TheRecycleBinIsMeasuredWhenItIsEmptied) {
  TDecimalSeparatorPin point(L'.');
  // The row says what the scan saw; the log and the total say what was there when emptied.
  const struct {
    HRESULT result;
    uint64_t bytes, items;
    bool shell32Missing;
    const wchar_t* line; // nullptr: no line
    const wchar_t* total;
    int emptied;
  } cases[] = {
      {S_OK, 3 * 1048576, 2, false, L"Recycle Bin was cleaned 3 Mb", L"3", 1},
      {S_OK, 0, 0, false, nullptr, L"0", 0},
      // Empty files and folders: nothing to count, but the bin is not empty.
      {S_OK, 0, 2, false, L"Recycle Bin was cleaned 0 Mb", L"0", 1},
      // The shell cannot tell: emptied all the same, logged without a size, nothing counted.
      {E_FAIL, 1048576, 1, false, L"Recycle Bin was cleaned ", L"0", 1},
      {S_OK, 1048576, 1, true, nullptr, L"0", 0},
  };
  for (const auto& c : cases) {
    TTestFolder folder;
    TCleanHarness h;
    h.Machine.RecycleBinResult = c.result;
    h.Machine.RecycleBinBytes = c.bytes;
    h.Machine.RecycleBinItems = c.items;
    h.Machine.Shell32Missing = c.shell32Missing;
    h.RecycleBinTicked = true;
    h.List.AppendRecycleBinRow();
    h.List.SetRecycleBinSize(1048576);
    h.Group("System Temp Files");
    std::string file = folder.MakeFile("after.tmp", std::string(100, 'a'));
    h.File(file);
    h.Searched(folder.Path());
    EXPECT_TRUE(h.Clean.Run());
    std::vector<std::wstring> log{kHeader};
    if (c.line) log.push_back(c.line);
    log.insert(log.end(), {h.Removed(file, L"100 B"), L"",
                           L"Total cleaned space: " + std::wstring(c.total) + L"Mbyte"});
    EXPECT_EQ(h.Log(), log) << c.bytes << " " << c.items;
    EXPECT_EQ(h.Machine.RecycleBinEmptied, c.emptied) << c.bytes << " " << c.items;
  }
}

TEST(CleanRunTest, OnlyTheTickedRecycleBinGroupRowEmptiesTheBin) {
  TCleanHarness h;
  h.Machine.RecycleBinBytes = 1048576;
  h.Machine.RecycleBinItems = 1;
  // A profile folder named like the bin is a user row, never the bin's row.
  h.Group("User Temp Files");
  h.User("Recycle Bin");
  h.RecycleBinTicked = true;
  EXPECT_TRUE(h.Clean.Run());
  EXPECT_EQ(h.Machine.RecycleBinEmptied, 0);
  // Its category box unticked, or its row unchecked: the bin is left alone.
  h.List.AppendRecycleBinRow();
  int binRow = h.State.GroupRow;
  h.RecycleBinTicked = false;
  EXPECT_TRUE(h.Clean.Run());
  h.RecycleBinTicked = true;
  h.SetChecked(binRow, false);
  EXPECT_TRUE(h.Clean.Run());
  EXPECT_EQ(h.Log(), (std::vector<std::wstring>{kHeader, L"", L"Total cleaned space: 0Mbyte"}));
  EXPECT_EQ(h.Machine.RecycleBinEmptied, 0);
  h.SetChecked(binRow, true);
  EXPECT_TRUE(h.Clean.Run());
  EXPECT_EQ(h.Machine.RecycleBinEmptied, 1);
}

TEST(CleanRunTest, RefusedWhileAScanRuns) {
  TTestFolder folder;
  TCleanHarness h;
  h.Searched(folder.Path());
  h.Group("System Temp Files");
  std::string file = folder.MakeFile("busy.tmp", "busy");
  h.File(file);
  h.Memo1->Lines().Add(L"scan going on");
  {
    TBusyScope scan(h.State);
    EXPECT_FALSE(h.Clean.Run());
  }
  EXPECT_EQ(h.Log(), std::vector<std::wstring>{L"scan going on"});
  EXPECT_TRUE(h.Captions.empty());
  EXPECT_TRUE(h.Timer1->Enabled());
  EXPECT_EQ(ReadWholeFile(file), "busy");
  // While the run goes on it holds the state busy, so the scan cannot start in its messages.
  bool busyInside = false;
  h.Clean.ProcessMessages = [&] { busyInside = h.State.Busy; };
  EXPECT_TRUE(h.Clean.Run());
  EXPECT_TRUE(busyInside);
  EXPECT_FALSE(h.State.Busy);
}
