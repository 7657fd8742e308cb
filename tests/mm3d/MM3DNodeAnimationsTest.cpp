#include "mm3d/MM3DNodeAnimations.h"

#include "mm3d/MM3DModDatabase.h"
#include "tests/mm3d/MM3DAnimationSupport.h"
#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

constexpr float kValue = 2.5f;

class MM3DNodeAnimationsTest : public ::testing::Test {
 protected:
  void SetUp() override { MM3DDatabase::ResetReferenceTables(); }
  void TearDown() override { MM3DDatabase::FreeReferenceTables(); }
};

struct ChannelCase {
  int32_t mChannel;
  std::function<float(const MM3DDisplayTreeNodeSRTBase&)> mRead;
};

TEST_F(MM3DNodeAnimationsTest, SRTChannelsSetTheirComponent) {
  const ChannelCase cases[] = {
      {4, [](const auto& node) { return node.GetRotation().mX; }},
      {6, [](const auto& node) { return node.GetRotation().mZ; }},
      {13, [](const auto& node) { return node.GetScale().mX; }},
      {14, [](const auto& node) { return node.GetScale().mY; }},
      {19, [](const auto& node) { return node.GetTranslation().mX; }},
      {21, [](const auto& node) { return node.GetTranslation().mZ; }},
  };
  for (const ChannelCase& c : cases) {
    MM3DDisplayTreeNodeSRTTransform node;
    MM3DSRTAnimation animation(&node, LinearCurve({{0.0f, kValue}}), c.mChannel);
    animation.Apply(0.0f);
    EXPECT_EQ(c.mRead(node), kValue) << "channel " << c.mChannel;
  }
}

TEST_F(MM3DNodeAnimationsTest, JointChannelsSetTheirComponent) {
  struct JointCase {
    int32_t mChannel;
    std::function<float(const MM3DDisplayTreeNodeJoint&)> mRead;
  };
  const JointCase cases[] = {
      {1, [](const auto& joint) { return joint.GetTranslation().mX; }},
      {5, [](const auto& joint) { return joint.GetRotation().mY; }},
      {9, [](const auto& joint) { return joint.GetScale().mZ; }},
      {10, [](const auto& joint) { return joint.GetOrient().mX; }},
      {15, [](const auto& joint) { return joint.GetParentScale().mZ; }},
  };
  for (const JointCase& c : cases) {
    MM3DDisplayTreeNodeJoint joint;
    MM3DJointAnimation animation(&joint, LinearCurve({{0.0f, kValue}}), c.mChannel);
    animation.Apply(0.0f);
    EXPECT_EQ(c.mRead(joint), kValue) << "channel " << c.mChannel;
  }
}

TEST_F(MM3DNodeAnimationsTest, VisibilityFollowsWhetherTheValueIsZero) {
  MM3DDisplayTreeNodeSRTTransform node;
  MM3DSRTAnimation animation(&node, LinearCurve({{0.0f, 1.0f}, {1.0f, 0.0f}, {2.0f, 1.0f}}), 0);
  animation.Apply(0.8f);  // 0.2 counts as visible
  EXPECT_TRUE(node.IsVisible());
  animation.Apply(1.0f);
  EXPECT_FALSE(node.IsVisible());
  animation.Apply(1.5f);
  EXPECT_TRUE(node.IsVisible());
}

TEST_F(MM3DNodeAnimationsTest, ValuesBetweenKeysInterpolateAndBlendsWeighTwoTimes) {
  MM3DDisplayTreeNodeSRTTransform node;
  MM3DSRTAnimation animation(&node, LinearCurve({{0.0f, 0.0f}, {1.0f, 8.0f}}), 19);
  animation.Apply(0.5f);
  EXPECT_EQ(node.GetTranslation().mX, 4.0f);
  animation.ApplyBlended(0.0f, 0.25f, 1.0f, 0.75f);
  EXPECT_EQ(node.GetTranslation().mX, 6.0f);
}

TEST_F(MM3DNodeAnimationsTest, WithoutTargetCurveOrKnownChannelApplyingWritesNothing) {
  MM3DDisplayTreeNodeSRTTransform node;
  MM3DSRTAnimation noTarget(nullptr, LinearCurve({{0.0f, kValue}}), 19);
  MM3DSRTAnimation noCurve(&node, {}, 19);
  MM3DSRTAnimation badChannel(&node, LinearCurve({{0.0f, kValue}}), 22);
  MM3DSRTAnimation empty;
  for (MM3DSRTAnimation* animation : {&noTarget, &noCurve, &badChannel, &empty}) {
    animation->Apply(0.0f);
    animation->ApplyBlended(0.0f, 0.5f, 0.0f, 0.5f);
  }
  EXPECT_EQ(node.GetTranslation().mX, 0.0f);
  EXPECT_EQ(MM3DSRTAnimation::SetterForChannel(-1), nullptr);
  EXPECT_EQ(MM3DJointAnimation::SetterForChannel(16), nullptr);
  EXPECT_EQ(empty.GetKind(), kMM3DSRTAnimation);
}

TEST_F(MM3DNodeAnimationsTest, TwoAnimationsSharingACurveWriteItOnceAndATargetSlotEach) {
  MM3DDisplayTreeNodeSRTTransform node;
  const UURefCount<MM3DFunctionCurve> curve = LinearCurve({{0.0f, kValue}});
  MM3DSRTAnimation first(&node, curve, 19);
  MM3DSRTAnimation second(&node, curve, 20);
  MM3DModDatabase database;
  ByteWriter writer;
  MM3DDatabase::SaveReference(writer, static_cast<MM3DDisplayTreeNode*>(&node));
  ASSERT_TRUE(first.Write(writer, database));
  ASSERT_TRUE(second.Write(writer, database));
  EXPECT_EQ(database.GetCurves().Count(), 1);
  ByteWriter table;
  ASSERT_TRUE(MM3DDatabase::WriteDelayedReferenceTable(table));
  EXPECT_EQ(table.mBytes, (std::vector<uint8_t>{2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(MM3DNodeAnimationsTest, AnAnimationWithoutTargetReadsBackWithoutOne) {
  MM3DModDatabase database;
  MM3DJointAnimation written(nullptr, LinearCurve({{0.0f, kValue}}), 12);
  ByteWriter writer;
  ASSERT_TRUE(written.Write(writer, database));
  MM3DJointAnimation read;
  ByteReader reader(writer.mBytes);
  ASSERT_TRUE(read.Read(reader, database));
  EXPECT_EQ(read.GetTarget(), nullptr);
  EXPECT_EQ(read.GetChannel(), 12);
  EXPECT_EQ(read.GetCurveHandle(), written.GetCurveHandle());
  ByteReader emptyTable(std::vector<uint8_t>(4, 0));
  EXPECT_TRUE(MM3DDatabase::ResolveDelayedReferences(emptyTable));  // nothing pending
}

TEST_F(MM3DNodeAnimationsTest, ACurveIndexOutsideTheSectionFailsTheRead) {
  MM3DModDatabase database;
  ByteReader reader({5, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 19, 0, 0, 0});
  MM3DSRTAnimation animation;
  EXPECT_FALSE(animation.Read(reader, database));
}

}  // namespace
