// The blends eight pixels at a time through AVX2. This file alone is
// compiled for AVX2, and is called only where the processor has it.
#include "mm/drawing/MMVectorBlend.h"

#include <immintrin.h>

namespace {

struct ProductAVX2 {
  template <class V>
  static V High(V a, V b) {
    return reinterpret_cast<V>(
        _mm256_mulhi_epu16(reinterpret_cast<__m256i>(a), reinterpret_cast<__m256i>(b)));
  }
};

}  // namespace

const MMBlendKernels kMMBlendKernelsAVX2 = MMMakeBlendKernels<MMLanes<32, ProductAVX2>>();
