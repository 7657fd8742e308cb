#include "app/objects/VPLObj.h"

#include "app/objects/VPLDisplayTreeVisitors.h"
#include "app/objects/VPLVertexHolder.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeJoint.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "mm3d/MM3DDisplayTreeNodeWithVisibility.h"
#include "mm3d/MM3DMaterialLambert.h"
#include "tests/app/support/AppFixtures.h"
#include "tests/app/support/InterfaceStage.h"
#include "tests/mm3d/MM3DModelSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace app_fixtures;

MM3DVector P(float x, float y, float z) { return MM3DVector(x, y, z, 1.0f); }

// A segment along z through the point (x, y).
VPLSegment AlongZ(float x, float y) { return VPLSegment{P(x, y, -10), P(x, y, 10)}; }

// An object whose transform nodes hang under a named node of its model.
class AnchoredObj : public VPLObj {
 public:
  AnchoredObj(MMScene* scene, const UURefCount<MM3DModel>& model, const char* anchor)
      : VPLObj(scene, model) {
    RemoveTransformNodes();
    SetAnchorName(anchor);
    CreateTransformNodes();
  }
};

class VPLObjTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(mFiles.Ready()); }

  std::unique_ptr<VPLObj> Make(const UURefCount<MM3DModel>& model,
                               MMResourceId script = kMMNoResource) {
    return std::make_unique<VPLObj>(&mStage.Scene(), model, script);
  }
  // The material of the first part of the n-th mesh.
  static MM3DMaterial& MaterialOf(const VPLObj& object, int32_t n) {
    const UUGrowableArray<MM3DDisplayTreeNode*> meshes = VPLFindMeshes(object.GetDisplayTreeRoot());
    return *static_cast<MM3DDisplayTreeNodeIndexedMesh*>(meshes[n])->GetPart(0).mMaterial;
  }

  AppFiles mFiles;
  InterfaceStage mStage;
};

TEST_F(VPLObjTest, PositioningMovesTheObjectAndItsBoxButScalingLeavesTheBox) {
  const std::unique_ptr<VPLObj> quad = Make(MakeQuad());
  quad->SetPosition(1, 2, 3);
  EXPECT_TRUE(quad->GetWorldPosition().Equals(P(1, 2, 3)));
  MM3DVector min = P(0, 0, 0);
  MM3DVector max = P(0, 0, 0);
  quad->GetBounds(min, max);
  EXPECT_TRUE(min.Equals(P(0, 1, 3)));
  EXPECT_TRUE(max.Equals(P(2, 3, 3)));

  quad->SetScale(2, 2, 2);
  quad->GetBounds(min, max);
  EXPECT_TRUE(max.Equals(P(2, 3, 3)));
  quad->RefreshBounds();
  quad->GetBounds(min, max);
  EXPECT_TRUE(max.Equals(P(3, 4, 3)));
}

TEST_F(VPLObjTest, MovesAddUp) {
  const std::unique_ptr<VPLObj> quad = Make(MakeQuad());
  quad->MoveBy(1, 0, 0);
  quad->MoveBy(MM3DVector(1, 0, 0, 7));
  EXPECT_TRUE(quad->GetWorldPosition().Equals(P(2, 0, 0)));
}

TEST_F(VPLObjTest, TransformNodesComeOnceBetweenTheRootAndTheModel) {
  const std::unique_ptr<VPLObj> quad = Make(MakeQuad());
  quad->CreateTransformNodes();
  auto* root = static_cast<MM3DDisplayTreeNodeWithChildren*>(quad->GetDisplayTreeRoot());
  ASSERT_EQ(root->GetChildCount(), 1);
  EXPECT_EQ(root->GetChild(0), quad->GetTranslationNode());
  EXPECT_EQ(quad->GetTranslationNode()->GetChild(0), quad->GetRotationNode());
  EXPECT_EQ(quad->GetRotationNode()->GetChild(0), quad->GetScaleNode());
  EXPECT_EQ(quad->GetScaleNode()->GetChild(0)->GetKind(), kMM3DNodeIndexedMesh);

  quad->RemoveTransformNodes();
  EXPECT_EQ(quad->GetScaleNode(), nullptr);
  ASSERT_EQ(root->GetChildCount(), 1);
  EXPECT_EQ(root->GetChild(0)->GetKind(), kMM3DNodeIndexedMesh);
}

