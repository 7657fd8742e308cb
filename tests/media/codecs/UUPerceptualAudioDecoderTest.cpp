#include "media/codecs/UUPerceptualAudio.h"

#include <gtest/gtest.h>

#include <numbers>

#include "tests/media/codecs/PerceptualAudioTestSupport.h"

namespace {

using namespace PerceptualAudioTest;
using namespace UUPerceptualAudio;
using Bytes = std::vector<uint8_t>;

constexpr int32_t kRate = 44100;
constexpr int kStereo = 2;
constexpr int kScaleFactor = 45;  // gain 15811
// Decoded samples may differ from the reference by the rounding of floats.
constexpr int kTolerance = 1;

// A frame whose channels hold a few values in the bands around the given
// coefficients, with books chosen to code them (even books on channel 1).
FrameData Frame(const Encoder& encoder, int blockType, const std::vector<std::pair<int, int>>& left,
                const std::vector<std::pair<int, int>>& right, int scaleFactor = kScaleFactor) {
  FrameData frame;
  frame.blockType = blockType;
  const std::vector<std::pair<int, int>>* values[2] = {&left, &right};
  for (int c = 0; c < 2; ++c) {
    for (const auto& [k, q] : *values[c])
      frame.channels[static_cast<size_t>(c)].q[static_cast<size_t>(k)] = q;
    encoder.ChooseBooks(frame, c, scaleFactor);
    for (int& book : frame.channels[static_cast<size_t>(c)].book) {
      if (c == 1 && book % 2 == 1 && book < kEscapeBook) ++book;
    }
  }
  return frame;
}

std::vector<Bytes> EncodeEach(const Encoder& encoder, const std::vector<FrameData>& frames) {
  std::vector<Bytes> calls;
  for (const FrameData& frame : frames) calls.push_back(encoder.EncodeFrame(frame));
  return calls;
}

// The left and right spectra the frame's stereo coding stands for.
std::array<Spectrum, 2> LeftRight(const Encoder& encoder, const FrameData& frame) {
  Spectrum c0 = Dequantised(encoder, frame, 0);
  Spectrum c1 = Dequantised(encoder, frame, 1);
  if (!frame.midSide) return {c0, c1};
  const auto config = encoder.Config(frame.blockType);
  const std::vector<int> ends = Encoder::GroupEnds(frame);
  int window = 0;
  for (size_t g = 0; g < ends.size(); ++g) {
    for (; window < ends[g]; ++window) {
      for (int b = 0; b < config.bandsPerWindow; ++b) {
        if (!frame.midSideBands[g][static_cast<size_t>(b)]) continue;
        const int band = window * config.bandsPerWindow + b;
        for (int k = config.start[static_cast<size_t>(band)];
             k < config.start[static_cast<size_t>(band + 1)]; ++k) {
          const double side = c0[static_cast<size_t>(k)];
          const double mid = c1[static_cast<size_t>(k)];
          c0[static_cast<size_t>(k)] = mid - side;
          c1[static_cast<size_t>(k)] = mid + side;
        }
      }
    }
  }
  return {c0, c1};
}

// The folded form of a half-size transform block, from its direct sum.
std::vector<double> FoldedHalf(const double* x) {
  const std::vector<double> y = InverseMdct(x, 512);
  std::vector<double> z(512);
  for (int n = 0; n < 256; ++n) {
    z[static_cast<size_t>(256 + n)] = y[static_cast<size_t>(n)];
    z[static_cast<size_t>(255 - n)] = -y[static_cast<size_t>(512 + n)];
  }
  return z;
}

// The wavelet-packet coefficients of one channel's frames since the last
// frame that did not use a tree, per tree (whole frame, half frame), and
// the samples of the newest by direct convolution over all of them.
class PacketRuns {
 public:
  PacketRuns() : mTrees{PacketTree(kFrameLength, kRate), PacketTree(kFrameLength / 2, kRate)} {}

  // Every frame's block type in turn: a frame that does not use a tree
  // ends its run.
  void Frame(int blockType) {
    if (blockType != kWavelet) mRuns[0].clear();
    if (blockType != kWaveletThenTransform && blockType != kTransformThenWavelet) {
      mRuns[1].clear();
    }
  }

  std::vector<double> Synthesise(int tree, const double* x) {
    const int size = mTrees[static_cast<size_t>(tree)]->Size();
    std::vector<double>& run = mRuns[static_cast<size_t>(tree)];
    run.insert(run.end(), x, x + size);
    const std::vector<double> all = PacketSynthesis(*mTrees[static_cast<size_t>(tree)], run);
    return std::vector<double>(all.end() - size, all.end());
  }

