#pragma once
// A small encoder of the perceptual audio format for the decoder's tests,
// fuzzer seeds and benchmark: it writes frames from quantised values,
// codebooks and scale factors the caller chooses, with the codes read off
// the codebook trees, so that tests can check the decoded PCM against a
// computation of their own. Its wavelet-packet analysis turns a signal
// into the coefficients of a packet tree.

#include "media/codecs/UUPerceptualAudio.h"
#include "media/codecs/UUPerceptualAudioCodebooks.h"
#include "media/codecs/UUPerceptualAudioFrame.h"
#include "media/codecs/UUPerceptualAudioWaveletPacket.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <map>
#include <vector>

namespace PerceptualAudioTest {

using UUPerceptualAudio::kFrameLength;

class BitWriter {
 public:
  void Put(uint32_t value, int bits) {
    for (int b = bits - 1; b >= 0; --b) PutBit((value >> b) & 1);
  }
  void PutBit(uint32_t bit) {
    if (mBitCount % 8 == 0) mBytes.push_back(0);
    if (bit != 0) mBytes.back() |= static_cast<uint8_t>(0x80 >> (mBitCount % 8));
    ++mBitCount;
  }
  void AlignToByte() { mBitCount = static_cast<int>(mBytes.size()) * 8; }
  std::vector<uint8_t>& Bytes() { return mBytes; }

 private:
  std::vector<uint8_t> mBytes;
  int mBitCount = 0;
};

struct Code {
  uint32_t bits;
  int length;
};

// The codewords of a book, found by walking its tree from the root.
inline const std::map<uint32_t, Code>& CodesOf(int book) {
  static std::map<int, std::map<uint32_t, Code>> cache;
  auto& codes = cache[book];
  if (!codes.empty()) return codes;
  const std::vector<uint32_t>& tree = UUPerceptualAudio::CodebookTree(book);
  struct Step {
    size_t node;
    Code code;
  };
  std::vector<Step> pending = {{0, {0, 0}}};
  while (!pending.empty()) {
    const Step step = pending.back();
    pending.pop_back();
    const uint32_t entry = tree[step.node];
    if ((entry & UUPerceptualAudio::kInnerNode) == 0) {
      codes[entry] = step.code;
      continue;
    }
    pending.push_back({step.node + 1, {step.code.bits << 1 | 1, step.code.length + 1}});
    pending.push_back({step.node + (entry & 0xFFFF), {step.code.bits << 1, step.code.length + 1}});
  }
  return codes;
}

inline void PutCodeword(BitWriter& writer, int book, uint32_t leaf) {
  const Code& code = CodesOf(book).at(leaf);
  writer.Put(code.bits, code.length);
}

struct ChannelData {
  std::array<int, kFrameLength> q{};  // quantised values
  std::array<int, UUPerceptualAudio::kMaxBands> book{};
  std::array<int, UUPerceptualAudio::kMaxBands> scaleFactor{};
};

struct FrameData {
  int blockType = UUPerceptualAudio::kLong;
  // Short blocks: bit 6 for window 1 ... bit 0 for window 7; 1 joins the
  // window to the group before it.
  uint8_t grouping = 0x7F;
  bool midSide = false;
  std::array<std::array<uint8_t, UUPerceptualAudio::kMaxBandsPerWindow>,
             UUPerceptualAudio::kMaxWindows>
      midSideBands{};
  bool prediction = false;
  int predictorOrder = 0;
  std::array<bool, 2> keep{};
  std::array<ChannelData, 2> channels{};
};

// The smallest book that codes every value of the band (book 15 with
// escapes beyond 16).
inline int BookFor(int largest) {
  if (largest == 0) return 0;
  for (int book = 1; book < UUPerceptualAudio::kEscapeBook; book += 2) {
    if (UUPerceptualAudio::CodebookLargest(book) >= largest) return book;
  }
  return UUPerceptualAudio::kEscapeBook;
}

class Encoder {
 public:
  Encoder(int32_t sampleRate, int channelCount, uint32_t options)
      : mSampleRate(sampleRate), mChannelCount(channelCount), mOptions(options) {}

  const UUPerceptualAudio::BlockConfig Config(int blockType) const {
    return UUPerceptualAudio::MakeBlockConfig(blockType, mSampleRate);
  }

  // Gives every band of the channel the smallest book for its values and
  // the scale factor.
  void ChooseBooks(FrameData& frame, int channel, int scaleFactor) const {
    const auto config = Config(frame.blockType);
    ChannelData& data = frame.channels[static_cast<size_t>(channel)];
    for (int b = 0; b < config.bandCount; ++b) {
      int largest = 0;
      for (int k = config.start[static_cast<size_t>(b)];
           k < config.start[static_cast<size_t>(b + 1)]; ++k) {
        largest = std::max(largest, std::abs(data.q[static_cast<size_t>(k)]));
      }
      data.book[static_cast<size_t>(b)] = BookFor(largest);
      data.scaleFactor[static_cast<size_t>(b)] = scaleFactor;
    }
  }

