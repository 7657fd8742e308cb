#include "mm/tasks/MMTaskClient.h"

#include "mm/tasks/MMTaskManager.h"
#include "mm/tasks/MMTaskTime.h"

MMTaskClient::MMTaskClient(MMTaskManager* manager)
    : mManager(manager), mResumeManagerTime(manager->GetNow()) {}

MMTaskClient::~MMTaskClient() { CancelAllTasks(); }

int32_t MMTaskClient::GetTime() const {
  return IsPaused() ? mFrozenClientTime : ToClientTime(mManager->GetNow());
}

int32_t MMTaskClient::ToManagerTime(int32_t clientTime) const {
  return MMShiftTime(clientTime, int64_t{mResumeManagerTime} - mFrozenClientTime);
}

int32_t MMTaskClient::ToClientTime(int32_t managerTime) const {
  return MMShiftTime(managerTime, int64_t{mFrozenClientTime} - mResumeManagerTime);
}

void MMTaskClient::AddImmediateTask(const UURefCount<UUCallback>& callback, const void* owner) {
  mManager->AddImmediate(this, callback, owner);
}

void MMTaskClient::ScheduleTask(const UURefCount<UUCallback>& callback, int32_t clientTime) {
  mManager->Schedule(this, callback, clientTime);
}

void MMTaskClient::CancelTasks(const UURefCount<UUCallback>& callback) {
  mManager->Cancel(this, callback.Get());
}

void MMTaskClient::CancelAllTasks() { mManager->CancelAll(this); }

void MMTaskClient::Pause() {
  if (mPauseDepth++ > 0) return;
  mFrozenClientTime = ToClientTime(mManager->GetNow());
  mManager->PauseClient(this);
}

void MMTaskClient::Resume() {
  if (mPauseDepth == 0 || --mPauseDepth > 0) return;
  mResumeManagerTime = mManager->GetNow();
  mManager->ResumeClient(this);
}
