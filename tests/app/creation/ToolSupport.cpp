#include "tests/app/creation/ToolSupport.h"

#include "app/creation/VPLToolShapeFreehand.h"
#include "app/creation/VPLToolTubeDraw.h"

#include <memory>

namespace tool_support {

app_fixtures::ExtraTables ToolTables() {
  using namespace app_fixtures;
  ExtraTables tables = area_support::AreaTables();
  const auto quad = static_cast<uint32_t>(ModelId(kQuadItem));
  tables[VPLToolShapeFreehand::kShapeScript] = {{0, quad}};
  std::vector<TaggedRow>& profiles = tables[VPLToolTubeDraw::kProfileScript];
  for (int16_t row = 0; row < kProfileRows; ++row) {
    const uint32_t model = row == kMeshlessRow ? static_cast<uint32_t>(ModelId(kCameraItem)) : quad;
    profiles.push_back({VPLToolTubeDraw::kModelTag, model});
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

void ToolWorld::PlaceEye(const MM3DVector& eye) { Area().GetCamera()->SetPosition(eye); }

RecordingSound& ToolWorld::RecordSounds(VPLTool& tool) {
  auto sound = std::make_unique<RecordingSound>(&Area());
  RecordingSound& recording = *sound;
  tool.SetSound(std::move(sound));
  return recording;
}

}  // namespace tool_support
