// Texture surfaces: CPU pixels in the surface's own format while locked,
// converted to red, green, blue, alpha bytes on Unlock, ready for the
// device to upload.

#include "platform/directx/DirectXObjects.h"

#include <array>
#include <bit>
#include <cstddef>
#include <cstring>

namespace vpl::platform {
namespace {

constexpr DWORD kMaxTextureSide = 4096;

// Reads one channel of a pixel as a byte: the mask's bits shifted down to
// 0..maximum and scaled to 0..255, rounded; 255 for an empty mask. The
// scaled values of a channel of up to eight bits are worked out once, so
// that a texture's pixels cost no division.
class ChannelReader {
 public:
  explicit ChannelReader(uint32_t mask) : mMask(mask) {
    if (mask == 0) return;
    mShift = std::countr_zero(mask);
    mMaximum = mask >> mShift;
    if (!HasTable()) return;
    for (uint32_t value = 0; value <= mMaximum; ++value) mTable[value] = Scale(value);
  }

  uint8_t operator()(uint32_t pixel) const {
    if (mMask == 0) return 255;
    const uint32_t value = (pixel & mMask) >> mShift;
    return HasTable() ? mTable[value] : Scale(value);
  }

 private:
  bool HasTable() const { return mMaximum < mTable.size(); }
  uint8_t Scale(uint32_t value) const {
    return static_cast<uint8_t>((value * 255 + mMaximum / 2) / mMaximum);
  }

  uint32_t mMask;
  int mShift = 0;
  uint32_t mMaximum = 0;
  std::array<uint8_t, 256> mTable{};
};

bool IsTextureFormat(const DDPIXELFORMAT& format) {
  const DWORD bits = format.dwRGBBitCount;
  return (format.dwFlags & DDPF_RGB) != 0 && (bits == 16 || bits == 24 || bits == 32) &&
         format.dwRBitMask != 0 && format.dwGBitMask != 0 && format.dwBBitMask != 0;
}

}  // namespace

void ConvertRows(const DDPIXELFORMAT& format, const uint8_t* in, ptrdiff_t pitch, int width,
                 int height, uint8_t* out) {
  const size_t bytes = format.dwRGBBitCount / 8;
  const uint32_t alphaMask =
      (format.dwFlags & DDPF_ALPHAPIXELS) != 0 ? format.dwRGBAlphaBitMask : 0;
  const ChannelReader red(format.dwRBitMask), green(format.dwGBitMask), blue(format.dwBBitMask),
      alpha(alphaMask);
  for (int y = 0; y < height; ++y, in += pitch) {
    const uint8_t* pixelBytes = in;
    for (int x = 0; x < width; ++x, pixelBytes += bytes, out += 4) {
      uint32_t pixel = 0;
      for (size_t b = 0; b < bytes; ++b) pixel |= static_cast<uint32_t>(pixelBytes[b]) << (8 * b);
      out[0] = red(pixel);
      out[1] = green(pixel);
      out[2] = blue(pixel);
      out[3] = alpha(pixel);
    }
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
  ConvertRows(mDescription.ddpfPixelFormat, mPixels.data(), mDescription.lPitch, level.width,
              level.height, level.pixels.data());
  level.changed = true;
  return DD_OK;
}

}  // namespace vpl::platform
