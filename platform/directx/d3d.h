#pragma once
// DirectDraw 7 and Direct3D 7, as the system's code calls them: COM-style
// interfaces with reference counts and HRESULTs, implemented over OpenGL on
// the render window. The entry points are never linked: callers load
// "DDRAW.DLL" with LoadLibraryA and look "DirectDrawCreateEx" up with
// GetProcAddress. The back buffer is the window's GL default framebuffer;
// presenting it (primary Blt or Flip) swaps the window. Surfaces are never
// lost. Only the interfaces, methods, structures and constants the system
// uses are here.

#include "platform/win32/kernel.h"
#include "platform/win32/user.h"

#include <cstdint>

using HRESULT = int32_t;
using IID = GUID;
using REFIID = const IID&;
using D3DCOLOR = DWORD;
using D3DVALUE = float;

constexpr bool SUCCEEDED(HRESULT result) { return result >= 0; }
constexpr bool FAILED(HRESULT result) { return result < 0; }

constexpr HRESULT DD_OK = 0;
constexpr HRESULT D3D_OK = 0;
constexpr HRESULT E_NOINTERFACE = static_cast<HRESULT>(0x80004002);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000E);
constexpr HRESULT DDERR_GENERIC = static_cast<HRESULT>(0x80004005);
constexpr HRESULT DDERR_INVALIDPARAMS = static_cast<HRESULT>(0x80070057);
constexpr HRESULT DDERR_NOTFOUND = static_cast<HRESULT>(0x887600FF);
constexpr HRESULT DDERR_SURFACELOST = static_cast<HRESULT>(0x887601C2);
constexpr HRESULT DDERR_NOCOOPERATIVELEVELSET = static_cast<HRESULT>(0x887600D4);
// A display mode the screen cannot show.
constexpr HRESULT DDERR_INVALIDMODE = static_cast<HRESULT>(0x88760078);

// Interface and device identifiers.
constexpr IID IID_IDirectDraw7 = {
    0x15E65EC0, 0x3B9C, 0x11D2, {0xB9, 0x2F, 0x00, 0x60, 0x97, 0x97, 0xEA, 0x5B}};
constexpr IID IID_IDirect3D7 = {
    0xF5049E77, 0x4861, 0x11D2, {0xA4, 0x07, 0x00, 0xA0, 0xC9, 0x06, 0x29, 0xA8}};
constexpr IID IID_IDirect3DHALDevice = {
    0x84E63DE0, 0x46AA, 0x11CF, {0x81, 0x6F, 0x00, 0x00, 0xC0, 0x20, 0x15, 0x6E}};
constexpr IID IID_IDirect3DRGBDevice = {
    0xA4665C60, 0x2673, 0x11CF, {0xA3, 0x1A, 0x00, 0xAA, 0x00, 0xB9, 0x33, 0x56}};
bool IsEqualGUID(const GUID& a, const GUID& b);

// ---- DirectDraw -------------------------------------------------------------

// Cooperative levels.
constexpr DWORD DDSCL_FULLSCREEN = 0x00000001;
constexpr DWORD DDSCL_NORMAL = 0x00000008;
constexpr DWORD DDSCL_EXCLUSIVE = 0x00000010;
constexpr DWORD DDSCL_FPUSETUP = 0x00000800;

// Surface description fields.
constexpr DWORD DDSD_CAPS = 0x00000001;
constexpr DWORD DDSD_HEIGHT = 0x00000002;
constexpr DWORD DDSD_WIDTH = 0x00000004;
constexpr DWORD DDSD_PITCH = 0x00000008;
constexpr DWORD DDSD_BACKBUFFERCOUNT = 0x00000020;
constexpr DWORD DDSD_LPSURFACE = 0x00000800;
constexpr DWORD DDSD_PIXELFORMAT = 0x00001000;
constexpr DWORD DDSD_MIPMAPCOUNT = 0x00020000;

