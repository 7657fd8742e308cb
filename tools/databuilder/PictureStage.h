#pragma once
// The picture stage: the pictures of the picture file, drawn with cairo.
// Picture 0 is the intro's end button, a green round "go" arrow.

#include "tools/databuilder/BuildSources.h"

#include <cstdint>
#include <vector>

namespace databuilder {

// A 32-bit picture blended with straight alpha: per pixel blue, green, red
// and transparency (0 opaque, 255 clear), top row first.
struct BuiltPicture {
  int32_t mWidth = 0;
  int32_t mHeight = 0;
  std::vector<uint8_t> mPixels;
};

// The picture of id i at index i.
std::vector<BuiltPicture> BuildPictures(const BuildSources& sources);

}  // namespace databuilder
