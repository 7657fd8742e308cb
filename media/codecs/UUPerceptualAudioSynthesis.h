#pragma once
// The synthesis filter banks of the perceptual audio decoder: per frame a
// long transform, eight short transforms or a wavelet-packet block turns
// one channel's 1024 coefficients into 1024 samples, overlapping with the
// neighbouring frames through a 512-value state; then the samples of both
// channels become 16-bit PCM.

#include <array>
#include <cstddef>
#include <cstdint>

#include "media/codecs/UUPerceptualAudioWaveletPacket.h"

namespace UUPerceptualAudio {

constexpr int kOverlapLength = 512;

struct ChannelState {
  // Long form (after types 0 and 2): the first half of the folded output.
  // Short-transition form (after the other types): 448 finished samples,
  // then 64 folded values of the short-window transition.
  std::array<float, kOverlapLength> overlap{};
  // The wavelet-packet trees' filter states: the whole frame's, the half's.
  // A tree's state is cleared after a frame that does not use it, so that it
  // only ever continues the frame before.
  std::array<WaveletPacketState, 2> packets{};
};

class Synthesis {
 public:
  // Builds the windows and transform tables. The long window of low rates
  // (up to 24000 Hz, or 32000 Hz for mono streams) is tabulated, higher
  // rates use the sine window.
  bool Create(int32_t sampleRate, bool monoStream);

  // Synthesises one frame; the spectrum (1024 values) is transformed in
  // place. False only when a transform cannot serve the block.
  bool Synthesise(int blockType, float* spectrum, ChannelState& state, float* output) const;

  // The folded inverse transform of size a (64, 256 or 512) on 2a values;
  // false for any other size.
  bool Fold(float* values, int a) const;
  // The wavelet-packet synthesis of the size's band layout (512 or 1024
  // values, scaled by 512), continuing from the channel's state; false for
  // any other size.
  bool WaveletSynthesis(float* values, int size, ChannelState& state) const;

  // Rising window halves: long (1024 values) and short (128 values).
  float LongWindow(int n) const { return mLongWindow[static_cast<size_t>(n)]; }
  float ShortWindow(int n) const { return mShortWindow[static_cast<size_t>(n)]; }

 private:
  struct Complex {
    float re;
    float im;
  };
  void Dft(Complex* x, int a) const;
  void PreTwiddle(Complex* x, int a) const;
  void PostTwiddle(Complex* x, int a) const;
  void Overlap(const float* z, const float* h, int a, const float* e, const float* c,
               float* out) const;
  void Transition(const float* z, const float* q, float* out) const;
  void LongOutput(int blockType, const float* z, ChannelState& state, float* output) const;
  void ShortOutput(float* spectrum, ChannelState& state, float* output) const;
  bool WaveletBlock(int blockType, float* x, ChannelState& state) const;

  static constexpr int kDftSize = 512;
  static constexpr int kLongFold = 512;
  static constexpr int kShortFold = 64;

  std::array<float, 1024> mLongWindow;
  std::array<float, 128> mShortWindow;
  std::array<float, kLongFold> mLongE, mLongC;
  std::array<float, kShortFold> mShortE, mShortC;
  std::array<float, kShortFold> mT0, mT1, mT2, mT3;
  std::array<Complex, kDftSize> mRoots;  // e^(-2 pi i j / 512)
  std::array<uint16_t, kDftSize> mBitReverse;
  std::array<Complex, kDftSize> mPre512;
  std::array<Complex, 256> mPre256;
  std::array<Complex, 64> mPre64;
  std::array<Complex, 257> mPost;
  // The packet trees of the wavelet layouts of 1024 and 512 values.
  WaveletPacket mWholePacket;
  WaveletPacket mHalfPacket;
};

// Clips and rounds (ties to even) one output value into a 16-bit sample.
int16_t ToPcm(float value);

}  // namespace UUPerceptualAudio