// Surface capabilities.
constexpr DWORD DDSCAPS_BACKBUFFER = 0x00000004;
constexpr DWORD DDSCAPS_COMPLEX = 0x00000008;
constexpr DWORD DDSCAPS_FLIP = 0x00000010;
constexpr DWORD DDSCAPS_OFFSCREENPLAIN = 0x00000040;
constexpr DWORD DDSCAPS_PRIMARYSURFACE = 0x00000200;
constexpr DWORD DDSCAPS_SYSTEMMEMORY = 0x00000800;
constexpr DWORD DDSCAPS_TEXTURE = 0x00001000;
constexpr DWORD DDSCAPS_3DDEVICE = 0x00002000;
constexpr DWORD DDSCAPS_VIDEOMEMORY = 0x00004000;
constexpr DWORD DDSCAPS_ZBUFFER = 0x00020000;
constexpr DWORD DDSCAPS_MIPMAP = 0x00400000;
constexpr DWORD DDSCAPS2_TEXTUREMANAGE = 0x00000010;

constexpr DWORD DDPF_ALPHAPIXELS = 0x00000001;
constexpr DWORD DDPF_RGB = 0x00000040;
constexpr DWORD DDPF_ZBUFFER = 0x00000400;
constexpr DWORD DDLOCK_WAIT = 0x00000001;
constexpr DWORD DDFLIP_WAIT = 0x00000001;
constexpr DWORD DDBLT_WAIT = 0x01000000;

struct DDPIXELFORMAT {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwFourCC;
  union {
    DWORD dwRGBBitCount;
    DWORD dwZBufferBitDepth;
  };
  union {
    DWORD dwRBitMask;
    DWORD dwStencilBitDepth;
  };
  union {
    DWORD dwGBitMask;
    DWORD dwZBitMask;
  };
  DWORD dwBBitMask;
  DWORD dwRGBAlphaBitMask;
};
static_assert(sizeof(DDPIXELFORMAT) == 32);

struct DDSCAPS2 {
  DWORD dwCaps;
  DWORD dwCaps2;
  DWORD dwCaps3;
  DWORD dwCaps4;
};

struct DDSURFACEDESC2 {
  DWORD dwSize;
  DWORD dwFlags;
  DWORD dwHeight;
  DWORD dwWidth;
  LONG lPitch;
  DWORD dwBackBufferCount;
  DWORD dwMipMapCount;
  LPVOID lpSurface;
  DDPIXELFORMAT ddpfPixelFormat;
  DDSCAPS2 ddsCaps;
};

struct DDDEVICEIDENTIFIER2 {
  char szDriver[512];
  char szDescription[512];
  DWORD dwVendorId;
  DWORD dwDeviceId;
};

struct IUnknown {
  virtual HRESULT QueryInterface(REFIID iid, void** object) = 0;
  virtual ULONG AddRef() = 0;
  virtual ULONG Release() = 0;

 protected:
  ~IUnknown() = default;
};

struct IDirectDrawClipper : IUnknown {
  virtual HRESULT SetHWnd(DWORD flags, HWND window) = 0;

 protected:
  ~IDirectDrawClipper() = default;
};

struct IDirectDrawSurface7 : IUnknown {
  virtual HRESULT AddAttachedSurface(IDirectDrawSurface7* surface) = 0;
  virtual HRESULT GetAttachedSurface(DDSCAPS2* caps, IDirectDrawSurface7** surface) = 0;
  // The destination rectangle is in screen coordinates for the primary
  // surface; a null rectangle is the whole surface.
  virtual HRESULT Blt(RECT* destination, IDirectDrawSurface7* source, RECT* sourceRect, DWORD flags,
                      void* effects) = 0;
  virtual HRESULT Flip(IDirectDrawSurface7* override, DWORD flags) = 0;
  virtual HRESULT IsLost() = 0;
  virtual HRESULT SetClipper(IDirectDrawClipper* clipper) = 0;
  virtual HRESULT GetSurfaceDesc(DDSURFACEDESC2* description) = 0;
  // Texture surfaces only: the pixels with their pitch; Unlock hands them
  // to the device.
  virtual HRESULT Lock(RECT* area, DDSURFACEDESC2* description, DWORD flags, HANDLE event) = 0;
  virtual HRESULT Unlock(RECT* area) = 0;

 protected:
  ~IDirectDrawSurface7() = default;
};

