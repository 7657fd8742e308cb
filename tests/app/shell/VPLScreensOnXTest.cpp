// The program's screens as the X server shows them, kept for a person to
// look at (VPL_SCREENSHOT_DIR): the creation screen with its palette, and
// the credits inside the quit question. Under scripts/test's X display
// only.

#include "app/objects/VPL3DCallbackDialog.h"
#include "app/shell/VPLActCreation.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLSceneCreationUI.h"
#include "app/shell/VPLSceneCredits.h"
#include "tests/app/shell/ProgramStage.h"

#include <gtest/gtest.h>

namespace {

using shell_test::ProgramDataFiles;
using shell_test::ProgramStage;
using vpl::test::ScreenOnX;

// The select button's place on the palette, never black.
const UUPoint kSelectButton{40, 34};
// Inside the question dialog's panel.
const UUPoint kDialogMiddle{400, 300};

class VPLScreensOnXTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ScreenOnX::Available()) GTEST_SKIP() << "needs scripts/test's X display";
    VPLOpenGLFirst = 1;
    mStage = std::make_unique<ProgramStage>(&mMaker, 1);
  }
  void TearDown() override {
    mStage.reset();
    VPLSceneCreationUI::ResetQuittingForTest();
    VPLOpenGLFirst = 0;
  }

  VPLActCreation& Act() { return *static_cast<VPLActCreation*>(mStage->Act()); }

  ProgramDataFiles mFiles;
  shell_test::CreationActMaker mMaker;
  std::unique_ptr<ProgramStage> mStage;
  ScreenOnX mScreen;
};

TEST_F(VPLScreensOnXTest, TheCreationScreenShowsItsPaletteOnXDisplay) {
  ASSERT_TRUE(mFiles.Ready());
  ASSERT_TRUE(shell_test::CaptureShown(*mStage, mScreen, kSelectButton));
  shell_test::KeepScreenshot(mScreen, "creation-screen");
}

TEST_F(VPLScreensOnXTest, TheCreditsShowInsideTheQuitQuestionOnXDisplay) {
  ASSERT_TRUE(mFiles.Ready());
  VPLSceneCreationUI& screen = *Act().GetInterface();
  screen.AskToQuit();
  screen.DialogResult(screen.GetQuestionDialog(), VPLSceneCreationUI::kCreditsAnswer);
  ASSERT_EQ(Act().GetMode(), VPLActCreation::kCreditsMode);
  ASSERT_TRUE(shell_test::CaptureShown(*mStage, mScreen, kDialogMiddle));
  shell_test::KeepScreenshot(mScreen, "credits");
}

}  // namespace
