#include "ui/Color.h"
#include "ui/Set.h"

#include <windows.h>

#include <gtest/gtest.h>

namespace {
enum TOpt : uint8_t { oA, oB, oC, oD };
}

TEST(SetTest, BitNIsTheNthValueAndRoundTripsThroughItsInteger) {
  TSet<TOpt> s{oB, oD};
  EXPECT_EQ(s.ToInt(), 0b1010u);
  EXPECT_TRUE(s.Contains(oB));
  EXPECT_FALSE(s.Contains(oA));
  EXPECT_EQ(TSet<TOpt>::FromInt(10), s);
  s.Exclude(oB).Include(oA);
  EXPECT_EQ(s.ToInt(), 0b1001u);
  EXPECT_EQ((s + TSet<TOpt>{oC}).ToInt(), 0b1101u);
  EXPECT_EQ((s - TSet<TOpt>{oA}).ToInt(), 0b1000u);
}

TEST(ColorTest, SystemColoursResolveAndPlainColoursPass) {
  EXPECT_EQ(ColorToRGB(clBtnFace), GetSysColor(COLOR_BTNFACE));
  EXPECT_EQ(ColorToRGB(clHighlight), GetSysColor(COLOR_HIGHLIGHT));
  EXPECT_EQ(ColorToRGB(0x123456), 0x123456u);
  EXPECT_EQ(ColorR(0x123456), 0x56);
  EXPECT_EQ(ColorB(0x123456), 0x12);
}
