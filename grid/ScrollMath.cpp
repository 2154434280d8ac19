#include "grid/ScrollMath.h"

#include <windows.h>

#include <cstdlib>

TScrollMessageKind ScrollMessageKindOf(int code) {
  switch (code) {
  case SB_LINEUP:
  case SB_LINEDOWN:
    return smLine;
  case SB_PAGEUP:
  case SB_PAGEDOWN:
    return smPage;
  case SB_THUMBPOSITION:
  case SB_THUMBTRACK:
    return smThumb;
  case SB_TOP:
  case SB_BOTTOM:
    return smTopBottom;
  default:
    return smNone;
  }
}

bool ScrollMessageTarget(int code, int position, int smallChange, int largeChange, int max,
                         int pageSize, int trackPosition, int& target) {
  switch (code) {
  case SB_LINEUP:
    target = position - smallChange;
    break;
  case SB_LINEDOWN:
    target = position + smallChange;
    break;
  case SB_PAGEUP:
    target = position - largeChange;
    break;
  case SB_PAGEDOWN:
    target = position + largeChange;
    break;
  case SB_THUMBPOSITION:
  case SB_THUMBTRACK:
    target = trackPosition;
    break;
  case SB_TOP:
    target = 0;
    break;
  case SB_BOTTOM:
    target = max;
    break;
  default:
    return false;
  }
  if (target < 0) target = 0;
  if (target > max - pageSize) target = max - pageSize + 1;
  return true;
}

int LimitScrollPosition(int value, int min, int max) {
  if (value > max) value = max;
  if (value < min) value = min;
  return value < 0 ? 0 : value;
}

TWheelStep WheelStep(bool down, bool ctrl, const TWheelBars& bars) {
  TWheelStep step;
  const bool vertical =
      down ? bars.VertMax > 0 && bars.VertPosition < bars.VertMax : bars.VertMax > 0;
  if (vertical) {
    step.Scrolls = true;
    step.Bar = sbVertical;
    step.Code = down ? (ctrl ? SB_PAGEDOWN : SB_LINEDOWN) : (ctrl ? SB_PAGEUP : SB_LINEUP);
    return step;
  }
  // Down moves sideways only while the vertical bar is hidden; up whenever it cannot move.
  const bool horizontal = bars.Report && bars.HorzMax > 0 && (!down || !bars.VertVisible);
  if (horizontal) {
    step.Scrolls = true;
    step.Bar = sbHorizontal;
    step.Code = down ? (ctrl ? SB_PAGERIGHT : SB_LINERIGHT) : (ctrl ? SB_PAGELEFT : SB_LINELEFT);
  }
  return step;
}

TRollDirection RollDirectionOf(int dy) {
  if (dy < -kRollDeadZone) return rdUp;
  if (dy > kRollDeadZone) return rdDown;
  return rdNone;
}

int RollInterval(int dy) {
  const int interval = 100 - std::abs(dy);
  return interval < 1 ? 1 : interval;
}
