// The header under the pointer: hover, the resize grip and column resizing, column moving
// with its drag box and arrows, auto-fit; and what focus and activation changes reset.
#include "grid/ColumnDisplay.h"
#include "grid/ColumnDrag.h"
#include "grid/CustomGrid.h"
#include "grid/HeaderDisplays.h"
#include "ui/Handles.h"
#include "ui/HintWindow.h"
#include "ui/Screen.h"

#include <algorithm>
#include <cstdlib>

void TVxCustomGrid::InvalidateHeaderOf(int col) {
  const TVxCustomColumn* column = Columns().ColumnAt(col);
  if (!HandleAllocated() || !column || !Options().Contains(goHeader)) return;
  const int left = ColumnLeft(*column);
  InvalidateRect(RECT{left - 1, 0, left + column->Width() + 1, HeaderSize()});
}

void TVxCustomGrid::SetHotHeader(int col) {
  if (hotHeader_ == col) return;
  const int old = hotHeader_;
  hotHeader_ = col;
  const TVxCustomColumn* column = Columns().ColumnAt(col);
  if (column && !column->Header().Hint().empty())
    headerHint_->ActivateHint(ClientToScreen(POINT{ColumnLeft(*column), HeaderSize() + Scaled(2)}),
                              column->Header().Hint());
  else if (headerHint_->Active())
    headerHint_->ReleaseHint();
  // Only a themed header has a hot look.
  if (HeaderDisplays().Active().GetCapabilities() & kDrawsThemed) {
    InvalidateHeaderOf(old);
    InvalidateHeaderOf(col);
  }
}

void TVxCustomGrid::HoverMove(TShiftState shift, int x, int y) {
  TVxCustomGridControl::HoverMove(shift, x, y);
  if (RowInputMove(shift, x, y)) return;
  // A column removed meanwhile (by an event handler) ends what was going on with it.
  if (resizeColumn_ >= 0 && !Columns().ColumnAt(resizeColumn_)) resizeColumn_ = -1;
  if (dragColumn_ >= 0 && !Columns().ColumnAt(dragColumn_)) ResetHeaderState();
  if (pressedHeader_ >= 0 && !Columns().ColumnAt(pressedHeader_)) pressedHeader_ = -1;
  if (resizeColumn_ >= 0) {
    const TVxCustomColumn& column = *Columns().ColumnAt(resizeColumn_);
    DrawResizeLines();
    const int change = x - ColumnLeft(column) - column.Width();
    resizeChange_ = std::max(change, column.MinWidth() - column.Width());
    DrawResizeLines();
    return;
  }
  if (dragColumn_ >= 0) {
    DragMove(x, y);
    return;
  }
  if (pressedHeader_ >= 0 && shift.Contains(ssLeft)) {
    const TVxCustomColumn& column = *Columns().ColumnAt(pressedHeader_);
    const bool movable =
        !Options().Contains(goDisableColumnMoving) && !column.Options().Contains(coDisableMoving);
    const int threshold = Scaled(3);
    if (movable &&
        (std::abs(x - pressPoint_.x) > threshold || std::abs(y - pressPoint_.y) > threshold)) {
      dragColumn_ = pressedHeader_;
      TColumnDragBox& box = columnDrag_->Box();
      box.ChangeDpi(Dpi());
      box.Font().Assign(Font());
      box.SetText(column.Header().Caption());
      DragMove(x, y);
      columnDrag_->ShowBox();
    }
    return;
  }
  if (Options().Contains(goHeader) && y >= 0 && y < HeaderSize()) {
    gripColumn_ = ColumnGripAt(x);
    SetCursor(gripColumn_ >= 0 ? crHorzSplit : crDefault);
    SetHotHeader(ColumnAtX(x));
  } else {
    gripColumn_ = -1;
    SetCursor(IndicatorCursorAt(x, y));
    SetHotHeader(-1);
  }
  if (shift.Contains(ssLeft) || shift.Contains(ssRight))
    HideCellHint();
  else
    TrackCellHint(x, y);
}

