#include "app/creation/VPLPombleVisual.h"

#include "app/creation/VPLObjCreationChar.h"
#include "app/objects/VPLDisplayTreeVisitors.h"
#include "mm/stage/MMDrawContext.h"
#include "mm3d/MM3DDisplayTreeNodeBlendShape.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeSRTTransform.h"
#include "mm3d/MM3DModelCollection.h"
#include "tests/app/creation/PombleSupport.h"
#include "tests/app/support/InterfaceStage.h"
#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <memory>
#include <vector>

namespace {

using namespace pomble_support;

std::vector<float> BlendFirstWeights(const MM3DModel& model) {
  UUGrowableArray<MM3DDisplayTreeNode*> nodes;
  VPLFindAllOfTypeVisitor visitor(kMM3DNodeIndexedBlendShapeArray, nodes);
  model.GetDisplayTree()->Accept(visitor, kMM3DVisitDown);
  std::vector<float> first;
  for (MM3DDisplayTreeNode* node : nodes) {
    first.push_back(static_cast<MM3DDisplayTreeNodeIndexedBlendShapeArray*>(node)->GetWeights()[0]);
  }
  return first;
}

std::vector<float> FirstWeights(const UUGrowableArray<float>& weights, int32_t n) {
  return std::vector<float>(weights.Begin(), weights.Begin() + n);
}

// A node of n targets and the weights the visual spreads a pose over.
struct PoseCase {
  int16_t mTargets;
  float mPose;
  std::vector<float> mWeights;
};

TEST(VPLPombleVisualTest, APoseSpreadsOverTheTargetAtOrBelowItAndItsNeighbour) {
  const PoseCase cases[] = {
      {3, 0.0f, {1, 0, 0}},
      {3, 1.0f, {0, 0, 1}},
      {3, 0.5f, {0, 1, 0}},
      {3, 0.25f, {0, 0, 0}},
      {3, 0.375f, {0.5f, 0.5f, 0}},
      {3, 0.625f, {0.5f, 0.5f, 0}},
      {3, 0.75f, {1, 0, 0}},
      {3, 0.7578125f, {0, 0.96875f, 0.03125f}},
      {2, 0.25f, {0.5f, 0}},
      {2, 0.5f, {0, 0}},
      {2, 0.75f, {0.5f, 0.5f}},
      {2, 0.5078125f, {0.984375f, 0.015625f}},
      {1, 0.0f, {1}},
      {1, 0.3f, {1}},
      {1, 1.0f, {1}},
      {4, 0.5f, {1, 0, 0, 0}},
  };
  VPLPombleVisual visual(nullptr, app_fixtures::MakeQuad(), 1);
  for (const PoseCase& c : cases) {
    UUGrowableArray<float> targets;
    targets.Insert(0, c.mTargets, 0.0f);
    MM3DDisplayTreeNodeIndexedBlendShapeArray node(
        std::move(targets), MM3DMeshTargets<MM3DVector>(), MM3DMeshTargets<MM3DVector>());
    UUGrowableArray<float> weights;
    visual.SpreadPoseWeights(&node, weights, c.mPose, false);
    EXPECT_EQ(FirstWeights(weights, c.mTargets), c.mWeights)
        << c.mTargets << " targets, pose " << c.mPose;
  }
}

class VPLPombleVisualBindingTest : public ::testing::Test {
 protected:
  std::unique_ptr<VPLPombleVisual> Bind(const FixtureSpec& spec) {
    mModel = MakePombleFixture(spec);
    auto visual = std::make_unique<VPLPombleVisual>(nullptr, mModel, 1);
    visual->BindBlendNodes();
    return visual;
  }
  static int32_t Targets(const MM3DDisplayTreeNodeIndexedBlendShapeArray* node) {
    return node != nullptr ? node->GetWeights().Count() : -1;
  }

