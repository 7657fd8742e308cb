#pragma once
// The program's stage: it builds the intro first and the creation act once
// the intro has ended, sets up the 3D device of the creation screen
// (Direct3D 7, or OpenGL first when the command line asked for it) and
// writes the choice to the log, and takes part in closing the window.

#include "foundation/uu/UURefCount.h"
#include "mm/stage/MMStage.h"
#include "mm3d/MM3DPipeline.h"
#include "mm3d/MM3DRenderer.h"
#include "mm3d/drivers/MM3DDriver.h"

#include <atomic>
#include <cstdint>

class VPL3DCursorSet;

class VPLStage : public MMStage {
 public:
  VPLStage(MMStageWindow* window, const UURect& rect);
  ~VPLStage() override;

  // The next act: 0 the intro, any other the creation act.
  MMAct* CreateNextAct() override;
  // Asks for act n at the next frame; the intro asks for 1 when it ends.
  void RequestAct(int32_t number);

  // The screen's driver, renderer and pipeline for the kind and rectangle;
  // false, after the message and a request to quit, when none can be had.
  bool SetUpDisplayDriver(int32_t kind, const UURect& rect, uint8_t option);

  // Stage cursor 0 (the arrow) or 3 (no pointer).
  void ShowArrowCursor();
  void HideCursor();

  // The close handshake: true once the act on show agreed that the window
  // closes; it stays agreed.
  bool AgreeToCloseNow();

 private:
  UURefCount<MM3DDriver> MakeScreenDriver(const MM3DDeviceMode& mode) const;
  void WriteDriverToLog(const MM3DDriver& driver) const;
  bool MakeScreenSet(const UURefCount<MM3DDriver>& driver);

  std::atomic<bool> mCloseAgreed{false};
  int32_t mNextAct = 0;
  UURefCount<MM3DDriver> mScreenDriver;
  UURefCount<MM3DRenderer> mScreenRenderer;
  UURefCount<MM3DPipeline> mScreenPipeline;
  VPL3DCursorSet* mCursorSet = nullptr;
};
