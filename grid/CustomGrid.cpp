#include "grid/CustomGrid.h"

TVxCustomGridControl::TVxCustomGridControl(TComponent* owner)
    : TVxScrollControl(owner), columns_(this) {
  SetBounds(0, 0, 250, 150);
  SetColor(clWindow);
  SetTabStop(true);
}

TVxCustomGridControl::~TVxCustomGridControl() {
  tearingDown_ = true;
}

void TVxCustomGridControl::SetOptions(TGridOptions value) {
  if (options_ == value) return;
  const bool indicatorChanged = options_.Contains(goIndicator) != value.Contains(goIndicator);
  options_ = value;
  if (indicatorChanged) columns_.Layout();
  InvalidateBody();
}

void TVxCustomGridControl::SetGridLinesStyle(TGridLinesStyle value) {
  if (gridLinesStyle_ == value) return;
  gridLinesStyle_ = value;
  InvalidateBody();
}

void TVxCustomGridControl::SetRowSize(int value) {
  if (value <= 0 || rowSize_ == value) return;
  rowSize_ = value;
  RowSizeChanged();
}

int TVxCustomGridControl::ColumnsClientWidth() const {
  // The client rectangle comes from the window when it exists, which does not change us.
  return const_cast<TVxCustomGridControl*>(this)->ClientWidth();
}

void TVxCustomGridControl::FontChanged() {
  TVxScrollControl::FontChanged();
  for (int i = 0; i < columns_.ColumnCount(); ++i) {
    TVxCustomColumn* column = columns_.ColumnAt(i);
    if (column->ParentFont()) column->TakeGridFont(Font());
  }
}

void TVxCustomGridControl::Loaded() {
  TVxScrollControl::Loaded();
  columns_.ApplyStoredPositions();
}

void TVxCustomGridControl::UnlockUpdates() {
  if (updateLock_ == 0) return;
  if (--updateLock_ > 0) return;
  InvalidateBody();
  if (options_.Contains(goHeader)) InvalidateHeader();
  if (options_.Contains(goIndicator)) InvalidateIndicator();
  UpdateVertScrollRange();
}

void TVxCustomGridControl::ColumnsNotify(const TColumnsNotice&) {}

void TVxCustomGridControl::ResetNavigation() {
  topRow_ = 0;
  selectedColumn_ = 0;
  selectedRow_ = -1;
}
