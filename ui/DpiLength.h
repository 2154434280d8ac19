#pragma once
#include "ui/Dpi.h"

#include <windows.h>

// A length an owner sets in device pixels (a column's width, the header's height): it follows
// the control to another DPI. It keeps the value as last set and the DPI it was set at, and
// every DPI's length is scaled from that, so going 96 -> 144 -> 192 -> 96 gives the set value
// again instead of gathering a rounding at each step.
class TDpiLength {
public:
  constexpr explicit TDpiLength(int value) : value_(value), origin_(value) {}
  int Get() const { return value_; }
  operator int() const { return value_; }
  // The owner (or the user) set value while the control was at dpi.
  void Set(int value, int dpi) {
    value_ = origin_ = value;
    originDpi_ = dpi;
  }
  void Rescale(int dpi) { value_ = dpi == originDpi_ ? origin_ : MulDiv(origin_, dpi, originDpi_); }

private:
  int value_;
  int origin_;
  int originDpi_ = kDesignDpi;
};
