// The creation screen draws a frame only when something on it changed: on
// the program's stage over the program's own data files, with a few blocks
// and Pomble standing on the meadow, each kind of motion has its next
// frames drawn and each kind of rest has none. The stage's clock moves by
// hand, one idle pass of the program's loop at a time.

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationUser.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/shell/VPLActCreation.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLSceneCreationUI.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DModelCollection.h"
#include "mm3d/MM3DRenderer.h"
#include "tests/app/shell/ProgramStage.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

using shell_test::ProgramDataFiles;
using shell_test::ProgramStage;

constexpr MMResourceId kCube = 80;
constexpr int32_t kBlocks = 3;
// One idle pass of the program's loop at 60 frames a second.
constexpr int32_t kPassStep = 17;
// Passes that let whatever the set-up started end (a highlight fading in,
// the first frames of a new screen).
constexpr int32_t kSettlingPasses = 40;
constexpr int32_t kWatchedPasses = 4;
// Places on the stage: the meadow, the select button and the primitive
// tool's button on the palette.
const UUPoint kMeadow{450, 300};
const UUPoint kOtherMeadow{520, 340};
const UUPoint kSelectButton = shell_test::kSelectButtonOnStage;
const UUPoint kPrimitiveTool{124, 84};
constexpr float kTurn = 0.2f;
// A squared world distance: the magnet moves the block's corners within it.
constexpr float kMagnetReach = 16.0f;
constexpr float kGrowth = 1.3f;
// The fill tool's two colours of a pulse.
constexpr MM3DColor kBaseColour{.mR = 0.2f, .mG = 0.4f, .mB = 1.0f, .mA = 0.0f};
constexpr MM3DColor kSecondColour{.mR = 1.0f, .mG = 0.2f, .mB = 0.2f, .mA = 0.0f};

class VPLActCreationRestTest : public ::testing::Test {
 public:
  VPLActCreationRestTest() {
    VPLOpenGLFirst = 1;
    if (!mFiles.Ready()) return;
    for (int32_t i = 0; i < kBlocks; ++i) {
      auto* block = new VPLObjCreationUser(&Area(), MM3DGetModel(kCube, Stage().GetTextureMap()),
                                           Area().GetCreation());
      Area().GetCreation()->AddObjectAt(
          block, MM3DVector(static_cast<float>(i * 8 - 8), 0.0f, 0.0f, 1.0f));
      mBlocks.push_back(block);
    }
    Area().AddCharacter();
    mStage->Move(kMeadow);
    Passes(kSettlingPasses);
  }
  ~VPLActCreationRestTest() override {
    VPLSceneCreationUI::ResetQuittingForTest();
    VPLOpenGLFirst = 0;
  }

  VPLStage& Stage() { return mStage->Stage(); }
  VPLActCreation& Act() { return *static_cast<VPLActCreation*>(mStage->Act()); }
  VPLSceneCreationArea& Area() { return *Act().GetCreationArea(); }
  int32_t Presented() { return Stage().GetRenderer()->GetStatistics().mFrames; }

  // Idle passes as the program's loop runs them: the last mouse event
  // again, then a frame, each a pass later; the frames presented meanwhile.
  int32_t Passes(int32_t count, const std::function<void()>& eachPass = {}) {
    const int32_t before = Presented();
    for (int32_t pass = 0; pass < count; ++pass) {
      if (eachPass) eachPass();
      mTime += kPassStep;
      Stage().StrategyIdleTick();
      mStage->RunFrameAt(mTime);
    }
    return Presented() - before;
  }

