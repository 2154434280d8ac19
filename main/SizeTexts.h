#pragma once
#include <cstdint>
#include <string>

// The size texts of the found-files list, shared by the scan, the selection summary and the
// clean run's log so that what one writes the others read back unchanged.

// A file row's size: the largest unit the byte count strictly exceeds ("GB", "MB", "KB", else
// "B"), one decimal place, a space, the unit: 1024 bytes read "1024 B", 1025 read "1 KB".
std::wstring FileSizeText(uint64_t bytes);

// A file row's exact size, in the general number format (plain digits below 10^15 bytes).
std::wstring RealSizeText(uint64_t bytes);

// Bytes as megabytes rounded to one decimal place, in the general number format, without a
// unit: the callers add "MB", " Mb" or "Mbyte" as each place has it.
std::wstring MegabytesText(double bytes);

// The Recycle Bin's size: megabytes as above followed by " Mb".
std::wstring RecycleBinSizeText(uint64_t bytes);
