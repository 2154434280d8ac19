#pragma once
#include "grid/PaintTypes.h"
#include "ui/Color.h"

// The colour arithmetic of the grid's cells, as pure functions. Every input colour may name a
// system colour; each function resolves it before any arithmetic.

// Blends with black at 10/256: each channel becomes 245 * channel / 256, truncated.
TColor DarkenColor(TColor color);
// 0.75 * cell + 0.25 * highlight per channel, rounded half to even.
TColor BlendSelection(TColor cell, TColor highlight);
// Moves from towards to by amount/256 per channel, truncated (the shaded header edges).
TColor BlendTowards(TColor from, TColor to, int amount);

// The grid's own colours and switches that decide a cell's look.
struct TGridColors {
  TColor color = clWindow;
  TColor selectionColor = clHighlight;
  TColor inactiveSelectionColor = clBtnFace;
  TColor highlightedTextColor = clHighlightText;
  TColor gridLinesColor = clBtnFace;
  TAppearanceOptions appearance{aoHideSelection, aoHighlightSlideCells};
  TSortedStyle sortedStyle = soDefault;
  TGridLinesStyle linesStyle = lsNormal;
  bool focused = false;
};

// What decides whether one cell paints as selected.
struct TSelectionFacts {
  bool inputLine = false;     // the cell belongs to the input line
  bool dontHighlight = false; // the column has coDontHighlight
  bool slides = false;        // the grid is in slides style
  bool editing = false;       // the in-place editor is open on this cell
  bool fullRow = false;       // goSelectFullRow
  bool rowSelected = false;   // the row's selected flag
  bool selectedCell = false;  // this is (SelectedColumn, SelectedRow)
};

bool PaintsAsSelected(const TGridColors& grid, const TSelectionFacts& facts);

// The cell's colour before the colouring event: the column colour (darkened for the sorted
// column with aoIndicateSortedColumn), or the selection colour for the grid's focus state.
TColor CellColor(const TGridColors& grid, TColor columnColor, bool sortedColumn, bool selected);
// After the colouring event: soDarker darkens and soWhite whitens the sorted column's cells
// unless they are selected.
TColor SortedStyleColor(const TGridColors& grid, TColor cellColor, bool sortedColumn,
                        bool selected);
// csSelected (with csBoldTextSelection) and csFocused as the painting events receive them.
TCellState CellState(const TGridColors& grid, bool selected);
// The text colour handed to the column's display.
TColor CellTextColor(const TGridColors& grid, TColor fontColor, bool selected);

// Filler cells below the last row: their colour and their grid-line colour. Under the
// "active" line styles the lines take the cell colour and so vanish.
TColor FillerColor(const TGridColors& grid, bool sortedColumn);
TColor FillerLinesColor(const TGridColors& grid, TColor fillerColor);
