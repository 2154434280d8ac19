#include "styled/FxCaptionLayer.h"

#include <algorithm>

namespace {

bool Same(const TFxCaptionLayer::TCaption& a, const TFxCaptionLayer::TCaption& b) {
  return a.Text == b.Text && a.Font.SameAs(b.Font) && a.ShadowColor == b.ShadowColor &&
         a.Shadow == b.Shadow && a.Format == b.Format && SameRect(a.Rect, b.Rect) &&
         a.Enabled == b.Enabled && a.Size.cx == b.Size.cx && a.Size.cy == b.Size.cy;
}

} // namespace

void TFxCaptionLayer::Draw(const TCaption& caption) {
  const struct {
    TBitmap& image;
    TColor background;
  } sides[] = {{onBlack_, clBlack}, {onWhite_, clWhite}};
  for (const auto& side : sides) {
    side.image.SetSize(caption.Size.cx, caption.Size.cy);
    side.image.Fill(side.background);
    TCanvas& canvas = side.image.Canvas();
    canvas.Brush().SetStyle(bsClear);
    DrawCaptionText(canvas, caption.Text, caption.Font, caption.ShadowColor, caption.Shadow,
                    caption.Format, caption.Rect, caption.Enabled);
  }
  ::GdiFlush();
  // The bytes of each row that the caption touches, so that laying it over skips the rest.
  spans_.assign(caption.Size.cy, {0, 0});
  for (int y = 0; y < caption.Size.cy; ++y) {
    const auto* black = static_cast<const uint8_t*>(onBlack_.ScanLine(y));
    const auto* white = static_cast<const uint8_t*>(onWhite_.ScanLine(y));
    int first = -1, last = -1;
    for (int i = 0; i < 3 * caption.Size.cx; ++i)
      if (black[i] != 0 || white[i] != 255) {
        if (first < 0) first = i;
        last = i;
      }
    if (first >= 0) spans_[y] = {first, last + 1};
  }
  // A font copies only by Assign.
  drawn_.Text = caption.Text;
  drawn_.Font.Assign(caption.Font);
  drawn_.ShadowColor = caption.ShadowColor;
  drawn_.Shadow = caption.Shadow;
  drawn_.Format = caption.Format;
  drawn_.Rect = caption.Rect;
  drawn_.Enabled = caption.Enabled;
  drawn_.Size = caption.Size;
  valid_ = true;
}

void TFxCaptionLayer::Apply(TBitmap& dest, const TCaption& caption) {
  if (caption.Text.empty()) return;
  if (!valid_ || !Same(drawn_, caption)) Draw(caption);
  const int width = std::min(dest.Width(), onBlack_.Width());
  const int height = std::min(dest.Height(), onBlack_.Height());
  ::GdiFlush();
  for (int y = 0; y < height; ++y) {
    const auto* black = static_cast<const uint8_t*>(onBlack_.ScanLine(y));
    const auto* white = static_cast<const uint8_t*>(onWhite_.ScanLine(y));
    auto* out = static_cast<uint8_t*>(dest.ScanLine(y));
    const int end = std::min(spans_[y].second, 3 * width);
    for (int i = spans_[y].first; i < end; ++i) {
      // Untouched by the caption: black stays 0 and white 255.
      if (black[i] == 0 && white[i] == 255) continue;
      const int through = white[i] - black[i];
      out[i] = static_cast<uint8_t>(black[i] + (through * out[i] + 127) / 255);
    }
  }
}
