// Groups read back as they were written, each of the ways the child's work
// is written and read: an undo, leaving for the file screen and coming
// back, and a sketch file.
#include "app/creation/VPLObjCreationGroup.h"

#include "app/creation/VPLObjCreationUser.h"
#include "foundation/uu/UUFile.h"
#include "mm/tasks/MMTaskManager.h"
#include "tests/app/creation/AreaSupport.h"
#include "tests/foundation/uu/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <numbers>

namespace {

using namespace area_support;

const MM3DVector kAnchor(0.0f, 0.0f, 10.0f, 1.0f);
const MM3DVector kOffset(5.0f, 0.0f, 0.0f, 0.0f);
constexpr int32_t kFrame = 30;
// Two whole jiggles between 1 and 2, at 0.07 a frame.
constexpr int32_t kFrames = 60;
constexpr int32_t kPathDuration = 1000;
constexpr float kQuarter = std::numbers::pi_v<float> / 2.0f;
constexpr float kTolerance = 1e-3f;
constexpr char kSketchFile[] = "Sketch 1";

enum class Way { kUndo, kFileScreen, kSketchFile };
struct RoundTrip {
  const char* mName;
  Way mWay;
};
const RoundTrip kRoundTrips[] = {
    {"an undo", Way::kUndo},
    {"the file screen", Way::kFileScreen},
    {"a sketch file", Way::kSketchFile},
};

float Length(const MM3DVector& v) { return std::sqrt(v.LengthSquared()); }

// The second member's offset from the first.
MM3DVector OffsetOf(const VPLObjCreationGroup& group) {
  MM3DVector offset =
      group.GetChild(1)->GetWorldPosition().Direction(group.GetChild(0)->GetWorldPosition());
  offset.mW = 0.0f;
  return offset;
}

// The largest box and distance from the first member the second reaches.
struct Extent {
  float mSize = 0.0f;
  float mReach = 0.0f;
};

class VPLObjCreationGroupRecordTest : public ::testing::Test {
 protected:
  // A world of its own for each way: the old one goes first, as its files
  // have the same names.
  void Remake() {
    mWorld.reset();
    mWorld = std::make_unique<AreaWorld>();
    mNow = 0;
  }
  VPLSceneCreationArea& Area() { return mWorld->Area(); }
  VPLCreation& Creation() { return mWorld->Creation(); }
  // A group of two boxes, the second kOffset from the first, filed.
  VPLObjCreationGroup& AddGroup(VPLObjCreation* second = nullptr) {
    const auto box = [this](const MM3DVector& place) {
      auto* object = new VPLObjCreationUser(&Area(), MakeBox(), &Creation());
      object->SetLocation(place);
      return object;
    };
    const MM3DVector secondPlace(kAnchor.mX + kOffset.mX, kAnchor.mY, kAnchor.mZ, 1.0f);
    if (second == nullptr) second = box(secondPlace);
    second->SetLocation(secondPlace);
    Creation().AddObject(creation_support::GroupOf({box(kAnchor), second}, &Creation()));
    return Group();
  }
  // The creation's group as it stands: a read makes it anew.
  VPLObjCreationGroup& Group() {
    return dynamic_cast<VPLObjCreationGroup&>(*Creation().GetGroups().at(0));
  }
  void Frame() {
    mNow += kFrame;
    mWorld->Stage().Stage()->GetTaskManager()->RunUntil(mNow);
    Creation().Tick(mNow);
  }
  // A scale drag whose last two steps differ: the group jiggles between its
  // size and twice it.
  void Jiggle() {
    Frame();
    Group().BeginScale(1, 1, 1);
    for (float factor : {2.0f, 2.5f}) {
      Frame();
      Group().DragScale(factor, factor, factor);
    }
    Group().EndScale();
    ASSERT_TRUE(Group().IsJiggling());
  }
  Extent Watch() {
    Extent extent;
    for (int32_t i = 0; i < kFrames; ++i) {
      Frame();
      MM3DVector min;
      MM3DVector max;
      // The jiggle leaves the bounds behind: they are measured anew.
      VPLObjCreation* member = Group().GetChild(1);
      member->RefreshBounds();
      member->GetBounds(min, max);
      extent.mSize = std::max(extent.mSize, Length(max.Direction(min)));
      extent.mReach = std::max(extent.mReach, Length(OffsetOf(Group())));
    }
    return extent;
  }
  void WriteAndRead(Way way) {
    Creation().SetModified(true);
    switch (way) {
      case Way::kUndo:
        Area().TakeSnapshot();
        Area().Undo();
        break;
      case Way::kFileScreen:
        Area().Deactivate();
        Area().Activate();
        break;
      case Way::kSketchFile:
        ThroughSketchFile();
        break;
    }
    ASSERT_EQ(Creation().GetGroups().size(), 1u);
  }
  void ThroughSketchFile() {
    const ScratchDirectory scratch;
    {
      UUFile file(scratch.Directory(), kSketchFile, kUUFileCreate, UUFileOptions{});
      ASSERT_TRUE(Creation().Write(file));
    }
    Creation().ClearModified();
    UUFile file(scratch.Directory(), kSketchFile);
    ASSERT_TRUE(Creation().Read(file));
  }

