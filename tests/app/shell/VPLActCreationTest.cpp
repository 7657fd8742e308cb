// The creation act on the program's stage over the program's own data
// files, played by a child: the palette it builds, where clicks go, the
// quit question with the credits inside it, and the window's close.

#include "app/creation/VPLObjButtonToolSelect.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/objects/VPL3DCallbackDialog.h"
#include "app/shell/VPLActCreation.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLSceneCreationUI.h"
#include "app/shell/VPLSceneCredits.h"
#include "app/shell/VPLSceneFileIO.h"
#include "tests/app/shell/ProgramStage.h"

#include <gtest/gtest.h>

namespace {

using shell_test::ProgramDataFiles;
using shell_test::ProgramStage;

// Appended to the screen's objects: seven tool buttons, seven screen
// buttons, the ground toggle, two pads and the reset button.
constexpr int32_t kPaletteObjects = 18;
// A point of the palette panel between its buttons, and one of the meadow.
const UUPoint kPalettePanel{90, 470};
const UUPoint kMeadow{500, 420};
constexpr int32_t kCreditsAnswer = VPLSceneCreationUI::kCreditsAnswer;

class VPLActCreationTest : public ::testing::Test {
 protected:
  VPLActCreationTest() { VPLOpenGLFirst = 1; }
  ~VPLActCreationTest() override {
    VPLSceneCreationUI::ResetQuittingForTest();
    VPLOpenGLFirst = 0;
  }

  VPLActCreation& Act() { return *static_cast<VPLActCreation*>(mStage->Act()); }
  VPLSceneCreationUI& Screen() { return *Act().GetInterface(); }
  void Click(UUPoint at) {
    mStage->Press(at);
    mStage->Release(at);
    Settle();
  }
  // The callbacks that callbacks queue run too.
  void Settle() {
    mStage->RunFrame();
    mStage->RunFrame();
  }

  ProgramDataFiles mFiles;
  shell_test::CreationActMaker mMaker;
  std::unique_ptr<ProgramStage> mStage = std::make_unique<ProgramStage>(&mMaker, 1);
};

TEST_F(VPLActCreationTest, BuildsThePaletteWithTheSelectButtonCurrent) {
  ASSERT_TRUE(mFiles.Ready());
  ASSERT_EQ(Act().GetMode(), VPLActCreation::kCreationMode);
  EXPECT_EQ(Screen().GetInterfaceObjectCount(), kPaletteObjects);
  EXPECT_NE(dynamic_cast<VPLObjButtonToolSelect*>(Screen().GetCurrentToolButton()), nullptr);
  EXPECT_NE(Screen().GetPaletteBackdrop(), nullptr);
  EXPECT_FALSE(Act().GetCredits()->GetView()->IsVisible());
}

TEST_F(VPLActCreationTest, APressOnThePanelStaysWithTheScreenAndNeverReachesTheArea) {
  ASSERT_TRUE(mFiles.Ready());
  mStage->Press(kPalettePanel);
  EXPECT_EQ(Act().GetSceneInCharge(), &Screen());
  mStage->Drag(kMeadow);
  EXPECT_NE(Act().GetSceneInCharge(), Act().GetCreationArea());
  mStage->Release(kMeadow);
}

TEST_F(VPLActCreationTest, ThePressOnTheMeadowIsNotTheScreens) {
  ASSERT_TRUE(mFiles.Ready());
  mStage->Press(kMeadow);
  EXPECT_NE(Act().GetSceneInCharge(), &Screen());
  mStage->Release(kMeadow);
}

TEST_F(VPLActCreationTest, TheCreditsShowInsideTheQuitQuestionAndAPressGoesBack) {
  ASSERT_TRUE(mFiles.Ready());
  Screen().AskToQuit();
  VPL3DMessageDialog* question = Screen().GetQuestionDialog();
  ASSERT_NE(question, nullptr);
  Screen().DialogResult(question, kCreditsAnswer);
  EXPECT_EQ(Act().GetMode(), VPLActCreation::kCreditsMode);
  EXPECT_EQ(Act().GetSceneInCharge(), Act().GetCredits());
  EXPECT_EQ(Act().GetCredits()->GetReturnScene(), kVPLCreationUIScene);
  Settle();
  EXPECT_EQ(Act().GetCredits()->GetCreditIndex(), 1);
  mStage->Release(kMeadow);
  EXPECT_EQ(Act().GetMode(), VPLActCreation::kCreditsMode);
  mStage->Press(kMeadow);
  EXPECT_EQ(Act().GetMode(), VPLActCreation::kCreationMode);
  EXPECT_EQ(Screen().GetPendingQuestion(), VPLSceneCreationUI::kQuit);
  EXPECT_EQ(Screen().GetQuestionDialog(), question);
  EXPECT_EQ(Act().GetCredits()->GetCreditIndex(), 0);
  mStage->Release(kMeadow);
}

TEST_F(VPLActCreationTest, AReturnFromTheCreditsAfterAKeyLeftThemDoesNothing) {
  ASSERT_TRUE(mFiles.Ready());
  Screen().AskToQuit();
  Screen().DialogResult(Screen().GetQuestionDialog(), kCreditsAnswer);
  mStage->Key(VK_ESCAPE);
  ASSERT_EQ(Act().GetMode(), VPLActCreation::kCreationMode);
  Act().ReturnToCreation(kVPLCreditsScene);
  Act().LeaveForFileScreen(kVPLCreditsScene);
  EXPECT_EQ(Act().GetMode(), VPLActCreation::kCreationMode);
  EXPECT_TRUE(Act().IsInputEnabled());
}

TEST_F(VPLActCreationTest, AnUntouchedCreationLetsTheWindowCloseAtOnce) {
  ASSERT_TRUE(mFiles.Ready());
  EXPECT_TRUE(mStage->Stage().AgreeToCloseNow());
  EXPECT_TRUE(VPLSceneCreationUI::IsQuitting());
}

TEST_F(VPLActCreationTest, ClosingWhileTheQuestionIsOpenWaits) {
  ASSERT_TRUE(mFiles.Ready());
  Screen().AskToQuit();
  EXPECT_FALSE(Act().CanClose());
}

}  // namespace
