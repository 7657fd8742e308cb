#include "app/creation/VPLMagnetStep.h"

#include "app/objects/VPLDisplayTreeVisitors.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DSceneChanges.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <deque>
#include <tuple>
#include <unordered_map>
#include <unordered_set>

namespace {

const MM3DVector kFallbackNormal(0.0f, 1.0f, 0.0f, 0.0f);
// Room around the near corners' box, so that rounding never leaves out a
// corner a search can ask for.
constexpr float kBoxMargin = 1e-3f;
constexpr float kReachMargin = 1e-3f;

using Holders = std::vector<VPLVertexHolder>;

MM3DDisplayTreeNodeIndexedMesh* AsMesh(MM3DDisplayTreeNode* node) {
  return static_cast<MM3DDisplayTreeNodeIndexedMesh*>(node);
}

MM3DIndexedMeshVertexData* BlockOf(const VPLVertexHolder& h) {
  if (h.mNode == nullptr || h.mPart < 0 || h.mPart >= h.mNode->GetPartCount()) return nullptr;
  const MM3DVertexDataBlocks& blocks = h.mNode->GetPart(h.mPart).mBlocks;
  if (h.mBlock < 0 || h.mBlock >= blocks.Count()) return nullptr;
  return blocks[h.mBlock].Get();
}

int32_t IndexOf(const MM3DIndexedMeshVertexData& block, const VPLVertexHolder& h, int32_t corner) {
  return block.mIndices[3 * h.mTriangle + corner];
}

const MM3DVector& PositionOf(const VPLVertexHolder& h) {
  const MM3DIndexedMeshVertexData& block = *BlockOf(h);
  return block.mPositions[IndexOf(block, h, h.mCorner)];
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

VPLVertexHolder WithCorner(const VPLVertexHolder& h, int32_t corner, int32_t second) {
  VPLVertexHolder out = h;
  out.mCorner = corner;
  out.mSecondCorner = second;
  return out;
}

// A corner (vertex -1) or a vertex (corner -1) of a block, as a key.
struct CornerKey {
  const void* mNode;
  int32_t mPart;
  int32_t mBlock;
  int32_t mTriangleOrVertex;
  int32_t mCorner;
  bool operator==(const CornerKey&) const = default;
};

struct CornerKeyHash {
  size_t operator()(const CornerKey& k) const {
    size_t h = std::hash<const void*>()(k.mNode);
    for (int32_t v : {k.mPart, k.mBlock, k.mTriangleOrVertex, k.mCorner}) {
      h = h * 1000003u ^ std::hash<int32_t>()(v);
    }
    return h;
  }
};

using CornerSet = std::unordered_set<CornerKey, CornerKeyHash>;

CornerKey CornerOf(const VPLVertexHolder& h) {
  return {h.mNode, h.mPart, h.mBlock, h.mTriangle, h.mCorner};
}

// The vertex a holder names: two corners of one vertex are one vertex.
CornerKey VertexOf(const VPLVertexHolder& h, const MM3DIndexedMeshVertexData& block) {
  return {h.mNode, h.mPart, h.mBlock, IndexOf(block, h, h.mCorner), -1};
}

// Visits every triangle of every block of the meshes in walk order:
// visit(holder of the triangle's corner 0, its block).
template <typename Visit>
void ForEachTriangle(const std::vector<MM3DDisplayTreeNode*>& meshes, Visit visit) {
  for (MM3DDisplayTreeNode* node : meshes) {
    MM3DDisplayTreeNodeIndexedMesh* mesh = AsMesh(node);
    for (int32_t p = 0; p < mesh->GetPartCount(); ++p) {
      const MM3DVertexDataBlocks& blocks = mesh->GetPart(p).mBlocks;
      for (int32_t b = 0; b < blocks.Count(); ++b) {
        if (!blocks[b]) continue;
        VPLVertexHolder h;
        h.mNode = mesh;
        h.mPart = p;
        h.mBlock = b;
        for (int32_t t = 0; t < blocks[b]->mIndices.Count() / 3; ++t) {
          h.mTriangle = t;
          visit(h, *blocks[b]);
        }
      }
    }
  }
}

// A box in mesh space, empty until a point widens it.
struct Box {
  void Widen(const MM3DVector& p) {
    mEmpty = false;
    for (int32_t axis = 0; axis < 3; ++axis) {
      mMin[axis] = std::min(mMin[axis], Axis(p, axis));
      mMax[axis] = std::max(mMax[axis], Axis(p, axis));
    }
  }
  void Grow(const MM3DVector& by) {
    for (int32_t axis = 0; axis < 3; ++axis) {
      const float room = std::fabs(Axis(by, axis)) + kBoxMargin;
      mMin[axis] -= room + std::fabs(mMin[axis]) * kBoxMargin;
      mMax[axis] += room + std::fabs(mMax[axis]) * kBoxMargin;
    }
  }
  bool Holds(const MM3DVector& p) const {
    if (mEmpty) return false;
    for (int32_t axis = 0; axis < 3; ++axis) {
      if (!(Axis(p, axis) >= mMin[axis] && Axis(p, axis) <= mMax[axis])) return false;
    }
    return true;
  }
  static float Axis(const MM3DVector& p, int32_t axis) {
    return axis == 0 ? p.mX : axis == 1 ? p.mY : p.mZ;
  }

  bool mEmpty = true;
  float mMin[3] = {INFINITY, INFINITY, INFINITY};
  float mMax[3] = {-INFINITY, -INFINITY, -INFINITY};
};

// The edge to split in a triangle with corners A, B and C: the longest
// when longer than the threshold, A-B before B-C before C-A on equal
// lengths; as corner numbers, or from = -1 for none.
void ChooseEdge(const MM3DVector (&ends)[3], int32_t& from, int32_t& to) {
  const float ab = DistanceSquared(ends[0], ends[1]);
  const float bc = DistanceSquared(ends[1], ends[2]);
  const float ca = DistanceSquared(ends[2], ends[0]);
  const float limit = VPLMagnetStep::kSplitThreshold;
  from = to = -1;
  if (bc > ab && bc > limit) {
    from = ca > bc ? 2 : 1;
    to = ca > bc ? 0 : 2;
  } else if (ca > ab && ca > limit) {
    from = 2;
    to = 0;
  } else if (ab > limit) {
    from = 0;
    to = 1;
  }
}

// from + (to - from) x 0.5, w 1.
MM3DVector Midway(const MM3DVector& from, const MM3DVector& to) {
  return MM3DVector(from.mX + (to.mX - from.mX) * 0.5f, from.mY + (to.mY - from.mY) * 0.5f,
                    from.mZ + (to.mZ - from.mZ) * 0.5f, 1.0f);
}

uint8_t MidwayByte(uint8_t a, uint8_t b) {
  return static_cast<uint8_t>((static_cast<int32_t>(a) + static_cast<int32_t>(b)) / 2);
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
    const MM3DPackedColor ca = block.mColors[a];
    const MM3DPackedColor cb = block.mColors[b];
    block.mColors.Append(MM3DPackedColor{MidwayByte(ca.mR, cb.mR), MidwayByte(ca.mG, cb.mG),
                                         MidwayByte(ca.mB, cb.mB), MidwayByte(ca.mA, cb.mA)});
  }
  for (UUGrowableArray<MM3DTextureCoordinate>& set : block.mTextureCoordinates) {
    if (set.Count() != n) continue;
    const MM3DTextureCoordinate ua = set[a];
    const MM3DTextureCoordinate ub = set[b];
    set.Append(
        MM3DTextureCoordinate{ua.mU + (ub.mU - ua.mU) * 0.5f, ua.mV + (ub.mV - ua.mV) * 0.5f});
  }
}

}  // namespace

