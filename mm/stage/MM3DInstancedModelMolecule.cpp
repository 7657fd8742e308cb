#include "mm/stage/MM3DInstancedModelMolecule.h"

#include "foundation/al/ALAllocator.h"
#include "mm/stage/MM3DModelMolecule.h"
#include "mm/stage/MMEnclosure.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"

#include <utility>

MM3DInstancedModelMolecule::MM3DInstancedModelMolecule(MMScene* scene,
                                                       const UURefCount<MM3DModel>& model,
                                                       UUGrowableArray<MM3DInstance*>& instances)
    : MMMolecule(scene), mModel(model) {
  BuildInstancedVisual(instances);
}

MM3DInstancedModelMolecule::MM3DInstancedModelMolecule(MMScene* scene, MMResourceId id,
                                                       UUGrowableArray<MM3DInstance*>& instances)
    : MM3DInstancedModelMolecule(scene, MM3DModelMolecule::LoadModel(scene, id), instances) {}

MM3DInstancedModelMolecule::~MM3DInstancedModelMolecule() {
  if (mVisual) GetEnclosure()->RemoveVisual(mVisual.Get());
}

void MM3DInstancedModelMolecule::BuildInstancedVisual(UUGrowableArray<MM3DInstance*>& instances) {
  MM3DDisplayTreeNode* tree = mModel ? mModel->GetDisplayTree() : nullptr;
  auto* root = dynamic_cast<MM3DDisplayTreeNodeWithChildren*>(tree);
  if (root == nullptr) {
    UUGrowableArray<MM3DInstance*> unused(std::move(instances));
    return;
  }
  auto* transform = new (ALGlobalAllocator) MM3DDisplayTreeNodeTransform(MM3DMatrixIdentity);
  root->InterposeChild(UUOwned<MM3DDisplayTreeNodeWithChildren>(transform));
  mVisual.Reset(new (ALGlobalAllocator)
                    MM3DInstancedDisplayTreeVisual(root, transform, instances, 0));
  GetEnclosure()->AddVisual(mVisual.Get());
}

void MM3DInstancedModelMolecule::ApplyVisibility(MMVisibility visibility) {
  if (mVisual) mVisual->SetVisibility(visibility);
  MMMolecule::ApplyVisibility(visibility);
}
