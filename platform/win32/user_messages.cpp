// Per-thread message queues and the message calls over them.

#include "platform/win32/MessageQueue.h"
#include "platform/win32/winmm.h"

#include <unordered_map>

namespace vpl::platform {
namespace {

std::mutex gQueuesMutex;
std::unordered_map<DWORD, std::weak_ptr<MessageQueue>>& Queues() {
  static auto* queues = new std::unordered_map<DWORD, std::weak_ptr<MessageQueue>>;
  return *queues;
}

// Owns the thread's queue and forgets it when the thread ends.
struct QueueHolder {
  std::shared_ptr<MessageQueue> queue;
  ~QueueHolder() {
    if (!queue) return;
    std::lock_guard lock(gQueuesMutex);
    Queues().erase(queue->ThreadId());
  }
};
thread_local QueueHolder tQueue;

bool PassesFilter(const MSG& message, HWND window, UINT filterMin, UINT filterMax) {
  if (window != nullptr && message.hwnd != window) return false;
  if (filterMin == 0 && filterMax == 0) return true;
  return message.message >= filterMin && message.message <= filterMax;
}

MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return MSG{window, message, wParam, lParam, timeGetTime(), {0, 0}};
}

}  // namespace

void MessageQueue::Post(const MSG& message) {
  mPosted.push_back(message);
  mNewMessages = true;
}

void MessageQueue::PostQuit(int exitCode) {
  mQuitPosted = true;
  mQuitCode = exitCode;
  mNewMessages = true;
}

bool MessageQueue::Take(MSG& message, HWND window, UINT filterMin, UINT filterMax, bool remove) {
  mNewMessages = false;
  for (auto it = mPosted.begin(); it != mPosted.end(); ++it) {
    if (PassesFilter(*it, window, filterMin, filterMax)) {
      message = *it;
      if (remove) mPosted.erase(it);
      return true;
    }
  }
  if (mQuitPosted && mPosted.empty()) {
    message = MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(mQuitCode), 0);
    if (remove) mQuitPosted = false;
    return true;
  }
  return false;
}

std::shared_ptr<MessageQueue> CurrentQueue() {
  if (!tQueue.queue) {
    tQueue.queue = std::make_shared<MessageQueue>(GetCurrentThreadId());
    std::lock_guard lock(gQueuesMutex);
    Queues()[tQueue.queue->ThreadId()] = tQueue.queue;
  }
  return tQueue.queue;
}

std::shared_ptr<MessageQueue> QueueOfThread(DWORD threadId) {
  std::lock_guard lock(gQueuesMutex);
  auto found = Queues().find(threadId);
  return found == Queues().end() ? nullptr : found->second.lock();
}

}  // namespace vpl::platform

using namespace vpl::platform;

BOOL PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
  auto queue = CurrentQueue();
  std::lock_guard lock(WaitMutex());
  return queue->Take(*message, window, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0);
}

BOOL GetMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax) {
  if (message == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  auto queue = CurrentQueue();
  std::unique_lock lock(WaitMutex());
  while (!queue->Take(*message, window, filterMin, filterMax, true)) {
    WaitUntil(lock, WaitClock::time_point::max());
  }
  return message->message == WM_QUIT ? FALSE : TRUE;
}

BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
  auto queue = threadId == GetCurrentThreadId() ? CurrentQueue() : QueueOfThread(threadId);
  if (!queue) {
    SetLastError(ERROR_INVALID_THREAD_ID);
    return FALSE;
  }
  {
    std::lock_guard lock(WaitMutex());
    queue->Post(MakeMessage(nullptr, message, wParam, lParam));
  }
  NotifyWaiters();
  return TRUE;
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (window != nullptr) {
    // Windows and their owning threads arrive with the window manager.
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  return PostThreadMessageA(GetCurrentThreadId(), message, wParam, lParam);
}

void PostQuitMessage(int exitCode) {
  auto queue = CurrentQueue();
  {
    std::lock_guard lock(WaitMutex());
    queue->PostQuit(exitCode);
  }
  NotifyWaiters();
}

BOOL TranslateMessage(const MSG*) { return FALSE; }

LRESULT DispatchMessageA(const MSG*) { return 0; }

BOOL WaitMessage() {
  auto queue = CurrentQueue();
  std::unique_lock lock(WaitMutex());
  while (!queue->HasNewMessages()) WaitUntil(lock, WaitClock::time_point::max());
  return TRUE;
}
