#include "foundation/uu/UUDisplayMode.h"

#include "platform/win32/user.h"

namespace {

struct ValueRange {
  int32_t mMinimum;
  int32_t mMaximum;
};

constexpr int32_t kRangeRows = 3;
constexpr ValueRange kValueRanges[kRangeRows * 2] = {
    {4, 31}, {7, 31}, {8, 31}, {15, 31}, {2, 7}, {2, 14},
};

}  // namespace

UUDisplayMode::UUDisplayMode(UUPoint size, int32_t bitsPerPixel, bool fullScreen)
    : mWidth(size.mX), mHeight(size.mY), mFullScreen(fullScreen), mBitsPerPixel(bitsPerPixel) {}

bool UUDisplayMode::Apply() const {
  DEVMODEA mode{};
  mode.dmSize = sizeof(DEVMODEA);
  mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  mode.dmBitsPerPel = static_cast<DWORD>(mBitsPerPixel);
  mode.dmPelsWidth = static_cast<DWORD>(mWidth);
  mode.dmPelsHeight = static_cast<DWORD>(mHeight);
  return ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) >= 0;
}

int32_t UUDisplayMode::Restore() { return ChangeDisplaySettingsA(nullptr, 0); }

// Rows and columns outside the table answer an empty range rather than
// reading beyond it.
void UUValueRangeGet(int32_t row, int32_t column, int32_t& minimum, int32_t& maximum) {
  if (row < 0 || row >= kRangeRows || column < 0 || column > 1) {
    minimum = 1;
    maximum = 0;
    return;
  }
  const ValueRange& range = kValueRanges[row * 2 + column];
  minimum = range.mMinimum;
  maximum = range.mMaximum;
}

bool UUValueRangeContains(int32_t row, int32_t column, int32_t value) {
  int32_t minimum = 0;
  int32_t maximum = 0;
  UUValueRangeGet(row, column, minimum, maximum);
  return minimum <= value && value <= maximum;
}
