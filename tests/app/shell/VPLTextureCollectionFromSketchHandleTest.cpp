#include "app/shell/VPLTextureCollectionFromSketchHandle.h"

#include "tests/app/shell/ShellTestSupport.h"
#include "tests/app/shell/SketchTestSupport.h"
#include "tests/foundation/uu/ScratchDirectory.h"

#include <gtest/gtest.h>

namespace {

constexpr int32_t kSide = kVPLSketchThumbnailSize;
const UURect kCell(0, 0, kSide, kSide);

class VPLTextureCollectionFromSketchHandleTest : public ::testing::Test {
 protected:
  VPLTextureCollectionFromSketchHandleTest() {
    sketch_test::WriteHostFile(mScratch.HostPath("Sketch 1"), {});
    mSketch = std::make_unique<VPLSketch>(mScratch.Directory(), "Sketch 1");
    mSketch->Write(nullptr, *sketch_test::PatternBitmap(kSide, kSide, 4));
  }
  UUOwned<MMSurface> NewSurface() {
    return UUOwned<MMSurface>(WinMMCreateOffscreenSurface(32, kCell, AFPalette()));
  }

  ScratchDirectory mScratch;
  std::unique_ptr<VPLSketch> mSketch;
  VPLTextureCollectionFromSketchHandle mCollection;
};

TEST_F(VPLTextureCollectionFromSketchHandleTest, EachRefreshSwitchesToThePartnerId) {
  const MMResourceId first = mCollection.AddEntry(kCell, *mSketch);
  EXPECT_EQ(first, 4 << 16 | 1);
  const MMResourceId second = mCollection.SetEntry(first, kCell, *mSketch);
  EXPECT_EQ(second, 4 << 16 | 0);
  EXPECT_EQ(mCollection.SetEntry(second, kCell, *mSketch), 4 << 16 | 1);
}

TEST_F(VPLTextureCollectionFromSketchHandleTest, ThumbnailIsReadFromTheFile) {
  const MMResourceId id = mCollection.AddEntry(kCell, *mSketch);
  UUOwned<MMSurface> surface = NewSurface();
  ASSERT_TRUE(mCollection.DrawEntry(MMItemOf(id), surface.Get()));
  EXPECT_EQ(shell_test::SurfacePixel(*surface, 3, 2), 3u + 2u * 256u + (4u << 24));
}

TEST_F(VPLTextureCollectionFromSketchHandleTest, RemovedSketchDrawsNothing) {
  const MMResourceId id = mCollection.AddEntry(kCell, *mSketch);
  mSketch.reset();
  std::remove(mScratch.HostPath("Sketch 1").c_str());
  UUOwned<MMSurface> surface = NewSurface();
  EXPECT_FALSE(mCollection.DrawEntry(MMItemOf(id), surface.Get()));
  EXPECT_FALSE(mCollection.DrawEntry(7, surface.Get()));
}

}  // namespace
