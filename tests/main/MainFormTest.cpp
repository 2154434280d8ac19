#include "main/MainForm.h"

#include "grid/Grid.h"
#include "main/FakeMachine.h"
#include "main/FoundFilesList.h"
#include "main/TestFolder.h"
#include "PointerInput.h"
#include "styled/FxButton.h"
#include "styled/FxCheckBox.h"
#include "ui/Application.h"
#include "ui/ComCtrls.h"
#include "ui/Numbers.h"
#include "ui/StdCtrls.h"
#include "ui/Timer.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

// The main window over a machine whose drives live in a test folder: two users with temp files
// under D:\Users and one file in C:\Windows\Temp.
struct TFormFixture {
  TTestFolder Tree;
  TFakeMachine Machine;
  std::unique_ptr<TForm1> Form;

  TFormFixture() {
    Tree.MakeFolder("C\\Windows\\Temp");
    Machine.Drives['C'] = Tree / "C";
    Machine.Drives['D'] = Tree / "D";
    Machine.WindowsDir = L"C:\\Windows";
    Machine.SetRecent("D:\\Users\\alice\\AppData\\Roaming\\Microsoft\\Windows\\Recent");
    Machine.Processes.emplace();
    for (const char* file :
         {"D\\Users\\alice\\AppData\\Local\\Temp\\a1.tmp",
          "D\\Users\\alice\\AppData\\Local\\Temp\\sub\\a2.log",
          "D\\Users\\bob\\AppData\\Local\\Temp\\b1.tmp", "C\\Windows\\Temp\\s1.tmp"})
      Tree.MakeFile(file, std::string(3000, 'j'));
    Form = std::make_unique<TForm1>(nullptr, Machine);
    Form->Show();
  }
  ~TFormFixture() { Form.reset(); }

