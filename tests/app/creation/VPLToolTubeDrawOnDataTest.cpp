// The tube tool with the program's own profiles (VPL_DATA_DIR): the tool
// turns a profile's x axis along the stroke, so a real profile must give
// the tube a body across the stroke and out of the drawing plane.
#include "app/creation/VPLToolTubeDraw.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreation.h"
#include "app/objects/VPLFirstBlock.h"
#include "tests/app/creation/DrawingToolSupport.h"
#include "tests/app/creation/PaletteStage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

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

class VPLToolTubeDrawOnDataTest : public PaletteTest {};

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

}  // namespace
