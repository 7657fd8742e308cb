#include "foundation/af/HUD.h"

#include "platform/win32/testhooks.h"

#include <gtest/gtest.h>

namespace {

class CountingHUD : public HUD {
 public:
  int mRefreshes = 0;

 protected:
  void Refresh() override { ++mRefreshes; }
};

// The program clock stands still unless a test moves it.
class HUDTest : public ::testing::Test {
 protected:
  void SetUp() override { vpl::platform::FreezeClock(); }
  void TearDown() override { vpl::platform::ThawClock(); }
  static void Advance(DWORD milliseconds) { vpl::platform::AdvanceFrozenClock(milliseconds); }
};

TEST_F(HUDTest, FiguresComeFromTheFrameTimeAndTheRenderStart) {
  struct Case {
    DWORD beforeRender;
    DWORD frameTime;
    int32_t framesPerSecond;
    int32_t percentRender;
  };
  const Case cases[] = {{10, 40, 25, 75}, {0, 40, 25, 100},  {40, 40, 25, 0},
                        {1, 3, 333, 66},  {0, 1, 1000, 100}, {600, 2000, 0, 70}};
  for (const Case& c : cases) {
    CountingHUD hud;
    Advance(c.beforeRender);
    hud.BeginRender();
    Advance(c.frameTime - c.beforeRender);
    hud.EndFrame();
    EXPECT_EQ(hud.GetFramesPerSecond(), c.framesPerSecond) << c.frameTime;
    EXPECT_EQ(hud.GetPercentRenderTime(), c.percentRender) << c.beforeRender;
    EXPECT_EQ(hud.mRefreshes, 1);
  }
}

TEST_F(HUDTest, AFrameOfNoTimeIsSkippedAndTheNextFrameCountsFromTheLastEnd) {
  CountingHUD hud;
  Advance(20);
  hud.EndFrame();
  hud.EndFrame();
  EXPECT_EQ(hud.mRefreshes, 1);
  EXPECT_EQ(hud.GetFramesPerSecond(), 50);
  Advance(5);
  hud.BeginRender();
  Advance(5);
  hud.EndFrame();
  EXPECT_EQ(hud.mRefreshes, 2);
  EXPECT_EQ(hud.GetFramesPerSecond(), 100);
  EXPECT_EQ(hud.GetPercentRenderTime(), 50);
}

TEST_F(HUDTest, PolygonsAreUnknownUntilSet) {
  CountingHUD hud;
  EXPECT_EQ(hud.GetPolygonCount(), -1);
  hud.SetPolygonCount(1234);
  EXPECT_EQ(hud.GetPolygonCount(), 1234);
  EXPECT_EQ(hud.mRefreshes, 0);
}

}  // namespace
