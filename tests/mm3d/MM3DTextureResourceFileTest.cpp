#include "mm3d/MM3DTextureResourceFile.h"

#include "tests/mm3d/TextureTestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace resource_fixtures;
using namespace texture_fixtures;

class MM3DTextureResourceFileTest : public ::testing::Test {
 protected:
  void SetUp() override { AFClearError(); }
  void TearDown() override {
    for (const std::string& name : mNames) Remove(name);
    AFClearError();
  }
  std::string Name(const char* what) {
    mNames.push_back(UniqueName(what));
    return mNames.back();
  }

  std::vector<std::string> mNames;
};

std::vector<Texture> SampleTextures() {
  return {MakeTexture("Bricks", 32, 32, true, 0, true, 10),
          MakeTexture("grass", 8, 8, false, 16, false, 20),
          MakeTexture("Sky", 16, 8, false, 256, true, 30)};
}

TEST_F(MM3DTextureResourceFileTest, WriterMatchesTheLayoutByteForByteInEitherOrder) {
  const std::vector<Texture> textures = SampleTextures();
  for (bool big : {false, true}) {
    const std::string name = Name(big ? "written-big" : "written");
    WriteTextures(name, 4, textures, big ? kUUSwappedByteOrder : kUUNativeByteOrder);
    const std::vector<uint8_t> written = ReadBytes(name);
    const std::vector<uint8_t> expected = TextureFileBytes(big, 4, textures);
    ASSERT_EQ(written.size(), expected.size()) << big;
    // All but the checksum, which the hand-made bytes leave 0.
    EXPECT_EQ(std::vector<uint8_t>(written.begin(), written.begin() + 20),
              std::vector<uint8_t>(expected.begin(), expected.begin() + 20))
        << big;
    EXPECT_EQ(std::vector<uint8_t>(written.begin() + 24, written.end()),
              std::vector<uint8_t>(expected.begin() + 24, expected.end()))
        << big;
    MM3DTextureResourceFile file;
    EXPECT_TRUE(file.Open(TempDirectory(), name.c_str(), true, true)) << big;
  }
}

TEST_F(MM3DTextureResourceFileTest, BothByteOrdersReadTheSameTextures) {
  const std::vector<Texture> textures = SampleTextures();
  for (bool big : {false, true}) {
    const std::string name = Name(big ? "big" : "little");
    WriteBytes(name, TextureFileBytes(big, 4, textures));
    MM3DTextureResourceFile file;
    ASSERT_TRUE(file.Open(TempDirectory(), name.c_str(), true, false)) << big;
    ASSERT_EQ(file.GetSubfileCount(), 3);
    // Flags 0x4B: true colour with alpha, 32 x 32, 4096 bytes of texels.
    EXPECT_TRUE(file.IsTrueColor(0));
    EXPECT_TRUE(file.HasAlpha(0));
    EXPECT_EQ(file.GetSize(0), (UUPoint{32, 32}));
    EXPECT_EQ(file.GetPaletteCount(0), 0);
    EXPECT_EQ(file.GetSubfileSize(0), 4096);
    // Flags 0x00, palette byte 15: 8 x 8 with 16 entries, 64 + 64 bytes.
    EXPECT_FALSE(file.IsTrueColor(1));
    EXPECT_FALSE(file.HasAlpha(1));
    EXPECT_EQ(file.GetSize(1), (UUPoint{8, 8}));
    EXPECT_EQ(file.GetPaletteCount(1), 16);
    EXPECT_EQ(file.GetSubfileSize(1), 128);
    EXPECT_EQ(file.GetTexelDataSize(1), 128);
    EXPECT_EQ(file.GetSize(2), (UUPoint{16, 8}));
    EXPECT_EQ(file.GetPaletteCount(2), 256);
    EXPECT_STREQ(file.GetSubfileName(2), "Sky");
    EXPECT_EQ(file.GetSize(3), (UUPoint{}));  // outside the table
  }
}

TEST_F(MM3DTextureResourceFileTest, PaletteByteZeroMeansNoneOnlyForTrueColour) {
  std::vector<Texture> textures = {MakeTexture("a", 8, 8, true), MakeTexture("b", 8, 8, false, 1)};
  const std::string name = Name("zero");
  WriteBytes(name, TextureFileBytes(false, 1, textures));
  MM3DTextureResourceFile file;
  ASSERT_TRUE(file.Open(TempDirectory(), name.c_str(), true, false));
  EXPECT_EQ(file.GetPaletteCount(0), 0);
  EXPECT_EQ(file.GetPaletteCount(1), 1);
}

TEST_F(MM3DTextureResourceFileTest, AnotherExtensionVersionFailsToOpen) {
  const std::string name = Name("version");
  WriteBytes(name, TextureFileBytes(false, 1, SampleTextures(), 2));
  MM3DTextureResourceFile file;
  EXPECT_FALSE(file.Open(TempDirectory(), name.c_str(), true, false));
  EXPECT_EQ(AFGetErrorCode(), MME_TEXTURE_RESOURCE_FILE_BAD_VERSION_NUMBER);
  EXPECT_EQ(static_cast<int32_t>(MME_TEXTURE_RESOURCE_FILE_BAD_VERSION_NUMBER), 39);
}

TEST_F(MM3DTextureResourceFileTest, ATruncatedExtensionIsAReadError) {
  const std::string name = Name("short");
  std::vector<uint8_t> bytes = TextureFileBytes(false, 1, {MakeTexture("a", 8, 8, true)});
  bytes.resize(42 + 40 + 3);  // the version and the flags byte only
  WriteBytes(name, bytes);
  MM3DTextureResourceFile file;
  EXPECT_FALSE(file.Open(TempDirectory(), name.c_str(), true, false));
  EXPECT_EQ(AFGetErrorCode(), MME_TEXTURE_RESOURCE_FILE_BAD_READ);
}

TEST_F(MM3DTextureResourceFileTest, SettersRoundSidesDownAndNeedAnOpenFile) {
  const std::string name = Name("setters");
  MM3DTextureResourceFile file;
  EXPECT_FALSE(file.SetSize(0, 64, 64));
  EXPECT_EQ(AFGetErrorCode(), AFE_FAILURE_WITHOUT_ERROR);
  AFClearError();
  ASSERT_TRUE(file.Create(TempDirectory(), name.c_str(), UUFileOptions(), 1, 1));
  ASSERT_TRUE(file.SetSize(0, 100, 64));
  EXPECT_EQ(file.GetSize(0), (UUPoint{64, 64}));
  ASSERT_TRUE(file.SetFormat(0, false, 4));
  EXPECT_EQ(file.GetPaletteCount(0), 4);
  ASSERT_TRUE(file.SetFormat(0, true, 4));
  EXPECT_EQ(file.GetPaletteCount(0), 0);
  EXPECT_FALSE(file.SetAlpha(1, true));
  EXPECT_TRUE(file.Close(false));
}

}  // namespace
