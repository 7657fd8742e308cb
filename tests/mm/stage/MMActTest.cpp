#include <gtest/gtest.h>

#include "StageTestSupport.h"
#include "mm/stage/MM3DAct.h"
#include "mm/stage/MM3DModelMolecule.h"
#include "mm/stage/MM3DSpatialEnclosure.h"
#include "mm/stage/MM3DSpatialView.h"
#include "mm/stage/MMCursorController.h"
#include "mm/stage/MMDisplayModeStrategy.h"
#include "mm/stage/MMEnclosure.h"
#include "mm/stage/MMMouseInterpreter.h"
#include "mm/stage/MMScene.h"
#include "mm/stage/MMView.h"
#include "tests/mm/stage/Stage3DTestSupport.h"
#include "tests/mm3d/MM3DModelSupport.h"
#include "tests/mm3d/MM3DSceneModels.h"
#include "tests/mm3d/drivers/RecordingDriver.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

class FakeInterpreter : public MMMouseInterpreter {
 public:
  FakeInterpreter(MMAct* act, StageLog& log, std::string name, MMCursor* cursor)
      : MMMouseInterpreter(act, cursor), mLog(log), mName(std::move(name)) {}
  void MouseEnter() override { mLog.push_back(mName + " enter"); }
  void MouseLeave() override { mLog.push_back(mName + " leave"); }
  bool HandleMouse(const MMMouseEvent& event) override {
    mLog.push_back(mName + " " + std::to_string(event.mX) + "," + std::to_string(event.mY));
    return mCaptures;
  }

  bool mCaptures = false;

 private:
  StageLog& mLog;
  std::string mName;
};

// A view that answers every hit test the same way: its interpreter, or
// (without one) nothing here. It registers with the act as every view does.
class FakeView : public MM2DPlanarView {
 public:
  FakeView(MMAct* act, MMEnclosure* enclosure, StageLog& log, std::string name, UURect rect,
           int32_t depth, MMMouseInterpreter* target)
      : MM2DPlanarView(act->GetViewServices(), enclosure, rect, depth),
        mLog(log),
        mName(std::move(name)),
        mTarget(target) {}
  void Draw(const MMRegion&) override { mLog.push_back("draw " + mName); }
  void HitTest(UUPoint, MMMouseTarget& target) override {
    mLog.push_back("hit " + mName);
    if (mTarget == nullptr) return;
    target.SetFound(mTarget);
    target.PushView(this);
  }

 private:
  StageLog& mLog;
  std::string mName;
  MMMouseInterpreter* mTarget;
};

class MMActTest : public ::testing::Test {
 protected:
  MMActTest()
      : mRun([this](MMStage* stage) {
          return new (ALGlobalAllocator) LoggingAct(stage, mRun.mLog, "act");
        }) {
    mRun.Start();
    mRun.mLog.clear();
  }
  MMAct* Act() { return mRun.mStage->GetAct(); }
  MMCursor* Cursor(int32_t id) { return mRun.mStage->GetCursor(id); }
  void Mouse(int32_t x, int32_t y, int32_t flags = 0) {
    Act()->HandleMouse(MMMouseEvent{0, x, y, flags});
  }

  StageOnTestThread mRun;
  MM2DPlanarEnclosure mEnclosure{mRun.mStage};
};

TEST_F(MMActTest, TheMouseGoesToTheTopmostViewThatDecides) {
  FakeInterpreter low(Act(), mRun.mLog, "low", Cursor(1));
  FakeInterpreter high(Act(), mRun.mLog, "high", Cursor(1));
  FakeView lowView(Act(), &mEnclosure, mRun.mLog, "low", UURect(0, 0, 100, 100), 1, &low);
  FakeView emptyView(Act(), &mEnclosure, mRun.mLog, "empty", UURect(0, 0, 100, 100), 5, nullptr);
  FakeView highView(Act(), &mEnclosure, mRun.mLog, "high", UURect(50, 50, 150, 150), 3, &high);

  Mouse(60, 70);  // empty (depth 5) lets the search go on to high (3)
  EXPECT_EQ(mRun.mLog, (StageLog{"hit empty", "hit high", "high enter", "high 10,20"}));
  EXPECT_EQ(mRun.mStage->GetCursorController()->GetShownCursor(), Cursor(1));

  mRun.mLog.clear();
  Mouse(10, 10);
  EXPECT_EQ(mRun.mLog, (StageLog{"hit empty", "hit low", "high leave", "low enter", "low 10,10"}));

  // Over no view: the interpreter is left and the arrow shown.
  mRun.mLog.clear();
  Mouse(300, 300);
  EXPECT_EQ(mRun.mLog, StageLog{"low leave"});
  EXPECT_EQ(mRun.mStage->GetCursorController()->GetShownCursor(), Cursor(0));
}

