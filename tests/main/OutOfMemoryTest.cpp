#include "AllocationLimit.h"
#include "CleanHarness.h"
#include "TestFolder.h"
#include "main/MainForm.h"
#include "main/ScanHarness.h"
#include "styled/FxCheckBox.h"

#include <gtest/gtest.h>

#include <functional>
#include <set>

namespace {
// Memory runs short from a chosen moment of a scan on, through the limit the test arms.
class TArmingMachine : public TFakeMachine {
public:
  std::function<void()> OnScanStart;
  std::function<void(const std::wstring& path)> OnTypeNameQuestion;
  // Asked once per scan, right when its categories begin; the type names are asked afresh each
  // time, so that every scan meets the same allocations.
  bool FileTypesMayHaveChanged() override {
    if (OnScanStart) OnScanStart();
    return true;
  }
  std::wstring ShellTypeName(const std::wstring& path) override {
    if (OnTypeNameQuestion) OnTypeNameQuestion(path);
    return TFakeMachine::ShellTypeName(path);
  }
};

struct TListedFile {
  std::string Name;
  std::wstring SizeText;
  std::wstring Bytes;
};
} // namespace

TEST(OutOfMemoryTest, AScanStopsWithWholeRowsWhereverMemoryRunsOut) {
  TTestFolder tree;
  TScanHarnessOn<TArmingMachine> scan;
  MakeDrives(tree, scan.Machine);
  scan.Machine.SetRecent("D:\\Users\\alice\\AppData\\Roaming\\Microsoft\\Windows\\Recent");
  const std::string temp = "D\\Users\\alice\\AppData\\Local\\Temp\\";
  // Sizes below 1024 bytes show as their digits and " B".
  const TListedFile made[] = {{"a.tmp", L"100 B", L"100"},      {"b.log", L"200 B", L"200"},
                              {"sub\\c.tmp", L"300 B", L"300"}, {"sub\\d.dat", L"400 B", L"400"},
                              {"e.txt", L"500 B", L"500"},      {"f.tmp", L"600 B", L"600"}};
  std::vector<std::string> paths;
  for (const TListedFile& file : made) {
    tree.MakeFile(temp + file.Name, std::string(std::stoul(file.Bytes), 'x'));
    paths.push_back(tree / temp + file.Name);
  }
  SortDepthFirst(tree / temp, paths);
  // The whole list: the group, alice, her files in the order the walk meets them, then the
  // system temp group (its folder is empty).
  std::vector<TListedFile> expected;
  for (const std::string& path : paths)
    for (const TListedFile& file : made)
      if (path == tree / temp + file.Name)
        expected.push_back(
            {"D:\\Users\\alice\\AppData\\Local\\Temp\\" + file.Name, file.SizeText, file.Bytes});

  scan.TickOnly({1});
  // Window messages are the framework's, which reports their errors itself; here memory runs
  // out inside the scan's own work.
  scan.Scan.ProcessMessages = [] {};
  TAllocationLimit limit;
  // From the start, in coarse steps (the list's first rows take a large block at once), and from
  // the first file's type name on, in fine ones, so that memory runs out inside every row.
  const struct {
    bool atStart;
    size_t step;
  } sweeps[] = {{true, 256}, {false, 16}};
  for (const auto& sweep : sweeps) {
    size_t headroom = 0;
    bool armed = false;
    auto arm = [&] {
      if (!armed) limit.Arm(headroom);
      armed = true;
    };
    scan.Machine.OnScanStart = [&] {
      armed = false;
      if (sweep.atStart) arm();
    };
    scan.Machine.OnTypeNameQuestion = [&](const std::wstring&) { arm(); };
    std::set<int> rowsAtStops;
    for (bool finished = false; !finished; headroom += sweep.step) {
      SCOPED_TRACE("headroom " + std::to_string(headroom) +
                   (sweep.atStart ? " from the start" : ""));
      ASSERT_LT(headroom, 1u << 20) << "the scan never finished";
      try {
        finished = scan.Scan.Run();
        limit.Disarm();
        ASSERT_TRUE(finished);
      } catch (const EOutOfMemory&) {
        limit.Disarm();
        EXPECT_EQ(scan.Status(), "Not enough memory: the list shows only the files found so far.");
      }
      EXPECT_FALSE(scan.State.Busy);
      const int rows = scan.Grid.TotalRows();
      const int wholeList = 2 + int(expected.size()) + 1;
      ASSERT_LE(rows, wholeList);
      if (finished) {
        EXPECT_EQ(rows, wholeList);
        EXPECT_EQ(scan.Status(), "Scanning has been finished.");
      }
      // Whatever is listed is the start of the whole list, every row written in full.
      if (rows > 0) {
        EXPECT_EQ(scan.Name(0), "User Temp Files");
      }
      if (rows > 1) {
        EXPECT_EQ(scan.Name(1), "alice");
      }
      for (int row = 2; row < rows && row < wholeList - 1; ++row) {
        const TListedFile& file = expected[size_t(row - 2)];
        EXPECT_EQ(scan.Name(row), file.Name);
        EXPECT_EQ(scan.Text(kFileSizeColumn, row), file.SizeText);
        EXPECT_EQ(scan.Text(kRealFileSizeColumn, row), file.Bytes);
        EXPECT_TRUE(scan.Checked(row));
        EXPECT_EQ(scan.Grid.ParentRowOf(row), 1);
      }
      if (rows == wholeList) {
        EXPECT_EQ(scan.Name(wholeList - 1), "System Temp Files");
      }
      if (!finished) rowsAtStops.insert(rows);
      if (HasFailure()) return;
    }
    // Memory ran out on the way to the first file's row and to later ones. Not necessarily to
    // every one: a row may take no new memory at all, its folder and type already kept by the
    // list and its cells fitting in room the lists grew earlier.
    if (!sweep.atStart) {
      EXPECT_EQ(rowsAtStops.count(2), 1u);
      int fileRowStops = 0;
      for (int rows = 2; rows < 2 + int(expected.size()); ++rows)
        fileRowStops += int(rowsAtStops.count(rows));
      EXPECT_GE(fileRowStops, 3);
    }
  }
}

