// The texture rules: the built textures keep them, and the tiling measure
// tells a tiling pattern from one whose edges break off.

#include "tests/content/ContentTestSupport.h"
#include "tools/databuilder/check/TextureChecks.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr int32_t kSide = 16;

TEST(TextureRulesTest, TheBuiltTexturesKeepEveryRule) {
  const content_check::Findings findings = content_check::CheckTextures(
      content_fixtures::DataDirectory(), content_fixtures::SourceManifest());
  for (const std::string& finding : findings) ADD_FAILURE() << finding;
}

// Texels whose red runs as the function of x and y says.
template <typename Red>
std::vector<uint8_t> Picture(Red red) {
  std::vector<uint8_t> texels;
  for (int32_t y = 0; y < kSide; ++y) {
    for (int32_t x = 0; x < kSide; ++x) {
      texels.insert(texels.end(), {static_cast<uint8_t>(red(x, y)), 0, 0, 255});
    }
  }
  return texels;
}

TEST(TextureRulesTest, TheSeamMeasureTellsTilingFromBrokenEdges) {
  // A triangle wave comes back to where it started; a ramp jumps.
  const auto wave = [](int32_t x, int32_t) { return (x < kSide / 2 ? x : kSide - x) * 30; };
  const auto ramp = [](int32_t x, int32_t) { return x * 15; };
  EXPECT_LE(content_check::TileSeam(Picture(wave), kSide, kSide), 1.5);
  EXPECT_GT(content_check::TileSeam(Picture(ramp), kSide, kSide), 5.0);
}

}  // namespace
