#pragma once
// The premultiplied and straight-alpha blends of 32-bit pixels, written
// once over a lane type: a vector of pixels and its few operations (SSE2:
// four pixels, AVX2: eight). Each width lives in its own source file,
// compiled for its processor, and is reached only through its kernels.

#include <cstddef>
#include <cstdint>

// Blends whole vectors of 32-bit pixels from the start of a row; returns
// how many pixels it drew, so that the caller draws the rest.
using MMBlendKernel = int32_t (*)(const uint8_t* source, uint8_t* destination, int32_t count);

struct MMBlendKernels {
  MMBlendKernel mPremultiplied;
  MMBlendKernel mStraight;
};

// SSE2, which every x86-64 processor has.
extern const MMBlendKernels kMMBlendKernelsSSE2;
// AVX2: only where the processor has it.
extern const MMBlendKernels kMMBlendKernelsAVX2;

enum class MMBlendOperation { kPremultiplied, kStraight };

// A vector of kBytes bytes seen as 16-bit or 32-bit lanes, in the
// compilers' own vector types, so that one body compiles for any width;
// Product supplies the one step they lack, the high half of each 16-bit
// product (SSE2 or AVX2 PMULHUW).
template <int kBytes, class Product>
struct MMLanes {
  typedef uint16_t Lanes16 __attribute__((vector_size(kBytes)));
  typedef uint32_t Lanes32 __attribute__((vector_size(kBytes)));
  static constexpr int32_t kPixels = kBytes / 4;

  static Lanes32 Load(const uint8_t* p) {
    Lanes32 v;
    __builtin_memcpy(&v, p, sizeof v);
    return v;
  }
  static void Store(uint8_t* p, Lanes32 v) { __builtin_memcpy(p, &v, sizeof v); }
  static Lanes16 MulHi(Lanes16 a, Lanes16 b) { return Product::High(a, b); }
};

// The blend of one vector of pixels, with the results of the plain span: a
// fully transparent pixel (255) leaves the destination as it is, any other
// writes its colour bytes and a fourth byte of 0.
//
// The bytes split into two sets of 16-bit lanes, blue and red in one,
// green and transparency in the other, so that no step moves bytes between
// lanes. x / 255 for x up to 255 x 255 is (x * 0x8081) >> 23 exactly, the
// high half of a 16-bit product shifted by 7.
template <class L, MMBlendOperation kOperation>
typename L::Lanes32 MMBlendPixels(typename L::Lanes32 colours, typename L::Lanes32 under) {
  using V16 = typename L::Lanes16;
  using V32 = typename L::Lanes32;
  const V32 transparency32 = colours >> 24;
  const V16 transparency = reinterpret_cast<V16>(transparency32 | transparency32 << 16);
  const V16 lowBytes = reinterpret_cast<V16>(V32{} + 0x00FF00FFu);
  const V16 reciprocal = V16{} + 0x8081;
  const V16 even = reinterpret_cast<V16>(colours) & lowBytes;
  const V16 odd = reinterpret_cast<V16>(colours) >> 8;
  const V16 underEven = reinterpret_cast<V16>(under) & lowBytes;
  const V16 underOdd = reinterpret_cast<V16>(under) >> 8;
  V16 low, high;  // the bytes of the blue and red lanes, and of the green ones
  if constexpr (kOperation == MMBlendOperation::kPremultiplied) {
    // The sum wraps at 256, as the plain span's byte store does.
    low = ((L::MulHi(underEven * transparency, reciprocal) >> 7) + even) & lowBytes;
    high = ((L::MulHi(underOdd * transparency, reciprocal) >> 7) + odd) << 8;
  } else {
    const V16 opacity = transparency ^ lowBytes;  // 255 - transparency
    low = L::MulHi(even * opacity + underEven * transparency, reciprocal) >> 7;
    // The quotient doubled stands in the high byte.
    high = L::MulHi(odd * opacity + underOdd * transparency, reciprocal) << 1;
  }
  const V32 blended = reinterpret_cast<V32>(low) | (reinterpret_cast<V32>(high) & 0x0000FF00u);
  return transparency32 == 255u ? under : blended;
}

template <class L, MMBlendOperation kOperation>
int32_t MMBlendVectors(const uint8_t* source, uint8_t* destination, int32_t count) {
  int32_t i = 0;
  for (; i + L::kPixels <= count; i += L::kPixels) {
    const ptrdiff_t offset = static_cast<ptrdiff_t>(i) * 4;
    L::Store(destination + offset,
             MMBlendPixels<L, kOperation>(L::Load(source + offset), L::Load(destination + offset)));
  }
  return i;
}

template <class L>
constexpr MMBlendKernels MMMakeBlendKernels() {
  return {&MMBlendVectors<L, MMBlendOperation::kPremultiplied>,
          &MMBlendVectors<L, MMBlendOperation::kStraight>};
}
