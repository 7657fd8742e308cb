#include "media/codecs/UUPerceptualAudioStream.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace UUPerceptualAudio {

namespace {

constexpr int32_t kStereoFrameBytes = 4096;
constexpr int32_t kMonoFrameBytes = 2048;
constexpr int32_t kLargestFrame = 0xFFFF;

int32_t RateOf(int rateCode) {
  if (rateCode == 0) return 11025;
  if (rateCode == 1) return 22050;
  return 44100;
}

}  // namespace

DecompressFromBufferedInput::DecompressFromBufferedInput(UUBufferedInput* input, int rateCode,
                                                         bool stereo, int32_t decodedLength,
                                                         const uint16_t* frameSizes)
    : UUInputFromBufferedInput(input),
      mFrameBytes(stereo ? kStereoFrameBytes : kMonoFrameBytes),
      mDecodedLength(std::max(decodedLength, 0)),
      mFrameCount(mDecodedLength / mFrameBytes),
      mFrameSizes(frameSizes),
      mFrameBuffer(static_cast<size_t>(mFrameBytes)),
      mGather(kLargestFrame) {
  CreateParams params{.channelCount = static_cast<int16_t>(stereo ? 2 : 1),
                      .sampleRate = RateOf(rateCode),
                      .options = 0,
                      .samplesPerFrame = 0};
  if (CreateDecoder(&mDecoder, &params) != kNoError) mDecoder = nullptr;
}

DecompressFromBufferedInput::~DecompressFromBufferedInput() { DestroyDecoder(mDecoder); }

int32_t DecompressFromBufferedInput::Seek(int32_t position) {
  position = std::clamp(position, 0, mDecodedLength);
  if (position == mPosition + mPendingSkip) return position;
  const int32_t frame = std::min(position / mFrameBytes, mFrameCount);
  int64_t offset = 0;
  for (int32_t f = 0; f < frame; ++f) offset += mFrameSizes[f];
  mInput->Seek(static_cast<int32_t>(std::min<int64_t>(offset, INT32_MAX)));
  mGathered = 0;
  mFrameRead = mFrameFill = 0;
  mPosition = frame * mFrameBytes;
  mPendingSkip = position - mPosition;
  return position;
}

uint32_t DecompressFromBufferedInput::TakeFromFrameBuffer(uint8_t* out, uint32_t wanted) {
  const int32_t skip = std::min(mPendingSkip, mFrameFill - mFrameRead);
  mFrameRead += skip;
  mPosition += skip;
  mPendingSkip -= skip;
  const auto n = std::min(wanted, static_cast<uint32_t>(mFrameFill - mFrameRead));
  std::memcpy(out, mFrameBuffer.data() + mFrameRead, n);
  mFrameRead += static_cast<int32_t>(n);
  mPosition += static_cast<int32_t>(n);
  return n;
}

void DecompressFromBufferedInput::DecodeFrame(const uint8_t* bytes, int32_t size, uint8_t* direct,
                                              uint32_t* delivered) {
  const DecodeParams params{.frameFlags = kNoConcealment};
  const bool straight = direct != nullptr && mPendingSkip == 0;
  int32_t produced = 0;
  // A frame that cannot be parsed still leaves a frame of samples.
  DecodeFrames(mDecoder, 1, bytes, size, straight ? direct : mFrameBuffer.data(), &produced,
               &params, nullptr);
  if (straight) {
    mPosition += mFrameBytes;
    *delivered += static_cast<uint32_t>(mFrameBytes);
    return;
  }
  mFrameRead = 0;
  mFrameFill = mFrameBytes;
}

bool DecompressFromBufferedInput::DecodeNextFrame(uint8_t* out, uint32_t wanted, bool wait,
                                                  uint32_t* delivered) {
  const int32_t frame = mPosition / mFrameBytes;
  if (frame >= mFrameCount) return false;
  const uint8_t* bytes = nullptr;
  int32_t available = mInput->Peek(&bytes);
  if (available <= 0 && wait) {
    mInput->Fill();
    available = mInput->Peek(&bytes);
  }
  if (available <= 0) return false;
  const int32_t size = mFrameSizes[frame];
  uint8_t* direct = wanted >= static_cast<uint32_t>(mFrameBytes) ? out : nullptr;
  if (mGathered > 0 || available < size) {
    const int32_t n = std::min(available, size - mGathered);
    std::memcpy(mGather.data() + mGathered, bytes, static_cast<size_t>(n));
    mInput->Consume(n);
    mGathered += n;
    if (mGathered < size) return true;
    mGathered = 0;
    DecodeFrame(mGather.data(), size, direct, delivered);
    return true;
  }
  DecodeFrame(bytes, size, direct, delivered);
  mInput->Consume(size);
  return true;
}

uint32_t DecompressFromBufferedInput::Read(void* buffer, uint32_t n, bool wait) {
  auto* out = static_cast<uint8_t*>(buffer);
  uint32_t delivered = 0;
  while (mDecoder != nullptr && delivered < n && !AtEnd()) {
    if (mFrameRead < mFrameFill) {
      delivered += TakeFromFrameBuffer(out + delivered, n - delivered);
      continue;
    }
    if (!DecodeNextFrame(out + delivered, n - delivered, wait, &delivered)) break;
  }
  return delivered;
}

}  // namespace UUPerceptualAudio
