#include "app/creation/VPLCreationCamera.h"

#include "foundation/uu/UUOwned.h"
#include "mm/stage/MMView.h"
#include "tests/app/support/AppFixtures.h"
#include "tests/app/support/InterfaceStage.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

MM3DVector P(float x, float y, float z) { return MM3DVector(x, y, z, 1.0f); }

UURefCount<MM3DCamera> CameraAt(const MM3DVector& eye, const MM3DVector& interest) {
  return UURefCount<MM3DCamera>(
      new MM3DCamera(eye, UUOwned<MM3DVector>(new MM3DVector(interest)), 0.0f));
}

void ExpectNear(const MM3DVector& actual, const MM3DVector& expected) {
  constexpr float kTolerance = 1e-4f;
  EXPECT_NEAR(actual.mX, expected.mX, kTolerance);
  EXPECT_NEAR(actual.mY, expected.mY, kTolerance);
  EXPECT_NEAR(actual.mZ, expected.mZ, kTolerance);
}

TEST(VPLCreationCameraTest, RaisingTowardTheCeilingStopsShortOfIt) {
  VPLCreationCamera rig(nullptr, CameraAt(P(0, 90, 100), P(0, 0, 0)));
  int32_t raises = 0;
  while (rig.Raise(1.0f)) ++raises;
  EXPECT_GT(raises, 0);
  EXPECT_LT(rig.GetEye().mY, VPLCreationCamera::kMaxHeight);
  EXPECT_GT(rig.GetEye().mY, VPLCreationCamera::kMaxHeight - 1.0f);
}

// A move that ends exactly on a height limit: lowering takes it, raising
// does not.
struct LimitCase {
  const char* mName;
  MM3DVector mInterest;
  MM3DVector mEye;
  bool mRaise;
  float mAmount;
  bool mMoves;
};

TEST(VPLCreationCameraTest, LoweringMayEndOnAHeightLimitButRaisingMayNot) {
  const LimitCase cases[] = {
      {"lower to the ceiling", P(0, 100, 0), P(0, 103, 50), false, 3.0f, true},
      {"lower to the floor", P(0, 9.4f, 0), P(0, 12.4f, 50), false, 3.0f, true},
      {"raise to the ceiling", P(0, 100, 0), P(0, 97, 50), true, 3.0f, false},
      {"lower below the floor", P(0, 9.4f, 0), P(0, 12.4f, 50), false, 3.5f, false},
  };
  for (const LimitCase& c : cases) {
    SCOPED_TRACE(c.mName);
    VPLCreationCamera rig(nullptr, CameraAt(c.mEye, c.mInterest));
    const bool moved = c.mRaise ? rig.Raise(c.mAmount) : rig.Lower(c.mAmount);
    EXPECT_EQ(moved, c.mMoves);
    EXPECT_EQ(rig.GetEye().mY, c.mMoves ? c.mInterest.mY : c.mEye.mY);
  }
}

TEST(VPLCreationCameraTest, AZoomNearTheAxisIsRefusedEvenHighUp) {
  VPLCreationCamera rig(nullptr, CameraAt(P(0, 80, 10), P(0, 0, 0)));
  const float length = std::sqrt(80.0f * 80.0f + 10.0f * 10.0f);
  EXPECT_FALSE(rig.Zoom(length * 0.85f));
  EXPECT_TRUE(rig.GetEye().Equals(P(0, 80, 10)));
  EXPECT_TRUE(rig.Zoom(length * 0.5f));
  ExpectNear(rig.GetEye(), P(0, 40, 5));
  EXPECT_TRUE(rig.ZoomOut(length * 0.5f));
  ExpectNear(rig.GetEye(), P(0, 80, 10));
}

TEST(VPLCreationCameraTest, AnOrbitAndItsOppositeComeBack) {
  VPLCreationCamera rig(nullptr, CameraAt(P(3, 20, 40), P(1, 2, 3)));
  rig.Orbit(0.7f);
  EXPECT_FALSE(rig.GetEye().Equals(P(3, 20, 40)));
  EXPECT_FLOAT_EQ(rig.GetEye().mY, 20.0f);
  rig.OrbitOpposite(0.7f);
  ExpectNear(rig.GetEye(), P(3, 20, 40));
  // The quarter turn is 1.5708, a little more than a right angle.
  rig.QuarterTurnPositive();
  const float c = std::cos(VPLCreationCamera::kQuarterTurn);
  const float s = std::sin(VPLCreationCamera::kQuarterTurn);
  ExpectNear(rig.GetEye(), P(1 + 2 * c + 37 * s, 20, 3 + 37 * c - 2 * s));
}

TEST(VPLCreationCameraTest, StraightAboveOnlyOrbitResetAndSetMoveTheEye) {
  const MM3DVector above = P(0, 50, 0);
  VPLCreationCamera rig(nullptr, CameraAt(P(0, 30, 40), P(0, 0, 0)));
  rig.SetEye(above);
  EXPECT_FALSE(rig.Raise(1.0f));
  EXPECT_FALSE(rig.Lower(1.0f));
  EXPECT_FALSE(rig.Zoom(1.0f));
  EXPECT_FALSE(rig.ZoomOut(1.0f));
  rig.Orbit(1.0f);
  ExpectNear(rig.GetEye(), above);
  rig.ResetEye();
  EXPECT_TRUE(rig.GetEye().Equals(P(0, 30, 40)));
}

TEST(VPLCreationCameraTest, EveryMoveHandsTheViewMatrixOn) {
  app_fixtures::AppFiles files;
  ASSERT_TRUE(files.Ready());
  InterfaceStage stage;
  MMView* view = stage.Scene().GetView();
  ASSERT_NE(view, nullptr);
  const UURefCount<MM3DCamera> camera = CameraAt(P(0, 30, 40), P(0, 0, 0));
  VPLCreationCamera rig(view, camera);
  MM3DMatrix expected;
  camera->GetViewMatrix(expected);
  EXPECT_TRUE(view->GetViewMatrix() == expected);

  rig.SetInterest(P(5, 0, 0));
  camera->GetViewMatrix(expected);
  EXPECT_TRUE(view->GetViewMatrix() == expected);
  EXPECT_TRUE(rig.GetInterest().Equals(P(5, 0, 0)));
}

}  // namespace
