#include "media/sound/MMPermanentPhysicalSoundChannel.h"

#include "foundation/al/ALAllocator.h"
#include "media/sound/MMLogicalSoundChannel.h"
#include "media/sound/MMSoundManager.h"
#include "media/sound/MMSoundSource.h"
#include "mm/resources/MMGlobalPulseTaskManagers.h"

#include <cstring>

namespace {

constexpr uint32_t kRingGranule = 4096;

}  // namespace

uint32_t MMSoundRingBytes(MMSoundFormat format, uint32_t milliseconds) {
  const auto bytes = static_cast<uint32_t>(MMSoundPeriodBytes(format, milliseconds));
  return (bytes + kRingGranule - 1) & ~(kRingGranule - 1);
}

MMPermanentPhysicalSoundChannel::MMPermanentPhysicalSoundChannel(MMLogicalSoundChannel* logical,
                                                                 MMSoundSource* source,
                                                                 uint32_t milliseconds)
    : MMPhysicalSoundChannel(logical),
      mSource(source),
      mSize(static_cast<int32_t>(MMSoundRingBytes(source->GetFormat(), milliseconds))) {
  mFormat = source->GetFormat();
}

bool MMPermanentPhysicalSoundChannel::CreateBuffer() {
  ALCriticalSectionLock guard(mLock);
  mBuffer = mLogical->GetManager()->CreateSoundBuffer(mFormat, static_cast<uint32_t>(mSize), 0);
  mWriteCursor = 0;
  return mBuffer != nullptr;
}

void MMPermanentPhysicalSoundChannel::PlayFrom(int32_t) { StartStreaming(); }

void MMPermanentPhysicalSoundChannel::StartStreaming() {
  ALCriticalSectionLock guard(mLock);
  WriteFromSource(mSize, true);
  WithBuffer([](IDirectSoundBuffer* buffer) { buffer->SetCurrentPosition(0); });
  mPlayLooping = IsLooping();
  if (!mPaused) PlayWithLoopFlag();
  mRefillState = kStreaming;
}

void MMPermanentPhysicalSoundChannel::Stop() {
  ALCriticalSectionLock guard(mLock);
  MMPhysicalSoundChannel::Stop();
  mWriteCursor = 0;
  mRefillState = kIdle;
}

template <typename F>
int32_t MMPermanentPhysicalSoundChannel::WriteRegion(int32_t end, F&& fill) {
  int32_t locked = -1;
  WithBuffer([&](IDirectSoundBuffer* buffer) {
    void* region = nullptr;
    DWORD bytes = 0;
    if (FAILED(buffer->Lock(static_cast<DWORD>(mWriteCursor),
                            static_cast<DWORD>(end - mWriteCursor), &region, &bytes, nullptr,
                            nullptr, 0)))
      return;
    const auto written = static_cast<int32_t>(fill(static_cast<uint8_t*>(region), bytes));
    buffer->Unlock(region, bytes, nullptr, 0);
    locked = static_cast<int32_t>(bytes);
    mWriteCursor += written;
    if (mWriteCursor >= mSize) mWriteCursor = 0;
  });
  return locked;
}

bool MMPermanentPhysicalSoundChannel::WriteFromSource(int32_t end, bool wait) {
  uint32_t read = 0;
  const int32_t locked = WriteRegion(end, [this, wait, &read](uint8_t* region, DWORD bytes) {
    read = mSource->Read(region, bytes, wait);
    return read;
  });
  return locked >= 0 && read == static_cast<uint32_t>(locked);
}

void MMPermanentPhysicalSoundChannel::WriteSilence(int32_t end) {
  const uint8_t silence = mFormat.Is16Bit() ? 0x00 : 0x80;
  WriteRegion(end, [silence](uint8_t* region, DWORD bytes) {
    std::memset(region, silence, bytes);
    return bytes;
  });
}

