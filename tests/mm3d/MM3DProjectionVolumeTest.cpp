#include "mm3d/MM3DProjectionVolume.h"

#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

const UURect kViewport(0, 0, 640, 480);
constexpr float kNear = 1.0f;
constexpr float kFar = 1000.0f;

uint8_t Outcode(const MM3DProjectionVolume& volume, const MM3DVector& point) {
  uint8_t code = 0xFF;
  volume.ComputeOutcodes(1, &point, &code);
  return code;
}

MM3DVector Clip(const MM3DProjectionVolume& volume, const MM3DVector& point) {
  MM3DVector clip;
  volume.GetProjection().TransformPoint(clip, point);
  return clip;
}

TEST(MM3DProjectionVolumeTest, DefaultOutcodes) {
  const MM3DProjectionVolume volume;
  struct Case {
    MM3DVector mPoint;
    uint8_t mCode;
  };
  const Case cases[] = {
      {{0, 0, 1, 1}, 0},
      {{0, 0, 0.5f, 1}, kMM3DOutsideNear},
      {{0, 0, 1001, 1}, kMM3DOutsideFar},
      {{1000, 0, 10, 1}, kMM3DOutsideRight},
      {{0.55f, 0, 1, 1}, 0},
      {{0.56f, 0, 1, 1}, kMM3DOutsideRight},
      {{-0.56f, 0, 1, 1}, kMM3DOutsideLeft},
      {{5.5f, 0, 10, 1}, 0},
      {{5.6f, 0, 10, 1}, kMM3DOutsideRight},
      {{0, 0.42f, 1, 1}, kMM3DOutsideTop},
      {{0, -0.42f, 1, 1}, kMM3DOutsideBottom},
      {{0, NAN, 1, 1}, kMM3DOutsideBottom},
      {{-9, 9, 0, 1}, kMM3DOutsideLeft | kMM3DOutsideTop | kMM3DOutsideNear},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Outcode(volume, c.mPoint), c.mCode) << c.mPoint.mX << " " << c.mPoint.mZ;
  }
}

TEST(MM3DProjectionVolumeTest, AllOutsideNeedsOneCommonBit) {
  const uint8_t sameSide[] = {kMM3DOutsideLeft, kMM3DOutsideLeft | kMM3DOutsideTop};
  const uint8_t straddling[] = {kMM3DOutsideLeft, kMM3DOutsideRight};
  EXPECT_TRUE(MM3DProjectionVolume::AllOutside(2, sameSide));
  EXPECT_FALSE(MM3DProjectionVolume::AllOutside(2, straddling));
}

TEST(MM3DProjectionVolumeTest, AParallelVolumeHasTheSameLimitsAtEveryDepth) {
  MM3DProjectionVolume volume;
  volume.SetOrthographic(-2, 2, -1, 1, kNear, kFar);
  EXPECT_EQ(Outcode(volume, {1.9f, 0, 2, 1}), 0);
  EXPECT_EQ(Outcode(volume, {1.9f, 0, 900, 1}), 0);
  EXPECT_EQ(Outcode(volume, {2.1f, 0, 900, 1}), kMM3DOutsideRight);
}

// The projection maps the near plane to clip z = -w and the far plane to
// +w; Project turns that into depths 0 and 1.
TEST(MM3DProjectionVolumeTest, BothDepthConventions) {
  MM3DProjectionVolume perspective;
  MM3DProjectionVolume parallel;
  parallel.SetOrthographic(-3, 5, -2, 4, 2, 50);
  for (const MM3DProjectionVolume* volume : {&perspective, &parallel}) {
    const float nearZ = volume->GetNear();
    const float farZ = volume->GetFar();
    const MM3DVector nearClip = Clip(*volume, {0.1f, 0.1f, nearZ, 1});
    const MM3DVector farClip = Clip(*volume, {0.1f, 0.1f, farZ, 1});
    EXPECT_NEAR(nearClip.mZ / nearClip.mW, -1.0f, 1e-5f);
    EXPECT_NEAR(farClip.mZ / farClip.mW, 1.0f, 1e-4f);
    EXPECT_NEAR(volume->Project({0.1f, 0.1f, nearZ, 1}, kViewport).mZ, 0.0f, 1e-5f);
    EXPECT_NEAR(volume->Project({0.1f, 0.1f, farZ, 1}, kViewport).mZ, 1.0f, 1e-4f);
  }
}

TEST(MM3DProjectionVolumeTest, InverseUndoesTheProjection) {
  MM3DProjectionVolume volume;
  volume.SetFrustum(-0.5f, 0.5f, -0.3f, 0.3f, 2, 80);
  MM3DMatrix product;
  MM3DMatrixMultiply(product, volume.GetProjection(), volume.GetInverse());
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 4; ++c) {
      EXPECT_NEAR(product.mElement[r][c], MM3DMatrixIdentity.mElement[r][c], 1e-5f);
    }
  }
}

