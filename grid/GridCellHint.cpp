// The hint of the cell under the resting pointer: a text that does not fit its cell shows
// whole, else the cell's own hint. It goes on any press, key, scroll or when the pointer
// leaves the cell.
#include "grid/CustomGrid.h"
#include "ui/Handles.h"
#include "ui/HintWindow.h"
#include "ui/Timer.h"

#include <algorithm>

void TVxCustomGrid::TrackCellHint(int x, int y) {
  TGridCell cell = HitTest(x, y) == htBody ? GetCellAtPos(x, y) : TGridCell{};
  if (!Columns().IsColumnIndex(cell.Col) || !IsShownRow(cell.Row)) cell = TGridCell{};
  if (cell == hintCell_) return;
  HideCellHint();
  hintCell_ = cell;
  if (cell.Row >= 0) cellHintTimer_->SetEnabled(true);
}

void TVxCustomGrid::HideCellHint() {
  cellHintTimer_->SetEnabled(false);
  hintCell_ = TGridCell{};
  if (cellHint_->Active()) cellHint_->ReleaseHint();
}

void TVxCustomGrid::ShowCellHint() {
  cellHintTimer_->SetEnabled(false);
  const TGridCell cell = hintCell_;
  // The rows or columns may have changed while the pointer rested.
  if (!HandleAllocated() || !Columns().IsColumnIndex(cell.Col) || !IsShownRow(cell.Row)) return;
  const RECT rect = GetCellRect(cell.Col, cell.Row);
  const RECT body = GetBodyRect();
  if (rect.top >= body.bottom || rect.bottom <= body.top) return;
  const bool selected = Options().Contains(goSelectFullRow)
                            ? RowSelectedFlag(cell.Row)
                            : cell == TGridCell{SelectedColumn(), SelectedRow()};
  const bool bold = selected && Focused() && AppearanceOptions().Contains(aoBoldTextSelection);
  std::wstring text;
  TLifeGuard guard(*this);
  const unsigned shape = ShapeStamp();
  {
    TWindowDC screen(nullptr);
    TCanvas canvas(screen.Get());
    canvas.SetDpi(Dpi());
    text = RestingHintFor(cell.Col, cell.Row, canvas, rect, bold);
  }
  // The hint's handlers may have freed the grid or taken the cell's column or row away.
  if (!guard.Alive() || ShapeStamp() != shape || text.empty()) return;
  // The hint's text starts under the cell's (past a tree's indent and the hint's own frame and
  // margin), and a path reads best on one line: it breaks only where the screen ends.
  const TVxCustomColumn& column = *Columns().ColumnAt(cell.Col);
  RECT content = rect;
  column.AdjustContentRect(content, RowLevelOf(cell.Row), Dpi());
  const int x = std::max<int>(content.left + column.Padding() - Scaled(3), 0);
  const int screenWidth = ::GetSystemMetrics(SM_CXSCREEN) - 16;
  cellHint_->ActivateHint(ClientToScreen(POINT{x, rect.bottom + Scaled(2)}), text, screenWidth);
}