 private:
  std::array<std::unique_ptr<UUPerceptualAudio::WaveletPacket>, 2> mTrees;
  std::array<std::vector<double>, 2> mRuns;
};

// The block of a wavelet frame (types 4-6), from the packet synthesis by
// direct convolution and direct sums.
std::vector<double> WaveletBlock(int blockType, const Spectrum& x,
                                 const UUPerceptualAudio::Synthesis& s, PacketRuns& runs) {
  std::vector<double> z(kFrameLength);
  if (blockType == kWavelet) {
    z = runs.Synthesise(0, x.data());
    for (double& v : z) v *= 512.0;
  } else {
    const int waveletAt = blockType == kWaveletThenTransform ? 0 : 512;
    const int transformAt = 512 - waveletAt;
    const auto packet = runs.Synthesise(1, x.data() + waveletAt);
    const auto folded = FoldedHalf(x.data() + transformAt);
    for (int i = 0; i < 512; ++i) {
      z[static_cast<size_t>(waveletAt + i)] = 512.0 * packet[static_cast<size_t>(i)];
      z[static_cast<size_t>(transformAt + i)] = 2.0 * folded[static_cast<size_t>(511 - i)];
    }
    for (int i = 0; i < 64; ++i) {
      const double a = z[static_cast<size_t>(448 + i)];
      const double b = z[static_cast<size_t>(575 - i)];
      z[static_cast<size_t>(448 + i)] = a * s.ShortWindow(127 - i) - b * s.ShortWindow(i);
      z[static_cast<size_t>(575 - i)] = b * s.ShortWindow(127 - i) + a * s.ShortWindow(i);
    }
  }
  std::reverse(z.begin(), z.end());
  return Unfold(z);
}

// The reference of frames given as left/right spectra.
std::array<TimeSignal, 2> Reference(const Encoder& encoder, const std::vector<FrameData>& frames) {
  std::array<TimeSignal, 2> signals = {ReferenceFor(static_cast<int>(frames.size()), kRate, false),
                                       ReferenceFor(static_cast<int>(frames.size()), kRate, false)};
  UUPerceptualAudio::Synthesis synthesis;
  synthesis.Create(kRate, false);
  std::array<PacketRuns, 2> runs;
  for (size_t f = 0; f < frames.size(); ++f) {
    const auto spectra = LeftRight(encoder, frames[f]);
    const int type = frames[f].blockType;
    for (int c = 0; c < 2; ++c) {
      const Spectrum& x = spectra[static_cast<size_t>(c)];
      runs[static_cast<size_t>(c)].Frame(type);
      if (type == kEightShort) {
        signals[static_cast<size_t>(c)].AddShortBlocks(static_cast<int>(f), x);
      } else if (type >= kWavelet && type <= kTransformThenWavelet) {
        signals[static_cast<size_t>(c)].AddLongBlock(
            static_cast<int>(f), type,
            WaveletBlock(type, x, synthesis, runs[static_cast<size_t>(c)]));
      } else {
        signals[static_cast<size_t>(c)].AddLongBlock(static_cast<int>(f), type,
                                                     InverseMdct(x.data(), kFrameLength));
      }
    }
  }
  return signals;
}

int Loudest(const TimeSignal& signal, int frames) {
  int loudest = 0;
  for (int t = 0; t < frames * kFrameLength; ++t)
    loudest = std::max(loudest, std::abs(int{signal.Pcm(t)}));
  return loudest;
}

void ExpectMatchesReference(const std::vector<FrameData>& frames, uint32_t options = 0) {
  const Encoder encoder(kRate, kStereo, options);
  const Decoded decoded = DecodeCalls(kRate, kStereo, options, EncodeEach(encoder, frames),
                                      {.frameFlags = kNoConcealment});
  ASSERT_EQ(decoded.error, kNoError);
  const auto reference = Reference(encoder, frames);
  for (int c = 0; c < 2; ++c) {
    EXPECT_GT(Loudest(reference[static_cast<size_t>(c)], static_cast<int>(frames.size())), 50)
        << "the comparison must be of sound, not silence";
    EXPECT_LE(
        LargestError(decoded.channels[static_cast<size_t>(c)], reference[static_cast<size_t>(c)]),
        kTolerance)
        << "channel " << c;
  }
}

TEST(UUPerceptualAudioDecoderTest, CreateChecksItsParameters) {
  const struct {
    int16_t channels;
    int32_t rate;
    int result;
  } cases[] = {
      {2, 44100, kNoError},       {1, 8000, kNoError},        {2, 48000, kBadParameters},
      {3, 44100, kBadParameters}, {0, 22050, kBadParameters},
  };
  for (const auto& c : cases) {
    CreateParams params{.channelCount = c.channels, .sampleRate = c.rate};
    Decoder* decoder = nullptr;
    EXPECT_EQ(CreateDecoder(&decoder, &params), c.result) << c.rate << " " << c.channels;
    EXPECT_EQ(decoder != nullptr, c.result == kNoError);
    if (c.result == kNoError) {
      EXPECT_EQ(params.samplesPerFrame, kFrameLength);
    }
    DestroyDecoder(decoder);
  }
  Decoder* decoder = nullptr;
  EXPECT_EQ(CreateDecoder(&decoder, nullptr), kBadParameters);
}

TEST(UUPerceptualAudioDecoderTest, LongFramesWithEveryBookMatchTheDirectSum) {
  const Encoder encoder(kRate, kStereo, 0);
  std::vector<std::pair<int, int>> left, right;
  // Values for every book's range, escapes of book 15 among them.
  const int values[] = {1, -1, 2, -3, 4, 7, -12, 20, -31, 16, -40, 300, 5000};
  for (int i = 0; i < 13; ++i) {
    left.push_back({3 + 70 * i, values[i]});
    right.push_back({900 - 60 * i, -values[i]});
  }
  left.push_back({4, 1});  // a quad book with several values
  std::vector<FrameData> frames = {Frame(encoder, kLong, left, right, 20),
                                   Frame(encoder, kLong, right, left, 22),
                                   Frame(encoder, kLong, {}, {})};
  ExpectMatchesReference(frames);
}

TEST(UUPerceptualAudioDecoderTest, MidSideBandsBecomeLeftAndRight) {
  const Encoder encoder(kRate, kStereo, 0);
  FrameData frame =
      Frame(encoder, kLong, {{10, 3}, {100, -2}, {400, 5}}, {{10, 4}, {100, 6}, {401, 1}});
  frame.midSide = true;
  frame.midSideBands[0][2] = 1;   // coefficient 10
  frame.midSideBands[0][33] = 1;  // coefficient 400/401
  ExpectMatchesReference({frame, Frame(encoder, kLong, {}, {})});
}

TEST(UUPerceptualAudioDecoderTest, ShortBlocksBetweenTransitionsMatchTheDirectSum) {
  const Encoder encoder(kRate, kStereo, 0);
  FrameData shortFrame = Frame(encoder, kEightShort, {{5, 4}, {130, -3}, {300, 2}, {1000, 6}},
                               {{20, 1}, {600, -5}, {900, 3}});
  shortFrame.grouping = 0b1010011;  // groups of windows {0,1}, {2,3}, {4}, {5,6,7}
  // Within a group the first window's scale factor is the group's.
  const auto config = encoder.Config(kEightShort);
  for (auto& channel : shortFrame.channels) {
    for (int b = 0; b < config.bandCount; ++b)
      channel.scaleFactor[static_cast<size_t>(b)] = 40 + b % 3;
    for (int w = 0; w < 8; ++w) {
      const int first = w < 2 ? 0 : (w < 4 ? 2 : (w == 4 ? 4 : 5));
      for (int b = 0; b < 14; ++b) {
        channel.scaleFactor[static_cast<size_t>(w * 14 + b)] =
            channel.scaleFactor[static_cast<size_t>(first * 14 + b)];
      }
    }
  }
  ExpectMatchesReference({Frame(encoder, kLong, {{30, 5}}, {{31, 5}}),
                          Frame(encoder, kLongStart, {{30, 5}}, {{31, 5}}), shortFrame,
                          Frame(encoder, kLongStop, {{50, 3}}, {{60, 2}}),
                          Frame(encoder, kLong, {}, {})});
}

TEST(UUPerceptualAudioDecoderTest, GroupingBitsMakeOneOrEightGroups) {
  const Encoder encoder(kRate, kStereo, 0);
  for (uint8_t grouping : {uint8_t{0x7F}, uint8_t{0x00}}) {
    FrameData frame = Frame(encoder, kEightShort, {{5, 2}, {700, 1}}, {{133, -2}});
    frame.grouping = grouping;
    EXPECT_EQ(Encoder::GroupEnds(frame).size(), grouping == 0 ? 8u : 1u);
    if (grouping == 0x7F) {
      for (auto& channel : frame.channels) channel.scaleFactor.fill(kScaleFactor);
    }
    ExpectMatchesReference(
        {Frame(encoder, kLongStart, {}, {}), frame, Frame(encoder, kLongStop, {}, {})});
  }
}

// The wavelet halves' values sound much louder than the same values through
// a transform: the transform halves get larger scale factors.
FrameData WaveletFrame(const Encoder& encoder, int type,
                       const std::vector<std::pair<int, int>>& left,
                       const std::vector<std::pair<int, int>>& right) {
  constexpr int kWaveletScaleFactor = 30;
  constexpr int kTransformScaleFactor = 55;
  FrameData frame = Frame(encoder, type, left, right, kWaveletScaleFactor);
  const auto config = encoder.Config(type);
  for (auto& channel : frame.channels) {
    for (int b = 0; b < config.bandCount; ++b) {
      const int start = config.start[static_cast<size_t>(b)];
      const bool transformHalf = (type == kWaveletThenTransform && start >= 512) ||
                                 (type == kTransformThenWavelet && start < 512);
      if (transformHalf) channel.scaleFactor[static_cast<size_t>(b)] = kTransformScaleFactor;
    }
  }
  return frame;
}

TEST(UUPerceptualAudioDecoderTest, WaveletFramesMatchTheDirectPacketSynthesis) {
  const Encoder encoder(kRate, kStereo, 0);
  const std::vector<std::pair<int, int>> low = {{0, 3}, {9, -2}, {130, 4}, {520, 1}, {1000, -2}};
  const std::vector<std::pair<int, int>> high = {{3, 1}, {250, -3}, {700, 2}, {1023, 5}};
  ExpectMatchesReference({Frame(encoder, kLong, {}, {}), Frame(encoder, kLongStart, low, high),
                          WaveletFrame(encoder, kWavelet, low, high),
                          WaveletFrame(encoder, kWaveletThenTransform, high, low),
                          WaveletFrame(encoder, kTransformThenWavelet, low, high),
                          Frame(encoder, kLongShortTransitions, {{40, 2}}, {{41, 2}}),
                          Frame(encoder, kLongStop, {}, {}), Frame(encoder, kLong, {}, {})});
}

// The frames of a run of type-4 frames that give back a signal: the wavelet
// block of frame f lands at samples 1024 f + 512 + m, its first and last 64
// values turned with the neighbours' in the short-window transitions, which
// the encoder undoes here before the packet analysis.
class WaveletSignalEncoder {
 public:
  explicit WaveletSignalEncoder(int frames) : mFrames(frames) { mSynthesis.Create(kRate, true); }

