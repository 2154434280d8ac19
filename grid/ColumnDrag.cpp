#include "grid/ColumnDrag.h"

namespace {

// A pop-up shown from a window that exists already appears without taking the activation
// (and so without taking the focus from the grid, which would end the drag).
void ShowQuietly(TWinControl& flyout) {
  flyout.HandleNeeded();
  flyout.Show();
}

} // namespace

void TColumnDragBox::SetText(const std::wstring& text) {
  text_ = text;
  if (HandleAllocated()) Invalidate();
}

void TColumnDragBox::Paint(TCanvas& canvas) {
  RECT rect = ClientRect();
  canvas.Brush().SetColor(clBtnFace);
  canvas.FillRect(rect);
  ::DrawEdge(canvas.Handle(), &rect, EDGE_RAISED, BF_RECT);
  ::InflateRect(&rect, -Scaled(3), 0);
  ::SetBkMode(canvas.Handle(), TRANSPARENT);
  ::DrawTextW(canvas.Handle(), text_.c_str(), static_cast<int>(text_.size()), &rect,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS | DT_NOPREFIX);
}

TDragArrow::TDragArrow(TComponent* owner, bool pointsDown)
    : TVxFlyoutControl(owner), pointsDown_(pointsDown) {
  SetBounds(0, 0, kSize, kSize);
}

void TDragArrow::CreateWnd() {
  TVxFlyoutControl::CreateWnd();
  SetShape();
}

void TDragArrow::DpiChanged(int, int) {
  if (HandleAllocated()) SetShape();
}

void TDragArrow::SetShape() {
  // A triangle: apex towards the header, base away from it.
  const int size = Scaled(kSize);
  const POINT down[] = {{0, 0}, {size, 0}, {size / 2 + 1, size}, {size / 2, size}};
  const POINT up[] = {{size / 2, 0}, {size / 2 + 1, 0}, {size, size}, {0, size}};
  ::SetWindowRgn(Handle(), ::CreatePolygonRgn(pointsDown_ ? down : up, 4, WINDING), FALSE);
}

void TDragArrow::Paint(TCanvas& canvas) {
  canvas.Brush().SetColor(RGB(0, 128, 0));
  canvas.FillRect(ClientRect());
}

TColumnDrag::TColumnDrag()
    : box_(std::make_unique<TColumnDragBox>(nullptr)),
      above_(std::make_unique<TDragArrow>(nullptr, true)),
      below_(std::make_unique<TDragArrow>(nullptr, false)) {}

TColumnDrag::~TColumnDrag() = default;

void TColumnDrag::ShowArrows(int x, int headerTop, int headerBottom, int dpi) {
  above_->ChangeDpi(dpi);
  below_->ChangeDpi(dpi);
  const int size = ScaleForDpi(TDragArrow::kSize, dpi);
  above_->SetBounds(x - ScaleForDpi(4, dpi), headerTop - ScaleForDpi(12, dpi), size, size);
  below_->SetBounds(x - ScaleForDpi(4, dpi), headerBottom - 1, size, size);
  ShowQuietly(*above_);
  ShowQuietly(*below_);
}

void TColumnDrag::ShowBox() {
  ShowQuietly(*box_);
}

void TColumnDrag::HideArrows() {
  above_->Hide();
  below_->Hide();
}

void TColumnDrag::HideAll() {
  HideArrows();
  box_->Hide();
}
