#pragma once
// Texture files for the tests, made with the system's writer ("II") or byte
// by byte in either order.

#include "mm3d/MM3DTextureResourceFile.h"
#include "tests/support/ResourceFileFixtures.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace texture_fixtures {

struct Texture {
  std::string mName;
  int32_t mWidth = 8;
  int32_t mHeight = 8;
  bool mTrueColor = true;
  bool mAlpha = false;
  std::vector<uint8_t> mPalette;  // 4 bytes an entry
  std::vector<uint8_t> mTexels;   // 4 bytes a texel when true colour, else 1

  uint8_t Flags() const {
    auto log2 = [](int32_t side) {
      int32_t n = 0;
      while (side > 1) side >>= 1, ++n;
      return n - 3;
    };
    return static_cast<uint8_t>((mTrueColor ? 1 : 0) | (mAlpha ? 2 : 0) | log2(mWidth) << 2 |
                                log2(mHeight) << 5);
  }
  uint8_t PaletteByte() const {
    return static_cast<uint8_t>(mTrueColor ? 0 : mPalette.size() / 4 - 1);
  }
};

// A texture whose bytes count up from seed.
inline Texture MakeTexture(const char* name, int32_t width, int32_t height, bool trueColor,
                           int32_t paletteCount = 0, bool alpha = false, uint8_t seed = 1) {
  Texture texture{name, width, height, trueColor, alpha, {}, {}};
  texture.mPalette.resize(static_cast<size_t>(trueColor ? 0 : paletteCount * 4));
  texture.mTexels.resize(static_cast<size_t>(width * height * (trueColor ? 4 : 1)));
  uint8_t value = seed;
  for (uint8_t& byte : texture.mPalette) byte = value++;
  for (uint8_t& byte : texture.mTexels) {
    byte = trueColor ? value++ : static_cast<uint8_t>(value++ % paletteCount);
  }
  return texture;
}

inline void WriteTextures(const std::string& name, int16_t collection,
                          const std::vector<Texture>& textures,
                          UUByteOrder order = kUUNativeByteOrder) {
  MM3DTextureResourceFile file;
  const auto n = static_cast<int16_t>(textures.size());
  ASSERT_TRUE(file.Create(resource_fixtures::TempDirectory(), name.c_str(), UUFileOptions(), n,
                          collection, order));
  for (int16_t i = 0; i < n; ++i) {
    const Texture& t = textures[static_cast<size_t>(i)];
    ASSERT_TRUE(file.SetSize(i, t.mWidth, t.mHeight));
    ASSERT_TRUE(file.SetAlpha(i, t.mAlpha));
    ASSERT_TRUE(file.SetFormat(i, t.mTrueColor, static_cast<int32_t>(t.mPalette.size() / 4)));
    ASSERT_TRUE(file.WriteTexels(i, t.mName.c_str(), t.mPalette.data(), t.mTexels.data()));
  }
  ASSERT_TRUE(file.RecordEndOffset());
  ASSERT_TRUE(file.Close(true));
}

// The same file built by hand, in either byte order, with the extension
// version given.
inline std::vector<uint8_t> TextureFileBytes(bool big, int16_t collection,
                                             const std::vector<Texture>& textures,
                                             int16_t version = 1) {
  const auto n = static_cast<uint16_t>(textures.size());
  resource_fixtures::Bytes bytes(big);
  bytes.Tag("DAZE Textures").U16(3).U32(0).U16(static_cast<uint16_t>(collection));
  bytes.U32(0).U32(0).U16(n);
  uint32_t offset = 42 + 40u * n + 2 + 2u * n;
  for (const Texture& t : textures) {
    bytes.U32(offset);
    offset += static_cast<uint32_t>(t.mPalette.size() + t.mTexels.size());
  }
  bytes.U32(offset).U16(0);
  for (const Texture& t : textures) bytes.Raw(t.mName).Zeros(32 - t.mName.size());
  bytes.Zeros(4u * n).U16(static_cast<uint16_t>(version));
  for (const Texture& t : textures) bytes.U8(t.Flags());
  for (const Texture& t : textures) bytes.U8(t.PaletteByte());
  for (const Texture& t : textures) {
    bytes.Raw(std::string(t.mPalette.begin(), t.mPalette.end()));
    bytes.Raw(std::string(t.mTexels.begin(), t.mTexels.end()));
  }
  return bytes.Get();
}

}  // namespace texture_fixtures
