// The indicator strip under the pointer: a press selects its row, a drag on a row's bottom
// edge sets the row's height behind an inverted line, and a drag of a row moves it to where
// an inverted drop mark shows. Every walk covers the rows on the screen, no more.
#include "grid/ColumnDrag.h"
#include "grid/Columns.h"
#include "grid/CustomGrid.h"
#include "ui/Handles.h"
#include "ui/Screen.h"

#include <algorithm>
#include <cstdlib>

namespace {

// The bottom grip of a row: from this many pixels above its bottom edge to this many below.
constexpr int kGripAbove = 3;
constexpr int kGripBelow = 2;
// A dragged row never gets lower than this.
constexpr int kMinRowHeight = 4;
// A press turns into a row move once the pointer is further than this from the press point.
constexpr int kMoveThreshold = 3;

RECT LineAt(int y, int width) {
  return RECT{0, y, width, y + 1};
}

} // namespace

int TVxCustomGrid::WalkScreenRows(const std::function<bool(int row, int top, int height)>& visit) {
  const RECT body = GetBodyRect();
  const TRowFacts& rows = RowFacts();
  const TGridLineWidths lines = LineWidths();
  int top = body.top + lines.horizontal3D;
  for (int row = FirstRowFromTop(); row < rows.RowTotal() && top < body.bottom;
       row = rows.NextDisplayedRow(row)) {
    const int height = RowHeightOf(row);
    if (visit(row, top, height)) return top;
    top += height + lines.Separator();
  }
  return top;
}

int TVxCustomGrid::RowUnder(int y) {
  const RECT body = GetBodyRect();
  if (y < body.top || y >= body.bottom) return -1;
  const int separator = RowSeparator();
  int under = -1;
  WalkScreenRows([&](int row, int top, int height) {
    if (top > y) return true;
    if (y >= top + height + separator) return false;
    under = row;
    return true;
  });
  return under;
}

int TVxCustomGrid::RowGripAt(int y) {
  const RECT body = GetBodyRect();
  if (y < body.top || y >= body.bottom) return -1;
  int grip = -1;
  WalkScreenRows([&](int row, int top, int height) {
    if (top - Scaled(kGripAbove) > y) return true;
    const int bottom = top + height;
    if (y < bottom - Scaled(kGripAbove) || y > bottom + Scaled(kGripBelow)) return false;
    grip = row;
    return true;
  });
  return grip;
}

int TVxCustomGrid::RowBoundaryY(int row) {
  const int top = WalkScreenRows([row](int visited, int, int) { return visited >= row; });
  return std::min<int>(top, GetBodyRect().bottom);
}

int TVxCustomGrid::IndicatorCursorAt(int x, int y) {
  if (HitTest(x, y) != htIndicator) return crDefault;
  if (Options().Contains(goRowResizing) && RowGripAt(y) >= 0) return crVertSplit;
  return RowUnder(y) >= 0 ? crIndicatorSelect : crDefault;
}

void TVxCustomGrid::AutoFitRowHeight(int row) {
  if (!IsShownRow(row)) return;
  TWindowDC screen(nullptr);
  TCanvas canvas(screen.Get());
  canvas.SetDpi(Dpi());
  // The content gets a pixel above and below (at 96 DPI), as a line of text has in a row of
  // RowSize.
  const int margin = Scaled(2);
  int tallest = RowSize() - margin;
  for (int position = 0; position < Columns().ColumnCount(); ++position) {
    const TVxCustomColumn& column = *Columns().ColumnAtPosition(position);
    if (!column.Visible()) continue;
    const RECT cell{0, 0, column.Width(), RowHeightOf(row)};
    tallest = std::max(tallest, CellContentHeight(column.Index(), row, canvas, cell));
  }
  SetRowHeightByDrag(row, tallest + margin);
}

void TVxCustomGrid::IndicatorPress(TMouseButton button, int, int y) {
  if (rowDrag_.resizeRow >= 0 || rowDrag_.moveRow >= 0) return;
  if (button == mbLeft && Options().Contains(goRowResizing)) {
    const int grip = RowGripAt(y);
    if (grip >= 0) {
      // An open editor would stay where the row's old edge put it.
      EndEdit();
      rowDrag_.resizeRow = grip;
      rowDrag_.resizeTop = GetRowTop(grip);
      rowDrag_.resizeLine = rowDrag_.resizeTop + RowHeightOf(grip);
      SetMouseCapture(true);
      SetRowMark(LineAt(rowDrag_.resizeLine, ClientWidth()));
      return;
    }
  }
  const int row = RowUnder(y);
  if (row < 0) return;
  SelectRow(row);
  // The selection's handlers may have changed the rows.
  if (button == mbLeft && Options().Contains(goRowMoving) && IsShownRow(row)) {
    rowDrag_.moveRow = row;
    SetMouseCapture(true);
  }
}

bool TVxCustomGrid::RowInputMove(TShiftState shift, int x, int y) {
  TRowDrag& drag = rowDrag_;
  if (drag.resizeRow >= 0) {
    if (!IsShownRow(drag.resizeRow)) {
      CancelRowInput();
      return true;
    }
    const int lowest = GetBodyRect().bottom - 1;
    drag.resizeLine = std::max(std::min(y, lowest), drag.resizeTop + Scaled(kMinRowHeight));
    SetRowMark(LineAt(drag.resizeLine, ClientWidth()));
    return true;
  }
  if (drag.moveRow < 0) return false;
  // A release we never saw (outside the window without capture) ends the press.
  if (!shift.Contains(ssLeft) || !IsShownRow(drag.moveRow)) {
    CancelRowInput();
    return false;
  }
  if (!drag.moving) {
    if (std::abs(x - pressPoint_.x) <= Scaled(kMoveThreshold) &&
        std::abs(y - pressPoint_.y) <= Scaled(kMoveThreshold))
      return true;
    drag.moving = true;
    EndEdit();
  }
  UpdateDropMark(x, y);
  return true;
}

