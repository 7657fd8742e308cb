#include "mm/drawing/MMSystemFont.h"

#include "mm/drawing/win/WinMMOffscreenSurface.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

struct MMSystemFontTest : ::testing::Test {
  void SetUp() override {
    mSurface = WinMMCreateOffscreenSurface(32, UURect(0, 0, 50, 30), AFPalette());
  }
  void TearDown() override {
    mSurface->Detach();
    delete mSurface;
  }
  WinMMOffscreenSurface* mSurface = nullptr;
};

TEST_F(MMSystemFontTest, MetricsAreReadAtTheFirstSelection) {
  MMSystemFont font("DejaVu Sans", 20, FW_NORMAL, false, false);
  EXPECT_EQ(font.GetAscent(), 0);
  font.Select(mSurface);
  EXPECT_TRUE(font.IsSelected());
  // DejaVu Sans at 20 pixels: ascent 19 of which 4 are internal leading.
  EXPECT_EQ(font.GetAscent(), 19);
  EXPECT_EQ(font.GetDescent(), 5);
  EXPECT_EQ(font.GetCapHeight(), 15);
  EXPECT_GE(font.GetLineSpacing(), 24);
  font.Deselect();
  EXPECT_FALSE(font.IsSelected());
}

TEST_F(MMSystemFontTest, WidthsPositionsAndOverhangs) {
  MMSystemFont font("DejaVu Sans", 20, FW_NORMAL, false, false);
  font.Select(mSurface);
  EXPECT_EQ(font.GetTextWidth("", 0), 0);
  int16_t positions[4] = {-1, -1, -1, -1};
  EXPECT_EQ(font.GetCharPositions(positions, "abc", 0), 3);
  EXPECT_EQ(positions[0], 0);
  EXPECT_EQ(positions[3], font.GetTextWidth("abc", 0));
  EXPECT_LT(positions[1], positions[2]);
  EXPECT_EQ(font.GetTextWidth("abcdef", 3), positions[3]);
  EXPECT_EQ(font.GetLeftOverhang("H"), 0);
  EXPECT_EQ(font.GetRightOverhang('H'), 0);
  EXPECT_GT(font.GetLeftOverhang("j"), 0);  // its descender reaches left of the cell
  font.MoveTo(3, 25);
  font.DrawText(AFColor(AFRGB(255, 255, 255)), "ab", 0);
  EXPECT_EQ(font.GetPosition().mX, 3 + positions[2]);
  font.Deselect();
}

}  // namespace
