#include "mm/stage/MM3DDisplayModeStrategy.h"

#include "mm/stage/MMStage.h"
#include "mm/stage/MMStageControl.h"
#include "mm/stage/MMStageWindow.h"
#include "mm3d/MM3DDriverTextureStrategy.h"
#include "mm3d/MM3DStandardPipeline.h"
#include "mm3d/MM3DStandardRenderer.h"
#include "mm3d/drivers/win/WinMM3DDDDriverAdapter.h"
#include "mm3d/drivers/win/WinMM3DGLDriverAdapter.h"

namespace {

constexpr char kDriverDescription[] = "Primary Display Driver";
constexpr int32_t kDepthBuffer16 = 1;

UURefCount<MM3DDriver> CreateDriver(bool useOpenGL, const MM3DDeviceMode& mode, HWND drawing,
                                    HWND topLevel) {
  if (useOpenGL) {
    return WinMM3DGLCreateDriver(WinMM3DGLDriverInfo(kDriverDescription, "OPENGL32.DLL"), mode,
                                 drawing, topLevel);
  }
  // No device GUID: the primary display device.
  return WinMM3DDDCreateDriver(WinMM3DDDDriverDescription(kDriverDescription, "", nullptr), mode,
                               drawing, topLevel);
}

}  // namespace

void MM3DDisplayModeStrategy::Apply(MMStage* stage) {
  const UURect rect(0, 0, 640, 480);
  if (ApplyMode(stage, kMMDisplayWindow, rect, 1, true)) return;
  if (ApplyMode(stage, kMMDisplayWindow, rect, 1, false)) return;
  Fail(stage);
}

bool MM3DDisplayModeStrategy::ApplyMode(MMStage* stage, int32_t mode, const UURect& rect,
                                        uint8_t option, bool useOpenGL) {
  PlaceStage(stage, mode, rect);
  MMStageControl* control = stage->GetControl();
  if (control == nullptr) return false;
  const int32_t colorDepth16 = 0;
  MM3DDeviceMode deviceMode(rect.GetWidth(), rect.GetHeight(), colorDepth16, option,
                            mode == kMMDisplayFullScreen ? 1 : 0);
  deviceMode.mDepthBufferCode = kDepthBuffer16;
  UURefCount<MM3DDriver> driver =
      CreateDriver(useOpenGL, deviceMode, control->GetHandle(), stage->GetWindow()->GetHandle());
  if (!driver) return false;
  const UURefCount<MM3DRenderer> renderer(new (ALGlobalAllocator) MM3DStandardRenderer(driver));
  const UURefCount<MM3DPipeline> pipeline(new (ALGlobalAllocator) MM3DStandardPipeline);
  stage->Set3DDisplay(driver, renderer, pipeline,
                      new (ALGlobalAllocator) MM3DStandardDriverTextureStrategy);
  return true;
}

bool MM3DDisplayModeStrategy::RestoreDisplay(MMStage* stage) {
  const UURefCount<MM3DDriver>& driver = stage->GetDriver();
  if (mMode != kMMDisplayFullScreen || !driver || driver->mActive) return true;
  driver->Resume();
  return driver->mActive;
}

void MM3DDisplayModeStrategy::ReleaseDisplay(MMStage* stage) {
  const UURefCount<MM3DDriver>& driver = stage->GetDriver();
  if (mMode == kMMDisplayFullScreen && driver && driver->mActive) driver->Suspend();
}

MM3DDisplayModeStrategy& MMStandard3DDisplayModeStrategy() {
  static MM3DDisplayModeStrategy strategy;
  return strategy;
}
