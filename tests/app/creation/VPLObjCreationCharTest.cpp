#include "app/creation/VPLObjCreationChar.h"

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLPomblePlayer.h"
#include "app/creation/VPLPombleVisual.h"
#include "app/objects/VPLDisplayTreeVisitors.h"
#include "app/objects/VPLMaterializer.h"
#include "app/objects/VPLVertexHolder.h"
#include "foundation/uu/UUMemory.h"
#include "foundation/uu/UUOwned.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeSRTTransform.h"
#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "mm3d/MM3DModelCollection.h"
#include "tests/app/creation/PombleSupport.h"
#include "tests/app/support/InterfaceStage.h"
#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <limits>
#include <memory>
#include <vector>

namespace {

using namespace pomble_support;

const MM3DColor kBlue{0.0f, 0.2f, 1.0f, 0.0f};
const MM3DColor kYellow{1.0f, 0.9f, 0.1f, 0.0f};
const MM3DVector kSpot(5.0f, 0.0f, 3.0f, 1.0f);
// The pose record starts after the two matrices, the choice and the flag.
constexpr size_t kPoseOffset = 131;
// A magnet reach (squared world units) that takes in the whole body.
constexpr float kWideReach = 1.0e6f;

MM3DMatrix Identity() {
  MM3DMatrix identity;
  identity.SetIdentity();
  return identity;
}

class VPLObjCreationCharTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(mFiles.Ready()) << "the built data files (VPL_DATA_DIR)"; }
  std::unique_ptr<VPLObjCreationChar> Make() {
    return std::make_unique<VPLObjCreationChar>(
        &mStage.Scene(), MM3DGetModel(kPombleModel, mStage.Stage()->GetTextureMap()), nullptr);
  }
  // Added as the creation area adds it: with its ghost, all parts off.
  std::unique_ptr<VPLObjCreationChar> MakeWithGhost() {
    std::unique_ptr<VPLObjCreationChar> character = Make();
    character->CreatePartHighlight();
    character->GetPoseVisual()->AllPartsOff();
    return character;
  }
  static std::vector<uint8_t> Record(VPLObjCreationChar& character) {
    ByteWriter writer;
    EXPECT_TRUE(character.WriteRecord(writer, nullptr));
    return writer.mBytes;
  }
  static const MM3DMatrix& GhostTranslation(const VPLObjCreationChar& character) {
    return GhostNode(character, 0)->GetMatrix();
  }
  // The ghost's translation (0), rotation (1) and scale (2) nodes, in that
  // order below its root.
  static MM3DDisplayTreeNodeTransform* GhostNode(const VPLObjCreationChar& character,
                                                 int32_t depth) {
    auto* node = static_cast<MM3DDisplayTreeNodeWithChildren*>(
        character.GetHighlightVisual()->GetDisplayTree());
    for (int32_t i = 0; i <= depth; ++i) {
      node = static_cast<MM3DDisplayTreeNodeWithChildren*>(node->GetChild(0));
    }
    return static_cast<MM3DDisplayTreeNodeTransform*>(node);
  }
  static MM3DVector FirstVertex(const VPLObjCreationChar& character) {
    auto* mesh = static_cast<MM3DDisplayTreeNodeIndexedMesh*>(
        VPLFindMeshes(character.GetDisplayTreeRoot())[0]);
    return mesh->GetPart(0).mBlocks[0]->mPositions[0];
  }

  // Every vertex of every mesh, in walk order.
  static std::vector<MM3DVector> MeshPositions(const VPLObjCreationChar& character) {
    std::vector<MM3DVector> positions;
    for (MM3DDisplayTreeNode* node : VPLFindMeshes(character.GetDisplayTreeRoot())) {
      auto* mesh = static_cast<MM3DDisplayTreeNodeIndexedMesh*>(node);
      for (int32_t p = 0; p < mesh->GetPartCount(); ++p) {
        for (const auto& block : mesh->GetPart(p).mBlocks) {
          for (const MM3DVector& v : block->mPositions) positions.push_back(v);
        }
      }
    }
    return positions;
  }

  DataFiles mFiles;
  InterfaceStage mStage;
};

