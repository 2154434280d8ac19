#include "grid/Grid.h"

#include "ui/Exception.h"

#include <algorithm>
#include <climits>
#include <cstdint>

namespace {

bool IsKeyword(std::wstring_view text, const wchar_t* keyword) {
  size_t i = 0;
  for (; keyword[i] != 0; ++i) {
    if (i >= text.size()) return false;
    wchar_t c = text[i];
    if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c + 32);
    if (c != keyword[i]) return false;
  }
  return i == text.size();
}

// A subtree's height summed in 64 bits (a million rows of a few thousand pixels pass 2^31),
// handed on as the nearest int of the same sign.
int Saturated(int64_t pixels) {
  return static_cast<int>(std::clamp<int64_t>(pixels, INT_MIN, INT_MAX));
}

} // namespace

TVxGrid::TVxGrid(TComponent* owner)
    : TVxCustomGrid(owner), cells_(std::make_unique<TCells>(Columns())) {
  SetRowFacts(cells_.get());
  cells_->SetDefaultRowHeight(RowSize());
  cells_->OnCellChanged = [this](int column, int row) { CellChanged(column, row); };
  cells_->OnCompareCells = [this](TCell& cell1, TCell& cell2) {
    int compare = 0;
    if (OnCompare) OnCompare(this, &cell1, &cell2, compare);
    return compare;
  };
}

TVxGrid::~TVxGrid() {
  tearingDown_ = true;
  DropEditor();
  SetRowFacts(nullptr);
}

int TVxGrid::AppendRows(int count) {
  if (count < 1) return lastAddedIndex_;
  const int old = TotalRows();
  cells_->AppendRows(count);
  auto finish = [&] {
    const int total = TotalRows();
    if (GridLinesStyle() == lsFramed && Options().Contains(goGrid) && total > 1 && old > 0)
      InvalidateRow(old - 1);
    InvalidateRow(total - 1);
    if (!UpdatesLocked()) InvalidateRows(total - count, total - 1);
    lastAddedIndex_ = total - 1;
    SetLastRowMarker(total - 1);
    if (!UpdatesLocked()) UpdateVertScrollRange();
  };
  if (Options().Contains(goUseDefaultValues)) {
    try {
      for (int row = old; row < old + count; ++row) {
        for (int column = 0; column < Columns().ColumnCount(); ++column) {
          const std::wstring& value = Columns().ColumnAt(column)->DefaultValue();
          if (!value.empty()) SetCellText(column, row, value);
        }
      }
    } catch (...) {
      // The rows are there: the index, markers and scroll range must know of them even when a
      // default value does not convert.
      finish();
      throw;
    }
  }
  finish();
  return lastAddedIndex_;
}

void TVxGrid::AppendChildRow(int parent, bool atEnd) {
  const int at = cells_->AppendChildRow(parent, atEnd);
  RowsInserted(at, 1);
  TRow& owner = RowObject(parent);
  if (owner.Expanded()) ShiftBody(at, RowObject(at).Height());
  if (owner.ChildCount() == 1) InvalidateRow(parent);
  lastAddedIndex_ = at;
  if (!UpdatesLocked()) UpdateVertScrollRange();
}

void TVxGrid::InsertRowAt(int index) {
  cells_->InsertRowAt(index);
  RowsInserted(index, 1);
  lastAddedIndex_ = index;
  // A selected row keeps its selection wherever the new row goes; with none, the insert
  // selects the first row, as it always has.
  if (SelectedRow() < 0) StoreSelection(SelectedColumn(), 0);
  InvalidateBody();
  if (!UpdatesLocked()) UpdateVertScrollRange();
}

void TVxGrid::DeleteRowAt(int index) {
  RowObject(index);
  EndEdit();
  // The row goes with all its descendants, and what lay below them moves up once by the
  // heights of the displayed ones.
  const int last = index + CountDescendants(index);
  int64_t shift = 0;
  for (int j = cells_->RowDisplayed(index) ? index : cells_->NextDisplayedRow(index); j <= last;
       j = cells_->NextDisplayedRow(j))
    shift += RowHeightOf(j);
  if (shift != 0) ShiftBody(index, Saturated(-shift));
  cells_->RemoveRows(index, last);
  RowsRemoved(index, last - index + 1);
  RecomputeFirstRowMarker();
  RecomputeLastRowMarker();
  // A selection at or past the end moves up to the last row (none when no row is left).
  if (SelectedRow() >= TotalRows()) StoreSelection(SelectedColumn(), TotalRows() - 1);
  InvalidateBody();
  UpdateVertScrollRange();
}

void TVxGrid::ClearAllRows() {
  EndEdit();
  cells_->Clear();
  ResetNavigation();
  RowsCleared();
  InvalidateBody();
  UpdateVertScrollRange();
}

