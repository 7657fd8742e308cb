// The stage's 3D device for the creation screen and the log lines that
// record which one the machine gave.

#include "app/objects/VPLServices.h"
#include "app/shell/VPLApplication.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLShellAlert.h"
#include "app/shell/VPLStage.h"
#include "foundation/al/ALAllocator.h"
#include "mm/stage/MMDisplayModeStrategy.h"
#include "mm/stage/MMStageControl.h"
#include "mm/stage/MMStageWindow.h"
#include "mm3d/MM3DDriverTextureStrategy.h"
#include "mm3d/MM3DStandardPipeline.h"
#include "mm3d/MM3DStandardRenderer.h"
#include "mm3d/drivers/win/WinMM3DDDDriverAdapter.h"
#include "mm3d/drivers/win/WinMM3DGLDriverAdapter.h"

namespace {

constexpr char kOpenGLDescription[] = "Primary Display Driver";
constexpr char kOpenGLLibrary[] = "OPENGL32.DLL";
constexpr char kNTLine[] = "Windows NT or 2000 detected";
constexpr char kLogSeparator[] = "----------";
constexpr int32_t kColorDepth16 = 0;
constexpr int32_t kDepthBuffer16 = 1;
constexpr int16_t kNoDriverEntry = 21;

void WriteLog(const char* line) {
  if (VPLCurrentApplication != nullptr) VPLCurrentApplication->WriteLogLine(line);
}

void LogSystemVersion() {
  OSVERSIONINFOA version{};
  version.dwOSVersionInfoSize = sizeof version;
  if (GetVersionExA(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_NT) WriteLog(kNTLine);
}

UURefCount<MM3DDriver> MakeDirect3DDriver(const MM3DDeviceMode& mode, HWND drawing, HWND topLevel) {
  // No name and no GUID: the default Direct3D device.
  return WinMM3DDDCreateDriver(WinMM3DDDDriverDescription("", "", nullptr), mode, drawing,
                               topLevel);
}

UURefCount<MM3DDriver> MakeOpenGLDriver(const MM3DDeviceMode& mode, HWND drawing, HWND topLevel) {
  return WinMM3DGLCreateDriver(WinMM3DGLDriverInfo(kOpenGLDescription, kOpenGLLibrary), mode,
                               drawing, topLevel);
}

}  // namespace

UURefCount<MM3DDriver> VPLStage::MakeScreenDriver(const MM3DDeviceMode& mode) const {
  const HWND drawing = GetControl() != nullptr ? GetControl()->GetHandle() : nullptr;
  const HWND topLevel = GetWindow()->GetHandle();
  if (VPLOpenGLFirst) {
    if (UURefCount<MM3DDriver> driver = MakeOpenGLDriver(mode, drawing, topLevel)) return driver;
    return MakeDirect3DDriver(mode, drawing, topLevel);
  }
  if (UURefCount<MM3DDriver> driver = MakeDirect3DDriver(mode, drawing, topLevel)) return driver;
  return MakeOpenGLDriver(mode, drawing, topLevel);
}

void VPLStage::WriteDriverToLog(const MM3DDriver& driver) const {
  WriteLog(driver.GetApiName().c_str());
  WriteLog(kLogSeparator);
  WriteLog(driver.GetDescription().c_str());
}

bool VPLStage::MakeScreenSet(const UURefCount<MM3DDriver>& driver) {
  mScreenDriver = driver;
  mScreenRenderer = UURefCount<MM3DRenderer>(new (ALGlobalAllocator) MM3DStandardRenderer(driver));
  mScreenPipeline = UURefCount<MM3DPipeline>(new (ALGlobalAllocator) MM3DStandardPipeline);
  Set3DDisplay(mScreenDriver, mScreenRenderer, mScreenPipeline,
               new (ALGlobalAllocator) MM3DStandardDriverTextureStrategy);
  VPLGetServices().mTextureMap = GetTextureMap();
  return true;
}

bool VPLStage::SetUpDisplayDriver(int32_t kind, const UURect& rect, uint8_t option) {
  MM3DDeviceMode mode(rect.GetWidth(), rect.GetHeight(), kColorDepth16, option,
                      kind == kMMDisplayFullScreen ? 1 : 0);
  mode.mDepthBufferCode = kDepthBuffer16;
  LogSystemVersion();
  const UURefCount<MM3DDriver> driver = MakeScreenDriver(mode);
  if (!driver) {
    VPLShowStringListAlert(kNoDriverEntry, GetWindow()->GetHandle());
    QuitApplication();
    return false;
  }
  WriteDriverToLog(*driver);
  return MakeScreenSet(driver);
}
