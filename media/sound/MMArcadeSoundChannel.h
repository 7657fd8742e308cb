#pragma once
// Short effects kept ready in a device buffer from construction on. The
// channels of one sound form a ring, and a channel that needs a buffer
// duplicates the buffer of a ring member that has one, so that the ring
// holds one copy of the sound.

#include "media/sound/MMLogicalSoundChannel.h"
#include "media/sound/MMSoundReference.h"

#include <cstdint>

class MMArcadeSoundChannel : public MMLogicalSoundChannel {
 public:
  // A ring of one, with its buffer made at once unless suspended.
  MMArcadeSoundChannel(MMSoundGroup* group, const MMSoundReference& sound);
  // Joins the member's ring, after the member.
  explicit MMArcadeSoundChannel(MMArcadeSoundChannel* member);
  // Leaves the ring first.
  ~MMArcadeSoundChannel() override;

  // Plays the sound from its start at the next Update.
  void Play(bool loop) { RequestPlay(0, loop); }

  MMPhysicalSoundChannel* AcquirePhysicalChannel() override;
  bool IsFinishedWithoutChannel() override;

  MMResourceId GetSoundId() const { return mSoundId; }
  int32_t GetDuration() const { return mDuration; }
  MMArcadeSoundChannel* GetNext() const { return mNext; }

 private:
  // Takes a buffer at once, unless suspended.
  void AcquireNow();
  // A single-paged channel loaded from the sound; null when no source or
  // no buffer comes.
  MMPhysicalSoundChannel* LoadSound();

  MMResourceId mSoundId;
  int32_t mDuration;
  MMArcadeSoundChannel* mNext;
};
