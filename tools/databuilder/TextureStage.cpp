#include "tools/databuilder/TextureStage.h"

#include "tools/databuilder/recipes/TextureRecipes.h"

namespace databuilder {

namespace {

constexpr int32_t kDefaultSide = 8;
// Mist, the colour of inactive parts: a stand-in reads as "not there yet".
constexpr uint32_t kStandInColour = 0xC9D2EAFF;

BuiltTexture StandIn(const ManifestItem* item) {
  const auto side = [item](const char* key) {
    return item == nullptr ? kDefaultSide
                           : static_cast<int32_t>(item->mAttributes[key].value_or(kDefaultSide));
  };
  BuiltTexture texture = MakeFlatTexture(side("width"), side("height"), kStandInColour);
  texture.mAlpha = item != nullptr && item->mAttributes["alpha"].value_or(false);
  return texture;
}

}  // namespace

BuiltTexture MakeFlatTexture(int32_t width, int32_t height, uint32_t rgba) {
  BuiltTexture texture{width, height, false, {}};
  texture.mTexels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  for (size_t i = 0; i < texture.mTexels.size(); ++i) {
    texture.mTexels[i] = static_cast<uint8_t>(rgba >> (24 - 8 * (i % 4)));
  }
  return texture;
}

std::vector<BuiltTexture> BuildTextures(const BuildSources& sources) {
  const int32_t count = sources.mManifest.GetCount(ItemKind::kTexture);
  std::map<int32_t, BuiltTexture> painted = PaintRecipeTextures(sources);
  std::vector<BuiltTexture> textures;
  for (int32_t id = 0; id < count; ++id) {
    auto recipe = painted.find(id);
    textures.push_back(recipe != painted.end()
                           ? std::move(recipe->second)
                           : StandIn(sources.mManifest.Find(ItemKind::kTexture, id)));
  }
  return textures;
}

}  // namespace databuilder