void TVxGrid::ExchangeRows(int a, int b) {
  EndEdit();
  const int selected = SelectedRow();
  const int pressed = PressedRow();
  cells_->ExchangeRows(a, b);
  // The selection and a press stay with their rows, as the rows' selected flags do.
  if (selected == a)
    StoreSelection(SelectedColumn(), b);
  else if (selected == b)
    StoreSelection(SelectedColumn(), a);
  if (pressed == a)
    FollowPressedRow(b);
  else if (pressed == b)
    FollowPressedRow(a);
  if (!UpdatesLocked()) {
    InvalidateRow(a);
    InvalidateRow(b);
  }
}

void TVxGrid::MoveRowTo(int from, int to) {
  EndEdit();
  const TRow* selected = RowOrNull(SelectedRow());
  const TRow* pressed = RowOrNull(PressedRow());
  cells_->MoveRow(from, to);
  // The selection and a press stay with their rows, as the rows' selected flags do.
  if (selected) StoreSelection(SelectedColumn(), selected->Index());
  FollowPressedRow(pressed ? pressed->Index() : -1);
  RecomputeFirstRowMarker();
  RecomputeLastRowMarker();
  InvalidateBody();
}

void TVxGrid::ExpandRow(int index, bool value) {
  TRow& row = RowObject(index);
  if (row.ChildCount() <= 0 || row.Expanded() == value) return;
  const int last = index + CountDescendants(index);
  int64_t shift = 0;
  // A row inside a collapsed node keeps its descendants hidden whatever its own flag says.
  for (int j = index + 1; j <= last && row.Shown(); ++j) {
    TRow& child = RowObject(j);
    const bool wasDisplayed = child.Displayed();
    cells_->SetShown(child, value);
    if (child.Displayed() != wasDisplayed) shift += value ? RowHeightOf(j) : -RowHeightOf(j);
    // Below a collapsed child everything is hidden and stays so: skip its whole subtree.
    if (!child.Expanded()) j += CountDescendants(j);
  }
  if (shift != 0) ShiftBody(index + 1, Saturated(shift));
  cells_->SetExpanded(row, value);
  RecomputeLastRowMarker();
  UpdateVertScrollRange();
  InvalidateRow(index);
  if (OnExpand) OnExpand(this, index);
}

void TVxGrid::ShowRow(int index, bool value) {
  TRow& row = RowObject(index);
  if (row.Displayed() == value) return;
  cells_->SetVisible(row, value);
  // A row inside a collapsed node stays hidden whatever its own flag says.
  if (row.Displayed() == value) ShiftBody(index + 1, value ? row.Height() : -row.Height());
  UpdateVertScrollRange();
}

void TVxGrid::SetRowHeightOf(int row, int height) {
  const int current = RowHeightOf(row);
  height = std::clamp(height, kLeastRowHeight, kGreatestRowHeight);
  if (height == current) return;
  cells_->SetHeight(RowObject(row), height);
  ShiftBody(row + 1, height - current);
  InvalidateRow(row);
  UpdateVertScrollRange();
  if (OnChangeRowHeight) OnChangeRowHeight(this, row, height);
}

void TVxGrid::MarkRowSelected(int row, bool value) {
  if (!cells_->IsRowIndex(row)) return;
  TRow& object = RowObject(row);
  if (object.Selected() == value) return;
  cells_->SetSelected(object, value);
  InvalidateRow(row);
}

void TVxGrid::MarkRowsSelected(int first, int last, bool value) {
  if (!cells_->IsRowIndex(first) || !cells_->IsRowIndex(last)) return;
  if (!value) {
    // Rows outside the selected span hold no flag to clear.
    first = std::max(first, cells_->SelectedFirst());
    last = std::min(last, cells_->SelectedLast());
    if (first > last) return;
  }
  for (int row = first; row <= last; ++row)
    cells_->SetSelected(RowObject(row), value);
  InvalidateRows(first, last);
}

void TVxGrid::SortByColumn(int column, bool ascending) {
  SortRows(column, ascending, false);
}

// The owner hears of a sort that the header started once the rows are in order: a value that
// does not convert leaves the rows, the header and what the owner was told as they were.
void TVxGrid::SortRows(int column, bool ascending, bool byHeader) {
  TVxCustomColumn* owner = Columns().ColumnAt(column);
  if (!owner || !owner->Options().Contains(coCanSort)) return;
  EndEdit();
  const TRow* selected = RowOrNull(SelectedRow());
  const TRow* pressed = RowOrNull(PressedRow());
  cells_->Sort(column, owner->SortType(), owner->Options().Contains(coFullResort),
               ascending ? skAscending : skDescending);
  FollowPressedRow(pressed ? pressed->Index() : -1);
  if (byHeader && OnSortColumn) OnSortColumn(this, column, ascending);
  if (selected) SelectSortedRow(selected->Index());
  if (SelectedRow() >= 0) ScrollRowIntoView(SelectedRow());
  RecomputeFirstRowMarker();
  RecomputeLastRowMarker();
  InvalidateBody();
  if (Options().Contains(goIndicator)) InvalidateIndicator();
  if (OnAfterSort) OnAfterSort(this, column);
}

