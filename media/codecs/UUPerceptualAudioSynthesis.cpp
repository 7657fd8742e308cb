#include "media/codecs/UUPerceptualAudioSynthesis.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <numbers>

#include "foundation/uu/UUDebugOutput.h"
#include "media/codecs/UUPerceptualAudioFrame.h"

namespace UUPerceptualAudio {

namespace {

constexpr double kPi = std::numbers::pi;
constexpr int kLongWindowLength = 1024;
constexpr int kShortWindowLength = 128;
constexpr int kHalf = kFrameLength / 2;
constexpr int kTransitionStart = 448;  // samples before the short-window slope
constexpr int kTransitionLength = 64;
constexpr int kShortHop = 128;
constexpr float kLongScale = static_cast<float>(-std::numbers::sqrt2 / 1024.0);
constexpr float kShortScale = static_cast<float>(-std::numbers::sqrt2 / 128.0);
constexpr float kWaveletScale = 512.0f;
constexpr float kHalfTransformGain = 2.0f;
constexpr float kTransitionFold = 1.0f / 8.0f;
constexpr int32_t kTabulatedWindowRate = 24000;
constexpr int32_t kTabulatedWindowMonoRate = 32000;
// Kaiser-Bessel-derived windows: the tabulated long window and the short one.
constexpr double kLongWindowAlpha = 4.0;
constexpr double kShortWindowAlpha = 6.0;
constexpr int kBitReverseBits = 9;

double BesselI0(double x) {
  double sum = 1.0;
  double term = 1.0;
  for (int k = 1; k < 50 && term > 1e-12 * sum; ++k) {
    term *= (x / (2.0 * k)) * (x / (2.0 * k));
    sum += term;
  }
  return sum;
}

// The rising half (length values) of a power-complementary window.
template <size_t N>
void KaiserBesselDerived(std::array<float, N>& window, double alpha) {
  const int length = static_cast<int>(N);
  std::array<double, N + 1> kaiser;
  double total = 0.0;
  for (int j = 0; j <= length; ++j) {
    const double r = 2.0 * j / length - 1.0;
    kaiser[static_cast<size_t>(j)] = BesselI0(kPi * alpha * std::sqrt(1.0 - r * r));
    total += kaiser[static_cast<size_t>(j)];
  }
  double running = 0.0;
  for (int n = 0; n < length; ++n) {
    running += kaiser[static_cast<size_t>(n)];
    window[static_cast<size_t>(n)] = static_cast<float>(std::sqrt(running / total));
  }
}

template <size_t N>
void SineWindow(std::array<float, N>& window) {
  for (size_t n = 0; n < N; ++n) {
    window[n] = static_cast<float>(
        std::sin(kPi * (static_cast<double>(n) + 0.5) / (2.0 * static_cast<double>(N))));
  }
}

// (sin t, cos t) with t = pi (i + 1/4) / (2a).
template <typename C, size_t N>
void PreTwiddles(std::array<C, N>& table) {
  const double a = static_cast<double>(N);
  for (size_t i = 0; i < N; ++i) {
    const double t = kPi * (static_cast<double>(i) + 0.25) / (2.0 * a);
    table[i] = {static_cast<float>(std::sin(t)), static_cast<float>(std::cos(t))};
  }
}

uint16_t ReverseBits(uint32_t value, int bits) {
  uint32_t reversed = 0;
  for (int b = 0; b < bits; ++b) reversed = reversed << 1 | ((value >> b) & 1);
  return static_cast<uint16_t>(reversed);
}

}  // namespace

bool Synthesis::Create(int32_t sampleRate, bool monoStream) {
  const bool tabulated =
      sampleRate <= kTabulatedWindowRate || (monoStream && sampleRate <= kTabulatedWindowMonoRate);
  if (tabulated) {
    KaiserBesselDerived(mLongWindow, kLongWindowAlpha);
  } else {
    SineWindow(mLongWindow);
  }
  KaiserBesselDerived(mShortWindow, kShortWindowAlpha);
  for (int i = 0; i < kLongFold; ++i) {
    mLongE[static_cast<size_t>(i)] = kLongScale * LongWindow(i);
    mLongC[static_cast<size_t>(i)] = kLongScale * LongWindow(kLongWindowLength - 1 - i);
  }
  for (int i = 0; i < kShortFold; ++i) {
    const float rising = ShortWindow(i);
    const float falling = ShortWindow(kShortWindowLength - 1 - i);
    mShortE[static_cast<size_t>(i)] = kShortScale * rising;
    mShortC[static_cast<size_t>(i)] = kShortScale * falling;
    mT0[static_cast<size_t>(i)] = kShortScale * rising;
    mT1[static_cast<size_t>(i)] = kLongScale * falling;
    mT2[static_cast<size_t>(i)] = -kLongScale * rising;
    mT3[static_cast<size_t>(i)] = kShortScale * falling;
  }
  for (int j = 0; j < kDftSize; ++j) {
    const double angle = 2.0 * kPi * j / kDftSize;
    mRoots[static_cast<size_t>(j)] = {static_cast<float>(std::cos(angle)),
                                      static_cast<float>(-std::sin(angle))};
    mBitReverse[static_cast<size_t>(j)] = ReverseBits(static_cast<uint32_t>(j), kBitReverseBits);
  }
  PreTwiddles(mPre512);
  PreTwiddles(mPre256);
  PreTwiddles(mPre64);
  for (size_t j = 0; j < mPost.size(); ++j) {
    const double u = kPi * static_cast<double>(j) / 1024.0;
    mPost[j] = {static_cast<float>(std::sin(u)), static_cast<float>(std::cos(u))};
  }
  const BlockConfig whole = MakeBlockConfig(kWavelet, sampleRate);
  const BlockConfig halves = MakeBlockConfig(kWaveletThenTransform, sampleRate);
  int halfEdgeCount = 0;
  while (halves.start[static_cast<size_t>(halfEdgeCount)] < kHalf) ++halfEdgeCount;
  return mWholePacket.Create(kFrameLength, whole.start.data(), whole.bandCount + 1) &&
         mHalfPacket.Create(kHalf, halves.start.data(), halfEdgeCount + 1);
}

void Synthesis::Dft(Complex* x, int a) const {
  const int shift = kBitReverseBits - static_cast<int>(std::log2(a));
  for (int m = 0; m < a; ++m) {
    const int r = mBitReverse[static_cast<size_t>(m)] >> shift;
    if (r > m) std::swap(x[m], x[r]);
  }
  for (int span = 2; span <= a; span *= 2) {
    const int step = kDftSize / span;
    const int half = span / 2;
    for (int base = 0; base < a; base += span) {
      for (int k = 0; k < half; ++k) {
        const Complex w = mRoots[static_cast<size_t>(k * step)];
        Complex& top = x[base + k];
        Complex& bottom = x[base + k + half];
        const Complex t = {bottom.re * w.re - bottom.im * w.im,
                           bottom.re * w.im + bottom.im * w.re};
        bottom = {top.re - t.re, top.im - t.im};
        top = {top.re + t.re, top.im + t.im};
      }
    }
  }
}

void Synthesis::PreTwiddle(Complex* x, int a) const {
  const Complex* table =
      a == kLongFold ? mPre512.data() : (a == 256 ? mPre256.data() : mPre64.data());
  for (int i = 0; i < a / 2; ++i) {
    const Complex s = x[i];
    const Complex p = x[a - 1 - i];
    const float f = table[i].re, g = table[i].im;
    const float l = table[a - 1 - i].re, h = table[a - 1 - i].im;
    x[i] = {p.im * f + s.re * g, p.im * g - s.re * f};
    x[a - 1 - i] = {h * p.re + l * s.im, h * s.im - p.re * l};
  }
}

void Synthesis::PostTwiddle(Complex* x, int a) const {
  const int c = kDftSize / a;
  for (int j = 0; j < a / 2; ++j) {
    const Complex p = x[j];
    const Complex r = x[a - 1 - j];
    const float d = mPost[static_cast<size_t>(j * c)].re, e = mPost[static_cast<size_t>(j * c)].im;
    const float d2 = mPost[static_cast<size_t>((j + 1) * c)].re;
    const float e2 = mPost[static_cast<size_t>((j + 1) * c)].im;
    x[j] = {d * p.im + e * p.re, r.re * e2 - d2 * r.im};
    x[a - 1 - j] = {d2 * r.re + e2 * r.im, d * p.re - e * p.im};
  }
}

bool Synthesis::Fold(float* values, int a) const {
  if (a != kLongFold && a != kLongFold / 2 && a != kShortFold) {
    char message[32];
    std::snprintf(message, sizeof message, "oops fftinit %d\n", a);
    UUDebugOutput(message);
    return false;
  }
  // Pairs of floats are the complex values the transform works on.
  std::array<Complex, kDftSize> x;
  for (int m = 0; m < a; ++m) x[static_cast<size_t>(m)] = {values[2 * m], values[2 * m + 1]};
  PreTwiddle(x.data(), a);
  Dft(x.data(), a);
  PostTwiddle(x.data(), a);
  for (int m = 0; m < a; ++m) {
    values[2 * m] = x[static_cast<size_t>(m)].re;
    values[2 * m + 1] = x[static_cast<size_t>(m)].im;
  }
  return true;
}

void Synthesis::Overlap(const float* z, const float* h, int a, const float* e, const float* c,
                        float* out) const {
  for (int i = 0; i < a; ++i) {
    out[2 * a - 1 - i] = c[i] * z[a + i] + e[i] * h[a - 1 - i];
    out[i] = c[i] * h[a - 1 - i] - e[i] * z[a + i];
  }
}

void Synthesis::Transition(const float* z, const float* q, float* out) const {
  for (int i = 0; i < kTransitionLength; ++i) {
    out[kTransitionStart + 2 * kTransitionLength - 1 - i] =
        mT1[static_cast<size_t>(i)] * z[kFrameLength - kTransitionLength + i] +
        mT0[static_cast<size_t>(i)] * q[kOverlapLength - 1 - i];
    out[kTransitionStart + i] =
        mT3[static_cast<size_t>(i)] * q[kOverlapLength - 1 - i] +
        mT2[static_cast<size_t>(i)] * z[kFrameLength - kTransitionLength + i];
  }
}

void Synthesis::LongOutput(int blockType, const float* z, ChannelState& state,
                           float* output) const {
  float* q = state.overlap.data();
  if (blockType == kLong || blockType == kLongStart) {
    Overlap(z, q, kLongFold, mLongE.data(), mLongC.data(), output);
  } else {
    std::copy_n(q, kTransitionStart, output);
    Transition(z, q, output);
    for (int j = 0; j < kTransitionStart; ++j) {
      output[kTransitionStart + 2 * kTransitionLength + j] = kLongScale * z[959 - j];
    }
  }
  if (blockType == kLong || blockType == kLongStop) {
    std::copy_n(z, kOverlapLength, q);
    return;
  }
  for (int j = 0; j < kTransitionStart; ++j) q[j] = kLongScale * z[kOverlapLength - 1 - j];
  for (int i = 0; i < kTransitionLength; ++i) q[kTransitionStart + i] = z[i] * kTransitionFold;
}

void Synthesis::ShortOutput(float* spectrum, ChannelState& state, float* output) const {
  float* q = state.overlap.data();
  std::copy_n(q, kTransitionStart, output);
  std::array<float, kOverlapLength> next;
  std::array<float, kShortHop> samples;
  const float* previous = q + kTransitionStart;
  for (int w = 0; w < kMaxWindows; ++w) {
    float* z = spectrum + kShortHop * w;
    Fold(z, kShortFold);
    Overlap(z, previous, kShortFold, mShortE.data(), mShortC.data(), samples.data());
    const int at = kTransitionStart + kShortHop * w;  // where the samples belong in time
    for (int i = 0; i < kShortHop; ++i) {
      const int t = at + i;
      if (t < kFrameLength) {
        output[t] = samples[static_cast<size_t>(i)];
      } else {
        next[static_cast<size_t>(t - kFrameLength)] = samples[static_cast<size_t>(i)];
      }
    }
    previous = z;
  }
  std::copy_n(previous, kTransitionLength, next.begin() + kTransitionStart);
  std::copy(next.begin(), next.end(), q);
}

bool Synthesis::WaveletBlock(int blockType, float* x, ChannelState& state) const {
  if (blockType == kWavelet) return WaveletSynthesis(x, kFrameLength, state);
  float* wavelet = blockType == kWaveletThenTransform ? x : x + kHalf;
  float* transform = blockType == kWaveletThenTransform ? x + kHalf : x;
  if (!WaveletSynthesis(wavelet, kHalf, state)) return false;
  Fold(transform, kHalf / 2);
  for (int i = 0; i < kHalf / 2; ++i) {
    const float a = transform[i];
    transform[i] = kHalfTransformGain * transform[kHalf - 1 - i];
    transform[kHalf - 1 - i] = kHalfTransformGain * a;
  }
  for (int i = 0; i < kTransitionLength; ++i) {
    const float a = x[kTransitionStart + i];
    const float b = x[kTransitionStart + 2 * kTransitionLength - 1 - i];
    const float rising = ShortWindow(i);
    const float falling = ShortWindow(kShortWindowLength - 1 - i);
    x[kTransitionStart + i] = a * falling - b * rising;
    x[kTransitionStart + 2 * kTransitionLength - 1 - i] = b * falling + a * rising;
  }
  return true;
}

bool Synthesis::Synthesise(int blockType, float* spectrum, ChannelState& state,
                           float* output) const {
  const bool wavelet = blockType >= kWavelet && blockType <= kTransformThenWavelet;
  const bool usesTree[2] = {blockType == kWavelet, wavelet && blockType != kWavelet};
  for (int t = 0; t < 2; ++t) {
    WaveletPacketState& packet = state.packets[static_cast<size_t>(t)];
    if (!usesTree[t] && packet.active) packet = {};
  }
  if (blockType == kEightShort) {
    ShortOutput(spectrum, state, output);
    return true;
  }
  if (wavelet) {
    if (!WaveletBlock(blockType, spectrum, state)) return false;
    std::reverse(spectrum, spectrum + kFrameLength);
  } else {
    Fold(spectrum, kLongFold);
  }
  LongOutput(blockType, spectrum, state, output);
  return true;
}

bool Synthesis::WaveletSynthesis(float* values, int size, ChannelState& state) const {
  if (size != kFrameLength && size != kHalf) {
    UUDebugOutput("Fast WT Not Implemented\n");
    return false;
  }
  const bool whole = size == kFrameLength;
  (whole ? mWholePacket : mHalfPacket).Synthesise(values, state.packets[whole ? 0 : 1]);
  for (int i = 0; i < size; ++i) values[i] *= kWaveletScale;
  return true;
}

int16_t ToPcm(float value) {
  if (value > 32767.0f) return 32767;
  if (!(value >= -32768.0f)) return -32768;
  return static_cast<int16_t>(std::nearbyint(value));
}

}  // namespace UUPerceptualAudio
