#include "platform/directx/d3d.h"
#include "platform/opengl/opengl.h"

#include <gtest/gtest.h>

#include "tests/support/DesktopTestSupport.h"

#include <cstring>
#include <vector>

namespace {

constexpr char kClassName[] = "Direct3DDeviceTestWindow";
constexpr int kSize = 32;
constexpr DWORD kFormat = D3DFVF_XYZ | D3DFVF_DIFFUSE;
constexpr D3DCOLOR kRed = 0xFFFF0000;
constexpr D3DCOLOR kBlue = 0xFF0000FF;
constexpr D3DCOLOR kGreen = 0xFF00FF00;

struct Vertex {
  float x, y, z;
  D3DCOLOR diffuse;
};
static_assert(sizeof(Vertex) == 16);

// A quad of two triangles, clockwise on the screen, at one depth.
std::vector<Vertex> Quad(float left, float bottom, float right, float top, float z,
                         D3DCOLOR color) {
  return {{left, bottom, z, color}, {left, top, z, color},  {right, top, z, color},
          {left, bottom, z, color}, {right, top, z, color}, {right, bottom, z, color}};
}

// Orthographic view of x, y in -1..1 and depth 0 (near) to 2 (far), as
// Direct3D takes it: depth maps to 0..1.
D3DMATRIX SquareView() {
  D3DMATRIX m{};
  m.m[0][0] = 1;
  m.m[1][1] = 1;
  m.m[2][2] = 0.5f;
  m.m[3][3] = 1;
  return m;
}

class Direct3DDeviceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = kClassName;
    RegisterClassA(&windowClass);
    mWindow = CreateWindowExA(0, kClassName, "D3D", WS_POPUP | WS_VISIBLE, 0, 0, kSize, kSize,
                              nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(mWindow, nullptr);
    vpl::test::DrainMessages();
    HMODULE library = LoadLibraryA("DDRAW.DLL");
    ASSERT_NE(library, nullptr);
    auto create =
        reinterpret_cast<LPDIRECTDRAWCREATEEX>(GetProcAddress(library, "DirectDrawCreateEx"));
    ASSERT_NE(create, nullptr);
    ASSERT_EQ(create(nullptr, reinterpret_cast<void**>(&mDirectDraw), IID_IDirectDraw7, nullptr),
              DD_OK);
    ASSERT_EQ(mDirectDraw->SetCooperativeLevel(mWindow, DDSCL_NORMAL | DDSCL_FPUSETUP), DD_OK);
    CreateSurfaces();
    ASSERT_EQ(mDirectDraw->QueryInterface(IID_IDirect3D7, reinterpret_cast<void**>(&mDirect3D)),
              DD_OK);
    ASSERT_EQ(mDirect3D->CreateDevice(IID_IDirect3DHALDevice, mBackBuffer, &mDevice), D3D_OK);
    D3DVIEWPORT7 viewport{0, 0, kSize, kSize, 0.0f, 1.0f};
    ASSERT_EQ(mDevice->SetViewport(&viewport), D3D_OK);
    D3DMATRIX view = SquareView();
    ASSERT_EQ(mDevice->SetTransform(D3DTRANSFORMSTATE_PROJECTION, &view), D3D_OK);
    mDevice->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_CCW);
    mDevice->SetRenderState(D3DRENDERSTATE_ZFUNC, D3DCMP_LESS);
  }

  void CreateSurfaces() {
    DDSURFACEDESC2 primary{.dwSize = sizeof(DDSURFACEDESC2), .dwFlags = DDSD_CAPS};
    primary.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE;
    ASSERT_EQ(mDirectDraw->CreateSurface(&primary, &mPrimary, nullptr), DD_OK);
    DDSURFACEDESC2 back{.dwSize = sizeof(DDSURFACEDESC2),
                        .dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT,
                        .dwHeight = kSize,
                        .dwWidth = kSize};
    back.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_3DDEVICE | DDSCAPS_VIDEOMEMORY;
    ASSERT_EQ(mDirectDraw->CreateSurface(&back, &mBackBuffer, nullptr), DD_OK);
    DDSURFACEDESC2 depth = back;
    depth.dwFlags |= DDSD_PIXELFORMAT;
    depth.ddsCaps.dwCaps = DDSCAPS_ZBUFFER | DDSCAPS_VIDEOMEMORY;
    depth.ddpfPixelFormat = DDPIXELFORMAT{.dwSize = sizeof(DDPIXELFORMAT),
                                          .dwFlags = DDPF_ZBUFFER,
                                          .dwZBufferBitDepth = 16,
                                          .dwZBitMask = 0xFFFF};
    IDirectDrawSurface7* depthBuffer = nullptr;
    ASSERT_EQ(mDirectDraw->CreateSurface(&depth, &depthBuffer, nullptr), DD_OK);
    ASSERT_EQ(mBackBuffer->AddAttachedSurface(depthBuffer), DD_OK);
    depthBuffer->Release();
  }

  void TearDown() override {
    for (IUnknown* object :
         std::initializer_list<IUnknown*>{mDevice, mDirect3D, mBackBuffer, mPrimary, mDirectDraw}) {
      if (object != nullptr) object->Release();
    }
    DestroyWindow(mWindow);
    vpl::test::DrainMessages();
  }

  void Draw(std::vector<Vertex> vertices) {
    ASSERT_EQ(mDevice->DrawPrimitive(D3DPT_TRIANGLELIST, kFormat, vertices.data(),
                                     static_cast<DWORD>(vertices.size()), 0),
              D3D_OK);
  }

  void ClearAll(D3DCOLOR color) {
    D3DRECT all{0, 0, kSize, kSize};
    ASSERT_EQ(mDevice->Clear(1, &all, D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER, color, 1.0f, 0), D3D_OK);
  }

  // A pixel of the back buffer as 0xRRGGBB, x right and y down from the
  // top-left corner.
  uint32_t PixelAt(int x, int y) {
    using ReadPixels = void (*)(GLint, GLint, GLsizei, GLsizei, GLenum, GLenum, void*);
    auto read =
        reinterpret_cast<ReadPixels>(GetProcAddress(LoadLibraryA("OPENGL32.DLL"), "glReadPixels"));
    uint8_t p[4] = {};
    read(x, kSize - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p);
    return (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
  }

  HWND mWindow = nullptr;
  IDirectDraw7* mDirectDraw = nullptr;
  IDirectDrawSurface7* mPrimary = nullptr;
  IDirectDrawSurface7* mBackBuffer = nullptr;
  IDirect3D7* mDirect3D = nullptr;
  IDirect3DDevice7* mDevice = nullptr;
};

