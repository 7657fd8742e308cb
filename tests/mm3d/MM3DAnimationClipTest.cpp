#include "mm3d/MM3DAnimationClip.h"

#include "mm3d/MM3DModDatabase.h"
#include "mm3d/MM3DNodeAnimations.h"
#include "tests/mm3d/MM3DAnimationSupport.h"
#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

namespace {

constexpr int32_t kTranslateX = 19;
constexpr int32_t kJointRotateY = 5;
constexpr float kStart = 0.5f;
constexpr float kEnd = 3.0f;

UUOwned<MM3DAnimation> SRT(MM3DDisplayTreeNodeSRTTransform* node,
                           UURefCount<MM3DFunctionCurve> curve, int32_t channel = kTranslateX) {
  return UUOwned<MM3DAnimation>(new MM3DSRTAnimation(node, std::move(curve), channel));
}

class MM3DAnimationClipTest : public ::testing::Test {
 protected:
  void SetUp() override { MM3DDatabase::ResetReferenceTables(); }
  void TearDown() override { MM3DDatabase::FreeReferenceTables(); }

  std::vector<uint8_t> Write(const MM3DAnimationClip& clip) {
    ByteWriter writer;
    EXPECT_TRUE(clip.Write(writer, mDatabase));
    return writer.mBytes;
  }

