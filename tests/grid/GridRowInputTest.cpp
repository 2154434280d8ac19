#include "GridControl.h"
#include "PixelInk.h"
#include "PointerInput.h"
#include "Pump.h"
#include "grid/ColumnDrag.h"
#include "grid/HeaderDisplays.h"
#include "grid/StyleDisplay.h"
#include "ui/Bitmap.h"
#include "ui/Handles.h"
#include "ui/Screen.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

using Log = std::vector<std::string>;
constexpr int kStripX = 6; // inside the indicator strip

// The grid window with the indicator strip, row resizing and row moving, and the row events
// written to the log beside the selection events.
struct RowInputGrid : TControlGridWindow {
  RowInputGrid() {
    grid->SetOptions(grid->Options() + TGridOptions{goIndicator, goRowResizing, goRowMoving});
    grid->OnRowMove = [this](TObject*, int from, int to, bool& accept) {
      Log.push_back("RowMove " + std::to_string(from) + "," + std::to_string(to));
      accept = AcceptMove;
    };
    grid->OnAfterRowMove = [this](TObject*, int from, int to) {
      Log.push_back("AfterRowMove " + std::to_string(from) + "," + std::to_string(to));
    };
    grid->OnChangeRowHeight = [this](TObject*, int row, int height) {
      Log.push_back("RowHeight " + std::to_string(row) + "=" + std::to_string(height));
    };
  }
  void Move(int y, WPARAM keys = MK_LBUTTON, int x = kStripX) {
    ::SendMessageW(window, WM_MOUSEMOVE, keys, MAKELPARAM(x, y));
  }
  // A press in the strip, a move that far and a release there.
  void Drag(int fromY, int toY) {
    Press(POINT{kStripX, fromY});
    Move(toY);
    Release(POINT{kStripX, toY});
  }
  int Middle(int row) { return grid->GetRowTop(row) + 8; }
  int Edge(int row) { return grid->GetRowTop(row) + grid->RowHeightOf(row); }
  std::vector<std::wstring> Names() {
    std::vector<std::wstring> names;
    for (int r = 0; r < grid->TotalRows(); ++r)
      names.push_back(grid->CellText(0, r));
    return names;
  }
  void AddRows(std::initializer_list<const wchar_t*> names) {
    for (const wchar_t* name : names)
      grid->SetCellText(0, grid->AppendRows(1), name);
  }
  // What the window shows on the screen now, and what a fresh paint of it gives.
  std::unique_ptr<TBitmap> Shown() {
    auto picture = std::make_unique<TBitmap>(300, 220);
    TWindowDC dc(window);
    ::BitBlt(picture->Canvas().Handle(), 0, 0, 300, 220, dc.Get(), 0, 0, SRCCOPY);
    ::GdiFlush();
    return picture;
  }
  std::unique_ptr<TBitmap> Painted() {
    auto picture = std::make_unique<TBitmap>(300, 220);
    grid->PaintTo(picture->Canvas().Handle(), 0, 0);
    ::GdiFlush();
    return picture;
  }
  // The pixel rows of the body where two pictures differ, seen in the indicator strip left of
  // the selection arrow (the strip looks the same with and without the focus).
  std::vector<int> InvertedRows(const std::unique_ptr<TBitmap>& shown,
                                const std::unique_ptr<TBitmap>& painted) {
    std::vector<int> rows;
    const RECT body = grid->GetBodyRect();
    for (int y = body.top; y < body.bottom; ++y)
      if (shown->Pixel(3, y) != painted->Pixel(3, y)) rows.push_back(y);
    return rows;
  }
  bool AcceptMove = true;
};

} // namespace

