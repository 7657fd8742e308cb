#include "app/objects/VPLObjSlider.h"

#include "app/objects/VPLMaterializer.h"
#include "app/objects/VPLPercentageSlider.h"
#include "foundation/al/ALAllocator.h"
#include "mm3d/MM3DMathFunctions.h"
#include "tests/app/support/AppFixtures.h"
#include "tests/app/support/InterfaceStage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <vector>

namespace {

using namespace app_fixtures;

constexpr MMResourceId kKnob = kFirstFreeEntry;  // the quad, a press range 2-4
constexpr uint32_t kQuad = static_cast<uint32_t>(ModelId(kQuadItem));
const ExtraTables kTables = {{kKnob, {{0, kQuad}, {13, 2}, {14, 4}}}};

const MM3DVector kCentre(0, 0, 10, 1);

MM3DVector At(float x, float y) { return MM3DVector(x, y, kCentre.mZ, 1); }

// A track four wide whose ends, vertices 0 and 2, lie at x = -1 and 1: the
// pointer can be on it beyond either end.
UURefCount<MM3DModel> WideTrack() {
  return MakeMeshesModel(
      {{{-1, -1, 0, 1}, {-2, 1, 0, 1}, {1, 1, 0, 1}, {-1, -1, 0, 1}, {1, 1, 0, 1}, {2, -1, 0, 1}}});
}

// A slider that records the frame ranges it plays.
template <typename Slider>
class Recorded : public Slider {
 public:
  using Slider::Slider;
  void PlayAnimation(int32_t start, int32_t end, bool loop) override {
    mRanges.emplace_back(start, end);
    Slider::PlayAnimation(start, end, loop);
  }
  std::vector<std::pair<int32_t, int32_t>> mRanges;
};

class VPLObjSliderTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(mFiles.Ready()); }

  MMTaskCallback Counting() {
    return MMTaskCallback(mStage.Scene().GetTaskClient(),
                          new (ALGlobalAllocator) StageLogCallback(mFired, "value"));
  }
  // In front of the camera, among the scene's controls, its knob reset.
  template <typename Slider>
  Slider* Place(Slider* slider, const MM3DVector& at = kCentre) {
    slider->SetPosition(at);
    slider->ResetKnob();
    mStage.Plain().AppendInterfaceObject(slider);
    return slider;
  }
  void Click(const MM3DVector& at) {
    mStage.Press(mStage.ScreenPointOf(at));
    mStage.Release(mStage.ScreenPointOf(at));
  }
  float KnobX(const VPLObjSlider& slider) const { return slider.GetKnob().GetWorldPosition().mX; }

  AppFiles mFiles{kTables};
  InterfaceStage mStage;
  StageLog mFired;
  VPLMaterializer mMaterializer{nullptr};
};

TEST_F(VPLObjSliderTest, TheKnobStartsAtTheTracksMinimumInFrontOfIt) {
  VPLObjSlider slider(&mStage.Scene(), MakeQuad(), kKnob, {});
  EXPECT_EQ(slider.GetTrackMin().mX, -kQuadHalfSide);
  EXPECT_EQ(slider.GetTrackMax().mX, kQuadHalfSide);
  EXPECT_EQ(KnobX(slider), -kQuadHalfSide);
  EXPECT_EQ(slider.GetKnob().GetWorldPosition().mZ, VPLObjSlider::kKnobDepth);
}

TEST_F(VPLObjSliderTest, APressBeyondAnEndPutsTheKnobExactlyAtThatEnd) {
  auto* slider = Place(new VPLObjSlider(&mStage.Scene(), WideTrack(), kKnob, {}));
  struct Case {
    MM3DVector pointer;
    float knobX;
  };
  for (const Case& c : {Case{At(-1.5f, 0.8f), -1.0f}, Case{At(1.5f, -0.8f), 1.0f}}) {
    Click(c.pointer);
    EXPECT_EQ(KnobX(*slider), c.knobX);
    EXPECT_EQ(slider->GetKnobPosition().mZ, VPLObjSlider::kKnobDepth);
  }
  Click(At(0.25f, 0.0f));
  EXPECT_NEAR(KnobX(*slider), 0.25f, 0.05f);
}

