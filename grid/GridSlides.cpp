// The slides style: every shown row is one slide of SlideSize pixels across the client, its
// cells where the columns' slide bounds put them. Layout walks and paints visit only the
// slides on screen, as the report style does with its rows.
#include "grid/BodyPainter.h"
#include "grid/CustomGrid.h"
#include "grid/GridPaint.h"
#include "grid/HeaderDisplays.h"
#include "grid/HeaderTheme.h"
#include "grid/SlidePainter.h"

#include <algorithm>

void TVxCustomGridControl::SetGridStyle(TGridStyle value) {
  if (gridStyle_ == value) return;
  // An open editor stands over a cell of the layout that goes.
  EndEdit();
  TVxScrollBar& horz = HorzScrollBar();
  const bool leavingSlides = gridStyle_ == gsSlides;
  if (value == gsSlides) reportHorzPosition_ = horz.Position();
  gridStyle_ = value;
  UpdateHorzScrollRange();
  if (leavingSlides) {
    // The report comes back scrolled sideways as it was, as far as its columns still allow.
    horz.BeginUpdate();
    horz.SetPosition(std::min(reportHorzPosition_, std::max(horz.Max() - horz.PageSize() + 1, 0)));
    horz.EndUpdate();
  }
  UpdateVertScrollRange();
  Invalidate();
}

void TVxCustomGridControl::SetSlideSize(int value) {
  if (value <= 0 || slideSize_ == value) return;
  slideSize_.Set(value, Dpi());
  if (gridStyle_ != gsSlides) return;
  UpdateVertScrollRange();
  Invalidate();
}

void TVxCustomGridControl::SetSlidesOptions(TSlidesOptions value) {
  if (slidesOptions_ == value) return;
  slidesOptions_ = value;
  if (gridStyle_ == gsSlides) Invalidate();
}

int TVxCustomGridControl::RowExtentOf(int row) {
  return gridStyle_ == gsSlides ? slideSize_ : RowHeightOf(row);
}

RECT TVxCustomGridControl::SlideRect(int row) {
  const int top = RowTop(row);
  return RECT{0, top, ClientWidth(), top + slideSize_};
}

int TVxCustomGridControl::SlideColumnAt(int row, int x, int y) {
  const RECT slide = SlideRect(row);
  const POINT point{x, y};
  // Later columns paint over earlier ones: the last one under the point is the one seen.
  for (int position = columns_.ColumnCount() - 1; position >= 0; --position) {
    const TVxCustomColumn* column = columns_.ColumnAtPosition(position);
    if (!column->Visible()) continue;
    const TVxSlideBounds& bounds = column->SlideBounds();
    const RECT cell =
        SlideCellRect(slide, bounds.Left(), bounds.Top(), bounds.Width(), bounds.Height());
    if (::PtInRect(&cell, point)) return column->Index();
  }
  return -1;
}

