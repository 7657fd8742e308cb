#include "media/films/MM2DFilmSoundChannel.h"

#include "foundation/al/ALAllocator.h"
#include "media/sound/MMPermanentPhysicalSoundChannel.h"

MM2DFilmSoundChannel::MM2DFilmSoundChannel(MMSoundGroup* group, MMSoundSource* source,
                                           uint32_t bufferMilliseconds)
    : MMPermanentSoundChannel(group, source, bufferMilliseconds) {
  AttachPhysicalChannel(AcquirePhysicalChannel());
}

MM2DFilmSoundChannel::~MM2DFilmSoundChannel() { AttachPhysicalChannel(nullptr); }

MMPhysicalSoundChannel* MM2DFilmSoundChannel::AcquirePhysicalChannel() {
  return new (ALGlobalAllocator)
      MMPermanentPhysicalSoundChannel(this, GetSource(), GetBufferMilliseconds());
}
