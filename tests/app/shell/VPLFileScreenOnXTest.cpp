// The file screen on the program's stage over the program's own data
// files, as the X server shows it: everything on it stands inside the
// window. Under scripts/test's X display only; the picture is kept for a
// person to look at (VPL_SCREENSHOT_DIR).

#include "app/shell/VPLActCreation.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLSceneCreationUI.h"
#include "app/shell/VPLSceneFileIO.h"
#include "tests/app/shell/ProgramStage.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace {

using vpl::test::ScreenOnX;

// The stage the program draws, whatever the window the test's X server shows.
constexpr int32_t kStageWidth = 800;
constexpr int32_t kStageHeight = 600;
// Inside the sketch grid, never black once the file screen shows.
constexpr UUPoint kSketchGridOnStage{300, 250};
// The frames of the change to the file screen, in ms of stage time.
constexpr int32_t kFrameStep = 100;

class VPLFileScreenOnXTest
    : public shell_test::ProgramStageOnXTest<shell_test::FileScreenActMaker> {
 protected:
  // From the creation screen to the file screen, its change played out.
  void OpenFileScreen() {
    Act().GoToFileScreen(kVPLCreationUIScene);
    const int32_t start = mStage->Now();
    const int32_t span =
        VPLActCreation::kEnterFileScreenEnd - VPLActCreation::kEnterFileScreenStart;
    for (int32_t time = start; time <= start + span + kFrameStep && !Act().IsInputEnabled();
         time += kFrameStep) {
      mStage->RunFrameAt(time);
    }
  }
};

// The title badge's every corner lies inside the stage, where its view
// draws it.
TEST_F(VPLFileScreenOnXTest, TheTitleBadgeStandsInsideTheWindowOnXDisplay) {
  ASSERT_TRUE(mFiles.Ready());
  ASSERT_TRUE(mMaker.Ready());
  OpenFileScreen();
  ASSERT_EQ(Act().GetMode(), VPLActCreation::kFileScreenMode);
  ScreenOnX screen;
  ASSERT_TRUE(shell_test::CaptureShown(*mStage, screen, kSketchGridOnStage));
  shell_test::KeepScreenshot(screen, "file-screen");
  VPLSceneFileIO& files = *Act().GetFileScreen();
  ASSERT_NE(files.GetTitle(), nullptr);
  MM3DVector min(0.0f, 0.0f, 0.0f, 1.0f);
  MM3DVector max(0.0f, 0.0f, 0.0f, 1.0f);
  files.GetTitle()->GetBounds(min, max);
  for (const float x : {min.mX, max.mX}) {
    for (const float y : {min.mY, max.mY}) {
      for (const float z : {min.mZ, max.mZ}) {
        const UUPoint at = shell_test::PointOnStage(*files.GetView(), MM3DVector(x, y, z, 1.0f));
        EXPECT_GE(at.mX, 0) << x << ' ' << y;
        EXPECT_LT(at.mX, kStageWidth) << x << ' ' << y;
        EXPECT_GE(at.mY, 0) << x << ' ' << y;
        EXPECT_LT(at.mY, kStageHeight) << x << ' ' << y;
      }
    }
  }
}

}  // namespace
