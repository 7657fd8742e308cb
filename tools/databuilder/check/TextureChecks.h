#pragma once
// The content check's rules for the texture file: every texture of the
// sides its manifest entry gives (powers of two), true colour, the alpha
// flag saying whether any texel is less than opaque, and the fill
// patterns tiling: their edges continue across.

#include "tools/databuilder/Manifest.h"
#include "tools/databuilder/check/ContentCheck.h"

#include <cstdint>
#include <filesystem>
#include <vector>

namespace content_check {

// How far the picture's opposite edges differ, against how far
// neighbouring columns and rows inside it differ: about 1 or less when it
// tiles.
double TileSeam(const std::vector<uint8_t>& texels, int32_t width, int32_t height);

Findings CheckTextures(const std::filesystem::path& folder, const databuilder::Manifest& manifest);

}  // namespace content_check
