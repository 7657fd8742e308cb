#pragma once
// The texture stage: one RGBA texture per id of the texture file. This is
// where the painting library plugs in: BuildTextures answers a texture for
// every id 0..count-1; an id no recipe paints is a flat colour of the size
// its manifest entry gives (width, height; 8 x 8 when none), so every id a
// material may name exists with the shape it will have.

#include "tools/databuilder/BuildSources.h"

#include <cstdint>
#include <vector>

namespace databuilder {

struct BuiltTexture {
  int32_t mWidth = 0;
  int32_t mHeight = 0;
  bool mAlpha = false;
  // Red, green, blue, alpha (255 opaque) per texel, row 0 (v 0) first.
  std::vector<uint8_t> mTexels;
};

// The texture of id i at index i.
std::vector<BuiltTexture> BuildTextures(const BuildSources& sources);

// A texture of one colour; rgba is packed 0xRRGGBBAA.
BuiltTexture MakeFlatTexture(int32_t width, int32_t height, uint32_t rgba);

}  // namespace databuilder
