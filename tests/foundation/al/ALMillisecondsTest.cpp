#include "foundation/al/ALMilliseconds.h"

#include "platform/win32/winmm.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

// The clock's base is process-wide: the first reading runs in a fresh
// process (the threadsafe death-test style re-executes the test program).
TEST(ALMillisecondsTest, FirstReadingIs1000) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(std::exit(ALMilliseconds() == 1000 ? 0 : 1), testing::ExitedWithCode(0), "");
}

TEST(ALMillisecondsTest, ReadingsFollowTheSystemClockFromTheBase) {
  ALMilliseconds();
  const uint32_t base = ALMillisecondsToSystemTime(1000);
  EXPECT_EQ(ALSystemTimeToMilliseconds(base), 1000u);
  EXPECT_EQ(ALSystemTimeToMilliseconds(base + 250), 1250u);
  EXPECT_EQ(ALMillisecondsToSystemTime(1250), base + 250);

  const uint32_t before = timeGetTime();
  const uint32_t reading = ALMilliseconds();
  const uint32_t after = timeGetTime();
  EXPECT_LE(ALSystemTimeToMilliseconds(before), reading);
  EXPECT_LE(reading, ALSystemTimeToMilliseconds(after));
}

TEST(ALMillisecondsTest, ConversionsWrapIn32Bits) {
  ALMilliseconds();
  const uint32_t base = ALMillisecondsToSystemTime(1000);
  EXPECT_EQ(ALSystemTimeToMilliseconds(base - 2000), static_cast<uint32_t>(-1000));
  EXPECT_EQ(ALMillisecondsToSystemTime(0), base - 1000);
}

}  // namespace
