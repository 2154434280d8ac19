#include "grid/ColumnPlay.h"

#include "grid/Column.h"

#include "ui/Control.h"

#include <uxtheme.h>

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
  const int h = CellRect.bottom - CellRect.top;
  const int left = TVxTreeColumn::kLevelIndent * RowLevel + 2;
  const int top = h / 2 - 5;
  if (Inside(RECT{left, top, left + 9, top + 9}, x, y)) ToggleHook();
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
  bool themed = false;
  if (ThemeOwner && ThemeOwner->HandleAllocated()) {
    if (HTHEME theme = ::OpenThemeData(ThemeOwner->Handle(), L"Button")) {
      themed = true;
      ::CloseThemeData(theme);
    }
  }
  const int size = themed ? 13 : 11;
  // The cell in its own coordinates, one pixel larger on every side.
  const RECT cell{-1, -1, CellRect.right - CellRect.left + 1, CellRect.bottom - CellRect.top + 1};
  const POINT at =
      PlaceBox(cell, size, size, OwnerColumn->Alignment(), OwnerColumn->VerticalAlignment());
  if (Inside(RECT{at.x, at.y, at.x + size, at.y + size}, x, y)) Flip();
}
