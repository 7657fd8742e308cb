#include "mm3d/MM3DDriverTextureMap.h"

#include "tests/mm3d/FakeTextureCollection.h"
#include "tests/mm3d/drivers/RecordingDriver.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

class MM3DDriverTextureMapTest : public ::testing::Test {
 protected:
  void SetUp() override {
    mOpaque = mCollection.Add({10, 20, 30});
    mAlpha = mCollection.Add({40, 50, 60, false});
    mMap.SetDriver(&mDriver, &mStrategy);
  }
  void TearDown() override { mMap.SetDriver(nullptr, nullptr); }
  int32_t References(int32_t slot) { return mDriver.mTextures.GetReferenceCount(slot); }

  FakeTextureCollection mCollection{3};
  MMResourceId mOpaque = -1;
  MMResourceId mAlpha = -1;
  RecordingDriver mDriver{MM3DDeviceMode(32, 32, 2, 0, 1)};
  MM3DStandardDriverTextureStrategy mStrategy;
  MM3DDriverTextureMap mMap;
};

TEST_F(MM3DDriverTextureMapTest, TheNoTextureIdGivesAnEmptyHandle) {
  MM3DTextureHandle handle = mMap.GetHandle(-1, {1, 1, 1});
  EXPECT_TRUE(handle.IsEmpty());
  EXPECT_EQ(mMap.GetEntryCount(), 0);
}

TEST_F(MM3DDriverTextureMapTest, RequestsDifferingOnlyInMipmapsShareTheFirstEntry) {
  MM3DTextureHandle first = mMap.GetHandle(mOpaque, {1, 1, 0});
  MM3DTextureHandle second = mMap.GetHandle(mOpaque, {1, 1, 1});
  EXPECT_EQ(mMap.GetEntryCount(), 1);
  EXPECT_EQ(second.GetKey().mMipmaps, 0);
  EXPECT_EQ(second.GetTextureId(), mOpaque);
  EXPECT_EQ(mCollection.mLoads, 0);  // nothing is loaded before it is drawn
  EXPECT_TRUE(first.GetDriverTexture().SameSlot(second.GetDriverTexture()));
  EXPECT_EQ(mCollection.mLoads, 1);
  first.Release();
  EXPECT_EQ(mMap.GetEntryCount(), 1);
  second = MM3DTextureHandle();
  EXPECT_EQ(mMap.GetEntryCount(), 0);
}

TEST_F(MM3DDriverTextureMapTest, ClampOrLinearMakeSeparateDriverTextures) {
  MM3DTextureHandle clamped = mMap.GetHandle(mOpaque, {1, 1, 0});
  MM3DTextureHandle repeated = mMap.GetHandle(mOpaque, {0, 1, 0});
  MM3DTextureHandle nearest = mMap.GetHandle(mOpaque, {0, 0, 0});
  EXPECT_EQ(mMap.GetEntryCount(), 3);
  EXPECT_EQ(clamped.GetDriverTexture().GetSlot(), 0);
  EXPECT_EQ(repeated.GetDriverTexture().GetSlot(), 1);
  EXPECT_EQ(nearest.GetDriverTexture().GetSlot(), 2);
}

TEST_F(MM3DDriverTextureMapTest, CopiesCountAndTheLastReleaseFreesTheSlotAtOnce) {
  MM3DTextureHandle handle = mMap.GetHandle(mAlpha, {0, 0, 0});
  ASSERT_FALSE(handle.GetDriverTexture().IsEmpty());
  {
    MM3DTextureHandle copy(handle);
    MM3DTextureHandle assigned;
    assigned = copy;
    MM3DTextureHandle& alias = assigned;
    assigned = alias;  // self-assignment keeps the one reference
    EXPECT_EQ(mMap.GetEntryCount(), 1);
  }
  EXPECT_TRUE(mDriver.mTextures.mFreed.empty());
  handle.Release();
  EXPECT_EQ(mDriver.mTextures.mFreed, (std::vector<int32_t>{0}));
  EXPECT_EQ(mMap.GetEntryCount(), 0);
}

