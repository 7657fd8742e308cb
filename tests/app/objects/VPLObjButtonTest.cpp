#include "app/objects/VPLObjButton.h"

#include "app/objects/VPLDisplayTreeVisitors.h"
#include "app/objects/VPLToggleButtonObject.h"
#include "app/objects/VPLUpAlphaHiliteObject.h"
#include "foundation/al/ALAllocator.h"
#include "tests/app/support/AppFixtures.h"
#include "tests/app/support/InterfaceStage.h"

#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace {

using namespace app_fixtures;

// Button definitions of the test's script file.
constexpr MMResourceId kRestAndClick = kFirstFreeEntry;   // rest 3-6, click 0-15 at 15 fps
constexpr MMResourceId kClickOnly = kFirstFreeEntry + 1;  // click 17-18 at 30 fps
constexpr MMResourceId kPlain = kFirstFreeEntry + 2;      // a model only
constexpr MMResourceId kToggleOff = kFirstFreeEntry + 3;  // the other look: kToggleOn
constexpr MMResourceId kToggleOn = kFirstFreeEntry + 4;   // the two-mesh model
constexpr uint32_t kQuad = static_cast<uint32_t>(ModelId(kQuadItem));
constexpr uint32_t kTwoMeshes = static_cast<uint32_t>(ModelId(kTwoMeshItem));
constexpr uint32_t Reference(MMResourceId entry) { return static_cast<uint32_t>(entry + 1); }

const ExtraTables kDefinitions = {
    {kRestAndClick, {{0, kQuad}, {11, 3}, {12, 6}, {17, 0}, {18, 15}, {26, 15}}},
    {kClickOnly, {{0, kQuad}, {17, 17}, {18, 18}}},
    {kPlain, {{0, kQuad}}},
    {kToggleOff, {{0, kQuad}, {8, Reference(kToggleOn)}, {15, 0}, {16, 3}}},
    {kToggleOn, {{0, kTwoMeshes}}},
};

const MM3DVector kCentre(0, 0, 10, 1);
const MM3DColor kNoColor{0, 0, 0, 0};
const MM3DColor kGlow{0.96f, 0.47f, 0.03f, 0.0f};

using Range = std::pair<int32_t, int32_t>;

// A button that records the frame ranges it plays.
template <typename Button>
class Recorded : public Button {
 public:
  using Button::Button;
  using Button::ShowRestFrame;
  void PlayAnimation(int32_t start, int32_t end, bool loop) override {
    mRanges.emplace_back(start, end);
    Button::PlayAnimation(start, end, loop);
  }
  std::vector<Range> mRanges;
};

class VPLObjButtonTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(mFiles.Ready()); }

  MMTaskCallback Counting() {
    return MMTaskCallback(mStage.Scene().GetTaskClient(),
                          new (ALGlobalAllocator) StageLogCallback(mFired, "fired"));
  }
  // Puts the button among the scene's controls, in front of the camera.
  template <typename Button>
  Button* Place(Button* button) {
    button->SetPosition(kCentre);
    mStage.Plain().AppendInterfaceObject(button);
    return button;
  }
  void Click() {
    const UUPoint at = mStage.ScreenPointOf(kCentre);
    mStage.Press(at);
    mStage.Release(at);
  }

  AppFiles mFiles{kDefinitions};
  InterfaceStage mStage;
  StageLog mFired;
};

TEST_F(VPLObjButtonTest, FramesBecomeMillisecondsAtTheTablesRate) {
  struct Case {
    int32_t frame;
    float rate;
    int32_t ms;
  };
  for (const Case& c : {Case{15, 15.0f, 1000}, Case{15, 30.0f, 500}, Case{1, 30.0f, 33},
                        Case{7, 0.0f, 233}, Case{-1, 30.0f, -33}}) {
    EXPECT_EQ(VPLObjButton::FrameTime(c.frame, c.rate), c.ms) << c.frame << " at " << c.rate;
  }
}

TEST_F(VPLObjButtonTest, AtRestAButtonShowsTheEndOfItsRestRangeElseOfItsClickRange) {
  struct Case {
    MMResourceId definition;
    std::vector<Range> shown;
  };
  for (const Case& c :
       {Case{kRestAndClick, {{400, 400}}}, Case{kClickOnly, {{600, 600}}}, Case{kPlain, {}}}) {
    Recorded<VPLObjButton> button(&mStage.Scene(), MakeQuad(), MMTaskCallback(), c.definition);
    button.ShowRestFrame();
    EXPECT_EQ(button.mRanges, c.shown) << c.definition;
  }
}

TEST_F(VPLObjButtonTest, AClickPlaysTheClickRangeAndFiresOnceAfterTheInput) {
  auto* button = Place(
      new Recorded<VPLOnUpButtonObject>(&mStage.Scene(), MakeQuad(), Counting(), kRestAndClick));
  Click();
  EXPECT_EQ(button->mRanges, (std::vector<Range>{{0, 1000}}));
  EXPECT_TRUE(mFired.empty());
  mStage.RunFrame();
  EXPECT_EQ(mFired, StageLog{"fired"});
  mStage.RunFrame();
  EXPECT_EQ(mFired.size(), 1u);
}