// The corners a step can look for, by exact position. A corner that moves
// is added again under its new place; a search checks each entry against
// where its corner stands now and answers in walk order.
class VPLMagnetStep::CornerIndex {
 public:
  explicit CornerIndex(const std::vector<MM3DDisplayTreeNode*>& meshes) : mMeshes(meshes) {}

  void Add(const VPLVertexHolder& corner, const MM3DVector& position) {
    mCorners[KeyOf(position)].push_back(corner);
  }

  Holders Find(const MM3DVector& point) const {
    Holders found;
    const auto entries = mCorners.find(KeyOf(point));
    if (entries == mCorners.end()) return found;
    for (const VPLVertexHolder& corner : entries->second) {
      if (SamePosition(PositionOf(corner), point)) found.push_back(corner);
    }
    const auto order = [this](const VPLVertexHolder& h) {
      return std::make_tuple(Ordinal(h), h.mPart, h.mBlock, h.mTriangle, h.mCorner);
    };
    std::sort(found.begin(), found.end(),
              [&order](const auto& a, const auto& b) { return order(a) < order(b); });
    found.erase(std::unique(found.begin(), found.end(),
                            [](const auto& a, const auto& b) { return a.IsSameVertex(b); }),
                found.end());
    return found;
  }

 private:
  // Equal coordinates give equal keys (both zeros alike).
  struct Key {
    uint32_t mBits[4];
    bool operator==(const Key&) const = default;
  };
  struct KeyHash {
    size_t operator()(const Key& k) const {
      size_t h = 0;
      for (uint32_t bits : k.mBits) h = h * 1000003u ^ bits;
      return h;
    }
  };

