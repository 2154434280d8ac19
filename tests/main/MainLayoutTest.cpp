#include "main/MainForm.h"

#include "grid/Grid.h"
#include "main/FakeMachine.h"
#include "main/TestFolder.h"
#include "styled/FxButton.h"
#include "styled/FxCheckBox.h"
#include "styled/FxPanel.h"
#include "styled/FxProgressBar.h"
#include "ui/StdCtrls.h"

#include <gtest/gtest.h>

namespace {

RECT BoundsOf(const TWinControl* control) {
  return control->BoundsRect();
}

bool operator==(const RECT& a, const RECT& b) {
  return ::EqualRect(&a, &b) != FALSE;
}

LONG MemoFontHeight(TMemo& memo) {
  LOGFONTW font{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(memo.Handle(), WM_GETFONT, 0, 0)),
               sizeof font, &font);
  return font.lfHeight;
}

} // namespace

// The window moved to a monitor at 150%, on to one at 200% and back: each time it takes the
// rectangle the system suggests, and every control stands where its 96-DPI place puts it at
// that scale, each length rounded once. What the user has is kept: the same windows, rows, ticks
// and log.
TEST(MainLayoutTest, AtAnotherScaleEveryControlIsPlacedAfreshAndNothingIsMadeAgain) {
  TTestFolder tree;
  for (const char* file : {"C\\Windows\\Temp\\s1.tmp", "C\\Windows\\Temp\\s2.tmp",
                           "D\\Users\\alice\\AppData\\Local\\Temp\\a1.tmp"})
    tree.MakeFile(file, std::string(3000, 'j'));
  TFakeMachine machine;
  MakeDrives(tree, machine);
  machine.SetRecent("D:\\Users\\alice\\AppData\\Roaming\\Microsoft\\Windows\\Recent");
  machine.Processes.emplace();
  TForm1 form(nullptr, machine);
  form.Show();
  form.FxButton1Click(nullptr);
  TVxGrid& grid = *form.VxGrid1;
  const int rows = grid.TotalRows();
  ASSERT_GT(rows, 2);
  grid.CellByKey(L"SelectCheck", rows - 1)->SetBoolValue(false);
  form.Memo1->SetText(L"what the clean run said\r\n");
  const HWND gridWindow = grid.Handle(), memoWindow = form.Memo1->Handle();
  const RECT designed[] = {BoundsOf(form.FxCheckBoxes[3]), BoundsOf(form.FxButton3)};

  struct TStep {
    int dpi;
    RECT box4, button3;        // FxCheckBox4 (11, 89, 230 x 17), FxButton3 (85, 55, 75 x 25)
    int bar, label, bottomBar; // heights of FxPanel4 (85), Label2 (13), FxPanel2 (35)
    int selectedWidth;         // Label3 (229)
    int besideFileColumn;      // 75
  };
  const TStep steps[] = {
      // 16.5 -> 17, 133.5 -> 134, 345, 25.5 -> 26; 127.5 -> 128, 82.5 -> 83, 112.5 -> 113, 37.5
      // -> 38; 127.5 -> 128, 19.5 -> 20, 52.5 -> 53, 343.5 -> 344, 112.5 -> 113.
      {144, {17, 134, 17 + 345, 134 + 26}, {128, 83, 128 + 113, 83 + 38}, 128, 20, 53, 344, 113},
      {192, {22, 178, 22 + 460, 178 + 34}, {170, 110, 170 + 150, 110 + 50}, 170, 26, 70, 458, 150},
      {96, designed[0], designed[1], 85, 13, 35, 229, 75},
  };
  for (const TStep& step : steps) {
    RECT suggested{40, 30, 40 + step.dpi * 5, 30 + step.dpi * 4};
    ::SendMessageW(form.Handle(), 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(step.dpi, step.dpi),
                   reinterpret_cast<LPARAM>(&suggested));
    SCOPED_TRACE(step.dpi);
    RECT window{};
    ::GetWindowRect(form.Handle(), &window);
    EXPECT_TRUE(window == suggested);
    EXPECT_TRUE(BoundsOf(form.FxCheckBoxes[3]) == step.box4);
    EXPECT_TRUE(BoundsOf(form.FxButton3) == step.button3);
    EXPECT_EQ(form.FxPanel4->Height(), step.bar);
    EXPECT_EQ(form.Label2->Height(), step.label);
    EXPECT_EQ(form.FxProgressBar1->Top(), form.Label2->Top() + step.label);
    EXPECT_EQ(form.FxPanel2->Height(), step.bottomBar);
    EXPECT_EQ(form.Label3->Width(), step.selectedWidth);
    int columns = 0;
    for (const wchar_t* name : {L"Number", L"FileName", L"FileSize", L"FileType"})
      columns += grid.Columns().ColumnByName(name)->Width();
    EXPECT_EQ(columns, step.dpi * 5 - step.besideFileColumn) << "the file column's rule";
    // MS Sans Serif of height -11 at 96 DPI.
    EXPECT_EQ(MemoFontHeight(*form.Memo1), -::MulDiv(11, step.dpi, 96));

    EXPECT_EQ(grid.Handle(), gridWindow);
    EXPECT_EQ(form.Memo1->Handle(), memoWindow);
    EXPECT_EQ(grid.TotalRows(), rows);
    EXPECT_FALSE(grid.CellByKey(L"SelectCheck", rows - 1)->BoolValue());
    EXPECT_TRUE(grid.CellByKey(L"SelectCheck", rows - 2)->BoolValue());
    EXPECT_EQ(form.Memo1->Text(), L"what the clean run said\r\n");
  }
}
