#pragma once
// A callback for task tests: appends "name@time" to a log when it runs
// (time read from the manager given), then runs an optional action.

#include "foundation/al/ALAllocator.h"
#include "foundation/uu/UUCallback.h"
#include "foundation/uu/UURefCount.h"
#include "mm/tasks/MMTaskManager.h"

#include <functional>
#include <string>
#include <utility>
#include <vector>

class LogCallback : public UUCallback {
 public:
  LogCallback(std::vector<std::string>* log, const MMTaskManager* manager, std::string name,
              std::function<void()> action, int* deletions)
      : mLog(log),
        mManager(manager),
        mName(std::move(name)),
        mAction(std::move(action)),
        mDeletions(deletions) {}
  ~LogCallback() override {
    if (mDeletions != nullptr) ++*mDeletions;
  }
  void Invoke() override {
    mLog->push_back(mName + "@" + std::to_string(mManager->GetNow()));
    if (mAction) mAction();
  }

 private:
  std::vector<std::string>* mLog;
  const MMTaskManager* mManager;
  std::string mName;
  std::function<void()> mAction;
  int* mDeletions;
};

// Owns the manager and the log of a test.
class TaskLog {
 public:
  UURefCount<UUCallback> Make(std::string name, std::function<void()> action = {},
                              int* deletions = nullptr) {
    return UURefCount<UUCallback>(new (ALGlobalAllocator) LogCallback(
        &mLog, &mManager, std::move(name), std::move(action), deletions));
  }
  // The entries logged since the last call.
  std::vector<std::string> Take() { return std::exchange(mLog, {}); }

  MMTaskManager mManager;
  std::vector<std::string> mLog;
};

using Log = std::vector<std::string>;
