#include "mm3d/drivers/win/WinMM3DGLTextureCollection.h"

#include "tests/mm3d/drivers/DriverFixture.h"
#include "tests/mm3d/drivers/GLCallCounter.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr MM3DDriverTextureFormat kPlain{kMM3DTextureRgb565, kMM3DFilterNearest, 0};
constexpr MM3DDriverTextureFormat kMipmapped{kMM3DTextureArgb4444, kMM3DFilterBilinearMipLinear, 0};

class WinMM3DGLTextureCollectionTest : public GLDriverFixture {
 protected:
  MM3DDriverTextureCollection& Textures() { return mDriver->GetTextureCollection(); }
  WinMM3DGLTextureCollection& GLTextures() {
    return static_cast<WinMM3DGLTextureCollection&>(Textures());
  }
};

MM3DDriverTextureImage Image(int32_t width, int32_t height) {
  return MM3DDriverTextureImage(
      width, height,
      std::make_unique<uint8_t[]>(static_cast<size_t>(width) * static_cast<size_t>(height) * 4), 1);
}

TEST_F(WinMM3DGLTextureCollectionTest, SlotsFillFromZeroAndFreeWithTheLastHandle) {
  std::vector<MM3DDriverTextureHandle> handles;
  for (int i = 0; i < 3; ++i) handles.push_back(Textures().Load(kPlain, Image(8, 8)));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(handles[static_cast<size_t>(i)].GetSlot(), i);
    EXPECT_TRUE(GLTextures().IsLoaded(i));
  }
  auto& deleted = CountCalls<30>(GL().mDispatch.glDeleteTextures);
  handles[1].Release();
  EXPECT_FALSE(GLTextures().IsLoaded(1));
  EXPECT_EQ(deleted.sCount, 1);
  EXPECT_EQ(Textures().Load(kPlain, Image(8, 8)).GetSlot(), 1);
}

TEST_F(WinMM3DGLTextureCollectionTest, MipmappedTextureGetsLevelsDownToOnePixel) {
  auto& uploads = CountCalls<31>(GL().mDispatch.glTexImage2D);
  MM3DDriverTextureHandle plain = Textures().Load(kPlain, Image(256, 64));
  EXPECT_EQ(uploads.sCount, 1);
  uploads.sCount = 0;
  MM3DDriverTextureHandle mipmapped = Textures().Load(kMipmapped, Image(256, 64));
  EXPECT_EQ(uploads.sCount, 9);
  const auto& [target, level, format, width, height, border, layout, type, pixels] = uploads.sLast;
  EXPECT_EQ(level, 8);
  EXPECT_EQ(width, 1);
  EXPECT_EQ(height, 1);
  EXPECT_EQ(format, GL_RGBA4);
}

// Levels sample the box-filtered image: a texture of a black and a white
// half seen from far shows their average.
TEST_F(WinMM3DGLTextureCollectionTest, SmallestLevelAveragesTheImage) {
  MM3DRenderStateBlock block = OpaqueBlock();
  block.mStages[0].mTexture = Textures().Load(
      MM3DDriverTextureFormat{kMM3DTextureArgb8888, kMM3DFilterNearestMipNearest, 0},
      SolidImage({0, 0, 0}, {255, 255, 255}));
  BeginFrame();
  Draw(Quad{.mLeft = -1, .mBottom = -1, .mRight = -1 + 2.0f / kSize, .mTop = -1 + 2.0f / kSize},
       block);
  EndFrame();
  EXPECT_TRUE(Near(PixelAt(0, kSize - 1), {127, 127, 127})) << PixelAt(0, kSize - 1);
  block.Reset();
}

TEST_F(WinMM3DGLTextureCollectionTest, LoadingKeepsTheSelectedSlotBound) {
  std::vector<MM3DDriverTextureHandle> handles;
  for (int i = 0; i < 4; ++i) handles.push_back(Textures().Load(kPlain, Image(8, 8)));
  mDriver->SetTexture(handles[3]);
  auto& binds = CountCalls<32>(GL().mDispatch.glBindTexture);
  MM3DDriverTextureHandle loaded = Textures().Load(kPlain, Image(8, 8));
  EXPECT_EQ(loaded.GetSlot(), 4);
  EXPECT_EQ(GLTextures().GetSelectedSlot(), 3);
  const GLuint lastBound = std::get<1>(binds.sLast);
  mDriver->SetTexture(loaded);
  const GLuint loadedName = std::get<1>(binds.sLast);
  EXPECT_NE(lastBound, loadedName);
  mDriver->SetTexture(handles[3]);
  EXPECT_EQ(std::get<1>(binds.sLast), lastBound);
  mDriver->SetTexture(MM3DDriverTextureHandle());
}

TEST_F(WinMM3DGLTextureCollectionTest, LoadingWithoutSelectionUnbinds) {
  auto& binds = CountCalls<33>(GL().mDispatch.glBindTexture);
  MM3DDriverTextureHandle loaded = Textures().Load(kPlain, Image(8, 8));
  EXPECT_EQ(std::get<1>(binds.sLast), 0u);
  EXPECT_EQ(GLTextures().GetSelectedSlot(), -1);
}

TEST_F(WinMM3DGLTextureCollectionTest, PalettedImageIsExpanded) {
  const MM3DPaletteEntry palette[2] = {{0, 0, 0, 255}, {0, 180, 0, 255}};
  auto pixels = std::make_unique<uint8_t[]>(64);
  std::fill_n(pixels.get(), 64, 1);
  MM3DDriverTextureImage image(8, 8, std::move(pixels), 2, palette, 1);
  MM3DRenderStateBlock block = OpaqueBlock();
  block.mStages[0].mTexture = Textures().Load(kPlain, image);
  BeginFrame();
  Draw(Quad{}, block);
  EXPECT_TRUE(Near(Centre(), {0, 180, 0}, 4));
  block.Reset();
}

}  // namespace
