#pragma once

#include <cstdint>

// Paces frames that nothing but the passing time asks for to what a display
// shows: at most kFramesPerSecond a second, on a steady grid of frame times.
// A frame a little late keeps the grid; one a whole frame late or more
// starts a new grid at its own time. Times are program-clock milliseconds
// and may wrap.
class MMFramePacer {
 public:
  static constexpr int32_t kFramesPerSecond = 60;

  // Milliseconds from now until the next frame is due; 0 when it is due
  // (the first frame is due at once).
  int32_t TimeUntilDue(uint32_t now) const;
  void FrameStarted(uint32_t now);

 private:
  uint32_t NextFrameTime() const;

  bool mStarted = false;
  // The grid: frame n of it is due at mBase + n / kFramesPerSecond seconds.
  uint32_t mBase = 0;
  int32_t mFrames = 0;
};
