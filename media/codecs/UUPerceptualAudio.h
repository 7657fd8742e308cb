#pragma once
// The perceptual audio decoder: turns compressed frames of 1024 spectral
// coefficients per channel into 16-bit PCM. A C-style decoder object is
// created for a stream's channel count and sample rate, decodes frames
// call by call, and is destroyed by its owner.

#include <cstdint>

namespace UUPerceptualAudio {

enum Error : int {
  kNoError = 0,
  kOutOfMemory = 17,
  kBadParameters = 18,
  kBadFrame = 19,
};

// Option flags, fixed for the decoder's life.
enum Option : uint32_t {
  // Long frames carry prediction fields, and there is no reserved bit.
  kPredictorSyntax = 1u << 0,
  // Input is gathered in a ring and frames start with a sync pattern.
  kStreaming = 1u << 2,
  // Every input buffer is scrambled with a key.
  kScrambled = 1u << 4,
};

// Frame flags, per call.
enum FrameFlag : uint32_t {
  kMonoOutput = 1u << 0,     // both outputs from the sum of a stereo stream
  kNoConcealment = 1u << 1,  // lost frames are not rebuilt from their neighbours
};
// Bits 2-3 of the frame flags: the history slot a new frame enters, so
// that the output runs 3 - slot frames behind the input.
constexpr int kConcealmentSlotShift = 2;
constexpr uint32_t kConcealmentSlotMask = 3u << kConcealmentSlotShift;

struct CreateParams {
  int16_t channelCount;     // 1 or 2
  int32_t sampleRate;       // 8000, 11025, 16000, 22050, 32000 or 44100
  uint32_t options;         // Option bits
  int32_t samplesPerFrame;  // out: always 1024
};

struct DecodeParams {
  uint32_t frameFlags;
  int32_t ringUnit;       // streaming: the ring holds 5 units
  int32_t bufferingUnit;  // streaming: decoding needs more than 4 units buffered
  uint32_t key;           // scrambled input
};

struct DecodeResult {
  int32_t buffered;  // streaming: bytes still in the ring
  int32_t consumed;  // streaming: bytes used by this call's frames
};

struct Decoder;

int CreateDecoder(Decoder** decoder, CreateParams* params);
// Decodes frameCount frames from the input (none for a call without input)
// into output, 1024 sample frames each of 2 (mono) or 4 (stereo) bytes;
// byteCount receives the bytes produced (in the streaming mode it brings in
// the bytes wanted). A frame that cannot be parsed answers kBadFrame.
int DecodeFrames(Decoder* decoder, int32_t frameCount, const uint8_t* input, int32_t inputLength,
                 uint8_t* output, int32_t* byteCount, const DecodeParams* params,
                 DecodeResult* result);
void DestroyDecoder(Decoder* decoder);

// The scrambling of the scrambled-input option, in both directions.
void Unscramble(uint8_t* bytes, uint32_t length, uint32_t key);

}  // namespace UUPerceptualAudio
