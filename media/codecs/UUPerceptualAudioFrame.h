#pragma once
// The syntax of one frame of the perceptual audio format, up to the
// dequantised spectrum of each channel: block type, window grouping,
// mid/side flags, prediction fields, and per channel the sections, scale
// factors and Huffman-coded spectral values.

#include "media/codecs/UUPerceptualAudioBitReader.h"
#include "media/codecs/UUPerceptualAudioHuffman.h"

#include <array>
#include <cstdint>

namespace UUPerceptualAudio {

constexpr int kFrameLength = 1024;  // coefficients and samples per channel
constexpr int kMaxChannels = 2;
constexpr int kMaxWindows = 8;
constexpr int kMaxBands = 112;
constexpr int kMaxBandsPerWindow = 88;
constexpr int kMaxSections = 113;
constexpr int kMaxScaleFactor = 96;
constexpr int kScaleFactorBits = 7;
constexpr int kMaxPredictorOrder = 7;

enum BlockType : int {
  kLong = 0,
  kLongStart = 1,
  kLongStop = 2,
  kEightShort = 3,
  kWavelet = 4,
  kWaveletThenTransform = 5,
  kTransformThenWavelet = 6,
  kLongShortTransitions = 7,
};
constexpr int kBlockTypeCount = 8;

// Frames of these types carry prediction fields under the predictor syntax.
bool CarriesPrediction(int blockType);

// How a block type splits its 1024 coefficients into windows and bands.
struct BlockConfig {
  int windows;
  int bandsPerWindow;
  int bandCount;  // in all windows
  int sectionBits;
  // Band b covers coefficients [start[b], start[b + 1]) in window-major
  // order; start[bandCount] is 1024.
  std::array<int16_t, kMaxBands + 1> start;
};

BlockConfig MakeBlockConfig(int blockType, int32_t sampleRate);

// Wavelet configuration A serves rates up to 40000 Hz, B higher rates.
bool UsesWaveletConfigA(int32_t sampleRate);

struct Frame {
  int blockType;
  int groupCount;
  std::array<int, kMaxWindows> groupEnd;  // the window after each group
  bool midSide;
  std::array<std::array<uint8_t, kMaxBandsPerWindow>, kMaxWindows> midSideBands;
  bool prediction;
  int predictorOrder;
  std::array<bool, kMaxChannels> keep;  // 0: reset the channel's predictor
  std::array<std::array<float, kFrameLength>, kMaxChannels> spectrum;
};

class FrameParser {
 public:
  // Builds the tables; false when a codebook cannot be used.
  bool Create(int32_t sampleRate);
  // Reads one frame of channelCount channels; false when it cannot be
  // parsed (the frame's contents are then undefined).
  bool Parse(BitReader& reader, int channelCount, bool predictorSyntax, Frame& frame) const;

  const BlockConfig& Config(int blockType) const {
    return mConfigs[static_cast<size_t>(blockType)];
  }
  // gain[scale factor]; x^1.5 for small magnitudes.
  float Gain(int scaleFactor) const { return mGain[static_cast<size_t>(scaleFactor)]; }

 private:
  bool ParseHeader(BitReader& reader, bool predictorSyntax, Frame& frame) const;
  bool ParseChannel(BitReader& reader, const Frame& frame, float* spectrum) const;
  bool ParseSections(BitReader& reader, const BlockConfig& config, uint8_t* books) const;
  bool ParseScaleFactors(BitReader& reader, const Frame& frame, const uint8_t* books,
                         uint8_t* scaleFactors) const;
  bool ParseBand(BitReader& reader, int book, int scaleFactor, float* out, int count) const;
  float Dequantise(int q, float gain) const;

  std::array<BlockConfig, kBlockTypeCount> mConfigs;
  std::array<HuffmanDecoder, 16> mBooks;
  std::array<float, 128> mGain;
  std::array<float, 10000> mPower;
};

}  // namespace UUPerceptualAudio