  std::unique_ptr<AreaWorld> mWorld = std::make_unique<AreaWorld>();
  int32_t mNow = 0;
};

// The meshes are written at the size the jiggle scales from, so that the
// jiggle does not scale a jiggled size again.
TEST_F(VPLObjCreationGroupRecordTest, AJigglingGroupKeepsItsSizeAndSpread) {
  for (const RoundTrip& trip : kRoundTrips) {
    SCOPED_TRACE(trip.mName);
    Remake();
    AddGroup();
    ASSERT_NO_FATAL_FAILURE(Jiggle());
    const Extent before = Watch();
    EXPECT_NEAR(before.mReach, 2.0f * Length(kOffset), kTolerance);
    for (int32_t again = 0; again < 2; ++again) ASSERT_NO_FATAL_FAILURE(WriteAndRead(trip.mWay));
    EXPECT_TRUE(Group().IsJiggling());
    const Extent after = Watch();
    EXPECT_NEAR(after.mSize, before.mSize, kTolerance);
    EXPECT_NEAR(after.mReach, before.mReach, kTolerance);
  }
}

TEST_F(VPLObjCreationGroupRecordTest, AMembersPathGoesOn) {
  for (const RoundTrip& trip : kRoundTrips) {
    SCOPED_TRACE(trip.mName);
    Remake();
    VPLObjCreation* member = AddGroup().GetChild(1);
    member->SetPath(app_fixtures::ModelId(app_fixtures::kPathItem), kPathDuration);
    member->PlayPath();
    Frame();
    ASSERT_NO_FATAL_FAILURE(WriteAndRead(trip.mWay));
    VPLObjCreation* read = Group().GetChild(1);
    EXPECT_TRUE(read->IsPathPlaying());
    const MM3DVector before = read->GetWorldPosition();
    Frame();
    EXPECT_FALSE(read->GetWorldPosition().Equals(before));
  }
}

// The members stay where a turn left them while the jiggle goes on, and
// read back there.
TEST_F(VPLObjCreationGroupRecordTest, AGroupTurnedWhileJigglingStaysTurned) {
  MM3DMatrix turn;
  MM3DMatrixRotationXYZ(turn, 0.0f, kQuarter, 0.0f);
  MM3DVector turned;
  turn.TransformDirection(turned, kOffset);
  const auto expectTurned = [this, &turned](const char* when) {
    for (int32_t i = 0; i < kFrames; ++i) {
      Frame();
      const MM3DVector offset = OffsetOf(Group());
      const float along = (offset.mX * turned.mX + offset.mY * turned.mY + offset.mZ * turned.mZ) /
                          (Length(offset) * Length(turned));
      ASSERT_NEAR(along, 1.0f, kTolerance) << when << " frame " << i;
    }
  };
  for (const RoundTrip& trip : kRoundTrips) {
    SCOPED_TRACE(trip.mName);
    Remake();
    AddGroup();
    ASSERT_NO_FATAL_FAILURE(Jiggle());
    Group().BeginRotate(0, 0, 0);
    Group().DragRotate(0, kQuarter, 0);
    Group().EndRotate(0, 0, 0);
    ASSERT_TRUE(Group().IsJiggling());
    expectTurned("after the turn");
    ASSERT_NO_FATAL_FAILURE(WriteAndRead(trip.mWay));
    expectTurned("read back");
  }
}

// The character a record holds inside a group is the creation's: adding
// Pomble adds no second one.
TEST_F(VPLObjCreationGroupRecordTest, PombleInAGroupIsTheOnlyPomble) {
  for (const RoundTrip& trip : kRoundTrips) {
    SCOPED_TRACE(trip.mName);
    Remake();
    AddGroup(new TestCharacter(&Area(), MakeBox(), &Creation()));
    ASSERT_NO_FATAL_FAILURE(WriteAndRead(trip.mWay));
    Area().AddCharacter();
    ASSERT_EQ(Group().GetChildType(1), kVPLObjCreationChar);
    EXPECT_EQ(Creation().FindCharacter(), Group().GetChild(1));
  }
}

}  // namespace
