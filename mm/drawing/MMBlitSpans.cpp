// The span routines: one per source format and sub-format, remapping,
// destination format and direction (plain, mirrored, scaled), kept in four
// tables that ChooseSpanRoutine indexes.
#include "mm/drawing/MMBlitRequest.h"

#include "foundation/al/ALBytes.h"
#include "mm/drawing/win/WinMMProcessor.h"

#include <immintrin.h>

#include <array>
#include <cstring>

namespace {

// A slot of the span tables, from the checked formats and column.
size_t Slot(int32_t index) { return static_cast<size_t>(index); }

enum class Walk { kPlain, kMirrored, kScaled };

enum class Operation { kCopy, kKeyed, kPremultiplied, kStraight };

constexpr Operation OperationOf(int32_t subFormat) { return static_cast<Operation>(subFormat); }

// x / 255 for 0 <= x <= 255 x 255, by multiplication.
inline uint32_t Divide255(uint32_t x) { return (x * 0x8081u) >> 23; }

struct Color {
  uint8_t bytes[4];  // blue, green, red, transparency
};

template <int kDestinationBytes>
inline void Write(uint8_t* d, const Color& c) {
  std::memcpy(d, c.bytes, kDestinationBytes);
}

// Draws one colour over one destination pixel by the operation.
template <Operation kOperation, int kDestinationBytes>
inline void Combine(uint8_t* d, const Color& c) {
  const uint32_t a = c.bytes[3];
  if (kOperation == Operation::kCopy || kOperation == Operation::kKeyed || a == 0) {
    Write<kDestinationBytes>(d, c);
    return;
  }
  if (a == 255) return;
  for (int i = 0; i < 3; ++i) {
    if constexpr (kOperation == Operation::kPremultiplied) {
      d[i] = static_cast<uint8_t>(Divide255(d[i] * a) + c.bytes[i]);
    } else {
      d[i] = static_cast<uint8_t>(Divide255(c.bytes[i] * (255 - a) + d[i] * a));
    }
  }
  if constexpr (kDestinationBytes == 4) d[3] = 0;
}

// One source pixel onto one destination pixel.
template <int kSourceBytes, int kDestinationBytes, Operation kOperation, bool kRemap>
inline void DrawPixel(const uint8_t* s, uint8_t* d, const MMBlitRequest& request) {
  if constexpr (kSourceBytes == 1) {
    uint8_t index = *s;
    // Index 0 is transparent before any remapping.
    if (kOperation == Operation::kKeyed && index == 0) return;
    if constexpr (kRemap) index = request.mRemap[index];
    if constexpr (kDestinationBytes == 1) {
      *d = index;
    } else {
      const MMPaletteEntry& e = request.mPalette->mEntries[index];
      Combine<kOperation, kDestinationBytes>(d,
                                             Color{{e.mBlue, e.mGreen, e.mRed, e.mTransparency}});
    }
  } else {
    Color c{{s[0], s[1], s[2], kSourceBytes == 4 ? s[3] : uint8_t{0}}};
    if (kOperation == Operation::kKeyed && c.bytes[3] == 255) return;
    Combine<kOperation, kDestinationBytes>(d, c);
  }
}

template <int kSourceBytes, int kDestinationBytes, Operation kOperation, bool kRemap, Walk kWalk>
void Span(const uint8_t* source, uint8_t* destination, const MMBlitRequest& request) {
  const int32_t width = request.mWidth;
  if constexpr (kWalk == Walk::kPlain && kOperation == Operation::kCopy && !kRemap &&
                kSourceBytes == kDestinationBytes) {
    ALCopyBytes(destination, source, width * kSourceBytes);
    return;
  }
  int32_t f = request.mSourceX & 0xFFFF;
  for (int32_t i = 0; i < width; ++i, destination += kDestinationBytes) {
    const uint8_t* s;
    if constexpr (kWalk == Walk::kPlain) {
      s = source + static_cast<ptrdiff_t>(i) * kSourceBytes;
    } else if constexpr (kWalk == Walk::kMirrored) {
      s = source - static_cast<ptrdiff_t>(i) * kSourceBytes;
    } else {
      s = source + static_cast<ptrdiff_t>(f >> 16) * kSourceBytes;
      f += request.mXStep;
    }
    DrawPixel<kSourceBytes, kDestinationBytes, kOperation, kRemap>(s, destination, request);
  }
}

using Family = std::array<MMSpanRoutine, 3>;

template <int kSourceBytes, int kDestinationBytes, int32_t kSubFormat, bool kRemap>
constexpr Family MakeFamily() {
  constexpr Operation op = OperationOf(kSubFormat);
  return {&Span<kSourceBytes, kDestinationBytes, op, kRemap, Walk::kPlain>,
          &Span<kSourceBytes, kDestinationBytes, op, kRemap, Walk::kMirrored>,
          &Span<kSourceBytes, kDestinationBytes, op, kRemap, Walk::kScaled>};
}

// Four families of one remap setting, one per sub-format.
template <int kSourceBytes, int kDestinationBytes, bool kRemap>
constexpr std::array<Family, 4> MakeSubFormats() {
  return {MakeFamily<kSourceBytes, kDestinationBytes, 0, kRemap>(),
          MakeFamily<kSourceBytes, kDestinationBytes, 1, kRemap>(),
          MakeFamily<kSourceBytes, kDestinationBytes, 2, kRemap>(),
          MakeFamily<kSourceBytes, kDestinationBytes, 3, kRemap>()};
}

template <size_t N, size_t M>
constexpr std::array<Family, N + M> Join(const std::array<Family, N>& a,
                                         const std::array<Family, M>& b) {
  std::array<Family, N + M> joined{};
  for (size_t i = 0; i < N; ++i) joined[i] = a[i];
  for (size_t i = 0; i < M; ++i) joined[N + i] = b[i];
  return joined;
}

// Rows: sub-format + 4 x (destination format - 1).
constexpr std::array<Family, 8> kPlain32 =
    Join(MakeSubFormats<4, 4, false>(), MakeSubFormats<4, 3, false>());
// Rows: sub-format + 4 x remap + 8 x (destination format - 1).
constexpr std::array<Family, 16> kPlain8To24Or32 =
    Join(Join(MakeSubFormats<1, 4, false>(), MakeSubFormats<1, 4, true>()),
         Join(MakeSubFormats<1, 3, false>(), MakeSubFormats<1, 3, true>()));
// Rows: sub-format (0 or 1) + 2 x remap.
constexpr std::array<Family, 4> kPlain8To8 = {
    MakeFamily<1, 1, 0, false>(), MakeFamily<1, 1, 1, false>(), MakeFamily<1, 1, 0, true>(),
    MakeFamily<1, 1, 1, true>()};
// Rows: destination format - 1.
constexpr std::array<Family, 2> kPlain24 = {MakeFamily<3, 4, 0, false>(),
                                            MakeFamily<3, 3, 0, false>()};

void Copy32MMX(const uint8_t* source, uint8_t* destination, const MMBlitRequest& request) {
  WinMMCopyBytesMMX(destination, source, request.mWidth * 4);
}

void Keyed32MMX(const uint8_t* source, uint8_t* destination, const MMBlitRequest& request) {
  WinMMCopyKeyed32MMX(destination, source, request.mWidth);
}

void Copy8MMX(const uint8_t* source, uint8_t* destination, const MMBlitRequest& request) {
  WinMMCopyBytesMMX(destination, source, request.mWidth);
}

void Keyed8MMX(const uint8_t* source, uint8_t* destination, const MMBlitRequest& request) {
  WinMMCopyBytesSkipZeroMMX(destination, source, request.mWidth);
}

// x / 255 in each 16-bit lane, for lanes up to 255 x 255, exactly and
// without a multiplication: (x + 1 + (x >> 8)) >> 8, which stays below
// 65536 over that range.
inline __m128i Divide255Lanes(__m128i x) {
  const __m128i sum = _mm_add_epi16(_mm_add_epi16(x, _mm_set1_epi16(1)), _mm_srli_epi16(x, 8));
  return _mm_srli_epi16(sum, 8);
}

// Each pixel's transparency in all four of its 16-bit lanes.
inline __m128i SpreadTransparency(__m128i pixels) {
  return _mm_shufflehi_epi16(_mm_shufflelo_epi16(pixels, 0xFF), 0xFF);
}

// The blend of two pixels, colours and destination widened to 16 bits.
template <Operation kOperation>
inline __m128i BlendLanes(__m128i colour, __m128i destination) {
  const __m128i a = SpreadTransparency(colour);
  if constexpr (kOperation == Operation::kPremultiplied) {
    // The sum wraps at 256, as the plain span's byte store does.
    const __m128i sum = _mm_add_epi16(Divide255Lanes(_mm_mullo_epi16(destination, a)), colour);
    return _mm_and_si128(sum, _mm_set1_epi16(0xFF));
  } else {
    const __m128i opacity = _mm_sub_epi16(_mm_set1_epi16(255), a);
    return Divide255Lanes(
        _mm_add_epi16(_mm_mullo_epi16(colour, opacity), _mm_mullo_epi16(destination, a)));
  }
}

// Four 32-bit pixels blended by the operation, with the results the plain
// span gives: a fully transparent pixel (255) leaves the destination as it
// is, any other writes its colour bytes and a fourth byte of 0.
template <Operation kOperation>
inline __m128i BlendFour(__m128i colours, __m128i destination) {
  const __m128i zero = _mm_setzero_si128();
  const __m128i low = BlendLanes<kOperation>(_mm_unpacklo_epi8(colours, zero),
                                             _mm_unpacklo_epi8(destination, zero));
  const __m128i high = BlendLanes<kOperation>(_mm_unpackhi_epi8(colours, zero),
                                              _mm_unpackhi_epi8(destination, zero));
  const __m128i topByte = _mm_set1_epi32(static_cast<int32_t>(0xFF000000u));
  const __m128i blended = _mm_andnot_si128(topByte, _mm_packus_epi16(low, high));
  const __m128i keep = _mm_cmpeq_epi32(_mm_and_si128(colours, topByte), topByte);
  return _mm_or_si128(_mm_and_si128(keep, destination), _mm_andnot_si128(keep, blended));
}

// The plain 32-bit blend span from pixel i on (the pointers at that
// pixel), four pixels at a time through SSE2.
template <Operation kOperation>
void Blend32SSE2From(int32_t i, const uint8_t* source, uint8_t* destination,
                     const MMBlitRequest& request) {
  for (; i + 4 <= request.mWidth; i += 4, source += 16, destination += 16) {
    const __m128i colours = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source));
    const __m128i under = _mm_loadu_si128(reinterpret_cast<const __m128i*>(destination));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(destination),
                     BlendFour<kOperation>(colours, under));
  }
  for (; i < request.mWidth; ++i, source += 4, destination += 4) {
    DrawPixel<4, 4, kOperation, false>(source, destination, request);
  }
}

