#include "app/creation/VPLCameraThread.h"

#include "app/creation/VPLCreationCamera.h"
#include "foundation/uu/UUCallback.h"
#include "foundation/uu/UUOwned.h"
#include "mm3d/MM3DDisplayTreeDataNodes.h"
#include "tests/app/creation/PombleSupport.h"
#include "tests/app/support/InterfaceStage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <utility>

namespace {

using namespace pomble_support;

const MM3DVector kEye(0.0f, 30.0f, -60.0f, 1.0f);
const MM3DVector kSaved(0.0f, 4.0f, 0.0f, 1.0f);
// 10 units from the saved gaze.
const MM3DVector kTarget(6.0f, 12.0f, 0.0f, 1.0f);

class Counting : public UUCallback {
 public:
  explicit Counting(int& count) : mCount(count) {}
  void Invoke() override { ++mCount; }

 private:
  int& mCount;
};

float Distance(const MM3DVector& a, const MM3DVector& b) {
  return std::sqrt((a.mX - b.mX) * (a.mX - b.mX) + (a.mY - b.mY) * (a.mY - b.mY) +
                   (a.mZ - b.mZ) * (a.mZ - b.mZ));
}

class VPLCameraThreadTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mThread.SetArrivalTask(MMTaskCallback(Client(), new Counting(mArrivals)));
    mThread.SetReturnTask(MMTaskCallback(Client(), new Counting(mReturns)));
    mThread.SetTarget(&mLocator);
  }
  void TearDown() override { mThread.Terminate(); }
  MMTaskClient* Client() { return mStage.Scene().GetTaskClient(); }
  void Begin(int32_t kind) {
    mThread.Start(kind);
    if (mThread.GetState() == MMAbstractThread::kStopped) mThread.MakeStartCallback().Post();
  }
  // Runs the clock until the thread has taken that many steps of its glide.
  void RunToStep(int16_t steps) {
    for (int32_t guard = 0; mThread.GetStepCount() != steps && guard < 2000; ++guard) {
      Advance(mStage.Stage(), 1);
    }
  }
  MM3DVector Interest() const { return mCamera.GetInterest(); }

  InterfaceStage mStage;
  VPLCreationCamera mCamera{nullptr, UURefCount<MM3DCamera>(new MM3DCamera(
                                         kEye, UUOwned<MM3DVector>(new MM3DVector(kSaved)), 0.0f))};
  MM3DDisplayTreeNodeLocator mLocator{kTarget};
  VPLCameraThread mThread{Client(), &mCamera, nullptr};
  int mArrivals = 0;
  int mReturns = 0;
};

TEST_F(VPLCameraThreadTest, AnApproachGlidesInFiveHundredStepsAndArrivesAtTheNext) {
  Begin(VPLCameraThread::kApproach);
  RunToStep(250);
  EXPECT_NEAR(Distance(Interest(), kSaved), 5.0f, 1e-4f);
  RunToStep(VPLCameraThread::kGlideSteps);
  EXPECT_NEAR(Distance(Interest(), kTarget), 0.0f, 1e-4f);
  Advance(mStage.Stage(), 1);
  EXPECT_EQ(mThread.GetGlide(), VPLCameraThread::kHold);
  Advance(mStage.Stage(), 1);
  EXPECT_EQ(mArrivals, 1);
  // Holding, the gaze follows the target.
  const MM3DVector moved(-3.0f, 2.0f, 1.0f, 1.0f);
  mLocator.SetPoint(moved);
  Advance(mStage.Stage(), 5);
  EXPECT_TRUE(Interest().Equals(moved));
  EXPECT_EQ(mArrivals, 1);
}

TEST_F(VPLCameraThreadTest, AReturnGlidesBackAndPostsItsTask) {
  Begin(VPLCameraThread::kReturn);
  RunToStep(250);
  EXPECT_NEAR(Distance(Interest(), kTarget), 5.0f, 1e-4f);
  RunToStep(0);
  Advance(mStage.Stage(), 3);
  EXPECT_TRUE(Interest().Equals(kSaved));
  EXPECT_EQ(mReturns, 1);
  EXPECT_EQ(mThread.GetGlide(), VPLCameraThread::kIdle);
}

TEST_F(VPLCameraThreadTest, AHoldDuringTheApproachGoesToTheTargetWithoutArriving) {
  Begin(VPLCameraThread::kApproach);
  RunToStep(100);
  mThread.Start(VPLCameraThread::kHold);
  Advance(mStage.Stage(), 1);
  EXPECT_TRUE(Interest().Equals(kTarget));
  Advance(mStage.Stage(), 600, 10);
  EXPECT_EQ(mArrivals, 0);
}

TEST_F(VPLCameraThreadTest, StoppingPutsBackTheGazeSavedAtTheStart) {
  mCamera.SetInterest(MM3DVector(1.0f, 1.0f, 1.0f, 1.0f));
  Begin(VPLCameraThread::kApproach);
  Advance(mStage.Stage(), 600, 10);
  ASSERT_EQ(mThread.GetGlide(), VPLCameraThread::kHold);
  mThread.Stop();
  Advance(mStage.Stage(), 1);
  EXPECT_TRUE(Interest().Equals(kSaved));
  EXPECT_EQ(mThread.GetState(), MMAbstractThread::kStopped);
}

// A model without the interest locator: the gaze stays, the show goes on.
TEST_F(VPLCameraThreadTest, WithoutATargetTheGazeStaysAndBothTasksArePosted) {
  mThread.SetTarget(nullptr);
  mCamera.SetInterest(kTarget);
  Begin(VPLCameraThread::kApproach);
  Advance(mStage.Stage(), 600, 10);
  EXPECT_EQ(mArrivals, 1);
  mThread.Start(VPLCameraThread::kReturn);
  Advance(mStage.Stage(), 600, 10);
  EXPECT_EQ(mReturns, 1);
  EXPECT_TRUE(Interest().Equals(kTarget));
}

}  // namespace
