#pragma once
// Helpers of the tests that listen to the sound output: holding the audio
// device so that a test mixes the output itself, frame by frame; SDL's disk
// driver, which writes the output to a file at its real pace; and the
// DirectSound device as the system's code opens it.

#include "platform/directx/dsound.h"
#include "platform/win32/kernel.h"
#include "platform/win32/testhooks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace sound_output {

constexpr int kOutputRate = 44100;

// While it lives, the audio device takes no sound: the output moves only
// when the test mixes it.
class HeldOutput {
 public:
  HeldOutput() { vpl::platform::HoldSoundOutput(true); }
  ~HeldOutput() { vpl::platform::HoldSoundOutput(false); }
  HeldOutput(const HeldOutput&) = delete;
  HeldOutput& operator=(const HeldOutput&) = delete;
};

// The next frames of the output, left and right interleaved; silence when
// no output is open, so that a caller may read every frame it asked for.
inline std::vector<int16_t> Mix(int frames) {
  std::vector<int16_t> out(static_cast<size_t>(2 * frames));
  if (!vpl::platform::MixSoundOutput(out.data(), frames)) std::fill(out.begin(), out.end(), 0);
  return out;
}

// Points SDL at another audio driver while it lives: the next audio
// output opened uses it.
class AudioDriverScope {
 public:
  explicit AudioDriverScope(const char* driver) {
    const char* old = std::getenv("SDL_AUDIODRIVER");
    mOld = old != nullptr ? old : "";
    setenv("SDL_AUDIODRIVER", driver, 1);
  }
  ~AudioDriverScope() { setenv("SDL_AUDIODRIVER", mOld.c_str(), 1); }
  AudioDriverScope(const AudioDriverScope&) = delete;
  AudioDriverScope& operator=(const AudioDriverScope&) = delete;

 private:
  std::string mOld;
};

// While it lives, the next audio output opened is SDL's disk driver writing
// into a file of the test's temporary directory (the test program's own
// folder, see HeadlessTestMain.cpp); the file goes with it.
class DiskOutput {
 public:
  explicit DiskOutput(const std::string& name) : mPath(testing::TempDir() + name) {
    setenv("SDL_DISKAUDIOFILE", mPath.c_str(), 1);
  }
  ~DiskOutput() { std::remove(mPath.c_str()); }
  DiskOutput(const DiskOutput&) = delete;
  DiskOutput& operator=(const DiskOutput&) = delete;

  // The output written, left and right interleaved; all of it once the
  // output is closed. A file that is not there fails the test.
  std::vector<int16_t> Samples() const {
    std::ifstream file(mPath, std::ios::binary);
    if (!file.is_open()) {
      ADD_FAILURE() << "no output file " << mPath;
      return {};
    }
    const std::vector<char> raw((std::istreambuf_iterator<char>(file)),
                                std::istreambuf_iterator<char>());
    std::vector<int16_t> samples(raw.size() / 2);
    if (!samples.empty()) std::memcpy(samples.data(), raw.data(), samples.size() * 2);
    return samples;
  }

 private:
  AudioDriverScope mDriver{"disk"};
  std::string mPath;
};

// "DirectSoundCreate" of "DSOUND.DLL", as the sound manager finds it.
inline LPDIRECTSOUNDCREATE DirectSoundEntry() {
  HMODULE module = LoadLibraryA("DSOUND.DLL");
  return module != nullptr
             ? reinterpret_cast<LPDIRECTSOUNDCREATE>(GetProcAddress(module, "DirectSoundCreate"))
             : nullptr;
}

inline WAVEFORMATEX PcmFormat(DWORD rate, WORD channels, WORD bits) {
  const auto align = static_cast<WORD>(channels * bits / 8);
  return WAVEFORMATEX{.wFormatTag = WAVE_FORMAT_PCM,
                      .nChannels = channels,
                      .nSamplesPerSec = rate,
                      .nAvgBytesPerSec = rate * align,
                      .nBlockAlign = align,
                      .wBitsPerSample = bits,
                      .cbSize = 0};
}

// Writes bytes into the buffer from offset through Lock and Unlock.
inline void Write(IDirectSoundBuffer* buffer, DWORD offset, const std::vector<uint8_t>& bytes) {
  void* region = nullptr;
  DWORD regionBytes = 0;
  ASSERT_EQ(buffer->Lock(offset, static_cast<DWORD>(bytes.size()), &region, &regionBytes, nullptr,
                         nullptr, 0),
            DS_OK);
  ASSERT_EQ(regionBytes, bytes.size());
  std::copy(bytes.begin(), bytes.end(), static_cast<uint8_t*>(region));
  ASSERT_EQ(buffer->Unlock(region, regionBytes, nullptr, 0), DS_OK);
}

// 16-bit little-endian samples as bytes.
inline std::vector<uint8_t> Bytes16(const std::vector<int16_t>& samples) {
  std::vector<uint8_t> bytes;
  for (int16_t sample : samples) {
    bytes.push_back(static_cast<uint8_t>(sample));
    bytes.push_back(static_cast<uint8_t>(static_cast<uint16_t>(sample) >> 8));
  }
  return bytes;
}

}  // namespace sound_output
