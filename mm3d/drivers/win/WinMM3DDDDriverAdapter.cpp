#include "mm3d/drivers/win/WinMM3DDDDriverAdapter.h"

#include "mm3d/drivers/win/WinMM3DDDTriangleBuffer.h"

#include <cstdio>
#include <cstring>

namespace {

constexpr int32_t kTextureSlots = 1024;
constexpr DWORD kRefusedVendor = 0x102B;
constexpr DWORD kRefusedDevices[] = {0x0519, 0x051A, 0x051B, 0x051F};

// "DDRAW.DLL", loaded with the first adapter and unloaded with the last.
HMODULE gLibrary = nullptr;
int32_t gLiveAdapters = 0;

constexpr D3DCMPFUNC kDepthFunctions[] = {D3DCMP_ALWAYS,    D3DCMP_NEVER,   D3DCMP_LESS,
                                          D3DCMP_LESSEQUAL, D3DCMP_GREATER, D3DCMP_GREATEREQUAL,
                                          D3DCMP_EQUAL,     D3DCMP_NOTEQUAL};
constexpr D3DBLEND kBlendFactors[] = {
    D3DBLEND_ZERO,     D3DBLEND_ONE,         D3DBLEND_DESTALPHA, D3DBLEND_INVDESTALPHA,
    D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA, D3DBLEND_DESTCOLOR, D3DBLEND_INVDESTCOLOR,
    D3DBLEND_SRCCOLOR, D3DBLEND_INVSRCCOLOR};

D3DBLEND BlendFactorOf(int32_t code) {
  return code >= 0 && code <= kMM3DBlendInvSourceColor ? kBlendFactors[code] : D3DBLEND_ONE;
}

constexpr D3DMATRIX kIdentity = {{{1, 0, 0, 0}, {0, 1, 0, 0}, {0, 0, 1, 0}, {0, 0, 0, 1}}};

LPDIRECTDRAWCREATEEX CreateEntryOf(HMODULE library) {
  return reinterpret_cast<LPDIRECTDRAWCREATEEX>(GetProcAddress(library, "DirectDrawCreateEx"));
}

bool CreateDirectDraw(const WinMM3DDDDriverDescription& description, WinMM3DDDInterfaces& out) {
  if (gLibrary == nullptr) gLibrary = LoadLibraryA("DDRAW.DLL");
  LPDIRECTDRAWCREATEEX create = gLibrary != nullptr ? CreateEntryOf(gLibrary) : nullptr;
  if (create == nullptr) return false;
  GUID guid = description.mGuid;
  return SUCCEEDED(create(description.mPrimary != 0 ? nullptr : &guid,
                          reinterpret_cast<void**>(&out.mDirectDraw), IID_IDirectDraw7, nullptr));
}

DWORD MemoryCaps(const MM3DDeviceMode& mode) {
  return mode.mHardware != 0 ? DDSCAPS_VIDEOMEMORY : DDSCAPS_SYSTEMMEMORY;
}

bool CreateDepthBuffer(WinMM3DDDInterfaces& out, const MM3DDeviceMode& mode, DWORD width,
                       DWORD height) {
  const DWORD bits = static_cast<DWORD>(mode.GetDepthBits());
  DDSURFACEDESC2 depth{.dwSize = sizeof(DDSURFACEDESC2),
                       .dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT,
                       .dwHeight = height,
                       .dwWidth = width};
  depth.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | MemoryCaps(mode);
  depth.ddpfPixelFormat = DDPIXELFORMAT{.dwSize = sizeof(DDPIXELFORMAT), .dwFlags = DDPF_ZBUFFER};
  depth.ddpfPixelFormat.dwZBufferBitDepth = bits;
  depth.ddpfPixelFormat.dwZBitMask = bits >= 32 ? 0xFFFFFFFF : (DWORD{1} << bits) - 1;
  return SUCCEEDED(out.mDirectDraw->CreateSurface(&depth, &out.mDepthBuffer, nullptr)) &&
         SUCCEEDED(out.mBackBuffer->AddAttachedSurface(out.mDepthBuffer));
}

bool CreateSurfaces(WinMM3DDDInterfaces& out, const MM3DDeviceMode& mode, const RECT& client) {
  DDSURFACEDESC2 primary{.dwSize = sizeof(DDSURFACEDESC2), .dwFlags = DDSD_CAPS};
  DWORD width = static_cast<DWORD>(client.right - client.left);
  DWORD height = static_cast<DWORD>(client.bottom - client.top);
  if (mode.mFullScreen != 0) {
    primary.dwFlags |= DDSD_BACKBUFFERCOUNT;
    primary.dwBackBufferCount = 1;
    primary.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_FLIP | DDSCAPS_COMPLEX |
                             DDSCAPS_3DDEVICE | (mode.mHardware != 0 ? DDSCAPS_VIDEOMEMORY : 0);
    DDSCAPS2 backCaps{DDSCAPS_BACKBUFFER};
    if (FAILED(out.mDirectDraw->CreateSurface(&primary, &out.mPrimary, nullptr)) ||
        FAILED(out.mPrimary->GetAttachedSurface(&backCaps, &out.mBackBuffer))) {
      return false;
    }
    width = static_cast<DWORD>(mode.mWidth);
    height = static_cast<DWORD>(mode.mHeight);
  } else {
    primary.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    DDSURFACEDESC2 back{.dwSize = sizeof(DDSURFACEDESC2),
                        .dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH,
                        .dwHeight = height,
                        .dwWidth = width};
    back.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE | MemoryCaps(mode);
    if (FAILED(out.mDirectDraw->CreateSurface(&primary, &out.mPrimary, nullptr)) ||
        FAILED(out.mDirectDraw->CreateSurface(&back, &out.mBackBuffer, nullptr))) {
      return false;
    }
  }
  return mode.mDepthBufferCode == 0 || CreateDepthBuffer(out, mode, width, height);
}

bool AttachClipper(WinMM3DDDInterfaces& out, HWND renderWindow) {
  IDirectDrawClipper* clipper = nullptr;
  if (FAILED(out.mDirectDraw->CreateClipper(0, &clipper, nullptr))) return false;
  const bool attached =
      SUCCEEDED(clipper->SetHWnd(0, renderWindow)) && SUCCEEDED(out.mPrimary->SetClipper(clipper));
  clipper->Release();
  return attached;
}

bool IsRefusedDevice(IDirectDraw7& directDraw, const MM3DDeviceMode& mode) {
  DDDEVICEIDENTIFIER2 identifier{};
  if (FAILED(directDraw.GetDeviceIdentifier(&identifier, 0))) return true;
  if (mode.mHardware == 0 || identifier.dwVendorId != kRefusedVendor) return false;
  for (DWORD device : kRefusedDevices) {
    if (identifier.dwDeviceId == device) return true;
  }
  return false;
}

// Steps 2 to 9 of the creation; false at the first failing call.
bool CreateDevice(WinMM3DDDInterfaces& out, const MM3DDeviceMode& mode, HWND renderWindow,
                  HWND focusWindow) {
  const bool fullScreen = mode.mFullScreen != 0;
  const DWORD level = fullScreen ? DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE | DDSCL_FPUSETUP
                                 : DDSCL_NORMAL | DDSCL_FPUSETUP;
  if (FAILED(out.mDirectDraw->SetCooperativeLevel(focusWindow, level))) return false;
  RECT client{};
  if (fullScreen) {
    if (FAILED(out.mDirectDraw->SetDisplayMode(static_cast<DWORD>(mode.mWidth),
                                               static_cast<DWORD>(mode.mHeight),
                                               static_cast<DWORD>(mode.GetColorBits()), 0, 0))) {
      return false;
    }
    client = RECT{0, 0, mode.mWidth, mode.mHeight};
  } else if (!GetClientRect(renderWindow, &client)) {
    return false;
  }
  if (FAILED(out.mDirectDraw->QueryInterface(IID_IDirect3D7,
                                             reinterpret_cast<void**>(&out.mDirect3D))) ||
      !CreateSurfaces(out, mode, client) || (!fullScreen && !AttachClipper(out, renderWindow))) {
    return false;
  }
  const IID& type = mode.mHardware != 0 ? IID_IDirect3DHALDevice : IID_IDirect3DRGBDevice;
  if (FAILED(out.mDirect3D->CreateDevice(type, out.mBackBuffer, &out.mDevice))) return false;
  D3DVIEWPORT7 viewport{0,
                        0,
                        static_cast<DWORD>(client.right - client.left),
                        static_cast<DWORD>(client.bottom - client.top),
                        0.0f,
                        1.0f};
  return SUCCEEDED(out.mDevice->SetViewport(&viewport)) && !IsRefusedDevice(*out.mDirectDraw, mode);
}

struct ListContext {
  WinMM3DDDDriverList* list;
  LPDIRECTDRAWCREATEEX create;
};

BOOL AddDevice(GUID* guid, LPSTR description, LPSTR driverName, LPVOID context, HANDLE) {
  auto& adding = *static_cast<ListContext*>(context);
  WinMM3DDDDriverList& list = *adding.list;
  if (list.mCount >= kWinMM3DDDMaxDrivers || adding.create == nullptr) return FALSE;
  IDirectDraw7* probe = nullptr;
  if (FAILED(adding.create(guid, reinterpret_cast<void**>(&probe), IID_IDirectDraw7, nullptr))) {
    return FALSE;
  }
  probe->Release();
  list.mEntries[list.mCount++] = WinMM3DDDDriverDescription(description, driverName, guid);
  return TRUE;
}

}  // namespace