TEST_F(VPLObjCreationCharTest, DuringAShowNeitherItNorItsGhostMovesOrTurns) {
  const std::unique_ptr<VPLObjCreationChar> character = MakeWithGhost();
  const std::function<void(VPLObjCreationChar&)> moves[] = {
      [](VPLObjCreationChar& c) { c.SetPosition(1.0f, 2.0f, 3.0f); },
      [](VPLObjCreationChar& c) { c.MoveBy(1.0f, 0.0f, 0.0f); },
      [](VPLObjCreationChar& c) { c.SetLocation(kSpot); },
      [](VPLObjCreationChar& c) { c.SetRotation(0.0f, 1.0f, 0.0f); },
      [](VPLObjCreationChar& c) { c.RotateBy(0.5f, 0.0f, 0.0f); },
  };
  character->GetPlayer()->PlayFrames(200, 320, false);
  ASSERT_TRUE(character->IsPerforming());
  for (const auto& move : moves) move(*character);
  EXPECT_EQ(character->GetTranslationNode()->GetMatrix(), Identity());
  EXPECT_EQ(character->GetRotationNode()->GetMatrix(), Identity());
  EXPECT_EQ(GhostTranslation(*character), Identity());

  character->GetPlayer()->Stop();
  for (const auto& move : moves) move(*character);
  EXPECT_EQ(GhostTranslation(*character), character->GetTranslationNode()->GetMatrix());
  EXPECT_EQ(GhostNode(*character, 1)->GetMatrix(), character->GetRotationNode()->GetMatrix());
  EXPECT_NE(character->GetRotationNode()->GetMatrix(), Identity());
}

TEST_F(VPLObjCreationCharTest, StandingUpAfterAChangeIsNoShow) {
  const std::unique_ptr<VPLObjCreationChar> character = Make();
  character->GetPoseVisual()->SetPartPose(kVPLHead, 0.5f, true);
  EXPECT_TRUE(character->GetPlayer()->IsPlaying());
  EXPECT_FALSE(character->IsPerforming());
  character->SetLocation(kSpot);
  EXPECT_TRUE(character->GetWorldPosition().Equals(kSpot));
}

TEST_F(VPLObjCreationCharTest, ScalingAndMirroringLeaveItAsItIs) {
  const std::unique_ptr<VPLObjCreationChar> character = Make();
  const MM3DVector vertex = FirstVertex(*character);
  character->SetScale(2.0f, 2.0f, 2.0f);
  character->ScaleBy(3.0f, 1.0f, 1.0f);
  character->BeginScale(1.0f, 1.0f, 1.0f);
  character->DragScale(2.0f, 2.0f, 2.0f);
  character->DragScale(3.0f, 3.0f, 3.0f);
  character->EndScale();
  const MM3DVector eye(0.0f, 10.0f, -40.0f, 1.0f);
  character->MirrorLeftRight(eye, MM3DVector(0.0f, 0.0f, 0.0f, 1.0f));
  character->MirrorUpDown(eye, MM3DVector(0.0f, 0.0f, 0.0f, 1.0f));
  EXPECT_EQ(character->GetScaleNode()->GetMatrix(), Identity());
  EXPECT_FALSE(character->IsJiggling());
  EXPECT_TRUE(FirstVertex(*character).Equals(vertex));
}

TEST_F(VPLObjCreationCharTest, TheMagnetNeitherPullsNorPushesIt) {
  const std::unique_ptr<VPLObjCreationChar> character = Make();
  MM3DVector low;
  MM3DVector high;
  character->GetBounds(low, high);
  MM3DVector middle = low;
  middle.Add(high);
  middle.Scale(0.5f);
  const MM3DVector start(middle.mX, middle.mY, high.mZ + 20.0f, 1.0f);
  const MM3DVector end(middle.mX, middle.mY, low.mZ - 20.0f, 1.0f);
  MM3DVector hit;
  ASSERT_TRUE(character->PickRay(start, end, hit, nullptr)) << "the segment reaches the body";
  const std::vector<MM3DVector> before = MeshPositions(*character);
  const std::function<void(VPLObjCreationChar&)> magnet[] = {
      [&](VPLObjCreationChar& c) { c.BeginMagnetPull(start, end, kWideReach); },
      [&](VPLObjCreationChar& c) { c.DragMagnetPull(start, end, kWideReach); },
      [&](VPLObjCreationChar& c) { c.EndMagnetPull(start, end, kWideReach); },
      [&](VPLObjCreationChar& c) { c.BeginMagnetPush(start, end, kWideReach); },
      [&](VPLObjCreationChar& c) { c.DragMagnetPush(start, end, kWideReach); },
      [&](VPLObjCreationChar& c) { c.EndMagnetPush(start, end, kWideReach); },
  };
  for (const auto& step : magnet) step(*character);
  const std::vector<MM3DVector> after = MeshPositions(*character);
  ASSERT_EQ(after.size(), before.size());
  for (size_t i = 0; i < before.size(); ++i) EXPECT_TRUE(after[i].Equals(before[i])) << i;
}

