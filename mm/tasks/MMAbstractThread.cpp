#include "mm/tasks/MMAbstractThread.h"

#include "foundation/al/ALAllocator.h"
#include "mm/tasks/MMTaskClient.h"
#include "mm/tasks/MMTaskTime.h"

MMAbstractThread::MMAbstractThread(MMTaskClient* client)
    : mTaskClient(client),
      mStepCallback(new (ALGlobalAllocator) UUClassCallback<MMAbstractThread, Member>(
          this, &MMAbstractThread::RunStepTask)) {}

// The manager still holds the step task, which calls back into this thread.
MMAbstractThread::~MMAbstractThread() {
  if (mState != kStopped && !mSuspended) CancelPendingStep();
}

void MMAbstractThread::Terminate() {
  if (mState != kStopped) Stop();
}

void MMAbstractThread::Start() {
  mTaskClient->AddImmediateTask(mStepCallback);
  mState = kStarted;
  mSuspended = false;
}

void MMAbstractThread::Stop() {
  if (mState != kStopped) {
    if (!mSuspended) CancelPendingStep();
    if (mState == kRunning) {
      mState = kStopping;
      int32_t ignored = kMMNever;
      RunStep(&ignored);
    }
    mState = kStopped;
  }
  mSuspended = false;
}

void MMAbstractThread::WakeAt(int32_t clientTime) { Schedule(clientTime, true); }

void MMAbstractThread::WakeIn(int32_t delay) { WakeAt(MMTimeAfter(mTaskClient->GetTime(), delay)); }

void MMAbstractThread::WakeNow() { WakeAt(mTaskClient->GetTime()); }

void MMAbstractThread::ScheduleStepAt(int32_t clientTime) { Schedule(clientTime, false); }

void MMAbstractThread::Suspend() {
  if (!mSuspended) CancelPendingStep();
  SetSuspended(true);
}

MMTaskCallback MMAbstractThread::MakeStartCallback() {
  return MakeCallback(&MMAbstractThread::Start);
}
MMTaskCallback MMAbstractThread::MakeStopCallback() {
  return MakeCallback(&MMAbstractThread::Stop);
}
MMTaskCallback MMAbstractThread::MakeSuspendCallback() {
  return MakeCallback(&MMAbstractThread::Suspend);
}
MMTaskCallback MMAbstractThread::MakeWakeCallback() {
  return MakeCallback(&MMAbstractThread::WakeNow);
}

MMTaskCallback MMAbstractThread::MakeCallback(Member member) {
  return MMTaskCallback(
      mTaskClient, new (ALGlobalAllocator) UUClassCallback<MMAbstractThread, Member>(this, member));
}

// The step routine, run as a task. A wake time the step does not name
// means waiting until woken.
void MMAbstractThread::RunStepTask() {
  int32_t wakeTime = kMMNever;
  if (!RunStep(&wakeTime)) {
    mState = kStopped;
    mSuspended = false;
    return;
  }
  mState = kRunning;
  SetSuspended(wakeTime == kMMNever);
  if (!mSuspended) mTaskClient->ScheduleTask(mStepCallback, wakeTime);
}

void MMAbstractThread::CancelPendingStep() { mTaskClient->CancelTasks(mStepCallback); }

void MMAbstractThread::SetSuspended(bool suspended) {
  const bool changed = suspended != mSuspended;
  mSuspended = suspended;
  if (!changed || mState != kRunning) return;
  if (suspended) {
    OnSuspend();
  } else {
    OnResume();
  }
}

void MMAbstractThread::Schedule(int32_t clientTime, bool cancelPending) {
  if (cancelPending && !mSuspended) CancelPendingStep();
  SetSuspended(clientTime == kMMNever);
  if (!mSuspended) mTaskClient->ScheduleTask(mStepCallback, clientTime);
}
