#include "StageTestSupport.h"

#include "mm/stage/MMStageControl.h"
#include "mm/tasks/MMTaskManager.h"
#include "tests/support/DesktopTestSupport.h"

MMStageWindow* MakeStageWindow() {
  return new (ALGlobalAllocator) MMStageWindow(AFDefaultWindowDescription);
}

StageOnTestThread::StageOnTestThread(TestStage::ActMaker maker, bool recordSound)
    : mWindow(MakeStageWindow()),
      mStage(new (ALGlobalAllocator) TestStage(
          mWindow, UURect(0, 0, 640, 480),
          recordSound ? new (ALGlobalAllocator) RecordingSoundManager(mLog) : nullptr,
          std::move(maker))) {}

// The stage thread never ran, so the window's handshake has nothing to ask;
// the stage's control belongs to this thread and goes with the stage.
StageOnTestThread::~StageOnTestThread() {
  delete mWindow;
  vpl::test::DrainMessages();
}

void StageOnTestThread::Start(bool paint) {
  mStage->Init();
  mStage->RequestActSwitch();
  mStage->UpdateLoop(mStage->GetTaskManager()->GetNow(), true);
  if (paint) vpl::test::DrainMessages();
}

void StageOnTestThread::Frame(bool draws) {
  mStage->RequestUpdate(mStage->GetTaskManager()->GetNow(), draws);
  mStage->RunPendingUpdate();
}
