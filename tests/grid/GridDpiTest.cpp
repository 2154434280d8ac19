#include "GridControl.h"
#include "ui/Bitmap.h"

#include <gtest/gtest.h>

#include <cstring>

#include <uxtheme.h>

// At 192 DPI every length of the grid doubles: a header of 36, rows of 32 with the 1-pixel
// line between them, the tree column 300 wide, the text column 160, the check column 80. The
// classic check box is 22 x 22 centred in its cell: x 489 to 511 ((460 + 540) / 2 - 11), y
// from the row's top + 5 (16 - 11). The tree button of a top-level row is 18 x 18 at x 4
// (2 pixels doubled), y from the row's top + 6 (32 / 2 - 10). A click on the edge pixels of
// a box hits it, a click on the pixel beside it does not.
TEST(GridDpiTest, ClicksHitCheckBoxesAndTreeButtonsWhereTheyStandAt192Dpi) {
  TControlGridWindow w;
  // The classic boxes have a known size; a theme may draw its own.
  ::SetWindowTheme(w.window, L" ", L" ");
  w.grid->AppendRows(1);
  w.grid->AppendChildRow(0, true);
  // The owner lays the grid out for the new DPI: room for the doubled columns.
  w.form.SetBounds(0, 0, 640, 480);
  w.grid->SetBounds(0, 0, 600, 440);
  w.grid->ChangeDpi(192);
  // The user clicks on what was painted.
  ::UpdateWindow(w.window);
  ASSERT_EQ(w.grid->GetCellRect(2, 0).left, 460);
  ASSERT_EQ(w.grid->GetCellRect(2, 0).top, 36);

  struct Probe {
    POINT at;
    bool hits;
  };
  const int top = 36;
  const Probe checks[] = {
      {{489, top + 5}, true},   {{510, top + 26}, true}, {{488, top + 15}, false},
      {{511, top + 15}, false}, {{500, top + 4}, false}, {{500, top + 27}, false},
  };
  for (const Probe& p : checks) {
    const bool before = w.grid->CellAt(2, 0)->BoolValue();
    w.Click(p.at);
    EXPECT_EQ(w.grid->CellAt(2, 0)->BoolValue() != before, p.hits)
        << "check box at " << p.at.x << "," << p.at.y;
  }
  const Probe buttons[] = {
      {{4, top + 6}, true},    {{21, top + 23}, true}, {{3, top + 14}, false},
      {{22, top + 14}, false}, {{12, top + 5}, false}, {{12, top + 24}, false},
  };
  for (const Probe& p : buttons) {
    const bool before = w.grid->IsRowExpanded(0);
    w.Click(p.at);
    EXPECT_EQ(w.grid->IsRowExpanded(0) != before, p.hits)
        << "tree button at " << p.at.x << "," << p.at.y;
  }
}

// The owner sets lengths at 96 DPI before the grid learns its DPI; they follow it there and
// back without gathering roundings: 17 is 25.5 at 144 (26, halves away from zero), 34 at
// 192 and 17 again at 96. The row keeps its tick through every change.
TEST(GridDpiTest, LengthsSetByTheOwnerFollowTheDpiWithoutDrift) {
  TControlGridWindow w;
  w.grid->SetRowSize(17);
  w.grid->SetHeaderSize(21);
  w.grid->Columns().ColumnAt(1)->SetWidth(75);
  w.grid->AppendRows(2);
  w.grid->SetRowHeightOf(1, 40);
  w.grid->CellAt(2, 0)->SetBoolValue(true);
  // The tree column's 150 comes along as 225 and 300.
  struct Step {
    int dpi, rowSize, header, treeWidth, width, ownRow;
  };
  const Step steps[] = {
      {144, 26, 32, 225, 113, 60}, {192, 34, 42, 300, 150, 80}, {96, 17, 21, 150, 75, 40}};
  for (const Step& s : steps) {
    w.grid->ChangeDpi(s.dpi);
    EXPECT_EQ(w.grid->RowSize(), s.rowSize) << s.dpi;
    EXPECT_EQ(w.grid->HeaderSize(), s.header) << s.dpi;
    EXPECT_EQ(w.grid->Columns().ColumnAt(1)->Width(), s.width) << s.dpi;
    EXPECT_EQ(w.grid->RowHeightOf(0), s.rowSize) << s.dpi;
    EXPECT_EQ(w.grid->RowHeightOf(1), s.ownRow) << s.dpi;
    EXPECT_EQ(w.grid->GetCellRect(2, 0).left, s.treeWidth + s.width) << s.dpi;
    EXPECT_TRUE(w.grid->CellAt(2, 0)->BoolValue()) << s.dpi;
  }
}

