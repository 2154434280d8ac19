#include "main/MainForm.h"

#include "grid/Grid.h"
#include "main/FakeMachine.h"
#include "main/FoundFilesList.h"
#include "main/TestFolder.h"
#include "PointerInput.h"
#include "Pump.h"
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
    MakeDrives(Tree, Machine);
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

TEST(MainFormTest, TheLogCanBeCopiedButNotTypedInto) {
  TFormFixture f;
  TForm1& form = *f.Form;
  form.FxButton1Click(nullptr);
  form.FxButton2Click(nullptr);
  const std::wstring log = form.Memo1->Text();
  ASSERT_NE(log.find(L"Total cleaned space: "), std::wstring::npos);
  HWND memo = form.Memo1->Handle();
  ::SendMessageW(memo, EM_SETSEL, 0, -1);
  for (UINT message : {WM_CHAR, WM_PASTE, WM_CUT, WM_CLEAR})
    ::SendMessageW(memo, message, 'x', 0);
  EXPECT_EQ(form.Memo1->Text(), log);
  ::SendMessageW(memo, EM_SETSEL, 0, -1);
  ::SendMessageW(memo, WM_COPY, 0, 0);
  ASSERT_TRUE(::OpenClipboard(nullptr));
  HANDLE copied = ::GetClipboardData(CF_UNICODETEXT);
  std::wstring text = copied ? static_cast<const wchar_t*>(::GlobalLock(copied)) : L"";
  if (copied) ::GlobalUnlock(copied);
  ::CloseClipboard();
  std::wstring shown(size_t(::GetWindowTextLengthW(memo)) + 1, L'\0');
  shown.resize(size_t(::GetWindowTextW(memo, shown.data(), int(shown.size()))));
  EXPECT_EQ(text, shown);
}

TEST(MainFormTest, FoldersClosedToTheUserOfferARestartWithAdministratorRights) {
  TFormFixture f;
  TForm1& form = *f.Form;
  form.FxButton1Click(nullptr);
  EXPECT_TRUE(f.Machine.Messages.empty()) << "nothing denied, nothing asked";
  // A restart brings only the kinds it names; anything else on the command line changes nothing.
  form.ApplyCommandLine(L"/kinds=1,7");
  form.ApplyCommandLine(L"/kinds=2,x");
  for (size_t i = 0; i < form.FxCheckBoxes.size(); ++i)
    EXPECT_EQ(form.FxCheckBoxes[i]->Checked(), i == 0 || i == 6) << i;

  f.Machine.DeniedFolders.insert(L"d:\\users\\bob");
  f.Machine.Answers = {IDNO, IDYES};
  form.FxButton1Click(nullptr);
  ASSERT_EQ(f.Machine.Messages.size(), 1u);
  EXPECT_EQ(f.Machine.Messages[0].Text,
            L"1 user profile could not be searched without administrator rights.\n\n"
            L"Restart Varnox with administrator rights to search them?");
  EXPECT_EQ(f.Machine.Messages[0].Type & MB_TYPEMASK, UINT(MB_YESNO));
  EXPECT_TRUE(f.Machine.ElevatedRestarts.empty());
  form.FxButton1Click(nullptr);
  EXPECT_EQ(f.Machine.ElevatedRestarts, std::vector<std::wstring>{L"/kinds=1,7"});
  Application().ProcessMessages();
  EXPECT_FALSE(form.Visible()) << "the elevated program takes over";
}

TEST(MainFormTest, TheFileColumnTakesTheWidthTheWindowGains) {
  TFormFixture f;
  TVxCustomColumn* name = f.Form->VxGrid1->Columns().ColumnByName(L"FileName");
  const int before = name->Width();
  f.Form->SetWidth(f.Form->Width() + 100);
  EXPECT_EQ(name->Width(), before + 100);
  // The window's 782 pixels less 75, less Number's 39 and the 80 that Size and Type each keep.
  EXPECT_EQ(before, 508);
}

// The "Recycle Bin" box alone says whether the clean empties the bin, whatever the others say.
TEST(MainFormTest, TheRecycleBinBoxDecidesWhetherTheBinIsEmptied) {
  for (bool binTicked : {true, false}) {
    TFormFixture f;
    TForm1& form = *f.Form;
    f.Machine.RecycleBinBytes = 1048576;
    f.Machine.RecycleBinItems = 1;
    TFxCheckBox* bin = nullptr;
    for (TFxCheckBox* box : form.FxCheckBoxes) {
      if (box->Caption() == L"Recycle Bin") bin = box;
      box->SetChecked(false);
    }
    ASSERT_NE(bin, nullptr);
    bin->SetChecked(true);
    form.FxButton1Click(nullptr);
    for (TFxCheckBox* box : form.FxCheckBoxes)
      box->SetChecked(box == bin ? binTicked : !binTicked);
    form.FxButton2Click(nullptr);
    EXPECT_EQ(f.Machine.RecycleBinEmptied, binTicked ? 1 : 0) << binTicked;
  }
}

