// The date-time half of the number module (ui/Numbers.h): conversions between the floating
// date, calendar fields and the locale's short date and time texts.
#include "ui/Numbers.h"

#include "ui/Exception.h"

#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cwctype>
#include <vector>

namespace {

constexpr int64_t kMsPerDay = 86400000;
// Days from 1970-01-01 back to the floating date's day zero, 1899-12-30.
constexpr int64_t kEpochOffset = 25569;

std::wstring LocaleText(LCTYPE type, const wchar_t* fallback) {
  wchar_t buffer[128];
  int n = ::GetLocaleInfoW(LOCALE_USER_DEFAULT, type, buffer, 128);
  if (n <= 1) return fallback;
  return std::wstring(buffer, static_cast<size_t>(n - 1));
}

// Proleptic Gregorian calendar, days relative to 1970-01-01.
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
  y -= m <= 2;
  const int64_t era = (y >= 0 ? y : y - 399) / 400;
  const unsigned yoe = static_cast<unsigned>(y - era * 400);
  const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
  const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
  return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

void CivilFromDays(int64_t z, int& y, int& m, int& d) {
  z += 719468;
  const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
  const unsigned doe = static_cast<unsigned>(z - era * 146097);
  const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
  const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
  const unsigned mp = (5 * doy + 2) / 153;
  d = static_cast<int>(doy - (153 * mp + 2) / 5 + 1);
  m = static_cast<int>(mp < 10 ? mp + 3 : mp - 9);
  y = static_cast<int>(era * 400 + yoe + (m <= 2));
}

bool IsLeap(int y) {
  return (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
}
int DaysInMonth(int y, int m) {
  static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return m == 2 && IsLeap(y) ? 29 : days[m - 1];
}

// The whole days count toward zero; the fraction is the time of day whatever the sign, so
// -1.25 is 1899-12-29 06:00.
struct TParts {
  int64_t day = 0;
  int64_t ms = 0;
};

TParts Split(TDateTime value) {
  TParts p;
  double whole = std::trunc(value);
  p.day = static_cast<int64_t>(whole);
  p.ms = std::llround(std::fabs(value - whole) * kMsPerDay);
  if (p.ms >= kMsPerDay) p.ms = kMsPerDay - 1;
  return p;
}

TDateTime Join(int64_t day, int64_t ms) {
  double fraction = static_cast<double>(ms) / kMsPerDay;
  return day >= 0 ? static_cast<double>(day) + fraction : static_cast<double>(day) - fraction;
}

SYSTEMTIME ToSystemTime(const TParts& p) {
  int y, m, d;
  CivilFromDays(p.day - kEpochOffset, y, m, d);
  SYSTEMTIME st{};
  st.wYear = static_cast<WORD>(y);
  st.wMonth = static_cast<WORD>(m);
  st.wDay = static_cast<WORD>(d);
  st.wDayOfWeek = static_cast<WORD>(((p.day - kEpochOffset) % 7 + 11) % 7); // 1970-01-01: Thu
  st.wHour = static_cast<WORD>(p.ms / 3600000);
  st.wMinute = static_cast<WORD>(p.ms / 60000 % 60);
  st.wSecond = static_cast<WORD>(p.ms / 1000 % 60);
  st.wMilliseconds = static_cast<WORD>(p.ms % 1000);
  return st;
}

// The system's date formatter refuses years before 1601; there we apply the locale's short
// date picture ourselves (day, month, year and name fields, quoted literals).
std::wstring FormatDatePicture(const std::wstring& picture, const SYSTEMTIME& st) {
  std::wstring out;
  for (size_t i = 0; i < picture.size();) {
    wchar_t c = picture[i];
    if (c == L'\'') {
      size_t j = i + 1;
      for (; j < picture.size(); ++j) {
        if (picture[j] == L'\'') {
          if (j + 1 < picture.size() && picture[j + 1] == L'\'') {
            out += L'\'';
            ++j;
            continue;
          }
          break;
        }
        out += picture[j];
      }
      i = j + 1;
      continue;
    }
    size_t run = 1;
    while (i + run < picture.size() && picture[i + run] == c)
      ++run;
    wchar_t buffer[16];
    if (c == L'd') {
      if (run <= 2) {
        std::swprintf(buffer, 16, run == 1 ? L"%d" : L"%02d", st.wDay);
        out += buffer;
      } else {
        int index = (st.wDayOfWeek + 6) % 7; // the locale's day names start on Monday
        out += LocaleText((run == 3 ? LOCALE_SABBREVDAYNAME1 : LOCALE_SDAYNAME1) + index, L"");
      }
    } else if (c == L'M') {
      if (run <= 2) {
        std::swprintf(buffer, 16, run == 1 ? L"%d" : L"%02d", st.wMonth);
        out += buffer;
      } else {
        LCTYPE first = run == 3 ? LOCALE_SABBREVMONTHNAME1 : LOCALE_SMONTHNAME1;
        out += LocaleText(first + st.wMonth - 1, L"");
      }
    } else if (c == L'y') {
      if (run <= 2)
        std::swprintf(buffer, 16, run == 1 ? L"%d" : L"%02d", st.wYear % 100);
      else
        std::swprintf(buffer, 16, L"%04d", st.wYear);
      out += buffer;
    } else if (c != L'g') {
      out.append(run, c);
    }
    i += run;
  }
  return out;
}

std::wstring DateText(const SYSTEMTIME& st) {
  wchar_t buffer[128];
  if (::GetDateFormatW(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &st, nullptr, buffer, 128) > 0)
    return buffer;
  return FormatDatePicture(LocaleText(LOCALE_SSHORTDATE, L"M/d/yyyy"), st);
}

std::wstring TimeText(const SYSTEMTIME& st) {
  // The time formatter checks the whole date too, so give it one it accepts.
  SYSTEMTIME t = st;
  t.wYear = 2000;
  t.wMonth = 1;
  t.wDay = 1;
  t.wDayOfWeek = 6;
  wchar_t buffer[128];
  if (::GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &t, nullptr, buffer, 128) > 0) return buffer;
  std::swprintf(buffer, 128, L"%d:%02d:%02d", st.wHour, st.wMinute, st.wSecond);
  return buffer;
}

// Reading a date-time text: numbers in the order of the short date picture, separated by its
// date separator, then optionally a time h:mm[:ss[.zzz]] with an AM/PM designator.
class TDateTimeScanner {
public:
  explicit TDateTimeScanner(const std::wstring& text) : text_(text) {
    std::wstring picture = LocaleText(LOCALE_SSHORTDATE, L"M/d/yyyy");
    bool quoted = false;
    for (wchar_t c : picture) {
      if (c == L'\'') quoted = !quoted;
      if (quoted) continue;
      wchar_t field = c == L'd' ? L'D' : c == L'M' ? L'M' : c == L'y' ? L'Y' : 0;
      if (field && order_.find(field) == std::wstring::npos) order_ += field;
      if (!field && !dateSeparator_ && !order_.empty() && c != L'\'' && !std::iswalpha(c) &&
          c != L' ')
        dateSeparator_ = c;
    }
    if (order_.size() != 3) order_ = L"MDY";
    if (!dateSeparator_) dateSeparator_ = L'/';
    std::wstring time = LocaleText(LOCALE_STIME, L":");
    timeSeparator_ = time.empty() ? L':' : time[0];
    am_ = LocaleText(LOCALE_S1159, L"AM");
    pm_ = LocaleText(LOCALE_S2359, L"PM");
  }