TEST_F(VPLObjTest, AButtonDefinitionPlacesScalesAndTurnsTheObject) {
  const std::unique_ptr<VPLObj> placed = Make(MakeQuad(), kPlacedButton);
  EXPECT_TRUE(placed->GetWorldPosition().Equals(P(1, 2, 3)));
  MM3DMatrix scale;
  MM3DMatrixScale(scale, 2, 2, 2);
  EXPECT_EQ(placed->GetScaleMatrix(), scale);
  MM3DMatrix rotation;
  MM3DMatrixRotationXYZ(rotation, 0, 0, 0.5f);
  EXPECT_EQ(placed->GetRotationNode()->GetMatrix(), rotation);

  const std::unique_ptr<VPLObj> plain = Make(MakeQuad(), kPlainButton);
  EXPECT_TRUE(plain->GetScaleMatrix().IsIdentity());
  EXPECT_TRUE(plain->GetTranslationNode()->GetMatrix().IsIdentity());
  EXPECT_EQ(plain->GetScriptId(), kPlainButton);
}

TEST_F(VPLObjTest, TransparencyIsCappedAtOneAndKeptAsGivenBelowZero) {
  const std::unique_ptr<VPLObj> quad = Make(MakeQuad());
  quad->SetAlpha(1.5f);
  EXPECT_FLOAT_EQ(quad->GetAlpha(), 1.0f);
  quad->SetAlpha(-0.5f);
  EXPECT_FLOAT_EQ(quad->GetAlpha(), -0.5f);
  EXPECT_FLOAT_EQ(MaterialOf(*quad, 0).GetTransparency(), -0.5f);
  // The byte the renderer draws with stays in range.
  EXPECT_EQ(MM3DClampedColorByte(1.0f - MaterialOf(*quad, 0).GetTransparency()), 255);
}

TEST_F(VPLObjTest, AColourReachesEveryColouredMeshAndAGlowOnlyTheLitOnes) {
  const std::unique_ptr<VPLObj> object = Make(MakeTwoMeshes());
  const MM3DColor red{1, 0, 0, 0.25f};
  object->SetColor(red);
  for (int32_t mesh : {0, 1}) {
    EXPECT_FLOAT_EQ(MaterialOf(*object, mesh).GetTransparency(), 0.25f);
    EXPECT_EQ(MaterialOf(*object, mesh).GetLayerCount(), 1);
  }
  EXPECT_EQ(object->GetColor(), red);

  const MM3DColor glow{0, 1, 0, 0};
  object->SetMeshColor(glow);
  const auto& lit = static_cast<MM3DMaterialLambert&>(MaterialOf(*object, 0));
  EXPECT_EQ(lit.GetIncandescence(), glow);
  EXPECT_EQ(lit.GetAmbient(), (MM3DColor{0, 0, 0, 0}));
  EXPECT_FLOAT_EQ(MaterialOf(*object, 1).GetTransparency(), 0.25f);
  EXPECT_EQ(object->GetStoredColor(), glow);
}

TEST_F(VPLObjTest, AMaterialGoesToTheHitPartOrElseToEveryMesh) {
  const std::unique_ptr<VPLObj> object = Make(MakeTwoMeshes());
  const UURefCount<MM3DMaterial> shader(new MM3DMaterialConstant);
  VPLVertexHolder hit;
  MM3DVector point = P(0, 0, 0);
  ASSERT_TRUE(object->PickRay(P(0, 0, -5), P(0, 0, 5), point, &hit));
  object->ApplyMaterial(shader, &hit);
  EXPECT_EQ(&MaterialOf(*object, 0), shader.Get());
  EXPECT_NE(&MaterialOf(*object, 1), shader.Get());
  object->ApplyMaterial(shader, nullptr);
  EXPECT_EQ(&MaterialOf(*object, 1), shader.Get());
}

TEST_F(VPLObjTest, AHiddenMeshIsNeverHit) {
  const std::unique_ptr<VPLObj> object = Make(MakeTwoMeshes());
  const VPLSegment second = AlongZ(kSecondMeshX, 0);
  EXPECT_TRUE(VPLHitsModel(*object, second.mStart, second.mEnd));
  auto* scale = static_cast<MM3DDisplayTreeNodeWithChildren*>(object->GetScaleNode());
  static_cast<MM3DDisplayTreeNodeWithVisibility*>(scale->GetChild(1))->SetVisibility(0);
  EXPECT_FALSE(VPLHitsModel(*object, second.mStart, second.mEnd));
  EXPECT_TRUE(VPLHitsModel(*object, P(0, 0, -5), P(0, 0, 5)));
}

TEST_F(VPLObjTest, AHiddenObjectIsNeverHitEvenThroughItsTriangles) {
  // Turned about y, so that its box has depth: a flat box is never hit.
  const std::unique_ptr<VPLObj> quad = Make(MakeQuad());
  quad->SetRotation(0, 0.7853982f, 0);
  quad->RefreshBounds();
  EXPECT_TRUE(quad->HitTest(AlongZ(0, 0)));
  quad->SetVisibility(kMMHidden);
  EXPECT_FALSE(quad->HitTest(AlongZ(0, 0)));
  EXPECT_TRUE(VPLHitsModel(*quad, P(0, 0, -10), P(0, 0, 10)));
}