  // A new block on the meadow, in front of the others.
  void AddBlock() {
    auto* block = new VPLObjCreationUser(&Area(), MM3DGetModel(kCube, Stage().GetTextureMap()),
                                         Area().GetCreation());
    Area().GetCreation()->AddObjectAt(block, MM3DVector(0.0f, 0.0f, 8.0f, 1.0f));
  }
  // A drag of the rotate or scale tool as the tools make it: each step a
  // pass after the one before, so that the object goes on by itself.
  void Spin(VPLObjCreation& object) {
    object.BeginRotate(0.0f, 0.0f, 0.0f);
    for (int32_t step = 0; step < 2; ++step) {
      Passes(1);
      object.DragRotate(0.0f, kTurn, 0.0f);
    }
    object.EndRotate(0.0f, kTurn, 0.0f);
  }
  void Jiggle(VPLObjCreation& object) {
    object.BeginScale(1.0f, 1.0f, 1.0f);
    for (const float growth : {kGrowth, kGrowth * kGrowth}) {
      Passes(1);
      object.DragScale(growth, growth, growth);
    }
    object.EndScale();
  }
  void SendAlongThePath(VPLObjCreation& object) {
    object.SetPath(Area().GetPath(), Area().GetPathValue());
    object.PlayPath();
  }
  // One event of a magnet drag held on the middle of the object.
  void PullWithTheMagnet(VPLObjCreation& object) {
    MMView& view = *Area().GetView();
    const UUPoint middle = shell_test::PointOnStage(view, VPLSceneBase::ObjectCentre(object));
    const VPLSegment ray = VPLSceneBase::ScreenToWorldSegment(view, middle.mX, middle.mY);
    object.DragMagnetPull(ray.mStart, ray.mEnd, kMagnetReach);
  }
  // The pointer on the meadow, a little aside from where it was.
  void MovePointerAlong() {
    mPointer = UUPoint{mPointer.mX == kMeadow.mX ? kOtherMeadow.mX : kMeadow.mX, mPointer.mY};
    mStage->Move(mPointer);
  }
  void Click(UUPoint at) {
    mStage->Move(at);
    mStage->Press(at);
    mStage->Release(at);
  }

  ProgramDataFiles mFiles;
  shell_test::CreationActMaker mMaker;
  std::unique_ptr<ProgramStage> mStage = std::make_unique<ProgramStage>(&mMaker, 1);
  int32_t mTime = mStage->Now();
  std::vector<VPLObjCreation*> mBlocks;
  UUPoint mPointer = kMeadow;
};

// One change of the screen, made on the fixture.
struct Change {
  const char* mName;
  void (*mMake)(VPLActCreationRestTest&);
};

std::string NameOf(const ::testing::TestParamInfo<Change>& info) { return info.param.mName; }

// Each kind of motion shows in every frame while it lasts: started, or
// made again before every pass.
class MotionTest : public VPLActCreationRestTest,
                   public ::testing::WithParamInterface<std::pair<Change, bool>> {};

TEST_P(MotionTest, IsDrawnInEachOfItsFrames) {
  ASSERT_TRUE(mFiles.Ready());
  const Change& motion = GetParam().first;
  const bool eachPass = GetParam().second;
  if (!eachPass) motion.mMake(*this);
  Passes(1);
  EXPECT_EQ(Passes(kWatchedPasses,
                   [&] {
                     if (eachPass) motion.mMake(*this);
                   }),
            kWatchedPasses);
}

const std::pair<Change, bool> kMotions[] = {
    {{"SpinningBlock", [](VPLActCreationRestTest& t) { t.Spin(*t.mBlocks[0]); }}, false},
    {{"JigglingBlock", [](VPLActCreationRestTest& t) { t.Jiggle(*t.mBlocks[1]); }}, false},
    {{"PulsingBlock",
      [](VPLActCreationRestTest& t) { t.mBlocks[2]->SetColors(kBaseColour, kSecondColour); }},
     false},
    {{"BlockOnItsPath", [](VPLActCreationRestTest& t) { t.SendAlongThePath(*t.mBlocks[0]); }},
     false},
    {{"PomblePerformingAndTheCameraGliding",
      [](VPLActCreationRestTest& t) { t.Area().StartPerformance(); }},
     false},
    {{"SpinningPreviewOfThePrimitiveTool",
      [](VPLActCreationRestTest& t) { t.Click(kPrimitiveTool); }},
     false},
    {{"BlockMovedByADrag",
      [](VPLActCreationRestTest& t) { t.mBlocks[1]->MoveBy(0.0f, 0.5f, 0.0f); }},
     true},
    {{"PointersCursorMoving", [](VPLActCreationRestTest& t) { t.MovePointerAlong(); }}, true},
    {{"MagnetPullingUnderARestingPointer",
      [](VPLActCreationRestTest& t) { t.PullWithTheMagnet(*t.mBlocks[1]); }},
     true},
};

