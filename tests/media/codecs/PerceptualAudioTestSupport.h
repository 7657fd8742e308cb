#pragma once
// Decoding helpers of the perceptual audio tests: frames through a fresh
// decoder into 16-bit samples, and the reference signal of the same frames.

#include "media/codecs/UUPerceptualAudio.h"
#include "media/codecs/UUPerceptualAudioSynthesis.h"
#include "tests/media/codecs/PerceptualAudioReference.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

namespace PerceptualAudioTest {

struct Decoded {
  std::vector<std::vector<int16_t>> channels;  // one per output channel
  int error = UUPerceptualAudio::kNoError;
};

// Decodes each buffer with one call of frameCount frames (0 bytes: a
// call without input) into per-channel samples of the stereo or mono output.
inline Decoded DecodeCalls(int32_t sampleRate, int channelCount, uint32_t options,
                           const std::vector<std::vector<uint8_t>>& calls,
                           UUPerceptualAudio::DecodeParams params = {}, int frameCount = 1) {
  using namespace UUPerceptualAudio;
  CreateParams create{.channelCount = static_cast<int16_t>(channelCount),
                      .sampleRate = sampleRate,
                      .options = options,
                      .samplesPerFrame = 0};
  Decoder* decoder = nullptr;
  Decoded decoded;
  decoded.error = CreateDecoder(&decoder, &create);
  if (decoded.error != kNoError) return decoded;
  const int outputs = channelCount;
  decoded.channels.resize(static_cast<size_t>(outputs));
  std::vector<uint8_t> pcm(static_cast<size_t>(frameCount * kFrameLength * 2 * outputs));
  for (const auto& bytes : calls) {
    int32_t produced = static_cast<int32_t>(pcm.size());
    const int error =
        DecodeFrames(decoder, frameCount, bytes.empty() ? nullptr : bytes.data(),
                     static_cast<int32_t>(bytes.size()), pcm.data(), &produced, &params, nullptr);
    if (decoded.error == kNoError) decoded.error = error;
    for (int32_t i = 0; i + 1 < produced; i += 2) {
      const auto sample =
          static_cast<int16_t>(pcm[static_cast<size_t>(i)] | pcm[static_cast<size_t>(i + 1)] << 8);
      decoded.channels[static_cast<size_t>((i / 2) % outputs)].push_back(sample);
    }
  }
  DestroyDecoder(decoder);
  return decoded;
}

// The largest difference between decoded samples and the reference.
inline int LargestError(const std::vector<int16_t>& decoded, const TimeSignal& reference) {
  int largest = 0;
  for (size_t t = 0; t < decoded.size(); ++t) {
    largest = std::max(largest, std::abs(decoded[t] - reference.Pcm(static_cast<int>(t))));
  }
  return largest;
}

// The windows the decoder uses at a rate, for the reference.
inline TimeSignal ReferenceFor(int frames, int32_t sampleRate, bool mono) {
  auto synthesis = std::make_shared<UUPerceptualAudio::Synthesis>();
  synthesis->Create(sampleRate, mono);
  return TimeSignal(
      frames, [synthesis](int n) { return double(synthesis->LongWindow(n)); },
      [synthesis](int n) { return double(synthesis->ShortWindow(n)); });
}

}  // namespace PerceptualAudioTest
