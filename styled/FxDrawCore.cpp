#include "styled/FxDrawCore.h"

#include "ui/Handles.h"
#include "ui/Numbers.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

uint8_t* Row(TBitmap& bitmap, int y) {
  return static_cast<uint8_t*>(bitmap.ScanLine(y));
}
const uint8_t* Row(const TBitmap& bitmap, int y) {
  return static_cast<const uint8_t*>(bitmap.ScanLine(y));
}

// The part of rect that lies inside a bitmap of the given size.
RECT ClipTo(const RECT& rect, int width, int height) {
  return RECT{std::max<LONG>(rect.left, 0), std::max<LONG>(rect.top, 0),
              std::min<LONG>(rect.right, width), std::min<LONG>(rect.bottom, height)};
}

int Diagonal(int w, int h) {
  return static_cast<int>(RoundHalfEven(std::sqrt(double(w) * w + double(h) * h)));
}

int GradientLength(TGradientType type, const RECT& rect) {
  int w = rect.right - rect.left;
  int h = rect.bottom - rect.top;
  switch (type) {
  case gtHorizontal:
    return w;
  case gtVertical:
    return h;
  case gtFromTopLeft:
  case gtFromTopRight:
    return Diagonal(w, h) - rect.left;
  case gtRadial:
    return (Diagonal(w, h) - rect.left) / 2;
  case gtDoubleHorz:
    return w / 2;
  case gtDoubleVert:
    return h / 2;
  }
  return 0;
}

// A zero length divides by zero. A rising channel saturates (step 255), as an infinite step
// would; a flat or falling channel keeps the from colour rather than turning into a NaN or an
// infinity that no pixel value can hold.
double ChannelStep(int from, int to, int length) {
  int diff = to - from;
  if (length == 0) return diff > 0 ? 255.0 : 0.0;
  return std::min(double(diff) / length, 255.0);
}

struct TGradient {
  TGradientType type;
  RECT rect;
  int w, h, length;
  double step[3]; // blue, green, red: the order of the bytes in a row
  int from[3];

  double Distance(int x, int y) const {
    switch (type) {
    case gtHorizontal:
      return x - rect.left;
    case gtVertical:
      return y - rect.top;
    case gtFromTopLeft:
      return Hypot(x - rect.left, y - rect.top);
    case gtFromTopRight:
      return Hypot(rect.right - x, y - rect.top);
    case gtRadial:
      return Hypot(w / 2 - x, y - h / 2);
    case gtDoubleHorz:
      return std::abs(x - length - rect.left);
    case gtDoubleVert:
      return std::abs(y - length - rect.top);
    }
    return 0;
  }

  // Pixels [x0, x1) of row y; a value outside 0..255 keeps its low 8 bits.
  void PaintSpan(uint8_t* row, int y, int x0, int x1) const {
    for (int x = x0; x < x1; ++x) {
      double d = Distance(x, y);
      uint8_t* pixel = row + 3 * x;
      for (int c = 0; c < 3; ++c)
        pixel[c] = static_cast<uint8_t>(static_cast<int64_t>(RoundHalfEven(step[c] * d + from[c])));
    }
  }

  static double Hypot(int dx, int dy) { return std::sqrt(double(dx) * dx + double(dy) * dy); }
};

void FlatFill(TBitmap& bitmap, const RECT& rect, HRGN region, TColor color) {
  TGdiObject brush(::CreateSolidBrush(ColorToRGB(color)));
  HDC dc = bitmap.Canvas().Handle();
  if (region)
    ::FillRgn(dc, region, static_cast<HBRUSH>(brush.Get()));
  else
    ::FillRect(dc, &rect, static_cast<HBRUSH>(brush.Get()));
  ::GdiFlush();
}

// The rectangles a region is made of (they do not overlap).
std::vector<RECT> RegionRects(HRGN region) {
  DWORD size = ::GetRegionData(region, 0, nullptr);
  if (size == 0) return {};
  std::vector<uint8_t> buffer(size);
  auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
  if (::GetRegionData(region, size, data) == 0) return {};
  const RECT* rects = reinterpret_cast<const RECT*>(data->Buffer);
  return std::vector<RECT>(rects, rects + data->rdh.nCount);
}

void FillSolid(TBitmap& bitmap, const RECT& rect, TColor color) {
  RECT r = ClipTo(rect, bitmap.Width(), bitmap.Height());
  TColor rgb = ColorToRGB(color);
  for (int y = r.top; y < r.bottom; ++y) {
    uint8_t* pixel = Row(bitmap, y) + 3 * r.left;
    for (int x = r.left; x < r.right; ++x, pixel += 3) {
      pixel[0] = ColorB(rgb);
      pixel[1] = ColorG(rgb);
      pixel[2] = ColorR(rgb);
    }
  }
}

} // namespace

UINT FadeInterval(TFadeSpeed speed) {
  switch (speed) {
  case fsSlow:
    return 40;
  case fsMedium:
    return 20;
  case fsFast:
    return 12;
  case fsVeryFast:
    return 8;
  }
  return 20;
}

