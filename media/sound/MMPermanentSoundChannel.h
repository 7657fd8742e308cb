#pragma once
// Channels over a source they do not own, with a ring buffer of a given
// length refilled while they play: the base of the film sound track's
// channel, and the streamed channel that refills itself on the streaming
// pulse thread.

#include "media/sound/MMLogicalSoundChannel.h"

#include <cstdint>

class MMSoundSource;

class MMPermanentSoundChannel : public MMLogicalSoundChannel {
 public:
  MMPermanentSoundChannel(MMSoundGroup* group, MMSoundSource* source, uint32_t bufferMilliseconds);

  void Play(bool loop) { RequestPlay(0, loop); }

  // Over when the source has ended.
  bool IsFinishedWithoutChannel() override;

  MMSoundSource* GetSource() const { return mSource; }
  uint32_t GetBufferMilliseconds() const { return mBufferMilliseconds; }

 private:
  uint32_t mBufferMilliseconds;
  MMSoundSource* mSource;
};

class MMStreamedSoundChannel : public MMPermanentSoundChannel {
 public:
  using MMPermanentSoundChannel::MMPermanentSoundChannel;

  // A streamed physical channel over the source.
  MMPhysicalSoundChannel* AcquirePhysicalChannel() override;
};
