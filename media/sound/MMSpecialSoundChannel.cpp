#include "media/sound/MMSpecialSoundChannel.h"

#include "foundation/al/ALAllocator.h"
#include "media/sound/MMPhysicalSoundChannel.h"
#include "media/sound/MMSoundSource.h"

#include <algorithm>
#include <climits>

MMSpecialSoundChannel::MMSpecialSoundChannel(MMSoundGroup* group, MMSoundSource* source,
                                             int32_t milliseconds)
    : MMLogicalSoundChannel(group), mLength(milliseconds), mSource(source) {
  if (GetSuspendCount() == 0) AttachPhysicalChannel(AcquirePhysicalChannel());
}

MMSpecialSoundChannel::~MMSpecialSoundChannel() { AttachPhysicalChannel(nullptr); }

// A buffer made again after a suspension holds the sound again: the source
// is read from its start each time.
MMPhysicalSoundChannel* MMSpecialSoundChannel::AcquirePhysicalChannel() {
  const int64_t bytes = MMSoundPeriodBytes(mSource->GetFormat(), mLength);
  const auto size = static_cast<int32_t>(std::clamp<int64_t>(bytes, 0, INT32_MAX));
  mSource->Seek(0);
  return MMSinglePagedPhysicalSoundChannel::KeepIfMade(
      new (ALGlobalAllocator) MMSinglePagedPhysicalSoundChannel(this, mSource.get(), size));
}

bool MMSpecialSoundChannel::IsFinishedWithoutChannel() {
  if (!IsPlaying()) return mLength < 0;
  return Elapsed() > mLength;
}
