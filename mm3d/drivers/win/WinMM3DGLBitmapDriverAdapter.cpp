#include "mm3d/drivers/win/WinMM3DGLBitmapDriverAdapter.h"

namespace {

constexpr DWORD kBitmapFlags = PFD_DRAW_TO_BITMAP | PFD_SUPPORT_GDI | PFD_SUPPORT_OPENGL;

// Between BeginDraw and EndDraw the surface's device context stays valid.
class SurfaceDrawing {
 public:
  explicit SurfaceDrawing(MMSurface& surface) : mSurface(surface) { mSurface.BeginDraw(); }
  ~SurfaceDrawing() { mSurface.EndDraw(); }
  SurfaceDrawing(const SurfaceDrawing&) = delete;
  SurfaceDrawing& operator=(const SurfaceDrawing&) = delete;

  HDC GetDC() { return mSurface.GetDC(); }

 private:
  MMSurface& mSurface;
};

// The context for the surface, current on the calling thread; null when
// no format fits or the context cannot be made current. The acceleration
// of the format is not held against the mode.
HGLRC CreateBitmapContext(const WinMM3DGLDispatch& dispatch, const MM3DDeviceMode& mode,
                          MMSurface& surface) {
  SurfaceDrawing drawing(surface);
  HDC dc = drawing.GetDC();
  if (dc == nullptr || !WinMM3DGLChoosePixelFormat(dispatch, mode, dc, kBitmapFlags, false)) {
    return nullptr;
  }
  HGLRC context = dispatch.wglCreateContext(dc);
  if (context != nullptr && !dispatch.wglMakeCurrent(dc, context)) {
    dispatch.wglDeleteContext(context);
    return nullptr;
  }
  return context;
}

}  // namespace

UURefCount<MM3DDriver> WinMM3DGLCreateBitmapDriver(const WinMM3DGLDriverInfo& info,
                                                   const MM3DDeviceMode& mode, MMSurface& surface) {
  WinMM3DGLDispatch dispatch(info.mLibrary);
  if (!dispatch.IsLoaded()) return {};
  dispatch.mContext = CreateBitmapContext(dispatch, mode, surface);
  if (dispatch.mContext == nullptr) return {};
  return UURefCount<MM3DDriver>(new WinMM3DGLBitmapDriverAdapter(mode, surface, dispatch));
}

WinMM3DGLBitmapDriverAdapter::WinMM3DGLBitmapDriverAdapter(const MM3DDeviceMode& mode,
                                                           MMSurface& surface,
                                                           const WinMM3DGLDispatch& dispatch)
    : WinMM3DGLDriverBase(mode, dispatch), mSurface(surface) {
  ResetState();
}

bool WinMM3DGLBitmapDriverAdapter::MakeCurrent() {
  SurfaceDrawing drawing(mSurface);
  return mDispatch.wglMakeCurrent(drawing.GetDC(), mDispatch.mContext) != FALSE;
}

void WinMM3DGLBitmapDriverAdapter::Present() {
  mDispatch.glFinish();
  SurfaceDrawing drawing(mSurface);
  mDispatch.SwapBuffers(drawing.GetDC());
}
