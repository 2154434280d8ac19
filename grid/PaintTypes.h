#pragma once
#include "grid/GridTypes.h"
#include "ui/Set.h"

#include <cstdint>

// The enumerations of the grid's look: header styles, appearance switches, the cell states
// handed to the painting events, and the widths of the grid lines.

// The five header looks. The property stores any byte: a value outside the five keeps the
// previous look (see THeaderDisplays) and counts as "not hsAuto" wherever that matters.
enum THeaderStyle : uint8_t { hsAuto, hsFlatBorders, hsOldStyle, hsOutlook, hsVista };
constexpr int kHeaderStyleCount = 5;

enum TSortedStyle : uint8_t { soDefault, soDarker, soWhite };

enum TAppearanceOption : uint8_t {
  ao3DGridLines,
  aoAlphaBlendedSelection,
  aoBoldTextSelection,
  aoDontFillCells,
  aoHideFocus,
  aoHideSelection,
  aoHighlightSlideCells,
  aoHintMarks,
  aoIndicateSelectedCell,
  aoIndicateSortedColumn
};
using TAppearanceOptions = TSet<TAppearanceOption, uint16_t>;

enum TCellStateItem : uint8_t { csBoldTextSelection, csEmpty, csFocused, csSelected };
using TCellState = TSet<TCellStateItem, uint8_t>;

// The five line widths the grid keeps; every one is 0 without goGrid.
struct TGridLineWidths {
  int vertical = 0;
  int vertical3D = 0;
  int horizontal = 0;
  int horizontal3D = 0;
  // Row separator: the horizontal line and its 3-D light line.
  int Separator() const { return horizontal + horizontal3D; }
};

constexpr TGridLineWidths GridLineWidths(TGridOptions options, TGridLinesStyle style,
                                         bool lines3D) {
  TGridLineWidths w;
  if (!options.Contains(goGrid)) return w;
  w.vertical = style == lsHorizontalOnly || style == lsActiveHorzOnly ? 0 : 1;
  w.vertical3D = w.vertical && lines3D ? 1 : 0;
  w.horizontal = style == lsVerticalOnly ? 0 : 1;
  w.horizontal3D = w.horizontal && lines3D ? 1 : 0;
  return w;
}
