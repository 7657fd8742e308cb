// The credits inside the quit question on the program's own stage, as the
// X server shows them. Under scripts/test's X display only; the pictures
// are kept for a person to look at (VPL_SCREENSHOT_DIR).

#include "app/objects/VPL3DCallbackDialog.h"
#include "app/objects/VPLObj.h"
#include "app/shell/VPLActCreation.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLSceneCreationUI.h"
#include "app/shell/VPLSceneCredits.h"
#include "mm3d/MM3DTextureCollection.h"
#include "tests/app/shell/ProgramStage.h"
#include "tests/app/support/DialogData.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using shell_test::ProgramDataFiles;
using shell_test::ProgramStage;
using vpl::test::ScreenOnX;

// Inside the question dialog's panel.
const UUPoint kDialogMiddle{400, 300};
// The title star, seen whole, covers at least this many pixels.
constexpr int32_t kSeenStar = 900;
constexpr float kAspectTolerance = 0.02f;

int32_t Differing(const ScreenOnX& a, const ScreenOnX& b) {
  int32_t differing = 0;
  for (int32_t y = 0; y < a.Height(); ++y) {
    for (int32_t x = 0; x < a.Width(); ++x) differing += a.At(x, y) != b.At(x, y) ? 1 : 0;
  }
  return differing;
}

class VPLCreditsOnXTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!ScreenOnX::Available()) GTEST_SKIP() << "needs scripts/test's X display";
    VPLOpenGLFirst = 1;
    mStage = std::make_unique<ProgramStage>(&mMaker, 1);
    mServices = std::make_unique<dialog_data::DialogServices>(mStage->Stage().GetTextureMap());
  }
  void TearDown() override {
    mServices.reset();
    mStage.reset();
    VPLSceneCreationUI::ResetQuittingForTest();
    VPLOpenGLFirst = 0;
  }

  VPLActCreation& Act() { return *static_cast<VPLActCreation*>(mStage->Act()); }
  // The quit question's credits answer: the first credit, the title.
  void ShowCredits() {
    VPLSceneCreationUI& screen = *Act().GetInterface();
    screen.AskToQuit();
    screen.DialogResult(screen.GetQuestionDialog(), VPLSceneCreationUI::kCreditsAnswer);
    ASSERT_EQ(Act().GetMode(), VPLActCreation::kCreditsMode);
    ASSERT_TRUE(shell_test::CaptureShown(*mStage, mScreen, kDialogMiddle));
  }

  ProgramDataFiles mFiles;
  shell_test::CreationActMaker mMaker;
  std::unique_ptr<ProgramStage> mStage;
  std::unique_ptr<dialog_data::DialogServices> mServices;
  ScreenOnX mScreen;
};

// The title's star shows whole: taking it away changes as many pixels as
// a star covers.
TEST_F(VPLCreditsOnXTest, TheTitleStarIsSeenOnXDisplay) {
  ASSERT_TRUE(mFiles.Ready());
  ShowCredits();
  shell_test::KeepScreenshot(mScreen, "credits-title");
  VPLObj* star = Act().GetCredits()->GetCreditModel();
  ASSERT_NE(star, nullptr);
  const ScreenOnX withStar = mScreen;
  star->SetVisibility(kMMHidden);
  ASSERT_TRUE(shell_test::CaptureShown(*mStage, mScreen, kDialogMiddle));
  EXPECT_GE(Differing(withStar, mScreen), kSeenStar);
}

// The page is drawn in the panel's own aspect, so its letters keep theirs.
TEST_F(VPLCreditsOnXTest, ThePageTakesThePanelsAspectOnXDisplay) {
  ASSERT_TRUE(mFiles.Ready());
  ShowCredits();
  const VPLObj& panel = *Act().GetInterface()->GetQuestionDialog()->GetTextPanel();
  MM3DVector low(0.0f, 0.0f, 0.0f, 1.0f);
  MM3DVector high(0.0f, 0.0f, 0.0f, 1.0f);
  panel.GetBounds(low, high);
  const UUPoint page = MM3DGetTextureSize(panel.GetTextTextureId());
  ASSERT_GT(page.mY, 0);
  EXPECT_NEAR(static_cast<float>(page.mX) / static_cast<float>(page.mY),
              (high.mX - low.mX) / (high.mY - low.mY), kAspectTolerance);
}

}  // namespace
