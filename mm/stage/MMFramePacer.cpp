#include "mm/stage/MMFramePacer.h"

namespace {

constexpr int32_t kMillisecondsPerSecond = 1000;

// The signed distance from a to b on a clock that wraps.
int32_t Distance(uint32_t a, uint32_t b) { return static_cast<int32_t>(b - a); }

}  // namespace

uint32_t MMFramePacer::NextFrameTime() const {
  return mBase + static_cast<uint32_t>(mFrames * kMillisecondsPerSecond / kFramesPerSecond);
}

int32_t MMFramePacer::TimeUntilDue(uint32_t now) const {
  if (!mStarted) return 0;
  const int32_t wait = Distance(now, NextFrameTime());
  return wait > 0 ? wait : 0;
}

void MMFramePacer::FrameStarted(uint32_t now) {
  if (mFrames == kFramesPerSecond) {
    mBase += kMillisecondsPerSecond;
    mFrames = 0;
  }
  ++mFrames;
  if (!mStarted || Distance(now, NextFrameTime()) <= 0) {
    mBase = now;
    mFrames = 1;
  }
  mStarted = true;
}
