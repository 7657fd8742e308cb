#include "app/objects/VPLObjEventCamera.h"

#include "app/objects/VPLCameraMoves.h"
#include "mm/stage/MMStage.h"
#include "mm/tasks/MMTaskManager.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "tests/app/support/AppFixtures.h"
#include "tests/app/support/InterfaceStage.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <tuple>
#include <vector>

namespace {

using namespace app_fixtures;

constexpr MMResourceId kOneFramePad = kFirstFreeEntry;     // rest frames 5 to 5
constexpr MMResourceId kLoopingPad = kFirstFreeEntry + 1;  // rest frames 3 to 6
constexpr uint32_t kQuad = static_cast<uint32_t>(ModelId(kQuadItem));
const ExtraTables kTables = {{kOneFramePad, {{0, kQuad}, {9, 1}, {11, 5}, {12, 5}}},
                             {kLoopingPad, {{0, kQuad}, {9, 1}, {11, 3}, {12, 6}}}};

const MM3DVector kCentre(0, 0, 10, 1);
// The quad's half height as the pads measure it: half its side and a half.
constexpr float kHalfHeight = kQuadHalfSide + 0.5f;

MM3DVector At(float x, float y) { return MM3DVector(x, y, kCentre.mZ, 1); }

VPLPickEvent Through(const MM3DVector& from, const MM3DVector& to) {
  VPLPickEvent event;
  event.mRay = VPLSegment{from, to};
  return event;
}
VPLPickEvent Straight(float x, float y) {
  return Through(MM3DVector(x, y, 0, 1), MM3DVector(x, y, 2 * kCentre.mZ, 1));
}

// Logs each camera move with its amount.
class CameraLog : public VPLCameraMoves {
 public:
  void RaiseCamera(float angle) override { Log("raise", angle); }
  void LowerCamera(float angle) override { Log("lower", angle); }
  void OrbitCameraPositive(float angle) override { Log("orbit+", angle); }
  void OrbitCameraNegative(float angle) override { Log("orbit-", angle); }
  void ZoomCameraIn(float distance) override { Log("in", distance); }
  void ZoomCameraOut(float distance) override { Log("out", distance); }

  std::vector<std::string> mMoves;
  float mLast = 0.0f;

 private:
  void Log(const char* move, float amount) {
    mMoves.emplace_back(move);
    mLast = amount;
  }
};

// A pad whose step sounds and frame ranges are logged; a sound plays until
// the test ends it.
template <typename Pad>
class Heard : public Pad {
 public:
  using Pad::Pad;
  void PlaySound(MMResourceId sound, bool loop) override {
    mSounds.push_back(std::to_string(sound) + (loop ? " loop" : ""));
    mPlaying = true;
  }
  void StopSound() override {
    mSounds.emplace_back("stop");
    mPlaying = false;
  }
  bool IsSoundPlaying() const override { return mPlaying; }
  void PlayAnimation(int32_t start, int32_t end, bool loop) override {
    mRanges.emplace_back(start, end, loop);
  }

  std::vector<std::string> mSounds;
  std::vector<std::tuple<int32_t, int32_t, bool>> mRanges;
  bool mPlaying = false;
};

class VPLObjEventCameraTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(mFiles.Ready()); }

  template <typename Pad>
  Heard<Pad>* Place(MMResourceId definition = kMMNoResource) {
    auto* pad = new Heard<Pad>(&mStage.Scene(), MakeQuad());
    pad->SetScriptId(definition);
    pad->SetPosition(kCentre);
    pad->ComputeCentre();
    pad->SetCameraMoves(&mCamera);
    mStage.Plain().AppendInterfaceObject(pad);
    return pad;
  }
  void Wait(int32_t ms) {
    MMTaskManager& tasks = *mStage.Stage()->GetTaskManager();
    tasks.RunUntil(tasks.GetNow() + ms);
  }
  void MoveTo(const MM3DVector& at) { mStage.Move(mStage.ScreenPointOf(at)); }
  // The pad's tilt about x, in radians.
  static float TiltOf(const VPLObj& pad) {
    const MM3DMatrix& m = pad.GetRotationNode()->GetMatrix();
    return std::atan2(std::fabs(m.mElement[1][2]), m.mElement[1][1]);
  }

  AppFiles mFiles{kTables};
  InterfaceStage mStage;
  CameraLog mCamera;
};

TEST_F(VPLObjEventCameraTest, RestingAboveTheCentreRaisesTheCameraAfterHalfASecond) {
  auto* pad = Place<VPLObjEventCameraRotate>();
  MoveTo(At(0.0f, 0.1f));
  Wait(VPLObjEventCamera::kArmDelay - 1);
  MoveTo(At(0.0f, 0.1f));
  EXPECT_TRUE(mCamera.mMoves.empty());
  Wait(1);
  MoveTo(At(0.0f, 0.1f));
  ASSERT_EQ(mCamera.mMoves, std::vector<std::string>{"raise"});
  EXPECT_NEAR(pad->GetRate(), (kHalfHeight - 0.1f) / kHalfHeight, 0.03f);
  EXPECT_FLOAT_EQ(mCamera.mLast, pad->GetRate() * VPLObjEventCameraRotate::kRaiseStep);
  EXPECT_NEAR(TiltOf(*pad), pad->GetRate() * VPLObjEventCamera::kTilt, 1e-5f);
  MoveTo(At(0.0f, 0.98f));
  EXPECT_NEAR(pad->GetRate(), (kHalfHeight - 0.98f) / kHalfHeight, 0.03f);
  MoveTo(At(0.0f, -0.5f));
  EXPECT_EQ(mCamera.mMoves.back(), "lower");
}

