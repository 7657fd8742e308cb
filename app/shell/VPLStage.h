#pragma once
// The program's stage: it builds the intro first and the creation act once
// the intro has ended, sets up the 3D device of the creation screen
// (Direct3D 7, or OpenGL first when the command line asked for it) and
// writes the choice to the log, draws the creation into pictures of their
// own (exports, printing, thumbnails), watches the frame rate for the
// slow-machine notice, and takes part in closing the window.

#include "app/objects/VPLServices.h"
#include "foundation/uu/UURefCount.h"
#include "mm/stage/MMStage.h"
#include "mm3d/MM3DPipeline.h"
#include "mm3d/MM3DRenderer.h"
#include "mm3d/drivers/MM3DDriver.h"

#include <atomic>
#include <cstdint>
#include <memory>

class MMSurface;
class VPL3DCursorSet;
class VPLDisplayLibraryLoad;
class WinMMOffscreenSurface;

class VPLStage : public MMStage {
 public:
  VPLStage(MMStageWindow* window, const UURect& rect);
  ~VPLStage() override;

  // The next act: 0 the intro, any other the creation act.
  MMAct* CreateNextAct() override;
  // Asks for act n at the next frame; the intro asks for 1 when it ends.
  void RequestAct(int32_t number);

  // Starts loading the library of the screen's first driver on a thread of
  // its own, once, before any driver is made; the intro asks once its first
  // picture is shown, so that its end finds the library loaded.
  void LoadDisplayLibraryAhead();
  // The screen's driver, renderer and pipeline for the kind and rectangle;
  // false, after the message and a request to quit, when none can be had.
  bool SetUpDisplayDriver(int32_t kind, const UURect& rect, uint8_t option);
  // The offscreen driver, renderer and pipeline drawing into a picture of
  // the stage's own over the rectangle, kept for the next pictures of that
  // rectangle and made again for another; false, after the message and a
  // request to quit, when none can be had.
  bool SetUpOffscreenDevice(const UURect& rect);
  // The screen's set becomes the one the acts draw with again.
  void UseScreenDevice();
  // The texture strategy; false, after message 107 and a request to quit,
  // when it cannot be made.
  bool EnsureTextureObjects();

  // Draws the creation at the time (-1: the stage's now) into the surface,
  // on white where nothing is drawn when asked, and answers the time used
  // and whether anything was drawn. On the stage thread.
  VPLSurfaceRendering RenderToSurface(MMSurface& surface, int32_t time, bool whiteBackground);

  // The frame-rate monitor runs after every frame's notify step.
  void Notify(bool draws) override;

  // Stage cursor 0 (the arrow) or 3 (no pointer).
  void ShowArrowCursor();
  void HideCursor();

  // The close handshake: true once the act on show agreed that the window
  // closes; it stays agreed.
  bool AgreeToCloseNow();

 private:
  static constexpr int32_t kNotStarted = -1;

  void WaitForDisplayLibrary();
  UURefCount<MM3DDriver> MakeScreenDriver(const MM3DDeviceMode& mode) const;
  void WriteDriverToLog(const MM3DDriver& driver) const;
  bool MakeScreenSet(const UURefCount<MM3DDriver>& driver);
  bool MakeOffscreenSet();
  void ReleaseOffscreenDevice();
  bool DrawOffscreen(const UURect& rect, int32_t time, bool whiteBackground);
  void CountFrame();
  void ChangeSlowness(int32_t framesPerSecond);
  void ShowNotice(bool shown);

  std::atomic<bool> mCloseAgreed{false};
  int32_t mNextAct = 0;
  UURefCount<MM3DDriver> mScreenDriver;
  UURefCount<MM3DRenderer> mScreenRenderer;
  UURefCount<MM3DPipeline> mScreenPipeline;
  UURefCount<MM3DDriver> mOffscreenDriver;
  UURefCount<MM3DRenderer> mOffscreenRenderer;
  UURefCount<MM3DPipeline> mOffscreenPipeline;
  // What the offscreen driver draws into; it outlives the driver.
  std::unique_ptr<WinMMOffscreenSurface> mOffscreenPicture;
  int32_t mFrameCount = 0;
  int32_t mWindowStart = kNotStarted;
  int32_t mSlownessLevel = 0;
  VPL3DCursorSet* mCursorSet = nullptr;
  std::unique_ptr<VPLDisplayLibraryLoad> mDisplayLibraryLoad;
};
