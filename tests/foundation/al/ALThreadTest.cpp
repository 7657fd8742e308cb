#include "foundation/al/ALThread.h"

#include <gtest/gtest.h>

#include <atomic>

namespace {

// Records which object ALCurrentThread answers on the new thread, then
// waits on an event so the test can observe the running state.
class ProbeThread : public ALUserThread {
 public:
  ProbeThread() : mRelease(CreateEventA(nullptr, TRUE, FALSE, nullptr)) {}
  ~ProbeThread() override { CloseHandle(mRelease); }
  void Run() override {
    mSeenSelf = ALCurrentThread();
    mSeenId = GetCurrentThreadId();
    mRuns.fetch_add(1);
    WaitForSingleObject(mRelease, INFINITE);
  }
  HANDLE mRelease;
  std::atomic<int> mRuns{0};
  ALThread* mSeenSelf = nullptr;
  DWORD mSeenId = 0;
};

TEST(ALThreadTest, MainThreadIsRegisteredBeforeMain) {
  EXPECT_EQ(ALCurrentThread(), ALGetMainThread());
  EXPECT_EQ(ALGetMainThread()->GetThreadId(), GetCurrentThreadId());
}

TEST(ALThreadTest, UserThreadStartsSuspendedRunsAndFinishes) {
  ProbeThread thread;
  EXPECT_EQ(thread.GetState(), kALThreadCreated);
  EXPECT_NE(thread.GetThreadId(), 0u);
  EXPECT_EQ(thread.mRuns.load(), 0);

  EXPECT_EQ(thread.Start(), 1u);  // the previous suspend count
  EXPECT_EQ(thread.GetState(), kALThreadRunning);
  SetEvent(thread.mRelease);
  EXPECT_EQ(thread.WaitForExit(), WAIT_OBJECT_0);

  EXPECT_EQ(thread.GetState(), kALThreadFinished);
  EXPECT_EQ(thread.mRuns.load(), 1);
  EXPECT_EQ(thread.mSeenSelf, &thread);
  EXPECT_EQ(thread.mSeenId, thread.GetThreadId());
  EXPECT_EQ(ALCurrentThread(), ALGetMainThread());
}

}  // namespace
