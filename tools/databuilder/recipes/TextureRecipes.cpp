#include "tools/databuilder/recipes/TextureRecipes.h"

#include "tools/databuilder/BuildError.h"
#include "tools/databuilder/paint/Canvas.h"
#include "tools/databuilder/paint/Noise.h"
#include "tools/databuilder/recipes/PictureRecipe.h"
#include "tools/databuilder/recipes/RecipeFolder.h"

namespace databuilder {

namespace {

bool IsPowerOfTwo(int32_t side) { return side >= 8 && side <= 1024 && (side & (side - 1)) == 0; }

void PaintCells(Canvas& canvas, const Recipe& recipe, uint32_t seed) {
  const toml::array* cells = recipe.mTable["cells"].as_array();
  const double scale = canvas.GetWidth() / (kAtlasCells * kCellUnits);
  for (const toml::node& node : *cells) {
    const toml::table* cell = node.as_table();
    const std::optional<int64_t> index =
        cell != nullptr ? (*cell)["cell"].value<int64_t>() : std::nullopt;
    const toml::array* shapes = cell != nullptr ? (*cell)["shapes"].as_array() : nullptr;
    if (!index || *index < 0 || *index >= kAtlasCells * kAtlasCells || shapes == nullptr) {
      throw BuildError(recipe.mSource + ": " + recipe.mName +
                       ": a cell needs cell 0-63 and shapes");
    }
    const std::string where =
        recipe.mSource + ": " + recipe.mName + " cell " + std::to_string(*index);
    const double x = static_cast<double>(*index % kAtlasCells) * kCellUnits * scale;
    const double y = static_cast<double>(*index / kAtlasCells) * kCellUnits * scale;
    canvas.BeginFrame(x, y, scale);
    DrawShapes(canvas, *shapes, where, {kCellUnits, kCellUnits}, false, seed);
    canvas.EndFrame();
  }
}

BuiltTexture Paint(const Recipe& recipe, const ManifestItem& item) {
  const auto width = static_cast<int32_t>(item.mAttributes["width"].value_or(int64_t{0}));
  const auto height = static_cast<int32_t>(item.mAttributes["height"].value_or(int64_t{0}));
  if (!IsPowerOfTwo(width) || !IsPowerOfTwo(height)) {
    throw BuildError(recipe.mSource + ": " + recipe.mName +
                     ": the manifest must give power-of-two sides 8-1024");
  }
  const uint32_t seed = SeedOf(recipe.mName.c_str());
  Canvas canvas(width, height);
  if (recipe.mTable.contains("background")) {
    canvas.Fill(
        ColorNamed(RecipeString(recipe, "background"), recipe.mSource + ": " + recipe.mName));
  }
  if (recipe.mTable.contains("cells")) {
    PaintCells(canvas, recipe, seed);
  } else {
    const toml::array* shapes = recipe.mTable["shapes"].as_array();
    if (shapes == nullptr) throw BuildError(recipe.mSource + ": " + recipe.mName + " lacks shapes");
    DrawShapes(canvas, *shapes, recipe.mSource + ": " + recipe.mName,
               {static_cast<double>(width), static_cast<double>(height)},
               RecipeFlag(recipe, "tile", false), seed);
  }
  BuiltTexture texture{width, height, false, canvas.GetTexels()};
  texture.mAlpha = HasAlpha(texture.mTexels);
  return texture;
}

}  // namespace

std::map<int32_t, BuiltTexture> PaintRecipeTextures(const BuildSources& sources) {
  std::map<int32_t, BuiltTexture> textures;
  for (const auto& [name, recipe] : ReadRecipeFolder(sources.mDataDirectory / "textures")) {
    const int32_t id = sources.mManifest.Resolve(ItemKind::kTexture, name);
    textures.emplace(id, Paint(recipe, *sources.mManifest.Find(ItemKind::kTexture, id)));
    RequireEveryKeyRead(recipe);
  }
  return textures;
}

}  // namespace databuilder