template <Operation kOperation>
void Blend32SSE2(const uint8_t* source, uint8_t* destination, const MMBlitRequest& request) {
  Blend32SSE2From<kOperation>(0, source, destination, request);
}

// The same blends eight pixels at a time through AVX2, whose unpacking and
// packing work within each 128-bit half, so the halves keep their order.
__attribute__((target("avx2"))) inline __m256i Divide255Lanes(__m256i x) {
  const __m256i sum =
      _mm256_add_epi16(_mm256_add_epi16(x, _mm256_set1_epi16(1)), _mm256_srli_epi16(x, 8));
  return _mm256_srli_epi16(sum, 8);
}

__attribute__((target("avx2"))) inline __m256i SpreadTransparency(__m256i pixels) {
  return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(pixels, 0xFF), 0xFF);
}

template <Operation kOperation>
__attribute__((target("avx2"))) inline __m256i BlendLanes(__m256i colour, __m256i destination) {
  const __m256i a = SpreadTransparency(colour);
  if constexpr (kOperation == Operation::kPremultiplied) {
    const __m256i sum =
        _mm256_add_epi16(Divide255Lanes(_mm256_mullo_epi16(destination, a)), colour);
    return _mm256_and_si256(sum, _mm256_set1_epi16(0xFF));
  } else {
    const __m256i opacity = _mm256_sub_epi16(_mm256_set1_epi16(255), a);
    return Divide255Lanes(
        _mm256_add_epi16(_mm256_mullo_epi16(colour, opacity), _mm256_mullo_epi16(destination, a)));
  }
}

