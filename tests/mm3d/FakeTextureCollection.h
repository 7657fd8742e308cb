#pragma once
// A texture collection in memory: 8 x 8 true-colour textures of one colour
// each, opaque or with alpha and named or not, counting the images it loads.
// Names are found exactly as they are written.

#include "foundation/uu/UUString.h"
#include "mm3d/MM3DTextureCollection.h"
#include "mm3d/drivers/MM3DDriverTextureImage.h"

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

class FakeTextureCollection : public MM3DTextureCollection {
 public:
  struct Texture {
    uint8_t mRed, mGreen, mBlue;
    bool mOpaque = true;
    bool mLoadable = true;
    const char* mName = "";
  };
  static constexpr int32_t kSide = 8;

  explicit FakeTextureCollection(uint16_t number) : MM3DTextureCollection(number) {}

  MMResourceId Add(const Texture& texture) {
    mTextures.push_back(texture);
    return MMMakeResourceId(GetCollectionNumber(), static_cast<uint16_t>(mTextures.size() - 1));
  }

  bool LoadReferenced() override { return true; }
  void EndLoadReferenced(bool) override {}
  void PurgeUnreferenced() override {}
  bool LoadImage(int16_t i, MM3DDriverTextureImage& image) override {
    image.Clear();
    ++mLoads;
    const Texture& t = mTextures[static_cast<size_t>(i)];
    if (!t.mLoadable) return false;
    auto pixels = std::make_unique<uint8_t[]>(kSide * kSide * 4);
    for (int32_t p = 0; p < kSide * kSide; ++p) {
      const uint8_t texel[4] = {t.mRed, t.mGreen, t.mBlue, 255};
      std::memcpy(&pixels[static_cast<size_t>(p) * 4], texel, 4);
    }
    image.SetPixels(kSide, kSide, std::move(pixels), t.mOpaque ? 1 : 0);
    return true;
  }
  // Items past the collection have no size, as in a real texture file.
  UUPoint GetSize(int16_t i) override { return Has(i) ? UUPoint{kSide, kSide} : UUPoint{}; }
  int32_t GetPaletteCount(int16_t) override { return 0; }
  bool IsOpaque(int16_t i) override { return Has(i) && mTextures[static_cast<size_t>(i)].mOpaque; }
  int32_t GetBitsPerPixel(int16_t) override { return 32; }
  uint16_t FindByName(const char* name) override {
    for (size_t i = 0; i < mTextures.size(); ++i) {
      if (UUCompareText(mTextures[i].mName, name) == 0) return static_cast<uint16_t>(i);
    }
    return kMM3DTextureNotFound;
  }
  char* GetName(char* buffer, int16_t i) override {
    UUCopyString(mTextures[static_cast<size_t>(i)].mName, buffer, kMM3DTextureNameCapacity);
    return buffer;
  }

  bool Has(int16_t i) const { return i >= 0 && static_cast<size_t>(i) < mTextures.size(); }

  std::vector<Texture> mTextures;
  int32_t mLoads = 0;
};
