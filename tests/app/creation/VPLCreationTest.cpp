#include "app/creation/VPLCreation.h"

#include "app/creation/VPLObjCreationUser.h"
#include "app/objects/VPLVertexHolder.h"
#include "tests/app/creation/CreationFixture.h"
#include "tests/app/creation/CreationSupport.h"
#include "tests/app/support/InterfaceStage.h"

#include <gtest/gtest.h>

namespace {

using namespace app_fixtures;
using namespace creation_support;

// A segment along z through the quads.
const MM3DVector kNear(0.3f, 0.2f, -10.0f, 1.0f);
const MM3DVector kFar(0.3f, 0.2f, 10.0f, 1.0f);

class VPLCreationTest : public CreationFixture {
 protected:
  template <typename T = VPLObjCreationUser>
  T* Add() {
    auto* object = new T(&mStage.Scene(), MakeQuad(), nullptr);
    mCreation.AddObject(object);
    return object;
  }
};

TEST_F(VPLCreationTest, StartsFromTheSettingsAndHearsTheCreationSounds) {
  EXPECT_TRUE(mCreation.GetGround());
  EXPECT_EQ(mCreation.GetBackground(), kDefaultBackground);
  VPLObjCreation* object = Add();
  EXPECT_EQ(object->GetCreation(), &mCreation);
  EXPECT_EQ(object->GetSpinSound(), kSpinSound);
  EXPECT_EQ(object->GetJiggleSound(), kJiggleSound);
  EXPECT_EQ(object->GetPathSound(), kPathSound);
}

TEST_F(VPLCreationTest, AtEqualDistanceUserObjectsWinOverGroupsAndEarlierOverLater) {
  VPLObjCreation* group = Add<TestGroup>();
  VPLObjCreation* first = Add();
  VPLObjCreation* later = Add();
  // A flat quad's box is never crossed: busy objects go to the mesh test.
  for (VPLObjCreation* object : {group, first, later}) object->IncrementBusy();
  MM3DVector hit(0, 0, 0, 0);
  EXPECT_EQ(mCreation.PickObject(kNear, kFar, &hit, nullptr), first);
  EXPECT_FLOAT_EQ(hit.mZ, 0.0f);
  mCreation.DetachObject(first);
  delete first;
  mCreation.RemoveObject(later);
  EXPECT_EQ(mCreation.PickObject(kNear, kFar, nullptr, nullptr), group);
}

TEST_F(VPLCreationTest, ABusyObjectsStaleBoxStillReachesItsMeshes) {
  VPLObjCreation* object = Add();
  object->SetScale(3, 3, 3);  // the box stays a unit square
  const MM3DVector start(2.0f, 0.0f, -10.0f, 1.0f);
  const MM3DVector end(2.0f, 0.0f, 10.0f, 1.0f);
  EXPECT_EQ(mCreation.PickObject(start, end, nullptr, nullptr), nullptr);
  object->IncrementBusy();
  EXPECT_EQ(mCreation.PickObject(start, end, nullptr, nullptr), object);
}

TEST_F(VPLCreationTest, TheFirstCharacterIsFiledBusyAndStaysOnRemoval) {
  auto* character = Add<TestCharacter>();
  EXPECT_EQ(mCreation.FindCharacter(), character);
  EXPECT_EQ(character->GetBusy(), 1);
  EXPECT_FALSE(mCreation.IsModified());

  TestCharacter second(&mStage.Scene(), MakeQuad(), nullptr);
  mCreation.AddObject(&second);
  EXPECT_EQ(mCreation.FindCharacter(), character);
  EXPECT_EQ(second.GetBusy(), 0);
  EXPECT_FALSE(mCreation.RemoveObject(&second));

  EXPECT_TRUE(mCreation.RemoveObject(character));
  EXPECT_EQ(mCreation.FindCharacter(), character);
  EXPECT_EQ(character->mResets, 1);
}

TEST_F(VPLCreationTest, RemovingTheCurrentGroupMakesTheLastGroupCurrent) {
  VPLObjCreation* first = Add<TestGroup>();
  VPLObjCreation* last = Add<TestGroup>();
  VPLObjCreation* current = Add<TestGroup>();
  mCreation.SelectGroup(first);
  mCreation.SelectGroup(current);
  EXPECT_FALSE(first->IsHighlighted());
  EXPECT_TRUE(current->IsHighlighted());
  mCreation.RemoveObject(current);
  EXPECT_EQ(mCreation.GetCurrentGroup(), last);
}

TEST_F(VPLCreationTest, AQueuedObjectGoesAtTheNextTickOnce) {
  VPLObjCreation* object = Add();
  Add();
  mCreation.QueueRemoval(object);
  mCreation.QueueRemoval(object);
  EXPECT_EQ(mCreation.GetUserObjects().size(), 2u);
  mCreation.Tick(100);
  EXPECT_EQ(mCreation.GetUserObjects().size(), 1u);
  mCreation.Tick(200);
  EXPECT_EQ(mCreation.GetUserObjects().size(), 1u);
}

// Freed objects never stay queued: the next tick would delete them again.
TEST_F(VPLCreationTest, ClearingEmptiesTheQueueWithTheObjects) {
  VPLObjCreation* object = Add();
  mCreation.QueueRemoval(object);
  mCreation.Clear();
  EXPECT_FALSE(mCreation.IsQueued(object));
  mCreation.Tick(100);
  EXPECT_TRUE(mCreation.IsEmpty());
}

TEST_F(VPLCreationTest, RefusedCameraMovesStillMarkTheCreationModified) {
  mCreation.ClearModified();
  mCreation.ZoomCameraIn(1000.0f);
  EXPECT_TRUE(mCreation.GetCamera().GetEye().Equals(kCreationEye));
  EXPECT_TRUE(mCreation.IsModified());
}

TEST_F(VPLCreationTest, ClearingRestoresTheDefaultsAndTheHomeEye) {
  Add();
  Add<TestGroup>();
  mCreation.SetGround(false);
  mCreation.SetBackground(7);
  mCreation.OrbitCameraNegative(1.0f);
  mCreation.ClearModified();
  EXPECT_TRUE(mCreation.IsEmpty());
  EXPECT_TRUE(mCreation.GetGround());
  EXPECT_EQ(mCreation.GetBackground(), kDefaultBackground);
  EXPECT_TRUE(mCreation.GetCamera().GetEye().Equals(kCreationEye));
  EXPECT_FALSE(mCreation.IsModified());
  mCreation.ClearAsModified();
  EXPECT_TRUE(mCreation.IsModified());
}

}  // namespace
