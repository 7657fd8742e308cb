#pragma once
// Support for the drawing tools' tests: the creation area with the shape
// and profile tables, a camera whose eye the test places, segments
// straight through the drawing plane, and a tool sound that notes its
// moments instead of playing them.

#include "app/creation/VPLToolSound.h"
#include "tests/app/creation/AreaSupport.h"

#include <memory>
#include <string>
#include <vector>

class MM3DModelLoader;

namespace tool_support {

// Behind the origin on -z: the drawing plane is z = 0, its cells the
// world's half units.
const MM3DVector kEyeBehind{0.0f, 0.0f, -10.0f, 1.0f};
// The tube profiles, flat in x = 0 (the tool turns x along the stroke), made as fans that share
// their corners: a square of four outline points, a twelve-sided disc, and two triangles that share
// nothing (no single outline).
constexpr uint16_t kProfileCollection = 13;
constexpr MMResourceId kSquareProfile = MMMakeResourceId(kProfileCollection, 0);
constexpr MMResourceId kDiscProfile = MMMakeResourceId(kProfileCollection, 1);
constexpr MMResourceId kIslandsProfile = MMMakeResourceId(kProfileCollection, 2);
constexpr int32_t kDiscPoints = 12;
// Script 306: row 0 the disc, rows 1 to 8 the square (row 1 not smooth),
// row 9 the camera model, which has no mesh, row 10 the islands.
constexpr int16_t kProfileRows = 11;
constexpr int16_t kDiscRow = 0;
constexpr int16_t kFacetedRow = 1;
constexpr int16_t kMeshlessRow = 9;
constexpr int16_t kIslandsRow = 10;

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

// The profile models' file, open while it lives.
class ProfileFile {
 public:
  ProfileFile();
  ~ProfileFile();
  ProfileFile(const ProfileFile&) = delete;
  ProfileFile& operator=(const ProfileFile&) = delete;

 private:
  std::string mName;
  std::unique_ptr<MM3DModelLoader> mModels;
};

// The area world with its camera's eye placed.
class ToolWorld : public area_support::AreaWorld {
 public:
  explicit ToolWorld(const MM3DVector& eye = kEyeBehind);
  ~ToolWorld();
  void PlaceEye(const MM3DVector& eye);
  // Installs a recording sound in the tool and answers it.
  RecordingSound& RecordSounds(VPLTool& tool);

 private:
  ProfileFile mProfiles;
};

}  // namespace tool_support