  UURefCount<MM3DModel> mModel;
};

// Target counts tell the fixture's nodes apart.
TEST_F(VPLPombleVisualBindingTest, PartCodesFileTheNodesAndTheMarkedOnesStayUnfiled) {
  FixtureSpec spec;
  spec.mBlends = {{kVPLHead, 0.0f, 3},      {kVPLHead, 0.0f, 6},      {kVPLTorso, 3.0f, 4},
                  {kVPLTorso, 0.1f, 7},     {kVPLTorso, 0.9f, 8},     {kVPLLeftArm, 1.5f, 5},
                  {kVPLRightArm, -1.5f, 9}, {kVPLLeftFoot, 6.0f, 10}, {kVPLRightFoot, 5.0f, 2}};
  const std::unique_ptr<VPLPombleVisual> visual = Bind(spec);
  ASSERT_EQ(visual->GetHeadNodes().Count(), 1);
  EXPECT_EQ(Targets(visual->GetHeadNodes()[0]), 6);
  EXPECT_EQ(visual->GetWeights(kVPLHead).Count(), 6);
  EXPECT_EQ(Targets(visual->GetBlendNode(kVPLTorso)), 4);
  EXPECT_EQ(Targets(visual->GetBlendNode(kVPLLeftArm)), 5);
  EXPECT_EQ(visual->GetBlendNode(kVPLRightArm), nullptr);
  EXPECT_EQ(visual->GetBlendNode(kVPLLeftFoot), nullptr);
  EXPECT_EQ(Targets(visual->GetBlendNode(kVPLRightFoot)), 2);
  // Filed nodes start at 0; the marked ones keep their mark.
  EXPECT_EQ(visual->GetBlendNode(kVPLTorso)->GetWeights()[0], 0.0f);
  const std::vector<float> first = BlendFirstWeights(*mModel);
  for (const float mark : {0.1f, 0.9f}) {
    EXPECT_NE(std::find(first.begin(), first.end(), mark), first.end()) << mark;
  }
}

TEST_F(VPLPombleVisualBindingTest, APoseReachesTheNodesOnlyWhenDrawn) {
  const std::unique_ptr<VPLPombleVisual> visual = Bind({});
  visual->SetPartPose(kVPLTorso, 1.0f, false);
  visual->SetPartPose(kVPLHead, 0.0f, false);
  const MM3DDisplayTreeNodeIndexedBlendShapeArray& torso = *visual->GetBlendNode(kVPLTorso);
  EXPECT_EQ(torso.GetWeights()[3], 0.0f);
  visual->Draw(MMDrawContext{});
  EXPECT_EQ(torso.GetWeights()[3], 1.0f);
  EXPECT_EQ(visual->GetHeadNodes()[0]->GetWeights()[0], 1.0f);
  EXPECT_FLOAT_EQ(visual->GetPartPose(kVPLTorso), 1.0f);
}

// Only a damaged record brings such values: they pose as the nearer end
// of 0..1 and never reach past the node's targets.
TEST_F(VPLPombleVisualBindingTest, APoseOutsideZeroToOneIsTakenAsItsNearerEnd) {
  const std::unique_ptr<VPLPombleVisual> visual = Bind({});
  struct Case {
    float mValue;
    float mTaken;
  };
  const float inf = std::numeric_limits<float>::infinity();
  for (const Case c : {Case{-1.0f, 0.0f}, Case{2.5f, 1.0f}, Case{inf, 1.0f}, Case{-inf, 0.0f},
                       Case{std::numeric_limits<float>::quiet_NaN(), 0.0f}}) {
    visual->SetPartPose(kVPLLeftArm, c.mValue, false);
    const std::vector<float> weights = FirstWeights(visual->GetWeights(kVPLLeftArm), 5);
    visual->SetPartPose(kVPLLeftArm, c.mTaken, false);
    EXPECT_EQ(weights, FirstWeights(visual->GetWeights(kVPLLeftArm), 5)) << c.mValue;
    EXPECT_EQ(visual->GetWeights(kVPLLeftArm).Count(), 5);
  }
}

TEST_F(VPLPombleVisualBindingTest, AMissingPartNodeOnlyChangesTheFlag) {
  FixtureSpec spec;
  spec.mMissingParts = {kVPLLeftFoot};
  const std::unique_ptr<VPLPombleVisual> visual = Bind(spec);
  EXPECT_EQ(visual->GetPartNode(kVPLLeftFoot), nullptr);
  visual->SetLeftFootOn(false);
  EXPECT_FALSE(visual->IsPartOn(kVPLLeftFoot));
  visual->SwitchPartOn(kVPLLeftFoot);
  EXPECT_TRUE(visual->IsPartOn(kVPLLeftFoot));
  EXPECT_FALSE(visual->IsPartOn(kVPLBodyPartCount));
  visual->SwitchPartOn(-1);
}

// The program's own Pomble and ghost.
class VPLPombleVisualOnDataTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(mFiles.Ready()) << "the built data files (VPL_DATA_DIR)"; }
  std::unique_ptr<VPLObjCreationChar> MakeCharacter() {
    return std::make_unique<VPLObjCreationChar>(
        &mStage.Scene(), MM3DGetModel(kPombleModel, mStage.Stage()->GetTextureMap()), nullptr);
  }
  static std::vector<uint8_t> PoseRecord(const VPLPombleVisual& visual) {
    ByteWriter writer;
    EXPECT_TRUE(visual.WritePose(writer));
    return writer.mBytes;
  }

  DataFiles mFiles;
  InterfaceStage mStage;
};

TEST_F(VPLPombleVisualOnDataTest, TheBaseHidesThePartsButKeepsThemOn) {
  const std::unique_ptr<VPLObjCreationChar> character = MakeCharacter();
  VPLPombleVisual& visual = *character->GetPoseVisual();
  visual.VPLBasePombleVisual::AllPartsOff();
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) {
    ASSERT_NE(visual.GetPartNode(part), nullptr) << part;
    EXPECT_FALSE(visual.GetPartNode(part)->IsVisible()) << part;
    EXPECT_TRUE(visual.IsPartOn(part)) << part;
  }
}

