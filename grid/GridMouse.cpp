// The grid's mouse: presses and releases on cells, headers, footers and the indicator strip,
// with the events in the order the owner relies on.
#include "grid/ColumnDrag.h"
#include "grid/ColumnPlay.h"
#include "grid/CustomGrid.h"
#include "ui/HintWindow.h"
#include "ui/Screen.h"

TVxCustomGrid::TVxCustomGrid(TComponent* owner)
    : TVxCustomGridControl(owner), searchTimer_(std::make_unique<TTimer>(nullptr)),
      columnDrag_(std::make_unique<TColumnDrag>()),
      headerHint_(std::make_unique<THintWindow>(nullptr)),
      cellHint_(std::make_unique<THintWindow>(nullptr)),
      cellHintTimer_(std::make_unique<TTimer>(nullptr)) {
  cellHintTimer_->SetEnabled(false);
  cellHintTimer_->SetInterval(kCellHintPause);
  cellHintTimer_->OnTimer = [this](TObject*) { ShowCellHint(); };
  searchTimer_->SetEnabled(false);
  searchTimer_->SetInterval(500);
  searchTimer_->OnTimer = [this](TObject*) {
    searchText_.clear();
    searchTimer_->SetEnabled(false);
  };
  static const bool registered = [] {
    Screen().SetCursors(crHorzSplit, LoadCursorResource(L"HORZSPLIT"));
    Screen().SetCursors(crColumnNoDrag, LoadCursorResource(L"COLUMNNODRAG"));
    Screen().SetCursors(crVertSplit, LoadCursorResource(L"VERTSPLIT"));
    Screen().SetCursors(crIndicatorSelect, LoadCursorResource(L"INDICATORSELECT"));
    return true;
  }();
  (void)registered;
}

TVxCustomGrid::~TVxCustomGrid() {
  tearingDown_ = true;
  DropEditor();
  // The columns and their editors outlive this part of the grid.
  for (int i = 0; i < Columns().ColumnCount(); ++i)
    if (TVxEdit* editor = Columns().ColumnAt(i)->OwnEditor()) editor->SetEditHost(nullptr);
}

void TVxCustomGrid::SetBorderStyle(TBorderStyle value) {
  if (borderStyle_ == value) return;
  borderStyle_ = value;
  if (HandleAllocated()) RecreateWnd();
}

void TVxCustomGrid::CreateParams(TCreateParams& params) {
  TVxCustomGridControl::CreateParams(params);
  if (borderStyle_ == bsSingle) params.ExStyle |= WS_EX_CLIENTEDGE;
}

bool TVxCustomGrid::PlayTakesMouse(int col, int row) const {
  const TVxCustomColumn* column = Columns().ColumnAt(col);
  if (!column || !column->Play() || ReadOnly()) return false;
  if (row < 0 || row >= RowFacts().RowTotal()) return false;
  return column->Options().Contains(coEditing) ||
         (column->ClassCapabilities() & kCapPlayWithoutEditing);
}

void TVxCustomGrid::RowsInserted(int first, int count) {
  TVxCustomGridControl::RowsInserted(first, count);
  if (pressCell_.Row >= first) pressCell_.Row += count;
}

void TVxCustomGrid::RowsRemoved(int first, int count) {
  TVxCustomGridControl::RowsRemoved(first, count);
  if (pressCell_.Row >= first + count)
    pressCell_.Row -= count;
  else if (pressCell_.Row >= first)
    pressCell_.Row = -1;
}

void TVxCustomGrid::RowsCleared() {
  TVxCustomGridControl::RowsCleared();
  pressCell_.Row = -1;
}

void TVxCustomGrid::ColumnsNotify(const TColumnsNotice& notice) {
  TVxCustomGridControl::ColumnsNotify(notice);
  if (notice.Kind == ckInserting || notice.Kind == ckRemoving) pressCell_.Col = -1;
}

void TVxCustomGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
  TLifeGuard guard(*this);
  TVxCustomGridControl::MouseDown(button, shift, x, y);
  if (!guard.Alive()) return;
  HideCellHint();
  pressPoint_ = POINT{x, y};
  pressValid_ = true;
  pressCell_ = GetCellAtPos(x, y);
  if (shift.Contains(ssDouble)) {
    const TVxCustomColumn* grip = Columns().ColumnAt(gripColumn_);
    if (grip && (grip->ClassCapabilities() & kCapAutoFit)) {
      AutoFitColumn(gripColumn_);
    } else {
      switch (HitTest(x, y)) {
      case htHeader: {
        const int col = ColumnAtX(x);
        if (col >= 0 && OnHeaderDblClick) OnHeaderDblClick(this, col);
        break;
      }
      case htBody:
        if (Columns().IsColumnIndex(pressCell_.Col) && IsShownRow(pressCell_.Row) && OnCellDblClick)
          OnCellDblClick(this, pressCell_.Col, pressCell_.Row);
        break;
      case htIndicator:
        if (Options().Contains(goRowResizing)) AutoFitRowHeight(RowGripAt(y));
        break;
      default:
        break;
      }
    }
    pressValid_ = false;
    return;
  }
  if (Visible() && Enabled() && !Focused() && CanFocus()) SetFocus();
  if (Columns().ColumnCount() == 0 || (button != mbLeft && button != mbRight)) return;
  if (button == mbLeft && Options().Contains(goHeader) && y >= 0 && y < HeaderSize()) {
    const int grip = ColumnGripAt(x);
    if (grip >= 0) {
      StartResize(grip);
      return;
    }
  }
  switch (HitTest(x, y)) {
  case htBody:
    if (button == mbLeft) SetMouseCapture(true);
    CellPress(button, shift, x, y);
    break;
  case htHeader: {
    if (button != mbLeft) break;
    const int col = ColumnAtX(x);
    const TVxCustomColumn* column = Columns().ColumnAt(col);
    if (column && column->Options().Contains(coCanClick)) {
      pressedHeader_ = col;
      InvalidateHeaderOf(col);
      SetMouseCapture(true);
    }
    break;
  }
  case htIndicator:
    IndicatorPress(button, x, y);
    break;
  case htNone:
    ApplyEdit();
    break;
  default:
    break;
  }
}