TEST(OutOfMemoryTest, ACleanRunStopsAndLeavesTheFilesNotReachedYet) {
  TTestFolder folder;
  const char* names[] = {"one.tmp", "two.tmp", "three.tmp"};
  const std::wstring memoryLine = L"Not enough memory: cleaning stopped, and the files not reached "
                                  L"yet were left as they were.";
  TAllocationLimit limit;
  std::set<size_t> removedAtStops;
  bool finished = false;
  // Memory runs out ever later after the first file is gone, until the run gets through.
  for (size_t headroom = 0; !finished; headroom += 32) {
    SCOPED_TRACE("headroom " + std::to_string(headroom));
    ASSERT_LT(headroom, 1u << 20) << "the run never finished";
    TCleanHarness h;
    // The log lands in the edit control, as in the window.
    h.Memo1->HandleNeeded();
    h.Group("System Temp Files");
    std::vector<std::string> files;
    for (const char* name : names) {
      files.push_back(folder.MakeFile(std::string("Temp\\") + name, std::string(100, 'x')));
      h.File(files.back());
    }
    h.Searched(folder / "Temp\\");
    bool armed = false;
    h.Clean.OnRowDone = [&](int, const std::wstring&, TWipeResult) {
      if (!armed) limit.Arm(headroom);
      armed = true;
    };
    try {
      finished = h.Clean.Run();
    } catch (const EOutOfMemory&) {
    }
    limit.Disarm();
    // The files gone are the first ones, each logged; the rest are whole.
    size_t removed = 0;
    while (removed < files.size() &&
           ::GetFileAttributesA(files[removed].c_str()) == INVALID_FILE_ATTRIBUTES)
      ++removed;
    for (size_t i = removed; i < files.size(); ++i)
      EXPECT_EQ(ReadWholeFile(files[i]), std::string(100, 'x')) << files[i];
    std::vector<std::wstring> log{L"Next files removed from the Hard drive:"};
    for (size_t i = 0; i < removed; ++i)
      log.push_back(h.Removed(files[i], L"100 B"));
    log.push_back(L"");
    log.push_back(L"Total cleaned space: 0Mbyte");
    if (!finished) log.push_back(memoryLine);
    EXPECT_EQ(h.Log(), log);
    EXPECT_GE(removed, 1u);
    if (finished) {
      EXPECT_EQ(removed, files.size());
    }
    EXPECT_FALSE(h.State.Busy);
    if (!finished) removedAtStops.insert(removed);
    if (HasFailure()) return;
  }
  // Memory ran out before the second file and before the third.
  EXPECT_EQ(removedAtStops.count(1), 1u);
  EXPECT_EQ(removedAtStops.count(2), 1u);
}

TEST(OutOfMemoryTest, TheWindowSaysTheListIsIncompleteAndCleansOnlyWhatItListed) {
  TTestFolder tree;
  TArmingMachine machine;
  MakeDrives(tree, machine);
  machine.SetRecent("D:\\Users\\alice\\AppData\\Roaming\\Microsoft\\Windows\\Recent");
  machine.Processes.emplace();
  const std::string alice = tree.MakeFile("D\\Users\\alice\\AppData\\Local\\Temp\\a.tmp", "a");
  const std::string bob = tree.MakeFile("D\\Users\\bob\\AppData\\Local\\Temp\\b.bob", "b");
  const std::string system = tree.MakeFile("C\\Windows\\Temp\\s.tmp", "s");
  TAllocationLimit limit;
  // Memory runs out as bob's file is about to be listed.
  machine.OnTypeNameQuestion = [&](const std::wstring& path) {
    if (path.find(L"\\bob\\") != std::wstring::npos) limit.Arm(0);
  };
  TForm1 form(nullptr, machine);
  form.Show();
  for (TFxCheckBox* box : form.FxCheckBoxes)
    box->SetChecked(box->Caption() == L"Temporary files");
  form.FxButton1Click(nullptr);
  limit.Disarm();
  const std::wstring text = L"Not enough memory: the list shows only the files found so far.";
  ASSERT_EQ(machine.Messages.size(), 1u);
  EXPECT_EQ(machine.Messages[0].Text, text);
  EXPECT_EQ(form.Label2->Caption(), text);
  form.FxButton2Click(nullptr);
  EXPECT_EQ(::GetFileAttributesA(alice.c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(ReadWholeFile(bob), "b");
  EXPECT_EQ(ReadWholeFile(system), "s");
}
