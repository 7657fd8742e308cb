#include "mm3d/MM3DDisplayTreeNode.h"

#include "foundation/uu/UUReader.h"
#include "foundation/uu/UUWriter.h"
#include "mm3d/MM3DDatabase.h"
#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DSceneChanges.h"

MM3DVisitResult MM3DNodeFinder::Visit(MM3DDisplayTreeNode& node) {
  if (node.GetKind() != mKind) return kMM3DVisitContinue;
  mFound = &node;
  return kMM3DVisitStop;
}

MM3DDisplayTreeNode::~MM3DDisplayTreeNode() {
  MM3DDatabase::ForgetReference(this, mReferenceIndex);
}

void MM3DDisplayTreeNode::Render(MM3DRenderContext&, MM3DPipeline&, MM3DRenderer&) {}

void MM3DDisplayTreeNode::GetWorldMatrix(MM3DMatrix& out) {
  if (mParent != nullptr) {
    mParent->GetWorldMatrix(out);
  } else {
    out = MM3DMatrixIdentity;
  }
}

bool MM3DDisplayTreeNode::Accept(MM3DDisplayTreeVisitor& visitor, MM3DVisitDirection direction) {
  const MM3DVisitResult result = visitor.Visit(*this);
  if (result == kMM3DVisitStop) return false;
  if (result == kMM3DVisitPrune) return true;
  if (direction == kMM3DVisitUp && mParent != nullptr) return mParent->Accept(visitor, direction);
  return true;
}

MM3DDisplayTreeNode* MM3DDisplayTreeNode::FindNodeOfKind(int32_t kind,
                                                         MM3DVisitDirection direction) {
  MM3DNodeFinder finder(kind);
  Accept(finder, direction);
  return finder.GetFound();
}

void MM3DDisplayTreeNode::SetParent(MM3DDisplayTreeNodeWithChildren* parent) {
  mParent = parent;
  InvalidateWorldMatrix();
  MM3DSceneChanges::Note();
}

bool MM3DDisplayTreeNode::WriteNode(UUWriter& writer, MM3DModDatabase& database) {
  const int32_t kind = GetKind();
  return writer.WriteInt32s(&kind, 1) && MM3DDatabase::SaveReference(writer, this) &&
         Write(writer, database);
}

void MM3DDisplayTreeNodeWithChildren::Render(MM3DRenderContext& context, MM3DPipeline& pipeline,
                                             MM3DRenderer& renderer) {
  RenderChildren(context, pipeline, renderer);
}

void MM3DDisplayTreeNodeWithChildren::RenderChildren(MM3DRenderContext& context,
                                                     MM3DPipeline& pipeline,
                                                     MM3DRenderer& renderer) {
  for (UUOwned<MM3DDisplayTreeNode>& child : mChildren) child->Render(context, pipeline, renderer);
}

bool MM3DDisplayTreeNodeWithChildren::Accept(MM3DDisplayTreeVisitor& visitor,
                                             MM3DVisitDirection direction) {
  if (direction != kMM3DVisitDown) return MM3DDisplayTreeNode::Accept(visitor, direction);
  const MM3DVisitResult result = visitor.Visit(*this);
  if (result == kMM3DVisitStop) return false;
  if (result == kMM3DVisitPrune) return true;
  for (UUOwned<MM3DDisplayTreeNode>& child : mChildren) {
    if (!child->Accept(visitor, kMM3DVisitDown)) return false;
  }
  return true;
}

void MM3DDisplayTreeNodeWithChildren::InvalidateWorldMatrix() {
  for (UUOwned<MM3DDisplayTreeNode>& child : mChildren) child->InvalidateWorldMatrix();
}

bool MM3DDisplayTreeNodeWithChildren::Write(UUWriter& writer, MM3DModDatabase& database) {
  return WriteChildren(writer, database);
}

bool MM3DDisplayTreeNodeWithChildren::Read(UUReader& reader, MM3DModDatabase& database) {
  return ReadChildren(reader, database);
}

bool MM3DDisplayTreeNodeWithChildren::WriteChildren(UUWriter& writer, MM3DModDatabase& database) {
  const int32_t count = mChildren.Count();
  if (!writer.WriteInt32s(&count, 1)) return false;
  for (UUOwned<MM3DDisplayTreeNode>& child : mChildren) {
    if (!child->WriteNode(writer, database)) return false;
  }
  return true;
}

