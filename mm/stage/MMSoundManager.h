#pragma once
// What the stage and its scenes call of the sound manager and its groups.
// The sound subsystem implements both (MMSoundManager and MMSoundGroup) and
// installs the maker with which a stage makes its manager; without a maker
// a stage runs silent.

#include "platform/win32/user.h"

class MMStageSoundGroup {
 public:
  virtual ~MMStageSoundGroup() = default;
  // Nested: the first pause and the last resume do the work.
  virtual void Pause() = 0;
  virtual void Resume() = 0;
};

class MMStageSoundManager {
 public:
  virtual ~MMStageSoundManager() = default;
  // The manager starts suspended once; at a count of 0 it holds the sound
  // device, and suspending again gives the device back.
  virtual void Suspend() = 0;
  virtual void Unsuspend() = 0;
  // Nested pause of everything that plays.
  virtual void Pause() = 0;
  virtual void Resume() = 0;
  // Once per drawing frame, after the act presented.
  virtual void Update() = 0;
  // A new group of channels on this manager, owned by the caller.
  virtual MMStageSoundGroup* CreateSoundGroup() = 0;
};

// Makes the sound manager of a stage's window.
using MMSoundManagerMaker = MMStageSoundManager* (*)(HWND window);
void MMSetSoundManagerMaker(MMSoundManagerMaker maker);
// A new manager for the window, owned by the caller; null without a maker.
MMStageSoundManager* MMMakeSoundManager(HWND window);
