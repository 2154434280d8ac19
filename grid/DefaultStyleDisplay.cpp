#include "grid/DefaultStyleDisplay.h"

#include "grid/Columns.h"

#include <vsstyle.h>

int TDefaultStyleDisplay::GetCapabilities() const {
  return ThemesEnabled() ? kDrawsThemed : kInvertsPressedHeader;
}

void TDefaultStyleDisplay::DrawHeaderBackground(const TVxCustomColumn& column, const RECT& rect) {
  if (Themed())
    DrawThemedHeaderFace(column, rect);
  else
    DrawHeaderFace(column, rect);
}

void TDefaultStyleDisplay::DrawThemedHeaderFace(const TVxCustomColumn& column, const RECT& rect) {
  int state = Pressed(column) ? HIS_PRESSED : Hot(column) ? HIS_HOT : HIS_NORMAL;
  if (!DrawThemePart(HP_HEADERITEM, state, rect)) DrawHeaderFace(column, rect);
}

void TDefaultStyleDisplay::DrawHeaderFace(const TVxCustomColumn& column, const RECT& r) {
  Fill(r, column.Header().Color());
  const TVxColumns* columns = column.Collection();
  bool first = !columns || columns->FirstVisibleColumn() == &column;
  bool last = !columns || columns->LastVisibleColumn() == &column;
  // Edges shared with a neighbour stop 2 pixels short of the top and the bottom.
  int leftTop = first ? r.top : r.top + 2, leftBottom = first ? r.bottom : r.bottom - 2;
  int rightTop = last ? r.top : r.top + 2, rightBottom = last ? r.bottom : r.bottom - 2;
  Fill(MakeRect(r.left, r.top, r.right, r.top + 1), clBtnHighlight);
  Fill(MakeRect(r.left, leftTop, r.left + 1, leftBottom), clBtnHighlight);
  Fill(MakeRect(r.left, r.bottom - 1, r.right, r.bottom), clBtnShadow);
  Fill(MakeRect(r.right - 1, rightTop, r.right, rightBottom), clBtnShadow);
}

void TDefaultStyleDisplay::DrawEmptyHeader(const RECT& rect) {
  if (!Themed() || !DrawThemePart(HP_HEADERITEMLEFT, HIS_NORMAL, rect))
    TStyleDisplay::DrawEmptyHeader(rect);
}

void TDefaultStyleDisplay::DrawIndicatorCell(const RECT& rect, int kind) {
  if (!Themed() || !DrawThemePart(HP_HEADERITEM, HIS_NORMAL, rect))
    TStyleDisplay::DrawIndicatorCell(rect, kind);
}
