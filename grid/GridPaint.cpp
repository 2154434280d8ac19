// The grid's paint: rows from TopRow down to the body's bottom, filler rows, the focus
// rectangle, the headers and footers, the band beyond the columns and the empty grid's caption.
#include "grid/GridPaint.h"

#include "grid/BodyPainter.h"
#include "grid/ColumnDisplay.h"
#include "grid/CustomGrid.h"
#include "grid/HeaderDisplays.h"
#include "grid/HeaderTheme.h"

TGridPaintClient::TGridPaintClient(TVxCustomGridControl& grid)
    : grid_(grid), life_(grid), shape_(grid.ShapeStamp()) {}

bool TGridPaintClient::PassBroken() const {
  return !life_.Alive() || grid_.ShapeStamp() != shape_;
}

void TGridPaintClient::CellColoring(int col, int row, TColor& cellColor, TColor& gridColor,
                                    TCellState state) {
  if (!PassBroken() && grid_.OnCellColoring)
    grid_.OnCellColoring(&grid_, col, row, cellColor, gridColor, state);
}

void TGridPaintClient::DrawCellBackground(int col, int row, const RECT& rect, TCellState state,
                                          bool& defaultDrawing) {
  if (!PassBroken() && grid_.OnDrawCellBackground)
    grid_.OnDrawCellBackground(&grid_, col, row, rect, state, defaultDrawing);
}

void TGridPaintClient::DrawCellContent(TCanvas& canvas, int col, int row, const RECT& contentRect,
                                       TColor textColor, TCellState state, bool selectedCell) {
  if (!PassBroken())
    grid_.PaintCellValue(canvas, col, row, contentRect, textColor, state, selectedCell);
}

void TGridPaintClient::DrawHintMark(int col, int, const RECT& rect) {
  if (PassBroken()) return;
  // The display was loaded with this cell for its content just before.
  if (TVxCustomColumn* column = grid_.Columns().ColumnAt(col)) {
    TColumnDisplay& display = column->Display();
    display.CellRect = rect;
    display.DrawHintMark();
  }
}

void TGridPaintClient::CustomDrawCell(int col, int row, const RECT& rect, TCellState state) {
  if (!PassBroken() && grid_.OnCustomDrawCell)
    grid_.OnCustomDrawCell(&grid_, col, row, rect, state);
}

void TVxCustomGridControl::SetLook(TColor& field, TColor value) {
  if (field == value) return;
  field = value;
  Invalidate();
}

void TVxCustomGridControl::SetAppearanceOptions(TAppearanceOptions value) {
  if (appearance_ == value) return;
  appearance_ = value;
  UpdateVertScrollRange(false);
  Invalidate();
}

uint8_t TVxCustomGridControl::HeaderStyle() const {
  return headerDisplays_->HeaderStyle();
}

void TVxCustomGridControl::SetHeaderStyle(uint8_t value) {
  if (HeaderStyle() == value) return;
  headerDisplays_->SetHeaderStyle(value);
  Invalidate();
}

void TVxCustomGridControl::SetSortedStyle(TSortedStyle value) {
  if (sortedStyle_ == value) return;
  sortedStyle_ = value;
  Invalidate();
}

void TVxCustomGridControl::SetEnableVisualStyles(bool value) {
  if (enableVisualStyles_ == value) return;
  enableVisualStyles_ = value;
  Invalidate();
}

void TVxCustomGridControl::SetFixedCols(int value) {
  if (FixedCols() == value) return;
  columns_.SetFixedCols(value);
  UpdateHorzScrollRange();
  Invalidate();
}

TGridColors TVxCustomGridControl::CurrentColors() {
  TGridColors colors;
  colors.color = Color();
  colors.selectionColor = selectionColor_;
  colors.inactiveSelectionColor = inactiveSelectionColor_;
  colors.highlightedTextColor = highlightedTextColor_;
  colors.gridLinesColor = gridLinesColor_;
  colors.appearance = appearance_;
  colors.sortedStyle = sortedStyle_;
  colors.linesStyle = gridLinesStyle_;
  // The focus in the grid's own editor is the grid's.
  colors.focused = Focused() || (HandleAllocated() && ::IsChild(Handle(), ::GetFocus()));
  return colors;
}