TEST_F(VPLObjSliderTest, ADragOffTheTrackPutsTheKnobBackWhereItWasAtThePress) {
  auto* slider = Place(new VPLObjSlider(&mStage.Scene(), MakeQuad(), kKnob, {}));
  Click(At(0.5f, 0.0f));
  const float before = KnobX(*slider);
  mStage.Press(mStage.ScreenPointOf(At(-0.5f, 0.0f)));
  mStage.Drag(mStage.ScreenPointOf(At(-0.3f, 0.0f)));
  EXPECT_NEAR(KnobX(*slider), -0.3f, 0.05f);
  mStage.Drag(mStage.ScreenPointOf(At(4.0f, 3.0f)));
  EXPECT_EQ(KnobX(*slider), before);
}

TEST_F(VPLObjSliderTest, WithoutAKnobTableTheKnobMovesButNothingPlays) {
  auto* silent = Place(
      new Recorded<VPLObjSlider>(&mStage.Scene(), MakeQuad(), kMMNoResource, MMTaskCallback()));
  Click(At(0.5f, 0.0f));
  EXPECT_NEAR(silent->GetKnobPosition().mX, 0.5f, 0.05f);
  EXPECT_TRUE(silent->mRanges.empty());
  auto* playing =
      Place(new Recorded<VPLObjSlider>(&mStage.Scene(), MakeQuad(), kKnob, {}), At(0.0f, 3.0f));
  Click(At(0.5f, 3.0f));
  EXPECT_EQ(playing->mRanges.front(), (std::pair<int32_t, int32_t>{66, 133}));
}

TEST_F(VPLObjSliderTest, ThePickedTriangleMustBelongToTheTracksFirstBlock) {
  // The track is one triangle; the second mesh's second triangle is index 1.
  const UURefCount<MM3DModel> model = MakeMeshesModel(
      {{{-1, -1, 0, 1}, {1, -1, 0, 1}, {1, 1, 0, 1}},
       {{2, -1, 0, 1}, {4, -1, 0, 1}, {4, 1, 0, 1}, {2, -1, 0, 1}, {4, 1, 0, 1}, {2, 1, 0, 1}}});
  auto* slider = Place(new VPLObjSlider(&mStage.Scene(), model, kKnob, {}));
  const VPLSegment through{MM3DVector(2.5f, 0.5f, 0, 1), MM3DVector(2.5f, 0.5f, 20, 1)};
  ASSERT_EQ(VPLPickTriangleIndex(*slider, through.mStart, through.mEnd), 1);
  EXPECT_EQ(VPLFirstBlock(*slider).PickTriangle(*slider, through), -1);
  const float before = KnobX(*slider);
  Click(At(2.5f, 0.5f));
  EXPECT_EQ(KnobX(*slider), before);
}

TEST_F(VPLObjSliderTest, TheValueCallbackRunsAfterTheTasks) {
  auto* slider = Place(new VPLPercentageSlider(&mStage.Scene(), MakeQuad(), kKnob, Counting()));
  mStage.Press(mStage.ScreenPointOf(At(0.5f, 0.0f)));
  EXPECT_TRUE(mFired.empty());
  EXPECT_NEAR(slider->GetValue(), 0.75f, 0.03f);
  mStage.RunFrame();
  EXPECT_EQ(mFired, StageLog{"value"});
  slider->SetValue(0.25f);
  EXPECT_FLOAT_EQ(slider->GetValue(), 0.25f);
  EXPECT_FLOAT_EQ(slider->GetKnob().GetWorldPosition().mY, 0.0f);
}

TEST_F(VPLObjSliderTest, ATrackWithoutWidthHasTheValueZero) {
  const UURefCount<MM3DModel> edgeOn =
      MakeMeshesModel({{{0, -1, 0, 1}, {0, 1, 0, 1}, {0, 1, 1, 1}}});
  VPLPercentageSlider slider(&mStage.Scene(), edgeOn, kKnob, {});
  slider.SetValue(0.5f);
  EXPECT_EQ(slider.GetValue(), 0.0f);
}

