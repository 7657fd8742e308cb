#pragma once
// Pulse tasks: objects called back on a background thread when their due
// time comes, for work that must not wait for the stage's frames (reading
// film and sound data ahead). A manager keeps its tasks in the order they
// were added and runs them on its own thread, which sleeps on an event until
// the earliest due time or until somebody wakes it.

#include "foundation/al/ALCriticalSection.h"
#include "foundation/uu/UUList.h"
#include "platform/win32/kernel.h"

#include <atomic>
#include <climits>
#include <cstdint>

class AFPulseTaskManager;
class WinAFPulseTaskThread;

class AFPulseTask {
 public:
  AFPulseTask() = default;
  virtual ~AFPulseTask() = default;
  AFPulseTask(const AFPulseTask&) = delete;
  AFPulseTask& operator=(const AFPulseTask&) = delete;

  // One step of the task's work, on the pulse thread; answers the delay in
  // milliseconds until the next call, INT_MAX for none until woken.
  virtual int32_t Pulse() = 0;

  // Due n milliseconds from now, and wakes the manager. The task must be in
  // a manager.
  void CallAgainIn(int32_t n);
  // On the ALMilliseconds clock; INT_MAX means never.
  int32_t GetDueTime() const { return DueTimeOf(mDue.load(std::memory_order_acquire)); }
  AFPulseTaskManager* GetManager() const { return mManager.load(std::memory_order_acquire); }

 private:
  friend class AFPulseTaskManager;

  // The due time in the low word and, in the high word, a count of the
  // CallAgainIn calls: the pulse thread sets the time a call answered only
  // when no CallAgainIn came during the call, so that no wake is lost.
  static int32_t DueTimeOf(uint64_t due) {
    return static_cast<int32_t>(static_cast<uint32_t>(due));
  }
  static uint64_t WithDueTime(uint64_t due, int32_t time) {
    return (due & ~uint64_t{UINT32_MAX}) | static_cast<uint32_t>(time);
  }
  std::atomic<uint64_t> mDue{static_cast<uint32_t>(INT_MAX)};
  std::atomic<AFPulseTaskManager*> mManager{nullptr};
};

class AFPulseTaskManager {
 public:
  AFPulseTaskManager();
  // Stops a thread that still runs. Tasks still in the list are not deleted.
  virtual ~AFPulseTaskManager();
  AFPulseTaskManager(const AFPulseTaskManager&) = delete;
  AFPulseTaskManager& operator=(const AFPulseTaskManager&) = delete;

  // Starts the pulse thread (stopping one that still runs).
  void Start();
  // Ends the pulse thread and waits for it.
  void Stop();
  bool IsRunning() const { return mThread != nullptr; }

  // The task is due at once.
  void AddTask(AFPulseTask* task);
  // Once this returns, the pulse thread is not inside the task's Pulse and
  // will not call it again, so the caller may delete it. A task may remove
  // (and delete) itself from its own Pulse. A task that is not in the list
  // is ignored.
  void RemoveTask(AFPulseTask* task);
  // The smallest due time of all tasks, INT_MAX when there are none.
  int32_t EarliestDue();
  // One pass: calls every task whose due time has come.
  virtual void RunDueTasks();

  // For the pulse thread.
  bool IsStopping() const { return mStop.load(std::memory_order_acquire); }
  HANDLE GetWakeEvent() const { return mWakeEvent; }
  void Wake() { SetEvent(mWakeEvent); }

 private:
  // The next task of the current pass, null when the pass has ended.
  AFPulseTask* NextTask();

  UUList<AFPulseTask*> mTasks;
  UUUntypedListNode* mCursor;
  ALCriticalSection mLock;
  UUUntypedListNode* mRemovalMark;
  // Set when a task removed itself during its Pulse; only the thread running
  // the pass touches it.
  bool mRemovedWhilePulsing = false;
  WinAFPulseTaskThread* mThread = nullptr;
  std::atomic<bool> mStop{false};
  HANDLE mWakeEvent;
};