TEST_F(MMActTest, ACapturingInterpreterKeepsTheMouseOverOtherViews) {
  FakeInterpreter left(Act(), mRun.mLog, "left", Cursor(0));
  FakeInterpreter right(Act(), mRun.mLog, "right", Cursor(0));
  FakeView leftView(Act(), &mEnclosure, mRun.mLog, "left", UURect(0, 0, 100, 100), 0, &left);
  FakeView rightView(Act(), &mEnclosure, mRun.mLog, "right", UURect(100, 0, 200, 100), 0, &right);
  left.mCaptures = true;
  Mouse(10, 10, kMMMouseButtonDown | kMMMousePress);
  Mouse(150, 10, kMMMouseButtonDown);
  EXPECT_EQ(mRun.mLog, (StageLog{"hit left", "left enter", "left 10,10", "left 150,10"}));
  EXPECT_TRUE(Act()->IsMouseCaptured());
  Act()->HandleMouseLeave();
  EXPECT_FALSE(Act()->IsMouseCaptured());
  EXPECT_EQ(mRun.mLog.back(), "left leave");
}

TEST_F(MMActTest, A2DActRedrawsDirtyViewsAndPresentsOnlyWhatChanged) {
  auto* act = static_cast<MM2DAct*>(Act());
  FakeView inside(Act(), &mEnclosure, mRun.mLog, "inside", UURect(0, 0, 50, 50), 0, nullptr);
  FakeView outside(Act(), &mEnclosure, mRun.mLog, "outside", UURect(300, 300, 350, 350), 0,
                   nullptr);
  mRun.Frame();  // the views' first drawing
  mRun.mLog.clear();
  act->Invalidate(UURect(10, 10, 20, 20));
  act->Invalidate(UURect(30, 30, 30, 40));  // empty: ignored
  AFPalette palette;
  mRun.Frame();
  EXPECT_EQ(mRun.mLog, (StageLog{"draw", "draw inside", "present", "sound-update"}));
  EXPECT_EQ(act->GetDirtyRegion().GetCount(), 0);

  // An empty stage region presents nothing, and keeps the one-shot palette.
  act->SetPalette(&palette);
  act->Present();
  EXPECT_NE(act->GetPalette(), nullptr);
  // A palette makes the frame present the whole stage, once.
  act->Invalidate(UURect(10, 10, 20, 20));
  act->Draw();
  EXPECT_EQ(mRun.mStage->GetDirtyRegion().GetBounds(), mRun.mStage->GetLocalRect());
  act->Present();
  EXPECT_EQ(act->GetPalette(), nullptr);
}

// How often the driver began and presented a frame.
std::pair<int, int> Frames(const RecordingDriver& driver) {
  int begun = 0;
  int presented = 0;
  for (const RecordingDriver::Call& call : driver.mCalls) {
    begun += call.mName == "BeginScene";
    presented += call.mName == "Present";
  }
  return {begun, presented};
}

TEST(MM3DActTest, NothingIsDrawnOrPresentedWhileAPauseIsAsked) {
  RecordingDriver* driver = nullptr;
  Stage3DOnTestThread run([&] {
    driver = new (ALGlobalAllocator) RecordingDriver(MM3DDeviceMode(640, 480, 0, 1, 0));
    return UURefCount<MM3DDriver>(driver);
  });
  EXPECT_FALSE(run.Stage()->LacksDisplay());
  EXPECT_EQ(run.Stage()->GetFrontSurface(), nullptr);
  const std::pair<int, int> before = Frames(*driver);
  run.Stage()->GetAct()->Repaint();
  run.mRun.Frame();
  EXPECT_EQ(Frames(*driver), std::make_pair(before.first + 1, before.second + 1));
  run.mRun.mLog.clear();
  run.Stage()->AddPause();
  run.Stage()->GetAct()->Repaint();
  run.mRun.Frame();
  EXPECT_EQ(Frames(*driver), std::make_pair(before.first + 1, before.second + 1));
  EXPECT_EQ(run.mRun.mLog, (StageLog{"sound-pause", "sound-update"}));
}

// A 3D act showing a few cubes, each a molecule of its own model whose
// one part places it, on a recording driver.
class Resting3DActTest : public ::testing::Test {
 protected:
  static constexpr int kMolecules = 3;

