#pragma once
// Internal to the platform layer: the "DDRAW.DLL" module of the module
// table, and the DirectDraw objects as the Direct3D device sees them.

#include "platform/directx/d3d.h"
#include "platform/opengl/opengl.h"

#include <atomic>
#include <cstddef>
#include <memory>
#include <vector>

namespace vpl::platform {

// Makes DirectDraw usable; false when OpenGL cannot be loaded.
bool OpenDirectDrawLibrary();
// One of the module's functions; null for any other name.
FARPROC LookUpDirectDrawFunction(const char* name);

// Reference counting shared by every object of the family; an object
// deletes itself at its last Release.
template <typename Interface>
class DirectXObject : public Interface {
 public:
  virtual ~DirectXObject() = default;
  ULONG AddRef() override { return ++mReferences; }
  ULONG Release() override {
    const ULONG left = --mReferences;
    if (left == 0) delete this;
    return left;
  }

 private:
  std::atomic<ULONG> mReferences{1};
};

class DirectDrawObject;

// The pixels of a texture surface and its reduced levels as red, green,
// blue, alpha bytes, and the GL texture the device made of them. Unlock
// converts a level here; the device uploads changed levels when it draws,
// with its own context bound, and deletes the GL texture with the last
// surface of the chain.
struct DirectDrawTexture {
  struct Level {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> pixels;
    bool changed = false;
  };
  explicit DirectDrawTexture(DirectDrawObject& madeBy) : owner(madeBy) {}
  ~DirectDrawTexture();

  DirectDrawObject& owner;
  std::vector<Level> levels;
  bool hasAlpha = false;
  GLuint name = 0;
  HGLRC madeIn = nullptr;  // the context that holds the name
};

// Converts rows of a surface's pixel format, pitch bytes apart, into red,
// green, blue, alpha bytes, one row after the other; a format without alpha
// is opaque.
void ConvertRows(const DDPIXELFORMAT& format, const uint8_t* in, ptrdiff_t pitch, int width,
                 int height, uint8_t* out);

// A surface. The primary and back buffers have no pixels of their own: the
// back buffer is the GL default framebuffer of the device made on it.
class DirectDrawSurface : public DirectXObject<IDirectDrawSurface7> {
 public:
  DirectDrawSurface(DirectDrawObject& owner, const DDSURFACEDESC2& description);
  ~DirectDrawSurface() override;

  HRESULT QueryInterface(REFIID iid, void** object) override;
  HRESULT AddAttachedSurface(IDirectDrawSurface7* surface) override;
  HRESULT GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** surface) override;
  HRESULT Blt(RECT* destination, IDirectDrawSurface7* source, RECT* sourceRect, DWORD flags,
              void* effects) override;
  HRESULT Flip(IDirectDrawSurface7* override, DWORD flags) override;
  HRESULT IsLost() override { return DD_OK; }
  HRESULT SetClipper(IDirectDrawClipper* clipper) override;
  HRESULT GetSurfaceDesc(DDSURFACEDESC2* description) override;
  HRESULT Lock(RECT* area, DDSURFACEDESC2* description, DWORD flags, HANDLE event) override;
  HRESULT Unlock(RECT* area) override;

  // Makes a texture surface with its chain of reduced levels.
  static HRESULT CreateTexture(DirectDrawObject& owner, const DDSURFACEDESC2& description,
                               IDirectDrawSurface7** surface);
  // Null unless a texture surface.
  DirectDrawTexture* Texture() const { return mTexture.get(); }

  DWORD Caps() const { return mDescription.ddsCaps.dwCaps; }
  // Depth bits of the attached depth buffer, 0 without one.
  int AttachedDepthBits() const;
  DirectDrawObject& Owner() { return mOwner; }

  // The device drawing into this surface sets its context here, so that
  // presenting can show its framebuffer.
  HDC mDeviceDC = nullptr;
  HGLRC mDeviceContext = nullptr;

 private:
  HRESULT Present();

  DirectDrawObject& mOwner;
  DDSURFACEDESC2 mDescription;
  DirectDrawSurface* mAttached = nullptr;  // back buffer, depth buffer or next level, referenced
  std::shared_ptr<DirectDrawTexture> mTexture;
  size_t mLevel = 0;
  std::vector<uint8_t> mPixels;
  bool mLocked = false;
};

class DirectDrawObject : public DirectXObject<IDirectDraw7> {
 public:
  // A mode it set is given back.
  ~DirectDrawObject() override;
  HRESULT QueryInterface(REFIID iid, void** object) override;
  HRESULT CreateClipper(DWORD flags, IDirectDrawClipper** clipper, IUnknown* outer) override;
  HRESULT CreateSurface(DDSURFACEDESC2* description, IDirectDrawSurface7** surface,
                        IUnknown* outer) override;
  HRESULT GetDeviceIdentifier(DDDEVICEIDENTIFIER2* identifier, DWORD flags) override;
  HRESULT RestoreAllSurfaces() override { return DD_OK; }
  HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;
  HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                         DWORD flags) override;

  // The window given to the cooperative level: the device draws into it.
  HWND Window() const { return mWindow; }

  // The device's context, while one exists, for deleting GL textures.
  HDC mDeviceDC = nullptr;
  HGLRC mDeviceContext = nullptr;

 private:
  HWND mWindow = nullptr;
  bool mModeSet = false;
};

// "DirectDrawCreateEx".
HRESULT DirectDrawCreateEx(GUID* guid, void** object, REFIID iid, IUnknown* outer);
// "DirectDrawEnumerateExA".
HRESULT DirectDrawEnumerateExA(LPDDENUMCALLBACKEXA callback, LPVOID context, DWORD flags);
// The Direct3D object of a DirectDraw object, which it references.
IDirect3D7* CreateDirect3D(DirectDrawObject& directDraw);
// Deletes a GL texture name in the context current on the thread.
void DeleteTextureName(GLuint name);
// The renderer of the thread's GL context, or "OpenGL" without one.
const char* DirectDrawRendererName();

}  // namespace vpl::platform
