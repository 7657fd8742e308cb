#include "app/objects/VPLObjEvent.h"

#include "tests/app/support/AppFixtures.h"
#include "tests/app/support/InterfaceStage.h"
#include "tests/app/support/RecordingControl.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace app_fixtures;

constexpr float kControlDepth = 10.0f;

// The control is a quad at depth 10; the events' rays run along z.
class VPLObjEventTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mFiles.Ready());
    mControl->SetPosition(0, 0, kControlDepth);
  }

  static VPLPickEvent Event(int32_t flags, bool over) {
    VPLPickEvent event(0, 0, 0, flags);
    const float at = over ? 0.0f : 5.0f;
    event.mRay = VPLSegment{{at, at, 0, 1}, {at, at, 20, 1}};
    return event;
  }
  bool Handle(int32_t flags, bool over) { return mControl->HandleEvent(Event(flags, over)); }

  AppFiles mFiles;
  InterfaceStage mStage;
  ControlLog mLog;
  std::unique_ptr<RecordingControl> mControl =
      std::make_unique<RecordingControl>(&mStage.Scene(), MakeQuad(), mLog, "c");
};

constexpr bool kOver = true;
constexpr bool kOutside = false;
constexpr int32_t kPress = kVPLPress | kVPLHeld;
constexpr int32_t kDragMove = kVPLHeld;
constexpr int32_t kDoubleClick = kVPLDoubleClick | kVPLPress | kVPLHeld;

TEST_F(VPLObjEventTest, PressDragOutsideAndReleaseOutside) {
  EXPECT_TRUE(Handle(kPress, kOver));
  EXPECT_TRUE(Handle(kDragMove, kOver));
  EXPECT_TRUE(Handle(kDragMove, kOutside));
  EXPECT_FALSE(Handle(kVPLRelease, kOutside));
  EXPECT_EQ(mLog, (ControlLog{"c press", "c drag", "c drag", "c release-outside"}));
}

TEST_F(VPLObjEventTest, PressAndReleaseOverTheObjectIsAClick) {
  EXPECT_TRUE(Handle(kPress, kOver));
  EXPECT_TRUE(mControl->IsPressed());
  EXPECT_FALSE(Handle(kVPLRelease, kOver));
  EXPECT_FALSE(mControl->IsPressed());
  EXPECT_EQ(mLog, (ControlLog{"c press", "c release"}));
}

TEST_F(VPLObjEventTest, ADoubleClickOnAnIdleObjectIsOnlyADoubleClick) {
  EXPECT_FALSE(Handle(kDoubleClick, kOver));
  EXPECT_FALSE(Handle(kVPLRelease, kOver));
  EXPECT_EQ(mLog, ControlLog{"c double-click"});
}

TEST_F(VPLObjEventTest, MovesWithoutAPressAndEventsAwayFromItDoNothing) {
  EXPECT_FALSE(Handle(0, kOver));
  EXPECT_FALSE(Handle(kPress, kOutside));
  EXPECT_FALSE(Handle(kVPLRelease, kOutside));
  EXPECT_TRUE(mLog.empty());
}

TEST_F(VPLObjEventTest, TheHitShapeIsAFlatRectangleThatFollowsTheObject) {
  const VPLBoundingVolume& shape = mControl->GetBoundingVolume();
  EXPECT_NE(dynamic_cast<const VPLBoundingXYPlane*>(&shape), nullptr);
  EXPECT_TRUE(shape.GetMin().Equals(MM3DVector(-1, -1, kControlDepth, 1)));
  EXPECT_EQ(mControl->FindTarget(Event(0, kOver)), mControl.get());
  mControl->SetVisibility(kMMHidden);
  EXPECT_EQ(mControl->FindTarget(Event(0, kOver)), nullptr);
}

TEST_F(VPLObjEventTest, AnObjectWithoutMeshesIsNeverHit) {
  RecordingControl empty(&mStage.Scene(), UURefCount<MM3DModel>(), mLog, "e");
  EXPECT_TRUE(empty.GetBoundingVolume().GetMax().Equals(MM3DVector(0, 0, 0, 1)));
  EXPECT_EQ(empty.FindTarget(Event(0, kOver)), nullptr);
}

TEST_F(VPLObjEventTest, TheBaseTransparencyIsAppliedAtOnce) {
  mControl->SetBaseAlpha(0.5f);
  EXPECT_FLOAT_EQ(mControl->GetAlpha(), 0.5f);
}

}  // namespace
