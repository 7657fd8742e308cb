#include "foundation/uu/UURandom.h"

#include "foundation/uu/UUMemory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

std::vector<int32_t> Draw(UURandom& random, int n) {
  std::vector<int32_t> values;
  for (int i = 0; i < n; ++i) values.push_back(random.Next());
  return values;
}

TEST(UURandomTest, SeedsAreNormalised) {
  UURandom zero(0);
  UURandom one(1);
  EXPECT_EQ(Draw(zero, 50), Draw(one, 50));
  EXPECT_EQ(UURandom(-1).GetSeed(), 2147483646);
  UURandom a(12345);
  UURandom b(777);
  b.Reseed(12345);
  EXPECT_EQ(Draw(a, 50), Draw(b, 50));
}

TEST(UURandomTest, StepIsTheMinimalStandardGenerator) {
  // From state 1 the minimal standard generator gives 16807, 282475249,
  // 1622650073; the 10000th state is 1043618065.
  UURandom random(1);
  std::vector<int32_t> words(UURandom::kStoredWords);
  random.ToWords(words.data());
  words[UURandom::kTableSize + 1] = 1;
  random.FromWords(words.data());
  EXPECT_EQ(random.StepState(), 16807);
  EXPECT_EQ(random.StepState(), 282475249);
  EXPECT_EQ(random.StepState(), 1622650073);
  random.FromWords(words.data());
  int32_t state = 0;
  for (int i = 0; i < 10000; ++i) state = random.StepState();
  EXPECT_EQ(state, 1043618065);
}

TEST(UURandomTest, OutputsStayInRange) {
  UURandom random(42);
  for (int i = 0; i < 2000; ++i) {
    const int32_t r = random.Next();
    ASSERT_GE(r, 1);
    ASSERT_LE(r, 2147483646);
    const int32_t d = random.Range(-3, 3);
    ASSERT_GE(d, -3);
    ASSERT_LE(d, 3);
    ASSERT_EQ(random.Range(5, 5), 5);
  }
  UURandom copy(42);
  UURandom raw(42);
  EXPECT_EQ(copy.Range(0, 2147483647), raw.Next());
}

TEST(UURandomTest, WrittenGeneratorsContinueTheSameSequence) {
  UURandom generators[2] = {UURandom(5), UURandom(-77)};
  Draw(generators[0], 10);
  std::vector<uint8_t> block(2 * 140);
  UUMemory stream(block.data(), static_cast<int32_t>(block.size()));
  ASSERT_TRUE(UUWriteRandoms(stream, generators, 2));
  int32_t position = 0;
  ASSERT_TRUE(stream.Tell(&position));
  EXPECT_EQ(position, 280);

  UURandom restored[2] = {UURandom(1), UURandom(1)};
  stream.Seek(0, kUUSeekFromStart, nullptr);
  ASSERT_TRUE(UUReadRandoms(stream, restored, 2));
  EXPECT_EQ(Draw(restored[0], 20), Draw(generators[0], 20));
  EXPECT_EQ(Draw(restored[1], 20), Draw(generators[1], 20));

  UURandom swapped = restored[0];
  UUSwapRandoms(&swapped, 1);
  UUSwapRandoms(&swapped, 1);
  EXPECT_EQ(Draw(swapped, 5), Draw(restored[0], 5));
}

TEST(UURandomTest, HostileStoredStateNeverIndexesOutsideTheTable) {
  std::vector<int32_t> words(UURandom::kStoredWords, -5);
  UURandom random(1);
  random.FromWords(words.data());
  for (int i = 0; i < 10; ++i) random.Next();
  UURandom truncated(1);
  std::vector<uint8_t> block(100);
  UUMemory stream(block.data(), 100);
  EXPECT_FALSE(UUReadRandoms(stream, &truncated, 1));
}

}  // namespace
