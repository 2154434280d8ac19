#pragma once
#include "ui/Canvas.h"
#include "ui/Color.h"
#include "ui/Handles.h"

#include <windows.h>

#include <memory>
#include <string>

// A 24-bit top-down DIB section with its own memory DC and canvas. Row y starts at ScanLine(y):
// 3 bytes per pixel in the order blue, green, red, each row padded to a multiple of 4 bytes.
// GDI drawing through Canvas() may be batched: call ::GdiFlush() before touching rows after
// drawing (the Pixel helpers do it themselves).
class TBitmap {
public:
  TBitmap() = default;
  TBitmap(int width, int height);
  TBitmap(const TBitmap&) = delete;
  TBitmap& operator=(const TBitmap&) = delete;
  ~TBitmap();

  int Width() const { return width_; }
  int Height() const { return height_; }
  // Resizes; the overlapping part keeps its pixels, new pixels are black (zero).
  void SetSize(int width, int height);
  void SetWidth(int width) { SetSize(width, height_); }
  void SetHeight(int height) { SetSize(width_, height); }
  bool Empty() const { return width_ <= 0 || height_ <= 0; }

  // Bytes from one row to the next.
  int Stride() const { return (width_ * 3 + 3) & ~3; }
  void* ScanLine(int y);
  const void* ScanLine(int y) const;

  TColor Pixel(int x, int y) const;
  void SetPixel(int x, int y, TColor color);
  // Paints every pixel in one colour.
  void Fill(TColor color);

  // The canvas over the bitmap's memory DC. Drawing from a const bitmap needs its DC too, so
  // the canvas is reachable from one.
  TCanvas& Canvas() const;
  HBITMAP Handle() const { return static_cast<HBITMAP>(dib_.Get()); }
  // A new DIB section with a copy of the pixels, selected into no DC (for APIs that select
  // the bitmap themselves, such as image lists).
  TGdiObject CopyHandle() const;

  // Pixels of TransparentColor are left out when the bitmap is drawn on a canvas while
  // Transparent is set. clNone (the default) picks the bottom-left pixel's colour.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool transparent) { transparent_ = transparent; }
  TColor TransparentColor() const;
  void SetTransparentColor(TColor color) { transparentColor_ = color; }

  // Copies size, pixels and transparency of source.
  void Assign(const TBitmap& source);
  // Loads a BITMAP resource of the program (raises EResNotFound when there is none).
  void LoadFromResource(const std::wstring& name);
  // Loads a .bmp file (raises EOSError when it cannot be read).
  void LoadFromFile(const std::wstring& path);
  // Writes a 24-bit .bmp file (raises EOSError when it cannot be written).
  void SaveToFile(const std::wstring& path) const;

private:
  void LoadFromHandle(HBITMAP source);

  int width_ = 0, height_ = 0;
  uint8_t* bits_ = nullptr;
  TGdiObject dib_;
  mutable TMemoryDC dc_;
  mutable std::unique_ptr<TCanvas> canvas_;
  mutable HGDIOBJ oldBitmap_ = nullptr;
  bool transparent_ = false;
  TColor transparentColor_ = clNone;
};