void TVxCustomGridControl::PaintSlides(TCanvas& canvas, const TGridColors& colors) {
  const RECT client = ClientRect();
  const RECT body = GetBodyRect();
  const TGridLineWidths lines = LineWidths();
  const TGridLineWidths cellLines{}; // cells in a slide have no lines of their own
  const bool fullRow = options_.Contains(goSelectFullRow);
  const bool hints = appearance_.Contains(aoHintMarks);
  const bool selectionShown = SlideSelectionShown(colors.focused, slidesOptions_);
  const bool cellsFill = !appearance_.Contains(aoDontFillCells);
  const TRowFacts& rows = RowFacts();
  const int total = rows.RowTotal();
  const bool focusWanted = FocusRectWanted(colors, total > 0, selectedRow_, topRow_, false);
  TGridPaintClient painter(*this);
  HDC dc = canvas.Handle();
  std::vector<const TVxCustomColumn*> shown;
  for (int position = 0; position < columns_.ColumnCount(); ++position)
    if (columns_.ColumnAtPosition(position)->Visible())
      shown.push_back(columns_.ColumnAtPosition(position));
  std::vector<TCellPaint> cells;

  int top = body.top + lines.horizontal3D;
  // Slides below the body's bottom are never visited.
  for (int row = FirstRowFromTop(); row < total && top < body.bottom;
       row = rows.NextDisplayedRow(row)) {
    const RECT slide = MakeRect(client.left, top, client.right, top + slideSize_);
    top += slideSize_ + lines.Separator();
    const RECT paintRect = CellPaintRect(slide, lines);
    RECT visible{};
    const RECT clipBox = canvas.ClipRect();
    if (!::IntersectRect(&visible, &paintRect, &clipBox)) continue;

    const bool rowSelected = RowSelectedFlag(row);
    const bool selected = row == selectedRow_ || (fullRow && rowSelected);
    const bool selectedShown = selected && selectionShown;
    TColor slideColor = SlideColor(colors, slideSelectionColor_, selectedShown);
    TColor gridColor = ColorToRGB(gridLinesColor_);
    if (OnSlideColoring)
      OnSlideColoring(this, row, slideColor, gridColor, SlideState(colors, selectedShown));

    cells.clear();
    for (const TVxCustomColumn* column : shown) {
      const TVxSlideBounds& bounds = column->SlideBounds();
      const RECT rect =
          SlideCellRect(slide, bounds.Left(), bounds.Top(), bounds.Width(), bounds.Height());
      if (::IsRectEmpty(&rect)) continue;
      TColumnSpan span;
      span.column = column;
      span.left = rect.left;
      span.right = rect.right;
      span.clipArea = slide;
      TCellPaint cell = CellPaintFor(span, row, rect.top, rect.bottom - rect.top);
      TSelectionFacts facts;
      facts.slides = true;
      facts.dontHighlight = column->Options().Contains(coDontHighlight);
      facts.fullRow = fullRow;
      facts.rowSelected = rowSelected;
      facts.selectedCell = cell.col == selectedColumn_ && row == selectedRow_;
      cell.selected = PaintsAsSelected(colors, facts);
      cell.selectedCell = facts.selectedCell;
      cell.hintMark = hints && !CellHintFor(cell.col, row).empty();
      cell.focusRect = !fullRow && focusWanted && facts.selectedCell;
      cells.push_back(cell);
    }

    TClipSave slideClip(dc);
    canvas.IntersectClipRect(paintRect);
    DrawSlideLines(canvas, lines, slide, gridColor);
    {
      // The slide's own colour goes around the cells that fill themselves.
      TClipSave fillClip(dc);
      for (const TCellPaint& cell : cells)
        if (cellsFill && cell.drawing != doCustomOnly)
          ::ExcludeClipRect(dc, cell.rect.left, cell.rect.top, cell.rect.right, cell.rect.bottom);
      canvas.Brush().SetColor(ColorToRGB(slideColor));
      canvas.FillRect(slide);
    }
    canvas.Font().Assign(Font());
    const int textHeight = canvas.TextHeight(L"Wg");
    canvas.Brush().SetStyle(bsClear);
    for (const TCellPaint& cell : cells) {
      const TVxCustomColumn& column = *columns_.ColumnAt(cell.col);
      if (column.SlideCaption().empty()) continue;
      const TSlideCatpionLocation location = column.SlideCaptionLocation();
      canvas.DrawTextW(column.SlideCaption(),
                       SlideCaptionRect(slide, cell.rect, location, textHeight),
                       SlideCaptionFormat(location));
    }
    canvas.Brush().SetStyle(bsSolid);
    for (const TCellPaint& cell : cells)
      PaintCell(canvas, colors, cellLines, cell, painter);
    if (selectedShown && slidesOptions_.Contains(soFrame))
      DrawSlideFrame(canvas, slide, colors.focused ? selectionColor_ : clBtnShadow);
  }

  // The header band is an empty header; below the last slide the grid's colour.
  {
    TClipSave clip(dc);
    ::ExcludeClipRect(dc, client.left, body.top, client.right,
                      std::min<int>(top - lines.horizontal3D, body.bottom));
    const bool themes = enableVisualStyles_ && VisualStylesActive();
    headerDisplays_->PaintBeyondColumns(canvas, client, client.left,
                                        options_.Contains(goHeader) ? headerSize_ : 0, themes,
                                        Color());
  }
  if (rows.ShownTotal() == 0) DrawEmptyCaption(canvas, body, Caption(), Font(), Enabled());
}