WinMM3DDDDriverDescription::WinMM3DDDDriverDescription(const char* name, const char* driverName,
                                                       const GUID* guid) {
  std::snprintf(mName, sizeof mName, "%s", name != nullptr ? name : "");
  std::snprintf(mDriverName, sizeof mDriverName, "%s", driverName != nullptr ? driverName : "");
  if (guid == nullptr) return;
  mGuid = *guid;
  mPrimary = 0;
}

D3DMATRIX WinMM3DDDProjectionMatrix(const MM3DProjectionVolume& volume) {
  const float n = volume.GetNear();
  const float f = volume.GetFar();
  const float l = volume.GetLeft();
  const float r = volume.GetRight();
  const float b = volume.GetBottom();
  const float t = volume.GetTop();
  D3DMATRIX m{};
  if (volume.IsPerspective()) {
    m.m[0][0] = 2 * n / (r - l);
    m.m[1][1] = 2 * n / (t - b);
    m.m[2][2] = f / (f - n);
    m.m[2][3] = 1;
    m.m[3][2] = -f * n / (f - n);
  } else {
    m.m[0][0] = 2 / (r - l);
    m.m[3][0] = -(r + l) / (r - l);
    m.m[1][1] = 2 / (t - b);
    m.m[3][1] = -(t + b) / (t - b);
    m.m[2][2] = 1 / (f - n);
    m.m[3][2] = -n / (f - n);
    m.m[3][3] = 1;
  }
  return m;
}

