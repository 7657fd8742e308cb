#include "app/shell/VPLPictureImport.h"

#include "app/shell/VPLPictureFiles.h"
#include "foundation/uu/UUFileSystem.h"
#include "tests/app/shell/ShellTestSupport.h"
#include "tests/foundation/uu/ScratchDirectory.h"
#include "tests/support/BmpFixtures.h"
#include "tests/support/DamagedBmpFixtures.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

using bmp_fixtures::BmpFixture;
using shell_test::SurfacePixel;

const UURect kTarget(0, 0, 256, 256);
constexpr uint32_t kOpaqueMask = 0x00FFFFFF;

// A 32-bit BMP whose 2 x 2 blocks average exactly to a value of their own:
// each block is its base value, plus one on one diagonal and minus one on
// the other.
BmpFixture BlockFile(const std::string& name, int width, int height) {
  std::vector<uint8_t> rows;
  for (int y = height - 1; y >= 0; --y) {
    for (int x = 0; x < width; ++x) {
      const int base = 2 + ((x / 2 + y / 2) % 120) * 2;
      const int value = base + (((x + y) & 1) != 0 ? 1 : -1);
      for (int c = 0; c < 3; ++c) rows.push_back(static_cast<uint8_t>(value + c));
      rows.push_back(0);
    }
  }
  bmp_fixtures::InfoFields f{.mWidth = width, .mHeight = height, .mBits = 32};
  return {name, bmp_fixtures::BmpFile(bmp_fixtures::InfoHeader(f), {}, rows)};
}

int32_t Le(const std::vector<uint8_t>& bytes, size_t offset, int size) {
  uint32_t value = 0;
  for (int i = size - 1; i >= 0; --i) value = value << 8 | bytes[offset + static_cast<size_t>(i)];
  return static_cast<int32_t>(value);
}

class VPLPictureImportTest : public ::testing::Test {
 protected:
  void Write(const BmpFixture& fixture) {
    std::ofstream(mScratch.HostPath(fixture.mName), std::ios::binary)
        .write(reinterpret_cast<const char*>(fixture.mBytes.data()),
               static_cast<std::streamsize>(fixture.mBytes.size()));
  }
  UUOwned<MMSurface> Load(const std::string& name, const UURect& target = kTarget) {
    return VPLLoadPictureToFit(mScratch.Directory(), name.c_str(), target);
  }
  void SaveJpeg(const char* name, int32_t width, int32_t height) {
    UUOwned<MMSurface> surface = shell_test::PatternSurface(width, height, 1);
    ASSERT_TRUE(VPLSavePicture(kVPLPictureJpeg, surface.Get(), mScratch.Directory(), name));
  }

  shell_test::ShellScripts mScripts;
  ScratchDirectory mScratch;
};

TEST_F(VPLPictureImportTest, PicturesShrinkToFitWithTheirProportionsAndNeverGrow) {
  struct Case {
    int width;
    int height;
    UURect expected;
  };
  for (const Case& c :
       {Case{100, 50, UURect(0, 0, 100, 50)}, Case{512, 256, UURect(0, 0, 256, 128)},
        Case{300, 600, UURect(0, 0, 128, 256)}}) {
    const std::string name = "block" + std::to_string(c.width) + ".bmp";
    Write(BlockFile(name, c.width, c.height));
    UUOwned<MMSurface> surface = Load(name);
    ASSERT_TRUE(surface) << name;
    EXPECT_EQ(surface->GetRect(), c.expected) << name;
  }
}

