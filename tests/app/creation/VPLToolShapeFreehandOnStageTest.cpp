// A child draws with the freehand tool on the creation screen's stage.
#include "app/creation/VPLToolShapeFreehand.h"

#include "app/objects/VPLFirstBlock.h"
#include "mm/stage/MMView.h"
#include "tests/app/creation/ToolSupport.h"
#include "tests/mm3d/drivers/DriverFixture.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

using namespace tool_support;

const MM3DVector kEye{0.0f, 1.0f, -10.0f, 1.0f};
const MM3DVector kInterest{0.0f, 1.0f, 0.0f, 1.0f};
const Rgb kRed{255, 0, 0};

class VPLToolShapeFreehandOnStageTest : public ::testing::Test {
 protected:
  VPLToolShapeFreehandOnStageTest() : mWorld(kEye) {
    MM3DCamera& camera = *mWorld.Area().GetCamera();
    camera.SetInterest(kInterest);
    MM3DMatrix view;
    camera.GetViewMatrix(view);
    mWorld.Area().GetView()->UpdateViewMatrix(view);
    mWorld.Area().SetTool(kVPLToolShapeFreehand);
  }

  UUPoint At(float x, float y) { return mWorld.Stage().ScreenPointOf({x, y, 0.0f, 1.0f}); }
  Rgb PixelOn(float x, float y) {
    mWorld.Stage().RunFrame();
    return mWorld.Stage().PixelAt(At(x, y));
  }
  size_t Objects() { return mWorld.Creation().GetUserObjects().size(); }

  ToolWorld mWorld;
};

TEST_F(VPLToolShapeFreehandOnStageTest, TheRibbonShowsWhileDrawingEitherWay) {
  InterfaceStage& stage = mWorld.Stage();
  stage.Press(At(0, 0));
  stage.Drag(At(2, 0));
  EXPECT_TRUE(Near(PixelOn(1, 0), kRed)) << PixelOn(1, 0);
  stage.Drag(At(2, 2));
  stage.Drag(At(0, 2));
  EXPECT_TRUE(Near(PixelOn(1, 2), kRed)) << PixelOn(1, 2);
  stage.Release(At(0, 2));
  EXPECT_FALSE(Near(PixelOn(1, 2), kRed)) << PixelOn(1, 2);
}

TEST_F(VPLToolShapeFreehandOnStageTest, AClosedSquareBecomesOneRoundedShapeThatUndoRemoves) {
  InterfaceStage& stage = mWorld.Stage();
  stage.Press(At(0, 0));
  for (const auto& [x, y] : std::vector<std::pair<float, float>>{{2, 0}, {2, 2}, {0, 2}}) {
    stage.Drag(At(x, y));
  }
  stage.Release(At(0, 2));
  ASSERT_EQ(Objects(), 1u);
  const MM3DIndexedMeshVertexData& block =
      *VPLFirstBlock(*mWorld.Creation().GetUserObjects()[0]).Block();
  // 25 cells a surface, two triangles a square of cells.
  EXPECT_EQ(block.GetVertexCount(), 2 * 25);
  EXPECT_EQ(block.mIndices.Count(), 3 * 2 * 16 * 2);
  mWorld.Area().Undo();
  EXPECT_EQ(Objects(), 0u);
}

}  // namespace
