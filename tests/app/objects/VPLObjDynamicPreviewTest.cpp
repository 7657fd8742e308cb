#include "app/objects/VPLObjDynamicPreview.h"

#include "app/objects/VPLMaterializer.h"
#include "mm/stage/MMStage.h"
#include "mm/tasks/MMTaskManager.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "tests/app/support/AppFixtures.h"
#include "tests/app/support/InterfaceStage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

namespace {

using namespace app_fixtures;

constexpr int32_t kSecond = 1000;
constexpr float kTolerance = 1e-5f;

class VPLObjDynamicPreviewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mFiles.Ready());
    mStart = mStage.Stage()->GetTaskManager()->GetNow();
    mPreview = std::make_unique<VPLObjDynamicPreview>(&mStage.Scene(), MakeQuad());
  }
  // The angle about y of the preview's rotation node.
  float TurnedBy() const {
    const MM3DMatrix& m = mPreview->GetRotationNode()->GetMatrix();
    return std::atan2(-m.mElement[2][0], m.mElement[0][0]);
  }

  AppFiles mFiles;
  InterfaceStage mStage;
  int32_t mStart = 0;
  std::unique_ptr<VPLObjDynamicPreview> mPreview;
};

TEST_F(VPLObjDynamicPreviewTest, TurnsFifteenDegreesASecondAndNotOnARepeatedTick) {
  EXPECT_TRUE(mStage.Scene().HasObject(mPreview.get()));
  mPreview->SetColorA(0, 0, 0, 0);
  mPreview->SetColorB(1, 1, 1, 0);
  mPreview->Tick(mStart + kSecond);
  EXPECT_NEAR(std::fabs(TurnedBy()), VPLObjDynamicPreview::kTurnRate, kTolerance);
  const float phase = mPreview->GetPhase();
  mPreview->Tick(mStart + kSecond);
  EXPECT_NEAR(std::fabs(TurnedBy()), VPLObjDynamicPreview::kTurnRate, kTolerance);
  EXPECT_EQ(mPreview->GetPhase(), phase);
  mPreview->Tick(mStart + 2 * kSecond);
  EXPECT_NEAR(std::fabs(TurnedBy()), 2 * VPLObjDynamicPreview::kTurnRate, kTolerance);
}

TEST_F(VPLObjDynamicPreviewTest, PulsesOnlyWhenRedGreenAndBlueAllDiffer) {
  struct Case {
    MM3DColor a, b;
    bool pulses;
  };
  for (const Case& c :
       {Case{{1, 0, 0, 0}, {1, 1, 1, 0}, false}, Case{{0, 0, 0, 0}, {1, 1, 1, 0}, true},
        Case{{0, 0, 0, 0}, {1, 1, 1, 1}, true}, Case{{0, 0, 0, 0}, {0, 0, 0, 1}, false}}) {
    mPreview->SetColorA(c.a.mR, c.a.mG, c.a.mB, c.a.mA);
    mPreview->SetColorB(c.b.mR, c.b.mG, c.b.mB, c.b.mA);
    EXPECT_EQ(mPreview->IsPulsing(), c.pulses);
  }
}

TEST_F(VPLObjDynamicPreviewTest, APulseSwingsToTheSecondColourAndBack) {
  mPreview->SetColorA(0, 0, 0, 0);
  mPreview->SetColorB(1, 1, 1, 0);
  for (int32_t step = 0; step < 20; ++step) mPreview->StepPulse();
  EXPECT_EQ(mPreview->GetPhase(), 1.0f);
  mPreview->StepPulse();
  EXPECT_TRUE(mPreview->GetStoredColor() == (MM3DColor{1, 1, 1, 0}));
  for (int32_t step = 1; step < 20; ++step) mPreview->StepPulse();
  EXPECT_EQ(mPreview->GetPhase(), 0.0f);
}

TEST_F(VPLObjDynamicPreviewTest, AMaterializerHandsThePreviewItsSecondColour) {
  VPLMaterializer materializer(nullptr);
  mPreview->SetColorA(0, 0, 0, 0);
  materializer.SetSecondColor({0.5f, 0.5f, 0.5f, 0});
  materializer.Apply(mPreview.get());
  EXPECT_TRUE(mPreview->IsPulsing());
}

TEST_F(VPLObjDynamicPreviewTest, LeavesItsSceneWhenItGoes) {
  VPLObjDynamicPreview* preview = mPreview.get();
  mPreview.reset();
  EXPECT_FALSE(mStage.Scene().HasObject(preview));
}

}  // namespace
