#pragma once
#include <windows.h>

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

using THandle = TUniqueHandle<HANDLE, TKernelHandleTraits>;
using TFileHandle = TUniqueHandle<HANDLE, TFileHandleTraits>;
using TFindHandle = TUniqueHandle<HANDLE, TFindHandleTraits>;
using TRegKey = TUniqueHandle<HKEY, TRegKeyTraits>;
using TModule = TUniqueHandle<HMODULE, TModuleTraits>;
using TGdiObject = TUniqueHandle<HGDIOBJ, TGdiObjectTraits>;
using TMemoryDC = TUniqueHandle<HDC, TMemoryDCTraits>;
using TWindowHandle = TUniqueHandle<HWND, TWindowTraits>;

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
