#include "media/transitions/MMPaletteFade.h"

namespace {

constexpr int32_t kOne = 65536;

int32_t DeltaOf(uint8_t from, uint8_t to, int32_t steps) { return (from - to) * kOne / steps; }

uint8_t Faded(uint8_t base, int32_t delta, int32_t remaining) {
  return static_cast<uint8_t>(base + ((int64_t{delta} * remaining) >> 16));
}

}  // namespace

void MMPaletteFade::Init(const AFPalette& from, const AFPalette& to, int32_t steps) {
  mBase = to;
  mSteps = steps < 1 ? 1 : steps;
  for (int i = 0; i < AFPalette::kEntryCount; ++i) {
    const AFPaletteEntry& a = from.mEntries[i];
    const AFPaletteEntry& b = to.mEntries[i];
    mDeltas[i] = Delta{DeltaOf(a.mRed, b.mRed, mSteps), DeltaOf(a.mGreen, b.mGreen, mSteps),
                       DeltaOf(a.mBlue, b.mBlue, mSteps)};
  }
}

void MMPaletteFade::GetPalette(AFPalette& out, int32_t step) const {
  out = mBase;
  const int32_t remaining = mSteps - step - 1;
  for (int i = 0; i < AFPalette::kEntryCount; ++i) {
    AFPaletteEntry& e = out.mEntries[i];
    e.mRed = Faded(e.mRed, mDeltas[i].mRed, remaining);
    e.mGreen = Faded(e.mGreen, mDeltas[i].mGreen, remaining);
    e.mBlue = Faded(e.mBlue, mDeltas[i].mBlue, remaining);
  }
}
