#pragma once
// The textures painted from data/textures: each recipe, named by its
// texture's symbol, lists the shapes of its picture (see PictureRecipe.h);
// an atlas lists its cells instead, each 128 units square:
//   ["fill.stars"]    tile = true, shapes = [...]
//   ["atlas.palette"] cells = [{ cell = 0, shapes = [...] }, ...]
// background = colour fills the whole texture first. The sides come from
// the texture's manifest entry.

#include "tools/databuilder/BuildSources.h"
#include "tools/databuilder/TextureStage.h"

#include <map>

namespace databuilder {

// The painted textures by id; ids without a recipe are absent.
std::map<int32_t, BuiltTexture> PaintRecipeTextures(const BuildSources& sources);

// The atlases' layout: cells across and down, each 128 texels.
constexpr int32_t kAtlasCells = 8;
constexpr double kCellUnits = 128.0;

}  // namespace databuilder
