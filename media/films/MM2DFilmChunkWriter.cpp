#include "media/films/MM2DFilmChunkWriter.h"

#include <lzo/lzo1x.h>

#include <algorithm>

namespace {

constexpr int32_t kLongestRun = 32764;  // whole pixels within an int16 count
constexpr int32_t kLongestSkip = 32767;

}  // namespace

std::vector<uint8_t> MMStore2DFilmPixels(const uint8_t* pixels, int32_t n, bool reversed) {
  std::vector<uint8_t> stored(pixels, pixels + n);
  if (!reversed) return stored;
  for (int32_t i = 0; i + 4 <= n; i += 4) std::reverse(stored.begin() + i, stored.begin() + i + 4);
  return stored;
}

std::vector<uint8_t> MMCompress2DFilmData(const uint8_t* data, int32_t n) {
  lzo_init();
  const auto size = static_cast<size_t>(n);
  std::vector<uint8_t> out(size + size / 16 + 64 + 3);
  std::vector<uint8_t> work(LZO1X_1_MEM_COMPRESS);
  lzo_uint produced = 0;
  lzo1x_1_compress(data, size, out.data(), &produced, work.data());
  out.resize(produced);
  return out;
}

void MM2DFilmDeltaOps::AddOperation(int16_t skip, int16_t count) {
  for (const int16_t value : {skip, count}) {
    mBytes.push_back(static_cast<uint8_t>(static_cast<uint16_t>(value) >> 8));
    mBytes.push_back(static_cast<uint8_t>(value));
  }
}

void MM2DFilmDeltaOps::AddLiteral(int16_t skip, const uint8_t* bytes, int16_t n) {
  AddOperation(skip, n);
  const std::vector<uint8_t> stored = MMStore2DFilmPixels(bytes, n, mReversed);
  mBytes.insert(mBytes.end(), stored.begin(), stored.end());
}

void MM2DFilmDeltaOps::AddFill(int16_t skip, int16_t count, const uint8_t value[4]) {
  AddOperation(skip, count);
  const std::vector<uint8_t> stored = MMStore2DFilmPixels(value, 4, mReversed);
  mBytes.insert(mBytes.end(), stored.begin(), stored.end());
}

MM2DFilmDeltaOps MM2DFilmDeltaOps::Encode(const uint8_t* previous, const uint8_t* next,
                                          int32_t size, int32_t bytesPerPixel) {
  MM2DFilmDeltaOps ops(bytesPerPixel);
  const int32_t unit = bytesPerPixel == 4 ? 4 : 1;
  const auto same = [&](int32_t at) {
    return std::equal(previous + at, previous + std::min(at + unit, size), next + at);
  };
  int32_t destination = 0;
  int32_t at = 0;
  while (at < size) {
    if (same(at)) {
      at += unit;
      continue;
    }
    int32_t end = at;
    while (end < size && end - at < kLongestRun && !same(end)) end += unit;
    end = std::min(end, size);
    while (at - destination > kLongestSkip) {
      ops.AddOperation(kLongestSkip, 0);
      destination += kLongestSkip;
    }
    ops.AddLiteral(static_cast<int16_t>(at - destination), next + at,
                   static_cast<int16_t>(end - at));
    destination = end;
    at = end;
  }
  return ops;
}

void MM2DFilmChunkWriter::U32(uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8)
    mBytes.push_back(static_cast<uint8_t>(value >> shift));
}

void MM2DFilmChunkWriter::U16(uint16_t value) {
  mBytes.push_back(static_cast<uint8_t>(value >> 8));
  mBytes.push_back(static_cast<uint8_t>(value));
}

void MM2DFilmChunkWriter::Append(const uint8_t* data, int32_t n) {
  mBytes.insert(mBytes.end(), data, data + n);
}

void MM2DFilmChunkWriter::Header(MM2DFilmChunkType type, int32_t length) {
  U32(type);
  U32(static_cast<uint32_t>(length));
}

void MM2DFilmChunkWriter::DirtyRects(const MM2DFilmDirtyRect (&dirty)[kMM2DFilmDirtyRectCount]) {
  for (const MM2DFilmDirtyRect& rect : dirty) RectFields(rect);
}