TEST(MM3DProjectionVolumeTest, UnprojectTheViewportCentre) {
  const MM3DProjectionVolume volume;
  const MM3DVector nearPoint = volume.Unproject(320, 240, 0, kViewport);
  EXPECT_NEAR(nearPoint.mX, 0.0f, 1e-6f);
  EXPECT_NEAR(nearPoint.mY, 0.0f, 1e-6f);
  EXPECT_NEAR(nearPoint.mZ, 1.0f, 1e-6f);
  EXPECT_EQ(nearPoint.mW, 1.0f);
  EXPECT_NEAR(volume.Unproject(320, 240, 1, kViewport).mZ, kFar, 0.05f);
}

TEST(MM3DProjectionVolumeTest, ProjectAndUnprojectRoundTrip) {
  MM3DProjectionVolume perspective;
  perspective.SetPerspective(0.9f, 1.5f, 0.5f, 200);
  MM3DProjectionVolume parallel;
  parallel.SetOrthographic(-10, 6, -4, 8, 1, 100);
  const UURect viewport(20, 10, 820, 610);
  for (const MM3DProjectionVolume* volume : {&perspective, &parallel}) {
    for (const MM3DVector& point : {MM3DVector(0.3f, -0.2f, 3, 1), MM3DVector(-4, 2, 50, 1)}) {
      const MM3DVector screen = volume->Project(point, viewport);
      const MM3DVector back = volume->Unproject(screen.mX, screen.mY, screen.mZ, viewport);
      EXPECT_NEAR(back.mX, point.mX, 1e-3f);
      EXPECT_NEAR(back.mY, point.mY, 1e-3f);
      EXPECT_NEAR(back.mZ, point.mZ, 2e-2f);
    }
  }
}

// Screen y grows downward: camera y up lands above the centre.
TEST(MM3DProjectionVolumeTest, ProjectPutsUpAtTheTop) {
  const MM3DProjectionVolume volume;
  const MM3DVector screen = volume.Project({0.1f, 0.1f, 1, 1}, kViewport);
  EXPECT_GT(screen.mX, 320.0f);
  EXPECT_LT(screen.mY, 240.0f);
}

TEST(MM3DProjectionVolumeTest, SettersAgree) {
  MM3DProjectionVolume perspective;
  perspective.SetPerspective(0.7853982f, 1.3333334f, kNear, kFar);
  EXPECT_TRUE(perspective == MM3DProjectionVolume());
  MM3DProjectionVolume frustum;
  frustum.SetFrustum(perspective.GetLeft(), perspective.GetRight(), perspective.GetBottom(),
                     perspective.GetTop(), kNear, kFar);
  EXPECT_TRUE(frustum == perspective);
  MM3DProjectionVolume lens;
  // A 35 mm lens on a 1-inch aperture: tan(half angle) = 0.5 / (35 x 0.03937).
  lens.SetLens(35, 1, 1, 2, 10);
  EXPECT_NEAR(lens.GetTop(), 2 * 0.5f / (35 * 0.03937f), 1e-6f);
  EXPECT_TRUE(lens.IsPerspective());
  MM3DProjectionVolume parallel;
  parallel.SetOrthographic(frustum.GetLeft(), frustum.GetRight(), frustum.GetBottom(),
                           frustum.GetTop(), kNear, kFar);
  EXPECT_FALSE(parallel == frustum);
}

TEST(MM3DProjectionVolumeTest, EqualityIgnoresTheCachedMatrices) {
  MM3DProjectionVolume a;
  MM3DProjectionVolume b;
  ByteWriter writer;
  b.Write(writer);
  // A read of only the flag and left keeps the rest and recomputes nothing.
  writer.mBytes.resize(5);
  ByteReader reader(writer.mBytes);
  EXPECT_FALSE(b.Read(reader));
  EXPECT_TRUE(a == b);
}

TEST(MM3DProjectionVolumeTest, WriteAndReadRoundTrip) {
  MM3DProjectionVolume volume;
  volume.SetOrthographic(-3, 5, -2, 4, 2, 50);
  ByteWriter writer;
  ASSERT_TRUE(volume.Write(writer));
  ASSERT_EQ(writer.mBytes.size(), 1u + 6u * 4u);
  EXPECT_EQ(writer.mBytes[0], 0);
  MM3DProjectionVolume read;
  ByteReader reader(writer.mBytes);
  ASSERT_TRUE(read.Read(reader));
  EXPECT_TRUE(read == volume);
  EXPECT_EQ(read.GetProjection(), volume.GetProjection());
  EXPECT_EQ(Outcode(read, {5.5f, 0, 3, 1}), kMM3DOutsideRight);
}

TEST(MM3DProjectionVolumeTest, AFailedWriteStops) {
  ByteWriter writer(9);
  EXPECT_FALSE(MM3DProjectionVolume().Write(writer));
  EXPECT_EQ(writer.mBytes.size(), 9u);
}

}  // namespace
