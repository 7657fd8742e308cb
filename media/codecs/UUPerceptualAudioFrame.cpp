#include "media/codecs/UUPerceptualAudioFrame.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "media/codecs/UUPerceptualAudioCodebooks.h"

namespace UUPerceptualAudio {

namespace {

constexpr int kBlockTypeBits = 3;
constexpr int kBookBits = 4;
constexpr int kPredictorOrderBits = 3;
constexpr int kShortWindowLength = 128;
constexpr int kHalf = kFrameLength / 2;
constexpr int32_t kWaveletConfigALimit = 40000;
// Escape runs longer than this would code magnitudes no encoder makes.
constexpr int kMaxEscapeOnes = 12;
constexpr int kEscapeBaseBits = 4;
constexpr int kPowerTableSize = 10000;
constexpr int kGainLowRange = 20;

constexpr int16_t kLongEdges[] = {4,   8,   12,  16,  20,  24,  28,  32,  36,  40,  48,  56,  64,
                                  72,  80,  88,  96,  108, 120, 132, 144, 156, 172, 188, 204, 224,
                                  244, 264, 288, 312, 340, 368, 400, 432, 464, 496, 528, 560, 592,
                                  624, 656, 688, 720, 752, 784, 816, 848, 880, 1024};
constexpr int16_t kShortEdges[] = {4, 8, 12, 16, 20, 24, 32, 40, 48, 56, 68, 80, 108, 128};

// Band edges as runs of equal steps: {step, up to}.
struct Run {
  int16_t step;
  int16_t upTo;
};
constexpr Run kWaveletA[] = {{8, 128}, {16, 256}, {8, 384}, {16, 512}, {8, 768}, {32, 1024}};
constexpr Run kWaveletB[] = {{8, 512}, {16, 640}, {32, 768}, {64, 1024}};
constexpr Run kWaveletHalfA[] = {{8, 64}, {16, 128}, {8, 192}, {16, 256}, {8, 384}, {32, 512}};
constexpr Run kWaveletHalfB[] = {{8, 256}, {16, 320}, {32, 384}, {64, 512}};
constexpr int16_t kTransformHalfHead[] = {4, 8, 12, 16, 20, 24, 28, 36, 44, 56, 68, 80, 96, 112};
constexpr Run kTransformHalfTail[] = {{16, 432}, {80, 512}};

class EdgeList {
 public:
  void Add(int16_t edge) { mEdges[mCount++] = edge; }
  template <size_t N>
  void AddAll(const int16_t (&edges)[N], int16_t offset) {
    for (int16_t edge : edges) Add(static_cast<int16_t>(edge + offset));
  }
  template <size_t N>
  void AddRuns(const Run (&runs)[N], int16_t offset) {
    int16_t edge = mCount == 0 ? offset : mEdges[mCount - 1];
    for (const Run& run : runs) {
      while (edge < run.upTo + offset) Add(edge = static_cast<int16_t>(edge + run.step));
    }
  }
  int Count() const { return mCount; }
  const int16_t* Edges() const { return mEdges; }