void MM2DFilmChunkWriter::RawFrame(const uint8_t* pixels, int32_t frameBytes) {
  Header(kMM2DFilmRawFrame, frameBytes);
  const std::vector<uint8_t> stored = MMStore2DFilmPixels(pixels, frameBytes, mReversed);
  Append(stored.data(), frameBytes);
}

void MM2DFilmChunkWriter::CompressedFrame(const uint8_t* pixels, int32_t frameBytes) {
  const std::vector<uint8_t> stored = MMStore2DFilmPixels(pixels, frameBytes, mReversed);
  const std::vector<uint8_t> packed = MMCompress2DFilmData(stored.data(), frameBytes);
  const auto c = static_cast<int32_t>(packed.size());
  Header(kMM2DFilmCompressedFrame, 8 + c);
  U32(static_cast<uint32_t>(c));
  U32(static_cast<uint32_t>(frameBytes));
  Append(packed.data(), c);
}

void MM2DFilmChunkWriter::DeltaFrame(const MM2DFilmDirtyRect (&dirty)[kMM2DFilmDirtyRectCount],
                                     const MM2DFilmDeltaOps& ops) {
  const std::vector<uint8_t>& bytes = ops.GetBytes();
  const auto n = static_cast<int32_t>(bytes.size());
  Header(kMM2DFilmDeltaFrame, kMM2DFilmDirtyRectBytes + n);
  DirtyRects(dirty);
  Append(bytes.data(), n);
}

void MM2DFilmChunkWriter::CompressedDeltaFrame(
    const MM2DFilmDirtyRect (&dirty)[kMM2DFilmDirtyRectCount], const MM2DFilmDeltaOps& ops) {
  const std::vector<uint8_t>& bytes = ops.GetBytes();
  const auto d = static_cast<int32_t>(bytes.size());
  const std::vector<uint8_t> packed = MMCompress2DFilmData(bytes.data(), d);
  const auto c = static_cast<int32_t>(packed.size());
  Header(kMM2DFilmCompressedDeltaFrame, 8 + kMM2DFilmDirtyRectBytes + c);
  U32(static_cast<uint32_t>(c));
  U32(static_cast<uint32_t>(d));
  DirtyRects(dirty);
  Append(packed.data(), c);
}

void MM2DFilmChunkWriter::SoundData(uint32_t track, int32_t startFrame, const uint8_t* data,
                                    int32_t n) {
  Header(kMM2DFilmSoundData, 12 + n);
  U32(static_cast<uint32_t>(n));
  U32(track);
  U32(static_cast<uint32_t>(startFrame));
  Append(data, n);
}

void MM2DFilmChunkWriter::SoundEnd(uint32_t track) {
  Header(kMM2DFilmSoundEnd, 4);
  U32(track);
}

void MM2DFilmChunkWriter::Cue(uint32_t cue) {
  Header(kMM2DFilmCue, 4);
  U32(cue);
}

void MM2DFilmChunkWriter::RectFields(const MM2DFilmDirtyRect& rect) {
  for (const int16_t value : {rect.mTop, rect.mLeft, rect.mBottom, rect.mRight}) {
    U16(static_cast<uint16_t>(value));
  }
}

void MM2DFilmChunkWriter::Rectangle(const MM2DFilmDirtyRect& rect) {
  Header(kMM2DFilmRectangle, 8);
  RectFields(rect);
}

void MM2DFilmChunkWriter::FrameTime(int32_t milliseconds) {
  Header(kMM2DFilmFrameTime, 4);
  U32(static_cast<uint32_t>(milliseconds));
}

void MM2DFilmChunkWriter::End() { Header(kMM2DFilmEnd, 0); }

void MM2DFilmChunkWriter::Time(int32_t milliseconds) {
  Header(kMM2DFilmTime, 4);
  U32(static_cast<uint32_t>(milliseconds));
}

void MM2DFilmChunkWriter::Hold() { Header(kMM2DFilmHold, 0); }
