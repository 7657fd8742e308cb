#include "app/creation/VPLObjButtonToolPomble.h"

#include "app/creation/VPLObjCreationChar.h"
#include "app/creation/VPLPomblePartButton.h"
#include "app/creation/VPLPomblePreviewObject.h"
#include "app/creation/VPLPombleSlider.h"
#include "app/creation/VPLPombleVisual.h"
#include "app/objects/VPLScript.h"
#include "app/objects/VPLToggleButtonObject.h"
#include "mm3d/MM3DDisplayTreeNodeBlendShape.h"
#include "tests/app/creation/PaletteStage.h"
#include "tests/app/creation/PombleSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using palette_stage::AreaTool;
using palette_stage::kFill;
using palette_stage::kPomble;

// The pose at the top of the track, which lies inside the knob's circle.
constexpr float kNearTop = 0.9f;
constexpr float kHalfPi = 1.5707964f;
constexpr float kNearBottom = -1.2f;
// The share of the knob's radius that lies on the track.
constexpr float kOnTrack = 0.96f;

class VPLObjButtonToolPombleTest : public palette_stage::PaletteTest {
 protected:
  VPLObjButtonToolPomble& Tool() { return ButtonAs<VPLObjButtonToolPomble>(kPomble); }
  VPLObjCreationChar& Character() { return *Tool().Character(); }
  VPLPombleVisual& CharacterPoses() { return *Character().GetPoseVisual(); }
  VPLPombleVisual& PreviewPoses() { return *Tool().GetPreviewVisual(); }
  bool TogglesShown() {
    return Tool().GetPerformToggle()->GetVisibility() == kMMShown &&
           Tool().GetOptionToggle()->GetVisibility() == kMMShown;
  }
  // The world point at the angle from the centre's level, at the share
  // of the knob's radius (the track lies a little inside it).
  MM3DVector OnCircle(float angle, float share = 1.0f) {
    const VPLPombleSlider& slider = *Tool().GetPoseSlider();
    const float r = slider.Radius() * share;
    return MM3DVector(slider.GetCentre().mX + r * std::cos(angle),
                      slider.GetCentre().mY + r * std::sin(angle), -45.0f, 1.0f);
  }
  UUPoint OnTrack(float angle) { return mStage.ScreenPointOf(OnCircle(angle, kOnTrack)); }
  // A press on the track, a drag and the release at the point.
  void DragOnTrack(float from, const UUPoint& to) {
    mStage.Move(OnTrack(from));
    mStage.Press(OnTrack(from));
    mStage.Drag(to);
    mStage.Release(to);
    Settle();
  }
  void SwitchAllButOn(int32_t missing) {
    for (int32_t part = 0; part < kVPLBodyPartCount; ++part) {
      if (part != missing) CharacterPoses().SwitchPartOn(part);
    }
  }
};

TEST_F(VPLObjButtonToolPombleTest, EngagingAddsTheCharacterOnceWithAllPartsOff) {
  ASSERT_EQ(Tool().Character(), nullptr);
  ClickButton(kPomble);
  ASSERT_NE(Tool().Character(), nullptr);
  VPLObjCreationChar* added = Tool().Character();
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) {
    EXPECT_FALSE(CharacterPoses().IsPartOn(part)) << "part " << part;
    EXPECT_EQ(PreviewPoses().IsPartOn(part), part == VPLObjButtonToolPomble::GetCurrentPart());
  }
  EXPECT_FALSE(TogglesShown());
  EXPECT_EQ(AreaTool(Area()), kVPLToolMove);

  ClickButton(kFill);
  ClickButton(kPomble);
  EXPECT_EQ(Tool().Character(), added);
}

TEST_F(VPLObjButtonToolPombleTest, AfterAClearTheTogglesFollowTheCharacter) {
  ClickButton(kPomble);
  SwitchAllButOn(-1);
  Scene().RefreshAfterUndo();
  ASSERT_TRUE(TogglesShown());
  Area().ClearCreation();
  Tool().OnCreationReset();
  ASSERT_NE(Tool().Character(), nullptr);
  EXPECT_EQ(TogglesShown(), Character().HasAllParts());
  EXPECT_FALSE(Character().IsPerforming());
  EXPECT_TRUE(Tool().GetPerformToggle()->GetState());
}