TEST_F(VPLObjEventCameraTest, ANewDirectionStopsTheSoundAndPlaysItsStartThenItsLoop) {
  auto* pad = Place<VPLObjEventCameraRotate>();
  MoveTo(At(0.0f, 0.3f));
  Wait(VPLObjEventCamera::kArmDelay);
  MoveTo(At(0.0f, 0.3f));
  MoveTo(At(0.0f, 0.3f));
  EXPECT_EQ(pad->mSounds, (std::vector<std::string>{"stop", "52"}));
  pad->mSounds.clear();
  MoveTo(At(0.6f, 0.0f));
  MoveTo(At(0.6f, 0.0f));
  pad->mPlaying = false;
  MoveTo(At(0.6f, 0.0f));
  MoveTo(At(0.6f, 0.0f));
  EXPECT_EQ(pad->mSounds, (std::vector<std::string>{"stop", "48", "49 loop"}));
  EXPECT_EQ(mCamera.mMoves.back(), "orbit+");
  MoveTo(At(-0.6f, 0.0f));
  EXPECT_EQ(mCamera.mMoves.back(), "orbit-");
  EXPECT_EQ(pad->mSounds.back(), "50");
}

TEST_F(VPLObjEventCameraTest, LeavingThePadStandsItUpAndStartsTheWaitAgain) {
  auto* pad = Place<VPLObjEventCameraRotate>();
  MoveTo(At(0.0f, 0.5f));
  Wait(VPLObjEventCamera::kArmDelay);
  MoveTo(At(0.0f, 0.5f));
  ASSERT_EQ(mCamera.mMoves.size(), 1u);
  MoveTo(At(5.0f, 5.0f));
  EXPECT_FALSE(pad->IsArmed());
  EXPECT_EQ(TiltOf(*pad), 0.0f);
  MoveTo(At(0.0f, 0.5f));
  MoveTo(At(0.0f, 0.5f));
  EXPECT_EQ(mCamera.mMoves.size(), 1u);
  Wait(VPLObjEventCamera::kArmDelay);
  MoveTo(At(0.0f, 0.5f));
  EXPECT_EQ(mCamera.mMoves.size(), 2u);
}

TEST_F(VPLObjEventCameraTest, TheZoomPadZoomsInOnItsCentreLineAndOutBelowIt) {
  auto* pad = Place<VPLObjEventCameraZoom>();
  pad->OnHoverOn();
  Wait(VPLObjEventCamera::kArmDelay);
  EXPECT_FALSE(pad->HandleEvent(Straight(0.0f, 0.0f)));
  EXPECT_EQ(mCamera.mMoves, std::vector<std::string>{"in"});
  EXPECT_EQ(mCamera.mLast, VPLObjEventCameraZoom::kZoomStep);
  pad->HandleEvent(Straight(0.3f, -0.5f));
  EXPECT_EQ(mCamera.mMoves.back(), "out");
  EXPECT_EQ(pad->mSounds, (std::vector<std::string>{"stop", "54", "stop", "54"}));
}

TEST_F(VPLObjEventCameraTest, ARayThatMissesThePadsPlaneTakesNoStep) {
  auto* pad = Place<VPLObjEventCameraRotate>();
  const VPLPickEvent misses[] = {Through(At(-5.0f, 0.5f), At(5.0f, 0.5f)),
                                 Through(MM3DVector(0, 0.5f, 0, 1), MM3DVector(0, 0.5f, 5, 1))};
  for (const VPLPickEvent& event : misses) {
    EXPECT_EQ(pad->Direction(event), VPLObjEventCamera::kNoDirection);
    pad->Step(event);
  }
  EXPECT_TRUE(mCamera.mMoves.empty());
}

TEST_F(VPLObjEventCameraTest, APadWithoutWidthTakesNoSidewaysStep) {
  const UURefCount<MM3DModel> edgeOn =
      MakeMeshesModel({{{0, -1, 0, 1}, {0, 1, 0, 1}, {0, 1, 1, 1}}});
  VPLObjEventCameraRotate pad(&mStage.Scene(), edgeOn);
  pad.SetCameraMoves(&mCamera);
  EXPECT_EQ(pad.GetHalfWidth(), 0.0f);
  const MM3DVector c = pad.GetCentre();
  pad.Step(
      Through(MM3DVector(c.mX + 1, c.mY, c.mZ - 5, 1), MM3DVector(c.mX + 1, c.mY, c.mZ + 5, 1)));
  EXPECT_TRUE(mCamera.mMoves.empty());
}

TEST_F(VPLObjEventCameraTest, HoveringLoopsTheRestFramesAndAOneFrameRangeShowsItsFrame) {
  struct Case {
    MMResourceId definition;
    std::tuple<int32_t, int32_t, bool> onHover;
  };
  for (const Case& c :
       {Case{kLoopingPad, {100, 200, true}}, Case{kOneFramePad, {166, 166, false}}}) {
    Heard<VPLObjEventCameraRotate> pad(&mStage.Scene(), MakeQuad());
    pad.SetScriptId(c.definition);
    pad.OnHoverOn();
    pad.OnHoverOff();
    ASSERT_EQ(pad.mRanges.size(), 2u) << c.definition;
    EXPECT_EQ(pad.mRanges[0], c.onHover) << c.definition;
    EXPECT_EQ(pad.mRanges[1],
              std::make_tuple(std::get<0>(c.onHover), std::get<1>(c.onHover), false))
        << c.definition;
  }
}

}  // namespace
