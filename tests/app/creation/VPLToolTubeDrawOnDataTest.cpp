// The tube tool with the program's own profiles (VPL_DATA_DIR): the tool
// turns a profile's x axis along the stroke, so a real profile must give
// the tube a body across the stroke and out of the drawing plane, and walks
// its rim the way its triangles wind, so a real profile must give a whole
// tube facing outward.
#include "app/creation/VPLToolTubeDraw.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreation.h"
#include "app/objects/VPLFirstBlock.h"
#include "app/objects/VPLScript.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DModelCollection.h"
#include "tests/app/creation/DrawingToolSupport.h"
#include "tests/app/creation/PaletteStage.h"
#include "tools/databuilder/check/SolidChecks.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <memory>
#include <string>
#include <utility>

namespace {

using palette_stage::PaletteTest;
using tool_support::Through;

constexpr MMResourceId kTubeSounds = 493;
constexpr int16_t kMiddleSize = 2;
constexpr float kMiddleWidth = 1.4f;
constexpr float kWidthTolerance = 0.05f;

struct ProfileCase {
  const char* name;
  int16_t option;
};

const ProfileCase kProfiles[] = {{"round", 0}, {"square", 1}, {"star", 2}};

struct Extent {
  float across;
  float deep;
};

// How far the tube's vertices spread in y (across a stroke along x) and
// in z (out of the drawing plane z = 0).
Extent ExtentOf(const MM3DIndexedMeshVertexData& block) {
  float lowY = 0.0f, highY = 0.0f, lowZ = 0.0f, highZ = 0.0f;
  for (const MM3DVector& p : block.mPositions) {
    lowY = std::min(lowY, p.mY);
    highY = std::max(highY, p.mY);
    lowZ = std::min(lowZ, p.mZ);
    highZ = std::max(highZ, p.mZ);
  }
  return {highY - lowY, highZ - lowZ};
}

class VPLToolTubeDrawOnDataTest : public PaletteTest {
 protected:
  // A tube along a bending stroke with the current option and size.
  const MM3DIndexedMeshVertexData* DrawTube() {
    VPLCreation& creation = *Area().GetCreation();
    VPLToolTubeDraw tool(Area().GetView(), &creation, &Area(), kTubeSounds);
    tool.Begin(Through(0.0f, 0.0f), false);
    for (const auto& [x, y] : kBendingStroke) tool.Drag(Through(x, y), false);
    tool.End(Through(kBendingStroke.back().first, kBendingStroke.back().second), false);
    if (creation.GetUserObjects().empty()) return nullptr;
    return VPLFirstBlock(*creation.GetUserObjects().back()).Block();
  }

  static constexpr std::array<std::pair<float, float>, 5> kBendingStroke = {
      {{1.5f, 0.0f}, {3.0f, 0.5f}, {4.2f, 1.6f}, {4.8f, 3.0f}, {4.6f, 4.5f}}};
};

// The profile's own triangles, which the tube keeps first in its block.
int32_t ProfileTriangles(int16_t row) {
  const VPLScript script(VPLToolTubeDraw::kProfileScript, VPLToolTubeDraw::kProfileScriptKind);
  const auto id =
      static_cast<MMResourceId>(script.GetTagUInt32(VPLToolTubeDraw::kModelTag, 0, row));
  const UURefCount<MM3DModel> model = MM3DGetModel(id, nullptr);
  MM3DDisplayTreeNode* root = model ? model->GetDisplayTree() : nullptr;
  const auto* mesh = static_cast<const MM3DDisplayTreeNodeIndexedMesh*>(
      root != nullptr ? root->FindNodeOfKind(kMM3DNodeIndexedMesh, kMM3DVisitDown) : nullptr);
  if (mesh == nullptr || mesh->GetPartCount() == 0 || mesh->GetPart(0).mBlocks.Count() == 0) {
    return -1;
  }
  return mesh->GetPart(0).mBlocks[0]->mIndices.Count() / 3;
}

TEST_F(VPLToolTubeDrawOnDataTest, ATubeOfEachProfileHasItsWidthAndDepth) {
  VPLCreation& creation = *Area().GetCreation();
  for (const ProfileCase& profile : kProfiles) {
    SCOPED_TRACE(profile.name);
    Area().SetToolOption(profile.option);
    Area().SetDrawSize(kMiddleSize);
    VPLToolTubeDraw tool(Area().GetView(), &creation, &Area(), kTubeSounds);
    tool.Begin(Through(0.0f, 0.0f), false);
    for (const float x : {1.5f, 3.0f, 4.5f}) tool.Drag(Through(x, 0.0f), false);
    tool.End(Through(4.5f, 0.0f), false);

    ASSERT_FALSE(creation.GetUserObjects().empty());
    const MM3DIndexedMeshVertexData* block =
        VPLFirstBlock(*creation.GetUserObjects().back()).Block();
    ASSERT_NE(block, nullptr);
    const Extent extent = ExtentOf(*block);
    EXPECT_NEAR(extent.across, kMiddleWidth, kWidthTolerance);
    // A profile lying in the drawing plane gives a tube of no depth.
    EXPECT_GT(extent.deep, kMiddleWidth / 2);
  }
}

TEST_F(VPLToolTubeDrawOnDataTest, EveryProfileAtEverySizeGivesAWholeTubeFacingOutward) {
  for (const ProfileCase& profile : kProfiles) {
    for (int16_t size = 0; size < VPLToolTubeDraw::kSizesPerOption; ++size) {
      SCOPED_TRACE(std::string(profile.name) + " size " + std::to_string(size));
      Area().SetToolOption(profile.option);
      Area().SetDrawSize(size);
      const int32_t own = ProfileTriangles(
          static_cast<int16_t>(profile.option * VPLToolTubeDraw::kSizesPerOption + size));
      ASSERT_GT(own, 0);
      const MM3DIndexedMeshVertexData* block = DrawTube();
      ASSERT_NE(block, nullptr);
      // The cones and sides, without the profile's face inside the start.
      const content_check::SolidFaults faults = content_check::InspectSolid({block}, own);
      EXPECT_EQ(faults.mOpenEdges, 0);
      EXPECT_EQ(faults.mInwardPieces, 0);
      EXPECT_EQ(faults.mAgainstNormals, 0);
    }
  }
}

}  // namespace