  bool Exists(const char* file) {
    return ::GetFileAttributesA((Tree / file).c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  // A real click, as the window's message loop delivers it.
  static void PostClick(TWinControl* control) {
    ::PostMessageW(control->Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    ::PostMessageW(control->Handle(), WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
  }
};

} // namespace

TEST(MainFormTest, PagesCaptionsAndTimerFollowTheButtons) {
  TFormFixture f;
  TForm1& form = *f.Form;
  for (int i = 0; i < form.PageControl1->PageCount(); ++i)
    EXPECT_FALSE(form.PageControl1->Pages(i)->TabVisible()) << i;
  EXPECT_FALSE(form.FxCheckBoxes[8]->Visible());

  const struct {
    void (TForm1::*press)(TObject*);
    int page;
    const wchar_t* caption;
    bool timer;
  } steps[] = {
      {nullptr, 0, L"Varnox", true},
      {&TForm1::FxButton1Click, 1, L"Varnox - Found files", true},
      {&TForm1::FxButton3Click, 0, L"Varnox", true},
      {&TForm1::FxButton1Click, 1, L"Varnox - Found files", true},
      {&TForm1::FxButton2Click, 2, L"Varnox - Deleting Files", false},
      {&TForm1::FxButton5Click, 1, L"Varnox - Found Files", true},
  };
  for (const auto& step : steps) {
    if (step.press) (form.*step.press)(nullptr);
    EXPECT_EQ(form.ActivePageIndex(), step.page) << step.page;
    EXPECT_EQ(form.Caption(), step.caption);
    EXPECT_EQ(form.Timer1->Enabled(), step.timer);
  }
  EXPECT_FALSE(f.Exists("D\\Users\\bob\\AppData\\Local\\Temp\\b1.tmp"));
  EXPECT_NE(form.Memo1->Text().find(L"Total cleaned space: "), std::wstring::npos);
}

TEST(MainFormTest, TheFileColumnTakesTheWidthTheWindowGains) {
  TFormFixture f;
  TVxCustomColumn* name = f.Form->VxGrid1->Columns().ColumnByName(L"FileName");
  const int before = name->Width();
  f.Form->SetWidth(f.Form->Width() + 100);
  EXPECT_EQ(name->Width(), before + 100);
  TVxColumns& columns = f.Form->VxGrid1->Columns();
  EXPECT_EQ(before, 782 - 75 - 39 - columns.ColumnByName(L"FileSize")->Width() -
                        columns.ColumnByName(L"FileType")->Width());
}

TEST(MainFormTest, ButtonsAreHeldOffWhileAScanRuns) {
  TFormFixture f;
  TForm1& form = *f.Form;
  form.FxButton1Click(nullptr);
  form.FxButton3Click(nullptr);
  ASSERT_EQ(form.ActivePageIndex(), 0);
  // "Back" pressed for real while the scan lets messages run: refused, the scan goes on.
  f.PostClick(form.FxButton3);
  form.FxButton1Click(nullptr);
  EXPECT_EQ(form.ActivePageIndex(), 1);
  EXPECT_EQ(form.Caption(), L"Varnox - Found files");
  for (TFxButton* button : {form.FxButton1, form.FxButton2, form.FxButton3, form.FxButton5})
    EXPECT_TRUE(button->Enabled());

  // A run that is already going on refuses every button and a sort by a header click.
  TVxGrid& grid = *form.VxGrid1;
  const RECT header = grid.GetCellRect(3, 0);
  const LPARAM at = MAKELPARAM((header.left + header.right) / 2, grid.GetHeaderRect().bottom / 2);
  auto clickHeader = [&] {
    ::SendMessageW(grid.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageW(grid.Handle(), WM_LBUTTONUP, 0, at);
  };
  form.State().Busy = true;
  form.FxButton2Click(nullptr);
  form.FxButton3Click(nullptr);
  clickHeader();
  EXPECT_EQ(form.ActivePageIndex(), 1);
  EXPECT_TRUE(f.Exists("C\\Windows\\Temp\\s1.tmp"));
  EXPECT_FALSE(grid.Columns().ColumnAt(3)->Sorted());
  form.State().Busy = false;
  clickHeader();
  EXPECT_TRUE(grid.Columns().ColumnAt(3)->Sorted());
}

TEST(MainFormTest, ClosingDuringARunStopsItAtItsNextMessageRunThenCloses) {
  for (bool clean : {false, true}) {
    TFormFixture f;
    TForm1& form = *f.Form;
    if (clean) form.FxButton1Click(nullptr);
    const int rows = form.VxGrid1->TotalRows();
    ::PostMessageW(form.Handle(), WM_CLOSE, 0, 0);
    if (clean)
      form.FxButton2Click(nullptr);
    else
      form.FxButton1Click(nullptr);
    EXPECT_FALSE(form.Busy());
    EXPECT_TRUE(form.Visible()) << "the close waits for the run to stop";
    Application().ProcessMessages();
    EXPECT_FALSE(form.Visible()) << clean;
    if (clean) {
      // Stopped before the first file: every file is whole, the log so far stays.
      EXPECT_EQ(form.VxGrid1->TotalRows(), rows);
      EXPECT_TRUE(f.Exists("D\\Users\\alice\\AppData\\Local\\Temp\\a1.tmp"));
      EXPECT_EQ(form.Memo1->Text().find(L"Total cleaned space"), std::wstring::npos);
    } else {
      EXPECT_NE(form.Label2->Caption(), L"Scanning has been finished.");
    }
  }
}

TEST(MainFormTest, PopupActionsOpenOnlyFileRows) {
  const struct {
    const wchar_t *path, *folder;
  } folders[] = {
      {L"C:\\Users\\a\\Temp\\x.tmp", L"C:\\Users\\a\\Temp"},
      {L"C:\\x.tmp", L"C:\\"},
      {L"D:\\a\\b", L"D:\\a"},
  };
  for (const auto& f : folders)
    EXPECT_EQ(FolderOfPath(f.path), f.folder);

  TFormFixture f;
  TForm1& form = *f.Form;
  form.FxButton1Click(nullptr);
  // No selected row, then a heading selected: nothing reaches the shell.
  form.Openthefile1Click(nullptr);
  form.VxGrid1->SelectCell(2, 0, true, {});
  ASSERT_EQ(form.VxGrid1->SelectedRow(), 0);
  form.Openthefile1Click(nullptr);
  form.Exprorefilefolder1Click(nullptr);
  EXPECT_TRUE(f.Machine.Opened.empty());

  TFoundFilesList list(*form.VxGrid1, form.State());
  int file = 0;
  while (!list.IsFileRow(file))
    ++file;
  form.VxGrid1->ExpandRow(form.VxGrid1->ParentRowOf(file), true);
  form.VxGrid1->ExpandRow(0, true);
  form.VxGrid1->SelectCell(2, file, true, {});
  ASSERT_EQ(form.VxGrid1->SelectedRow(), file);
  form.Openthefile1Click(nullptr);
  form.Exprorefilefolder1Click(nullptr);
  const std::wstring path = list.Path(file);
  EXPECT_EQ(f.Machine.Opened, (std::vector<std::wstring>{path, FolderOfPath(path)}));
}

TEST(MainFormTest, ATickClickedOnAHeadingReachesEveryRowBelowIt) {
  TFormFixture f;
  TForm1& form = *f.Form;
  form.FxButton1Click(nullptr);
  TVxGrid& grid = *form.VxGrid1;
  TFoundFilesList list(grid, form.State());
  // The first user row with files, under its expanded group.
  int user = -1;
  for (int row = 0; row < grid.TotalRows() && user < 0; ++row)
    if (grid.LevelOf(row) == 1 && grid.RowHasChildren(row)) user = row;
  ASSERT_GE(user, 0);
  grid.ExpandRow(grid.ParentRowOf(user), true);
  grid.Update();
  const RECT box = grid.GetCellRect(5, user);
  ClickWithPointer(grid.Handle(), {(box.left + box.right) / 2, (box.top + box.bottom) / 2});
  for (int i = 0; i < 20; ++i) {
    ::Sleep(20);
    Application().ProcessMessages();
  }
  EXPECT_FALSE(list.IsTicked(user));
  for (int row = user + 1; row <= grid.LastDescendantRow(user); ++row)
    EXPECT_FALSE(list.IsTicked(row)) << row;
}

TEST(MainFormTest, StartsWithTheKindsOfTheLastFindAndWaitsForAnotherRun) {
  TFakeMachine machine;
  machine.Processes.emplace();
  machine.WriteRegistryString(HKEY_CURRENT_USER, L"Software\\Varnox", L"Kinds", L"chrome,recent");
  TForm1 form(nullptr, machine);
  for (int box = 1; box <= 10; ++box)
    EXPECT_EQ(form.FxCheckBoxes[box - 1]->Checked(), box == 3 || box == 8) << box;

  // While the console program cleans, "Find" says so and stays on its page.
  machine.RunLockHeld = true;
  form.Show();
  form.FxButton1Click(nullptr);
  ASSERT_EQ(machine.Messages.size(), 1u);
  EXPECT_EQ(machine.Messages[0].Text, kAnotherRunText);
  EXPECT_EQ(form.ActivePageIndex(), 0);
}
