#include "tools/databuilder/check/GeometryChecks.h"

#include "mm3d/MM3DDisplayTreeDataNodes.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "tools/databuilder/check/BuiltModels.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <utility>
#include <vector>

namespace content_check {

namespace {

constexpr float kTolerance = 1e-3f;
constexpr float kPrimitiveEdge = 0.25f;
constexpr float kProfileWidths[] = {0.5f, 0.9f, 1.4f, 2.0f, 2.8f};

struct Found {
  std::vector<const MM3DDisplayTreeNodeIndexedMesh*> meshes;
  std::vector<const MM3DDisplayTreeNodeSpline*> splines;
};

void Collect(MM3DDisplayTreeNode* node, Found& found) {
  if (node == nullptr) return;
  if (node->GetKind() == kMM3DNodeIndexedMesh) {
    found.meshes.push_back(static_cast<const MM3DDisplayTreeNodeIndexedMesh*>(node));
  }
  if (node->GetKind() == kMM3DNodeSpline) {
    found.splines.push_back(static_cast<const MM3DDisplayTreeNodeSpline*>(node));
  }
  if (auto* parent = dynamic_cast<MM3DDisplayTreeNodeWithChildren*>(node)) {
    for (int32_t i = 0; i < parent->GetChildCount(); ++i) Collect(parent->GetChild(i), found);
  }
}

bool StartsWith(const std::string& text, const char* prefix) { return text.rfind(prefix, 0) == 0; }

// The first block of the first mesh, or null.
const MM3DIndexedMeshVertexData* FirstBlock(const Found& found) {
  if (found.meshes.empty() || found.meshes[0]->GetPartCount() == 0) return nullptr;
  const MM3DIndexedMeshPart& part = found.meshes[0]->GetPart(0);
  return part.mBlocks.Count() == 0 ? nullptr : part.mBlocks[0].Get();
}

// The lowest and highest value of one coordinate (0 x, 1 y, 2 z).
std::pair<float, float> Range(const MM3DIndexedMeshVertexData& block, int32_t axis) {
  float low = 1e30f, high = -1e30f;
  for (const MM3DVector& p : block.mPositions) {
    const float value = axis == 0 ? p.mX : axis == 1 ? p.mY : p.mZ;
    low = std::min(low, value);
    high = std::max(high, value);
  }
  return {low, high};
}

std::pair<float, float> XRange(const MM3DIndexedMeshVertexData& block) { return Range(block, 0); }

void CheckEnds(const MM3DIndexedMeshVertexData& block, int32_t lowVertex, int32_t highVertex,
               const std::string& name, Findings& findings) {
  const auto [low, high] = XRange(block);
  if (block.GetVertexCount() <= std::max(lowVertex, highVertex) ||
      std::fabs(block.mPositions[lowVertex].mX - low) > kTolerance ||
      std::fabs(block.mPositions[highVertex].mX - high) > kTolerance) {
    findings.push_back(name + ": vertices " + std::to_string(lowVertex) + " and " +
                       std::to_string(highVertex) + " are not at the ends");
  }
}

void CheckTrack(const Found& found, const std::string& name, Findings& findings) {
  const MM3DIndexedMeshVertexData* block = FirstBlock(found);
  if (found.meshes.size() != 1 || found.meshes[0]->GetPartCount() != 1 || block == nullptr ||
      found.meshes[0]->GetPart(0).mBlocks.Count() != 1) {
    findings.push_back(name + ": a track must be one mesh of one block");
    return;
  }
  CheckEnds(*block, 0, 2, name, findings);
}

bool IsWhite(const MM3DPackedColor& c) { return c.mR == 255 && c.mG == 255 && c.mB == 255; }

void CheckGrey(const Found& found, const std::string& name, Findings& findings) {
  const MM3DIndexedMeshVertexData* block = FirstBlock(found);
  if (block == nullptr || block->mColors.Count() != block->GetVertexCount() ||
      block->GetVertexCount() < 3) {
    findings.push_back(name + ": the strip needs vertex colours");
    return;
  }
  CheckEnds(*block, 0, 1, name, findings);
  if (!IsWhite(block->mColors[1])) findings.push_back(name + ": vertex 1 is not white");
}

void CheckWheel(const Found& found, const std::string& name, Findings& findings) {
  const MM3DIndexedMeshVertexData* block = FirstBlock(found);
  if (block == nullptr || block->mColors.Count() != block->GetVertexCount()) {
    findings.push_back(name + ": the wheel needs vertex colours");
    return;
  }
  for (const MM3DVector& p : block->mPositions) {
    if (std::sqrt(p.mX * p.mX + p.mY * p.mY + p.mZ * p.mZ) < kTolerance) {
      findings.push_back(name + ": a vertex lies at the origin");
      return;
    }
  }
}

// How many closed loops the edges used by one triangle only make; -1 when
// a vertex of them has other than two such edges.
int32_t BoundaryLoops(const MM3DIndexedMeshVertexData& block) {
  std::map<std::pair<uint16_t, uint16_t>, int32_t> uses;
  for (int32_t i = 0; i + 2 < block.mIndices.Count(); i += 3) {
    for (int32_t k = 0; k < 3; ++k) {
      ++uses[std::minmax(block.mIndices[i + k], block.mIndices[i + (k + 1) % 3])];
    }
  }
  std::map<uint16_t, int32_t> degree;
  std::map<uint16_t, uint16_t> group;
  const auto root = [&group](uint16_t v) {
    while (group[v] != v) v = group[v];
    return v;
  };
  for (const auto& [edge, count] : uses) {
    if (count != 1) continue;
    for (uint16_t v : {edge.first, edge.second}) {
      ++degree[v];
      group.try_emplace(v, v);
    }
    group[root(edge.first)] = root(edge.second);
  }
  int32_t loops = 0;
  for (const auto& [v, edges] : degree) {
    if (edges != 2) return -1;
    loops += root(v) == v ? 1 : 0;
  }
  return loops;
}

void CheckProfile(const Found& found, const std::string& name, int32_t size, Findings& findings) {
  const MM3DIndexedMeshVertexData* block = FirstBlock(found);
  if (found.meshes.size() != 1 || block == nullptr) {
    findings.push_back(name + ": a profile must be one flat mesh");
    return;
  }
  if (BoundaryLoops(*block) != 1) findings.push_back(name + ": the outline is not one loop");
  // The tube tool turns x along the stroke: a profile with any extent in
  // x would lie down in the drawing plane and make a flat tube.
  const auto [front, back] = XRange(*block);
  if (back - front > kTolerance) {
    findings.push_back(name + ": not flat in the yz plane, so its tube comes out flat");
  }
  const auto [low, high] = Range(*block, 1);
  if (size >= 0 && size < 5 && std::fabs(high - low - kProfileWidths[size]) > 0.02f) {
    findings.push_back(name + ": " + std::to_string(high - low) + " wide, not " +
                       std::to_string(kProfileWidths[size]));
  }
}

void CheckTemplate(const Found& found, const std::string& name, Findings& findings) {
  const MM3DIndexedMeshVertexData* block = FirstBlock(found);
  const int32_t n = block != nullptr ? block->GetVertexCount() : 0;
  if (n == 0 || block->mNormals.Count() != n || block->mColors.Count() != n ||
      block->mTextureCoordinates[0].Count() != n) {
    findings.push_back(name + ": the template lacks positions, normals, colours or coordinates");
  }
}

void CheckPath(const Found& found, const std::string& name, Findings& findings) {
  if (!found.meshes.empty() || found.splines.size() != 1 ||
      found.splines[0]->GetSpline().IsEmpty()) {
    findings.push_back(name + ": a path is one spline and no mesh");
    return;
  }
  const MM3DSpline& spline = *found.splines[0]->GetSpline();
  MM3DVector first, last;
  spline.GetControlPoint(first, 0);
  spline.GetControlPoint(last, spline.GetControlPointCount() - 1);
  if (std::fabs(first.mX - last.mX) + std::fabs(first.mY - last.mY) +
          std::fabs(first.mZ - last.mZ) >
      kTolerance) {
    findings.push_back(name + ": the path does not end where it starts");
  }
}

void CheckPrimitive(const Found& found, const std::string& name, Findings& findings) {
  const MM3DIndexedMeshVertexData* block = FirstBlock(found);
  if (found.meshes.size() != 1 || found.meshes[0]->GetPartCount() != 1 || block == nullptr) {
    findings.push_back(name + ": a primitive is one mesh of one part");
    return;
  }
  const int32_t n = block->GetVertexCount();
  if (block->mNormals.Count() != n || block->mTextureCoordinates[0].Count() != n) {
    findings.push_back(name + ": a primitive needs normals and coordinates");
  }
  for (const MM3DVector& p : block->mPositions) {
    if (std::fabs(p.mX) > 1 + kTolerance || std::fabs(p.mY) > 1 + kTolerance ||
        std::fabs(p.mZ) > 1 + kTolerance) {
      findings.push_back(name + ": a vertex lies outside -1..1");
      break;
    }
  }
  for (int32_t i = 0; i + 2 < block->mIndices.Count(); ++i) {
    const MM3DVector& a = block->mPositions[block->mIndices[i]];
    const MM3DVector& b = block->mPositions[block->mIndices[i % 3 == 2 ? i - 2 : i + 1]];
    const float dx = a.mX - b.mX, dy = a.mY - b.mY, dz = a.mZ - b.mZ;
    if (std::sqrt(dx * dx + dy * dy + dz * dz) > kPrimitiveEdge + kTolerance) {
      findings.push_back(name + ": an edge is longer than 0.25");
      break;
    }
  }
}

void CheckCamera(MM3DModel& model, const std::string& symbol, const std::string& name,
                 Findings& findings) {
  if (model.GetCameras().Count() != 1) {
    findings.push_back(name + ": a camera model holds one camera");
    return;
  }
  if (symbol != "camera.area") return;
  const MM3DCamera& camera = *model.GetCameras().Front();
  const MM3DVector& eye = camera.GetPosition();
  const MM3DVector* interest = camera.GetInterest();
  const float dx = eye.mX - (interest ? interest->mX : 0),
              dz = eye.mZ - (interest ? interest->mZ : 0);
  const float across = std::sqrt(dx * dx + dz * dz);
  // The creation rig's limits.
  if (across < 2.0f || across > 120.0f || eye.mY < 9.4f || eye.mY > 100.0f) {
    findings.push_back(name + ": the home eye lies outside the camera rig's limits");
  }
}

}  // namespace

Findings CheckProgramGeometry(MM3DModel& model, const std::string& symbol) {
  Findings findings;
  Found found;
  Collect(model.GetDisplayTree(), found);
  const std::string& name = symbol;
  if (StartsWith(symbol, "track.") && symbol != "track.knob") CheckTrack(found, name, findings);
  if (symbol == "fill.grey") CheckGrey(found, name, findings);
  if (symbol == "fill.wheel") CheckWheel(found, name, findings);
  if (StartsWith(symbol, "profile.") && std::isdigit(static_cast<unsigned char>(symbol.back()))) {
    CheckProfile(found, name, symbol.back() - '0', findings);
  }
  if (symbol == "freehand.template") CheckTemplate(found, name, findings);
  if (StartsWith(symbol, "path.") && !StartsWith(symbol, "path.icon") && symbol != "path.chooser" &&
      symbol != "path.back" && symbol != "path.forward") {
    CheckPath(found, name, findings);
  }
  if (StartsWith(symbol, "primitive.") && symbol != "primitive.chooser" &&
      symbol != "primitive.back" && symbol != "primitive.forward") {
    CheckPrimitive(found, name, findings);
  }
  if (StartsWith(symbol, "camera.")) CheckCamera(model, symbol, name, findings);
  return findings;
}

Findings CheckGeometry(const std::filesystem::path& folder, const databuilder::Manifest& manifest) {
  return CheckEachBuiltModel(folder, manifest, [](MM3DModel& model, const std::string& symbol) {
    Found found;
    Collect(model.GetDisplayTree(), found);
    if (found.meshes.empty() && found.splines.empty() && !model.HasCameras()) return Findings{};
    return CheckProgramGeometry(model, symbol);
  });
}

}  // namespace content_check
