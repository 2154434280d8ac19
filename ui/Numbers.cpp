#include "ui/Numbers.h"

#include "ui/Exception.h"

#include <windows.h>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <vector>

namespace {

wchar_t separatorOverride = 0;

std::wstring LocaleText(LCTYPE type, const wchar_t* fallback) {
  wchar_t buffer[128];
  int n = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 128);
  if (n <= 1) return fallback;
  return std::wstring(buffer, static_cast<size_t>(n - 1));
}

std::string ErrorText(const char* pattern, const std::wstring& text) {
  std::string narrow = WideToAnsi(text);
  std::vector<char> buffer(narrow.size() + 64);
  std::snprintf(buffer.data(), buffer.size(), pattern, narrow.c_str());
  return buffer.data();
}

bool IsBlank(wchar_t c) {
  return c == L' ' || c == L'\t';
}

} // namespace

double RoundHalfEven(double value) {
  if (!std::isfinite(value)) return value;
  double lower = std::floor(value);
  double fraction = value - lower;
  if (fraction > 0.5) return lower + 1;
  if (fraction < 0.5) return lower;
  return std::fmod(lower, 2.0) == 0 ? lower : lower + 1;
}

double RoundTo1Decimal(double value) {
  return RoundHalfEven(value / 0.1) * 0.1;
}

int32_t RoundToInt(double value) {
  double r = RoundHalfEven(value);
  if (!(r >= std::numeric_limits<int32_t>::min() && r <= std::numeric_limits<int32_t>::max()))
    throw EConvertError(ErrorText("'%s' is not a valid integer value", FloatToStrW(value)));
  return static_cast<int32_t>(r);
}

wchar_t DecimalSeparator() {
  if (separatorOverride) return separatorOverride;
  // Read once: formatting runs per grid row, and asking the locale each time would cost.
  static const wchar_t fromLocale = [] {
    std::wstring s = LocaleText(LOCALE_SDECIMAL, L".");
    return s.empty() ? L'.' : s[0];
  }();
  return fromLocale;
}

void SetDecimalSeparatorOverride(wchar_t separator) {
  separatorOverride = separator;
}

std::wstring FloatToStrW(double value) {
  if (std::isnan(value)) return L"NAN";
  if (std::isinf(value)) return value > 0 ? L"INF" : L"-INF";
  if (value == 0) return L"0";

  // Fifteen significant digits, correctly rounded from the binary value; this is what turns
  // 0.1 + 0.2 into 0.3.
  char buffer[64];
  auto res =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14);
  std::string text(buffer, res.ptr);
  bool negative = text[0] == '-';
  if (negative) text.erase(0, 1);
  size_t e = text.find('e');
  int exponent = std::atoi(text.c_str() + e + 1);
  std::string digits;
  for (size_t i = 0; i < e; ++i)
    if (text[i] != '.') digits += text[i];
  while (digits.size() > 1 && digits.back() == '0')
    digits.pop_back();

  // Position of the decimal point relative to the first digit: 1 for 1.5, 0 for 0.5.
  int point = exponent + 1;
  wchar_t sep = DecimalSeparator();
  std::wstring out = negative ? L"-" : L"";
  if (point > 15 || point < -3) {
    out += static_cast<wchar_t>(digits[0]);
    if (digits.size() > 1) {
      out += sep;
      for (size_t i = 1; i < digits.size(); ++i)
        out += static_cast<wchar_t>(digits[i]);
    }
    out += L'E';
    if (exponent < 0) out += L'-';
    out += std::to_wstring(std::abs(exponent));
    return out;
  }
  if (point <= 0) {
    out += L'0';
    out += sep;
    out.append(static_cast<size_t>(-point), L'0');
    for (char c : digits)
      out += static_cast<wchar_t>(c);
    return out;
  }
  for (int i = 0; i < point; ++i)
    out += i < static_cast<int>(digits.size()) ? static_cast<wchar_t>(digits[i]) : L'0';
  if (static_cast<int>(digits.size()) > point) {
    out += sep;
    for (size_t i = static_cast<size_t>(point); i < digits.size(); ++i)
      out += static_cast<wchar_t>(digits[i]);
  }
  return out;
}

std::string FloatToStrA(double value) {
  return WideToAnsi(FloatToStrW(value));
}

