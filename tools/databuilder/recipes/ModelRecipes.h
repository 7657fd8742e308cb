#pragma once
// The models made from data/models: each recipe, named by its model's
// symbol, says its kind and a few numbers; the kinds are general makers
// (a slab button with its picture, a pad, a cursor, a primitive, a
// ground, a sky, a camera, a path, a profile) that many recipes share.
// A [schemes] table lists each clip scheme's keys: frame, x and y scale,
// tilt about x (radians), applied about the model's centre.

#include "foundation/uu/UURefCount.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DModel.h"
#include "tools/databuilder/BuildSources.h"

#include <map>

namespace databuilder {

// The models by id; ids without a recipe are absent. Materials take
// their texture handles from the map, which must outlive the models.
std::map<int32_t, UURefCount<MM3DModel>> MakeRecipeModels(const BuildSources& sources,
                                                          MM3DDriverTextureMap& textures);

// The budgets of a model's triangles by what it is.
constexpr int32_t kInterfaceBudget = 2000;
constexpr int32_t kPrimitiveBudget = 1500;
constexpr int32_t kBackdropBudget = 4000;

}  // namespace databuilder