void TVxCustomGridControl::Paint(TCanvas& canvas) {
  RefreshScrollAreas();
  if (gridStyle_ == gsSlides) {
    PaintSlides(canvas, CurrentColors());
    if (OnPostDraw) OnPostDraw(this);
    return;
  }
  const RECT client = ClientRect();
  const RECT body = GetBodyRect();
  const TGridLineWidths lines = LineWidths();
  const TGridColors colors = CurrentColors();
  const bool themes = enableVisualStyles_ && VisualStylesActive();
  const bool indicator = options_.Contains(goIndicator);
  const bool fullRow = options_.Contains(goSelectFullRow);
  const bool hints = appearance_.Contains(aoHintMarks);
  const std::vector<TColumnSpan> spans = ColumnSpans(columns_, HorzScrollBar().Position(), client);
  TGridPaintClient cells(*this);
  TStyleDisplay& display = headerDisplays_->Active();
  canvas.Font().Assign(Font());
  display.BeginPass(canvas, themes, PressedHeader(), HotHeader());

  const TRowFacts& rows = RowFacts();
  const int total = rows.RowTotal();
  const bool focusWanted =
      FocusRectWanted(colors, total > 0, selectedRow_, topRow_, edit_.inputLine);
  const bool cellEditor = edit_.open && !edit_.input;
  int top = body.top + lines.horizontal3D;
  int row = FirstRowFromTop();
  RECT focusRow{0, 0, 0, 0};
  // The pass holds the row count and the columns from its start: a handler that frees the
  // grid ends it at once, one that takes rows or columns away ends it and paints again.
  auto broken = [this, &cells] {
    if (!cells.PassBroken()) return false;
    if (cells.GridAlive()) Invalidate();
    return true;
  };
  // Rows below the body's bottom are never visited.
  for (; row < total && top < body.bottom;) {
    const int next = rows.NextDisplayedRow(row);
    const int height = RowHeightOf(row);
    if (broken()) return;
    const bool rowSelected = RowSelectedFlag(row);
    for (const TColumnSpan& span : spans) {
      if (broken()) return;
      TCellPaint cell = CellPaintFor(span, row, top, height);
      TSelectionFacts facts;
      facts.dontHighlight = span.column->Options().Contains(coDontHighlight);
      facts.fullRow = fullRow;
      facts.rowSelected = rowSelected;
      facts.selectedCell = cell.col == selectedColumn_ && row == selectedRow_;
      facts.inputLine = edit_.inputLine;
      facts.editing = cellEditor && edit_.cell == TGridCell{cell.col, row};
      if (facts.editing) cell.editorRect = &edit_.editorRect;
      cell.selected = PaintsAsSelected(colors, facts);
      cell.selectedCell = facts.selectedCell;
      cell.lastRow = next >= total;
      cell.hintMark = hints && !CellHintFor(cell.col, row).empty();
      if (broken()) return;
      cell.focusRect = !fullRow && focusWanted && facts.selectedCell;
      PaintCell(canvas, colors, lines, cell, cells);
    }
    if (broken()) return;
    if (indicator) {
      const RECT mark = MakeRect(0, top, IndicatorStripWidth(), top + height + lines.horizontal);
      display.DrawIndicatorRow(mark);
      display.DrawIndicatorMark(mark, row == selectedRow_ && !edit_.inputLine, colors.focused,
                                cellEditor && row == edit_.cell.Row);
    }
    if (row == selectedRow_) focusRow = MakeRect(0, top, body.right, top + height);
    top += height + lines.Separator();
    row = next;
  }
  PaintFillerRows(canvas, colors, lines, spans, top, body.bottom, rowSize_, total, cells,
                  indicator ? &display : nullptr, IndicatorStripWidth());
  if (broken()) return;

  const int columnsRight = spans.empty() ? body.left : spans.back().right;
  if (fullRow && focusWanted && focusRow.bottom > focusRow.top) {
    RECT focus = FullRowFocusRect(body.left, columnsRight, focusRow, lines);
    RECT shown{};
    if (::IntersectRect(&shown, &focus, &body)) {
      TClipSave clip(canvas.Handle());
      canvas.IntersectClipRect(body);
      DrawGridFocusRect(canvas, focus, appearance_.Contains(aoAlphaBlendedSelection));
    }
  }

  // The cells left their columns' fonts on the canvas; the headers start from the grid's.
  canvas.Font().Assign(Font());
  const RECT header = GetHeaderRect();
  const RECT input = GetInputRect();
  const RECT footer = GetFooterRect();
  for (const TColumnSpan& span : spans) {
    TClipSave clip(canvas.Handle());
    canvas.IntersectClipRect(span.clipArea);
    if (options_.Contains(goHeader))
      display.DrawHeader(*span.column, MakeRect(span.left, header.top, span.right, header.bottom));
    if (options_.Contains(goInput)) {
      const RECT cell = MakeRect(span.left, input.top, span.right, input.bottom);
      display.DrawInputCell(*span.column, cell);
      // The input line's cells end in the grid's lines, as the body's do.
      canvas.Brush().SetColor(ColorToRGB(gridLinesColor_));
      if (lines.vertical > 0)
        canvas.FillRect(MakeRect(cell.right - lines.vertical, cell.top, cell.right, cell.bottom));
      if (lines.horizontal > 0)
        canvas.FillRect(
            MakeRect(cell.left, cell.bottom - lines.horizontal, cell.right, cell.bottom));
      // The input line's selected cell shows the focus while no editor covers it.
      if (edit_.inputLine && !edit_.open && colors.focused &&
          span.column->Index() == selectedColumn_)
        DrawGridFocusRect(canvas,
                          MakeRect(cell.left + 1, cell.top + 1, cell.right - 1,
                                   cell.bottom - 1 - lines.horizontal),
                          appearance_.Contains(aoAlphaBlendedSelection));
    }
    if (options_.Contains(goFooter))
      display.DrawFooter(*span.column, MakeRect(span.left, footer.top, span.right, footer.bottom),
                         true);
  }
  if (columnsRight < client.right) {
    if (options_.Contains(goInput))
      display.DrawStripBackground(MakeRect(columnsRight, input.top, client.right, input.bottom));
    if (options_.Contains(goFooter))
      display.DrawStripBackground(MakeRect(columnsRight, footer.top, client.right, footer.bottom));
  }
  if (indicator) {
    if (options_.Contains(goInput)) {
      const RECT mark = MakeRect(0, input.top, IndicatorStripWidth(), input.bottom);
      display.DrawIndicatorCell(mark, 0);
      if (edit_.inputLine) display.DrawIndicatorMark(mark, true, colors.focused, edit_.input);
    }
    if (options_.Contains(goFooter))
      display.DrawIndicatorCell(MakeRect(0, footer.top, IndicatorStripWidth(), footer.bottom), 1);
    if (options_.Contains(goHeader))
      display.DrawIndicatorCell(MakeRect(0, 0, IndicatorStripWidth(), headerSize_), 0);
  }
  // The strips beyond the columns were drawn above; the fill leaves them alone.
  {
    TClipSave clip(canvas.Handle());
    if (options_.Contains(goInput))
      ::ExcludeClipRect(canvas.Handle(), columnsRight, input.top, client.right, input.bottom);
    if (options_.Contains(goFooter))
      ::ExcludeClipRect(canvas.Handle(), columnsRight, footer.top, client.right, footer.bottom);
    headerDisplays_->PaintBeyondColumns(canvas, client, columnsRight,
                                        options_.Contains(goHeader) ? headerSize_ : 0, themes,
                                        Color());
  }
  if (rows.ShownTotal() == 0) DrawEmptyCaption(canvas, body, Caption(), Font(), Enabled());
  if (OnPostDraw) OnPostDraw(this);
}