  MM3DModDatabase mDatabase;
  MM3DDisplayTreeNodeSRTTransform mNode;
};

TEST_F(MM3DAnimationClipTest, ApplyingSetsEveryAnimationAtKeysAndBetweenThem) {
  MM3DAnimationClip clip;
  clip.AddAnimation(SRT(&mNode, LinearCurve({{0.0f, 0.0f}, {2.0f, 4.0f}})));
  clip.AddAnimation(SRT(&mNode, LinearCurve({{1.0f, 1.0f}, {3.0f, 5.0f}}), 20));
  clip.Apply(2.0f);
  EXPECT_EQ(mNode.GetTranslation().mX, 4.0f);
  EXPECT_EQ(mNode.GetTranslation().mY, 3.0f);
  clip.ApplyFixed(4096 / 2);
  EXPECT_EQ(mNode.GetTranslation().mX, 1.0f);
  EXPECT_EQ(mNode.GetTranslation().mY, 1.0f);  // before its first key
  clip.ApplyBlendedFixed(0, 4096 / 4, 4096 * 2, 4096 * 3 / 4);
  EXPECT_EQ(mNode.GetTranslation().mX, 3.0f);
}

TEST_F(MM3DAnimationClipTest, TheLaterOfTwoAnimationsOnOneComponentWins) {
  MM3DAnimationClip clip;
  clip.AddAnimation(SRT(&mNode, LinearCurve({{0.0f, 1.0f}})));
  clip.AddAnimation(SRT(&mNode, LinearCurve({{0.0f, 2.0f}})));
  clip.Apply(0.0f);
  EXPECT_EQ(mNode.GetTranslation().mX, 2.0f);
}

TEST_F(MM3DAnimationClipTest, RangesComeFromTheAnimationsAndRemovingClosesTheGap) {
  MM3DAnimationClip clip;
  EXPECT_EQ(clip.GetAnimationSpan(), 0.0f);
  clip.AddAnimation(SRT(&mNode, LinearCurve({{1.0f, 0.0f}, {2.0f, 0.0f}})));
  clip.AddAnimation(SRT(&mNode, LinearCurve({{-1.0f, 0.0f}, {1.5f, 0.0f}})));
  clip.AddAnimation(SRT(&mNode, LinearCurve({{0.0f, 0.0f}, {4.0f, 0.0f}})));
  EXPECT_EQ(clip.GetEarliestStart(), -1.0f);
  EXPECT_EQ(clip.GetLatestEnd(), 4.0f);
  EXPECT_EQ(clip.GetAnimationSpan(), 5.0f);
  MM3DAnimation* third = clip.GetAnimation(2);
  UUOwned<MM3DAnimation> removed = clip.RemoveAnimation(1);
  EXPECT_EQ(removed->GetStartTime(), -1.0f);
  ASSERT_EQ(clip.GetCount(), 2);
  EXPECT_EQ(clip.GetAnimation(1), third);
}

TEST_F(MM3DAnimationClipTest, TheArrayConstructorTakesTheAnimationsOver) {
  UUGrowableArray<MM3DAnimation*> animations;
  animations.Append(SRT(&mNode, LinearCurve({{0.0f, 1.0f}})).Release());
  MM3DAnimationClip clip(kStart, kEnd, animations);
  EXPECT_EQ(animations.Count(), 0);
  EXPECT_EQ(clip.GetCount(), 1);
  EXPECT_EQ(clip.GetEndTime(), kEnd);
}

TEST_F(MM3DAnimationClipTest, AnEmptyClipIsItsRangeAndACountOfZero) {
  MM3DAnimationClip clip;
  clip.SetStartTime(kStart);
  clip.SetEndTime(kEnd);
  const std::vector<uint8_t> bytes = Write(clip);
  EXPECT_EQ(bytes.size(), 12u);
  ByteReader reader(bytes);
  UUOwned<MM3DAnimationClip> read;
  ASSERT_TRUE(MM3DReadAnimationClip(reader, mDatabase, read));
  EXPECT_EQ(read->GetCount(), 0);
  EXPECT_EQ(read->GetStartTime(), kStart);
  EXPECT_EQ(read->GetEndTime(), kEnd);
}

// A clip written with its target nodes, read back into fresh nodes: the
// animations drive the new nodes once the references are resolved.
TEST_F(MM3DAnimationClipTest, AClipRoundTripsAndDrivesTheNodesReadWithIt) {
  MM3DDisplayTreeNodeJoint joint;
  MM3DAnimationClip clip;
  clip.SetStartTime(kStart);
  clip.SetEndTime(kEnd);
  clip.AddAnimation(SRT(&mNode, LinearCurve({{0.0f, 0.0f}, {1.0f, 6.0f}})));
  clip.AddAnimation(UUOwned<MM3DAnimation>(
      new MM3DJointAnimation(&joint, LinearCurve({{0.0f, 1.0f}}), kJointRotateY)));
  ByteWriter writer;
  MM3DDatabase::SaveReference(writer, static_cast<MM3DDisplayTreeNode*>(&mNode));
  MM3DDatabase::SaveReference(writer, static_cast<MM3DDisplayTreeNode*>(&joint));
  ASSERT_TRUE(clip.Write(writer, mDatabase));
  ASSERT_TRUE(MM3DDatabase::WriteDelayedReferenceTable(writer));

  MM3DDatabase::ResetReferenceTables();
  MM3DDisplayTreeNodeSRTTransform readNode;
  MM3DDisplayTreeNodeJoint readJoint;
  ByteReader reader(writer.mBytes);
  UUOwned<MM3DAnimationClip> read;
  ASSERT_TRUE(MM3DDatabase::LoadReference<MM3DDisplayTreeNode>(reader, &readNode));
  ASSERT_TRUE(MM3DDatabase::LoadReference<MM3DDisplayTreeNode>(reader, &readJoint));
  ASSERT_TRUE(MM3DReadAnimationClip(reader, mDatabase, read));
  ASSERT_TRUE(MM3DDatabase::ResolveDelayedReferences(reader));
  EXPECT_EQ(reader.Remaining(), 0u);

  ASSERT_EQ(read->GetCount(), 2);
  EXPECT_EQ(read->GetAnimation(0)->GetKind(), kMM3DSRTAnimation);
  EXPECT_EQ(read->GetAnimation(1)->GetKind(), kMM3DJointAnimation);
  EXPECT_EQ(read->GetStartTime(), kStart);
  read->Apply(0.5f);
  EXPECT_EQ(readNode.GetTranslation().mX, 3.0f);
  EXPECT_EQ(readJoint.GetRotation().mY, 1.0f);
  EXPECT_EQ(mNode.GetTranslation().mX, 0.0f);
}

TEST_F(MM3DAnimationClipTest, ASecondAnimationThatFailsLeavesTheFirstAndFalse) {
  MM3DAnimationClip clip;
  clip.AddAnimation(SRT(nullptr, LinearCurve({{0.0f, 1.0f}})));
  clip.AddAnimation(SRT(nullptr, LinearCurve({{0.0f, 2.0f}})));
  std::vector<uint8_t> bytes = Write(clip);
  bytes.resize(bytes.size() - 2);
  ByteReader reader(bytes);
  UUOwned<MM3DAnimationClip> read;
  EXPECT_FALSE(MM3DReadAnimationClip(reader, mDatabase, read));
  ASSERT_FALSE(read.IsEmpty());
  EXPECT_EQ(read->GetCount(), 1);
}

TEST_F(MM3DAnimationClipTest, DamagedRecordsFailAndStillReplaceTheClip) {
  const std::vector<std::vector<uint8_t>> damaged = {
      {0, 0, 0, 0},                                                  // no end time
      {0, 0, 0, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF},              // negative count
      {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 24, 0, 0, 0},             // unknown kind
      {0, 0, 0, 0, 0, 0, 0, 0, 1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF},  // kind -1
      {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x10},                       // a count with no animations
  };
  for (const std::vector<uint8_t>& bytes : damaged) {
    MM3DAnimationClip* previous = new MM3DAnimationClip;
    UUOwned<MM3DAnimationClip> clip(previous);
    ByteReader reader(bytes);
    EXPECT_FALSE(MM3DReadAnimationClip(reader, mDatabase, clip));
    ASSERT_FALSE(clip.IsEmpty());
    EXPECT_NE(clip.Get(), previous);
    EXPECT_EQ(clip->GetCount(), 0);
  }
}

TEST_F(MM3DAnimationClipTest, AnUnknownKindCreatesNoAnimation) {
  UUOwned<MM3DAnimation> animation(new MM3DSRTAnimation);
  MM3DAnimation* before = animation.Get();
  ByteReader reader({24, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0});
  EXPECT_FALSE(MM3DReadAnimation(reader, mDatabase, animation));
  EXPECT_EQ(animation.Get(), before);
}

}  // namespace
