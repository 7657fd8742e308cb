#include "foundation/al/ALThread.h"

void ALRegisterMainThread();

namespace {

DWORD gThreadSlot = TLS_OUT_OF_INDEXES;
ALMainThread gMainThread;

// Registers the main thread before the program's entry function runs, and
// frees the slot at static destruction.
struct MainThreadRegistration {
  MainThreadRegistration() { ALRegisterMainThread(); }
  ~MainThreadRegistration() {
    TlsFree(gThreadSlot);
    gThreadSlot = TLS_OUT_OF_INDEXES;
  }
};

}  // namespace

void ALRegisterMainThread() {
  gMainThread.mThreadId = 0;
  gThreadSlot = TlsAlloc();
  TlsSetValue(gThreadSlot, &gMainThread);
  gMainThread.mThreadId = GetCurrentThreadId();
}

static MainThreadRegistration gMainThreadRegistration;

ALUserThread::ALUserThread() {
  unsigned* threadId = &mThreadId;
  mThreadHandle = reinterpret_cast<HANDLE>(
      _beginthreadex(nullptr, 0, &ALUserThread::ThreadProcedure, this, CREATE_SUSPENDED, threadId));
}

ALUserThread::~ALUserThread() {
  if (mThreadHandle != nullptr) CloseHandle(mThreadHandle);
}

unsigned ALUserThread::ThreadProcedure(void* argument) {
  auto* thread = static_cast<ALUserThread*>(argument);
  TlsSetValue(gThreadSlot, thread);
  thread->mThreadId = GetCurrentThreadId();
  thread->Run();
  return 0;
}

DWORD ALUserThread::Start() {
  mStarted = true;
  return ResumeThread(mThreadHandle);
}

ALThreadState ALUserThread::GetState() const {
  if (mThreadHandle == nullptr) return kALThreadNone;
  if (!mStarted) return kALThreadCreated;
  return WaitForSingleObject(mThreadHandle, 0) == WAIT_TIMEOUT ? kALThreadRunning
                                                               : kALThreadFinished;
}

DWORD ALUserThread::WaitForExit() { return WaitForSingleObject(mThreadHandle, INFINITE); }

ALThread* ALCurrentThread() { return static_cast<ALThread*>(TlsGetValue(gThreadSlot)); }

void ALSetCurrentThread(ALThread* thread) { TlsSetValue(gThreadSlot, thread); }

ALMainThread* ALGetMainThread() { return &gMainThread; }

void ALYield() { Sleep(0); }
