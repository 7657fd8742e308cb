#include "mm3d/drivers/win/WinMM3DDDTextureCollection.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

struct FormatMasks {
  DWORD flags;
  DWORD bits;
  DWORD red;
  DWORD green;
  DWORD blue;
  DWORD alpha;
};

// By format code, from 1.
constexpr FormatMasks kFormats[] = {
    {DDPF_RGB, 16, 0xF800, 0x07E0, 0x001F, 0},
    {DDPF_RGB | DDPF_ALPHAPIXELS, 16, 0x0F00, 0x00F0, 0x000F, 0xF000},
    {DDPF_RGB | DDPF_ALPHAPIXELS, 16, 0x7C00, 0x03E0, 0x001F, 0x8000},
    {DDPF_RGB, 24, 0xFF0000, 0x00FF00, 0x0000FF, 0},
    {DDPF_RGB | DDPF_ALPHAPIXELS, 32, 0xFF0000, 0x00FF00, 0x0000FF, 0xFF000000},
};

bool IsKnownFormat(int32_t code) {
  return code >= kMM3DTextureRgb565 && code <= kMM3DTextureArgb8888;
}

DDPIXELFORMAT PixelFormatOf(int32_t code) {
  const FormatMasks& masks = kFormats[code - 1];
  DDPIXELFORMAT format{.dwSize = sizeof(DDPIXELFORMAT), .dwFlags = masks.flags};
  format.dwRGBBitCount = masks.bits;
  format.dwRBitMask = masks.red;
  format.dwGBitMask = masks.green;
  format.dwBBitMask = masks.blue;
  format.dwRGBAlphaBitMask = masks.alpha;
  return format;
}

template <int32_t kCode>
uint32_t Texel(const uint8_t* rgba) {
  const uint32_t r = rgba[0], g = rgba[1], b = rgba[2], a = rgba[3];
  if constexpr (kCode == kMM3DTextureRgb565) {
    return (r >> 3) << 11 | (g >> 2) << 5 | (b >> 3);
  } else if constexpr (kCode == kMM3DTextureArgb4444) {
    return (a >> 4) << 12 | (r >> 4) << 8 | (g >> 4) << 4 | (b >> 4);
  } else if constexpr (kCode == kMM3DTextureArgb1555) {
    return (a >> 7) << 15 | (r >> 3) << 10 | (g >> 3) << 5 | (b >> 3);
  } else if constexpr (kCode == kMM3DTextureRgb888) {
    return r << 16 | g << 8 | b;
  } else {
    return a << 24 | r << 16 | g << 8 | b;
  }
}

// The format is known at compile time, so that a pixel costs no switch.
template <int32_t kCode>
void WriteRow(const uint8_t* pixels, ptrdiff_t step, int32_t width, uint8_t* out) {
  constexpr DWORD kBytes = kFormats[kCode - 1].bits / 8;
  for (int32_t x = 0; x < width; ++x, pixels += step, out += kBytes) {
    const uint32_t texel = Texel<kCode>(pixels);
    for (DWORD i = 0; i < kBytes; ++i) out[i] = static_cast<uint8_t>(texel >> (8 * i));
  }
}

using RowWriter = void (*)(const uint8_t* pixels, ptrdiff_t step, int32_t width, uint8_t* out);

// By format code, from 1.
constexpr RowWriter kRowWriters[] = {&WriteRow<kMM3DTextureRgb565>, &WriteRow<kMM3DTextureArgb4444>,
                                     &WriteRow<kMM3DTextureArgb1555>, &WriteRow<kMM3DTextureRgb888>,
                                     &WriteRow<kMM3DTextureArgb8888>};

// Locks the level, converts the image into it row by row, unlocks.
bool Fill(IDirectDrawSurface7& level, int32_t code, const MM3DDriverTextureImage& image) {
  DDSURFACEDESC2 locked{.dwSize = sizeof(DDSURFACEDESC2)};
  if (FAILED(level.Lock(nullptr, &locked, DDLOCK_WAIT, nullptr))) return false;
  for (int32_t y = 0; y < image.GetHeight(); ++y) {
    WinMM3DDDWriteTexels(
        code, image.PixelAddress(0, y), image.BytesPerPixel(), image.GetWidth(),
        static_cast<uint8_t*>(locked.lpSurface) + static_cast<ptrdiff_t>(y) * locked.lPitch);
  }
  return SUCCEEDED(level.Unlock(nullptr));
}

