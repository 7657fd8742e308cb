#include "mm/drawing/win/WinMMProcessor.h"

#include "foundation/al/ALBytes.h"

#include <atomic>
#include <cstring>
#include <mutex>

// The program is built for x86-64, where the compiler always offers MMX.
#if !defined(__MMX__)
#error "The blit routines need the compiler's MMX intrinsics (x86 or x86-64)."
#endif
#include <cpuid.h>
#include <mmintrin.h>

namespace {

std::atomic<bool> gHasMMX{false};

constexpr int32_t kLevels = 4;

// Zero when a thread starts.
struct SectionRecord {
  int32_t level = 0;
  int32_t counts[kLevels] = {};
};

thread_local SectionRecord tSection;

void ClearMMXState() { _mm_empty(); }

bool ProcessorHasMMX() {
  // The compiler's check also covers processors without CPUID (it tests
  // the ID flag on 32-bit processors).
  if (__get_cpuid_max(0, nullptr) < 1) return false;
  unsigned eax = 0, ebx = 0, ecx = 0, edx = 0;
  if (!__get_cpuid(1, &eax, &ebx, &ecx, &edx)) return false;
  return (edx & (1u << 23)) != 0;
}

// Goes one level up (with a nested count of 0) when the level's parity
// says so, else counts one more nested entry.
void Enter(bool up, bool clear) {
  SectionRecord& s = tSection;
  if (!up || s.level + 1 >= kLevels) {
    ++s.counts[s.level];
    return;
  }
  ++s.level;
  s.counts[s.level] = 0;
  if (clear) ClearMMXState();
}

// Leaves a nested entry, or the level when none is left.
void Leave(bool clear) {
  SectionRecord& s = tSection;
  if (s.counts[s.level] > 0) {
    --s.counts[s.level];
    return;
  }
  if (s.level == 0) return;
  --s.level;
  if (clear) ClearMMXState();
}

}  // namespace

void WinMMCheckProcessor() {
  static std::once_flag once;
  std::call_once(once, [] { gHasMMX = ProcessorHasMMX(); });
}

bool WinMMHasMMX() { return gHasMMX; }

void WinMMBeginMMX() { Enter(tSection.level % 2 == 0, false); }
void WinMMEndMMX() { Leave(true); }
void WinMMBeginFPU() { Enter(tSection.level % 2 == 1, true); }
void WinMMEndFPU() { Leave(false); }
int32_t WinMMGetSectionLevel() { return tSection.level; }

namespace {

__m64 Load(const uint8_t* p) {
  __m64 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

void Store(uint8_t* p, __m64 v) { std::memcpy(p, &v, sizeof v); }

bool Aligned8(const void* p) { return reinterpret_cast<uintptr_t>(p) % 8 == 0; }

// One 64-byte block through the eight MMX registers.
void CopyBlock(uint8_t* d, const uint8_t* s) {
  __m64 r0 = Load(s), r1 = Load(s + 8), r2 = Load(s + 16), r3 = Load(s + 24);
  __m64 r4 = Load(s + 32), r5 = Load(s + 40), r6 = Load(s + 48), r7 = Load(s + 56);
  Store(d, r0);
  Store(d + 8, r1);
  Store(d + 16, r2);
  Store(d + 24, r3);
  Store(d + 32, r4);
  Store(d + 40, r5);
  Store(d + 48, r6);
  Store(d + 56, r7);
}

// source OR (destination AND (source == 0)), for 8 bytes.
void MergeNonZero(uint8_t* d, const uint8_t* s) {
  __m64 source = Load(s);
  __m64 zero = _mm_cmpeq_pi8(source, _mm_setzero_si64());
  Store(d, _mm_or_si64(source, _mm_and_si64(Load(d), zero)));
}

void CopyByteIfNonZero(uint8_t* d, const uint8_t* s) {
  if (*s != 0) *d = *s;
}

void CopyPixelIfOpaque(uint8_t* d, const uint8_t* s) {
  if (s[3] == 0) std::memcpy(d, s, 4);
}

}  // namespace

void WinMMCopyBytesMMX(void* destination, const void* source, int32_t n) {
  auto* d = static_cast<uint8_t*>(destination);
  auto* s = static_cast<const uint8_t*>(source);
  for (; n > 0 && !Aligned8(d); --n) *d++ = *s++;
  for (; n >= 64; n -= 64, d += 64, s += 64) CopyBlock(d, s);
  ALCopyBytes(d, s, n);
}

void WinMMCopyBytesSkipZeroMMX(void* destination, const void* source, int32_t n) {
  auto* d = static_cast<uint8_t*>(destination);
  auto* s = static_cast<const uint8_t*>(source);
  for (; n > 0 && !Aligned8(d); --n) CopyByteIfNonZero(d++, s++);
  for (; n >= 16; n -= 16, d += 16, s += 16) {
    MergeNonZero(d, s);
    MergeNonZero(d + 8, s + 8);
  }
  for (; n > 0; --n) CopyByteIfNonZero(d++, s++);
}

void WinMMCopyKeyed32MMX(void* destination, const void* source, int32_t n) {
  auto* d = static_cast<uint8_t*>(destination);
  auto* s = static_cast<const uint8_t*>(source);
  if (n <= 0) return;
  if (!Aligned8(d)) {
    CopyPixelIfOpaque(d, s);
    d += 4;
    s += 4;
    --n;
  }
  for (; n >= 4; n -= 4, d += 16, s += 16) {
    for (int half = 0; half < 16; half += 8) {
      __m64 pixels = Load(s + half);
      // All ones in a pixel whose fourth byte has its top bit set: keep it.
      __m64 keep = _mm_srai_pi32(pixels, 31);
      Store(d + half,
            _mm_or_si64(_mm_andnot_si64(keep, pixels), _mm_and_si64(keep, Load(d + half))));
    }
  }
  for (; n > 0; --n, d += 4, s += 4) CopyPixelIfOpaque(d, s);
}

void WinMMCopyBlocksMMX(void* destination, const void* source, int32_t n) {
  auto* d = static_cast<uint8_t*>(destination);
  auto* s = static_cast<const uint8_t*>(source);
  for (; n > 0; --n, d += 64, s += 64) CopyBlock(d, s);
}
