#pragma once
// A display-tree visual that renders its tree once per instance: before
// each pass the matrix of a transform node inside the tree is replaced by
// the instance's, so the same geometry appears wherever the instances are.
// The node keeps the last instance's matrix afterwards.

#include "foundation/uu/UUGrowableArray.h"
#include "mm/stage/MM3DDisplayTreeVisual.h"

class MM3DDisplayTreeNodeTransform;
class MM3DMatrix;

// One placement of an instanced tree.
class MM3DInstance {
 public:
  virtual void WriteMatrix(MM3DMatrix& out) const = 0;

 protected:
  ~MM3DInstance() = default;
};

class MM3DInstancedDisplayTreeVisual : public MM3DDisplayTreeVisual {
 public:
  // Takes the caller's array over (leaving it empty), not the instances;
  // the transform node must lie inside the tree.
  MM3DInstancedDisplayTreeVisual(MM3DDisplayTreeNode* tree, MM3DDisplayTreeNodeTransform* transform,
                                 UUGrowableArray<MM3DInstance*>& instances, int32_t depth);

  void Draw(const MMDrawContext& context) override;

  MM3DDisplayTreeNodeTransform* GetTransformNode() const { return mTransform; }
  const UUGrowableArray<MM3DInstance*>& GetInstances() const { return mInstances; }

 private:
  MM3DDisplayTreeNodeTransform* mTransform;
  UUGrowableArray<MM3DInstance*> mInstances;
};
