#include "app/objects/VPLDisplayTreeVisitors.h"

#include "mm3d/MM3DDisplayTreeNode.h"
#include "mm3d/MM3DDisplayTreeNodeWithVisibility.h"
#include "mm3d/MM3DIndexedMeshDeformer.h"

MM3DVisitResult VPLFindAllOfTypeVisitor::Visit(MM3DDisplayTreeNode& node) {
  if (node.GetKind() == mKind) mFound.Append(&node);
  return kMM3DVisitContinue;
}

MM3DVisitResult VPLFindInvisibleNodeVisitor::Visit(MM3DDisplayTreeNode& node) {
  auto* switchable = dynamic_cast<MM3DDisplayTreeNodeWithVisibility*>(&node);
  if (switchable == nullptr || switchable->GetVisibility() != 0) return kMM3DVisitContinue;
  mFound = true;
  return kMM3DVisitStop;
}

MM3DVisitResult VPLFindDeformersFromMeshVisitor::Visit(MM3DDisplayTreeNode& node) {
  const int32_t kind = node.GetKind();
  if (kind != kMM3DNodeIndexedSkin && kind != kMM3DNodeIndexedBlendShape) {
    return kMM3DVisitContinue;
  }
  if (auto* deformer = dynamic_cast<MM3DIndexedMeshDeformer*>(&node)) mFound.Append(deformer);
  return kMM3DVisitContinue;
}

UUGrowableArray<MM3DDisplayTreeNode*> VPLFindMeshes(MM3DDisplayTreeNode* root) {
  UUGrowableArray<MM3DDisplayTreeNode*> meshes;
  if (root == nullptr) return meshes;
  VPLFindAllOfTypeVisitor visitor(kMM3DNodeIndexedMesh, meshes);
  root->Accept(visitor, kMM3DVisitDown);
  return meshes;
}

bool VPLIsHidden(MM3DDisplayTreeNode& node) {
  VPLFindInvisibleNodeVisitor visitor;
  node.Accept(visitor, kMM3DVisitUp);
  return visitor.Found();
}
