#include "platform/directx/DirectXObjects.h"
#include "platform/directx/d3d.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

using vpl::platform::ConvertRows;

DDPIXELFORMAT Format(DWORD flags, DWORD bits, DWORD red, DWORD green, DWORD blue, DWORD alpha) {
  DDPIXELFORMAT format{.dwSize = sizeof(DDPIXELFORMAT), .dwFlags = flags};
  format.dwRGBBitCount = bits;
  format.dwRBitMask = red;
  format.dwGBitMask = green;
  format.dwBBitMask = blue;
  format.dwRGBAlphaBitMask = alpha;
  return format;
}

TEST(DirectDrawTextureTest, TexelsOfEveryFormatBecomeRedGreenBlueAlpha) {
  constexpr DWORD kRgbAlpha = DDPF_RGB | DDPF_ALPHAPIXELS;
  struct Case {
    DDPIXELFORMAT format;
    std::vector<uint8_t> texel;
    uint8_t expected[4];
  };
  const Case cases[] = {
      {Format(DDPF_RGB, 16, 0xF800, 0x07E0, 0x001F, 0), {0x1F, 0xF8}, {255, 0, 255, 255}},
      {Format(kRgbAlpha, 16, 0x0F00, 0x00F0, 0x000F, 0xF000), {0x0F, 0x8F}, {255, 0, 255, 136}},
      {Format(kRgbAlpha, 16, 0x7C00, 0x03E0, 0x001F, 0x8000), {0xE0, 0x03}, {0, 255, 0, 0}},
      {Format(DDPF_RGB, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0),
       {0x30, 0x20, 0x10},
       {16, 32, 48, 255}},
      {Format(kRgbAlpha, 32, 0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000),
       {0x30, 0x20, 0x10, 0x80},
       {16, 32, 48, 128}},
  };
  for (const Case& c : cases) {
    uint8_t out[4] = {};
    ConvertRows(c.format, c.texel.data(), 0, 1, 1, out);
    EXPECT_EQ(std::memcmp(out, c.expected, 4), 0)
        << c.format.dwRGBBitCount << " bits: " << int{out[0]} << "," << int{out[1]} << ","
        << int{out[2]} << "," << int{out[3]};
  }
}

// A channel of n bits is scaled from 0..2^n - 1 to 0..255, rounded, for
// every texel of the 16-bit formats (one row of all 65536), and for
// channels of more than eight bits in 32-bit ones.
TEST(DirectDrawTextureTest, EveryTexelScalesEachChannelRounded) {
  constexpr DWORD kRgbAlpha = DDPF_RGB | DDPF_ALPHAPIXELS;
  const DDPIXELFORMAT formats[] = {
      Format(DDPF_RGB, 16, 0xF800, 0x07E0, 0x001F, 0),
      Format(kRgbAlpha, 16, 0x0F00, 0x00F0, 0x000F, 0xF000),
      Format(kRgbAlpha, 16, 0x7C00, 0x03E0, 0x001F, 0x8000),
      Format(kRgbAlpha, 32, 0x3FF00000, 0x000FFC00, 0x000003FF, 0xC0000000),
  };
  const auto scaled = [](uint32_t texel, DWORD mask) {
    if (mask == 0) return 255u;
    const uint32_t shift = static_cast<uint32_t>(__builtin_ctz(mask));
    const uint32_t maximum = mask >> shift;
    return (((texel & mask) >> shift) * 255 + maximum / 2) / maximum;
  };
  for (const DDPIXELFORMAT& format : formats) {
    const DWORD bytes = format.dwRGBBitCount / 8;
    constexpr uint32_t kTexels = 65536;
    std::vector<uint8_t> texels(kTexels * bytes);
    for (uint32_t t = 0; t < kTexels; ++t) {
      // Spread the 16 bits over the whole texel of a wider format.
      const uint32_t texel = bytes == 2 ? t : t * 0x10001u;
      std::memcpy(&texels[t * bytes], &texel, bytes);
    }
    std::vector<uint8_t> out(kTexels * 4);
    ConvertRows(format, texels.data(), 0, kTexels, 1, out.data());
    for (uint32_t t = 0; t < kTexels; ++t) {
      const uint32_t texel = bytes == 2 ? t : t * 0x10001u;
      const DWORD masks[] = {format.dwRBitMask, format.dwGBitMask, format.dwBBitMask,
                             format.dwRGBAlphaBitMask};
      for (size_t c = 0; c < 4; ++c) {
        ASSERT_EQ(out[t * 4 + c], scaled(texel, masks[c]))
            << format.dwRGBBitCount << " bits, texel " << texel << ", channel " << c;
      }
    }
  }
}

class DirectDrawTextureSurfaceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.lpszClassName = "DirectDrawTextureTestWindow";
    RegisterClassA(&windowClass);
    mWindow = CreateWindowExA(0, windowClass.lpszClassName, "D3D", WS_POPUP, 0, 0, 8, 8, nullptr,
                              nullptr, nullptr, nullptr);
    ASSERT_NE(mWindow, nullptr);
    ASSERT_EQ(vpl::platform::DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&mDirectDraw),
                                                IID_IDirectDraw7, nullptr),
              DD_OK);
    ASSERT_EQ(mDirectDraw->SetCooperativeLevel(mWindow, DDSCL_NORMAL), DD_OK);
  }
  void TearDown() override {
    mDirectDraw->Release();
    DestroyWindow(mWindow);
  }

  HWND mWindow = nullptr;
  IDirectDraw7* mDirectDraw = nullptr;
};

TEST_F(DirectDrawTextureSurfaceTest, MipChainsHalveDownToTheirLastLevel) {
  DDSURFACEDESC2 description{
      .dwSize = sizeof(DDSURFACEDESC2),
      .dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT | DDSD_MIPMAPCOUNT,
      .dwHeight = 64,
      .dwWidth = 256,
      .dwMipMapCount = 7,
      .ddpfPixelFormat = Format(DDPF_RGB, 16, 0xF800, 0x07E0, 0x001F, 0)};
  description.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_MIPMAP | DDSCAPS_COMPLEX;
  IDirectDrawSurface7* level = nullptr;
  ASSERT_EQ(mDirectDraw->CreateSurface(&description, &level, nullptr), DD_OK);
  int levels = 0;
  DDSURFACEDESC2 last{};
  while (level != nullptr) {
    ++levels;
    DDSURFACEDESC2 locked{};
    ASSERT_EQ(level->Lock(nullptr, &locked, DDLOCK_WAIT, nullptr), DD_OK);
    EXPECT_GE(locked.lPitch, static_cast<LONG>(locked.dwWidth * 2));
    ASSERT_EQ(level->Unlock(nullptr), DD_OK);
    level->GetSurfaceDesc(&last);
    DDSCAPS2 caps{DDSCAPS_TEXTURE | DDSCAPS_MIPMAP};
    IDirectDrawSurface7* next = nullptr;
    level->GetAttachedSurface(&caps, &next);
    level->Release();
    level = next;
  }
  EXPECT_EQ(levels, 7);
  EXPECT_EQ(last.dwWidth, 4u);
  EXPECT_EQ(last.dwHeight, 1u);
}

TEST_F(DirectDrawTextureSurfaceTest, BadTextureDescriptionsAreRefused) {
  DDSURFACEDESC2 description{.dwSize = sizeof(DDSURFACEDESC2),
                             .dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT,
                             .dwHeight = 8,
                             .dwWidth = 8,
                             .ddpfPixelFormat = Format(DDPF_RGB, 12, 0xF00, 0xF0, 0xF, 0)};
  description.ddsCaps.dwCaps = DDSCAPS_TEXTURE;
  IDirectDrawSurface7* surface = nullptr;
  EXPECT_EQ(mDirectDraw->CreateSurface(&description, &surface, nullptr), DDERR_INVALIDPARAMS);
  description.ddpfPixelFormat = Format(DDPF_RGB, 16, 0xF800, 0x07E0, 0x001F, 0);
  description.dwWidth = 0;
  EXPECT_EQ(mDirectDraw->CreateSurface(&description, &surface, nullptr), DDERR_INVALIDPARAMS);
  EXPECT_EQ(surface, nullptr);
}

}  // namespace
