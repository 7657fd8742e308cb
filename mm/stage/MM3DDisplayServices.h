#pragma once
// What the stage, the 3D act and the 3D display-mode strategy use of the 3D
// engine. The engine lives in a layer above this one: it implements these
// interfaces and registers its factory at start-up. Without a factory no 3D
// display can be built, and the 3D strategy fails as it fails when no driver
// can be started.

#include <cstdint>
#include <cstring>

#include "foundation/uu/UURefCount.h"
#include "platform/win32/user.h"

class MM3DDriver {
 public:
  virtual ~MM3DDriver() = default;
  // True between Resume and Suspend.
  virtual bool IsActive() const = 0;
  // Leaves the driver's full-screen display mode and clears the flag.
  virtual void Suspend() = 0;
  // Restores the driver's display mode and sets the flag; answers success.
  virtual bool Resume() = 0;
};

class MM3DRenderer {
 public:
  virtual ~MM3DRenderer() = default;
  // Opens a frame: the driver's frame begins and the target is cleared.
  virtual void BeginFrame() = 0;
  // Draws what the frame collected; the driver presents.
  virtual void EndFrame() = 0;
};

class MM3DPipeline {
 public:
  virtual ~MM3DPipeline() = default;
};

// The choice of texture formats for a driver.
class MM3DDriverTextureStrategy {
 public:
  virtual ~MM3DDriverTextureStrategy() = default;
};

// The cache of driver textures of one 3D display.
class MM3DDriverTextureMap {
 public:
  virtual ~MM3DDriverTextureMap() = default;
  // When either changes, every entry's driver texture is released first.
  virtual void SetDriver(const UURefCount<MM3DDriver>& driver,
                         MM3DDriverTextureStrategy* strategy) = 0;
  // Creates the driver texture of every entry that lacks one.
  virtual void LoadAll() = 0;
};

// The device mode asked of a driver; colour-depth and depth-buffer code 0
// mean 16 bits.
struct MM3DDeviceMode {
  MM3DDeviceMode(int32_t width, int32_t height, const int32_t& colorDepth, uint8_t option1,
                 uint8_t option2)
      : mWidth(width),
        mHeight(height),
        mOption1(option1),
        mOption2(option2),
        mColorDepth(colorDepth) {}

  int32_t mWidth;
  int32_t mHeight;
  uint8_t mOption1;
  uint8_t mOption2;
  int32_t mColorDepth;
  int32_t mDepthBuffer = 0;
};

// Copies a text into a fixed field, cut to fit and always terminated.
template <size_t N>
void MMCopyDriverText(char (&field)[N], const char* text) {
  std::strncpy(field, text != nullptr ? text : "", N - 1);
  field[N - 1] = '\0';
}

struct WinMM3DGLDriverInfo {
  WinMM3DGLDriverInfo(const char* name, const char* libraryName) {
    MMCopyDriverText(mName, name);
    MMCopyDriverText(mLibraryName, libraryName);
  }
  char mName[256];
  char mLibraryName[256];
};

// A null device GUID means the primary display device.
struct WinMM3DDDDriverInfo {
  WinMM3DDDDriverInfo(const char* description, const char* name, const GUID* device) {
    MMCopyDriverText(mDescription, description);
    MMCopyDriverText(mName, name);
    mHasDevice = device != nullptr;
    if (mHasDevice) mDevice = *device;
  }
  char mDescription[256];
  char mName[256];
  bool mHasDevice;
  GUID mDevice{};
};

// What the 3D engine builds for a display. The driver creators answer an
// empty handle when the driver cannot be started on the window.
class MM3DDisplayFactory {
 public:
  virtual ~MM3DDisplayFactory() = default;
  virtual UURefCount<MM3DDriver> CreateGLDriver(const WinMM3DGLDriverInfo& info,
                                                const MM3DDeviceMode& mode, HWND drawingWindow,
                                                HWND topLevelWindow) = 0;
  virtual UURefCount<MM3DDriver> CreateDDDriver(const WinMM3DDDDriverInfo& info,
                                                const MM3DDeviceMode& mode, HWND drawingWindow,
                                                HWND topLevelWindow) = 0;
  virtual MM3DRenderer* CreateStandardRenderer(const UURefCount<MM3DDriver>& driver) = 0;
  virtual MM3DPipeline* CreateStandardPipeline() = 0;
  virtual MM3DDriverTextureStrategy* CreateStandardTextureStrategy() = 0;
  virtual MM3DDriverTextureMap* CreateTextureMap() = 0;
};

// Not owned; null until the 3D engine registers itself.
void MMSet3DDisplayFactory(MM3DDisplayFactory* factory);
MM3DDisplayFactory* MMGet3DDisplayFactory();
