#include "mm3d/MM3DDisplayTreeNode.h"

#include "mm3d/MM3DDisplayTreeDataNodes.h"
#include "mm3d/MM3DDisplayTreeNodeCullingBoundingBox.h"
#include "mm3d/MM3DDisplayTreeNodeFactory.h"
#include "mm3d/MM3DDisplayTreeNodeJoint.h"
#include "mm3d/MM3DDisplayTreeNodeLight.h"
#include "mm3d/MM3DDisplayTreeNodeSRTTransform.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "mm3d/MM3DDisplayTreeNodeWithVisibility.h"
#include "mm3d/MM3DLinearSpline.h"
#include "tests/mm3d/MM3DDisplayTreeSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <vector>

namespace {

using Owned = UUOwned<MM3DDisplayTreeNode>;

// Notes every node it is shown and answers from a table.
class RecordingVisitor : public MM3DDisplayTreeVisitor {
 public:
  explicit RecordingVisitor(std::function<MM3DVisitResult(MM3DDisplayTreeNode&)> answer =
                                [](MM3DDisplayTreeNode&) { return kMM3DVisitContinue; })
      : mAnswer(std::move(answer)) {}

  MM3DVisitResult Visit(MM3DDisplayTreeNode& node) override {
    mVisited.push_back(&node);
    return mAnswer(node);
  }

  std::function<MM3DVisitResult(MM3DDisplayTreeNode&)> mAnswer;
  std::vector<MM3DDisplayTreeNode*> mVisited;
};

template <typename Node, typename... Args>
Node* Add(MM3DDisplayTreeNodeWithChildren& parent, Args&&... args) {
  Node* node = new Node(std::forward<Args>(args)...);
  parent.AddChild(Owned(node));
  return node;
}

std::vector<MM3DDisplayTreeNode*> Children(const MM3DDisplayTreeNodeWithChildren& node) {
  std::vector<MM3DDisplayTreeNode*> children;
  for (const Owned& child : node.GetChildren()) children.push_back(child.Get());
  return children;
}

class MM3DDisplayTreeNodeTest : public ::testing::Test {
 protected:
  // top: a (a1, a2), b (b1)
  MM3DDisplayTreeNodeTest() {
    mA = Add<MM3DDisplayTreeNodeWithVisibility>(mTop);
    mA1 = Add<MM3DDisplayTreeNodeLocator>(*mA);
    mA2 = Add<MM3DDisplayTreeNodeJoint>(*mA);
    mB = Add<MM3DDisplayTreeNodeJoint>(mTop);
    mB1 = Add<MM3DDisplayTreeNodeLocator>(*mB);
  }
  void TearDown() override { MM3DDatabase::FreeReferenceTables(); }

