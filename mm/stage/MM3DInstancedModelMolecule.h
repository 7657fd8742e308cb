#pragma once
// A molecule that shows one 3D model several times, once per instance
// transform. It puts a transform node between the model's root and the
// root's children, which stays in the model's tree for the model's
// lifetime: every user of the same model sees the last instance's matrix
// there.

#include "foundation/uu/UUGrowableArray.h"
#include "foundation/uu/UUOwned.h"
#include "foundation/uu/UURefCount.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm/stage/MM3DInstancedDisplayTreeVisual.h"
#include "mm/stage/MMMolecule.h"
#include "mm3d/MM3DModel.h"

class MM3DInstancedModelMolecule : public MMMolecule {
 public:
  // Takes the instance array over (leaving it empty), not the instances.
  // A model without a tree that can take the transform node gets no
  // visual.
  MM3DInstancedModelMolecule(MMScene* scene, const UURefCount<MM3DModel>& model,
                             UUGrowableArray<MM3DInstance*>& instances);
  MM3DInstancedModelMolecule(MMScene* scene, MMResourceId id,
                             UUGrowableArray<MM3DInstance*>& instances);
  ~MM3DInstancedModelMolecule() override;

  const UURefCount<MM3DModel>& GetModel() const { return mModel; }
  // Null without visual.
  MM3DInstancedDisplayTreeVisual* GetVisual() const { return mVisual.Get(); }

 protected:
  void ApplyVisibility(MMVisibility visibility) override;

 private:
  void BuildInstancedVisual(UUGrowableArray<MM3DInstance*>& instances);

  UURefCount<MM3DModel> mModel;
  UUOwned<MM3DInstancedDisplayTreeVisual> mVisual;
};
