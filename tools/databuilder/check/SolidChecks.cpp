#include "tools/databuilder/check/SolidChecks.h"

#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "tools/databuilder/check/BuiltModels.h"
#include "tools/databuilder/check/ModelChecks.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <functional>
#include <map>
#include <utility>

namespace content_check {

namespace {

// Corners closer than this are one point: the builders copy positions
// exactly, so only rounding of the same sum can differ.
constexpr float kPointsPerUnit = 1e4f;

using PointKey = std::array<int64_t, 3>;

PointKey KeyOf(const MM3DVector& p) {
  return {std::llround(p.mX * kPointsPerUnit), std::llround(p.mY * kPointsPerUnit),
          std::llround(p.mZ * kPointsPerUnit)};
}

// The front's direction as the engine's left-handed views see it:
// (c - a) x (b - a).
MM3DVector FrontOf(const MM3DVector& a, const MM3DVector& b, const MM3DVector& c) {
  const float ux = c.mX - a.mX, uy = c.mY - a.mY, uz = c.mZ - a.mZ;
  const float vx = b.mX - a.mX, vy = b.mY - a.mY, vz = b.mZ - a.mZ;
  return {uy * vz - uz * vy, uz * vx - ux * vz, ux * vy - uy * vx, 0.0f};
}

// Points joined by edges, gathered into pieces.
class Pieces {
 public:
  int32_t Of(const PointKey& key) {
    const auto [it, added] = mIds.try_emplace(key, static_cast<int32_t>(mParents.size()));
    if (added) mParents.push_back(it->second);
    return it->second;
  }
  int32_t Root(int32_t id) {
    while (Parent(id) != id) id = Parent(id) = Parent(Parent(id));
    return id;
  }
  void Join(int32_t a, int32_t b) { Parent(Root(a)) = Root(b); }

 private:
  int32_t& Parent(int32_t id) { return mParents[static_cast<size_t>(id)]; }

  std::map<PointKey, int32_t> mIds;
  std::vector<int32_t> mParents;
};

struct Tally {
  // Per edge, by its lower point first: the uses from lower to higher
  // less those the other way.
  std::map<std::pair<PointKey, PointKey>, int32_t> mBalance;
  Pieces mPieces;
  std::vector<std::pair<int32_t, double>> mVolumes;
  SolidFaults mFaults;

  void AddTriangle(const MM3DIndexedMeshVertexData& block, int32_t first) {
    const uint16_t* index = block.mIndices.Begin() + first;
    const MM3DVector* p[3] = {&block.mPositions[index[0]], &block.mPositions[index[1]],
                              &block.mPositions[index[2]]};
    int32_t ids[3];
    for (int32_t k = 0; k < 3; ++k) {
      const PointKey from = KeyOf(*p[k]), to = KeyOf(*p[(k + 1) % 3]);
      if (from < to) ++mBalance[{from, to}];
      if (to < from) --mBalance[{to, from}];
      ids[k] = mPieces.Of(from);
    }
    mPieces.Join(ids[0], ids[1]);
    mPieces.Join(ids[0], ids[2]);
    // Six times the signed room between the origin and the triangle.
    const MM3DVector front = FrontOf(*p[0], *p[1], *p[2]);
    mVolumes.emplace_back(ids[0], double{p[0]->mX} * front.mX + double{p[0]->mY} * front.mY +
                                      double{p[0]->mZ} * front.mZ);
    if (block.mNormals.Count() == block.GetVertexCount() && !WoundWithNormals(block, first)) {
      ++mFaults.mAgainstNormals;
    }
  }

