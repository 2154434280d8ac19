// The grid's keys: the moves of the selection, keys handed to the selected cell's column, and
// type-ahead in the search column.
#include "grid/ColumnPlay.h"
#include "grid/CustomGrid.h"

#include <cwctype>

namespace {

bool StartsWithIgnoringCase(const std::wstring& text, const std::wstring& prefix) {
  if (text.size() < prefix.size()) return false;
  return ::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text.c_str(),
                          static_cast<int>(prefix.size()), prefix.c_str(),
                          static_cast<int>(prefix.size())) == CSTR_EQUAL;
}

} // namespace

UINT TVxCustomGrid::DialogCode(UINT defaultCode) {
  UINT code = defaultCode | DLGC_WANTARROWS | DLGC_WANTCHARS;
  if (WantTabs() && Columns().IsColumnIndex(SelectedColumn()) && IsShownRow(SelectedRow()))
    code |= DLGC_WANTTAB;
  if (WantReturns()) code |= DLGC_WANTALLKEYS;
  return code;
}

void TVxCustomGrid::TabKey(bool back) {
  TVxCustomColumn* current = Columns().ColumnAt(SelectedColumn());
  if (!current || !IsShownRow(SelectedRow())) return;
  const TVxCustomColumn* next =
      back ? Columns().PreviousColumn(current) : Columns().NextColumn(current);
  // The column list answers the column itself when there is none further.
  if (next && next != current) {
    SelectCell(next->Index(), SelectedRow(), true, TShiftState{});
    ScrollColumnIntoView(next->Index());
    return;
  }
  const TRowFacts& rows = RowFacts();
  const int row =
      back ? rows.PreviousDisplayedRow(SelectedRow()) : rows.NextDisplayedRow(SelectedRow());
  // Asked after the moves, whose handlers may hide columns; with every column hidden the
  // selection has no column to wrap to.
  auto wrap = [&] { return back ? Columns().LastVisibleColumn() : Columns().FirstVisibleColumn(); };
  if (row >= 0 && row < rows.RowTotal()) {
    if (back)
      MoveUp(TShiftState{});
    else
      MoveDown(TShiftState{});
    if (const TVxCustomColumn* to = wrap())
      SelectCell(to->Index(), SelectedRow(), true, TShiftState{});
  } else if (!back) {
    // From the last cell the focus leaves the grid, which starts again at its first row.
    if (const TVxCustomColumn* to = wrap())
      SelectCell(to->Index(), rows.NextDisplayedRow(-1), true, TShiftState{});
    TopLevel()->SelectNext(this, true, true);
    return;
  }
  ScrollColumnIntoView(SelectedColumn());
}

void TVxCustomGrid::EnterKey() {
  switch (SelectionMoveDirection()) {
  case mdUp:
    MoveUp(TShiftState{});
    break;
  case mdDown:
    MoveDown(TShiftState{});
    break;
  case mdLeft:
    SelectPreviousColumn();
    break;
  case mdRight:
    SelectNextColumn();
    break;
  default:
    break;
  }
}