WinMM3DDDDriverAdapter* WinMM3DDDCreateAdapter(const WinMM3DDDDriverDescription& description,
                                               const MM3DDeviceMode& mode, HWND renderWindow,
                                               HWND focusWindow) {
  WinMM3DDDInterfaces interfaces;
  if (!CreateDirectDraw(description, interfaces) ||
      !CreateDevice(interfaces, mode, renderWindow, focusWindow)) {
    return nullptr;
  }
  return new (std::nothrow) WinMM3DDDDriverAdapter(mode, renderWindow, interfaces);
}

UURefCount<MM3DDriver> WinMM3DDDCreateDriver(const WinMM3DDDDriverDescription& description,
                                             const MM3DDeviceMode& mode, HWND renderWindow,
                                             HWND focusWindow) {
  return UURefCount<MM3DDriver>(
      WinMM3DDDCreateAdapter(description, mode, renderWindow, focusWindow));
}

WinMM3DDDDriverAdapter::WinMM3DDDDriverAdapter(const MM3DDeviceMode& mode, HWND renderWindow,
                                               const WinMM3DDDInterfaces& interfaces)
    : MM3DDriver(mode),
      mRenderWindow(renderWindow),
      mInterfaces(interfaces),
      mTextures(std::make_unique<WinMM3DDDTextureCollection>(mInterfaces, kTextureSlots)) {
  ++gLiveAdapters;
  D3DMATRIX identity = kIdentity;
  for (D3DTRANSFORMSTATETYPE type :
       {D3DTRANSFORMSTATE_WORLD, D3DTRANSFORMSTATE_VIEW, D3DTRANSFORMSTATE_PROJECTION}) {
    mInterfaces.mDevice->SetTransform(type, &identity);
  }
  SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
  SetRenderState(D3DRENDERSTATE_SPECULARENABLE, FALSE);
  DDDEVICEIDENTIFIER2 identifier{};
  if (SUCCEEDED(mInterfaces.mDirectDraw->GetDeviceIdentifier(&identifier, 0))) {
    mDescription.assign(identifier.szDescription,
                        strnlen(identifier.szDescription, kWinMM3DDDNameSize - 1));
  }
  ResetState();
}

