#pragma once
// The system's thread objects. Every thread the system starts is an
// ALUserThread created suspended and started explicitly; the main thread is
// one static ALMainThread. Each thread finds its own object through one
// thread-local slot.

#include "platform/win32/kernel.h"

#include <cstdint>

class ALThread {
 public:
  ALThread() = default;
  virtual ~ALThread() = default;
  ALThread(const ALThread&) = delete;
  ALThread& operator=(const ALThread&) = delete;

  // 0 until the thread is known.
  uint32_t GetThreadId() const { return mThreadId; }

 protected:
  uint32_t mThreadId = 0;

  friend void ALRegisterMainThread();
};

class ALMainThread : public ALThread {
 public:
  ~ALMainThread() override = default;
};

enum ALThreadState : int32_t {
  kALThreadNone = 0,     // creation failed: no handle
  kALThreadCreated = 1,  // suspended, not started
  kALThreadRunning = 2,
  kALThreadFinished = 3
};

// Owners stop the thread by a flag of their own, wait with WaitForExit and
// only then delete the object: the destructor neither stops nor waits.
class ALUserThread : public ALThread {
 public:
  ALUserThread();
  ~ALUserThread() override;

  virtual void Run() = 0;

  // Resumes the suspended thread; answers ResumeThread's result.
  DWORD Start();
  ALThreadState GetState() const;
  // Waits without time limit; answers WaitForSingleObject's result.
  DWORD WaitForExit();

 private:
  static unsigned ThreadProcedure(void* argument);

  HANDLE mThreadHandle = nullptr;
  bool mStarted = false;
};

// The calling thread's object; null on a thread the system did not start.
ALThread* ALCurrentThread();
// Makes the calling thread answer the given object from ALCurrentThread: a
// thread that works on behalf of another (a cooperative body on behalf of
// the stage thread) takes that thread's object.
void ALSetCurrentThread(ALThread* thread);
ALMainThread* ALGetMainThread();
// Gives the processor to another ready thread.
void ALYield();
