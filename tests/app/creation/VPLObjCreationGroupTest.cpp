#include "app/creation/VPLObjCreationGroup.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationUser.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "tests/app/creation/CreationFixture.h"
#include "tests/app/creation/CreationSupport.h"
#include "tests/app/support/InterfaceStage.h"
#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <vector>

namespace {

using namespace app_fixtures;
using namespace creation_support;

const MM3DVector kOrigin(0.0f, 0.0f, 0.0f, 1.0f);
const MM3DVector kRight(10.0f, 0.0f, 0.0f, 1.0f);
const MM3DVector kFarRight(20.0f, 0.0f, 0.0f, 1.0f);
constexpr float kTilt = 0.3f;
constexpr float kHalfSeen = 0.5f;
const MM3DColor kTint{1.2f, 1.2f, 1.2f, 0.0f};
// A segment toward the quads' faces, off their diagonals.
struct Ray {
  MM3DVector mStart;
  MM3DVector mEnd;
};
Ray Through(float x, float y) {
  return {MM3DVector(x + 0.3f, y + 0.2f, -10.0f, 1.0f),
          MM3DVector(x + 0.3f, y + 0.2f, 10.0f, 1.0f)};
}
// Bytes of the group record: child count, per child type and place, the
// picture flag, and the tint.
constexpr size_t kCountSize = 2;
constexpr size_t kChildHead = 2 + 16;
constexpr size_t kFlagSize = 1;
constexpr size_t kTintSize = 16;

class VPLObjCreationGroupTest : public CreationFixture {
 protected:
  // The fixture's quad turned a little, so that its box has depth (a flat
  // box is never crossed).
  VPLObjCreation* Quad(const MM3DVector& place) {
    VPLObjCreation* object = CreationFixture::Quad(place);
    object->SetRotation(0.0f, kTilt, 0.0f);
    return object;
  }
  VPLObjCreationGroup* File(VPLObjCreationGroup* group) {
    mCreation.AddObject(group);
    return group;
  }
  static std::vector<uint8_t> RecordOf(VPLObjCreation& object) {
    BlockStream block;
    EXPECT_TRUE(object.WriteRecord(block.Stream(), nullptr));
    return block.Written();
  }
  // A group of one quad on a quad's model, to read records into.
  VPLObjCreationGroup* Reader() {
    auto* group = new VPLObjCreationGroup(&mStage.Scene(), MakeQuad(), &mCreation);
    mReaders.emplace_back(group);
    return group;
  }
  bool ReadInto(VPLObjCreationGroup& group, const std::vector<uint8_t>& bytes) {
    ByteReader reader(bytes);
    return group.ReadRecord(reader, nullptr);
  }