  // Wavelet frames 1 .. frames - 2 between a silent long start and a silent
  // long stop; the signal must be silent where the runs of packets start
  // and end (the analysis looks ahead).
  std::vector<FrameData> Encode(const Encoder& encoder, const std::vector<double>& signal) const {
    constexpr double kBlockGain = -std::numbers::sqrt2 / 2.0;  // the long scale x 512
    const int first = 1;
    const int count = mFrames - 2;
    std::vector<double> blocks(static_cast<size_t>(count * kFrameLength));
    for (int f = 0; f < count; ++f) {
      for (int m = 0; m < kFrameLength; ++m) {
        blocks[static_cast<size_t>(f * kFrameLength + m)] =
            signal[static_cast<size_t>((first + f) * kFrameLength + 512 + m)] / kBlockGain;
      }
    }
    for (int f = 1; f < count; ++f) Untransition(signal, first + f, blocks, f);
    const auto tree = PacketTree(kFrameLength, kRate);
    const std::vector<double> x = PacketAnalysis(*tree, blocks);
    std::vector<FrameData> frames(static_cast<size_t>(mFrames));
    frames.front().blockType = kLongStart;
    frames.back().blockType = kLongStop;
    for (int f = 0; f < count; ++f) {
      FrameData& frame = frames[static_cast<size_t>(first + f)];
      frame.blockType = kWavelet;
      for (int k = 0; k < kFrameLength; ++k) {
        frame.channels[0].q[static_cast<size_t>(k)] =
            Quantised(x[static_cast<size_t>(f * kFrameLength + k)]);
      }
    }
    for (FrameData& frame : frames) encoder.ChooseBooks(frame, 0, 0);
    return frames;
  }

