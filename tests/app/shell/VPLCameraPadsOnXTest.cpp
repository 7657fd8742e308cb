// The creation screen's camera pads on the program's stage over the
// program's own data files, as the X server shows it: whatever tool is
// chosen, a pad pressed and held moves the creation's camera once the
// pointer has rested on it, and the press makes nothing in the creation.
// Under scripts/test's X display only.

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLCreationCamera.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/creation/VPLTool.h"
#include "app/objects/VPLObjEventCamera.h"
#include "app/shell/VPLActCreation.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLSceneCreationUI.h"
#include "tests/app/shell/ProgramStage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

using vpl::test::ScreenOnX;

// Every tool a child can choose on the palette.
constexpr int32_t kChosenTools[] = {
    kVPLToolMove,           kVPLToolScale,      kVPLToolDelete,     kVPLToolMirror,
    kVPLToolRotate,         kVPLToolFloodColor, kVPLToolTubeDraw,   kVPLToolShapeFreehand,
    kVPLToolShapePrimitive, kVPLToolCharacter,  kVPLToolMagnetPush, kVPLToolAlign,
    kVPLToolGroup,          kVPLToolPath,       kVPLToolMagnetPull};
// Where the pointer rests on a pad, from its centre in shares of its half
// width and height: on the rotate pad well to one side (an orbit, which
// the rig always allows), on the zoom pad a little above the middle (in).
struct PadSpot {
  const char* mName;
  VPLObjEventCamera* (VPLSceneCreationUI::*mPad)() const;
  float mAcross;
  float mUp;
};
const PadSpot kPadSpots[] = {{"rotate", &VPLSceneCreationUI::GetRotatePad, 0.4f, 0.0f},
                             {"zoom", &VPLSceneCreationUI::GetZoomPad, 0.0f, 0.2f}};
// Open meadow, away from every control.
const UUPoint kMeadow{500, 420};

bool SameEye(const MM3DVector& a, const MM3DVector& b) {
  return a.mX == b.mX && a.mY == b.mY && a.mZ == b.mZ;
}

class VPLCameraPadsOnXTest : public shell_test::ProgramStageOnXTest<shell_test::CreationActMaker> {
 protected:
  VPLCreation& Creation() { return *Act().GetCreationArea()->GetCreation(); }

  // The stage pixel of the spot on its pad, in the stage's own 800 x 600
  // coordinates (the window the test's X server shows may be smaller).
  UUPoint OnStage(const PadSpot& spot) {
    VPLSceneCreationUI& screen = *Act().GetInterface();
    const VPLObjEventCamera& pad = *(screen.*spot.mPad)();
    const MM3DVector& centre = pad.GetCentre();
    const MM3DVector world(centre.mX + spot.mAcross * pad.GetHalfWidth(),
                           centre.mY + spot.mUp * pad.GetHalfHeight(), centre.mZ, 1.0f);
    return shell_test::PointOnStage(*screen.GetView(), world);
  }

  // The pointer comes to the spot, presses and stays there, held, for the
  // pad's rest and one frame more, then lets go and leaves the pad.
  void PressAndHold(UUPoint at) {
    mStage->Move(at);
    mStage->Press(at);
    mStage->RunFrameAt(mStage->Now() + VPLObjEventCamera::kArmDelay);
    // What the idle pass repeats while the pointer rests.
    mStage->Drag(at);
    mStage->RunFrame();
    mStage->Release(at);
    mStage->Move(kMeadow);
    mStage->RunFrame();
  }
};

TEST_F(VPLCameraPadsOnXTest, APadPressedAndHeldMovesTheCameraWithEveryToolOnXDisplay) {
  ASSERT_TRUE(mFiles.Ready());
  ScreenOnX shown;
  ASSERT_TRUE(shell_test::CaptureShown(*mStage, shown, shell_test::kSelectButtonOnStage));
  for (const int32_t tool : kChosenTools) {
    for (const PadSpot& spot : kPadSpots) {
      SCOPED_TRACE(std::string(spot.mName) + " pad, tool " + std::to_string(tool));
      Act().GetCreationArea()->SetTool(tool);
      Creation().ResetCamera();
      const MM3DVector home = Creation().GetCamera().GetEye();
      const size_t objects = Creation().GetUserObjects().size();
      PressAndHold(OnStage(spot));
      EXPECT_FALSE(SameEye(Creation().GetCamera().GetEye(), home));
      EXPECT_EQ(Creation().GetUserObjects().size(), objects);
    }
  }
  ASSERT_TRUE(shell_test::CaptureShown(*mStage, shown, shell_test::kSelectButtonOnStage));
  shell_test::KeepScreenshot(shown, "camera-pads");
}

}  // namespace