TEST_F(VPLObjSliderTest, OpacityIsOpaqueInTheFirstTenthAndAtMostNineTenths) {
  mMaterializer.SetSecondColor(MM3DColor{0.2f, 0.3f, 0.4f, 0.5f});
  auto* slider =
      Place(new VPLOpacityPercentageSlider(&mStage.Scene(), MakeQuad(), kKnob, MMTaskCallback()));
  slider->SetMaterializer(&mMaterializer);
  struct Case {
    float share;
    float alpha;
    float tolerance;
  };
  for (const Case& c :
       {Case{0.05f, 0.0f, 0.0f}, Case{0.95f, 0.9f, 0.0f}, Case{0.5f, 0.5f, 0.03f}}) {
    Click(At(-1.0f + 2.0f * c.share, 0.0f));
    EXPECT_NEAR(mMaterializer.GetColor().mA, c.alpha, c.tolerance) << c.share;
    EXPECT_EQ(mMaterializer.GetSecondColor().mA, mMaterializer.GetColor().mA) << c.share;
  }
  EXPECT_EQ(mMaterializer.GetSecondColor().mR, 0.2f);
  mMaterializer.SetColor(MM3DColor{1, 1, 1, 0.25f});
  slider->ResetKnob();
  EXPECT_FLOAT_EQ(slider->GetValue(), 0.25f);
}

TEST_F(VPLObjSliderTest, IntensityShowsAPowerAboveOneAtTheLeftAndSetsItToOne) {
  mMaterializer.SetSpecularPower(2.0f);
  auto* slider = new VPLIntensityPercentageSlider(&mStage.Scene(), MakeQuad(), kKnob, {});
  slider->SetMaterializer(&mMaterializer);
  Place(slider);
  EXPECT_EQ(mMaterializer.GetSpecularPower(), 1.0f);
  EXPECT_EQ(KnobX(*slider), -kQuadHalfSide);
  Click(At(0.5f, 0.0f));
  EXPECT_FLOAT_EQ(mMaterializer.GetSpecularPower(), 1.0f - slider->GetValue());
  EXPECT_FLOAT_EQ(mMaterializer.GetDiffuseCoefficient(), 1.0f - slider->GetValue());
  EXPECT_NEAR(mMaterializer.GetSpecularPower(), 0.25f, 0.03f);
}

// The program's view: the default camera at the origin looking along -z,
// the track behind the knobs' depth.
TEST(VPLObjSliderOnScreenTest, TheKnobIsDrawnWhereADragLeavesIt) {
  AppFiles files(kTables);
  ASSERT_TRUE(files.Ready());
  InterfaceStage stage([](MMSceneServices* host, MMEnclosure* enclosure, MMView* view) {
    return new PlainInterfaceScene(host, enclosure, view, kCameraLessRow);
  });
  auto* slider = new VPLObjSlider(&stage.Scene(), MakeQuad(), kKnob, {});
  slider->SetScale(10, 10, 10);
  slider->SetPosition(0, 0, -50);
  slider->ResetKnob();
  // The knob turned round to face this camera, and glowing orange.
  slider->GetKnob().SetRotation(0, kMM3DTwoPi / 2, 0);
  slider->GetKnob().SetMeshColor(MM3DColor{0.96f, 0.47f, 0.03f, 0.0f});
  stage.Plain().AppendInterfaceObject(slider);
  const auto orange = [&](const MM3DVector& at) {
    const Rgb pixel = stage.PixelAt(stage.ScreenPointOf(at));
    return pixel.mRed > pixel.mBlue + 100;
  };
  stage.Press(stage.ScreenPointOf(MM3DVector(-5, 0, -50, 1)));
  stage.RunFrame();
  const MM3DVector pressed = slider->GetKnob().GetWorldPosition();
  EXPECT_TRUE(orange(pressed));
  stage.Drag(stage.ScreenPointOf(MM3DVector(5, 0, -50, 1)));
  stage.RunFrame();
  const MM3DVector dragged = slider->GetKnob().GetWorldPosition();
  EXPECT_NEAR(dragged.mX, 5.0f, 0.5f);
  EXPECT_TRUE(orange(dragged));
  EXPECT_FALSE(orange(pressed));
}

}  // namespace
