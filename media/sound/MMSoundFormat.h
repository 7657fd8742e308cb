#pragma once
// The format of the PCM bytes a sound source delivers, one 32-bit word:
// bits 0-2 the sample rate as a multiple of 11025 Hz (1, 2 or 4), bit 3
// 16-bit signed samples (else 8-bit unsigned, silence 0x80), bit 4 stereo
// with the samples interleaved left, right.

#include <cstdint>

struct MMSoundFormat {
  static constexpr uint32_t kRateMask = 0x07;
  static constexpr uint32_t k16Bit = 0x08;
  static constexpr uint32_t kStereo = 0x10;
  static constexpr int32_t kBaseRate = 11025;

  uint32_t mBits = 0;

  int32_t GetRateMultiple() const { return static_cast<int32_t>(mBits & kRateMask); }
  int32_t GetSampleRate() const { return kBaseRate * GetRateMultiple(); }
  bool Is16Bit() const { return (mBits & k16Bit) != 0; }
  bool IsStereo() const { return (mBits & kStereo) != 0; }
  int32_t GetChannelCount() const { return IsStereo() ? 2 : 1; }
  // The bytes of one sample of every channel.
  int32_t GetFrameBytes() const { return GetChannelCount() * (Is16Bit() ? 2 : 1); }
  bool operator==(const MMSoundFormat& other) const = default;
};

// The device buffer of a sound of this format: 1.5 s of sound counted in
// whole 40 ms periods (37 of them), rounded up to a multiple of 4096 bytes.
int32_t MMSoundBufferBytes(MMSoundFormat format);

// The bytes of PCM of the format in so many milliseconds, counted in 40 ms
// periods of 441 samples at 11025 Hz, rounded toward zero.
int64_t MMSoundPeriodBytes(MMSoundFormat format, int64_t milliseconds);
