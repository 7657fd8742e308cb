// The software mixer: one SDL audio device, opened while some DirectSound
// object or buffer holds it, whose callback mixes every playing voice.

#include "platform/directx/SoundMixer.h"

#include "platform/win32/testhooks.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <condition_variable>
#include <cstring>

namespace vpl::platform {
namespace {

constexpr int kDeviceFrames = 1024;  // about 23 ms a callback

std::mutex gOpenLock;
std::weak_ptr<SoundMixer> gMixer;
uint32_t gOpenDevice = 0;  // the open mixer's device, under gOpenLock
bool gHeld = false;        // under gOpenLock
std::atomic<DWORD> gMasterVolume{0xFFFFFFFF};

// Frames the device has taken, for tests that wait for its output.
std::mutex gTakenLock;
std::condition_variable gTaken;
uint64_t gTakenFrames = 0;

void DeviceCallback(void* mixer, Uint8* stream, int bytes) {
  const int frames = bytes / static_cast<int>(kMixerChannels * sizeof(int16_t));
  static_cast<SoundMixer*>(mixer)->Mix(reinterpret_cast<int16_t*>(stream), frames);
  {
    std::lock_guard<std::mutex> guard(gTakenLock);
    gTakenFrames += static_cast<uint64_t>(frames);
  }
  gTaken.notify_all();
}

std::shared_ptr<SoundMixer> OpenMixer() {
  std::lock_guard<std::mutex> guard(gOpenLock);
  return gMixer.lock();
}

template <bool k16Bit, bool kStereo>
int32_t SampleAt(const uint8_t* bytes, uint32_t frame, int channel) {
  constexpr uint32_t kSampleBytes = k16Bit ? 2 : 1;
  constexpr uint32_t kFrameBytes = kSampleBytes * (kStereo ? 2 : 1);
  const uint8_t* at =
      bytes + frame * kFrameBytes + (kStereo ? static_cast<uint32_t>(channel) * kSampleBytes : 0);
  if constexpr (k16Bit) {
    int16_t sample;
    std::memcpy(&sample, at, sizeof sample);
    return sample;
  } else {
    return (static_cast<int32_t>(*at) - 128) * 256;
  }
}

// Linear interpolation at a 16-bit fraction of the way from a to b.
int32_t Between(int32_t a, int32_t b, uint32_t fraction) {
  return a + static_cast<int32_t>((static_cast<int64_t>(b - a) * fraction) >> 16);
}

int32_t Scaled(int32_t sample, int32_t gain) {
  return static_cast<int32_t>((static_cast<int64_t>(sample) * gain) >> 16);
}

// Adds frames of the voice into the accumulator, resampling its frames to
// the mixer's rate; a buffer that is not looping stops at its end.
template <bool k16Bit, bool kStereo>
void MixVoice(SoundVoice& voice, int32_t* accumulator, int frames) {
  const uint8_t* bytes = voice.samples->bytes.data();
  const uint32_t frameCount = voice.samples->FrameCount();
  const uint64_t end = static_cast<uint64_t>(frameCount) << 32;
  const uint64_t step = (static_cast<uint64_t>(voice.frequency) << 32) / kMixerRate;
  uint64_t position = voice.position;
  for (int k = 0; k < frames; ++k) {
    const auto frame = static_cast<uint32_t>(position >> 32);
    const auto fraction = static_cast<uint32_t>(position >> 16) & 0xFFFF;
    const uint32_t next = frame + 1 < frameCount ? frame + 1 : (voice.looping ? 0 : frame);
    const int32_t left = Between(SampleAt<k16Bit, kStereo>(bytes, frame, 0),
                                 SampleAt<k16Bit, kStereo>(bytes, next, 0), fraction);
    const int32_t right = kStereo ? Between(SampleAt<k16Bit, kStereo>(bytes, frame, 1),
                                            SampleAt<k16Bit, kStereo>(bytes, next, 1), fraction)
                                  : left;
    accumulator[2 * k] += Scaled(left, voice.leftGain);
    accumulator[2 * k + 1] += Scaled(right, voice.rightGain);
    position += step;
    if (position < end) continue;
    if (voice.looping) {
      position %= end;
    } else {
      voice.playing = false;
      position = end;
      break;
    }
  }
  voice.position = position;
}

void MixAnyVoice(SoundVoice& voice, int32_t* accumulator, int frames) {
  const bool is16Bit = voice.samples->format.wBitsPerSample == 16;
  const bool stereo = voice.samples->format.nChannels == 2;
  if (is16Bit && stereo) MixVoice<true, true>(voice, accumulator, frames);
  if (is16Bit && !stereo) MixVoice<true, false>(voice, accumulator, frames);
  if (!is16Bit && stereo) MixVoice<false, true>(voice, accumulator, frames);
  if (!is16Bit && !stereo) MixVoice<false, false>(voice, accumulator, frames);
}

int16_t Clamped(int64_t sample) {
  return static_cast<int16_t>(std::clamp<int64_t>(sample, INT16_MIN, INT16_MAX));
}

}  // namespace

SoundVoice::SoundVoice(std::shared_ptr<SoundSamples> shared)
    : samples(std::move(shared)), frequency(samples->format.nSamplesPerSec) {}

int32_t AttenuationGain(LONG hundredthsOfDecibel) {
  if (hundredthsOfDecibel <= DSBVOLUME_MIN) return 0;
  return static_cast<int32_t>(
      std::lround(SoundVoice::kUnityGain * std::pow(10.0, hundredthsOfDecibel / 2000.0)));
}

void SoundVoice::UpdateGains() {
  const int32_t gain = AttenuationGain(volume);
  leftGain = Scaled(gain, AttenuationGain(std::min<LONG>(0, -pan)));
  rightGain = Scaled(gain, AttenuationGain(std::min<LONG>(0, pan)));
}

DWORD SoundVoice::PlayCursor() const {
  const uint32_t frame = std::min(static_cast<uint32_t>(position >> 32), samples->FrameCount());
  return frame * samples->format.nBlockAlign;
}

std::shared_ptr<SoundMixer> SoundMixer::Open() {
  std::lock_guard<std::mutex> guard(gOpenLock);
  if (std::shared_ptr<SoundMixer> open = gMixer.lock()) return open;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
  std::shared_ptr<SoundMixer> mixer(new SoundMixer(0));
  SDL_AudioSpec wanted{};
  wanted.freq = kMixerRate;
  wanted.format = AUDIO_S16SYS;
  wanted.channels = kMixerChannels;
  wanted.samples = kDeviceFrames;
  wanted.callback = &DeviceCallback;
  wanted.userdata = mixer.get();
  mixer->mDevice = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
  if (mixer->mDevice == 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  gOpenDevice = mixer->mDevice;
  SDL_PauseAudioDevice(mixer->mDevice, gHeld ? 1 : 0);
  gMixer = mixer;
  return mixer;
}

SoundMixer::SoundMixer(uint32_t device) : mDevice(device) {}

SoundMixer::~SoundMixer() {
  if (mDevice == 0) return;
  {
    std::lock_guard<std::mutex> guard(gOpenLock);
    if (gOpenDevice == mDevice) gOpenDevice = 0;
  }
  SDL_CloseAudioDevice(mDevice);
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SoundMixer::AddVoice(SoundVoice* voice) {
  std::lock_guard<std::mutex> guard(mVoicesLock);
  mVoices.push_back(voice);
}

void SoundMixer::RemoveVoice(SoundVoice* voice) {
  std::lock_guard<std::mutex> guard(mVoicesLock);
  std::erase(mVoices, voice);
}

void SoundMixer::Mix(int16_t* out, int frames) {
  std::lock_guard<std::mutex> guard(mVoicesLock);
  mAccumulator.assign(static_cast<size_t>(frames) * kMixerChannels, 0);
  for (SoundVoice* voice : mVoices) {
    std::lock_guard<std::mutex> samplesGuard(voice->samples->lock);
    if (voice->playing) MixAnyVoice(*voice, mAccumulator.data(), frames);
  }
  const DWORD master = gMasterVolume.load(std::memory_order_relaxed);
  const int64_t gains[kMixerChannels] = {master & 0xFFFF, master >> 16};
  for (size_t k = 0; k < mAccumulator.size(); ++k) {
    out[k] = Clamped(mAccumulator[k] * gains[k % kMixerChannels] / 0xFFFF);
  }
}

DWORD MasterVolume() { return gMasterVolume.load(std::memory_order_relaxed); }

void SetMasterVolume(DWORD volume) { gMasterVolume.store(volume, std::memory_order_relaxed); }

UINT SoundOutputCount() {
  if (OpenMixer() != nullptr) return 1;
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return 0;
  const int devices = SDL_GetNumAudioDevices(0);
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
  return devices != 0 ? 1 : 0;
}

void HoldSoundOutput(bool hold) {
  std::lock_guard<std::mutex> guard(gOpenLock);
  gHeld = hold;
  if (gOpenDevice != 0) SDL_PauseAudioDevice(gOpenDevice, hold ? 1 : 0);
}

bool MixSoundOutput(int16_t* out, int frames) {
  std::shared_ptr<SoundMixer> mixer = OpenMixer();
  if (mixer == nullptr) return false;
  mixer->Mix(out, frames);
  return true;
}

bool WaitForSoundOutput(int frames, DWORD timeoutMilliseconds) {
  std::unique_lock<std::mutex> guard(gTakenLock);
  const uint64_t until = gTakenFrames + static_cast<uint64_t>(frames);
  return gTaken.wait_for(guard, std::chrono::milliseconds(timeoutMilliseconds),
                         [until] { return gTakenFrames >= until; });
}

}  // namespace vpl::platform
