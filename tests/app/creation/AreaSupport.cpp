#include "tests/app/creation/AreaSupport.h"

#include "app/creation/VPLObjCreationUser.h"
#include "app/objects/VPLStringList.h"
#include "foundation/uu/UUMemory.h"
#include "mm/drawing/MMBitmap.h"
#include "mm/drawing/MMSurface.h"

namespace area_support {

namespace {

using app_fixtures::ModelId;
using app_fixtures::TaggedRow;

constexpr int32_t kRecordLimit = 16 << 20;
constexpr int16_t kSaveFailedTag = 32;

uint32_t Model(int16_t item) { return static_cast<uint32_t>(ModelId(item)); }
uint32_t Id(MMResourceId id) { return static_cast<uint32_t>(id); }
uint32_t Value(int32_t value) { return static_cast<uint32_t>(value); }

}  // namespace

app_fixtures::ExtraTables AreaTables() {
  using namespace app_fixtures;
  ExtraTables tables = creation_support::CreationTables();
  tables[VPLSceneCreationArea::kSettingsScript] = {
      {VPLSceneCreationArea::kDropPositionTag, Value(kPlacementVector + 1)},
      {VPLSceneCreationArea::kSelectedModelTag, Value(kStartSelectedModel)},
      {VPLSceneCreationArea::kToolOptionTag, Value(kStartToolOption)},
      {VPLSceneCreationArea::kDrawSizeTag, Value(kStartDrawSize)},
      {VPLSceneCreationArea::kFreehandModeTag, kStartFreehandMode},
      {VPLSceneCreationArea::kInitialPathTag, Value(kInitialPathRow)},
      {VPLSceneCreationArea::kMagnetSizeTag, Value(kStartMagnetSize)},
      {VPLCreation::kGroundTag, 1},
      {VPLCreation::kBackgroundTag, Value(kStartBackground)}};
  const std::vector<TaggedRow> backgrounds{
      {0, Model(kQuadItem)}, {0, Model(kTwoMeshItem)}, {0, Model(kQuadItem)}};
  tables[VPLSceneCreationArea::kGroundList] = backgrounds;
  tables[VPLSceneCreationArea::kBackdropList] = backgrounds;
  tables[VPLSceneCreationArea::kPathList] = {
      {0, Id(kPathA)}, {1, Value(kPathValueA)}, {0, Id(kPathB)}, {1, Value(kPathValueB)}};
  tables[VPLSceneCreationArea::kAlternatePathList] = {{0, Id(kAlternatePathA)},
                                                      {0, Id(kAlternatePathB)}};
  tables[VPLSceneCreationArea::kCharacterList] = {{0, Model(kQuadItem)}};
  tables[VPLSceneCreationArea::kModelLibrary] = {{0, Model(kQuadItem)}, {0, Model(kTwoMeshItem)}};
  tables[kSecondLibrary] = {{0, Model(kTwoMeshItem)}};
  // References are 1-based.
  tables[kMoveSoundScript] = {{0, Value(kPressList + 1)},
                              {1, Value(kAlternatePressList + 1)},
                              {2, Value(kPressList + 1)},
                              {3, Value(kAlternatePressList + 1)}};
  tables[kRotateSoundScript] = {{0, Value(kPressList + 1)}};
  return tables;
}

app_fixtures::RawTables AreaRawTables() {
  // Row 0 holds the sound id at byte 0.
  const auto soundList = [](MMResourceId sound) {
    const auto id = static_cast<uint32_t>(sound);
    app_fixtures::RawTable table;
    table.mRows.push_back({static_cast<uint8_t>(id), static_cast<uint8_t>(id >> 8),
                           static_cast<uint8_t>(id >> 16), static_cast<uint8_t>(id >> 24)});
    return table;
  };
  return {
      {VPLStringList::kScript, app_fixtures::TaggedTexts({{kSaveFailedTag, kSaveFailedMessage}})},
      {kPressList, soundList(kPressSound)},
      {kAlternatePressList, soundList(kAlternatePressSound)}};
}

MemorySketches::MemorySketches(int32_t count) {
  for (int32_t k = 0; k < count; ++k) NewSketch();
}

bool MemorySketches::ReadCurrentSketch(VPLCreation& creation) {
  if (mSketches.empty() || Current().mRecord.empty()) return false;
  std::vector<uint8_t> record = Current().mRecord;
  UUMemory stream(record.data(), static_cast<int32_t>(record.size()));
  return creation.Read(stream);
}

bool MemorySketches::WriteCurrentSketch(VPLCreation& creation, const MMBitmap& thumbnail) {
  if (mOnWrite) mOnWrite();
  if (mFailWrites || mSketches.empty()) return false;
  Sketch& sketch = Current();
  sketch.mBytesPerPixel = thumbnail.mBytesPerPixel;
  sketch.mRecord = RecordOf(creation);
  creation.SetModified(false);
  sketch.mThumbnailWidth = thumbnail.GetWidth();
  sketch.mThumbnailHeight = thumbnail.GetHeight();
  ++sketch.mWrites;
  return true;
}

std::string MemorySketches::GetCurrentSketchName() const {
  return mSketches.empty() ? std::string() : mSketches[static_cast<size_t>(mCurrent)].mName;
}

int32_t MemorySketches::NewSketch() {
  if (mFailNewSketch) return -1;
  mSketches.push_back(Sketch{.mName = "Sketch " + std::to_string(mSketches.size())});
  return static_cast<int32_t>(mSketches.size()) - 1;
}

bool MemorySketches::SelectSketch(int32_t index) {
  if (index < 0 || index >= GetSketchCount()) return false;
  mCurrent = index;
  return true;
}

std::vector<uint8_t> RecordOf(VPLCreation& creation) {
  std::vector<uint8_t> block(kRecordLimit);
  UUMemory stream(block.data(), kRecordLimit);
  const bool modified = creation.IsModified();
  int32_t size = 0;
  if (!creation.Write(stream) || !stream.Tell(&size)) size = 0;
  creation.SetModified(modified);
  block.resize(static_cast<size_t>(size));
  return block;
}

UURefCount<MM3DModel> MakeBox() {
  std::vector<MM3DVector> positions;
  for (float z : {-0.5f, 0.5f}) {
    for (const auto& [x, y] :
         {std::pair{-1.0f, -1.0f}, std::pair{1.0f, -1.0f}, std::pair{1.0f, 1.0f},
          std::pair{-1.0f, -1.0f}, std::pair{1.0f, 1.0f}, std::pair{-1.0f, 1.0f}}) {
      positions.emplace_back(x, y, z, 1.0f);
    }
  }
  return app_fixtures::MakeMeshesModel({positions});
}

UURefCount<MM3DModel> MakeLargeModel(int32_t vertices) {
  std::vector<MM3DVector> positions;
  for (int32_t i = 0; i < vertices; ++i) {
    positions.emplace_back(static_cast<float>(i % 97) * 0.01f, static_cast<float>(i % 7) * 0.1f,
                           static_cast<float>(i % 11) * 0.1f, 1.0f);
  }
  return app_fixtures::MakeMeshesModel({positions});
}

bool RecordingTool::OnMouse(const VPLPickEvent& event) {
  ++mEvents;
  if (event.Has(kVPLPress) && mEngageAtPress) mEngaged = true;
  if (event.Has(kVPLRelease)) mEngaged = false;
  return mEngaged;
}

std::map<int32_t, RecordingTool*>& RecordingTool::Last() {
  static std::map<int32_t, RecordingTool*> last;
  return last;
}

TestCreationScreen::TestCreationScreen(MMSceneServices* host, MMEnclosure* enclosure, MMView* view)
    : VPLSceneUIBase(host, enclosure, view, app_fixtures::kInterfaceCameraRow),
      mArea(std::make_unique<TestArea>(host, enclosure, view, app_fixtures::kInterfaceCameraRow)) {
  mArea->SetUIHooks(this);
}

TestCreationScreen::~TestCreationScreen() = default;

void TestCreationScreen::Activate() {
  VPLSceneUIBase::Activate();
  mArea->Activate();
}

void TestCreationScreen::Deactivate() {
  mArea->Deactivate();
  VPLSceneUIBase::Deactivate();
}

AreaWorld::AreaWorld(const app_fixtures::ExtraTables& tables, int32_t sketchCount,
                     VPLSketchTarget* sketches)
    : mFiles(tables, AreaRawTables()), mSketches(sketchCount) {
  VPLGetCreationServices().mSketches = sketches != nullptr ? sketches : &mSketches;
  VPLGetCreationServices().mRenderToSurface = [](MMSurface& surface, int32_t, bool) {
    surface.FillRect(surface.GetRect(), AFColor());
    return true;
  };
  mStage = std::make_unique<InterfaceStage>(
      [](MMSceneServices* host, MMEnclosure* enclosure, MMView* view) -> VPLSceneUIBase* {
        return new TestCreationScreen(host, enclosure, view);
      });
}

AreaWorld::~AreaWorld() {
  mStage.reset();
  VPLGetCreationServices() = VPLCreationServices();
}

VPLObjCreation* AreaWorld::AddQuad(const MM3DVector& place) {
  auto* object = new VPLObjCreationUser(&Area(), app_fixtures::MakeQuad(), &Creation());
  Creation().AddObjectAt(object, place);
  return object;
}

VPLObjCreation* AreaWorld::AddBox(const MM3DVector& place) {
  auto* object = new VPLObjCreationUser(&Area(), MakeBox(), &Creation());
  Creation().AddObjectAt(object, place);
  return object;
}

}  // namespace area_support