struct IDirectDraw7 : IUnknown {
  virtual HRESULT CreateClipper(DWORD flags, IDirectDrawClipper** clipper, IUnknown* outer) = 0;
  virtual HRESULT CreateSurface(DDSURFACEDESC2* description, IDirectDrawSurface7** surface,
                                IUnknown* outer) = 0;
  virtual HRESULT GetDeviceIdentifier(DDDEVICEIDENTIFIER2* identifier, DWORD flags) = 0;
  virtual HRESULT RestoreAllSurfaces() = 0;
  virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
  virtual HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                                 DWORD flags) = 0;

 protected:
  ~IDirectDraw7() = default;
};

// "DirectDrawCreateEx" of "DDRAW.DLL"; a null GUID is the primary display.
using LPDIRECTDRAWCREATEEX = HRESULT (*)(GUID* guid, void** object, REFIID iid, IUnknown* outer);

// "DirectDrawEnumerateExA": reports each device (here the primary display
// only, with a null GUID) until the callback answers FALSE.
constexpr DWORD DDENUM_NONDISPLAYDEVICES = 0x00000004;
using LPDDENUMCALLBACKEXA = BOOL (*)(GUID* guid, LPSTR description, LPSTR driverName,
                                     LPVOID context, HANDLE monitor);
using LPDIRECTDRAWENUMERATEEXA = HRESULT (*)(LPDDENUMCALLBACKEXA callback, LPVOID context,
                                             DWORD flags);

// ---- Direct3D ---------------------------------------------------------------

constexpr DWORD D3DCLEAR_TARGET = 0x00000001;
constexpr DWORD D3DCLEAR_ZBUFFER = 0x00000002;

constexpr DWORD D3DFVF_XYZ = 0x002;
constexpr DWORD D3DFVF_DIFFUSE = 0x040;
constexpr DWORD D3DFVF_TEXCOUNT_MASK = 0xF00;
constexpr DWORD D3DFVF_TEXCOUNT_SHIFT = 8;

enum D3DPRIMITIVETYPE : uint32_t { D3DPT_TRIANGLELIST = 4 };

enum D3DTRANSFORMSTATETYPE : uint32_t {
  D3DTRANSFORMSTATE_WORLD = 1,
  D3DTRANSFORMSTATE_VIEW = 2,
  D3DTRANSFORMSTATE_PROJECTION = 3,
};

enum D3DRENDERSTATETYPE : uint32_t {
  D3DRENDERSTATE_TEXTUREPERSPECTIVE = 4,
  D3DRENDERSTATE_ZENABLE = 7,
  D3DRENDERSTATE_FILLMODE = 8,
  D3DRENDERSTATE_ZWRITEENABLE = 14,
  D3DRENDERSTATE_SRCBLEND = 19,
  D3DRENDERSTATE_DESTBLEND = 20,
  D3DRENDERSTATE_CULLMODE = 22,
  D3DRENDERSTATE_ZFUNC = 23,
  D3DRENDERSTATE_DITHERENABLE = 26,
  D3DRENDERSTATE_ALPHABLENDENABLE = 27,
  D3DRENDERSTATE_SPECULARENABLE = 29,
  D3DRENDERSTATE_LIGHTING = 137,
};

enum D3DCULL : uint32_t { D3DCULL_NONE = 1, D3DCULL_CW = 2, D3DCULL_CCW = 3 };
enum D3DFILLMODE : uint32_t { D3DFILL_WIREFRAME = 2, D3DFILL_SOLID = 3 };
enum D3DCMPFUNC : uint32_t {
  D3DCMP_NEVER = 1,
  D3DCMP_LESS = 2,
  D3DCMP_EQUAL = 3,
  D3DCMP_LESSEQUAL = 4,
  D3DCMP_GREATER = 5,
  D3DCMP_NOTEQUAL = 6,
  D3DCMP_GREATEREQUAL = 7,
  D3DCMP_ALWAYS = 8,
};
enum D3DBLEND : uint32_t {
  D3DBLEND_ZERO = 1,
  D3DBLEND_ONE = 2,
  D3DBLEND_SRCCOLOR = 3,
  D3DBLEND_INVSRCCOLOR = 4,
  D3DBLEND_SRCALPHA = 5,
  D3DBLEND_INVSRCALPHA = 6,
  D3DBLEND_DESTALPHA = 7,
  D3DBLEND_INVDESTALPHA = 8,
  D3DBLEND_DESTCOLOR = 9,
  D3DBLEND_INVDESTCOLOR = 10,
};

