// Decoding speed of the perceptual audio decoder: ten seconds of 44.1 kHz
// stereo, reported as the fraction of real time it takes on one core.

#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "media/codecs/UUPerceptualAudio.h"
#include "tests/media/codecs/PerceptualAudioTestEncoder.h"

namespace {

using namespace PerceptualAudioTest;
using namespace UUPerceptualAudio;

constexpr int32_t kRate = 44100;
constexpr double kSeconds = 10.0;
constexpr int kFrames = static_cast<int>(kSeconds * kRate / kFrameLength) + 1;

using Pattern = std::array<int, 8>;
// Mostly long blocks, now and then short ones.
constexpr Pattern kMusic = {kLong, kLong, kLong, kLongStart, kEightShort, kLongStop, kLong, kLong};
// Mostly wavelet blocks, whole and halves.
constexpr Pattern kWavelets = {kLongStart,
                               kWavelet,
                               kWavelet,
                               kWaveletThenTransform,
                               kTransformThenWavelet,
                               kWavelet,
                               kLongShortTransitions,
                               kLongStop};

// A busy spectrum: most of the coefficients below 16 kHz carry values of
// every size, the block types following the pattern.
std::vector<std::vector<uint8_t>> Frames(const Encoder& encoder, const Pattern& pattern) {
  std::vector<std::vector<uint8_t>> frames;
  uint32_t random = 12345;
  for (int f = 0; f < kFrames; ++f) {
    FrameData frame;
    frame.blockType = pattern[f % 8];
    for (int c = 0; c < 2; ++c) {
      for (int k = 0; k < 760; ++k) {
        random = random * 1103515245u + 12345u;
        const int magnitude = static_cast<int>((random >> 16) % 9) - 4;
        frame.channels[static_cast<size_t>(c)].q[static_cast<size_t>(k)] =
            k < 40 && (random & 0x100) != 0 ? magnitude * 5 : magnitude;
      }
      encoder.ChooseBooks(frame, c, 20);
    }
    frame.midSide = f % 2 == 0;
    frame.midSideBands[0].fill(1);
    frames.push_back(encoder.EncodeFrame(frame));
  }
  return frames;
}

void DecodeTenSecondsOfStereo(benchmark::State& state, const Pattern& pattern) {
  const Encoder encoder(kRate, 2, 0);
  const std::vector<std::vector<uint8_t>> frames = Frames(encoder, pattern);
  std::vector<uint8_t> pcm(4096);
  const DecodeParams params{.frameFlags = kNoConcealment};
  CreateParams create{.channelCount = 2, .sampleRate = kRate};
  Decoder* decoder = nullptr;
  if (CreateDecoder(&decoder, &create) != kNoError) {
    state.SkipWithError("no decoder");
    return;
  }
  for (auto _ : state) {
    for (const auto& frame : frames) {
      int32_t produced = 0;
      DecodeFrames(decoder, 1, frame.data(), static_cast<int32_t>(frame.size()), pcm.data(),
                   &produced, &params, nullptr);
    }
    benchmark::DoNotOptimize(pcm.data());
  }
  DestroyDecoder(decoder);
  // Seconds of decoding per second of sound.
  state.counters["fraction_of_real_time"] = benchmark::Counter(
      kSeconds, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
void BM_DecodeTenSecondsOfStereo(benchmark::State& state) {
  DecodeTenSecondsOfStereo(state, kMusic);
}
BENCHMARK(BM_DecodeTenSecondsOfStereo)->Unit(benchmark::kMillisecond);

void BM_DecodeTenSecondsOfWaveletStereo(benchmark::State& state) {
  DecodeTenSecondsOfStereo(state, kWavelets);
}
BENCHMARK(BM_DecodeTenSecondsOfWaveletStereo)->Unit(benchmark::kMillisecond);

}  // namespace
