// Writes the texture fuzzer's seed corpus with the system's writer: a
// true-colour texture with alpha, a paletted one and a full-palette one.

#include "foundation/uu/UUDirectory.h"
#include "mm3d/MM3DTextureResourceFile.h"

#include <cstdio>
#include <iterator>
#include <vector>

namespace {

struct Seed {
  const char* mName;
  int32_t mWidth;
  int32_t mHeight;
  bool mTrueColor;
  bool mAlpha;
  int32_t mPaletteCount;
};

std::vector<uint8_t> Pattern(size_t bytes) {
  std::vector<uint8_t> data(bytes);
  for (size_t k = 0; k < bytes; ++k) data[k] = static_cast<uint8_t>(k * 29 + k / 7);
  return data;
}

bool WriteTextures(const UUDirectory& directory, const char* name) {
  const Seed seeds[] = {{"Bricks", 16, 16, true, true, 0},
                        {"grass", 8, 8, false, false, 16},
                        {"sky", 32, 8, false, true, 256}};
  const auto n = static_cast<int16_t>(std::size(seeds));
  MM3DTextureResourceFile file;
  if (!file.Create(directory, name, UUFileOptions(), n, 3)) return false;
  for (int16_t i = 0; i < n; ++i) {
    const Seed& s = seeds[i];
    const std::vector<uint8_t> palette = Pattern(static_cast<size_t>(s.mPaletteCount) * 4);
    const std::vector<uint8_t> texels =
        Pattern(static_cast<size_t>(s.mWidth * s.mHeight * (s.mTrueColor ? 4 : 1)));
    if (!file.SetSize(i, s.mWidth, s.mHeight) || !file.SetAlpha(i, s.mAlpha) ||
        !file.SetFormat(i, s.mTrueColor, s.mPaletteCount) ||
        !file.WriteTexels(i, s.mName, palette.data(), texels.data())) {
      return false;
    }
  }
  return file.RecordEndOffset() && file.Close(true);
}

}  // namespace

int main(int argumentCount, char** arguments) {
  if (argumentCount != 2) {
    std::fprintf(stderr, "usage: %s <Windows path of the corpus directory>\n", arguments[0]);
    return 2;
  }
  return WriteTextures(UUDirectory(arguments[1]), "textures.mmx") ? 0 : 1;
}
