#include "mm3d/MM3DDisplayTreeNodeTransform.h"

#include "mm3d/MM3DDisplayTreeNodeWithVisibility.h"
#include "tests/mm3d/MM3DDisplayTreeSupport.h"

#include <gtest/gtest.h>

namespace {

constexpr float kTolerance = 1e-5f;

void ExpectNear(const MM3DVector& actual, const MM3DVector& expected) {
  EXPECT_NEAR(actual.mX, expected.mX, kTolerance);
  EXPECT_NEAR(actual.mY, expected.mY, kTolerance);
  EXPECT_NEAR(actual.mZ, expected.mZ, kTolerance);
}

// Counts how often its world matrix is asked for: by the test, and by each
// dirty child that recomputes its own.
class CountingTransform : public MM3DDisplayTreeNodeTransform {
 public:
  using MM3DDisplayTreeNodeTransform::MM3DDisplayTreeNodeTransform;

  void GetWorldMatrix(MM3DMatrix& out) override {
    ++mAsked;
    MM3DDisplayTreeNodeTransform::GetWorldMatrix(out);
  }

  int mAsked = 0;
};

CountingTransform* AddCounting(MM3DDisplayTreeNodeWithChildren& parent, const MM3DMatrix& local) {
  auto* node = new CountingTransform(local);
  parent.AddChild(UUOwned<MM3DDisplayTreeNode>(node));
  return node;
}

class MM3DDisplayTreeNodeTransformTest : public ::testing::Test {
 protected:
  // top (translate y 2): a (x 1): a1 (z 3); b (x 5, under a visibility node)
  MM3DDisplayTreeNodeTransformTest() : mTop(Translation(0, 2, 0)) {
    mA = AddCounting(mTop, Translation(1, 0, 0));
    mA1 = AddCounting(*mA, Translation(0, 0, 3));
    auto* group = new MM3DDisplayTreeNodeWithVisibility;
    mTop.AddChild(UUOwned<MM3DDisplayTreeNode>(group));
    mB = AddCounting(*group, Translation(5, 0, 0));
  }

  // Asks every node once, after clearing the counts.
  void AskAll() {
    for (CountingTransform* node : {&mTop, mA, mA1, mB}) node->mAsked = 0;
    for (CountingTransform* node : {&mTop, mA, mA1, mB}) WorldTranslation(*node);
  }

  CountingTransform mTop;
  CountingTransform* mA;
  CountingTransform* mA1;
  CountingTransform* mB;
};

TEST_F(MM3DDisplayTreeNodeTransformTest, AWorldMatrixIsTheLocalTimesTheParents) {
  ExpectNear(WorldTranslation(*mA), {1, 2, 0, 1});
  ExpectNear(WorldTranslation(*mA1), {1, 2, 3, 1});
  ExpectNear(WorldTranslation(*mB), {5, 2, 0, 1});
}

TEST_F(MM3DDisplayTreeNodeTransformTest, AChangeInvalidatesExactlyTheSubtree) {
  AskAll();
  mA->SetMatrix(Translation(10, 0, 0));
  AskAll();
  EXPECT_EQ(mTop.mAsked, 2);  // the test, and mA recomputing; mB stayed valid
  EXPECT_EQ(mA->mAsked, 2);   // the test, and mA1 recomputing
  EXPECT_EQ(mA1->mAsked, 1);
  EXPECT_EQ(mB->mAsked, 1);
  ExpectNear(WorldTranslation(*mA1), {10, 2, 3, 1});
  ExpectNear(WorldTranslation(*mB), {5, 2, 0, 1});
}

TEST_F(MM3DDisplayTreeNodeTransformTest, AChangeAtTheTopReachesThroughPlainNodes) {
  AskAll();
  mTop.SetMatrix(Translation(0, -1, 0));
  ExpectNear(WorldTranslation(*mB), {5, -1, 0, 1});
  ExpectNear(WorldTranslation(*mA1), {1, -1, 3, 1});
}

TEST_F(MM3DDisplayTreeNodeTransformTest, AnUnchangedTreeAsksNoParent) {
  AskAll();
  AskAll();
  for (CountingTransform* node : {&mTop, mA, mA1, mB}) EXPECT_EQ(node->mAsked, 1);
}

TEST_F(MM3DDisplayTreeNodeTransformTest, MovingANodeGivesItTheNewParentsPlace) {
  AskAll();
  UUOwned<MM3DDisplayTreeNode> a1 = mA->RemoveChild(mA1);
  ExpectNear(WorldTranslation(*mA1), {0, 0, 3, 1});
  mB->AddChild(std::move(a1));
  ExpectNear(WorldTranslation(*mA1), {5, 2, 3, 1});
}

TEST_F(MM3DDisplayTreeNodeTransformTest, AnInvisibleNodeDrawsNothingButStillPlacesItsChildren) {
  auto* hidden = new MM3DDisplayTreeNodeWithVisibility(0);
  mA1->AddChild(UUOwned<MM3DDisplayTreeNode>(hidden));
  auto* probe = new ProbeNode;
  hidden->AddChild(UUOwned<MM3DDisplayTreeNode>(probe));
  RenderBench bench;
  bench.Render(mTop);
  EXPECT_TRUE(probe->mSightings.empty());
  ExpectNear(probe->GetWorldPosition(), {1, 2, 3, 1});
  hidden->SetVisibilityFromValue(0.5f);
  bench.Render(mTop);
  EXPECT_EQ(probe->mSightings.size(), 1u);
}

TEST_F(MM3DDisplayTreeNodeTransformTest, TheRecordIsTheMatrixTheFlagAndTheChildren) {
  MM3DModDatabase database;
  mA1->ChangeVisibility(0);
  UUOwned<MM3DDisplayTreeNode> read = ReadNodeRecord(WriteNodeRecord(*mA, database), database);
  ASSERT_FALSE(read.IsEmpty());
  auto& a = static_cast<MM3DDisplayTreeNodeTransform&>(*read);
  ASSERT_EQ(a.GetChildCount(), 1);
  auto& a1 = static_cast<MM3DDisplayTreeNodeTransform&>(*a.GetChild(0));
  EXPECT_FALSE(a1.IsVisible());
  ExpectNear(WorldTranslation(a1), {1, 0, 3, 1});
}

}  // namespace
