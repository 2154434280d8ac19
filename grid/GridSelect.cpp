// The selection: SelectCell and the moves that keys and clicks make through it, and the
// scrolling that keeps the selected row in view. Walks go over shown rows only and never
// further than the rows they move over (a page at most), whatever the number of rows.
#include "grid/CustomGrid.h"

#include <algorithm>
#include <utility>

bool TVxCustomGridControl::IsShownRow(int row) const {
  const TRowFacts& rows = RowFacts();
  return row >= 0 && row < rows.RowTotal() && rows.RowDisplayed(row);
}

bool TVxCustomGridControl::AcceptCell(int col, int row) {
  bool accept = true;
  if (OnBeforeSelect) OnBeforeSelect(this, col, row, accept);
  return accept;
}

void TVxCustomGridControl::RedrawSelection(int oldCol, int oldRow, int col, int row) {
  if (UpdatesLocked()) return;
  if (oldRow >= 0) InvalidateCell(oldCol, oldRow);
  if (row >= 0) InvalidateCell(col, row);
  if (oldRow != row) InvalidateIndicator();
}

void TVxCustomGridControl::SelectCell(int col, int row, bool plain, TShiftState shift) {
  if (edit_.inputLine) {
    SelectInputCell(col);
    return;
  }
  // A row that is not there or not shown cannot be selected: a later key or popup would act
  // on a row the user never saw.
  if (!IsShownRow(row)) return;
  // The handler may have taken the row away.
  if (!AcceptCell(col, row) || !IsShownRow(row)) return;
  const bool ctrl = shift.Contains(ssCtrl);
  const bool withShift = shift.Contains(ssShift);
  if (multiSelectActive_ && plain && !ctrl && !withShift) {
    ClearSelection();
    multiSelectActive_ = false;
    StoreSelection(0, -1);
  }
  const TVxCustomColumn* column = columns_.ColumnAt(col);
  if (!column || !column->Enabled()) return;
  const int oldCol = selectedColumn_;
  int oldRow = selectedRow_;
  StoreSelection(col, row);
  const bool changed = oldCol != col || oldRow != row;
  if (changed) {
    if (columns_.IsColumnIndex(oldCol) && IsShownRow(oldRow) && OnDeselectCell) {
      // The handler may change the rows: the old and the new selection follow their rows.
      leavingRow_ = oldRow;
      OnDeselectCell(this, oldCol, oldRow);
      oldRow = std::exchange(leavingRow_, -1);
      row = selectedRow_;
      if (!IsShownRow(row) || !columns_.IsColumnIndex(col)) return;
    }
    EndEdit();
  }
  if (autoScroll_) ScrollRowIntoView(row);
  if (RowFacts().RowTotal() == 0) return;
  const bool multi = options_.Contains(goMultiSelect) && options_.Contains(goSelectFullRow);
  if (!options_.Contains(goSelectFullRow)) {
    if (changed) RedrawSelection(oldCol, oldRow, col, row);
  } else if (multi && ctrl && !withShift) {
    anchor_ = row;
    multiSelectActive_ = true;
    SetRowSelectedFlag(row, !RowSelectedFlag(row));
    if (oldRow >= 0) InvalidateRow(oldRow);
  } else if (multi && withShift) {
    multiSelectActive_ = true;
    if (anchor_ < 0 || anchor_ >= RowFacts().RowTotal()) anchor_ = row;
    const int low = std::min(anchor_, row);
    const int high = std::max(anchor_, row);
    if (!ctrl) {
      if (low > 0) SetRowsSelectedFlag(0, low - 1, false);
      if (high + 1 < RowFacts().RowTotal())
        SetRowsSelectedFlag(high + 1, RowFacts().RowTotal() - 1, false);
    }
    SetRowsSelectedFlag(low, high, true);
    if (oldRow >= 0) InvalidateRow(oldRow);
    InvalidateRow(row);
  } else {
    if (oldRow != row && !multiSelectActive_ && oldRow >= 0 && oldRow < RowFacts().RowTotal())
      SetRowSelectedFlag(oldRow, false);
    SetRowSelectedFlag(row, true);
    anchor_ = row;
    if (!UpdatesLocked()) {
      if (oldRow >= 0) InvalidateRow(oldRow);
      InvalidateRow(row);
      if (oldRow == row && oldCol != col && appearance_.Contains(aoIndicateSelectedCell))
        RedrawSelection(oldCol, oldRow, col, row);
    }
  }
  if (OnSelectCell) OnSelectCell(this, col, row);
}

void TVxCustomGridControl::SelectRow(int row) {
  LeaveInputLine();
  SelectCell(selectedColumn_, row, true, TShiftState{});
}

int TVxCustomGridControl::SelectedCount() {
  return SelectedRowTotal();
}