TCell* TVxGrid::CellByKey(const TCellKey& columnKey, const TCellKey& rowKey) {
  auto fail = [this](const char* what, std::wstring_view key) {
    throw Exception(std::string("Invalid ") + what + " '" + WideToAnsi(std::wstring(key)) +
                    "' for '" + ClassName() + ":" + WideToAnsi(Name()) + "'.");
  };
  int row = 0;
  if (rowKey.IsNumber()) {
    // A number's text is never a keyword and parses back to the number.
    row = rowKey.Number();
  } else {
    const std::wstring_view key = rowKey.Text();
    if (IsKeyword(key, L"first"))
      row = 0;
    else if (IsKeyword(key, L"last"))
      row = TotalRows() - 1;
    else if (IsKeyword(key, L"selected"))
      row = SelectedRow();
    else if (!TryStrToInt(std::wstring(key), row))
      fail("Rowname", key);
  }
  const std::wstring_view key = columnKey.Text();
  int column = 0;
  if (IsKeyword(key, L"first")) {
    column = 0;
  } else if (IsKeyword(key, L"last")) {
    column = Columns().ColumnCount() - 1;
  } else if (IsKeyword(key, L"selected")) {
    column = SelectedColumn();
  } else if (TVxCustomColumn* named = Columns().ColumnByName(key)) {
    column = Columns().IndexOfColumn(named);
  } else if (!TryStrToInt(std::wstring(key), column)) {
    fail("Columnname", key);
  }
  return CellAt(column, row);
}

bool TVxGrid::IsCellPair(int column, int row) const {
  return column >= 0 && column < cells_->ColumnTotal() && cells_->IsRowIndex(row);
}

std::wstring TVxGrid::CellText(int column, int row) {
  return IsCellPair(column, row) ? CellAt(column, row)->TextValue() : std::wstring();
}

void TVxGrid::SetCellText(int column, int row, const std::wstring& text) {
  if (IsCellPair(column, row)) CellAt(column, row)->SetTextValue(text);
}

std::wstring TVxGrid::CellHintOf(int column, int row) {
  std::wstring hint = IsCellPair(column, row) ? CellAt(column, row)->HintText() : std::wstring();
  if (OnCellHint) OnCellHint(this, column, row, hint);
  return hint;
}

TColor TVxGrid::CellBackColorOf(int column, int row) {
  TVxCustomColumn* owner = Columns().ColumnAt(column);
  if (owner && owner->ParentCellColor()) return ColumnCellColor(column);
  return CellAt(column, row)->BackColor();
}

void TVxGrid::CellChanged(int column, int row) {
  if (UpdatesLocked()) return;
  InvalidateCell(column, row);
  if (OnChange) OnChange(this, column, row);
}

void TVxGrid::ColumnsNotify(const TColumnsNotice& notice) {
  TVxCustomGrid::ColumnsNotify(notice);
  TVxCustomColumn& column = *notice.Column;
  switch (notice.Kind) {
  case ckSorted:
  case ckSortKind:
    if (notice.Kind == ckSorted || column.Sorted())
      SortRows(column.Index(), column.SortKind() == skAscending, true);
    InvalidateHeader();
    break;
  case ckUnsorted:
    InvalidateHeader();
    break;
  case ckAdded:
  case ckInserted:
    cells_->ColumnAdded(notice.Value, notice.Kind == ckAdded);
    InvalidateBody();
    break;
  case ckRemoved:
    cells_->ColumnRemoved(notice.Value);
    InvalidateBody();
    break;
  default:
    break;
  }
}

void TVxGrid::DpiChanged(int oldDpi, int newDpi) {
  const int oldDefault = RowSize();
  TVxCustomGrid::DpiChanged(oldDpi, newDpi);
  // A row of the default height takes the new default exactly; a row of its own height is
  // scaled from the one it has.
  for (int row = 0; row < cells_->RowTotal(); ++row) {
    TRow& object = RowObject(row);
    const int height = object.Height() == oldDefault
                           ? RowSize()
                           : std::clamp(MulDiv(object.Height(), newDpi, oldDpi), kLeastRowHeight,
                                        kGreatestRowHeight);
    cells_->SetHeight(object, height);
  }
  UpdateVertScrollRange();
  Invalidate();
}

void TVxGrid::RowSizeChanged() {
  cells_->SetDefaultRowHeight(RowSize());
}