std::wstring IntToStrW(int64_t value) {
  return std::to_wstring(value);
}
std::string IntToStrA(int64_t value) {
  return std::to_string(value);
}

bool TryStrToInt64(const std::wstring& text, int64_t& value) {
  // Leading blanks, an optional sign, decimal digits, and nothing after them.
  size_t i = 0;
  while (i < text.size() && IsBlank(text[i]))
    ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == L'+' || text[i] == L'-')) negative = text[i++] == L'-';
  if (i == text.size()) return false;
  uint64_t magnitude = 0;
  const uint64_t limit = negative ? uint64_t(1) << 63 : (uint64_t(1) << 63) - 1;
  for (; i < text.size(); ++i) {
    wchar_t c = text[i];
    if (c < L'0' || c > L'9') return false;
    unsigned digit = static_cast<unsigned>(c - L'0');
    if (magnitude > (limit - digit) / 10) return false;
    magnitude = magnitude * 10 + digit;
  }
  value = negative ? static_cast<int64_t>(0 - magnitude) : static_cast<int64_t>(magnitude);
  return true;
}

int64_t StrToInt64(const std::wstring& text) {
  int64_t value;
  if (!TryStrToInt64(text, value))
    throw EConvertError(ErrorText("'%s' is not a valid integer value", text));
  return value;
}

bool TryStrToInt(const std::wstring& text, int32_t& value) {
  int64_t wide;
  if (!TryStrToInt64(text, wide) || wide < std::numeric_limits<int32_t>::min() ||
      wide > std::numeric_limits<int32_t>::max())
    return false;
  value = static_cast<int32_t>(wide);
  return true;
}

int32_t StrToInt(const std::wstring& text) {
  int32_t value;
  if (!TryStrToInt(text, value))
    throw EConvertError(ErrorText("'%s' is not a valid integer value", text));
  return value;
}

bool TryStrToFloat(const std::wstring& text, double& value) {
  // Blanks around the number, an optional sign, digits with at most one decimal separator (the
  // locale's, no other), an optional exponent. No thousands separators, no INF/NAN words.
  size_t begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin]))
    ++begin;
  while (end > begin && IsBlank(text[end - 1]))
    --end;
  wchar_t sep = DecimalSeparator();
  std::string plain;
  size_t i = begin;
  if (i < end && (text[i] == L'+' || text[i] == L'-')) {
    if (text[i] == L'-') plain += '-';
    ++i;
  }
  int mantissaDigits = 0;
  bool seenSeparator = false;
  for (; i < end; ++i) {
    wchar_t c = text[i];
    if (c >= L'0' && c <= L'9') {
      plain += static_cast<char>(c);
      ++mantissaDigits;
    } else if (c == sep && !seenSeparator) {
      plain += '.';
      seenSeparator = true;
    } else {
      break;
    }
  }
  if (mantissaDigits == 0) return false;
  if (i < end && (text[i] == L'e' || text[i] == L'E')) {
    plain += 'e';
    ++i;
    if (i < end && (text[i] == L'+' || text[i] == L'-')) plain += static_cast<char>(text[i++]);
    int exponentDigits = 0;
    for (; i < end && text[i] >= L'0' && text[i] <= L'9'; ++i, ++exponentDigits)
      plain += static_cast<char>(text[i]);
    if (exponentDigits == 0) return false;
  }
  if (i != end) return false;
  double parsed;
  auto res = std::from_chars(plain.data(), plain.data() + plain.size(), parsed);
  // An underflow reads as zero; an overflow is no valid number.
  if (res.ec == std::errc::result_out_of_range) {
    if (std::string::npos != plain.find("e-")) {
      value = 0;
      return true;
    }
    return false;
  }
  if (res.ec != std::errc() || res.ptr != plain.data() + plain.size()) return false;
  value = parsed;
  return true;
}

double StrToFloat(const std::wstring& text) {
  double value;
  if (!TryStrToFloat(text, value))
    throw EConvertError(ErrorText("'%s' is not a valid floating point value", text));
  return value;
}

std::wstring AnsiToWide(const std::string& text) {
  if (text.empty()) return {};
  int n = ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n);
  return out;
}

std::string WideToAnsi(const std::wstring& text) {
  if (text.empty()) return {};
  int n = ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), out.data(), n,
                        nullptr, nullptr);
  return out;
}
