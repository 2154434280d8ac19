#include "main/ProfileFixture.h"
#include "main/ScanHarness.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
// Slow where a user would wait: every folder inside the second profile's temp folder lists
// slowly, and so does the shell's first question about a .png file.
class TSlowMachine : public TFakeMachine {
public:
  std::string SlowFile;
  std::unique_ptr<TDirectoryListing> FindFirst(const std::wstring& pattern,
                                               TFindEntry& first) override {
    const std::wstring temp = L"\\U1\\AppData\\Local\\Temp\\";
    size_t at = pattern.find(temp);
    if (at != std::wstring::npos && pattern.size() > at + temp.size() + 3)
      OutlastTheMessageInterval();
    return TFakeMachine::FindFirst(pattern, first);
  }
  std::wstring ShellTypeName(const std::wstring& path) override {
    if (SlowFile.empty() && path.size() > 4 && path.substr(path.size() - 4) == L".png") {
      SlowFile = WideToAnsi(path);
      OutlastTheMessageInterval();
    }
    return TFakeMachine::ShellTypeName(path);
  }
};
} // namespace

// While a large scan runs, messages run after every entry that outlasts the interval, and
// whatever runs then (a timer, a repaint, a click) finds every row complete and the status line
// naming the entry just handled.
TEST(ScanResponsivenessTest, MessagesRunAfterEverySlowEntryAndSeeOnlyCompleteRows) {
  TScanHarnessOn<TSlowMachine> scan;
  TProfileFixture fixture(scan.Machine);
  scan.TickOnly({1});
  scan.Form.SetBounds(0, 0, 400, 120);
  scan.Label2->SetBounds(0, 0, 400, 16);
  scan.Bar->SetBounds(0, 20, 400, 33);
  scan.Form.Show();

  int fileRowsSeen = 0, analysesSeen = 0;
  bool slowFileSeen = false;
  scan.OnMessages = [&] {
    int last = scan.Grid.TotalRows() - 1;
    if (last < 0) return;
    std::string status = scan.Status();
    if (scan.Grid.LevelOf(last) == 2) {
      // A file row, complete, and the status line names it.
      ++fileRowsSeen;
      slowFileSeen = slowFileSeen || scan.Name(last) == scan.Machine.SlowFile;
      EXPECT_EQ(status, "Search: " + scan.Name(last));
      EXPECT_NE(scan.Text(kFileSizeColumn, last), L"");
      EXPECT_NE(scan.Text(kRealFileSizeColumn, last), L"");
      EXPECT_NE(scan.Text(kFileTypeColumn, last), L"");
      EXPECT_TRUE(scan.Checked(last));
      EXPECT_EQ(scan.Bar->Position(),
                std::min<int>(int(scan.State.FoundBytes / 1024), scan.Bar->Max()));
    } else if (scan.Grid.LevelOf(last) == 1) {
      // A profile being analysed: its user row is complete.
      EXPECT_TRUE(scan.Checked(last));
      EXPECT_EQ(scan.Name(last)[0], 'U');
      if (status.rfind("Analysis: User Temp Files ", 0) == 0) ++analysesSeen;
    }
  };

  ASSERT_TRUE(scan.Scan.Run());

  EXPECT_EQ(scan.Grid.TotalRows(),
            1 + TProfileFixture::kProfiles +
                TProfileFixture::kProfiles * TProfileFixture::kFilesPerProfile + 1);
  ASSERT_FALSE(scan.Machine.SlowFile.empty());
  EXPECT_TRUE(slowFileSeen) << scan.Machine.SlowFile;
  EXPECT_GT(fileRowsSeen, 0);
  EXPECT_GT(analysesSeen, 0);
}
