#include "app/objects/VPLSceneBase.h"

#include "app/objects/VPLObj.h"
#include "app/objects/VPLServices.h"
#include "mm/stage/MM3DSpatialEnclosure.h"
#include "mm/stage/MM3DSpatialView.h"
#include "mm/stage/MMAct.h"
#include "tests/app/support/AppFixtures.h"
#include "tests/app/support/InterfaceStage.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace app_fixtures;

class TestScene : public VPLSceneBase {
 public:
  using VPLSceneBase::VPLSceneBase;
  bool OnQuitRequest(bool) override { return true; }
};

// Logs its ticks and runs an action on its next tick.
class TickingObj : public VPLObj {
 public:
  TickingObj(MMScene* scene, std::vector<std::string>& log, std::string name)
      : VPLObj(scene, MakeQuad()), mLog(log), mName(std::move(name)) {}
  void Tick(int32_t) override {
    mLog.push_back(mName);
    if (mOnTick) std::exchange(mOnTick, {})();
  }
  std::function<void()> mOnTick;

 private:
  std::vector<std::string>& mLog;
  std::string mName;
};

class VPLSceneBaseTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(mFiles.Ready()); }
  void TearDown() override { VPLGetServices().mSoundSetIndex = nullptr; }

  std::unique_ptr<TestScene> Make(int32_t cameraIndex, MMView* view = nullptr) {
    return std::make_unique<TestScene>(Act()->GetSceneServices(), &mEnclosure, view, cameraIndex);
  }
  MMAct* Act() { return mStage.Stage()->GetAct(); }

  AppFiles mFiles;
  InterfaceStage mStage;
  MM3DSpatialEnclosure mEnclosure{mStage.Stage()};
  MM3DSpatialView mView{Act()->GetViewServices(), &mEnclosure, UURect(100, 50, 300, 250), 1};
  std::vector<std::string> mLog;
};

TEST_F(VPLSceneBaseTest, TheCameraComesFromTheModelTheCameraScriptNames) {
  const std::unique_ptr<TestScene> scene = Make(kInterfaceCameraRow, &mView);
  EXPECT_TRUE(scene->GetCamera()->GetPosition().Equals(kCameraEye));
  MM3DMatrix expected;
  scene->GetCamera()->GetViewMatrix(expected);
  EXPECT_EQ(mView.GetViewMatrix(), expected);
  ASSERT_NE(scene->GetSceneSound(), nullptr);
  EXPECT_TRUE(scene->GetSceneSound()->mListener.Equals(kCameraEye));
  EXPECT_TRUE(scene->GetSceneSound()->mFacing.Equals(kCameraInterest));
  mView.Detach();
}

TEST_F(VPLSceneBaseTest, AModelWithoutACameraLeavesTheDefaultCamera) {
  for (int32_t row : {kCameraLessRow, 5, -1}) {
    const std::unique_ptr<TestScene> scene = Make(row);
    EXPECT_TRUE(scene->GetCamera()->GetPosition().Equals(MM3DVector(0, 0, 0, 1))) << row;
    EXPECT_TRUE(scene->GetCamera()->GetViewDirection().Equals(MM3DVector(0, 0, -1, 0))) << row;
  }
}

TEST_F(VPLSceneBaseTest, ObjectsAreTickedInListOrderAndRemovedByTheirFirstEntry) {
  const std::unique_ptr<TestScene> scene = Make(kInterfaceCameraRow);
  TickingObj a(scene.get(), mLog, "a");
  TickingObj b(scene.get(), mLog, "b");
  scene->AddObject(&a);
  scene->AddObject(&b);
  scene->AddObject(&a);
  scene->RemoveObject(&a);
  scene->RemoveObject(nullptr);
  scene->Tick(0);
  EXPECT_EQ(mLog, (std::vector<std::string>{"b", "a"}));
}

TEST_F(VPLSceneBaseTest, ADeletedObjectIsNeverTickedAgain) {
  const std::unique_ptr<TestScene> scene = Make(kInterfaceCameraRow);
  auto first = std::make_unique<TickingObj>(scene.get(), mLog, "first");
  auto second = std::make_unique<TickingObj>(scene.get(), mLog, "second");
  auto third = std::make_unique<TickingObj>(scene.get(), mLog, "third");
  for (TickingObj* object : {first.get(), second.get(), third.get()}) scene->AddObject(object);
  scene->AddObject(second.get());
  // The first deletes the second during the tick; the third goes between ticks.
  first->mOnTick = [&] { second.reset(); };
  scene->Tick(0);
  third.reset();
  scene->Tick(1);
  EXPECT_EQ(mLog, (std::vector<std::string>{"first", "third", "first"}));
  EXPECT_FALSE(scene->HasObject(nullptr));
}