UINT TextFormat(TAlignment alignment, bool wordWrap) {
  UINT format = DT_VCENTER | DT_NOPREFIX | DT_END_ELLIPSIS;
  if (alignment == taRightJustify)
    format |= DT_RIGHT;
  else if (alignment == taCenter)
    format |= DT_CENTER;
  return format | (wordWrap ? DT_WORDBREAK : DT_SINGLELINE);
}

void FillGradient(TBitmap& bitmap, const RECT& rect, TColor fromColor, HRGN region,
                  TGradientType type, TColor toColor) {
  if (bitmap.Width() < 1 || bitmap.Height() <= 0) return;
  if (fromColor == toColor) {
    FlatFill(bitmap, rect, region, fromColor);
    return;
  }
  TColor from = ColorToRGB(fromColor);
  TColor to = ColorToRGB(toColor);
  TGradient g{};
  g.type = type;
  g.rect = rect;
  g.w = rect.right - rect.left;
  g.h = rect.bottom - rect.top;
  g.length = GradientLength(type, rect);
  const int fromParts[3] = {ColorB(from), ColorG(from), ColorR(from)};
  const int toParts[3] = {ColorB(to), ColorG(to), ColorR(to)};
  for (int c = 0; c < 3; ++c) {
    g.from[c] = fromParts[c];
    g.step[c] = ChannelStep(fromParts[c], toParts[c], g.length);
  }

  // Rows are written straight into the DIB's memory, so pending GDI drawing must land first.
  ::GdiFlush();
  RECT area = ClipTo(rect, bitmap.Width(), bitmap.Height());
  if (!region) {
    for (int y = area.top; y < area.bottom; ++y)
      g.PaintSpan(Row(bitmap, y), y, area.left, area.right);
    return;
  }
  for (const RECT& part : RegionRects(region)) {
    RECT r;
    if (!::IntersectRect(&r, &part, &area)) continue;
    for (int y = r.top; y < r.bottom; ++y)
      g.PaintSpan(Row(bitmap, y), y, r.left, r.right);
  }
}

void DrawCaptionText(TCanvas& canvas, const std::wstring& text, const TFont& font,
                     TColor shadowColor, bool shadow, UINT format, const RECT& rect, bool enabled,
                     int shiftBy) {
  canvas.Font().Assign(font);
  RECT shifted = rect;
  ::OffsetRect(&shifted, shiftBy, shiftBy);
  if (enabled) {
    if (shadow) {
      TColor textColor = canvas.Font().Color();
      canvas.Font().SetColor(shadowColor);
      canvas.DrawText(text, shifted, format);
      canvas.Font().SetColor(textColor);
    }
    canvas.DrawText(text, rect, format);
    return;
  }
  canvas.Font().SetColor(clBtnHighlight);
  canvas.DrawText(text, shifted, format);
  canvas.Font().SetColor(clBtnShadow);
  canvas.DrawText(text, rect, format);
}

void LoadBitmapForDpi(TBitmap& bitmap, const std::wstring& name, int dpi) {
  // The scales the pictures are drawn at, greatest first.
  static constexpr int kDrawnFor[] = {192, 168, 144, 120};
  HMODULE module = ::GetModuleHandleW(nullptr);
  for (const int drawn : kDrawnFor) {
    if (drawn > dpi) continue;
    const std::wstring scaled = name + L"_" + std::to_wstring(drawn);
    // RT_BITMAP, named in its wide form whatever the character set of the build.
    if (::FindResourceW(module, scaled.c_str(), MAKEINTRESOURCEW(2))) {
      bitmap.LoadFromResource(scaled);
      return;
    }
  }
  bitmap.LoadFromResource(name);
}

void ComposeState(TBitmap& dest, const TBitmap& base, const TBitmap& overlay, int offset,
                  const RECT& rect, int percent) {
  ::GdiFlush();
  int x0 = rect.left + offset;
  int y0 = rect.top + offset;
  int w = std::min<int>({rect.right - rect.left - offset, base.Width(), dest.Width() - x0});
  int h = std::min<int>({rect.bottom - rect.top - offset, base.Height(), dest.Height() - y0});
  // Source pixels left of or above dest's edge are cut off together with their places.
  int sx = std::max(0, -x0);
  int sy = std::max(0, -y0);
  if (w - sx > 0 && h - sy > 0) {
    size_t bytes = size_t(w - sx) * 3;
    // The button blends its pressed look onto its own frame: base and dest are then one image
    // and the rows must be read before they are overwritten.
    std::vector<uint8_t> copy;
    if (&dest == &base) {
      copy.resize(bytes * (h - sy));
      for (int y = sy; y < h; ++y)
        std::memcpy(&copy[bytes * (y - sy)], Row(base, y) + 3 * sx, bytes);
    }
    for (int y = sy; y < h; ++y) {
      const uint8_t* src = copy.empty() ? Row(base, y) + 3 * sx : &copy[bytes * (y - sy)];
      std::memcpy(Row(dest, y0 + y) + 3 * (x0 + sx), src, bytes);
    }
  }
  if (percent > 0) BlendBitmaps(dest, overlay, rect, std::min(percent, 100));
}

