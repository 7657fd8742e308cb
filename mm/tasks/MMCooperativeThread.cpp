#include "mm/tasks/MMCooperativeThread.h"

#include "mm/tasks/MMTaskClient.h"
#include "mm/tasks/MMTaskManager.h"
#include "mm/tasks/MMTaskTime.h"

MMCooperativeThread::~MMCooperativeThread() {
  while (HasBodyThread() && !mFinished) ResumeBody(false);
  if (HasBodyThread()) CloseThread();
}

bool MMCooperativeThread::RunStep(int32_t* wakeTime) {
  if (!HasBodyThread() && (GetState() == kStopping || !StartThread())) {
    *wakeTime = kMMNever;
    return false;
  }
  mWakeTimeOut = wakeTime;
  ResumeBody(GetState() != kStopping);
  mWakeTimeOut = nullptr;
  if (!mFinished) return true;
  CloseThread();
  *wakeTime = kMMNever;
  return false;
}

bool MMCooperativeThread::StartThread() {
  mStageEvent = GetTaskClient()->GetManager()->GetHandOffEvent();
  mThreadEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  if (mThreadEvent == nullptr) return false;
  mThreadObject = ALCurrentThread();
  mThreadHandle = reinterpret_cast<HANDLE>(
      _beginthreadex(nullptr, 0, &MMCooperativeThread::ThreadProcedure, this, 0, nullptr));
  if (mThreadHandle != nullptr) return true;
  CloseHandle(mThreadEvent);
  mThreadEvent = nullptr;
  return false;
}

void MMCooperativeThread::CloseThread() {
  WaitForSingleObject(mThreadHandle, INFINITE);
  CloseHandle(mThreadHandle);
  CloseHandle(mThreadEvent);
  mThreadHandle = nullptr;
  mThreadEvent = nullptr;
}

unsigned MMCooperativeThread::ThreadProcedure(void* argument) {
  auto* thread = static_cast<MMCooperativeThread*>(argument);
  WaitForSingleObject(thread->mThreadEvent, INFINITE);
  thread->mFinished = false;
  ALSetCurrentThread(thread->mThreadObject);
  thread->Body();
  thread->mFinished = true;
  SetEvent(thread->mStageEvent);
  return 0;
}

bool MMCooperativeThread::Sleep(int32_t delay) {
  return SleepUntil(MMTimeAfter(GetTaskClient()->GetTime(), delay));
}

bool MMCooperativeThread::SleepUntil(int32_t clientTime) {
  if (mWakeTimeOut != nullptr) *mWakeTimeOut = clientTime;
  WaitForStage();
  return mKeepRunning;
}

void MMCooperativeThread::HandBack() { WaitForStage(); }

void MMCooperativeThread::ResumeBody(bool keepRunning) {
  mKeepRunning = keepRunning;
  SetEvent(mThreadEvent);
  WaitForSingleObject(mStageEvent, INFINITE);
}

void MMCooperativeThread::WaitForStage() {
  SetEvent(mStageEvent);
  WaitForSingleObject(mThreadEvent, INFINITE);
}