TEST_F(Direct3DDeviceTest, DrawsATriangleInItsDiffuseColour) {
  ASSERT_EQ(mDevice->BeginScene(), D3D_OK);
  ClearAll(kBlue);
  Draw({{-1, -1, 1, kRed}, {-1, 1, 1, kRed}, {1, 1, 1, kRed}});
  EXPECT_EQ(PixelAt(2, 8), 0xFF0000u);    // above the diagonal: the triangle
  EXPECT_EQ(PixelAt(28, 24), 0x0000FFu);  // below it: the clear colour
  EXPECT_EQ(mDevice->EndScene(), D3D_OK);
  RECT screen{0, 0, kSize, kSize};
  EXPECT_EQ(mPrimary->Blt(&screen, mBackBuffer, nullptr, DDBLT_WAIT, nullptr), DD_OK);
}

TEST_F(Direct3DDeviceTest, CountsClockwiseTrianglesAsFrontFaces) {
  ClearAll(kBlue);
  // Counter-clockwise on the screen: culled.
  Draw({{-1, -1, 1, kRed}, {1, 1, 1, kRed}, {-1, 1, 1, kRed}});
  EXPECT_EQ(PixelAt(2, 8), 0x0000FFu);
  mDevice->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
  Draw({{-1, -1, 1, kRed}, {1, 1, 1, kRed}, {-1, 1, 1, kRed}});
  EXPECT_EQ(PixelAt(2, 8), 0xFF0000u);
}

// Clip depth runs from 0 to w: a quad on the near plane is drawn, and the
// nearer of two quads wins whichever comes first.
TEST_F(Direct3DDeviceTest, DepthRunsFromZeroAtTheNearPlane) {
  ClearAll(kBlue);
  Draw(Quad(-1, -1, 1, 1, 0.0f, kRed));
  EXPECT_EQ(PixelAt(16, 16), 0xFF0000u);
  ClearAll(kBlue);
  Draw(Quad(-1, -1, 1, 1, 0.5f, kGreen));
  Draw(Quad(-1, -1, 1, 1, 1.5f, kRed));
  EXPECT_EQ(PixelAt(16, 16), 0x00FF00u);
}

// The viewport's origin is the top-left corner; a clear of the viewport
// leaves the rest of the back buffer alone.
TEST_F(Direct3DDeviceTest, ViewportsStartAtTheTopLeftAndBoundClears) {
  ClearAll(kBlue);
  D3DVIEWPORT7 quarter{0, 0, kSize / 2, kSize / 2, 0.0f, 1.0f};
  ASSERT_EQ(mDevice->SetViewport(&quarter), D3D_OK);
  D3DRECT area{0, 0, kSize / 2, kSize / 2};
  ASSERT_EQ(mDevice->Clear(1, &area, D3DCLEAR_TARGET, kGreen, 1.0f, 0), D3D_OK);
  Draw(Quad(0, -1, 1, 0, 1, kRed));  // the bottom-right quarter of the viewport
  EXPECT_EQ(PixelAt(4, 4), 0x00FF00u);
  EXPECT_EQ(PixelAt(12, 12), 0xFF0000u);
  EXPECT_EQ(PixelAt(20, 20), 0x0000FFu);
  EXPECT_EQ(PixelAt(20, 4), 0x0000FFu);
}

