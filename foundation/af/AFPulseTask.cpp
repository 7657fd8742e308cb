#include "foundation/af/AFPulseTask.h"

#include "foundation/al/ALMilliseconds.h"
#include "foundation/al/ALThread.h"
#include "foundation/win/WinAFPulseTaskThread.h"

#include <algorithm>
#include <utility>

namespace {

int32_t Now() { return static_cast<int32_t>(ALMilliseconds()); }

// The task whose Pulse this thread is inside, if any.
thread_local const AFPulseTask* tPulsingTask = nullptr;

// A due time past the clock's 32-bit range stays in the far future rather
// than wrapping into the past.
int32_t DueAfter(int32_t now, int32_t delay) {
  return static_cast<int32_t>(std::clamp<int64_t>(int64_t{now} + delay, INT_MIN, INT_MAX - 1));
}

}  // namespace

void AFPulseTask::CallAgainIn(int32_t n) {
  constexpr uint64_t kOneCall = uint64_t{1} << 32;
  const int32_t time = DueAfter(Now(), n);
  uint64_t due = mDue.load(std::memory_order_relaxed);
  while (!mDue.compare_exchange_weak(due, WithDueTime(due + kOneCall, time),
                                     std::memory_order_acq_rel)) {
  }
  if (AFPulseTaskManager* manager = GetManager()) manager->Wake();
}

AFPulseTaskManager::AFPulseTaskManager()
    : mCursor(mTasks.End()),
      mRemovalMark(mTasks.End()),
      mWakeEvent(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

AFPulseTaskManager::~AFPulseTaskManager() {
  if (IsRunning()) Stop();
  CloseHandle(mWakeEvent);
}

void AFPulseTaskManager::Start() {
  if (IsRunning()) Stop();
  mThread = new (ALGlobalAllocator) WinAFPulseTaskThread(*this);
  mStop.store(false, std::memory_order_release);
  mThread->Start();
}

void AFPulseTaskManager::Stop() {
  if (!IsRunning()) return;
  mStop.store(true, std::memory_order_release);
  Wake();
  mThread->WaitForExit();
  delete mThread;
  mThread = nullptr;
}

void AFPulseTaskManager::AddTask(AFPulseTask* task) {
  task->mDue.store(task->WithDueTime(task->mDue.load(), 0), std::memory_order_release);
  task->mManager.store(this, std::memory_order_release);
  mLock.Enter();
  mTasks.PushBack(task);
  mLock.Leave();
  Wake();
}

void AFPulseTaskManager::RemoveTask(AFPulseTask* task) {
  mLock.Enter();
  UUUntypedListNode* node = UUListFind(mTasks.Begin(), mTasks.End(), task);
  if (node == mTasks.End()) {
    mLock.Leave();
    return;
  }
  if (mCursor == node && tPulsingTask == task) {
    // The task leaves from inside its own Pulse: no other thread will move
    // the cursor off it, so the pass steps back and goes on after it.
    mCursor = node->mPrevious;
    mRemovedWhilePulsing = true;
  }
  // The pulse thread is running the task, or is between it and its next
  // step: let it move on.
  while (mCursor == node) {
    mRemovalMark = node;
    mLock.Leave();
    Wake();
    ALYield();
    mLock.Enter();
  }
  mRemovalMark = mTasks.End();
  mTasks.Erase(node);
  mLock.Leave();
  task->mManager.store(nullptr, std::memory_order_release);
}

int32_t AFPulseTaskManager::EarliestDue() {
  int32_t earliest = INT_MAX;
  mLock.Enter();
  for (AFPulseTask* task : mTasks) earliest = std::min(earliest, task->GetDueTime());
  mLock.Leave();
  return earliest;
}

AFPulseTask* AFPulseTaskManager::NextTask() {
  mLock.Enter();
  mCursor = mCursor->mNext;
  if (mCursor != mTasks.End() && mCursor == mRemovalMark) mCursor = mCursor->mNext;
  AFPulseTask* task = mCursor == mTasks.End() ? nullptr : UUList<AFPulseTask*>::ValueOf(mCursor);
  mLock.Leave();
  return task;
}

// The task runs without the lock; the cursor standing on it keeps a
// concurrent RemoveTask waiting until the call has returned.
void AFPulseTaskManager::RunDueTasks() {
  const int32_t now = Now();
  while (AFPulseTask* task = NextTask()) {
    uint64_t due = task->mDue.load(std::memory_order_acquire);
    if (AFPulseTask::DueTimeOf(due) > now) continue;
    tPulsingTask = task;
    const int32_t delay = task->Pulse();
    tPulsingTask = nullptr;
    // A task that removed itself may be deleted already.
    if (std::exchange(mRemovedWhilePulsing, false)) continue;
    // A CallAgainIn during the call has changed the count: its time stands.
    task->mDue.compare_exchange_strong(
        due, AFPulseTask::WithDueTime(due, delay == INT_MAX ? INT_MAX : DueAfter(now, delay)),
        std::memory_order_acq_rel);
  }
}
