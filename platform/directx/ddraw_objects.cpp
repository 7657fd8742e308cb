// DirectDraw over OpenGL: the DirectDraw object, its surfaces and clippers,
// and the "DDRAW.DLL" module. Presenting the back buffer swaps the window
// of the device made on it; nothing is ever lost.

#include "platform/directx/DirectXObjects.h"
#include "platform/opengl/OpenGLLibrary.h"
#include "platform/win32/testhooks.h"

#include <cstdio>
#include <cstring>

namespace vpl::platform {
namespace {

// The adapter's ids, set by tests.
DWORD gVendorId = 0;
DWORD gDeviceId = 0;

// A clipper only remembers its window: presenting always goes to the
// window of the device.
class DirectDrawClipper : public DirectXObject<IDirectDrawClipper> {
 public:
  HRESULT QueryInterface(REFIID, void** object) override {
    if (object != nullptr) *object = nullptr;
    return E_NOINTERFACE;
  }
  HRESULT SetHWnd(DWORD, HWND window) override {
    if (window != nullptr && !IsWindow(window)) return DDERR_INVALIDPARAMS;
    mWindow = window;
    return DD_OK;
  }

 private:
  HWND mWindow = nullptr;
};

bool HasAllCaps(DWORD caps, DWORD wanted) { return (caps & wanted) == wanted; }

}  // namespace

// ---- Surfaces ---------------------------------------------------------------

DirectDrawSurface::DirectDrawSurface(DirectDrawObject& owner, const DDSURFACEDESC2& description)
    : mOwner(owner), mDescription(description) {
  mOwner.AddRef();
}

DirectDrawSurface::~DirectDrawSurface() {
  if (mAttached != nullptr) mAttached->Release();
  mTexture.reset();  // its GL name goes while the owner is still there
  mOwner.Release();
}

HRESULT DirectDrawSurface::QueryInterface(REFIID, void** object) {
  if (object != nullptr) *object = nullptr;
  return E_NOINTERFACE;
}

HRESULT DirectDrawSurface::AddAttachedSurface(IDirectDrawSurface7* surface) {
  auto* attached = static_cast<DirectDrawSurface*>(surface);
  if (attached == nullptr || attached == this || mAttached != nullptr) return DDERR_INVALIDPARAMS;
  attached->AddRef();
  mAttached = attached;
  return DD_OK;
}

HRESULT DirectDrawSurface::GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** surface) {
  if (caps == nullptr || surface == nullptr) return DDERR_INVALIDPARAMS;
  *surface = nullptr;
  if (mAttached == nullptr || !HasAllCaps(mAttached->Caps(), caps->dwCaps)) return DDERR_NOTFOUND;
  mAttached->AddRef();
  *surface = mAttached;
  return DD_OK;
}

int DirectDrawSurface::AttachedDepthBits() const {
  if (mAttached == nullptr || (mAttached->Caps() & DDSCAPS_ZBUFFER) == 0) return 0;
  return static_cast<int>(mAttached->mDescription.ddpfPixelFormat.dwZBufferBitDepth);
}

HRESULT DirectDrawSurface::Present() {
  if (mDeviceContext == nullptr) return DDERR_GENERIC;
  HGLRC previous = wglGetCurrentContext();
  HDC previousDC = wglGetCurrentDC();
  const bool shown = wglMakeCurrent(mDeviceDC, mDeviceContext) && SwapBuffers(mDeviceDC);
  if (previous != nullptr) wglMakeCurrent(previousDC, previous);
  return shown ? DD_OK : DDERR_GENERIC;
}

HRESULT DirectDrawSurface::Blt(RECT*, IDirectDrawSurface7* source, RECT*, DWORD, void*) {
  auto* from = static_cast<DirectDrawSurface*>(source);
  if (from == nullptr || (Caps() & DDSCAPS_PRIMARYSURFACE) == 0) return DDERR_INVALIDPARAMS;
  return from->Present();
}

HRESULT DirectDrawSurface::Flip(IDirectDrawSurface7*, DWORD) {
  if ((Caps() & DDSCAPS_FLIP) == 0 || mAttached == nullptr) return DDERR_INVALIDPARAMS;
  return mAttached->Present();
}

HRESULT DirectDrawSurface::SetClipper(IDirectDrawClipper* clipper) {
  return clipper != nullptr ? DD_OK : DDERR_INVALIDPARAMS;
}

HRESULT DirectDrawSurface::GetSurfaceDesc(DDSURFACEDESC2* description) {
  if (description == nullptr) return DDERR_INVALIDPARAMS;
  *description = mDescription;
  return DD_OK;
}

// ---- The DirectDraw object ------------------------------------------------

HRESULT DirectDrawObject::QueryInterface(REFIID iid, void** object) {
  if (object == nullptr) return DDERR_INVALIDPARAMS;
  *object = nullptr;
  if (IsEqualGUID(iid, IID_IDirectDraw7)) {
    AddRef();
    *object = static_cast<IDirectDraw7*>(this);
  } else if (IsEqualGUID(iid, IID_IDirect3D7)) {
    *object = CreateDirect3D(*this);
  }
  return *object != nullptr ? DD_OK : E_NOINTERFACE;
}

HRESULT DirectDrawObject::CreateClipper(DWORD, IDirectDrawClipper** clipper, IUnknown* outer) {
  if (clipper == nullptr || outer != nullptr) return DDERR_INVALIDPARAMS;
  *clipper = new DirectDrawClipper;
  return DD_OK;
}

