#pragma once
#include "grid/ColumnDisplay.h"

#include <functional>

class TVxCustomGridControl;

// Reacts to clicks and keys inside any cell of its column. The grid loads it (cell, values and
// the two hooks) before it hands an input over; points are relative to the cell's top-left
// corner.
class TColumnPlay : public TVirtualColElement {
public:
  using TVirtualColElement::TVirtualColElement;
  int Col = -1;
  int Row = -1;
  TVxCustomGridControl* Grid = nullptr;
  // Applies the play's value to the cell (the grid's ApplyPlayValue).
  std::function<void()> ApplyHook;
  // Flips the play's row between expanded and collapsed.
  std::function<void()> ToggleHook;

  virtual void PlayKey(wchar_t) {}
  virtual void PlayMouseDown(TMouseButton, TShiftState, int, int) {}
  virtual void PlayMouseUp(TMouseButton, TShiftState, int, int) {}
  virtual void PlayPrepare() {}
};

class TTreeColumnPlay : public TColumnPlay {
public:
  using TColumnPlay::TColumnPlay;
  // "+" expands and "-" collapses; neither does the opposite.
  void PlayKey(wchar_t key) override;
  // A release on the button flips the row.
  void PlayMouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
};

class TCheckBoxColumnPlay : public TColumnPlay {
public:
  using TColumnPlay::TColumnPlay;
  // Space flips the value.
  void PlayKey(wchar_t key) override;
  // A release inside the box flips the value.
  void PlayMouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
  void Flip();
};
