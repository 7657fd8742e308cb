#include "app/creation/VPLObjCreation.h"

#include "app/creation/VPLObjCreationUser.h"
#include "mm/tasks/MMTaskManager.h"
#include "tests/app/creation/CreationSupport.h"
#include "tests/app/support/InterfaceStage.h"
#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

using namespace app_fixtures;
using namespace creation_support;

constexpr int32_t kDuration = 1000;
const MM3DVector kPlace(5.0f, 1.0f, 2.0f, 1.0f);
// Where a record without a second colour holds the path model id.
constexpr size_t kPathIdOffset = 84;

int32_t Int32At(const std::vector<uint8_t>& bytes, size_t offset) {
  int32_t value;
  std::memcpy(&value, bytes.data() + offset, sizeof value);
  return value;
}

class VPLObjCreationPathTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(mFiles.Ready());
    mObject->SetLocation(kPlace);
    mObject->SetPath(ModelId(kPathItem), kDuration);
  }
  float X() const { return mObject->GetWorldPosition().mX; }

  AppFiles mFiles{CreationTables()};
  InterfaceStage mStage;
  std::unique_ptr<VPLObjCreation> mObject =
      std::make_unique<VPLObjCreationUser>(&mStage.Scene(), MakeQuad(), nullptr);
};

// The straight path runs 10 along x in a second.
TEST_F(VPLObjCreationPathTest, APlayingPathMovesTheObjectAlongItsSplineRunAfterRun) {
  mObject->Tick(0);
  mObject->PlayPath();
  EXPECT_EQ(mObject->GetBusy(), 1);
  mObject->Tick(0);
  mObject->Tick(250);
  EXPECT_FLOAT_EQ(X(), kPlace.mX + 2.5f);
  mObject->Tick(1000);
  EXPECT_FLOAT_EQ(X(), kPlace.mX + 10.0f);
  // A new run steps back by the whole way and starts again.
  mObject->Tick(1001);
  EXPECT_FLOAT_EQ(X(), kPlace.mX);
}

TEST_F(VPLObjCreationPathTest, ADragPausesThePathAndStoppingGivesTheBusyCountBack) {
  mObject->PlayPath();
  mObject->Tick(0);
  mObject->BeginMove();
  mObject->Tick(500);
  EXPECT_FLOAT_EQ(X(), kPlace.mX);
  mObject->EndMove(kPlace.mX, kPlace.mY, kPlace.mZ);
  mObject->StopPath();
  EXPECT_FALSE(mObject->IsPathPlaying());
  EXPECT_EQ(mObject->GetBusy(), 0);
  mObject->Tick(800);
  EXPECT_FLOAT_EQ(X(), kPlace.mX);
}

TEST_F(VPLObjCreationPathTest, ARecordOfAPlayingPathGoesOnAtItsElapsedTime) {
  mObject->PlayPath();
  mObject->Tick(0);
  mObject->Tick(400);
  ByteWriter writer;
  ASSERT_TRUE(mObject->WriteRecord(writer, nullptr));
  EXPECT_EQ(Int32At(writer.mBytes, kPathIdOffset), ModelId(kPathItem));

  VPLObjCreationUser copy(&mStage.Scene(), MakeQuad(), nullptr);
  ByteReader reader(writer.mBytes);
  ASSERT_TRUE(copy.ReadRecord(reader, nullptr));
  EXPECT_TRUE(copy.IsPathPlaying());
  const float x = copy.GetWorldPosition().mX;
  const int32_t now = mStage.Stage()->GetTaskManager()->GetNow();
  copy.Tick(now + 100);
  EXPECT_NEAR(copy.GetWorldPosition().mX, x + 1.0f, 1e-4f);
}

}  // namespace
