#pragma once
// Value noise that tiles: lattice values from a hash of the cell and a
// seed, smoothly interpolated, the lattice wrapping at the period so the
// texture's edges continue across. Octaves add finer copies.

#include <cstdint>

namespace databuilder {

class Noise {
 public:
  // period: lattice cells across one tile (a power of two keeps octaves
  // tiling as well).
  Noise(uint32_t seed, int32_t period) : mSeed(seed), mPeriod(period) {}
  // In 0..1; x and y in lattice cells.
  float At(float x, float y) const;
  // Octaves of halving weight and doubling frequency, in 0..1.
  float Fractal(float x, float y, int32_t octaves) const;

 private:
  float Lattice(int32_t x, int32_t y, int32_t period) const;
  float AtPeriod(float x, float y, int32_t period) const;

  uint32_t mSeed;
  int32_t mPeriod;
};

// A seed from a name, so each item has its own fixed generator.
uint32_t SeedOf(const char* name);

}  // namespace databuilder
