#include "mm3d/MM3DCamera.h"

#include "mm3d/MM3DDatabase.h"
#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <memory>

namespace {

constexpr float kQuarterTurn = 1.5707964f;
constexpr float kTolerance = 1e-5f;

class MM3DCameraTest : public ::testing::Test {
 protected:
  void SetUp() override { MM3DDatabase::ResetReferenceTables(); }
  void TearDown() override { MM3DDatabase::FreeReferenceTables(); }

  static MM3DCamera Looking(const MM3DVector& eye, const MM3DVector& interest, float roll) {
    return MM3DCamera(eye, UUOwned<MM3DVector>(new MM3DVector(interest)), roll);
  }

  static MM3DVector ToCamera(MM3DCamera& camera, const MM3DVector& point) {
    MM3DMatrix view;
    camera.GetViewMatrix(view);
    MM3DVector out;
    view.TransformPoint(out, point);
    return out;
  }
};

void ExpectNear(const MM3DVector& actual, const MM3DVector& expected,
                float tolerance = kTolerance) {
  EXPECT_NEAR(actual.mX, expected.mX, tolerance);
  EXPECT_NEAR(actual.mY, expected.mY, tolerance);
  EXPECT_NEAR(actual.mZ, expected.mZ, tolerance);
}

// The look-at built in double from its definition: side, up and forward
// axes, the point relative to the eye dotted with each.
std::array<double, 3> LookAtInDouble(const MM3DVector& eye, const MM3DVector& interest, double roll,
                                     const MM3DVector& point) {
  using V = std::array<double, 3>;
  const auto dot = [](const V& a, const V& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; };
  const auto unit = [&](V v) {
    const double length = std::sqrt(dot(v, v));
    return V{v[0] / length, v[1] / length, v[2] / length};
  };
  const V f = unit(
      {double{interest.mX} - eye.mX, double{interest.mY} - eye.mY, double{interest.mZ} - eye.mZ});
  const V hint{-std::sin(roll), std::cos(roll), 0.0};
  const double along = dot(hint, f);
  const V u = unit({hint[0] - along * f[0], hint[1] - along * f[1], hint[2] - along * f[2]});
  const V s{u[1] * f[2] - u[2] * f[1], u[2] * f[0] - u[0] * f[2], u[0] * f[1] - u[1] * f[0]};
  const V relative{double{point.mX} - eye.mX, double{point.mY} - eye.mY, double{point.mZ} - eye.mZ};
  return {dot(relative, s), dot(relative, u), dot(relative, f)};
}

TEST_F(MM3DCameraTest, LooksAlongPlusZWithXToTheSide) {
  MM3DCamera camera = Looking({0, 0, -10, 1}, {0, 0, 0, 1}, 0);
  ExpectNear(ToCamera(camera, {0, 0, 0, 1}), {0, 0, 10, 1});
  ExpectNear(ToCamera(camera, {1, 0, 0, 1}), {1, 0, 10, 1});
  ExpectNear(camera.GetSideVector(), {1, 0, 0, 0});
}

TEST_F(MM3DCameraTest, RollTurnsTheUpAxis) {
  MM3DCamera camera = Looking({0, 0, -10, 1}, {0, 0, 0, 1}, kQuarterTurn);
  ExpectNear(camera.GetUpVector(), {-1, 0, 0, 0});
  ExpectNear(camera.GetSideVector(), {0, 1, 0, 0});
  EXPECT_NEAR(ToCamera(camera, {0, 1, 0, 1}).mX, 1.0f, kTolerance);
  EXPECT_NEAR(ToCamera(camera, {-1, 0, 0, 1}).mY, 1.0f, kTolerance);
}

TEST_F(MM3DCameraTest, MatchesALookAtComputedInDouble) {
  const MM3DVector eye(3, 7, -12, 1);
  const MM3DVector interest(-2, 1, 4, 1);
  const float roll = 0.6f;
  MM3DCamera camera = Looking(eye, interest, roll);
  for (const MM3DVector& point : {MM3DVector(0, 0, 0, 1), MM3DVector(5, -3, 9, 1)}) {
    const auto expected = LookAtInDouble(eye, interest, roll, point);
    const MM3DVector actual = ToCamera(camera, point);
    EXPECT_NEAR(actual.mX, expected[0], 1e-4);
    EXPECT_NEAR(actual.mY, expected[1], 1e-4);
    EXPECT_NEAR(actual.mZ, expected[2], 1e-4);
  }
}

TEST_F(MM3DCameraTest, ADegenerateUpKeepsThePreviousAxis) {
  MM3DCamera camera = Looking({0, 0, -10, 1}, {0, 0, 0, 1}, kQuarterTurn);
  MM3DMatrix view;
  camera.GetViewMatrix(view);
  camera.SetPosition({0, 10, 0, 1});
  camera.SetRoll(0);
  camera.GetViewMatrix(view);
  // The remembered up axis (-1, 0, 0) stands in: world -x is camera up.
  MM3DVector out;
  view.TransformPoint(out, {-1, 10, 0, 1});
  EXPECT_NEAR(out.mY, 1.0f, kTolerance);
}

TEST_F(MM3DCameraTest, ADegenerateUpWithoutHistoryUsesPlusY) {
  MM3DCamera camera = Looking({0, 10, 0, 1}, {0, 0, 0, 1}, 0);
  MM3DMatrix view;
  camera.GetViewMatrix(view);
  // Up (0, 1, 0) and forward (0, -1, 0) leave no side axis: camera x is 0
  // everywhere, y the height above the eye and z the depth below it.
  MM3DVector out;
  view.TransformPoint(out, {0, 0, 0, 1});
  ExpectNear(out, {0, -10, 10, 1});
  view.TransformPoint(out, {3, 12, 5, 1});
  ExpectNear(out, {0, 2, -2, 1});
}

TEST_F(MM3DCameraTest, OrbitMovesTheEyeAroundTheInterest) {
  MM3DCamera camera = Looking({0, 0, -10, 1}, {0, 0, 0, 1}, 0);
  camera.OrbitInterest(0, kQuarterTurn, 0);
  ExpectNear(camera.GetPosition(), {-10, 0, 0, 1}, 1e-4f);
  ExpectNear(*camera.GetInterest(), {0, 0, 0, 1});
}

TEST_F(MM3DCameraTest, MoveSlidesAlongTheCamerasAxes) {
  MM3DCamera camera = Looking({0, 0, -10, 1}, {0, 0, 0, 1}, kQuarterTurn);
  // Camera x is world +y under this roll.
  camera.MoveInViewSpace({2, 0, 1, 0});
  ExpectNear(camera.GetPosition(), {0, 2, -9, 1});
  ExpectNear(*camera.GetInterest(), {0, 2, 1, 1});
}

TEST_F(MM3DCameraTest, TurnMovesOnlyTheInterest) {
  MM3DCamera camera = Looking({0, 0, -10, 1}, {0, 0, 0, 1}, 0);
  camera.TurnInViewSpace(0, kQuarterTurn, 0);
  ExpectNear(camera.GetPosition(), {0, 0, -10, 1});
  // Turning about camera y takes the forward axis to camera +x.
  ExpectNear(*camera.GetInterest(), {10, 0, -10, 1}, 1e-4f);
}

TEST_F(MM3DCameraTest, WriteAndReadRoundTrip) {
  MM3DCamera camera = Looking({1, 2, 3, 1}, {4, 5, 6, 1}, 0.25f);
  ByteWriter writer;
  ASSERT_TRUE(camera.Write(writer));
  // Reference 0, four floats, roll, flag, reference 1, four floats.
  ASSERT_EQ(writer.mBytes.size(), 4u + 16u + 4u + 1u + 4u + 16u);
  EXPECT_EQ(MM3DDatabase::FindSavedReference(&camera), 0);
  EXPECT_EQ(MM3DDatabase::FindSavedReference(camera.GetInterest()), 1);

  MM3DDatabase::ResetReferenceTables();
  MM3DCamera read;
  ByteReader reader(writer.mBytes);
  ASSERT_TRUE(read.Read(reader));
  EXPECT_TRUE(read.GetPosition().Equals(camera.GetPosition()));
  EXPECT_EQ(read.GetRoll(), 0.25f);
  ASSERT_NE(read.GetInterest(), nullptr);
  EXPECT_TRUE(read.GetInterest()->Equals(*camera.GetInterest()));
  EXPECT_EQ(MM3DDatabase::GetReferencedObject(0), &read);
  EXPECT_EQ(MM3DDatabase::GetReferencedObject(1), read.GetInterest());
}

TEST_F(MM3DCameraTest, ReadingACameraWithoutInterestDeletesTheOldOne) {
  MM3DCamera plain;
  ByteWriter writer;
  ASSERT_TRUE(plain.Write(writer));
  EXPECT_EQ(writer.mBytes.back(), 0);
  MM3DCamera camera = Looking({1, 2, 3, 1}, {4, 5, 6, 1}, 0);
  ByteReader reader(writer.mBytes);
  ASSERT_TRUE(camera.Read(reader));
  EXPECT_EQ(camera.GetInterest(), nullptr);
  // Without an interest point it looks along +z.
  ExpectNear(camera.GetViewDirection(), {0, 0, 1, 0});
}

TEST_F(MM3DCameraTest, ABadReferenceIndexFailsTheRead) {
  for (int32_t index : {-1, MM3DDatabase::kMaxReferenceIndex + 1}) {
    std::vector<uint8_t> bytes;
    AppendInt32(bytes, index);
    for (int i = 0; i < 5; ++i) AppendFloat(bytes, 0);
    bytes.push_back(0);
    MM3DCamera camera;
    ByteReader reader(bytes);
    EXPECT_FALSE(camera.Read(reader)) << index;
    EXPECT_NE(reader.GetError(), kUUNoError);
  }
}

TEST_F(MM3DCameraTest, ATruncatedRecordFails) {
  MM3DCamera camera = Looking({1, 2, 3, 1}, {4, 5, 6, 1}, 0);
  ByteWriter writer;
  camera.Write(writer);
  writer.mBytes.resize(writer.mBytes.size() - 2);
  MM3DCamera read;
  ByteReader reader(writer.mBytes);
  EXPECT_FALSE(read.Read(reader));
  ByteWriter shortWriter(10);
  EXPECT_FALSE(camera.Write(shortWriter));
}

TEST_F(MM3DCameraTest, LoadingAReferenceGrowsTheTableWithNulls) {
  std::vector<uint8_t> bytes;
  AppendInt32(bytes, 5);
  int object = 0;
  ByteReader reader(bytes);
  ASSERT_TRUE(MM3DDatabase::LoadReference(reader, &object));
  EXPECT_EQ(MM3DDatabase::GetReferencedObject(5), &object);
  EXPECT_EQ(MM3DDatabase::GetReferencedObject(4), nullptr);
  EXPECT_EQ(MM3DDatabase::FindSavedReference(&bytes), 6);
}

}  // namespace
