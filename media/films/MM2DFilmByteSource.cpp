#include "media/films/MM2DFilmByteSource.h"

#include "foundation/al/ALBytes.h"

#include <algorithm>

bool MM2DFilmByteSource::Read(uint8_t* destination, int32_t n) {
  while (n > 0) {
    const uint8_t* bytes = nullptr;
    const int32_t step = std::min(Window(&bytes), n);
    if (step <= 0) return false;
    ALCopyBytes(destination, bytes, step);
    Advance(step);
    destination += step;
    n -= step;
  }
  return true;
}

bool MM2DFilmByteSource::ReadBE16(int16_t* value) {
  uint8_t bytes[2];
  if (!Read(bytes, 2)) return false;
  *value = static_cast<int16_t>(bytes[0] << 8 | bytes[1]);
  return true;
}

bool MM2DFilmByteSource::ReadBE32(uint32_t* value) {
  uint8_t bytes[4];
  if (!Read(bytes, 4)) return false;
  *value = static_cast<uint32_t>(bytes[0]) << 24 | static_cast<uint32_t>(bytes[1]) << 16 |
           static_cast<uint32_t>(bytes[2]) << 8 | bytes[3];
  return true;
}

bool MM2DFilmByteSource::Skip(int64_t n) {
  while (n > 0) {
    const uint8_t* bytes = nullptr;
    const int32_t window = Window(&bytes);
    if (window <= 0) return false;
    const auto step = static_cast<int32_t>(std::min<int64_t>(window, n));
    Advance(step);
    n -= step;
  }
  return true;
}

const uint8_t* MM2DFilmByteSource::Contiguous(int32_t n) {
  const uint8_t* bytes = nullptr;
  if (n <= 0 || Window(&bytes) < n) return nullptr;
  Advance(n);
  return bytes;
}

int32_t MM2DFilmMemorySource::Window(const uint8_t** bytes) {
  *bytes = mData + mPosition;
  return mSize - mPosition;
}

int32_t MM2DFilmLimitedSource::Window(const uint8_t** bytes) {
  if (mRemaining == 0) return 0;
  return static_cast<int32_t>(std::min<int64_t>(mSource.Window(bytes), mRemaining));
}

void MM2DFilmLimitedSource::Advance(int32_t n) {
  mSource.Advance(n);
  mRemaining -= n;
}
