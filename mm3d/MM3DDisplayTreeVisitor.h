#pragma once
// Walks over display trees: a visitor is shown one node at a time and
// answers whether the walk goes on. MM3DDisplayTreeNode::Accept drives it,
// depth first, node before children, children in list order.

#include <cstdint>

class MM3DDisplayTreeNode;

enum MM3DVisitResult : int32_t {
  // Ends the whole walk.
  kMM3DVisitStop = 0,
  // Goes no further from this node (neither down nor up) but on elsewhere.
  kMM3DVisitPrune = 1,
  kMM3DVisitContinue = 2
};

enum MM3DVisitDirection : int32_t { kMM3DVisitDown = 0, kMM3DVisitUp = 1 };

class MM3DDisplayTreeVisitor {
 public:
  virtual ~MM3DDisplayTreeVisitor() = default;
  virtual MM3DVisitResult Visit(MM3DDisplayTreeNode& node) = 0;
};

// Stops at the first node of the wanted kind.
class MM3DNodeFinder : public MM3DDisplayTreeVisitor {
 public:
  explicit MM3DNodeFinder(int32_t kind) : mKind(kind) {}

  MM3DVisitResult Visit(MM3DDisplayTreeNode& node) override;
  MM3DDisplayTreeNode* GetFound() const { return mFound; }

 private:
  int32_t mKind;
  MM3DDisplayTreeNode* mFound = nullptr;
};