template <Operation kOperation>
__attribute__((target("avx2"))) inline __m256i BlendEight(__m256i colours, __m256i destination) {
  const __m256i zero = _mm256_setzero_si256();
  const __m256i low = BlendLanes<kOperation>(_mm256_unpacklo_epi8(colours, zero),
                                             _mm256_unpacklo_epi8(destination, zero));
  const __m256i high = BlendLanes<kOperation>(_mm256_unpackhi_epi8(colours, zero),
                                              _mm256_unpackhi_epi8(destination, zero));
  const __m256i topByte = _mm256_set1_epi32(static_cast<int32_t>(0xFF000000u));
  const __m256i blended = _mm256_andnot_si256(topByte, _mm256_packus_epi16(low, high));
  const __m256i keep = _mm256_cmpeq_epi32(_mm256_and_si256(colours, topByte), topByte);
  return _mm256_blendv_epi8(blended, destination, keep);
}

template <Operation kOperation>
__attribute__((target("avx2"))) void Blend32AVX2(const uint8_t* source, uint8_t* destination,
                                                 const MMBlitRequest& request) {
  int32_t i = 0;
  for (; i + 8 <= request.mWidth; i += 8, source += 32, destination += 32) {
    const __m256i colours = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source));
    const __m256i under = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(destination));
    _mm256_storeu_si256(reinterpret_cast<__m256i*>(destination),
                        BlendEight<kOperation>(colours, under));
  }
  Blend32SSE2From<kOperation>(i, source, destination, request);
}

