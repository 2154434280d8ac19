#pragma once
#include "ui/Bitmap.h"

#include <windows.h>

#include <algorithm>

// The smallest rectangle inside area holding every pixel for which ink(colour) is true (empty
// when there is none).
template <class Pred> RECT InkBox(const TBitmap& bitmap, const RECT& area, Pred ink) {
  ::GdiFlush();
  RECT box{area.right, area.bottom, area.left, area.top};
  for (int y = area.top; y < area.bottom; ++y)
    for (int x = area.left; x < area.right; ++x)
      if (ink(bitmap.Pixel(x, y)))
        box = RECT{std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                   std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
  return box;
}
