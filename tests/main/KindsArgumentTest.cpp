#include "main/KindsArgument.h"

#include <gtest/gtest.h>

TEST(KindsArgumentTest, OnlyAWellFormedListOfBoxesIsTaken) {
  EXPECT_EQ(KindsArgument({2, 7, 10}), L"/kinds=2,7,10");
  const struct {
    const wchar_t* commandLine;
    std::vector<int> boxes; // {-1}: refused
  } cases[] = {
      {L"/kinds=1,3,5", {1, 3, 5}},
      {L"  /kinds=10 ", {10}},
      {L"/kinds=", {}},
      {L"", {-1}},
      {L"/kinds=0", {-1}},
      {L"/kinds=11", {-1}},
      {L"/kinds=1,,2", {-1}},
      {L"/kinds=1,", {-1}},
      {L"/kinds=,1", {-1}},
      {L"/kinds=a", {-1}},
      {L"/kinds=001", {-1}},
      {L"/kinds=1 /x", {-1}},
      {L"/KINDS=1", {-1}},
      {L"x /kinds=1", {-1}},
      {L"/kinds=-1", {-1}},
  };
  for (const auto& c : cases) {
    std::vector<int> boxes{-1};
    const bool taken = ParseKindsArgument(c.commandLine, boxes);
    EXPECT_EQ(taken, c.boxes != std::vector<int>{-1}) << c.commandLine;
    EXPECT_EQ(boxes, c.boxes) << c.commandLine;
  }
}
