#include "app/creation/VPLToolMirror.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationUser.h"
#include "tests/app/creation/ToolSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace creation_support;

const MM3DVector kOrigin(0.0f, 0.0f, 0.0f, 1.0f);

// Notes which mirror ran and the camera frame it got.
template <typename Base>
class MirrorRecording : public Base {
 public:
  using Base::Base;
  void MirrorLeftRight(const MM3DVector& eye, const MM3DVector& /*interest*/) override {
    ++mLeftRight;
    mEye = eye;
  }
  void MirrorUpDown(const MM3DVector& eye, const MM3DVector& /*interest*/) override {
    ++mUpDown;
    mEye = eye;
  }
  int32_t mLeftRight = 0;
  int32_t mUpDown = 0;
  MM3DVector mEye{0.0f, 0.0f, 0.0f, 1.0f};
};

class VPLToolMirrorTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mStage.Ready());
    mTool = mStage.Make(kVPLToolMirror);
    ASSERT_NE(mTool, nullptr);
    mSound = &mStage.Record(*mTool);
  }
  template <typename Object>
  Object* Add() {
    auto* object = new Object(&mStage.Area(), MakeBlock(), &mStage.Creation());
    mStage.Creation().AddObjectAt(object, kOrigin);
    mStage.Creation().SetModified(false);
    return object;
  }

  ToolStage mStage;
  std::unique_ptr<VPLTool> mTool;
  RecordingSound* mSound = nullptr;
};

TEST_F(VPLToolMirrorTest, AClickMirrorsLeftToRightAndShiftUpsideDownAsTheCameraSees) {
  auto* object = Add<MirrorRecording<VPLObjCreationUser>>();
  mStage.Drag(*mTool, {kOrigin, kOrigin});
  mStage.Drag(*mTool, {kOrigin, kOrigin}, kVPLAlternate);
  EXPECT_EQ(object->mLeftRight, 1);
  EXPECT_EQ(object->mUpDown, 1);
  EXPECT_TRUE(object->mEye.Equals(kToolEye));
  EXPECT_EQ(mSound->mCounts[RecordingSound::kAction], 2);
  EXPECT_TRUE(mStage.Creation().IsModified());
}

TEST_F(VPLToolMirrorTest, TheCharacterIsCheckpointedWithoutAnActionSound) {
  Add<MirrorRecording<TestCharacter>>();
  mStage.Drag(*mTool, {kOrigin, kOrigin});
  EXPECT_EQ(mSound->mCounts[RecordingSound::kAction], 0);
  EXPECT_EQ(mSound->mCounts[RecordingSound::kRelease], 1);
  EXPECT_TRUE(mStage.Creation().IsModified());
  EXPECT_FALSE(mStage.Area().IsUntouched());
}

}  // namespace
