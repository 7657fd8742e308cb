#include "media/sound/MMArcadeSoundChannel.h"

#include "foundation/al/ALAllocator.h"
#include "media/sound/MMPhysicalSoundChannel.h"

#include <memory>

MMArcadeSoundChannel::MMArcadeSoundChannel(MMSoundGroup* group, const MMSoundReference& sound)
    : MMLogicalSoundChannel(group),
      mSoundId(sound.GetId()),
      mDuration(sound.GetInfo()),
      mNext(this) {
  AcquireNow();
}

MMArcadeSoundChannel::MMArcadeSoundChannel(MMArcadeSoundChannel* member)
    : MMLogicalSoundChannel(member->GetGroup()),
      mSoundId(member->mSoundId),
      mDuration(member->mDuration),
      mNext(member->mNext) {
  member->mNext = this;
  AcquireNow();
}

MMArcadeSoundChannel::~MMArcadeSoundChannel() {
  MMArcadeSoundChannel* previous = this;
  while (previous->mNext != this) previous = previous->mNext;
  previous->mNext = mNext;
}

void MMArcadeSoundChannel::AcquireNow() {
  if (GetSuspendCount() == 0) AttachPhysicalChannel(AcquirePhysicalChannel());
}

MMPhysicalSoundChannel* MMArcadeSoundChannel::AcquirePhysicalChannel() {
  MMArcadeSoundChannel* holder = mNext;
  while (holder != this && holder->GetPhysicalChannel() == nullptr) holder = holder->mNext;
  if (holder == this) return LoadSound();
  auto* shared = static_cast<MMSinglePagedPhysicalSoundChannel*>(holder->GetPhysicalChannel());
  return MMSinglePagedPhysicalSoundChannel::KeepIfMade(
      new (ALGlobalAllocator) MMSinglePagedPhysicalSoundChannel(this, shared));
}

MMPhysicalSoundChannel* MMArcadeSoundChannel::LoadSound() {
  const MMSoundReference sound(mSoundId);
  const std::unique_ptr<MMSoundSource> source(sound.CreateSource());
  if (source == nullptr) return nullptr;
  return MMSinglePagedPhysicalSoundChannel::KeepIfMade(new (
      ALGlobalAllocator) MMSinglePagedPhysicalSoundChannel(this, source.get(), sound.GetSize()));
}

bool MMArcadeSoundChannel::IsFinishedWithoutChannel() {
  if (!IsPlaying()) return mDuration < 0;
  return Elapsed() > mDuration;
}