// Fills the reduced levels below the top one with box-filtered images.
bool FillMipLevels(IDirectDrawSurface7* top, int32_t code, const MM3DDriverTextureImage& image) {
  int32_t width = image.GetWidth();
  int32_t height = image.GetHeight();
  IDirectDrawSurface7* level = top;
  level->AddRef();
  bool filled = true;
  while (filled && width > 1 && height > 1) {
    width = std::max(1, width / 2);
    height = std::max(1, height / 2);
    auto pixels = std::unique_ptr<uint8_t[]>(
        new (std::nothrow) uint8_t[static_cast<size_t>(width) * static_cast<size_t>(height) * 4]);
    if (!pixels) {
      filled = false;
      break;
    }
    MM3DDriverTextureImage reduced(width, height, std::move(pixels), image.GetFlag());
    reduced.BoxFilterFrom(image);
    DDSCAPS2 caps{DDSCAPS_TEXTURE | DDSCAPS_MIPMAP};
    IDirectDrawSurface7* next = nullptr;
    filled = SUCCEEDED(level->GetAttachedSurface(&caps, &next));
    level->Release();
    level = next;
    filled = filled && Fill(*level, code, reduced);
  }
  if (level != nullptr) level->Release();
  return filled;
}

// Texture modes and filter modes as stage states.
struct StageFilters {
  DWORD mag;
  DWORD min;
  DWORD mip;
};
constexpr StageFilters kFilters[] = {
    {D3DTFG_POINT, D3DTFN_POINT, D3DTFP_NONE},   {D3DTFG_LINEAR, D3DTFN_LINEAR, D3DTFP_NONE},
    {D3DTFG_POINT, D3DTFN_POINT, D3DTFP_POINT},  {D3DTFG_LINEAR, D3DTFN_LINEAR, D3DTFP_POINT},
    {D3DTFG_POINT, D3DTFN_POINT, D3DTFP_LINEAR}, {D3DTFG_LINEAR, D3DTFN_LINEAR, D3DTFP_LINEAR},
};

}  // namespace

void WinMM3DDDWriteTexels(int32_t code, const uint8_t* pixels, ptrdiff_t step, int32_t width,
                          uint8_t* out) {
  kRowWriters[code - 1](pixels, step, width, out);
}

int32_t WinMM3DDDMipLevelCount(int32_t width, int32_t height) {
  int32_t levels = 1;
  while (width > 1 && height > 1) {
    width /= 2;
    height /= 2;
    ++levels;
  }
  return levels;
}

WinMM3DDDTextureCollection::WinMM3DDDTextureCollection(const WinMM3DDDInterfaces& interfaces,
                                                       int32_t slotCount)
    : MM3DDriverTextureCollection(slotCount),
      mInterfaces(interfaces),
      mSurfaces(new IDirectDrawSurface7*[static_cast<size_t>(slotCount)]()) {}

WinMM3DDDTextureCollection::~WinMM3DDDTextureCollection() {
  for (int32_t slot = GetSlotCount() - 1; slot >= 0; --slot) {
    if (mSurfaces[static_cast<size_t>(slot)] != nullptr)
      mSurfaces[static_cast<size_t>(slot)]->Release();
  }
}

