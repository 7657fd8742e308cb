#include "media/sound/MMSpecialSoundChannel.h"

#include "foundation/al/ALAllocator.h"
#include "media/sound/MMPhysicalSoundChannel.h"
#include "media/sound/MMSoundSource.h"

namespace {

constexpr uint32_t kSamplesPerPeriod = 441;  // 40 ms at 11025 Hz
constexpr uint32_t kPeriodMilliseconds = 40;

}  // namespace

MMSpecialSoundChannel::MMSpecialSoundChannel(MMSoundGroup* group, MMSoundSource* source,
                                             int32_t milliseconds)
    : MMLogicalSoundChannel(group), mLength(milliseconds), mSource(source) {
  if (GetSuspendCount() == 0) AttachPhysicalChannel(AcquirePhysicalChannel());
}

MMSpecialSoundChannel::~MMSpecialSoundChannel() { AttachPhysicalChannel(nullptr); }

// A buffer made again after a suspension holds the sound again: the source
// is read from its start each time.
MMPhysicalSoundChannel* MMSpecialSoundChannel::AcquirePhysicalChannel() {
  const MMSoundFormat format = mSource->GetFormat();
  const uint32_t size = kSamplesPerPeriod * static_cast<uint32_t>(format.GetFrameBytes()) *
                        static_cast<uint32_t>(format.GetRateMultiple()) *
                        static_cast<uint32_t>(mLength) / kPeriodMilliseconds;
  mSource->Seek(0);
  return MMSinglePagedPhysicalSoundChannel::KeepIfMade(
      new (ALGlobalAllocator)
          MMSinglePagedPhysicalSoundChannel(this, mSource.get(), static_cast<int32_t>(size)));
}

bool MMSpecialSoundChannel::IsFinishedWithoutChannel() {
  if (!IsPlaying()) return mLength < 0;
  return Elapsed() > mLength;
}
