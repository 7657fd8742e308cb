#pragma once
// The sound channels of one scene: pausing or suspending the group pauses
// or suspends each of them, counted like everything else that pauses.

#include "foundation/uu/UUList.h"
#include "mm/stage/MMSoundManager.h"

#include <cstdint>

class MMLogicalSoundChannel;
class MMSoundManager;

class MMSoundGroup : public MMStageSoundGroup {
 public:
  // Starts with the manager's pause and suspend counts.
  explicit MMSoundGroup(MMSoundManager* manager);
  // The group's channels are gone before it.
  ~MMSoundGroup() override = default;
  MMSoundGroup(const MMSoundGroup&) = delete;
  MMSoundGroup& operator=(const MMSoundGroup&) = delete;

  // The group the stage handed a scene: the sound manager made every one.
  static MMSoundGroup* Of(MMStageSoundGroup* group) { return static_cast<MMSoundGroup*>(group); }

  // Counted: the first pause (suspend) and the last resume (unsuspend) do
  // the work.
  void Pause() override;
  void Resume() override;
  void Suspend();
  void Unsuspend();
  // The counted pause, resume, suspend or unsuspend of every channel.
  virtual void PauseAll();
  virtual void ResumeAll();
  virtual void SuspendAll();
  virtual void UnsuspendAll();

  // In the group's list and the manager's.
  void AddChannel(MMLogicalSoundChannel* channel);
  void RemoveChannel(MMLogicalSoundChannel* channel);

  MMSoundManager* GetManager() const { return mManager; }
  int32_t GetPauseCount() const { return mPauseCount; }
  int32_t GetSuspendCount() const { return mSuspendCount; }

 private:
  MMSoundManager* mManager;
  UUList<MMLogicalSoundChannel*> mChannels;
  int32_t mPauseCount;
  int32_t mSuspendCount;
};
