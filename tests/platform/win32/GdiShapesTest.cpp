#include "platform/win32/gdi.h"
#include "tests/platform/win32/GdiTestPixels.h"

#include <gtest/gtest.h>

using vpl::test::DibCanvas;

namespace {

constexpr COLORREF kInk = RGB(255, 255, 255);

// A canvas with a white 1-pixel pen and a white brush, or the null ones.
struct ShapeCanvas : DibCanvas {
  ShapeCanvas(int32_t width, int32_t height, bool pen, bool brush) : DibCanvas(width, height, 32) {
    Fill(RGB(0, 0, 0));
    mPen = CreatePen(PS_SOLID, 1, kInk);
    mBrush = CreateSolidBrush(kInk);
    SelectObject(dc(), pen ? static_cast<HGDIOBJ>(mPen) : GetStockObject(NULL_PEN));
    SelectObject(dc(), brush ? static_cast<HGDIOBJ>(mBrush) : GetStockObject(NULL_BRUSH));
  }
  ~ShapeCanvas() {
    SelectObject(dc(), GetStockObject(BLACK_PEN));
    SelectObject(dc(), GetStockObject(WHITE_BRUSH));
    DeleteObject(mPen);
    DeleteObject(mBrush);
  }
  HPEN mPen;
  HBRUSH mBrush;
};

TEST(GdiShapesTest, RectanglesOutlineWithThePenAndFillWithTheBrush) {
  ShapeCanvas outline(6, 5, true, false);
  ASSERT_TRUE(Rectangle(outline.dc(), 1, 1, 5, 5));
  EXPECT_EQ(outline.Mask(kInk),
            (std::vector<std::string>{"......", ".####.", ".#..#.", ".#..#.", ".####."}));
  ShapeCanvas fill(6, 5, false, true);
  ASSERT_TRUE(Rectangle(fill.dc(), 1, 1, 5, 5));  // no pen: right and bottom edge left out
  EXPECT_EQ(fill.Mask(kInk),
            (std::vector<std::string>{"......", ".###..", ".###..", ".###..", "......"}));
}

TEST(GdiShapesTest, LinesLeaveOutTheirLastPixel) {
  ShapeCanvas canvas(5, 3, true, false);
  MoveToEx(canvas.dc(), 0, 1, nullptr);
  ASSERT_TRUE(LineTo(canvas.dc(), 4, 1));
  POINT position{};
  GetCurrentPositionEx(canvas.dc(), &position);
  EXPECT_EQ(position.x, 4);
  const POINT diagonal[] = {{0, 0}, {2, 2}};
  ASSERT_TRUE(Polyline(canvas.dc(), diagonal, 2));
  EXPECT_EQ(canvas.Mask(kInk), (std::vector<std::string>{"#....", "####.", "....."}));
}

TEST(GdiShapesTest, EllipsesStayInsideTheirRectangleAndAreSymmetric) {
  ShapeCanvas canvas(12, 10, false, true);
  ASSERT_TRUE(Ellipse(canvas.dc(), 1, 1, 11, 9));
  std::vector<std::string> mask = canvas.Mask(kInk);
  EXPECT_EQ(mask[0], "............");
  EXPECT_EQ(mask[4], ".#########..");  // the widest row spans the rectangle less its right edge
  for (int y = 1; y < 9; ++y) {
    std::string row = mask[static_cast<size_t>(y)].substr(1, 9);
    EXPECT_EQ(row, std::string(row.rbegin(), row.rend())) << "row " << y;
  }
  EXPECT_EQ(canvas.At(1, 1), RGB(0, 0, 0));  // corners stay outside
}

TEST(GdiShapesTest, PolygonsFillByTheAlternateRule) {
  ShapeCanvas canvas(8, 8, false, true);
  const POINT points[] = {{0, 0}, {8, 0}, {8, 8}, {0, 8}, {2, 2}, {6, 2}, {6, 6}, {2, 6}};
  const int counts[] = {4, 4};
  ASSERT_TRUE(PolyPolygon(canvas.dc(), points, counts, 2));
  std::vector<std::string> mask = canvas.Mask(kInk);
  EXPECT_EQ(mask[0], "########");
  EXPECT_EQ(mask[3], "##....##");  // the inner square is a hole
  ShapeCanvas triangle(5, 4, false, true);
  const POINT corners[] = {{0, 0}, {4, 0}, {0, 4}};
  ASSERT_TRUE(Polygon(triangle.dc(), corners, 3));
  // Pixels whose centres lie inside: the hypotenuse cuts the corners off.
  EXPECT_EQ(triangle.Mask(kInk), (std::vector<std::string>{"###..", "##...", "#....", "....."}));
  EXPECT_FALSE(Polygon(triangle.dc(), corners, 1));
}

TEST(GdiShapesTest, PaletteIndexColoursNameTheSelectedPaletteEntries) {
  DibCanvas canvas(2, 1, 32);
  LOGPALETTE palette{0x300, 1, {{10, 20, 30, 0}}};
  HPALETTE handle = CreatePalette(&palette);
  HPALETTE previous = SelectPalette(canvas.dc(), handle, FALSE);
  EXPECT_EQ(previous, GetStockObject(DEFAULT_PALETTE));
  EXPECT_EQ(RealizePalette(canvas.dc()), 1u);
  SetPixelV(canvas.dc(), 0, 0, PALETTEINDEX(0));
  EXPECT_EQ(canvas.At(0, 0), RGB(10, 20, 30));
  EXPECT_EQ(GetNearestPaletteIndex(handle, RGB(12, 22, 28)), 0u);
  SelectPalette(canvas.dc(), previous, FALSE);
  EXPECT_TRUE(DeleteObject(handle));
}

}  // namespace
