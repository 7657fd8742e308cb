#include "mm3d/drivers/win/WinMM3DGLDriverAdapter.h"

#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UUFileSystem.h"

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

constexpr char kPrimaryDriver[] = "Primary Display Driver";
constexpr DWORD kWindowFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;

bool IsAccelerated(const PIXELFORMATDESCRIPTOR& format) {
  return (format.dwFlags & PFD_GENERIC_FORMAT) == 0 ||
         (format.dwFlags & PFD_GENERIC_ACCELERATED) != 0;
}

bool Describe(const WinMM3DGLDispatch& dispatch, HDC dc, int index, PIXELFORMATDESCRIPTOR& format) {
  return dispatch.DescribePixelFormat(dc, index, sizeof format, &format) != 0;
}

// The first generic format with the flags and exactly the mode's bits;
// 0 when none, -1 when describing a format fails.
int FindSoftwareFormat(const WinMM3DGLDispatch& dispatch, const MM3DDeviceMode& mode, HDC dc,
                       DWORD flags) {
  const int count = dispatch.DescribePixelFormat(dc, 1, 0, nullptr);
  if (count == 0) return -1;
  for (int index = 1; index <= count; ++index) {
    PIXELFORMATDESCRIPTOR format;
    if (!Describe(dispatch, dc, index, format)) return -1;
    if (!IsAccelerated(format) && (format.dwFlags & flags) == flags &&
        format.iPixelType == PFD_TYPE_RGBA && format.cColorBits == mode.GetColorBits() &&
        format.cDepthBits == mode.GetDepthBits()) {
      return index;
    }
  }
  return 0;
}

bool SetDisplayMode(int32_t width, int32_t height, int32_t bits) {
  DEVMODEA display{};
  display.dmSize = sizeof display;
  display.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  display.dmPelsWidth = static_cast<DWORD>(width);
  display.dmPelsHeight = static_cast<DWORD>(height);
  display.dmBitsPerPel = static_cast<DWORD>(bits);
  return ChangeDisplaySettingsA(&display, CDS_FULLSCREEN) == DISP_CHANGE_SUCCESSFUL;
}

// Full screen: remembers the desktop mode and sets the driver's.
bool EnterDisplayMode(WinMM3DGLDispatch& dispatch, const MM3DDeviceMode& mode) {
  if (mode.mFullScreen == 0) return true;
  HDC screen = GetDC(nullptr);
  dispatch.mDesktopWidth = GetDeviceCaps(screen, HORZRES);
  dispatch.mDesktopHeight = GetDeviceCaps(screen, VERTRES);
  dispatch.mDesktopBits = GetDeviceCaps(screen, BITSPIXEL);
  ReleaseDC(nullptr, screen);
  return SetDisplayMode(mode.mWidth, mode.mHeight, mode.GetColorBits());
}

void LeaveDisplayMode(const WinMM3DGLDispatch& dispatch, const MM3DDeviceMode& mode) {
  if (mode.mFullScreen == 0) return;
  SetDisplayMode(dispatch.mDesktopWidth, dispatch.mDesktopHeight, dispatch.mDesktopBits);
}

std::string DescriptionOf(const WinMM3DGLDispatch& dispatch) {
  const auto* renderer = reinterpret_cast<const char*>(dispatch.glGetString(GL_RENDERER));
  const auto* vendor = reinterpret_cast<const char*>(dispatch.glGetString(GL_VENDOR));
  char text[kWinMM3DGLNameSize];
  std::snprintf(text, sizeof text, "%s by %s", renderer ? renderer : "", vendor ? vendor : "");
  return text;
}

bool LibraryIsThere(const char* library) {
  UUDirectory directory;
  for (bool (*find)(UUDirectory&) :
       {&UUGetModuleDirectory, &UUGetCurrentDirectory, &UUGetWindowsDirectory}) {
    if (find(directory) && UUFileExists(directory, library)) return true;
  }
  // The platform's own modules have no file of their own.
  return LoadLibraryA(library) != nullptr;
}

}  // namespace

WinMM3DGLDriverInfo::WinMM3DGLDriverInfo(const char* name, const char* library) {
  std::snprintf(mName, sizeof mName, "%s", name != nullptr ? name : "");
  std::snprintf(mLibrary, sizeof mLibrary, "%s", library != nullptr ? library : "");
}

bool WinMM3DGLDriverList::Add(const char* name, const char* library) {
  if (mCount >= kWinMM3DGLMaxDrivers || !LibraryIsThere(library)) return false;
  mEntries[mCount++] = WinMM3DGLDriverInfo(name, library);
  return true;
}

