#pragma once
#include "grid/PaintColors.h"
#include "ui/Canvas.h"

#include <string>

// Painting of the body: one cell, a filler cell below the last row, the grid lines of a cell,
// the focus rectangle and the caption of a grid without rows. The painter knows nothing of
// rows or columns: the grid hands it rectangles and facts, and it calls back through
// TCellPaintClient for the events and for what the column's display draws inside the cell.

// Where the grid's events and the column's display come in. Every hook but the content has
// the behaviour of an unhandled event as its default.
class TCellPaintClient {
public:
  virtual ~TCellPaintClient() = default;
  // OnCellColoring: may change the cell colour and its grid-line colour.
  virtual void CellColoring(int, int, TColor&, TColor&, TCellState) {}
  // OnDrawCellBackground: clearing defaultDrawing skips the fill.
  virtual void DrawCellBackground(int, int, const RECT&, TCellState, bool&) {}
  // The column's display draws the cell's value inside contentRect (the cell narrowed by the
  // column's padding) in textColor; the canvas font is the client's to set.
  virtual void DrawCellContent(TCanvas& canvas, int col, int row, const RECT& contentRect,
                               TColor textColor, TCellState state, bool selectedCell) = 0;
  // The column's display draws the hint mark (TCellPaint::hintMark) over the cell.
  virtual void DrawHintMark(int, int, const RECT&) {}
  // OnCustomDrawCell, for columns whose drawing option is not doNormal.
  virtual void CustomDrawCell(int, int, const RECT&, TCellState) {}
  // A handler called back changed what the pass walks: nothing more is painted.
  virtual bool PassBroken() const { return false; }
};

// One cell as the grid lays it out.
struct TCellPaint {
  int col = 0, row = 0;
  RECT rect{};     // the cell rect: right and bottom exclusive, lines lie at and after them
  RECT clipArea{}; // scrolling area for scrolling columns, the client rect for fixed ones
  TColor columnColor = clWindow;
  TColor fontColor = clWindowText;
  TDrawingOptions drawing = doNormal;
  int padding = 0;
  bool sortedColumn = false;
  bool selected = false;                    // PaintsAsSelected
  bool selectedCell = false;                // (SelectedColumn, SelectedRow)
  bool lastRow = false, lastColumn = false; // for lsFramed
  bool hintMark = false;                    // aoHintMarks and a non-empty hint
  bool focusRect = false;           // cell selection: FocusRectWanted and this is the selected cell
  const RECT* editorRect = nullptr; // the open in-place editor, left out of the painting
};

// The rectangle a cell's lines and fill may touch: the light line above it and the grid line
// below it belong to the cell.
RECT CellPaintRect(const RECT& cellRect, const TGridLineWidths& lines);
// The part of a cell inside its lines.
RECT CellFillRect(const RECT& cellRect, const TGridLineWidths& lines);

// The cell algorithm; false when the cell lies outside the canvas clip box and nothing was
// painted.
bool PaintCell(TCanvas& canvas, const TGridColors& grid, const TGridLineWidths& lines,
               const TCellPaint& cell, TCellPaintClient& client);
// A filler cell below the last row (state csEmpty): colouring event, lines, background event
// and a plain fill.
void PaintFillerCell(TCanvas& canvas, const TGridColors& grid, const TGridLineWidths& lines,
                     const TCellPaint& cell, TCellPaintClient& client);
// The lines of one cell: grid line along the bottom and the right, light lines along the top
// and the left; framedBottom and framedRight draw those lines black (lsFramed).
void DrawCellLines(TCanvas& canvas, const TGridLineWidths& lines, const RECT& cellRect,
                   TColor gridColor, bool framedBottom, bool framedRight);

// Whether the grid shows a focus rectangle at all: focused, with rows, the selected row at or
// below TopRow, not in the input line and without aoHideFocus.
bool FocusRectWanted(const TGridColors& grid, bool hasRows, int selectedRow, int topRow,
                     bool inputLine);
// The focus rectangle in full-row selection: from the body's left to the last column's right
// at the selected row, inset by the vertical line widths.
RECT FullRowFocusRect(int bodyLeft, int columnsRight, const RECT& rowRect,
                      const TGridLineWidths& lines);
// In cell selection: the cell inset by the vertical line widths, inside the scrolling area.
RECT CellFocusRect(const RECT& cellRect, const RECT& clipArea, const TGridLineWidths& lines);
// Dotted by inversion, or a solid frame in the highlight colour with aoAlphaBlendedSelection.
void DrawGridFocusRect(TCanvas& canvas, const RECT& rect, bool alphaBlended);

// The grid's Caption centred in the body while no row is shown, in the grid's font (grey text
// when the grid is disabled). An empty caption draws nothing.
void DrawEmptyCaption(TCanvas& canvas, const RECT& bodyRect, const std::wstring& caption,
                      const TFont& font, bool enabled);
