// The stage's 3D device for the creation screen, the log lines that record
// which one the machine gave, and the offscreen device that draws the
// creation into pictures of their own.

#include "app/objects/VPLServices.h"
#include "app/shell/VPLActMaker.h"
#include "app/shell/VPLApplication.h"
#include "app/shell/VPLDisplayLibraryLoad.h"
#include "app/shell/VPLProgramValues.h"
#include "app/shell/VPLShellAlert.h"
#include "app/shell/VPLStage.h"
#include "foundation/al/ALAllocator.h"
#include "mm/drawing/MMSurface.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "mm/stage/MMAct.h"
#include "mm/stage/MMDisplayModeStrategy.h"
#include "mm/stage/MMStageControl.h"
#include "mm/stage/MMStageWindow.h"
#include "mm/stage/MMView.h"
#include "mm/tasks/MMTaskManager.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DDriverTextureStrategy.h"
#include "mm3d/MM3DStandardPipeline.h"
#include "mm3d/MM3DStandardRenderer.h"
#include "mm3d/drivers/win/WinMM3DDDDriverAdapter.h"
#include "mm3d/drivers/win/WinMM3DGLBitmapDriverAdapter.h"
#include "mm3d/drivers/win/WinMM3DGLDriverAdapter.h"

namespace {

constexpr char kOpenGLDescription[] = "Primary Display Driver";
constexpr char kOpenGLLibrary[] = "OPENGL32.DLL";
constexpr char kDirect3DLibrary[] = "DDRAW.DLL";
constexpr char kNTLine[] = "Windows NT or 2000 detected";
constexpr char kLogSeparator[] = "----------";
constexpr int32_t kColorDepth16 = 0;
constexpr int32_t kDepthBuffer16 = 1;
constexpr int16_t kNoDriverEntry = 21;
constexpr int16_t kNoOffscreenDriverEntry = 22;
constexpr int32_t kColorDepth32 = 2;
constexpr int32_t kOffscreenBits = 32;
constexpr MM3DClearColor kWhiteBackground{.mRed = 255, .mGreen = 255, .mBlue = 255, .mAlpha = 0};

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

UURefCount<MM3DRenderer> MakeRenderer(const UURefCount<MM3DDriver>& driver) {
  MM3DRenderer* renderer = new (ALGlobalAllocator) MM3DStandardRenderer(driver);
  return renderer != nullptr ? UURefCount<MM3DRenderer>(renderer) : UURefCount<MM3DRenderer>();
}

UURefCount<MM3DPipeline> MakePipeline() {
  MM3DPipeline* pipeline = new (ALGlobalAllocator) MM3DStandardPipeline;
  return pipeline != nullptr ? UURefCount<MM3DPipeline>(pipeline) : UURefCount<MM3DPipeline>();
}

// Both surfaces stand over the same rectangle.
bool CopyPicture(MMSurface& from, MMSurface& to) {
  const UURect rect = from.GetRect();
  from.BeginDraw();
  to.BeginDraw();
  const bool copied = BitBlt(to.GetDC(), rect.mLeft, rect.mTop, rect.GetWidth(), rect.GetHeight(),
                             from.GetDC(), rect.mLeft, rect.mTop, SRCCOPY) != FALSE;
  to.EndDraw();
  from.EndDraw();
  return copied;
}

void SetClearColour(MM3DDriver& driver, const MM3DClearColor& colour) {
  driver.mClearColor = colour;
  driver.SetClearColor(colour.AsWord());
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
  mScreenRenderer = MakeRenderer(driver);
  mScreenPipeline = MakePipeline();
  if (!mScreenRenderer || !mScreenPipeline) {
    VPLShowStringAlert(kVPLOutOfMemoryMessage, GetWindow()->GetHandle());
    QuitApplication();
    return false;
  }
  if (!EnsureTextureObjects()) return false;
  UseScreenDevice();
  VPLGetServices().mTextureMap = GetTextureMap();
  return true;
}

bool VPLStage::EnsureTextureObjects() {
  if (GetTextureStrategy() != nullptr) return true;
  MM3DDriverTextureStrategy* strategy = new (ALGlobalAllocator) MM3DStandardDriverTextureStrategy;
  if (strategy == nullptr) {
    VPLShowStringAlert(kVPLOutOfMemoryMessage, GetWindow()->GetHandle());
    QuitApplication();
    return false;
  }
  Set3DDisplay(GetDriver(), GetRenderer(), GetPipeline(), strategy);
  return true;
}

// The handles the acts draw with; the map lets go of the old driver's
// textures and makes the new driver current.
void VPLStage::UseScreenDevice() {
  Set3DDisplay(mScreenDriver, mScreenRenderer, mScreenPipeline, GetTextureStrategy());
}

void VPLStage::LoadDisplayLibraryAhead() {
  if (mDisplayLibraryLoad || mScreenDriver) return;
  mDisplayLibraryLoad =
      std::make_unique<VPLDisplayLibraryLoad>(VPLOpenGLFirst ? kOpenGLLibrary : kDirect3DLibrary);
  mDisplayLibraryLoad->Start();
}

void VPLStage::WaitForDisplayLibrary() {
  if (mDisplayLibraryLoad && mDisplayLibraryLoad->GetState() != kALThreadNone) {
    mDisplayLibraryLoad->WaitForExit();
  }
}

bool VPLStage::SetUpDisplayDriver(int32_t kind, const UURect& rect, uint8_t option) {
  WaitForDisplayLibrary();
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

bool VPLStage::SetUpOffscreenDevice(const UURect& rect) {
  if (mOffscreenRenderer && mOffscreenPicture->GetRect() == rect) return true;
  ReleaseOffscreenDevice();
  mOffscreenPicture.reset(WinMMCreateOffscreenSurface(kOffscreenBits, rect, AFPalette()));
  if (mOffscreenPicture == nullptr) {
    VPLShowStringAlert(kVPLOutOfMemoryMessage, GetWindow()->GetHandle());
    QuitApplication();
    return false;
  }
  MM3DDeviceMode mode(rect.GetWidth(), rect.GetHeight(), kColorDepth32, 0, 1);
  mode.mDepthBufferCode = kDepthBuffer16;
  mOffscreenDriver = WinMM3DGLCreateBitmapDriver(
      WinMM3DGLDriverInfo(kOpenGLDescription, kOpenGLLibrary), mode, *mOffscreenPicture);
  if (!mOffscreenDriver) {
    ReleaseOffscreenDevice();
    VPLShowStringListAlert(kNoOffscreenDriverEntry, GetWindow()->GetHandle());
    QuitApplication();
    return false;
  }
  return MakeOffscreenSet();
}

bool VPLStage::MakeOffscreenSet() {
  mOffscreenRenderer = MakeRenderer(mOffscreenDriver);
  mOffscreenPipeline = MakePipeline();
  if (!mOffscreenRenderer || !mOffscreenPipeline) {
    ReleaseOffscreenDevice();
    VPLShowStringAlert(kVPLOutOfMemoryMessage, GetWindow()->GetHandle());
    QuitApplication();
    return false;
  }
  return EnsureTextureObjects();
}

// The driver goes before the picture it draws into, its textures before it.
void VPLStage::ReleaseOffscreenDevice() {
  GetTextureMap()->ForgetKeptDriver(mOffscreenDriver.Get());
  mOffscreenPipeline = UURefCount<MM3DPipeline>();
  mOffscreenRenderer = UURefCount<MM3DRenderer>();
  mOffscreenDriver = UURefCount<MM3DDriver>();
  mOffscreenPicture.reset();
}

// The textures belong to the driver that made them: each device keeps its
// own between pictures, so neither loads them again when the other has
// drawn. The picture reaches the caller's surface only when something was
// drawn, so a failure leaves it as it was.
VPLSurfaceRendering VPLStage::RenderToSurface(MMSurface& surface, int32_t time,
                                              bool whiteBackground) {
  ShowNotice(false);
  VPLSurfaceRendering result{.mTime = time, .mRendered = false};
  const UURect rect = surface.GetRect();
  if (!SetUpOffscreenDevice(rect)) return result;
  Switch3DDisplay(mOffscreenDriver, mOffscreenRenderer, mOffscreenPipeline);
  if (result.mTime == kVPLNow) result.mTime = GetTaskManager()->GetNow();
  result.mRendered = DrawOffscreen(rect, result.mTime, whiteBackground);
  Switch3DDisplay(mScreenDriver, mScreenRenderer, mScreenPipeline);
  if (result.mRendered) result.mRendered = CopyPicture(*mOffscreenPicture, surface);
  return result;
}

bool VPLStage::DrawOffscreen(const UURect& rect, int32_t time, bool whiteBackground) {
  MMAct* act = GetAct();
  if (act == nullptr) return false;
  VPLActMaker& maker = VPLGetActMaker();
  maker.TickCreation(act, time);
  const MM3DClearColor before = mOffscreenDriver->mClearColor;
  const bool whiten = whiteBackground && before.AsWord() != kWhiteBackground.AsWord();
  if (whiten) SetClearColour(*mOffscreenDriver, kWhiteBackground);
  MMView* view = act->GetViews().IsEmpty() ? nullptr : act->GetViews().Front();
  const UURect viewRect = view != nullptr ? view->GetRect() : UURect();
  if (view != nullptr) view->SetRect(rect);
  const bool drawn = maker.DrawCreationView(act);
  if (view != nullptr) view->SetRect(viewRect);
  if (whiten) SetClearColour(*mOffscreenDriver, before);
  return drawn;
}