HRESULT DirectDrawObject::CreateSurface(DDSURFACEDESC2* description, IDirectDrawSurface7** surface,
                                        IUnknown* outer) {
  if (description == nullptr || surface == nullptr || outer != nullptr) {
    return DDERR_INVALIDPARAMS;
  }
  *surface = nullptr;
  if (mWindow == nullptr) return DDERR_NOCOOPERATIVELEVELSET;
  if ((description->dwFlags & DDSD_CAPS) == 0) return DDERR_INVALIDPARAMS;
  if ((description->ddsCaps.dwCaps & DDSCAPS_TEXTURE) != 0) {
    return DirectDrawSurface::CreateTexture(*this, *description, surface);
  }
  DDSURFACEDESC2 made = *description;
  if ((made.ddsCaps.dwCaps & DDSCAPS_PRIMARYSURFACE) != 0 || (made.dwFlags & DDSD_WIDTH) == 0) {
    RECT client{};
    GetClientRect(mWindow, &client);
    made.dwWidth = static_cast<DWORD>(client.right);
    made.dwHeight = static_cast<DWORD>(client.bottom);
  }
  auto* created = new DirectDrawSurface(*this, made);
  if ((made.dwFlags & DDSD_BACKBUFFERCOUNT) != 0 && made.dwBackBufferCount > 0) {
    DDSURFACEDESC2 back = made;
    back.dwFlags &= ~DDSD_BACKBUFFERCOUNT;
    back.ddsCaps.dwCaps =
        (made.ddsCaps.dwCaps & ~(DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP)) | DDSCAPS_BACKBUFFER;
    auto* backBuffer = new DirectDrawSurface(*this, back);
    created->AddAttachedSurface(backBuffer);
    backBuffer->Release();
  }
  *surface = created;
  return DD_OK;
}

void SetDirectDrawDeviceIds(DWORD vendor, DWORD device) {
  gVendorId = vendor;
  gDeviceId = device;
}

HRESULT DirectDrawObject::GetDeviceIdentifier(DDDEVICEIDENTIFIER2* identifier, DWORD) {
  if (identifier == nullptr) return DDERR_INVALIDPARAMS;
  *identifier = DDDEVICEIDENTIFIER2{};
  identifier->dwVendorId = gVendorId;
  identifier->dwDeviceId = gDeviceId;
  std::snprintf(identifier->szDriver, sizeof identifier->szDriver, "DDRAW.DLL");
  std::snprintf(identifier->szDescription, sizeof identifier->szDescription, "%s",
                DirectDrawRendererName());
  return DD_OK;
}

HRESULT DirectDrawObject::SetCooperativeLevel(HWND window, DWORD flags) {
  const bool fullScreen = (flags & DDSCL_FULLSCREEN) != 0;
  if (window == nullptr || !IsWindow(window) || fullScreen == ((flags & DDSCL_NORMAL) != 0)) {
    return DDERR_INVALIDPARAMS;
  }
  mWindow = window;
  return DD_OK;
}

DirectDrawObject::~DirectDrawObject() {
  if (mModeSet) ChangeDisplaySettingsA(nullptr, 0);
}

// The desktop keeps its mode: the mode is recorded as a full-screen one, so
// that the window of its size is shown scaled to the whole screen.
HRESULT DirectDrawObject::SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD,
                                         DWORD) {
  if (width == 0 || height == 0) return DDERR_INVALIDPARAMS;
  DEVMODEA mode{};
  mode.dmSize = sizeof mode;
  mode.dmFields = DM_BITSPERPEL | DM_PELSWIDTH | DM_PELSHEIGHT;
  mode.dmPelsWidth = width;
  mode.dmPelsHeight = height;
  mode.dmBitsPerPel = bitsPerPixel;
  if (ChangeDisplaySettingsA(&mode, CDS_FULLSCREEN) != DISP_CHANGE_SUCCESSFUL) {
    return DDERR_INVALIDMODE;
  }
  mModeSet = true;
  return DD_OK;
}

HRESULT DirectDrawCreateEx(GUID* guid, void** object, REFIID iid, IUnknown* outer) {
  if (object == nullptr) return DDERR_INVALIDPARAMS;
  *object = nullptr;
  // Only the primary display exists.
  if (guid != nullptr || outer != nullptr) return DDERR_INVALIDPARAMS;
  if (!IsEqualGUID(iid, IID_IDirectDraw7)) return E_NOINTERFACE;
  *object = static_cast<IDirectDraw7*>(new DirectDrawObject);
  return DD_OK;
}

HRESULT DirectDrawEnumerateExA(LPDDENUMCALLBACKEXA callback, LPVOID context, DWORD) {
  if (callback == nullptr) return DDERR_INVALIDPARAMS;
  char description[] = "Primary Display Driver";
  char driverName[] = "display";
  callback(nullptr, description, driverName, context, nullptr);
  return DD_OK;
}

// ---- The module ------------------------------------------------------------

bool OpenDirectDrawLibrary() { return OpenOpenGLLibrary(); }

FARPROC LookUpDirectDrawFunction(const char* name) {
  if (name == nullptr) return nullptr;
  if (std::strcmp(name, "DirectDrawCreateEx") == 0) {
    return reinterpret_cast<FARPROC>(&DirectDrawCreateEx);
  }
  if (std::strcmp(name, "DirectDrawEnumerateExA") == 0) {
    return reinterpret_cast<FARPROC>(&DirectDrawEnumerateExA);
  }
  return nullptr;
}

}  // namespace vpl::platform

bool IsEqualGUID(const GUID& a, const GUID& b) { return std::memcmp(&a, &b, sizeof(GUID)) == 0; }
