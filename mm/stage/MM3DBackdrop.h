#pragma once
// A backdrop, such as a sky dome, that keeps its place about the eye: its
// tree is drawn moved by the eye's offset from the anchor, the eye the
// backdrop was made around. So no eye leaves it, and its far side stays
// as near as it is from the anchor, inside the far plane, wherever the
// camera goes. Its directional lights are not moved by it. The model is
// shared and left as it is: only the drawing moves.

#include "mm/stage/MM3DDisplayTreeVisual.h"
#include "mm/stage/MM3DModelMolecule.h"
#include "mm3d/MM3DVector.h"

class MM3DBackdropVisual : public MM3DDisplayTreeVisual {
 public:
  MM3DBackdropVisual(MM3DDisplayTreeNode* tree, int32_t depth, const MM3DVector& anchor)
      : MM3DDisplayTreeVisual(tree, depth), mAnchor(anchor) {}

  void Draw(const MMDrawContext& context) override;

 private:
  MM3DVector mAnchor;
};

class MM3DBackdropMolecule : public MM3DModelMolecule {
 public:
  // The model of that id, as MM3DModelMolecule loads it, drawn about the
  // eye.
  MM3DBackdropMolecule(MMScene* scene, MMResourceId id, const MM3DVector& anchor);
};
