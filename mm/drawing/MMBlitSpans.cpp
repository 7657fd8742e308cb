// The span routines: one per source format and sub-format, remapping,
// destination format and direction (plain, mirrored, scaled), kept in four
// tables that ChooseSpanRoutine indexes.
#include "mm/drawing/MMBlitRequest.h"

#include "foundation/al/ALBytes.h"
#include "mm/drawing/MMVectorBlend.h"
#include "mm/drawing/win/WinMMProcessor.h"

#include <array>
#include <cstring>
#include <vector>

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

// The vector blend kernels in use, and the span that runs them: whole
// vectors first, the row's last pixels one by one.
MMBlendKernels gBlendKernels = kMMBlendKernelsSSE2;

template <Operation kOperation>
void VectorBlend32(const uint8_t* source, uint8_t* destination, const MMBlitRequest& request) {
  const MMBlendKernel kernel = kOperation == Operation::kPremultiplied
                                   ? gBlendKernels.mPremultiplied
                                   : gBlendKernels.mStraight;
  for (int32_t i = kernel(source, destination, request.mWidth); i < request.mWidth; ++i) {
    const ptrdiff_t offset = static_cast<ptrdiff_t>(i) * 4;
    DrawPixel<4, 4, kOperation, false>(source + offset, destination + offset, request);
  }
}

// The tables in use; written once at start-up, before any blit.
std::array<Family, 8> g32 = kPlain32;
std::array<Family, 16> g8To24Or32 = kPlain8To24Or32;
std::array<Family, 4> g8To8 = kPlain8To8;
std::array<Family, 2> g24 = kPlain24;
bool gUseMMX = false;

int32_t ColumnOf(int32_t xStep) { return xStep == 0x10000 ? 0 : xStep == -0x10000 ? 1 : 2; }

}  // namespace

std::vector<MMBlitPath> MMAvailableBlitPaths() {
  WinMMCheckProcessor();
  std::vector<MMBlitPath> paths{MMBlitPath::kPlain};
  if (WinMMHasMMX()) {
    paths.push_back(MMBlitPath::kSSE2);
    if (__builtin_cpu_supports("avx2")) paths.push_back(MMBlitPath::kAVX2);
  }
  return paths;
}

void MMSelectBlitRoutines(MMBlitPath path) {
  g32 = kPlain32;
  g8To8 = kPlain8To8;
  gUseMMX = path != MMBlitPath::kPlain;
  if (!gUseMMX) return;
  gBlendKernels = path == MMBlitPath::kAVX2 ? kMMBlendKernelsAVX2 : kMMBlendKernelsSSE2;
  g32[0][0] = &Copy32MMX;
  g32[1][0] = &Keyed32MMX;
  g8To8[0][0] = &Copy8MMX;
  g8To8[1][0] = &Keyed8MMX;
  g32[2][0] = &VectorBlend32<Operation::kPremultiplied>;
  g32[3][0] = &VectorBlend32<Operation::kStraight>;
}

void MMInitializeBlitRoutines() { MMSelectBlitRoutines(MMAvailableBlitPaths().back()); }

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
