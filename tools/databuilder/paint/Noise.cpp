#include "tools/databuilder/paint/Noise.h"

#include <cmath>

namespace databuilder {

namespace {

uint32_t Hash(uint32_t x) {
  x ^= x >> 16;
  x *= 0x7FEB352Du;
  x ^= x >> 15;
  x *= 0x846CA68Bu;
  x ^= x >> 16;
  return x;
}

float Smooth(float t) { return t * t * (3.0f - 2.0f * t); }

int32_t Wrap(int32_t value, int32_t period) { return ((value % period) + period) % period; }

}  // namespace

float Noise::Lattice(int32_t x, int32_t y, int32_t period) const {
  const uint32_t h = Hash(mSeed ^ Hash(static_cast<uint32_t>(Wrap(x, period)) * 73856093u ^
                                       static_cast<uint32_t>(Wrap(y, period)) * 19349663u ^
                                       static_cast<uint32_t>(period)));
  return static_cast<float>(h & 0xFFFFFF) / static_cast<float>(0xFFFFFF);
}

float Noise::AtPeriod(float x, float y, int32_t period) const {
  const float fx = std::floor(x), fy = std::floor(y);
  const auto ix = static_cast<int32_t>(fx), iy = static_cast<int32_t>(fy);
  const float tx = Smooth(x - fx), ty = Smooth(y - fy);
  const float a = Lattice(ix, iy, period), b = Lattice(ix + 1, iy, period);
  const float c = Lattice(ix, iy + 1, period), d = Lattice(ix + 1, iy + 1, period);
  const float top = a + (b - a) * tx, bottom = c + (d - c) * tx;
  return top + (bottom - top) * ty;
}

float Noise::At(float x, float y) const { return AtPeriod(x, y, mPeriod); }

float Noise::Fractal(float x, float y, int32_t octaves) const {
  float sum = 0.0f, weight = 0.5f, total = 0.0f;
  int32_t period = mPeriod;
  for (int32_t i = 0; i < octaves; ++i) {
    sum += AtPeriod(x, y, period) * weight;
    total += weight;
    weight *= 0.5f;
    x *= 2.0f;
    y *= 2.0f;
    period *= 2;
  }
  return sum / total;
}

uint32_t SeedOf(const char* name) {
  uint32_t h = 2166136261u;
  for (const char* c = name; *c != '\0'; ++c) h = (h ^ static_cast<uint8_t>(*c)) * 16777619u;
  return h;
}

}  // namespace databuilder
