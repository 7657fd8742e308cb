// The blends four pixels at a time through SSE2.
#include "mm/drawing/MMVectorBlend.h"

#include <immintrin.h>

namespace {

struct ProductSSE2 {
  template <class V>
  static V High(V a, V b) {
    return reinterpret_cast<V>(
        _mm_mulhi_epu16(reinterpret_cast<__m128i>(a), reinterpret_cast<__m128i>(b)));
  }
};

}  // namespace

const MMBlendKernels kMMBlendKernelsSSE2 = MMMakeBlendKernels<MMLanes<16, ProductSSE2>>();
