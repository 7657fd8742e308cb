#pragma once

#include "foundation/al/ALThread.h"

class MMStage;

// The stage's own thread: its body is the stage's ThreadMain.
class WinMMStageThread : public ALUserThread {
 public:
  explicit WinMMStageThread(MMStage* stage) : mStage(stage) {}
  void Run() override;

 private:
  MMStage* mStage;
};