  bool Scan(TDateTime& value) {
    int64_t day = 0, ms = 0;
    SkipBlanks();
    size_t start = pos_;
    bool haveDate = ScanDate(day);
    if (haveDate) {
      SkipBlanks();
      if (pos_ < text_.size() && !ScanTime(ms)) return false;
    } else {
      pos_ = start;
      if (!ScanTime(ms)) return false;
    }
    SkipBlanks();
    if (pos_ != text_.size()) return false;
    value = Join(day, ms);
    return true;
  }

private:
  void SkipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == L' ' || text_[pos_] == L'\t'))
      ++pos_;
  }

  bool Number(int& value, int& digits) {
    value = 0;
    digits = 0;
    while (pos_ < text_.size() && text_[pos_] >= L'0' && text_[pos_] <= L'9' && digits < 9) {
      value = value * 10 + (text_[pos_++] - L'0');
      ++digits;
    }
    return digits > 0;
  }

  bool Char(wchar_t c) {
    if (pos_ < text_.size() && text_[pos_] == c) {
      ++pos_;
      return true;
    }
    return false;
  }

  bool ScanDate(int64_t& day) {
    int n[3], digits[3];
    int count = 0;
    if (!Number(n[0], digits[0])) return false;
    count = 1;
    while (count < 3) {
      size_t mark = pos_;
      if (!Char(dateSeparator_)) break;
      if (!Number(n[count], digits[count])) {
        pos_ = mark;
        break;
      }
      ++count;
    }
    if (count < 2) return false;
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    int y = now.wYear, m = 0, d = 0, yearDigits = 4;
    if (count == 3) {
      for (int i = 0; i < 3; ++i) {
        if (order_[i] == L'Y') y = n[i], yearDigits = digits[i];
        if (order_[i] == L'M') m = n[i];
        if (order_[i] == L'D') d = n[i];
      }
    } else {
      // Two numbers are month and day in the picture's order, in the current year.
      bool dayFirst = order_.find(L'D') < order_.find(L'M');
      d = dayFirst ? n[0] : n[1];
      m = dayFirst ? n[1] : n[0];
    }
    if (yearDigits <= 2) {
      // A two-digit year falls within the 100 years around the current one.
      int pivot = now.wYear - 50;
      y += pivot / 100 * 100;
      if (y < pivot) y += 100;
    }
    if (y < 1 || y > 9999 || m < 1 || m > 12 || d < 1 || d > DaysInMonth(y, m)) return false;
    day = DaysFromCivil(y, static_cast<unsigned>(m), static_cast<unsigned>(d)) + kEpochOffset;
    return true;
  }

  bool Designator(const std::wstring& word) {
    if (word.empty() || pos_ + word.size() > text_.size()) return false;
    if (::CompareStringW(LOCALE_USER_DEFAULT, NORM_IGNORECASE, text_.c_str() + pos_,
                         static_cast<int>(word.size()), word.c_str(),
                         static_cast<int>(word.size())) != CSTR_EQUAL)
      return false;
    pos_ += word.size();
    return true;
  }

  bool ScanTime(int64_t& ms) {
    int h, m = 0, s = 0, z = 0, digits;
    if (!Number(h, digits)) return false;
    bool minutes = false;
    if (Char(timeSeparator_)) {
      if (!Number(m, digits)) return false;
      minutes = true;
      if (Char(timeSeparator_)) {
        if (!Number(s, digits)) return false;
        if (Char(L'.')) {
          if (!Number(z, digits) || digits > 3) return false;
          for (; digits < 3; ++digits)
            z *= 10;
        }
      }
    }
    SkipBlanks();
    int half = -1;
    if (Designator(am_) || Designator(L"AM"))
      half = 0;
    else if (Designator(pm_) || Designator(L"PM"))
      half = 1;
    if (!minutes && half < 0) return false;
    if (half >= 0) {
      if (h < 1 || h > 12) return false;
      h = h % 12 + half * 12;
    }
    if (h > 23 || m > 59 || s > 59) return false;
    ms = ((h * 60 + m) * 60 + s) * 1000LL + z;
    return true;
  }

  const std::wstring& text_;
  size_t pos_ = 0;
  std::wstring order_;
  wchar_t dateSeparator_ = 0;
  wchar_t timeSeparator_ = L':';
  std::wstring am_, pm_;
};

} // namespace

