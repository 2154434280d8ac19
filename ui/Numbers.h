#pragma once
#include <cstdint>
#include <string>

// The program's one number module: the general number format, parsing with the system's error
// texts, rounding half to even, and the date-time texts. Everything formats and parses through
// here so that the locale's separators are honoured in one place.

// A date-time as OLE Automation keeps it: days since 1899-12-30, the fraction is the time of day.
using TDateTime = double;

// Rounds to the nearest integer, ties to even (2.5 -> 2, 3.5 -> 4).
double RoundHalfEven(double value);
// Rounds to one decimal place: divide by 0.1, round half to even, multiply by 0.1.
double RoundTo1Decimal(double value);
// RoundHalfEven, as a 32-bit integer; raises EConvertError when it does not fit.
int32_t RoundToInt(double value);

// The user's decimal separator ('.' when the locale cannot be read).
wchar_t DecimalSeparator();
// For tests: forces a decimal separator; 0 goes back to the locale's.
void SetDecimalSeparatorOverride(wchar_t separator);

// Shortest decimal text with at most 15 significant digits, no trailing zeros, the locale's
// decimal separator; an exponent only for very large or very small magnitudes.
std::wstring FloatToStrW(double value);
std::string FloatToStrA(double value);
std::wstring IntToStrW(int64_t value);
std::string IntToStrA(int64_t value);

// Parsing. The Str... forms raise EConvertError with the system's text
// ("'%s' is not a valid integer value", "'%s' is not a valid floating point value");
// the Try... forms answer false instead.
int32_t StrToInt(const std::wstring& text);
bool TryStrToInt(const std::wstring& text, int32_t& value);
int64_t StrToInt64(const std::wstring& text);
bool TryStrToInt64(const std::wstring& text, int64_t& value);
double StrToFloat(const std::wstring& text);
bool TryStrToFloat(const std::wstring& text, double& value);

// Date-time texts in the user's short date and time formats.
TDateTime Now();
std::wstring DateTimeToStr(TDateTime value);
// Raises EConvertError "'%s' is not a valid date and time".
TDateTime StrToDateTime(const std::wstring& text);
bool TryStrToDateTime(const std::wstring& text, TDateTime& value);

// Text conversions between the system code page and UTF-16.
std::wstring AnsiToWide(const std::string& text);
std::string WideToAnsi(const std::wstring& text);
