#pragma once
// The creation area under test: its tables, a sketch store in memory, tools
// that record what reaches them, and a stand-in for the creation-screen
// interface that owns an area on the interface stage, hands it the input
// and counts what the area asks of it.

#include "app/creation/VPLCreationCharacter.h"
#include "app/creation/VPLCreationUIHooks.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/creation/VPLSketchTarget.h"
#include "app/creation/VPLToolFactory.h"
#include "tests/app/creation/CreationSupport.h"
#include "tests/app/support/InterfaceStage.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace area_support {

// The settings of script 503 and the lists the area reads.
constexpr int16_t kBackgroundCount = 3;
constexpr int16_t kStartBackground = 1;
constexpr int16_t kStartSelectedModel = 1;
constexpr int16_t kStartToolOption = 2;
constexpr int16_t kStartDrawSize = 3;
constexpr uint32_t kStartFreehandMode = 1;
constexpr int16_t kStartMagnetSize = 4;
// The drop position: the placement vector (3, 6, 9, 1) / 3.
const MM3DVector kDropPosition(1.0f, 2.0f, 3.0f, 1.0f / 3.0f);
// List 164: path A (value 700) and path B (value 900); the initial path
// row is 1, so the path is B's model with A's value, as the rows lie.
constexpr MMResourceId kPathA = MMMakeResourceId(9, 40);
constexpr MMResourceId kPathB = MMMakeResourceId(9, 41);
constexpr MMResourceId kAlternatePathA = MMMakeResourceId(9, 42);
constexpr MMResourceId kAlternatePathB = MMMakeResourceId(9, 43);
constexpr int32_t kPathValueA = 700;
constexpr int32_t kPathValueB = 900;
constexpr int32_t kInitialPathRow = 1;
// The second model catalogue the primitive palette may choose.
constexpr MMResourceId kSecondLibrary = 226;
// The string-list text of a failed save.
constexpr char kSaveFailedMessage[] = "The sketch could not be saved";
// The move tool's sound script has a press, a loop and their alternates,
// the rotate tool's a press only; each names a sound list whose row 0 is
// the sound.
constexpr MMResourceId kPressSound = MMMakeResourceId(5, 10);
constexpr MMResourceId kAlternatePressSound = MMMakeResourceId(5, 11);
constexpr MMResourceId kPressList = app_fixtures::kFirstFreeEntry;
constexpr MMResourceId kAlternatePressList = app_fixtures::kFirstFreeEntry + 1;
constexpr MMResourceId kMoveSoundScript = 482;
constexpr MMResourceId kRotateSoundScript = 483;

// The settings as above with the creation's own tables.
app_fixtures::ExtraTables AreaTables();
// The string list with the failed-save text.
app_fixtures::RawTables AreaRawTables();

// Sketches in memory, by name: the creation records and the thumbnails'
// sizes. A sketch holds no record until it is written.
class MemorySketches : public VPLSketchTarget {
 public:
  struct Sketch {
    std::string mName;
    std::vector<uint8_t> mRecord;
    int32_t mThumbnailWidth = 0;
    int32_t mThumbnailHeight = 0;
    int32_t mBytesPerPixel = 0;
    int32_t mWrites = 0;
  };

  explicit MemorySketches(int32_t count = 1);

  bool ReadCurrentSketch(VPLCreation& creation) override;
  bool WriteCurrentSketch(VPLCreation& creation, const MMBitmap& thumbnail) override;
  std::string GetCurrentSketchName() const override;
  int32_t GetSketchCount() const override { return static_cast<int32_t>(mSketches.size()); }
  int32_t NewSketch() override;
  bool SelectSketch(int32_t index) override;
  int32_t GetCurrentSketchbookIndex() const override { return 0; }

  Sketch& At(int32_t index) { return mSketches[static_cast<size_t>(index)]; }
  Sketch& Current() { return At(mCurrent); }
  int32_t GetCurrent() const { return mCurrent; }

  bool mFailWrites = false;
  bool mFailNewSketch = false;
  // Called at each write, before the record is taken.
  std::function<void()> mOnWrite;

 private:
  std::vector<Sketch> mSketches;
  int32_t mCurrent = 0;
};

// The record the creation writes now, its modified flag kept.
std::vector<uint8_t> RecordOf(VPLCreation& creation);
// A box of two unit squares facing the camera, half a unit before and
// behind its origin: its bounds have depth, so a segment along z meets them.
UURefCount<MM3DModel> MakeBox();
// One mesh of whole triangles, the given number of vertices, for records
// of a chosen size.
UURefCount<MM3DModel> MakeLargeModel(int32_t vertices);

// A tool that takes what the area routes to it: it counts the events,
// answers as told and engages at a press when told.
class RecordingTool : public VPLTool {
 public:
  RecordingTool(MMView* view, VPLCreation* creation, VPLSceneCreationArea* area,
                MMResourceId soundScript, VPLToolEnums type)
      : VPLTool(view, creation, area, soundScript), mType(type) {}