bool MM3DDisplayTreeNodeWithChildren::ReadChildren(UUReader& reader, MM3DModDatabase& database) {
  mChildren.Clear();
  int32_t count = 0;
  if (!MM3DDatabase::ReadInt32(reader, count)) return false;
  if (count < 0) return MM3DDatabase::RejectRecord(reader);
  // Nothing is made ahead of the records: a count beyond the data ends
  // with the first child that cannot be read.
  for (int32_t i = 0; i < count; ++i) {
    UUOwned<MM3DDisplayTreeNode> holder;
    if (!MM3DReadDisplayTreeNode(reader, database, holder)) return false;
    AddChild(std::move(holder));
  }
  return true;
}

void MM3DDisplayTreeNodeWithChildren::AddChild(UUOwned<MM3DDisplayTreeNode> node) {
  if (node.IsEmpty()) return;
  if (node->GetKind() == kMM3DNodeRoot) {
    TakeChildrenFrom(static_cast<MM3DDisplayTreeNodeWithChildren&>(*node));
    return;
  }
  node->SetParent(this);
  mChildren.PushBack(std::move(node));
}

UUOwned<MM3DDisplayTreeNode> MM3DDisplayTreeNodeWithChildren::RemoveChild(
    MM3DDisplayTreeNode* child) {
  UUUntypedListNode* entry = FindEntry(child);
  if (entry == mChildren.End()) return {};
  UUOwned<MM3DDisplayTreeNode> owned = std::move(ChildList::ValueOf(entry));
  mChildren.Erase(entry);
  owned->SetParent(nullptr);
  return owned;
}

void MM3DDisplayTreeNodeWithChildren::MoveChildrenToParent() {
  if (GetParent() != nullptr) GetParent()->TakeChildrenFrom(*this);
}

void MM3DDisplayTreeNodeWithChildren::InterposeChild(
    UUOwned<MM3DDisplayTreeNodeWithChildren> node) {
  GiveChildrenTo(*node);
  AddChild(std::move(node));
}

void MM3DDisplayTreeNodeWithChildren::InterposeParent(
    UUOwned<MM3DDisplayTreeNodeWithChildren> node) {
  MM3DDisplayTreeNodeWithChildren* parent = GetParent();
  if (parent == nullptr) return;
  parent->MoveChildTo(this, *node);
  parent->AddChild(std::move(node));
}

void MM3DDisplayTreeNodeWithChildren::TakeChildrenFrom(MM3DDisplayTreeNodeWithChildren& other) {
  if (&other == this || other.mChildren.IsEmpty()) return;
  UUUntypedListNode* first = other.mChildren.Begin();
  mChildren.SpliceAll(mChildren.End(), other.mChildren);
  Adopt(first, mChildren.End());
}

void MM3DDisplayTreeNodeWithChildren::MoveChildTo(MM3DDisplayTreeNode* child,
                                                  MM3DDisplayTreeNodeWithChildren& node) {
  UUUntypedListNode* entry = FindEntry(child);
  if (entry == mChildren.End() || &node == this) return;
  node.mChildren.Anchor()->TransferRange(node.mChildren.End(), mChildren.Anchor(), entry,
                                         entry->mNext, 1);
  node.Adopt(entry, node.mChildren.End());
}

MM3DDisplayTreeNode* MM3DDisplayTreeNodeWithChildren::GetChild(int32_t position) const {
  if (position < 0 || position >= mChildren.Count()) return nullptr;
  UUUntypedListNode* entry = mChildren.Begin();
  for (int32_t i = 0; i < position; ++i) entry = entry->mNext;
  return ChildList::ValueOf(entry).Get();
}

UUUntypedListNode* MM3DDisplayTreeNodeWithChildren::FindEntry(
    const MM3DDisplayTreeNode* child) const {
  UUUntypedListNode* entry = mChildren.Begin();
  while (entry != mChildren.End() && ChildList::ValueOf(entry).Get() != child) {
    entry = entry->mNext;
  }
  return entry;
}

void MM3DDisplayTreeNodeWithChildren::Adopt(UUUntypedListNode* first, UUUntypedListNode* last) {
  for (; first != last; first = first->mNext) ChildList::ValueOf(first)->SetParent(this);
}
