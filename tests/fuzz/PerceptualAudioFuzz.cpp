// Decodes the input as perceptual audio frames. The input starts with a
// header: byte 0 chooses the rate (bits 0-2), stereo (bit 3), the predictor
// syntax (bit 4), the streaming mode (bit 5), scrambled input (bit 6) and
// whether the frames are read through the buffered-input stream instead
// (bit 7); byte 1 holds the frame flags; byte 2 the frame count (at most
// 6); then one little-endian uint16 compressed size per frame, then the
// frames' bytes.

#include "foundation/uu/UUBufferedInputFromReader.h"
#include "foundation/uu/UUMemory.h"
#include "media/codecs/UUPerceptualAudio.h"
#include "media/codecs/UUPerceptualAudioStream.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace {

using namespace UUPerceptualAudio;

constexpr int32_t kRates[] = {8000, 11025, 16000, 22050, 32000, 44100};
constexpr size_t kMaxFrames = 6;
constexpr int32_t kStereoFrameBytes = 4096;

struct Input {
  uint8_t setup = 0;
  uint8_t frameFlags = 0;
  std::vector<uint16_t> sizes;
  std::vector<uint8_t> data;
};

bool Split(const uint8_t* bytes, size_t size, Input& input) {
  if (size < 3) return false;
  input.setup = bytes[0];
  input.frameFlags = bytes[1];
  const size_t count = std::min<size_t>(bytes[2], kMaxFrames);
  size_t at = 3;
  for (size_t f = 0; f < count && at + 1 < size; ++f, at += 2) {
    input.sizes.push_back(static_cast<uint16_t>(bytes[at] | bytes[at + 1] << 8));
  }
  input.data.assign(bytes + at, bytes + size);
  return true;
}

void DecodeCalls(const Input& input) {
  const bool stereo = (input.setup & 0x08) != 0;
  CreateParams create{.channelCount = static_cast<int16_t>(stereo ? 2 : 1),
                      .sampleRate = kRates[(input.setup & 7) % 6],
                      .options = static_cast<uint32_t>((input.setup >> 4) & 1) |
                                 static_cast<uint32_t>((input.setup >> 5) & 1) << 2 |
                                 static_cast<uint32_t>((input.setup >> 6) & 1) << 4};
  Decoder* decoder = nullptr;
  if (CreateDecoder(&decoder, &create) != kNoError) return;
  const DecodeParams params{
      .frameFlags = input.frameFlags, .ringUnit = 512, .bufferingUnit = 4, .key = 0x5A};
  std::vector<uint8_t> pcm(2 * kStereoFrameBytes);
  size_t at = 0;
  for (uint16_t size : input.sizes) {
    const size_t n = std::min<size_t>(size, input.data.size() - at);
    int32_t produced = static_cast<int32_t>(pcm.size());
    // Frame counts of 1 and 2 in turn: several frames of one call share
    // their bytes.
    const int32_t frames = 1 + static_cast<int32_t>(size & 1);
    DecodeFrames(decoder, frames, n > 0 ? input.data.data() + at : nullptr, static_cast<int32_t>(n),
                 pcm.data(), &produced, &params, nullptr);
    at += n;
  }
  DestroyDecoder(decoder);
}

void ReadStream(Input& input) {
  const bool stereo = (input.setup & 0x08) != 0;
  const int32_t frameBytes = stereo ? kStereoFrameBytes : kStereoFrameBytes / 2;
  UUMemory memory(input.data.data(), static_cast<int32_t>(input.data.size()));
  std::vector<uint8_t> ring(97);
  auto* buffered = new UUBufferedInputFromRandomAccessStream(
      memory, ring.data(), static_cast<int32_t>(ring.size()), 0,
      static_cast<int32_t>(input.data.size()));
  DecompressFromBufferedInput stream(buffered, input.setup & 3, stereo,
                                     static_cast<int32_t>(input.sizes.size()) * frameBytes,
                                     input.sizes.data());
  std::vector<uint8_t> out(3000);
  stream.Seek(input.frameFlags * 37);
  while (!stream.AtEnd() && stream.Read(out.data(), static_cast<uint32_t>(out.size()), true) > 0) {
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Input input;
  if (!Split(data, size, input)) return 0;
  if ((input.setup & 0x80) != 0) {
    ReadStream(input);
  } else {
    DecodeCalls(input);
  }
  return 0;
}
