#pragma once
// A screen transition brings a rectangle of the back surface, which holds
// the new picture, onto the window. The cut copies at once and measures how
// fast this machine copies; the effects spread the change over their
// duration, pacing themselves against the program clock, and give up after
// their time limit, in which case the rest is copied at once.

#include "foundation/uu/UURect.h"

#include <cstdint>

class AFPalette;
class AFWindow;
class MMControlSurface;
class MMDrawingSurface;

// The copying speeds the cut measures as the program runs, shared by every
// transition for the whole run, and the scroll calibration of the slides.
struct MM2DTransitionTiming {
  int32_t mCopyCost = 150;  // ms per 100000 pixels of a full copy
  int32_t mLargestTimedArea = 0;
  int32_t mSingleCopyCost = 150;  // ms for 1000 one-pixel copies
  bool mMeasureSingleCopies = true;
  bool mCalibrating = false;
  int32_t mCalibrationTime = 0;  // ms; 0 until a slide has calibrated
  int32_t mCalibrationScrolls = 0;
};

class MM2DTransitionEffect {
 public:
  static constexpr int32_t kDefaultDuration = 1500;
  static constexpr int32_t kDefaultTimeLimit = 3000;

  MM2DTransitionEffect() = default;
  virtual ~MM2DTransitionEffect() = default;
  MM2DTransitionEffect(const MM2DTransitionEffect&) = delete;
  MM2DTransitionEffect& operator=(const MM2DTransitionEffect&) = delete;

  // palette: given to the window first, or null. The rectangle of the
  // window shows the new picture when Run returns.
  virtual void Run(MMControlSurface* front, MMDrawingSurface* back, const UURect& rect,
                   const AFPalette* palette);
  // Spreads the change over the duration; false when it gave up, and Run
  // then copies the rectangle at once. The base has no effect to play.
  virtual bool PlayEffect(const UURect&) { return false; }

  // Blackens the rectangle when a palette is given, selects the palette,
  // then copies; no pacing.
  void RunThroughBlack(MMControlSurface* front, MMDrawingSurface* back, const UURect& rect,
                       const AFPalette* palette);

  // False once the time limit has passed; otherwise waits, reading the
  // clock, until step of steps of the duration have gone by (at once while
  // a slide calibrates).
  bool WaitForStep(int32_t step, int32_t steps);
  // Starts the duration again from now.
  void RestartClock();

  // From the back surface to the same place on the window.
  void CopyRect(const UURect& rect);
  void BlackRect(const UURect& rect);
  // Moves the window's pixels; true when only the uncovered strip needs
  // repainting.
  bool ScrollFront(const UURect& rect, int32_t dx, int32_t dy);
  // Gives the palette to the front surface's window and selects it there.
  void SelectPalette(const AFPalette& palette);
  // Ends a slide's calibration: its elapsed time becomes the calibration
  // time.
  void EndCalibration();

  // The budget of an effect over rect: the duration less the time of one
  // full copy, and how many single-pixel copies fit into it.
  int32_t GetRemainingTime(const UURect& rect) const;
  int32_t GetAffordableOperations(const UURect& rect) const;
  // How far each step moves to cover distance within the budget: 1 when
  // more operations fit than pixels, else distance / operations; distance
  // (one step) when nothing fits.
  int32_t GetStepDistance(const UURect& rect, int32_t distance) const;
  // count, capped by the operations that fit.
  int32_t GetStepCount(const UURect& rect, int32_t count) const;
  // The distance each scroll step of a slide moves; the first slide of a
  // run calibrates and answers 2.
  int32_t GetScrollStep(const UURect& rect, int32_t distance);

  void SetDuration(int32_t milliseconds) { mDuration = milliseconds; }
  int32_t GetDuration() const { return mDuration; }
  void SetTimeLimit(int32_t milliseconds) { mTimeLimit = milliseconds; }
  int32_t GetTimeLimit() const { return mTimeLimit; }
  MMControlSurface* GetFrontSurface() const { return mFront; }
  MMDrawingSurface* GetBackSurface() const { return mBack; }
  // The framework window that holds a front surface; null when none.
  static AFWindow* GetWindowOf(const MMControlSurface* front);

  static MM2DTransitionTiming& Timing();

 protected:
  // Stores the surfaces, takes the start time, selects the palette when
  // one is given, and begins drawing on both surfaces.
  void BeginRun(MMControlSurface* front, MMDrawingSurface* back, const AFPalette* palette);
  void EndRun();

 private:
  int32_t mDuration = kDefaultDuration;
  int32_t mTimeLimit = kDefaultTimeLimit;
  MMDrawingSurface* mBack = nullptr;
  MMControlSurface* mFront = nullptr;
  uint32_t mStart = 0;
};
