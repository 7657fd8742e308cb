#pragma once
// Independent computations of what the perceptual audio decoder must
// produce: dequantised values from the gain formula, inverse transforms by
// direct sums, the wavelet-packet synthesis by direct convolution, and the
// windowed overlap of whole frames in time.

#include "media/codecs/UUPerceptualAudioFrame.h"
#include "tests/media/codecs/PerceptualAudioTestEncoder.h"

#include <cmath>
#include <functional>
#include <memory>
#include <numbers>
#include <vector>

namespace PerceptualAudioTest {

using Spectrum = std::vector<double>;
using Window = std::function<double(int)>;  // a rising half, by sample

inline double ReferenceGain(int scaleFactor) {
  const double power = std::pow(10.0, scaleFactor / 10.0);
  return scaleFactor < 20 ? std::round(16.0 * power) / 32.0 : std::round(power / 2.0);
}

// The dequantised spectrum of one channel of an encoded frame.
inline Spectrum Dequantised(const Encoder& encoder, const FrameData& frame, int channel) {
  const auto config = encoder.Config(frame.blockType);
  const ChannelData& data = frame.channels[static_cast<size_t>(channel)];
  Spectrum x(kFrameLength, 0.0);
  for (int b = 0; b < config.bandCount; ++b) {
    if (data.book[static_cast<size_t>(b)] == 0) continue;
    for (int k = config.start[static_cast<size_t>(b)]; k < config.start[static_cast<size_t>(b + 1)];
         ++k) {
      const int q = data.q[static_cast<size_t>(k)];
      const double magnitude = std::pow(std::abs(q), 1.5);
      x[static_cast<size_t>(k)] = ReferenceGain(data.scaleFactor[static_cast<size_t>(b)]) *
                                  (q < 0 ? -magnitude : magnitude);
    }
  }
  return x;
}

// y[n] = sum over k of x[k] cos(pi / N (n + 1/2 + N/2) (k + 1/2)), n < 2N.
inline std::vector<double> InverseMdct(const double* x, int n) {
  std::vector<double> y(static_cast<size_t>(2 * n));
  for (int t = 0; t < 2 * n; ++t) {
    double sum = 0.0;
    for (int k = 0; k < n; ++k) {
      if (x[k] != 0.0)
        sum += x[k] * std::cos(std::numbers::pi / n * (t + 0.5 + n / 2.0) * (k + 0.5));
    }
    y[static_cast<size_t>(t)] = sum;
  }
  return y;
}

// The packet tree of the wavelet layout of 1024 values, or of the wavelet
// half (512 values), at a rate.
inline std::unique_ptr<UUPerceptualAudio::WaveletPacket> PacketTree(int size, int32_t rate) {
  using namespace UUPerceptualAudio;
  const BlockConfig config =
      MakeBlockConfig(size == kFrameLength ? kWavelet : kWaveletThenTransform, rate);
  int edges = 1;
  while (config.start[static_cast<size_t>(edges - 1)] < size) ++edges;
  auto tree = std::make_unique<WaveletPacket>();
  return tree->Create(size, config.start.data(), edges) ? std::move(tree) : nullptr;
}

// The wavelet-packet synthesis of coefficients of whole frames by direct
// convolution of every band's stream over all frames at once: y[n] = sum
// over bands i and inputs k of x_i[k] f_i[n - bands x k].
inline std::vector<double> PacketSynthesis(const UUPerceptualAudio::WaveletPacket& tree,
                                           std::vector<double> frames) {
  const int size = tree.Size();
  for (int s = 0; s < tree.StageCount(); ++s) {
    const auto& stage = tree.StageAt(s);
    const int inputs = stage.width / stage.bands;
    std::vector<double> y(frames.size() / static_cast<size_t>(size / stage.width), 0.0);
    for (int i = 0; i < stage.bands; ++i) {
      const std::vector<double> x = BandStream(frames, size, stage.offset + i * inputs, inputs);
      const auto bands = static_cast<size_t>(stage.bands);
      for (size_t k = 0; k < x.size(); ++k) {
        for (int j = 0; j < tree.Taps(stage) && k * bands + static_cast<size_t>(j) < y.size();
             ++j) {
          y[k * bands + static_cast<size_t>(j)] += x[k] * tree.Tap(stage, i, j);
        }
      }
    }
    PutBandStream(frames, size, stage.offset, stage.width, y);
  }
  return frames;
}

// The 2N samples of a long block from its folded form z (N values): z[N/2
// + n] = y[n], z[N/2 - 1 - n] = -y[N + n], the halves (anti)symmetric.
inline std::vector<double> Unfold(const std::vector<double>& z) {
  const int n = static_cast<int>(z.size());
  const int a = n / 2;
  std::vector<double> y(static_cast<size_t>(2 * n));
  for (int i = 0; i < a; ++i) {
    y[static_cast<size_t>(i)] = z[static_cast<size_t>(a + i)];
    y[static_cast<size_t>(n - 1 - i)] = -z[static_cast<size_t>(a + i)];
    y[static_cast<size_t>(n + i)] = -z[static_cast<size_t>(a - 1 - i)];
    y[static_cast<size_t>(2 * n - 1 - i)] = -z[static_cast<size_t>(a - 1 - i)];
  }
  return y;
}

// The time signal of one channel: each frame's blocks windowed and added
// at their places; frame f's output covers samples [1024 f, 1024 f + 1024).
class TimeSignal {
 public:
  TimeSignal(int frames, Window longWindow, Window shortWindow)
      : mSamples(static_cast<size_t>((frames + 2) * kFrameLength), 0.0),
        mLong(std::move(longWindow)),
        mShort(std::move(shortWindow)) {}

