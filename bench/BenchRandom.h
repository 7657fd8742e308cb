#pragma once
// The benchmarks' scenes come from one fixed sequence, so every run
// measures the same triangles.

#include <cstdint>

class BenchRandom {
 public:
  // 0 to 1.
  float Next() {
    mSeed = mSeed * 1664525u + 1013904223u;
    return static_cast<float>(mSeed >> 8) / static_cast<float>(1u << 24);
  }

 private:
  uint32_t mSeed = 12345;
};
