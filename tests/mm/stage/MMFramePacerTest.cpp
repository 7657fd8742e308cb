#include "mm/stage/MMFramePacer.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

constexpr uint32_t kStart = 5000;
constexpr int32_t kSecond = 1000;

// Starts every frame the moment it falls due, for the given clock time.
int32_t FramesStartedOnTimeUntil(MMFramePacer& pacer, uint32_t start, uint32_t end) {
  int32_t frames = 0;
  for (uint32_t now = start; now != end; ++now) {
    if (pacer.TimeUntilDue(now) != 0) continue;
    pacer.FrameStarted(now);
    ++frames;
  }
  return frames;
}

TEST(MMFramePacerTest, TheFirstFrameIsDueAtOnceAndTheNextAFrameLater) {
  MMFramePacer pacer;
  EXPECT_EQ(pacer.TimeUntilDue(kStart), 0);
  pacer.FrameStarted(kStart);
  EXPECT_EQ(pacer.TimeUntilDue(kStart), kSecond / MMFramePacer::kFramesPerSecond);
  EXPECT_EQ(pacer.TimeUntilDue(kStart + 10), kSecond / MMFramePacer::kFramesPerSecond - 10);
}

TEST(MMFramePacerTest, FramesOnTimeComeAsOftenAsTheDisplayShowsThem) {
  struct Case {
    const char* what;
    uint32_t start;
  };
  for (const Case& c : {Case{"mid-clock", kStart}, Case{"across the clock's wrap", 0xFFFFFF00u}}) {
    MMFramePacer pacer;
    EXPECT_EQ(FramesStartedOnTimeUntil(pacer, c.start, c.start + 10 * kSecond),
              10 * MMFramePacer::kFramesPerSecond)
        << c.what;
  }
}

TEST(MMFramePacerTest, ALittleLateKeepsTheGridAWholeFrameLateStartsANewOne) {
  constexpr int32_t kFrame = kSecond / MMFramePacer::kFramesPerSecond;
  MMFramePacer pacer;
  pacer.FrameStarted(kStart);
  pacer.FrameStarted(kStart + kFrame + 5);                             // due at kStart + 16: 5 late
  EXPECT_EQ(pacer.TimeUntilDue(kStart + kFrame + 5), kFrame + 1 - 5);  // due at kStart + 33
  pacer.FrameStarted(kStart + 200);                                    // many frames late
  EXPECT_EQ(pacer.TimeUntilDue(kStart + 200), kFrame);
}

}  // namespace
