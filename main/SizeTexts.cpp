#include "main/SizeTexts.h"

#include "ui/Numbers.h"

std::wstring FileSizeText(uint64_t bytes) {
  constexpr uint64_t kKilo = 1024, kMega = 1048576, kGiga = 1073741824;
  // Strict comparisons: exactly 1024 bytes stay in bytes, the next unit starts one byte later.
  // A whole number of bytes is its plain digits in the general format; the scan writes one text
  // per file, most of them small, so that case skips the conversion.
  if (bytes <= kKilo) return std::to_wstring(bytes) + L" B";
  double value = static_cast<double>(bytes);
  const wchar_t* unit = L"B";
  if (bytes > kGiga) {
    value /= kGiga;
    unit = L"GB";
  } else if (bytes > kMega) {
    value /= kMega;
    unit = L"MB";
  } else if (bytes > kKilo) {
    value /= kKilo;
    unit = L"KB";
  }
  return FloatToStrW(RoundTo1Decimal(value)) + L" " + unit;
}

std::wstring RealSizeText(uint64_t bytes) {
  // Below 10^15 the general format writes a whole number as its plain digits; the scan writes
  // one per file, so that case skips the general conversion.
  constexpr uint64_t kPlainDigitsLimit = 1000000000000000;
  if (bytes < kPlainDigitsLimit) return std::to_wstring(bytes);
  return FloatToStrW(static_cast<double>(bytes));
}

std::wstring MegabytesText(double bytes) {
  return FloatToStrW(RoundTo1Decimal(bytes / 1024 / 1024));
}

std::wstring RecycleBinSizeText(uint64_t bytes) {
  return MegabytesText(static_cast<double>(bytes)) + L" Mb";
}
