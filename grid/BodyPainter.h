#pragma once
#include "grid/CellPainter.h"

#include <vector>

// The column side of painting the body: which columns a paint visits and where, the two
// scrolling areas, and the filler rows below the last row. The rows themselves come from the
// grid's row storage: for each shown row from TopRow the grid takes CellPaintFor each span,
// adds the row facts (selection, hint, editor) and calls PaintCell.

class TStyleDisplay;
class TVxColumns;
class TVxCustomColumn;

// One visible column as a paint sees it after horizontal scrolling.
struct TColumnSpan {
  const TVxCustomColumn* column = nullptr;
  int left = 0, right = 0;
  RECT clipArea{};   // the scrolling area for scrolling columns, the client for fixed ones
  bool last = false; // the last visible column (lsFramed)
};

// The area that moves horizontally: right of the fixed columns, full height.
RECT HorzScrollArea(int bodyLeft, int fixedWidth, const RECT& clientRect);
// The area that moves vertically: the body's rows across the full width.
RECT VertScrollArea(const RECT& bodyRect, const RECT& clientRect);

// The visible columns in position order that lie at least partly inside the client and, when
// they scroll, not wholly behind the fixed columns. scrollX is the horizontal position.
std::vector<TColumnSpan> ColumnSpans(const TVxColumns& columns, int scrollX,
                                     const RECT& clientRect);
// A cell of span at a row: the column's part of the facts (colours, drawing, padding, sorted,
// last column). The grid adds row, selection, hint and focus facts.
TCellPaint CellPaintFor(const TColumnSpan& span, int row, int rowTop, int rowHeight);

// Filler rows of rowSize pixels from firstTop until the body's bottom is passed, every span a
// filler cell; with an indicator display the indicator cells are painted empty at indicator
// (its left and right). Filler rows are numbered from firstRow for the client's hooks.
void PaintFillerRows(TCanvas& canvas, const TGridColors& grid, const TGridLineWidths& lines,
                     const std::vector<TColumnSpan>& spans, int firstTop, int bodyBottom,
                     int rowSize, int firstRow, TCellPaintClient& client,
                     TStyleDisplay* indicator = nullptr, int indicatorWidth = 0);
