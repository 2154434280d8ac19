#include "grid/BodyPainter.h"

#include "grid/Columns.h"
#include "grid/StyleDisplay.h"

RECT HorzScrollArea(int bodyLeft, int fixedWidth, const RECT& clientRect) {
  return MakeRect(bodyLeft + fixedWidth, clientRect.top, clientRect.right, clientRect.bottom);
}

RECT VertScrollArea(const RECT& bodyRect, const RECT& clientRect) {
  return MakeRect(clientRect.left, bodyRect.top, clientRect.right, bodyRect.bottom);
}

std::vector<TColumnSpan> ColumnSpans(const TVxColumns& columns, int scrollX,
                                     const RECT& clientRect) {
  std::vector<TColumnSpan> spans;
  const TVxCustomColumn* first = columns.FirstVisibleColumn();
  if (!first) return spans;
  // The fixed columns start where the first visible column does (after the indicator strip).
  RECT scrollArea = HorzScrollArea(first->Left(), columns.FixedWidth(), clientRect);
  const TVxCustomColumn* last = columns.LastVisibleColumn();
  for (int position = 0; position < columns.ColumnCount(); ++position) {
    const TVxCustomColumn* column = columns.ColumnAtPosition(position);
    if (!column->Visible()) continue;
    bool fixed = position < columns.FixedCols();
    TColumnSpan span;
    span.column = column;
    span.left = column->Left() - (fixed ? 0 : scrollX);
    span.right = span.left + column->Width();
    span.clipArea = fixed ? clientRect : scrollArea;
    span.last = column == last;
    if (span.left >= clientRect.right) break;
    if (span.right <= span.clipArea.left) continue;
    spans.push_back(span);
  }
  return spans;
}

TCellPaint CellPaintFor(const TColumnSpan& span, int row, int rowTop, int rowHeight) {
  const TVxCustomColumn& column = *span.column;
  TCellPaint cell;
  cell.col = column.Index();
  cell.row = row;
  cell.rect = MakeRect(span.left, rowTop, span.right, rowTop + rowHeight);
  cell.clipArea = span.clipArea;
  cell.columnColor = column.Color();
  cell.fontColor = column.Font().Color();
  cell.drawing = column.DrawingOptions();
  cell.padding = column.Padding();
  cell.sortedColumn = column.Sorted();
  cell.lastColumn = span.last;
  return cell;
}

void PaintFillerRows(TCanvas& canvas, const TGridColors& grid, const TGridLineWidths& lines,
                     const std::vector<TColumnSpan>& spans, int firstTop, int bodyBottom,
                     int rowSize, int firstRow, TCellPaintClient& client, TStyleDisplay* indicator,
                     int indicatorWidth) {
  if (rowSize <= 0) return;
  int row = firstRow;
  for (int top = firstTop; top < bodyBottom; top += rowSize + lines.Separator(), ++row) {
    for (const TColumnSpan& span : spans) {
      if (client.PassBroken()) return;
      PaintFillerCell(canvas, grid, lines, CellPaintFor(span, row, top, rowSize), client);
    }
    if (indicator)
      indicator->DrawIndicatorRow(
          MakeRect(0, top, indicatorWidth, top + rowSize + lines.horizontal));
  }
}