  // One frame, ending on a byte boundary.
  std::vector<uint8_t> EncodeFrame(const FrameData& frame) const {
    BitWriter writer;
    const bool predictorSyntax = (mOptions & UUPerceptualAudio::kPredictorSyntax) != 0;
    if (!predictorSyntax) writer.Put(0, 1);
    writer.Put(static_cast<uint32_t>(frame.blockType), 3);
    const std::vector<int> groupEnds = GroupEnds(frame);
    if (frame.blockType == UUPerceptualAudio::kEightShort) writer.Put(frame.grouping, 7);
    const auto config = Config(frame.blockType);
    writer.Put(frame.midSide ? 1 : 0, 1);
    for (size_t g = 0; frame.midSide && g < groupEnds.size(); ++g) {
      for (int b = 0; b < config.bandsPerWindow; ++b) {
        writer.Put(frame.midSideBands[g][static_cast<size_t>(b)], 1);
      }
    }
    if (predictorSyntax && UUPerceptualAudio::CarriesPrediction(frame.blockType)) {
      writer.Put(frame.prediction ? 1 : 0, 1);
      if (frame.prediction) {
        writer.Put(static_cast<uint32_t>(frame.predictorOrder), 3);
        writer.Put(frame.keep[1] ? 1 : 0, 1);
        writer.Put(frame.keep[0] ? 1 : 0, 1);
      }
    }
    for (int c = 0; c < mChannelCount; ++c) {
      PutChannel(writer, config, groupEnds, frame.channels[static_cast<size_t>(c)]);
    }
    writer.AlignToByte();
    return writer.Bytes();
  }

  // Frames one after another; in the streaming mode each frame but the
  // first is preceded by the sync pattern, and every frame by two bytes.
  std::vector<uint8_t> EncodeStream(const std::vector<FrameData>& frames,
                                    std::vector<uint16_t>* sizes = nullptr) const {
    std::vector<uint8_t> stream;
    for (size_t f = 0; f < frames.size(); ++f) {
      const size_t before = stream.size();
      if ((mOptions & UUPerceptualAudio::kStreaming) != 0) {
        if (f > 0) stream.insert(stream.end(), {0x44, 0xAD, 0x33});
        stream.insert(stream.end(), {0x00, 0x00});
      }
      const std::vector<uint8_t> bytes = EncodeFrame(frames[f]);
      stream.insert(stream.end(), bytes.begin(), bytes.end());
      if (sizes != nullptr) sizes->push_back(static_cast<uint16_t>(stream.size() - before));
    }
    return stream;
  }

  static std::vector<int> GroupEnds(const FrameData& frame) {
    if (frame.blockType != UUPerceptualAudio::kEightShort) return {1};
    std::vector<int> ends;
    for (int w = 1; w < 8; ++w) {
      if (((frame.grouping >> (7 - w)) & 1) == 0) ends.push_back(w);
    }
    ends.push_back(8);
    return ends;
  }

 private:
  void PutSections(BitWriter& writer, const UUPerceptualAudio::BlockConfig& config,
                   const ChannelData& data) const {
    const uint32_t escape = (1u << config.sectionBits) - 1;
    for (int b = 0; b < config.bandCount;) {
      int end = b;
      while (end < config.bandCount &&
             data.book[static_cast<size_t>(end)] == data.book[static_cast<size_t>(b)]) {
        ++end;
      }
      writer.Put(static_cast<uint32_t>(data.book[static_cast<size_t>(b)]), 4);
      uint32_t length = static_cast<uint32_t>(end - b);
      while (length >= escape) {
        writer.Put(escape, config.sectionBits);
        length -= escape;
      }
      writer.Put(length, config.sectionBits);
      b = end;
    }
  }

  void PutScaleFactors(BitWriter& writer, const UUPerceptualAudio::BlockConfig& config,
                       const std::vector<int>& groupEnds, const ChannelData& data) const {
    bool first = true;
    int previous = 0;
    int window = 0;
    for (int end : groupEnds) {
      for (int b = 0; b < config.bandsPerWindow; ++b) {
        bool coded = false;
        for (int w = window; w < end; ++w) {
          coded = coded || data.book[static_cast<size_t>(w * config.bandsPerWindow + b)] != 0;
        }
        if (!coded) continue;
        const int value = data.scaleFactor[static_cast<size_t>(window * config.bandsPerWindow + b)];
        if (first) {
          writer.Put(static_cast<uint32_t>(value), UUPerceptualAudio::kScaleFactorBits);
        } else {
          PutCodeword(
              writer, UUPerceptualAudio::kScaleFactorBook,
              static_cast<uint32_t>(value - previous + UUPerceptualAudio::kScaleFactorBias));
        }
        first = false;
        previous = value;
      }
      window = end;
    }
  }

  static void PutEscape(BitWriter& writer, int value) {
    const int magnitude = std::abs(value);
    if (magnitude < UUPerceptualAudio::kEscapeValue) return;
    int bits = 4;
    while ((1 << (bits + 1)) <= magnitude) ++bits;
    for (int ones = bits - 4; ones > 0; --ones) writer.PutBit(1);
    writer.PutBit(0);
    writer.Put(static_cast<uint32_t>(magnitude - (1 << bits)), bits);
  }

