// Per-thread message queues and the message calls over them.

#include "platform/win32/Desktop.h"
#include "platform/win32/MessageQueue.h"
#include "platform/win32/WindowManager.h"
#include "platform/win32/winmm.h"

#include <algorithm>
#include <unordered_map>
#include <vector>

namespace vpl::platform {
namespace {

std::mutex gQueuesMutex;
std::unordered_map<DWORD, std::weak_ptr<MessageQueue>>& Queues() {
  static auto* queues = new std::unordered_map<DWORD, std::weak_ptr<MessageQueue>>;
  return *queues;
}

// Owns the thread's queue and forgets it when the thread ends; calls still
// waiting for the thread complete with 0.
struct QueueHolder {
  std::shared_ptr<MessageQueue> queue;
  ~QueueHolder() {
    if (!queue) return;
    {
      std::lock_guard lock(gQueuesMutex);
      Queues().erase(queue->ThreadId());
    }
    {
      std::lock_guard lock(WaitMutex());
      queue->Abandon();
    }
    NotifyWaiters();
  }
};
thread_local QueueHolder tQueue;

// What the thread last took from its queue, for GetMessageTime and
// GetMessagePos.
thread_local DWORD tMessageTime = 0;
thread_local POINT tMessagePoint{0, 0};

// The main thread's waits wake at this interval to pump the desktop.
constexpr auto kDesktopPumpInterval = std::chrono::milliseconds(10);
constexpr UINT kMinimumTimerPeriod = 10;
// Timers without a window get numbers from here up, far above the small
// numbers callers pick for their windows' timers.
constexpr UINT_PTR kFirstThreadTimerId = 0x7FFF0000;

bool PassesFilter(const MSG& message, HWND window, UINT filterMin, UINT filterMax) {
  if (window != nullptr && message.hwnd != window) return false;
  if (filterMin == 0 && filterMax == 0) return true;
  return message.message >= filterMin && message.message <= filterMax;
}

bool TakeFromDeque(std::deque<MSG>& messages, MSG& message, HWND window, UINT filterMin,
                   UINT filterMax, bool remove) {
  for (auto it = messages.begin(); it != messages.end(); ++it) {
    if (PassesFilter(*it, window, filterMin, filterMax)) {
      message = *it;
      if (remove) messages.erase(it);
      return true;
    }
  }
  return false;
}

// The next message of the given kinds for the thread, in queue order after
// sent messages.
bool TakeNext(MessageQueue& queue, MSG& message, HWND window, UINT filterMin, UINT filterMax,
              bool remove, UINT kinds = QS_ALLINPUT) {
  bool found =
      queue.Take(message, window, filterMin, filterMax, remove, kinds) ||
      ((kinds & QS_PAINT) != 0 &&
       TakePaintMessage(queue.ThreadId(), message, window, filterMin, filterMax)) ||
      ((kinds & QS_TIMER) != 0 && queue.TakeTimer(message, window, filterMin, filterMax, remove));
  if (found) {
    tMessageTime = message.time;
    tMessagePoint = message.pt;
  }
  return found;
}

WaitClock::time_point NextWake(const MessageQueue& queue) {
  WaitClock::time_point wake = queue.NextTimerDue();
  if (IsMainThread() && DesktopStarted()) {
    wake = std::min(wake, WaitClock::now() + kDesktopPumpInterval);
  }
  return wake;
}

// A thread waiting for the answer to a message it sent wakes for nothing
// but that answer and the messages sent to it, except the main thread,
// which also keeps the desktop going.
WaitClock::time_point SendWaitWake() {
  if (IsMainThread() && DesktopStarted()) return WaitClock::now() + kDesktopPumpInterval;
  return WaitClock::time_point::max();
}

void PumpIfMainThread() {
  if (IsMainThread() && DesktopStarted()) PumpDesktop();
}

// The sent message this thread is handling, innermost first; ReplyMessage
// answers it early.
thread_local std::vector<std::shared_ptr<SentMessage>> tHandling;

bool RunOneSent(MessageQueue& queue, std::unique_lock<std::mutex>& lock) {
  std::shared_ptr<SentMessage> sent = queue.TakeSent();
  if (!sent) return false;
  lock.unlock();
  tHandling.push_back(sent);
  LRESULT result = sent->call();
  tHandling.pop_back();
  lock.lock();
  if (!sent->done) {
    sent->result = result;
    sent->done = true;
  }
  NotifyWaiters();
  return true;
}

// Runs the operation on the queue under the wait mutex, then wakes the
// waiters; without a queue, sets the error and answers the failure value.
template <typename Result, typename Operation>
Result WithQueue(const std::shared_ptr<MessageQueue>& queue, DWORD error, Result failure,
                 Operation operation) {
  if (!queue) {
    SetLastError(error);
    return failure;
  }
  const Result result = [&] {
    std::lock_guard lock(WaitMutex());
    return operation(*queue);
  }();
  NotifyWaiters();
  return result;
}

// The queue of a thread; a thread without one is ERROR_INVALID_THREAD_ID.
template <typename Result, typename Operation>
Result WithThreadQueue(DWORD threadId, Result failure, Operation operation) {
  return WithQueue(QueueOfThread(threadId), ERROR_INVALID_THREAD_ID, failure, operation);
}

// The queue of the window's thread (the calling thread's for no window); a
// window no thread owns is ERROR_INVALID_WINDOW_HANDLE.
template <typename Result, typename Operation>
Result WithWindowQueue(HWND window, Result failure, Operation operation) {
  const DWORD threadId = window == nullptr ? GetCurrentThreadId() : ThreadOf(window);
  return WithQueue(threadId != 0 ? QueueOfThread(threadId) : nullptr, ERROR_INVALID_WINDOW_HANDLE,
                   failure, operation);
}

// Waits until a message the thread has not seen yet arrives or a timer falls
// due (true), or until the deadline (false).
bool WaitForNewMessage(WaitClock::time_point deadline) {
  auto queue = CurrentQueue();
  for (;;) {
    PumpIfMainThread();
    std::unique_lock lock(WaitMutex());
    if (queue->HasNewMessages()) return true;
    const auto now = WaitClock::now();
    if (now >= queue->NextTimerDue()) return true;
    if (now >= deadline) return false;
    WaitUntil(lock, std::min(NextWake(*queue), deadline));
  }
}

}  // namespace

void MessageQueue::Post(const MSG& message) {
  mPosted.push_back(message);
  mNewMessages = true;
}

void MessageQueue::PostInput(const MSG& message) {
  mInput.push_back(message);
  mNewMessages = true;
}

void MessageQueue::PostQuit(int exitCode) {
  mQuitPosted = true;
  mQuitCode = exitCode;
  mNewMessages = true;
}

bool MessageQueue::Take(MSG& message, HWND window, UINT filterMin, UINT filterMax, bool remove,
                        UINT kinds) {
  mNewMessages = false;
  const bool posted = (kinds & QS_POSTMESSAGE) != 0;
  if (posted && TakeFromDeque(mPosted, message, window, filterMin, filterMax, remove)) return true;
  if ((kinds & QS_INPUT) != 0 &&
      TakeFromDeque(mInput, message, window, filterMin, filterMax, remove)) {
    if (remove) ApplyInputLocked(message);
    return true;
  }
  if (posted && mQuitPosted && mPosted.empty() && mInput.empty()) {
    message = MakeMessage(nullptr, WM_QUIT, static_cast<WPARAM>(mQuitCode), 0);
    if (remove) mQuitPosted = false;
    return true;
  }
  return false;
}

bool MessageQueue::PushSent(std::shared_ptr<SentMessage> sent) {
  if (mAbandoned) return false;
  mSent.push_back(std::move(sent));
  mNewMessages = true;
  return true;
}

std::shared_ptr<SentMessage> MessageQueue::TakeSent() {
  if (mSent.empty()) return nullptr;
  std::shared_ptr<SentMessage> sent = std::move(mSent.front());
  mSent.pop_front();
  return sent;
}

void MessageQueue::Abandon() {
  mAbandoned = true;
  for (auto& sent : mSent) sent->done = true;
  mSent.clear();
}

void MessageQueue::SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure) {
  KillTimer(window, id);
  auto period = std::chrono::milliseconds(std::max(elapse, kMinimumTimerPeriod));
  mTimers.push_back(Timer{window, id, period, WaitClock::now() + period, procedure});
  mNewMessages = true;
}

