#pragma once
#include "grid/CellPainter.h"

// The pieces of one slide in the slides style, as pure functions of rectangles and colours:
// where a column's cell and its caption lie inside the slide, the slide's colour and state,
// the line that separates it from the next one and the double frame of the selected slide.
// The grid walks the slides and paints their cells with the cell algorithm.

// A column's cell in a slide: its slide bounds offset by the slide's top-left corner and cut
// to the slide. Bounds wholly outside give an empty rectangle on the slide's edge; a negative
// width or height counts as 0.
RECT SlideCellRect(const RECT& slideRect, int left, int top, int width, int height);

// Whether the selected slide shows as selected: always while the grid has the focus, and
// without it only when soHideSelection is off.
bool SlideSelectionShown(bool focused, TSlidesOptions options);
// A slide's colour before OnSlideColoring: the grid's colour, or for a selected slide that
// shows as selected the slide selection colour while focused and button face without focus.
TColor SlideColor(const TGridColors& grid, TColor slideSelectionColor, bool selectedShown);
// The slide's state for OnSlideColoring: csSelected when it shows as selected, csFocused as
// for a cell.
TCellState SlideState(const TGridColors& grid, bool selectedShown);

// The lines between slides: the grid line below the slide across its width, and with
// ao3DGridLines the light line above it. Slides have no vertical lines.
void DrawSlideLines(TCanvas& canvas, const TGridLineWidths& lines, const RECT& slideRect,
                    TColor gridColor);
// The selected slide's double frame: two one-pixel frames in color, along the slide's edge
// and two pixels inside it.
void DrawSlideFrame(TCanvas& canvas, const RECT& slideRect, TColor color);

// Where a column's slide caption stands next to its cell: left of it (clLeft), right-aligned
// and ending 4 pixels before the cell, from 2 pixels inside the slide; or on the line above
// it (clTop), textHeight high and ending one pixel above the cell, up to 2 pixels before the
// slide's right edge. The format goes with the place.
RECT SlideCaptionRect(const RECT& slideRect, const RECT& cellRect, TSlideCatpionLocation location,
                      int textHeight);
UINT SlideCaptionFormat(TSlideCatpionLocation location);