  MM3DDisplayTreeNodeWithVisibility mTop;
  MM3DDisplayTreeNodeWithVisibility* mA;
  MM3DDisplayTreeNode* mA1;
  MM3DDisplayTreeNodeJoint* mA2;
  MM3DDisplayTreeNodeJoint* mB;
  MM3DDisplayTreeNode* mB1;
};

TEST_F(MM3DDisplayTreeNodeTest, AWalkDownIsDepthFirstNodeBeforeChildren) {
  RecordingVisitor visitor;
  EXPECT_TRUE(mTop.Accept(visitor, kMM3DVisitDown));
  EXPECT_EQ(visitor.mVisited, (std::vector<MM3DDisplayTreeNode*>{&mTop, mA, mA1, mA2, mB, mB1}));
}

TEST_F(MM3DDisplayTreeNodeTest, PruningSkipsTheSubtreeButNotTheLaterSiblings) {
  RecordingVisitor visitor([this](MM3DDisplayTreeNode& node) {
    return &node == mA ? kMM3DVisitPrune : kMM3DVisitContinue;
  });
  EXPECT_TRUE(mTop.Accept(visitor, kMM3DVisitDown));
  EXPECT_EQ(visitor.mVisited, (std::vector<MM3DDisplayTreeNode*>{&mTop, mA, mB, mB1}));
}

TEST_F(MM3DDisplayTreeNodeTest, StoppingEndsTheWalkAndAcceptAnswersFalse) {
  RecordingVisitor visitor([this](MM3DDisplayTreeNode& node) {
    return &node == mA1 ? kMM3DVisitStop : kMM3DVisitContinue;
  });
  EXPECT_FALSE(mTop.Accept(visitor, kMM3DVisitDown));
  EXPECT_EQ(visitor.mVisited, (std::vector<MM3DDisplayTreeNode*>{&mTop, mA, mA1}));
}

TEST_F(MM3DDisplayTreeNodeTest, AWalkUpVisitsTheParentsInOrder) {
  RecordingVisitor visitor;
  EXPECT_TRUE(mA1->Accept(visitor, kMM3DVisitUp));
  EXPECT_EQ(visitor.mVisited, (std::vector<MM3DDisplayTreeNode*>{mA1, mA, &mTop}));
}

TEST_F(MM3DDisplayTreeNodeTest, TheFinderTestsTheNodeItselfFirst) {
  EXPECT_EQ(mB->FindNodeOfKind(kMM3DNodeJoint, kMM3DVisitDown), mB);
  EXPECT_EQ(mTop.FindNodeOfKind(kMM3DNodeJoint, kMM3DVisitDown), mA2);
  EXPECT_EQ(mB1->FindNodeOfKind(kMM3DNodeJoint, kMM3DVisitUp), mB);
  EXPECT_EQ(mA1->FindNodeOfKind(kMM3DNodeJoint, kMM3DVisitUp), nullptr);
  EXPECT_EQ(mTop.FindNodeOfKind(kMM3DNodeSphereData, kMM3DVisitDown), nullptr);
}

TEST_F(MM3DDisplayTreeNodeTest, AddingARootMovesItsChildrenInOrderAndDeletesIt) {
  auto* root = new MM3DDisplayTreeNodeRoot;
  std::vector<MM3DDisplayTreeNode*> moved = {Add<MM3DDisplayTreeNodeLocator>(*root),
                                             Add<MM3DDisplayTreeNodeJoint>(*root),
                                             Add<MM3DDisplayTreeNodeSphereData>(*root)};
  mB->AddChild(Owned(root));  // a deleted root shows under the sanitizers
  std::vector<MM3DDisplayTreeNode*> expected = {mB1};
  expected.insert(expected.end(), moved.begin(), moved.end());
  EXPECT_EQ(Children(*mB), expected);
  for (MM3DDisplayTreeNode* node : moved) EXPECT_EQ(node->GetParent(), mB);
}

TEST_F(MM3DDisplayTreeNodeTest, RemovingAChildHandsItOverWithoutAParent) {
  Owned removed = mA->RemoveChild(mA1);
  EXPECT_EQ(removed.Get(), mA1);
  EXPECT_EQ(mA1->GetParent(), nullptr);
  EXPECT_EQ(Children(*mA), (std::vector<MM3DDisplayTreeNode*>{mA2}));
  EXPECT_TRUE(mA->RemoveChild(mB1).IsEmpty());  // not a child of mA
}

TEST_F(MM3DDisplayTreeNodeTest, ListMovesKeepOrderAndSetTheParents) {
  mA->MoveChildrenToParent();
  EXPECT_EQ(Children(mTop), (std::vector<MM3DDisplayTreeNode*>{mA, mB, mA1, mA2}));
  EXPECT_EQ(mA1->GetParent(), &mTop);
  mTop.MoveChildTo(mA1, *mB);
  EXPECT_EQ(Children(*mB), (std::vector<MM3DDisplayTreeNode*>{mB1, mA1}));
  mA->TakeChildrenFrom(*mB);
  EXPECT_EQ(Children(*mA), (std::vector<MM3DDisplayTreeNode*>{mB1, mA1}));
  EXPECT_EQ(mB->GetChildCount(), 0);
  EXPECT_EQ(mB1->GetParent(), mA);
}

TEST_F(MM3DDisplayTreeNodeTest, InterposingAChildPutsItBetweenTheNodeAndItsChildren) {
  auto* middle = new MM3DDisplayTreeNodeLight;
  mA->InterposeChild(UUOwned<MM3DDisplayTreeNodeWithChildren>(middle));
  EXPECT_EQ(Children(*mA), (std::vector<MM3DDisplayTreeNode*>{middle}));
  EXPECT_EQ(Children(*middle), (std::vector<MM3DDisplayTreeNode*>{mA1, mA2}));
  EXPECT_EQ(mA1->GetParent(), middle);
}

TEST_F(MM3DDisplayTreeNodeTest, InterposingAParentPutsItBetweenTheNodeAndItsParent) {
  auto* middle = new MM3DDisplayTreeNodeLight;
  mA->InterposeParent(UUOwned<MM3DDisplayTreeNodeWithChildren>(middle));
  EXPECT_EQ(Children(mTop), (std::vector<MM3DDisplayTreeNode*>{mB, middle}));
  EXPECT_EQ(Children(*middle), (std::vector<MM3DDisplayTreeNode*>{mA}));
  EXPECT_EQ(mA->GetParent(), middle);
}

TEST_F(MM3DDisplayTreeNodeTest, GetChildAnswersNullPastTheEnd) {
  EXPECT_EQ(mA->GetChild(1), mA2);
  EXPECT_EQ(mA->GetChild(2), nullptr);
  EXPECT_EQ(mA->GetChild(-1), nullptr);
}

// One node of every kind that has a class, with values other than its
// defaults, for the record round trips.
std::vector<Owned> EveryKind(MM3DModDatabase& database) {
  std::vector<Owned> nodes;
  auto root = new MM3DDisplayTreeNodeRoot;
  Add<MM3DDisplayTreeNodeLocator>(*root, MM3DVector(1, 2, 3, 1));
  nodes.emplace_back(root);
  nodes.emplace_back(new MM3DDisplayTreeNodeWithVisibility(0));
  nodes.emplace_back(new MM3DDisplayTreeNodeTransform(Translation(1, 2, 3)));
  auto srt = new MM3DDisplayTreeNodeSRTTransform;
  srt->SetScalePivotY(2);
  srt->SetRotatePivotTranslationZ(3);
  srt->SetScaleX(4);
  srt->SetRotationY(0.5f);
  srt->SetTranslationZ(-6);
  Add<MM3DDisplayTreeNodeJoint>(*srt);
  nodes.emplace_back(srt);
  auto joint = new MM3DDisplayTreeNodeJoint;
  joint->SetOrientZ(0.25f);
  joint->SetParentScaleX(2);
  joint->SetTranslationX(7);
  nodes.emplace_back(joint);
  UURefCount<MM3DLight> light(new FakeLight(kMM3DPointLight));
  database.GetLights().Append(UURefCount<MM3DLight>(new FakeLight(kMM3DAmbientLight)));
  nodes.emplace_back(new MM3DDisplayTreeNodeLight(light));
  UUGrowableArray<MM3DVector> points;
  points.Append(MM3DVector(0, 0, 0, 1));
  points.Append(MM3DVector(1, 0, 0, 1));
  nodes.emplace_back(
      new MM3DDisplayTreeNodeSpline(UURefCount<MM3DSpline>(new MM3DLinearSpline(points, false))));
  nodes.emplace_back(new MM3DDisplayTreeNodeLocator(MM3DVector(1, 2, 3, 1)));
  nodes.emplace_back(
      new MM3DDisplayTreeNodeDistance(MM3DVector(1, 2, 3, 1), MM3DVector(4, 5, 6, 1)));
  float sixteen[16];
  for (int i = 0; i < 16; ++i) sixteen[i] = static_cast<float>(i) * 0.5f;
  nodes.emplace_back(new MM3DDisplayTreeNodeBoundingData(sixteen));
  auto box =
      new MM3DDisplayTreeNodeCullingBoundingBox(MM3DVector(-1, -2, -3, 1), MM3DVector(1, 2, 3, 1));
  Add<MM3DDisplayTreeNodeSphereData>(*box, MM3DVector(1, 1, 1, 1), 2.0f);
  nodes.emplace_back(box);
  nodes.emplace_back(new MM3DDisplayTreeNodeOrientedCullingBoundingBox(MM3DOrientedBox(sixteen)));
  nodes.emplace_back(new MM3DDisplayTreeNodeSphereData(MM3DVector(1, 2, 3, 1), 4.0f));
  return nodes;
}

TEST_F(MM3DDisplayTreeNodeTest, EveryKindReadsBackWhatItWrote) {
  MM3DModDatabase database;
  std::vector<Owned> nodes = EveryKind(database);
  ASSERT_EQ(nodes.size(), 13u);
  for (Owned& node : nodes) {
    const int32_t kind = node->GetKind();
    const std::vector<uint8_t> bytes = WriteNodeRecord(*node, database);
    ASSERT_FALSE(bytes.empty()) << kind;
    Owned read = ReadNodeRecord(bytes, database);
    ASSERT_FALSE(read.IsEmpty()) << kind;
    EXPECT_EQ(read->GetKind(), kind);
    EXPECT_EQ(WriteNodeRecord(*read, database), bytes) << kind;
  }
}

// Every field of the node records is four bytes wide, so a big-endian
// record is the little-endian one with each group of four reversed.
TEST_F(MM3DDisplayTreeNodeTest, EveryKindReadsFromABigEndianFile) {
  MM3DModDatabase database;
  for (Owned& node : EveryKind(database)) {
    const std::vector<uint8_t> bytes = WriteNodeRecord(*node, database);
    ASSERT_EQ(bytes.size() % 4, 0u);
    std::vector<uint8_t> swapped = bytes;
    for (size_t i = 0; i < swapped.size(); i += 4) std::reverse(&swapped[i], &swapped[i + 4]);
    MM3DDatabase::ResetReferenceTables();
    ByteReader reader(swapped);
    reader.SetByteOrder(kUUSwappedByteOrder);
    Owned read;
    ASSERT_TRUE(MM3DReadDisplayTreeNode(reader, database, read)) << node->GetKind();
    EXPECT_EQ(WriteNodeRecord(*read, database), bytes) << node->GetKind();
  }
}

TEST_F(MM3DDisplayTreeNodeTest, ATruncatedRecordOfEveryKindFails) {
  MM3DModDatabase database;
  for (Owned& node : EveryKind(database)) {
    std::vector<uint8_t> bytes = WriteNodeRecord(*node, database);
    bytes.pop_back();
    EXPECT_TRUE(ReadNodeRecord(bytes, database).IsEmpty()) << node->GetKind();
  }
}

TEST_F(MM3DDisplayTreeNodeTest, TheRecordIsTheKindTheReferenceAndTheOwnRecord) {
  MM3DModDatabase database;
  ByteWriter writer;
  MM3DDatabase::ResetReferenceTables();
  ASSERT_TRUE(mTop.WriteNode(writer, database));
  std::vector<uint8_t> expected;
  for (int32_t value : {int32_t{kMM3DNodeWithVisibility}, 0, 1, 2}) AppendInt32(expected, value);
  EXPECT_EQ(std::vector<uint8_t>(writer.mBytes.begin(), writer.mBytes.begin() + 16), expected);
  EXPECT_EQ(MM3DDatabase::FindSavedReference(mB1), 5);  // saved in walk order
}

std::vector<uint8_t> VisibilityRecord(int32_t kind, int32_t count) {
  std::vector<uint8_t> bytes;
  for (int32_t value : {kind, int32_t{0}, int32_t{1}, count}) AppendInt32(bytes, value);
  return bytes;
}

TEST_F(MM3DDisplayTreeNodeTest, AChildListOfNoChildrenReadsEmpty) {
  MM3DModDatabase database;
  Owned read = ReadNodeRecord(VisibilityRecord(kMM3DNodeWithVisibility, 0), database);
  ASSERT_FALSE(read.IsEmpty());
  EXPECT_EQ(static_cast<MM3DDisplayTreeNodeWithChildren&>(*read).GetChildCount(), 0);
}

TEST_F(MM3DDisplayTreeNodeTest, BadKindsAndCountsFailTheRead) {
  MM3DModDatabase database;
  const std::vector<uint8_t> cases[] = {
      VisibilityRecord(-1, 0),
      VisibilityRecord(kMM3DNodeKindCount, 0),
      VisibilityRecord(kMM3DNodeIndexedMesh, 0),  // no class yet
      VisibilityRecord(kMM3DNodeWithVisibility, -1),
      VisibilityRecord(kMM3DNodeWithVisibility, 0x7FFFFFFF),
  };
  for (const std::vector<uint8_t>& bytes : cases) {
    MM3DDatabase::ResetReferenceTables();
    ByteReader reader(bytes);
    Owned holder;
    EXPECT_FALSE(MM3DReadDisplayTreeNode(reader, database, holder));
    EXPECT_NE(reader.GetError(), kUUNoError);
  }
}

TEST_F(MM3DDisplayTreeNodeTest, AnUnknownKindFailsBeforeAnyNodeIsMade) {
  MM3DModDatabase database;
  ByteReader reader(VisibilityRecord(kMM3DNodeKindCount, 0));
  Owned holder(new MM3DDisplayTreeNodeLocator);
  EXPECT_FALSE(MM3DReadDisplayTreeNode(reader, database, holder));
  EXPECT_EQ(holder->GetKind(), kMM3DNodeLocator);
}

TEST_F(MM3DDisplayTreeNodeTest, NestingDeeperThanTheLimitFails) {
  MM3DModDatabase database;
  for (int32_t depth : {kMM3DMaxDisplayTreeDepth, kMM3DMaxDisplayTreeDepth + 1}) {
    std::vector<uint8_t> bytes;
    for (int32_t level = 1; level < depth; ++level) {
      const std::vector<uint8_t> record = VisibilityRecord(kMM3DNodeWithVisibility, 1);
      bytes.insert(bytes.end(), record.begin(), record.end());
    }
    const std::vector<uint8_t> leaf = VisibilityRecord(kMM3DNodeWithVisibility, 0);
    bytes.insert(bytes.end(), leaf.begin(), leaf.end());
    EXPECT_EQ(ReadNodeRecord(bytes, database).IsEmpty(), depth > kMM3DMaxDisplayTreeDepth);
  }
}

TEST_F(MM3DDisplayTreeNodeTest, AFailedChildLeavesTheNodesReadBeforeIt) {
  MM3DModDatabase database;
  std::vector<uint8_t> bytes = VisibilityRecord(kMM3DNodeWithVisibility, 2);
  const std::vector<uint8_t> child = VisibilityRecord(kMM3DNodeWithVisibility, 0);
  bytes.insert(bytes.end(), child.begin(), child.end());
  AppendInt32(bytes, kMM3DNodeLocator);  // a second child cut short
  MM3DDatabase::ResetReferenceTables();
  ByteReader reader(bytes);
  Owned holder;
  EXPECT_FALSE(MM3DReadDisplayTreeNode(reader, database, holder));
  ASSERT_FALSE(holder.IsEmpty());
  EXPECT_EQ(static_cast<MM3DDisplayTreeNodeWithChildren&>(*holder).GetChildCount(), 1);
}

}  // namespace
