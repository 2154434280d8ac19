#include "ui/Exception.h"
#include "ui/Numbers.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// Every test here picks its separator, so the prefix's locale does not decide the outcome.
class NumbersTest : public ::testing::Test {
protected:
  void SetUp() override { SetDecimalSeparatorOverride(L'.'); }
  void TearDown() override { SetDecimalSeparatorOverride(0); }
};

std::string ErrorOf(void (*call)()) {
  try {
    call();
  } catch (const EConvertError& e) {
    return e.Message();
  }
  return "no error";
}

} // namespace

TEST_F(NumbersTest, GeneralFormatGivesTheShortestTextOfFifteenDigits) {
  const struct {
    double value;
    const wchar_t* text;
  } cases[] = {
      {0, L"0"},
      {-0.0, L"0"},
      {1.5, L"1.5"},
      {117.7, L"117.7"},
      {1024, L"1024"},
      {5368709120.0, L"5368709120"},
      {0.1 + 0.2, L"0.3"},
      {-2.25, L"-2.25"},
      {-1024, L"-1024"},
      {1.0 / 3, L"0.333333333333333"},
      {2.0 / 3, L"0.666666666666667"},
      {123456789012345.0, L"123456789012345"},
      {999999999999999.0, L"999999999999999"},
      {1e15, L"1E15"},
      {1234567890123456789.0, L"1.23456789012346E18"},
      {0.0001, L"0.0001"},
      {0.00012, L"0.00012"},
      {0.00001, L"1E-5"},
      {-1.5e-7, L"-1.5E-7"},
      {1e300, L"1E300"},
      {100, L"100"},
      {0.5, L"0.5"},
      {117.7 * 3, L"353.1"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(FloatToStrW(c.value), c.text) << c.value;
  EXPECT_EQ(FloatToStrA(1.5), "1.5");
  EXPECT_EQ(FloatToStrW(std::numeric_limits<double>::infinity()), L"INF");
}

TEST_F(NumbersTest, TheDecimalSeparatorIsTheLocalesOne) {
  SetDecimalSeparatorOverride(L',');
  EXPECT_EQ(FloatToStrW(1.5), L"1,5");
  EXPECT_EQ(FloatToStrW(117.7), L"117,7");
  EXPECT_EQ(FloatToStrW(1.5e-7), L"1,5E-7");
  EXPECT_EQ(FloatToStrW(1024), L"1024");
  EXPECT_DOUBLE_EQ(StrToFloat(L"117,7"), 117.7);
  double v;
  EXPECT_FALSE(TryStrToFloat(L"117.7", v)) << "a point is no separator in a comma locale";

  SetDecimalSeparatorOverride(0);
  wchar_t locale[8] = {};
  ASSERT_GT(GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, locale, 8), 0);
  EXPECT_EQ(DecimalSeparator(), locale[0]);
}

TEST_F(NumbersTest, IntegersParseWithOptionalSignAndReportBadTextInTheSystemsWords) {
  EXPECT_EQ(StrToInt(L"0"), 0);
  EXPECT_EQ(StrToInt(L"-17"), -17);
  EXPECT_EQ(StrToInt(L"+42"), 42);
  EXPECT_EQ(StrToInt(L"  7"), 7);
  EXPECT_EQ(StrToInt(L"2147483647"), 2147483647);
  EXPECT_EQ(StrToInt(L"-2147483648"), -2147483647 - 1);
  EXPECT_EQ(StrToInt64(L"5368709120"), 5368709120LL);
  EXPECT_EQ(StrToInt64(L"-9223372036854775808"), std::numeric_limits<int64_t>::min());
  int32_t i;
  int64_t j;
  for (const wchar_t* bad : {L"", L"-", L"12a", L"1.5", L"7 ", L"2147483648", L"1 2", L"0x10"})
    EXPECT_FALSE(TryStrToInt(bad, i)) << bad;
  EXPECT_FALSE(TryStrToInt64(L"9223372036854775808", j));
  EXPECT_EQ(ErrorOf([] { StrToInt(L"abc"); }), "'abc' is not a valid integer value");
  EXPECT_EQ(ErrorOf([] { StrToInt64(L""); }), "'' is not a valid integer value");
  EXPECT_EQ(IntToStrW(-5368709120LL), L"-5368709120");
  EXPECT_EQ(IntToStrA(1024), "1024");
}

TEST_F(NumbersTest, FloatsParseWithBlanksAroundAndExponents) {
  const struct {
    const wchar_t* text;
    double value;
  } good[] = {{L"1.5", 1.5},  {L" 117.7 ", 117.7}, {L"-2", -2},   {L"+.5", 0.5},   {L"5.", 5},
              {L"1E3", 1000}, {L"2.5e-2", 0.025},  {L"0.1", 0.1}, {L"1e-400", 0.0}};
  for (const auto& c : good)
    EXPECT_EQ(StrToFloat(c.text), c.value) << c.text;
  double v;
  for (const wchar_t* bad : {L"", L" ", L".", L"1.2.3", L"1,5", L"1e", L"e5", L"abc", L"1 000",
                             L"INF", L"NAN", L"1e400", L"--1"})
    EXPECT_FALSE(TryStrToFloat(bad, v)) << bad;
  EXPECT_EQ(ErrorOf([] { StrToFloat(L"12x"); }), "'12x' is not a valid floating point value");
  // What is written reads back to the same value.
  for (double x : {117.7, 0.3, 5368709120.0, -1.25e-9, 1e20})
    EXPECT_DOUBLE_EQ(StrToFloat(FloatToStrW(x)), x);
}

TEST_F(NumbersTest, RoundingTiesGoToEven) {
  const struct {
    double value, rounded;
  } cases[] = {{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {0.5, 0},    {1.5, 2},
               {2.4, 2}, {2.6, 3}, {-2.6, -3}, {0, 0},     {1e17, 1e17}};
  for (const auto& c : cases)
    EXPECT_EQ(RoundHalfEven(c.value), c.rounded) << c.value;
  const struct {
    double value;
    const wchar_t* text;
  } tenths[] = {{117.73, L"117.7"}, {117.75, L"117.8"}, {0.25, L"0.2"},   {0.35, L"0.3"},
                {1023.96, L"1024"}, {0.04, L"0"},       {-1.25, L"-1.2"}, {5120.0 / 1024, L"5"}};
  for (const auto& c : tenths)
    EXPECT_EQ(FloatToStrW(RoundTo1Decimal(c.value)), c.text) << c.value;
  EXPECT_EQ(RoundToInt(2.5), 2);
  EXPECT_EQ(RoundToInt(-7.5), -8);
  EXPECT_THROW(RoundToInt(3e9), EConvertError);
}

TEST_F(NumbersTest, DateTimesUseTheLocalesFormatsAndReadBack) {
  SYSTEMTIME st{};
  st.wYear = 2024;
  st.wMonth = 2;
  st.wDay = 29;
  st.wDayOfWeek = 4;
  wchar_t date[64], time[64];
  GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, date, 64);
  // 2024-02-29 is day 45351 of the floating date.
  EXPECT_EQ(DateTimeToStr(45351.0), date) << "midnight shows the date alone";
  st.wHour = 13;
  st.wMinute = 5;
  st.wSecond = 9;
  GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &st, nullptr, time, 64);
  TDateTime afternoon = 45351.0 + (13 * 3600 + 5 * 60 + 9) / 86400.0;
  EXPECT_EQ(DateTimeToStr(afternoon), std::wstring(date) + L" " + time);

  for (TDateTime v : {45351.0, afternoon, 36526.5, 2.0, 2958465.0})
    EXPECT_NEAR(StrToDateTime(DateTimeToStr(v)), v, 1e-9) << v;
  // Day zero lies before the system formatter's calendar and still has a text.
  EXPECT_NEAR(StrToDateTime(DateTimeToStr(0.0)), 0.0, 1e-9);

  TDateTime now = Now();
  EXPECT_GT(now, 45000.0);
  EXPECT_LT(std::fabs(StrToDateTime(DateTimeToStr(now)) - now), 1.0 / 86400);

  TDateTime v;
  for (const wchar_t* bad : {L"", L"hello", L"99/99/2024", L"2/30/2024 x", L"25:00"})
    EXPECT_FALSE(TryStrToDateTime(bad, v)) << bad;
  try {
    StrToDateTime(L"not a date");
    ADD_FAILURE();
  } catch (const EConvertError& e) {
    EXPECT_EQ(e.Message(), "'not a date' is not a valid date and time");
  }
}

TEST_F(NumbersTest, AnsiTextsConvertThroughTheSystemCodePage) {
  EXPECT_EQ(AnsiToWide("C:\\Temp\\a.txt"), L"C:\\Temp\\a.txt");
  EXPECT_EQ(WideToAnsi(L"Recycle Bin"), "Recycle Bin");
  EXPECT_EQ(AnsiToWide(""), L"");
  std::string bytes = "caf\xE9";
  EXPECT_EQ(WideToAnsi(AnsiToWide(bytes)), bytes);
  EXPECT_EQ(AnsiToWide(bytes).size(), 4u);
}