bool WinMM3DGLChoosePixelFormat(const WinMM3DGLDispatch& dispatch, const MM3DDeviceMode& mode,
                                HDC dc, DWORD flags, bool requireMatchingAcceleration) {
  const PIXELFORMATDESCRIPTOR wanted{.nSize = sizeof(PIXELFORMATDESCRIPTOR),
                                     .nVersion = 1,
                                     .dwFlags = flags,
                                     .iPixelType = PFD_TYPE_RGBA,
                                     .cColorBits = static_cast<BYTE>(mode.GetColorBits()),
                                     .cDepthBits = static_cast<BYTE>(mode.GetDepthBits())};
  int index = dispatch.ChoosePixelFormat(dc, &wanted);
  PIXELFORMATDESCRIPTOR format;
  if (index == 0 || !Describe(dispatch, dc, index, format)) return false;
  if (mode.mHardware == 0 && IsAccelerated(format)) {
    const int software = FindSoftwareFormat(dispatch, mode, dc, flags);
    if (software < 0) return false;
    if (software > 0) index = software;
  }
  if (!Describe(dispatch, dc, index, format)) return false;
  if (requireMatchingAcceleration && IsAccelerated(format) != (mode.mHardware != 0)) return false;
  return dispatch.SetPixelFormat(dc, index, &wanted) && Describe(dispatch, dc, index, format);
}

namespace {

// The context for the window's device context, current on the calling
// thread; null when no format fits or the context cannot be made current.
HGLRC CreateWindowContext(const WinMM3DGLDispatch& dispatch, const MM3DDeviceMode& mode, HDC dc) {
  if (!WinMM3DGLChoosePixelFormat(dispatch, mode, dc, kWindowFlags, true)) return nullptr;
  HGLRC context = dispatch.wglCreateContext(dc);
  if (context != nullptr && !dispatch.wglMakeCurrent(dc, context)) {
    dispatch.wglDeleteContext(context);
    return nullptr;
  }
  return context;
}

}  // namespace

WinMM3DGLDriverAdapter* WinMM3DGLCreateAdapter(const WinMM3DGLDriverInfo& info,
                                               const MM3DDeviceMode& mode, HWND renderWindow,
                                               HWND focusWindow) {
  WinMM3DGLDispatch dispatch(info.mLibrary);
  if (!dispatch.IsLoaded() || !EnterDisplayMode(dispatch, mode)) return nullptr;
  HDC dc = GetDC(renderWindow);
  dispatch.mContext = dc != nullptr ? CreateWindowContext(dispatch, mode, dc) : nullptr;
  if (dispatch.mContext == nullptr) {
    if (dc != nullptr) ReleaseDC(renderWindow, dc);
    LeaveDisplayMode(dispatch, mode);
    return nullptr;
  }
  return new WinMM3DGLDriverAdapter(mode, renderWindow, focusWindow, dc, dispatch);
}

UURefCount<MM3DDriver> WinMM3DGLCreateDriver(const WinMM3DGLDriverInfo& info,
                                             const MM3DDeviceMode& mode, HWND renderWindow,
                                             HWND focusWindow) {
  return UURefCount<MM3DDriver>(WinMM3DGLCreateAdapter(info, mode, renderWindow, focusWindow));
}

WinMM3DGLDriverAdapter::WinMM3DGLDriverAdapter(const MM3DDeviceMode& mode, HWND renderWindow,
                                               HWND focusWindow, HDC renderDC,
                                               const WinMM3DGLDispatch& dispatch)
    : WinMM3DGLDriverBase(mode, dispatch),
      mRenderWindow(renderWindow),
      mFocusWindow(focusWindow),
      mRenderDC(renderDC),
      mDescription(DescriptionOf(mDispatch)) {
  ResetState();
}

WinMM3DGLDriverAdapter::~WinMM3DGLDriverAdapter() {
  LeaveDisplayMode(mDispatch, mMode);
  ReleaseDC(mRenderWindow, mRenderDC);
}

bool WinMM3DGLDriverAdapter::MakeCurrent() {
  return mDispatch.wglMakeCurrent(mRenderDC, mDispatch.mContext) != FALSE;
}

bool WinMM3DGLDriverAdapter::Minimize() {
  if (!IsIconic(mFocusWindow) && !CloseWindow(mFocusWindow)) return false;
  ChangeDisplaySettingsA(nullptr, 0);
  return true;
}

bool WinMM3DGLDriverAdapter::Restore() {
  if (!SetDisplayMode(mMode.mWidth, mMode.mHeight, mMode.GetColorBits())) return false;
  return !IsIconic(mFocusWindow) || OpenIcon(mFocusWindow);
}

void WinMM3DGLDriverAdapter::Present() { mDispatch.SwapBuffers(mRenderDC); }

void WinMM3DGLDriverAdapter::ListDrivers(WinMM3DGLDriverList& list) {
  list = WinMM3DGLDriverList{};
  if (!list.Add(kPrimaryDriver, "OPENGL.DLL")) list.Add(kPrimaryDriver, "OPENGL32.DLL");
  list.Add("3dfx Voodoo-based OpenGL", "3DFXVGL.DLL");
  list.Add("NEC PowerVR-based OpenGL", "PVRGL.DLL");
}