TEST_F(MM3DDriverTextureMapTest, ReleaseAllKeepsHandlesAndTexturesComeBackOnDemand) {
  MM3DTextureHandle handle = mMap.GetHandle(mOpaque, {1, 1, 1});
  EXPECT_FALSE(handle.GetDriverTexture().IsEmpty());
  mMap.ReleaseAll();
  EXPECT_EQ(mDriver.mTextures.mFreed, (std::vector<int32_t>{0}));
  EXPECT_EQ(mMap.GetEntryCount(), 1);
  EXPECT_FALSE(handle.GetDriverTexture().IsEmpty());
  EXPECT_EQ(mCollection.mLoads, 2);
}

TEST_F(MM3DDriverTextureMapTest, LoadAllLoadsEachTextureOnceForAllItsEntries) {
  MM3DTextureHandle a = mMap.GetHandle(mOpaque, {1, 1, 0});
  MM3DTextureHandle b = mMap.GetHandle(mOpaque, {0, 1, 0});
  MM3DTextureHandle c = mMap.GetHandle(mAlpha, {0, 1, 0});
  mMap.LoadAll();
  EXPECT_EQ(mCollection.mLoads, 2);
  EXPECT_EQ(mDriver.mTextures.mLoaded.size(), 3u);
  for (int32_t slot = 0; slot < 3; ++slot) EXPECT_EQ(References(slot), 1);
  mMap.LoadAll();  // every entry has its texture already
  EXPECT_EQ(mCollection.mLoads, 2);
}

TEST_F(MM3DDriverTextureMapTest, ATextureThatCannotLoadIsTriedAgainOnTheNextRequest) {
  const MMResourceId broken = mCollection.Add({0, 0, 0, true, false});
  MM3DTextureHandle handle = mMap.GetHandle(broken, {0, 0, 0});
  EXPECT_TRUE(handle.GetDriverTexture().IsEmpty());
  EXPECT_TRUE(handle.GetDriverTexture().IsEmpty());
  EXPECT_EQ(mCollection.mLoads, 2);
  EXPECT_TRUE(mDriver.mTextures.mLoaded.empty());
}

TEST_F(MM3DDriverTextureMapTest, ADriverChangeReleasesTheOutgoingDriversTextures) {
  MM3DTextureHandle handle = mMap.GetHandle(mOpaque, {0, 0, 0});
  handle.GetDriverTexture();
  RecordingDriver other(MM3DDeviceMode(32, 32, 2, 0, 1));
  mMap.SetDriver(&mDriver, &mStrategy);  // the same pair changes nothing
  EXPECT_TRUE(mDriver.mTextures.mFreed.empty());
  mMap.SetDriver(&other, &mStrategy);
  EXPECT_EQ(mDriver.mTextures.mFreed, (std::vector<int32_t>{0}));
  EXPECT_EQ(handle.GetDriverTexture().GetCollection(), &other.mTextures);
  mMap.SetDriver(nullptr, nullptr);
  EXPECT_TRUE(handle.GetDriverTexture().IsEmpty());
}

// A driver that counts the times its context was made current, and what
// its collection had freed at each.
class CountingDriver : public RecordingDriver {
 public:
  CountingDriver() : RecordingDriver(MM3DDeviceMode(32, 32, 2, 0, 1)) {}
  bool MakeCurrent() override {
    mFreedWhenCurrent.push_back(mTextures.mFreed.size());
    return true;
  }
  std::vector<size_t> mFreedWhenCurrent;
};

