#include "foundation/af/HUD.h"

#include "foundation/al/ALMilliseconds.h"

#include <algorithm>
#include <cstdint>

namespace {

int32_t Now() { return static_cast<int32_t>(ALMilliseconds()); }

// Truncated toward zero; a render start left over from long before the
// frame could otherwise give a share beyond the 32-bit range.
int32_t Truncate(double value) {
  return static_cast<int32_t>(std::clamp(value, double{INT32_MIN}, double{INT32_MAX}));
}

int32_t Elapsed(int32_t from, int32_t to) {
  // Clock differences wrap at 32 bits like the clock itself.
  return static_cast<int32_t>(static_cast<uint32_t>(to) - static_cast<uint32_t>(from));
}

}  // namespace

HUD::HUD() : mRenderStart(Now()), mPreviousFrameEnd(mRenderStart) {}

HUD::~HUD() = default;

void HUD::BeginRender() { mRenderStart = Now(); }

void HUD::EndFrame() {
  const int32_t now = Now();
  const int32_t frameTime = Elapsed(mPreviousFrameEnd, now);
  if (frameTime <= 0) return;
  const int32_t beforeRender = Elapsed(mPreviousFrameEnd, mRenderStart);
  mPercentRenderTime = Truncate(100.0 - beforeRender * 100.0 / frameTime);
  mFramesPerSecond = Truncate(1000.0 / frameTime);
  mPreviousFrameEnd = now;
  Refresh();
}

void HUD::SetPolygonCount(int32_t count) { mPolygonsDrawn = count; }
