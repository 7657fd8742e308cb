// The magnet: each event of a magnet drag moves the surface under the
// pointer along the normal of the vertex nearest the hit, with every
// vertex connected to it within the reach, and splits the triangles that
// grew too long so that pulling on grows new vertices.
#include "app/creation/VPLObjCreation.h"

#include "app/objects/VPLDisplayTreeVisitors.h"
#include "app/objects/VPLPicking.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"

#include <cmath>
#include <deque>
#include <unordered_set>

namespace {

constexpr float kPullStrength = 0.2f;
constexpr float kPushStrength = -0.1f;
// Squared: an edge longer than 5 units is split.
constexpr float kSplitThreshold = 25.0f;
constexpr float kLeastSplitArea = 0.00001f;
const MM3DVector kFallbackNormal(0.0f, 1.0f, 0.0f, 0.0f);
// Indices are 16 bits wide: the last vertex a block can name.
constexpr int32_t kMaxSplitVertexCount = 65535;

using Holders = std::vector<VPLVertexHolder>;

MM3DIndexedMeshVertexData* BlockOf(const VPLVertexHolder& h) {
  if (h.mNode == nullptr || h.mPart < 0 || h.mPart >= h.mNode->GetPartCount()) return nullptr;
  const MM3DVertexDataBlocks& blocks = h.mNode->GetPart(h.mPart).mBlocks;
  if (h.mBlock < 0 || h.mBlock >= blocks.Count()) return nullptr;
  return blocks[h.mBlock].Get();
}

int32_t IndexOf(const MM3DIndexedMeshVertexData& block, const VPLVertexHolder& h, int32_t corner) {
  return block.mIndices[3 * h.mTriangle + corner];
}

bool SamePosition(const MM3DVector& a, const MM3DVector& b) {
  return a.mX == b.mX && a.mY == b.mY && a.mZ == b.mZ && a.mW == b.mW;
}

float DistanceSquared(const MM3DVector& a, const MM3DVector& b) {
  const float dx = a.mX - b.mX;
  const float dy = a.mY - b.mY;
  const float dz = a.mZ - b.mZ;
  return dx * dx + dy * dy + dz * dz;
}

// A holder's corner as a key: the node, part, block, triangle and corner.
struct CornerKey {
  const void* mNode;
  int32_t mPart;
  int32_t mBlock;
  int32_t mTriangle;
  int32_t mCorner;
  bool operator==(const CornerKey&) const = default;
};

struct CornerKeyHash {
  size_t operator()(const CornerKey& k) const {
    size_t h = std::hash<const void*>()(k.mNode);
    for (int32_t v : {k.mPart, k.mBlock, k.mTriangle, k.mCorner}) {
      h = h * 1000003u ^ std::hash<int32_t>()(v);
    }
    return h;
  }
};

using CornerSet = std::unordered_set<CornerKey, CornerKeyHash>;

CornerKey CornerOf(const VPLVertexHolder& h) {
  return {h.mNode, h.mPart, h.mBlock, h.mTriangle, h.mCorner};
}

// The vertex a holder names: its corner's index in place of the triangle.
CornerKey VertexOf(const VPLVertexHolder& h, const MM3DIndexedMeshVertexData& block) {
  return {h.mNode, h.mPart, h.mBlock, IndexOf(block, h, h.mCorner), -1};
}

VPLVertexHolder WithCorner(const VPLVertexHolder& h, int32_t corner, int32_t second) {
  VPLVertexHolder out = h;
  out.mCorner = corner;
  out.mSecondCorner = second;
  return out;
}

// Visits every triangle of every block of every mesh under the root, in
// walk order: visit(holder of corner 0, block).
template <typename Visit>
void ForEachTriangle(MM3DDisplayTreeNode* root, Visit visit) {
  const UUGrowableArray<MM3DDisplayTreeNode*> meshes = VPLFindMeshes(root);
  for (int32_t m = 0; m < meshes.Count(); ++m) {
    auto* node = static_cast<MM3DDisplayTreeNodeIndexedMesh*>(meshes[m]);
    for (int32_t p = 0; p < node->GetPartCount(); ++p) {
      const MM3DVertexDataBlocks& blocks = node->GetPart(p).mBlocks;
      for (int32_t b = 0; b < blocks.Count(); ++b) {
        if (!blocks[b]) continue;
        const MM3DIndexedMeshVertexData& block = *blocks[b];
        VPLVertexHolder h;
        h.mNode = node;
        h.mPart = p;
        h.mBlock = b;
        for (int32_t t = 0; t < block.mIndices.Count() / 3; ++t) {
          h.mTriangle = t;
          visit(h, block);
        }
      }
    }
  }
}

// The edge to split in a triangle with corners A, B and C: the longest
// when longer than the threshold, A-B before B-C before C-A on equal
// lengths; (from, to) as corner numbers, or from = -1 for none.
void ChooseEdge(const MM3DVector& a, const MM3DVector& b, const MM3DVector& c, int32_t& from,
                int32_t& to) {
  const float ab = DistanceSquared(a, b);
  const float bc = DistanceSquared(b, c);
  const float ca = DistanceSquared(c, a);
  from = -1;
  to = -1;
  if (bc > ab && bc > kSplitThreshold) {
    if (ca > bc) {
      from = 2, to = 0;
    } else {
      from = 1, to = 2;
    }
  } else if (ca > ab && ca > kSplitThreshold) {
    from = 2, to = 0;
  } else if (ab > kSplitThreshold) {
    from = 0, to = 1;
  }
}

MM3DVector Midway(const MM3DVector& from, const MM3DVector& to) {
  return MM3DVector(from.mX + (to.mX - from.mX) * 0.5f, from.mY + (to.mY - from.mY) * 0.5f,
                    from.mZ + (to.mZ - from.mZ) * 0.5f, 1.0f);
}

uint8_t MidwayByte(uint8_t a, uint8_t b) {
  return static_cast<uint8_t>((static_cast<int32_t>(a) + static_cast<int32_t>(b)) / 2);
}

MM3DTextureCoordinate MidwayCoordinate(const MM3DTextureCoordinate& a,
                                       const MM3DTextureCoordinate& b) {
  return {a.mU + (b.mU - a.mU) * 0.5f, a.mV + (b.mV - a.mV) * 0.5f};
}

MM3DVector SummedNormal(const MM3DIndexedMeshVertexData& block, int32_t a, int32_t b) {
  const MM3DVector& na = block.mNormals[a];
  const MM3DVector& nb = block.mNormals[b];
  MM3DVector s(na.mX + nb.mX, na.mY + nb.mY, na.mZ + nb.mZ, na.mW);
  const float lengthSquared = s.LengthSquared();
  if (lengthSquared == 0.0f) return kFallbackNormal;
  s.Divide(std::sqrt(lengthSquared));
  return s;
}

// Every per-vertex array the block carries gets the new vertex's entry:
// the normal, and the colour and coordinates halfway along the edge.
void AppendVertex(MM3DIndexedMeshVertexData& block, const MM3DVector& midpoint, int32_t a,
                  int32_t b) {
  const int32_t n = block.mPositions.Count();
  block.mPositions.Append(midpoint);
  if (block.mNormals.Count() == n) block.mNormals.Append(SummedNormal(block, a, b));
  if (block.mColors.Count() == n) {
    const MM3DPackedColor& ca = block.mColors[a];
    const MM3DPackedColor& cb = block.mColors[b];
    block.mColors.Append(MM3DPackedColor{MidwayByte(ca.mR, cb.mR), MidwayByte(ca.mG, cb.mG),
                                         MidwayByte(ca.mB, cb.mB), MidwayByte(ca.mA, cb.mA)});
  }
  for (UUGrowableArray<MM3DTextureCoordinate>& set : block.mTextureCoordinates) {
    if (set.Count() == n) set.Append(MidwayCoordinate(set[a], set[b]));
  }
}

}  // namespace

