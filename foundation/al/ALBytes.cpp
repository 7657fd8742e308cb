#include "foundation/al/ALBytes.h"

#include "platform/win32/kernel.h"

#include <immintrin.h>

#include <cstring>

namespace {

template <typename Unit>
Unit Reversed(Unit value) {
  if constexpr (sizeof(Unit) == 2) return __builtin_bswap16(value);
  if constexpr (sizeof(Unit) == 4) return __builtin_bswap32(value);
  if constexpr (sizeof(Unit) == 8) return __builtin_bswap64(value);
}

// Works unit by unit through memcpy, so neither side needs to be aligned.
template <typename Unit>
void CopySwapUnits(void* destination, const void* source, uint32_t units) {
  auto* out = static_cast<unsigned char*>(destination);
  const auto* in = static_cast<const unsigned char*>(source);
  for (uint32_t i = 0; i < units; ++i) {
    Unit value;
    std::memcpy(&value, in + size_t{i} * sizeof(Unit), sizeof(Unit));
    value = Reversed(value);
    std::memcpy(out + size_t{i} * sizeof(Unit), &value, sizeof(Unit));
  }
}

// The byte shuffle that reverses every unit of a 16-byte block.
template <typename Unit>
__attribute__((target("ssse3"))) __m128i ReversingShuffle() {
  alignas(16) int8_t order[16];
  for (int i = 0; i < 16; ++i) {
    constexpr int kUnit = static_cast<int>(sizeof(Unit));
    const int first = i - i % kUnit;
    order[i] = static_cast<int8_t>(first + kUnit - 1 - i % kUnit);
  }
  return _mm_load_si128(reinterpret_cast<const __m128i*>(order));
}

// The same result as CopySwapUnits, 32 bytes a step through the byte
// shuffle; source and destination are the same block or do not overlap.
template <typename Unit>
__attribute__((target("ssse3"))) void CopySwapUnitsSSSE3(void* destination, const void* source,
                                                         uint32_t units) {
  auto* out = static_cast<unsigned char*>(destination);
  const auto* in = static_cast<const unsigned char*>(source);
  const __m128i shuffle = ReversingShuffle<Unit>();
  const size_t bytes = size_t{units} * sizeof(Unit);
  size_t done = 0;
  for (; done + 32 <= bytes; done += 32) {
    const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + done));
    const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(in + done + 16));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + done), _mm_shuffle_epi8(a, shuffle));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(out + done + 16), _mm_shuffle_epi8(b, shuffle));
  }
  CopySwapUnits<Unit>(out + done, in + done, static_cast<uint32_t>((bytes - done) / sizeof(Unit)));
}

// The same with the shuffle twice as wide, 64 bytes a step.
template <typename Unit>
__attribute__((target("avx2"))) void CopySwapUnitsAVX2(void* destination, const void* source,
                                                       uint32_t units) {
  auto* out = static_cast<unsigned char*>(destination);
  const auto* in = static_cast<const unsigned char*>(source);
  const __m256i shuffle = _mm256_broadcastsi128_si256(ReversingShuffle<Unit>());
  const size_t bytes = size_t{units} * sizeof(Unit);
  size_t done = 0;
  for (; done + 64 <= bytes; done += 64) {
    const __m256i a = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + done));
    const __m256i b = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + done + 32));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + done), _mm256_shuffle_epi8(a, shuffle));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + done + 32),
                        _mm256_shuffle_epi8(b, shuffle));
  }
  CopySwapUnitsSSSE3<Unit>(out + done, in + done,
                           static_cast<uint32_t>((bytes - done) / sizeof(Unit)));
}

using CopySwapRoutine = void (*)(void*, const void*, uint32_t);

struct CopySwapRoutines {
  CopySwapRoutine m16, m32, m64;
};

// Chosen once, when the program starts: the widest shuffle the processor
// has, the plain loop where it has none.
CopySwapRoutines ChooseCopySwapRoutines(bool shuffle) {
  if (shuffle && __builtin_cpu_supports("avx2")) {
    return {&CopySwapUnitsAVX2<uint16_t>, &CopySwapUnitsAVX2<uint32_t>,
            &CopySwapUnitsAVX2<uint64_t>};
  }
  if (shuffle) {
    return {&CopySwapUnitsSSSE3<uint16_t>, &CopySwapUnitsSSSE3<uint32_t>,
            &CopySwapUnitsSSSE3<uint64_t>};
  }
  return {&CopySwapUnits<uint16_t>, &CopySwapUnits<uint32_t>, &CopySwapUnits<uint64_t>};
}

CopySwapRoutines gCopySwap = ChooseCopySwapRoutines(__builtin_cpu_supports("ssse3"));

}  // namespace

void ALSelectSwapRoutines(bool useShuffle) { gCopySwap = ChooseCopySwapRoutines(useShuffle); }

bool ALSwapRoutinesUseShuffle() { return gCopySwap.m32 != &CopySwapUnits<uint32_t>; }

void ALCopyBytes(void* destination, const void* source, int32_t n) {
  if (n > 0) std::memcpy(destination, source, static_cast<size_t>(n));
}

void ALCopySwapBytes16(void* destination, const void* source, uint32_t n) {
  gCopySwap.m16(destination, source, n / 2);
}

void ALCopySwapBytes32(void* destination, const void* source, uint32_t n) {
  gCopySwap.m32(destination, source, n / 4);
}

void ALCopySwapBytes64(void* destination, const void* source, uint32_t n) {
  gCopySwap.m64(destination, source, n / 8);
}

void ALSwapBytes16(void* values, uint32_t count) { gCopySwap.m16(values, values, count); }
void ALSwapBytes32(void* values, uint32_t count) { gCopySwap.m32(values, values, count); }
void ALSwapBytes64(void* values, uint32_t count) { gCopySwap.m64(values, values, count); }

bool ALIsReadable(const void* pointer, uint32_t n) { return !IsBadReadPtr(pointer, n); }
bool ALIsWritable(void* pointer, uint32_t n) { return !IsBadWritePtr(pointer, n); }

int32_t ALCompareBytes(const void* a, const void* b, uint32_t n) {
  if (n == 0) return 0;
  const int result = std::memcmp(a, b, n);
  return result == 0 ? 0 : (result < 0 ? -1 : 1);
}
