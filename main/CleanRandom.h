#pragma once
#include <cstddef>
#include <cstdint>

// The byte source that overwrites files before they are deleted: a 32-bit linear congruential
// generator, state = state * 134775813 + 1, each byte the top 8 bits of the new state. It is
// never seeded from the clock, so every start of the program overwrites with the same sequence,
// carried on from file to file and from one clean run to the next.
class TCleanRandom {
public:
  uint8_t NextByte() {
    state_ = state_ * kMultiplier + 1u;
    return static_cast<uint8_t>(state_ >> 24);
  }
  void Fill(uint8_t* bytes, size_t count);
  uint32_t State() const { return state_; }

  static constexpr uint32_t kMultiplier = 134775813u;

private:
  uint32_t state_ = 0;
};

// The program's one generator, at state 0 when the program starts.
TCleanRandom& CleanRandom();
