#pragma once

#include "foundation/uu/UUCallback.h"
#include "foundation/uu/UURefCount.h"
#include "mm/tasks/MMTaskCallback.h"

#include <cstdint>

class MMTaskClient;

// Behaviour that runs in steps on a task client's clock: each step runs as
// a task on the stage thread and names the client time of the next step,
// or INT_MAX to wait until woken. The steps stop with the clock when the
// client is paused. Deleting a thread that is not stopped cancels its
// pending step (without a final step), so its client must still exist then.
class MMAbstractThread {
 public:
  enum State : int32_t {
    kStopped = 0,
    kStarted = 1,   // the first step is queued
    kRunning = 2,   // has stepped
    kStopping = 3,  // the final step is in progress
  };

  explicit MMAbstractThread(MMTaskClient* client);
  virtual ~MMAbstractThread();
  MMAbstractThread(const MMAbstractThread&) = delete;
  MMAbstractThread& operator=(const MMAbstractThread&) = delete;

  // Stops the thread unless it is stopped.
  virtual void Terminate();
  // One step; stores the client time of the next step in *wakeTime and
  // answers whether the thread goes on.
  virtual bool RunStep(int32_t* wakeTime) = 0;
  // Called when a running thread goes to sleep until woken, and when it is
  // woken again.
  virtual void OnSuspend() {}
  virtual void OnResume() {}

  // Queues the first step to run at the manager's next run.
  void Start();
  // Cancels the pending step; a thread that has stepped gets one final step
  // in the stopping state (the wake time it names is ignored).
  void Stop();
  // The next step at that client time; INT_MAX waits until woken.
  void WakeAt(int32_t clientTime);
  void WakeIn(int32_t delay);
  void WakeNow();
  // As WakeAt, without cancelling a step already pending.
  void ScheduleStepAt(int32_t clientTime);
  void Suspend();

  // Bindings that start, stop, suspend or wake the thread when posted.
  MMTaskCallback MakeStartCallback();
  MMTaskCallback MakeStopCallback();
  MMTaskCallback MakeSuspendCallback();
  MMTaskCallback MakeWakeCallback();

  MMTaskClient* GetTaskClient() const { return mTaskClient; }
  State GetState() const { return mState; }
  bool IsSuspended() const { return mSuspended; }

 private:
  using Member = void (MMAbstractThread::*)();

  MMTaskCallback MakeCallback(Member member);
  void RunStepTask();
  void CancelPendingStep();
  // Sets the suspended flag and, for a running thread, calls the hook of
  // the change.
  void SetSuspended(bool suspended);
  void Schedule(int32_t clientTime, bool cancelPending);

  MMTaskClient* mTaskClient;
  UURefCount<UUCallback> mStepCallback;
  State mState = kStopped;
  bool mSuspended = false;
};
