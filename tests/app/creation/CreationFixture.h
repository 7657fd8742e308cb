#pragma once
// The fixture of the tests of a creation and its objects: the creation's
// tables, the interface stage, whose clock the test drives, and a creation
// over its scene, seen from the usual eye above and in front of the origin.

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationUser.h"
#include "foundation/uu/UUOwned.h"
#include "mm/tasks/MMTaskManager.h"
#include "tests/app/creation/CreationSupport.h"
#include "tests/app/support/InterfaceStage.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace creation_support {

const MM3DVector kCreationEye(0.0f, 30.0f, 40.0f, 1.0f);
const MM3DVector kCreationInterest(0.0f, 0.0f, 0.0f, 1.0f);

// A camera at kCreationEye facing kCreationInterest.
inline UURefCount<MM3DCamera> CreationCamera() {
  return UURefCount<MM3DCamera>(
      new MM3DCamera(kCreationEye, UUOwned<MM3DVector>(new MM3DVector(kCreationInterest)), 0.0f));
}

class CreationFixture : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(mFiles.Ready()); }

  // A quad of the creation at the place, filed nowhere yet.
  VPLObjCreation* Quad(const MM3DVector& place) {
    auto* object = new VPLObjCreationUser(&mStage.Scene(), app_fixtures::MakeQuad(), &mCreation);
    object->SetLocation(place);
    return object;
  }
  // Runs the stage's tasks up to the time.
  void At(int32_t time) { mStage.Stage()->GetTaskManager()->RunUntil(time); }

  app_fixtures::AppFiles mFiles{CreationTables()};
  InterfaceStage mStage;
  VPLCreation mCreation{&mStage.Scene(), CreationCamera()};
};

}  // namespace creation_support
