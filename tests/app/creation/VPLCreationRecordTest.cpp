#include "app/creation/VPLCreation.h"

#include "app/creation/VPLObjCreationUser.h"
#include "app/objects/VPLServices.h"
#include "foundation/uu/UUMemory.h"
#include "foundation/uu/UUOwned.h"
#include "mm/tasks/MMTaskManager.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "tests/app/creation/CreationSupport.h"
#include "tests/app/support/InterfaceStage.h"
#include "tests/mm3d/FakeTextureCollection.h"
#include "tests/mm3d/MM3DStreams.h"

#include <gtest/gtest.h>

#include <strings.h>
#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using namespace app_fixtures;
using namespace creation_support;

const MM3DVector kHomeEye(0.0f, 30.0f, 40.0f, 1.0f);
const MM3DVector kInterest(0.0f, 0.0f, 0.0f, 1.0f);
const MM3DVector kFirstPlace(1.0f, 2.0f, 3.0f, 1.0f);
const MM3DVector kSecondPlace(-4.0f, 0.5f, 6.0f, 1.0f);
const MM3DColor kWhite{1.0f, 1.0f, 1.0f, 1.0f};
const MM3DColor kGrey{0.5f, 0.5f, 0.5f, 1.0f};
// The head: eye, ground, background and the user object count.
constexpr size_t kHeadSize = 21;
constexpr size_t kEmptySize = 26;

constexpr uint16_t kPictureCollection = 12;
const char* const kPictureName = "Tree.png";

// The child's one picture, which can be deleted.
class OnePicture : public VPLUserTextureList {
 public:
  explicit OnePicture(MMResourceId texture) : mTexture(texture) {}
  int32_t GetCount() const override { return 1; }
  int32_t GetTextureId(int32_t index) const override { return index == 0 ? mTexture : -1; }
  const char* GetTextureFileName(int32_t texture) const override {
    return texture == mTexture ? kPictureName : nullptr;
  }
  int32_t FindTextureId(const char* name) const override {
    return !mGone && strcasecmp(name, kPictureName) == 0 ? mTexture : -1;
  }
  MMResourceId mTexture;
  bool mGone = false;
};

class VPLCreationRecordTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(mFiles.Ready()); }

  std::unique_ptr<VPLCreation> MakeCreation() {
    return std::make_unique<VPLCreation>(
        &mStage.Scene(), UURefCount<MM3DCamera>(new MM3DCamera(
                             kHomeEye, UUOwned<MM3DVector>(new MM3DVector(kInterest)), 0.0f)));
  }
  // A pulsing, spinning object and a jiggling one at their places.
  void Fill(VPLCreation& creation) {
    MMTaskManager& clock = *mStage.Stage()->GetTaskManager();
    auto* pulsing = new VPLObjCreationUser(&mStage.Scene(), MakeQuad(), nullptr);
    pulsing->SetColors(kWhite, kGrey);
    creation.AddObjectAt(pulsing, kFirstPlace);
    pulsing->BeginRotate(0, 0, 0);
    clock.RunUntil(clock.GetNow() + 30);
    pulsing->DragRotate(0, 0.1f, 0);
    pulsing->EndRotate(0, 0, 0);
    auto* jiggling = new VPLObjCreationUser(&mStage.Scene(), MakeTwoMeshes(), nullptr);
    creation.AddObjectAt(jiggling, kSecondPlace);
    jiggling->BeginScale(1, 1, 1);
    clock.RunUntil(clock.GetNow() + 30);
    jiggling->DragScale(2, 2, 2);
    clock.RunUntil(clock.GetNow() + 30);
    jiggling->DragScale(1.5f, 1.5f, 1.5f);
    jiggling->EndScale();
  }
  static std::vector<uint8_t> Write(VPLCreation& creation) {
    BlockStream block;
    EXPECT_TRUE(creation.Write(block.Stream()));
    return block.Written();
  }
  bool Read(VPLCreation& creation, const std::vector<uint8_t>& bytes) {
    ByteReader reader(bytes);
    return creation.Read(reader);
  }

  AppFiles mFiles{CreationTables()};
  InterfaceStage mStage;
};