// Switching to a second driver and back loads nothing again; each driver's
// textures are freed in its own context: by a release of all, by the last
// handle, or when a third driver or a new display takes the place.
TEST_F(MM3DDriverTextureMapTest, TwoDriversSwitchedBetweenKeepTheirOwnTextures) {
  CountingDriver second;
  MM3DTextureHandle handle = mMap.GetHandle(mOpaque, {0, 0, 0});
  handle.GetDriverTexture();
  mMap.SwitchDriver(&second);
  EXPECT_TRUE(mDriver.mTextures.mFreed.empty());
  EXPECT_EQ(handle.GetDriverTexture().GetCollection(), &second.mTextures);
  EXPECT_EQ(second.mFreedWhenCurrent.size(), 1u);  // the incoming one is current
  mMap.SwitchDriver(&mDriver);
  mMap.SwitchDriver(&second);
  mMap.SwitchDriver(&mDriver);
  EXPECT_EQ(handle.GetDriverTexture().GetCollection(), &mDriver.mTextures);
  EXPECT_EQ(mCollection.mLoads, 2);  // once for each driver
  EXPECT_TRUE(mDriver.mTextures.mFreed.empty());
  EXPECT_TRUE(second.mTextures.mFreed.empty());

  mMap.ReleaseAll();
  EXPECT_EQ(mDriver.mTextures.mFreed, (std::vector<int32_t>{0}));
  EXPECT_EQ(second.mTextures.mFreed, (std::vector<int32_t>{0}));
  EXPECT_EQ(second.mFreedWhenCurrent.back(), 0u);  // made current before its texture went
  mMap.SwitchDriver(&second);
  handle.GetDriverTexture();
  mMap.SwitchDriver(&mDriver);
  handle.GetDriverTexture();
  const size_t currents = second.mFreedWhenCurrent.size();
  handle.Release();
  ASSERT_EQ(second.mFreedWhenCurrent.size(), currents + 1);
  EXPECT_EQ(second.mFreedWhenCurrent.back(), 1u);
  EXPECT_EQ(second.mTextures.mFreed.size(), 2u);
  EXPECT_EQ(mMap.GetEntryCount(), 0);

  struct Case {
    const char* mName;
    std::function<void(MM3DDriverTextureMap&, MM3DDriver&)> mReplace;
  } cases[] = {
      {"a third driver",
       [](MM3DDriverTextureMap& map, MM3DDriver&) {
         CountingDriver third;
         map.SwitchDriver(&third);
         map.SetDriver(nullptr, nullptr);
       }},
      {"a new display",
       [](MM3DDriverTextureMap& map, MM3DDriver&) { map.SetDriver(nullptr, nullptr); }},
      {"the kept driver forgotten",
       [](MM3DDriverTextureMap& map, MM3DDriver& kept) { map.ForgetKeptDriver(&kept); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.mName);
    mMap.SetDriver(&mDriver, &mStrategy);
    MM3DTextureHandle kept = mMap.GetHandle(mAlpha, {0, 0, 0});
    mMap.SwitchDriver(&second);
    kept.GetDriverTexture();
    mMap.SwitchDriver(&mDriver);
    const size_t freed = second.mTextures.mFreed.size();
    c.mReplace(mMap, second);
    EXPECT_EQ(second.mTextures.mFreed.size(), freed + 1);
    // The forgotten driver is switched to afresh: its textures load again.
    mMap.SetDriver(&mDriver, &mStrategy);
    mMap.SwitchDriver(&second);
    const int32_t loads = mCollection.mLoads;
    kept.GetDriverTexture();
    EXPECT_EQ(mCollection.mLoads, loads + 1);
    mMap.SwitchDriver(&mDriver);
    kept.Release();
  }
  mMap.ForgetKeptDriver(&second);
}

TEST_F(MM3DDriverTextureMapTest, TheStandardStrategyFollowsOpacityAndKey) {
  struct Case {
    bool mOpaque;
    MM3DTextureKey mKey;
    MM3DDriverTextureFormat mFormat;
  } cases[] = {
      {true, {1, 1, 1}, {kMM3DTextureRgb565, kMM3DFilterBilinearMipNearest, 1}},
      {false, {0, 0, 0}, {kMM3DTextureArgb4444, kMM3DFilterNearest, 0}},
      {true, {0, 0, 1}, {kMM3DTextureRgb565, kMM3DFilterNearestMipNearest, 0}},
      {false, {2, 1, 2}, {kMM3DTextureArgb4444, kMM3DFilterBilinear, 0}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(mStrategy.ChooseFormat(c.mOpaque ? mOpaque : mAlpha, c.mKey), c.mFormat);
  }
  mStrategy.SetLinearAllowed(false);
  mStrategy.SetMipmapsAllowed(false);
  mStrategy.SetClampAllowed(false);
  EXPECT_EQ(mStrategy.ChooseFormat(mOpaque, {1, 1, 1}),
            (MM3DDriverTextureFormat{kMM3DTextureRgb565, kMM3DFilterNearest, 0}));
}

TEST_F(MM3DDriverTextureMapTest, HandleAsksTheCollectionForSizeAndOpacity) {
  MM3DTextureHandle handle = mMap.GetHandle(mAlpha, {0, 0, 0});
  EXPECT_EQ(handle.GetSize(), (UUPoint{8, 8}));
  EXPECT_FALSE(handle.IsOpaque());
}

}  // namespace
