#include "app/objects/RU3DLogicalSoundChannel.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

// The listener at the origin faces along +z; +x is on its right.
const MM3DVector kListener(0, 0, 0, 1);
const MM3DVector kFacing(0, 0, 10, 1);
constexpr int32_t kFull = RU3DLogicalSoundChannel::kFullPan;

RU3DLogicalSoundChannel::Mix At(float x, float y, float z) {
  return RU3DLogicalSoundChannel::Spatialize(kListener, kFacing, MM3DVector(x, y, z, 1));
}

TEST(RU3DLogicalSoundChannelTest, TheVolumeFallsWithTheSquaredDistanceToSilenceAt240) {
  struct Case {
    float distance;
    int32_t volume;
  };
  const Case cases[] = {{0, 1024}, {120, 768}, {240, 0}, {500, 0}};
  for (const Case& c : cases) EXPECT_EQ(At(0, 0, c.distance).mVolume, c.volume) << c.distance;
}

TEST(RU3DLogicalSoundChannelTest, ThePanFollowsTheSideOfTheSource) {
  struct Case {
    const char* what;
    MM3DVector source;
    int32_t pan;
  };
  const Case cases[] = {
      {"at the listener", {0, 0, 0, 1}, 0},
      {"ahead", {0, 0, 5, 1}, 0},
      {"behind", {0, 0, -5, 1}, 0},
      {"above", {0, 5, 0, 1}, 0},
      {"right", {5, 0, 0, 1}, kFull},
      {"left", {-5, 0, 0, 1}, -kFull},
      {"ahead right", {5, 0, 5, 1}, kFull / 2},
      {"behind left", {-5, 0, -5, 1}, -kFull / 2},
  };
  for (const Case& c : cases) {
    const int32_t pan = RU3DLogicalSoundChannel::Spatialize(kListener, kFacing, c.source).mPan;
    EXPECT_NEAR(pan, c.pan, 1) << c.what;
  }
}

TEST(RU3DLogicalSoundChannelTest, ThePanStaysWithinItsRangeForNearlyEqualDirections) {
  for (float x : {1e-3f, 1e-6f, -1e-6f, 3e-5f}) {
    const int32_t pan = At(x, 0, 100).mPan;
    EXPECT_GE(pan, -kFull);
    EXPECT_LE(pan, kFull);
  }
  const float nan = std::numeric_limits<float>::quiet_NaN();
  EXPECT_EQ(RU3DLogicalSoundChannel::Spatialize(kListener, kFacing, MM3DVector(nan, 0, 1, 1)).mPan,
            0);
}

}  // namespace
