#include "platform/win32/KernelObject.h"
#include "platform/win32/kernel.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

namespace {

constexpr DWORD kGenerous = 10000;

std::atomic<int> gRuns{0};
DWORD CountRun(LPVOID parameter) {
  ++gRuns;
  return static_cast<DWORD>(reinterpret_cast<uintptr_t>(parameter));
}

TEST(KernelThreadTest, SuspendedThreadRunsOnlyAfterResume) {
  gRuns = 0;
  DWORD id = 0;
  HANDLE thread =
      CreateThread(nullptr, 0, CountRun, reinterpret_cast<LPVOID>(42), CREATE_SUSPENDED, &id);
  ASSERT_NE(thread, nullptr);
  EXPECT_NE(id, 0u);
  EXPECT_NE(id, GetCurrentThreadId());
  EXPECT_EQ(WaitForSingleObject(thread, 0), WAIT_TIMEOUT);
  EXPECT_EQ(gRuns, 0);
  EXPECT_EQ(ResumeThread(thread), 1u);
  EXPECT_EQ(WaitForSingleObject(thread, kGenerous), WAIT_OBJECT_0);
  EXPECT_EQ(gRuns, 1);
  DWORD exitCode = 0;
  EXPECT_TRUE(GetExitCodeThread(thread, &exitCode));
  EXPECT_EQ(exitCode, 42u);
  EXPECT_TRUE(CloseHandle(thread));
  EXPECT_FALSE(CloseHandle(thread));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST(KernelThreadTest, AutoResetEventWakesOneWaitManualResetStaysSet) {
  HANDLE autoEvent = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  HANDLE manualEvent = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  EXPECT_EQ(WaitForSingleObject(autoEvent, 0), WAIT_TIMEOUT);
  SetEvent(autoEvent);
  SetEvent(manualEvent);
  EXPECT_EQ(WaitForSingleObject(autoEvent, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(autoEvent, 0), WAIT_TIMEOUT);
  EXPECT_EQ(WaitForSingleObject(manualEvent, 0), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(manualEvent, 0), WAIT_OBJECT_0);
  ResetEvent(manualEvent);
  EXPECT_EQ(WaitForSingleObject(manualEvent, 1), WAIT_TIMEOUT);
  CloseHandle(autoEvent);
  CloseHandle(manualEvent);
}

TEST(KernelThreadTest, WaitForMultipleAnswersTheFirstSignalledOrAll) {
  HANDLE events[2] = {CreateEventA(nullptr, TRUE, FALSE, nullptr),
                      CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  SetEvent(events[1]);
  EXPECT_EQ(WaitForMultipleObjects(2, events, FALSE, 0), WAIT_OBJECT_0 + 1);
  EXPECT_EQ(WaitForMultipleObjects(2, events, TRUE, 0), WAIT_TIMEOUT);
  SetEvent(events[0]);
  EXPECT_EQ(WaitForMultipleObjects(2, events, TRUE, 0), WAIT_OBJECT_0);
  HANDLE bogus[1] = {reinterpret_cast<HANDLE>(0x1234)};
  EXPECT_EQ(WaitForMultipleObjects(1, bogus, FALSE, 0), WAIT_FAILED);
  CloseHandle(events[0]);
  CloseHandle(events[1]);
}

HANDLE gWake = nullptr;
DWORD SetWakeEvent(LPVOID) {
  SetEvent(gWake);
  return 0;
}

TEST(KernelThreadTest, AnotherThreadWakesAnInfiniteWait) {
  gWake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  HANDLE thread = CreateThread(nullptr, 0, SetWakeEvent, nullptr, 0, nullptr);
  EXPECT_EQ(WaitForSingleObject(gWake, INFINITE), WAIT_OBJECT_0);
  EXPECT_EQ(WaitForSingleObject(thread, kGenerous), WAIT_OBJECT_0);
  CloseHandle(thread);
  CloseHandle(gWake);
}

// A waiting thread, on objects made signalled one by one.
struct Waiter {
  Waiter(std::vector<HANDLE> waitedOn, BOOL all)
      : handles(std::move(waitedOn)), thread([this, all] {
          answer = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), all,
                                          INFINITE);
        }) {}
  std::vector<HANDLE> handles;
  std::atomic<DWORD> answer{WAIT_FAILED};
  std::thread thread;
};

void AwaitSleepingWaits(size_t count) {
  while (vpl::platform::SleepingObjectWaits() < count) std::this_thread::yield();
}

// Setting an event wakes the waits on it, a wait on several objects on any
// of them, and a wait for all of them on each until all are set; no other.
TEST(KernelThreadTest, AnEventWakesOnlyTheWaitsOnIt) {
  HANDLE events[5];
  for (HANDLE& event : events) event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
  HANDLE unwaited = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  const size_t sleeping = vpl::platform::SleepingObjectWaits();
  Waiter one({events[0]}, FALSE);
  Waiter either({events[1], events[2]}, FALSE);
  Waiter both({events[3], events[4]}, TRUE);
  AwaitSleepingWaits(sleeping + 3);
  const uint64_t wakeUps = vpl::platform::ObjectWaitWakeUps();
  SetEvent(unwaited);
  EXPECT_EQ(vpl::platform::ObjectWaitWakeUps(), wakeUps);
  SetEvent(events[2]);
  either.thread.join();
  EXPECT_EQ(either.answer, WAIT_OBJECT_0 + 1);
  EXPECT_EQ(vpl::platform::ObjectWaitWakeUps(), wakeUps + 1);
  SetEvent(events[3]);
  EXPECT_EQ(vpl::platform::ObjectWaitWakeUps(), wakeUps + 2);
  EXPECT_EQ(both.answer, WAIT_FAILED);
  SetEvent(events[4]);
  both.thread.join();
  EXPECT_EQ(both.answer, WAIT_OBJECT_0);
  EXPECT_EQ(vpl::platform::ObjectWaitWakeUps(), wakeUps + 3);
  SetEvent(events[0]);
  one.thread.join();
  EXPECT_EQ(one.answer, WAIT_OBJECT_0);
  EXPECT_EQ(vpl::platform::ObjectWaitWakeUps(), wakeUps + 4);
  // The wait for all took both auto-reset events.
  EXPECT_EQ(WaitForMultipleObjects(2, &events[3], FALSE, 0), WAIT_TIMEOUT);
  for (HANDLE event : events) CloseHandle(event);
  CloseHandle(unwaited);
}

DWORD gSlot = TLS_OUT_OF_INDEXES;
DWORD ReadSlot(LPVOID) { return TlsGetValue(gSlot) == nullptr ? 1 : 0; }

TEST(KernelThreadTest, ThreadLocalSlotsAreSeparatePerThread) {
  gSlot = TlsAlloc();
  ASSERT_NE(gSlot, TLS_OUT_OF_INDEXES);
  int value = 0;
  EXPECT_TRUE(TlsSetValue(gSlot, &value));
  EXPECT_EQ(TlsGetValue(gSlot), &value);
  HANDLE thread = CreateThread(nullptr, 0, ReadSlot, nullptr, 0, nullptr);
  WaitForSingleObject(thread, kGenerous);
  DWORD emptyOnOtherThread = 0;
  GetExitCodeThread(thread, &emptyOnOtherThread);
  EXPECT_EQ(emptyOnOtherThread, 1u);
  CloseHandle(thread);
  EXPECT_TRUE(TlsFree(gSlot));
  EXPECT_FALSE(TlsFree(gSlot));
}

DWORD EnterTwiceAndLeave(LPVOID parameter) {
  auto* section = static_cast<CRITICAL_SECTION*>(parameter);
  EnterCriticalSection(section);
  EnterCriticalSection(section);
  LeaveCriticalSection(section);
  LeaveCriticalSection(section);
  return 0;
}

// The owner enters again without waiting for itself, and as many leaves
// free the section for another thread. Both run on threads of their own,
// so a section that blocks its owner fails the test instead of hanging it.
TEST(KernelThreadTest, CriticalSectionIsRecursive) {
  CRITICAL_SECTION section;
  InitializeCriticalSection(&section);
  for (int thread = 0; thread < 2; ++thread) {
    HANDLE worker = CreateThread(nullptr, 0, EnterTwiceAndLeave, &section, 0, nullptr);
    ASSERT_NE(worker, nullptr);
    ASSERT_EQ(WaitForSingleObject(worker, kGenerous), WAIT_OBJECT_0) << "thread " << thread;
    CloseHandle(worker);
  }
  DeleteCriticalSection(&section);
}

TEST(KernelThreadTest, PrioritiesCannotBeRaisedWithoutPrivileges) {
  HANDLE self = GetCurrentThread();
  EXPECT_EQ(GetThreadPriority(self), THREAD_PRIORITY_NORMAL);
  SetLastError(0);
  EXPECT_FALSE(SetThreadPriority(self, THREAD_PRIORITY_HIGHEST));
  EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
  EXPECT_EQ(GetThreadPriority(self), THREAD_PRIORITY_NORMAL);
  EXPECT_TRUE(SetThreadPriority(self, THREAD_PRIORITY_NORMAL));
  EXPECT_FALSE(SetThreadPriority(nullptr, THREAD_PRIORITY_NORMAL));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
  EXPECT_EQ(GetThreadPriority(nullptr), THREAD_PRIORITY_ERROR_RETURN);
}

}  // namespace
