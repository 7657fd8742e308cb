#include "app/creation/VPLCreation.h"

#include "app/creation/VPLObjCreationUser.h"
#include "foundation/uu/UUOwned.h"
#include "tests/app/creation/CreationSupport.h"
#include "tests/app/support/InterfaceStage.h"

#include <gtest/gtest.h>

namespace {

using namespace app_fixtures;
using namespace creation_support;

// The creation's camera stands where the interface camera does, so the
// scene's view does not move.
const MM3DVector kPlace(0, 0, 10, 1);
const Rgb kRed{255, 0, 0};

TEST(VPLCreationOnStageTest, AnObjectDraggedOutOfTheWorldIsGoneAtTheNextFrame) {
  AppFiles files(CreationTables());
  ASSERT_TRUE(files.Ready());
  InterfaceStage stage;
  VPLCreation creation(
      &stage.Scene(), UURefCount<MM3DCamera>(new MM3DCamera(
                          kCameraEye, UUOwned<MM3DVector>(new MM3DVector(kCameraInterest)), 0.0f)));
  auto* object = new VPLObjCreationUser(&stage.Scene(), MakeQuad(), nullptr);
  creation.AddObjectAt(object, kPlace);
  object->SetMeshColor(MM3DColor{1, 0, 0, 0});
  const UUPoint at = stage.ScreenPointOf(kPlace);
  stage.RunFrame();
  ASSERT_TRUE(Near(stage.PixelAt(at), kRed)) << stage.PixelAt(at);

  object->BeginMove();
  object->DragMove(120, 0, 10);
  object->EndMove(VPLObjCreation::kWorldRadius + 5, 0, 10);
  creation.Tick(100);
  stage.RunFrame();
  EXPECT_TRUE(creation.IsEmpty());
  EXPECT_FALSE(Near(stage.PixelAt(at), kRed)) << stage.PixelAt(at);
}

}  // namespace
