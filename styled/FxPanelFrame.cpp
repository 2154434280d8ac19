#include "styled/FxPanelFrame.h"

#include "ui/Handles.h"

#include <algorithm>

namespace {

constexpr int kSupersample = 3;

// Outer colour, then the rounded rectangle outlined in the border colour and filled with Color
// (or with the gradient), in the coordinates of a bitmap factor times the panel's size.
void DrawFrame(TCanvas& canvas, TBitmap* gradientTarget, const TPanelFrame& frame, int factor,
               int width, int height) {
  int pen = factor * frame.BorderWidth - 1;
  int inset = pen / 2;
  int top = inset + factor * frame.CaptionHeight / 2;
  int corner = factor * frame.CornerWidth;
  RECT shape{inset, top, width - inset, height - inset};

  canvas.Brush().SetColor(frame.OuterColor);
  canvas.FillRect(RECT{0, 0, width, height});
  canvas.Pen().SetColor(frame.BorderColor);
  canvas.Pen().SetStyle(psSolid);
  canvas.Pen().SetWidth(pen);
  canvas.Brush().SetColor(frame.Color);
  if (frame.Gradient && gradientTarget) {
    canvas.Brush().SetStyle(bsClear);
    TGdiObject region(
        ::CreateRoundRectRgn(shape.left, shape.top, shape.right, shape.bottom, corner, corner));
    ::GdiFlush();
    FillGradient(*gradientTarget, shape, frame.DefaultFrom, static_cast<HRGN>(region.Get()),
                 frame.GradientType, frame.DefaultTo);
  }
  canvas.RoundRect(shape, corner, corner);
  ::GdiFlush();
}

// Averages the factor x factor blocks of source into dest's rect.
void AverageInto(TBitmap& dest, const RECT& rect, const TBitmap& source, int factor) {
  const int count = factor * factor;
  for (int y = rect.top; y < rect.bottom; ++y) {
    auto* out = static_cast<uint8_t*>(dest.ScanLine(y)) + 3 * rect.left;
    for (int x = 0; x < rect.right - rect.left; ++x, out += 3) {
      int sum[3] = {0, 0, 0};
      for (int sy = 0; sy < factor; ++sy) {
        const auto* in =
            static_cast<const uint8_t*>(source.ScanLine((y - rect.top) * factor + sy)) +
            3 * x * factor;
        for (int i = 0; i < 3 * factor; i += 3) {
          sum[0] += in[i];
          sum[1] += in[i + 1];
          sum[2] += in[i + 2];
        }
      }
      for (int c = 0; c < 3; ++c)
        out[c] = static_cast<uint8_t>(sum[c] / count);
    }
  }
}

} // namespace

void RenderPanelFrame(TBitmap& target, const TPanelFrame& frame) {
  const int width = target.Width();
  const int height = target.Height();
  if (target.Empty()) return;
  if (!frame.Antialiased) {
    DrawFrame(target.Canvas(), &target, frame, 1, width, height);
    return;
  }

  // The pixels kept from the large drawing: rows 0..k and from height - k on, columns 0..k
  // and from width - k on; the inside (k, k, width - k, height - k) is flat Color.
  const int f = kSupersample;
  const int k = (frame.CornerWidth + ScaleForDpi(20, frame.Dpi)) / 2;
  // A group box's top line hangs from its caption's middle; under a tall caption it lies
  // below the band and the flat inside would wipe it out, so the top band reaches past it.
  const int pen = f * frame.BorderWidth - 1;
  const int lineBottom = (pen / 2 + f * frame.CaptionHeight / 2 + pen / 2) / f;
  const int keepTop = std::max(k, lineBottom + 1);
  const int topEnd = std::min(keepTop + 1, height);
  const int bottomStart = std::max(height - k, topEnd);
  const int leftEnd = std::min(k + 1, width);
  const int rightStart = std::max(width - k, leftEnd);
  const RECT strips[] = {{0, 0, width, topEnd},
                         {0, bottomStart, width, height},
                         {0, topEnd, leftEnd, bottomStart},
                         {rightStart, topEnd, width, bottomStart}};
  TBitmap large;
  for (const RECT& strip : strips) {
    if (strip.right <= strip.left || strip.bottom <= strip.top) continue;
    large.SetSize(f * (strip.right - strip.left), f * (strip.bottom - strip.top));
    TCanvas& canvas = large.Canvas();
    HDC dc = canvas.Handle();
    // The strip's bitmap shows its part of the whole large drawing.
    ::SetViewportOrgEx(dc, -f * strip.left, -f * strip.top, nullptr);
    DrawFrame(canvas, nullptr, frame, f, f * width, f * height);
    ::SetViewportOrgEx(dc, 0, 0, nullptr);
    AverageInto(target, strip, large, f);
  }
  if (width - k > k && height - k > keepTop) {
    TGdiObject brush(::CreateSolidBrush(ColorToRGB(frame.Color)));
    RECT inside{k, keepTop, width - k, height - k};
    ::FillRect(target.Canvas().Handle(), &inside, static_cast<HBRUSH>(brush.Get()));
    ::GdiFlush();
  }
}
