#pragma once
// Support for the drawing tools' tests: the creation area with the shape
// and profile tables, a camera whose eye the test places, segments
// straight through the drawing plane, and a tool sound that notes its
// moments instead of playing them.

#include "app/creation/VPLToolSound.h"
#include "tests/app/creation/AreaSupport.h"

#include <string>
#include <vector>

namespace tool_support {

// Behind the origin on -z: the drawing plane is z = 0, its cells the
// world's half units.
const MM3DVector kEyeBehind{0.0f, 0.0f, -10.0f, 1.0f};
// Script 306: rows 0 to 8 name the quad as the profile (row 1 not smooth),
// row 9 the camera model, which has no mesh.
constexpr int16_t kProfileRows = 10;
constexpr int16_t kFacetedRow = 1;
constexpr int16_t kMeshlessRow = 9;

app_fixtures::ExtraTables ToolTables();

// The segment through (x, y) on the plane z = 0, along z.
VPLSegment Through(float x, float y);
// The segment along the direction given, through the point.
VPLSegment Along(const MM3DVector& point, const MM3DVector& direction);

class RecordingSound : public VPLToolSound {
 public:
  explicit RecordingSound(VPLSceneCreationArea* area) : VPLToolSound(area, kMMNoResource) {}

  void PlayPress(const MM3DVector&, bool alternate) override { Note("press", alternate); }
  void PlayDrag(const MM3DVector&, bool) override { mLog.push_back("drag"); }
  void StopLoop(const MM3DVector&, bool) override { mLog.push_back("stop"); }
  void PlayRelease(const MM3DVector& position, bool alternate) override {
    Note("release", alternate);
    mReleasedAt = position;
  }

  std::vector<std::string> mLog;
  MM3DVector mReleasedAt{0.0f, 0.0f, 0.0f, 0.0f};

 private:
  void Note(const char* moment, bool alternate) {
    mLog.push_back(std::string(moment) + (alternate ? " alternate" : ""));
  }
};

// The area world with its camera's eye placed.
class ToolWorld : public area_support::AreaWorld {
 public:
  explicit ToolWorld(const MM3DVector& eye = kEyeBehind);
  void PlaceEye(const MM3DVector& eye);
  // Installs a recording sound in the tool and answers it.
  RecordingSound& RecordSounds(VPLTool& tool);
};

}  // namespace tool_support