TEST_F(VPLObjButtonTest, EachKindFiresOnItsOwnOutcome) {
  const UUPoint at = mStage.ScreenPointOf(kCentre);
  Place(new VPLOnDownButtonObject(&mStage.Scene(), MakeQuad(), Counting(), kPlain));
  mStage.Press(at);
  mStage.RunFrame();
  EXPECT_EQ(mFired.size(), 1u);
  mStage.Release(at);
  mStage.RunFrame();
  EXPECT_EQ(mFired.size(), 1u);
}

TEST_F(VPLObjButtonTest, ADoubleClickPostsOnce) {
  const UUPoint at = mStage.ScreenPointOf(kCentre);
  Place(new VPLOnDblClickButtonObject(&mStage.Scene(), MakeQuad(), Counting(), kPlain));
  Click();
  mStage.DoubleClick(at);
  mStage.Release(at);
  mStage.RunFrame();
  EXPECT_EQ(mFired, StageLog{"fired"});
}

TEST_F(VPLObjButtonTest, HoveringGlowsOnlyWhenAGlowColourIsSet) {
  auto* glowing = Place(new VPLUpAlphaHiliteObject(&mStage.Scene(), MakeQuad(), {}, kPlain));
  glowing->SetLooks(0.0f, 0.5f, kNoColor, kGlow);
  glowing->OnHoverOn();
  EXPECT_EQ(glowing->GetAlpha(), 0.5f);
  EXPECT_EQ(glowing->GetStoredColor(), kGlow);
  glowing->OnHoverOff();
  EXPECT_EQ(glowing->GetAlpha(), 0.0f);
  EXPECT_EQ(glowing->GetStoredColor(), kNoColor);

  VPLUpAlphaHiliteObject plain(&mStage.Scene(), MakeQuad(), {}, kPlain);
  plain.SetMeshColor(kGlow);
  plain.SetLooks(0.0f, 0.25f, kNoColor, kNoColor);
  plain.OnHoverOn();
  EXPECT_EQ(plain.GetAlpha(), 0.25f);
  EXPECT_EQ(plain.GetStoredColor(), kGlow);
}

TEST_F(VPLObjButtonTest, HoveringTurnsTheButtonOrangeOnScreen) {
  auto* button = Place(new VPLUpAlphaHiliteObject(&mStage.Scene(), MakeQuad(), {}, kPlain));
  button->SetLooks(0.0f, 0.0f, kNoColor, kGlow);
  const UUPoint at = mStage.ScreenPointOf(kCentre);
  mStage.RunFrame();
  const Rgb before = mStage.PixelAt(at);
  mStage.Move(at);
  mStage.RunFrame();
  const Rgb lit = mStage.PixelAt(at);
  EXPECT_GT(lit.mRed, lit.mBlue + 100);
  EXPECT_GT(lit.mRed, lit.mGreen);
  mStage.Move(UUPoint{0, 0});
  mStage.RunFrame();
  EXPECT_EQ(mStage.PixelAt(at), before);
}

TEST_F(VPLObjButtonTest, AToggleFlipsItsLooksOnEachClick) {
  auto* toggle = Place(new Recorded<VPLToggleButtonObject>(&mStage.Scene(), MakeQuad(), kToggleOff,
                                                           kToggleOn, Counting(), kToggleOff));
  const float restZ = toggle->GetWorldPosition().mZ;
  Click();
  EXPECT_TRUE(toggle->GetState());
  EXPECT_EQ(VPLFindMeshes(toggle->GetDisplayTreeRoot()).Count(), 2);
  EXPECT_FLOAT_EQ(toggle->GetWorldPosition().mZ, restZ + VPLToggleButtonObject::kOnLift);
  EXPECT_EQ(toggle->GetDefinition(), kToggleOn);
  EXPECT_EQ(toggle->mRanges.back(), (Range{0, 100}));
  mStage.RunFrame();
  EXPECT_EQ(mFired.size(), 1u);

  toggle->SetState(true);
  EXPECT_FLOAT_EQ(toggle->GetWorldPosition().mZ, restZ + VPLToggleButtonObject::kOnLift);
  toggle->SetState(false);
  EXPECT_EQ(VPLFindMeshes(toggle->GetDisplayTreeRoot()).Count(), 1);
  EXPECT_FLOAT_EQ(toggle->GetWorldPosition().mZ, restZ);
  EXPECT_EQ(toggle->GetDefinition(), kToggleOff);
}

TEST_F(VPLObjButtonTest, AToggleWithoutAnOnLookStaysOff) {
  VPLToggleButtonObject toggle(&mStage.Scene(), MakeQuad(), kPlain, kMMNoResource, {}, kPlain);
  const MM3DVector before = toggle.GetWorldPosition();
  toggle.SetState(true);
  EXPECT_TRUE(toggle.GetWorldPosition().Equals(
      MM3DVector(before.mX, before.mY, before.mZ - VPLToggleButtonObject::kOnLift, before.mW)));
  EXPECT_EQ(VPLFindMeshes(toggle.GetDisplayTreeRoot()).Count(), 1);
}

}  // namespace
