#pragma once
// What the stage and its scenes call of the sound manager and its groups.
// The sound subsystem implements both; until a stage is given a manager it
// runs silent.

class MMSoundGroup {
 public:
  virtual ~MMSoundGroup() = default;
  // Nested: the first pause and the last resume do the work.
  virtual void Pause() = 0;
  virtual void Resume() = 0;
};

class MMSoundManager {
 public:
  virtual ~MMSoundManager() = default;
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
  virtual MMSoundGroup* CreateSoundGroup() = 0;
};
