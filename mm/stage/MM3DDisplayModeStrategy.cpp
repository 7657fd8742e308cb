#include "mm/stage/MM3DDisplayModeStrategy.h"

#include "mm/stage/MM3DDisplayServices.h"
#include "mm/stage/MMStage.h"
#include "mm/stage/MMStageControl.h"
#include "mm/stage/MMStageWindow.h"

namespace {

constexpr char kDriverDescription[] = "Primary Display Driver";
constexpr int32_t kDepthBuffer16 = 1;

UURefCount<MM3DDriver> CreateDriver(MM3DDisplayFactory& factory, bool useOpenGL,
                                    const MM3DDeviceMode& mode, HWND drawing, HWND topLevel) {
  if (useOpenGL) {
    return factory.CreateGLDriver(WinMM3DGLDriverInfo(kDriverDescription, "OPENGL32.DLL"), mode,
                                  drawing, topLevel);
  }
  return factory.CreateDDDriver(WinMM3DDDDriverInfo(kDriverDescription, "", nullptr), mode, drawing,
                                topLevel);
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
  MM3DDisplayFactory* factory = MMGet3DDisplayFactory();
  MMStageControl* control = stage->GetControl();
  if (factory == nullptr || control == nullptr) return false;
  const int32_t colorDepth = 0;
  MM3DDeviceMode deviceMode(rect.GetWidth(), rect.GetHeight(), colorDepth, option,
                            mode == kMMDisplayFullScreen ? 1 : 0);
  deviceMode.mDepthBuffer = kDepthBuffer16;
  UURefCount<MM3DDriver> driver = CreateDriver(
      *factory, useOpenGL, deviceMode, control->GetHandle(), stage->GetWindow()->GetHandle());
  if (!driver) return false;
  const UURefCount<MM3DRenderer> renderer(factory->CreateStandardRenderer(driver));
  const UURefCount<MM3DPipeline> pipeline(factory->CreateStandardPipeline());
  stage->Set3DDisplay(driver, renderer, pipeline, factory->CreateStandardTextureStrategy());
  return true;
}

bool MM3DDisplayModeStrategy::RestoreDisplay(MMStage* stage) {
  const UURefCount<MM3DDriver>& driver = stage->GetDriver();
  if (mMode != kMMDisplayFullScreen || !driver || driver->IsActive()) return true;
  return driver->Resume();
}

void MM3DDisplayModeStrategy::ReleaseDisplay(MMStage* stage) {
  const UURefCount<MM3DDriver>& driver = stage->GetDriver();
  if (mMode == kMMDisplayFullScreen && driver && driver->IsActive()) driver->Suspend();
}

MM3DDisplayModeStrategy& MMStandard3DDisplayModeStrategy() {
  static MM3DDisplayModeStrategy strategy;
  return strategy;
}
