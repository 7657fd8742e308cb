#include "mm3d/MM3DTextureLoader.h"

#include "mm3d/drivers/MM3DDriverTextureImage.h"
#include "tests/mm3d/TextureTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace resource_fixtures;
using namespace texture_fixtures;

class MM3DTextureLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override { AFClearError(); }
  void TearDown() override {
    MM3DDestroyTextureCollections();
    for (const std::string& name : mNames) Remove(name);
    AFClearError();
  }
  MM3DTextureLoader* Open(int16_t collection, const std::vector<Texture>& textures,
                          bool big = false) {
    mNames.push_back(UniqueName(std::to_string(collection).c_str()));
    WriteBytes(mNames.back(), TextureFileBytes(big, collection, textures));
    return MM3DOpenTextureResourceFile(TempDirectory(), mNames.back().c_str(), false);
  }

  std::vector<std::string> mNames;
};

TEST_F(MM3DTextureLoaderTest, LoadsEachTexelFormatInBothByteOrders) {
  const std::vector<Texture> textures = {MakeTexture("rgba", 16, 8, true, 0, true, 3),
                                         MakeTexture("four", 16, 16, false, 4, false, 9)};
  for (bool big : {false, true}) {
    MM3DTextureLoader* loader = Open(2, textures, big);
    ASSERT_NE(loader, nullptr) << big;
    EXPECT_EQ(loader->GetTextureCount(), 2);
    MM3DDriverTextureImage image;
    ASSERT_TRUE(MM3DLoadTextureImage(MMMakeResourceId(2, 0), image));
    EXPECT_EQ(image.GetWidth(), 16);
    EXPECT_EQ(image.GetHeight(), 8);
    EXPECT_EQ(image.GetPaletteCount(), 0);
    EXPECT_EQ(image.GetFlag(), 0);  // has alpha
    EXPECT_EQ(0, std::memcmp(image.GetPixels(), textures[0].mTexels.data(), 16 * 8 * 4));

    // 16 palette bytes, then 256 index bytes.
    ASSERT_TRUE(loader->LoadImage(1, image));
    EXPECT_EQ(image.GetPaletteCount(), 4);
    EXPECT_EQ(image.GetFlag(), 1);
    EXPECT_EQ(image.GetPalette()[1].mRed, textures[1].mPalette[4]);
    EXPECT_EQ(image.GetPalette()[3].mAlpha, textures[1].mPalette[15]);
    EXPECT_EQ(0, std::memcmp(image.GetPixels(), textures[1].mTexels.data(), 256));

    EXPECT_EQ(loader->GetBitsPerPixel(0), 32);
    EXPECT_EQ(MM3DGetTextureBitsPerPixel(MMMakeResourceId(2, 1)), 8);
    EXPECT_EQ(MM3DGetTexturePaletteCount(MMMakeResourceId(2, 1)), 4);
    EXPECT_FALSE(MM3DIsTextureOpaque(MMMakeResourceId(2, 0)));
    EXPECT_TRUE(MM3DIsTextureOpaque(MMMakeResourceId(2, 1)));
    EXPECT_EQ(MM3DGetTextureSize(MMMakeResourceId(2, 0)), (UUPoint{16, 8}));
    EXPECT_FALSE(loader->LoadImage(2, image));
    EXPECT_FALSE(image.HasPixels());
    delete loader;
  }
}

TEST_F(MM3DTextureLoaderTest, FindsNamesWithoutRegardToCaseInNumberOrder) {
  Open(9, {MakeTexture("Water", 8, 8, true), MakeTexture("Stone", 8, 8, true)});
  Open(2, {MakeTexture("Leaf", 8, 8, true), MakeTexture("stone", 8, 8, true)});
  EXPECT_EQ(MM3DFindTextureByName("STONE"), MMMakeResourceId(2, 1));
  EXPECT_EQ(MM3DFindTextureByName("water"), MMMakeResourceId(9, 0));
  EXPECT_EQ(MM3DFindTextureByName("Sand"), -1);
  EXPECT_EQ(MM3DFindTextureByName(""), -1);
  char buffer[kMM3DTextureNameCapacity];
  EXPECT_STREQ(MM3DGetTextureName(buffer, MMMakeResourceId(9, 1)), "Stone");
  EXPECT_STREQ(MM3DGetTextureName(buffer, MMMakeResourceId(5, 0)), "");
  EXPECT_EQ(MM3DMakeTextureId(MM3DGetTextureCollection(MMMakeResourceId(9, 0)), 1),
            MMMakeResourceId(9, 1));
  EXPECT_EQ(MM3DMakeTextureId(nullptr, 1), -1);
}

