#include "main/SizeTexts.h"

#include "ui/Numbers.h"

std::wstring FileSizeText(uint64_t bytes) {
  constexpr uint64_t kKilo = 1024, kMega = 1048576, kGiga = 1073741824;
  // Strict comparisons: exactly 1024 bytes stay in bytes, the next unit starts one byte later.
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
  return FloatToStrW(static_cast<double>(bytes));
}

std::wstring MegabytesText(double bytes) {
  return FloatToStrW(RoundTo1Decimal(bytes / 1024 / 1024));
}

std::wstring RecycleBinSizeText(uint64_t bytes) {
  return MegabytesText(static_cast<double>(bytes)) + L" Mb";
}