bool MessageQueue::KillTimer(HWND window, UINT_PTR id) {
  auto found = std::find_if(mTimers.begin(), mTimers.end(), [&](const Timer& timer) {
    return timer.window == window && timer.id == id;
  });
  if (found == mTimers.end()) return false;
  mTimers.erase(found);
  return true;
}

void MessageQueue::KillTimersOf(HWND window) {
  std::erase_if(mTimers, [&](const Timer& timer) { return timer.window == window; });
}

bool MessageQueue::TakeTimer(MSG& message, HWND window, UINT filterMin, UINT filterMax,
                             bool remove) {
  const auto now = WaitClock::now();
  for (Timer& timer : mTimers) {
    if (timer.due > now) continue;
    MSG candidate =
        MakeMessage(timer.window, WM_TIMER, timer.id, reinterpret_cast<LPARAM>(timer.procedure));
    if (!PassesFilter(candidate, window, filterMin, filterMax)) continue;
    message = candidate;
    if (remove) timer.due = now + timer.period;
    return true;
  }
  return false;
}

WaitClock::time_point MessageQueue::NextTimerDue() const {
  WaitClock::time_point due = WaitClock::time_point::max();
  for (const Timer& timer : mTimers) due = std::min(due, timer.due);
  return due;
}

void MessageQueue::ForgetWindow(HWND window) {
  auto ofWindow = [&](const MSG& message) { return message.hwnd == window; };
  std::erase_if(mPosted, ofWindow);
  std::erase_if(mInput, ofWindow);
  KillTimersOf(window);
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
  if (threadId == GetCurrentThreadId()) return CurrentQueue();
  std::lock_guard lock(gQueuesMutex);
  auto found = Queues().find(threadId);
  return found == Queues().end() ? nullptr : found->second.lock();
}

