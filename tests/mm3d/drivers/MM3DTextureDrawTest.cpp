// Textures from a texture file, through the driver-texture map, drawn by
// the OpenGL driver.
#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DTextureLoader.h"
#include "tests/mm3d/TextureTestSupport.h"
#include "tests/mm3d/drivers/DriverFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace resource_fixtures;
using namespace texture_fixtures;

// Where the deletions of texture names happened.
HGLRC (*gCurrentContext)() = nullptr;
void (*gRealDeleteTextures)(GLsizei, const GLuint*) = nullptr;
std::vector<HGLRC> gDeletedIn;

void RecordDeleteTextures(GLsizei n, const GLuint* names) {
  gDeletedIn.push_back(gCurrentContext());
  gRealDeleteTextures(n, names);
}

// A second offscreen OpenGL driver, with a context of its own.
struct SecondDriver {
  std::unique_ptr<WinMMOffscreenSurface> mSurface{WinMMCreateOffscreenSurface(
      32, UURect(0, 0, DriverFixture::kSize, DriverFixture::kSize), AFPalette())};
  UURefCount<MM3DDriver> mDriver = WinMM3DGLCreateBitmapDriver(
      kPrimaryDriver, OffscreenMode(DriverFixture::kSize, DriverFixture::kSize), *mSurface);
};

class MM3DTextureDrawTest : public GLDriverFixture {
 protected:
  void SetUp() override {
    GLDriverFixture::SetUp();
    AFClearError();
    // Left half red, right half blue, paletted; an opaque true-colour green.
    Texture halves = MakeTexture("Halves", 8, 8, false, 2);
    halves.mPalette = {255, 0, 0, 255, 0, 0, 255, 255};
    for (int32_t p = 0; p < 64; ++p) halves.mTexels[static_cast<size_t>(p)] = p % 8 < 4 ? 0 : 1;
    Texture green = MakeTexture("Green", 8, 8, true);
    for (size_t b = 0; b < green.mTexels.size(); ++b) {
      green.mTexels[b] = b % 4 == 1 || b % 4 == 3 ? 255 : 0;
    }
    mName = UniqueName("textures");
    WriteTextures(mName, 6, {halves, green});
    mLoader = MM3DOpenTextureResourceFile(TempDirectory(), mName.c_str(), false);
    ASSERT_NE(mLoader, nullptr);
    mMap.SetDriver(mDriver.Get(), &mStrategy);
  }
  void TearDown() override {
    mMap.SetDriver(nullptr, nullptr);
    MM3DDestroyTextureCollections();
    Remove(mName);
    GLDriverFixture::TearDown();
  }

  // Draws the whole square with the texture.
  void DrawTextured(const MM3DTextureHandle& texture) {
    MM3DRenderStateBlock block = OpaqueBlock();
    block.mStages[0].mTexture = texture.GetDriverTexture();
    BeginFrame();
    Draw(Quad{}, block);
    EndFrame();
    block.Reset();
  }

  std::string mName;
  MM3DTextureLoader* mLoader = nullptr;
  MM3DStandardDriverTextureStrategy mStrategy;
  MM3DDriverTextureMap mMap;
};

TEST_F(MM3DTextureDrawTest, ATextureFoundByNameIsDrawnOnAQuad) {
  MM3DTextureHandle texture = mMap.GetHandle(MM3DFindTextureByName("halves"), {1, 0, 0});
  ASSERT_FALSE(texture.IsEmpty());
  DrawTextured(texture);
  EXPECT_TRUE(Near(PixelAt(4, kSize / 2), {255, 0, 0}, 8)) << PixelAt(4, kSize / 2);
  EXPECT_TRUE(Near(PixelAt(kSize - 4, kSize / 2), {0, 0, 255}, 8)) << PixelAt(kSize - 4, kSize / 2);
  MM3DTextureHandle green = mMap.GetHandle(MM3DFindTextureByName("GREEN"), {1, 0, 0});
  DrawTextured(green);
  EXPECT_TRUE(Near(Centre(), {0, 255, 0}, 8));
}