WinMM3DDDDriverAdapter::~WinMM3DDDDriverAdapter() {
  if (!mTexture.IsEmpty()) {
    mTexture.Release();
    mTextures->Unselect();
  }
  // The textures go before the device they were made for.
  mTextures.reset();
  mInterfaces.Release();
  if (--gLiveAdapters == 0 && gLibrary != nullptr) {
    FreeLibrary(gLibrary);
    gLibrary = nullptr;
  }
}

void WinMM3DDDDriverAdapter::SetRenderState(D3DRENDERSTATETYPE state, DWORD value) {
  mInterfaces.mDevice->SetRenderState(state, value);
}

void WinMM3DDDDriverAdapter::BeginScene() {
  if (mInterfaces.mPrimary->IsLost() == DDERR_SURFACELOST) {
    mInterfaces.mDirectDraw->RestoreAllSurfaces();
  }
  mInterfaces.mDevice->BeginScene();
}

// The whole target, as on OpenGL: a frame whose last view is smaller than
// the stage must not keep the last frame's pixels around it.
void WinMM3DDDDriverAdapter::Clear() {
  DDSURFACEDESC2 target{.dwSize = sizeof(DDSURFACEDESC2)};
  if (FAILED(mInterfaces.mBackBuffer->GetSurfaceDesc(&target))) return;
  D3DRECT area{0, 0, static_cast<LONG>(target.dwWidth), static_cast<LONG>(target.dwHeight)};
  const MM3DClearColor& c = mClearColor;
  const D3DCOLOR color = static_cast<D3DCOLOR>(c.mAlpha) << 24 |
                         static_cast<D3DCOLOR>(c.mRed) << 16 |
                         static_cast<D3DCOLOR>(c.mGreen) << 8 | c.mBlue;
  const DWORD flags = D3DCLEAR_TARGET | (mMode.mDepthBufferCode != 0 ? D3DCLEAR_ZBUFFER : 0);
  mInterfaces.mDevice->Clear(1, &area, flags, color, 1.0f, 0);
}

void WinMM3DDDDriverAdapter::Present() {
  mInterfaces.mDevice->EndScene();
  if (mMode.mFullScreen != 0) {
    mInterfaces.mPrimary->Flip(nullptr, DDFLIP_WAIT);
    return;
  }
  RECT client{};
  GetClientRect(mRenderWindow, &client);
  POINT topLeft{client.left, client.top};
  POINT bottomRight{client.right, client.bottom};
  ClientToScreen(mRenderWindow, &topLeft);
  ClientToScreen(mRenderWindow, &bottomRight);
  RECT screen{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
  mInterfaces.mPrimary->Blt(&screen, mInterfaces.mBackBuffer, nullptr, DDBLT_WAIT, nullptr);
}

void WinMM3DDDDriverAdapter::SetCullMode(int32_t mode) {
  SetRenderState(D3DRENDERSTATE_CULLMODE, mode == kMM3DCullNone        ? D3DCULL_NONE
                                          : mode == kMM3DCullClockwise ? D3DCULL_CW
                                                                       : D3DCULL_CCW);
}

void WinMM3DDDDriverAdapter::SetFillMode(int32_t mode) {
  SetRenderState(D3DRENDERSTATE_FILLMODE,
                 mode == kMM3DFillSolid ? D3DFILL_SOLID : D3DFILL_WIREFRAME);
}

void WinMM3DDDDriverAdapter::SetDepthMode(int32_t mode) {
  const bool test = mode == kMM3DDepthTestOnly || mode == kMM3DDepthTestAndWrite;
  const bool write = mode == kMM3DDepthTestAndWrite || mode == kMM3DDepthWriteOnly;
  SetRenderState(D3DRENDERSTATE_ZENABLE, test ? TRUE : FALSE);
  SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, write ? TRUE : FALSE);
}

void WinMM3DDDDriverAdapter::SetDepthFunction(int32_t function) {
  const bool known = function >= kMM3DDepthAlways && function <= kMM3DDepthNotEqual;
  SetRenderState(D3DRENDERSTATE_ZFUNC, known ? kDepthFunctions[function] : D3DCMP_ALWAYS);
}