TEST_F(VPLObjCreationCharTest, ResetStandsItAtTheOriginWithEveryPartOffAndTheGhostHidden) {
  const std::unique_ptr<VPLObjCreationChar> character = MakeWithGhost();
  VPLPombleVisual& visual = *character->GetPoseVisual();
  visual.AllPartsOn();
  visual.SetPartPose(kVPLLeftArm, 0.75f, false);
  character->SetLocation(kSpot);
  character->SetRotation(0.0f, 1.2f, 0.0f);
  character->SetColors(kBlue, kYellow);
  character->Reset();
  EXPECT_TRUE(character->GetWorldPosition().Equals(MM3DVector(0.0f, 0.0f, 0.0f, 1.0f)));
  EXPECT_EQ(character->GetRotationNode()->GetMatrix(), Identity());
  EXPECT_EQ(GhostTranslation(*character), Identity());
  EXPECT_FALSE(character->IsPulsing());
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) {
    EXPECT_FALSE(visual.IsPartOn(part)) << part;
    EXPECT_EQ(visual.GetPartPose(part), 0.0f) << part;
    EXPECT_FALSE(character->GetHighlightVisual()->GetPartNode(part)->IsVisible()) << part;
  }
  character->RefreshPartHighlight();
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) {
    EXPECT_TRUE(character->GetHighlightVisual()->GetPartNode(part)->IsVisible()) << part;
  }
}

TEST_F(VPLObjCreationCharTest, ARecordReadBackWritesTheSameBytesAndKeepsItsColours) {
  const std::unique_ptr<VPLObjCreationChar> character = MakeWithGhost();
  VPLPombleVisual& visual = *character->GetPoseVisual();
  visual.SetHeadOn(true);
  visual.SetRightArmOn(true);
  visual.SetPartPose(kVPLRightArm, 0.375f, false);
  character->SetAnimationChoice(2);
  character->SetRepeat(true);
  character->SetLocation(kSpot);
  character->SetRotation(0.0f, 0.7f, 0.0f);
  character->SetColors(kBlue, kYellow);
  const std::vector<uint8_t> record = Record(*character);
  EXPECT_EQ(record[VPLObjCreationChar::kRepeatFlagOffset], 1);
  EXPECT_EQ(record[kPoseOffset], 1);

  const std::unique_ptr<VPLObjCreationChar> copy = Make();
  ByteReader reader(record);
  ASSERT_TRUE(copy->ReadRecord(reader, nullptr));
  EXPECT_EQ(Record(*copy), record);
  EXPECT_TRUE(copy->IsPulsing());
  EXPECT_TRUE(copy->GetBaseColor() == kBlue);
  EXPECT_TRUE(copy->GetSecondColor() == kYellow);
  EXPECT_EQ(copy->GetAnimationChoice(), 2);
  EXPECT_TRUE(copy->GetRepeat());
  // The ghost it was given stands where the character stands.
  ASSERT_NE(copy->GetHighlightVisual(), nullptr);
  EXPECT_EQ(GhostTranslation(*copy), copy->GetTranslationNode()->GetMatrix());
  EXPECT_EQ(GhostNode(*copy, 1)->GetMatrix(), copy->GetRotationNode()->GetMatrix());
  EXPECT_TRUE(copy->GetWorldPosition().Equals(kSpot));
}

// The record starts with the place and the turn, sixteen floats each.
TEST_F(VPLObjCreationCharTest, APlaceOrTurnThatIsNoNumberFailsTheRead) {
  const std::unique_ptr<VPLObjCreationChar> character = Make();
  const std::vector<uint8_t> record = Record(*character);
  constexpr size_t kMatrixBytes = 16 * sizeof(float);
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float infinite = std::numeric_limits<float>::infinity();
  for (size_t offset : {size_t{12} * sizeof(float), kMatrixBytes + 5 * sizeof(float)}) {
    for (float bad : {nan, infinite}) {
      std::vector<uint8_t> damaged = record;
      std::memcpy(damaged.data() + offset, &bad, sizeof bad);
      ByteReader reader(damaged);
      EXPECT_FALSE(Make()->ReadRecord(reader, nullptr)) << offset << " " << bad;
    }
  }
}

