#include "main/CleanRandom.h"

void TCleanRandom::Fill(uint8_t* bytes, size_t count) {
  for (size_t i = 0; i < count; ++i)
    bytes[i] = NextByte();
}

TCleanRandom& CleanRandom() {
  static TCleanRandom generator;
  return generator;
}
