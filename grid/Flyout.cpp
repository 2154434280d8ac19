#include "grid/Flyout.h"

TVxFlyoutControl::TVxFlyoutControl(TComponent* owner) : TWinControl(owner) {
  SetVisible(false);
  SetOpaque(true);
}

void TVxFlyoutControl::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.Style = WS_POPUP | (params.Style & WS_VISIBLE);
  params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  params.ClassStyle |= CS_SAVEBITS;
  params.WndParent = nullptr;
}

void TVxFlyoutControl::CreateWnd() {
  ::SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

TRollShadow::TRollShadow(TComponent* owner) : TVxFlyoutControl(owner) {
  SetBounds(0, 0, 32, 32);
}

HRGN TRollShadow::CreateShape(int dpi) {
  // The outline is drawn anew from its points at each scale, so its edges stay whole pixels.
  POINT up[] = {{-1, 7}, {7, -1}, {8, 0}, {14, 7}, {0, 6}};
  POINT down[] = {{-1, 15}, {14, 15}, {6, 22}, {6, 22}, {-1, 14}};
  for (POINT* shape : {up, down})
    for (int i = 0; i < 5; ++i)
      shape[i] = POINT{ScaleForDpi(shape[i].x, dpi), ScaleForDpi(shape[i].y, dpi)};
  HRGN shape = ::CreatePolygonRgn(up, 5, WINDING);
  HRGN part = ::CreatePolygonRgn(down, 5, WINDING);
  ::CombineRgn(shape, shape, part, RGN_OR);
  ::DeleteObject(part);
  const RECT dot = ScaleForDpi(RECT{5, 9, 10, 14}, dpi);
  part = ::CreateEllipticRgn(dot.left, dot.top, dot.right, dot.bottom);
  ::CombineRgn(shape, shape, part, RGN_OR);
  ::DeleteObject(part);
  return shape;
}

void TRollShadow::CreateWnd() {
  TVxFlyoutControl::CreateWnd();
  // The window takes the region over.
  ::SetWindowRgn(Handle(), CreateShape(Dpi()), FALSE);
}

void TRollShadow::DpiChanged(int, int newDpi) {
  if (HandleAllocated()) ::SetWindowRgn(Handle(), CreateShape(newDpi), FALSE);
}

void TRollShadow::ShowAt(POINT screenAnchor) {
  SetBounds(screenAnchor.x - Scaled(7), screenAnchor.y - Scaled(11), Scaled(32), Scaled(32));
  if (HandleAllocated())
    ::SetWindowPos(Handle(), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  Show();
}

void TRollShadow::Paint(TCanvas& canvas) {
  canvas.Brush().SetColor(clGrayText);
  canvas.FillRect(ClientRect());
}