TEST_F(VPLCreationRecordTest, AnEmptyCreationWritesItsHeadAndNothingElse) {
  const auto creation = MakeCreation();
  std::vector<uint8_t> expected;
  for (float value : {kHomeEye.mX, kHomeEye.mY, kHomeEye.mZ, kHomeEye.mW}) {
    AppendFloat(expected, value);
  }
  const uint8_t rest[] = {1, kDefaultBackground, 0, 0, 0, 0, 0, 0xFF, 0xFF, 0};
  expected.insert(expected.end(), std::begin(rest), std::end(rest));
  ASSERT_EQ(expected.size(), kEmptySize);
  EXPECT_EQ(Write(*creation), expected);
}

TEST_F(VPLCreationRecordTest, ACreationReadBackWritesTheSameBytes) {
  const auto creation = MakeCreation();
  Fill(*creation);
  creation->OrbitCameraNegative(0.5f);
  const std::vector<uint8_t> bytes = Write(*creation);
  EXPECT_FALSE(creation->IsModified());

  const auto copy = MakeCreation();
  ASSERT_TRUE(Read(*copy, bytes));
  EXPECT_FALSE(copy->IsModified());
  ASSERT_EQ(copy->GetUserObjects().size(), 2u);
  EXPECT_TRUE(copy->GetUserObjects()[0]->GetWorldPosition().Equals(kFirstPlace));
  EXPECT_TRUE(copy->GetUserObjects()[1]->GetWorldPosition().Equals(kSecondPlace));
  EXPECT_TRUE(copy->GetUserObjects()[0]->IsPulsing());
  EXPECT_TRUE(copy->GetUserObjects()[0]->IsSpinning());
  EXPECT_TRUE(copy->GetUserObjects()[1]->IsJiggling());
  EXPECT_TRUE(copy->GetCamera().GetEye().Equals(creation->GetCamera().GetEye()));
  const std::vector<uint8_t> again = Write(*copy);
  ASSERT_EQ(again.size(), bytes.size());
  const auto differ = std::mismatch(again.begin(), again.end(), bytes.begin());
  EXPECT_EQ(differ.first, again.end()) << "first difference at " << (differ.first - again.begin());
}

// Cut anywhere, the write fails, leaves every object where it was and the
// creation still modified.
TEST_F(VPLCreationRecordTest, AWriteThatFailsLeavesTheCreationAsItWas) {
  const auto creation = MakeCreation();
  Fill(*creation);
  const size_t full = Write(*creation).size();
  creation->SetModified(true);
  for (size_t limit : {size_t{0}, size_t{10}, kHeadSize, kHeadSize + 20, full / 2, full - 1}) {
    SCOPED_TRACE(limit);
    BlockStream block(static_cast<int32_t>(limit));
    EXPECT_FALSE(creation->Write(block.Stream()));
    EXPECT_TRUE(creation->IsModified());
    EXPECT_TRUE(creation->GetUserObjects()[0]->GetWorldPosition().Equals(kFirstPlace));
    EXPECT_TRUE(creation->GetUserObjects()[1]->GetWorldPosition().Equals(kSecondPlace));
  }
}

// Cut anywhere, the read fails and keeps only the objects read whole.
TEST_F(VPLCreationRecordTest, ACutRecordKeepsTheObjectsReadWhole) {
  const auto creation = MakeCreation();
  Fill(*creation);
  const std::vector<uint8_t> bytes = Write(*creation);
  size_t kept = 0;
  for (size_t length = 0; length < bytes.size(); length += 7) {
    const auto copy = MakeCreation();
    EXPECT_FALSE(Read(
        *copy, std::vector<uint8_t>(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(length))))
        << length;
    EXPECT_GE(copy->GetUserObjects().size(), kept) << length;
    kept = copy->GetUserObjects().size();
  }
  EXPECT_EQ(kept, 2u);
}

