#pragma once
#include "ui/Numbers.h"

// Pins the user's decimal separator for texts with a fraction, and hands the locale's back on
// every way out of the scope, a failed assertion included: the setting is global to the program.
class TDecimalSeparatorPin {
public:
  explicit TDecimalSeparatorPin(wchar_t separator) { SetDecimalSeparatorOverride(separator); }
  ~TDecimalSeparatorPin() { SetDecimalSeparatorOverride(0); }
  TDecimalSeparatorPin(const TDecimalSeparatorPin&) = delete;
  TDecimalSeparatorPin& operator=(const TDecimalSeparatorPin&) = delete;
};