  SolidFaults Finish() {
    for (const auto& [edge, balance] : mBalance) mFaults.mOpenEdges += balance != 0;
    std::map<int32_t, double> rooms;
    for (const auto& [id, volume] : mVolumes) rooms[mPieces.Root(id)] += volume;
    for (const auto& [piece, room] : rooms) mFaults.mInwardPieces += room < 0.0;
    return mFaults;
  }
};

bool HasWholeTriangles(const MM3DIndexedMeshVertexData& block) {
  const int32_t count = block.GetVertexCount();
  if (block.mIndices.Count() % 3 != 0) return false;
  for (const uint16_t index : block.mIndices) {
    if (index >= count) return false;
  }
  return true;
}

void ForEachBlock(MM3DDisplayTreeNode* node,
                  const std::function<void(const MM3DIndexedMeshVertexData&)>& visit) {
  if (node == nullptr) return;
  if (node->GetKind() == kMM3DNodeIndexedMesh) {
    const auto& mesh = static_cast<const MM3DDisplayTreeNodeIndexedMesh&>(*node);
    for (int32_t p = 0; p < mesh.GetPartCount(); ++p) {
      for (const auto& block : mesh.GetPart(p).mBlocks) visit(*block);
    }
  }
  if (auto* parent = dynamic_cast<MM3DDisplayTreeNodeWithChildren*>(node)) {
    for (int32_t i = 0; i < parent->GetChildCount(); ++i) ForEachBlock(parent->GetChild(i), visit);
  }
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

bool IsPrimitive(const std::string& symbol) {
  return StartsWith(symbol, "primitive.") && symbol != "primitive.chooser" &&
         symbol != "primitive.back" && symbol != "primitive.forward";
}

bool IsProfile(const std::string& symbol) {
  return StartsWith(symbol, "profile.") && std::isdigit(static_cast<unsigned char>(symbol.back()));
}

void CheckWhole(const std::vector<const MM3DIndexedMeshVertexData*>& blocks,
                const std::string& symbol, Findings& findings) {
  const SolidFaults faults = InspectSolid(blocks);
  if (faults.mOpenEdges > 0) {
    findings.push_back(symbol + ": " + std::to_string(faults.mOpenEdges) + " open edges");
  }
  if (faults.mInwardPieces > 0) {
    findings.push_back(symbol + ": " + std::to_string(faults.mInwardPieces) +
                       " pieces face inward");
  }
  if (faults.mAgainstNormals > 0) {
    findings.push_back(symbol + ": " + std::to_string(faults.mAgainstNormals) +
                       " triangles face against their normals");
  }
}

// The tool walks a profile's rim the way its triangles wind and turns its
// x axis along the stroke: a profile whose fronts face -x gives a tube
// whose sides and cones face outward.
void CheckProfileFacing(const std::vector<const MM3DIndexedMeshVertexData*>& blocks,
                        const std::string& symbol, Findings& findings) {
  for (const MM3DIndexedMeshVertexData* block : blocks) {
    for (int32_t first = 0; first + 2 < block->mIndices.Count(); first += 3) {
      const uint16_t* index = block->mIndices.Begin() + first;
      const MM3DVector front = FrontOf(block->mPositions[index[0]], block->mPositions[index[1]],
                                       block->mPositions[index[2]]);
      if (front.mX >= 0.0f) {
        findings.push_back(symbol + ": faces +x, so its tubes are inside out");
        return;
      }
    }
  }
}

}  // namespace

SolidFaults InspectSolid(const std::vector<const MM3DIndexedMeshVertexData*>& blocks,
                         int32_t firstTriangle) {
  Tally tally;
  for (const MM3DIndexedMeshVertexData* block : blocks) {
    if (!HasWholeTriangles(*block)) {
      ++tally.mFaults.mOpenEdges;
      continue;
    }
    for (int32_t first = 3 * std::max(firstTriangle, 0); first + 2 < block->mIndices.Count();
         first += 3) {
      tally.AddTriangle(*block, first);
    }
  }
  return tally.Finish();
}

Findings CheckSolidRules(MM3DModel& model, const std::string& symbol) {
  Findings findings;
  if (!IsPrimitive(symbol) && !IsProfile(symbol)) return findings;
  std::vector<const MM3DIndexedMeshVertexData*> blocks;
  ForEachBlock(model.GetDisplayTree(),
               [&blocks](const MM3DIndexedMeshVertexData& block) { blocks.push_back(&block); });
  if (IsPrimitive(symbol)) CheckWhole(blocks, symbol, findings);
  if (IsProfile(symbol)) CheckProfileFacing(blocks, symbol, findings);
  return findings;
}

Findings CheckSolids(const std::filesystem::path& folder, const databuilder::Manifest& manifest) {
  return CheckEachBuiltModel(folder, manifest, CheckSolidRules);
}

}  // namespace content_check
