// Threads that start suspended, thread ids and thread-local storage.

#include "platform/win32/KernelObject.h"

#include <SDL.h>

#include <array>
#include <atomic>
#include <bitset>
#include <functional>
#include <system_error>
#include <thread>

namespace vpl::platform {
namespace {

std::atomic<DWORD> gNextThreadId{1};
thread_local DWORD tThreadId = 0;

DWORD NewThreadId() { return gNextThreadId.fetch_add(1); }

// A thread waits at its start gate until its suspend count reaches zero,
// and its handle is signalled when its body has returned.
class Thread final : public KernelObject {
 public:
  explicit Thread(DWORD suspendCount) : mSuspendCount(suspendCount), mId(NewThreadId()) {}
  bool IsSignaled() const override { return mFinished; }

  DWORD Id() const { return mId; }
  DWORD ExitCode() const { return mFinished ? mExitCode : STILL_ACTIVE; }

  DWORD Resume() {
    DWORD previous;
    {
      std::lock_guard lock(WaitMutex());
      previous = mSuspendCount;
      if (mSuspendCount > 0) --mSuspendCount;
    }
    NotifyWaiters();
    return previous;
  }

  void Body(const std::function<DWORD()>& start) {
    tThreadId = mId;
    {
      std::unique_lock lock(WaitMutex());
      while (mSuspendCount > 0) WaitUntil(lock, WaitClock::time_point::max());
    }
    const DWORD exitCode = start();
    // SDL keeps state (its error text) for threads it did not make until
    // they tell it they end; a thread that drew with OpenGL has some.
    SDL_TLSCleanup();
    std::lock_guard lock(WaitMutex());
    mExitCode = exitCode;
    mFinished = true;
    WakeWaiters();
  }

 private:
  DWORD mSuspendCount;
  DWORD mId;
  DWORD mExitCode = 0;
  bool mFinished = false;
};

HANDLE StartThread(std::function<DWORD()> start, DWORD flags, DWORD* threadId) {
  auto thread = std::make_shared<Thread>((flags & CREATE_SUSPENDED) ? 1 : 0);
  try {
    std::thread([thread, start = std::move(start)] { thread->Body(start); }).detach();
  } catch (const std::system_error&) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
  }
  if (threadId) *threadId = thread->Id();
  return RegisterHandle(thread);
}

constexpr size_t kTlsSlots = 128;
std::mutex gTlsMutex;
std::bitset<kTlsSlots> gTlsInUse;
thread_local std::array<void*, kTlsSlots> tTlsValues{};

}  // namespace
}  // namespace vpl::platform

using namespace vpl::platform;

namespace {

const HANDLE kCurrentThreadPseudoHandle = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-2));

bool IsThreadHandle(HANDLE handle) {
  return handle == kCurrentThreadPseudoHandle || LookUpHandleAs<Thread>(handle) != nullptr;
}

}  // namespace

HANDLE CreateThread(void*, SIZE_T, LPTHREAD_START_ROUTINE start, LPVOID parameter, DWORD flags,
                    LPDWORD threadId) {
  return StartThread([start, parameter] { return start(parameter); }, flags, threadId);
}

uintptr_t _beginthreadex(void*, unsigned, unsigned (*start)(void*), void* parameter, unsigned flags,
                         unsigned* threadId) {
  DWORD id = 0;
  HANDLE handle = StartThread([start, parameter] { return DWORD{start(parameter)}; }, flags, &id);
  if (threadId) *threadId = id;
  return reinterpret_cast<uintptr_t>(handle);
}

DWORD ResumeThread(HANDLE handle) {
  auto thread = LookUpHandleAs<Thread>(handle);
  if (!thread) {
    SetLastError(ERROR_INVALID_HANDLE);
    return static_cast<DWORD>(-1);
  }
  return thread->Resume();
}

BOOL GetExitCodeThread(HANDLE handle, LPDWORD exitCode) {
  auto thread = LookUpHandleAs<Thread>(handle);
  if (!thread || !exitCode) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::lock_guard lock(WaitMutex());
  *exitCode = thread->ExitCode();
  return TRUE;
}

DWORD GetCurrentThreadId() {
  if (tThreadId == 0) tThreadId = NewThreadId();
  return tThreadId;
}

HANDLE GetCurrentThread() { return kCurrentThreadPseudoHandle; }

BOOL SetThreadPriority(HANDLE handle, int priority) {
  if (!IsThreadHandle(handle)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  if (priority > THREAD_PRIORITY_NORMAL) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
  }
  return TRUE;
}

int GetThreadPriority(HANDLE handle) {
  if (!IsThreadHandle(handle)) {
    SetLastError(ERROR_INVALID_HANDLE);
    return THREAD_PRIORITY_ERROR_RETURN;
  }
  return THREAD_PRIORITY_NORMAL;
}

DWORD TlsAlloc() {
  std::lock_guard lock(gTlsMutex);
  for (size_t i = 0; i < kTlsSlots; ++i) {
    if (!gTlsInUse[i]) {
      gTlsInUse[i] = true;
      return static_cast<DWORD>(i);
    }
  }
  SetLastError(ERROR_NO_MORE_ITEMS);
  return TLS_OUT_OF_INDEXES;
}

BOOL TlsFree(DWORD index) {
  std::lock_guard lock(gTlsMutex);
  if (index >= kTlsSlots || !gTlsInUse[index]) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  gTlsInUse[index] = false;
  return TRUE;
}

LPVOID TlsGetValue(DWORD index) {
  if (index >= kTlsSlots) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  SetLastError(ERROR_SUCCESS);
  return tTlsValues[index];
}

BOOL TlsSetValue(DWORD index, LPVOID value) {
  if (index >= kTlsSlots) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  tTlsValues[index] = value;
  return TRUE;
}
