#include "grid/ColumnPlay.h"

#include "grid/Column.h"

namespace {

bool Inside(const RECT& box, int x, int y) {
  return x >= box.left && x < box.right && y >= box.top && y < box.bottom;
}

} // namespace

void TTreeColumnPlay::PlayKey(wchar_t key) {
  if (static_cast<TVxTreeColumn*>(OwnerColumn)->ExpandLock() || !ToggleHook) return;
  if ((key == L'+' && !RowExpanded) || (key == L'-' && RowExpanded)) ToggleHook();
}

void TTreeColumnPlay::PlayMouseUp(TMouseButton, TShiftState, int x, int y) {
  if (static_cast<TVxTreeColumn*>(OwnerColumn)->ExpandLock() || !ToggleHook) return;
  if (Inside(TreeButtonBox(RowLevel, CellRect.bottom - CellRect.top, Dpi()), x, y)) ToggleHook();
}

void TCheckBoxColumnPlay::Flip() {
  PlayBool = !PlayBool;
  DrawnText = PlayBool ? L"True" : L"False";
  if (ApplyHook) ApplyHook();
}

void TCheckBoxColumnPlay::PlayKey(wchar_t key) {
  if (key == L' ') Flip();
}

void TCheckBoxColumnPlay::PlayMouseUp(TMouseButton, TShiftState, int x, int y) {
  auto* display = dynamic_cast<TCheckBoxColumnDisplay*>(&OwnerColumn->Display());
  if (!display) return;
  // The cell in its own coordinates, narrowed by the column's padding as it is for drawing.
  const int padding = OwnerColumn->Padding();
  const RECT content{padding, 0, CellRect.right - CellRect.left - padding,
                     CellRect.bottom - CellRect.top};
  if (!display->ThemeOwner) display->ThemeOwner = ThemeOwner;
  if (Inside(display->BoxIn(content), x, y)) Flip();
}
