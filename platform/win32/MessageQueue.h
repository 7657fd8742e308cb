#pragma once
// Internal to the platform layer: the per-thread message queues. A queue's
// state is guarded by the layer's wait mutex, so that waits for messages and
// for kernel objects share one condition variable.
//
// A queue hands out, in order: messages sent from other threads (run, never
// returned), posted messages, input, WM_QUIT, WM_PAINT, WM_TIMER.

#include "platform/win32/KernelObject.h"
#include "platform/win32/user.h"

#include <deque>
#include <functional>
#include <memory>
#include <vector>

namespace vpl::platform {

// A call that another thread asked this thread to make (a sent message, or a
// window operation that only the owning thread may do).
struct SentMessage {
  std::function<LRESULT()> call;
  LRESULT result = 0;
  bool done = false;
};

class MessageQueue {
 public:
  explicit MessageQueue(DWORD threadId) : mThreadId(threadId) {}

  DWORD ThreadId() const { return mThreadId; }

  // The following are called with the wait mutex held.
  void Post(const MSG& message);
  void PostInput(const MSG& message);
  void PostQuit(int exitCode);
  // Takes (or copies) the first posted, input or quit message of the given
  // kinds (QS_...) that passes the filter.
  bool Take(MSG& message, HWND window, UINT filterMin, UINT filterMax, bool remove,
            UINT kinds = QS_ALLINPUT);
  // True when something arrived that the thread has not looked at yet.
  bool HasNewMessages() const { return mNewMessages; }
  // Something the queue makes (a paint) became due.
  void MarkNew() { mNewMessages = true; }

  // False when the queue's thread has ended: the call is not queued.
  bool PushSent(std::shared_ptr<SentMessage> sent);
  std::shared_ptr<SentMessage> TakeSent();
  // The thread ended: pending calls complete with 0 and no more are taken.
  void Abandon();

  void SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure);
  bool KillTimer(HWND window, UINT_PTR id);
  void KillTimersOf(HWND window);
  // A due timer's WM_TIMER; taking it restarts the timer's period.
  bool TakeTimer(MSG& message, HWND window, UINT filterMin, UINT filterMax, bool remove);
  WaitClock::time_point NextTimerDue() const;

  // Drops queued messages of a destroyed window.
  void ForgetWindow(HWND window);

 private:
  struct Timer {
    HWND window;
    UINT_PTR id;
    WaitClock::duration period;
    WaitClock::time_point due;
    TIMERPROC procedure;
  };

  DWORD mThreadId;
  std::deque<std::shared_ptr<SentMessage>> mSent;
  std::deque<MSG> mPosted;
  std::deque<MSG> mInput;
  std::vector<Timer> mTimers;
  bool mQuitPosted = false;
  int mQuitCode = 0;
  bool mNewMessages = false;
  bool mAbandoned = false;
};

// The calling thread's queue, made on first use.
std::shared_ptr<MessageQueue> CurrentQueue();
// The queue of another thread, or null when that thread has none.
std::shared_ptr<MessageQueue> QueueOfThread(DWORD threadId);

// Runs the calls sent to the queue's thread; called on that thread with the
// lock held, which is released around each call.
void RunSentMessages(MessageQueue& queue, std::unique_lock<std::mutex>& lock);

// Runs the call on the given thread: at once on the calling thread, else
// queued there; with wait, blocks until it has run while running the calls
// sent to the caller. Answers the call's result (0 when the thread has gone;
// without wait, 1 once queued).
LRESULT CallOnThread(DWORD threadId, std::function<LRESULT()> call, bool wait);

// Message-time bookkeeping of the calling thread.
MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace vpl::platform