  static void PutBand(BitWriter& writer, int book, const int* q, int count) {
    const int tuple = UUPerceptualAudio::CodebookTupleSize(book);
    for (int i = 0; i < count; i += tuple) {
      int values[4] = {};
      for (int j = 0; j < tuple; ++j) {
        values[j] = q[i + j];
        if (book == UUPerceptualAudio::kEscapeBook && std::abs(values[j]) >= 16) {
          values[j] = values[j] < 0 ? -16 : 16;
        }
      }
      PutCodeword(writer, book, UUPerceptualAudio::PackLeaf(book, values));
      if (book == UUPerceptualAudio::kEscapeBook) {
        for (int j = 0; j < tuple; ++j) PutEscape(writer, q[i + j]);
      }
    }
  }

  void PutChannel(BitWriter& writer, const UUPerceptualAudio::BlockConfig& config,
                  const std::vector<int>& groupEnds, const ChannelData& data) const {
    PutSections(writer, config, data);
    PutScaleFactors(writer, config, groupEnds, data);
    for (int b = 0; b < config.bandCount; ++b) {
      const int book = data.book[static_cast<size_t>(b)];
      if (book == 0) continue;
      const int start = config.start[static_cast<size_t>(b)];
      PutBand(writer, book, data.q.data() + start,
              config.start[static_cast<size_t>(b + 1)] - start);
    }
  }

  int32_t mSampleRate;
  int mChannelCount;
  uint32_t mOptions;
};

// A signal of whole frames of a packet tree, frame after frame; a stage's
// input band i is, in every frame, the width / bands values from its offset
// + i x width / bands; these functions join a band's values of all frames
// into one stream and put a stream back.
inline std::vector<double> BandStream(const std::vector<double>& frames, int size, int offset,
                                      int width) {
  std::vector<double> stream;
  for (size_t at = 0; at < frames.size(); at += static_cast<size_t>(size)) {
    const auto first = frames.begin() + static_cast<long>(at) + offset;
    stream.insert(stream.end(), first, first + width);
  }
  return stream;
}

inline void PutBandStream(std::vector<double>& frames, int size, int offset, int width,
                          const std::vector<double>& stream) {
  for (size_t f = 0; f * static_cast<size_t>(size) < frames.size(); ++f) {
    std::copy_n(stream.begin() + static_cast<long>(f * static_cast<size_t>(width)), width,
                frames.begin() + static_cast<long>(f * static_cast<size_t>(size)) + offset);
  }
}

// The wavelet-packet analysis of a signal of whole frames: the transposed
// synthesis, stage by stage from the top down. Each band's input k is the
// correlation of the stage's signal with the band's filter from sample
// bands x k on: the analysis looks ahead by the filters' lengths, so that
// the synthesis, which filters causally, gives the signal back unshifted.
inline std::vector<double> PacketAnalysis(const UUPerceptualAudio::WaveletPacket& tree,
                                          std::vector<double> signal) {
  const int size = tree.Size();
  for (int s = tree.StageCount() - 1; s >= 0; --s) {
    const auto& stage = tree.StageAt(s);
    const std::vector<double> y = BandStream(signal, size, stage.offset, stage.width);
    const int inputs = stage.width / stage.bands;
    const int taps = tree.Taps(stage);
    for (int i = 0; i < stage.bands; ++i) {
      std::vector<double> x(y.size() / static_cast<size_t>(stage.bands));
      const auto bands = static_cast<size_t>(stage.bands);
      for (size_t k = 0; k < x.size(); ++k) {
        for (int j = 0; j < taps && k * bands + static_cast<size_t>(j) < y.size(); ++j) {
          x[k] += y[k * bands + static_cast<size_t>(j)] * tree.Tap(stage, i, j);
        }
      }
      PutBandStream(signal, size, stage.offset + i * inputs, inputs, x);
    }
  }
  return signal;
}

// Scrambles a buffer with a key, the inverse of the decoder's unscrambling:
// the bytes are reversed, then each is rotated opposite to the way the
// decoder turns it back.
inline void Scramble(std::vector<uint8_t>& bytes, uint32_t key) {
  const auto length = static_cast<uint32_t>(bytes.size());
  std::vector<uint8_t> reversed(bytes.rbegin(), bytes.rend());
  uint32_t rotation = ((((length & 0xFFFF) + key) >> 2) + 1) % 16;
  bool decoderTurnsRight = (((length & 0xFFFF) + key) & 4) != 0;
  for (uint8_t& byte : reversed) {
    const uint32_t b = rotation % 8;
    const uint32_t v = byte;
    byte = static_cast<uint8_t>(decoderTurnsRight ? (v << b | v >> ((8 - b) % 8))
                                                  : (v >> b | v << ((8 - b) % 8)));
    rotation = (rotation + 1) % 8;
    decoderTurnsRight = !decoderTurnsRight;
  }
  bytes = reversed;
}

}  // namespace PerceptualAudioTest
