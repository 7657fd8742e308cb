#pragma once

#include "foundation/uu/UUCallback.h"
#include "foundation/uu/UURefCount.h"

#include <cstdint>

class MMTaskManager;

// A clock and a task owner on one task manager (the stage, every scene and
// every film player has one). Pausing is nested: while paused the clock
// stands still and the client's scheduled tasks are held back; on the last
// resume they come back shifted by the paused interval. A new client's
// clock starts at 0.
class MMTaskClient {
 public:
  explicit MMTaskClient(MMTaskManager* manager);
  // Cancels every task of this client.
  ~MMTaskClient();
  MMTaskClient(const MMTaskClient&) = delete;
  MMTaskClient& operator=(const MMTaskClient&) = delete;

  MMTaskManager* GetManager() const { return mManager; }
  int32_t GetTime() const;
  bool IsPaused() const { return mPauseDepth > 0; }

  // Between the client's clock and the manager's, as while running.
  int32_t ToManagerTime(int32_t clientTime) const;
  int32_t ToClientTime(int32_t managerTime) const;

  // The owner, when given, can take the task back (MMTaskManager::CancelOwner).
  void AddImmediateTask(const UURefCount<UUCallback>& callback, const void* owner = nullptr);
  // A time in the past runs at the manager's next run; INT_MAX never runs.
  void ScheduleTask(const UURefCount<UUCallback>& callback, int32_t clientTime);
  // Cancels the tasks of this client that hold this very callback object.
  void CancelTasks(const UURefCount<UUCallback>& callback);
  void CancelAllTasks();

  void Pause();
  // A resume without a matching pause does nothing.
  void Resume();

 private:
  MMTaskManager* mManager;
  int32_t mPauseDepth = 0;
  int32_t mResumeManagerTime;
  int32_t mFrozenClientTime = 0;
};