 private:
  // The transition at the start of frame g from b = 64 x (last values of
  // the block before) and a = 512 x (first values of g's block, reversed):
  // o[575 - i] = t1 a + t0 b, o[448 + i] = t2 a + t3 b, solved for a and b.
  void Untransition(const std::vector<double>& signal, int g, std::vector<double>& blocks,
                    int block) const {
    const double kl = -std::numbers::sqrt2 / 1024.0;
    const double ks = -std::numbers::sqrt2 / 128.0;
    for (int i = 0; i < 64; ++i) {
      const double rising = mSynthesis.ShortWindow(i);
      const double falling = mSynthesis.ShortWindow(127 - i);
      const double t0 = ks * rising, t1 = kl * falling, t2 = -kl * rising, t3 = ks * falling;
      const double late = signal[static_cast<size_t>(g * kFrameLength + 575 - i)];
      const double early = signal[static_cast<size_t>(g * kFrameLength + 448 + i)];
      const double determinant = t1 * t3 - t0 * t2;
      const double a = (late * t3 - early * t0) / determinant;
      const double b = (early * t1 - late * t2) / determinant;
      blocks[static_cast<size_t>(block * kFrameLength + 63 - i)] = a / 512.0;
      blocks[static_cast<size_t>((block - 1) * kFrameLength + 960 + i)] = b / 64.0;
    }
  }

  // The nearest value of scale factor 0 (gain 0.5).
  static int Quantised(double x) {
    const int q = static_cast<int>(std::lround(std::pow(std::abs(x) / 0.5, 2.0 / 3.0)));
    return x < 0 ? -q : q;
  }

