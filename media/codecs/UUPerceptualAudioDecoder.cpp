#include "media/codecs/UUPerceptualAudioDecoder.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "foundation/al/ALAllocator.h"
#include "foundation/uu/UUDebugOutput.h"

namespace UUPerceptualAudio {

namespace {

constexpr int32_t kSampleRates[] = {8000, 11025, 16000, 22050, 32000, 44100};
constexpr uint32_t kSyncPattern = 0x44AD33;
constexpr uint32_t kSyncMask = 0xFFFFFF;
constexpr int kSyncTrailerBits = 16;
constexpr int kRingUnits = 5;
constexpr int kBufferingUnits = 4;
constexpr int kLatestConcealmentSlot = 2;

bool ValidRate(int32_t rate) {
  return std::find(std::begin(kSampleRates), std::end(kSampleRates), rate) !=
         std::end(kSampleRates);
}

bool IsLongFamily(int blockType) { return CarriesPrediction(blockType); }

// Whether a block type's first half overlaps through the short-window
// transition, and whether its second half leaves the short-transition form.
bool StartsShort(int blockType) { return blockType != kLong && blockType != kLongStart; }
bool EndsShort(int blockType) { return blockType != kLong && blockType != kLongStop; }

void PutSample(uint8_t* pcm, int16_t sample) {
  pcm[0] = static_cast<uint8_t>(sample & 0xFF);
  pcm[1] = static_cast<uint8_t>((static_cast<uint16_t>(sample) >> 8) & 0xFF);
}

// a x weightA + b x weightB, channel by channel.
void Mix(const Frame& a, float weightA, const Frame& b, float weightB, Frame& out) {
  for (size_t c = 0; c < kMaxChannels; ++c) {
    for (size_t k = 0; k < kFrameLength; ++k) {
      out.spectrum[c][k] = a.spectrum[c][k] * weightA + b.spectrum[c][k] * weightB;
    }
  }
}

}  // namespace

Decoder::Decoder(const CreateParams& params)
    : mSampleRate(params.sampleRate),
      mChannelCount(params.channelCount),
      mOptions(params.options),
      mSyncRegister(kSyncPattern) {}

Decoder::~Decoder() {
  if (mScratch != nullptr) ALFree(mScratch);
  if (mRing != nullptr) ALFree(mRing);
}

bool Decoder::Create() {
  return mParser.Create(mSampleRate) && mSynthesis.Create(mSampleRate, mChannelCount == 1);
}

int Decoder::Decode(int32_t frameCount, const uint8_t* input, int32_t inputLength, uint8_t* output,
                    int32_t* byteCount, const DecodeParams& params, DecodeResult* result) {
  if (input == nullptr || inputLength < 0) inputLength = 0;
  const uint8_t* bytes = PrepareInput(input, inputLength, params.key);
  if (bytes == nullptr && inputLength > 0) return kOutOfMemory;
  if ((mOptions & kStreaming) != 0) {
    return DecodeStreaming(frameCount, bytes, inputLength, output, byteCount, params, result);
  }
  return DecodePlain(frameCount, bytes, inputLength, output, byteCount, params.frameFlags);
}

const uint8_t* Decoder::PrepareInput(const uint8_t* input, int32_t length, uint32_t key) {
  if ((mOptions & kScrambled) == 0 || length == 0) return input;
  const auto size = static_cast<uint32_t>(length);
  if (size > mScratchSize) {
    auto* grown = static_cast<uint8_t*>(ALAllocate(size, ALGlobalAllocator, kALMayFail));
    if (grown == nullptr) return nullptr;
    if (mScratch != nullptr) ALFree(mScratch);
    mScratch = grown;
    mScratchSize = size;
  }
  std::memcpy(mScratch, input, size);
  Unscramble(mScratch, size, key);
  return mScratch;
}

int Decoder::DecodePlain(int32_t frameCount, const uint8_t* input, int32_t inputLength,
                         uint8_t* output, int32_t* byteCount, uint32_t frameFlags) {
  int error = kNoError;
  mReader.SetInput(input, static_cast<uint32_t>(inputLength));
  mReader.Empty();
  int32_t produced = 0;
  for (int32_t f = 0; f < frameCount; ++f) {
    // After a frame that cannot be parsed the rest of the input cannot be
    // found either: its frames are lost.
    const bool parsed = inputLength > 0 && error == kNoError && ParseFrame(frameFlags);
    if (inputLength > 0 && !parsed && error == kNoError) {
      UUDebugOutput("Bottomed Out");
      error = kBadFrame;
    }
    if (!Accept(parsed, frameFlags, output + produced)) error = kBadFrame;
    produced += BytesPerFrame();
  }
  mReader.Empty();
  if (byteCount != nullptr) *byteCount = produced;
  return error;
}

bool Decoder::ParseFrame(uint32_t frameFlags) {
  if ((mOptions & kStreaming) != 0) {
    if (!FindSync()) return false;
    mReader.Skip(kSyncTrailerBits);
  }
  const bool parsed =
      mParser.Parse(mReader, mChannelCount, (mOptions & kPredictorSyntax) != 0, mIncoming);
  mReader.AlignToByte();
  if (parsed) ApplyStereo(mIncoming, mChannelCount == 2 && (frameFlags & kMonoOutput) != 0);
  return parsed;
}

bool Decoder::FindSync() {
  while ((mSyncRegister & kSyncMask) != kSyncPattern) {
    mSyncRegister = mSyncRegister << 8 | mReader.Read(8);
    if (mReader.IsPastEnd()) return false;
  }
  mSyncRegister = 0;  // the next frame needs a pattern of its own
  return true;
}

void Decoder::ApplyStereo(Frame& frame, bool monoOutput) const {
  if (mChannelCount != 2) return;
  auto& c0 = frame.spectrum[0];
  auto& c1 = frame.spectrum[1];
  if (monoOutput && !frame.midSide) {
    for (size_t k = 0; k < kFrameLength; ++k) c1[k] += c0[k];
    return;
  }
  if (monoOutput || !frame.midSide) return;
  const BlockConfig& config = mParser.Config(frame.blockType);
  int window = 0;
  for (int g = 0; g < frame.groupCount; ++g) {
    for (; window < frame.groupEnd[static_cast<size_t>(g)]; ++window) {
      for (int b = 0; b < config.bandsPerWindow; ++b) {
        if (frame.midSideBands[static_cast<size_t>(g)][static_cast<size_t>(b)] == 0) continue;
        const int band = window * config.bandsPerWindow + b;
        const auto end = static_cast<size_t>(config.start[static_cast<size_t>(band + 1)]);
        for (auto k = static_cast<size_t>(config.start[static_cast<size_t>(band)]); k < end; ++k) {
          const float side = c0[k];
          const float mid = c1[k];
          c1[k] = mid + side;
          c0[k] = mid - side;
        }
      }
    }
  }
}

bool Decoder::Accept(bool parsed, uint32_t frameFlags, uint8_t* pcm) {
  const bool monoOutput = mChannelCount == 2 && (frameFlags & kMonoOutput) != 0;
  const int slot = static_cast<int>((frameFlags & kConcealmentSlotMask) >> kConcealmentSlotShift);
  if ((frameFlags & kNoConcealment) != 0 || slot > kLatestConcealmentSlot) {
    if (parsed) return Emit(mIncoming, monoOutput, pcm);
    Silence(mRebuilt, kLong);
    return Emit(mRebuilt, monoOutput, pcm);
  }
  // Every slot moves one older; the new frame enters the chosen slot.
  mHistoryBase = (mHistoryBase + kHistorySlots - 1) % kHistorySlots;
  for (int s = 0; s < slot; ++s) Slot(s).state = SlotState::kEmpty;
  HistorySlot& entered = Slot(slot);
  entered.state = parsed ? SlotState::kPresent : SlotState::kLost;
  if (parsed) entered.frame = mIncoming;
  HistorySlot& out = Slot(kOutputSlot);
  if (out.state == SlotState::kPresent) return Emit(out.frame, monoOutput, pcm);
  if (out.state == SlotState::kLost) {
    Conceal();
  } else {
    Silence(mRebuilt, NextBlockType());
  }
  return Emit(mRebuilt, monoOutput, pcm);
}

int Decoder::NextBlockType() {
  const HistorySlot& next = Slot(kOutputSlot - 1);
  return next.state == SlotState::kPresent ? next.frame.blockType : kLong;
}

void Decoder::Silence(Frame& frame, int nextBlockType) {
  static constexpr int kKeepSequence[2][2] = {{kLong, kLongStart},
                                              {kLongStop, kLongShortTransitions}};
  frame.blockType = kKeepSequence[EndsShort(mLastBlockType)][StartsShort(nextBlockType)];
  frame.groupCount = 1;
  frame.groupEnd[0] = 1;
  frame.midSide = false;
  frame.prediction = false;
  for (auto& channel : frame.spectrum) channel.fill(0.0f);
}

void Decoder::Conceal() {
  const auto usable = [this](int slot) {
    return Slot(slot).state == SlotState::kPresent && IsLongFamily(Slot(slot).frame.blockType);
  };
  const auto frame = [this](int slot) -> const Frame& { return Slot(slot).frame; };
  Silence(mRebuilt, NextBlockType());
  const int previous = kOutputSlot + 1;
  const int following = kOutputSlot - 1;
  if (usable(previous) && usable(following)) {
    Mix(frame(previous), 0.5f, frame(following), 0.5f, mRebuilt);
  } else if (usable(previous) && usable(following - 1)) {
    Mix(frame(previous), 2.0f / 3.0f, frame(following - 1), 1.0f / 3.0f, mRebuilt);
  } else if (usable(previous + 1) && usable(following)) {
    Mix(frame(previous + 1), 1.0f / 3.0f, frame(following), 2.0f / 3.0f, mRebuilt);
  } else if (usable(previous)) {
    mRebuilt.spectrum = frame(previous).spectrum;
  } else if (usable(following)) {
    mRebuilt.spectrum = frame(following).spectrum;
  }
}

bool Decoder::Emit(Frame& frame, bool monoOutput, uint8_t* pcm) {
  if (frame.prediction && mChannelCount == 2 && frame.blockType <= kLongStop) {
    for (int c = 0; c < kMaxChannels; ++c) {
      mPredictor.Apply(c, frame.predictorOrder, frame.keep[static_cast<size_t>(c)],
                       frame.spectrum[static_cast<size_t>(c)].data());
    }
  }
  const int first = mChannelCount == 2 && monoOutput ? 1 : 0;
  bool good = true;
  for (int c = first; c < mChannelCount; ++c) {
    mWork = frame.spectrum[static_cast<size_t>(c)];
    good = mSynthesis.Synthesise(frame.blockType, mWork.data(), mChannels[static_cast<size_t>(c)],
                                 mOutput[static_cast<size_t>(c)].data()) &&
           good;
  }
  mLastBlockType = frame.blockType;
  WritePcm(monoOutput, pcm);
  return good;
}

void Decoder::WritePcm(bool monoOutput, uint8_t* pcm) const {
  const OutputMode mode = mChannelCount == 1 ? kMonoStreamOutput
                          : monoOutput       ? kMonoOfStereoOutput
                                             : kStereoOutput;
  for (int n = 0; n < kFrameLength; ++n) {
    switch (mode) {
      case kStereoOutput:
        PutSample(pcm + 4 * n, ToPcm(mOutput[0][static_cast<size_t>(n)]));
        PutSample(pcm + 4 * n + 2, ToPcm(mOutput[1][static_cast<size_t>(n)]));
        break;
      case kMonoOfStereoOutput: {
        const int16_t sample = ToPcm(mOutput[1][static_cast<size_t>(n)]);
        PutSample(pcm + 4 * n, sample);
        PutSample(pcm + 4 * n + 2, sample);
        break;
      }
      case kMonoStreamOutput:
        PutSample(pcm + 2 * n, ToPcm(mOutput[0][static_cast<size_t>(n)]));
        break;
    }
  }
}

bool Decoder::AppendToRing(const uint8_t* input, int32_t length, const DecodeParams& params) {
  if (mRing == nullptr) {
    if (params.ringUnit <= 0 || params.ringUnit > INT32_MAX / kRingUnits) return false;
    mRingSize = params.ringUnit * kRingUnits;
    mRing = static_cast<uint8_t*>(
        ALAllocate(static_cast<size_t>(mRingSize), ALGlobalAllocator, kALMayFail));
    if (mRing == nullptr) return false;
  }
  const int32_t taken = std::min(length, mRingSize - mRingFill);  // the rest is dropped
  if (taken > 0) std::memcpy(mRing + mRingFill, input, static_cast<size_t>(taken));
  mRingFill += taken;
  return true;
}

int Decoder::DecodeStreaming(int32_t frameCount, const uint8_t* input, int32_t inputLength,
                             uint8_t* output, int32_t* byteCount, const DecodeParams& params,
                             DecodeResult* result) {
  if (params.bufferingUnit < 0 || params.bufferingUnit > INT32_MAX / kBufferingUnits) {
    return kBadParameters;
  }
  const bool hadRing = mRing != nullptr;
  if (!AppendToRing(input, inputLength, params)) return hadRing ? kBadParameters : kOutOfMemory;
  const int32_t threshold = params.bufferingUnit * kBufferingUnits;
  if ((mFirstStreamingCall && inputLength >= threshold) || mRingFill > threshold) {
    mBuffering = false;
  }
  mFirstStreamingCall = false;
  const int32_t wanted =
      std::min(frameCount, (byteCount != nullptr ? *byteCount : 0) / BytesPerFrame());
  int32_t consumed = 0;
  int32_t decoded = 0;
  while (!mBuffering && decoded < wanted && mRingFill - consumed > threshold) {
    const uint32_t syncBefore = mSyncRegister;
    mReader.SetInput(mRing + consumed, static_cast<uint32_t>(mRingFill - consumed));
    mReader.Empty();
    const bool parsed = ParseFrame(params.frameFlags);
    const auto used = static_cast<int32_t>(
        (mReader.GetBytesTaken() - static_cast<uint32_t>(mReader.GetBufferedBytes())));
    if (mReader.IsPastEnd()) {
      mSyncRegister = syncBefore;  // the frame is not all here yet
      break;
    }
    if (!parsed) {
      UUDebugOutput("Bottomed Out");
      mSyncRegister = 0;  // search for the next frame from here
      consumed += std::max(used, 1);
      break;
    }
    consumed += used;
    Accept(true, params.frameFlags, output + decoded * BytesPerFrame());
    ++decoded;
  }
  mReader.Empty();
  std::memset(output + decoded * BytesPerFrame(), 0,
              static_cast<size_t>((wanted - decoded) * BytesPerFrame()));
  std::memmove(mRing, mRing + consumed, static_cast<size_t>(mRingFill - consumed));
  mRingFill -= consumed;
  if (byteCount != nullptr) *byteCount = wanted * BytesPerFrame();
  if (result != nullptr) *result = {.buffered = mRingFill, .consumed = consumed};
  return kNoError;
}

int CreateDecoder(Decoder** decoder, CreateParams* params) {
  if (decoder == nullptr || params == nullptr) return kBadParameters;
  *decoder = nullptr;
  if (!ValidRate(params->sampleRate) || (params->channelCount != 1 && params->channelCount != 2)) {
    return kBadParameters;
  }
  params->samplesPerFrame = kFrameLength;
  void* memory = ALAllocate(sizeof(Decoder), ALGlobalAllocator, kALMayFail);
  if (memory == nullptr) return kOutOfMemory;
  auto* created = new (memory) Decoder(*params);
  if (!created->Create()) {
    DestroyDecoder(created);
    return kOutOfMemory;
  }
  *decoder = created;
  return kNoError;
}

int DecodeFrames(Decoder* decoder, int32_t frameCount, const uint8_t* input, int32_t inputLength,
                 uint8_t* output, int32_t* byteCount, const DecodeParams* params,
                 DecodeResult* result) {
  if (decoder == nullptr || params == nullptr || frameCount < 0 ||
      (output == nullptr && frameCount > 0)) {
    return kBadParameters;
  }
  return decoder->Decode(frameCount, input, inputLength, output, byteCount, *params, result);
}

void DestroyDecoder(Decoder* decoder) {
  if (decoder == nullptr) return;
  decoder->~Decoder();
  ALFree(decoder);
}

void Unscramble(uint8_t* bytes, uint32_t length, uint32_t key) {
  const uint32_t lowLength = length & 0xFFFF;
  uint32_t rotation = (((lowLength + key) >> 2) + 1) % 16;
  bool right = ((lowLength + key) & 4) != 0;
  for (uint32_t i = 0; i < length; ++i) {
    const uint32_t b = rotation % 8;
    const uint32_t byte = bytes[i];
    const uint32_t rotated = right ? (byte >> b | byte << (8 - b)) : (byte << b | byte >> (8 - b));
    bytes[i] = static_cast<uint8_t>(rotated);
    rotation = (rotation + 1) % 8;
    right = !right;
  }
  std::reverse(bytes, bytes + length);
}

}  // namespace UUPerceptualAudio
