#pragma once
// The editing tools' tests: the creation area's test world (the area
// under a stand-in creation screen on the interface stage), its creation's
// camera turned off the world's vertical axis so that the drag planes face
// it, blocks placed by world point, and mouse events handed to a tool, or
// to the stage, at the pixel of a world point. The data: the area's
// tables with no path chosen at the start, the magnet sizes and a library
// list naming a model that is not there.

#include "app/creation/VPLSceneCreationArea.h"
#include "app/creation/VPLTool.h"
#include "tests/app/creation/AreaSupport.h"
#include "tests/app/creation/CreationSupport.h"
#include "tests/app/support/InterfaceStage.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace creation_support {

// The camera of the tests: on the z axis, 30 away, level with the origin.
const MM3DVector kToolEye(0.0f, 0.0f, -30.0f, 1.0f);
const MM3DVector kToolInterest(0.0f, 0.0f, 0.0f, 1.0f);

// The magnet sizes: 0 reaches 3 / 2; 1 names a denominator of 0; 2 lacks
// the denominator; 3 names no table.
constexpr float kSizeZeroReach = 1.5f;
constexpr int16_t kMagnetSizeCount = 4;
// The area's library list holds the quad and the two meshes; this one a
// model that is not there.
constexpr MMResourceId kMissingModelLibrary = 227;

app_fixtures::ExtraTables ToolTables();
// A cube of this half side around its origin, one mesh.
constexpr float kBlockHalfSide = 1.0f;
UURefCount<MM3DModel> MakeBlock();

// A tool sound that plays nothing and notes each moment: press, drag (the
// loop's move), release and action, with the last position and Shift.
class RecordingSound : public VPLToolSound {
 public:
  enum Moment { kPress, kDrag, kRelease, kAction, kMomentCount };
  explicit RecordingSound(VPLSceneCreationArea* area) : VPLToolSound(area, kMMNoResource) {}

  void PlayPress(const MM3DVector& at, bool alternate) override { Note(kPress, at, alternate); }
  void MoveLoop(const MM3DVector& at, bool alternate) override { Note(kDrag, at, alternate); }
  void PlayRelease(const MM3DVector& at, bool alternate) override { Note(kRelease, at, alternate); }
  void PlayAction(const MM3DVector& at, bool alternate) override { Note(kAction, at, alternate); }

  int32_t mCounts[kMomentCount] = {0, 0, 0, 0};
  MM3DVector mLastAt{0.0f, 0.0f, 0.0f, 1.0f};
  bool mLastAlternate = false;

 private:
  void Note(Moment moment, const MM3DVector& at, bool alternate) {
    ++mCounts[moment];
    mLastAt = at;
    mLastAlternate = alternate;
  }
};

class ToolStage {
 public:
  ToolStage();
  ToolStage(const ToolStage&) = delete;
  ToolStage& operator=(const ToolStage&) = delete;

  bool Ready() { return Area().GetCreation() != nullptr; }
  area_support::TestArea& Area() { return mWorld.Area(); }
  VPLCreation& Creation() { return mWorld.Creation(); }
  InterfaceStage& Stage() { return mWorld.Stage(); }
  area_support::AreaWorld& World() { return mWorld; }
  UUPoint PixelOf(const MM3DVector& at) { return Stage().ScreenPointOf(at); }

  // A user object of a block, filed in the creation at the point.
  VPLObjCreation* AddBlock(const MM3DVector& at);
  // The tool of the number, made by the factory for this area.
  std::unique_ptr<VPLTool> Make(int32_t value);
  // Gives the tool a recording sound; the tool owns it.
  RecordingSound& Record(VPLTool& tool);
  // An event with the flags at the pixel of the world point.
  bool Send(VPLTool& tool, const MM3DVector& at, int32_t flags);
  // Press at the first point, drag over the points between, release at
  // the last.
  void Drag(VPLTool& tool, const std::vector<MM3DVector>& path, int32_t flags = 0);
  VPLPickEvent EventAt(const MM3DVector& at, int32_t flags);

 private:
  area_support::AreaWorld mWorld{ToolTables()};
};

}  // namespace creation_support