TColumnDisplay& TVxGrid::LoadDisplay(int column, int row, TCanvas& canvas, const RECT& cellRect,
                                     bool bold) {
  TVxCustomColumn& owner = *Columns().ColumnAt(column);
  TColumnDisplay& display = owner.Display();
  canvas.Font().Assign(owner.Font());
  if (bold) canvas.Font().SetStyle(canvas.Font().Style() + TFontStyles{fsBold});
  display.TargetCanvas = &canvas;
  display.ThemeOwner = this;
  display.CellRect = RECT{cellRect.left + owner.Padding(), cellRect.top,
                          cellRect.right - owner.Padding(), cellRect.bottom};
  display.IsSelectedCell = column == SelectedColumn() && row == SelectedRow();
  TCell& cell = *CellAt(column, row);
  switch (owner.DataKind()) {
  case dkBoolean:
    display.PlayBool = cell.BoolValue();
    break;
  case dkInteger:
    display.PlayInt = cell.IntValue();
    break;
  case dkAutoNumber:
    display.PlayInt = row;
    break;
  default:
    display.DrawnText = cell.TextValue();
    break;
  }
  const TRow& facts = RowObject(row);
  display.RowChildCount = facts.ChildCount();
  display.RowExpanded = facts.Expanded();
  display.RowLevel = facts.Level();
  return display;
}

void TVxGrid::PaintCellContent(int column, int row, TCanvas& canvas, const RECT& cellRect,
                               bool bold) {
  TColumnDisplay& display = LoadDisplay(column, row, canvas, cellRect, bold);
  const TDrawingOptions drawing = Columns().ColumnAt(column)->DrawingOptions();
  if (drawing != doBackgroundOnly && drawing != doCustomOnly) display.PaintCell();
}

TColumnPlay* TVxGrid::LoadPlay(int column, int row, const RECT& cellRect) {
  TVxCustomColumn* owner = Columns().ColumnAt(column);
  TColumnPlay* play = owner ? owner->Play() : nullptr;
  if (!play || !cells_->IsRowIndex(row)) return nullptr;
  play->Col = column;
  play->Row = row;
  play->Grid = this;
  play->ThemeOwner = this;
  play->CellRect = cellRect;
  TCell& cell = *CellAt(column, row);
  if (owner->DataKind() == dkBoolean)
    play->PlayBool = cell.BoolValue();
  else if (owner->DataKind() == dkInteger)
    play->PlayInt = cell.IntValue();
  else
    play->DrawnText = owner->DisplayText(cell.TextValue());
  const TRow& facts = RowObject(row);
  play->RowChildCount = facts.ChildCount();
  play->RowExpanded = facts.Expanded();
  play->RowLevel = facts.Level();
  play->ApplyHook = [this, play] { ApplyPlayValue(*play); };
  play->ToggleHook = [this, row] { ToggleExpanded(row); };
  return play;
}

void TVxGrid::ApplyPlayValue(TColumnPlay& play) {
  bool accept = true;
  if (OnEditAccept) OnEditAccept(this, play.Col, play.Row, play.DrawnText, accept);
  if (!accept) return;
  TVxCustomColumn* owner = Columns().ColumnAt(play.Col);
  if (!owner || !cells_->IsRowIndex(play.Row)) return;
  if (owner->DataKind() == dkBoolean)
    CellAt(play.Col, play.Row)->SetBoolValue(play.PlayBool);
  else if (owner->DataKind() == dkInteger)
    CellAt(play.Col, play.Row)->SetIntValue(play.PlayInt);
  const std::wstring value = CellAt(play.Col, play.Row)->TextValue();
  if (OnAfterEdit) OnAfterEdit(this, play.Col, play.Row, value);
  // A play applies a value only for the user's click or key: the owner hears of it the same
  // way whichever it was.
  if (OnCellValueChanged) OnCellValueChanged(this, play.Col, play.Row, value);
}

std::wstring TVxGrid::CellHintText(int column, int row, TCanvas& canvas, const RECT& cellRect,
                                   bool bold) {
  TVxCustomColumn* owner = Columns().ColumnAt(column);
  if (!owner || !cells_->IsRowIndex(row)) return {};
  if (owner->Options().Contains(coShowTextFitHint)) {
    TColumnDisplay& display = LoadDisplay(column, row, canvas, cellRect, bold);
    display.DrawnText = owner->DisplayText(CellText(column, row));
    if (OnApplyCell) OnApplyCell(this, column, row, display.DrawnText);
    // Measured in the style the cell paints in.
    if (OnCellFormating) {
      TColor color = canvas.Font().Color();
      TFontStyles style = canvas.Font().Style();
      TCellState state;
      if (bold) state.Include(csBoldTextSelection);
      OnCellFormating(this, column, row, color, style, state);
      canvas.Font().SetStyle(style);
    }
    if (owner->Width() < display.NeededWidth() + Scaled(5)) return display.DrawnText;
  }
  return CellHintOf(column, row);
}