TEST_F(VPLPombleVisualOnDataTest, PartsOffShowEveryGhostPart) {
  const std::unique_ptr<VPLObjCreationChar> character = MakeCharacter();
  character->CreatePartHighlight();
  VPLPombleVisual& visual = *character->GetPoseVisual();
  const VPLBasePombleVisual* ghost = visual.GetHighlightVisual();
  ASSERT_NE(ghost, nullptr);
  visual.AllPartsOff();
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) {
    EXPECT_FALSE(visual.IsPartOn(part)) << part;
    EXPECT_FALSE(visual.GetPartNode(part)->IsVisible()) << part;
    ASSERT_NE(ghost->GetPartNode(part), nullptr) << part;
    EXPECT_TRUE(ghost->GetPartNode(part)->IsVisible()) << part;
  }
  visual.SetTorsoOn(true);
  EXPECT_FALSE(ghost->GetPartNode(kVPLTorso)->IsVisible());
}

TEST_F(VPLPombleVisualOnDataTest, ThePoseRecordReadsBackWithoutAGhost) {
  const std::unique_ptr<VPLObjCreationChar> character = MakeCharacter();
  VPLPombleVisual& visual = *character->GetPoseVisual();
  visual.SetPartPose(kVPLRightArm, 0.625f, false);
  visual.SetLeftFootOn(false);
  const std::vector<uint8_t> record = PoseRecord(visual);
  ASSERT_EQ(record.size(), static_cast<size_t>(VPLPombleVisual::kPoseRecordSize));
  EXPECT_EQ(record[0], 0);

  const std::unique_ptr<VPLObjCreationChar> copy = MakeCharacter();
  ByteReader reader(record);
  ASSERT_TRUE(copy->GetPoseVisual()->ReadPose(reader));
  EXPECT_EQ(copy->GetHighlightVisual(), nullptr);
  EXPECT_EQ(PoseRecord(*copy->GetPoseVisual()), record);
  EXPECT_FALSE(copy->GetPoseVisual()->IsPartOn(kVPLLeftFoot));
  EXPECT_FLOAT_EQ(copy->GetPoseVisual()->GetPartPose(kVPLRightArm), 0.625f);
}

TEST_F(VPLPombleVisualOnDataTest, ASixPartPomblePosesEveryPart) {
  const std::unique_ptr<VPLObjCreationChar> character = MakeCharacter();
  const VPLPombleVisual& visual = *character->GetPoseVisual();
  EXPECT_EQ(visual.GetHeadNodes().Count(), 1);
  for (int32_t part = kVPLTorso; part < kVPLBodyPartCount; ++part) {
    EXPECT_NE(visual.GetBlendNode(part), nullptr) << part;
  }
}

// How far one colour channel must lead another; a pixel of the backdrop.
constexpr int kMargin = 30;
constexpr UUPoint kCorner{4, 4};

// The middle of the box around the first mesh of the part, in the world.
MM3DVector PartCentre(const VPLBasePombleVisual& visual, int32_t part) {
  auto* mesh =
      static_cast<MM3DDisplayTreeNodeIndexedMesh*>(VPLFindMeshes(visual.GetPartNode(part))[0]);
  MM3DMatrix world;
  mesh->GetWorldMatrix(world);
  MM3DVector low(1e9f, 1e9f, 1e9f, 1.0f);
  MM3DVector high(-1e9f, -1e9f, -1e9f, 1.0f);
  for (const MM3DVector& p : mesh->GetPart(0).mBlocks[0]->mPositions) {
    MM3DVector w;
    world.TransformPoint(w, p);
    low = MM3DVector(std::min(low.mX, w.mX), std::min(low.mY, w.mY), std::min(low.mZ, w.mZ), 1.0f);
    high =
        MM3DVector(std::max(high.mX, w.mX), std::max(high.mY, w.mY), std::max(high.mZ, w.mZ), 1.0f);
  }
  return MM3DVector((low.mX + high.mX) / 2, (low.mY + high.mY) / 2, (low.mZ + high.mZ) / 2, 1.0f);
}

// Drawn: the body where a part is on, the pale ghost where it is off, and
// nothing there once the ghost is hidden (as for a thumbnail).
TEST_F(VPLPombleVisualOnDataTest, APosedPombleShowsTheGhostOfItsMissingParts) {
  const std::unique_ptr<VPLObjCreationChar> character = MakeCharacter();
  character->CreatePartHighlight();
  VPLPombleVisual& visual = *character->GetPoseVisual();
  visual.SetPartPose(kVPLRightArm, 1.0f, true);
  mStage.RunFrame();
  const UUPoint head = mStage.ScreenPointOf(PartCentre(visual, kVPLHead));
  const Rgb body = mStage.PixelAt(head);
  EXPECT_GT(body.mRed, body.mBlue + kMargin) << body;

  visual.SetHeadOn(false);
  visual.SetLeftFootOn(false);
  mStage.RunFrame();
  const Rgb ghost = mStage.PixelAt(head);
  EXPECT_GT(ghost.mBlue, ghost.mRed + kMargin) << ghost;

  character->HidePartHighlight();
  mStage.RunFrame();
  EXPECT_TRUE(Near(mStage.PixelAt(head), mStage.PixelAt(kCorner))) << mStage.PixelAt(head);
}

}  // namespace
