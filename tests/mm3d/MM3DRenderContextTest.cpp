#include "mm3d/MM3DRenderContext.h"

#include "mm3d/MM3DDisplayTreeNodeLight.h"
#include "tests/mm3d/MM3DDisplayTreeSupport.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr MM3DColor kNoAmbient = {0, 0, 0, 1};
constexpr MM3DColor kDimBlue = {0.1f, 0.2f, 0.3f, 1};
constexpr MM3DColor kRedGlow = {0.5f, 0, 0, 0.25f};

void ExpectColor(const MM3DColor& actual, const MM3DColor& expected) {
  EXPECT_FLOAT_EQ(actual.mR, expected.mR);
  EXPECT_FLOAT_EQ(actual.mG, expected.mG);
  EXPECT_FLOAT_EQ(actual.mB, expected.mB);
  EXPECT_FLOAT_EQ(actual.mA, expected.mA);
}

std::vector<MM3DLight*> Lights(const MM3DRenderContext& context) {
  return {context.GetLights().begin(), context.GetLights().end()};
}

TEST(MM3DRenderContextTest, ANewModelMatrixIsInvertedAndMarkedChanged) {
  MM3DRenderContext context(true);
  FakeLight light(kMM3DPointLight);
  context.PushLight(&light);
  context.TransformLights();
  EXPECT_TRUE(light.mLastForce);  // a new context counts as changed
  context.SetModelMatrix(Translation(1, 2, 3));
  EXPECT_TRUE(context.HasModelMatrixChanged());
  EXPECT_TRUE(context.GetInverseModelMatrix().ApproxEquals(Translation(-1, -2, -3)));
  context.TransformLights();
  EXPECT_FALSE(context.HasModelMatrixChanged());
}

TEST(MM3DRenderContextTest, TheSameModelMatrixTwiceLeavesTheChangeFlagAlone) {
  MM3DRenderContext context(true);
  FakeLight light(kMM3DPointLight);
  context.PushLight(&light);
  context.SetModelMatrix(Translation(1, 2, 3));
  context.TransformLights();
  context.SetModelMatrix(Translation(1, 2, 3));
  EXPECT_FALSE(context.HasModelMatrixChanged());
  context.TransformLights();
  EXPECT_EQ(light.mTransforms, 2);
  EXPECT_FALSE(light.mLastForce);
}

TEST(MM3DRenderContextTest, AmbientLightsAreSummedApartFromTheOthers) {
  MM3DRenderContext context(true);
  FakeLight point(kMM3DPointLight);
  FakeLight blue(kMM3DAmbientLight, kDimBlue);
  FakeLight red(kMM3DAmbientLight, kRedGlow);
  context.PushLight(&point);
  context.PushLight(&blue);
  context.PushLight(&red);
  context.PushLight(nullptr);
  EXPECT_EQ(Lights(context), std::vector<MM3DLight*>{&point});
  EXPECT_EQ(context.GetAmbientLights().Count(), 2);
  ExpectColor(context.GetAmbientColor(), {0.6f, 0.2f, 0.3f, 1});
  context.PopLight(&blue);
  ExpectColor(context.GetAmbientColor(), {0.5f, 0, 0, 1});
}

TEST(MM3DRenderContextTest, PoppingALightNotInScopeChangesNothing) {
  MM3DRenderContext context(true);
  FakeLight point(kMM3DPointLight);
  FakeLight other(kMM3DPointLight);
  FakeLight blue(kMM3DAmbientLight, kDimBlue);
  context.PushLight(&point);
  context.PushLight(&blue);
  context.PopLight(&other);
  EXPECT_EQ(Lights(context), std::vector<MM3DLight*>{&point});
  ExpectColor(context.GetAmbientColor(), kDimBlue);
}

