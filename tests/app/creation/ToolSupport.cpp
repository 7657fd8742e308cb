#include "tests/app/creation/ToolSupport.h"

#include "app/creation/VPLObjCreationUser.h"
#include "app/creation/VPLToolFactory.h"
#include "app/creation/VPLToolMagnet.h"

namespace creation_support {

using namespace app_fixtures;

namespace {

// The magnet sizes' own tables, after the area's sound lists.
constexpr MMResourceId kReachTable = kFirstFreeEntry + 5;
constexpr MMResourceId kZeroDenominatorTable = kReachTable + 1;
constexpr MMResourceId kNoDenominatorTable = kReachTable + 2;
constexpr MMResourceId kMissingModel = MMMakeResourceId(kModelCollection, 40);
constexpr uint32_t kNoInitialPathRow = 99;

// A reference to an entry: n > 0 names entry n - 1.
int16_t Reference(MMResourceId entry) { return static_cast<int16_t>(entry + 1); }

}  // namespace

ExtraTables ToolTables() {
  ExtraTables tables = area_support::AreaTables();
  // No path at the start: the initial path row lies beyond the list.
  for (TaggedRow& row : tables[VPLSceneCreationArea::kSettingsScript]) {
    if (row.mTag == VPLSceneCreationArea::kInitialPathTag) row.mValue = kNoInitialPathRow;
  }
  tables[VPLToolMagnet::kSizeTable] = {{Reference(kReachTable), 0},
                                       {Reference(kZeroDenominatorTable), 0},
                                       {Reference(kNoDenominatorTable), 0},
                                       {0, 0}};
  tables[kReachTable] = {{0, 3}, {1, 2}};
  tables[kZeroDenominatorTable] = {{0, 3}, {1, 0}};
  tables[kNoDenominatorTable] = {{0, 3}};
  tables[kMissingModelLibrary] = {{0, static_cast<uint32_t>(kMissingModel)}};
  return tables;
}

ToolStage::ToolStage() {
  Creation().GetCamera().SetInterest(kToolInterest);
  Creation().GetCamera().SetEye(kToolEye);
}

UURefCount<MM3DModel> MakeBlock() {
  const float h = kBlockHalfSide;
  const MM3DVector c[8] = {{-h, -h, -h, 1}, {h, -h, -h, 1}, {h, h, -h, 1}, {-h, h, -h, 1},
                           {-h, -h, h, 1},  {h, -h, h, 1},  {h, h, h, 1},  {-h, h, h, 1}};
  const int faces[6][4] = {{0, 1, 2, 3}, {5, 4, 7, 6}, {4, 0, 3, 7},
                           {1, 5, 6, 2}, {3, 2, 6, 7}, {4, 5, 1, 0}};
  std::vector<MM3DVector> triangles;
  for (const auto& f : faces) {
    for (int i : {f[0], f[1], f[2], f[0], f[2], f[3]}) triangles.push_back(c[i]);
  }
  return MakeMeshesModel({triangles});
}

VPLObjCreation* ToolStage::AddBlock(const MM3DVector& at) {
  auto* object = new VPLObjCreationUser(&Area(), MakeBlock(), &Creation());
  Creation().AddObjectAt(object, at);
  return object;
}

std::unique_ptr<VPLTool> ToolStage::Make(int32_t value) {
  return VPLToolFactory::Make(value, Area());
}

RecordingSound& ToolStage::Record(VPLTool& tool) {
  auto sound = std::make_unique<RecordingSound>(&Area());
  RecordingSound& recording = *sound;
  tool.SetSound(std::move(sound));
  return recording;
}

VPLPickEvent ToolStage::EventAt(const MM3DVector& at, int32_t flags) {
  const UUPoint pixel = PixelOf(at);
  return VPLPickEvent(0, pixel.mX, pixel.mY, flags);
}

bool ToolStage::Send(VPLTool& tool, const MM3DVector& at, int32_t flags) {
  return tool.OnMouse(EventAt(at, flags));
}

void ToolStage::Drag(VPLTool& tool, const std::vector<MM3DVector>& path, int32_t flags) {
  Send(tool, path.front(), kVPLPress | kVPLHeld | flags);
  for (size_t i = 1; i + 1 < path.size(); ++i) Send(tool, path[i], kVPLHeld | flags);
  Send(tool, path.back(), kVPLRelease | flags);
}

}  // namespace creation_support