  static Key KeyOf(const MM3DVector& p) {
    return {{std::bit_cast<uint32_t>(p.mX + 0.0f), std::bit_cast<uint32_t>(p.mY + 0.0f),
             std::bit_cast<uint32_t>(p.mZ + 0.0f), std::bit_cast<uint32_t>(p.mW + 0.0f)}};
  }

  size_t Ordinal(const VPLVertexHolder& h) const {
    return static_cast<size_t>(std::find(mMeshes.begin(), mMeshes.end(), h.mNode) -
                               mMeshes.begin());
  }

  const std::vector<MM3DDisplayTreeNode*>& mMeshes;
  std::unordered_map<Key, Holders, KeyHash> mCorners;
};

VPLMagnetStep::VPLMagnetStep(MM3DDisplayTreeNode* root, const MM3DVector& hit, float reach,
                             float strength)
    : mHit(hit), mReach(reach), mStrength(strength) {
  const UUGrowableArray<MM3DDisplayTreeNode*> meshes = VPLFindMeshes(root);
  mMeshes.assign(meshes.begin(), meshes.end());
  mIndex = std::make_unique<CornerIndex>(mMeshes);
}

VPLMagnetStep::~VPLMagnetStep() = default;

void VPLMagnetStep::Run() {
  VPLVertexHolder nearest;
  MM3DVector move(0.0f, 0.0f, 0.0f, 0.0f);
  if (!Survey(nearest, move)) return;
  const Holders affected = Gather(nearest);
  if (affected.empty()) return;
  Move(affected, move);
  // The vertices moved inside their blocks: a new frame to draw.
  MM3DSceneChanges::Note();
}

