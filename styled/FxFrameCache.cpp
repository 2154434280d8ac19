#include "styled/FxFrameCache.h"

#include <cstring>

void TFxFrameCache::Show(TBitmap& image, int key, const std::function<void()>& draw) {
  if (image.Empty()) return;
  // Levels move in steps, so few frames are ever kept; the bound only guards odd sequences.
  if (frames_.size() > 64) frames_.clear();
  std::vector<uint8_t>& pixels = frames_[key];
  const size_t bytes = size_t(image.Stride()) * size_t(image.Height());
  auto* first = static_cast<uint8_t*>(image.ScanLine(0));
  if (pixels.size() == bytes) {
    ::GdiFlush();
    std::memcpy(first, pixels.data(), bytes);
    return;
  }
  draw();
  ::GdiFlush();
  pixels.assign(first, first + bytes);
}