void TVxCustomGrid::KeyDown(WORD& key, TShiftState shift) {
  TLifeGuard guard(*this);
  TVxCustomGridControl::KeyDown(key, shift);
  if (!guard.Alive()) return;
  HideCellHint();
  if (key == VK_ESCAPE && CancelRowInput()) return;
  // While an editor is open the caret keys are the editor's.
  if (EditorOpen() && (key == VK_HOME || key == VK_END || (key >= VK_LEFT && key <= VK_DOWN)))
    return;
  const bool fullRowScroll = Options().Contains(goSelectFullRow) &&
                             !AppearanceOptions().Contains(aoIndicateSelectedCell) &&
                             !InputLineActive();
  switch (key) {
  case VK_UP:
    // From the first shown row Up goes on into the input line.
    if (Options().Contains(goInput) && IsShownRow(SelectedRow()) &&
        RowFacts().PreviousDisplayedRow(SelectedRow()) < 0)
      EnterInputLine();
    else
      MoveUp(shift);
    break;
  case VK_DOWN:
    if (InputLineActive()) {
      // Down leaves the input line for the first shown row.
      const int first = RowFacts().NextDisplayedRow(-1);
      if (first < RowFacts().RowTotal()) SelectRow(first);
    } else {
      MoveDown(shift);
    }
    break;
  case VK_PRIOR:
    PageUp();
    break;
  case VK_NEXT:
    PageDown();
    break;
  case VK_HOME:
    MoveToFirst(shift);
    break;
  case VK_END:
    MoveToLast(shift);
    break;
  case VK_LEFT:
    if (fullRowScroll) {
      ::SendMessageW(Handle(), WM_HSCROLL, SB_LINELEFT, 0);
    } else {
      SelectPreviousColumn();
      ScrollColumnIntoView(SelectedColumn());
    }
    break;
  case VK_RIGHT:
    if (fullRowScroll) {
      ::SendMessageW(Handle(), WM_HSCROLL, SB_LINERIGHT, 0);
    } else {
      SelectNextColumn();
      ScrollColumnIntoView(SelectedColumn());
    }
    break;
  case VK_TAB:
    if (WantTabs()) TabKey(shift.Contains(ssShift));
    break;
  case VK_RETURN:
    if (!WantReturns()) break;
    if (!InputLineActive()) {
      EnterKey();
    } else if (InputEnterMode() == imAllways) {
      // The input is accepted and the line starts again at its first column.
      ApplyEdit();
      AddInputRow();
      if (const TVxCustomColumn* first = Columns().FirstVisibleColumn())
        SelectCell(first->Index(), SelectedRow(), true, TShiftState{});
    } else {
      OpenInputEditor(SelectedColumn(), nullptr);
    }
    break;
  default:
    break;
  }
}

void TVxCustomGrid::KeyPress(wchar_t& key) {
  TLifeGuard guard(*this);
  TVxCustomGridControl::KeyPress(key);
  if (!guard.Alive() || key == 0 || key == VK_ESCAPE || EditorOpen()) return;
  const int col = SelectedColumn();
  const int row = SelectedRow();
  const TVxCustomColumn* column = Columns().ColumnAt(col);
  if (!column) return;
  const std::wstring typed(1, key);
  if (InputLineActive()) {
    // A character the column takes opens the input editor with it.
    if (column->AcceptsKey(key) && OpenInputEditor(col, &typed)) key = 0;
    return;
  }
  if (IsShownRow(row) && PlayTakesMouse(col, row)) {
    const unsigned shape = ShapeStamp();
    if (TColumnPlay* play = PlayAt(col, row, GetCellRect(col, row))) play->PlayKey(key);
    if (key == L'\r' || key == L'\t') {
      key = 0;
      return;
    }
    // The value's handlers may have freed the grid or taken its column or row away.
    if (!guard.Alive() || ShapeStamp() != shape) return;
  }
  if (IsShownRow(row) && column->AcceptsKey(key) && OpenEditor(col, row, &typed)) {
    key = 0;
    return;
  }
  if (key >= L' ' && !column->Options().Contains(coEditing)) TypeAhead(key);
}

void TVxCustomGrid::TypeAhead(wchar_t key) {
  int searchCol = -1;
  for (int i = 0; i < Columns().ColumnCount() && searchCol < 0; ++i)
    if (Columns().ColumnAt(i)->Options().Contains(coSearchColumn)) searchCol = i;
  const TRowFacts& rows = RowFacts();
  if (searchCol < 0 || rows.RowTotal() == 0) return;
  searchText_ += key;
  searchTimer_->SetEnabled(false);
  searchTimer_->SetEnabled(true);
  // The rows after the selection first, then from the top round to the selection.
  const int start = SelectedRow();
  auto matches = [&](int row) {
    return StartsWithIgnoringCase(SearchTextOf(searchCol, row), searchText_);
  };
  int found = -1;
  for (int row = rows.NextDisplayedRow(start); row < rows.RowTotal() && found < 0;
       row = rows.NextDisplayedRow(row))
    if (matches(row)) found = row;
  for (int row = rows.NextDisplayedRow(-1); row <= start && row < rows.RowTotal() && found < 0;
       row = rows.NextDisplayedRow(row))
    if (matches(row)) found = row;
  if (found < 0) return;
  SelectRow(found);
  ScrollRowIntoView(found);
}
