// The creation act on the program's stage over the program's own data
// files, played by a child: the palette it builds, where clicks go, the
// quit question with the credits inside it, and the window's close.

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjButtonToolSelect.h"
#include "app/creation/VPLObjCreation.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/creation/VPLTool.h"
#include "app/objects/RU3DTextureCollectionFromString.h"
#include "app/objects/VPL3DCallbackDialog.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLServices.h"
#include "app/objects/VPLStringList.h"
#include "app/objects/VPLToggleButtonObject.h"
#include "app/shell/VPLActCreation.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLSceneCreationUI.h"
#include "app/shell/VPLSceneCredits.h"
#include "app/shell/VPLSceneFileIO.h"
#include "mm/drawing/MMSystemFont.h"
#include "mm3d/MM3DModelCollection.h"
#include "tests/app/shell/ProgramStage.h"
#include "tests/app/shell/ShellTestSupport.h"
#include "tests/app/support/AppFixtures.h"
#include "tests/app/support/DialogData.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

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
  // A click in the middle of an interface object, as the child aims it.
  void Click(const VPLObj& object) {
    const UUPoint at =
        shell_test::PointOnStage(*Screen().GetView(), VPLSceneBase::ObjectCentre(object));
    mStage->Move(at);
    Click(at);
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

// Logs the stage time each tick of its scene brings, with the scene.
class TickLog : public VPLObj {
 public:
  using Entries = std::vector<std::pair<MMScene*, int32_t>>;
  TickLog(MMScene* scene, Entries& entries)
      : VPLObj(scene, UURefCount<MM3DModel>()), mScene(scene), mEntries(entries) {}
  void Tick(int32_t clock) override { mEntries.emplace_back(mScene, clock); }

 private:
  MMScene* mScene;
  Entries& mEntries;
};

// The same for the area, whose tick goes to its creation's objects.
class CreationTickLog : public VPLObjCreation {
 public:
  CreationTickLog(VPLSceneCreationArea& area, TickLog::Entries& entries)
      : VPLObjCreation(&area, app_fixtures::MakeQuad(), area.GetCreation()),
        mArea(&area),
        mEntries(entries) {}
  VPLObjCreationType GetType() const override { return kVPLObjCreationGroup; }
  void Tick(int32_t clock) override { mEntries.emplace_back(mArea, clock); }

 private:
  MMScene* mArea;
  TickLog::Entries& mEntries;
};

TEST_F(VPLActCreationTest, EachFrameTicksTheScenesWithOneStageTimeTheAreaFirst) {
  ASSERT_TRUE(mFiles.Ready());
  TickLog::Entries entries;
  std::vector<std::unique_ptr<TickLog>> logs;
  TickLog::Entries expected;
  constexpr int32_t kFrameTime = 4321;
  VPLSceneCreationArea& area = *Act().GetCreationArea();
  ASSERT_TRUE(area.GetCreation()->AddObject(new CreationTickLog(area, entries)));
  expected.emplace_back(&area, kFrameTime);
  for (MMScene* scene :
       std::initializer_list<MMScene*>{&Screen(), Act().GetFileScreen(), Act().GetCredits()}) {
    if (scene == nullptr) continue;
    logs.push_back(std::make_unique<TickLog>(scene, entries));
    static_cast<VPLSceneBase*>(scene)->AddObject(logs.back().get());
    expected.emplace_back(scene, kFrameTime);
  }
  mStage->RunFrameAt(kFrameTime);
  EXPECT_EQ(entries, expected);
}

TEST_F(VPLActCreationTest, TheMagnetButtonGivesTheAreaTheMagnetPull) {
  ASSERT_TRUE(mFiles.Ready());
  VPLObjButtonTool* magnet = Screen().GetToolButton(VPLSceneCreationUI::kMagnetTool);
  ASSERT_NE(magnet, nullptr);
  Click(*magnet);
  EXPECT_EQ(Screen().GetCurrentToolButton(), magnet);
  ASSERT_NE(Act().GetCreationArea()->GetCurrentTool(), nullptr);
  EXPECT_EQ(Act().GetCreationArea()->GetCurrentTool()->GetToolType(), kVPLToolMagnetPull);
}

// The ground toggle shows the creation's ground, whatever changed it.
TEST_F(VPLActCreationTest, TheGroundToggleFollowsTheCreationsGround) {
  ASSERT_TRUE(mFiles.Ready());
  VPLSceneCreationArea& area = *Act().GetCreationArea();
  VPLToggleButtonObject& toggle = *Screen().GetGroundToggle();
  ASSERT_FALSE(area.IsGroundHidden());
  Click(toggle);
  EXPECT_TRUE(area.IsGroundHidden());
  EXPECT_TRUE(toggle.GetState());
  area.Undo();
  EXPECT_FALSE(area.IsGroundHidden());
  EXPECT_FALSE(toggle.GetState());
  Click(toggle);
  ASSERT_TRUE(area.IsGroundHidden());
  Screen().ClearButton();
  EXPECT_EQ(toggle.GetState(), area.IsGroundHidden());
}

// Unseen over its base, the reset button still takes the child's click.
TEST_F(VPLActCreationTest, TheTransparentResetButtonBringsTheCameraHome) {
  ASSERT_TRUE(mFiles.Ready());
  VPLCreationCamera& camera = Act().GetCreationArea()->GetCreation()->GetCamera();
  const MM3DVector home = camera.GetEye();
  const auto awayFromHome = [&] {
    const MM3DVector eye = camera.GetEye();
    return std::hypot(eye.mX - home.mX, eye.mY - home.mY, eye.mZ - home.mZ);
  };
  Act().GetCreationArea()->GetCreation()->ZoomCameraIn(10.0f);
  ASSERT_GT(awayFromHome(), 1.0f);
  ASSERT_NE(Screen().GetResetButton(), nullptr);
  Click(*Screen().GetResetButton());
  EXPECT_LT(awayFromHome(), 1e-3f);
}

// The notice's texture drawn as the renderer draws it.
UUOwned<MMSurface> DrawText(RU3DTextureCollectionFromString& texts, MMResourceId id) {
  UUOwned<MMSurface> surface(WinMMCreateOffscreenSurface(32, UURect(0, 0, 256, 256), AFPalette()));
  EXPECT_TRUE(texts.DrawEntry(MMItemOf(id), surface.Get()));
  return surface;
}

TEST_F(VPLActCreationTest, TheSlowMachineNoticeShowsItsTextInBlueOnItsModel) {
  ASSERT_TRUE(mFiles.Ready());
  dialog_data::DialogServices services(mStage->Stage().GetTextureMap());
  Act().ShowSlowMachineNotice(true);
  VPLObj* notice = Screen().GetSlowMachineNotice();
  ASSERT_NE(notice, nullptr);
  // Model 451 placed by definition 45: a copy of it there has its bounds.
  const VPLObj placed(
      &Screen(),
      MM3DGetModel(VPLSceneCreationUI::kSlowNoticeModel, mStage->Stage().GetTextureMap()),
      VPLSceneCreationUI::kSlowNoticeDefinition);
  MM3DVector low, high, placedLow, placedHigh;
  notice->GetBounds(low, high);
  placed.GetBounds(placedLow, placedHigh);
  for (const auto& [mine, copy] : {std::pair{low, placedLow}, std::pair{high, placedHigh}}) {
    EXPECT_FLOAT_EQ(mine.mX, copy.mX);
    EXPECT_FLOAT_EQ(mine.mY, copy.mY);
    EXPECT_FLOAT_EQ(mine.mZ, copy.mZ);
  }
  EXPECT_LT(low.mX, high.mX);
  EXPECT_EQ(notice->GetVisibility(), kMMShown);
  UUOwned<MMSurface> drawn = DrawText(services.Strings(), notice->GetTextTextureId());
  // The same text drawn afresh: string-list entry 8 in blue, centred in
  // a texture 256 wide of the notice's own proportions.
  const VPLStringList strings;
  const RU3DTextStyle blue{
      .mFont = std::make_shared<MMSystemFont>(strings.GetText(45), 9, 400, false, false),
      .mColor = AFColor(AFRGB(0, 0, 255)),
      .mHorizontalAlignment = 1,
      .mVerticalAlignment = 1};
  const UURect face = notice->FaceRect(UURect(0, 0, 256, 256));
  EXPECT_EQ(face.GetWidth(), 256);
  EXPECT_NEAR(face.GetHeight(), 256.0f * (high.mY - low.mY) / (high.mX - low.mX), 1.0f);
  UUOwned<MMSurface> expected =
      DrawText(services.Strings(),
               services.Strings().AddText(face, strings.GetText(8),
                                          {face.GetWidth() / 2, face.GetHeight() / 2}, blue));
  int32_t inked = 0;
  int32_t differing = 0;
  for (int32_t y = 0; y < face.GetHeight(); ++y) {
    for (int32_t x = 0; x < face.GetWidth(); ++x) {
      const uint32_t pixel = shell_test::SurfacePixel(*drawn, x, y);
      differing += pixel != shell_test::SurfacePixel(*expected, x, y) ? 1 : 0;
      // On white paper: pure blue ink, and at its edges only shades
      // between the two.
      const uint32_t rgb = pixel & 0xFFFFFF;
      inked += rgb == 0x0000FF ? 1 : 0;
      if (rgb != 0xFFFFFF) {
        EXPECT_EQ(pixel & 0xFF, 0xFFu) << x << "," << y;
        EXPECT_EQ(pixel >> 8 & 0xFF, pixel >> 16 & 0xFF) << x << "," << y;
      }
    }
  }
  EXPECT_GT(inked, 0);
  EXPECT_EQ(differing, 0);
  Act().ShowSlowMachineNotice(false);
  EXPECT_EQ(Screen().GetSlowMachineNotice(), nullptr);
}

// The credits on the stage's clock, which moves only when the test moves
// it: credit n at 5 s times n from the question's answer, and the way back
// after the last; a model credit stands before the dialog, stretched.
TEST_F(VPLActCreationTest, TheCreditsFollowEachOtherEveryFiveSecondsAndThenGoBack) {
  ASSERT_TRUE(mFiles.Ready());
  const int32_t credits =
      VPLScript(VPLSceneCredits::kCreditList, kVPLScriptList).GetScript().GetRowCount();
  ASSERT_GT(credits, 0);
  Screen().AskToQuit();
  VPL3DMessageDialog* question = Screen().GetQuestionDialog();
  const int32_t start = mStage->Now();
  Screen().DialogResult(question, kCreditsAnswer);
  VPLSceneCredits& scene = *Act().GetCredits();
  struct Step {
    int32_t mAfter;
    int32_t mShown;
  };
  std::vector<Step> steps;
  for (int32_t credit = 1; credit <= credits; ++credit) {
    steps.push_back({(credit - 1) * 5000, credit});
    steps.push_back({credit * 5000 - 1, credit});
  }
  for (const Step& step : steps) {
    mStage->RunFrameAt(start + step.mAfter);
    ASSERT_EQ(Act().GetMode(), VPLActCreation::kCreditsMode) << step.mAfter;
    // The credits never hold the window's close back.
    EXPECT_TRUE(Act().CanClose());
    EXPECT_EQ(scene.GetCreditIndex(), step.mShown) << step.mAfter;
    if (step.mAfter == 0) {
      // The program's first credit has a model.
      ASSERT_NE(scene.GetCreditModel(), nullptr);
      const MM3DVector dialog = question->GetWorldPosition();
      const MM3DVector model = scene.GetCreditModel()->GetWorldPosition();
      EXPECT_FLOAT_EQ(model.mX, dialog.mX);
      EXPECT_FLOAT_EQ(model.mY, dialog.mY + 25.0f);
      EXPECT_FLOAT_EQ(model.mZ, dialog.mZ - 75.0f);
      MM3DMatrix stretched;
      MM3DMatrixScale(stretched, 3.0f, 3.0f, 1.0f);
      EXPECT_EQ(scene.GetCreditModel()->GetScaleMatrix(), stretched);
    }
  }
  mStage->RunFrameAt(start + credits * 5000);
  EXPECT_EQ(Act().GetMode(), VPLActCreation::kCreationMode);
  EXPECT_EQ(scene.GetCreditIndex(), 0);
  EXPECT_EQ(scene.GetCreditModel(), nullptr);
  EXPECT_EQ(Screen().GetPendingQuestion(), VPLSceneCreationUI::kQuit);
  EXPECT_EQ(Screen().GetQuestionDialog(), question);
  ASSERT_NE(question->GetTextPanel(), nullptr);
  EXPECT_EQ(question->GetTextPanel()->GetVisibility(), kMMShown);
}

struct PrintingCase {
  const char* mName;
  int32_t mPrinting;
  MMVisibility mPrintButton;
};

// To the file screen and back, the change animated by the current
// sketch's cell: input waits while it plays, and back on the creation
// screen the print button follows "Printing" as the file screen left it.
class VPLActFileScreenTest : public ::testing::TestWithParam<PrintingCase> {
 protected:
  VPLActFileScreenTest() { VPLOpenGLFirst = 1; }
  ~VPLActFileScreenTest() override {
    mServices.reset();
    mStage.reset();
    VPLSceneCreationUI::ResetQuittingForTest();
    VPLOpenGLFirst = 0;
  }

  VPLActCreation& Act() { return *static_cast<VPLActCreation*>(mStage->Act()); }
  // Frames until the change is over, at most the animation's span.
  void PlayChange(int32_t span) {
    const int32_t start = mStage->Now();
    for (int32_t time = start; time <= start + span + 100 && !Act().IsInputEnabled(); time += 100) {
      mStage->RunFrameAt(time);
    }
  }

  ProgramDataFiles mFiles;
  shell_test::FileScreenActMaker mMaker;
  std::unique_ptr<ProgramStage> mStage = std::make_unique<ProgramStage>(&mMaker, 1);
  std::unique_ptr<dialog_data::DialogServices> mServices =
      std::make_unique<dialog_data::DialogServices>(mStage->Stage().GetTextureMap());
};

TEST_P(VPLActFileScreenTest, TheChangeIgnoresInputAndThePrintButtonFollowsPrintingAfter) {
  ASSERT_TRUE(mFiles.Ready());
  ASSERT_TRUE(mMaker.Ready());
  ASSERT_NE(Act().GetFileScreen(), nullptr);
  VPLSceneCreationUI& screen = *Act().GetInterface();
  mStage->Press(kMeadow);
  mStage->Release(kMeadow);
  ASSERT_EQ(Act().GetSceneInCharge(), nullptr);
  Act().GoToFileScreen(kVPLCreationUIScene);
  ASSERT_FALSE(Act().IsInputEnabled());
  // A press on the palette would put the screen in charge.
  mStage->Press(kPalettePanel);
  mStage->Release(kPalettePanel);
  mStage->Key(VK_ESCAPE);
  EXPECT_EQ(Act().GetSceneInCharge(), nullptr);
  EXPECT_EQ(Act().GetMode(), VPLActCreation::kCreationMode);
  PlayChange(VPLActCreation::kEnterFileScreenEnd - VPLActCreation::kEnterFileScreenStart);
  ASSERT_EQ(Act().GetMode(), VPLActCreation::kFileScreenMode);
  EXPECT_EQ(Act().GetSceneInCharge(), Act().GetFileScreen());
  // The window's close goes to the file screen now, which lets the program go.
  int32_t quits = 0;
  VPLGetServices().mQuit = [&quits] { ++quits; };
  EXPECT_TRUE(Act().CanClose());
  VPLGetServices().mQuit = nullptr;
  EXPECT_EQ(quits, 1);
  EXPECT_EQ(screen.GetPendingQuestion(), VPLSceneCreationUI::kNoQuestion);

  mServices->Preferences().SetPrinting(GetParam().mPrinting);
  Act().ReturnToCreation();
  EXPECT_FALSE(Act().IsInputEnabled());
  PlayChange(VPLActCreation::kLeaveFileScreenEnd - VPLActCreation::kLeaveFileScreenStart);
  ASSERT_EQ(Act().GetMode(), VPLActCreation::kCreationMode);
  EXPECT_EQ(screen.GetPrintButton()->GetVisibility(), GetParam().mPrintButton);
}

INSTANTIATE_TEST_SUITE_P(Printing, VPLActFileScreenTest,
                         ::testing::Values(PrintingCase{"SwitchedOff", 0, kMMHidden},
                                           PrintingCase{"SwitchedOn", 1, kMMShown},
                                           PrintingCase{"AnyOtherValueHides", 2, kMMHidden}),
                         [](const ::testing::TestParamInfo<PrintingCase>& info) {
                           return info.param.mName;
                         });

}  // namespace
