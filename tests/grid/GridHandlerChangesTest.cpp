#include "FreedMemoryTrap.h"
#include "grid/Grid.h"
#include "ui/Application.h"
#include "ui/Bitmap.h"

#include <gtest/gtest.h>

#include <functional>
#include <new>
#include <string>
#include <utility>
#include <vector>

namespace {

using TGuardedGrid = TUnreadableWhenFreed<TVxGrid>;

// A text column and a check-box column over three rows, in a shown window.
struct THandlerGrid {
  TWinControl form{nullptr};
  TGuardedGrid* grid = form.Make<TGuardedGrid>();
  HWND window = nullptr;
  THandlerGrid() {
    grid->SetOptions({goGrid, goHeader, goSelectFullRow});
    grid->Columns().Add<TVxTextColumn>(L"Name")->SetWidth(120);
    TVxCustomColumn* check = grid->Columns().Add<TVxCheckBoxColumn>(L"Check");
    check->SetWidth(40);
    check->SetOptions(check->Options() + TColumnOptions{coEditing});
    for (int r = 0; r < 3; ++r)
      grid->SetCellText(0, grid->AppendRows(1), L"row " + std::to_wstring(r));
    form.SetBounds(0, 0, 240, 160);
    grid->SetBounds(0, 0, 220, 140);
    grid->SetParent(&form);
    window = grid->Handle();
    form.Show();
    ::SetForegroundWindow(form.Handle());
    grid->SetFocus();
    grid->SelectCell(1, 1, true, {});
    Application().ProcessMessages();
    ::UpdateWindow(window);
  }
  POINT Middle(int col, int row) {
    const RECT r = grid->GetCellRect(col, row);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  }
};

} // namespace

// Fault mended: an event handler that clears the rows, removes a column or frees the grid,
// run from inside a paint, a key, a cell's value change, a hint or a click, left the grid
// using rows, columns or itself after they were gone.
TEST(GridHandlerChangesTest, TheGridSurvivesHandlersThatChangeOrFreeIt) {
  std::vector<std::string> errors;
  Application().OnException = [&](TObject*, const std::exception& e) {
    errors.push_back(e.what());
  };
  struct TEvent {
    const char* name;
    // Hangs the change on the event and raises it.
    std::function<void(THandlerGrid&, const std::function<void()>&)> raise;
  };
  const TEvent events[] = {
      {"paint",
       [](THandlerGrid& g, const std::function<void()>& change) {
         g.grid->OnCellColoring = [change](TObject*, int, int, TColor&, TColor&, TCellState) {
           change();
         };
         // Painted straight into a picture: a fault inside WM_PAINT may be swallowed by the
         // system on the way back from the window procedure.
         TBitmap picture(220, 140);
         g.grid->PaintTo(picture.Canvas().Handle(), 0, 0);
       }},
      {"key",
       [](THandlerGrid& g, const std::function<void()>& change) {
         g.grid->OnKeyDown = [change](TObject*, WORD&, TShiftState) { change(); };
         ::SendMessageW(g.window, WM_KEYDOWN, VK_DOWN, 0);
       }},
      {"check box by Space",
       [](THandlerGrid& g, const std::function<void()>& change) {
         g.grid->OnCellValueChanged = [change](TObject*, int, int, const std::wstring&) {
           change();
         };
         ::SendMessageW(g.window, WM_CHAR, L' ', 0);
       }},
      {"click",
       [](THandlerGrid& g, const std::function<void()>& change) {
         g.grid->OnCellClick = [change](TObject*, int, int) { change(); };
         const POINT p = g.Middle(0, 2);
         ::SendMessageW(g.window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(p.x, p.y));
         ::SendMessageW(g.window, WM_LBUTTONUP, 0, MAKELPARAM(p.x, p.y));
       }},
      {"hint",
       [](THandlerGrid& g, const std::function<void()>& change) {
         bool asked = false;
         g.grid->OnCellHint = [change, &asked](TObject*, int, int, std::wstring& hint) {
           hint = L"a hint";
           asked = true;
           change();
         };
         // The pointer itself rests there, or the system would tell the grid it left.
         const POINT p = g.Middle(0, 0);
         const POINT screen = g.grid->ClientToScreen(p);
         ::SetCursorPos(screen.x, screen.y);
         ::SendMessageW(g.window, WM_MOUSEMOVE, 0, MAKELPARAM(p.x, p.y));
         const DWORD until = ::GetTickCount() + 5000;
         while (!asked && ::GetTickCount() < until) {
           Application().ProcessMessages();
           ::Sleep(10);
         }
         EXPECT_TRUE(asked);
       }},
  };
  enum TChange { kClearRows, kRemoveColumn, kFreeGrid };
  for (const TEvent& event : events) {
    for (const TChange change : {kClearRows, kRemoveColumn, kFreeGrid}) {
      TGuardedGrid::Bury(); // the grids of earlier cases
      THandlerGrid g;
      bool done = false;
      event.raise(g, [&] {
        if (std::exchange(done, true)) return;
        if (change == kClearRows)
          g.grid->ClearAllRows();
        else if (change == kRemoveColumn)
          g.grid->Columns().RemoveColumn(g.grid->Columns().ColumnAt(0));
        else
          g.form.RemoveComponent(g.grid).reset();
      });
      const std::string what = std::string(event.name) + " " + std::to_string(change);
      EXPECT_TRUE(done) << what;
      if (change == kFreeGrid) {
        EXPECT_FALSE(::IsWindow(g.window)) << what;
        EXPECT_EQ(TGuardedGrid::Graveyard().size(), 1u) << what;
      } else {
        // What is left paints and takes input again.
        ::RedrawWindow(g.window, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        ::SendMessageW(g.window, WM_KEYDOWN, VK_DOWN, 0);
      }
    }
  }
  TGuardedGrid::Bury();
  EXPECT_TRUE(errors.empty()) << errors.front();
  Application().OnException = nullptr;
}
