#include "app/shell/VPLTextureCollectionFromFile.h"

#include "app/shell/VPLPictureFiles.h"
#include "app/shell/VPLPictureImport.h"
#include "tests/app/shell/ShellTestSupport.h"
#include "tests/foundation/uu/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

constexpr int32_t kSide = VPLTextureCollectionFromFile::kTextureSide;
constexpr MMResourceId kFirst = 1 << 16 | 0;
constexpr MMResourceId kSecond = 1 << 16 | 1;

class VPLTextureCollectionFromFileTest : public ::testing::Test {
 protected:
  void SavePicture(int32_t type, const char* name, int32_t width, int32_t height) {
    UUOwned<MMSurface> picture = shell_test::PatternSurface(width, height, 5);
    ASSERT_TRUE(VPLSavePicture(type, picture.Get(), mScratch.Directory(), name));
  }
  // The entry drawn as the renderer draws it, on a surface of its size.
  UUOwned<MMSurface> Draw(MMResourceId id) {
    UUOwned<MMSurface> surface(
        WinMMCreateOffscreenSurface(32, UURect(0, 0, kSide, kSide), AFPalette()));
    EXPECT_TRUE(mCollection.DrawEntry(MMItemOf(id), surface.Get()));
    return surface;
  }

  shell_test::ShellScripts mScripts;
  ScratchDirectory mScratch;
  VPLTextureCollectionFromFile mCollection;
};

TEST_F(VPLTextureCollectionFromFileTest, PicturesAreListedInNameOrderWhateverTheirCase) {
  SavePicture(kVPLPictureJpeg, "b.jpg", 16, 16);
  SavePicture(kVPLPictureBmp, "A.BMP", 16, 16);
  std::ofstream(mScratch.HostPath("notes.txt")) << "not a picture";
  ASSERT_TRUE(mCollection.Load(mScratch.Directory()));

  EXPECT_EQ(mCollection.GetCount(), 2);
  EXPECT_EQ(mCollection.GetTextureId(0), kFirst);
  EXPECT_EQ(mCollection.GetTextureId(1), kSecond);
  EXPECT_EQ(mCollection.GetTextureId(2), kMMNoResource);
  EXPECT_EQ(mCollection.FindTextureId("a.bmp"), kFirst);
  EXPECT_EQ(mCollection.FindTextureId("B.JPG"), kSecond);
  EXPECT_EQ(mCollection.FindTextureId("notes.txt"), kMMNoResource);

  char name[kUUPathCapacity] = {};
  ASSERT_TRUE(mCollection.GetTextureFileName(kSecond, name));
  EXPECT_STREQ(name, "b.jpg");
  EXPECT_FALSE(mCollection.GetTextureFileName(4 << 16 | 1, name));
  EXPECT_FALSE(mCollection.GetTextureFileName(kMMNoResource, name));
}

TEST_F(VPLTextureCollectionFromFileTest, PicturesAreFittedThenStretchedOverTheWholeTexture) {
  const struct {
    int32_t width;
    int32_t height;
    int32_t fittedWidth;
    int32_t fittedHeight;
  } cases[] = {{256, 64, 128, 32}, {64, 64, 64, 64}};
  for (const auto& c : cases) {
    SavePicture(kVPLPictureBmp, ("p" + std::to_string(c.width) + ".bmp").c_str(), c.width,
                c.height);
  }
  ASSERT_TRUE(mCollection.Load(mScratch.Directory()));
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.width) + " x " + std::to_string(c.height));
    const std::string name = "p" + std::to_string(c.width) + ".bmp";
    UUOwned<MMSurface> fitted =
        VPLLoadPictureToFit(mScratch.Directory(), name.c_str(), UURect(0, 0, kSide, kSide));
    ASSERT_TRUE(fitted);
    ASSERT_EQ(fitted->GetRect().GetWidth(), c.fittedWidth);
    ASSERT_EQ(fitted->GetRect().GetHeight(), c.fittedHeight);

    UUOwned<MMSurface> texture = Draw(mCollection.FindTextureId(name.c_str()));
    const int32_t xScale = kSide / c.fittedWidth;
    const int32_t yScale = kSide / c.fittedHeight;
    for (const auto& [x, y] : {std::pair{0, 0}, {5, 7}, {c.fittedWidth - 1, c.fittedHeight - 1}}) {
      EXPECT_EQ(shell_test::SurfacePixel(*texture, x * xScale, y * yScale) & 0xFFFFFF,
                shell_test::SurfacePixel(*fitted, x, y) & 0xFFFFFF);
    }
  }
}

TEST_F(VPLTextureCollectionFromFileTest, PictureThatCannotBeLoadedDrawsNothing) {
  SavePicture(kVPLPictureBmp, "gone.bmp", 16, 16);
  ASSERT_TRUE(mCollection.Load(mScratch.Directory()));
  std::remove(mScratch.HostPath("gone.bmp").c_str());
  UUOwned<MMSurface> surface(
      WinMMCreateOffscreenSurface(32, UURect(0, 0, kSide, kSide), AFPalette()));
  EXPECT_FALSE(mCollection.DrawEntry(0, surface.Get()));
  EXPECT_FALSE(mCollection.DrawEntry(1, surface.Get()));
}

}  // namespace