// Rounds a value in 0..255.5 to the nearest integer, ties to even: the general rounding, without
// the checks that values of any size and sign need, as it runs once per byte.
static inline uint8_t RoundByte(double value) {
  int lower = static_cast<int>(value);
  double fraction = value - lower;
  if (fraction > 0.5 || (fraction == 0.5 && (lower & 1))) ++lower;
  return static_cast<uint8_t>(lower);
}

void BlendBitmaps(TBitmap& dest, const TBitmap& overlay, const RECT& rect, int percent) {
  // Outside 0..100 the weights would leave the byte range; such a percent means "all" or "none".
  percent = std::clamp(percent, 0, 100);
  double a = (100 - percent) / 100.0;
  double b = 1 - a;
  // a * d and b * o for every byte value, so each byte costs one addition and a rounding; the
  // products are the same doubles as when multiplied in place.
  double weighted[2][256];
  for (int v = 0; v < 256; ++v) {
    weighted[0][v] = a * v;
    weighted[1][v] = b * v;
  }
  RECT r = ClipTo(rect, dest.Width(), dest.Height());
  r.right = std::min<LONG>(r.right, rect.left + overlay.Width());
  r.bottom = std::min<LONG>(r.bottom, rect.top + overlay.Height());
  ::GdiFlush();
  for (int y = r.top; y < r.bottom; ++y) {
    uint8_t* d = Row(dest, y) + 3 * r.left;
    const uint8_t* o = Row(overlay, y - rect.top) + 3 * (r.left - rect.left);
    for (int i = 0; i < 3 * (r.right - r.left); ++i)
      d[i] = RoundByte(weighted[0][d[i]] + weighted[1][o[i]]);
  }
}

void DrawTransparent(TBitmap& dest, int x, int y, const TBitmap& source) {
  if (source.Empty()) return;
  const TColor key = ColorToRGB(source.TransparentColor());
  const uint8_t kb = ColorB(key), kg = ColorG(key), kr = ColorR(key);
  const RECT r =
      ClipTo(RECT{x, y, x + source.Width(), y + source.Height()}, dest.Width(), dest.Height());
  ::GdiFlush();
  for (int dy = r.top; dy < r.bottom; ++dy) {
    const uint8_t* in = Row(source, dy - y) + 3 * (r.left - x);
    uint8_t* out = Row(dest, dy) + 3 * r.left;
    for (int dx = r.left; dx < r.right; ++dx, in += 3, out += 3)
      if (in[0] != kb || in[1] != kg || in[2] != kr) {
        out[0] = in[0];
        out[1] = in[1];
        out[2] = in[2];
      }
  }
}

void TintBitmap(TBitmap& bitmap, TColor color) {
  TColor rgb = ColorToRGB(color);
  const int add[3] = {ColorB(rgb), ColorG(rgb), ColorR(rgb)};
  ::GdiFlush();
  for (int y = 0; y < bitmap.Height(); ++y) {
    uint8_t* pixel = Row(bitmap, y);
    for (int x = 0; x < bitmap.Width(); ++x, pixel += 3) {
      int grey = (pixel[0] + pixel[1] + pixel[2]) / 3;
      for (int c = 0; c < 3; ++c)
        pixel[c] = static_cast<uint8_t>(std::min(grey + add[c], 255));
    }
  }
}

void DownsampleEdges(TBitmap& dest, const TBitmap& source, int factor, TColor fillColor, int band) {
  if (factor < 1) return;
  int width = dest.Width();
  int height = dest.Height();
  int k = band / 2;
  // A source smaller than factor times dest leaves the uncovered pixels alone.
  int coveredW = std::min(width, source.Width() / factor);
  int coveredH = std::min(height, source.Height() / factor);
  int count = factor * factor;
  ::GdiFlush();
  for (int y = 0; y < coveredH; ++y) {
    bool rowInFrame = y <= k || y >= height - k;
    uint8_t* out = Row(dest, y);
    for (int x = 0; x < coveredW; ++x) {
      if (!rowInFrame && x > k && x < width - k) continue;
      int sum[3] = {0, 0, 0};
      for (int sy = y * factor; sy < (y + 1) * factor; ++sy) {
        const uint8_t* in = Row(source, sy) + 3 * x * factor;
        for (int i = 0; i < factor; ++i)
          for (int c = 0; c < 3; ++c)
            sum[c] += in[3 * i + c];
      }
      for (int c = 0; c < 3; ++c)
        out[3 * x + c] = static_cast<uint8_t>(sum[c] / count);
    }
  }
  FillSolid(dest, RECT{k, k, width - k, height - k}, fillColor);
}
