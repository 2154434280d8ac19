#pragma once
#include <cstdint>

// The arithmetic of scrolling, kept apart from any window so that it can be checked alone.

enum TScrollBarKind : uint8_t { sbHorizontal, sbVertical };

// The kind of the last scroll message a bar received.
enum TScrollMessageKind : uint8_t { smNone, smLine, smPage, smThumb, smTopBottom };

// The kind of a scroll message code (SB_LINEUP ... SB_ENDSCROLL).
TScrollMessageKind ScrollMessageKindOf(int code);

// Where a scroll message code moves a bar at position with the given line and page steps,
// Max and thumb track position; false for a code that does not move it (end-scroll). The
// result is clamped: never below 0, and a position beyond max - pageSize becomes
// max - pageSize + 1.
bool ScrollMessageTarget(int code, int position, int smallChange, int largeChange, int max,
                         int pageSize, int trackPosition, int& target);

// The position a scroll bar keeps for a requested value: within min and max, never below 0.
int LimitScrollPosition(int value, int min, int max);

// What one wheel notch asks for: a scroll message code (SB_LINEUP and the like) for a bar, or
// nothing when no bar can move.
struct TWheelStep {
  bool Scrolls = false;
  TScrollBarKind Bar = sbVertical;
  int Code = 0;
};

struct TWheelBars {
  int VertMax = 0;
  int VertPosition = 0;
  bool VertVisible = false;
  int HorzMax = 0;
  // The report style may fall back to the horizontal bar; slides never do.
  bool Report = true;
};

TWheelStep WheelStep(bool down, bool ctrl, const TWheelBars& bars);

// Roll mode: the pointer's vertical distance from the anchor picks the direction, with a dead
// zone of 5 pixels either way, and the timer interval (closer to the anchor is slower).
enum TRollDirection : uint8_t { rdNone, rdUp, rdDown };
constexpr int kRollDeadZone = 5;
TRollDirection RollDirectionOf(int dy);
int RollInterval(int dy);
