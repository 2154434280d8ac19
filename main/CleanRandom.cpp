#include "main/CleanRandom.h"

namespace {

// Four steps of the generator at once: state(n + 4) = state(n) * kJumpMultiplier + kJumpIncrement.
constexpr uint32_t kA = TCleanRandom::kMultiplier;
constexpr uint32_t kJumpMultiplier = kA * kA * kA * kA;
constexpr uint32_t kJumpIncrement = kA * kA * kA + kA * kA + kA + 1u;

} // namespace

// Each step depends on the one before, so one chain waits on every multiplication; four chains,
// each four steps apart, keep the processor busy and give the very same bytes in the same order.
void TCleanRandom::Fill(uint8_t* bytes, size_t count) {
  size_t i = 0;
  if (count >= 4) {
    uint32_t s0 = state_ * kA + 1u;
    uint32_t s1 = s0 * kA + 1u;
    uint32_t s2 = s1 * kA + 1u;
    uint32_t s3 = s2 * kA + 1u;
    for (;;) {
      bytes[i] = static_cast<uint8_t>(s0 >> 24);
      bytes[i + 1] = static_cast<uint8_t>(s1 >> 24);
      bytes[i + 2] = static_cast<uint8_t>(s2 >> 24);
      bytes[i + 3] = static_cast<uint8_t>(s3 >> 24);
      i += 4;
      if (count - i < 4) break;
      s0 = s0 * kJumpMultiplier + kJumpIncrement;
      s1 = s1 * kJumpMultiplier + kJumpIncrement;
      s2 = s2 * kJumpMultiplier + kJumpIncrement;
      s3 = s3 * kJumpMultiplier + kJumpIncrement;
    }
    state_ = s3;
  }
  for (; i < count; ++i)
    bytes[i] = NextByte();
}

TCleanRandom& CleanRandom() {
  static TCleanRandom generator;
  return generator;
}