// The vector blends: AVX2 where the processor has it, else SSE2, which
// every x86-64 processor has.
MMSpanRoutine VectorBlend(Operation operation) {
  const bool avx2 = __builtin_cpu_supports("avx2");
  if (operation == Operation::kPremultiplied) {
    return avx2 ? &Blend32AVX2<Operation::kPremultiplied> : &Blend32SSE2<Operation::kPremultiplied>;
  }
  return avx2 ? &Blend32AVX2<Operation::kStraight> : &Blend32SSE2<Operation::kStraight>;
}

// The tables in use; written once at start-up, before any blit.
std::array<Family, 8> g32 = kPlain32;
std::array<Family, 16> g8To24Or32 = kPlain8To24Or32;
std::array<Family, 4> g8To8 = kPlain8To8;
std::array<Family, 2> g24 = kPlain24;
bool gUseMMX = false;

int32_t ColumnOf(int32_t xStep) { return xStep == 0x10000 ? 0 : xStep == -0x10000 ? 1 : 2; }

}  // namespace

void MMSelectBlitRoutines(bool useMMX) {
  g32 = kPlain32;
  g8To8 = kPlain8To8;
  if (useMMX) {
    g32[0][0] = &Copy32MMX;
    g32[1][0] = &Keyed32MMX;
    g8To8[0][0] = &Copy8MMX;
    g8To8[1][0] = &Keyed8MMX;
    g32[2][0] = VectorBlend(Operation::kPremultiplied);
    g32[3][0] = VectorBlend(Operation::kStraight);
  }
  gUseMMX = useMMX;
}

void MMInitializeBlitRoutines() {
  WinMMCheckProcessor();
  MMSelectBlitRoutines(WinMMHasMMX());
}

bool MMBlitRoutinesUseMMX() { return gUseMMX; }

bool MMBlitRequest::ChooseSpanRoutine(int32_t destinationFormat) {
  mSpanRoutine = nullptr;
  if (mSource == nullptr || destinationFormat < kMMFormat8 || destinationFormat > kMMFormat24)
    return false;
  const int32_t sub = mSource->mSubFormat;
  const int32_t column = ColumnOf(mXStep);
  const int32_t remap = mRemap != nullptr ? 1 : 0;
  if (sub < kMMSubFormatCopy || sub > kMMSubFormatStraight) return false;
  switch (mSource->mFormat) {
    case kMMFormat32:
      if (destinationFormat == kMMFormat8) return false;
      mSpanRoutine = g32[Slot(sub + 4 * (destinationFormat - 1))][Slot(column)];
      break;
    case kMMFormat8:
      if (destinationFormat == kMMFormat8) {
        if (sub > kMMSubFormatKeyed) return false;
        mSpanRoutine = g8To8[Slot(sub + 2 * remap)][Slot(column)];
      } else if (mPalette != nullptr) {
        // Expanding needs the palette; without one nothing can be drawn.
        mSpanRoutine =
            g8To24Or32[Slot(sub + 4 * remap + 8 * (destinationFormat - 1))][Slot(column)];
      }
      break;
    case kMMFormat24:
      if (destinationFormat == kMMFormat8 || sub != kMMSubFormatCopy) return false;
      mSpanRoutine = g24[Slot(destinationFormat - 1)][Slot(column)];
      break;
    default:
      return false;
  }
  return mSpanRoutine != nullptr;
}
