#include "main/ProfileFixture.h"
#include "main/ScanHarness.h"
#include "ui/Timer.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {
double Seconds() {
  LARGE_INTEGER frequency, now;
  ::QueryPerformanceFrequency(&frequency);
  ::QueryPerformanceCounter(&now);
  return double(now.QuadPart) / double(frequency.QuadPart);
}
} // namespace

// While a large scan runs, a timer of the window keeps firing, and each time it fires it finds
// every row complete and the status line naming the entry just handled.
TEST(ScanResponsivenessTest, ATimerKeepsFiringAndSeesOnlyCompleteRows) {
  TScanHarness scan;
  TProfileFixture fixture(scan.Machine);
  scan.TickOnly({1});
  scan.Form.SetBounds(0, 0, 400, 120);
  scan.Label2->SetBounds(0, 0, 400, 16);
  scan.Bar->SetBounds(0, 20, 400, 33);
  scan.Form.Show();
  // The shell loads its tables on the first question; that is not the scan's doing.
  TWin32Services().ShellTypeName(W(fixture.TempFolders()[0] + "f0.tmp"));

  bool scanning = false;
  std::vector<double> ticks;
  int fileRowsSeen = 0, analysesSeen = 0;
  TTimer* timer = scan.Form.Make<TTimer>();
  timer->SetInterval(10);
  timer->OnTimer = [&](TObject*) {
    if (!scanning) return;
    ticks.push_back(Seconds());
    int last = scan.Grid.TotalRows() - 1;
    if (last < 0) return;
    std::string status = scan.Status();
    if (scan.Grid.LevelOf(last) == 2) {
      // A file row, complete, and the status line names it.
      ++fileRowsSeen;
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

  scanning = true;
  double start = Seconds();
  ASSERT_TRUE(scan.Scan.Run());
  double end = Seconds();
  scanning = false;

  EXPECT_EQ(scan.Grid.TotalRows(),
            1 + TProfileFixture::kProfiles +
                TProfileFixture::kProfiles * TProfileFixture::kFilesPerProfile + 1);
  ASSERT_FALSE(ticks.empty());
  ticks.insert(ticks.begin(), start);
  ticks.push_back(end);
  double longest = 0;
  for (size_t i = 1; i < ticks.size(); ++i)
    longest = std::max(longest, ticks[i] - ticks[i - 1]);
  std::printf("scan %.0f ms, %zu timer events, longest gap %.1f ms\n", (end - start) * 1000,
              ticks.size() - 2, longest * 1000);
  EXPECT_LE(longest, 0.050);
  EXPECT_GT(fileRowsSeen, 0);
  EXPECT_GT(analysesSeen, 0);
}