void VPLObjCreation::BeginMagnetPull(const MM3DVector& start, const MM3DVector& end, float reach) {
  BakeScale();
  MagnetStep(start, end, reach, kPullStrength);
}

void VPLObjCreation::DragMagnetPull(const MM3DVector& start, const MM3DVector& end, float reach) {
  BakeScale();
  MagnetStep(start, end, reach, kPullStrength);
}

void VPLObjCreation::EndMagnetPull(const MM3DVector& start, const MM3DVector& end, float reach) {
  BakeScale();
  MagnetStep(start, end, reach, kPullStrength);
  RefreshBounds();
}

void VPLObjCreation::BeginMagnetPush(const MM3DVector& start, const MM3DVector& end, float reach) {
  BakeScale();
  MagnetStep(start, end, reach, kPushStrength);
}

void VPLObjCreation::DragMagnetPush(const MM3DVector& start, const MM3DVector& end, float reach) {
  MagnetStep(start, end, reach, kPushStrength);
}

void VPLObjCreation::EndMagnetPush(const MM3DVector& start, const MM3DVector& end, float reach) {
  MagnetStep(start, end, reach, kPushStrength);
  RefreshBounds();
}

VPLVertexHolder VPLObjCreation::FindNearestCorner(const MM3DVector& point) const {
  VPLVertexHolder nearest;
  float best = 0.0f;
  bool any = false;
  MM3DDisplayTreeNodeIndexedMesh* node = nullptr;
  MM3DMatrix world = MM3DMatrixIdentity;
  ForEachTriangle(GetDisplayTreeRoot(),
                  [&](const VPLVertexHolder& h, const MM3DIndexedMeshVertexData& block) {
                    if (h.mNode != node) {
                      node = h.mNode;
                      node->GetWorldMatrix(world);
                    }
                    MM3DVector corners[3];
                    for (int32_t k = 0; k < 3; ++k)
                      corners[k] = block.mPositions[IndexOf(block, h, k)];
                    MM3DVector placed[3];
                    world.TransformPoints(placed, corners, 3);
                    for (int32_t k = 0; k < 3; ++k) {
                      const float distance = DistanceSquared(placed[k], point);
                      if (any && !(distance < best)) continue;
                      any = true;
                      best = distance;
                      nearest = WithCorner(h, k, k);
                    }
                  });
  return nearest;
}

