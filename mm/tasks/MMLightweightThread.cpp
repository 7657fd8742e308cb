#include "mm/tasks/MMLightweightThread.h"

#include "mm/tasks/MMTaskClient.h"
#include "mm/tasks/MMTaskTime.h"

bool MMLightweightThread::RunStep(int32_t* wakeTime) {
  mWakeTimeOut = wakeTime;
  const bool goOn = Step();
  mWakeTimeOut = nullptr;
  if (!goOn) *wakeTime = kMMNever;
  return goOn;
}

int32_t MMLightweightThread::Sleep(int32_t delay) {
  const int32_t wakeTime = MMTimeAfter(GetTaskClient()->GetTime(), delay);
  if (mWakeTimeOut != nullptr) *mWakeTimeOut = wakeTime;
  mWakeTimeOut = nullptr;
  return wakeTime;
}

void MMLightweightThread::SleepUntil(int32_t clientTime) {
  if (mWakeTimeOut != nullptr) *mWakeTimeOut = clientTime;
}
