#include "mm3d/MM3DNodeOrdinalVisitors.h"

#include "mm3d/MM3DDisplayTreeNode.h"

MM3DVisitResult MM3DNodeCountingVisitor::Visit(MM3DDisplayTreeNode& node) {
  ++mCounter;
  if (&node != mTarget) return kMM3DVisitContinue;
  mResult = mCounter;
  return kMM3DVisitStop;
}

void MM3DNodeCountingVisitor::Reset(const MM3DDisplayTreeNode* target) {
  mTarget = target;
  mCounter = 0;
  mResult = 0;
}

MM3DVisitResult MM3DNodeFindingVisitor::Visit(MM3DDisplayTreeNode& node) {
  ++mCounter;
  if (mCounter != mOrdinal) return kMM3DVisitContinue;
  mFound = &node;
  return kMM3DVisitStop;
}

void MM3DNodeFindingVisitor::Reset(int32_t ordinal) {
  mOrdinal = ordinal;
  mCounter = 0;
  mFound = nullptr;
}

int32_t MM3DGetNodeOrdinal(MM3DDisplayTreeNode* top, const MM3DDisplayTreeNode* node) {
  if (top == nullptr || node == nullptr) return 0;
  MM3DNodeCountingVisitor visitor(node);
  top->Accept(visitor, kMM3DVisitDown);
  return visitor.GetResult();
}

MM3DDisplayTreeNode* MM3DFindNodeByOrdinal(MM3DDisplayTreeNode* top, int32_t ordinal) {
  if (top == nullptr || ordinal <= 0) return nullptr;
  MM3DNodeFindingVisitor visitor(ordinal);
  top->Accept(visitor, kMM3DVisitDown);
  return visitor.GetFound();
}
