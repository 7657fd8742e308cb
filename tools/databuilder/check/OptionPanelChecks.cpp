// The option panels as the program places them: the pose knob circles on
// the middle of its arc and stays, whole, inside the Pomble panel; the
// models the fill options paint with the chosen texture carry texture
// coordinates where the paint lands (the first part of their first mesh).

#include "foundation/uu/UUDirectory.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DModelCollection.h"
#include "mm3d/MM3DModelLoader.h"
#include "mm3d/MM3DModelResourceFile.h"
#include "platform/win32/PathMapping.h"
#include "tools/databuilder/check/ContentCheck.h"
#include "tools/databuilder/check/PombleChecks.h"
#include "tools/databuilder/check/ScriptView.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>

namespace content_check {

namespace {

using databuilder::ItemKind;

// The pose slider's centre and rim tables, its track and knob definitions.
constexpr int32_t kPoseCentre = 199;
constexpr int32_t kPoseRim = 201;
constexpr int32_t kPoseTrack = 200;
constexpr int32_t kPoseKnob = 202;
// The knob's depth, which the program gives the rim point.
constexpr float kKnobDepth = -44.95f;
// The sub-palettes' panel in the world (x runs against the screen's).
constexpr float kPanelLeft = 20.0f;
constexpr float kPanelTop = 4.8f;
constexpr float kPanelBottom = -9.8f;
constexpr float kTolerance = 0.05f;
// The models the fill options paint with the materializer.
constexpr const char* kPaintedModels[] = {"texture.swatch", "fill.preview"};

struct Point {
  float mX = 0.0f;
  float mY = 0.0f;
  float mZ = 0.0f;
};

// Row 0 of a vector table: x, y and z, each divided by the divisor.
Point VectorRow(const MMScript& table) {
  const int32_t divisor = table.GetRowCount() > 0 ? table.GetInt32(0, 16) : 0;
  if (divisor == 0) return {};
  const auto part = [&](int16_t offset) {
    return static_cast<float>(table.GetInt32(0, offset)) / static_cast<float>(divisor);
  };
  return {part(0), part(4), part(8)};
}

void ForEachMesh(MM3DModel& model, const std::function<void(MM3DDisplayTreeNodeIndexedMesh&)>& f) {
  Walk(model.GetDisplayTree(), [&](MM3DDisplayTreeNode& node) {
    if (node.GetKind() == kMM3DNodeIndexedMesh)
      f(static_cast<MM3DDisplayTreeNodeIndexedMesh&>(node));
  });
}

// The least and greatest distance of the model's vertices from its z axis.
struct Reach {
  float mLeast = INFINITY;
  float mGreatest = 0.0f;
};

Reach MeasureReach(MM3DModel& model) {
  Reach reach;
  ForEachMesh(model, [&](MM3DDisplayTreeNodeIndexedMesh& mesh) {
    for (int32_t p = 0; p < mesh.GetPartCount(); ++p) {
      for (const auto& block : mesh.GetPart(p).mBlocks) {
        for (const MM3DVector& v : block->mPositions) {
          const float distance = std::hypot(v.mX, v.mY);
          reach.mLeast = std::min(reach.mLeast, distance);
          reach.mGreatest = std::max(reach.mGreatest, distance);
        }
      }
    }
  });
  return reach;
}

void CheckPoseKnob(const ScriptView& scripts, MM3DModelLoader& models, Findings& findings) {
  const Point centre = VectorRow(scripts.Get(kPoseCentre));
  Point rim = VectorRow(scripts.Get(kPoseRim));
  rim.mZ = kKnobDepth;
  const float radius = std::sqrt((rim.mX - centre.mX) * (rim.mX - centre.mX) +
                                 (rim.mY - centre.mY) * (rim.mY - centre.mY) +
                                 (rim.mZ - centre.mZ) * (rim.mZ - centre.mZ));
  const UURefCount<MM3DModel> track =
      models.GetModel(static_cast<int16_t>(TagValue(scripts.Get(kPoseTrack), 0)), nullptr);
  const UURefCount<MM3DModel> knob =
      models.GetModel(static_cast<int16_t>(TagValue(scripts.Get(kPoseKnob), 0)), nullptr);
  if (track.IsEmpty() || knob.IsEmpty()) {
    findings.push_back(ScriptName(kPoseTrack) + " and " + ScriptName(kPoseKnob) +
                       " must name models that read");
    return;
  }
  const Reach band = MeasureReach(*track);
  const float middle = (band.mLeast + band.mGreatest) / 2;
  if (std::abs(middle - radius) > kTolerance) {
    findings.push_back("the pose knob circles at radius " + std::to_string(radius) + " (" +
                       ScriptName(kPoseCentre) + ", " + ScriptName(kPoseRim) +
                       ") off the middle of its arc, " + std::to_string(middle));
  }
  const float outer = radius + MeasureReach(*knob).mGreatest;
  if (centre.mX + outer > kPanelLeft + kTolerance || centre.mY + outer > kPanelTop + kTolerance ||
      centre.mY - outer < kPanelBottom - kTolerance) {
    findings.push_back("the pose knob leaves the Pomble panel (" + ScriptName(kPoseCentre) + ", " +
                       ScriptName(kPoseRim) + ")");
  }
}

// The first part of the first mesh, where the materializer's paint lands,
// has a texture coordinate for every vertex.
bool PaintLandsWithCoordinates(MM3DModel& model) {
  bool first = true;
  bool mapped = false;
  ForEachMesh(model, [&](MM3DDisplayTreeNodeIndexedMesh& mesh) {
    if (!first || mesh.GetPartCount() == 0) return;
    first = false;
    mapped = mesh.GetPart(0).mBlocks.Count() > 0;
    for (const auto& block : mesh.GetPart(0).mBlocks) {
      mapped = mapped && block->GetVertexCount() > 0 &&
               block->mTextureCoordinates[0].Count() == block->GetVertexCount();
    }
  });
  return mapped;
}

void CheckPaintedModels(const databuilder::Manifest& manifest, MM3DModelLoader& models,
                        Findings& findings) {
  for (const char* name : kPaintedModels) {
    const int32_t id = manifest.Resolve(ItemKind::kModel, name);
    const UURefCount<MM3DModel> model = models.GetModel(static_cast<int16_t>(id), nullptr);
    if (model.IsEmpty() || !PaintLandsWithCoordinates(*model)) {
      findings.push_back("m " + std::to_string(id) + " (" + name +
                         ") must carry texture coordinates on its first mesh's first part, "
                         "where the chosen texture lands");
    }
  }
}

}  // namespace

Findings CheckOptionPanels(const std::filesystem::path& folder,
                           const databuilder::Manifest& manifest) {
  const ScriptView scripts(folder);
  const UUDirectory directory(
      vpl::platform::ToWindowsPath(std::filesystem::absolute(folder)).c_str());
  std::unique_ptr<MM3DModelLoader> models(MM3DOpenModelResourceFile(directory, "vpl3d.MMM", false));
  if (!scripts.IsOpen() || models == nullptr) return {"Hd.mms and vpl3d.MMM must open"};
  Findings findings;
  CheckPoseKnob(scripts, *models, findings);
  CheckPaintedModels(manifest, *models, findings);
  models.reset();
  MM3DDestroyModelCollections();
  return findings;
}

}  // namespace content_check
