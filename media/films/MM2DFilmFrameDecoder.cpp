#include "media/films/MM2DFilmFrameDecoder.h"

#include "foundation/al/ALBytes.h"

#include <lzo/lzo1x.h>

#include <cstring>

namespace {

// C and D before the data of both compressed chunks.
constexpr int32_t kSizesBytes = 8;
constexpr int32_t kOperationBytes = 4;
constexpr int32_t kFillBytes = 4;

// Decompresses exactly size bytes of LZO1X data into destination.
bool Decompress(const uint8_t* source, uint32_t sourceBytes, uint8_t* destination, uint32_t size) {
  lzo_uint produced = size;
  const int result = lzo1x_decompress_safe(source, sourceBytes, destination, &produced, nullptr);
  return result == LZO_E_OK && produced == size;
}

}  // namespace

void MMRead2DFilmDirtyRects(const uint8_t* data, MM2DFilmDirtyRect* dirty) {
  for (int32_t i = 0; i < kMM2DFilmDirtyRectCount; ++i, data += 8) {
    dirty[i] = MM2DFilmDirtyRect{MMReadBigEndian16(data), MMReadBigEndian16(data + 2),
                                 MMReadBigEndian16(data + 4), MMReadBigEndian16(data + 6)};
  }
}

MM2DFilmFrameDecoder::MM2DFilmFrameDecoder(uint8_t* pixels, int32_t height, int32_t pitch,
                                           int32_t bytesPerPixel, uint8_t* work, int32_t workSize)
    : mPixels(pixels),
      mHeight(height),
      mPitch(pitch),
      mReversed(bytesPerPixel == 4),
      mWork(work),
      mWorkSize(work != nullptr ? workSize : 0) {}

bool MM2DFilmFrameDecoder::Apply(const MM2DFilmChunk& chunk, MM2DFilmDirtyRect* dirty) {
  switch (chunk.mType) {
    case kMM2DFilmRawFrame:
      return ApplyRaw(chunk.mPayload, chunk.mLength);
    case kMM2DFilmDeltaFrame:
      return ApplyDelta(chunk.mPayload, chunk.mLength, dirty);
    case kMM2DFilmCompressedFrame:
      return ApplyCompressed(chunk.mPayload, chunk.mLength);
    case kMM2DFilmCompressedDeltaFrame:
      return ApplyCompressedDelta(chunk.mPayload, chunk.mLength, dirty);
    default:
      return false;
  }
}

void MM2DFilmFrameDecoder::CopyPixels(uint8_t* destination, const uint8_t* source,
                                      int32_t n) const {
  if (!mReversed) {
    ALCopyBytes(destination, source, n);
    return;
  }
  const int32_t words = n / 4;
  ALCopySwapBytes32(destination, source, static_cast<uint32_t>(4 * words));
  ALCopyBytes(destination + 4 * words, source + 4 * words, n - 4 * words);
}

bool MM2DFilmFrameDecoder::ApplyRaw(const uint8_t* data, int32_t length) {
  if (length != FrameBytes()) return false;
  CopyPixels(mPixels, data, length);
  return true;
}

bool MM2DFilmFrameDecoder::ApplyCompressed(const uint8_t* data, int32_t length) {
  if (length < kSizesBytes) return false;
  const uint32_t compressed = MMReadBigEndian32(data);
  const uint32_t decompressed = MMReadBigEndian32(data + 4);
  if (compressed > static_cast<uint32_t>(length - kSizesBytes)) return false;
  if (decompressed != static_cast<uint32_t>(FrameBytes())) return false;
  if (!Decompress(data + kSizesBytes, compressed, mPixels, decompressed)) return false;
  if (mReversed) ALSwapBytes32(mPixels, decompressed / 4);
  return true;
}

bool MM2DFilmFrameDecoder::ApplyDelta(const uint8_t* data, int32_t length,
                                      MM2DFilmDirtyRect* dirty) {
  if (length < kMM2DFilmDirtyRectBytes) return false;
  if (dirty != nullptr) MMRead2DFilmDirtyRects(data, dirty);
  return ApplyOperations(data + kMM2DFilmDirtyRectBytes, length - kMM2DFilmDirtyRectBytes);
}

bool MM2DFilmFrameDecoder::ApplyCompressedDelta(const uint8_t* data, int32_t length,
                                                MM2DFilmDirtyRect* dirty) {
  constexpr int32_t kHeaderBytes = kSizesBytes + kMM2DFilmDirtyRectBytes;
  if (length < kHeaderBytes) return false;
  const uint32_t compressed = MMReadBigEndian32(data);
  const uint32_t decompressed = MMReadBigEndian32(data + 4);
  if (compressed > static_cast<uint32_t>(length - kHeaderBytes)) return false;
  if (decompressed > static_cast<uint32_t>(mWorkSize)) return false;
  if (dirty != nullptr) MMRead2DFilmDirtyRects(data + kSizesBytes, dirty);
  if (!Decompress(data + kHeaderBytes, compressed, mWork, decompressed)) return false;
  return ApplyOperations(mWork, static_cast<int32_t>(decompressed));
}

bool MM2DFilmFrameDecoder::ApplyOperations(const uint8_t* ops, int32_t length) {
  const int64_t frameBytes = FrameBytes();
  int64_t destination = 0;
  int32_t at = 0;
  while (at < length) {
    if (length - at < kOperationBytes) return false;
    destination += MMReadBigEndian16(ops + at);
    const int32_t count = MMReadBigEndian16(ops + at + 2);
    at += kOperationBytes;
    const int32_t payload = count >= 0 ? count : kFillBytes;
    const int64_t extent = count >= 0 ? count : -count / 4 * 4;
    if (length - at < payload) return false;
    if (destination < 0 || destination + extent > frameBytes) return false;
    uint8_t* target = mPixels + destination;
    if (count >= 0) {
      CopyPixels(target, ops + at, count);
    } else {
      uint8_t fill[kFillBytes];
      CopyPixels(fill, ops + at, kFillBytes);
      for (int64_t i = 0; i < extent; i += kFillBytes) std::memcpy(target + i, fill, kFillBytes);
    }
    at += payload;
    destination += count >= 0 ? count : -count;
  }
  return true;
}