void TVxCustomGrid::CellPress(TMouseButton button, TShiftState shift, int x, int y) {
  ApplyEdit();
  LeaveInputLine();
  secondClick_ = pressCell_ == TGridCell{SelectedColumn(), SelectedRow()};
  const int row = pressCell_.Row;
  if (row < 0 || row >= RowFacts().RowTotal()) return;
  const int col = Columns().IsColumnIndex(pressCell_.Col) ? pressCell_.Col : SelectedColumn();
  if (PlayTakesMouse(col, row)) {
    const RECT cell = GetCellRect(col, row);
    if (TColumnPlay* play = PlayAt(col, row, cell))
      play->PlayMouseDown(button, shift, x - cell.left, y - cell.top);
  }
  TLifeGuard guard(*this);
  SelectCell(col, row, button == mbLeft, shift);
  if (!guard.Alive()) return;
  // The selection's handlers may have moved the pressed row.
  const int pressed = pressCell_.Row;
  if (IsShownRow(pressed) && GetRowRect(pressed).bottom > GetBodyRect().bottom)
    ScrollRowIntoView(pressed);
}

void TVxCustomGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
  TLifeGuard guard(*this);
  TVxCustomGridControl::MouseUp(button, shift, x, y);
  if (!guard.Alive()) return;
  // Another button let go during a row drag gives the capture up, which cancels the drag.
  if (button == mbLeft && RowInputRelease(x, y)) return;
  if (MouseCapture()) SetMouseCapture(false);
  if (resizeColumn_ >= 0) {
    EndResize(true);
    return;
  }
  if (dragColumn_ >= 0) {
    EndDrag(x, y);
    return;
  }
  const int pressed = pressedHeader_;
  if (pressed >= 0) {
    pressedHeader_ = -1;
    InvalidateHeaderOf(pressed);
    if (OnHeaderClick) OnHeaderClick(this, pressed);
    if (!guard.Alive()) return;
  }
  if (!pressValid_) return;
  pressValid_ = false;
  if (button != mbLeft) {
    EndEdit();
    return;
  }
  switch (HitTest(x, y)) {
  case htFooter: {
    const int col = ColumnAtX(x);
    if (col >= 0 && OnFooterClick) OnFooterClick(this, col);
    break;
  }
  case htHeader:
    if (pressed >= 0 && ColumnAtX(x) == pressed) HeaderRelease(x, y);
    break;
  case htBody:
    CellRelease(shift, x, y);
    break;
  case htInputLine:
    OpenInputEditor(ColumnAtX(x), nullptr);
    break;
  default:
    break;
  }
}

void TVxCustomGrid::HeaderRelease(int x, int) {
  const int col = ColumnAtX(x);
  TVxCustomColumn* column = Columns().ColumnAt(col);
  if (!column || !column->Options().Contains(coCanSort)) return;
  bool accept = true;
  if (OnBeforeSort) OnBeforeSort(this, col, accept);
  if (!accept) return;
  if (column->Sorted())
    column->SetSortKind(column->SortKind() == skAscending ? skDescending : skAscending);
  else
    column->SetSorted(true);
}

// The pressed cell has followed its row since the press, through rows added, removed, sorted
// or moved meanwhile (by a timer, or by the click handler): the release acts on it only while
// it is still under the pointer, so a tick never lands on a row that was not pressed.
void TVxCustomGrid::CellRelease(TShiftState shift, int x, int y) {
  TGridCell cell = GetCellAtPos(x, y);
  const bool same = cell == pressCell_;
  TLifeGuard guard(*this);
  if (same && cell.Row >= 0 && cell.Row < RowFacts().RowTotal() && OnCellClick)
    OnCellClick(this, cell.Col, cell.Row);
  if (!guard.Alive()) return;
  if (MultiSelectActive()) {
    if (cell.Row == -1) {
      ClearSelection();
      SetMultiSelectActive(false);
    }
    return;
  }
  if (!same || pressCell_.Row < 0 || !Columns().IsColumnIndex(pressCell_.Col)) return;
  cell = GetCellAtPos(x, y);
  if (cell != pressCell_) return;
  if (PlayTakesMouse(cell.Col, cell.Row)) {
    const RECT rect = GetCellRect(cell.Col, cell.Row);
    if (TColumnPlay* play = PlayAt(cell.Col, cell.Row, rect))
      play->PlayMouseUp(mbLeft, shift, x - rect.left, y - rect.top);
    // The value's handlers may have changed the rows or freed the grid.
    if (!guard.Alive() || GetCellAtPos(x, y) != pressCell_) return;
  }
  // Editing starts on the selected cell's edit area (right of a tree's indent and button);
  // with goSecondClickEdit only on a click into the cell that was already selected.
  if (!Columns().IsColumnIndex(cell.Col) || !IsShownRow(cell.Row) ||
      cell != TGridCell{SelectedColumn(), SelectedRow()})
    return;
  const RECT area = EditArea(cell.Col, cell.Row);
  if (::PtInRect(&area, POINT{x, y}) && (!Options().Contains(goSecondClickEdit) || secondClick_))
    OpenEditor(cell.Col, cell.Row, nullptr);
}
