#include "media/sound/MMPermanentSoundChannel.h"

#include "foundation/al/ALAllocator.h"
#include "media/sound/MMPermanentPhysicalSoundChannel.h"
#include "media/sound/MMSoundSource.h"

MMPermanentSoundChannel::MMPermanentSoundChannel(MMSoundGroup* group, MMSoundSource* source,
                                                 uint32_t bufferMilliseconds)
    : MMLogicalSoundChannel(group), mBufferMilliseconds(bufferMilliseconds), mSource(source) {}

bool MMPermanentSoundChannel::IsFinishedWithoutChannel() { return GetSource()->AtEnd(); }

MMPhysicalSoundChannel* MMStreamedSoundChannel::AcquirePhysicalChannel() {
  return new (ALGlobalAllocator)
      MMStreamedPhysicalSoundChannel(this, GetSource(), GetBufferMilliseconds());
}
