#include "grid/CellPainter.h"

#include <algorithm>

namespace {

bool Intersects(const RECT& a, const RECT& b) {
  RECT r;
  return ::IntersectRect(&r, &a, &b) != FALSE;
}

RECT Intersection(const RECT& a, const RECT& b) {
  RECT r;
  if (!::IntersectRect(&r, &a, &b)) return RECT{};
  return r;
}

void Line(TCanvas& canvas, int x1, int y1, int x2, int y2) {
  canvas.MoveTo(x1, y1);
  canvas.LineTo(x2, y2);
}

RECT ContentRect(const RECT& cellRect, int padding) {
  RECT r = cellRect;
  r.left += padding;
  r.right -= padding;
  return r;
}

} // namespace

RECT CellPaintRect(const RECT& cellRect, const TGridLineWidths& lines) {
  return MakeRect(cellRect.left, cellRect.top - lines.horizontal3D, cellRect.right,
                  cellRect.bottom + lines.horizontal);
}

RECT CellFillRect(const RECT& cellRect, const TGridLineWidths& lines) {
  return MakeRect(cellRect.left + lines.vertical3D, cellRect.top, cellRect.right - lines.vertical,
                  cellRect.bottom);
}

void DrawCellLines(TCanvas& canvas, const TGridLineWidths& lines, const RECT& r, TColor gridColor,
                   bool framedBottom, bool framedRight) {
  canvas.Pen().SetStyle(psSolid);
  canvas.Pen().SetWidth(1);
  canvas.Pen().SetMode(pmCopy);
  if (lines.horizontal) {
    canvas.Pen().SetColor(framedBottom ? clBlack : gridColor);
    Line(canvas, r.left, r.bottom, r.right + 1, r.bottom);
  }
  canvas.Pen().SetColor(ColorToRGB(clBtnHighlight));
  if (lines.horizontal3D) Line(canvas, r.left, r.top - 1, r.right, r.top - 1);
  if (lines.vertical3D) Line(canvas, r.left, r.top - 1, r.left, r.bottom);
  if (lines.vertical) {
    canvas.Pen().SetColor(framedRight ? clBlack : gridColor);
    Line(canvas, r.right - 1, r.top - 1, r.right - 1, r.bottom + 1);
  }
}

bool PaintCell(TCanvas& canvas, const TGridColors& grid, const TGridLineWidths& lines,
               const TCellPaint& cell, TCellPaintClient& client) {
  RECT paintRect = CellPaintRect(cell.rect, lines);
  if (!Intersects(paintRect, canvas.ClipRect())) return false;

  TColor cellColor = CellColor(grid, cell.columnColor, cell.sortedColumn, cell.selected);
  TColor gridColor = ColorToRGB(grid.gridLinesColor);
  TCellState state = CellState(grid, cell.selected);
  client.CellColoring(cell.col, cell.row, cellColor, gridColor, state);
  cellColor = SortedStyleColor(grid, cellColor, cell.sortedColumn, cell.selected);

  HDC dc = canvas.Handle();
  TClipSave clip(dc);
  canvas.IntersectClipRect(Intersection(paintRect, cell.clipArea));
  if (lines.horizontal || lines.vertical) {
    bool framed = grid.linesStyle == lsFramed;
    DrawCellLines(canvas, lines, cell.rect, ColorToRGB(gridColor), framed && cell.lastRow,
                  framed && cell.lastColumn);
  }

  bool fill = !grid.appearance.Contains(aoDontFillCells) && cell.drawing != doCustomOnly;
  client.DrawCellBackground(cell.col, cell.row, cell.rect, state, fill);
  if (cell.editorRect)
    ::ExcludeClipRect(dc, cell.editorRect->left, cell.editorRect->top, cell.editorRect->right,
                      cell.editorRect->bottom);
  if (fill) {
    canvas.Brush().SetColor(ColorToRGB(cellColor));
    canvas.FillRect(CellFillRect(cell.rect, lines));
  }
  if (cell.drawing == doNormal || cell.drawing == doCustom) {
    TColor textColor = CellTextColor(grid, cell.fontColor, cell.selected);
    client.DrawCellContent(canvas, cell.col, cell.row, ContentRect(cell.rect, cell.padding),
                           textColor, state, cell.selectedCell);
  }
  if (cell.hintMark) client.DrawHintMark(cell.col, cell.row, cell.rect);
  if (cell.drawing != doNormal) client.CustomDrawCell(cell.col, cell.row, cell.rect, state);
  if (cell.focusRect)
    DrawGridFocusRect(canvas, CellFocusRect(cell.rect, cell.clipArea, lines),
                      grid.appearance.Contains(aoAlphaBlendedSelection));
  return true;
}