TEST_F(VPLObjTest, ThePickReportsTheNearestHitAndItsMesh) {
  const std::unique_ptr<VPLObj> near = Make(MakeQuad());
  near->SetPosition(0, 0, 2);
  VPLVertexHolder hit;
  MM3DVector point = P(0, 0, 0);
  ASSERT_TRUE(near->PickRay(P(0.5f, 0.5f, -5), P(0.5f, 0.5f, 5), point, &hit));
  EXPECT_TRUE(point.Equals(P(0.5f, 0.5f, 2)));
  EXPECT_NE(hit.mNode, nullptr);
  EXPECT_EQ(VPLPickTriangleIndex(*near, P(-0.5f, 0.5f, -5), P(-0.5f, 0.5f, 5)), 1);
  EXPECT_EQ(VPLPickTriangleIndex(*near, P(5, 5, -5), P(5, 5, 5)), -1);
}

TEST_F(VPLObjTest, ADeformedPickSeesTheSkinsShape) {
  const UURefCount<MM3DModel> arm = model_fixtures::MakeSkinnedArm();
  const std::unique_ptr<VPLObj> object = Make(arm);
  // Raising the elbow lifts the triangle, flat along x at rest, into the
  // x-y plane.
  static_cast<MM3DDisplayTreeNodeJoint*>(arm->FindNamedNode("_elbow"))->SetTranslationY(1.0f);
  MM3DVector point = P(0, 0, 0);
  const MM3DVector start = P(2.4f, 0.5f, -5);
  const MM3DVector end = P(2.4f, 0.5f, 5);
  EXPECT_FALSE(VPLPickModel(*object, start, end, point, nullptr));
  VPLVertexHolder hit;
  ASSERT_TRUE(VPLPickDeformedModel(*object, start, end, point, &hit));
  EXPECT_NEAR(point.mZ, 0.0f, 1e-5f);
  EXPECT_NE(hit.mNode, nullptr);
}

TEST_F(VPLObjTest, AnObjectWithoutMeshesHasAPointBoxAtTheOrigin) {
  const std::unique_ptr<VPLObj> empty = Make(UURefCount<MM3DModel>());
  MM3DVector min = P(1, 1, 1);
  MM3DVector max = P(1, 1, 1);
  empty->GetBounds(min, max);
  EXPECT_TRUE(min.Equals(P(0, 0, 0)));
  EXPECT_TRUE(max.Equals(P(0, 0, 0)));
  empty->SetPosition(1, 1, 1);
  EXPECT_FALSE(empty->HitTest(AlongZ(0, 0)));
}

TEST_F(VPLObjTest, ANewModelTakesTheNodesAndThePlacementAndIsShown) {
  const std::unique_ptr<VPLObj> object = Make(MakeQuad(), kPlacedButton);
  object->SetVisibility(kMMHidden);
  object->SetModel(MakeTwoMeshes(), true);
  EXPECT_EQ(object->GetVisibility(), kMMShown);
  auto* root = static_cast<MM3DDisplayTreeNodeWithChildren*>(object->GetDisplayTreeRoot());
  ASSERT_EQ(root->GetChildCount(), 1);
  EXPECT_EQ(root->GetChild(0), object->GetTranslationNode());
  EXPECT_EQ(object->GetScaleNode()->GetChildCount(), 2);
  EXPECT_TRUE(object->GetWorldPosition().Equals(P(1, 2, 3)));
}

TEST_F(VPLObjTest, ANewModelWithoutARebuildLeavesTheObjectWithoutNodes) {
  const std::unique_ptr<VPLObj> object = Make(MakeQuad());
  object->SetModelById(ModelId(kTwoMeshItem), false);
  EXPECT_EQ(object->GetTranslationNode(), nullptr);
  object->SetPosition(5, 5, 5);
  object->SetScale(2, 2, 2);
  EXPECT_TRUE(object->GetWorldPosition().Equals(P(0, 0, 0)));
  EXPECT_TRUE(object->GetScaleMatrix().IsIdentity());
  EXPECT_TRUE(VPLHitsModel(*object, P(kSecondMeshX, 0, -5), P(kSecondMeshX, 0, 5)));
}

TEST_F(VPLObjTest, TransformNodesGoUnderTheNamedAnchor) {
  const UURefCount<MM3DModel> character = model_fixtures::MakeCharacter();
  auto* torso = static_cast<MM3DDisplayTreeNodeWithChildren*>(character->FindNamedNode("_torso"));
  const int32_t limbs = torso->GetChildCount();
  AnchoredObj object(&mStage.Scene(), character, "_torso");
  ASSERT_EQ(torso->GetChildCount(), 1);
  EXPECT_EQ(torso->GetChild(0), object.GetTranslationNode());
  EXPECT_EQ(object.GetScaleNode()->GetChildCount(), limbs);
}

}  // namespace
