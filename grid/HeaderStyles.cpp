#include "grid/HeaderStyles.h"

#include "grid/Columns.h"
#include "grid/PaintColors.h"

void TFlatStyleDisplay::DrawHeaderFace(const TVxCustomColumn& column, const RECT& r) {
  Fill(r, column.Header().Color());
  Fill(MakeRect(r.right - 1, r.top, r.right, r.bottom), clGrayText);
  Fill(MakeRect(r.left, r.bottom - 1, r.right, r.bottom), clGrayText);
}

void TFlatStyleDisplay::DrawIndicatorCell(const RECT& r, int) {
  Fill(r, clBtnFace);
  Fill(MakeRect(r.right - 1, r.top, r.right, r.bottom), clGrayText);
  Fill(MakeRect(r.left, r.bottom - 1, r.right, r.bottom), clGrayText);
}

void TOldStyleDisplay::DrawHeaderFace(const TVxCustomColumn&, const RECT& r) {
  DrawIndicatorCell(r, 0);
}

void TOldStyleDisplay::DrawIndicatorCell(const RECT& r, int) {
  Frame3D(r, clBtnHighlight, clWindowFrame);
  Fill(MakeRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1), clBtnFace);
}

void TOutlookStyleDisplay::DrawHeaderFace(const TVxCustomColumn& column, const RECT& r) {
  TColor face = column.Header().Color();
  Fill(r, face);
  Frame3D(r, clBtnHighlight, clBtnShadow);
  for (int i = 0; i < 3; ++i)
    Fill(MakeRect(r.left + 1, r.bottom - 2 - i, r.right - 1, r.bottom - 1 - i),
         BlendTowards(clBtnShadow, face, kOutlookShades[i]));
}

void TOutlookStyleDisplay::DrawIndicatorCell(const RECT& r, int) {
  Fill(r, clBtnFace);
  Fill(MakeRect(r.right - 1, r.top, r.right, r.bottom), clBtnShadow);
  for (int i = 0; i < 3; ++i)
    Fill(MakeRect(r.right - 2 - i, r.top, r.right - 1 - i, r.bottom),
         BlendTowards(clBtnShadow, clBtnFace, kOutlookShades[i]));
}

void TVistaStyleDisplay::DrawHeaderFace(const TVxCustomColumn& column, const RECT& r) {
  int middle = (r.top + r.bottom) / 2;
  Fill(MakeRect(r.left, r.top, r.right, middle), clBtnFace);
  Fill(MakeRect(r.left, middle, r.right, r.bottom), clWhite);
  Fill(MakeRect(r.left, r.top, r.left + 1, r.bottom), clWhite);
  Fill(MakeRect(r.right - 1, r.top, r.right, r.bottom), clBtnShadow);
  Fill(MakeRect(r.left, r.bottom - 1, r.right, r.bottom), clBtnShadow);
  if (DefaultDrawing() && column.Sorted())
    DrawSortArrow(POINT{(r.left + r.right) / 2 - 3, r.top + 1}, column.SortKind() == skAscending);
}

void TVistaStyleDisplay::DrawSortArrow(POINT p, bool ascending) {
  // Rows of 2, 4 and 6 pixels: the point up for ascending, down for descending.
  for (int row = 0; row < 3; ++row) {
    int half = row + 1;
    int y = ascending ? p.y + row : p.y + 2 - row;
    Fill(MakeRect(p.x + 3 - half, y, p.x + 3 + half, y + 1), clWhite);
  }
}
