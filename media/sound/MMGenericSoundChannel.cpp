#include "media/sound/MMGenericSoundChannel.h"

#include "foundation/al/ALAllocator.h"
#include "media/sound/MMPermanentPhysicalSoundChannel.h"
#include "media/sound/MMSoundSource.h"

MMGenericSoundChannel::MMGenericSoundChannel(MMSoundGroup* group) : MMLogicalSoundChannel(group) {}

MMGenericSoundChannel::~MMGenericSoundChannel() { AttachPhysicalChannel(nullptr); }

void MMGenericSoundChannel::Play(const MMSoundReference& sound, bool loop) {
  mSoundId = sound.GetId();
  if (sound.IsEmpty()) {
    mDuration = 0;
    return;
  }
  mDuration = sound.GetInfo();
  RequestPlay(0, loop);
}

MMPhysicalSoundChannel* MMGenericSoundChannel::AcquirePhysicalChannel() {
  mSource.reset(MMSoundReference(mSoundId).CreateSource());
  if (mSource == nullptr) return nullptr;
  return new (ALGlobalAllocator)
      MMStreamedPhysicalSoundChannel(this, mSource.get(), kBufferMilliseconds);
}

void MMGenericSoundChannel::Reset() {
  MMLogicalSoundChannel::Reset();
  AttachPhysicalChannel(nullptr);
  mSource.reset();
}

bool MMGenericSoundChannel::IsFinishedWithoutChannel() {
  if (!IsPlaying()) return mDuration <= 0;
  return Elapsed() >= mDuration;
}
