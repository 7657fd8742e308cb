#include "app/objects/RU3DTextureCollectionFromSurface.h"

#include "foundation/af/AFPalette.h"
#include "mm/drawing/MMBitmap.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "mm3d/drivers/MM3DDriverTextureImage.h"

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

// The texels of a 32-bit description, top row first: with a sub-format
// the fourth byte is a transparency, else every texel is opaque.
std::unique_ptr<uint8_t[]> Texels(const MMBitmap& description, bool& opaque) {
  const int32_t width = description.GetWidth();
  const int32_t height = description.GetHeight();
  opaque = description.mSubFormat == kMMSubFormatCopy;
  auto texels =
      std::make_unique<uint8_t[]>(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  uint8_t* out = texels.get();
  for (int32_t y = 0; y < height; ++y) {
    const uint8_t* row =
        description.GetPixelAddress(description.mRect.mLeft, description.mRect.mTop + y);
    for (int32_t x = 0; x < width; ++x, out += 4, row += 4) {
      out[0] = row[2];
      out[1] = row[1];
      out[2] = row[0];
      out[3] = opaque ? uint8_t{255} : static_cast<uint8_t>(255 - row[3]);
    }
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
  if (mEntries.size() >= kMaxEntries) return kMMNoResource;
  mEntries.push_back(std::move(entry));
  return MMMakeResourceId(GetCollectionNumber(), static_cast<uint16_t>(mEntries.size() - 1));
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
