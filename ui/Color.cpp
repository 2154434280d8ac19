#include "ui/Color.h"

#include <windows.h>

TColor ColorToRGB(TColor color) {
  if ((color & 0xFF000000u) == 0xFF000000u) return ::GetSysColor(static_cast<int>(color & 0xFF));
  return color & 0x00FFFFFFu;
}