TEST_F(MM3DTextureDrawTest, SwitchingDriversDeletesTextureNamesInTheOutgoingContext) {
  SecondDriver extra;
  UURefCount<MM3DDriver>& other = extra.mDriver;
  ASSERT_FALSE(other.IsEmpty());
  auto& otherGL = static_cast<WinMM3DGLBitmapDriverAdapter&>(*other);

  ASSERT_TRUE(mDriver->MakeCurrent());
  const HGLRC first = GL().mDispatch.wglGetCurrentContext();
  MM3DTextureHandle texture = mMap.GetHandle(MM3DFindTextureByName("Green"), {1, 1, 0});
  ASSERT_FALSE(texture.GetDriverTexture().IsEmpty());
  gCurrentContext = GL().mDispatch.wglGetCurrentContext;
  gRealDeleteTextures = GL().mDispatch.glDeleteTextures;
  GL().mDispatch.glDeleteTextures = &RecordDeleteTextures;
  gDeletedIn.clear();

  // The stage releases while the outgoing context is current, then moves on.
  mMap.SetDriver(other.Get(), &mStrategy);
  EXPECT_EQ(gDeletedIn, (std::vector<HGLRC>{first}));
  ASSERT_TRUE(other->MakeCurrent());
  EXPECT_EQ(texture.GetDriverTexture().GetCollection(), &other->GetTextureCollection());

  // And back: the second driver's names go in its own context.
  GL().mDispatch.glDeleteTextures = gRealDeleteTextures;
  gRealDeleteTextures = otherGL.mDispatch.glDeleteTextures;
  otherGL.mDispatch.glDeleteTextures = &RecordDeleteTextures;
  gCurrentContext = otherGL.mDispatch.wglGetCurrentContext;
  const HGLRC second = otherGL.mDispatch.wglGetCurrentContext();
  EXPECT_NE(second, first);
  gDeletedIn.clear();
  mMap.SetDriver(mDriver.Get(), &mStrategy);
  EXPECT_EQ(gDeletedIn, (std::vector<HGLRC>{second}));
  ASSERT_TRUE(mDriver->MakeCurrent());
  EXPECT_EQ(texture.GetDriverTexture().GetCollection(), &mDriver->GetTextureCollection());
  gDeletedIn.clear();
  otherGL.mDispatch.glDeleteTextures = gRealDeleteTextures;
  other->MakeCurrent();
  other.Reset();
  mDriver->MakeCurrent();
}

// The stage may already have the incoming driver's context current when it
// switches: the map itself must delete the names in the outgoing context.
TEST_F(MM3DTextureDrawTest, TheMapDeletesTextureNamesInTheOutgoingContextWhateverIsCurrent) {
  SecondDriver extra;
  UURefCount<MM3DDriver>& other = extra.mDriver;
  ASSERT_FALSE(other.IsEmpty());
  auto& otherGL = static_cast<WinMM3DGLBitmapDriverAdapter&>(*other);
  ASSERT_TRUE(mDriver->MakeCurrent());
  const HGLRC first = GL().mDispatch.wglGetCurrentContext();
  ASSERT_TRUE(other->MakeCurrent());
  const HGLRC second = otherGL.mDispatch.wglGetCurrentContext();
  ASSERT_NE(first, second);
  ASSERT_EQ(otherGL.mDispatch.glDeleteTextures, GL().mDispatch.glDeleteTextures);
  gCurrentContext = GL().mDispatch.wglGetCurrentContext;
  gRealDeleteTextures = GL().mDispatch.glDeleteTextures;
  GL().mDispatch.glDeleteTextures = &RecordDeleteTextures;
  otherGL.mDispatch.glDeleteTextures = &RecordDeleteTextures;
  gDeletedIn.clear();

  ASSERT_TRUE(mDriver->MakeCurrent());
  MM3DTextureHandle texture = mMap.GetHandle(MM3DFindTextureByName("Green"), {1, 1, 0});
  ASSERT_FALSE(texture.GetDriverTexture().IsEmpty());
  ASSERT_TRUE(other->MakeCurrent());
  mMap.SetDriver(other.Get(), &mStrategy);
  EXPECT_EQ(gDeletedIn, (std::vector<HGLRC>{first}));
  EXPECT_EQ(gCurrentContext(), second);
  ASSERT_FALSE(texture.GetDriverTexture().IsEmpty());

  gDeletedIn.clear();
  ASSERT_TRUE(mDriver->MakeCurrent());
  mMap.SetDriver(mDriver.Get(), &mStrategy);
  EXPECT_EQ(gDeletedIn, (std::vector<HGLRC>{second}));
  EXPECT_EQ(gCurrentContext(), first);

  GL().mDispatch.glDeleteTextures = gRealDeleteTextures;
  otherGL.mDispatch.glDeleteTextures = gRealDeleteTextures;
  other->MakeCurrent();
  other.Reset();
  mDriver->MakeCurrent();
}

}  // namespace
