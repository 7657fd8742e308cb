#pragma once

#include "foundation/al/ALThread.h"
#include "mm/tasks/MMAbstractThread.h"
#include "platform/win32/kernel.h"

#include <cstdint>

// A thread whose body is straight-line code on a real thread of its own,
// in strict hand-off with the stage thread over two auto-reset events:
// each step of the stage thread lets the body run until it sleeps, and
// only one of the two runs at any moment, so the body may use everything
// the stage thread may use. A derived class stops the thread (Terminate)
// in its own destructor, while the parts its body uses still exist; a
// body still waiting when this base is destroyed is let run to its end
// (its sleeps answering false) rather than left blocked.
class MMCooperativeThread : public MMAbstractThread {
 public:
  explicit MMCooperativeThread(MMTaskClient* client) : MMAbstractThread(client) {}
  ~MMCooperativeThread() override;

  // Lets the body run until it sleeps or returns; the first step starts
  // the body's thread, and a thread that cannot be created ends at once.
  bool RunStep(int32_t* wakeTime) override;
  virtual bool StartThread();
  // Waits for the body's thread to end, then closes it and its event.
  virtual void CloseThread();
  // Runs on the body's thread; returns once a sleep answers false.
  virtual void Body() = 0;

 protected:
  // From the body: names the next step's client time (INT_MAX: until
  // woken), hands control to the stage thread and waits to be resumed.
  // Answers false once the thread is stopping: the body should return.
  bool Sleep(int32_t delay);
  bool SleepUntil(int32_t clientTime);
  // From the body: hands control back without naming a wake time (the
  // thread then waits until woken).
  void HandBack();
  // From the stage side: lets the body run until it hands back.
  void ResumeBody(bool keepRunning);

  bool HasBodyThread() const { return mThreadHandle != nullptr; }

 private:
  static unsigned ThreadProcedure(void* argument);
  void WaitForStage();

  bool mKeepRunning = false;
  bool mFinished = false;
  int32_t* mWakeTimeOut = nullptr;
  HANDLE mThreadHandle = nullptr;
  HANDLE mThreadEvent = nullptr;
  HANDLE mStageEvent = nullptr;
  // The stage thread's object: the body counts as the stage thread.
  ALThread* mThreadObject = nullptr;
};
