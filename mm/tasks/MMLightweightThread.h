#pragma once

#include "mm/tasks/MMAbstractThread.h"

#include <cstdint>

// A thread whose step is a function called again and again on the stage
// thread. A Step that goes on must name its next wake time with Sleep or
// SleepUntil.
class MMLightweightThread : public MMAbstractThread {
 public:
  explicit MMLightweightThread(MMTaskClient* client) : MMAbstractThread(client) {}

  bool RunStep(int32_t* wakeTime) override;
  // Answers whether the thread goes on; a thread that ends waits no more.
  virtual bool Step() = 0;

 protected:
  // From inside Step: the next step after delay milliseconds of client
  // time (INT_MAX: until woken). Only the first Sleep of a step counts.
  // Answers the wake time.
  int32_t Sleep(int32_t delay);
  void SleepUntil(int32_t clientTime);

 private:
  int32_t* mWakeTimeOut = nullptr;
};
