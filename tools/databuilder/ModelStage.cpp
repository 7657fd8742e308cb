#include "tools/databuilder/ModelStage.h"

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
  std::vector<UURefCount<MM3DModel>> models;
  models.reserve(static_cast<size_t>(count));
  for (int32_t id = 0; id < count; ++id) models.push_back(MakeEmptyModel());
  return models;
}

}  // namespace databuilder