TEST_F(VPLObjButtonToolPombleTest, TheKnobAtTheTopPosesThePreviewAndThenTheCharacter) {
  ClickButton(kPomble);
  const int32_t part = VPLObjButtonToolPomble::GetCurrentPart();
  MM3DVector high = OnCircle(kHalfPi);
  high.mY += 10.0f;
  mStage.Move(OnTrack(kNearBottom));
  mStage.Press(OnTrack(kNearBottom));
  mStage.Drag(mStage.ScreenPointOf(high));
  Settle();
  // Far above the circle the knob stops at its top.
  EXPECT_NEAR(PreviewPoses().GetPartPose(part), 1.0f, 1e-4f);
  EXPECT_FALSE(CharacterPoses().IsPartOn(part));

  // Let go on the track's top, a little below the circle's.
  mStage.Release(OnTrack(kHalfPi));
  Settle();
  EXPECT_GT(CharacterPoses().GetPartPose(part), kNearTop);
  EXPECT_EQ(CharacterPoses().GetPartPose(part), PreviewPoses().GetPartPose(part));
  EXPECT_TRUE(CharacterPoses().IsPartOn(part));
  EXPECT_TRUE(Area().GetCreation()->IsModified());
}

TEST_F(VPLObjButtonToolPombleTest, ChoosingAPartShowsItAlonePlacedByItsRow) {
  ClickButton(kPomble);
  CharacterPoses().SetPartPose(kVPLLeftArm, 0.25f, false);
  ClickButton(kFill);
  ClickButton(kPomble);
  Click(*Tool().GetPartButtons()->GetChild(kVPLLeftArm));
  ASSERT_EQ(VPLObjButtonToolPomble::GetCurrentPart(), kVPLLeftArm);
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) {
    EXPECT_EQ(PreviewPoses().IsPartOn(part), part == kVPLLeftArm) << "part " << part;
  }
  const VPLScript placement(198, kVPLButtonDefinition);
  MM3DVector row;
  ASSERT_TRUE(VPLReadVectorTable(placement.GetTagScriptId(2), row, kVPLLeftArm));
  const MM3DVector at = Tool().GetPreview()->GetWorldPosition();
  EXPECT_FLOAT_EQ(at.mX, row.mX);
  EXPECT_FLOAT_EQ(at.mY, row.mY);
  EXPECT_FLOAT_EQ(at.mZ, row.mZ);
  // The knob shows the arm's pose: a quarter of the way up the circle.
  const MM3DVector knob = Tool().GetPoseSlider()->GetKnobPosition();
  EXPECT_NEAR(knob.mY, OnCircle(0.25f * 3.14159265f - kHalfPi).mY, 1e-4f);
}

TEST_F(VPLObjButtonToolPombleTest, APartPastTheButtonsIsIgnored) {
  constexpr int16_t kNoSuchPart = 9;
  ClickButton(kPomble);
  const int32_t part = VPLObjButtonToolPomble::GetCurrentPart();
  Tool().GetPartButtons()->Select(kNoSuchPart);
  EXPECT_EQ(VPLObjButtonToolPomble::GetCurrentPart(), part);
  EXPECT_EQ(Tool().GetPartButtons()->GetSelected(), part);
  EXPECT_TRUE(PreviewPoses().IsPartOn(part));
}

TEST_F(VPLObjButtonToolPombleTest, TheLastPartOnShowsTheToggles) {
  ClickButton(kPomble);
  const int32_t part = VPLObjButtonToolPomble::GetCurrentPart();
  SwitchAllButOn(part);
  ClickButton(kFill);
  ClickButton(kPomble);
  EXPECT_FALSE(TogglesShown());
  DragOnTrack(kNearBottom, OnTrack(0.0f));
  EXPECT_TRUE(Character().HasAllParts());
  EXPECT_TRUE(TogglesShown());
}

TEST_F(VPLObjButtonToolPombleTest, ThePerformToggleStopsAShowAndShowsPlay) {
  // A dance's frames: the character performs from the first frame on.
  constexpr int32_t kDanceStart = 200 * 1000 / 30;
  constexpr int32_t kDanceEnd = 320 * 1000 / 30;
  ClickButton(kPomble);
  SwitchAllButOn(-1);
  Character().PlayAnimation(kDanceStart, kDanceEnd, false);
  ASSERT_TRUE(Character().IsPerforming());
  Scene().RefreshAfterUndo();
  ASSERT_TRUE(TogglesShown());
  EXPECT_FALSE(Tool().GetPerformToggle()->GetState()) << "shows stop while performing";

  Click(*Tool().GetPerformToggle());
  EXPECT_FALSE(Character().IsPerforming());
  EXPECT_TRUE(Tool().GetPerformToggle()->GetState());
}