  int mFrames;
  UUPerceptualAudio::Synthesis mSynthesis;
};

TEST(UUPerceptualAudioDecoderTest, WaveletFramesGiveBackTheAnalysedSignal) {
  const Encoder encoder(kRate, 1, 0);
  constexpr int kFrames = 8;
  // Silent until the packets of the run have filled in (frame 1's block
  // starts at sample 1536), then a signal across several frames and packet
  // blocks.
  std::vector<double> signal(kFrames * kFrameLength, 0.0);
  for (int t = 4000; t < 7000; ++t) {
    signal[static_cast<size_t>(t)] =
        300.0 * std::sin(0.05 * t) + 120.0 * std::cos(2.9 * t) + 80.0 * std::sin(0.0007 * t * t);
  }
  const std::vector<FrameData> frames = WaveletSignalEncoder(kFrames).Encode(encoder, signal);
  const Decoded decoded =
      DecodeCalls(kRate, 1, 0, EncodeEach(encoder, frames), {.frameFlags = kNoConcealment});
  ASSERT_EQ(decoded.error, kNoError);
  ASSERT_EQ(decoded.channels[0].size(), signal.size());
  double largest = 0.0;
  for (size_t t = 0; t < signal.size(); ++t) {
    largest = std::max(largest, std::abs(decoded.channels[0][t] - signal[t]));
  }
  // Quantising at gain 0.5 moves a coefficient by up to 0.375 sqrt(|q|), a
  // few units here, which the orthonormal synthesis spreads; then rounding.
  EXPECT_LT(largest, 4.0);
}

TEST(UUPerceptualAudioDecoderTest, SilenceStaysSilentInEveryBlockType) {
  const Encoder encoder(kRate, kStereo, 0);
  std::vector<FrameData> frames;
  for (int type :
       {kLong, kLongStart, kEightShort, kLongStop, kLongStart, kWavelet, kWaveletThenTransform,
        kTransformThenWavelet, kLongShortTransitions, kLongStop}) {
    frames.push_back(Frame(encoder, type, {}, {}));
  }
  const Decoded decoded =
      DecodeCalls(kRate, kStereo, 0, EncodeEach(encoder, frames), {.frameFlags = kNoConcealment});
  ASSERT_EQ(decoded.error, kNoError);
  for (const auto& channel : decoded.channels) {
    EXPECT_EQ(std::count(channel.begin(), channel.end(), 0), static_cast<long>(channel.size()));
  }
}

TEST(UUPerceptualAudioDecoderTest, MonoOutputOfAStereoStreamRepeatsTheSum) {
  const Encoder encoder(kRate, kStereo, 0);
  const std::vector<FrameData> frames = {Frame(encoder, kLong, {{12, 3}}, {{12, 1}, {90, -4}}),
                                         Frame(encoder, kLong, {}, {})};
  const Decoded decoded = DecodeCalls(kRate, kStereo, 0, EncodeEach(encoder, frames),
                                      {.frameFlags = kNoConcealment | kMonoOutput});
  ASSERT_EQ(decoded.error, kNoError);
  EXPECT_EQ(decoded.channels[0], decoded.channels[1]);
  // Without mid/side the output is the synthesis of c0 + c1.
  TimeSignal sum = ReferenceFor(2, kRate, false);
  for (int f = 0; f < 2; ++f) {
    Spectrum x = Dequantised(encoder, frames[static_cast<size_t>(f)], 0);
    const Spectrum right = Dequantised(encoder, frames[static_cast<size_t>(f)], 1);
    for (int k = 0; k < kFrameLength; ++k)
      x[static_cast<size_t>(k)] += right[static_cast<size_t>(k)];
    sum.AddLongBlock(f, kLong, InverseMdct(x.data(), kFrameLength));
  }
  EXPECT_LE(LargestError(decoded.channels[0], sum), kTolerance);
}

TEST(UUPerceptualAudioDecoderTest, MonoStreamsAtALowRateUseTheTabulatedWindow) {
  constexpr int32_t kLowRate = 22050;
  const Encoder encoder(kLowRate, 1, 0);
  FrameData frame;
  frame.channels[0].q[25] = 6;
  encoder.ChooseBooks(frame, 0, kScaleFactor);
  const Decoded decoded =
      DecodeCalls(kLowRate, 1, 0, {encoder.EncodeFrame(frame), encoder.EncodeFrame(FrameData{})},
                  {.frameFlags = kNoConcealment});
  ASSERT_EQ(decoded.error, kNoError);
  ASSERT_EQ(decoded.channels.size(), 1u);
  TimeSignal reference = ReferenceFor(2, kLowRate, true);
  reference.AddLongBlock(0, kLong,
                         InverseMdct(Dequantised(encoder, frame, 0).data(), kFrameLength));
  EXPECT_LE(LargestError(decoded.channels[0], reference), kTolerance);
}

TEST(UUPerceptualAudioDecoderTest, SeveralFramesInOneCall) {
  const Encoder encoder(kRate, kStereo, 0);
  const std::vector<FrameData> frames = {Frame(encoder, kLong, {{7, 2}}, {{8, -1}}),
                                         Frame(encoder, kLong, {{300, 9}}, {}),
                                         Frame(encoder, kLong, {}, {})};
  const Bytes stream = encoder.EncodeStream(frames);
  const Decoded together =
      DecodeCalls(kRate, kStereo, 0, {stream}, {.frameFlags = kNoConcealment}, 3);
  const Decoded apart =
      DecodeCalls(kRate, kStereo, 0, EncodeEach(encoder, frames), {.frameFlags = kNoConcealment});
  ASSERT_EQ(together.error, kNoError);
  EXPECT_EQ(together.channels, apart.channels);
}

// A steady tone: the same long frame again and again.
std::vector<FrameData> Tone(const Encoder& encoder, int frames) {
  return std::vector<FrameData>(static_cast<size_t>(frames),
                                Frame(encoder, kLong, {{40, 6}, {41, -3}}, {{80, 5}}));
}

// A frame that cannot be parsed: its first scale factor is out of range.
FrameData Damaged(const Encoder& encoder) {
  FrameData frame = Frame(encoder, kLong, {{40, 6}}, {{80, 5}});
  frame.channels[0].scaleFactor.fill(100);
  return frame;
}

std::vector<int16_t> Frames(const std::vector<int16_t>& samples, int first, int count) {
  return std::vector<int16_t>(samples.begin() + first * kFrameLength,
                              samples.begin() + (first + count) * kFrameLength);
}

TEST(UUPerceptualAudioDecoderTest, ADamagedFrameFailsTheCall) {
  const Encoder encoder(kRate, kStereo, 0);
  const Decoded decoded = DecodeCalls(kRate, kStereo, 0, {encoder.EncodeFrame(Damaged(encoder))},
                                      {.frameFlags = kNoConcealment});
  EXPECT_EQ(decoded.error, kBadFrame);
  EXPECT_EQ(decoded.channels[0].size(), static_cast<size_t>(kFrameLength));  // a frame of silence
  EXPECT_EQ(std::count(decoded.channels[0].begin(), decoded.channels[0].end(), 0), kFrameLength);
}

// With the new frame entering slot d the output runs 3 - d frames behind;
// a lost frame between two equal neighbours is rebuilt as their mix, which
// is the same frame again.
TEST(UUPerceptualAudioDecoderTest, ADamagedFrameIsConcealedFromItsNeighbours) {
  const Encoder encoder(kRate, kStereo, 0);
  constexpr int kFrames = 8;
  constexpr int kDamaged = 4;
  std::vector<Bytes> good = EncodeEach(encoder, Tone(encoder, kFrames));
  std::vector<Bytes> damaged = good;
  damaged[kDamaged] = encoder.EncodeFrame(Damaged(encoder));
  std::vector<Bytes> lost = good;
  lost[kDamaged].clear();  // a call without input
  for (uint32_t slot : {0u, 1u, 2u}) {
    const DecodeParams params{.frameFlags = slot << kConcealmentSlotShift};
    const Decoded reference = DecodeCalls(kRate, kStereo, 0, good, params);
    const Decoded concealed = DecodeCalls(kRate, kStereo, 0, damaged, params);
    const Decoded missing = DecodeCalls(kRate, kStereo, 0, lost, params);
    EXPECT_EQ(concealed.error, kBadFrame);
    EXPECT_EQ(missing.error, kNoError);
    const int delay = 3 - static_cast<int>(slot);
    const std::vector<int16_t> silence(static_cast<size_t>(delay * kFrameLength), 0);
    EXPECT_EQ(Frames(reference.channels[0], 0, delay), silence) << slot;
    const Decoded direct = DecodeCalls(kRate, kStereo, 0, good, {.frameFlags = kNoConcealment});
    EXPECT_EQ(Frames(reference.channels[0], delay, kFrames - delay),
              Frames(direct.channels[0], 0, kFrames - delay))
        << slot;
    // The lost frame needs its next neighbour, which slot 2 never has in
    // time: it is then a copy of the frame before it.
    EXPECT_EQ(concealed.channels, reference.channels) << slot;
    EXPECT_EQ(missing.channels, reference.channels) << slot;
  }
  // Without concealment the lost frame is silence.
  const Decoded plain = DecodeCalls(kRate, kStereo, 0, damaged, {.frameFlags = kNoConcealment});
  const Decoded direct = DecodeCalls(kRate, kStereo, 0, good, {.frameFlags = kNoConcealment});
  EXPECT_NE(Frames(plain.channels[0], kDamaged, 1), Frames(direct.channels[0], kDamaged, 1));
}

TEST(UUPerceptualAudioDecoderTest, ALostWaveletFrameIsSilenceAndTheTreesStartAfresh) {
  const Encoder encoder(kRate, kStereo, 0);
  const std::vector<std::pair<int, int>> low = {{0, 3}, {9, -2}, {130, 4}, {520, 1}, {1000, -2}};
  const std::vector<std::pair<int, int>> high = {{3, 1}, {250, -3}, {700, 2}, {1023, 5}};
  constexpr int kLost = 3;
  std::vector<FrameData> frames = {Frame(encoder, kLongStart, {}, {}),
                                   WaveletFrame(encoder, kWavelet, low, high),
                                   WaveletFrame(encoder, kWavelet, high, low),
                                   WaveletFrame(encoder, kWavelet, low, low),
                                   WaveletFrame(encoder, kWavelet, high, high),
                                   WaveletFrame(encoder, kWavelet, low, high),
                                   Frame(encoder, kLongStop, {}, {}),
                                   Frame(encoder, kLong, {}, {}),
                                   Frame(encoder, kLong, {}, {}),
                                   Frame(encoder, kLong, {}, {})};
  std::vector<Bytes> calls = EncodeEach(encoder, frames);
  calls[kLost].clear();
  const Decoded concealed =
      DecodeCalls(kRate, kStereo, 0, calls, {.frameFlags = 0u << kConcealmentSlotShift});
  ASSERT_EQ(concealed.error, kNoError);
  // With no long neighbour to rebuild it from, the lost frame is silence
  // that keeps the short transitions on both sides; the frame after it
  // starts its packet tree from silence.
  frames[kLost] = Frame(encoder, kLongShortTransitions, {}, {});
  ExpectMatchesReference(frames);
  const Decoded direct =
      DecodeCalls(kRate, kStereo, 0, EncodeEach(encoder, frames), {.frameFlags = kNoConcealment});
  constexpr int kDelay = 3;
  const int shown = static_cast<int>(frames.size()) - kDelay;
  for (int c = 0; c < 2; ++c) {
    EXPECT_EQ(Frames(concealed.channels[static_cast<size_t>(c)], kDelay, shown),
              Frames(direct.channels[static_cast<size_t>(c)], 0, shown));
  }
}

TEST(UUPerceptualAudioDecoderTest, ConcealmentMixesDifferingNeighbours) {
  const Encoder encoder(kRate, kStereo, 0);
  const std::vector<FrameData> frames = {
      Frame(encoder, kLong, {{40, 6}}, {{80, 5}}), Frame(encoder, kLong, {{40, 6}}, {{80, 5}}),
      Frame(encoder, kLong, {{40, 2}}, {{80, -5}}), Frame(encoder, kLong, {}, {}),
      Frame(encoder, kLong, {}, {})};
  std::vector<Bytes> calls = EncodeEach(encoder, frames);
  calls[1].clear();
  const Decoded decoded =
      DecodeCalls(kRate, kStereo, 0, calls, {.frameFlags = 2u << kConcealmentSlotShift});
  // Frame 1 becomes half of frame 0 and half of frame 2.
  std::array<TimeSignal, 2> reference = {ReferenceFor(5, kRate, false),
                                         ReferenceFor(5, kRate, false)};
  for (int c = 0; c < 2; ++c) {
    for (int f : {0, 1, 2}) {
      Spectrum x = Dequantised(encoder, frames[static_cast<size_t>(f)], c);
      if (f == 1) {
        const Spectrum a = Dequantised(encoder, frames[0], c);
        const Spectrum b = Dequantised(encoder, frames[2], c);
        for (int k = 0; k < kFrameLength; ++k)
          x[static_cast<size_t>(k)] =
              0.5 * a[static_cast<size_t>(k)] + 0.5 * b[static_cast<size_t>(k)];
      }
      reference[static_cast<size_t>(c)].AddLongBlock(f, kLong, InverseMdct(x.data(), kFrameLength));
    }
    const std::vector<int16_t> late(decoded.channels[static_cast<size_t>(c)].begin() + kFrameLength,
                                    decoded.channels[static_cast<size_t>(c)].end());
    EXPECT_LE(LargestError(late, reference[static_cast<size_t>(c)]), kTolerance);
  }
}

// The predictor, computed here in double precision per coefficient.
class ReferencePredictor {
 public:
  void Apply(int order, bool keep, Spectrum& values) {
    if (!keep) {
      for (auto& row : mWeights) row.fill(0.0);
    }
    for (int k = 0; k < kFrameLength; ++k) {
      double prediction = 0.0;
      double energy = 0.0;
      for (int j = 0; j < order; ++j) {
        prediction += mWeights[static_cast<size_t>(k)][static_cast<size_t>(j)] * History(j, k);
        energy += History(j, k) * History(j, k);
      }
      const double e = values[static_cast<size_t>(k)];
      const double y = e + prediction;
      const double mu = 0.5 / (energy + y * y + 50.0);
      for (int j = 0; j < order; ++j) {
        mWeights[static_cast<size_t>(k)][static_cast<size_t>(j)] += mu * History(j, k) * e;
      }
      values[static_cast<size_t>(k)] = y;
    }
    mHistory.insert(mHistory.begin(), values);
  }

