#include "app/creation/VPLSceneCreationArea.h"

#include "app/creation/VPLObjCreation.h"
#include "tests/app/creation/AreaSupport.h"

#include <gtest/gtest.h>

namespace {

using namespace area_support;

const MM3DVector kPlace(0.0f, 0.0f, 10.0f, 1.0f);
const MM3DVector kTarget(2.0f, 1.0f, 10.0f, 1.0f);

// Drags the pressed object in the upright plane through it.
class PlaneDragTool : public VPLToolObjectBased {
 public:
  using VPLToolObjectBased::VPLToolObjectBased;
  VPLToolEnums GetToolType() const override { return kVPLToolMove; }
  void Begin(const VPLSegment& /*segment*/, bool /*alternate*/) override { MarkChanged(); }
  void Drag(const VPLSegment& segment, bool /*alternate*/) override {
    const MM3DVector at = mPicked->GetWorldPosition();
    MM3DVector hit(0, 0, 0, 1);
    if (VPLIntersectSegmentPlane(segment, at, at.Sum(MM3DVector(1, 0, 0, 0)),
                                 at.Sum(MM3DVector(0, 1, 0, 0)), hit)) {
      mPicked->SetLocation(hit);
    }
  }
};

bool Near(const MM3DVector& a, const MM3DVector& b) {
  return a.Direction(b).LengthSquared() < 0.01f;
}

TEST(VPLSceneCreationAreaOnStageTest, ADragMovesAnObjectWhichUndoBringsBackAndLeavingSaves) {
  const MakerInFactory drag(kVPLToolMove, &VPLMakeTool<PlaneDragTool>);
  AreaWorld world;
  world.Area().SetTool(kVPLToolMove);
  VPLObjCreation* object = world.AddBox(kPlace);
  world.Creation().SetModified(false);
  world.Stage().RunFrame();
  world.Stage().Press(world.Stage().ScreenPointOf(kPlace));
  world.Stage().Drag(world.Stage().ScreenPointOf(kTarget));
  world.Stage().Release(world.Stage().ScreenPointOf(kTarget));
  world.Stage().RunFrame();
  EXPECT_TRUE(Near(object->GetWorldPosition(), kTarget));
  EXPECT_TRUE(world.Creation().IsModified());

  world.Area().Undo();
  ASSERT_EQ(world.Creation().GetUserObjects().size(), 1u);
  EXPECT_TRUE(Near(world.Creation().GetUserObjects()[0]->GetWorldPosition(), kPlace));
  world.Area().Deactivate();
  EXPECT_EQ(world.Sketches().Current().mWrites, 1);
}

TEST(VPLSceneCreationAreaOnStageTest, TheKeysReachTheArea) {
  AreaWorld world;
  world.Stage().Key(VK_RETURN);
  world.Stage().RunFrame();
  EXPECT_EQ(world.Creation().GetBackground(), kStartBackground + 1);
  world.Stage().Type(' ');
  world.Stage().RunFrame();
  EXPECT_TRUE(world.Creation().IsModified());  // the camera went home
}

}  // namespace
