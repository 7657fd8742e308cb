#pragma once
// A memory stream that records the sizes of the reads and writes it is
// asked for, to check what buffered streams send through.

#include "foundation/uu/UUMemory.h"

#include <vector>

class RecordingMemory : public UUMemory {
 public:
  explicit RecordingMemory(std::vector<uint8_t>& bytes)
      : UUMemory(bytes.data(), static_cast<int32_t>(bytes.size())) {}
  bool Read(void* buffer, uint32_t n) override {
    mReads.push_back(n);
    return UUMemory::Read(buffer, n);
  }
  bool Write(const void* buffer, uint32_t n) override {
    mWrites.push_back(n);
    return UUMemory::Write(buffer, n);
  }
  bool Skip(uint32_t n) override {
    mSkips.push_back(n);
    return UUMemory::Skip(n);
  }
  int32_t Position() {
    int32_t position = -1;
    Tell(&position);
    return position;
  }
  std::vector<uint32_t> mReads;
  std::vector<uint32_t> mWrites;
  std::vector<uint32_t> mSkips;
};
