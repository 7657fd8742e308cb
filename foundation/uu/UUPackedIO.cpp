#include "foundation/uu/UUPackedIO.h"

#include <algorithm>

namespace {

constexpr uint32_t kChunk = 100;

UUPoint Unpack(uint32_t value) {
  return UUPoint{static_cast<int16_t>(value & 0xFFFF), static_cast<int16_t>(value >> 16)};
}

uint32_t Pack(int32_t x, int32_t y) {
  return (static_cast<uint32_t>(y) << 16) | (static_cast<uint32_t>(x) & 0xFFFF);
}

// Reads n packed values in chunks, handing each to store(index, value);
// stops at the first failed chunk.
template <typename Store>
bool ReadPacked(UUReader& reader, uint32_t n, Store store) {
  uint32_t chunk[kChunk];
  for (uint32_t done = 0; done < n;) {
    const uint32_t k = std::min(n - done, kChunk);
    if (!reader.ReadInt32s(chunk, k)) return false;
    for (uint32_t i = 0; i < k; ++i) store(done + i, chunk[i]);
    done += k;
  }
  return reader.GetError() == kUUNoError;
}

template <typename Load>
bool WritePacked(UUWriter& writer, uint32_t n, Load load) {
  uint32_t chunk[kChunk];
  for (uint32_t done = 0; done < n;) {
    const uint32_t k = std::min(n - done, kChunk);
    for (uint32_t i = 0; i < k; ++i) chunk[i] = load(done + i);
    if (!writer.WriteInt32s(chunk, k)) return false;
    done += k;
  }
  return writer.GetError() == kUUNoError;
}

}  // namespace

bool UUReadPackedPoints(UUReader& reader, UUPoint* points, uint32_t n) {
  return ReadPacked(reader, n, [points](uint32_t i, uint32_t value) { points[i] = Unpack(value); });
}

bool UUWritePackedPoints(UUWriter& writer, const UUPoint* points, uint32_t n) {
  return WritePacked(writer, n, [points](uint32_t i) { return Pack(points[i].mX, points[i].mY); });
}

bool UUReadPackedRects(UUReader& reader, UURect* rectangles, uint32_t n) {
  if (n > UINT32_MAX / 2) {
    reader.SetError(kUUErrorShortRead);
    return false;
  }
  return ReadPacked(reader, 2 * n, [rectangles](uint32_t i, uint32_t value) {
    const UUPoint corner = Unpack(value);
    UURect& rectangle = rectangles[i / 2];
    if (i % 2 == 0) {
      rectangle.mLeft = corner.mX;
      rectangle.mTop = corner.mY;
    } else {
      rectangle.mRight = corner.mX;
      rectangle.mBottom = corner.mY;
    }
  });
}

bool UUWritePackedRects(UUWriter& writer, const UURect* rectangles, uint32_t n) {
  if (n > UINT32_MAX / 2) {
    writer.SetError(kUUErrorShortWrite);
    return false;
  }
  return WritePacked(writer, 2 * n, [rectangles](uint32_t i) {
    const UURect& rectangle = rectangles[i / 2];
    return i % 2 == 0 ? Pack(rectangle.mLeft, rectangle.mTop)
                      : Pack(rectangle.mRight, rectangle.mBottom);
  });
}