  std::vector<std::unique_ptr<VPLObjCreationGroup>> mReaders;
};

TEST_F(VPLObjCreationGroupTest, ChildLookupsOutsideTheMembersAnswerNothing) {
  VPLObjCreation* first = Quad(kOrigin);
  VPLObjCreationGroup* group = File(GroupOf({first, Quad(kRight)}, &mCreation));
  for (int32_t outside : {-1, 2}) {
    EXPECT_EQ(group->GetChildType(outside), -1);
    EXPECT_EQ(group->GetChild(outside), nullptr);
  }
  EXPECT_EQ(group->GetChildType(1), kVPLObjCreationUser);
  EXPECT_EQ(group->GetFirstChild(), first);
  EXPECT_EQ(group->GetFirstChildModel().Get(), first->GetModel().Get());
}

TEST_F(VPLObjCreationGroupTest, MembershipChangesOnlyForMembersAndForgetsPlacements) {
  VPLObjCreation* first = Quad(kOrigin);
  VPLObjCreation* second = Quad(kRight);
  VPLObjCreationGroup* inner = GroupOf({Quad(kFarRight)}, &mCreation);
  VPLObjCreationGroup* group = File(GroupOf({first, second, inner}, &mCreation));
  group->AddChild(second, true);
  EXPECT_EQ(group->GetChildCount(), 3);
  EXPECT_FALSE(second->IsHighlighted());

  group->BeginScale(1, 1, 1);
  inner->ApplyGroupScale(1, 1, 1);
  ASSERT_EQ(group->GetPlacements().size(), 3u);
  std::unique_ptr<VPLObjCreation> stranger(Quad(kOrigin));
  group->RemoveChild(stranger.get(), true);
  EXPECT_EQ(group->GetPlacements().size(), 3u);

  group->RemoveChild(second, true);
  std::unique_ptr<VPLObjCreation> removed(second);
  EXPECT_EQ(group->GetChildCount(), 2);
  EXPECT_EQ(group->GetChild(1), inner);
  EXPECT_TRUE(group->GetPlacements().empty());
  EXPECT_TRUE(inner->GetPlacements().empty());
}

TEST_F(VPLObjCreationGroupTest, TheHighlightReachesEveryMemberAndHoldsThePulse) {
  VPLObjCreation* second = Quad(kRight);
  VPLObjCreationGroup* group = File(GroupOf({Quad(kOrigin), second}, &mCreation));
  group->SetColors(MM3DColor{1, 1, 1, 1}, MM3DColor{0.5f, 0.5f, 0.5f, 1});
  ASSERT_TRUE(group->IsPulsing());
  group->SetHighlight(true, kTint);
  EXPECT_TRUE(group->IsHighlighted());
  EXPECT_FALSE(group->IsPulsing());
  EXPECT_TRUE(group->GetChild(0)->IsHighlighted());
  EXPECT_TRUE(second->IsHighlighted());

  VPLObjCreation* added = Quad(kFarRight);
  group->AddChild(added, true);
  EXPECT_TRUE(added->IsHighlighted());
  group->SetHighlight(false, kTint);
  EXPECT_TRUE(group->IsPulsing());
  EXPECT_FALSE(added->IsHighlighted());
}

TEST_F(VPLObjCreationGroupTest, PicksTheNearestMemberTheEarlierOfEqualsAndDescends) {
  VPLObjCreation* first = Quad(kOrigin);
  VPLObjCreation* twin = Quad(kOrigin);
  VPLObjCreation* right = Quad(kRight);
  VPLObjCreation* farRight = Quad(kFarRight);
  VPLObjCreationGroup* inner = GroupOf({right, farRight}, &mCreation);
  VPLObjCreationGroup* group = File(GroupOf({first, twin, inner}, &mCreation));
  struct Case {
    const char* mName;
    Ray mRay;
    bool mDescend;
    VPLObjCreation* mExpected;
  };
  const Case cases[] = {
      {"equal distances keep the earlier", Through(0, 0), true, first},
      {"a nested group without descending", Through(10, 0), false, inner},
      {"descending gives the member", Through(20, 0), true, farRight},
      {"a nested box crossed between its members", Through(15, 0), true, nullptr},
      {"nothing crossed", Through(5, 0), true, nullptr},
  };
  for (const Case& c : cases) {
    MM3DVector hit(0, 0, 0, 1);
    EXPECT_EQ(group->PickChild(c.mRay.mStart, c.mRay.mEnd, &hit, nullptr, c.mDescend), c.mExpected)
        << c.mName;
  }
  MM3DVector hit(0, 0, 0, 1);
  const Ray between = Through(15, 0);
  EXPECT_TRUE(group->IntersectsBounds(between.mStart, between.mEnd));
  EXPECT_FALSE(group->PickRay(between.mStart, between.mEnd, hit, nullptr));
}

// A magnet drag on a member holds back only the group's jiggle.
TEST_F(VPLObjCreationGroupTest, AMagnetDragOnAMemberPausesOnlyTheGroupsJiggle) {
  VPLObjCreation* spinner = Quad(kRight);
  VPLObjCreationGroup* group = File(GroupOf({Quad(kOrigin), spinner}, &mCreation));
  At(1000);
  group->BeginScale(1, 1, 1);
  At(1030);
  group->DragScale(2, 2, 2);
  At(1060);
  group->DragScale(1.5f, 1.5f, 1.5f);
  group->EndScale();
  ASSERT_TRUE(group->IsJiggling());
  spinner->BeginRotate(0, 0, 0);
  At(1090);
  spinner->DragRotate(0, 0.1f, 0);
  spinner->EndRotate(0, 0.1f, 0);
  ASSERT_TRUE(spinner->IsSpinning());

  group->SetMagnetBusy(true);
  const MM3DMatrix turn = spinner->GetRotationNode()->GetMatrix();
  const MM3DMatrix size = group->GetChild(0)->GetScaleNode()->GetMatrix();
  At(1120);
  group->Tick(1120);
  At(1150);
  group->Tick(1150);
  EXPECT_FALSE(spinner->GetRotationNode()->GetMatrix() == turn);
  EXPECT_TRUE(group->GetChild(0)->GetScaleNode()->GetMatrix() == size);

  group->SetMagnetBusy(false);
  At(1180);
  group->Tick(1180);
  EXPECT_FALSE(group->GetChild(0)->GetScaleNode()->GetMatrix() == size);
}

// The first member's model is the group's, and the character's is known:
// neither is written, and the character has no picture flag either.
TEST_F(VPLObjCreationGroupTest, TheFirstMemberAndTheCharacterWriteNoModel) {
  VPLObjCreationGroup* group = File(GroupOf({Quad(kRight)}, &mCreation));
  const std::vector<uint8_t> bytes = RecordOf(*group);
  VPLObjCreation* member = group->GetFirstChild();
  member->SetLocation(kOrigin);
  const std::vector<uint8_t> record = RecordOf(*member);
  ASSERT_GE(bytes.size(), kCountSize + kChildHead + record.size());
  EXPECT_TRUE(std::equal(record.begin(), record.end(), bytes.begin() + kCountSize + kChildHead));
  // The group's own record is as long as a plain member's.
  EXPECT_EQ(bytes.size(),
            kCountSize + kChildHead + record.size() + kFlagSize + kTintSize + record.size());

  group->AddChild(new TestCharacter(&mStage.Scene(), MakeQuad(), &mCreation), false);
  EXPECT_EQ(RecordOf(*group).size(), bytes.size() + kChildHead + record.size());
}

// A highlighted group writes its members' own colours and stays
// highlighted with its tint.
TEST_F(VPLObjCreationGroupTest, AHighlightedGroupWritesAsAPlainOne) {
  VPLObjCreationGroup* group = File(GroupOf({Quad(kOrigin), Quad(kRight)}, &mCreation));
  group->SetHighlight(true, kTint);
  const std::vector<uint8_t> highlighted = RecordOf(*group);
  EXPECT_TRUE(group->IsHighlighted());
  group->SetHighlight(false, kTint);
  EXPECT_EQ(RecordOf(*group), highlighted);
  group->SetHighlight(true, kTint);
  RecordOf(*group);
  EXPECT_TRUE(group->GetChild(1)->IsHighlighted());
  EXPECT_TRUE(group->GetTint() == kTint);
}

TEST_F(VPLObjCreationGroupTest, AModelLargerThanTheBufferIsWrittenOnTheSecondTry) {
  auto* large = new VPLObjCreationUser(&mStage.Scene(), ModelNeedingMoreScratch(), &mCreation);
  VPLObjCreationGroup* group = File(GroupOf({Quad(kOrigin), large}, &mCreation));
  const std::vector<uint8_t> bytes = RecordOf(*group);
  EXPECT_EQ(group->GetGeometryBufferSize(),
            VPLObjCreationGroup::kGeometryBufferSize + VPLObjCreationGroup::kGeometryBufferGrowth);
  VPLObjCreationGroup* copy = Reader();
  ASSERT_TRUE(ReadInto(*copy, bytes));
  EXPECT_EQ(RecordOf(*copy), bytes);
  EXPECT_EQ(RecordOf(*group), bytes);
  EXPECT_EQ(group->GetGeometryBufferSize(),
            VPLObjCreationGroup::kGeometryBufferSize + VPLObjCreationGroup::kGeometryBufferGrowth);
}

TEST_F(VPLObjCreationGroupTest, ThreeNestedLevelsComeBackIdentical) {
  VPLObjCreationGroup* inner = GroupOf({Quad(kFarRight), Quad(MM3DVector(25, 0, 0, 1))}, nullptr);
  VPLObjCreationGroup* middle = GroupOf({Quad(kRight), inner}, &mCreation);
  VPLObjCreation* spinning = Quad(MM3DVector(0, 5, 0, 1));
  File(GroupOf({Quad(kOrigin), middle, spinning}, &mCreation));
  spinning->BeginRotate(0, 0, 0);
  spinning->DragRotate(0.1f, 0, 0);
  spinning->EndRotate(0.1f, 0, 0);
  BlockStream first;
  ASSERT_TRUE(mCreation.Write(first.Stream()));
  const std::vector<uint8_t> bytes = first.Written();

  VPLCreation copy(&mStage.Scene(), CreationCamera());
  ByteReader reader(bytes);
  ASSERT_TRUE(copy.Read(reader));
  ASSERT_EQ(copy.GetGroups().size(), 1u);
  const auto* read = dynamic_cast<VPLObjCreationGroup*>(copy.GetGroups().front());
  ASSERT_NE(read, nullptr);
  const auto* readMiddle = dynamic_cast<VPLObjCreationGroup*>(read->GetChild(1));
  ASSERT_NE(readMiddle, nullptr);
  EXPECT_EQ(readMiddle->GetChildType(1), kVPLObjCreationGroup);
  EXPECT_TRUE(readMiddle->GetWorldPosition().Equals(kRight));
  BlockStream again;
  ASSERT_TRUE(copy.Write(again.Stream()));
  EXPECT_EQ(again.Written(), bytes);
}

// Hostile records fail, and the member being read goes with them (the
// sanitizer sees no leak).
TEST_F(VPLObjCreationGroupTest, DamagedRecordsFail) {
  VPLObjCreationGroup* group = File(GroupOf({Quad(kOrigin), Quad(kRight)}, &mCreation));
  const std::vector<uint8_t> bytes = RecordOf(*group);
  const size_t record = RecordOf(*std::unique_ptr<VPLObjCreation>(Quad(kOrigin))).size();
  const size_t flag = kCountSize + kChildHead + record;
  const auto with = [&bytes](size_t at, std::vector<uint8_t> replaced, size_t length) {
    std::vector<uint8_t> damaged = bytes;
    damaged.erase(damaged.begin() + static_cast<ptrdiff_t>(at),
                  damaged.begin() + static_cast<ptrdiff_t>(at + length));
    damaged.insert(damaged.begin() + static_cast<ptrdiff_t>(at), replaced.begin(), replaced.end());
    return damaged;
  };
  struct Case {
    const char* mName;
    std::vector<uint8_t> mBytes;
  };
  const Case cases[] = {
      {"no members", with(0, {0, 0}, kCountSize)},
      {"a negative count", with(0, {0xFF, 0xFF}, kCountSize)},
      {"an unknown type", with(kCountSize, {3, 0}, 2)},
      {"a negative name length", with(flag, {1, 0xFF, 0xFF, 0xFF, 0xFF}, kFlagSize)},
      {"an overlong name", with(flag, {1, 4, 1, 0, 0}, kFlagSize)},
      {"a cut second member",
       std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(flag) + 40)},
  };
  ASSERT_TRUE(ReadInto(*Reader(), bytes));
  for (const Case& c : cases) EXPECT_FALSE(ReadInto(*Reader(), c.mBytes)) << c.mName;
}

