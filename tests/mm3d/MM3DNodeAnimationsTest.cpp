#include "mm3d/MM3DNodeAnimations.h"

#include "mm3d/MM3DModDatabase.h"
#include "tests/mm3d/MM3DAnimationSupport.h"
#include "tests/mm3d/MM3DMeshBuilders.h"
#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

#include <functional>
#include <iterator>
#include <memory>
#include <vector>

namespace {

constexpr float kValue = 2.5f;
constexpr int32_t kWeightIndex = 1;
constexpr int32_t kRotationChannel = 4;
// A ramp from 0 at 0 s to 8 at 1 s: 4 half-way, and a quarter of its start
// plus three quarters of its end gives 6.
constexpr float kRampMiddle = 4.0f;
constexpr float kRampBlend = 6.0f;

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

// The twelve pivot channels move the node's matrix exactly as the pivot
// setter of their axis does, on a node turned and scaled so that every
// pivot shows.
TEST_F(MM3DNodeAnimationsTest, PivotChannelsSetTheirPivotComponent) {
  using Node = MM3DDisplayTreeNodeSRTTransform;
  using Setter = void (Node::*)(float);
  const struct {
    int32_t mChannel;
    Setter mSet;
  } cases[] = {
      {1, &Node::SetRotatePivotX},
      {2, &Node::SetRotatePivotY},
      {3, &Node::SetRotatePivotZ},
      {7, &Node::SetRotatePivotTranslationX},
      {8, &Node::SetRotatePivotTranslationY},
      {9, &Node::SetRotatePivotTranslationZ},
      {10, &Node::SetScalePivotX},
      {11, &Node::SetScalePivotY},
      {12, &Node::SetScalePivotZ},
      {16, &Node::SetScalePivotTranslationX},
      {17, &Node::SetScalePivotTranslationY},
      {18, &Node::SetScalePivotTranslationZ},
  };
  const auto turned = [](Node& node) {
    node.SetRotationX(0.3f);
    node.SetRotationZ(0.5f);
    node.SetScaleX(2);
    node.SetScaleY(3);
    node.SetScaleZ(4);
  };
  Node plain;
  turned(plain);
  MM3DMatrix plainMatrix;
  plain.GetWorldMatrix(plainMatrix);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mChannel);
    Node animated;
    Node expected;
    turned(animated);
    turned(expected);
    MM3DSRTAnimation animation(&animated, LinearCurve({{0.0f, kValue}}), c.mChannel);
    animation.Apply(0.0f);
    (expected.*c.mSet)(kValue);
    MM3DMatrix animatedMatrix;
    MM3DMatrix expectedMatrix;
    animated.GetWorldMatrix(animatedMatrix);
    expected.GetWorldMatrix(expectedMatrix);
    EXPECT_EQ(animatedMatrix, expectedMatrix);
    EXPECT_FALSE(animatedMatrix == plainMatrix);
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

TEST_F(MM3DNodeAnimationsTest, TexturePlacementChannelsSetTheirParameter) {
  struct PlacementCase {
    int32_t mChannel;
    float (MM3DTexturePlacement::*mGet)() const;
  };
  const PlacementCase cases[] = {
      {0, &MM3DTexturePlacement::GetRepeatU},
      {1, &MM3DTexturePlacement::GetRepeatV},
      {2, &MM3DTexturePlacement::GetOffsetU},
      {3, &MM3DTexturePlacement::GetOffsetV},
      {kRotationChannel, &MM3DTexturePlacement::GetRotation},  // radians as they come
  };
  for (const PlacementCase& c : cases) {
    MM3DTexturePlacement placement;
    MM3DTexturePlacementAnimation animation(&placement, LinearCurve({{0.0f, kValue}}), c.mChannel);
    animation.Apply(0.0f);
    EXPECT_EQ((placement.*c.mGet)(), kValue) << "channel " << c.mChannel;
  }
}

UURefCount<MM3DFunctionCurve> Ramp() { return LinearCurve({{0.0f, 0.0f}, {1.0f, 8.0f}}); }

// One target of each kind that is not a transform: a blend-shape node with
// two weights, an indexed-shape node and a placement.
struct Targets {
  MM3DDisplayTreeNodeIndexedBlendShapeArray mBlendShape{MakeArray<float>({0.0f, 0.0f}), {}, {}};
  MM3DDisplayTreeNodeIndexedShape mShape;
  MM3DTexturePlacement mPlacement;

