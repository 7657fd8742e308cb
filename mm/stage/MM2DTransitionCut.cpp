#include "mm/stage/MM2DTransitionCut.h"

#include "foundation/al/ALMilliseconds.h"

#include <algorithm>

namespace {

constexpr int64_t kCostArea = 100000;
constexpr int32_t kSingleCopies = 1000;

// Milliseconds that the action took on the program clock.
template <typename Action>
int64_t Time(Action action) {
  const uint32_t start = ALMilliseconds();
  action();
  return static_cast<int32_t>(ALMilliseconds() - start);
}

}  // namespace

void MM2DTransitionCut::Run(MMControlSurface* front, MMDrawingSurface* back, const UURect& rect,
                            const AFPalette* palette) {
  BeginRun(front, back, palette);
  MM2DTransitionTiming& timing = Timing();
  const int64_t area = int64_t{rect.GetWidth()} * rect.GetHeight();
  if (area > timing.mLargestTimedArea) {
    const int64_t took = Time([&] { CopyRect(rect); });
    timing.mCopyCost = static_cast<int32_t>(took * kCostArea / area);
    timing.mLargestTimedArea = static_cast<int32_t>(area);
  } else {
    CopyRect(rect);
  }
  if (timing.mMeasureSingleCopies) {
    UURect pixel;
    pixel.FromPointAndSize(rect.GetTopLeft(), 1, 1);
    const int64_t took = Time([&] {
      for (int32_t i = 0; i < kSingleCopies; ++i) CopyRect(pixel);
    });
    timing.mSingleCopyCost = std::max<int32_t>(1, static_cast<int32_t>(took));
    timing.mMeasureSingleCopies = false;
  }
  EndRun();
}