INSTANTIATE_TEST_SUITE_P(VPLActCreationRestTest, MotionTest, ::testing::ValuesIn(kMotions),
                         [](const auto& info) { return std::string(info.param.first.mName); });

// A change that ends draws its frame, and then the screen rests again.
class OneChangeTest : public VPLActCreationRestTest,
                      public ::testing::WithParamInterface<Change> {};

TEST_P(OneChangeTest, IsDrawnAndThenTheScreenRests) {
  ASSERT_TRUE(mFiles.Ready());
  GetParam().mMake(*this);
  EXPECT_EQ(Passes(1), 1);
  Passes(kSettlingPasses);
  EXPECT_EQ(Passes(kWatchedPasses), 0);
}

const Change kOneChanges[] = {
    {"SystemAskedForAPaint", [](VPLActCreationRestTest& t) { t.Stage().GetAct()->Repaint(); }},
    {"PointerOverAButton", [](VPLActCreationRestTest& t) { t.mStage->Move(kSelectButton); }},
    {"QuestionOpened", [](VPLActCreationRestTest& t) { t.Act().GetInterface()->AskToQuit(); }},
    {"TexturesMadeAgain",
     [](VPLActCreationRestTest& t) { t.Stage().GetTextureMap()->ReleaseAll(); }},
    {"BlockMovedOnce", [](VPLActCreationRestTest& t) { t.mBlocks[1]->MoveBy(0.0f, 0.5f, 0.0f); }},
    {"BlockAdded", [](VPLActCreationRestTest& t) { t.AddBlock(); }},
    {"BlockRemoved",
     [](VPLActCreationRestTest& t) { t.Area().GetCreation()->RemoveObject(t.mBlocks[2]); }},
    {"MoveUndone",
     [](VPLActCreationRestTest& t) {
       t.Area().TakeSnapshot();
       t.mBlocks[1]->MoveBy(0.0f, 0.5f, 0.0f);
       t.Passes(kSettlingPasses);
       t.Area().Undo();
     }},
    {"LibraryModelAdded", [](VPLActCreationRestTest& t) { t.Area().AddLibraryModel(0); }},
    {"PombleTakenAway", [](VPLActCreationRestTest& t) { t.Area().RemoveCharacter(); }},
    {"CreationEmptied", [](VPLActCreationRestTest& t) { t.Area().ClearCreation(); }},
    {"NextBackground", [](VPLActCreationRestTest& t) { t.Area().NextBackground(); }},
    {"GroundToggled", [](VPLActCreationRestTest& t) { t.Area().ToggleGround(); }},
    {"CameraOrbited",
     [](VPLActCreationRestTest& t) { t.Area().GetCreation()->OrbitCameraQuarterPositive(); }},
    {"OtherToolChosen",
     [](VPLActCreationRestTest& t) {
       t.Click(kPrimitiveTool);
       t.Click(kSelectButton);
     }},
    {"SpinStopped",
     [](VPLActCreationRestTest& t) {
       t.Spin(*t.mBlocks[0]);
       t.mBlocks[0]->BeginRotate(0.0f, 0.0f, 0.0f);
       t.mBlocks[0]->EndRotate(0.0f, 0.0f, 0.0f);
     }},
};

INSTANTIATE_TEST_SUITE_P(VPLActCreationRestTest, OneChangeTest, ::testing::ValuesIn(kOneChanges),
                         NameOf);

}  // namespace
