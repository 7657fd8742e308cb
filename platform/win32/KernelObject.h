#pragma once
// Internal to the platform layer: the waitable kernel objects behind handles.
// Every wait in the layer sleeps on one condition variable that is notified
// whenever any object's state changes; the objects are few and a broadcast
// keeps WaitForMultipleObjects and the message waits simple and correct.

#include "platform/win32/kernel.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

namespace vpl::platform {

class KernelObject {
 public:
  virtual ~KernelObject() = default;
  // Called with the wait mutex held.
  virtual bool IsSignaled() const = 0;
  // Called with the wait mutex held when a wait is satisfied by this object.
  virtual void Consume() {}
};

std::mutex& WaitMutex();
std::condition_variable& WaitCondition();
// Wakes every waiter so it can test its objects again. Call after changing a
// waitable state under WaitMutex (or with it released: both are safe).
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

// Waits on WaitCondition until notified or the deadline; false at the deadline.
inline bool WaitUntil(std::unique_lock<std::mutex>& lock, WaitClock::time_point deadline) {
  if (deadline == WaitClock::time_point::max()) {
    WaitCondition().wait(lock);
    return true;
  }
  return WaitCondition().wait_until(lock, deadline) == std::cv_status::no_timeout;
}

}  // namespace vpl::platform
