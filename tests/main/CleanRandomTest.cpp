#include "main/CleanRandom.h"

#include <gtest/gtest.h>

#include <vector>

TEST(CleanRandomTest, FirstBytesAndStateFromZero) {
  TCleanRandom generator;
  // Worked out by hand from state 0: 1, 134775814, ... and their top bytes.
  const uint8_t first[] = {0, 8, 220, 51, 69, 171, 81, 41, 95, 108, 20, 121};
  for (uint8_t expected : first)
    EXPECT_EQ(generator.NextByte(), expected);

  // Three passes' worth against the definition, in 64-bit arithmetic kept to 32 bits: the state
  // is multiplied by 134775813, then 1 is added, and the byte is the state's top eight bits.
  TCleanRandom three;
  std::vector<uint8_t> passes(3 * 4096);
  three.Fill(passes.data(), passes.size());
  uint64_t state = 0;
  for (size_t i = 0; i < passes.size(); ++i) {
    state = (state * 134775813u + 1u) % 0x100000000u;
    ASSERT_EQ(passes[i], state / 0x1000000u) << i;
  }
  EXPECT_EQ(three.State(), state);
}

TEST(CleanRandomTest, SequenceCarriesOnAcrossFills) {
  TCleanRandom whole, pieces;
  std::vector<uint8_t> once(10000), split(10000);
  whole.Fill(once.data(), once.size());
  pieces.Fill(split.data(), 4096);
  pieces.Fill(split.data() + 4096, 1);
  pieces.Fill(split.data() + 4097, split.size() - 4097);
  EXPECT_EQ(once, split);
  EXPECT_EQ(whole.State(), pieces.State());
  // The program's own generator is one object for the whole run of the program.
  EXPECT_EQ(&CleanRandom(), &CleanRandom());
}

// Fill works several steps at a time; whatever the length, it must give the single steps' bytes
// and leave the state where they would.
TEST(CleanRandomTest, FillGivesTheBytesOfSingleSteps) {
  TCleanRandom stepped, filled;
  for (size_t length : {0, 1, 3, 4, 5, 7, 8, 4096, 4099, 2}) {
    std::vector<uint8_t> bytes(length + 1, 0xee);
    filled.Fill(bytes.data(), length);
    for (size_t i = 0; i < length; ++i)
      ASSERT_EQ(bytes[i], stepped.NextByte()) << "length " << length << ", byte " << i;
    EXPECT_EQ(bytes[length], 0xee) << "wrote past " << length << " bytes";
    EXPECT_EQ(filled.State(), stepped.State()) << "after " << length << " bytes";
  }
}
