#pragma once

#include "foundation/uu/UUCallback.h"
#include "foundation/uu/UUList.h"
#include "foundation/uu/UUOrderedMap.h"
#include "foundation/uu/UURefCount.h"
#include "platform/win32/kernel.h"

#include <cstdint>

class MMTaskClient;

// The stage's scheduler in virtual time. Everything that happens later in
// the framework is a task: a shared callback owned by a task client. The
// manager's time moves only when it is run (once per frame, up to the
// frame's stage time); immediate tasks run before any scheduled one, and
// among scheduled tasks due at the same time the one scheduled last runs
// first. Stage thread only; nothing here is locked.
class MMTaskManager {
 public:
  struct ImmediateTaskInfo {
    MMTaskClient* mClient;
    UURefCount<UUCallback> mCallback;
    // Whose work the task is, when the poster named one; see CancelOwner.
    const void* mOwner;
  };
  struct ScheduledTaskInfo {
    MMTaskClient* mClient;
    UURefCount<UUCallback> mCallback;
    int32_t mSequence;
    int32_t mClientTime;
    int32_t mManagerTime;
  };
  struct PausedTaskInfo {
    MMTaskClient* mClient;
    UURefCount<UUCallback> mCallback;
    int32_t mSequence;
    int32_t mClientTime;
  };

  MMTaskManager();
  ~MMTaskManager();
  MMTaskManager(const MMTaskManager&) = delete;
  MMTaskManager& operator=(const MMTaskManager&) = delete;

  int32_t GetNow() const { return mNow; }
  // The time the next task falls due: now while immediate tasks wait,
  // kMMNever when no task waits for a time (held-back tasks of paused
  // clients do not count).
  int32_t GetNextDueTime() const;
  // Auto-reset; the stage thread waits on it while a cooperative thread runs.
  HANDLE GetHandOffEvent() const { return mHandOffEvent; }

  // Runs every immediate task and every scheduled task due at or before
  // time (never those due at INT_MAX), then sets the time to it.
  void RunUntil(int32_t time);
  // Ends the current run before its next scheduled task.
  void StopRun();

  void AddImmediate(MMTaskClient* client, const UURefCount<UUCallback>& callback,
                    const void* owner = nullptr);
  void Schedule(MMTaskClient* client, const UURefCount<UUCallback>& callback, int32_t clientTime);
  // Removes the client's tasks that hold this callback object, wherever
  // they wait.
  void Cancel(MMTaskClient* client, const UUCallback* callback);
  void CancelAll(MMTaskClient* client);
  // Removes the immediate tasks posted on behalf of the owner, whichever
  // client holds them: an object that goes takes back the work it queued.
  void CancelOwner(const void* owner);

  // Hold back and bring back a client's scheduled tasks; for the client's
  // own Pause and Resume.
  void PauseClient(MMTaskClient* client);
  void ResumeClient(MMTaskClient* client);

 private:
  static const void* ScheduledKey(const ScheduledTaskInfo* task) { return task; }
  static bool ScheduledBefore(const void* a, const void* b);

  int32_t NextSequence();
  bool RunNextImmediate();
  bool RunNextScheduled(int32_t time);
  template <typename Match>
  void RemoveTasks(Match match);

  int32_t mNow = 0;
  int32_t mNextSequence = 0;
  bool mStopRequested = false;
  UUList<ImmediateTaskInfo> mImmediateQueue;
  UUList<ImmediateTaskInfo> mImmediateRunList;
  UUOrderedMap<ScheduledTaskInfo> mScheduledTasks;
  UUList<PausedTaskInfo> mPausedTasks;
  HANDLE mHandOffEvent;
};
