#pragma once
#include "grid/CellPainter.h"
#include "ui/Control.h"

class TVxCustomGridControl;

// The grid's side of painting a cell: its painting events and the column's display.
class TGridPaintClient final : public TCellPaintClient {
public:
  explicit TGridPaintClient(TVxCustomGridControl& grid);
  // An event handler of the pass freed the grid, or took rows or columns away: the pass's
  // row count and column spans no longer hold, and no further handler is called.
  bool PassBroken() const override;
  bool GridAlive() const { return life_.Alive(); }
  void CellColoring(int col, int row, TColor& cellColor, TColor& gridColor,
                    TCellState state) override;
  void DrawCellBackground(int col, int row, const RECT& rect, TCellState state,
                          bool& defaultDrawing) override;
  void DrawCellContent(TCanvas& canvas, int col, int row, const RECT& contentRect, TColor textColor,
                       TCellState state, bool selectedCell) override;
  void DrawHintMark(int col, int row, const RECT& rect) override;
  void CustomDrawCell(int col, int row, const RECT& rect, TCellState state) override;

private:
  TVxCustomGridControl& grid_;
  TWinControl::TLifeGuard life_;
  unsigned shape_;
};