TEST(GridRowInputTest, DraggingARowsBottomEdgeSetsItsHeight) {
  RowInputGrid w;
  w.AddRows({L"a", L"b", L"c", L"d"});
  const int edge = w.Edge(1);
  const struct {
    int y;
    int cursor;
  } hovers[] = {
      {edge - 3, crVertSplit},          {edge + 2, crVertSplit},     {edge - 4, crIndicatorSelect},
      {w.Middle(0), crIndicatorSelect}, {w.Edge(3) + 30, crDefault}, {9, crDefault},
  };
  for (const auto& h : hovers) {
    w.Move(h.y, 0);
    EXPECT_EQ(w.grid->Cursor(), h.cursor) << h.y;
  }
  w.TakeLog();
  w.Drag(edge, edge + 10);
  EXPECT_EQ(w.grid->RowHeightOf(1), 26);
  EXPECT_EQ(w.grid->GetRowTop(2), w.grid->GetRowTop(1) + 27);
  EXPECT_EQ(w.TakeLog(), (Log{"MouseDown", "MouseUp", "RowHeight 1=26"}));
  // The same with the pointer itself: the grid keeps the pointer while the button is down.
  DragWithPointer(w.window, POINT{kStripX, w.Edge(0)}, POINT{kStripX, w.Edge(0) + 6});
  // Resized, and the pointer given back: the release has been taken in.
  PumpUntil([&] { return w.grid->RowHeightOf(0) != 16 && ::GetCapture() != w.window; });
  EXPECT_EQ(w.grid->RowHeightOf(0), 22);
  // Dragged above its top the row keeps a few pixels.
  w.Drag(w.Edge(1), w.grid->GetRowTop(1) - 20);
  EXPECT_EQ(w.grid->RowHeightOf(1), 4);
  // A press away from the edges selects the row, and a release on the spot moves nothing.
  w.TakeLog();
  w.Click(POINT{kStripX, w.Middle(2)});
  EXPECT_EQ(w.grid->SelectedRow(), 2);
  EXPECT_EQ(w.TakeLog(), (Log{"MouseDown", "BeforeSelect 0,2", "Select 0,2", "MouseUp"}));
  // A double click on the edge fits the row to its tallest cell: wrapped text gets its lines,
  // a single line the default height.
  w.grid->Columns().ColumnAt(1)->SetWrapKind(wkWordWrap);
  w.grid->SetCellText(1, 3, L"a text long enough to wrap over several lines");
  auto doubleClick = [&](int row) {
    const POINT edge{kStripX, w.Edge(row)};
    w.Click(edge);
    w.Press(edge, WM_LBUTTONDBLCLK);
    w.Release(edge);
  };
  doubleClick(3);
  EXPECT_GT(w.grid->RowHeightOf(3), 3 * 13);
  doubleClick(1);
  EXPECT_EQ(w.grid->RowHeightOf(1), 16);
}

// The inverted line or drop mark goes away with the drag, however it ends, and a repaint
// meanwhile never doubles or loses it.
TEST(GridRowInputTest, EveryWayOfEndingADragLeavesTheScreenAsPainted) {
  RowInputGrid w;
  w.AddRows({L"a", L"b", L"c", L"d", L"e"});
  const struct {
    const char* how;
    std::function<void()> end;
  } endings[] = {
      {"Escape", [&] { w.Key(VK_ESCAPE); }},
      {"focus loss", [&] { ::SetFocus(w.form.Handle()); }},
      {"capture loss", [&] { ::SetCapture(w.form.Handle()); }},
      {"deactivation", [&] { ::SendMessageW(w.window, WM_ACTIVATEAPP, FALSE, 0); }},
      {"right click",
       [&] {
         w.Press(POINT{kStripX, w.Middle(4)}, WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON);
         w.Release(POINT{kStripX, w.Middle(4)}, WM_RBUTTONUP);
       }},
  };
  for (const auto& ending : endings) {
    for (bool resize : {true, false}) {
      SCOPED_TRACE(std::string(ending.how) + (resize ? " resize" : " move"));
      w.grid->SetFocus();
      ::UpdateWindow(w.window);
      const int from = resize ? w.Edge(1) : w.Middle(1);
      const int to = resize ? from + 12 : w.Middle(3);
      w.Press(POINT{kStripX, from});
      w.Move(to);
      ASSERT_TRUE(resize ? w.grid->ResizingRow() == 1 : w.grid->RowMoving());
      ::InvalidateRect(w.window, nullptr, FALSE);
      ::UpdateWindow(w.window);
      // Moved down, the row would land below row 3: the mark straddles its bottom edge.
      const std::vector<int> expected =
          resize ? std::vector<int>{to} : std::vector<int>{w.Edge(3) - 1, w.Edge(3), w.Edge(3) + 1};
      EXPECT_EQ(w.InvertedRows(w.Shown(), w.Painted()), std::vector<int>{});
      const auto painted = w.Painted(); // paints the mark too while it is shown
      ending.end();
      ::ReleaseCapture();
      ::UpdateWindow(w.window);
      EXPECT_EQ(w.grid->ResizingRow(), -1);
      EXPECT_FALSE(w.grid->RowMoving());
      const auto clean = w.Painted();
      EXPECT_EQ(w.InvertedRows(painted, clean), expected);
      EXPECT_EQ(w.InvertedRows(w.Shown(), clean), std::vector<int>{});
      w.Release(POINT{kStripX, to});
    }
  }
  EXPECT_EQ(w.grid->RowHeightOf(1), 16);
  EXPECT_EQ(w.Names(), (std::vector<std::wstring>{L"a", L"b", L"c", L"d", L"e"}));
  EXPECT_EQ(Screen().Cursor(), crDefault);
}

