#include "tests/app/creation/ToolSupport.h"

#include "app/creation/VPLToolShapeFreehand.h"
#include "app/creation/VPLToolTubeDraw.h"
#include "mm3d/MM3DDisplayTreeDataNodes.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DMaterialLambert.h"
#include "mm3d/MM3DModelLoader.h"
#include "tests/mm3d/MM3DModelSupport.h"
#include "tests/support/ResourceFileFixtures.h"

#include <cmath>
#include <memory>

namespace tool_support {

namespace {

const MM3DVector kFacing{-1.0f, 0.0f, 0.0f, 0.0f};

// One mesh of the positions and the triangles given by index.
UURefCount<MM3DModel> Profile(const std::vector<MM3DVector>& positions,
                              const std::vector<uint16_t>& indices) {
  UURefCount<MM3DIndexedMeshVertexData> block(new MM3DIndexedMeshVertexData);
  for (const MM3DVector& p : positions) {
    block->mPositions.Append(p);
    block->mNormals.Append(kFacing);
  }
  for (const uint16_t i : indices) block->mIndices.Append(i);
  auto* mesh = new MM3DDisplayTreeNodeIndexedMesh;
  MM3DIndexedMeshPart part;
  part.mMaterial = UURefCount<MM3DMaterial>(new MM3DMaterialLambert);
  part.mBlocks.Append(std::move(block));
  mesh->AddPart(part);
  auto* root = new MM3DDisplayTreeNodeRoot;
  root->AddChild(UUOwned<MM3DDisplayTreeNode>(mesh));
  return UURefCount<MM3DModel>(
      new MM3DModel(UUOwned<MM3DDisplayTreeNode>(root), UUOwned<MM3DAnimationClip>()));
}

UURefCount<MM3DModel> Disc() {
  std::vector<MM3DVector> positions{{0.0f, 0.0f, 0.0f, 1.0f}};
  std::vector<uint16_t> indices;
  for (int32_t k = 0; k < kDiscPoints; ++k) {
    const float a = 6.2831853f * static_cast<float>(k) / kDiscPoints;
    positions.push_back({0.0f, 0.5f * std::cos(a), 0.5f * std::sin(a), 1.0f});
    indices.insert(indices.end(), {0, static_cast<uint16_t>(1 + k),
                                   static_cast<uint16_t>(1 + (k + 1) % kDiscPoints)});
  }
  return Profile(positions, indices);
}

}  // namespace

ProfileFile::ProfileFile() : mName(resource_fixtures::UniqueName("toolprofiles")) {
  const std::vector<MM3DVector> square{{0.0f, -0.5f, -0.5f, 1.0f},
                                       {0.0f, 0.5f, -0.5f, 1.0f},
                                       {0.0f, 0.5f, 0.5f, 1.0f},
                                       {0.0f, -0.5f, 0.5f, 1.0f}};
  std::vector<MM3DVector> islands = square;
  islands.insert(islands.end(), square.begin(), square.end());
  if (!model_fixtures::WriteModelFile(
          resource_fixtures::TempDirectory(), mName.c_str(),
          static_cast<int16_t>(kProfileCollection),
          {Profile(square, {0, 1, 2, 0, 2, 3}), Disc(), Profile(islands, {0, 1, 2, 4, 6, 7})})) {
    return;
  }
  mModels.reset(
      MM3DOpenModelResourceFile(resource_fixtures::TempDirectory(), mName.c_str(), false));
}

ProfileFile::~ProfileFile() {
  mModels.reset();
  resource_fixtures::Remove(mName);
}

app_fixtures::ExtraTables ToolTables() {
  using namespace app_fixtures;
  ExtraTables tables = area_support::AreaTables();
  const auto quad = static_cast<uint32_t>(ModelId(kQuadItem));
  tables[VPLToolShapeFreehand::kShapeScript] = {{0, quad}};
  std::vector<TaggedRow>& profiles = tables[VPLToolTubeDraw::kProfileScript];
  for (int16_t row = 0; row < kProfileRows; ++row) {
    MMResourceId model = kSquareProfile;
    if (row == kDiscRow) model = kDiscProfile;
    if (row == kMeshlessRow) model = ModelId(kCameraItem);
    if (row == kIslandsRow) model = kIslandsProfile;
    profiles.push_back({VPLToolTubeDraw::kModelTag, static_cast<uint32_t>(model)});
    profiles.push_back({VPLToolTubeDraw::kSmoothTag, row == kFacetedRow ? 0u : 1u});
  }
  return tables;
}

VPLSegment Through(float x, float y) { return {{x, y, -10.0f, 1.0f}, {x, y, 10.0f, 1.0f}}; }

VPLSegment Along(const MM3DVector& point, const MM3DVector& direction) {
  MM3DVector start = point;
  MM3DVector end = point;
  MM3DVector step = direction;
  step.Scale(10.0f);
  start.Subtract(step);
  end.Add(step);
  return {start, end};
}

ToolWorld::ToolWorld(const MM3DVector& eye) : AreaWorld(ToolTables()) { PlaceEye(eye); }

ToolWorld::~ToolWorld() = default;

void ToolWorld::PlaceEye(const MM3DVector& eye) { Area().GetCamera()->SetPosition(eye); }

RecordingSound& ToolWorld::RecordSounds(VPLTool& tool) {
  auto sound = std::make_unique<RecordingSound>(&Area());
  RecordingSound& recording = *sound;
  tool.SetSound(std::move(sound));
  return recording;
}

}  // namespace tool_support