TEST_F(Direct3DDeviceTest, AlphaBlendingMixesWithTheBackBuffer) {
  ClearAll(kBlue);
  mDevice->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE);
  mDevice->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
  mDevice->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
  Draw(Quad(-1, -1, 1, 1, 1, 0x80FF0000));
  const uint32_t mixed = PixelAt(16, 16);
  EXPECT_NEAR(static_cast<int>(mixed >> 16), 128, 2);
  EXPECT_NEAR(static_cast<int>(mixed & 0xFF), 127, 2);
}

TEST_F(Direct3DDeviceTest, TheDeviceIdentifierNamesTheRenderer) {
  DDDEVICEIDENTIFIER2 identifier{};
  ASSERT_EQ(mDirectDraw->GetDeviceIdentifier(&identifier, 0), DD_OK);
  EXPECT_GT(std::strlen(identifier.szDescription), 0u);
  EXPECT_EQ(mPrimary->IsLost(), DD_OK);
}

// A 2 x 1 texture, 5-6-5, left texel red and right texel blue, over the
// whole view with coordinates 0..1: the texture replaces the diffuse colour.
TEST_F(Direct3DDeviceTest, TexturesReplaceOrModulateTheDiffuseColour) {
  DDSURFACEDESC2 description{
      .dwSize = sizeof(DDSURFACEDESC2),
      .dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT,
      .dwHeight = 1,
      .dwWidth = 2,
      .ddpfPixelFormat = DDPIXELFORMAT{.dwSize = sizeof(DDPIXELFORMAT), .dwFlags = DDPF_RGB}};
  description.ddpfPixelFormat.dwRGBBitCount = 16;
  description.ddpfPixelFormat.dwRBitMask = 0xF800;
  description.ddpfPixelFormat.dwGBitMask = 0x07E0;
  description.ddpfPixelFormat.dwBBitMask = 0x001F;
  description.ddsCaps.dwCaps = DDSCAPS_TEXTURE;
  IDirectDrawSurface7* texture = nullptr;
  ASSERT_EQ(mDirectDraw->CreateSurface(&description, &texture, nullptr), DD_OK);
  DDSURFACEDESC2 locked{};
  ASSERT_EQ(texture->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), DD_OK);
  const uint16_t texels[2] = {0xF800, 0x001F};
  std::memcpy(locked.lpSurface, texels, sizeof texels);
  ASSERT_EQ(texture->Unlock(nullptr), DD_OK);
  ASSERT_EQ(mDevice->SetTexture(0, texture), D3D_OK);
  texture->Release();  // the device holds it
  mDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
  mDevice->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  mDevice->SetTextureStageState(0, D3DTSS_ADDRESS, D3DTADDRESS_CLAMP);

  struct TexturedVertex {
    float x, y, z;
    D3DCOLOR diffuse;
    float u, v;
  };
  const auto quad = [](D3DCOLOR color) {
    return std::vector<TexturedVertex>{{-1, -1, 1, color, 0, 1}, {-1, 1, 1, color, 0, 0},
                                       {1, 1, 1, color, 1, 0},   {-1, -1, 1, color, 0, 1},
                                       {1, 1, 1, color, 1, 0},   {1, -1, 1, color, 1, 1}};
  };
  ClearAll(0xFF000000);
  std::vector<TexturedVertex> vertices = quad(kGreen);
  constexpr DWORD kTextured = kFormat | (1 << D3DFVF_TEXCOUNT_SHIFT);
  ASSERT_EQ(mDevice->DrawPrimitive(D3DPT_TRIANGLELIST, kTextured, vertices.data(), 6, 0), D3D_OK);
  EXPECT_EQ(PixelAt(4, 16), 0xFF0000u);
  EXPECT_EQ(PixelAt(28, 16), 0x0000FFu);

  mDevice->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
  vertices = quad(0xFF808080);
  ClearAll(0xFF000000);
  ASSERT_EQ(mDevice->DrawPrimitive(D3DPT_TRIANGLELIST, kTextured, vertices.data(), 6, 0), D3D_OK);
  EXPECT_NEAR(static_cast<int>(PixelAt(4, 16) >> 16), 128, 2);
  ASSERT_EQ(mDevice->SetTexture(0, nullptr), D3D_OK);
}

TEST(DirectDrawCreateTest, OnlyThePrimaryDisplayAndTheSeventhInterfaceExist) {
  auto create = reinterpret_cast<LPDIRECTDRAWCREATEEX>(
      GetProcAddress(LoadLibraryA("DDRAW.DLL"), "DirectDrawCreateEx"));
  ASSERT_NE(create, nullptr);
  void* object = nullptr;
  GUID other{1, 2, 3, {4}};
  EXPECT_TRUE(FAILED(create(&other, &object, IID_IDirectDraw7, nullptr)));
  EXPECT_EQ(create(nullptr, &object, IID_IDirect3D7, nullptr), E_NOINTERFACE);
  EXPECT_EQ(object, nullptr);
  EXPECT_EQ(GetProcAddress(LoadLibraryA("DDRAW.DLL"), "DirectDrawEnumerateA"), nullptr);
}

}  // namespace
