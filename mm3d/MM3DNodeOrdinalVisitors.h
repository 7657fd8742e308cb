#pragma once
// Node ordinals: walking a tree downward from its top visits a node before
// its children, children in list order; a node's ordinal is the 1-based
// count of visits up to and including it. Files name nodes by ordinal.

#include "mm3d/MM3DDisplayTreeVisitor.h"

#include <cstdint>

// The ordinal of one node; 0 when the walk never meets it.
class MM3DNodeCountingVisitor : public MM3DDisplayTreeVisitor {
 public:
  explicit MM3DNodeCountingVisitor(const MM3DDisplayTreeNode* target) : mTarget(target) {}
  MM3DVisitResult Visit(MM3DDisplayTreeNode& node) override;
  void Reset(const MM3DDisplayTreeNode* target);
  int32_t GetResult() const { return mResult; }

 private:
  const MM3DDisplayTreeNode* mTarget;
  int32_t mCounter = 0;
  int32_t mResult = 0;
};

// The node of one ordinal; null when the tree has fewer nodes.
class MM3DNodeFindingVisitor : public MM3DDisplayTreeVisitor {
 public:
  explicit MM3DNodeFindingVisitor(int32_t ordinal) : mOrdinal(ordinal) {}
  MM3DVisitResult Visit(MM3DDisplayTreeNode& node) override;
  void Reset(int32_t ordinal);
  MM3DDisplayTreeNode* GetFound() const { return mFound; }

 private:
  MM3DDisplayTreeNode* mFound = nullptr;
  int32_t mCounter = 0;
  int32_t mOrdinal;
};

// The ordinal of node in the tree under top (0 when absent or without a
// tree), and the node of an ordinal (null when there is none).
int32_t MM3DGetNodeOrdinal(MM3DDisplayTreeNode* top, const MM3DDisplayTreeNode* node);
MM3DDisplayTreeNode* MM3DFindNodeByOrdinal(MM3DDisplayTreeNode* top, int32_t ordinal);