  float Weight() const { return mBlendShape.GetWeights()[kWeightIndex]; }
};

// The three kinds on their targets, all with one curve.
std::vector<std::unique_ptr<MM3DAnimation>> AnimateTargets(
    Targets& targets, const UURefCount<MM3DFunctionCurve>& curve) {
  std::vector<std::unique_ptr<MM3DAnimation>> animations;
  animations.push_back(
      std::make_unique<MM3DBlendShapeWeightAnimation>(&targets.mBlendShape, curve, kWeightIndex));
  animations.push_back(std::make_unique<MM3DShapeIndexAnimation>(&targets.mShape, curve));
  animations.push_back(std::make_unique<MM3DTexturePlacementAnimation>(&targets.mPlacement, curve,
                                                                       kRotationChannel));
  return animations;
}

// What each animation of AnimateTargets writes, in the same order.
const std::function<float(const Targets&)> kAnimatedValues[] = {
    [](const Targets& targets) { return targets.Weight(); },
    [](const Targets& targets) { return targets.mShape.GetShapeIndex(); },
    [](const Targets& targets) { return targets.mPlacement.GetRotation(); },
};

TEST_F(MM3DNodeAnimationsTest, WeightShapeIndexAndPlacementApplyAndBlendTheirValue) {
  Targets targets;
  const std::vector<std::unique_ptr<MM3DAnimation>> animations = AnimateTargets(targets, Ramp());
  for (size_t i = 0; i < animations.size(); ++i) {
    animations[i]->Apply(0.5f);
    EXPECT_EQ(kAnimatedValues[i](targets), kRampMiddle) << "animation " << i;
    animations[i]->ApplyBlended(0.0f, 0.25f, 1.0f, 0.75f);
    EXPECT_EQ(kAnimatedValues[i](targets), kRampBlend) << "animation " << i;
  }
  EXPECT_EQ(targets.mBlendShape.GetWeights()[0], 0.0f);
}

TEST_F(MM3DNodeAnimationsTest, EmptyTargetsOutsideWeightsAndUnknownChannelsWriteNothing) {
  Targets targets;
  const UURefCount<MM3DFunctionCurve> curve = LinearCurve({{0.0f, kValue}});
  MM3DBlendShapeWeightAnimation pastTheWeights(&targets.mBlendShape, curve, 2);
  MM3DBlendShapeWeightAnimation negativeWeight(&targets.mBlendShape, curve, -1);
  MM3DBlendShapeWeightAnimation noWeightTarget(nullptr, curve, 0);
  MM3DShapeIndexAnimation noShapeTarget(nullptr, curve);
  MM3DTexturePlacementAnimation noPlacement(nullptr, curve, kRotationChannel);
  MM3DTexturePlacementAnimation badChannel(&targets.mPlacement, curve, 5);
  MM3DShapeIndexAnimation empty;
  for (MM3DAnimation* animation :
       std::initializer_list<MM3DAnimation*>{&pastTheWeights, &negativeWeight, &noWeightTarget,
                                             &noShapeTarget, &noPlacement, &badChannel, &empty}) {
    animation->Apply(0.0f);
    animation->ApplyBlended(0.0f, 0.5f, 0.0f, 0.5f);
  }
  const Targets untouched;
  for (const auto& value : kAnimatedValues) EXPECT_EQ(value(targets), value(untouched));
  EXPECT_EQ(targets.mBlendShape.GetWeights()[0], 0.0f);
  EXPECT_EQ(MM3DTexturePlacementAnimation::SetterForChannel(-1), nullptr);
  EXPECT_EQ(empty.GetKind(), kMM3DShapeIndexAnimation);
}

// The targets' references, the animations with their kinds, then the
// placement's record: the placement is read after the animation that
// drives it.
std::vector<uint8_t> WriteAnimatedTargets(
    Targets& targets, const std::vector<std::unique_ptr<MM3DAnimation>>& animations,
    MM3DModDatabase& database, UUByteOrder order) {
  MM3DDatabase::ResetReferenceTables();
  ByteWriter writer;
  writer.SetWriteByteOrder(order);
  MM3DDatabase::SaveReference(writer, static_cast<MM3DDisplayTreeNode*>(&targets.mBlendShape));
  MM3DDatabase::SaveReference(writer, static_cast<MM3DDisplayTreeNode*>(&targets.mShape));
  for (const std::unique_ptr<MM3DAnimation>& animation : animations) {
    EXPECT_TRUE(animation->WriteWithKind(writer, database));
  }
  EXPECT_TRUE(targets.mPlacement.Write(writer));
  EXPECT_TRUE(MM3DDatabase::WriteDelayedReferenceTable(writer));
  return writer.mBytes;
}

TEST_F(MM3DNodeAnimationsTest, WeightShapeIndexAndPlacementRecordsDriveTheTargetsReadWithThem) {
  Targets written;
  MM3DModDatabase database;
  const std::vector<std::unique_ptr<MM3DAnimation>> animations = AnimateTargets(written, Ramp());
  for (UUByteOrder order : {kUUNativeByteOrder, kUUSwappedByteOrder}) {
    SCOPED_TRACE(order);
    ByteReader reader(WriteAnimatedTargets(written, animations, database, order));
    reader.SetByteOrder(order);
    MM3DDatabase::ResetReferenceTables();
    Targets read;
    UUOwned<MM3DAnimation> readAnimations[3];
    ASSERT_TRUE(MM3DDatabase::LoadReference<MM3DDisplayTreeNode>(reader, &read.mBlendShape));
    ASSERT_TRUE(MM3DDatabase::LoadReference<MM3DDisplayTreeNode>(reader, &read.mShape));
    for (UUOwned<MM3DAnimation>& animation : readAnimations) {
      ASSERT_TRUE(MM3DReadAnimation(reader, database, animation));
    }
    ASSERT_TRUE(read.mPlacement.Read(reader));
    ASSERT_TRUE(MM3DDatabase::ResolveDelayedReferences(reader));
    EXPECT_EQ(reader.Remaining(), 0u);

    const auto& weight = dynamic_cast<MM3DBlendShapeWeightAnimation&>(*readAnimations[0]);
    EXPECT_EQ(weight.GetTarget(), &read.mBlendShape);
    EXPECT_EQ(weight.GetWeightIndex(), kWeightIndex);
    EXPECT_EQ(dynamic_cast<MM3DShapeIndexAnimation&>(*readAnimations[1]).GetTarget(), &read.mShape);
    const auto& placement = dynamic_cast<MM3DTexturePlacementAnimation&>(*readAnimations[2]);
    EXPECT_EQ(placement.GetTarget(), &read.mPlacement);
    EXPECT_EQ(placement.GetChannel(), kRotationChannel);
    for (size_t i = 0; i < std::size(readAnimations); ++i) {
      readAnimations[i]->Apply(0.5f);
      EXPECT_EQ(kAnimatedValues[i](read), kRampMiddle) << "animation " << i;
    }
  }
}

// Channels outside their table and weight indexes outside every node's
// weights are kept as read and write back the same bytes (applying them
// writes nothing, above); so does an animation made without a channel.
TEST_F(MM3DNodeAnimationsTest, ChannelsOutsideTheirTableAndNegativeWeightsReadBack) {
  const struct {
    MM3DAnimationKind mKind;
    int32_t mIndex;
  } cases[] = {
      {kMM3DSRTAnimation, 21},
      {kMM3DSRTAnimation, 22},
      {kMM3DJointAnimation, 16},
      {kMM3DTexturePlacementAnimation, 5},
      {kMM3DTexturePlacementAnimation, -1},
      {kMM3DBlendShapeWeightAnimation, 1000},
      {kMM3DBlendShapeWeightAnimation, -1},
  };
  constexpr int32_t kNone = -1;
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "kind " << c.mKind << " index " << c.mIndex);
    std::vector<uint8_t> bytes;
    for (int32_t word : {int32_t{c.mKind}, kNone, kNone, c.mIndex}) AppendInt32(bytes, word);
    MM3DModDatabase database;
    ByteReader reader(bytes);
    UUOwned<MM3DAnimation> animation;
    ASSERT_TRUE(MM3DReadAnimation(reader, database, animation));
    ByteWriter writer;
    EXPECT_TRUE(animation->WriteWithKind(writer, database));
    EXPECT_EQ(writer.mBytes, bytes);
  }
  const MM3DSRTAnimation withoutChannel;
  MM3DModDatabase database;
  ByteWriter writer;
  ASSERT_TRUE(withoutChannel.WriteWithKind(writer, database));
  ByteReader reader(writer.mBytes);
  UUOwned<MM3DAnimation> read;
  EXPECT_TRUE(MM3DReadAnimation(reader, database, read));
}

}  // namespace
