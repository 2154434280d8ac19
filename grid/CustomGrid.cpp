#include "grid/CustomGrid.h"

TVxCustomGridControl::TVxCustomGridControl() : columns_(this) {
  columns_.OnColumnChanged = [this](TVxCustomColumn& column, TColumnChangeKind kind, int value) {
    ColumnChanged(column, kind, value);
  };
  columns_.OnColumnsChanging = [this](TColumnsOperation operation, int index) {
    ColumnsChanging(operation, index);
  };
  columns_.OnColumnsChanged = [this](TColumnsOperation operation, int index) {
    ColumnsChanged(operation, index);
  };
}

TVxCustomGridControl::~TVxCustomGridControl() {
  destroying_ = true;
  columns_.OnColumnChanged = nullptr;
  columns_.OnColumnsChanging = nullptr;
  columns_.OnColumnsChanged = nullptr;
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

void TVxCustomGridControl::SetFont(const TFontData& value) {
  if (font_ == value) return;
  font_ = value;
  for (int i = 0; i < columns_.ColumnCount(); ++i) {
    TVxCustomColumn* column = columns_.ColumnAt(i);
    if (column->ParentFont()) {
      // Handing over the grid's font keeps the column on it.
      column->SetFont(value);
      column->SetParentFont(true);
    }
  }
}

void TVxCustomGridControl::UnlockUpdates() {
  if (updateLock_ == 0) return;
  if (--updateLock_ > 0) return;
  InvalidateBody();
  if (options_.Contains(goHeader)) InvalidateHeader();
  if (options_.Contains(goIndicator)) InvalidateIndicator();
  UpdateVertScrollRange();
}

void TVxCustomGridControl::BeginLoading() {
  ++loading_;
  columns_.BeginLoading();
}

void TVxCustomGridControl::EndLoading() {
  if (loading_ == 0) return;
  --loading_;
  columns_.EndLoading();
}

void TVxCustomGridControl::ColumnChanged(TVxCustomColumn&, TColumnChangeKind, int) {}

void TVxCustomGridControl::ResetNavigation() {
  topRow_ = 0;
  selectedColumn_ = 0;
  selectedRow_ = -1;
}