enum D3DTEXTURESTAGESTATETYPE : uint32_t {
  D3DTSS_COLOROP = 1,
  D3DTSS_COLORARG1 = 2,
  D3DTSS_COLORARG2 = 3,
  D3DTSS_ALPHAOP = 4,
  D3DTSS_ALPHAARG1 = 5,
  D3DTSS_ALPHAARG2 = 6,
  D3DTSS_TEXCOORDINDEX = 11,
  D3DTSS_ADDRESS = 12,
  D3DTSS_MAGFILTER = 16,
  D3DTSS_MINFILTER = 17,
  D3DTSS_MIPFILTER = 18,
};
enum D3DTEXTUREOP : uint32_t {
  D3DTOP_DISABLE = 1,
  D3DTOP_SELECTARG1 = 2,
  D3DTOP_SELECTARG2 = 3,
  D3DTOP_MODULATE = 4,
};
constexpr DWORD D3DTA_DIFFUSE = 0x00000000;
constexpr DWORD D3DTA_TEXTURE = 0x00000002;
enum D3DTEXTUREADDRESS : uint32_t { D3DTADDRESS_WRAP = 1, D3DTADDRESS_CLAMP = 3 };
enum D3DTEXTUREMAGFILTER : uint32_t { D3DTFG_POINT = 1, D3DTFG_LINEAR = 2 };
enum D3DTEXTUREMINFILTER : uint32_t { D3DTFN_POINT = 1, D3DTFN_LINEAR = 2 };
enum D3DTEXTUREMIPFILTER : uint32_t { D3DTFP_NONE = 1, D3DTFP_POINT = 2, D3DTFP_LINEAR = 3 };

struct D3DRECT {
  LONG x1;
  LONG y1;
  LONG x2;
  LONG y2;
};

// Top-left origin; depth is mapped from [0, 1] to [dvMinZ, dvMaxZ].
struct D3DVIEWPORT7 {
  DWORD dwX;
  DWORD dwY;
  DWORD dwWidth;
  DWORD dwHeight;
  D3DVALUE dvMinZ;
  D3DVALUE dvMaxZ;
};

// Row vectors, translation in the fourth row; clip depth runs from 0 to w.
struct D3DMATRIX {
  D3DVALUE m[4][4];
};

struct IDirect3DDevice7 : IUnknown {
  virtual HRESULT BeginScene() = 0;
  virtual HRESULT EndScene() = 0;
  virtual HRESULT Clear(DWORD count, D3DRECT* rects, DWORD flags, D3DCOLOR color, D3DVALUE z,
                        DWORD stencil) = 0;
  virtual HRESULT SetViewport(D3DVIEWPORT7* viewport) = 0;
  virtual HRESULT SetTransform(D3DTRANSFORMSTATETYPE type, D3DMATRIX* matrix) = 0;
  virtual HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) = 0;
  // Stage 0 only: the device draws with one texture.
  virtual HRESULT SetTexture(DWORD stage, IDirectDrawSurface7* texture) = 0;
  virtual HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state,
                                       DWORD value) = 0;
  // Vertices of the flexible vertex format: x, y, z floats, the diffuse
  // colour as a word (alpha in the top byte, then red, green, blue), then
  // one (u, v) pair per texture-coordinate set.
  virtual HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, DWORD vertexFormat, LPVOID vertices,
                                DWORD vertexCount, DWORD flags) = 0;

 protected:
  ~IDirect3DDevice7() = default;
};

struct IDirect3D7 : IUnknown {
  virtual HRESULT CreateDevice(REFIID type, IDirectDrawSurface7* renderTarget,
                               IDirect3DDevice7** device) = 0;

 protected:
  ~IDirect3D7() = default;
};
