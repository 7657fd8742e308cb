#pragma once
// A sound made by the program rather than read from a sound file: its
// source's first milliseconds held in a device buffer from construction on.

#include "media/sound/MMLogicalSoundChannel.h"

#include <cstdint>
#include <memory>

class MMSoundSource;

class MMSpecialSoundChannel : public MMLogicalSoundChannel {
 public:
  // Takes the source over; the buffer is made at once unless suspended.
  MMSpecialSoundChannel(MMSoundGroup* group, MMSoundSource* source, int32_t milliseconds);
  // The buffer goes before the source it was filled from.
  ~MMSpecialSoundChannel() override;

  void Play(bool loop) { RequestPlay(0, loop); }

  // A buffer of the length, filled from the start of the source.
  MMPhysicalSoundChannel* AcquirePhysicalChannel() override;
  bool IsFinishedWithoutChannel() override;

 private:
  int32_t mLength;
  std::unique_ptr<MMSoundSource> mSource;
};
