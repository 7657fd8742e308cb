#pragma once
// Physical sound channels: the DirectSound buffer that makes one logical
// channel audible. Every use of the buffer takes the channel's own lock,
// because a streamed channel refills its buffer on the streaming pulse
// thread while the stage thread plays, stops and adjusts it.

#include "foundation/al/ALCriticalSection.h"
#include "media/sound/MMSoundFormat.h"
#include "platform/directx/dsound.h"

#include <cstdint>

class MMLogicalSoundChannel;
class MMSoundSource;

class MMPhysicalSoundChannel {
 public:
  explicit MMPhysicalSoundChannel(MMLogicalSoundChannel* logical);
  // Releases a buffer still held.
  virtual ~MMPhysicalSoundChannel();
  MMPhysicalSoundChannel(const MMPhysicalSoundChannel&) = delete;
  MMPhysicalSoundChannel& operator=(const MMPhysicalSoundChannel&) = delete;

  // Moves to the byte offset and, unless paused, plays (looping when
  // IsLooping). A paused channel starts at Resume.
  virtual void PlayFrom(int32_t offset);
  virtual void StopLooping() {}
  virtual void Stop();
  virtual void Pause();
  virtual void Resume();
  // The logical channel's pitch, volume and pan, set on the buffer.
  virtual void ApplyPitch();
  virtual void ApplyVolume();
  virtual void ApplyPan();
  // Makes the channel's buffer; false when it has none.
  virtual bool CreateBuffer() = 0;
  virtual void ReleaseStreaming() {}
  virtual bool IsLooping();

  // CreateBuffer, its answer kept as the buffer-made flag.
  void PrepareBuffer();
  // Ends streaming, releases the buffer and clears the flag.
  void ReleaseBuffer();
  // Not paused, and the buffer does not play.
  bool IsFinished();

  MMSoundFormat GetFormat() const { return mFormat; }
  bool IsBufferMade() const { return mBufferMade; }
  void SetBufferMade(bool made) { mBufferMade = made; }
  bool IsPaused() const { return mPaused; }
  IDirectSoundBuffer* GetBuffer() const { return mBuffer; }

 protected:
  // Calls call (buffer) under the lock; false without a buffer.
  template <typename F>
  bool WithBuffer(F&& call) {
    ALCriticalSectionLock guard(mLock);
    if (mBuffer == nullptr) return false;
    call(mBuffer);
    return true;
  }
  // Play with the play-looping flag (under the lock).
  void PlayWithLoopFlag();

  MMLogicalSoundChannel* mLogical;
  MMSoundFormat mFormat;
  bool mBufferMade = false;
  ALCriticalSection mLock;
  IDirectSoundBuffer* mBuffer = nullptr;
  bool mPlayLooping = false;
  bool mPaused = false;
};

// A whole sound in one static buffer, which several channels can share.
class MMSinglePagedPhysicalSoundChannel : public MMPhysicalSoundChannel {
 public:
  // A static buffer of size bytes filled from the source.
  MMSinglePagedPhysicalSoundChannel(MMLogicalSoundChannel* logical, MMSoundSource* source,
                                    int32_t size);
  // A duplicate of the other channel's buffer, sharing its sound.
  MMSinglePagedPhysicalSoundChannel(MMLogicalSoundChannel* logical,
                                    MMSinglePagedPhysicalSoundChannel* other);

  // Wraps the offset into the buffer when looping, else stops it at the
  // end.
  void PlayFrom(int32_t offset) override;
  // The buffer plays on to its end and stops.
  void StopLooping() override;
  bool CreateBuffer() override { return mBuffer != nullptr; }

  // The channel when it has a buffer; else it is deleted and null
  // answered.
  static MMPhysicalSoundChannel* KeepIfMade(MMSinglePagedPhysicalSoundChannel* channel);

  void FillFromSource(MMSoundSource* source);
  int32_t GetSize() const { return mSize; }

 private:
  int32_t mSize;
};

// Hundredths of a decibel for DirectSound: of a volume 0..1024, of a pan
// -1024..1024; the frequency of a 16.16 pitch factor for a rate multiple.
LONG MMSoundVolumeAttenuation(int32_t volume);
LONG MMSoundPanAttenuation(int32_t pan);
DWORD MMSoundPitchFrequency(int32_t rateMultiple, int32_t pitch);
