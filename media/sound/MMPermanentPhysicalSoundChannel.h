#pragma once
// Ring-buffer channels: a buffer of a fixed number of milliseconds of sound,
// refilled from a sound source while it plays. The refill chases the play
// cursor with a write cursor, loops the source when the logical channel
// loops, and once the source is exhausted writes silence behind the last
// sound, lets the buffer run out without looping and stops it when the play
// cursor has passed the end of the sound. The film player refills a
// permanent channel from its own frames; a streamed channel refills itself
// on the streaming pulse thread.

#include "foundation/af/AFPulseTask.h"
#include "media/sound/MMPhysicalSoundChannel.h"

#include <cstdint>

// The bytes of a ring of the milliseconds of sound of the format, counted
// as 40 ms periods of 441 samples at 11025 Hz, rounded up to 4096 bytes.
uint32_t MMSoundRingBytes(MMSoundFormat format, uint32_t milliseconds);

class MMPermanentPhysicalSoundChannel : public MMPhysicalSoundChannel {
 public:
  enum RefillState : int32_t {
    kIdle = 0,
    kStreaming = 1,  // the source is being copied in
    kDraining = 2,   // the source is exhausted; silence is written
    kRunOut = 3,     // the buffer plays on to its end without looping
  };
  // A delay of Refill: call again at once, after a while, or never.
  static constexpr int32_t kAtOnce = 0;
  static constexpr int32_t kRefillDelay = 100;
  static constexpr int32_t kNever = INT32_MAX;

  // The source is not owned.
  MMPermanentPhysicalSoundChannel(MMLogicalSoundChannel* logical, MMSoundSource* source,
                                  uint32_t milliseconds);

  // Fills the buffer from the source and plays it looping from its start;
  // the offset is not used.
  void PlayFrom(int32_t offset) override;
  void Stop() override;
  bool CreateBuffer() override;
  bool IsLooping() override { return true; }

  // One step of the chase; answers the delay in milliseconds until the
  // next call. An idle channel fills its ring ahead of the next play when
  // PrefillsWhileIdle, and answers never once the source is exhausted.
  int32_t Refill();

  int32_t GetSize() const { return mSize; }
  RefillState GetRefillState() const { return mRefillState; }
  int32_t GetWriteCursor() const { return mWriteCursor; }
  int32_t GetEndPosition() const { return mEndPosition; }

 protected:
  // From the write cursor to end; true when the source filled it all.
  bool WriteFromSource(int32_t end, bool wait);
  void WriteSilence(int32_t end);
  // The film player feeds its channels before their tracks start.
  virtual bool PrefillsWhileIdle() const { return true; }
  // Fills the whole buffer (waiting for the source) and plays it looping
  // from its start, unless paused.
  void StartStreaming();

  MMSoundSource* mSource;

 private:
  // The steps of Refill by state, with the play cursor.
  int32_t Chase(int32_t play);
  int32_t Drain(int32_t play);
  int32_t RunOut(int32_t play);
  // Locks end - write cursor bytes at the write cursor, lets fill write
  // them, and moves the write cursor on by what fill answers.
  template <typename F>
  int32_t WriteRegion(int32_t end, F&& fill);

  int32_t mSize;
  RefillState mRefillState = kIdle;
  int32_t mWriteCursor = 0;
  int32_t mEndPosition = 0;
};

class WinMMStreamedPhysicalSoundChannelTask;

class MMStreamedPhysicalSoundChannel : public MMPermanentPhysicalSoundChannel {
 public:
  using MMPermanentPhysicalSoundChannel::MMPermanentPhysicalSoundChannel;
  ~MMStreamedPhysicalSoundChannel() override;

  // Positions the source at the offset (wrapping past its end), fills and
  // plays, and refills on the streaming pulse thread from then on.
  void PlayFrom(int32_t offset) override;
  // Also ends the refill, so the source is not read again until the next
  // play and the caller may free it.
  void Stop() override;
  // Takes the refill task off the pulse thread and deletes it.
  void ReleaseStreaming() override;

 protected:
  // A stopped stream reads nothing until it plays again.
  bool PrefillsWhileIdle() const override { return false; }

 private:
  void SeekSource(int32_t offset);

  WinMMStreamedPhysicalSoundChannelTask* mTask = nullptr;
};

// Refills its channel on the streaming pulse thread.
class WinMMStreamedPhysicalSoundChannelTask : public AFPulseTask {
 public:
  explicit WinMMStreamedPhysicalSoundChannelTask(MMPermanentPhysicalSoundChannel* channel)
      : mChannel(channel) {}
  int32_t Pulse() override { return mChannel->Refill(); }

 private:
  MMPermanentPhysicalSoundChannel* mChannel;
};
