// Handles, events and waiting on them.

#include "platform/win32/KernelObject.h"

#include <thread>
#include <unordered_map>
#include <vector>

namespace vpl::platform {
namespace {

std::mutex& HandleMutex() {
  static std::mutex mutex;
  return mutex;
}

std::unordered_map<HANDLE, std::shared_ptr<KernelObject>>& HandleTable() {
  static auto* table = new std::unordered_map<HANDLE, std::shared_ptr<KernelObject>>;
  return *table;
}

class Event final : public KernelObject {
 public:
  Event(bool manualReset, bool signaled) : mManualReset(manualReset), mSignaled(signaled) {}
  bool IsSignaled() const override { return mSignaled; }
  void Consume() override {
    if (!mManualReset) mSignaled = false;
  }
  void Set(bool signaled) { mSignaled = signaled; }

 private:
  bool mManualReset;
  bool mSignaled;
};

}  // namespace

// Never destroyed: a thread that has just finished may still notify while
// the process exits.
std::mutex& WaitMutex() {
  static auto* mutex = new std::mutex;
  return *mutex;
}

std::condition_variable& WaitCondition() {
  static auto* condition = new std::condition_variable;
  return *condition;
}

void NotifyWaiters() { WaitCondition().notify_all(); }

namespace {

// Changed under the wait mutex.
size_t gSleepingObjectWaits = 0;
uint64_t gObjectWaitWakeUps = 0;

}  // namespace

void KernelObject::RemoveWaiter(std::condition_variable* waiter) { std::erase(mWaiters, waiter); }

void KernelObject::WakeWaiters() const {
  for (std::condition_variable* waiter : mWaiters) {
    ++gObjectWaitWakeUps;
    waiter->notify_one();
  }
}

size_t SleepingObjectWaits() {
  std::lock_guard lock(WaitMutex());
  return gSleepingObjectWaits;
}

uint64_t ObjectWaitWakeUps() {
  std::lock_guard lock(WaitMutex());
  return gObjectWaitWakeUps;
}

HANDLE RegisterHandle(std::shared_ptr<KernelObject> object) {
  HANDLE handle = object.get();
  std::lock_guard lock(HandleMutex());
  HandleTable()[handle] = std::move(object);
  return handle;
}

std::shared_ptr<KernelObject> LookUpHandle(HANDLE handle) {
  std::lock_guard lock(HandleMutex());
  auto found = HandleTable().find(handle);
  return found == HandleTable().end() ? nullptr : found->second;
}

WaitClock::time_point WaitDeadline(DWORD milliseconds) {
  if (milliseconds == INFINITE) return WaitClock::time_point::max();
  return WaitClock::now() + std::chrono::milliseconds(milliseconds);
}

}  // namespace vpl::platform

using namespace vpl::platform;

BOOL CloseHandle(HANDLE handle) {
  std::shared_ptr<KernelObject> released;  // destroyed outside the table lock
  {
    std::lock_guard lock(HandleMutex());
    auto found = HandleTable().find(handle);
    if (found == HandleTable().end()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return FALSE;
    }
    released = std::move(found->second);
    HandleTable().erase(found);
  }
  return TRUE;
}

HANDLE CreateEventA(void*, BOOL manualReset, BOOL initialState, LPCSTR) {
  return RegisterHandle(std::make_shared<Event>(manualReset != 0, initialState != 0));
}

static BOOL SetEventState(HANDLE handle, bool signaled) {
  auto event = LookUpHandleAs<Event>(handle);
  if (!event) {
    SetLastError(ERROR_INVALID_HANDLE);
    return FALSE;
  }
  std::lock_guard lock(WaitMutex());
  const bool wasSignaled = event->IsSignaled();
  event->Set(signaled);
  // An event signaled already has woken its waiters, and a wait begun since
  // finds it signaled before it sleeps: setting it again wakes nobody.
  if (signaled && !wasSignaled) event->WakeWaiters();
  return TRUE;
}

BOOL SetEvent(HANDLE event) { return SetEventState(event, true); }
BOOL ResetEvent(HANDLE event) { return SetEventState(event, false); }

void Sleep(DWORD milliseconds) {
  if (milliseconds == 0) {
    std::this_thread::yield();
  } else {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
  }
}

namespace {

using ObjectList = std::vector<std::shared_ptr<KernelObject>>;

DWORD SatisfyAll(const ObjectList& objects) {
  for (const auto& object : objects) {
    if (!object->IsSignaled()) return WAIT_TIMEOUT;
  }
  for (const auto& object : objects) object->Consume();
  return WAIT_OBJECT_0;
}

DWORD SatisfyAny(const ObjectList& objects) {
  for (size_t i = 0; i < objects.size(); ++i) {
    if (objects[i]->IsSignaled()) {
      objects[i]->Consume();
      return WAIT_OBJECT_0 + static_cast<DWORD>(i);
    }
  }
  return WAIT_TIMEOUT;
}

// Sleeps until the objects satisfy the wait or the deadline passes, woken
// only by its own objects.
DWORD SleepOn(const ObjectList& objects, bool all, WaitClock::time_point deadline,
              std::unique_lock<std::mutex>& lock) {
  std::condition_variable wake;
  for (const auto& object : objects) object->AddWaiter(&wake);
  ++gSleepingObjectWaits;
  DWORD satisfied = WAIT_TIMEOUT;
  for (bool timedOut = false; satisfied == WAIT_TIMEOUT && !timedOut;) {
    timedOut = !WaitUntil(wake, lock, deadline);
    satisfied = all ? SatisfyAll(objects) : SatisfyAny(objects);
  }
  --gSleepingObjectWaits;
  for (const auto& object : objects) object->RemoveWaiter(&wake);
  return satisfied;
}

}  // namespace

DWORD WaitForSingleObject(HANDLE handle, DWORD milliseconds) {
  return WaitForMultipleObjects(1, &handle, FALSE, milliseconds);
}

DWORD WaitForMultipleObjects(DWORD count, const HANDLE* handles, BOOL waitAll, DWORD milliseconds) {
  if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || handles == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  ObjectList objects;
  objects.reserve(count);
  for (DWORD i = 0; i < count; ++i) {
    objects.push_back(LookUpHandle(handles[i]));
    if (!objects.back()) {
      SetLastError(ERROR_INVALID_HANDLE);
      return WAIT_FAILED;
    }
  }
  const auto deadline = WaitDeadline(milliseconds);
  std::unique_lock lock(WaitMutex());
  DWORD satisfied = waitAll ? SatisfyAll(objects) : SatisfyAny(objects);
  if (satisfied != WAIT_TIMEOUT || milliseconds == 0) return satisfied;
  return SleepOn(objects, waitAll != FALSE, deadline, lock);
}