TEST(GridRowInputTest, ARowDraggedOntoAnotherMovesWhenTheOwnerAccepts) {
  RowInputGrid w;
  w.AddRows({L"a", L"b", L"c", L"d", L"e"});
  w.TakeLog();
  // A press that never moves more than 3 pixels is a selection, no move.
  w.Drag(w.Middle(1), w.Middle(1) + 3);
  EXPECT_EQ(w.TakeLog(), (Log{"MouseDown", "BeforeSelect 0,1", "Select 0,1", "MouseUp"}));
  struct Step {
    int from, over;
    bool accept;
    Log events;
    std::vector<std::wstring> names;
    int selected;
  };
  const Step steps[] = {
      {1, 3, true, {"RowMove 1,3", "AfterRowMove 1,3"}, {L"a", L"c", L"d", L"b", L"e"}, 3},
      {4, 0, false, {"RowMove 4,0"}, {L"a", L"c", L"d", L"b", L"e"}, 4},
      {4, 0, true, {"RowMove 4,0", "AfterRowMove 4,0"}, {L"e", L"a", L"c", L"d", L"b"}, 0},
      {2, 2, true, {}, {L"e", L"a", L"c", L"d", L"b"}, 2},
  };
  for (const Step& s : steps) {
    w.AcceptMove = s.accept;
    w.Press(POINT{kStripX, w.Middle(s.from)});
    w.TakeLog();
    w.Move(w.Middle(s.from) + 8);
    w.Move(w.Middle(s.over));
    w.Release(POINT{kStripX, w.Middle(s.over)});
    Log events = w.TakeLog();
    events.erase(events.begin()); // MouseUp
    EXPECT_EQ(events, s.events) << s.from << "->" << s.over;
    EXPECT_EQ(w.Names(), s.names) << s.from << "->" << s.over;
    EXPECT_EQ(w.grid->SelectedRow(), s.selected);
    EXPECT_EQ(w.grid->SelectedCount(), 1);
    EXPECT_TRUE(w.grid->IsRowSelected(s.selected));
  }
  // A row the code moves keeps the selection on the row that was selected.
  w.grid->SelectRow(2);
  w.grid->MoveRowTo(4, 0);
  EXPECT_EQ(w.grid->SelectedRow(), 3);
  EXPECT_EQ(w.grid->CellText(0, 3), L"c");
}

// In a tree a row moves only among its siblings: a dragged parent would leave its children
// behind, and a child dropped elsewhere would land under a parent that does not count it.
TEST(GridRowInputTest, InATreeARowMovesOnlyAmongItsSiblings) {
  RowInputGrid w;
  TVxGrid& g = *w.grid;
  auto add = [&](int parent, const wchar_t* name) {
    if (parent < 0) {
      g.SetCellText(0, g.AppendRows(1), name);
    } else {
      g.AppendChildRow(parent, true);
      g.SetCellText(0, g.LastAddedIndex(), name);
    }
  };
  add(-1, L"G0"); // 0
  add(0, L"a");
  add(0, L"b");
  add(0, L"c");
  add(-1, L"G1"); // 4
  add(4, L"d");
  add(-1, L"G2"); // 6
  const struct {
    const wchar_t *row, *over;
    bool moves;
  } drags[] = {
      {L"a", L"c", true},    {L"a", L"G1", false},  {L"d", L"b", false},
      {L"G1", L"G0", false}, {L"c", L"b", true},    {L"G2", L"G1", true},
      {L"G2", L"G0", true},  {L"G0", L"G1", false}, {L"G2", L"b", false},
  };
  auto index = [&](const wchar_t* name) {
    for (int r = 0; r < g.TotalRows(); ++r)
      if (g.CellText(0, r) == name) return r;
    return -1;
  };
  for (const auto& d : drags) {
    SCOPED_TRACE(WideToAnsi(d.row) + " onto " + WideToAnsi(d.over));
    const int from = index(d.row), over = index(d.over);
    const std::vector<std::wstring> before = w.Names();
    w.Press(POINT{kStripX, w.Middle(from)});
    w.Move(w.Middle(over));
    EXPECT_EQ(Screen().Cursor(), d.moves ? crDefault : crColumnNoDrag);
    w.TakeLog();
    w.Release(POINT{kStripX, w.Middle(over)});
    EXPECT_EQ(w.TakeLog().size(), d.moves ? 3u : 1u); // MouseUp and the two row events
    EXPECT_EQ(w.Names() != before, d.moves);
  }
  EXPECT_EQ(w.Names(), (std::vector<std::wstring>{L"G2", L"G0", L"c", L"b", L"a", L"G1", L"d"}));
}