  Resting3DActTest() {
    for (int i = 0; i < kMolecules; ++i) {
      auto* root = new MM3DDisplayTreeNodeRoot;
      MM3DDisplayTreeNodeSRTTransform* part =
          model_fixtures::AddPart(*root, static_cast<float>(i) - 1.0f, 0.0f);
      part->SetTranslationZ(kDistance);
      part->AddChild(UUOwned<MM3DDisplayTreeNode>(
          scene_models::Mesh(mMaterial, scene_models::CubeBlock(kHalfSide))));
      mParts.push_back(part);
      mMolecules.push_back(std::make_unique<MM3DModelMolecule>(
          &mScene, UURefCount<MM3DModel>(new MM3DModel(UUOwned<MM3DDisplayTreeNode>(root), {}))));
    }
    mRun.mRun.Frame();
  }
  ~Resting3DActTest() override {
    for (const std::unique_ptr<MM3DModelMolecule>& molecule : mMolecules) molecule->Detach();
    mMolecules.clear();
    mScene.ResignFocus();
    mView.Detach();
  }

  // The frames the driver began and presented during one stage frame.
  std::pair<int, int> FramesOfOneFrame() {
    const std::pair<int, int> before = Frames(*mDriver);
    mRun.mRun.Frame();
    const std::pair<int, int> after = Frames(*mDriver);
    return {after.first - before.first, after.second - before.second};
  }

  static constexpr float kDistance = 8.0f;
  static constexpr float kHalfSide = 0.5f;
  RecordingDriver* mDriver = nullptr;
  Stage3DOnTestThread mRun{[this] {
    mDriver = new (ALGlobalAllocator) RecordingDriver(MM3DDeviceMode(640, 480, 0, 1, 0));
    return UURefCount<MM3DDriver>(mDriver);
  }};
  MMAct* mAct = mRun.Stage()->GetAct();
  MM3DSpatialEnclosure mSpace{mRun.Stage()};
  MM3DSpatialView mView{mAct->GetViewServices(), &mSpace, mRun.Stage()->GetLocalRect(), 0};
  MMScene mScene{mAct->GetSceneServices(), &mSpace};
  UURefCount<MM3DMaterial> mMaterial = scene_models::LitMaterial(MM3DTextureHandle());
  std::vector<MM3DDisplayTreeNodeSRTTransform*> mParts;
  std::vector<std::unique_ptr<MM3DModelMolecule>> mMolecules;
};

constexpr std::pair<int, int> kNoFrame{0, 0};
constexpr std::pair<int, int> kOneFrame{1, 1};

TEST_F(Resting3DActTest, AnUnchangedSceneIsNeitherDrawnNorPresented) {
  EXPECT_EQ(FramesOfOneFrame(), kNoFrame);
  EXPECT_EQ(FramesOfOneFrame(), kNoFrame);
}

TEST_F(Resting3DActTest, EachKindOfChangeDrawsTheNextFrameOnly) {
  MM3DMatrix turned;
  MM3DMatrixTranslation(turned, 0.5f, 0.0f, 0.0f);
  MM3DProjectionVolume narrower;
  narrower.SetPerspective(0.5f, 4.0f / 3.0f, 1.0f, 100.0f);
  const std::pair<const char*, std::function<void()>> changes[] = {
      {"one molecule moves", [&] { mParts[1]->SetTranslationX(3.0f); }},
      {"one molecule hides", [&] { mMolecules[2]->SetVisibility(kMMHidden); }},
      {"a material's transparency", [&] { mMaterial->SetTransparency(0.5f); }},
      {"the camera", [&] { mView.UpdateViewMatrix(turned); }},
      {"the projection", [&] { mView.SetProjection(narrower); }},
      {"the system asks for a paint", [&] { mAct->Repaint(); }},
      {"a view is invalidated", [&] { mView.Invalidate(UURect(0, 0, 10, 10)); }},
  };
  for (const auto& [name, change] : changes) {
    SCOPED_TRACE(name);
    change();
    EXPECT_EQ(FramesOfOneFrame(), kOneFrame);
    EXPECT_EQ(FramesOfOneFrame(), kNoFrame);
  }
}

TEST_F(Resting3DActTest, SettingAPartToWhereItIsChangesNothing) {
  mParts[0]->SetTranslationX(mParts[0]->GetTranslation().mX);
  EXPECT_EQ(FramesOfOneFrame(), kNoFrame);
}

}  // namespace
