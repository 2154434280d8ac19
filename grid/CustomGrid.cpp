#include "grid/CustomGrid.h"

#include "grid/HeaderDisplays.h"

#include <algorithm>

namespace {

// The facts of a grid without a row store: no rows.
class TNoRows final : public TRowFacts {
public:
  int RowTotal() const override { return 0; }
  int ShownTotal() const override { return 0; }
  int StoredRowHeight(int) const override { return 0; }
  bool RowDisplayed(int) const override { return false; }
  int NextDisplayedRow(int) const override { return 0; }
  int PreviousDisplayedRow(int) const override { return -1; }
  int DisplayedRank(int) const override { return 0; }
  int DisplayedRowAt(int) const override { return 0; }
};

} // namespace

TVxCustomGridControl::TVxCustomGridControl(TComponent* owner)
    : TVxScrollControl(owner), columns_(this),
      headerDisplays_(std::make_unique<THeaderDisplays>(this)) {
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
  if (indicatorChanged) {
    columns_.Layout();
    UpdateHorzScrollRange();
  }
  // The header, input line and footer bands decide where the body lies.
  UpdateVertScrollRange();
  Invalidate();
}

void TVxCustomGridControl::SetGridLinesStyle(TGridLinesStyle value) {
  if (gridLinesStyle_ == value) return;
  gridLinesStyle_ = value;
  // The line widths place the input line and the footer and decide how many rows fit.
  UpdateVertScrollRange();
  Invalidate();
}