// The corner nearest the hit, the move its normal gives, and the index of
// every corner a search of this step can ask for: those near the hit, and
// any at a place they have or can be moved to. False without a corner or,
// for the nearest, a normal.
bool VPLMagnetStep::Survey(VPLVertexHolder& nearest, MM3DVector& move) {
  float best = 0.0f;
  bool any = false;
  Box near;
  const float wide = mReach * (1.0f + kReachMargin) + kReachMargin;
  for (MM3DDisplayTreeNode* node : mMeshes) {
    MM3DMatrix world = MM3DMatrixIdentity;
    node->GetWorldMatrix(world);
    ForEachTriangle({node}, [&](const VPLVertexHolder& h, const MM3DIndexedMeshVertexData& block) {
      MM3DVector corners[3];
      for (int32_t k = 0; k < 3; ++k) corners[k] = block.mPositions[IndexOf(block, h, k)];
      MM3DVector placed[3];
      world.TransformPoints(placed, corners, 3);
      for (int32_t k = 0; k < 3; ++k) {
        const float distance = DistanceSquared(placed[k], mHit);
        if (distance < wide) near.Widen(corners[k]);
        if (any && !(distance < best)) continue;
        any = true;
        best = distance;
        nearest = WithCorner(h, k, k);
      }
    });
  }
  if (!any) return false;
  const MM3DIndexedMeshVertexData& block = *BlockOf(nearest);
  const int32_t vertex = IndexOf(block, nearest, nearest.mCorner);
  if (vertex >= block.mNormals.Count()) return false;
  move = block.mNormals[vertex];
  move.Scale(mStrength);
  near.Grow(move);
  ForEachTriangle(mMeshes, [&](const VPLVertexHolder& h, const MM3DIndexedMeshVertexData& b) {
    for (int32_t k = 0; k < 3; ++k) {
      const MM3DVector& p = b.mPositions[IndexOf(b, h, k)];
      if (near.Holds(p)) mIndex->Add(WithCorner(h, k, k), p);
    }
  });
  return true;
}

namespace {

// One step's gathering, breadth first: entries join the queue at its front
// and leave from its back.
class Gathering {
 public:
  Gathering(const MM3DVector& hit, float reach) : mHit(hit), mReach(reach) {}

  template <typename Find>
  Holders Run(const VPLVertexHolder& first, const Find& find) {
    mQueue.push_front(first);
    mQueued.insert(CornerOf(first));
    while (!mQueue.empty()) {
      const VPLVertexHolder h = mQueue.back();
      if (Within(h)) Affect(h, find);
      mQueue.pop_back();
      mQueued.erase(CornerOf(h));
      mVisited.insert(CornerOf(h));
    }
    return std::move(mAffected);
  }

 private:
  bool Within(const VPLVertexHolder& h) const {
    MM3DMatrix world = MM3DMatrixIdentity;
    h.mNode->GetWorldMatrix(world);
    MM3DVector placed;
    world.TransformPoint(placed, PositionOf(h));
    return DistanceSquared(mHit, placed) < mReach;
  }