IDirectDrawSurface7* WinMM3DDDTextureCollection::CreateSurface(
    const MM3DDriverTextureFormat& format, const MM3DDriverTextureImage& image) {
  DDSURFACEDESC2 description{
      .dwSize = sizeof(DDSURFACEDESC2),
      .dwFlags = DDSD_CAPS | DDSD_HEIGHT | DDSD_WIDTH | DDSD_PIXELFORMAT | DDSD_MIPMAPCOUNT,
      .dwHeight = static_cast<DWORD>(image.GetHeight()),
      .dwWidth = static_cast<DWORD>(image.GetWidth()),
      .dwMipMapCount = 1,
      .ddpfPixelFormat = PixelFormatOf(format.mFormat)};
  description.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_MIPMAP | DDSCAPS_COMPLEX;
  description.ddsCaps.dwCaps2 = DDSCAPS2_TEXTUREMANAGE;
  const bool mipmapped = format.IsMipmapped() && image.GetWidth() > 1;
  if (mipmapped) {
    description.dwMipMapCount =
        static_cast<DWORD>(WinMM3DDDMipLevelCount(image.GetWidth(), image.GetHeight()));
  }
  IDirectDrawSurface7* surface = nullptr;
  if (mInterfaces.mDirectDraw == nullptr ||
      FAILED(mInterfaces.mDirectDraw->CreateSurface(&description, &surface, nullptr))) {
    return nullptr;
  }
  if (!Fill(*surface, format.mFormat, image) ||
      (mipmapped && !FillMipLevels(surface, format.mFormat, image))) {
    surface->Release();
    return nullptr;
  }
  return surface;
}

bool WinMM3DDDTextureCollection::LoadImage(int32_t slot, const MM3DDriverTextureFormat& format,
                                           const MM3DDriverTextureImage& image) {
  if (slot < 0 || slot >= GetSlotCount() || !IsKnownFormat(format.mFormat) || !image.HasPixels()) {
    return false;
  }
  if (image.GetPaletteCount() != 0) {
    MM3DDriverTextureImage expanded;
    return expanded.ExpandFrom(image) && LoadImage(slot, format, expanded);
  }
  IDirectDrawSurface7* surface = CreateSurface(format, image);
  if (surface == nullptr) return false;
  if (mSurfaces[static_cast<size_t>(slot)] != nullptr)
    mSurfaces[static_cast<size_t>(slot)]->Release();
  mSurfaces[static_cast<size_t>(slot)] = surface;
  return true;
}

void WinMM3DDDTextureCollection::FreeSlot(int32_t slot) {
  if (slot < 0 || slot >= GetSlotCount()) return;
  if (slot == mSelected) Unselect();
  if (mSurfaces[static_cast<size_t>(slot)] != nullptr)
    mSurfaces[static_cast<size_t>(slot)]->Release();
  mSurfaces[static_cast<size_t>(slot)] = nullptr;
}

void WinMM3DDDTextureCollection::SetStageStates(const MM3DDriverTextureFormat& format) {
  IDirect3DDevice7& device = *mInterfaces.mDevice;
  const bool alpha = format.HasAlpha();
  if (mTextureMode == 0) {
    device.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device.SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device.SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
  } else {
    device.SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_SELECTARG1);
    device.SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
  }
  if (!alpha) {
    device.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG2);
    device.SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
  } else if (mTextureMode == 0) {
    device.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device.SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device.SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
  } else {
    device.SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
    device.SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
  }
  device.SetTextureStageState(0, D3DTSS_TEXCOORDINDEX, 0);
  device.SetTextureStageState(0, D3DTSS_ADDRESS,
                              format.mClamp != 0 ? D3DTADDRESS_CLAMP : D3DTADDRESS_WRAP);
  const StageFilters& filters =
      kFilters[std::clamp<int32_t>(format.mFilter, 0, kMM3DFilterBilinearMipLinear)];
  device.SetTextureStageState(0, D3DTSS_MAGFILTER, filters.mag);
  device.SetTextureStageState(0, D3DTSS_MINFILTER, filters.min);
  device.SetTextureStageState(0, D3DTSS_MIPFILTER, filters.mip);
}

void WinMM3DDDTextureCollection::Select(int32_t slot) {
  if (slot < 0 || slot >= GetSlotCount() || mInterfaces.mDevice == nullptr) return;
  SetStageStates(GetFormat(slot));
  mInterfaces.mDevice->SetTexture(0, mSurfaces[static_cast<size_t>(slot)]);
  mSelected = slot;
}

void WinMM3DDDTextureCollection::Unselect() {
  mSelected = -1;
  if (mInterfaces.mDevice != nullptr) mInterfaces.mDevice->SetTexture(0, nullptr);
}
