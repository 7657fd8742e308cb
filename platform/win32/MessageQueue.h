#pragma once
// Internal to the platform layer: the per-thread message queues. A queue's
// state is guarded by the layer's wait mutex, so that waits for messages and
// for kernel objects share one condition variable.

#include "platform/win32/KernelObject.h"
#include "platform/win32/user.h"

#include <deque>
#include <memory>

namespace vpl::platform {

class MessageQueue {
 public:
  explicit MessageQueue(DWORD threadId) : mThreadId(threadId) {}

  DWORD ThreadId() const { return mThreadId; }

  // The following are called with the wait mutex held.
  void Post(const MSG& message);
  void PostQuit(int exitCode);
  // Takes (or copies) the first message that passes the filter.
  bool Take(MSG& message, HWND window, UINT filterMin, UINT filterMax, bool remove);
  // True when something arrived that the thread has not looked at yet.
  bool HasNewMessages() const { return mNewMessages; }

 private:
  DWORD mThreadId;
  std::deque<MSG> mPosted;
  bool mQuitPosted = false;
  int mQuitCode = 0;
  bool mNewMessages = false;
};

// The calling thread's queue, made on first use.
std::shared_ptr<MessageQueue> CurrentQueue();
// The queue of another thread, or null when that thread has none.
std::shared_ptr<MessageQueue> QueueOfThread(DWORD threadId);

}  // namespace vpl::platform