TEST(MM3DRenderContextTest, RemovalTakesTheFirstOccurrenceAndKeepsTheOrder) {
  MM3DRenderContext context(false);
  int a = 0;
  int b = 0;
  auto* first = reinterpret_cast<MM3DIndexedMeshDeformer*>(&a);
  auto* second = reinterpret_cast<MM3DIndexedMeshDeformer*>(&b);
  for (MM3DIndexedMeshDeformer* deformer : {first, second, first}) context.PushDeformer(deformer);
  context.RemoveDeformer(first);
  ASSERT_EQ(context.GetDeformers().Count(), 2);
  EXPECT_EQ(context.GetDeformers()[0], second);
  EXPECT_EQ(context.GetDeformers()[1], first);
}

// outer light (point) > probe above, inner light (ambient) > probe below
class LightNodeTest : public ::testing::Test {
 protected:
  LightNodeTest()
      : mOuterLight(new FakeLight(kMM3DPointLight)),
        mInnerLight(new FakeLight(kMM3DAmbientLight, kDimBlue)),
        mOuter(mOuterLight) {
    mAbove = new ProbeNode;
    mOuter.AddChild(UUOwned<MM3DDisplayTreeNode>(mAbove));
    auto* inner = new MM3DDisplayTreeNodeLight(mInnerLight);
    mOuter.AddChild(UUOwned<MM3DDisplayTreeNode>(inner));
    mBelow = new ProbeNode;
    inner->AddChild(UUOwned<MM3DDisplayTreeNode>(mBelow));
  }

  UURefCount<MM3DLight> mOuterLight;
  UURefCount<MM3DLight> mInnerLight;
  MM3DDisplayTreeNodeLight mOuter;
  ProbeNode* mAbove;
  ProbeNode* mBelow;
};

TEST_F(LightNodeTest, ALightReachesExactlyTheNodesBelowIt) {
  RenderBench bench;
  bench.Render(mOuter);
  ASSERT_EQ(mAbove->mSightings.size(), 1u);
  ASSERT_EQ(mBelow->mSightings.size(), 1u);
  EXPECT_EQ(mAbove->mSightings[0].mLights, std::vector<MM3DLight*>{mOuterLight.Get()});
  ExpectColor(mAbove->mSightings[0].mAmbient, kNoAmbient);
  EXPECT_EQ(mBelow->mSightings[0].mLights, std::vector<MM3DLight*>{mOuterLight.Get()});
  ExpectColor(mBelow->mSightings[0].mAmbient, kDimBlue);
  EXPECT_EQ(bench.mContext.GetLights().Count(), 0);
  EXPECT_EQ(bench.mContext.GetAmbientLights().Count(), 0);
  ExpectColor(bench.mContext.GetAmbientColor(), kNoAmbient);
}

TEST_F(LightNodeTest, LightsAreSharedThroughTheDatabasesLightTable) {
  MM3DModDatabase database;
  database.GetLights().Append(mInnerLight);
  const std::vector<uint8_t> bytes = WriteNodeRecord(mOuter, database);
  ASSERT_EQ(database.GetLights().Count(), 2);  // the inner light was there; the outer is appended
  EXPECT_EQ(database.GetLights()[1], mOuterLight);
  UUOwned<MM3DDisplayTreeNode> read = ReadNodeRecord(bytes, database);
  ASSERT_FALSE(read.IsEmpty());
  auto& outer = static_cast<MM3DDisplayTreeNodeLight&>(*read);
  EXPECT_EQ(outer.GetLight(), mOuterLight);
  auto& inner = static_cast<MM3DDisplayTreeNodeLight&>(*outer.GetChild(1));
  EXPECT_EQ(inner.GetLight(), mInnerLight);
}

TEST_F(LightNodeTest, ALightIndexOutsideTheTableFailsTheRead) {
  MM3DModDatabase database;
  std::vector<uint8_t> bytes;
  for (int32_t value : {int32_t{kMM3DNodeLight}, int32_t{0}, int32_t{0}, int32_t{0}}) {
    AppendInt32(bytes, value);
  }
  EXPECT_TRUE(ReadNodeRecord(bytes, database).IsEmpty());
  database.GetLights().Append(mOuterLight);
  EXPECT_FALSE(ReadNodeRecord(bytes, database).IsEmpty());
}

}  // namespace