// Groups nested so deep that none could be written are refused.
TEST_F(VPLObjCreationGroupTest, RecordsNestAtMostTheLimitDeep) {
  const std::vector<uint8_t> record = RecordOf(*std::unique_ptr<VPLObjCreation>(Quad(kOrigin)));
  // Each level: one member, a group, at the origin; after it no picture,
  // the tint and the group's own record.
  std::vector<uint8_t> head = {1, 0, kVPLObjCreationGroup, 0};
  head.resize(head.size() + 16, 0);
  std::vector<uint8_t> tail = {0};
  tail.resize(tail.size() + kTintSize, 0);
  tail.insert(tail.end(), record.begin(), record.end());
  const auto nested = [&](int32_t depth) {
    std::vector<uint8_t> bytes;
    for (int32_t i = 1; i < depth; ++i) bytes.insert(bytes.end(), head.begin(), head.end());
    std::vector<uint8_t> innermost = head;
    innermost[2] = kVPLObjCreationUser;
    bytes.insert(bytes.end(), innermost.begin(), innermost.end());
    bytes.insert(bytes.end(), record.begin(), record.end());
    for (int32_t i = 0; i < depth; ++i) bytes.insert(bytes.end(), tail.begin(), tail.end());
    return bytes;
  };
  EXPECT_TRUE(ReadInto(*Reader(), nested(VPLObjCreationGroup::kMaxNesting)));
  EXPECT_FALSE(ReadInto(*Reader(), nested(VPLObjCreationGroup::kMaxNesting + 1)));
}

// The group shares its first member's tree and never draws it itself: a
// see-through member is blended once, alone or in a group.
TEST_F(VPLObjCreationGroupTest, ASeeThroughOnlyMemberLooksAsItDoesAlone) {
  auto* member = new VPLObjCreationUser(&mStage.Scene(), MakeQuad(), &mCreation);
  mCreation.AddObjectAt(member, kOrigin);
  member->SetMeshColor(MM3DColor{1, 0, 0, kHalfSeen});
  const UUPoint at = mStage.ScreenPointOf(kOrigin);
  mStage.RunFrame();
  const Rgb alone = mStage.PixelAt(at);
  ASSERT_FALSE(Near(alone, mStage.PixelAt(UUPoint{0, 0}))) << alone;

  mCreation.DetachObject(member);
  File(GroupOf({member}, &mCreation));
  mStage.RunFrame();
  EXPECT_TRUE(Near(mStage.PixelAt(at), alone)) << mStage.PixelAt(at) << " " << alone;
}

}  // namespace
