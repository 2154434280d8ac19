#pragma once
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

// The clock and the median every benchmark reports with.
inline double Seconds() {
  static const LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    ::QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  ::QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

inline double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// "--smoke" runs every step and self-check of a benchmark at a tiny size and prints no figures:
// the test command runs each benchmark so, so that one that breaks is noticed at once.
inline bool gSmoke = false;

inline void ReadBenchArguments(int argc, char** argv) {
  for (int i = 1; i < argc; ++i)
    if (std::string(argv[i]) == "--smoke") gSmoke = true;
}

// The full size, or the tiny one in a smoke run.
inline int Sized(int full, int tiny) {
  return gSmoke ? tiny : full;
}

// One figure as "bench <name> <value>"; a smoke run's figures mean nothing and are not printed.
inline void Figure(const char* name, double value, int decimals = 2) {
  if (!gSmoke) std::printf("bench %s %.*f\n", name, decimals, value);
}

// Ends a benchmark: a smoke run says that its checks held.
inline int Done(const char* benchmark) {
  if (gSmoke) std::printf("%s: smoke run passed its checks\n", benchmark);
  return 0;
}