// Saves grid_indicator_marks.bmp in the working folder: a grid with the indicator strip and
// the selected row's arrow, the same grid without the focus, and below them the editing mark.
TEST(GridRowInputTest, TheSelectedRowsArrowStandsInItsIndicatorCell) {
  RowInputGrid w;
  w.AddRows({L"first", L"second", L"third", L"fourth"});
  w.grid->SetCellText(1, 2, L"12 KB");
  w.grid->SelectRow(2);
  TBitmap picture(300, 460);
  picture.Fill(RGB(1, 2, 3));
  for (bool focused : {true, false}) {
    if (!focused) ::SetFocus(w.form.Handle());
    const int shift = focused ? 0 : 220;
    w.grid->PaintTo(picture.Canvas().Handle(), 0, shift);
    const TColor ink = ColorToRGB(focused ? clBtnText : clBtnShadow);
    for (int r = 0; r < 4; ++r) {
      const RECT cell{0, w.grid->GetRowTop(r) + 1 + shift, 11, w.Edge(r) - 1 + shift};
      const RECT arrow = InkBox(picture, cell, [&](TColor c) { return c == ink; });
      if (r != 2) {
        EXPECT_TRUE(::IsRectEmpty(&arrow)) << focused << " row " << r;
        continue;
      }
      // A right-pointing arrow in the middle of the cell, as tall as it is wide twice.
      EXPECT_EQ(RectHeight(arrow), 2 * RectWidth(arrow) - 1) << focused;
      EXPECT_NEAR((arrow.top + arrow.bottom) / 2, (cell.top + cell.bottom) / 2, 1) << focused;
      EXPECT_NEAR((arrow.left + arrow.right) / 2, 6, 1) << focused;
      EXPECT_EQ(picture.Pixel(arrow.left, (arrow.top + arrow.bottom) / 2), ink);
      EXPECT_NE(picture.Pixel(arrow.right - 1, arrow.top), ink); // its tip is on the right
    }
  }
  // The editing mark: a text cursor, a stem with a bar across each end.
  TStyleDisplay& display = w.grid->HeaderDisplays().Active();
  display.BeginPass(picture.Canvas(), false);
  const RECT cell{0, 441, 12, 458};
  display.DrawIndicatorRow(cell);
  display.DrawIndicatorMark(cell, true, true, true);
  const TColor ink = ColorToRGB(clBtnText);
  const RECT mark = InkBox(picture, RECT{1, 442, 11, 457}, [&](TColor c) { return c == ink; });
  EXPECT_EQ(RectWidth(mark), 5);
  EXPECT_EQ(RectHeight(mark), 9);
  const int middle = (mark.top + mark.bottom) / 2;
  for (int x = mark.left; x < mark.right; ++x) {
    EXPECT_EQ(picture.Pixel(x, mark.top), ink) << x;
    EXPECT_EQ(picture.Pixel(x, middle) == ink, x == mark.left + 2) << x;
  }
  picture.SaveToFile(L"grid_indicator_marks.bmp");
}

// Fault mended: a sideways scroll carried the selected row's dotted focus rectangle along,
// so its left edge went and its dots fell out of step with the part painted anew. After the
// scroll the window shows what a fresh paint gives.
TEST(GridRowInputTest, ASidewaysScrollLeavesTheFocusRectangleAsAPaintDrawsIt) {
  RowInputGrid w;
  w.AddRows({L"a", L"b", L"c"});
  w.grid->Columns().ColumnAt(0)->SetWidth(400);
  w.grid->SelectCell(0, 1, true, {});
  ::UpdateWindow(w.window);
  for (int step = 0; step < 3; ++step) {
    ::SendMessageW(w.window, WM_HSCROLL, SB_LINERIGHT, 0);
    ::UpdateWindow(w.window);
  }
  ASSERT_EQ(w.grid->HorzScrollBar().Position(), 15);
  const auto shown = w.Shown();
  const auto painted = w.Painted();
  int differing = 0;
  for (int y = 0; y < w.grid->ClientHeight(); ++y)
    for (int x = 0; x < w.grid->ClientWidth(); ++x)
      differing += shown->Pixel(x, y) != painted->Pixel(x, y);
  EXPECT_EQ(differing, 0);
}
