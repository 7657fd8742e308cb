// The program's own maker table: each editing tool's row builds the tool
// that reports that number.
#include "app/creation/VPLToolFactory.h"

#include "tests/app/creation/ToolSupport.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using namespace creation_support;

TEST(VPLToolFactoryMakersTest, EachEditingToolsRowBuildsTheToolOfItsNumber) {
  ToolStage stage;
  ASSERT_TRUE(stage.Ready());
  for (VPLToolEnums value :
       {kVPLToolMove, kVPLToolScale, kVPLToolDelete, kVPLToolMirror, kVPLToolRotate,
        kVPLToolFloodColor, kVPLToolShapePrimitive, kVPLToolMagnetPush, kVPLToolAlign,
        kVPLToolGroup, kVPLToolPath, kVPLToolColorSucker, kVPLToolMagnetPull}) {
    const VPLToolMaker maker = VPLDefaultToolMaker(value);
    ASSERT_NE(maker, nullptr) << value;
    const std::unique_ptr<VPLTool> tool(maker(VPLToolSetup{.mView = stage.Area().GetView(),
                                                           .mCreation = &stage.Creation(),
                                                           .mArea = &stage.Area(),
                                                           .mSoundScript = kMMNoResource}));
    ASSERT_NE(tool, nullptr) << value;
    EXPECT_EQ(tool->GetToolType(), value);
  }
}

}  // namespace
