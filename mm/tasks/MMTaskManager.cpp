#include "mm/tasks/MMTaskManager.h"

#include "mm/tasks/MMTaskClient.h"
#include "mm/tasks/MMTaskTime.h"

namespace {

void InvokeIfSet(const UURefCount<UUCallback>& callback) {
  if (callback) callback->Invoke();
}

template <typename T, typename Match>
void EraseMatching(UUList<T>& list, Match match) {
  for (UUUntypedListNode* node = list.Begin(); node != list.End();) {
    UUUntypedListNode* next = node->mNext;
    if (match(UUList<T>::ValueOf(node))) list.Erase(node);
    node = next;
  }
}

template <typename T, typename Visit>
void ForEachNode(UUOrderedMap<T>& map, Visit visit) {
  for (UUOrderedMapNodeBase* node = map.Begin(); node != map.End();) {
    UUOrderedMapNodeBase* next = UUOrderedMapIterator::Increment(node);
    visit(node);
    node = next;
  }
}

}  // namespace

MMTaskManager::MMTaskManager()
    : mScheduledTasks(&MMTaskManager::ScheduledKey, &MMTaskManager::ScheduledBefore),
      mHandOffEvent(CreateEventA(nullptr, FALSE, FALSE, nullptr)) {}

MMTaskManager::~MMTaskManager() { CloseHandle(mHandOffEvent); }

// Earliest first; at equal times the later sequence number (compared
// unsigned, so the order survives the counter wrapping) first.
bool MMTaskManager::ScheduledBefore(const void* a, const void* b) {
  const auto* taskA = static_cast<const ScheduledTaskInfo*>(a);
  const auto* taskB = static_cast<const ScheduledTaskInfo*>(b);
  if (taskA->mManagerTime != taskB->mManagerTime) return taskA->mManagerTime < taskB->mManagerTime;
  return static_cast<uint32_t>(taskA->mSequence) > static_cast<uint32_t>(taskB->mSequence);
}

int32_t MMTaskManager::NextSequence() {
  mNextSequence = static_cast<int32_t>(static_cast<uint32_t>(mNextSequence) + 1);
  return mNextSequence;
}

void MMTaskManager::RunUntil(int32_t time) {
  while (RunNextImmediate() || (!mStopRequested && RunNextScheduled(time))) {
  }
  mNow = time;
  mStopRequested = false;
}

void MMTaskManager::StopRun() { mStopRequested = true; }

int32_t MMTaskManager::GetNextDueTime() const {
  if (!mImmediateQueue.IsEmpty() || !mImmediateRunList.IsEmpty()) return mNow;
  if (mScheduledTasks.Count() == 0) return kMMNever;
  return UUOrderedMap<ScheduledTaskInfo>::ValueOf(mScheduledTasks.Begin()).mManagerTime;
}

// Tasks queued since the last look go ahead of the older ones still
// waiting, so work queued by a running task runs first. The callback is
// held by a copy while it runs: it may cancel its own task or delete its
// client.
bool MMTaskManager::RunNextImmediate() {
  mImmediateRunList.SpliceAll(mImmediateRunList.Begin(), mImmediateQueue);
  if (mImmediateRunList.IsEmpty()) return false;
  const UURefCount<UUCallback> callback = mImmediateRunList.Front().mCallback;
  mImmediateRunList.Erase(mImmediateRunList.Begin());
  InvokeIfSet(callback);
  return true;
}

bool MMTaskManager::RunNextScheduled(int32_t time) {
  if (mScheduledTasks.Count() == 0) return false;
  UUOrderedMapNodeBase* first = mScheduledTasks.Begin();
  const ScheduledTaskInfo& task = UUOrderedMap<ScheduledTaskInfo>::ValueOf(first);
  if (task.mManagerTime > time || task.mManagerTime == kMMNever) return false;
  mNow = task.mManagerTime;
  const UURefCount<UUCallback> callback = task.mCallback;
  mScheduledTasks.Erase(first);
  InvokeIfSet(callback);
  return true;
}

void MMTaskManager::AddImmediate(MMTaskClient* client, const UURefCount<UUCallback>& callback,
                                 const void* owner) {
  mImmediateQueue.PushBack(ImmediateTaskInfo{client, callback, owner});
}

void MMTaskManager::Schedule(MMTaskClient* client, const UURefCount<UUCallback>& callback,
                             int32_t clientTime) {
  const int32_t sequence = NextSequence();
  if (client->IsPaused()) {
    mPausedTasks.PushBack(PausedTaskInfo{client, callback, sequence, clientTime});
    return;
  }
  mScheduledTasks.InsertUnique(
      ScheduledTaskInfo{client, callback, sequence, clientTime, client->ToManagerTime(clientTime)});
}

template <typename Match>
void MMTaskManager::RemoveTasks(Match match) {
  const auto matches = [&](const auto& task) { return match(task.mClient, task.mCallback.Get()); };
  EraseMatching(mImmediateQueue, matches);
  EraseMatching(mImmediateRunList, matches);
  ForEachNode(mScheduledTasks, [&](UUOrderedMapNodeBase* node) {
    if (matches(UUOrderedMap<ScheduledTaskInfo>::ValueOf(node))) mScheduledTasks.Erase(node);
  });
  EraseMatching(mPausedTasks, matches);
}

void MMTaskManager::Cancel(MMTaskClient* client, const UUCallback* callback) {
  RemoveTasks([&](const MMTaskClient* taskClient, const UUCallback* taskCallback) {
    return taskClient == client && taskCallback == callback;
  });
}

void MMTaskManager::CancelAll(MMTaskClient* client) {
  RemoveTasks(
      [&](const MMTaskClient* taskClient, const UUCallback*) { return taskClient == client; });
}

void MMTaskManager::CancelOwner(const void* owner) {
  if (owner == nullptr) return;
  const auto owned = [&](const ImmediateTaskInfo& task) { return task.mOwner == owner; };
  EraseMatching(mImmediateQueue, owned);
  EraseMatching(mImmediateRunList, owned);
}

void MMTaskManager::PauseClient(MMTaskClient* client) {
  ForEachNode(mScheduledTasks, [&](UUOrderedMapNodeBase* node) {
    const ScheduledTaskInfo& task = UUOrderedMap<ScheduledTaskInfo>::ValueOf(node);
    if (task.mClient != client) return;
    mPausedTasks.PushBack(PausedTaskInfo{client, task.mCallback, task.mSequence, task.mClientTime});
    mScheduledTasks.Erase(node);
  });
}

void MMTaskManager::ResumeClient(MMTaskClient* client) {
  EraseMatching(mPausedTasks, [&](const PausedTaskInfo& task) {
    if (task.mClient != client) return false;
    mScheduledTasks.InsertUnique(ScheduledTaskInfo{client, task.mCallback, task.mSequence,
                                                   task.mClientTime,
                                                   client->ToManagerTime(task.mClientTime)});
    return true;
  });
}
