#include "grid/PaintColors.h"

#include <gtest/gtest.h>

#include <array>
#include <utility>

TEST(PaintColorsTest, DarkenTruncatesAndTheSelectionBlendRoundsHalfToEven) {
  EXPECT_EQ(DarkenColor(RGBColor(255, 128, 1)), RGBColor(244, 122, 0));
  EXPECT_EQ(DarkenColor(clWindow), DarkenColor(ColorToRGB(clWindow))) << "system colour resolved";
  // 0.75 * cell + 0.25 * highlight per channel: 0.5 -> 0, 1.5 -> 2, 2.5 -> 2, 1.25 -> 1.
  EXPECT_EQ(BlendSelection(RGBColor(0, 1, 2), RGBColor(2, 3, 4)), RGBColor(0, 2, 2));
  EXPECT_EQ(BlendSelection(RGBColor(1, 200, 255), RGBColor(2, 0, 0)), RGBColor(1, 150, 191));
  EXPECT_EQ(BlendTowards(RGBColor(0, 100, 200), RGBColor(255, 100, 0), 128),
            RGBColor(127, 100, 100));
}

TEST(PaintColorsTest, WhichCellsPaintAsSelected) {
  struct Case {
    const char* what;
    bool focused;
    TAppearanceOptions appearance;
    TSelectionFacts facts;
    bool expected;
  };
  const TAppearanceOptions def{aoHideSelection, aoHighlightSlideCells};
  TSelectionFacts rowSel;
  rowSel.fullRow = rowSel.rowSelected = true;
  TSelectionFacts cellSel;
  cellSel.selectedCell = true;
  auto with = [](TSelectionFacts f, bool TSelectionFacts::*flag) {
    f.*flag = true;
    return f;
  };
  const Case cases[] = {
      {"selected row, focused", true, def, rowSel, true},
      {"unfocused with aoHideSelection", false, def, rowSel, false},
      {"unfocused without aoHideSelection", false, {}, rowSel, true},
      {"unselected row", true, def, TSelectionFacts{.fullRow = true}, false},
      {"input line", true, def, with(rowSel, &TSelectionFacts::inputLine), false},
      {"coDontHighlight", true, def, with(rowSel, &TSelectionFacts::dontHighlight), false},
      {"edited cell", true, def, with(cellSel, &TSelectionFacts::editing), false},
      {"selected cell keeps its colour", true, def + TAppearanceOptions{aoIndicateSelectedCell},
       with(rowSel, &TSelectionFacts::selectedCell), false},
      {"other cells of that row", true, def + TAppearanceOptions{aoIndicateSelectedCell}, rowSel,
       true},
      {"cell mode: the selected cell", true, def, cellSel, true},
      {"cell mode: a selected row's other cell", true, def, TSelectionFacts{.rowSelected = true},
       false},
      {"slides without aoHighlightSlideCells",
       true,
       {aoHideSelection},
       with(cellSel, &TSelectionFacts::slides),
       false},
  };
  for (const Case& c : cases) {
    TGridColors grid;
    grid.focused = c.focused;
    grid.appearance = c.appearance;
    EXPECT_EQ(PaintsAsSelected(grid, c.facts), c.expected) << c.what;
  }
}

// The plain focused and unfocused selection colours are pixel-tested with the cell painter.
TEST(PaintColorsTest, BlendedSelectionSortedColumnsAndStates) {
  TGridColors grid;
  const TColor column = RGBColor(200, 100, 50);
  grid.focused = true;
  EXPECT_EQ(CellState(grid, true), (TCellState{csSelected, csFocused}));
  grid.appearance = {aoAlphaBlendedSelection, aoIndicateSortedColumn, aoBoldTextSelection,
                     aoHideFocus};
  EXPECT_EQ(CellColor(grid, column, true, true), BlendSelection(DarkenColor(column), clHighlight));
  EXPECT_EQ(CellColor(grid, column, true, false), DarkenColor(column));
  EXPECT_EQ(CellState(grid, true), (TCellState{csSelected, csBoldTextSelection}));

  grid.sortedStyle = soWhite;
  EXPECT_EQ(SortedStyleColor(grid, column, true, false), clWhite);
  EXPECT_EQ(SortedStyleColor(grid, column, true, true), column) << "not when selected";
  grid.sortedStyle = soDarker;
  EXPECT_EQ(SortedStyleColor(grid, column, true, false), DarkenColor(column));
  EXPECT_EQ(SortedStyleColor(grid, column, false, false), column);
}

TEST(PaintColorsTest, FillerCellsAndTheirLines) {
  TGridColors grid;
  grid.color = RGBColor(250, 250, 240);
  grid.gridLinesColor = clGray;
  EXPECT_EQ(FillerColor(grid, true), grid.color) << "no darkening without the option";
  grid.appearance.Include(aoIndicateSortedColumn);
  EXPECT_EQ(FillerColor(grid, true), DarkenColor(grid.color));
  const std::pair<TGridLinesStyle, bool> styles[] = {
      {lsNormal, true}, {lsActiveHorzOnly, false}, {lsActiveRows, false},
      {lsFramed, true}, {lsHorizontalOnly, true},  {lsVerticalOnly, true}};
  for (auto [style, visible] : styles) {
    grid.linesStyle = style;
    EXPECT_EQ(FillerLinesColor(grid, clWhite), visible ? clGray : clWhite) << int(style);
  }
}

TEST(PaintColorsTest, LineWidthsFromOptionsStyleAnd3D) {
  struct Case {
    TGridLinesStyle style;
    bool lines3D;
    int v, v3, h, h3;
  };
  const Case cases[] = {{lsNormal, false, 1, 0, 1, 0},        {lsNormal, true, 1, 1, 1, 1},
                        {lsHorizontalOnly, true, 0, 0, 1, 1}, {lsActiveHorzOnly, false, 0, 0, 1, 0},
                        {lsVerticalOnly, true, 1, 1, 0, 0},   {lsFramed, false, 1, 0, 1, 0}};
  for (const Case& c : cases) {
    TGridLineWidths w = GridLineWidths({goGrid}, c.style, c.lines3D);
    EXPECT_EQ((std::array{w.vertical, w.vertical3D, w.horizontal, w.horizontal3D}),
              (std::array{c.v, c.v3, c.h, c.h3}))
        << int(c.style) << c.lines3D;
    EXPECT_EQ(w.Separator(), c.h + c.h3);
    TGridLineWidths none = GridLineWidths({goHeader}, c.style, c.lines3D);
    EXPECT_EQ(none.vertical + none.vertical3D + none.horizontal + none.horizontal3D, 0);
  }
}
