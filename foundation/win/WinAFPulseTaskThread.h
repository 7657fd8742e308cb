#pragma once
// The thread of a pulse-task manager: runs the due tasks, then sleeps on the
// manager's event until the earliest due time or until it is woken, until
// the manager asks it to stop.

#include "foundation/al/ALThread.h"

class AFPulseTaskManager;

class WinAFPulseTaskThread : public ALUserThread {
 public:
  explicit WinAFPulseTaskThread(AFPulseTaskManager& manager) : mManager(manager) {}
  ~WinAFPulseTaskThread() override = default;

  void Run() override;

 private:
  AFPulseTaskManager& mManager;
};
