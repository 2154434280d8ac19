#pragma once
#include <windows.h>

#include <commctrl.h>

#include <utility>

// Move-only owners for OS handles: each closes its handle on every path.
template <typename H, typename Traits> class TUniqueHandle {
public:
  TUniqueHandle() = default;
  explicit TUniqueHandle(H h) : h_(h) {}
  TUniqueHandle(const TUniqueHandle&) = delete;
  TUniqueHandle& operator=(const TUniqueHandle&) = delete;
  TUniqueHandle(TUniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Traits::Invalid())) {}
  TUniqueHandle& operator=(TUniqueHandle&& o) noexcept {
    if (this != &o) Reset(std::exchange(o.h_, Traits::Invalid()));
    return *this;
  }
  ~TUniqueHandle() { Reset(); }

  H Get() const { return h_; }
  bool Valid() const { return h_ != Traits::Invalid(); }
  explicit operator bool() const { return Valid(); }
  H Release() { return std::exchange(h_, Traits::Invalid()); }
  void Reset(H h = Traits::Invalid()) {
    if (Valid()) Traits::Close(h_);
    h_ = h;
  }

private:
  H h_ = Traits::Invalid();
};

struct TKernelHandleTraits {
  static HANDLE Invalid() { return nullptr; }
  static void Close(HANDLE h) { ::CloseHandle(h); }
};
// CreateFile and CreateToolhelp32Snapshot answer INVALID_HANDLE_VALUE on failure.
struct TFileHandleTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::CloseHandle(h); }
};
struct TFindHandleTraits {
  static HANDLE Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(HANDLE h) { ::FindClose(h); }
};
struct TRegKeyTraits {
  static HKEY Invalid() { return nullptr; }
  static void Close(HKEY h) { ::RegCloseKey(h); }
};
struct TModuleTraits {
  static HMODULE Invalid() { return nullptr; }
  static void Close(HMODULE h) { ::FreeLibrary(h); }
};
struct TGdiObjectTraits {
  static HGDIOBJ Invalid() { return nullptr; }
  static void Close(HGDIOBJ h) { ::DeleteObject(h); }
};
struct TMemoryDCTraits {
  static HDC Invalid() { return nullptr; }
  static void Close(HDC h) { ::DeleteDC(h); }
};
struct TWindowTraits {
  static HWND Invalid() { return nullptr; }
  static void Close(HWND h) { ::DestroyWindow(h); }
};

struct TMenuTraits {
  static HMENU Invalid() { return nullptr; }
  static void Close(HMENU h) { ::DestroyMenu(h); }
};
struct TImageListTraits {
  static HIMAGELIST Invalid() { return nullptr; }
  static void Close(HIMAGELIST h) { ::ImageList_Destroy(h); }
};

using THandle = TUniqueHandle<HANDLE, TKernelHandleTraits>;
using TFileHandle = TUniqueHandle<HANDLE, TFileHandleTraits>;
using TFindHandle = TUniqueHandle<HANDLE, TFindHandleTraits>;
using TRegKey = TUniqueHandle<HKEY, TRegKeyTraits>;
using TModule = TUniqueHandle<HMODULE, TModuleTraits>;
using TGdiObject = TUniqueHandle<HGDIOBJ, TGdiObjectTraits>;
using TMemoryDC = TUniqueHandle<HDC, TMemoryDCTraits>;
using TWindowHandle = TUniqueHandle<HWND, TWindowTraits>;
using TMenuHandle = TUniqueHandle<HMENU, TMenuTraits>;
using TImageListHandle = TUniqueHandle<HIMAGELIST, TImageListTraits>;

// The DC of a window (or of the whole screen, for a null window) from GetDC, released on every
// path. Measuring text needs one.
class TWindowDC {
public:
  explicit TWindowDC(HWND window = nullptr) : window_(window), dc_(::GetDC(window)) {}
  TWindowDC(const TWindowDC&) = delete;
  TWindowDC& operator=(const TWindowDC&) = delete;
  TWindowDC(TWindowDC&& o) noexcept : window_(o.window_), dc_(std::exchange(o.dc_, nullptr)) {}
  TWindowDC& operator=(TWindowDC&& o) noexcept {
    if (this != &o) {
      Reset();
      window_ = o.window_;
      dc_ = std::exchange(o.dc_, nullptr);
    }
    return *this;
  }
  ~TWindowDC() { Reset(); }

  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }

private:
  void Reset() {
    if (dc_) ::ReleaseDC(window_, std::exchange(dc_, nullptr));
  }

  HWND window_;
  HDC dc_;
};

// The DC of one WM_PAINT from BeginPaint, ended with EndPaint on every path. It holds the
// PAINTSTRUCT that EndPaint needs, so it cannot move.
class TPaintDC {
public:
  explicit TPaintDC(HWND window) : window_(window) { dc_ = ::BeginPaint(window, &ps_); }
  TPaintDC(const TPaintDC&) = delete;
  TPaintDC& operator=(const TPaintDC&) = delete;
  ~TPaintDC() { ::EndPaint(window_, &ps_); }

  HDC Get() const { return dc_; }
  // The part of the client area to paint.
  const RECT& PaintRect() const { return ps_.rcPaint; }

private:
  HWND window_;
  PAINTSTRUCT ps_{};
  HDC dc_ = nullptr;
};

// Selects an object into a DC for one scope and puts the previous one back.
class TScopedSelect {
public:
  TScopedSelect(HDC dc, HGDIOBJ obj) : dc_(dc), old_(::SelectObject(dc, obj)) {}
  TScopedSelect(const TScopedSelect&) = delete;
  TScopedSelect& operator=(const TScopedSelect&) = delete;
  ~TScopedSelect() {
    if (old_) ::SelectObject(dc_, old_);
  }

private:
  HDC dc_;
  HGDIOBJ old_;
};

// Shifts a DC's viewport origin by (dx, dy) for one scope and puts the previous origin back.
class TScopedViewportShift {
public:
  TScopedViewportShift(HDC dc, int dx, int dy) : dc_(dc) {
    ::GetViewportOrgEx(dc_, &origin_);
    ::SetViewportOrgEx(dc_, origin_.x + dx, origin_.y + dy, nullptr);
  }
  TScopedViewportShift(const TScopedViewportShift&) = delete;
  TScopedViewportShift& operator=(const TScopedViewportShift&) = delete;
  ~TScopedViewportShift() { ::SetViewportOrgEx(dc_, origin_.x, origin_.y, nullptr); }

private:
  HDC dc_;
  POINT origin_{0, 0};
};

// Sets a variable for one scope and puts its previous value back, also when the scope is left
// by an exception.
template <typename T> class TScopedValue {
public:
  TScopedValue(T& variable, T value) : variable_(variable), old_(std::exchange(variable, value)) {}
  TScopedValue(const TScopedValue&) = delete;
  TScopedValue& operator=(const TScopedValue&) = delete;
  ~TScopedValue() { variable_ = old_; }

private:
  T& variable_;
  T old_;
};
