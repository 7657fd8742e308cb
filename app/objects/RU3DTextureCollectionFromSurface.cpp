#include "app/objects/RU3DTextureCollectionFromSurface.h"

#include "foundation/af/AFPalette.h"
#include "mm/drawing/MMBitmap.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "mm3d/drivers/MM3DDriverTextureImage.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr int32_t kSurfaceBits = 32;
// Item indexes are the low 16 bits of a texture id.
constexpr size_t kMaxEntries = 0x7FFF;

struct SurfaceRelease {
  void operator()(WinMMOffscreenSurface* surface) const {
    surface->Detach();
    delete surface;
  }
};

// One surface pixel (bytes b, g, r, x) as a texel (bytes r, g, b, a): with
// a transparency the fourth byte is 255 less it, else the texel is opaque.
uint32_t Texel(uint32_t pixel, bool opaque) {
  const uint32_t alpha = opaque ? 255u : 255u - (pixel >> 24);
  return (pixel >> 16 & 0xFFu) | (pixel & 0xFF00u) | (pixel & 0xFFu) << 16 | alpha << 24;
}

// The texels of a 32-bit description, top row first.
std::unique_ptr<uint8_t[]> Texels(const MMBitmap& description, bool& opaque) {
  const int32_t width = description.GetWidth();
  const int32_t height = description.GetHeight();
  // A local copy: the texel stores could otherwise alias the flag.
  const bool solid = description.mSubFormat == kMMSubFormatCopy;
  opaque = solid;
  const size_t rowBytes = static_cast<size_t>(width) * 4;
  auto texels = std::make_unique_for_overwrite<uint8_t[]>(rowBytes * static_cast<size_t>(height));
  for (int32_t y = 0; y < height; ++y) {
    uint8_t* out = texels.get() + rowBytes * static_cast<size_t>(y);
    std::memcpy(out,
                description.GetPixelAddress(description.mRect.mLeft, description.mRect.mTop + y),
                rowBytes);
    RU3DTextureCollectionFromSurface::TransformRow(
        out, width, [solid](uint32_t pixel) { return Texel(pixel, solid); });
  }
  return texels;
}

}  // namespace

RU3DTextureCollectionFromSurface::RU3DTextureCollectionFromSurface(uint16_t collectionNumber)
    : MM3DTextureCollection(collectionNumber) {}

RU3DTextureCollectionFromSurface::~RU3DTextureCollectionFromSurface() = default;

RU3DTextureCollectionFromSurface::Entry* RU3DTextureCollectionFromSurface::GetEntry(
    int16_t i) const {
  if (i < 0 || static_cast<size_t>(i) >= mEntries.size()) return nullptr;
  return mEntries[static_cast<size_t>(i)].get();
}

MMResourceId RU3DTextureCollectionFromSurface::AppendEntry(std::unique_ptr<Entry> entry) {
  const auto freed = std::find(mEntries.begin(), mEntries.end(), nullptr);
  if (freed == mEntries.end() && mEntries.size() >= kMaxEntries) return kMMNoResource;
  const auto index = static_cast<uint16_t>(freed - mEntries.begin());
  if (freed == mEntries.end()) {
    mEntries.push_back(std::move(entry));
  } else {
    *freed = std::move(entry);
  }
  return MMMakeResourceId(GetCollectionNumber(), index);
}

void RU3DTextureCollectionFromSurface::ReleaseEntry(MMResourceId id) {
  if (id == kMMNoResource || MMCollectionOf(id) != GetCollectionNumber()) return;
  const auto index = static_cast<size_t>(static_cast<uint32_t>(id) & 0xFFFFu);
  if (index < mEntries.size()) mEntries[index].reset();
}

void RU3DTextureCollectionFromSurface::ReplaceEntry(MMResourceId id, std::unique_ptr<Entry> entry) {
  if (id == kMMNoResource) return;
  const auto index = static_cast<size_t>(static_cast<uint32_t>(id) & 0xFFFFu);
  if (index < mEntries.size()) {
    mEntries[index] = std::move(entry);
  } else {
    AppendEntry(std::move(entry));
  }
}

bool RU3DTextureCollectionFromSurface::LoadImage(int16_t i, MM3DDriverTextureImage& image) {
  image.Clear();
  const Entry* entry = GetEntry(i);
  if (entry == nullptr || entry->mRect.GetWidth() <= 0 || entry->mRect.GetHeight() <= 0) {
    return false;
  }
  const std::unique_ptr<WinMMOffscreenSurface, SurfaceRelease> surface(
      WinMMCreateOffscreenSurface(kSurfaceBits, entry->mRect, AFPalette()));
  MMBitmap description;
  if (!surface || !DrawEntry(i, surface.get()) || !GetImage(i, surface.get(), description)) {
    return false;
  }
  bool opaque = false;
  std::unique_ptr<uint8_t[]> texels = Texels(description, opaque);
  image.SetPixels(description.GetWidth(), description.GetHeight(), std::move(texels),
                  opaque ? 1 : 0);
  return true;
}

UUPoint RU3DTextureCollectionFromSurface::GetSize(int16_t i) {
  const Entry* entry = GetEntry(i);
  if (entry == nullptr) return UUPoint{0, 0};
  return UUPoint{entry->mRect.GetWidth(), entry->mRect.GetHeight()};
}

int32_t RU3DTextureCollectionFromSurface::GetPaletteCount(int16_t i) {
  MM3DDriverTextureImage image;
  return LoadImage(i, image) ? image.GetPaletteCount() : 0;
}

bool RU3DTextureCollectionFromSurface::IsOpaque(int16_t i) {
  MM3DDriverTextureImage image;
  return LoadImage(i, image) && image.GetFlag() != 0;
}

char* RU3DTextureCollectionFromSurface::GetName(char* buffer, int16_t /*i*/) {
  buffer[0] = '\0';
  return buffer;
}

bool RU3DTextureCollectionFromSurface::GetImage(int16_t i, MMSurface* surface,
                                                MMBitmap& description) {
  if (GetEntry(i) == nullptr || surface == nullptr) return false;
  surface->BeginDraw();
  const bool described = surface->GetImageDescription(description);
  surface->EndDraw();
  return described && description.mBitsPerPixel == kSurfaceBits && description.mPixels != nullptr;
}
