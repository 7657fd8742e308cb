#pragma once
// The statistics display's measurements: the stage marks the start of each
// frame's rendering and the end of each frame, and the display is refreshed
// with the last frame's rate, its share spent rendering and the polygons
// drawn. The figures are read by the painting thread while the stage thread
// updates them, so each is an atomic word.

#include <atomic>
#include <cstdint>

class HUD {
 public:
  HUD();
  virtual ~HUD();
  HUD(const HUD&) = delete;
  HUD& operator=(const HUD&) = delete;

  void BeginRender();
  // Works out the figures of the frame that ends now and refreshes. Two
  // ends within the same millisecond give no figures: the frame is skipped.
  void EndFrame();
  // -1 when unknown.
  void SetPolygonCount(int32_t count);

  int32_t GetFramesPerSecond() const { return mFramesPerSecond; }
  int32_t GetPercentRenderTime() const { return mPercentRenderTime; }
  int32_t GetPolygonCount() const { return mPolygonsDrawn; }

 protected:
  // Shows the new figures.
  virtual void Refresh() = 0;

 private:
  int32_t mRenderStart;
  int32_t mPreviousFrameEnd;
  std::atomic<int32_t> mFramesPerSecond{0};
  std::atomic<int32_t> mPercentRenderTime{0};
  std::atomic<int32_t> mPolygonsDrawn{-1};
};