void TVxCustomGrid::MouseLeave() {
  TVxCustomGridControl::MouseLeave();
  SetHotHeader(-1);
  HideCellHint();
}

void TVxCustomGrid::StartResize(int col) {
  resizeColumn_ = col;
  resizeChange_ = 0;
  SetMouseCapture(true);
  DrawResizeLines();
}

void TVxCustomGrid::DrawResizeLines() {
  if (!Columns().ColumnAt(resizeColumn_) || !HandleAllocated()) return;
  TWindowDC dc(Handle());
  InvertResizeLines(dc.Get());
  resizeLinesShown_ = !resizeLinesShown_;
}

void TVxCustomGrid::InvertResizeLines(HDC dc) {
  const TVxCustomColumn* column = Columns().ColumnAt(resizeColumn_);
  if (!column) return;
  // Drawn by inversion: the same lines drawn again take themselves away.
  const int left = ColumnLeft(*column) - (column->Index() == 0 ? 0 : 1);
  const int right = ColumnLeft(*column) + column->Width() + resizeChange_ - 1;
  const int height = ClientHeight();
  const int oldRop = ::SetROP2(dc, R2_NOT);
  for (int x : {left, right}) {
    ::MoveToEx(dc, x, 0, nullptr);
    ::LineTo(dc, x, height);
  }
  ::SetROP2(dc, oldRop);
}

void TVxCustomGrid::EndResize(bool apply) {
  if (resizeColumn_ < 0) return;
  if (resizeLinesShown_) DrawResizeLines();
  const int col = resizeColumn_;
  const int change = resizeChange_;
  resizeColumn_ = -1;
  resizeChange_ = 0;
  if (MouseCapture()) SetMouseCapture(false);
  TVxCustomColumn* column = Columns().ColumnAt(col);
  if (!apply || change == 0 || !column) return;
  column->SetWidth(column->Width() + change);
  if (OnColumnResize) OnColumnResize(this, col);
}

int TVxCustomGrid::DropPosition(const TVxCustomColumn& dragged, int x, int y) {
  if (y < 0 || y >= HeaderSize()) return -1;
  int col = ColumnAtX(x);
  if (col < 0) {
    const TVxCustomColumn* last = Columns().LastVisibleColumn();
    if (!last || x < ColumnLeft(*last)) return -1;
    col = last->Index();
  }
  const int to = Columns().ColumnAt(col)->Position();
  const int from = dragged.Position();
  if (Options().Contains(goLockFixedCols) &&
      (from < Columns().FixedCols() || to < Columns().FixedCols()))
    return -1;
  return to;
}

void TVxCustomGrid::DragMove(int x, int y) {
  const TVxCustomColumn& dragged = *Columns().ColumnAt(dragColumn_);
  TColumnDragBox& box = columnDrag_->Box();
  const POINT corner =
      ClientToScreen(POINT{ColumnLeft(dragged) + x - pressPoint_.x, y - pressPoint_.y});
  box.SetBounds(corner.x, corner.y, dragged.Width(), HeaderSize());
  const int to = DropPosition(dragged, x, y);
  if (to < 0) {
    columnDrag_->HideArrows();
    Screen().SetCursor(crColumnNoDrag);
    ::SetCursor(Screen().Cursors(crColumnNoDrag));
    return;
  }
  Screen().SetCursor(crDefault);
  const TVxCustomColumn& target = *Columns().ColumnAtPosition(to);
  const int dropX = ColumnLeft(target) + (to > dragged.Position() ? target.Width() : 0);
  const POINT top = ClientToScreen(POINT{dropX, 0});
  columnDrag_->ShowArrows(top.x, top.y, top.y + HeaderSize(), Dpi());
}

