#pragma once
// Streams over a byte vector for the engine's record tests: a writer that
// appends (and can be made to fail after a number of bytes) and a reader
// that reports a short read at the end of its bytes.

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

class ByteWriter : public UUStandardWriter {
 public:
  ByteWriter() = default;
  explicit ByteWriter(size_t limit) : mLimit(limit) {}

  bool Write(const void* buffer, uint32_t n) override {
    if (GetError() != kUUNoError) return false;
    if (mBytes.size() + n > mLimit) {
      SetError(kUUErrorShortWrite);
      return false;
    }
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    mBytes.insert(mBytes.end(), bytes, bytes + n);
    return true;
  }

  std::vector<uint8_t> mBytes;

 private:
  size_t mLimit = std::numeric_limits<size_t>::max();
};

class ByteReader : public UUStandardReader {
 public:
  explicit ByteReader(std::vector<uint8_t> bytes) : mBytes(std::move(bytes)) {}

  bool Read(void* buffer, uint32_t n) override {
    if (GetError() != kUUNoError) return false;
    if (n > mBytes.size() - mPosition) {
      SetError(kUUErrorShortRead);
      return false;
    }
    if (n > 0) std::memcpy(buffer, mBytes.data() + mPosition, n);
    mPosition += n;
    return true;
  }
  bool Skip(uint32_t n) override {
    if (GetError() != kUUNoError) return false;
    if (n > mBytes.size() - mPosition) {
      SetError(kUUErrorShortRead);
      return false;
    }
    mPosition += n;
    return true;
  }
  size_t Remaining() const { return mBytes.size() - mPosition; }

 private:
  std::vector<uint8_t> mBytes;
  size_t mPosition = 0;
};

// Little-endian fields for hand-made records.
inline void AppendInt32(std::vector<uint8_t>& bytes, int32_t value) {
  uint8_t raw[4];
  std::memcpy(raw, &value, 4);
  bytes.insert(bytes.end(), raw, raw + 4);
}

inline void AppendFloat(std::vector<uint8_t>& bytes, float value) {
  uint8_t raw[4];
  std::memcpy(raw, &value, 4);
  bytes.insert(bytes.end(), raw, raw + 4);
}
