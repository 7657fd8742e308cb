#pragma once
// A visual of a 3D spatial enclosure that renders one display tree (a
// model's scene graph) with the enclosure's lights through the stage's
// pipeline and renderer. Lights, matrices and culling are the tree's
// business. It is never hit: the application picks 3D objects with its own
// ray tests. Attaching it to an enclosure invalidates nothing, since 3D
// views redraw whole frames.

#include "mm/stage/MMVisual.h"

class MM3DDisplayTreeNode;

class MM3DDisplayTreeVisual : public MMVisual {
 public:
  // The tree is not owned: the model owns it.
  MM3DDisplayTreeVisual(MM3DDisplayTreeNode* tree, int32_t depth) : MMVisual(depth), mTree(tree) {}

  // Nothing without a tree, or with a context that carries no 3D fields.
  void Draw(const MMDrawContext& context) override;
  void HitTest(UUPoint, MMMouseTarget&) override {}

  MM3DDisplayTreeNode* GetDisplayTree() const { return mTree; }

 protected:
  static bool CanRender(const MMDrawContext& context);
  // Renders the tree; the caller has checked CanRender and the tree.
  void Render(const MMDrawContext& context);

 private:
  MM3DDisplayTreeNode* mTree;
};
