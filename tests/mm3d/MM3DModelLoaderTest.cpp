#include "mm3d/MM3DModelLoader.h"

#include "mm3d/MM3DModelResourceFile.h"
#include "tests/mm3d/MM3DModelSupport.h"
#include "tests/support/ResourceFileFixtures.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace resource_fixtures;
using namespace model_fixtures;

constexpr uint16_t kCollection = 3;

class MM3DModelLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override { AFClearError(); }
  void TearDown() override {
    MM3DDestroyModelCollections();
    Remove(mName);
    AFClearError();
  }
  // A file of the character and an empty model, opened.
  MM3DModelLoader* Open(UUByteOrder order = kUUNativeByteOrder) {
    const std::vector<UURefCount<MM3DModel>> models = {MakeCharacter(),
                                                       UURefCount<MM3DModel>(new MM3DModel)};
    EXPECT_TRUE(WriteModelFile(TempDirectory(), mName.c_str(), kCollection, models, order));
    return MM3DOpenModelResourceFile(TempDirectory(), mName.c_str(), false);
  }

  std::string mName = UniqueName("models");
};

TEST_F(MM3DModelLoaderTest, ModelsComeBackByIdInBothByteOrders) {
  for (UUByteOrder order : {kUUNativeByteOrder, kUUSwappedByteOrder}) {
    SCOPED_TRACE(order);
    MM3DModelLoader* loader = Open(order);
    ASSERT_NE(loader, nullptr);
    EXPECT_EQ(loader->GetSubfileCount(), 2);
    const UURefCount<MM3DModel> character = MM3DGetModel(MMMakeResourceId(kCollection, 0), nullptr);
    ASSERT_FALSE(character.IsEmpty());
    for (const char* part : kLimbNames) EXPECT_NE(character->FindNamedNode(part), nullptr) << part;
    EXPECT_TRUE(character->HasAnimationClip());
    const UURefCount<MM3DModel> empty = MM3DGetModel(MMMakeResourceId(kCollection, 1), nullptr);
    ASSERT_FALSE(empty.IsEmpty());
    EXPECT_FALSE(empty->HasDisplayTree());
    MM3DDestroyModelCollections();
  }
}

TEST_F(MM3DModelLoaderTest, EachRequestBuildsANewModel) {
  ASSERT_NE(Open(), nullptr);
  const MMResourceId id = MMMakeResourceId(kCollection, 0);
  const UURefCount<MM3DModel> first = MM3DGetModel(id, nullptr);
  const UURefCount<MM3DModel> second = MM3DGetModel(id, nullptr);
  ASSERT_FALSE(first.IsEmpty());
  ASSERT_FALSE(second.IsEmpty());
  EXPECT_NE(first.Get(), second.Get());
  EXPECT_NE(first->FindNamedNode("_head"), second->FindNamedNode("_head"));
}

TEST_F(MM3DModelLoaderTest, IdsResolveOnlyThroughRegisteredCollections) {
  MM3DModelLoader* loader = Open();
  ASSERT_NE(loader, nullptr);
  EXPECT_EQ(MM3DMakeModelId(loader, 7), MMMakeResourceId(kCollection, 7));
  EXPECT_EQ(MM3DGetModelCollection(MMMakeResourceId(kCollection, 0)), loader);
  for (MMResourceId id :
       {MMMakeResourceId(kCollection, 2), MMMakeResourceId(kCollection, static_cast<uint16_t>(-1)),
        MMMakeResourceId(kCollection + 1, 0), kMMNoResource}) {
    EXPECT_TRUE(MM3DGetModel(id, nullptr).IsEmpty()) << id;
  }
  MM3DDestroyModelCollections();
  EXPECT_EQ(MM3DGetModelCollection(MMMakeResourceId(kCollection, 0)), nullptr);
  EXPECT_EQ(MM3DMakeModelId(nullptr, 7), kMMNoResource);
  EXPECT_TRUE(MM3DGetModel(MMMakeResourceId(kCollection, 0), nullptr).IsEmpty());
}

TEST_F(MM3DModelLoaderTest, ADamagedModelFailsAloneAndTheNextRequestReads) {
  ASSERT_TRUE(Open() != nullptr);
  MM3DDestroyModelCollections();
  // Cut the character's record short inside its subfile by damaging the
  // first byte of its signature.
  MM3DModelResourceFile probe;
  ASSERT_TRUE(probe.Open(TempDirectory(), mName.c_str(), false, false));
  const int32_t offset = probe.GetSubfileOffset(0);
  probe.Close(false);
  std::vector<uint8_t> bytes = ReadBytes(mName);
  bytes[static_cast<size_t>(offset)] = 'x';
  WriteBytes(mName, bytes);
  ASSERT_NE(MM3DOpenModelResourceFile(TempDirectory(), mName.c_str(), false), nullptr);
  EXPECT_TRUE(MM3DGetModel(MMMakeResourceId(kCollection, 0), nullptr).IsEmpty());
  EXPECT_FALSE(MM3DGetModel(MMMakeResourceId(kCollection, 1), nullptr).IsEmpty());
}

TEST_F(MM3DModelLoaderTest, AMissingFileGivesNoLoaderAndItsError) {
  EXPECT_EQ(MM3DOpenModelResourceFile(TempDirectory(), mName.c_str(), false), nullptr);
  EXPECT_EQ(AFGetErrorCode(), MME_MODEL_RESOURCE_FILE_BAD_OPEN_FOR_READ);
}

}  // namespace