void RunSentMessages(MessageQueue& queue, std::unique_lock<std::mutex>& lock) {
  while (RunOneSent(queue, lock)) {
  }
}

LRESULT CallOnThread(DWORD threadId, std::function<LRESULT()> call, bool wait) {
  if (threadId == GetCurrentThreadId()) return call();
  auto target = QueueOfThread(threadId);
  if (!target) {
    SetLastError(ERROR_INVALID_THREAD_ID);
    return 0;
  }
  auto mine = CurrentQueue();
  auto sent = std::make_shared<SentMessage>();
  sent->call = std::move(call);
  std::unique_lock lock(WaitMutex());
  if (!target->PushSent(sent)) {
    SetLastError(ERROR_INVALID_THREAD_ID);
    return 0;
  }
  NotifyWaiters();
  if (!wait) return 1;
  while (!sent->done) {
    if (RunOneSent(*mine, lock)) continue;
    WaitUntil(lock, SendWaitWake());
    // Only the main thread takes the desktop's events: while it waits for an
    // answer, a box the other thread shows must still see its clicks.
    if (!sent->done && IsMainThread() && DesktopStarted()) {
      lock.unlock();
      PumpDesktop();
      lock.lock();
    }
  }
  return sent->result;
}

MSG MakeMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  POINT cursor{0, 0};
  GetCursorPos(&cursor);
  return MSG{window, message, wParam, lParam, timeGetTime(), cursor};
}

}  // namespace vpl::platform

using namespace vpl::platform;

BOOL PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
  if (message == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  PumpIfMainThread();
  auto queue = CurrentQueue();
  std::unique_lock lock(WaitMutex());
  const UINT kinds = (removeFlags >> 16) != 0 ? removeFlags >> 16 : QS_ALLINPUT;
  if ((kinds & QS_SENDMESSAGE) != 0) RunSentMessages(*queue, lock);
  return TakeNext(*queue, *message, window, filterMin, filterMax, (removeFlags & PM_REMOVE) != 0,
                  kinds);
}