 private:
  int16_t mEdges[kMaxBands] = {};
  int mCount = 0;
};

void AddTransformHalf(EdgeList& list, int16_t offset) {
  list.AddAll(kTransformHalfHead, offset);
  list.AddRuns(kTransformHalfTail, offset);
}

void AddWaveletHalf(EdgeList& list, int32_t sampleRate, int16_t offset) {
  if (UsesWaveletConfigA(sampleRate)) {
    list.AddRuns(kWaveletHalfA, offset);
  } else {
    list.AddRuns(kWaveletHalfB, offset);
  }
}

BlockConfig MakeConfig(const EdgeList& edges, int windows, int sectionBits) {
  BlockConfig config{};
  config.windows = windows;
  config.bandsPerWindow = edges.Count() / windows;
  config.bandCount = edges.Count();
  config.sectionBits = sectionBits;
  config.start[0] = 0;
  for (int b = 0; b < edges.Count(); ++b)
    config.start[static_cast<size_t>(b + 1)] = edges.Edges()[b];
  return config;
}

}  // namespace

BlockConfig MakeBlockConfig(int blockType, int32_t sampleRate) {
  EdgeList edges;
  switch (blockType) {
    case kEightShort:
      for (int w = 0; w < kMaxWindows; ++w) {
        edges.AddAll(kShortEdges, static_cast<int16_t>(kShortWindowLength * w));
      }
      return MakeConfig(edges, kMaxWindows, 3);
    case kWavelet:
      if (UsesWaveletConfigA(sampleRate)) {
        edges.AddRuns(kWaveletA, 0);
      } else {
        edges.AddRuns(kWaveletB, 0);
      }
      break;
    case kWaveletThenTransform:
      AddWaveletHalf(edges, sampleRate, 0);
      AddTransformHalf(edges, kHalf);
      break;
    case kTransformThenWavelet:
      AddTransformHalf(edges, 0);
      AddWaveletHalf(edges, sampleRate, kHalf);
      break;
    default:
      edges.AddAll(kLongEdges, 0);
      break;
  }
  return MakeConfig(edges, 1, 5);
}

bool CarriesPrediction(int blockType) {
  return blockType <= kLongStop || blockType == kLongShortTransitions;
}

bool UsesWaveletConfigA(int32_t sampleRate) { return sampleRate <= kWaveletConfigALimit; }

bool FrameParser::Create(int32_t sampleRate) {
  for (int type = 0; type < kBlockTypeCount; ++type)
    mConfigs[static_cast<size_t>(type)] = MakeBlockConfig(type, sampleRate);
  for (int book = 1; book <= kScaleFactorBook; ++book) {
    if (!mBooks[static_cast<size_t>(book - 1)].Build(CodebookTree(book))) return false;
  }
  mGain.fill(0.0f);
  for (int i = 0; i <= kMaxScaleFactor; ++i) {
    const double power = std::exp2(i * std::log2(10.0) / 10.0);
    mGain[static_cast<size_t>(i)] = static_cast<float>(
        i < kGainLowRange ? std::round(16.0 * power) / 32.0 : std::round(power / 2.0));
  }
  for (int x = 0; x < kPowerTableSize; ++x) {
    mPower[static_cast<size_t>(x)] = static_cast<float>(std::pow(x, 1.5));
  }
  return true;
}

bool FrameParser::Parse(BitReader& reader, int channelCount, bool predictorSyntax,
                        Frame& frame) const {
  if (!ParseHeader(reader, predictorSyntax, frame)) return false;
  for (int c = 0; c < channelCount; ++c) {
    if (!ParseChannel(reader, frame, frame.spectrum[static_cast<size_t>(c)].data())) return false;
  }
  return true;
}

bool FrameParser::ParseHeader(BitReader& reader, bool predictorSyntax, Frame& frame) const {
  if (!predictorSyntax) reader.Skip(1);  // reserved
  frame.blockType = static_cast<int>(reader.Read(kBlockTypeBits));
  frame.groupCount = 0;
  if (frame.blockType == kEightShort) {
    for (int w = 1; w < kMaxWindows; ++w) {
      if (reader.Read(1) == 0) frame.groupEnd[static_cast<size_t>(frame.groupCount++)] = w;
    }
    frame.groupEnd[static_cast<size_t>(frame.groupCount++)] = kMaxWindows;
  } else {
    frame.groupEnd[static_cast<size_t>(frame.groupCount++)] = 1;
  }
  const BlockConfig& config = Config(frame.blockType);
  frame.midSide = reader.Read(1) != 0;
  for (int g = 0; frame.midSide && g < frame.groupCount; ++g) {
    for (int b = 0; b < config.bandsPerWindow; ++b) {
      frame.midSideBands[static_cast<size_t>(g)][static_cast<size_t>(b)] =
          static_cast<uint8_t>(reader.Read(1));
    }
  }
  frame.prediction = false;
  if (predictorSyntax && CarriesPrediction(frame.blockType)) {
    frame.prediction = reader.Read(1) != 0;
    if (frame.prediction) {
      frame.predictorOrder = static_cast<int>(reader.Read(kPredictorOrderBits));
      frame.keep[1] = reader.Read(1) != 0;
      frame.keep[0] = reader.Read(1) != 0;
    }
  }
  return true;
}

bool FrameParser::ParseSections(BitReader& reader, const BlockConfig& config,
                                uint8_t* books) const {
  const uint32_t escape = (1u << config.sectionBits) - 1;
  int band = 0;
  for (int sections = 0; band < config.bandCount; ++sections) {
    if (sections == kMaxSections) return false;
    const auto book = static_cast<uint8_t>(reader.Read(kBookBits));
    int length = 0;
    uint32_t field = 0;
    do {
      field = reader.Read(config.sectionBits);
      length += static_cast<int>(field);
      if (band + length > config.bandCount) return false;
    } while (field == escape);
    for (int b = band; b < band + length; ++b) books[b] = book;
    band += length;
  }
  return true;
}

bool FrameParser::ParseScaleFactors(BitReader& reader, const Frame& frame, const uint8_t* books,
                                    uint8_t* scaleFactors) const {
  const BlockConfig& config = Config(frame.blockType);
  const int perWindow = config.bandsPerWindow;
  bool first = true;
  int previous = 0;
  int window = 0;
  for (int g = 0; g < frame.groupCount; ++g) {
    const int end = frame.groupEnd[static_cast<size_t>(g)];
    for (int b = 0; b < perWindow; ++b) {
      bool coded = false;
      for (int w = window; w < end; ++w) coded = coded || books[w * perWindow + b] != 0;
      int value = 0;
      if (coded) {
        value = first ? static_cast<int>(reader.Read(kScaleFactorBits))
                      : previous + static_cast<int>(mBooks[kScaleFactorBook - 1].Decode(reader)) -
                            kScaleFactorBias;
        if (value < 0 || value > kMaxScaleFactor) return false;
        first = false;
        previous = value;
      }
      for (int w = window; w < end; ++w)
        scaleFactors[w * perWindow + b] = static_cast<uint8_t>(value);
    }
    window = end;
  }
  return true;
}

float FrameParser::Dequantise(int q, float gain) const {
  const int magnitude = std::abs(q);
  const float power = magnitude < kPowerTableSize ? mPower[static_cast<size_t>(magnitude)]
                                                  : static_cast<float>(std::pow(magnitude, 1.5));
  return q < 0 ? -gain * power : gain * power;
}

bool FrameParser::ParseBand(BitReader& reader, int book, int scaleFactor, float* out,
                            int count) const {
  const HuffmanDecoder& decoder = mBooks[static_cast<size_t>(book - 1)];
  const int tuple = CodebookTupleSize(book);
  const float gain = Gain(scaleFactor);
  for (int i = 0; i < count; i += tuple) {
    int values[4];
    UnpackLeaf(book, decoder.Decode(reader), values);
    for (int j = 0; j < tuple; ++j) {
      int q = values[j];
      if (book == kEscapeBook && std::abs(q) == kEscapeValue) {
        int ones = 0;
        while (reader.Read(1) != 0) {
          if (++ones > kMaxEscapeOnes) return false;
        }
        const int bits = ones + kEscapeBaseBits;
        const int magnitude = (1 << bits) + static_cast<int>(reader.Read(bits));
        q = q < 0 ? -magnitude : magnitude;
      }
      out[i + j] = Dequantise(q, gain);
    }
  }
  return true;
}

bool FrameParser::ParseChannel(BitReader& reader, const Frame& frame, float* spectrum) const {
  const BlockConfig& config = Config(frame.blockType);
  uint8_t books[kMaxBands];
  uint8_t scaleFactors[kMaxBands];
  if (!ParseSections(reader, config, books)) return false;
  if (!ParseScaleFactors(reader, frame, books, scaleFactors)) return false;
  for (int b = 0; b < config.bandCount; ++b) {
    float* out = spectrum + config.start[static_cast<size_t>(b)];
    const int count =
        config.start[static_cast<size_t>(b + 1)] - config.start[static_cast<size_t>(b)];
    if (books[b] == 0) {
      std::fill(out, out + count, 0.0f);
    } else if (!ParseBand(reader, books[b], scaleFactors[b], out, count)) {
      return false;
    }
  }
  return true;
}

}  // namespace UUPerceptualAudio