int32_t MMPermanentPhysicalSoundChannel::Refill() {
  ALCriticalSectionLock guard(mLock);
  if (mRefillState == kIdle && !PrefillsWhileIdle()) return kNever;
  int32_t play = 0;
  if (mRefillState != kIdle) {
    DWORD cursor = 0;
    bool read = false;
    WithBuffer([&](IDirectSoundBuffer* buffer) {
      read = SUCCEEDED(buffer->GetCurrentPosition(&cursor, nullptr));
    });
    if (!read) return kAtOnce;
    play = static_cast<int32_t>(cursor);
  }
  switch (mRefillState) {
    case kIdle:
    case kStreaming:
      return Chase(play);
    case kDraining:
      return Drain(play);
    case kRunOut:
      return RunOut(play);
  }
  return kNever;
}

int32_t MMPermanentPhysicalSoundChannel::Chase(int32_t play) {
  if (play < mWriteCursor || (mRefillState == kIdle && mWriteCursor == 0)) {
    // To the end of the buffer, then round to the play cursor.
    if (WriteFromSource(mSize, false) && play > 0 && !mSource->AtEnd())
      WriteFromSource(play, false);
  } else if (mRefillState == kStreaming && play > mWriteCursor) {
    WriteFromSource(play, false);
  }
  if (!mSource->AtEnd()) return kRefillDelay;
  if (mLogical->IsPlaying() && mLogical->IsLooping()) {
    mSource->Seek(0);
    return kAtOnce;
  }
  mEndPosition = mWriteCursor;
  if (mRefillState == kIdle) return kNever;
  mRefillState = kDraining;
  return Drain(play);
}

int32_t MMPermanentPhysicalSoundChannel::Drain(int32_t play) {
  if (play > mWriteCursor) {
    WriteSilence(play);
    return kRefillDelay;
  }
  if (play == mWriteCursor) return kRefillDelay;
  // The play cursor wrapped behind the write cursor: silence to the end,
  // and the buffer stops there.
  WriteSilence(mSize);
  if (mPlayLooping) {
    WithBuffer([](IDirectSoundBuffer* buffer) { buffer->Play(0, 0, 0); });
    mPlayLooping = false;
  }
  mRefillState = kRunOut;
  return RunOut(play);
}

int32_t MMPermanentPhysicalSoundChannel::RunOut(int32_t play) {
  if (play <= mEndPosition) return kRefillDelay;
  MMPhysicalSoundChannel::Stop();
  mRefillState = kIdle;
  return kNever;
}

MMStreamedPhysicalSoundChannel::~MMStreamedPhysicalSoundChannel() { ReleaseStreaming(); }

// The previous task goes before the lock is taken: its Refill may be
// waiting for the lock, and removing it waits for that Refill to end.
void MMStreamedPhysicalSoundChannel::PlayFrom(int32_t offset) {
  ReleaseStreaming();
  {
    ALCriticalSectionLock guard(mLock);
    SeekSource(offset);
    StartStreaming();
  }
  AFPulseTaskManager* manager = MMGetStreamingPulseTaskManager();
  if (manager == nullptr) return;
  mTask = new (ALGlobalAllocator) WinMMStreamedPhysicalSoundChannelTask(this);
  manager->AddTask(mTask);
}

// The source answers the position it reached, clamped to its length, so an
// offset past the end wraps round as a looping sound would; a seek that
// makes no progress (an empty source) ends the walk.
void MMStreamedPhysicalSoundChannel::SeekSource(int32_t offset) {
  int32_t remaining = offset;
  int32_t reached = 0;
  do {
    reached = mSource->Seek(remaining);
    remaining -= reached;
  } while (remaining > 0 && reached > 0);
}

// The task goes before the lock is taken, as in PlayFrom.
void MMStreamedPhysicalSoundChannel::Stop() {
  ReleaseStreaming();
  MMPermanentPhysicalSoundChannel::Stop();
}

void MMStreamedPhysicalSoundChannel::ReleaseStreaming() {
  if (mTask == nullptr) return;
  if (AFPulseTaskManager* manager = mTask->GetManager()) manager->RemoveTask(mTask);
  delete mTask;
  mTask = nullptr;
}
