#pragma once
// The OpenGL 1.1 driver on a window, its entry points taken at run time
// from one driver library: the system's "OPENGL32.DLL" or a vendor's
// stand-alone OpenGL driver. The driver list names the libraries present.

#include "foundation/uu/UURefCount.h"
#include "mm3d/drivers/win/WinMM3DGLDriverBase.h"

#include <cstdint>
#include <string>

struct WinMM3DGLDriverInfo {
  WinMM3DGLDriverInfo() = default;
  // Both texts are cut to fit their fields.
  WinMM3DGLDriverInfo(const char* name, const char* library);

  char mName[kWinMM3DGLNameSize] = "Unknown";
  char mLibrary[kWinMM3DGLNameSize] = "Unknown";
};

constexpr int32_t kWinMM3DGLMaxDrivers = 8;

struct WinMM3DGLDriverList {
  // Appends the driver when its library is there: a file in the program's
  // directory, the current directory or the Windows directory, or a module
  // the platform provides. False when the list is full or it is missing.
  bool Add(const char* name, const char* library);

  int32_t mCount = 0;
  WinMM3DGLDriverInfo mEntries[kWinMM3DGLMaxDrivers];
};

class WinMM3DGLDriverAdapter : public WinMM3DGLDriverBase {
 public:
  // The dispatch's context is current on the calling thread; the device
  // context is the render window's, kept for the driver's life.
  WinMM3DGLDriverAdapter(const MM3DDeviceMode& mode, HWND renderWindow, HWND focusWindow,
                         HDC renderDC, const WinMM3DGLDispatch& dispatch);
  // Gives back the desktop mode of a full-screen driver.
  ~WinMM3DGLDriverAdapter() override;

  std::string GetApiName() const override { return "OpenGL 1.1"; }
  std::string GetDescription() const override { return mDescription; }
  bool MakeCurrent() override;
  bool Minimize() override;
  bool Restore() override;
  void Present() override;

  // The primary driver ("OPENGL.DLL", else "OPENGL32.DLL"), then the vendor
  // drivers whose libraries are there.
  static void ListDrivers(WinMM3DGLDriverList& list);

 private:
  HWND mRenderWindow;
  HWND mFocusWindow;
  HDC mRenderDC;
  std::string mDescription;
};

// The driver for the window, or an empty handle when the library or an
// entry point is missing, the display mode cannot be set, no pixel format
// fits, or the context cannot be made current. Nothing is reported.
UURefCount<MM3DDriver> WinMM3DGLCreateDriver(const WinMM3DGLDriverInfo& info,
                                             const MM3DDeviceMode& mode, HWND renderWindow,
                                             HWND focusWindow);
WinMM3DGLDriverAdapter* WinMM3DGLCreateAdapter(const WinMM3DGLDriverInfo& info,
                                               const MM3DDeviceMode& mode, HWND renderWindow,
                                               HWND focusWindow);

// The pixel-format choice both OpenGL drivers make: the first format the
// library offers for the flags and the mode's bits, or, when the mode asks
// for software and that one is accelerated, the first generic format with
// exactly the mode's bits. Sets it on the device context.
bool WinMM3DGLChoosePixelFormat(const WinMM3DGLDispatch& dispatch, const MM3DDeviceMode& mode,
                                HDC dc, DWORD flags, bool requireMatchingAcceleration);