void WinMM3DDDDriverAdapter::SetBlending(int32_t opaque) {
  SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, opaque == kMM3DBlendingOn ? TRUE : FALSE);
}

void WinMM3DDDDriverAdapter::SetBlendFactors(int32_t source, int32_t destination) {
  SetRenderState(D3DRENDERSTATE_SRCBLEND, BlendFactorOf(source));
  SetRenderState(D3DRENDERSTATE_DESTBLEND, BlendFactorOf(destination));
}

void WinMM3DDDDriverAdapter::SetPerspectiveHint(int32_t hint) {
  SetRenderState(D3DRENDERSTATE_TEXTUREPERSPECTIVE, hint == 0 ? TRUE : FALSE);
}

void WinMM3DDDDriverAdapter::SetDithering(int32_t dithering) {
  SetRenderState(D3DRENDERSTATE_DITHERENABLE, dithering == 0 ? TRUE : FALSE);
}

void WinMM3DDDDriverAdapter::SendViewport(const UURect& viewport, const MM3DDepthRange& range) {
  D3DVIEWPORT7 sent{static_cast<DWORD>(viewport.mLeft),
                    static_cast<DWORD>(viewport.mTop),
                    static_cast<DWORD>(viewport.mRight - viewport.mLeft),
                    static_cast<DWORD>(viewport.mBottom - viewport.mTop),
                    range.mNear,
                    range.mFar};
  mInterfaces.mDevice->SetViewport(&sent);
}

void WinMM3DDDDriverAdapter::SetViewport(const UURect& viewport) {
  SendViewport(viewport, mDepthRange);
}

void WinMM3DDDDriverAdapter::SetDepthRange(const MM3DDepthRange& range) {
  SendViewport(mViewport, range);
}

void WinMM3DDDDriverAdapter::SetProjection(const MM3DProjectionVolume& volume) {
  D3DMATRIX matrix = WinMM3DDDProjectionMatrix(volume);
  mInterfaces.mDevice->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &matrix);
}

void WinMM3DDDDriverAdapter::SetViewMatrix(const MM3DMatrix& matrix) {
  D3DMATRIX world{};
  for (int r = 0; r < 4; ++r) {
    for (int c = 0; c < 3; ++c) world.m[r][c] = matrix.mElement[r][c];
    world.m[r][3] = r == 3 ? 1.0f : 0.0f;
  }
  mInterfaces.mDevice->SetTransform(D3DTRANSFORMSTATE_WORLD, &world);
}

MM3DTriangleBuffer* WinMM3DDDDriverAdapter::CreateTriangleBuffer(int32_t capacity,
                                                                 int32_t texCoordSets) {
  return WinMM3DDDTriangleBuffer::Create(capacity, texCoordSets);
}

void WinMM3DDDDriverAdapter::DrawTriangleBuffer(const MM3DRenderStateBlock& block,
                                                MM3DTriangleBuffer& buffer, int32_t first,
                                                int32_t count) {
  auto* triangles = dynamic_cast<WinMM3DDDTriangleBuffer*>(&buffer);
  if (triangles == nullptr || !triangles->HoldsRange(first, count)) return;
  for (int32_t stage = 0; stage < block.mStageCount && stage < kMM3DMaxStages; ++stage) {
    block.ApplyStage(*this, stage);
    mInterfaces.mDevice->SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, static_cast<DWORD>(stage));
    mInterfaces.mDevice->DrawPrimitive(D3DPT_TRIANGLELIST, triangles->GetVertexFormat(),
                                       triangles->VerticesOf(first), static_cast<DWORD>(3 * count),
                                       0);
  }
}

void WinMM3DDDDriverAdapter::ListDrivers(WinMM3DDDDriverList& list) {
  list = WinMM3DDDDriverList{};
  list.mLibrary = LoadLibraryA("DDRAW.DLL");
  if (list.mLibrary == nullptr) return;
  auto enumerate = reinterpret_cast<LPDIRECTDRAWENUMERATEEXA>(
      GetProcAddress(list.mLibrary, "DirectDrawEnumerateExA"));
  ListContext context{&list, CreateEntryOf(list.mLibrary)};
  if (enumerate != nullptr) enumerate(&AddDevice, &context, DDENUM_NONDISPLAYDEVICES);
  FreeLibrary(list.mLibrary);
  list.mLibrary = nullptr;
}
