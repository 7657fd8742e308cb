#include "tools/databuilder/ModelStage.h"

#include "tools/databuilder/recipes/ModelRecipes.h"

#include "foundation/uu/UUOwned.h"
#include "mm3d/MM3DAnimationClip.h"
#include "mm3d/MM3DDisplayTreeNodeWithVisibility.h"

namespace databuilder {

UURefCount<MM3DModel> MakeEmptyModel() {
  return UURefCount<MM3DModel>(new MM3DModel(
      UUOwned<MM3DDisplayTreeNode>(new MM3DDisplayTreeNodeRoot), UUOwned<MM3DAnimationClip>()));
}

std::vector<UURefCount<MM3DModel>> BuildModels(const BuildSources& sources) {
  const int32_t count = sources.mManifest.GetCount(ItemKind::kModel);
  // Materials name textures through handles of a map without a driver:
  // only the ids are written. It outlives every model made here.
  static MM3DDriverTextureMap textureIds;
  std::map<int32_t, UURefCount<MM3DModel>> made = MakeRecipeModels(sources, textureIds);
  std::vector<UURefCount<MM3DModel>> models;
  models.reserve(static_cast<size_t>(count));
  for (int32_t id = 0; id < count; ++id) {
    const auto recipe = made.find(id);
    models.push_back(recipe != made.end() ? recipe->second : MakeEmptyModel());
  }
  return models;
}

}  // namespace databuilder
