#pragma once
// Helpers of the display-object tests: a host that records what its views
// ask of it, and a box visual that records where it was drawn.

#include "StageTestSupport.h"
#include "foundation/uu/UUCallback.h"
#include "mm/drawing/MMSurface.h"
#include "mm/stage/MM2DVisual.h"
#include "mm/stage/MMEnclosure.h"
#include "mm/stage/MMScene.h"
#include "mm/stage/MMSceneServices.h"
#include "mm/stage/MMView.h"
#include "mm/tasks/MMTaskCallback.h"
#include "mm/tasks/MMTaskManager.h"

#include <vector>

class RecordingViewServices : public MMViewServices {
 public:
  MMAct* GetAct() override { return mAct; }
  void AddView(MMView* view) override { mViews.push_back(view); }
  void RemoveView(MMView* view) override { std::erase(mViews, view); }
  void SortViews() override { ++mSorts; }
  void VisibilityChanged() override { ++mVisibilityChanges; }
  void Invalidate(const UURect& rect) override { mInvalidated.push_back(rect); }

  MMAct* mAct = nullptr;
  std::vector<MMView*> mViews;
  std::vector<UURect> mInvalidated;
  int mSorts = 0;
  int mVisibilityChanges = 0;
};

// An opaque box that keeps the clip of every DrawClipped call.
class RecordingBoxVisual : public MM2DOpaqueBoxVisual {
 public:
  using MM2DOpaqueBoxVisual::MM2DOpaqueBoxVisual;
  void DrawClipped(MMSurface* surface) override { mClips.push_back(surface->GetClipRect()); }

  std::vector<UURect> mClips;
};

// A started stage whose 2D act shows one enclosure over the whole stage,
// with a scene whose user data is that enclosure.
struct SceneOnStage {
  ~SceneOnStage() {
    mScene.ResignFocus();
    mView.Detach();
  }
  MMAct* Act() { return mRun.mStage->GetAct(); }
  // A binding that counts its runs.
  MMTaskCallback Counter(int& count) {
    return MMTaskCallback(mScene.GetTaskClient(), new (ALGlobalAllocator) StageLogCallback(
                                                      mRun.mLog, "fired", [&count] { ++count; }));
  }
  // Runs what was posted.
  void RunTasks() {
    mRun.mStage->GetTaskManager()->RunUntil(mRun.mStage->GetTaskManager()->GetNow());
  }
  void Mouse(int32_t x, int32_t y, int32_t flags) {
    Act()->HandleMouse(MMMouseEvent{0, x, y, flags});
  }

  StageOnTestThread mRun{[this](MMStage* stage) {
    return new (ALGlobalAllocator) LoggingAct(stage, mRun.mLog, "act");
  }};
  // Started before the act's views and scenes exist.
  bool mStarted = (mRun.Start(), mRun.mLog.clear(), true);
  MM2DPlanarEnclosure mEnclosure{mRun.mStage};
  MM2DPlanarView mView{mRun.mStage->GetAct()->GetViewServices(), &mEnclosure,
                       mRun.mStage->GetLocalRect(), 0};
  MMScene mScene{mRun.mStage->GetAct()->GetSceneServices(), &mEnclosure};
};