TDateTime Now() {
  SYSTEMTIME st;
  ::GetLocalTime(&st);
  int64_t day = DaysFromCivil(st.wYear, st.wMonth, st.wDay) + kEpochOffset;
  int64_t ms = ((st.wHour * 60 + st.wMinute) * 60 + st.wSecond) * 1000LL + st.wMilliseconds;
  return Join(day, ms);
}

std::wstring DateTimeToStr(TDateTime value) {
  // Outside years 1..9999 there is no calendar text; show the number rather than garbage.
  if (!(value >= -693593.0 && value < 2958466.0)) return FloatToStrW(value);
  TParts p = Split(value);
  SYSTEMTIME st = ToSystemTime(p);
  std::wstring text = DateText(st);
  if (p.ms != 0) text += L' ' + TimeText(st);
  return text;
}

bool TryStrToDateTime(const std::wstring& text, TDateTime& value) {
  return TDateTimeScanner(text).Scan(value);
}

TDateTime StrToDateTime(const std::wstring& text) {
  TDateTime value;
  if (!TryStrToDateTime(text, value)) {
    std::string narrow = WideToAnsi(text);
    std::vector<char> buffer(narrow.size() + 64);
    std::snprintf(buffer.data(), buffer.size(), "'%s' is not a valid date and time",
                  narrow.c_str());
    throw EConvertError(buffer.data());
  }
  return value;
}
