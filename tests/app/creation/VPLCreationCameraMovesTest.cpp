#include "app/creation/VPLCreationCameraMoves.h"

#include "app/objects/VPLObjEventCamera.h"
#include "mm/stage/MMStage.h"
#include "mm/tasks/MMTaskManager.h"
#include "tests/app/creation/CreationSupport.h"
#include "tests/app/support/InterfaceStage.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace app_fixtures;
using namespace creation_support;

const MM3DVector kPadCentre(0, 0, 10, 1);
// Just under the rig's ceiling, well inside its band otherwise.
const MM3DVector kHighEye(0, 95, 40, 1);
const MM3DVector kInterest(0, 0, 0, 1);

class VPLCreationCameraMovesTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(mFiles.Ready()); }

  AppFiles mFiles{CreationTables()};
  InterfaceStage mStage;
  VPLCreation mCreation{&mStage.Scene(),
                        UURefCount<MM3DCamera>(new MM3DCamera(
                            kHighEye, UUOwned<MM3DVector>(new MM3DVector(kInterest)), 0.0f))};
  VPLCreationCameraMoves mMoves{mCreation};
};

TEST_F(VPLCreationCameraMovesTest, ThePadRaisesTheCreationsCameraUntilTheRigStopsIt) {
  VPLObjEventCameraRotate pad(&mStage.Scene(), MakeQuad());
  pad.SetPosition(kPadCentre);
  pad.ComputeCentre();
  pad.SetCameraMoves(&mMoves);
  pad.OnHoverOn();
  MMTaskManager& tasks = *mStage.Stage()->GetTaskManager();
  tasks.RunUntil(tasks.GetNow() + VPLObjEventCamera::kArmDelay);
  VPLPickEvent above;
  above.mRay = VPLSegment{MM3DVector(0, 0.05f, 0, 1), MM3DVector(0, 0.05f, 20, 1)};
  float height = mCreation.GetCamera().GetEye().mY;
  pad.HandleEvent(above);
  EXPECT_GT(mCreation.GetCamera().GetEye().mY, height);
  EXPECT_TRUE(mCreation.IsModified());
  // However long the pointer rests, the eye stays inside the rig's band.
  for (int i = 0; i < 200; ++i) {
    pad.HandleEvent(above);
    const MM3DVector eye = mCreation.GetCamera().GetEye();
    ASSERT_LT(eye.mY, VPLCreationCamera::kMaxHeight) << i;
    ASSERT_GE(std::hypot(eye.mX, eye.mZ), VPLCreationCamera::kMinHorizontal) << i;
  }
}

}  // namespace
