#include "app/creation/VPLToolPath.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationUser.h"
#include "tests/app/creation/ToolSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace creation_support;

const MM3DVector kOrigin(0.0f, 0.0f, 0.0f, 1.0f);

// Notes the path calls instead of loading a path.
class PathRecordingBlock : public VPLObjCreationUser {
 public:
  PathRecordingBlock(MMScene* scene, VPLCreation* creation)
      : VPLObjCreationUser(scene, MakeBlock(), creation) {}
  void SetPath(int32_t pathId, int32_t duration) override {
    mLog.push_back("set " + std::to_string(pathId) + " " + std::to_string(duration));
  }
  bool IsPathPlaying() const override { return mPlaying; }
  void PlayPath() override { mLog.emplace_back("play"); }
  void StopPath() override { mLog.emplace_back("stop"); }
  bool mPlaying = false;
  std::vector<std::string> mLog;
};

class VPLToolPathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mStage.Ready());
    mObject = new PathRecordingBlock(&mStage.Area(), &mStage.Creation());
    mStage.Creation().AddObjectAt(mObject, kOrigin);
    mStage.Creation().SetModified(false);
    mTool = mStage.Make(kVPLToolPath);
    ASSERT_NE(mTool, nullptr);
  }
  void Click(int32_t flags = 0) { mStage.Drag(*mTool, {kOrigin, kOrigin}, flags); }
  static std::string Set(MMResourceId path, int32_t value) {
    return "set " + std::to_string(path) + " " + std::to_string(value);
  }

  ToolStage mStage;
  PathRecordingBlock* mObject = nullptr;
  std::unique_ptr<VPLTool> mTool;
};

TEST_F(VPLToolPathTest, AClickSendsTheObjectAlongTheChosenPathOrItsAlternateWithShift) {
  mStage.Area().SelectPath(0);
  Click();
  Click(kVPLAlternate);
  const int32_t value = area_support::kPathValueA;
  EXPECT_EQ(mObject->mLog,
            (std::vector<std::string>{Set(area_support::kPathA, value), "play",
                                      Set(area_support::kAlternatePathA, value), "play"}));
  EXPECT_TRUE(mStage.Creation().IsModified());
  EXPECT_FALSE(mStage.Area().IsUntouched());
}

TEST_F(VPLToolPathTest, WithoutAPathAClickStopsOnlyAPlayingPath) {
  ASSERT_EQ(mStage.Area().GetPath(), VPLSceneCreationArea::kNoPath);
  Click();
  EXPECT_TRUE(mObject->mLog.empty());
  EXPECT_FALSE(mStage.Creation().IsModified());
  EXPECT_TRUE(mStage.Area().IsUntouched());

  mObject->mPlaying = true;
  Click();
  EXPECT_EQ(mObject->mLog,
            (std::vector<std::string>{
                Set(VPLSceneCreationArea::kNoPath, mStage.Area().GetPathValue()), "stop"}));
  EXPECT_TRUE(mStage.Creation().IsModified());
}

}  // namespace
