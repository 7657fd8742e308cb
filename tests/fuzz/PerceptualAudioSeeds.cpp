// Writes the perceptual audio fuzzer's seed corpus with the tests' encoder:
// inputs in the fuzzer's layout (a header, the frame-size table, the
// frames) of every block type, mid/side, prediction, scrambled input, the
// streaming mode and the buffered-input stream.

#include "tests/media/codecs/PerceptualAudioTestEncoder.h"

#include "tests/fuzz/SeedFiles.h"

#include <cstdio>
#include <string>
#include <vector>

namespace {

using namespace PerceptualAudioTest;
using namespace UUPerceptualAudio;
using Bytes = std::vector<uint8_t>;

constexpr uint8_t kRate44100 = 5;
constexpr uint8_t kRate22050 = 3;
constexpr uint8_t kStereoBit = 0x08;
constexpr uint8_t kPredictorBit = 0x10;
constexpr uint8_t kStreamingBit = 0x20;
constexpr uint8_t kScrambledBit = 0x40;
constexpr uint8_t kStreamBit = 0x80;
constexpr uint32_t kFuzzKey = 0x5A;

FrameData SeedFrame(const Encoder& encoder, int type, int seed) {
  FrameData frame;
  frame.blockType = type;
  for (int c = 0; c < 2; ++c) {
    for (int i = 0; i < 6; ++i) {
      frame.channels[static_cast<size_t>(c)]
          .q[static_cast<size_t>((seed * 131 + i * 97 + c * 7) % 1024)] =
          (i % 2 == 0 ? 1 : -1) * (1 + (seed + i) * 7 % 40);
    }
    encoder.ChooseBooks(frame, c, 40);
  }
  return frame;
}

Bytes Input(uint8_t setup, uint8_t frameFlags, const std::vector<Bytes>& frames) {
  Bytes input = {setup, frameFlags, static_cast<uint8_t>(frames.size())};
  for (const Bytes& frame : frames) {
    input.push_back(static_cast<uint8_t>(frame.size() & 0xFF));
    input.push_back(static_cast<uint8_t>(frame.size() >> 8));
  }
  for (const Bytes& frame : frames) input.insert(input.end(), frame.begin(), frame.end());
  return input;
}

std::vector<Bytes> Encode(const Encoder& encoder, const std::vector<int>& types) {
  std::vector<Bytes> frames;
  for (size_t f = 0; f < types.size(); ++f) {
    frames.push_back(encoder.EncodeFrame(SeedFrame(encoder, types[f], static_cast<int>(f))));
  }
  return frames;
}

}  // namespace

int main(int argumentCount, char** arguments) {
  if (argumentCount != 2) {
    std::fprintf(stderr, "usage: %s <corpus directory, plain or Windows path>\n", arguments[0]);
    return 2;
  }
  const std::string directory = arguments[1];
  const Encoder stereo(44100, 2, 0);
  const Encoder mono(22050, 1, 0);
  const Encoder predicting(44100, 2, kPredictorSyntax);
  const Encoder streaming(44100, 2, kStreaming);

  // The fuzzer reads at most six frames an input.
  const std::vector<int> transformTypes = {kLong, kLongStart, kEightShort, kLongStop, kLong};
  const std::vector<int> waveletTypes = {
      kLongStart, kWavelet, kWaveletThenTransform, kTransformThenWavelet, kLongShortTransitions,
      kLongStop};
  FrameData midSide = SeedFrame(stereo, kLong, 3);
  midSide.midSide = true;
  for (int b = 0; b < 49; b += 3) midSide.midSideBands[0][static_cast<size_t>(b)] = 1;
  FrameData predicted = SeedFrame(predicting, kLong, 4);
  predicted.prediction = true;
  predicted.predictorOrder = 3;
  predicted.keep = {true, false};
  std::vector<Bytes> scrambled = Encode(stereo, {kLong, kLong});
  for (Bytes& frame : scrambled) Scramble(frame, kFuzzKey);
  std::vector<FrameData> streamFrames = {SeedFrame(streaming, kLong, 1),
                                         SeedFrame(streaming, kLong, 2)};

  const struct {
    const char* name;
    Bytes input;
  } seeds[] = {
      {"stereo-transforms",
       Input(kRate44100 | kStereoBit, kNoConcealment, Encode(stereo, transformTypes))},
      {"stereo-wavelets",
       Input(kRate44100 | kStereoBit, kNoConcealment, Encode(stereo, waveletTypes))},
      {"mono-concealed", Input(kRate22050, 1 << kConcealmentSlotShift, Encode(mono, waveletTypes))},
      {"mid-side-mono-output", Input(kRate44100 | kStereoBit, kMonoOutput | kNoConcealment,
                                     {stereo.EncodeFrame(midSide), stereo.EncodeFrame(midSide)})},
      {"predicted", Input(kRate44100 | kStereoBit | kPredictorBit, kNoConcealment,
                          {predicting.EncodeFrame(predicted), predicting.EncodeFrame(predicted)})},
      {"scrambled", Input(kRate44100 | kStereoBit | kScrambledBit, kNoConcealment, scrambled)},
      {"streaming", Input(kRate44100 | kStereoBit | kStreamingBit, kNoConcealment,
                          {streaming.EncodeStream(streamFrames), {}, {}})},
      {"buffered-input",
       Input(kStreamBit | 2, 0, Encode(mono, {kLong, kLong, kLongStart, kEightShort}))},
  };
  for (const auto& seed : seeds) {
    if (!WriteSeedFile(directory, std::string(seed.name) + ".pa", seed.input)) return 1;
  }
  return 0;
}