void VPLObjCreation::FindCornersAt(const MM3DVector& point, Holders& list) const {
  ForEachTriangle(GetDisplayTreeRoot(),
                  [&](const VPLVertexHolder& h, const MM3DIndexedMeshVertexData& block) {
                    for (int32_t k = 0; k < 3; ++k) {
                      if (SamePosition(block.mPositions[IndexOf(block, h, k)], point)) {
                        list.push_back(WithCorner(h, k, k));
                      }
                    }
                  });
}

void VPLObjCreation::FindEdgeTriangles(const MM3DVector& p, const MM3DVector& q,
                                       Holders& list) const {
  ForEachTriangle(GetDisplayTreeRoot(),
                  [&](const VPLVertexHolder& h, const MM3DIndexedMeshVertexData& block) {
                    const auto at = [&](int32_t k, const MM3DVector& v) {
                      return SamePosition(block.mPositions[IndexOf(block, h, k)], v);
                    };
                    // Where the other end may be, in the order it is looked for, and the
                    // edge it makes as (corner, second corner).
                    struct Option {
                      int32_t mOther;
                      int32_t mFrom;
                      int32_t mTo;
                    };
                    static constexpr Option kOptions[3][2] = {
                        {{1, 0, 1}, {2, 2, 0}}, {{0, 0, 1}, {2, 1, 2}}, {{0, 2, 0}, {1, 1, 2}}};
                    for (int32_t k = 0; k < 3; ++k) {
                      if (!at(k, p)) continue;
                      for (const Option& option : kOptions[k]) {
                        if (!at(option.mOther, q)) continue;
                        list.push_back(WithCorner(h, option.mFrom, option.mTo));
                        return;
                      }
                      return;
                    }
                  });
}

bool VPLObjCreation::SplitTriangleEdge(const VPLVertexHolder& edge, const MM3DVector& midpoint) {
  MM3DIndexedMeshVertexData* block = BlockOf(edge);
  const int32_t a = edge.mCorner;
  const int32_t b = edge.mSecondCorner;
  if (block == nullptr || a == b) return false;
  const int32_t n = block->mPositions.Count();
  if (n >= kMaxSplitVertexCount) return false;
  const int32_t t = edge.mTriangle;
  const int32_t iA = IndexOf(*block, edge, a);
  const int32_t iB = IndexOf(*block, edge, b);
  const int32_t iW = IndexOf(*block, edge, 3 - a - b);
  const MM3DVector& pB = block->mPositions[iB];
  const MM3DVector toMid = midpoint.Direction(pB);
  const MM3DVector toThird = block->mPositions[iW].Direction(pB);
  if (std::sqrt(toMid.Cross(toThird).LengthSquared()) < kLeastSplitArea) return false;
  AppendVertex(*block, midpoint, iA, iB);
  // The old triangle runs from A to the new vertex, the new one from there
  // to B; both keep their winding.
  block->mIndices[3 * t + b] = static_cast<uint16_t>(n);
  for (int32_t index : {n, iB, iW}) block->mIndices.Append(static_cast<uint16_t>(index));
  return true;
}

namespace {

// One step's gathering: breadth first from the vertex nearest the hit over
// the triangles at each vertex within the reach, seams included.
class MagnetGather {
 public:
  MagnetGather(const MM3DVector& hit, float reach) : mHit(hit), mReach(reach) {}