void TVxCustomGrid::UpdateDropMark(int x, int y) {
  const int from = rowDrag_.moveRow;
  const bool inside = x >= 0 && x < ClientWidth();
  const int over = inside ? RowUnder(y) : -1;
  const int to = over >= 0 && over != from ? RowDropPosition(from, over) : -1;
  // Over its own row the row simply stays; where nothing can take it the cursor says so.
  const int cursor = to < 0 && over != from ? crColumnNoDrag : crDefault;
  Screen().SetCursor(cursor);
  ::SetCursor(Screen().Cursors(cursor == crDefault ? Cursor() : cursor));
  if (to < 0) {
    SetRowMark(RECT{0, 0, 0, 0});
    return;
  }
  // Moved up the row lands above the target, moved down below it (and below its subtree).
  const int boundary = RowBoundaryY(to < from ? to : to + 1);
  const RECT body = GetBodyRect();
  SetRowMark(RECT{0, std::max<int>(boundary - Scaled(2), body.top), ClientWidth(),
                  std::min<int>(boundary + Scaled(1), body.bottom)});
}

bool TVxCustomGrid::RowInputRelease(int x, int y) {
  const TRowDrag drag = rowDrag_;
  if (drag.resizeRow < 0 && drag.moveRow < 0) return false;
  CancelRowInput();
  pressValid_ = false;
  if (drag.resizeRow >= 0) {
    if (IsShownRow(drag.resizeRow))
      SetRowHeightByDrag(drag.resizeRow, drag.resizeLine - drag.resizeTop);
    return true;
  }
  if (!drag.moving || x < 0 || x >= ClientWidth()) return true;
  const int from = drag.moveRow;
  const int over = RowUnder(y);
  const int to = over >= 0 && over != from ? RowDropPosition(from, over) : -1;
  if (to < 0) return true;
  bool accept = true;
  if (OnRowMove) OnRowMove(this, from, to, accept);
  // The handler may have changed the rows: the move is checked again.
  if (!accept || RowDropPosition(from, over) != to) return true;
  MoveRowByDrag(from, to);
  if (OnAfterRowMove) OnAfterRowMove(this, from, to);
  return true;
}

bool TVxCustomGrid::CancelRowInput() {
  if (rowDrag_.resizeRow < 0 && rowDrag_.moveRow < 0) return false;
  SetRowMark(RECT{0, 0, 0, 0});
  const bool moving = rowDrag_.moving;
  // Cleared before the capture goes: losing the capture comes back here.
  rowDrag_ = TRowDrag{};
  if (moving) Screen().SetCursor(crDefault);
  if (MouseCapture()) SetMouseCapture(false);
  return true;
}

void TVxCustomGrid::SetRowMark(const RECT& mark) {
  if (rowDrag_.markShown && ::EqualRect(&rowDrag_.mark, &mark)) return;
  ShowRowMark(false);
  rowDrag_.mark = mark;
  ShowRowMark(true);
}

void TVxCustomGrid::ShowRowMark(bool show) {
  if (show == rowDrag_.markShown || (show && ::IsRectEmpty(&rowDrag_.mark))) return;
  rowDrag_.markShown = show;
  if (!HandleAllocated()) return;
  TWindowDC dc(Handle());
  InvertRowMark(dc.Get());
}

void TVxCustomGrid::InvertRowMark(HDC dc) const {
  // Drawn by inversion: the same mark drawn again takes itself away.
  const RECT& m = rowDrag_.mark;
  ::PatBlt(dc, m.left, m.top, m.right - m.left, m.bottom - m.top, DSTINVERT);
}

void TVxCustomGrid::Paint(TCanvas& canvas) {
  TLifeGuard guard(*this);
  TVxCustomGridControl::Paint(canvas);
  if (!guard.Alive()) return;
  // What was painted over the mark gets it back; the rest of the mark is still there.
  if (rowDrag_.markShown) InvertRowMark(canvas.Handle());
  // The same for a column's resize lines.
  if (resizeLinesShown_) InvertResizeLines(canvas.Handle());
}

void TVxCustomGrid::BeforeScroll(TScrollBarKind kind) {
  TVxCustomGridControl::BeforeScroll(kind);
  HideCellHint();
  // The scroll would carry the mark along with the rows; it is drawn again after.
  ShowRowMark(false);
  if (resizeLinesShown_) DrawResizeLines();
}

void TVxCustomGrid::AfterScroll(TScrollBarKind kind) {
  TVxCustomGridControl::AfterScroll(kind);
  // The dotted focus rectangle is drawn by inversion in a fixed dot pattern, along the whole
  // selected row: a sideways shift would carry its left edge away and put its dots out of
  // step with the part painted anew. The row is painted again whole.
  if (kind == sbHorizontal && IsShownRow(SelectedRow())) InvalidateRow(SelectedRow());
  TRowDrag& drag = rowDrag_;
  if (drag.resizeRow >= 0) {
    const int height = drag.resizeLine - drag.resizeTop;
    drag.resizeTop = GetRowTop(drag.resizeRow);
    drag.resizeLine = drag.resizeTop + height;
    SetRowMark(LineAt(drag.resizeLine, ClientWidth()));
  } else if (drag.moving) {
    POINT pointer{};
    ::GetCursorPos(&pointer);
    const POINT at = ScreenToClient(pointer);
    UpdateDropMark(at.x, at.y);
  }
  if (resizeColumn_ >= 0 && !resizeLinesShown_) DrawResizeLines();
}