TEST_F(VPLPictureImportTest, HalvedPictureIsMadeOfExactTwoByTwoAverages) {
  Write(BlockFile("half.bmp", 512, 256));
  UUOwned<MMSurface> surface = Load("half.bmp");
  ASSERT_TRUE(surface);
  int mismatches = 0;
  for (int y = 0; y < 128; ++y) {
    for (int x = 0; x < 256; ++x) {
      const uint32_t base = static_cast<uint32_t>(2 + ((x + y) % 120) * 2);
      const uint32_t expected = base | (base + 1) << 8 | (base + 2) << 16;
      mismatches += (SurfacePixel(*surface, x, y) & kOpaqueMask) != expected ? 1 : 0;
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST_F(VPLPictureImportTest, EveryKindOfBmpIsReadAtItsOwnSize) {
  for (const BmpFixture& fixture : bmp_fixtures::AllBmpFixtures()) {
    Write(fixture);
    UUOwned<MMSurface> surface = Load(fixture.mName);
    ASSERT_TRUE(surface) << fixture.mName;
    // Core headers hold 16-bit sides; the others are read from their
    // first 40 bytes, top-down files storing a negative height.
    const std::vector<uint8_t>& b = fixture.mBytes;
    const bool core = b[14] == 12;
    const int width = Le(b, 18, core ? 2 : 4);
    const int height = std::abs(Le(b, core ? 20 : 22, core ? 2 : 4));
    EXPECT_EQ(surface->GetRect(), UURect(0, 0, width, height)) << fixture.mName;
  }
}

TEST_F(VPLPictureImportTest, TopDownRowsKeepTheirTopRowOnTop) {
  const BmpFixture topDown = bmp_fixtures::DirectFile("topdown.bmp", 24, 5, -3);
  const BmpFixture bottomUp = bmp_fixtures::DirectFile("bottomup.bmp", 24, 5, 3);
  Write(topDown);
  Write(bottomUp);
  UUOwned<MMSurface> a = Load(topDown.mName);
  UUOwned<MMSurface> b = Load(bottomUp.mName);
  ASSERT_TRUE(a && b);
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 5; ++x) {
      EXPECT_EQ(SurfacePixel(*a, x, y) & kOpaqueMask, SurfacePixel(*b, x, y) & kOpaqueMask);
    }
  }
}

TEST_F(VPLPictureImportTest, EveryDamagedHeaderGivesNothing) {
  for (const BmpFixture& fixture : bmp_fixtures::DamagedBmpFixtures()) {
    Write(fixture);
    EXPECT_FALSE(Load(fixture.mName)) << fixture.mName;
  }
}

TEST_F(VPLPictureImportTest, JpegExtensionInAnyCaseTakesTheJpegDecoder) {
  SaveJpeg("upper.JPG", 64, 32);
  SaveJpeg("lower.jpg", 64, 32);
  for (const char* name : {"upper.JPG", "lower.jpg"}) {
    UUOwned<MMSurface> surface = Load(name);
    ASSERT_TRUE(surface) << name;
    EXPECT_EQ(surface->GetRect(), UURect(0, 0, 64, 32)) << name;
  }
}

TEST_F(VPLPictureImportTest, OtherNamesAndMissingFilesGiveNothing) {
  SaveJpeg("photo.png", 8, 8);
  EXPECT_FALSE(Load("photo.png"));
  EXPECT_FALSE(Load("missing.jpg"));
  EXPECT_FALSE(Load("missing.bmp"));
}

// A camera's photo is too large for the memory pool whole: it is decoded
// at the smallest scale that still covers the target.
TEST_F(VPLPictureImportTest, LargePhotoIsDecodedReducedAndStillFits) {
  SaveJpeg("camera.jpg", 2048, 1536);
  char path[kUUPathCapacity];
  ASSERT_TRUE(UUMakeFilePath(path, mScratch.Directory(), "camera.jpg"));
  UUOwned<MMBitmapWithPixels> reduced(VPLReadJpegFileToFit(path, UUPoint{128, 128}));
  ASSERT_TRUE(reduced);
  EXPECT_EQ(reduced->mRect, UURect(0, 0, 256, 192));
  UUOwned<MMSurface> surface = Load("camera.jpg", UURect(0, 0, 128, 128));
  ASSERT_TRUE(surface);
  EXPECT_EQ(surface->GetRect(), UURect(0, 0, 128, 96));
}

TEST(VPLFitPictureRectTest, CentresTheLargestRectangleOfTheSourceProportions) {
  struct Case {
    UURect source;
    UURect target;
    UURect expected;
  };
  for (const Case& c :
       {Case{UURect(0, 0, 300, 600), UURect(10, 20, 266, 276), UURect(74, 20, 202, 276)},
        Case{UURect(0, 0, 512, 256), UURect(0, 0, 256, 256), UURect(0, 64, 256, 192)},
        Case{UURect(0, 0, 400, 400), UURect(0, 0, 256, 128), UURect(64, 0, 192, 128)}}) {
    EXPECT_EQ(VPLFitPictureRect(c.source, c.target), c.expected);
  }
}

}  // namespace
