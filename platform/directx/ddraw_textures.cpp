// Texture surfaces: CPU pixels in the surface's own format while locked,
// converted to red, green, blue, alpha bytes on Unlock, ready for the
// device to upload.

#include "platform/directx/DirectXObjects.h"

#include <bit>
#include <cstring>

namespace vpl::platform {
namespace {

constexpr DWORD kMaxTextureSide = 4096;

// The value of the mask's bits scaled to 0..255; 255 for an empty mask.
uint8_t Channel(uint32_t pixel, uint32_t mask) {
  if (mask == 0) return 255;
  const uint32_t value = (pixel & mask) >> std::countr_zero(mask);
  const uint32_t maximum = mask >> std::countr_zero(mask);
  return static_cast<uint8_t>((value * 255 + maximum / 2) / maximum);
}

bool IsTextureFormat(const DDPIXELFORMAT& format) {
  const DWORD bits = format.dwRGBBitCount;
  return (format.dwFlags & DDPF_RGB) != 0 && (bits == 16 || bits == 24 || bits == 32) &&
         format.dwRBitMask != 0 && format.dwGBitMask != 0 && format.dwBBitMask != 0;
}

}  // namespace

void ConvertRow(const DDPIXELFORMAT& format, const uint8_t* in, int width, uint8_t* out) {
  const size_t bytes = format.dwRGBBitCount / 8;
  const uint32_t alphaMask =
      (format.dwFlags & DDPF_ALPHAPIXELS) != 0 ? format.dwRGBAlphaBitMask : 0;
  for (int x = 0; x < width; ++x, in += bytes, out += 4) {
    uint32_t pixel = 0;
    for (size_t b = 0; b < bytes; ++b) pixel |= static_cast<uint32_t>(in[b]) << (8 * b);
    out[0] = Channel(pixel, format.dwRBitMask);
    out[1] = Channel(pixel, format.dwGBitMask);
    out[2] = Channel(pixel, format.dwBBitMask);
    out[3] = Channel(pixel, alphaMask);
  }
}

DirectDrawTexture::~DirectDrawTexture() {
  if (name == 0 || madeIn == nullptr || owner.mDeviceContext != madeIn) return;
  HGLRC previous = wglGetCurrentContext();
  HDC previousDC = wglGetCurrentDC();
  if (wglMakeCurrent(owner.mDeviceDC, owner.mDeviceContext)) DeleteTextureName(name);
  if (previous != nullptr && previous != madeIn) wglMakeCurrent(previousDC, previous);
}

HRESULT DirectDrawSurface::CreateTexture(DirectDrawObject& owner, const DDSURFACEDESC2& description,
                                         IDirectDrawSurface7** surface) {
  constexpr DWORD kNeeded = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
  const DWORD levels =
      (description.dwFlags & DDSD_MIPMAPCOUNT) != 0 ? description.dwMipMapCount : 1;
  if ((description.dwFlags & kNeeded) != kNeeded || description.dwWidth == 0 ||
      description.dwHeight == 0 || description.dwWidth > kMaxTextureSide ||
      description.dwHeight > kMaxTextureSide || !IsTextureFormat(description.ddpfPixelFormat) ||
      levels == 0 || levels > static_cast<DWORD>(std::bit_width(kMaxTextureSide))) {
    return DDERR_INVALIDPARAMS;
  }
  auto texture = std::make_shared<DirectDrawTexture>(owner);
  texture->hasAlpha = (description.ddpfPixelFormat.dwFlags & DDPF_ALPHAPIXELS) != 0;
  DirectDrawSurface* top = nullptr;
  DirectDrawSurface* previous = nullptr;
  for (DWORD level = 0; level < levels; ++level) {
    DDSURFACEDESC2 made = description;
    made.dwWidth = std::max<DWORD>(1, description.dwWidth >> level);
    made.dwHeight = std::max<DWORD>(1, description.dwHeight >> level);
    made.dwMipMapCount = levels - level;
    made.lPitch = static_cast<LONG>((made.dwWidth * (made.ddpfPixelFormat.dwRGBBitCount / 8) + 3) &
                                    ~DWORD{3});
    auto* levelSurface = new DirectDrawSurface(owner, made);
    levelSurface->mTexture = texture;
    levelSurface->mLevel = level;
    levelSurface->mPixels.assign(static_cast<size_t>(made.lPitch) * made.dwHeight, 0);
    texture->levels.push_back({static_cast<int>(made.dwWidth), static_cast<int>(made.dwHeight),
                               std::vector<uint8_t>(size_t{4} * made.dwWidth * made.dwHeight)});
    if (previous != nullptr) {
      previous->AddAttachedSurface(levelSurface);
      levelSurface->Release();
    } else {
      top = levelSurface;
    }
    previous = levelSurface;
  }

  *surface = top;
  return DD_OK;
}

HRESULT DirectDrawSurface::Lock(RECT* area, DDSURFACEDESC2* description, DWORD, HANDLE) {
  if (!mTexture || area != nullptr || description == nullptr || mLocked) {
    return DDERR_INVALIDPARAMS;
  }
  mLocked = true;
  *description = mDescription;
  description->dwFlags |= DDSD_PITCH | DDSD_LPSURFACE;
  description->lpSurface = mPixels.data();
  return DD_OK;
}

HRESULT DirectDrawSurface::Unlock(RECT*) {
  if (!mLocked) return DDERR_INVALIDPARAMS;
  mLocked = false;
  DirectDrawTexture::Level& level = mTexture->levels[mLevel];
  for (int y = 0; y < level.height; ++y) {
    ConvertRow(mDescription.ddpfPixelFormat,
               mPixels.data() + static_cast<ptrdiff_t>(y) * mDescription.lPitch, level.width,
               level.pixels.data() + static_cast<ptrdiff_t>(y) * level.width * 4);
  }
  level.changed = true;
  return DD_OK;
}

}  // namespace vpl::platform