void TVxCustomGridControl::SetRowSize(int value) {
  if (value <= 0 || rowSize_ == value) return;
  rowSize_.Set(std::min(value, kGreatestRowHeight), Dpi());
  RowSizeChanged();
  UpdateVertScrollRange();
  Invalidate();
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

void TVxCustomGridControl::DpiChanged(int oldDpi, int newDpi) {
  TVxScrollControl::DpiChanged(oldDpi, newDpi);
  for (TDpiLength* length : {&rowSize_, &headerSize_, &footerSize_, &inputSize_, &slideSize_})
    length->Rescale(newDpi);
  RowSizeChanged();
  columns_.ChangeDpi(newDpi);
  UpdateVertScrollRange();
  UpdateHorzScrollRange();
  Invalidate();
}

void TVxCustomGridControl::Loaded() {
  TVxScrollControl::Loaded();
  columns_.ApplyStoredPositions();
}

void TVxCustomGridControl::UnlockUpdates() {
  if (updateLock_ == 0) return;
  if (--updateLock_ > 0) return;
  InvalidateBody();
  InvalidateHeader();
  InvalidateIndicator();
  UpdateVertScrollRange();
}

void TVxCustomGridControl::ColumnsNotify(const TColumnsNotice& notice) {
  switch (notice.Kind) {
  case ckInserting:
  case ckRemoving:
    ++shapeStamp_;
    // Column indexes move or the edited column goes; a removed column's editor leaves too.
    EndEdit();
    if (notice.Kind == ckRemoving && notice.Column->OwnEditor()) {
      TVxEdit& editor = *notice.Column->OwnEditor();
      editor.SetEditHost(nullptr);
      editor.SetParent(nullptr);
    }
    break;
  default:
    // A column's size, place or visibility moves the cells under an open editor.
    if (notice.Kind == ckWidth || notice.Kind == ckPosition || notice.Kind == ckVisibility)
      EndEdit();
    break;
  }
  switch (notice.Kind) {
  case ckWidth:
  case ckVisibility:
  case ckPosition:
  case ckAdded:
  case ckInserted:
  case ckRemoved:
    if (!ColumnsDestroying()) {
      UpdateHorzScrollRange();
      Invalidate();
    }
    break;
  case ckAppearance:
    // Cells, header, footer: a column's look may concern any of them.
    Invalidate();
    break;
  default:
    break;
  }
}

const TRowFacts& TVxCustomGridControl::RowFacts() const {
  static const TNoRows none;
  return rowFacts_ ? *rowFacts_ : none;
}

void TVxCustomGridControl::SetHeaderSize(int value) {
  if (headerSize_ == value) return;
  headerSize_.Set(value, Dpi());
  UpdateVertScrollRange();
  Invalidate();
}

void TVxCustomGridControl::SetFooterSize(int value) {
  if (footerSize_ == value) return;
  footerSize_.Set(value, Dpi());
  UpdateVertScrollRange();
  Invalidate();
}

void TVxCustomGridControl::SetInputSize(int value) {
  if (inputSize_ == value) return;
  inputSize_.Set(value, Dpi());
  UpdateVertScrollRange();
  Invalidate();
}

int TVxCustomGridControl::RowHeightOf(int row) {
  const TRowFacts& rows = RowFacts();
  int height = row >= 0 && row < rows.RowTotal() ? rows.StoredRowHeight(row) : rowSize_;
  if (OnMeasuringRowHeight) OnMeasuringRowHeight(this, row, height);
  // Every walk down the rows stops at the body's bottom: a row of no height would let one
  // pass every row, and sums of huge ones would overflow.
  return std::clamp(height, kLeastRowHeight, kGreatestRowHeight);
}

int TVxCustomGridControl::RowSeparator() const {
  return LineWidths().Separator();
}

RECT TVxCustomGridControl::GetBodyRect() {
  const RECT client = ClientRect();
  // Slides span the client below the header: no indicator, input line or footer.
  if (gridStyle_ == gsSlides)
    return RECT{0, options_.Contains(goHeader) ? headerSize_ : 0, client.right, client.bottom};
  const int indicator = IndicatorWidth();
  const int line = RowSeparator();
  RECT body{indicator, 0, 0, client.bottom};
  if (options_.Contains(goHeader)) body.top = headerSize_;
  if (options_.Contains(goInput)) body.top += inputSize_ + Scaled(kInputExtra) + line;
  body.right = std::min<int>(
      indicator + columns_.VisibleColumnsWidth() - HorzScrollBar().Position(), client.right);
  if (options_.Contains(goFooter)) body.bottom -= footerSize_ + Scaled(kFooterExtra) + line;
  return body;
}

int TVxCustomGridControl::RowsFit() {
  const TRowFacts& rows = RowFacts();
  const RECT body = GetBodyRect();
  const int separator = RowSeparator();
  int fit = 0;
  int y = body.top;
  int row = topRow_ < rows.RowTotal() && rows.RowDisplayed(topRow_)
                ? topRow_
                : rows.NextDisplayedRow(topRow_);
  for (; row < rows.RowTotal(); row = rows.NextDisplayedRow(row)) {
    y += RowExtentOf(row) + separator;
    if (y > body.bottom) break;
    ++fit;
  }
  return fit;
}

int TVxCustomGridControl::DisplayedRowsBefore(int row) const {
  return RowFacts().DisplayedRank(row);
}

int TVxCustomGridControl::RowTop(int row) {
  const TRowFacts& rows = RowFacts();
  const RECT body = GetBodyRect();
  int y = body.top + LineWidths().horizontal3D;
  if (row <= topRow_) return row < topRow_ ? body.top : y;
  // Walks no further than the body bottom: rows below it all start there or later.
  int r = topRow_ < rows.RowTotal() && rows.RowDisplayed(topRow_) ? topRow_
                                                                  : rows.NextDisplayedRow(topRow_);
  for (; r < row && r < rows.RowTotal() && y < body.bottom; r = rows.NextDisplayedRow(r))
    y += RowExtentOf(r) + RowSeparator();
  return y;
}

void TVxCustomGridControl::InvalidateRows(int first, int last) {
  if (!HandleAllocated() || last < topRow_) return;
  const RECT body = GetBodyRect();
  const int top = RowTop(first);
  if (top >= body.bottom) return;
  const int bottom = RowTop(last + 1);
  RECT strip{0, top, ClientWidth(), std::min<int>(bottom + RowSeparator(), body.bottom)};
  ::InvalidateRect(Handle(), &strip, FALSE);
}

void TVxCustomGridControl::InvalidateBody() {
  if (!HandleAllocated()) return;
  RECT body = GetBodyRect();
  body.left = 0;
  body.right = ClientWidth();
  ::InvalidateRect(Handle(), &body, FALSE);
}

void TVxCustomGridControl::InvalidateHeader() {
  if (!HandleAllocated() || !options_.Contains(goHeader)) return;
  RECT header{0, 0, ClientWidth(), headerSize_};
  ::InvalidateRect(Handle(), &header, FALSE);
}

void TVxCustomGridControl::InvalidateIndicator() {
  if (!HandleAllocated() || !options_.Contains(goIndicator)) return;
  RECT strip{0, 0, IndicatorStripWidth(), ClientHeight()};
  ::InvalidateRect(Handle(), &strip, FALSE);
}

void TVxCustomGridControl::ShiftBody(int row, int dy) {
  if (!HandleAllocated() || dy == 0) return;
  // What lies below the row moves: one invalidation of that part, however many rows moved.
  RECT body = GetBodyRect();
  body.left = 0;
  body.right = ClientWidth();
  body.top = RowTop(row);
  if (body.top < body.bottom) ::InvalidateRect(Handle(), &body, FALSE);
}

void TVxCustomGridControl::RefreshScrollAreas() {
  const RECT client = ClientRect();
  const int indicator = IndicatorWidth();
  RECT body = GetBodyRect();
  body.left = 0;
  body.right = client.right;
  SetScrollAreas(RECT{indicator + columns_.FixedWidth(), 0, client.right, client.bottom}, body);
}

int TVxCustomGridControl::GetHorzScrollDelta(int oldPosition, int newPosition) {
  RefreshScrollAreas();
  return oldPosition - newPosition;
}

int TVxCustomGridControl::GetVertScrollDelta(int oldPosition, int newPosition) {
  RefreshScrollAreas();
  const TRowFacts& rows = RowFacts();
  const int separator = RowSeparator();
  // Row by row while the shift stays within the body; a longer jump goes straight to the row
  // at the new position and repaints the body whole.
  const int longJump = std::max(ClientHeight(), 1);
  int sum = 0;
  int k = newPosition - oldPosition;
  for (; k > 0 && sum > -longJump; --k) {
    const int next = rows.NextDisplayedRow(topRow_);
    if (next >= rows.RowTotal()) return sum;
    if (rows.RowDisplayed(topRow_)) sum -= RowExtentOf(topRow_) + separator;
    topRow_ = next;
  }
  for (; k < 0 && sum < longJump; ++k) {
    const int previous = rows.PreviousDisplayedRow(topRow_);
    if (previous < 0) return sum;
    topRow_ = previous;
    sum += RowExtentOf(previous) + separator;
  }
  if (k == 0) return sum;
  const int row = rows.DisplayedRowAt(newPosition);
  topRow_ = row < rows.RowTotal() ? row : std::max(rows.PreviousDisplayedRow(row), 0);
  return k > 0 ? -longJump : longJump;
}

void TVxCustomGridControl::BeforeScrollMessage(TScrollBarKind kind) {
  EndEdit();
  if (kind == sbVertical) UpdateVertScrollRange(false);
}

void TVxCustomGridControl::SyncTopRow() {
  const TRowFacts& rows = RowFacts();
  const int total = rows.RowTotal();
  topRow_ = std::clamp(topRow_, 0, std::max(total - 1, 0));
  if (total == 0 || rows.ShownTotal() == 0) {
    topRow_ = 0;
    return;
  }
  if (!rows.RowDisplayed(topRow_)) {
    // A top row inside a node that closed gives way to the node's row.
    int row = rows.PreviousDisplayedRow(topRow_ + 1);
    if (row < 0) row = rows.NextDisplayedRow(topRow_);
    topRow_ = row;
  }
  // The furthest position shows the last rows flush with the body bottom.
  const RECT body = GetBodyRect();
  int fitAtEnd = 0;
  for (int r = rows.PreviousDisplayedRow(total), y = body.top; r >= 0;
       r = rows.PreviousDisplayedRow(r)) {
    y += RowExtentOf(r) + RowSeparator();
    if (y > body.bottom) break;
    ++fitAtEnd;
  }
  const int furthest = std::max(rows.ShownTotal() - fitAtEnd, 0);
  if (DisplayedRowsBefore(topRow_) > furthest) {
    const int row = rows.DisplayedRowAt(furthest);
    if (row < total) topRow_ = row;
  }
}

void TVxCustomGridControl::UpdateVertScrollRange(bool rowsChanged) {
  const int oldTop = topRow_;
  if (rowsChanged) SyncTopRow();
  TVxScrollBar& bar = VertScrollBar();
  const int shown = RowFacts().ShownTotal();
  const int fit = RowsFit();
  // The range follows TopRow here; nothing may shift the contents meanwhile.
  bar.BeginUpdate();
  if (fit < shown) {
    bar.SetMax(shown);
    bar.SetPageSize(fit + 1);
    bar.SetLargeChange(bar.PageSize());
  } else {
    bar.SetMax(0);
  }
  if (rowsChanged || fit + 1 >= shown) bar.SetPosition(DisplayedRowsBefore(topRow_));
  bar.EndUpdate();
  if (topRow_ != oldTop) InvalidateBody();
}

void TVxCustomGridControl::UpdateHorzScrollRange() {
  TVxScrollBar& bar = HorzScrollBar();
  const int indicator = IndicatorWidth();
  bar.BeginUpdate();
  if (gridStyle_ == gsSlides) {
    // Slides span the client: nothing to scroll sideways.
    bar.SetMax(0);
    bar.SetVisible(false);
    bar.EndUpdate();
    return;
  }
  bar.SetPageSize(ClientWidth() + 1);
  bar.SetLargeChange(bar.PageSize() - 10);
  bar.SetMax(columns_.VisibleColumnsWidth() + indicator);
  bar.SetVisible(bar.PageSize() < bar.Max());
  if (HandleAllocated()) bar.SetPosition(::GetScrollPos(Handle(), SB_HORZ));
  bar.EndUpdate();
}

void TVxCustomGridControl::RowsInserted(int first, int count) {
  if (first < topRow_) topRow_ += count;
  // An open editor, the selection and the Shift anchor keep their rows.
  for (int* row : {&edit_.cell.Row, &selectedRow_, &anchor_, &leavingRow_})
    if (*row >= first) *row += count;
}

void TVxCustomGridControl::RowsRemoved(int first, int count) {
  ++shapeStamp_;
  if (topRow_ >= first + count)
    topRow_ -= count;
  else if (topRow_ >= first)
    topRow_ = first;
  // A selection whose row went stays at its place, on the row that moved up into it.
  if (selectedRow_ >= first + count)
    selectedRow_ -= count;
  else if (selectedRow_ >= first)
    selectedRow_ = first;
  for (int* row : {&anchor_, &leavingRow_}) {
    if (*row >= first + count)
      *row -= count;
    else if (*row >= first)
      *row = -1;
  }
}

void TVxCustomGridControl::RowsCleared() {
  ++shapeStamp_;
  topRow_ = 0;
  for (TVxScrollBar* bar : {&HorzScrollBar(), &VertScrollBar()}) {
    bar->BeginUpdate();
    bar->SetPosition(0);
    bar->EndUpdate();
  }
}

void TVxCustomGridControl::CreateWnd() {
  TVxScrollControl::CreateWnd();
  HorzScrollBar().SetSmallChange(5);
  HorzScrollBar().SetLargeChange(10);
  VertScrollBar().SetLargeChange(10);
  UpdateHorzScrollRange();
  UpdateVertScrollRange();
  RefreshScrollAreas();
}

void TVxCustomGridControl::Resize() {
  EndEdit();
  // Auto-size columns share the client width, which may have changed.
  columns_.FitAutoSizeColumns();
  UpdateVertScrollRange();
  UpdateHorzScrollRange();
  RefreshScrollAreas();
  TVxScrollControl::Resize();
}

void TVxCustomGridControl::ResetNavigation() {
  topRow_ = 0;
  selectedColumn_ = 0;
  selectedRow_ = -1;
  // A Shift range or Ctrl selection of the rows that went would reach rows that come later.
  anchor_ = -1;
  multiSelectActive_ = false;
}
