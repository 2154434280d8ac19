// What the grid's row store answers to the control's selection, input and painting.
#include "grid/Grid.h"

bool TVxGrid::RowSelectedFlag(int row) const {
  return Cells().IsRowIndex(row) && RowObject(row).Selected();
}

void TVxGrid::SetRowsSelectedFlag(int first, int last, bool value) {
  if (first > last) return;
  MarkRowsSelected(first, last, value);
}

int TVxGrid::CellContentHeight(int col, int row, TCanvas& canvas, const RECT& cellRect) {
  TColumnDisplay& display = LoadDisplay(col, row, canvas, cellRect);
  display.DrawnText = Columns().ColumnAt(col)->DisplayText(display.DrawnText);
  return display.NeededHeight();
}

std::wstring TVxGrid::SearchTextOf(int col, int row) {
  TVxCustomColumn* column = Columns().ColumnAt(col);
  return column ? column->DisplayText(CellText(col, row)) : std::wstring();
}

int TVxGrid::RowLevelOf(int row) const {
  return Cells().IsRowIndex(row) ? LevelOf(row) : 0;
}

int TVxGrid::CellContentWidth(int col, int row, TCanvas& canvas, const RECT& cellRect) {
  TColumnDisplay& display = LoadDisplay(col, row, canvas, cellRect);
  display.DrawnText = Columns().ColumnAt(col)->DisplayText(display.DrawnText);
  if (OnApplyCell) OnApplyCell(this, col, row, display.DrawnText);
  return display.NeededWidth();
}

void TVxGrid::PaintCellValue(TCanvas& canvas, int col, int row, const RECT& contentRect,
                             TColor textColor, TCellState state, bool selectedCell) {
  TVxCustomColumn& column = *Columns().ColumnAt(col);
  const int padding = column.Padding();
  const RECT cellRect{contentRect.left - padding, contentRect.top, contentRect.right + padding,
                      contentRect.bottom};
  TColumnDisplay& display =
      LoadDisplay(col, row, canvas, cellRect, state.Contains(csBoldTextSelection));
  TColor color = textColor;
  TFontStyles style = canvas.Font().Style();
  if (OnCellFormating) OnCellFormating(this, col, row, color, style, state);
  canvas.Font().SetColor(color);
  canvas.Font().SetStyle(style);
  display.IsSelectedCell = selectedCell;
  display.PaintCell();
}

int TVxGrid::RowDropPosition(int from, int over) const {
  if (!Cells().IsRowIndex(from) || !Cells().IsRowIndex(over) || from == over) return -1;
  // Dropped further down, the row goes below the target and everything under it.
  const int to = over > from && RowHasChildren(over) ? over + CountDescendants(over) : over;
  // In a tree a row moves only among its siblings and only alone: anything else would tear a
  // subtree apart or leave rows under a parent that does not count them.
  return Cells().MoveKeepsTree(from, to) ? to : -1;
}
