#include "ui/HintWindow.h"

#include <algorithm>

namespace {
constexpr int kMargin = 2;
constexpr UINT kTextFlags = DT_LEFT | DT_NOPREFIX | DT_EXPANDTABS;
} // namespace

THintWindow::THintWindow(TComponent* owner) : TWinControl(owner) {
  SetVisible(false);
  SetColor(SystemColor(COLOR_INFOBK));
  Font().SetColor(SystemColor(COLOR_INFOTEXT));
}

void THintWindow::CreateParams(TCreateParams& params) {
  TWinControl::CreateParams(params);
  params.ClassName = L"VarnoxHint";
  params.Style = WS_POPUP | WS_BORDER;
  params.ExStyle = WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE;
  params.WndParent = nullptr;
}

SIZE THintWindow::CalcHintSize(const std::wstring& text, int wrapWidth) {
  TWindowDC screen;
  RECT r{0, 0, wrapWidth, 0};
  {
    TCanvas canvas(screen.Get());
    canvas.Font().Assign(Font());
    canvas.DrawTextW(text, r, kTextFlags | DT_CALCRECT | DT_WORDBREAK);
  }
  // Border (one pixel each side) and the margins around the text.
  return SIZE{RectWidth(r) + Scaled(2 * kMargin + 4) + 2, RectHeight(r) + Scaled(2 * kMargin) + 2};
}

void THintWindow::ActivateHint(POINT screenPoint, const std::wstring& text, int wrapWidth) {
  SetCaption(text);
  // A pop-up of its own, the hint is drawn for the scale of the monitor it shows on, which the
  // system tells once its window stands there.
  SetBounds(screenPoint.x, screenPoint.y, Width(), Height());
  ChangeDpi(WindowDpi(Handle()));
  SIZE size = CalcHintSize(text, wrapWidth);
  // Keep the whole hint on the screen.
  int x = std::min<int>(screenPoint.x, ::GetSystemMetrics(SM_CXSCREEN) - size.cx);
  int y = std::min<int>(screenPoint.y, ::GetSystemMetrics(SM_CYSCREEN) - size.cy);
  SetBounds(std::max(x, 0), std::max(y, 0), size.cx, size.cy);
  HWND window = Handle();
  ::SetWindowPos(window, HWND_TOPMOST, Left(), Top(), Width(), Height(),
                 SWP_NOACTIVATE | SWP_SHOWWINDOW);
  SetVisible(true);
  Invalidate();
}

void THintWindow::ReleaseHint() {
  SetVisible(false);
}

void THintWindow::Paint(TCanvas& canvas) {
  RECT r = ClientRect();
  canvas.FillRect(r);
  ::InflateRect(&r, -Scaled(kMargin), -Scaled(kMargin));
  r.left += Scaled(2);
  canvas.Brush().SetStyle(bsClear);
  canvas.DrawTextW(Caption(), r, kTextFlags | DT_WORDBREAK);
}

bool THintWindow::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) {
  switch (msg) {
  case WM_NCHITTEST:
    // Clicks go through to whatever lies below the hint.
    result = HTTRANSPARENT;
    return true;
  case WM_MOUSEACTIVATE:
    result = MA_NOACTIVATE;
    return true;
  default:
    return TWinControl::HandleMessage(msg, wParam, lParam, result);
  }
}