TEST_F(VPLSceneBaseTest, AListSoundIsTheEntryOfTheSoundSetAndPlaysAtTheObject) {
  const std::unique_ptr<TestScene> scene = Make(kInterfaceCameraRow);
  VPLObj object(scene.get(), MakeQuad());
  object.SetPosition(2, 0, 10);
  ASSERT_NE(scene->GetSceneSound(), nullptr);
  const MM3DVector start = scene->GetSceneSound()->mSource;
  struct Case {
    int32_t soundSet;
    bool plays;
  };
  // Entry 0 is -1; the list has two entries.
  for (const Case c : {Case{0, false}, Case{2, false}, Case{1, true}}) {
    VPLGetServices().mSoundSetIndex = &c.soundSet;
    scene->PlayListSoundAtObject(object, kSoundList, false);
    const bool moved = !scene->GetSceneSound()->mSource.Equals(start);
    EXPECT_EQ(moved, c.plays) << c.soundSet;
  }
  EXPECT_TRUE(scene->GetSceneSound()->mSource.Equals(VPLSceneBase::ObjectCentre(object)));
  EXPECT_TRUE(VPLSceneBase::ObjectCentre(object).Equals(MM3DVector(2, 0, 10, 1)));
}

TEST_F(VPLSceneBaseTest, ActivationShowsAndHidesTheView) {
  const std::unique_ptr<TestScene> scene = Make(kInterfaceCameraRow, &mView);
  scene->Deactivate();
  EXPECT_FALSE(mView.IsVisible());
  EXPECT_FALSE(scene->IsSoundPlaying());
  scene->Activate();
  EXPECT_TRUE(mView.IsVisible());
  mView.Detach();
}

TEST_F(VPLSceneBaseTest, APointOutsideTheViewIsClampedToItsLastPixel) {
  const std::unique_ptr<TestScene> scene = Make(kInterfaceCameraRow, &mView);
  struct Case {
    UUPoint outside;
    UUPoint inside;
  };
  const Case cases[] = {{{0, 0}, {100, 50}}, {{999, 999}, {299, 249}}, {{150, 400}, {150, 249}}};
  for (const Case& c : cases) {
    const VPLSegment clamped =
        VPLSceneBase::ScreenToWorldSegment(mView, c.outside.mX, c.outside.mY);
    const VPLSegment pixel = VPLSceneBase::ScreenToWorldSegment(mView, c.inside.mX, c.inside.mY);
    EXPECT_TRUE(clamped.mStart.Equals(pixel.mStart) && clamped.mEnd.Equals(pixel.mEnd))
        << c.outside.mX << "," << c.outside.mY;
  }
  const VPLSegment lengthened = VPLScreenToWorldSegment(mView, 150, 100, true);
  const VPLSegment plain = VPLSceneBase::ScreenToWorldSegment(mView, 150, 100);
  EXPECT_TRUE(lengthened.mStart.Equals(plain.mStart));
  EXPECT_NEAR(VPLSegmentLength(lengthened), 5 * VPLSegmentLength(plain), 1e-2f);
  mView.Detach();
}

TEST_F(VPLSceneBaseTest, ThePositionsReachTheChannelWhenMarkedOrWhenASoundPlays) {
  const std::unique_ptr<TestScene> scene = Make(kInterfaceCameraRow);
  RU3DGenericSoundChannel& sound = *scene->GetSceneSound();
  EXPECT_EQ(sound.GetChannel().GetVolume(), RU3DLogicalSoundChannel::kFullVolume);
  // Moved out of hearing without being marked: an update keeps the old mix.
  sound.mListener = MM3DVector(0, 0, -300, 1);
  sound.UpdateSpatialization();
  EXPECT_EQ(sound.GetChannel().GetVolume(), RU3DLogicalSoundChannel::kFullVolume);
  // Playing, even where the source already is, mixes anew.
  scene->PlaySoundAt(sound.mSource, kListSound, false);
  EXPECT_EQ(sound.GetChannel().GetVolume(), 0);
}

}  // namespace
