#include "mm/stage/MM2DTransitionEffect.h"

#include "foundation/af/AFWindow.h"
#include "foundation/al/ALMilliseconds.h"
#include "mm/drawing/MMControlSurface.h"
#include "mm/drawing/MMDrawingSurface.h"
#include "platform/win32/kernel.h"

#include <algorithm>

namespace {

constexpr int64_t kCostArea = 100000;
constexpr int64_t kSingleCopies = 1000;
constexpr int32_t kCalibrationStep = 2;

int32_t RoundUpToFour(int32_t n) { return (n + 3) & ~3; }

// Steps of size 1 while fewer pixels than operations are to cover, else as
// many steps as operations fit; one step when at most one fits.
int32_t StepFor(int32_t distance, int64_t operations) {
  if (distance < operations) return 1;
  if (operations > 1) return static_cast<int32_t>(distance / operations);
  return distance;
}

// The priority is raised for the length of a run and put back after it.
// Without the privilege to raise it, the pacing still holds by busy-waiting.
class RaisedPriority {
 public:
  RaisedPriority() : mPrevious(GetThreadPriority(GetCurrentThread())) {
    SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
  }
  ~RaisedPriority() {
    if (mPrevious != THREAD_PRIORITY_ERROR_RETURN) SetThreadPriority(GetCurrentThread(), mPrevious);
  }
  RaisedPriority(const RaisedPriority&) = delete;
  RaisedPriority& operator=(const RaisedPriority&) = delete;

 private:
  int mPrevious;
};

}  // namespace

MM2DTransitionTiming& MM2DTransitionEffect::Timing() {
  static MM2DTransitionTiming timing;
  return timing;
}

void MM2DTransitionEffect::BeginRun(MMControlSurface* front, MMDrawingSurface* back,
                                    const AFPalette* palette) {
  mFront = front;
  mBack = back;
  mStart = ALMilliseconds();
  if (palette != nullptr) SelectPalette(*palette);
  mFront->BeginDraw();
  mBack->BeginDraw();
}

void MM2DTransitionEffect::EndRun() {
  mFront->EndDraw();
  mBack->EndDraw();
}

void MM2DTransitionEffect::Run(MMControlSurface* front, MMDrawingSurface* back, const UURect& rect,
                               const AFPalette* palette) {
  BeginRun(front, back, palette);
  {
    RaisedPriority raised;
    if (!PlayEffect(rect)) CopyRect(rect);
  }
  EndRun();
}

void MM2DTransitionEffect::RunThroughBlack(MMControlSurface* front, MMDrawingSurface* back,
                                           const UURect& rect, const AFPalette* palette) {
  BeginRun(front, back, nullptr);
  if (palette != nullptr) {
    BlackRect(rect);
    SelectPalette(*palette);
  }
  CopyRect(rect);
  EndRun();
}

bool MM2DTransitionEffect::WaitForStep(int32_t step, int32_t steps) {
  const auto elapsed = [this] { return static_cast<int32_t>(ALMilliseconds() - mStart); };
  if (elapsed() > mTimeLimit) return false;
  if (Timing().mCalibrating || steps <= 0) return true;
  const int64_t due = int64_t{step} * mDuration / steps;
  while (elapsed() < due) {
  }
  return true;
}

void MM2DTransitionEffect::RestartClock() { mStart = ALMilliseconds(); }

void MM2DTransitionEffect::CopyRect(const UURect& rect) { mFront->CopyFrom(*mBack, rect); }

void MM2DTransitionEffect::BlackRect(const UURect& rect) { mFront->FillBlack(rect); }

bool MM2DTransitionEffect::ScrollFront(const UURect& rect, int32_t dx, int32_t dy) {
  if (Timing().mCalibrating) ++Timing().mCalibrationScrolls;
  return mFront->Scroll(rect, dx, dy);
}

AFWindow* MM2DTransitionEffect::GetWindowOf(const MMControlSurface* front) {
  for (HWND window = front->GetWindow(); window != nullptr; window = GetParent(window)) {
    if (AFWindow* object = AFWindowGetObject(window)) return object;
  }
  return nullptr;
}

void MM2DTransitionEffect::SelectPalette(const AFPalette& palette) {
  AFWindow* window = GetWindowOf(mFront);
  if (window == nullptr) return;
  window->SetPalette(palette);
  HPALETTE current = window->GetPaletteHandle();
  if (current == nullptr) return;
  mFront->BeginDraw();
  HPALETTE previous = ::SelectPalette(mFront->GetDC(), current, TRUE);
  // The window's earlier palettes stay selected here until replaced.
  if (previous != nullptr && previous != current) DeleteObject(previous);
  mFront->EndDraw();
}

void MM2DTransitionEffect::EndCalibration() {
  MM2DTransitionTiming& timing = Timing();
  if (!timing.mCalibrating) return;
  timing.mCalibrating = false;
  timing.mCalibrationTime = std::max(1, static_cast<int32_t>(ALMilliseconds() - mStart));
}

int32_t MM2DTransitionEffect::GetRemainingTime(const UURect& rect) const {
  const int64_t area = int64_t{rect.GetWidth()} * rect.GetHeight();
  return static_cast<int32_t>(mDuration - area * Timing().mCopyCost / kCostArea);
}

int32_t MM2DTransitionEffect::GetAffordableOperations(const UURect& rect) const {
  const int32_t remaining = GetRemainingTime(rect);
  if (remaining <= 0) return 0;
  return static_cast<int32_t>(int64_t{remaining} * kSingleCopies / Timing().mSingleCopyCost);
}

int32_t MM2DTransitionEffect::GetStepDistance(const UURect& rect, int32_t distance) const {
  if (GetRemainingTime(rect) <= 0) return distance;
  return StepFor(distance, GetAffordableOperations(rect));
}

int32_t MM2DTransitionEffect::GetStepCount(const UURect& rect, int32_t count) const {
  return std::min(count, GetAffordableOperations(rect));
}

int32_t MM2DTransitionEffect::GetScrollStep(const UURect& rect, int32_t distance) {
  MM2DTransitionTiming& timing = Timing();
  if (timing.mCalibrationTime == 0) {
    timing.mCalibrating = true;
    timing.mCalibrationScrolls = 0;
    return kCalibrationStep;
  }
  const int64_t scrolls =
      int64_t{GetRemainingTime(rect)} * timing.mCalibrationScrolls / timing.mCalibrationTime;
  int32_t step = StepFor(distance, scrolls);
  if (step > 2) step = RoundUpToFour(step);
  // Pictures reach an 8-bit display in columns of four.
  if (mBack->GetPixelFormat() != kMMFormat8 && mFront->GetPixelFormat() == kMMFormat8) {
    step = RoundUpToFour(step);
  }
  return step;
}