void TVxCustomGrid::EndDrag(int x, int y) {
  const int col = dragColumn_;
  dragColumn_ = -1;
  pressedHeader_ = -1;
  columnDrag_->HideAll();
  Screen().SetCursor(crDefault);
  TVxCustomColumn* moved = Columns().ColumnAt(col);
  if (!moved) return;
  TVxCustomColumn& column = *moved;
  const int from = column.Position();
  if (y >= 0 && y < HeaderSize()) {
    const int to = DropPosition(column, x, y);
    if (to >= 0 && to != from) {
      Columns().MoveColumn(from, to);
      if (OnColumnMove) OnColumnMove(this, col, from, to);
    }
  } else if (Options().Contains(goCanHideColumn)) {
    column.SetVisible(false);
  }
  Invalidate();
}

void TVxCustomGrid::ResetHeaderState() {
  if (pressedHeader_ >= 0) InvalidateHeaderOf(pressedHeader_);
  pressedHeader_ = -1;
  SetHotHeader(-1);
  HideCellHint();
  pressValid_ = false;
  pressPoint_ = POINT{-1, -1};
  gripColumn_ = -1;
  EndResize(false);
  CancelRowInput();
  if (dragColumn_ >= 0) {
    dragColumn_ = -1;
    columnDrag_->HideAll();
    Invalidate();
  }
  Screen().SetCursor(crDefault);
  SetCursor(crDefault);
}

void TVxCustomGrid::AutoFitColumn(int col) {
  TVxCustomColumn* column = Columns().ColumnAt(col);
  if (!column) return;
  TWindowDC screen(nullptr);
  TCanvas canvas(screen.Get());
  canvas.SetDpi(Dpi());
  const TRowFacts& rows = RowFacts();
  int widest = Scaled(8);
  for (int row = rows.NextDisplayedRow(-1); row < rows.RowTotal();
       row = rows.NextDisplayedRow(row)) {
    const RECT cell{0, 0, column->Width(), RowHeightOf(row)};
    widest = std::max(widest, CellContentWidth(col, row, canvas, cell));
  }
  column->SetWidth(2 * column->Padding() + Scaled(5) + widest);
}

void TVxCustomGrid::DoEnter() {
  TVxCustomGridControl::DoEnter();
  InvalidateBody();
  if (Options().Contains(goInput) && RowFacts().RowTotal() == 0 && !tearingDown_) EnterInputLine();
}

void TVxCustomGrid::DoExit() {
  ApplyEdit();
  ResetHeaderState();
  TVxCustomGridControl::DoExit();
  InvalidateBody();
}

void TVxCustomGrid::ApplicationActivateChanged(bool active) {
  if (!active) ResetHeaderState();
  InvalidateBody();
  TVxCustomGridControl::ApplicationActivateChanged(active);
}

bool TVxCustomGrid::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  if ((msg == WM_SETFOCUS || msg == WM_KILLFOCUS) && wParam &&
      ::IsChild(Handle(), reinterpret_cast<HWND>(wParam))) {
    // The focus moves between the grid and its own editor: it stays in the grid.
    InvalidateBody();
    result = 0;
    return true;
  }
  if (msg == WM_THEMECHANGED) {
    ForgetColumnThemes();
    HeaderDisplays().ThemeChanged();
    Invalidate();
  } else if (msg == WM_CAPTURECHANGED && reinterpret_cast<HWND>(lParam) != Handle()) {
    CancelRowInput();
  } else if (msg == WM_CONTEXTMENU && lParam == -1 && IsShownRow(SelectedRow())) {
    // The menu key opens the menu at the selected row when it is in view.
    const RECT row = GetRowRect(SelectedRow());
    const RECT body = GetBodyRect();
    if (row.top >= body.top && row.bottom <= body.bottom) {
      const POINT at = ClientToScreen(POINT{body.left + Scaled(8), row.bottom});
      return TVxCustomGridControl::HandleMessage(msg, wParam, MAKELPARAM(at.x, at.y), result);
    }
  }
  return TVxCustomGridControl::HandleMessage(msg, wParam, lParam, result);
}