void PaintFillerCell(TCanvas& canvas, const TGridColors& grid, const TGridLineWidths& lines,
                     const TCellPaint& cell, TCellPaintClient& client) {
  RECT paintRect = CellPaintRect(cell.rect, lines);
  if (!Intersects(paintRect, canvas.ClipRect())) return;
  TColor cellColor = FillerColor(grid, cell.sortedColumn);
  TColor gridColor = FillerLinesColor(grid, cellColor);
  TCellState state{csEmpty};
  client.CellColoring(cell.col, cell.row, cellColor, gridColor, state);

  TClipSave clip(canvas.Handle());
  canvas.IntersectClipRect(Intersection(paintRect, cell.clipArea));
  if (lines.horizontal || lines.vertical)
    DrawCellLines(canvas, lines, cell.rect, ColorToRGB(gridColor), false, false);
  bool fill = true;
  client.DrawCellBackground(cell.col, cell.row, cell.rect, state, fill);
  if (fill) {
    canvas.Brush().SetColor(ColorToRGB(cellColor));
    canvas.FillRect(CellFillRect(cell.rect, lines));
  }
}

bool FocusRectWanted(const TGridColors& grid, bool hasRows, int selectedRow, int topRow,
                     bool inputLine) {
  return grid.focused && hasRows && selectedRow >= topRow && !inputLine &&
         !grid.appearance.Contains(aoHideFocus);
}

RECT FullRowFocusRect(int bodyLeft, int columnsRight, const RECT& rowRect,
                      const TGridLineWidths& lines) {
  return MakeRect(bodyLeft + lines.vertical3D, rowRect.top, columnsRight - lines.vertical,
                  rowRect.bottom - lines.horizontal);
}

RECT CellFocusRect(const RECT& cellRect, const RECT& clipArea, const TGridLineWidths& lines) {
  return Intersection(CellFillRect(cellRect, lines), clipArea);
}

void DrawGridFocusRect(TCanvas& canvas, const RECT& rect, bool alphaBlended) {
  if (::IsRectEmpty(&rect)) return;
  if (alphaBlended) {
    canvas.Brush().SetColor(ColorToRGB(clHighlight));
    canvas.FrameRect(rect);
    return;
  }
  HDC dc = canvas.Handle();
  COLORREF oldBack = ::SetBkColor(dc, RGB(0, 0, 0));
  COLORREF oldText = ::SetTextColor(dc, RGB(255, 255, 255));
  canvas.DrawFocusRect(rect);
  ::SetBkColor(dc, oldBack);
  ::SetTextColor(dc, oldText);
}

void DrawEmptyCaption(TCanvas& canvas, const RECT& bodyRect, const std::wstring& caption,
                      const TFont& font, bool enabled) {
  if (caption.empty()) return;
  canvas.Font().Assign(font);
  if (!enabled) canvas.Font().SetColor(clGrayText);
  canvas.Brush().SetStyle(bsClear);
  canvas.DrawTextW(caption, bodyRect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
  canvas.Brush().SetStyle(bsSolid);
}
