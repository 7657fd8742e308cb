#include "media/sound/MMPhysicalSoundChannel.h"

#include "media/sound/MMLogicalSoundChannel.h"
#include "media/sound/MMSoundManager.h"
#include "media/sound/MMSoundSource.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int32_t kFullVolume = 1024;
constexpr double kPanDeadZone = 0.0001;
constexpr double kMillibelsPerOctave = 1000.0;
constexpr int32_t kPitchOne = 0x10000;

}  // namespace

LONG MMSoundVolumeAttenuation(int32_t volume) {
  // No volume at all (or less) is silence, and so is anything quieter.
  if (volume <= 0) return DSBVOLUME_MIN;
  const double millibels =
      std::log10(static_cast<double>(volume) / kFullVolume) * kMillibelsPerOctave / std::log10(2.0);
  return std::max(static_cast<LONG>(millibels), DSBVOLUME_MIN);
}

LONG MMSoundPanAttenuation(int32_t pan) {
  const double p = static_cast<double>(pan) / kFullVolume;
  if (p > kPanDeadZone) return static_cast<LONG>(kMillibelsPerOctave * std::log2(1 + p));
  if (p < -kPanDeadZone) return static_cast<LONG>(-kMillibelsPerOctave * std::log2(1 - p));
  return 0;
}

DWORD MMSoundPitchFrequency(int32_t rateMultiple, int32_t pitch) {
  const double rate = static_cast<double>(rateMultiple) * MMSoundFormat::kBaseRate;
  // The device plays nothing slower or faster; 0 would mean the sound's own
  // rate to it.
  const double frequency =
      std::clamp(rate * pitch / kPitchOne + 0.5, static_cast<double>(DSBFREQUENCY_MIN),
                 static_cast<double>(DSBFREQUENCY_MAX));
  return static_cast<DWORD>(frequency);
}

MMPhysicalSoundChannel::MMPhysicalSoundChannel(MMLogicalSoundChannel* logical)
    : mLogical(logical) {}

MMPhysicalSoundChannel::~MMPhysicalSoundChannel() {
  if (mBuffer != nullptr) mBuffer->Release();
}

void MMPhysicalSoundChannel::PlayFrom(int32_t offset) {
  ALCriticalSectionLock guard(mLock);
  WithBuffer([offset](IDirectSoundBuffer* buffer) {
    buffer->SetCurrentPosition(static_cast<DWORD>(offset));
  });
  mPlayLooping = IsLooping();
  if (!mPaused) PlayWithLoopFlag();
}

void MMPhysicalSoundChannel::PlayWithLoopFlag() {
  const DWORD flags = mPlayLooping ? DSBPLAY_LOOPING : 0;
  WithBuffer([flags](IDirectSoundBuffer* buffer) { buffer->Play(0, 0, flags); });
}

void MMPhysicalSoundChannel::Stop() {
  WithBuffer([](IDirectSoundBuffer* buffer) { buffer->Stop(); });
}

void MMPhysicalSoundChannel::Pause() {
  ALCriticalSectionLock guard(mLock);
  WithBuffer([](IDirectSoundBuffer* buffer) { buffer->Stop(); });
  mPaused = true;
}

void MMPhysicalSoundChannel::Resume() {
  ALCriticalSectionLock guard(mLock);
  PlayWithLoopFlag();
  mPaused = false;
}

void MMPhysicalSoundChannel::ApplyPitch() {
  const DWORD frequency = MMSoundPitchFrequency(mFormat.GetRateMultiple(), mLogical->GetPitch());
  WithBuffer([frequency](IDirectSoundBuffer* buffer) { buffer->SetFrequency(frequency); });
}

void MMPhysicalSoundChannel::ApplyVolume() {
  const LONG volume = MMSoundVolumeAttenuation(mLogical->GetVolume());
  WithBuffer([volume](IDirectSoundBuffer* buffer) { buffer->SetVolume(volume); });
}

void MMPhysicalSoundChannel::ApplyPan() {
  const LONG pan = MMSoundPanAttenuation(mLogical->GetPan());
  WithBuffer([pan](IDirectSoundBuffer* buffer) { buffer->SetPan(pan); });
}

bool MMPhysicalSoundChannel::IsLooping() { return mLogical->IsPlaying() && mLogical->IsLooping(); }

void MMPhysicalSoundChannel::PrepareBuffer() { mBufferMade = CreateBuffer(); }

void MMPhysicalSoundChannel::ReleaseBuffer() {
  ReleaseStreaming();
  {
    ALCriticalSectionLock guard(mLock);
    if (mBuffer != nullptr) mBuffer->Release();
    mBuffer = nullptr;
  }
  mBufferMade = false;
}

bool MMPhysicalSoundChannel::IsFinished() {
  DWORD status = 0;
  WithBuffer([&status](IDirectSoundBuffer* buffer) { buffer->GetStatus(&status); });
  return !mPaused && status == 0;
}

MMSinglePagedPhysicalSoundChannel::MMSinglePagedPhysicalSoundChannel(MMLogicalSoundChannel* logical,
                                                                     MMSoundSource* source,
                                                                     int32_t size)
    : MMPhysicalSoundChannel(logical), mSize(size) {
  mFormat = source->GetFormat();
  mBuffer = logical->GetManager()->CreateSoundBuffer(mFormat, static_cast<uint32_t>(size),
                                                     DSBCAPS_STATIC);
  if (mBuffer != nullptr) FillFromSource(source);
}

MMSinglePagedPhysicalSoundChannel::MMSinglePagedPhysicalSoundChannel(
    MMLogicalSoundChannel* logical, MMSinglePagedPhysicalSoundChannel* other)
    : MMPhysicalSoundChannel(logical), mSize(other->mSize) {
  mFormat = other->mFormat;
  mBuffer = logical->GetManager()->DuplicateSoundBuffer(other->mBuffer);
}

MMPhysicalSoundChannel* MMSinglePagedPhysicalSoundChannel::KeepIfMade(
    MMSinglePagedPhysicalSoundChannel* channel) {
  if (channel->CreateBuffer()) return channel;
  delete channel;
  return nullptr;
}

void MMSinglePagedPhysicalSoundChannel::PlayFrom(int32_t offset) {
  const bool wraps = mLogical->IsPlaying() && mLogical->IsLooping() && mSize > 0;
  MMPhysicalSoundChannel::PlayFrom(wraps ? offset % mSize : std::min(offset, mSize));
}

void MMSinglePagedPhysicalSoundChannel::StopLooping() {
  WithBuffer([](IDirectSoundBuffer* buffer) { buffer->Play(0, 0, 0); });
}

void MMSinglePagedPhysicalSoundChannel::FillFromSource(MMSoundSource* source) {
  WithBuffer([this, source](IDirectSoundBuffer* buffer) {
    void* region = nullptr;
    DWORD bytes = 0;
    if (FAILED(buffer->Lock(0, static_cast<DWORD>(mSize), &region, &bytes, nullptr, nullptr, 0)))
      return;
    source->Read(region, bytes, true);
    buffer->Unlock(region, bytes, nullptr, 0);
  });
}