// The real show, left to play to its end, hands the play button back.
TEST_F(VPLObjButtonToolPombleTest, AShowThatEndsByItselfShowsPlayAgain) {
  constexpr int32_t kLongestWait = 120 * 1000;
  constexpr int32_t kStep = 50;
  const auto runUntil = [&](auto done) {
    for (int32_t t = 0; t < kLongestWait && !done(); t += kStep) {
      pomble_support::Advance(mStage.Stage(), kStep, kStep);
    }
  };
  ClickButton(kPomble);
  SwitchAllButOn(-1);
  Scene().RefreshAfterUndo();
  ASSERT_FALSE(Character().GetRepeat());
  Click(*Tool().GetPerformToggle());
  // The camera comes near first, then the show begins.
  runUntil([&] { return Character().IsPerforming(); });
  ASSERT_FALSE(Tool().GetPerformToggle()->GetState());
  runUntil([&] { return Tool().GetPerformToggle()->GetState(); });
  EXPECT_TRUE(Tool().GetPerformToggle()->GetState());
  EXPECT_FALSE(Character().IsPerforming());
}

TEST_F(VPLObjButtonToolPombleTest, EngagingAndReleasingLeavesThePoses) {
  ClickButton(kPomble);
  const float poses[kVPLBodyPartCount] = {0.1f, 0.3f, 0.5f, 0.7f, 0.9f, 1.0f};
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) {
    CharacterPoses().SetPartPose(part, poses[part], false);
  }
  for (int32_t round = 0; round < 3; ++round) {
    ClickButton(kFill);
    ClickButton(kPomble);
  }
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) {
    EXPECT_EQ(CharacterPoses().GetPartPose(part), poses[part]) << "part " << part;
    EXPECT_EQ(PreviewPoses().GetPartPose(part), poses[part]) << "part " << part;
  }
}

TEST_F(VPLObjButtonToolPombleTest, ARayMissingThePlaneLeavesKnobAndPose) {
  ClickButton(kPomble);
  const int32_t part = VPLObjButtonToolPomble::GetCurrentPart();
  const MM3DVector knob = Tool().GetPoseSlider()->GetKnobPosition();
  const float pose = PreviewPoses().GetPartPose(part);
  Area().GetCreation()->SetModified(false);
  VPLPickEvent event(0, 0, 0, kVPLHeld);
  // A segment that ends before the plane of the knob.
  event.mRay = {{0.0f, 30.0f, 0.0f, 1.0f}, {0.0f, 30.0f, -10.0f, 1.0f}};
  const MM3DVector placed = Tool().GetPoseSlider()->ComputeKnobPosition(event);
  EXPECT_EQ(placed.mY, knob.mY);
  EXPECT_EQ(Tool().GetPoseSlider()->GetKnobPosition().mY, knob.mY);
  EXPECT_EQ(PreviewPoses().GetPartPose(part), pose);
  EXPECT_FALSE(Area().GetCreation()->IsModified());
}

TEST_F(VPLObjButtonToolPombleTest, TheSpaceKeySwayStaysInsideTheWeights) {
  ClickButton(kPomble);
  const auto& heads = CharacterPoses().GetHeadNodes();
  ASSERT_GT(heads.Count(), 0);
  const int32_t targets = heads[0]->GetWeights().Count();
  const MMKeyEvent space{.mCharacter = ' '};
  // Up past the top, where the sway turns, and some way down again.
  constexpr int32_t kPresses = 500;
  for (int32_t i = 0; i < kPresses; ++i) ASSERT_TRUE(Tool().HandleKey(space));
  EXPECT_LT(Tool().GetKeyPose(), VPLObjButtonToolPomble::kKeyPoseMax);
  const UUGrowableArray<float>& weights = CharacterPoses().GetWeights(kVPLHead);
  EXPECT_GE(weights.Count(), targets);
  for (int32_t i = 0; i < weights.Count(); ++i) {
    EXPECT_GE(weights[i], 0.0f);
    EXPECT_LE(weights[i], 1.0f);
  }
  EXPECT_FALSE(Tool().HandleKey(MMKeyEvent{.mCharacter = 'a'}));
}

}  // namespace
