#pragma once
// One triangle corner of a mesh, or one edge when the second corner differs:
// the node, the part, the vertex-data block, the triangle of the block and
// the corner. The vertex it names is the block's index at 3 x triangle +
// corner. The picking functions fill only the node.

#include <cstdint>

class MM3DDisplayTreeNodeIndexedMesh;

class VPLVertexHolder {
 public:
  virtual ~VPLVertexHolder() = default;

  // Node, part, block, triangle and corner all equal (the second corner
  // does not count).
  virtual bool IsSameVertex(const VPLVertexHolder& other) const;
  virtual bool IsOtherVertex(const VPLVertexHolder& other) const { return !IsSameVertex(other); }

  MM3DDisplayTreeNodeIndexedMesh* mNode = nullptr;
  int32_t mPart = 0;
  int32_t mBlock = 0;
  int32_t mTriangle = 0;
  int32_t mCorner = 0;
  int32_t mSecondCorner = 0;
};
