#pragma once
// The small display-tree walks the picks and the object base run: every
// node of a kind, whether a node or one above it is switched off, and the
// deformers above a mesh.

#include "foundation/uu/UUGrowableArray.h"
#include "mm3d/MM3DDisplayTreeVisitor.h"

#include <cstdint>

class MM3DDisplayTreeNode;
class MM3DIndexedMeshDeformer;

// Appends every node of the kind, walking on through the children.
class VPLFindAllOfTypeVisitor : public MM3DDisplayTreeVisitor {
 public:
  VPLFindAllOfTypeVisitor(int32_t kind, UUGrowableArray<MM3DDisplayTreeNode*>& found)
      : mKind(kind), mFound(found) {}
  MM3DVisitResult Visit(MM3DDisplayTreeNode& node) override;

 private:
  int32_t mKind;
  UUGrowableArray<MM3DDisplayTreeNode*>& mFound;
};

// Stops at the first node with visibility whose flag is 0; walked upward
// from a mesh, it tells whether the mesh or an ancestor is switched off.
class VPLFindInvisibleNodeVisitor : public MM3DDisplayTreeVisitor {
 public:
  MM3DVisitResult Visit(MM3DDisplayTreeNode& node) override;
  bool Found() const { return mFound; }

 private:
  bool mFound = false;
};

// Appends every skin or blend shape on the walk; upward from a mesh, the
// deformers above it, innermost first.
class VPLFindDeformersFromMeshVisitor : public MM3DDisplayTreeVisitor {
 public:
  explicit VPLFindDeformersFromMeshVisitor(UUGrowableArray<MM3DIndexedMeshDeformer*>& found)
      : mFound(found) {}
  MM3DVisitResult Visit(MM3DDisplayTreeNode& node) override;

 private:
  UUGrowableArray<MM3DIndexedMeshDeformer*>& mFound;
};

// The model's indexed meshes under the node, in walk order.
UUGrowableArray<MM3DDisplayTreeNode*> VPLFindMeshes(MM3DDisplayTreeNode* root);
// Whether the node or one of its ancestors is switched off.
bool VPLIsHidden(MM3DDisplayTreeNode& node);