BOOL GetMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax) {
  if (message == nullptr) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return -1;
  }
  auto queue = CurrentQueue();
  for (;;) {
    PumpIfMainThread();
    std::unique_lock lock(WaitMutex());
    RunSentMessages(*queue, lock);
    if (TakeNext(*queue, *message, window, filterMin, filterMax, true)) break;
    WaitUntil(lock, NextWake(*queue));
  }
  return message->message == WM_QUIT ? FALSE : TRUE;
}

BOOL ReplyMessage(LRESULT result) {
  if (tHandling.empty()) return FALSE;
  {
    std::lock_guard lock(WaitMutex());
    SentMessage& sent = *tHandling.back();
    if (sent.done) return FALSE;
    sent.result = result;
    sent.done = true;
  }
  NotifyWaiters();
  return TRUE;
}

BOOL PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam) {
  return WithThreadQueue(threadId, FALSE, [&](MessageQueue& queue) {
    queue.Post(MakeMessage(nullptr, message, wParam, lParam));
    return TRUE;
  });
}

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return WithWindowQueue(window, FALSE, [&](MessageQueue& queue) {
    queue.Post(MakeMessage(window, message, wParam, lParam));
    return TRUE;
  });
}

void PostQuitMessage(int exitCode) {
  auto queue = CurrentQueue();
  {
    std::lock_guard lock(WaitMutex());
    queue->PostQuit(exitCode);
  }
  NotifyWaiters();
}

LRESULT SendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const DWORD threadId = ThreadOf(window);
  if (threadId == 0) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  return CallOnThread(
      threadId,
      [=] {
        WNDPROC procedure = ProcedureOf(window);
        return procedure ? CallWindowProcA(procedure, window, message, wParam, lParam) : 0;
      },
      true);
}

BOOL SendNotifyMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  const DWORD threadId = ThreadOf(window);
  if (threadId == 0) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return FALSE;
  }
  CallOnThread(
      threadId,
      [=] {
        WNDPROC procedure = ProcedureOf(window);
        return procedure ? CallWindowProcA(procedure, window, message, wParam, lParam) : 0;
      },
      false);
  return TRUE;
}

LRESULT DispatchMessageA(const MSG* message) {
  if (message == nullptr || message->hwnd == nullptr) return 0;
  if (message->message == WM_TIMER && message->lParam != 0) {
    auto procedure = reinterpret_cast<TIMERPROC>(message->lParam);
    procedure(message->hwnd, WM_TIMER, message->wParam, timeGetTime());
    return 0;
  }
  if (!IsWindowOfThread(message->hwnd, GetCurrentThreadId())) {
    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return 0;
  }
  WNDPROC procedure = ProcedureOf(message->hwnd);
  if (procedure == nullptr) return 0;
  return CallWindowProcA(procedure, message->hwnd, message->message, message->wParam,
                         message->lParam);
}

BOOL WaitMessage() {
  WaitForNewMessage(WaitClock::time_point::max());
  return TRUE;
}

DWORD MsgWaitForMultipleObjects(DWORD count, const HANDLE*, BOOL, DWORD milliseconds, DWORD) {
  if (count != 0) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return WAIT_FAILED;
  }
  return WaitForNewMessage(WaitDeadline(milliseconds)) ? WAIT_OBJECT_0 : WAIT_TIMEOUT;
}

LONG GetMessageTime() { return static_cast<LONG>(tMessageTime); }

DWORD GetMessagePos() {
  return MAKELONG(static_cast<WORD>(tMessagePoint.x), static_cast<WORD>(tMessagePoint.y));
}

UINT_PTR SetTimer(HWND window, UINT_PTR id, UINT elapse, TIMERPROC procedure) {
  static std::atomic<UINT_PTR> nextThreadTimer{kFirstThreadTimerId};
  if (window == nullptr && id == 0) id = ++nextThreadTimer;
  return WithWindowQueue(window, UINT_PTR{0}, [&](MessageQueue& queue) {
    queue.SetTimer(window, id, elapse, procedure);
    return window == nullptr ? id : (id != 0 ? id : 1);
  });
}

BOOL KillTimer(HWND window, UINT_PTR id) {
  return WithWindowQueue(window, FALSE, [&](MessageQueue& queue) {
    if (queue.KillTimer(window, id)) return TRUE;
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  });
}
