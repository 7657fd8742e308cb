#pragma once
// An edge of a mesh's triangles, by its two vertex indices, and the walk
// that turns the edges of a flat profile's triangles into the loop of its
// outline (the tube tool sweeps that loop along the stroke).

#include "foundation/uu/UUGrowableArray.h"

#include <cstdint>
#include <vector>

class VPLEdge {
 public:
  VPLEdge(int32_t first, int32_t second) : mFirst(first), mSecond(second) {}
  virtual ~VPLEdge() = default;

  // Both edges join the same two vertices, in either order.
  virtual bool IsSameEdge(const VPLEdge& other) const;
  virtual bool IsOtherEdge(const VPLEdge& other) const { return !IsSameEdge(other); }

  bool Contains(int32_t vertex) const { return mFirst == vertex || mSecond == vertex; }
  int32_t Other(int32_t vertex) const { return vertex == mFirst ? mSecond : mFirst; }

  int32_t mFirst;
  int32_t mSecond;
  // Set while the edge may still lie on the outline.
  uint8_t mBoundary = 1;
};

// The vertices of the triangles' outline in walking order, starting at the
// first vertex of the first edge that no other triangle shares. An edge
// lies on the outline when exactly one triangle has it. Empty when the
// outline is not one closed loop of at least three vertices: a profile
// that cannot be swept.
std::vector<int32_t> VPLEdgeOutline(const UUGrowableArray<uint16_t>& indices);
