#include "main/SizeTexts.h"

#include "DecimalSeparatorPin.h"

#include <gtest/gtest.h>

TEST(SizeTextsTest, FileSizeUnitsByStrictComparisonWithOneDecimal) {
  TDecimalSeparatorPin point(L'.');
  const struct {
    uint64_t bytes;
    const wchar_t* text;
  } cases[] = {
      {0, L"0 B"},
      {1, L"1 B"},
      {1024, L"1024 B"},
      {1025, L"1 KB"},
      {1536, L"1.5 KB"},
      // 1.25 KB lies on a tie: half to even keeps 1.2, half up would say 1.3.
      {1280, L"1.2 KB"},
      {3840, L"3.8 KB"},
      {1048576, L"1024 KB"},
      {1048577, L"1 MB"},
      {5000000, L"4.8 MB"},
      {123456789, L"117.7 MB"},
      {1073741824, L"1024 MB"},
      {1073741825, L"1 GB"},
      {5368709120ull, L"5 GB"},
      {1099511627776ull * 3, L"3072 GB"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FileSizeText(c.bytes), c.text) << c.bytes;
}

TEST(SizeTextsTest, RealSizeIsPlainDigitsAndMegabytesRoundToOneDecimal) {
  TDecimalSeparatorPin point(L'.');
  EXPECT_EQ(RealSizeText(0), L"0");
  EXPECT_EQ(RealSizeText(1536), L"1536");
  EXPECT_EQ(RealSizeText(5368709120ull), L"5368709120");
  EXPECT_EQ(RealSizeText(999999999999999ull), L"999999999999999");

  EXPECT_EQ(MegabytesText(0), L"0");
  EXPECT_EQ(MegabytesText(100), L"0");
  EXPECT_EQ(MegabytesText(1.5 * 1048576), L"1.5");
  EXPECT_EQ(MegabytesText(12.3 * 1048576), L"12.3");
  EXPECT_EQ(MegabytesText(0.25 * 1048576), L"0.2");
}

TEST(SizeTextsTest, DecimalSeparatorFollowsTheLocale) {
  TDecimalSeparatorPin comma(L',');
  EXPECT_EQ(FileSizeText(1536), L"1,5 KB");
  EXPECT_EQ(MegabytesText(12.3 * 1048576), L"12,3");
  EXPECT_EQ(RealSizeText(1536), L"1536");
}