TEST_F(MM3DTextureLoaderTest, AnUnregisteredIdAnswersEmptyResults) {
  const MMResourceId id = MMMakeResourceId(7, 0);
  MM3DDriverTextureImage image;
  EXPECT_FALSE(MM3DLoadTextureImage(id, image));
  EXPECT_EQ(MM3DGetTextureSize(id), (UUPoint{}));
  EXPECT_EQ(MM3DGetTextureBitsPerPixel(id), 0);
  EXPECT_FALSE(MM3DIsTextureOpaque(id));
}

TEST_F(MM3DTextureLoaderTest, AMissingFileYieldsNoLoaderAndItsKindsError) {
  EXPECT_EQ(MM3DOpenTextureResourceFile(TempDirectory(), "vpl-no-such-textures", false), nullptr);
  EXPECT_EQ(AFGetErrorCode(), MME_TEXTURE_RESOURCE_FILE_BAD_OPEN_FOR_READ);
}

TEST_F(MM3DTextureLoaderTest, ASubfileShorterThanItsTexelsLoadsNothing) {
  // The flags claim 1024 x 1024 true-colour texels; the subfile holds 256.
  Texture texture = MakeTexture("big", 8, 8, true);
  std::vector<uint8_t> bytes = TextureFileBytes(false, 3, {texture});
  bytes[42 + 40 + 2] = 0xFD;  // true colour, both sides 1 << (7 + 3)
  mNames.push_back(UniqueName("short"));
  WriteBytes(mNames.back(), bytes);
  MM3DTextureLoader* loader =
      MM3DOpenTextureResourceFile(TempDirectory(), mNames.back().c_str(), false);
  ASSERT_NE(loader, nullptr);
  EXPECT_EQ(loader->GetSize(0), (UUPoint{1024, 1024}));
  MM3DDriverTextureImage image;
  EXPECT_FALSE(loader->LoadImage(0, image));
  EXPECT_FALSE(image.HasPixels());
}

TEST_F(MM3DTextureLoaderTest, SizeLimitDependsOnTheTexelFormat) {
  MM3DTextureLoader* loader =
      Open(1, {MakeTexture("a", 64, 8, true), MakeTexture("b", 128, 8, true),
               MakeTexture("c", 256, 8, false, 16), MakeTexture("d", 256, 8, false, 17),
               MakeTexture("e", 128, 8, false, 17)});
  ASSERT_NE(loader, nullptr);
  const bool expected[] = {true, false, true, false, true};
  for (int16_t i = 0; i < 5; ++i) EXPECT_EQ(loader->FitsSizeLimit(i), expected[i]) << i;
}

TEST_F(MM3DTextureLoaderTest, ANameFillingAll32BytesEndsWithinThem) {
  const std::string full(32, 'x');
  Texture texture = MakeTexture("", 8, 8, true);
  std::vector<uint8_t> bytes = TextureFileBytes(false, 4, {texture});
  std::copy(full.begin(), full.end(), bytes.begin() + 42 + 40 - 36);
  mNames.push_back(UniqueName("names"));
  WriteBytes(mNames.back(), bytes);
  MM3DTextureLoader* loader =
      MM3DOpenTextureResourceFile(TempDirectory(), mNames.back().c_str(), false);
  ASSERT_NE(loader, nullptr);
  char buffer[kMM3DTextureNameCapacity];
  EXPECT_EQ(std::string(loader->GetName(buffer, 0)), std::string(31, 'x'));
  EXPECT_EQ(MM3DFindTextureByName(std::string(31, 'X').c_str()), MMMakeResourceId(4, 0));
}

}  // namespace
