// The program's screens as the X server shows them, kept for a person to
// look at (VPL_SCREENSHOT_DIR): an intro page, the creation screen with its
// palette, and the credits inside the quit question. Under scripts/test's
// X display only.

#include "app/objects/VPL3DCallbackDialog.h"
#include "app/shell/VPLActCreation.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLSceneCreationUI.h"
#include "app/shell/VPLSceneCredits.h"
#include "app/shell/VPLSceneIntro.h"
#include "mm/resources/MMPictureLoader.h"
#include "tests/app/shell/ProgramStage.h"
#include "tests/app/support/AppFixtures.h"
#include "tests/support/ResourceFileFixtures.h"

#include <gtest/gtest.h>

namespace {

using app_fixtures::RawTable;
using resource_fixtures::Bytes;
using shell_test::ProgramDataFiles;
using shell_test::ProgramStage;
using vpl::test::ScreenOnX;

// The select button's place on the palette, never black.
const UUPoint kSelectButton{40, 34};
// The end button's place on an intro page, and a point of its picture.
const UUPoint kEndButton{690, 526};
const UUPoint kEndButtonMiddle{738, 558};
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

TEST(VPLIntroScreenOnXTest, AnIntroPageShowsItsEndButtonOnXDisplay) {
  if (!ScreenOnX::Available()) GTEST_SKIP() << "needs scripts/test's X display";
  // Two pages without film; the end button's picture from the program's file.
  RawTable pages;
  RawTable places;
  for (int page = 0; page < 2; ++page) {
    pages.mRows.push_back(Bytes().U32(VPLSceneIntro::kNoFilm).Get());
    places.mRows.push_back(Bytes().U32(0).U16(kEndButton.mX).U16(kEndButton.mY).Get());
  }
  app_fixtures::AppFiles files(
      {}, {{VPLSceneIntro::kPictureScript, places}, {VPLSceneIntro::kPageScript, pages}});
  const UUDirectory folder(shell_test::DataFolderName().c_str());
  const std::unique_ptr<MMPictureLoader> pictures(MMOpenPictureFile(folder, "vpl3d.MMP", false));
  ASSERT_NE(pictures, nullptr);
  shell_test::IntroActMaker maker;
  ProgramStage stage(&maker, 0);
  ScreenOnX screen;
  ASSERT_TRUE(shell_test::CaptureShown(stage, screen, kEndButtonMiddle));
  shell_test::KeepScreenshot(screen, "intro-page");
}

}  // namespace