// "Selected" is what Next would remove, on every tick: the first fills the headings' totals,
// and the next must not count them as well.
TEST(MainFormTest, TheSummaryCountsOnlyTickedFilesOnEveryTick) {
  TFormFixture f;
  TForm1& form = *f.Form;
  f.Tree.MakeFile("D\\Users\\alice\\AppData\\Local\\Temp\\big.tmp", std::string(3 << 20, 'b'));
  form.FxButton1Click(nullptr);
  for (int tick = 1; tick <= 2; ++tick) {
    form.Timer1Timer(nullptr);
    // 3 MiB and four files of 3000 bytes.
    EXPECT_EQ(form.Label3->Caption(), L"Selected 3 MB") << "tick " << tick;
  }
}

// "Selected" and the headings' totals show as soon as the scan ends, and a tick changes
// "Selected" at once, a heading's tick by its whole subtree.
TEST(MainFormTest, TheSummaryShowsAtOnceAfterTheScanAndEachTick) {
  TFormFixture f;
  TForm1& form = *f.Form;
  f.Tree.MakeFile("D\\Users\\alice\\AppData\\Local\\Temp\\big.tmp", std::string(3 << 20, 'b'));
  f.Tree.MakeFile("D\\Users\\bob\\AppData\\Local\\Temp\\big2.tmp", std::string(2 << 20, 'b'));
  form.FxButton1Click(nullptr);
  EXPECT_EQ(form.Label3->Caption(), L"Selected 5 MB");
  TVxGrid& grid = *form.VxGrid1;
  TFoundFilesList list(grid, form.State());
  auto rowNamed = [&](const std::wstring& end) {
    for (int row = 0; row < grid.TotalRows(); ++row) {
      const std::wstring name = list.Path(row);
      if (name.size() >= end.size() && name.compare(name.size() - end.size(), end.size(), end) == 0)
        return row;
    }
    return -1;
  };
  const int alice = rowNamed(L"alice");
  ASSERT_GE(alice, 0);
  // 3000 + 3000 + 3 MiB.
  EXPECT_EQ(grid.CellByKey(kRealFileSizeColumn, alice)->TextValue(), L"3151728");
  const struct {
    const wchar_t* row;
    bool ticked;
    const wchar_t* selected;
  } ticks[] = {{L"big2.tmp", false, L"Selected 3 MB"},
               {L"alice", false, L"Selected 0 MB"},
               {L"alice", true, L"Selected 3 MB"},
               {L"big2.tmp", true, L"Selected 5 MB"}};
  for (const auto& tick : ticks) {
    const int row = rowNamed(tick.row);
    ASSERT_GE(row, 0) << tick.row;
    // As the grid reports a click on the box: the row's own tick has changed.
    list.SetTicked(row, tick.ticked);
    grid.OnCellValueChanged(&grid, 5, row, L"");
    EXPECT_EQ(form.Label3->Caption(), tick.selected) << tick.row << " " << tick.ticked;
  }
  form.Timer1Timer(nullptr);
  EXPECT_EQ(form.Label3->Caption(), L"Selected 5 MB");
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
  // The last user row with files of the first group, below a collapsed one whose file rows are
  // hidden: the click must reach the row shown under the pointer.
  int user = -1;
  for (int row = 0; row < grid.TotalRows(); ++row)
    if (grid.LevelOf(row) == 1 && grid.RowHasChildren(row) &&
        (user < 0 || grid.ParentRowOf(row) == grid.ParentRowOf(user)))
      user = row;
  ASSERT_GE(user, 0);
  ASSERT_EQ(grid.LevelOf(user - 1), 2) << "a collapsed user row with files comes first";
  grid.ExpandRow(grid.ParentRowOf(user), true);
  grid.Update();
  const RECT box = grid.GetCellRect(5, user);
  ClickWithPointer(grid.Handle(), {(box.left + box.right) / 2, (box.top + box.bottom) / 2});
  EXPECT_TRUE(PumpUntil([&] { return !list.IsTicked(user); }));
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
