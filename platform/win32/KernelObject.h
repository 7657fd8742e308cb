#pragma once
// Internal to the platform layer: the waitable kernel objects behind handles.
// A wait on kernel objects sleeps on a condition variable of its own that
// each of its objects holds while it waits, so that an object made
// signalled wakes only the waits on it: a busy event never wakes the
// threads that wait on others. The message and thread-start waits sleep on
// one condition variable that is notified whenever their state changes.

#include "platform/win32/kernel.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <vector>

namespace vpl::platform {

class KernelObject {
 public:
  virtual ~KernelObject() = default;
  // Called with the wait mutex held.
  virtual bool IsSignaled() const = 0;
  // Called with the wait mutex held when a wait is satisfied by this object.
  virtual void Consume() {}

  // The waits sleeping on this object, added and removed under the wait
  // mutex by the waits themselves.
  void AddWaiter(std::condition_variable* waiter) { mWaiters.push_back(waiter); }
  void RemoveWaiter(std::condition_variable* waiter);
  // Wakes the waits sleeping on this object to test their objects again.
  // Call with the wait mutex held after making the object signalled: a wait
  // cannot leave, and take its condition variable away, meanwhile.
  void WakeWaiters() const;

 private:
  std::vector<std::condition_variable*> mWaiters;
};

std::mutex& WaitMutex();
std::condition_variable& WaitCondition();
// Wakes every wait on WaitCondition so it can test its state again. Call
// after changing such a state under WaitMutex (or with it released: both
// are safe).
void NotifyWaiters();

// Registers an object and answers its handle; the handle keeps it alive.
HANDLE RegisterHandle(std::shared_ptr<KernelObject> object);
// The object of a live handle, or null.
std::shared_ptr<KernelObject> LookUpHandle(HANDLE handle);

template <typename T>
std::shared_ptr<T> LookUpHandleAs(HANDLE handle) {
  return std::dynamic_pointer_cast<T>(LookUpHandle(handle));
}

// The deadline of a wait of the given milliseconds (INFINITE: none).
using WaitClock = std::chrono::steady_clock;
WaitClock::time_point WaitDeadline(DWORD milliseconds);

}  // namespace vpl::platform

namespace vpl::platform {

// Waits on the condition until notified or the deadline; false at the deadline.
inline bool WaitUntil(std::condition_variable& condition, std::unique_lock<std::mutex>& lock,
                      WaitClock::time_point deadline) {
  if (deadline == WaitClock::time_point::max()) {
    condition.wait(lock);
    return true;
  }
  return condition.wait_until(lock, deadline) == std::cv_status::no_timeout;
}

// Waits on WaitCondition until notified or the deadline; false at the deadline.
inline bool WaitUntil(std::unique_lock<std::mutex>& lock, WaitClock::time_point deadline) {
  return WaitUntil(WaitCondition(), lock, deadline);
}

// For tests: how many waits on kernel objects sleep now, and how many times
// a sleeping wait has been woken by one of its objects since the start.
size_t SleepingObjectWaits();
uint64_t ObjectWaitWakeUps();

}  // namespace vpl::platform
