#pragma once
// The display tree: a model's geometry, lights and skeleton as a tree of
// nodes. MM3DDisplayTreeNode is any node; MM3DDisplayTreeNodeWithChildren
// owns an ordered list of children, deleting it deletes its subtree. A
// node's parent changes only through the operations of its new parent,
// which invalidate the node's world matrix.
//
// Every node writes itself as a node record: its kind code (int32), its
// reference index in the object table (int32), then its own record; a node
// with children ends its own record with the child count (int32) and one
// node record per child.

#include "foundation/uu/UUList.h"
#include "foundation/uu/UUOwned.h"
#include "mm3d/MM3DDisplayTreeVisitor.h"

#include <cstdint>

class MM3DDisplayTreeNodeWithChildren;
class MM3DMatrix;
class MM3DModDatabase;
class MM3DPipeline;
class MM3DRenderContext;
class MM3DRenderer;
class UUReader;
class UUWriter;

// The code GetKind answers and that precedes every node in a file.
enum MM3DDisplayTreeNodeKind : int32_t {
  kMM3DNodeRoot = 0,
  kMM3DNodeWithVisibility = 1,
  kMM3DNodeTransform = 2,
  kMM3DNodeSRTTransform = 3,
  kMM3DNodeJoint = 4,
  kMM3DNodeLight = 5,
  kMM3DNodeSpline = 6,
  kMM3DNodeLocator = 7,
  kMM3DNodeDistance = 8,
  kMM3DNodeBoundingData = 9,
  kMM3DNodeCullingBoundingBox = 10,
  kMM3DNodeOrientedCullingBoundingBox = 11,
  kMM3DNodeSphereData = 12,
  kMM3DNodeInstancedMesh = 13,
  kMM3DNodeIndexedMesh = 14,
  kMM3DNodeIndexedSkin = 15,
  kMM3DNodeIndexedBlendShapeArray = 16,
  kMM3DNodeIndexedBlendShape = 17,
  kMM3DNodeIndexedShape = 18,
  kMM3DNodeKindCount = 19
};

class MM3DDisplayTreeNode {
 public:
  MM3DDisplayTreeNode() = default;
  MM3DDisplayTreeNode(const MM3DDisplayTreeNode&) = delete;
  MM3DDisplayTreeNode& operator=(const MM3DDisplayTreeNode&) = delete;
  // Takes the node out of the object table of a file being read.
  virtual ~MM3DDisplayTreeNode();

  virtual MM3DDisplayTreeNodeKind GetKind() const = 0;
  // Draws the node's subtree; a node that draws nothing keeps this.
  virtual void Render(MM3DRenderContext& context, MM3DPipeline& pipeline, MM3DRenderer& renderer);
  // The parent's world matrix, or the identity at the top of a tree.
  virtual void GetWorldMatrix(MM3DMatrix& out);
  // Shows the node to the visitor, then, when it continues, the parents
  // (direction up); false when the walk was stopped.
  virtual bool Accept(MM3DDisplayTreeVisitor& visitor, MM3DVisitDirection direction);
  virtual void InvalidateWorldMatrix() {}
  // The node's own record.
  virtual bool Write(UUWriter& writer, MM3DModDatabase& database) = 0;
  virtual bool Read(UUReader& reader, MM3DModDatabase& database) = 0;

  // The first node of the kind: downward this node, then its subtree depth
  // first; upward this node, then its parent, grandparent and so on.
  MM3DDisplayTreeNode* FindNodeOfKind(int32_t kind, MM3DVisitDirection direction);
  MM3DDisplayTreeNodeWithChildren* GetParent() const { return mParent; }
  // Sets the parent pointer and invalidates the world matrix; the lists
  // are the parent's business.
  void SetParent(MM3DDisplayTreeNodeWithChildren* parent);
  // The node record: kind, reference index, own record.
  bool WriteNode(UUWriter& writer, MM3DModDatabase& database);

 private:
  friend bool MM3DReadDisplayTreeNode(UUReader& reader, MM3DModDatabase& database,
                                      UUOwned<MM3DDisplayTreeNode>& holder);

  MM3DDisplayTreeNodeWithChildren* mParent = nullptr;
  // Where the node was loaded in the object table, or -1.
  int32_t mReferenceIndex = -1;
};

class MM3DDisplayTreeNodeWithChildren : public MM3DDisplayTreeNode {
 public:
  using ChildList = UUList<UUOwned<MM3DDisplayTreeNode>>;

  // Renders each child in list order.
  void Render(MM3DRenderContext& context, MM3DPipeline& pipeline, MM3DRenderer& renderer) override;
  // Downward, the children follow the node in list order.
  bool Accept(MM3DDisplayTreeVisitor& visitor, MM3DVisitDirection direction) override;
  void InvalidateWorldMatrix() override;
  // The child-list record.
  bool Write(UUWriter& writer, MM3DModDatabase& database) override;
  bool Read(UUReader& reader, MM3DModDatabase& database) override;

  // Appends the node and owns it. A Root is not added itself: its children
  // move, in order, to the end of this list and the emptied Root is deleted.
  // An empty holder adds nothing.
  void AddChild(UUOwned<MM3DDisplayTreeNode> node);
  // Unlinks a child and hands it to the caller, without a parent; empty
  // when the node is not a child of this one.
  UUOwned<MM3DDisplayTreeNode> RemoveChild(MM3DDisplayTreeNode* child);
  // Moves every child, in order, to the end of the parent's list; nothing
  // without a parent.
  void MoveChildrenToParent();
  // The node comes between this node and its children.
  void InterposeChild(UUOwned<MM3DDisplayTreeNodeWithChildren> node);
  // The node comes between this node and its parent, at the end of the
  // parent's list; without a parent the node is deleted and nothing moves.
  void InterposeParent(UUOwned<MM3DDisplayTreeNodeWithChildren> node);
  // Appends every child of the other node to this list, in order.
  void TakeChildrenFrom(MM3DDisplayTreeNodeWithChildren& other);
  void GiveChildrenTo(MM3DDisplayTreeNodeWithChildren& other) { other.TakeChildrenFrom(*this); }
  // Moves one child to the end of another node's list; nothing when it is
  // not a child of this one.
  void MoveChildTo(MM3DDisplayTreeNode* child, MM3DDisplayTreeNodeWithChildren& node);
  // The child at a 0-based position, or null past the end.
  MM3DDisplayTreeNode* GetChild(int32_t position) const;
  int32_t GetChildCount() const { return mChildren.Count(); }
  const ChildList& GetChildren() const { return mChildren; }

 protected:
  // Render for the kinds whose own Render decides first whether to draw.
  void RenderChildren(MM3DRenderContext& context, MM3DPipeline& pipeline, MM3DRenderer& renderer);
  bool WriteChildren(UUWriter& writer, MM3DModDatabase& database);
  // Deletes the present children and reads the child-list record.
  bool ReadChildren(UUReader& reader, MM3DModDatabase& database);

 private:
  UUUntypedListNode* FindEntry(const MM3DDisplayTreeNode* child) const;
  // Makes this node the parent of the children in [first, last).
  void Adopt(UUUntypedListNode* first, UUUntypedListNode* last);

  ChildList mChildren;
};

// Reads one node record into the holder, deleting what it held. A kind
// code that no class serves fails before any node is made; a failure after
// that leaves the node, as far as it was read, in the holder.
bool MM3DReadDisplayTreeNode(UUReader& reader, MM3DModDatabase& database,
                             UUOwned<MM3DDisplayTreeNode>& holder);
