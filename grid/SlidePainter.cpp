#include "grid/SlidePainter.h"

#include <algorithm>

namespace {

// Bounds come from the user: the sums are taken wide so that no value can overflow.
LONG Within(long long value, LONG low, LONG high) {
  return static_cast<LONG>(std::clamp<long long>(value, low, std::max(low, high)));
}

} // namespace

RECT SlideCellRect(const RECT& slide, int left, int top, int width, int height) {
  const long long x = static_cast<long long>(slide.left) + left;
  const long long y = static_cast<long long>(slide.top) + top;
  const long long right = x + std::max(width, 0);
  const long long bottom = y + std::max(height, 0);
  return RECT{Within(x, slide.left, slide.right), Within(y, slide.top, slide.bottom),
              Within(right, slide.left, slide.right), Within(bottom, slide.top, slide.bottom)};
}

bool SlideSelectionShown(bool focused, TSlidesOptions options) {
  return focused || !options.Contains(soHideSelection);
}

TColor SlideColor(const TGridColors& grid, TColor slideSelectionColor, bool selectedShown) {
  if (!selectedShown) return ColorToRGB(grid.color);
  return ColorToRGB(grid.focused ? slideSelectionColor : clBtnFace);
}

TCellState SlideState(const TGridColors& grid, bool selectedShown) {
  TCellState state;
  if (selectedShown) state.Include(csSelected);
  if (grid.focused && !grid.appearance.Contains(aoHideFocus)) state.Include(csFocused);
  return state;
}

void DrawSlideLines(TCanvas& canvas, const TGridLineWidths& lines, const RECT& slideRect,
                    TColor gridColor) {
  TGridLineWidths across = lines;
  across.vertical = 0;
  across.vertical3D = 0;
  if (across.horizontal || across.horizontal3D)
    DrawCellLines(canvas, across, slideRect, gridColor, false, false);
}

void DrawSlideFrame(TCanvas& canvas, const RECT& slideRect, TColor color) {
  canvas.Brush().SetColor(ColorToRGB(color));
  canvas.FrameRect(slideRect);
  RECT inner = slideRect;
  ::InflateRect(&inner, -2, -2);
  if (!::IsRectEmpty(&inner)) canvas.FrameRect(inner);
}

RECT SlideCaptionRect(const RECT& slideRect, const RECT& cellRect, TSlideCatpionLocation location,
                      int textHeight) {
  if (location == clLeft)
    return RECT{slideRect.left + 2, cellRect.top, cellRect.left - 4, cellRect.bottom};
  return RECT{cellRect.left, cellRect.top - 1 - textHeight, slideRect.right - 2, cellRect.top - 1};
}

UINT SlideCaptionFormat(TSlideCatpionLocation location) {
  const UINT common = DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS;
  return common | (location == clLeft ? DT_RIGHT | DT_VCENTER : DT_LEFT | DT_BOTTOM);
}
