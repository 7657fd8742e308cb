#pragma once
// A writer that appends to a byte vector, for tests and fuzzers that need
// a stream's output in memory; it can be told to fail after a number of
// bytes.

#include "foundation/uu/UUWriter.h"

#include <cstdint>
#include <vector>

class VectorWriter : public UUStandardWriter {
 public:
  explicit VectorWriter(size_t limit = SIZE_MAX) : mLimit(limit) {}

  bool Write(const void* buffer, uint32_t n) override {
    if (GetError() != kUUNoError) return false;
    if (mBytes.size() + n > mLimit) {
      SetError(kUUErrorShortWrite);
      return false;
    }
    const auto* bytes = static_cast<const uint8_t*>(buffer);
    mBytes.insert(mBytes.end(), bytes, bytes + n);
    ++mWrites;
    return true;
  }

  std::vector<uint8_t> mBytes;
  int mWrites = 0;

 private:
  size_t mLimit;
};
