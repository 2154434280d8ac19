// TWinControl: invalidation, painting and colours.
#include "ui/Control.h"

#include "ui/Bitmap.h"

void TWinControl::BringToFront() {
  if (handle_)
    ::SetWindowPos(handle_, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::SendToBack() {
  if (handle_)
    ::SetWindowPos(handle_, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void TWinControl::Invalidate() {
  if (handle_) ::InvalidateRect(handle_, nullptr, !opaque_ && !doubleBuffered_);
}

void TWinControl::InvalidateRect(const RECT& rect) {
  if (handle_) ::InvalidateRect(handle_, &rect, !opaque_ && !doubleBuffered_);
}

void TWinControl::Repaint() {
  Invalidate();
  Update();
}

void TWinControl::Update() {
  if (handle_) ::UpdateWindow(handle_);
}

void TWinControl::Paint(TCanvas&) {}

void TWinControl::PrepareCanvas(TCanvas& canvas) {
  canvas.SetDpi(dpi_);
  canvas.Font().Assign(font_);
  canvas.Brush().SetColor(color_);
  canvas.Pen().SetColor(clBlack);
  canvas.Pen().SetWidth(1);
  canvas.Pen().SetStyle(psSolid);
  canvas.Pen().SetMode(pmCopy);
}

void TWinControl::PaintTo(HDC dc, int x, int y) {
  TClipSave clip(dc);
  TScopedViewportShift shift(dc, x, y);
  RECT client = ClientRect();
  ::IntersectClipRect(dc, 0, 0, client.right, client.bottom);
  if (systemProc_) {
    ::SendMessageW(handle_, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc),
                   PRF_CLIENT | PRF_ERASEBKGND);
  } else {
    TCanvas canvas(dc);
    PrepareCanvas(canvas);
    if (!opaque_) canvas.FillRect(client);
    TLifeGuard guard(*this);
    Paint(canvas);
    // A handler run by the paint may have freed the control, its children with it.
    if (!guard.Alive()) return;
  }
  for (TWinControl* child : controls_)
    if (child->visible_) child->PaintTo(dc, child->Left(), child->Top());
}

void TWinControl::PaintMessage() {
  TPaintDC paintDc(handle_);
  HDC dc = paintDc.Get();
  const RECT& paintRect = paintDc.PaintRect();
  auto prepare = [this](TCanvas& canvas) { PrepareCanvas(canvas); };
  if (!doubleBuffered_) {
    TCanvas canvas(dc);
    prepare(canvas);
    Paint(canvas);
    return;
  }
  RECT client;
  ::GetClientRect(handle_, &client);
  if (RectWidth(client) <= 0 || RectHeight(client) <= 0) return;
  if (!paintBuffer_) paintBuffer_ = std::make_unique<TBitmap>();
  paintBuffer_->SetSize(RectWidth(client), RectHeight(client));
  TCanvas& canvas = paintBuffer_->Canvas();
  HDC buffer = canvas.Handle();
  ::SelectClipRgn(buffer, nullptr);
  canvas.IntersectClipRect(paintRect);
  prepare(canvas);
  if (!opaque_) canvas.FillRect(client);
  TLifeGuard guard(*this);
  Paint(canvas);
  // A handler run by the paint may have freed the control, and the buffer with it.
  if (!guard.Alive()) return;
  ::BitBlt(dc, paintRect.left, paintRect.top, RectWidth(paintRect), RectHeight(paintRect), buffer,
           paintRect.left, paintRect.top, SRCCOPY);
}

HBRUSH TWinControl::ControlColors(HDC dc) {
  ::SetTextColor(dc, ColorToRGB(font_.Color()));
  ::SetBkColor(dc, ColorToRGB(color_));
  if (!colorBrush_ || colorBrushColor_ != color_) {
    colorBrush_.Reset(::CreateSolidBrush(ColorToRGB(color_)));
    colorBrushColor_ = color_;
  }
  return static_cast<HBRUSH>(colorBrush_.Get());
}

void TWinControl::PaintParentBackground(TCanvas& canvas) {
  if (!parent_) return;
  HDC dc = canvas.Handle();
  TClipSave clip(dc);
  TScopedViewportShift shift(dc, -Left(), -Top());
  // Logical coordinates are now the parent's: keep the drawing inside this control's area.
  ::IntersectClipRect(dc, Left(), Top(), Left() + Width(), Top() + Height());
  RECT parentClient = parent_->ClientRect();
  TGdiObject brush(::CreateSolidBrush(ColorToRGB(parent_->color_)));
  ::FillRect(dc, &parentClient, static_cast<HBRUSH>(brush.Get()));
  parent_->Paint(canvas);
}
