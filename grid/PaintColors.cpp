#include "grid/PaintColors.h"

#include "ui/Numbers.h"

TColor DarkenColor(TColor color) {
  TColor c = ColorToRGB(color);
  return RGBColor(245 * ColorR(c) / 256, 245 * ColorG(c) / 256, 245 * ColorB(c) / 256);
}

TColor BlendSelection(TColor cell, TColor highlight) {
  TColor c = ColorToRGB(cell), h = ColorToRGB(highlight);
  auto mix = [](unsigned a, unsigned b) {
    return static_cast<unsigned>(RoundHalfEven(0.75 * a + 0.25 * b));
  };
  return RGBColor(mix(ColorR(c), ColorR(h)), mix(ColorG(c), ColorG(h)), mix(ColorB(c), ColorB(h)));
}

TColor BlendTowards(TColor from, TColor to, int amount) {
  TColor f = ColorToRGB(from), t = ColorToRGB(to);
  auto mix = [amount](int a, int b) { return static_cast<unsigned>(a + (b - a) * amount / 256); };
  return RGBColor(mix(ColorR(f), ColorR(t)), mix(ColorG(f), ColorG(t)), mix(ColorB(f), ColorB(t)));
}

bool PaintsAsSelected(const TGridColors& grid, const TSelectionFacts& facts) {
  if (facts.inputLine || facts.dontHighlight || facts.editing) return false;
  if (!grid.focused && grid.appearance.Contains(aoHideSelection)) return false;
  if (facts.slides && !grid.appearance.Contains(aoHighlightSlideCells)) return false;
  if (!facts.fullRow) return facts.selectedCell;
  if (facts.selectedCell && grid.appearance.Contains(aoIndicateSelectedCell)) return false;
  return facts.rowSelected;
}

TColor CellColor(const TGridColors& grid, TColor columnColor, bool sortedColumn, bool selected) {
  if (selected) {
    if (!grid.focused) return ColorToRGB(grid.inactiveSelectionColor);
    if (grid.appearance.Contains(aoAlphaBlendedSelection)) {
      TColor base = ColorToRGB(columnColor);
      if (sortedColumn && grid.appearance.Contains(aoIndicateSortedColumn))
        base = DarkenColor(base);
      return BlendSelection(base, clHighlight);
    }
    return ColorToRGB(grid.selectionColor);
  }
  if (sortedColumn && grid.appearance.Contains(aoIndicateSortedColumn))
    return DarkenColor(columnColor);
  return ColorToRGB(columnColor);
}

TColor SortedStyleColor(const TGridColors& grid, TColor cellColor, bool sortedColumn,
                        bool selected) {
  if (!sortedColumn || selected) return ColorToRGB(cellColor);
  switch (grid.sortedStyle) {
  case soDarker:
    return DarkenColor(cellColor);
  case soWhite:
    return clWhite;
  case soDefault:
    break;
  }
  return ColorToRGB(cellColor);
}

TCellState CellState(const TGridColors& grid, bool selected) {
  TCellState state;
  if (selected) {
    state.Include(csSelected);
    if (grid.appearance.Contains(aoBoldTextSelection)) state.Include(csBoldTextSelection);
  }
  if (grid.focused && !grid.appearance.Contains(aoHideFocus)) state.Include(csFocused);
  return state;
}

TColor CellTextColor(const TGridColors& grid, TColor fontColor, bool selected) {
  return ColorToRGB(selected && grid.focused ? grid.highlightedTextColor : fontColor);
}

TColor FillerColor(const TGridColors& grid, bool sortedColumn) {
  if (sortedColumn && grid.appearance.Contains(aoIndicateSortedColumn))
    return DarkenColor(grid.color);
  return ColorToRGB(grid.color);
}

TColor FillerLinesColor(const TGridColors& grid, TColor fillerColor) {
  if (grid.linesStyle == lsActiveRows || grid.linesStyle == lsActiveHorzOnly)
    return ColorToRGB(fillerColor);
  return ColorToRGB(grid.gridLinesColor);
}
