#pragma once
// One event of a magnet drag on a model's meshes. From the corner nearest
// the hit it gathers, breadth first over the triangles at each vertex (and
// the vertices at the same place, so seams stay closed), every vertex
// within the reach, moves them all by the nearest one's normal times the
// strength, and splits each triangle at a moved vertex whose longest edge
// grew beyond 5 units, in both triangles at that edge. The searches visit
// meshes, parts, blocks, triangles and corners in order and compare
// positions exactly; the corners a step can look for are indexed by
// position once, so a step costs about as much as the pick before it.

#include "app/objects/VPLVertexHolder.h"
#include "mm3d/MM3DVector.h"

#include <cstdint>
#include <memory>
#include <vector>

class MM3DDisplayTreeNode;

class VPLMagnetStep {
 public:
  static constexpr float kPullStrength = 0.2f;
  static constexpr float kPushStrength = -0.1f;
  // Squared: an edge longer than 5 units is split.
  static constexpr float kSplitThreshold = 25.0f;
  // The least cross-product length a split's new triangle keeps.
  static constexpr float kLeastSplitArea = 0.00001f;
  // Indices are 16 bits wide: a split never takes a block past this.
  static constexpr int32_t kMaxVertexCount = 65535;

  // The hit in world space; the reach is a squared world distance.
  VPLMagnetStep(MM3DDisplayTreeNode* root, const MM3DVector& hit, float reach, float strength);
  ~VPLMagnetStep();
  VPLMagnetStep(const VPLMagnetStep&) = delete;
  VPLMagnetStep& operator=(const VPLMagnetStep&) = delete;

  void Run();

 private:
  class CornerIndex;
  using Holders = std::vector<VPLVertexHolder>;

  // The corner nearest the hit (the first of equals), the move its normal
  // gives, and the index of the corners near it.
  bool Survey(VPLVertexHolder& nearest, MM3DVector& move);
  Holders Gather(const VPLVertexHolder& first) const;
  void Move(const Holders& affected, const MM3DVector& by);
  void SplitAround(const MM3DVector& point);
  // Every triangle with an edge from p to q, either way round.
  Holders FindEdgeTriangles(const MM3DVector& p, const MM3DVector& q) const;
  // False, changing nothing, when the new triangle would have no area or
  // the block is full.
  bool SplitTriangleEdge(const VPLVertexHolder& edge, const MM3DVector& midpoint);

  std::vector<MM3DDisplayTreeNode*> mMeshes;
  MM3DVector mHit;
  float mReach;
  float mStrength;
  std::unique_ptr<CornerIndex> mIndex;
};