  template <typename Find>
  void Affect(const VPLVertexHolder& h, const Find& find) {
    if (mVisited.count(CornerOf(h)) != 0 ||
        !mAffectedVertices.insert(VertexOf(h, *BlockOf(h))).second) {
      return;
    }
    mAffected.push_back(h);
    const Holders corners = find(PositionOf(h));
    for (auto c = corners.rbegin(); c != corners.rend(); ++c) {
      if (mSeen.insert(CornerOf(*c)).second) mPending.push_front(*c);
    }
    while (!mPending.empty()) {
      for (int32_t k = 0; k < 3; ++k) {
        const VPLVertexHolder corner = WithCorner(mPending.back(), k, k);
        const CornerKey key = CornerOf(corner);
        if (mVisited.count(key) == 0 && mQueued.insert(key).second) mQueue.push_front(corner);
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
  // Corners once pending: pending now or expanded.
  CornerSet mSeen;
  // Two corners of one vertex move it once.
  CornerSet mAffectedVertices;
};

}  // namespace

VPLMagnetStep::Holders VPLMagnetStep::Gather(const VPLVertexHolder& first) const {
  return Gathering(mHit, mReach).Run(first, [this](const MM3DVector& p) {
    return mIndex->Find(p);
  });
}

void VPLMagnetStep::Move(const Holders& affected, const MM3DVector& by) {
  for (const VPLVertexHolder& v : affected) {
    MM3DIndexedMeshVertexData& block = *BlockOf(v);
    const int32_t vertex = IndexOf(block, v, v.mCorner);
    const MM3DVector from = block.mPositions[vertex];
    const MM3DVector to(from.mX + by.mX, from.mY + by.mY, from.mZ + by.mZ, from.mW);
    for (const VPLVertexHolder& corner : mIndex->Find(from)) {
      if (BlockOf(corner) == &block && IndexOf(block, corner, corner.mCorner) == vertex) {
        mIndex->Add(corner, to);
      }
    }
    block.mPositions[vertex] = to;
    SplitAround(to);
  }
}

void VPLMagnetStep::SplitAround(const MM3DVector& point) {
  for (const VPLVertexHolder& c : mIndex->Find(point)) {
    const MM3DIndexedMeshVertexData& block = *BlockOf(c);
    MM3DVector ends[3];
    for (int32_t k = 0; k < 3; ++k) ends[k] = block.mPositions[IndexOf(block, c, k)];
    int32_t from = -1;
    int32_t to = -1;
    ChooseEdge(ends, from, to);
    if (from < 0) continue;
    const MM3DVector midpoint = Midway(ends[to], ends[from]);
    for (const VPLVertexHolder& edge : FindEdgeTriangles(ends[to], ends[from])) {
      SplitTriangleEdge(edge, midpoint);
    }
  }
}

VPLMagnetStep::Holders VPLMagnetStep::FindEdgeTriangles(const MM3DVector& p,
                                                        const MM3DVector& q) const {
  // Where the other end may be, in the order it is looked for, and the
  // edge it makes as (corner, second corner).
  struct Option {
    int32_t mOther;
    int32_t mFrom;
    int32_t mTo;
  };
  static constexpr Option kOptions[3][2] = {
      {{1, 0, 1}, {2, 2, 0}}, {{0, 0, 1}, {2, 1, 2}}, {{0, 2, 0}, {1, 1, 2}}};
  Holders found;
  ForEachTriangle(mMeshes, [&](const VPLVertexHolder& h, const MM3DIndexedMeshVertexData& block) {
    const auto at = [&](int32_t k, const MM3DVector& v) {
      return SamePosition(block.mPositions[IndexOf(block, h, k)], v);
    };
    for (int32_t k = 0; k < 3; ++k) {
      if (!at(k, p)) continue;
      for (const Option& option : kOptions[k]) {
        if (!at(option.mOther, q)) continue;
        found.push_back(WithCorner(h, option.mFrom, option.mTo));
        return;
      }
      return;
    }
  });
  return found;
}

bool VPLMagnetStep::SplitTriangleEdge(const VPLVertexHolder& edge, const MM3DVector& midpoint) {
  MM3DIndexedMeshVertexData* block = BlockOf(edge);
  const int32_t a = edge.mCorner;
  const int32_t b = edge.mSecondCorner;
  if (block == nullptr || a == b) return false;
  const int32_t n = block->mPositions.Count();
  if (n >= kMaxVertexCount) return false;
  const int32_t iA = IndexOf(*block, edge, a);
  const int32_t iB = IndexOf(*block, edge, b);
  const int32_t iW = IndexOf(*block, edge, 3 - a - b);
  const MM3DVector b0 = block->mPositions[iB];
  const MM3DVector w0 = block->mPositions[iW];
  const MM3DVector cross = midpoint.Direction(b0).Cross(w0.Direction(b0));
  if (std::sqrt(cross.LengthSquared()) < kLeastSplitArea) return false;
  AppendVertex(*block, midpoint, iA, iB);
  // The old triangle runs from A to the new vertex, the new one from there
  // to B; both keep their winding.
  block->mIndices[3 * edge.mTriangle + b] = static_cast<uint16_t>(n);
  for (int32_t index : {n, iB, iW}) block->mIndices.Append(static_cast<uint16_t>(index));
  VPLVertexHolder added = edge;
  added.mTriangle = block->mIndices.Count() / 3 - 1;
  mIndex->Add(WithCorner(edge, b, b), midpoint);
  mIndex->Add(WithCorner(added, 0, 0), midpoint);
  mIndex->Add(WithCorner(added, 1, 1), b0);
  mIndex->Add(WithCorner(added, 2, 2), w0);
  return true;
}