// Counts and picture-name lengths patched into a good record.
TEST_F(VPLCreationRecordTest, NegativeCountsAndOverlongNamesFail) {
  const auto creation = MakeCreation();
  auto* object = new VPLObjCreationUser(&mStage.Scene(), MakeQuad(), nullptr);
  creation->AddObjectAt(object, kFirstPlace);
  const std::vector<uint8_t> bytes = Write(*creation);
  // The one object's picture flag comes just before the group count.
  const size_t groupCount = bytes.size() - 5;
  const size_t pictureFlag = groupCount - 1;
  ASSERT_EQ(bytes[pictureFlag], 0);

  std::vector<uint8_t> negativeUsers = bytes;
  negativeUsers[19] = 0xFF;
  negativeUsers[20] = 0xFF;
  std::vector<uint8_t> negativeGroups = bytes;
  negativeGroups[groupCount] = 0xFE;
  negativeGroups[groupCount + 1] = 0xFF;
  const auto named = [&](int32_t length) {
    std::vector<uint8_t> patched(bytes.begin(),
                                 bytes.begin() + static_cast<ptrdiff_t>(pictureFlag));
    patched.push_back(1);
    AppendInt32(patched, length);
    patched.insert(patched.end(), 300, 'a');
    patched.insert(patched.end(), bytes.begin() + static_cast<ptrdiff_t>(groupCount), bytes.end());
    return patched;
  };
  const struct {
    const char* mName;
    std::vector<uint8_t> mBytes;
  } cases[] = {
      {"negative user count", negativeUsers},
      {"negative group count", negativeGroups},
      {"negative name length", named(-1)},
      {"name longer than its buffer", named(VPLCreation::kMaxPictureName + 1)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.mName);
    const auto copy = MakeCreation();
    EXPECT_FALSE(Read(*copy, c.mBytes));
  }
}

TEST_F(VPLCreationRecordTest, AModelLargerThanTheWorkBufferIsWrittenOnTheSecondTry) {
  const auto creation = MakeCreation();
  creation->AddObjectAt(new VPLObjCreationUser(&mStage.Scene(), ModelNeedingMoreScratch(), nullptr),
                        kFirstPlace);
  const std::vector<uint8_t> bytes = Write(*creation);
  EXPECT_EQ(creation->GetWorkBufferSize(),
            VPLCreation::kWorkBufferSize + VPLCreation::kWorkBufferGrowth);
  const auto copy = MakeCreation();
  ASSERT_TRUE(Read(*copy, bytes));
  EXPECT_EQ(Write(*copy), bytes);
}

// A picture comes back by its file name; one deleted since falls back to
// the preset material without a texture.
TEST_F(VPLCreationRecordTest, PicturesComeBackByNameOrFallBackWhenGone) {
  FakeTextureCollection textures(kPictureCollection);
  OnePicture picture(textures.Add({.mRed = 200}));
  MM3DDriverTextureMap map;
  VPLGetServices().mTextureMap = &map;
  VPLGetServices().mUserTextures = &picture;
  const auto creation = MakeCreation();
  auto* object = new VPLObjCreationUser(&mStage.Scene(), MakeQuad(), nullptr);
  creation->AddObjectAt(object, kFirstPlace);
  object->SetPartTexture(0, picture.mTexture);
  ASSERT_EQ(object->GetPartTexture(0), picture.mTexture);
  const std::vector<uint8_t> bytes = Write(*creation);

  const auto copy = MakeCreation();
  ASSERT_TRUE(Read(*copy, bytes));
  EXPECT_EQ(copy->GetUserObjects().front()->GetPartTexture(0), picture.mTexture);
  EXPECT_EQ(Write(*copy), bytes);

  picture.mGone = true;
  const auto without = MakeCreation();
  ASSERT_TRUE(Read(*without, bytes));
  EXPECT_EQ(without->GetUserObjects().front()->GetPartTexture(0), -1);
  VPLGetServices().mUserTextures = nullptr;
  VPLGetServices().mTextureMap = nullptr;
}

TEST_F(VPLCreationRecordTest, ClearingGivesTheWorkBufferItsFirstSize) {
  const auto creation = MakeCreation();
  creation->GrowWorkBuffer();
  EXPECT_EQ(creation->GetWorkBufferSize(),
            VPLCreation::kWorkBufferSize + VPLCreation::kWorkBufferGrowth);
  creation->Clear();
  EXPECT_EQ(creation->GetWorkBufferSize(), VPLCreation::kWorkBufferSize);
}

}  // namespace