void TVxCustomGridControl::ClearSelection() {
  if (RowFacts().RowTotal() > 0) SetRowsSelectedFlag(0, RowFacts().RowTotal() - 1, false);
}

void TVxCustomGridControl::MoveDown(TShiftState shift) {
  const TRowFacts& rows = RowFacts();
  if (!IsShownRow(selectedRow_)) return;
  for (int row = rows.NextDisplayedRow(selectedRow_); row < rows.RowTotal();
       row = rows.NextDisplayedRow(row)) {
    if (!AcceptCell(selectedColumn_, row)) continue;
    SelectCell(selectedColumn_, row, true, shift);
    ScrollRowIntoView(row);
    return;
  }
}

void TVxCustomGridControl::MoveUp(TShiftState shift) {
  const TRowFacts& rows = RowFacts();
  if (!IsShownRow(selectedRow_)) return;
  for (int row = rows.PreviousDisplayedRow(selectedRow_); row >= 0;
       row = rows.PreviousDisplayedRow(row)) {
    if (!AcceptCell(selectedColumn_, row)) continue;
    SelectCell(selectedColumn_, row, true, shift);
    ScrollRowIntoView(row);
    return;
  }
}

void TVxCustomGridControl::MoveToFirst(TShiftState shift) {
  if (homeEndBehaviour_ == hebLeftRight) {
    const TVxCustomColumn* first = columns_.FirstVisibleColumn();
    if (first) SelectCell(first->Index(), selectedRow_, true, shift);
    return;
  }
  if (!columns_.IsColumnIndex(selectedColumn_)) return;
  const int row = RowFacts().NextDisplayedRow(-1);
  if (!IsShownRow(row)) return;
  SelectCell(selectedColumn_, row, true, shift);
  if (selectedRow_ == row && FirstRowFromTop() != row) JumpTopTo(row, 0);
}

void TVxCustomGridControl::MoveToLast(TShiftState shift) {
  if (homeEndBehaviour_ == hebLeftRight) {
    const TVxCustomColumn* last = columns_.LastVisibleColumn();
    if (last) SelectCell(last->Index(), selectedRow_, true, shift);
    return;
  }
  if (!columns_.IsColumnIndex(selectedColumn_) || multiSelectActive_) return;
  const int row = RowFacts().PreviousDisplayedRow(RowFacts().RowTotal());
  if (!IsShownRow(row)) return;
  SelectCell(selectedColumn_, row, true, shift);
  if (selectedRow_ == row) ScrollRowIntoView(row);
}

void TVxCustomGridControl::MoveBy(int count) {
  const TRowFacts& rows = RowFacts();
  if (!IsShownRow(selectedRow_)) return;
  int row = selectedRow_;
  for (; count > 0; --count) {
    const int next = rows.NextDisplayedRow(row);
    if (next >= rows.RowTotal()) break;
    row = next;
  }
  for (; count < 0; ++count) {
    const int previous = rows.PreviousDisplayedRow(row);
    if (previous < 0) break;
    row = previous;
  }
  SelectCell(selectedColumn_, row, true, TShiftState{});
}

void TVxCustomGridControl::PageDown() {
  const TRowFacts& rows = RowFacts();
  if (!IsShownRow(selectedRow_)) return;
  const int page = std::max(RowsPerPage(), 1);
  // The page's last row, or the last shown row when fewer rows are left than a page.
  int pageLast = FirstRowFromTop();
  for (int k = 1; k < page; ++k) {
    const int next = rows.NextDisplayedRow(pageLast);
    if (next >= rows.RowTotal()) break;
    pageLast = next;
  }
  if (selectedRow_ < pageLast) {
    SelectCell(selectedColumn_, pageLast, true, TShiftState{});
    return;
  }
  int target = selectedRow_;
  int steps = 0;
  for (; steps < page; ++steps) {
    const int next = rows.NextDisplayedRow(target);
    if (next >= rows.RowTotal()) break;
    target = next;
  }
  if (steps < page) {
    MoveToLast(TShiftState{});
    return;
  }
  SelectCell(selectedColumn_, target, true, TShiftState{});
  if (selectedRow_ != target) return;
  ScrollDownTo(target);
}

void TVxCustomGridControl::PageUp() {
  const TRowFacts& rows = RowFacts();
  if (!IsShownRow(selectedRow_)) return;
  const int first = FirstRowFromTop();
  if (first < selectedRow_) {
    SelectCell(selectedColumn_, first, true, TShiftState{});
    return;
  }
  const int page = std::max(RowsPerPage(), 1);
  int target = selectedRow_;
  for (int k = 0; k < page; ++k) {
    const int previous = rows.PreviousDisplayedRow(target);
    if (previous < 0) break;
    target = previous;
  }
  SelectCell(selectedColumn_, target, true, TShiftState{});
  if (selectedRow_ == target) ScrollRowIntoView(target);
}

