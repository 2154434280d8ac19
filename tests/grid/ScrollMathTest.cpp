#include "grid/ColumnDisplay.h"
#include "grid/ScrollMath.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(ScrollMathTest, MessageCodesMoveThePositionAndClampBeyondTheLastPage) {
  // A bar of 100 shown rows with 10 that fit: Max 100, PageSize 11, the furthest position 90.
  struct Case {
    int code, position, track, expected;
  } cases[] = {
      {SB_LINEDOWN, 5, 0, 6},     {SB_LINEUP, 5, 0, 4},       {SB_LINEUP, 0, 0, 0},
      {SB_PAGEDOWN, 5, 0, 16},    {SB_PAGEUP, 5, 0, 0},       {SB_PAGEDOWN, 85, 0, 90},
      {SB_THUMBTRACK, 0, 40, 40}, {SB_THUMBTRACK, 0, 95, 90}, {SB_THUMBPOSITION, 0, 99, 90},
      {SB_TOP, 50, 0, 0},         {SB_BOTTOM, 0, 0, 90},      {SB_LINEDOWN, 90, 0, 90},
  };
  for (const Case& c : cases) {
    int target = -1;
    ASSERT_TRUE(ScrollMessageTarget(c.code, c.position, 1, 11, 100, 11, c.track, target));
    EXPECT_EQ(target, c.expected) << "code " << c.code << " from " << c.position;
  }
  int target = 7;
  EXPECT_FALSE(ScrollMessageTarget(SB_ENDSCROLL, 5, 1, 11, 100, 11, 0, target));
  EXPECT_EQ(target, 7);
  EXPECT_EQ(ScrollMessageKindOf(SB_LINEDOWN), smLine);
  EXPECT_EQ(ScrollMessageKindOf(SB_PAGEUP), smPage);
  EXPECT_EQ(ScrollMessageKindOf(SB_THUMBTRACK), smThumb);
  EXPECT_EQ(ScrollMessageKindOf(SB_BOTTOM), smTopBottom);
  EXPECT_EQ(ScrollMessageKindOf(SB_ENDSCROLL), smNone);
  EXPECT_EQ(LimitScrollPosition(120, 0, 100), 100);
  EXPECT_EQ(LimitScrollPosition(-3, -10, 100), 0);
}

TEST(ScrollMathTest, WheelScrollsVerticallyFirstAndFallsBackSideways) {
  struct Case {
    bool down, ctrl;
    TWheelBars bars;
    bool scrolls;
    TScrollBarKind bar;
    int code;
  } cases[] = {
      {true, false, {50, 3, true, 0, true}, true, sbVertical, SB_LINEDOWN},
      {true, true, {50, 3, true, 0, true}, true, sbVertical, SB_PAGEDOWN},
      {false, false, {50, 3, true, 0, true}, true, sbVertical, SB_LINEUP},
      {false, true, {50, 0, true, 0, true}, true, sbVertical, SB_PAGEUP},
      // Every row fits: sideways when the horizontal bar is needed.
      {true, false, {0, 0, false, 900, true}, true, sbHorizontal, SB_LINERIGHT},
      {true, true, {0, 0, false, 900, true}, true, sbHorizontal, SB_PAGERIGHT},
      {false, false, {0, 0, false, 900, true}, true, sbHorizontal, SB_LINELEFT},
      // At the end with the vertical bar showing: down does nothing.
      {true, false, {50, 50, true, 900, true}, false, sbVertical, 0},
      {true, false, {0, 0, false, 0, true}, false, sbVertical, 0},
      // Slides never scroll sideways.
      {true, false, {0, 0, false, 900, false}, false, sbVertical, 0},
  };
  for (const Case& c : cases) {
    const TWheelStep step = WheelStep(c.down, c.ctrl, c.bars);
    EXPECT_EQ(step.Scrolls, c.scrolls) << c.down << c.ctrl << c.bars.VertMax << c.bars.HorzMax;
    if (!c.scrolls) continue;
    EXPECT_EQ(step.Bar, c.bar);
    EXPECT_EQ(step.Code, c.code);
  }
}

TEST(ScrollMathTest, RollHasADeadZoneAndSpeedsUpWithDistance) {
  struct Case {
    int dy;
    TRollDirection direction;
    int interval;
  } cases[] = {{0, rdNone, 100}, {5, rdNone, 95}, {-5, rdNone, 95}, {6, rdDown, 94},
               {-6, rdUp, 94},   {99, rdDown, 1}, {-150, rdUp, 1}};
  for (const Case& c : cases) {
    EXPECT_EQ(RollDirectionOf(c.dy), c.direction) << c.dy;
    EXPECT_EQ(RollInterval(c.dy), c.interval) << c.dy;
  }
}

TEST(ScrollMathTest, BoxesArePlacedByAlignmentWithATwoPixelMargin) {
  const RECT cell{10, 20, 51, 37};
  struct Case {
    TAlignment h;
    TVerticalAlignment v;
    POINT at;
  } cases[] = {{taLeftJustify, taAlignTop, {12, 22}},
               {taRightJustify, taAlignBottom, {38, 24}},
               {taCenter, taVerticalCenter, {25, 23}}};
  for (const Case& c : cases) {
    const POINT at = PlaceBox(cell, 11, 11, c.h, c.v);
    EXPECT_EQ(at.x, c.at.x) << c.h;
    EXPECT_EQ(at.y, c.at.y) << c.v;
  }
  // Halves truncate toward zero, also left of the origin.
  EXPECT_EQ(PlaceBox(RECT{-9, -9, 0, 0}, 13, 13, taCenter, taVerticalCenter).x, -4 - 6);
}