// A picture for people to judge: the found-files look (a group, a user, two files, ticks, a
// sorted header) at 192 DPI, saved as grid_192dpi.bmp in the folder the test runs in.
TEST(GridDpiTest, SavesAPictureAt192Dpi) {
  TControlGridWindow w;
  ::SetWindowTheme(w.window, L" ", L" ");
  w.grid->Columns().ColumnAt(0)->Header().SetCaption(L"Name");
  w.grid->Columns().ColumnAt(1)->Header().SetCaption(L"Size");
  w.grid->Columns().ColumnAt(1)->SetSorted(true);
  static_cast<TVxTreeColumn*>(w.grid->Columns().ColumnAt(0))->SetShowLines(true);
  w.grid->AppendRows(1);
  w.grid->AppendChildRow(0, true);
  w.grid->AppendChildRow(1, true);
  w.grid->AppendChildRow(1, true);
  w.grid->AppendRows(1);
  w.grid->AppendChildRow(4, true);
  w.grid->ExpandRow(4, false);
  const wchar_t* names[] = {L"Temporary files", L"Admin",       L"C:\\Temp\\a.tmp",
                            L"C:\\Temp\\b.log", L"Recycle Bin", L"hidden"};
  for (int r = 0; r < 6; ++r) {
    w.grid->SetCellText(0, r, names[r]);
    w.grid->SetCellText(1, r, std::to_wstring(r * 7) + L" KB");
    w.grid->CellAt(2, r)->SetBoolValue(r != 3);
  }
  w.form.SetBounds(0, 0, 640, 480);
  w.grid->SetBounds(0, 0, 600, 440);
  w.grid->ChangeDpi(192);
  TBitmap picture(w.grid->Width(), w.grid->Height());
  w.grid->PaintTo(picture.Canvas().Handle(), 0, 0);
  picture.SaveToFile(L"grid_192dpi.bmp");
  // The level-2 file row's text starts past two indents and the button's room:
  // 2 * 38 + 32 + the 4-pixel margin.
  const RECT file = w.grid->GetCellRect(0, 2);
  bool inkBefore = false;
  for (int x = file.left + 1; x < file.left + 112; ++x)
    for (int y = file.top + 4; y < file.bottom - 4; ++y)
      if (picture.Pixel(x, y) == ColorToRGB(clWindowText)) inkBefore = true;
  EXPECT_FALSE(inkBefore);
}

// Each of the grid's cursors carries images of 48 and 64 pixels besides the 32-pixel one, so
// the system takes one of the right size for a larger scale instead of stretching.
TEST(GridDpiTest, CursorsComeAtTheSizesOfLargerScales) {
  HMODULE module = ::GetModuleHandleW(nullptr);
  for (const wchar_t* name : {L"ROLL", L"ROLLUP", L"ROLLDOWN", L"HORZSPLIT", L"VERTSPLIT",
                              L"COLUMNNODRAG", L"INDICATORSELECT"})
    for (const int size : {48, 64}) {
      HRSRC group = ::FindResourceW(module, name, MAKEINTRESOURCEW(12)); // RT_GROUP_CURSOR
      ASSERT_NE(group, nullptr);
      auto* directory = static_cast<BYTE*>(::LockResource(::LoadResource(module, group)));
      const int id = ::LookupIconIdFromDirectoryEx(directory, FALSE, size, size, LR_MONOCHROME);
      HRSRC image = ::FindResourceW(module, MAKEINTRESOURCEW(id), MAKEINTRESOURCEW(1)); // RT_CURSOR
      ASSERT_NE(image, nullptr);
      // The image starts with its hot spot (two words), then its bitmap header.
      const auto* data = static_cast<const BYTE*>(::LockResource(::LoadResource(module, image)));
      BITMAPINFOHEADER header;
      std::memcpy(&header, data + 4, sizeof header);
      EXPECT_EQ(header.biWidth, size) << WideToAnsi(name);
    }
}