void TVxCustomGridControl::SelectNextColumn() {
  // The column list answers the column itself when there is none further.
  TVxCustomColumn* current = columns_.ColumnAt(selectedColumn_);
  const TVxCustomColumn* next = current ? columns_.NextColumn(current) : nullptr;
  if (next && next != current) SelectCell(next->Index(), selectedRow_, true, TShiftState{});
}

void TVxCustomGridControl::SelectPreviousColumn() {
  TVxCustomColumn* current = columns_.ColumnAt(selectedColumn_);
  const TVxCustomColumn* previous = current ? columns_.PreviousColumn(current) : nullptr;
  if (previous && previous != current)
    SelectCell(previous->Index(), selectedRow_, true, TShiftState{});
}

void TVxCustomGridControl::JumpTopTo(int row, int position) {
  TVxScrollBar& bar = VertScrollBar();
  topRow_ = row;
  bar.BeginUpdate();
  bar.SetPosition(position);
  bar.EndUpdate();
  InvalidateBody();
  InvalidateIndicator();
}

void TVxCustomGridControl::ScrollDownTo(int row) {
  // The top row that shows row whole at the body's bottom: a page's walk back from it.
  const TRowFacts& rows = RowFacts();
  const RECT body = GetBodyRect();
  const int separator = RowSeparator();
  const int room = body.bottom - body.top;
  int newTop = row;
  int used = RowExtentOf(row) + separator;
  for (int r = rows.PreviousDisplayedRow(row); r >= 0; r = rows.PreviousDisplayedRow(r)) {
    used += RowExtentOf(r) + separator;
    if (used > room) break;
    newTop = r;
  }
  const int first = FirstRowFromTop();
  if (newTop <= first) return;
  JumpTopTo(newTop, DisplayedRowsBefore(newTop));
}

void TVxCustomGridControl::ScrollRowIntoView(int row) {
  if (!IsShownRow(row)) return;
  const int first = FirstRowFromTop();
  if (row < first) {
    JumpTopTo(row, DisplayedRowsBefore(row));
    return;
  }
  const RECT body = GetBodyRect();
  if (RowTop(row) + RowExtentOf(row) + RowSeparator() <= body.bottom) return;
  ScrollDownTo(row);
}

void TVxCustomGridControl::ScrollColumnIntoView(int col) {
  const TVxCustomColumn* column = columns_.ColumnAt(col);
  if (!column || !column->Visible() || column->Position() < columns_.FixedCols() ||
      gridStyle_ == gsSlides)
    return;
  TVxScrollBar& bar = HorzScrollBar();
  const int indicator = options_.Contains(goIndicator) ? 12 : 0;
  const int fixedRight = indicator + columns_.FixedWidth();
  const int left = ColumnLeft(*column);
  const int right = left + column->Width();
  if (left < fixedRight)
    bar.SetPosition(bar.Position() - (fixedRight - left));
  else if (right > ClientWidth())
    bar.SetPosition(bar.Position() + std::min(right - ClientWidth(), left - fixedRight));
}

void TVxCustomGridControl::InvalidateInputLine() {
  if (!HandleAllocated() || !options_.Contains(goInput)) return;
  RECT input = GetInputRect();
  input.left = 0;
  input.right = ClientWidth();
  ::InvalidateRect(Handle(), &input, FALSE);
}

void TVxCustomGridControl::EnterInputLine() {
  if (!options_.Contains(goInput) || edit_.inputLine) return;
  EndEdit();
  edit_.inputLine = true;
  if (!columns_.IsColumnIndex(selectedColumn_)) selectedColumn_ = 0;
  InvalidateInputLine();
  // The rows lose their selection look while the input line holds it.
  InvalidateBody();
  InvalidateIndicator();
}

void TVxCustomGridControl::LeaveInputLine() {
  if (!edit_.inputLine) return;
  ApplyEdit();
  edit_.inputLine = false;
  InvalidateInputLine();
  InvalidateBody();
  InvalidateIndicator();
}

void TVxCustomGridControl::SelectInputCell(int col) {
  if (!AcceptCell(col, selectedRow_)) return;
  const TVxCustomColumn* column = columns_.ColumnAt(col);
  if (!column || !column->Enabled()) return;
  const int oldCol = selectedColumn_;
  if (oldCol == col) return;
  StoreSelection(col, selectedRow_);
  if (columns_.IsColumnIndex(oldCol) && IsShownRow(selectedRow_) && OnDeselectCell)
    OnDeselectCell(this, oldCol, selectedRow_);
  EndEdit();
  if (OnInputSelectCell) OnInputSelectCell(this, col);
  InvalidateInputLine();
}
