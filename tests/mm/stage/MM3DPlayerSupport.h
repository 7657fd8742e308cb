#pragma once
// A scene on a test stage and a clip whose translation x is its time in
// seconds from 0 s to 10 s, for the players' tests: the test lets the
// scene clock run on and runs one frame's notifications.

#include "mm/tasks/MMTaskManager.h"
#include "mm3d/MM3DAnimationClip.h"
#include "mm3d/MM3DNodeAnimations.h"
#include "tests/mm/stage/VisualTestSupport.h"
#include "tests/mm3d/MM3DAnimationSupport.h"

struct ClipOnStage : SceneOnStage {
  static constexpr int32_t kTranslateX = 19;
  static constexpr int32_t kEveryFrame = 0;

  ClipOnStage() {
    mClip.AddAnimation(UUOwned<MM3DAnimation>(
        new MM3DSRTAnimation(&mNode, LinearCurve({{0.0f, 0.0f}, {10.0f, 10.0f}}), kTranslateX)));
  }
  void FrameAfter(int32_t milliseconds) {
    MMTaskManager* manager = mRun.mStage->GetTaskManager();
    manager->RunUntil(manager->GetNow() + milliseconds);
    mRun.mStage->FireEventNotifications(kEveryFrame);
  }
  float ClipTime() const { return mNode.GetTranslation().mX; }

  MM3DDisplayTreeNodeSRTTransform mNode;
  MM3DAnimationClip mClip;
};
