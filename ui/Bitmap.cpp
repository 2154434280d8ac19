#include "ui/Bitmap.h"

#include "ui/Exception.h"
#include "ui/Numbers.h"

#include <algorithm>
#include <cstring>
#include <vector>

TBitmap::TBitmap(int width, int height) {
  SetSize(width, height);
}

TBitmap::~TBitmap() {
  canvas_.reset();
  if (dc_ && oldBitmap_) ::SelectObject(dc_.Get(), oldBitmap_);
}

void TBitmap::SetSize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == width_ && height == height_) return;
  TGdiObject dib;
  uint8_t* bits = nullptr;
  if (width > 0 && height > 0) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down: row 0 is the top row
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* memory = nullptr;
    dib.Reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0));
    if (!dib) throw EOutOfResources("Out of system resources");
    bits = static_cast<uint8_t*>(memory);
    int stride = (width * 3 + 3) & ~3;
    std::memset(bits, 0, size_t(stride) * size_t(height));
    if (bits_) {
      ::GdiFlush();
      int rows = std::min(height, height_);
      size_t bytes = size_t(std::min(width, width_)) * 3;
      for (int y = 0; y < rows; ++y)
        std::memcpy(bits + size_t(stride) * y, bits_ + size_t(Stride()) * y, bytes);
    }
  }
  Canvas(); // the memory DC exists from here on
  if (dib) {
    HGDIOBJ previous = ::SelectObject(dc_.Get(), dib.Get());
    if (!dib_) oldBitmap_ = previous;
  } else if (dib_) {
    ::SelectObject(dc_.Get(), oldBitmap_);
  }
  dib_ = std::move(dib);
  bits_ = bits;
  width_ = width;
  height_ = height;
}

void* TBitmap::ScanLine(int y) {
  if (y < 0 || y >= height_) throw EInvalidOperation("Scan line index out of range");
  return bits_ + size_t(Stride()) * size_t(y);
}

const void* TBitmap::ScanLine(int y) const {
  return const_cast<TBitmap*>(this)->ScanLine(y);
}

TColor TBitmap::Pixel(int x, int y) const {
  if (x < 0 || x >= width_ || y < 0 || y >= height_) return clNone;
  ::GdiFlush();
  const uint8_t* p = static_cast<const uint8_t*>(ScanLine(y)) + 3 * x;
  return RGBColor(p[2], p[1], p[0]);
}

void TBitmap::SetPixel(int x, int y, TColor color) {
  if (x < 0 || x >= width_ || y < 0 || y >= height_) return;
  ::GdiFlush();
  TColor rgb = ColorToRGB(color);
  uint8_t* p = static_cast<uint8_t*>(ScanLine(y)) + 3 * x;
  p[0] = ColorB(rgb);
  p[1] = ColorG(rgb);
  p[2] = ColorR(rgb);
}

void TBitmap::Fill(TColor color) {
  if (Empty()) return;
  TColor rgb = ColorToRGB(color);
  ::GdiFlush();
  uint8_t* first = bits_;
  for (int x = 0; x < width_; ++x) {
    first[3 * x] = ColorB(rgb);
    first[3 * x + 1] = ColorG(rgb);
    first[3 * x + 2] = ColorR(rgb);
  }
  for (int y = 1; y < height_; ++y)
    std::memcpy(bits_ + size_t(Stride()) * y, first, size_t(width_) * 3);
}

TCanvas& TBitmap::Canvas() const {
  if (!dc_) dc_.Reset(::CreateCompatibleDC(nullptr));
  if (!canvas_) canvas_ = std::make_unique<TCanvas>(dc_.Get());
  return *canvas_;
}

TColor TBitmap::TransparentColor() const {
  if (transparentColor_ != clNone) return transparentColor_;
  return Empty() ? clNone : Pixel(0, height_ - 1);
}

TGdiObject TBitmap::CopyHandle() const {
  if (Empty()) return TGdiObject();
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width_;
  info.bmiHeader.biHeight = -height_;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 24;
  info.bmiHeader.biCompression = BI_RGB;
  void* memory = nullptr;
  TGdiObject copy(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &memory, nullptr, 0));
  if (!copy) throw EOutOfResources("Out of system resources");
  ::GdiFlush();
  std::memcpy(memory, bits_, size_t(Stride()) * size_t(height_));
  return copy;
}

void TBitmap::Assign(const TBitmap& source) {
  if (&source == this) return;
  SetSize(source.width_, source.height_);
  ::GdiFlush();
  if (!Empty()) std::memcpy(bits_, source.bits_, size_t(Stride()) * size_t(height_));
  transparent_ = source.transparent_;
  transparentColor_ = source.transparentColor_;
}

void TBitmap::LoadFromHandle(HBITMAP source) {
  BITMAP info{};
  ::GetObjectW(source, sizeof info, &info);
  SetSize(info.bmWidth, std::abs(info.bmHeight));
  if (Empty()) return;
  TMemoryDC sourceDc(::CreateCompatibleDC(nullptr));
  TScopedSelect select(sourceDc.Get(), source);
  ::BitBlt(Canvas().Handle(), 0, 0, width_, height_, sourceDc.Get(), 0, 0, SRCCOPY);
  ::GdiFlush();
}

void TBitmap::LoadFromResource(const std::wstring& name) {
  TGdiObject loaded(::LoadImageW(::GetModuleHandleW(nullptr), name.c_str(), IMAGE_BITMAP, 0, 0,
                                 LR_CREATEDIBSECTION));
  if (!loaded) throw EResNotFound("Resource " + WideToAnsi(name) + " not found");
  LoadFromHandle(static_cast<HBITMAP>(loaded.Get()));
}

void TBitmap::LoadFromFile(const std::wstring& path) {
  TGdiObject loaded(::LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0,
                                 LR_LOADFROMFILE | LR_CREATEDIBSECTION));
  if (!loaded) throw EOSError("Cannot open file \"" + WideToAnsi(path) + "\"");
  LoadFromHandle(static_cast<HBITMAP>(loaded.Get()));
}

void TBitmap::SaveToFile(const std::wstring& path) const {
  // Written bottom-up, the form every reader of .bmp files understands.
  const int stride = Stride();
  const DWORD imageSize = DWORD(stride) * DWORD(height_);
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER header{};
  file.bfType = 0x4D42; // "BM"
  file.bfOffBits = sizeof file + sizeof header;
  file.bfSize = file.bfOffBits + imageSize;
  header.biSize = sizeof header;
  header.biWidth = width_;
  header.biHeight = height_;
  header.biPlanes = 1;
  header.biBitCount = 24;
  header.biCompression = BI_RGB;
  header.biSizeImage = imageSize;
  std::vector<uint8_t> data(file.bfSize);
  std::memcpy(data.data(), &file, sizeof file);
  std::memcpy(data.data() + sizeof file, &header, sizeof header);
  ::GdiFlush();
  for (int y = 0; y < height_; ++y)
    std::memcpy(data.data() + file.bfOffBits + size_t(stride) * (height_ - 1 - y),
                bits_ + size_t(stride) * y, size_t(stride));
  TFileHandle out(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  if (!out || !::WriteFile(out.Get(), data.data(), DWORD(data.size()), &written, nullptr) ||
      written != data.size())
    throw EOSError("Cannot create file \"" + WideToAnsi(path) + "\"");
}
