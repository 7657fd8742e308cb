#include "media/films/MM2DFilmFrameDecoder.h"

#include "foundation/al/ALBytes.h"

#include <lzo/lzo1x.h>

#include <cstring>

namespace {

constexpr int32_t kFillBytes = 4;

// Decompresses exactly size bytes of LZO1X data into destination, never
// writing past size bytes.
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
      mWorkSize(work != nullptr && workSize > 0 ? workSize : 0) {}

bool MM2DFilmFrameDecoder::IsPicture(uint32_t type) {
  return type == kMM2DFilmRawFrame || type == kMM2DFilmDeltaFrame ||
         type == kMM2DFilmCompressedFrame || type == kMM2DFilmCompressedDeltaFrame;
}

bool MM2DFilmFrameDecoder::Decode(uint32_t type, int32_t length, MM2DFilmByteSource& source,
                                  MM2DFilmDirtyRect* dirty) {
  MM2DFilmLimitedSource payload(source, length);
  const bool applied = DecodePayload(type, payload, dirty);
  const bool whole = payload.Skip(payload.GetRemaining());
  return applied && whole;
}

bool MM2DFilmFrameDecoder::Apply(const MM2DFilmChunk& chunk, MM2DFilmDirtyRect* dirty) {
  MM2DFilmMemorySource source(chunk.mPayload, chunk.mLength);
  return Decode(chunk.mType, chunk.mLength, source, dirty);
}

bool MM2DFilmFrameDecoder::DecodePayload(uint32_t type, MM2DFilmLimitedSource& payload,
                                         MM2DFilmDirtyRect* dirty) {
  switch (type) {
    case kMM2DFilmRawFrame:
      return ApplyRaw(payload);
    case kMM2DFilmDeltaFrame:
      return ApplyDelta(payload, dirty);
    case kMM2DFilmCompressedFrame:
      return ApplyCompressed(payload);
    case kMM2DFilmCompressedDeltaFrame:
      return ApplyCompressedDelta(payload, dirty);
    default:
      return false;
  }
}

bool MM2DFilmFrameDecoder::ReadPixels(MM2DFilmByteSource& source, uint8_t* destination,
                                      int32_t n) const {
  if (!source.Read(destination, n)) return false;
  // A pixel may straddle two windows: its bytes are turned once they are
  // all in place.
  if (mReversed) ALSwapBytes32(destination, static_cast<uint32_t>(n / 4));
  return true;
}

bool MM2DFilmFrameDecoder::ReadDirtyRects(MM2DFilmByteSource& source, MM2DFilmDirtyRect* dirty) {
  uint8_t bytes[kMM2DFilmDirtyRectBytes];
  if (!source.Read(bytes, kMM2DFilmDirtyRectBytes)) return false;
  if (dirty != nullptr) MMRead2DFilmDirtyRects(bytes, dirty);
  return true;
}

bool MM2DFilmFrameDecoder::ApplyRaw(MM2DFilmLimitedSource& payload) {
  if (payload.GetRemaining() != FrameBytes()) return false;
  return ReadPixels(payload, mPixels, FrameBytes());
}

bool MM2DFilmFrameDecoder::ApplyCompressed(MM2DFilmLimitedSource& payload) {
  uint32_t compressed = 0;
  uint32_t decompressed = 0;
  if (!payload.ReadBE32(&compressed) || !payload.ReadBE32(&decompressed)) return false;
  if (compressed > payload.GetRemaining()) return false;
  if (decompressed != static_cast<uint32_t>(FrameBytes())) return false;
  const auto size = static_cast<int32_t>(compressed);
  // Used in place when one window holds it, else gathered.
  const uint8_t* data = payload.Contiguous(size);
  if (data == nullptr) {
    if (size > mWorkSize || !payload.Read(mWork, size)) return false;
    data = mWork;
  }
  if (!Decompress(data, compressed, mPixels, decompressed)) return false;
  if (mReversed) ALSwapBytes32(mPixels, decompressed / 4);
  return true;
}

bool MM2DFilmFrameDecoder::ApplyDelta(MM2DFilmLimitedSource& payload, MM2DFilmDirtyRect* dirty) {
  return ReadDirtyRects(payload, dirty) && ApplyOperations(payload);
}

bool MM2DFilmFrameDecoder::ApplyCompressedDelta(MM2DFilmLimitedSource& payload,
                                                MM2DFilmDirtyRect* dirty) {
  uint32_t compressed = 0;
  uint32_t decompressed = 0;
  if (!payload.ReadBE32(&compressed) || !payload.ReadBE32(&decompressed)) return false;
  if (!ReadDirtyRects(payload, dirty)) return false;
  if (compressed > payload.GetRemaining()) return false;
  if (decompressed > static_cast<uint32_t>(mWorkSize)) return false;
  const auto size = static_cast<int32_t>(compressed);
  const auto opsBytes = static_cast<int32_t>(decompressed);
  // The operations fill the start of the work buffer; compressed data that
  // straddles windows is gathered behind them.
  const uint8_t* data = payload.Contiguous(size);
  if (data == nullptr) {
    if (size > mWorkSize - opsBytes || !payload.Read(mWork + opsBytes, size)) return false;
    data = mWork + opsBytes;
  }
  if (!Decompress(data, compressed, mWork, decompressed)) return false;
  MM2DFilmMemorySource memory(mWork, opsBytes);
  MM2DFilmLimitedSource ops(memory, opsBytes);
  return ApplyOperations(ops);
}

bool MM2DFilmFrameDecoder::ApplyOperations(MM2DFilmLimitedSource& ops) {
  const int64_t frameBytes = FrameBytes();
  int64_t destination = 0;
  while (ops.GetRemaining() > 0) {
    int16_t skip = 0;
    int16_t count = 0;
    if (!ops.ReadBE16(&skip) || !ops.ReadBE16(&count)) return false;
    destination += skip;
    const int64_t extent = count >= 0 ? count : -count / kFillBytes * kFillBytes;
    if (destination < 0 || destination + extent > frameBytes) return false;
    uint8_t* target = mPixels + destination;
    if (count >= 0) {
      if (!ReadPixels(ops, target, count)) return false;
    } else {
      uint8_t fill[kFillBytes];
      if (!ReadPixels(ops, fill, kFillBytes)) return false;
      for (int64_t i = 0; i < extent; i += kFillBytes) std::memcpy(target + i, fill, kFillBytes);
    }
    destination += count >= 0 ? count : -count;
  }
  return true;
}