  template <typename FindCorners>
  Holders Run(const VPLVertexHolder& first, FindCorners findCorners) {
    mQueue.push_front(first);
    mQueued.insert(CornerOf(first));
    while (!mQueue.empty()) {
      const VPLVertexHolder h = mQueue.back();
      const MM3DIndexedMeshVertexData* block = BlockOf(h);
      if (block != nullptr && Within(h, *block)) Affect(h, *block, findCorners);
      mQueue.pop_back();
      mQueued.erase(CornerOf(h));
      mVisited.insert(CornerOf(h));
    }
    return std::move(mAffected);
  }

 private:
  bool Within(const VPLVertexHolder& h, const MM3DIndexedMeshVertexData& block) const {
    MM3DMatrix world = MM3DMatrixIdentity;
    h.mNode->GetWorldMatrix(world);
    MM3DVector placed;
    world.TransformPoint(placed, block.mPositions[IndexOf(block, h, h.mCorner)]);
    return DistanceSquared(mHit, placed) < mReach;
  }

  template <typename FindCorners>
  void Affect(const VPLVertexHolder& h, const MM3DIndexedMeshVertexData& block,
              FindCorners& findCorners) {
    if (mVisited.count(CornerOf(h)) != 0 || !mAffectedVertices.insert(VertexOf(h, block)).second) {
      return;
    }
    mAffected.push_back(h);
    Holders corners;
    findCorners(block.mPositions[IndexOf(block, h, h.mCorner)], corners);
    for (auto c = corners.rbegin(); c != corners.rend(); ++c) {
      if (mSeen.insert(CornerOf(*c)).second) mPending.push_front(*c);
    }
    while (!mPending.empty()) {
      const VPLVertexHolder x = mPending.back();
      for (int32_t k = 0; k < 3; ++k) {
        const VPLVertexHolder corner = WithCorner(x, k, k);
        const CornerKey key = CornerOf(corner);
        if (mVisited.count(key) != 0 || !mQueued.insert(key).second) continue;
        mQueue.push_front(corner);
      }
      mPending.pop_back();
    }
  }

  MM3DVector mHit;
  float mReach;
  std::deque<VPLVertexHolder> mQueue;
  std::deque<VPLVertexHolder> mPending;
  Holders mAffected;
  CornerSet mQueued;
  CornerSet mVisited;
  // Corners once pending: pending or expanded.
  CornerSet mSeen;
  CornerSet mAffectedVertices;
};

}  // namespace

void VPLObjCreation::MagnetStep(const MM3DVector& start, const MM3DVector& end, float reach,
                                float strength) {
  MM3DVector hit(0.0f, 0.0f, 0.0f, 1.0f);
  if (!VPLPickModel(*this, start, end, hit, nullptr)) return;
  const VPLVertexHolder nearest = FindNearestCorner(hit);
  const Holders affected =
      MagnetGather(hit, reach).Run(nearest, [this](const MM3DVector& p, Holders& list) {
        FindCornersAt(p, list);
      });
  if (affected.empty()) return;
  const MM3DIndexedMeshVertexData* firstBlock = BlockOf(affected.front());
  const int32_t firstIndex = IndexOf(*firstBlock, affected.front(), affected.front().mCorner);
  if (firstIndex >= firstBlock->mNormals.Count()) return;
  MM3DVector move = firstBlock->mNormals[firstIndex];
  move.Scale(strength);
  for (const VPLVertexHolder& v : affected) {
    MM3DIndexedMeshVertexData* block = BlockOf(v);
    MM3DVector& position = block->mPositions[IndexOf(*block, v, v.mCorner)];
    position = MM3DVector(position.mX + move.mX, position.mY + move.mY, position.mZ + move.mZ,
                          position.mW);
    // Splits grow the arrays: the place is copied first.
    const MM3DVector moved = position;
    SplitAround(moved);
  }
}

// Splits the longest edge, when too long, of each triangle at the point.
void VPLObjCreation::SplitAround(const MM3DVector& point) {
  Holders corners;
  FindCornersAt(point, corners);
  for (const VPLVertexHolder& c : corners) {
    const MM3DIndexedMeshVertexData* block = BlockOf(c);
    MM3DVector ends[3];
    for (int32_t k = 0; k < 3; ++k) ends[k] = block->mPositions[IndexOf(*block, c, k)];
    int32_t from = -1;
    int32_t to = -1;
    ChooseEdge(ends[0], ends[1], ends[2], from, to);
    if (from < 0) continue;
    const MM3DVector midpoint = Midway(ends[to], ends[from]);
    Holders edges;
    FindEdgeTriangles(ends[to], ends[from], edges);
    for (const VPLVertexHolder& edge : edges) SplitTriangleEdge(edge, midpoint);
  }
}