  // A block of a long-family type (or a wavelet type, given its y).
  void AddLongBlock(int frame, int blockType, const std::vector<double>& y) {
    using namespace UUPerceptualAudio;
    const bool startsShort = blockType != kLong && blockType != kLongStart;
    const bool endsShort = blockType != kLong && blockType != kLongStop;
    for (int n = 0; n < 2 * kFrameLength; ++n) {
      const int m = n < kFrameLength ? n : 2 * kFrameLength - 1 - n;  // distance from the edge
      const bool shortSide = n < kFrameLength ? startsShort : endsShort;
      double w = mLong(m);
      if (shortSide) w = m < 448 ? 0.0 : (m < 576 ? mShort(m - 448) : 1.0);
      Add(frame * kFrameLength + n, std::numbers::sqrt2 / 1024.0 * w * y[static_cast<size_t>(n)]);
    }
  }

  void AddShortBlocks(int frame, const Spectrum& x) {
    for (int w = 0; w < 8; ++w) {
      const std::vector<double> y = InverseMdct(x.data() + 128 * w, 128);
      for (int n = 0; n < 256; ++n) {
        const double window = n < 128 ? mShort(n) : mShort(255 - n);
        Add(frame * kFrameLength + 448 + 128 * w + n,
            std::numbers::sqrt2 / 128.0 * window * y[static_cast<size_t>(n)]);
      }
    }
  }

  // The expected 16-bit sample: clipped and rounded to even.
  int16_t Pcm(int t) const {
    const double v = mSamples[static_cast<size_t>(t)];
    if (v > 32767.0) return 32767;
    if (v < -32768.0) return -32768;
    return static_cast<int16_t>(std::nearbyint(v));
  }
  double At(int t) const { return mSamples[static_cast<size_t>(t)]; }

 private:
  void Add(int t, double v) {
    if (t < static_cast<int>(mSamples.size())) mSamples[static_cast<size_t>(t)] += v;
  }

  std::vector<double> mSamples;
  Window mLong;
  Window mShort;
};

}  // namespace PerceptualAudioTest
