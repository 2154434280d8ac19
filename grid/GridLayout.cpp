// Where the parts of the grid lie in its client area, and what a point hits.
#include "grid/CustomGrid.h"

#include "grid/SlidePainter.h"

namespace {

// The areas a hit test tries lose their last pixel row and column.
bool InArea(RECT rect, int x, int y) {
  --rect.right;
  --rect.bottom;
  return x >= rect.left && x < rect.right && y >= rect.top && y < rect.bottom;
}

} // namespace

TGridLineWidths TVxCustomGridControl::LineWidths() const {
  return GridLineWidths(options_, gridLinesStyle_, appearance_.Contains(ao3DGridLines));
}

RECT TVxCustomGridControl::GetHeaderRect() {
  if (gridStyle_ == gsSlides) return RECT{0, 0, ClientWidth(), headerSize_};
  const int indicator = IndicatorWidth();
  return RECT{indicator, 0, indicator + columns_.VisibleColumnsWidth() - HorzScrollBar().Position(),
              headerSize_};
}

RECT TVxCustomGridControl::GetInputRect() {
  RECT input = GetHeaderRect();
  input.top = options_.Contains(goHeader) ? headerSize_ : 0;
  input.bottom = input.top + inputSize_ + Scaled(kInputExtra) + LineWidths().horizontal;
  return input;
}

RECT TVxCustomGridControl::GetFooterRect() {
  RECT footer = GetHeaderRect();
  footer.bottom = ClientHeight();
  footer.top = footer.bottom - footerSize_ - Scaled(kFooterExtra) - LineWidths().horizontal;
  return footer;
}

RECT TVxCustomGridControl::GetIndicatorRect() {
  return RECT{0, 0, IndicatorStripWidth(), ClientHeight()};
}

RECT TVxCustomGridControl::GetRowRect(int row) {
  const int top = RowTop(row);
  return RECT{0, top, GetBodyRect().right, top + RowExtentOf(row) + LineWidths().horizontal};
}

int TVxCustomGridControl::ColumnLeft(const TVxCustomColumn& column) {
  const bool fixed = column.Position() < columns_.FixedCols();
  return column.Left() - (fixed ? 0 : HorzScrollBar().Position());
}

RECT TVxCustomGridControl::GetCellRect(int col, int row) {
  const TVxCustomColumn* column = columns_.ColumnAt(col);
  if (!column) return RECT{0, 0, 0, 0};
  if (gridStyle_ == gsSlides) {
    const TVxSlideBounds& bounds = column->SlideBounds();
    return SlideCellRect(SlideRect(row), bounds.Left(), bounds.Top(), bounds.Width(),
                         bounds.Height());
  }
  const int left = ColumnLeft(*column);
  const int top = RowTop(row);
  return RECT{left, top, left + column->Width(), top + RowHeightOf(row)};
}

int TVxCustomGridControl::ColumnAtX(int x) {
  // Slides have no column strips: their cells lie where the slide bounds put them.
  if (gridStyle_ == gsSlides) return -1;
  for (int position = 0; position < columns_.ColumnCount(); ++position) {
    const TVxCustomColumn* column = columns_.ColumnAtPosition(position);
    if (!column->Visible()) continue;
    const int left = ColumnLeft(*column);
    if (x >= left && x <= left + column->Width()) return column->Index();
  }
  return -1;
}

int TVxCustomGridControl::FirstRowFromTop() const {
  const TRowFacts& rows = RowFacts();
  return topRow_ < rows.RowTotal() && rows.RowDisplayed(topRow_) ? topRow_
                                                                 : rows.NextDisplayedRow(topRow_);
}

TGridCell TVxCustomGridControl::GetCellAtPos(int x, int y) {
  TGridCell cell;
  cell.Col = ColumnAtX(x);
  const RECT body = GetBodyRect();
  if (x < body.left || x >= body.right || y < body.top || y >= body.bottom) return cell;
  const TRowFacts& rows = RowFacts();
  const TGridLineWidths lines = LineWidths();
  int top = body.top + lines.horizontal3D;
  // Walks no further than the point: the rows below it do not matter.
  for (int row = FirstRowFromTop(); row < rows.RowTotal() && top <= y;
       row = rows.NextDisplayedRow(row)) {
    const int height = RowExtentOf(row);
    if (y <= top + height + lines.horizontal3D) {
      cell.Row = row;
      break;
    }
    top += height + lines.Separator();
  }
  if (gridStyle_ == gsSlides && cell.Row >= 0) cell.Col = SlideColumnAt(cell.Row, x, y);
  return cell;
}

TGridHitTest TVxCustomGridControl::HitTest(int x, int y) {
  if (gridStyle_ == gsSlides) {
    // Slides have a header and a body, nothing else.
    if (options_.Contains(goHeader) && InArea(GetHeaderRect(), x, y)) return htHeader;
    return InArea(GetBodyRect(), x, y) ? htBody : htNone;
  }
  if (options_.Contains(goHeader) && InArea(GetHeaderRect(), x, y)) return htHeader;
  if (options_.Contains(goInput) && InArea(GetInputRect(), x, y)) return htInputLine;
  if (InArea(GetBodyRect(), x, y)) return htBody;
  if (options_.Contains(goFooter) && InArea(GetFooterRect(), x, y)) return htFooter;
  if (options_.Contains(goIndicator) && InArea(GetIndicatorRect(), x, y)) return htIndicator;
  return htNone;
}

int TVxCustomGridControl::ColumnGripAt(int x) {
  if (gridStyle_ == gsSlides) return -1;
  const int indicator = IndicatorWidth();
  const int fixedRight = indicator + columns_.FixedWidth();
  for (int position = 0; position < columns_.ColumnCount(); ++position) {
    const TVxCustomColumn* column = columns_.ColumnAtPosition(position);
    if (!column->Visible() || column->Options().Contains(coFixedSize)) continue;
    const int right = ColumnLeft(*column) + column->Width();
    // A scrolling column's grip behind the fixed columns cannot be reached.
    if (position >= columns_.FixedCols() && right < fixedRight) continue;
    if (right - Scaled(3) <= x && x <= right + Scaled(2)) return column->Index();
  }
  return -1;
}
