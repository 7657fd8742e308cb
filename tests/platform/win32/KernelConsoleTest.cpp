// The host's termination requests as console events: which event each
// signal is, that the handler runs on a thread of its own, and how the
// process ends when a handler takes the request, refuses it, or takes it
// and does not end. Each request runs in a process of its own.

#include "platform/win32/kernel.h"

#include <signal.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

// A handler that saw the event on the requesting thread ends with this.
constexpr int kSameThread = 100;
constexpr int kEventCodeBase = 10;

HANDLE gTaken = nullptr;
DWORD gEvent = 0;
DWORD gHandlerThread = 0;

BOOL Take(DWORD event) {
  gEvent = event;
  gHandlerThread = GetCurrentThreadId();
  SetEvent(gTaken);
  return TRUE;
}

BOOL Refuse(DWORD) { return FALSE; }

[[noreturn]] void WaitForTheEnd() {
  for (;;) pause();
}

// The program's way: the handler asks, the main thread ends by itself.
[[noreturn]] void RequestAndEnd(int signal) {
  gTaken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  SetConsoleCtrlHandler(Take, TRUE);
  raise(signal);
  WaitForSingleObject(gTaken, INFINITE);
  std::_Exit(gHandlerThread == GetCurrentThreadId() ? kSameThread
                                                    : kEventCodeBase + static_cast<int>(gEvent));
}

// Taken, but the program does not end: a second request ends it.
[[noreturn]] void RequestTwice(int signal) {
  gTaken = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  SetConsoleCtrlHandler(Take, TRUE);
  raise(signal);
  WaitForSingleObject(gTaken, INFINITE);
  raise(signal);
  WaitForTheEnd();
}

[[noreturn]] void RequestRefused(int signal) {
  SetConsoleCtrlHandler(Take, TRUE);
  SetConsoleCtrlHandler(Take, FALSE);
  SetConsoleCtrlHandler(Refuse, TRUE);
  raise(signal);
  WaitForTheEnd();
}

struct SignalCase {
  int signal;
  DWORD event;
};

const std::vector<SignalCase> kCases = {
    {SIGINT, CTRL_C_EVENT}, {SIGHUP, CTRL_CLOSE_EVENT}, {SIGTERM, CTRL_SHUTDOWN_EVENT}};

class KernelConsoleTest : public ::testing::Test {
 protected:
  // The test program runs threads: each process starts anew.
  void SetUp() override { GTEST_FLAG_SET(death_test_style, "threadsafe"); }
};

TEST_F(KernelConsoleTest, EachRequestReachesTheHandlerOnAThreadOfItsOwnAsItsEvent) {
  for (const SignalCase& c : kCases) {
    SCOPED_TRACE(std::to_string(c.signal));
    EXPECT_EXIT(RequestAndEnd(c.signal),
                ::testing::ExitedWithCode(kEventCodeBase + static_cast<int>(c.event)), "");
  }
}

TEST_F(KernelConsoleTest, ARequestNoHandlerTakesEndsTheProcessAsTheSignalWould) {
  for (const SignalCase& c : kCases) {
    SCOPED_TRACE(std::to_string(c.signal));
    EXPECT_EXIT(RequestRefused(c.signal), ::testing::KilledBySignal(c.signal), "");
  }
}

TEST_F(KernelConsoleTest, ASecondRequestEndsAProcessThatDidNotEnd) {
  EXPECT_EXIT(RequestTwice(SIGTERM), ::testing::KilledBySignal(SIGTERM), "");
}

TEST_F(KernelConsoleTest, RefusesANullHandlerAndRemovingOneNeverAdded) {
  SetLastError(ERROR_SUCCESS);
  EXPECT_FALSE(SetConsoleCtrlHandler(nullptr, TRUE));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
  SetLastError(ERROR_SUCCESS);
  EXPECT_FALSE(SetConsoleCtrlHandler(Refuse, FALSE));
  EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

}  // namespace
