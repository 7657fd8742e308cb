#pragma once
// The channel of one film sound track: a permanent channel whose device
// buffer holds the film's sound lead time, refilled by the film player
// from the track's source as the film's sound chunks arrive.

#include "media/sound/MMPermanentSoundChannel.h"

#include <cstdint>

class MM2DFilmSoundChannel : public MMPermanentSoundChannel {
 public:
  // Takes a physical channel at once; the source is not owned.
  MM2DFilmSoundChannel(MMSoundGroup* group, MMSoundSource* source, uint32_t bufferMilliseconds);
  ~MM2DFilmSoundChannel() override;

  MMPhysicalSoundChannel* AcquirePhysicalChannel() override;
};
