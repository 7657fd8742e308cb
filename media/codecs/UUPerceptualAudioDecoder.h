#pragma once
// The state of one perceptual audio decoder: its tables, the bit reader,
// the per-channel synthesis state, the predictor, the history of parsed
// frames that lost frames are rebuilt from, and the streaming ring.

#include "media/codecs/UUPerceptualAudio.h"
#include "media/codecs/UUPerceptualAudioFrame.h"
#include "media/codecs/UUPerceptualAudioPredictor.h"
#include "media/codecs/UUPerceptualAudioSynthesis.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace UUPerceptualAudio {

constexpr int kHistorySlots = 7;
// The slot whose frame is synthesised.
constexpr int kOutputSlot = 3;

// A history slot holds a parsed frame, or a frame that was lost, or
// nothing yet (before the stream's first frames arrive).
enum class SlotState { kEmpty, kPresent, kLost };

struct HistorySlot {
  SlotState state = SlotState::kEmpty;
  Frame frame;
};

enum OutputMode : int { kStereoOutput = 0, kMonoOfStereoOutput = 1, kMonoStreamOutput = 2 };

struct Decoder {
 public:
  explicit Decoder(const CreateParams& params);
  ~Decoder();
  Decoder(const Decoder&) = delete;
  Decoder& operator=(const Decoder&) = delete;

  // Builds the tables; false when they cannot be built.
  bool Create();
  int Decode(int32_t frameCount, const uint8_t* input, int32_t inputLength, uint8_t* output,
             int32_t* byteCount, const DecodeParams& params, DecodeResult* result);

  int32_t BytesPerFrame() const { return mChannelCount == 2 ? 4096 : 2048; }

 private:
  // A copy of the input, unscrambled when the stream is scrambled; null
  // when memory for it runs out.
  const uint8_t* PrepareInput(const uint8_t* input, int32_t length, uint32_t key);
  int DecodePlain(int32_t frameCount, const uint8_t* input, int32_t inputLength, uint8_t* output,
                  int32_t* byteCount, uint32_t frameFlags);
  int DecodeStreaming(int32_t frameCount, const uint8_t* input, int32_t inputLength,
                      uint8_t* output, int32_t* byteCount, const DecodeParams& params,
                      DecodeResult* result);
  bool AppendToRing(const uint8_t* input, int32_t length, const DecodeParams& params);
  // Parses the next frame into mIncoming; false when it cannot be parsed.
  bool ParseFrame(uint32_t frameFlags);
  // Sync pattern search in the streaming mode.
  bool FindSync();
  void ApplyStereo(Frame& frame, bool monoOutput) const;
  // Takes the parsed frame (or a lost one) and writes one frame of PCM.
  bool Accept(bool parsed, uint32_t frameFlags, uint8_t* pcm);
  HistorySlot& Slot(int slot) {
    return mHistory[static_cast<size_t>((mHistoryBase + slot) % kHistorySlots)];
  }
  // The block type of the frame after the output slot, long when unknown.
  int NextBlockType();
  // Rebuilds the lost frame of the output slot from its neighbours.
  void Conceal();
  // A lost frame without neighbours: silence of a block type that keeps
  // the window sequence.
  void Silence(Frame& frame, int nextBlockType);
  bool Emit(Frame& frame, bool monoOutput, uint8_t* pcm);
  void WritePcm(bool monoOutput, uint8_t* pcm) const;

 private:
  int32_t mSampleRate;
  int mChannelCount;
  uint32_t mOptions;
  FrameParser mParser;
  Synthesis mSynthesis;
  Predictor mPredictor;
  BitReader mReader;
  std::array<ChannelState, kMaxChannels> mChannels{};
  std::array<std::array<float, kFrameLength>, kMaxChannels> mOutput{};
  std::array<float, kFrameLength> mWork{};
  Frame mIncoming{};
  Frame mRebuilt{};
  std::array<HistorySlot, kHistorySlots> mHistory{};
  int mHistoryBase = 0;
  int mLastBlockType = kLong;
  // The unscrambled copy of an input buffer.
  uint8_t* mScratch = nullptr;
  uint32_t mScratchSize = 0;
  // The streaming ring: its unconsumed bytes lie at its start.
  uint8_t* mRing = nullptr;
  int32_t mRingSize = 0;
  int32_t mRingFill = 0;
  bool mBuffering = true;
  bool mFirstStreamingCall = true;
  uint32_t mSyncRegister;
};

}  // namespace UUPerceptualAudio