class VPLObjCreationCharMaterialsTest : public VPLObjCreationCharTest {
 protected:
  // The record and where its first mesh's part count lies.
  void SetUp() override {
    VPLObjCreationCharTest::SetUp();
    mCharacter = Make();
    mRecord = Record(*mCharacter);
    ByteWriter objectRecord;
    ASSERT_TRUE(mCharacter->VPLObjCreation::WriteRecord(objectRecord, nullptr));
    mCountOffset = kPoseOffset + VPLPombleVisual::kPoseRecordSize + objectRecord.mBytes.size();
    std::memcpy(&mCount, mRecord.data() + mCountOffset, sizeof mCount);
  }
  void SetCount(int16_t count) { std::memcpy(mRecord.data() + mCountOffset, &count, sizeof count); }

  std::unique_ptr<VPLObjCreationChar> mCharacter;
  std::vector<uint8_t> mRecord;
  size_t mCountOffset = 0;
  int16_t mCount = 0;
};

TEST_F(VPLObjCreationCharMaterialsTest, APartCountBelowZeroFailsTheRead) {
  SetCount(-1);
  const std::unique_ptr<VPLObjCreationChar> copy = Make();
  ByteReader reader(mRecord);
  EXPECT_FALSE(copy->ReadRecord(reader, nullptr));
}

TEST_F(VPLObjCreationCharMaterialsTest, MaterialsBeyondAMeshsPartsAreReadAndLeftUnapplied) {
  const std::vector<uint8_t> original = mRecord;
  // The first mesh's records again, as the record writes them, then one
  // more after them: for a part the mesh does not have.
  auto* mesh = static_cast<MM3DDisplayTreeNodeIndexedMesh*>(
      VPLFindMeshes(mCharacter->GetDisplayTreeRoot())[0]);
  VPLMaterializer materializer(nullptr);
  materializer.LoadPreset(VPLObjCreationChar::kBodyPreset);
  ByteWriter written;
  VPLVertexHolder holder;
  holder.mNode = mesh;
  for (holder.mPart = 0; holder.mPart < mCount; ++holder.mPart) {
    materializer.TakeTextureFrom(*mCharacter, &holder, true, true);
    ASSERT_TRUE(materializer.Write(written));
  }
  const auto end = static_cast<ptrdiff_t>(mCountOffset + sizeof mCount + written.mBytes.size());
  ASSERT_TRUE(std::equal(written.mBytes.begin(), written.mBytes.end(),
                         mRecord.begin() + end - static_cast<ptrdiff_t>(written.mBytes.size())));
  ByteWriter extra;
  ASSERT_TRUE(materializer.Write(extra));
  SetCount(static_cast<int16_t>(mCount + 1));
  mRecord.insert(mRecord.begin() + end, extra.mBytes.begin(), extra.mBytes.end());

  const std::unique_ptr<VPLObjCreationChar> copy = Make();
  ByteReader reader(mRecord);
  ASSERT_TRUE(copy->ReadRecord(reader, nullptr));
  EXPECT_EQ(Record(*copy), original);
}

// A creation record holding the character makes it again on reading.
TEST_F(VPLObjCreationCharTest, ACreationRecordMakesTheCharacterAgain) {
  const auto camera = [] {
    return UURefCount<MM3DCamera>(
        new MM3DCamera(MM3DVector(0.0f, 36.0f, -70.0f, 1.0f),
                       UUOwned<MM3DVector>(new MM3DVector(0.0f, 4.0f, 0.0f, 1.0f)), 0.0f));
  };
  VPLCreation creation(&mStage.Scene(), camera());
  auto* character = new VPLObjCreationChar(
      &mStage.Scene(), MM3DGetModel(kPombleModel, mStage.Stage()->GetTextureMap()), &creation);
  creation.AddObject(character);
  character->GetPoseVisual()->SetPartPose(kVPLTorso, 1.0f, false);
  std::vector<uint8_t> block(1 << 20);
  UUMemory stream(block.data(), static_cast<int32_t>(block.size()));
  ASSERT_TRUE(creation.Write(stream));
  int32_t length = 0;
  stream.Tell(&length);

  VPLCreation copy(&mStage.Scene(), camera());
  ByteReader reader(std::vector<uint8_t>(block.begin(), block.begin() + length));
  ASSERT_TRUE(copy.Read(reader));
  auto* read = dynamic_cast<VPLObjCreationChar*>(copy.FindCharacter());
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(read->GetPoseVisual()->GetPartPose(kVPLTorso), 1.0f);
}

}  // namespace