 private:
  double History(int j, int k) const {
    return j < static_cast<int>(mHistory.size())
               ? mHistory[static_cast<size_t>(j)][static_cast<size_t>(k)]
               : 0.0;
  }
  std::vector<Spectrum> mHistory;
  std::vector<std::array<double, 8>> mWeights = std::vector<std::array<double, 8>>(kFrameLength);
};

TEST(UUPerceptualAudioDecoderTest, ThePredictorAddsItsPredictionToLongFrames) {
  const Encoder encoder(kRate, kStereo, kPredictorSyntax);
  std::vector<FrameData> frames;
  const struct {
    int order;
    bool keepLeft;
    bool keepRight;
  } settings[] = {{1, false, false}, {1, true, true}, {2, true, false}, {3, true, true}};
  for (const auto& s : settings) {
    FrameData frame = Frame(encoder, kLong, {{40, 6}, {300, -2}}, {{80, 5}}, 50);
    frame.prediction = true;
    frame.predictorOrder = s.order;
    frame.keep = {s.keepLeft, s.keepRight};
    frames.push_back(frame);
  }
  frames.push_back(Frame(encoder, kLong, {}, {}));
  const Decoded decoded = DecodeCalls(kRate, kStereo, kPredictorSyntax, EncodeEach(encoder, frames),
                                      {.frameFlags = kNoConcealment});
  ASSERT_EQ(decoded.error, kNoError);
  for (int c = 0; c < 2; ++c) {
    ReferencePredictor predictor;
    TimeSignal reference = ReferenceFor(static_cast<int>(frames.size()), kRate, false);
    for (size_t f = 0; f < frames.size(); ++f) {
      Spectrum x = Dequantised(encoder, frames[f], c);
      if (frames[f].prediction) {
        predictor.Apply(frames[f].predictorOrder, frames[f].keep[static_cast<size_t>(c)], x);
      }
      reference.AddLongBlock(static_cast<int>(f), kLong, InverseMdct(x.data(), kFrameLength));
    }
    EXPECT_LE(LargestError(decoded.channels[static_cast<size_t>(c)], reference), kTolerance) << c;
  }
}

// Mono streams carry the prediction fields but are not predicted.
TEST(UUPerceptualAudioDecoderTest, MonoStreamsReadButDoNotApplyPrediction) {
  const Encoder encoder(kRate, 1, kPredictorSyntax);
  std::vector<FrameData> frames(3);
  for (FrameData& frame : frames) {
    frame.channels[0].q[40] = 6;
    encoder.ChooseBooks(frame, 0, 50);
    frame.prediction = true;
    frame.predictorOrder = 2;
    frame.keep = {true, true};
  }
  const Decoded decoded = DecodeCalls(kRate, 1, kPredictorSyntax, EncodeEach(encoder, frames),
                                      {.frameFlags = kNoConcealment});
  ASSERT_EQ(decoded.error, kNoError);
  TimeSignal reference = ReferenceFor(3, kRate, true);
  for (int f = 0; f < 3; ++f) {
    reference.AddLongBlock(
        f, kLong,
        InverseMdct(Dequantised(encoder, frames[static_cast<size_t>(f)], 0).data(), kFrameLength));
  }
  EXPECT_LE(LargestError(decoded.channels[0], reference), kTolerance);
}

TEST(UUPerceptualAudioDecoderTest, ScrambledInputDecodesAsThePlainInput) {
  const Encoder encoder(kRate, kStereo, 0);
  std::vector<FrameData> frames = Tone(encoder, 3);
  frames[1] = Frame(encoder, kLong, {{7, 1}, {500, -9}}, {{3, 2}});
  const std::vector<Bytes> plain = EncodeEach(encoder, frames);
  for (uint32_t key : {0u, 5u, 0x12345u}) {
    std::vector<Bytes> scrambled = plain;
    for (Bytes& call : scrambled) Scramble(call, key);
    EXPECT_NE(scrambled, plain);
    const DecodeParams params{.frameFlags = kNoConcealment, .key = key};
    EXPECT_EQ(DecodeCalls(kRate, kStereo, kScrambled, scrambled, params).channels,
              DecodeCalls(kRate, kStereo, 0, plain, params).channels)
        << key;
  }
}

// Streams fed in pieces: output starts once enough is buffered, and frames
// are found by their sync patterns, even after bytes of damage.
TEST(UUPerceptualAudioDecoderTest, StreamingBuffersAndFollowsTheSyncPattern) {
  const Encoder encoder(kRate, kStereo, kStreaming);
  std::vector<FrameData> frames;
  for (int f = 0; f < 6; ++f)
    frames.push_back(Frame(encoder, kLong, {{10 + 30 * f, 4}}, {{20, f + 1}}));
  std::vector<uint16_t> sizes;
  Bytes stream = encoder.EncodeStream(frames, &sizes);
  // Damage between frames 2 and 3: bytes the sync search passes over.
  const size_t third = size_t{sizes[0]} + sizes[1] + sizes[2];
  stream.insert(stream.begin() + static_cast<ptrdiff_t>(third), {0x44, 0xAD, 0x00, 0x12, 0x44});

  CreateParams create{.channelCount = kStereo, .sampleRate = kRate, .options = kStreaming};
  Decoder* decoder = nullptr;
  ASSERT_EQ(CreateDecoder(&decoder, &create), kNoError);
  const DecodeParams params{.frameFlags = kNoConcealment, .ringUnit = 1000, .bufferingUnit = 2};
  std::vector<int16_t> left;
  int32_t consumed = 0;
  int32_t buffered = 0;
  // Pieces smaller than a frame, then calls without input to drain the ring.
  constexpr size_t kPiece = 16;
  constexpr size_t kDrainingCalls = 8;
  Bytes pcm(4096);
  for (size_t at = 0; at < stream.size() + kDrainingCalls * kPiece; at += kPiece) {
    const size_t n = at < stream.size() ? std::min(kPiece, stream.size() - at) : 0;
    int32_t bytes = 4096;
    DecodeResult result{};
    ASSERT_EQ(DecodeFrames(decoder, 1, n > 0 ? stream.data() + at : nullptr,
                           static_cast<int32_t>(n), pcm.data(), &bytes, &params, &result),
              kNoError);
    ASSERT_EQ(bytes, 4096);
    consumed += result.consumed;
    buffered = result.buffered;
    for (size_t i = 0; i < kFrameLength; ++i)
      left.push_back(static_cast<int16_t>(pcm[4 * i] | pcm[4 * i + 1] << 8));
  }
  DestroyDecoder(decoder);
  EXPECT_EQ(consumed, static_cast<int32_t>(stream.size()));
  EXPECT_EQ(buffered, 0);
  const Decoded plain =
      DecodeCalls(kRate, kStereo, 0, EncodeEach(Encoder(kRate, kStereo, 0), frames),
                  {.frameFlags = kNoConcealment});
  // Calls that found no whole frame gave silence; the frames decoded are
  // those of the plain stream.
  std::vector<int16_t> sound;
  for (size_t at = 0; at < left.size(); at += kFrameLength) {
    const auto begin = left.begin() + static_cast<ptrdiff_t>(at);
    if (std::any_of(begin, begin + kFrameLength, [](int16_t s) { return s != 0; })) {
      sound.insert(sound.end(), begin, begin + kFrameLength);
    }
  }
  EXPECT_EQ(sound, plain.channels[0]);
}

TEST(UUPerceptualAudioDecoderTest, StreamingWaitsUntilMoreThanFourUnitsAreBuffered) {
  const Encoder encoder(kRate, kStereo, kStreaming);
  std::vector<FrameData> frames;
  for (int f = 0; f < 40; ++f) frames.push_back(Frame(encoder, kLong, {{10 + f, 4}}, {{20, 3}}));
  const Bytes stream = encoder.EncodeStream(frames);
  CreateParams create{.channelCount = kStereo, .sampleRate = kRate, .options = kStreaming};
  Decoder* decoder = nullptr;
  ASSERT_EQ(CreateDecoder(&decoder, &create), kNoError);
  constexpr int32_t kUnit = 100;  // decoding needs more than 400 bytes
  const DecodeParams params{.frameFlags = kNoConcealment, .ringUnit = 1000, .bufferingUnit = kUnit};
  Bytes pcm(4096, 0xEE);
  const struct {
    int32_t piece;
    int32_t consumed;  // -1: some
  } calls[] = {{150, 0}, {150, 0}, {150, -1}};
  int32_t at = 0;
  for (const auto& call : calls) {
    int32_t bytes = 4096;
    DecodeResult result{};
    ASSERT_EQ(DecodeFrames(decoder, 1, stream.data() + at, call.piece, pcm.data(), &bytes, &params,
                           &result),
              kNoError);
    at += call.piece;
    EXPECT_EQ(bytes, 4096);
    if (call.consumed == 0) {
      EXPECT_EQ(result.consumed, 0);
      EXPECT_EQ(result.buffered, at);
      EXPECT_EQ(std::count(pcm.begin(), pcm.end(), 0), 4096);  // silence while buffering
    } else {
      EXPECT_GT(result.consumed, 0);
      EXPECT_EQ(result.buffered + result.consumed, at);
    }
  }
  // Bytes beyond the ring's five units are dropped.
  int32_t bytes = 0;
  DecodeResult result{};
  const Bytes flood(6000, 0);
  ASSERT_EQ(DecodeFrames(decoder, 0, flood.data(), 6000, pcm.data(), &bytes, &params, &result),
            kNoError);
  EXPECT_EQ(result.buffered, 5000);
  DestroyDecoder(decoder);
}

}  // namespace
