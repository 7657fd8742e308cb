#include "app/creation/VPLEdge.h"

#include <algorithm>
#include <utility>

namespace {

constexpr size_t kLeastOutline = 3;

// The three edges of every whole triangle, in triangle and corner order.
std::vector<VPLEdge> TriangleEdges(const UUGrowableArray<uint16_t>& indices) {
  std::vector<VPLEdge> edges;
  const int32_t triangles = indices.Count() / 3;
  edges.reserve(static_cast<size_t>(triangles) * 3);
  for (int32_t t = 0; t < triangles; ++t) {
    const int32_t a = indices[3 * t];
    const int32_t b = indices[3 * t + 1];
    const int32_t c = indices[3 * t + 2];
    edges.emplace_back(a, b);
    edges.emplace_back(b, c);
    edges.emplace_back(c, a);
  }
  return edges;
}

// Clears the flag of every edge that another edge repeats. Sorting by the
// unordered pair keeps this fast for large meshes; the survivors keep their
// order.
std::vector<VPLEdge> BoundaryEdges(std::vector<VPLEdge> edges) {
  std::vector<std::pair<std::pair<int32_t, int32_t>, size_t>> keys;
  keys.reserve(edges.size());
  for (size_t i = 0; i < edges.size(); ++i) {
    const VPLEdge& e = edges[i];
    keys.push_back({{std::min(e.mFirst, e.mSecond), std::max(e.mFirst, e.mSecond)}, i});
  }
  std::sort(keys.begin(), keys.end());
  for (size_t i = 0; i + 1 < keys.size(); ++i) {
    if (keys[i].first != keys[i + 1].first) continue;
    edges[keys[i].second].mBoundary = 0;
    edges[keys[i + 1].second].mBoundary = 0;
  }
  std::erase_if(edges, [](const VPLEdge& e) { return e.mBoundary == 0; });
  return edges;
}

// The first boundary edge after none other than current that holds the
// vertex; -1 when the outline breaks off there.
int32_t NextEdge(const std::vector<VPLEdge>& boundary, size_t current, int32_t vertex) {
  for (size_t j = 0; j < boundary.size(); ++j) {
    if (j != current && boundary[j].Contains(vertex)) return static_cast<int32_t>(j);
  }
  return -1;
}

}  // namespace

bool VPLEdge::IsSameEdge(const VPLEdge& other) const {
  return (mFirst == other.mFirst && mSecond == other.mSecond) ||
         (mFirst == other.mSecond && mSecond == other.mFirst);
}

std::vector<int32_t> VPLEdgeOutline(const UUGrowableArray<uint16_t>& indices) {
  const std::vector<VPLEdge> boundary = BoundaryEdges(TriangleEdges(indices));
  if (boundary.size() < kLeastOutline) return {};
  std::vector<int32_t> outline;
  std::vector<bool> walked(boundary.size(), false);
  size_t current = 0;
  int32_t vertex = boundary[0].mFirst;
  for (size_t step = 0; step < boundary.size(); ++step) {
    // An edge met twice means the walk went round a smaller loop.
    if (walked[current]) return {};
    walked[current] = true;
    outline.push_back(vertex);
    const int32_t shared = boundary[current].Other(vertex);
    const int32_t next = NextEdge(boundary, current, shared);
    if (next < 0) return {};
    current = static_cast<size_t>(next);
    vertex = shared;
  }
  // One closed loop ends where it began.
  if (current != 0) return {};
  return outline;
}