  bool OnMouse(const VPLPickEvent& event) override;
  VPLToolEnums GetToolType() const override { return mType; }

  int32_t mEvents = 0;
  bool mEngageAtPress = false;
  // The last recording tool made of each type.
  static std::map<int32_t, RecordingTool*>& Last();

 private:
  VPLToolEnums mType;
};

template <VPLToolEnums Type>
VPLTool* MakeRecordingTool(const VPLToolSetup& setup) {
  auto* tool =
      new RecordingTool(setup.mView, setup.mCreation, setup.mArea, setup.mSoundScript, Type);
  RecordingTool::Last()[Type] = tool;
  return tool;
}

// Puts a maker in the factory for the life of the guard.
class MakerInFactory {
 public:
  MakerInFactory(int32_t classNumber, VPLToolMaker maker)
      : mClass(classNumber), mPrevious(VPLToolFactory::SetMaker(classNumber, maker)) {}
  ~MakerInFactory() { VPLToolFactory::SetMaker(mClass, mPrevious); }
  MakerInFactory(const MakerInFactory&) = delete;
  MakerInFactory& operator=(const MakerInFactory&) = delete;

 private:
  int32_t mClass;
  VPLToolMaker mPrevious;
};

// A character that records what the area asks of it.
class TestCharacter : public creation_support::TestCharacter, public VPLCreationCharacter {
 public:
  using creation_support::TestCharacter::TestCharacter;
  void SetUpPartHighlight() override { mLog.push_back("setup"); }
  void AllPartsOff() override { mLog.push_back("off"); }
  void HidePartHighlight() override { mLog.push_back("hide"); }
  void RefreshPartHighlight() override { mLog.push_back("show"); }
  bool IsPerforming() const override { return mPerforming; }
  void StartPerformance() override { mPerforming = true; }
  void StopPerformance() override { mPerforming = false; }

  bool mPerforming = false;
  std::vector<std::string> mLog;
};

// An area whose character is the recording one.
class TestArea : public VPLSceneCreationArea {
 public:
  using VPLSceneCreationArea::VPLSceneCreationArea;

 protected:
  VPLObjCreation* MakeCharacter(const UURefCount<MM3DModel>& model) override {
    return new TestCharacter(this, model, GetCreation());
  }
};

// The creation screen's stand-in: an interface scene over the area, which
// it builds on its own host, enclosure and view and hands every mouse
// event, key and tick.
class TestCreationScreen : public VPLSceneUIBase, public VPLCreationUIHooks {
 public:
  TestCreationScreen(MMSceneServices* host, MMEnclosure* enclosure, MMView* view);
  ~TestCreationScreen() override;

  bool OnMouse(const MMMouseEvent& event) override { return mArea->OnMouse(event); }
  bool OnKey(const MMKeyEvent& event) override { return mArea->OnKey(event); }
  void Activate() override;
  void Deactivate() override;
  void Tick(int32_t clock) override { mArea->Tick(clock); }

  void AskUser(int32_t kind) override { mQuestions.push_back(kind); }
  void RefreshPombleTool() override {}
  void SetCurrentToolButton(VPLObjButtonTool* /*button*/) override {}
  VPLObjButtonTool* GetCurrentToolButton() const override { return nullptr; }
  void RefreshAfterUndo() override { ++mUndoRefreshes; }
  bool IsPombleToolCurrent() const override { return mPombleToolCurrent; }
  VPLSceneUIBase* GetCursorScene() override { return this; }
  void UpdateToolPreview() override {}

  TestArea& Area() { return *mArea; }

  std::vector<int32_t> mQuestions;
  int32_t mUndoRefreshes = 0;
  bool mPombleToolCurrent = false;

 private:
  std::unique_ptr<TestArea> mArea;
};

// The tables, the memory sketches and the stage with the creation screen,
// in the order they must be made.
class AreaWorld {
 public:
  // The area's sketches are the memory ones unless others are given.
  explicit AreaWorld(const app_fixtures::ExtraTables& tables = AreaTables(),
                     int32_t sketchCount = 1, VPLSketchTarget* sketches = nullptr);
  ~AreaWorld();
  AreaWorld(const AreaWorld&) = delete;
  AreaWorld& operator=(const AreaWorld&) = delete;

  TestCreationScreen& Screen() { return static_cast<TestCreationScreen&>(mStage->Scene()); }
  TestArea& Area() { return Screen().Area(); }
  VPLCreation& Creation() { return *Area().GetCreation(); }
  InterfaceStage& Stage() { return *mStage; }
  MemorySketches& Sketches() { return mSketches; }
  // A quad or a box added at the place, as a child's shape.
  VPLObjCreation* AddQuad(const MM3DVector& place);
  VPLObjCreation* AddBox(const MM3DVector& place);

 private:
  app_fixtures::AppFiles mFiles;
  MemorySketches mSketches;
  std::unique_ptr<InterfaceStage> mStage;
};

}  // namespace area_support
