#pragma once
// Internal to the platform layer: the software mixer behind DirectSound.
// One SDL audio device plays the process's output, 44100 Hz, 16-bit
// stereo, and SDL's audio thread mixes every playing voice into it. A voice
// is the playing state of one secondary buffer; the voices of a buffer and
// of its duplicates share one block of samples and the lock that guards
// the samples and those voices, so the stage and pulse threads that write
// a buffer and the audio thread that reads it never meet unguarded.

#include "platform/directx/dsound.h"

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace vpl::platform {

constexpr int kMixerRate = 44100;
constexpr int kMixerChannels = 2;

// The samples of a buffer and of its duplicates.
struct SoundSamples {
  std::mutex lock;
  std::vector<uint8_t> bytes;
  WAVEFORMATEX format{};

  uint32_t FrameCount() const { return static_cast<uint32_t>(bytes.size() / format.nBlockAlign); }
};

// The playing state of one buffer; every field is guarded by the samples'
// lock.
struct SoundVoice {
  explicit SoundVoice(std::shared_ptr<SoundSamples> samples);

  // Sets the gains from the volume and pan (hundredths of a decibel).
  void UpdateGains();
  // The play cursor in bytes; the buffer's size once it played to its end.
  DWORD PlayCursor() const;

  std::shared_ptr<SoundSamples> samples;
  uint64_t position = 0;  // in frames, 32.32 fixed point
  bool playing = false;
  bool looping = false;
  DWORD frequency;  // samples per second of the buffer's own frames
  LONG volume = DSBVOLUME_MAX;
  LONG pan = 0;
  int32_t leftGain = kUnityGain;  // 16.16 fixed point
  int32_t rightGain = kUnityGain;

  static constexpr int32_t kUnityGain = 1 << 16;
};

// Amplitude of an attenuation in hundredths of a decibel, 16.16 fixed
// point; the minimum volume is silence.
int32_t AttenuationGain(LONG hundredthsOfDecibel);

class SoundMixer {
 public:
  // The open output, opening it when nobody holds it; null when the audio
  // device cannot be opened.
  static std::shared_ptr<SoundMixer> Open();
  ~SoundMixer();
  SoundMixer(const SoundMixer&) = delete;
  SoundMixer& operator=(const SoundMixer&) = delete;

  void AddVoice(SoundVoice* voice);
  // Once this returns, the audio thread no longer reads the voice.
  void RemoveVoice(SoundVoice* voice);
  // Mixes the next frames of every playing voice, with the master volume,
  // into interleaved left and right samples.
  void Mix(int16_t* out, int frames);

 private:
  explicit SoundMixer(uint32_t device);

  std::mutex mVoicesLock;
  std::vector<SoundVoice*> mVoices;
  std::vector<int32_t> mAccumulator;
  uint32_t mDevice;
};

// The wave-out volume: the low word the left channel's gain, the high word
// the right's, 0xFFFF full; every output of the process is scaled by it.
DWORD MasterVolume();
void SetMasterVolume(DWORD volume);
// 1 when the machine has an audio output, else 0.
UINT SoundOutputCount();

// "DSOUND.DLL" of the module table: always there; without an audio output
// its DirectSoundCreate fails.
bool OpenDirectSoundLibrary();
FARPROC LookUpDirectSoundFunction(const char* name);

}  // namespace vpl::platform
