#pragma once
// One sound at a time, streamed from a new source of the sound for each
// play; it holds a source and a device buffer only while it plays.

#include "media/sound/MMLogicalSoundChannel.h"
#include "media/sound/MMSoundReference.h"

#include <cstdint>
#include <memory>

class MMSoundSource;

class MMGenericSoundChannel : public MMLogicalSoundChannel {
 public:
  static constexpr uint32_t kBufferMilliseconds = 1500;

  explicit MMGenericSoundChannel(MMSoundGroup* group);
  // The buffer, and with it the refill that reads the source, goes before
  // the source.
  ~MMGenericSoundChannel() override;

  // Plays the sound from its start at the next Update; an empty reference
  // plays nothing.
  void Play(const MMSoundReference& sound, bool loop);

  // A streamed channel over a new source of the sound.
  MMPhysicalSoundChannel* AcquirePhysicalChannel() override;
  // Also gives up the buffer and the source.
  void Reset() override;
  bool IsFinishedWithoutChannel() override;

  MMResourceId GetSoundId() const { return mSoundId; }
  int32_t GetDuration() const { return mDuration; }

 private:
  MMResourceId mSoundId = -1;
  int32_t mDuration = 0;
  std::unique_ptr<MMSoundSource> mSource;
};
