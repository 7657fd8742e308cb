#pragma once
// The OpenGL driver that renders into a drawing surface of the framework
// instead of a window, so that a creation can be drawn at a size of its
// own for export, printing and thumbnails while the screen keeps its
// driver. After EndFrame the surface holds the picture.

#include "foundation/uu/UURefCount.h"
#include "mm/drawing/MMSurface.h"
#include "mm3d/drivers/win/WinMM3DGLDriverAdapter.h"

#include <string>

class WinMM3DGLBitmapDriverAdapter : public WinMM3DGLDriverBase {
 public:
  // The dispatch's context is current on the calling thread; the surface
  // outlives the driver.
  WinMM3DGLBitmapDriverAdapter(const MM3DDeviceMode& mode, MMSurface& surface,
                               const WinMM3DGLDispatch& dispatch);

  std::string GetApiName() const override { return {}; }
  std::string GetDescription() const override { return {}; }
  bool MakeCurrent() override;
  bool Minimize() override { return true; }
  bool Restore() override { return true; }
  // Finishes the frame and copies it into the surface's pixels.
  void Present() override;

 private:
  MMSurface& mSurface;
};

// The driver for the surface, or an empty handle when the library, a pixel
// format or the context is missing.
UURefCount<MM3DDriver> WinMM3DGLCreateBitmapDriver(const WinMM3DGLDriverInfo& info,
                                                   const MM3DDeviceMode& mode, MMSurface& surface);
