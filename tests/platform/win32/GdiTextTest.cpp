#include "platform/win32/gdi.h"
#include "tests/platform/win32/GdiTestPixels.h"

#include <gtest/gtest.h>

#include <cstring>

using vpl::test::DibCanvas;

namespace {

HFONT MakeFont(const char* face, LONG height, LONG weight = FW_NORMAL) {
  LOGFONTA font{};
  font.lfHeight = height;
  font.lfWeight = weight;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_TT_PRECIS;
  font.lfQuality = PROOF_QUALITY;
  std::strncpy(font.lfFaceName, face, LF_FACESIZE - 1);
  return CreateFontIndirectA(&font);
}

struct TextCanvas : DibCanvas {
  TextCanvas(const char* face, LONG height) : DibCanvas(120, 40, 32) {
    Fill(RGB(0, 0, 0));
    mFont = MakeFont(face, height);
    SelectObject(dc(), mFont);
    SetBkMode(dc(), TRANSPARENT);
    SetTextColor(dc(), RGB(255, 255, 255));
  }
  ~TextCanvas() {
    SelectObject(dc(), GetStockObject(SYSTEM_FONT));
    DeleteObject(mFont);
  }
  // The bounds of the pixels that are not black.
  RECT Ink() const {
    RECT r{1000, 1000, -1, -1};
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 120; ++x) {
        if (At(x, y) == RGB(0, 0, 0)) continue;
        r = RECT{std::min<LONG>(r.left, x), std::min<LONG>(r.top, y),
                 std::max<LONG>(r.right, x + 1), std::max<LONG>(r.bottom, y + 1)};
      }
    }
    return r;
  }
  HFONT mFont;
};

TEST(GdiTextTest, MetricsAreThoseOfTheFaceAtTheCharacterHeight) {
  TextCanvas canvas("DejaVu Sans", -20);
  TEXTMETRICA m{};
  ASSERT_TRUE(GetTextMetricsA(canvas.dc(), &m));
  // DejaVu Sans: 2048 units to the em, Windows ascent 1901 and descent 483.
  EXPECT_EQ(m.tmAscent, 19);
  EXPECT_EQ(m.tmDescent, 5);
  EXPECT_EQ(m.tmHeight, 24);
  EXPECT_EQ(m.tmInternalLeading, 4);
  TextCanvas cell("DejaVu Sans", 24);  // a positive height is the cell
  TEXTMETRICA same{};
  ASSERT_TRUE(GetTextMetricsA(cell.dc(), &same));
  EXPECT_EQ(same.tmHeight, 24);
  EXPECT_EQ(same.tmAscent, 19);
}

TEST(GdiTextTest, TheGuiStockFontIsASmallerFaceThanTheSystemFont) {
  DibCanvas canvas(120, 40, 32);
  TEXTMETRICA system{};
  TEXTMETRICA gui{};
  ASSERT_NE(GetStockObject(DEFAULT_GUI_FONT), nullptr);
  SelectObject(canvas.dc(), GetStockObject(SYSTEM_FONT));
  ASSERT_TRUE(GetTextMetricsA(canvas.dc(), &system));
  SelectObject(canvas.dc(), GetStockObject(DEFAULT_GUI_FONT));
  ASSERT_TRUE(GetTextMetricsA(canvas.dc(), &gui));
  EXPECT_EQ(gui.tmHeight - gui.tmInternalLeading, 11);
  EXPECT_LT(gui.tmHeight, system.tmHeight);
  SelectObject(canvas.dc(), GetStockObject(SYSTEM_FONT));
}

TEST(GdiTextTest, AMissingFaceFallsBackToDejaVuSans) {
  TextCanvas missing("No Such Face At All", -20);
  TextCanvas dejavu("DejaVu Sans", -20);
  int missingWidths[256], dejavuWidths[256];
  ASSERT_TRUE(GetCharWidthA(missing.dc(), 0, 255, missingWidths));
  ASSERT_TRUE(GetCharWidthA(dejavu.dc(), 0, 255, dejavuWidths));
  EXPECT_EQ(0, std::memcmp(missingWidths, dejavuWidths, sizeof missingWidths));
}

TEST(GdiTextTest, WidthsExtentsAndOverhangsAgree) {
  TextCanvas canvas("DejaVu Sans", -20);
  int widths[256];
  ASSERT_TRUE(GetCharWidthA(canvas.dc(), 0, 255, widths));
  SIZE extent{};
  ASSERT_TRUE(GetTextExtentPoint32A(canvas.dc(), "Wave\xE9", 5, &extent));
  EXPECT_EQ(extent.cx, widths[int{'W'}] + widths[int{'a'}] + widths[int{'v'}] + widths[int{'e'}] +
                           widths[0xE9]);
  EXPECT_GT(widths[0xE9], 0);  // é through the 1252 code page
  ABC abc[3];
  ASSERT_TRUE(GetCharABCWidthsA(canvas.dc(), 'f', 'h', abc));
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(abc[i].abcA + static_cast<int>(abc[i].abcB) + abc[i].abcC, widths['f' + i]);
  }
  ASSERT_TRUE(GetTextExtentPoint32A(canvas.dc(), "", 0, &extent));
  EXPECT_EQ(extent.cx, 0);
  EXPECT_FALSE(GetCharWidthA(canvas.dc(), 0, 256, widths));
}

TEST(GdiTextTest, TextDrawsGlyphsAtTheBaselineAndMovesTheCurrentPosition) {
  TextCanvas canvas("DejaVu Sans", -20);
  SetTextAlign(canvas.dc(), TA_BASELINE | TA_UPDATECP);
  MoveToEx(canvas.dc(), 10, 25, nullptr);
  ASSERT_TRUE(TextOutA(canvas.dc(), 0, 0, "HH", 2));
  SIZE extent{};
  GetTextExtentPoint32A(canvas.dc(), "HH", 2, &extent);
  POINT position{};
  GetCurrentPositionEx(canvas.dc(), &position);
  EXPECT_EQ(position.x, 10 + extent.cx);
  EXPECT_EQ(position.y, 25);
  RECT ink = canvas.Ink();
  EXPECT_EQ(ink.bottom, 25);  // capitals sit on the baseline
  EXPECT_GE(ink.left, 10);
  EXPECT_LE(ink.right, 10 + extent.cx);
  EXPECT_NEAR(25 - ink.top, 15, 1);  // DejaVu's cap height at 20 pixels
}

TEST(GdiTextTest, AlignmentAndBackgroundModePlaceTheText) {
  TextCanvas canvas("DejaVu Sans", -20);
  SetTextAlign(canvas.dc(), TA_TOP | TA_RIGHT);
  SetBkMode(canvas.dc(), OPAQUE);
  SetBkColor(canvas.dc(), RGB(0, 0, 255));
  ASSERT_TRUE(TextOutA(canvas.dc(), 100, 5, "x", 1));
  SIZE extent{};
  GetTextExtentPoint32A(canvas.dc(), "x", 1, &extent);
  EXPECT_EQ(canvas.At(100 - extent.cx, 5), RGB(0, 0, 255));  // the cell, filled
  EXPECT_EQ(canvas.At(99, 5 + extent.cy - 1), RGB(0, 0, 255));
  EXPECT_EQ(canvas.At(100, 5), RGB(0, 0, 0));
  EXPECT_EQ(canvas.At(100 - extent.cx - 1, 5), RGB(0, 0, 0));
}

}  // namespace
