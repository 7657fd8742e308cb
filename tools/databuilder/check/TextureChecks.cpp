#include "tools/databuilder/check/TextureChecks.h"

#include "foundation/uu/UUDirectory.h"
#include "mm3d/MM3DTextureResourceFile.h"
#include "platform/win32/PathMapping.h"

#include <algorithm>
#include <cstdlib>

namespace content_check {

namespace {

// Fill patterns tile; more than this seam ratio says an edge breaks off.
constexpr double kMostSeam = 3.0;
constexpr int16_t kFillPatterns = 8;

int32_t Difference(const std::vector<uint8_t>& texels, int32_t width, int32_t x0, int32_t y0,
                   int32_t x1, int32_t y1) {
  const auto at = [&](int32_t x, int32_t y) { return static_cast<size_t>((y * width + x) * 4); };
  int32_t sum = 0;
  for (size_t c = 0; c < 3; ++c) sum += std::abs(texels[at(x0, y0) + c] - texels[at(x1, y1) + c]);
  return sum;
}

bool IsPowerOfTwoSide(int32_t side) {
  return side >= 8 && side <= 1024 && (side & (side - 1)) == 0;
}

std::vector<uint8_t> ReadTexels(MM3DTextureResourceFile& file, int16_t i) {
  int32_t offset = 0, size = 0;
  if (!file.GetSubfileRange(i, &offset, &size) || size != file.GetTexelDataSize(i) ||
      !file.GetFile().Seek(offset, kUUSeekFromStart, nullptr)) {
    return {};
  }
  std::vector<uint8_t> texels(static_cast<size_t>(size));
  if (!file.GetFile().Read(texels.data(), static_cast<uint32_t>(size))) return {};
  return texels;
}

}  // namespace

double TileSeam(const std::vector<uint8_t>& texels, int32_t width, int32_t height) {
  int64_t seam = 0, inside = 0;
  for (int32_t y = 0; y < height; ++y) {
    seam += Difference(texels, width, width - 1, y, 0, y);
    for (int32_t x = 0; x + 1 < width; ++x) inside += Difference(texels, width, x, y, x + 1, y);
  }
  for (int32_t x = 0; x < width; ++x) {
    seam += Difference(texels, width, x, height - 1, x, 0);
    for (int32_t y = 0; y + 1 < height; ++y) inside += Difference(texels, width, x, y, x, y + 1);
  }
  const double seamMean = static_cast<double>(seam) / (width + height);
  const double insideMean =
      static_cast<double>(inside) / (static_cast<double>(width) * height * 2 - width - height);
  return seamMean / std::max(insideMean, 1.0);
}

Findings CheckTextures(const std::filesystem::path& folder, const databuilder::Manifest& manifest) {
  const UUDirectory directory(
      vpl::platform::ToWindowsPath(std::filesystem::absolute(folder)).c_str());
  MM3DTextureResourceFile file;
  if (!file.Open(directory, "vpl3d.MMX", false, false)) return {"vpl3d.MMX does not open"};
  Findings findings;
  for (int16_t i = 0; i < file.GetSubfileCount(); ++i) {
    const std::string name = "t " + std::to_string(i) + " (" +
                             manifest.GetSubfileName(databuilder::ItemKind::kTexture, i) + ")";
    const UUPoint size = file.GetSize(i);
    const databuilder::ManifestItem* item = manifest.Find(databuilder::ItemKind::kTexture, i);
    if (!IsPowerOfTwoSide(size.mX) || !IsPowerOfTwoSide(size.mY) ||
        (item != nullptr && (item->mAttributes["width"].value_or(int64_t{size.mX}) != size.mX ||
                             item->mAttributes["height"].value_or(int64_t{size.mY}) != size.mY))) {
      findings.push_back(name + ": sides not as the manifest gives");
    }
    if (!file.IsTrueColor(i)) findings.push_back(name + ": not true colour");
    const std::vector<uint8_t> texels = ReadTexels(file, i);
    if (texels.empty()) {
      findings.push_back(name + ": the texels do not read");
      continue;
    }
    bool translucent = false;
    for (size_t a = 3; a < texels.size(); a += 4) translucent = translucent || texels[a] != 255;
    if (translucent != file.HasAlpha(i)) findings.push_back(name + ": the alpha flag is wrong");
    if (i < kFillPatterns && TileSeam(texels, size.mX, size.mY) > kMostSeam) {
      findings.push_back(name + ": the pattern does not tile");
    }
  }
  file.Close(false);
  return findings;
}

}  // namespace content_check
