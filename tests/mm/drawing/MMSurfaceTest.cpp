#include "mm/drawing/MMSurface.h"

#include "mm/drawing/MMSystemFont.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct SurfaceDeleter {
  void operator()(WinMMOffscreenSurface* surface) const {
    surface->Detach();
    delete surface;
  }
};
using Surface = std::unique_ptr<WinMMOffscreenSurface, SurfaceDeleter>;

Surface MakeSurface(int32_t bits, const UURect& rect, const AFPalette& palette = AFPalette()) {
  return Surface(WinMMCreateOffscreenSurface(bits, rect, palette));
}

AFColor Rgb(uint8_t r, uint8_t g, uint8_t b) { return AFColor(AFRGB(r, g, b)); }

// The 32-bit pixel at surface coordinates, as {blue, green, red}.
std::vector<uint8_t> PixelAt(MMSurface& surface, int32_t x, int32_t y) {
  MMBitmap bitmap;
  EXPECT_TRUE(surface.GetImageDescription(bitmap));
  const uint8_t* p = bitmap.GetPixelAddress(x, y);
  return {p[0], p[1], p[2]};
}

const std::vector<uint8_t> kBlack{0, 0, 0};
const std::vector<uint8_t> kWhite{255, 255, 255};

TEST(MMSurfaceTest, OffscreenSurfacesUseTheirRectangleAsCoordinates) {
  Surface surface = MakeSurface(32, UURect(10, 20, 110, 70));
  ASSERT_NE(surface, nullptr);
  EXPECT_EQ(surface->GetPixelFormat(), kMMFormat32);
  surface->SetPixel(10, 20, Rgb(1, 2, 3));
  MMBitmap locked;
  ASSERT_TRUE(surface->LockBits(locked));
  EXPECT_EQ(locked.mRect, UURect(10, 20, 110, 70));
  const uint8_t* corner = locked.GetPixelAddress(10, 20);
  EXPECT_EQ((std::vector<uint8_t>{corner[0], corner[1], corner[2]}),
            (std::vector<uint8_t>{3, 2, 1}));
  // Rows are stored bottom-up: the top row is the last in memory.
  EXPECT_EQ(static_cast<void*>(locked.GetPixelAddress(10, 69)), surface->GetBits());
  EXPECT_EQ(surface->GetInfoHeader().biHeight, 50);
  EXPECT_EQ(MakeSurface(24, UURect(0, 0, 3, 2))->GetImageDescription(locked) ? locked.mPitch : 0,
            -12);
  EXPECT_EQ(MakeSurface(16, UURect(0, 0, 3, 2)), nullptr);
}

TEST(MMSurfaceTest, TheClipLimitsDrawingAndLocking) {
  Surface surface = MakeSurface(32, UURect(0, 0, 8, 8));
  surface->FillRect(UURect(0, 0, 8, 8), Rgb(0, 0, 0));
  surface->SetClipRect(UURect(2, 2, 4, 100));
  surface->FillRect(UURect(0, 0, 8, 8), Rgb(255, 255, 255));
  EXPECT_EQ(PixelAt(*surface, 1, 2), kBlack);
  EXPECT_EQ(PixelAt(*surface, 2, 2), kWhite);
  EXPECT_EQ(PixelAt(*surface, 3, 7), kWhite);
  EXPECT_EQ(PixelAt(*surface, 4, 7), kBlack);
  MMBitmap locked;
  ASSERT_TRUE(surface->LockBits(locked));
  EXPECT_EQ(locked.mRect, UURect(2, 2, 4, 8));
  surface->SetClipRect(UURect(-50, -50, 50, 50));  // larger than the surface: no clip at all
  surface->SetPixel(7, 7, Rgb(255, 255, 255));
  EXPECT_EQ(PixelAt(*surface, 7, 7), kWhite);
  surface->SetClipRect(UURect(20, 20, 30, 30));
  EXPECT_FALSE(surface->LockBits(locked));
}

class CountingSurface : public MMSurface {
 public:
  UURect GetRect() const override { return UURect(0, 0, 1, 1); }
  int32_t GetPixelFormat() const override { return 3; }
  bool GetImageDescription(MMBitmap&) const override { return false; }
  void ReleaseDC() override { ++mReleases; }
  int mReleases = 0;
};

TEST(MMSurfaceTest, OnlyTheOutermostEndDrawReleasesTheDeviceContext) {
  CountingSurface surface;
  surface.BeginDraw();
  surface.BeginDraw();
  surface.EndDraw();
  EXPECT_EQ(surface.mReleases, 0);
  surface.EndDraw();
  EXPECT_EQ(surface.mReleases, 1);
  MMBitmap bitmap;
  EXPECT_FALSE(surface.LockBits(bitmap));
}

TEST(MMSurfaceTest, ShapesDrawWithTheirOwnPenOrBrush) {
  Surface surface = MakeSurface(32, UURect(0, 0, 200, 8));
  surface->FillRect(UURect(0, 0, 200, 8), Rgb(0, 0, 0));
  // Sixty small squares: more polygons than any fixed table would hold.
  std::vector<UUPoint> points;
  std::vector<int16_t> counts;
  for (int32_t i = 0; i < 60; ++i) {
    const int32_t x = i * 3;
    points.insert(points.end(), {{x, 0}, {x + 2, 0}, {x + 2, 2}, {x, 2}});
    counts.push_back(4);
  }
  surface->FillPolyPolygon(points.data(), counts.data(), 60, Rgb(255, 255, 255));
  EXPECT_EQ(PixelAt(*surface, 0, 0), kWhite);
  EXPECT_EQ(PixelAt(*surface, 2, 0), kBlack);
  EXPECT_EQ(PixelAt(*surface, 59 * 3 + 1, 1), kWhite);
  surface->DrawLine(0, 5, 10, 5, Rgb(255, 255, 255), 1);
  EXPECT_EQ(PixelAt(*surface, 9, 5), kWhite);
  EXPECT_EQ(PixelAt(*surface, 10, 5), kBlack);
  surface->FrameRect(UURect(20, 3, 26, 8), Rgb(255, 255, 255), 1);
  EXPECT_EQ(PixelAt(*surface, 20, 3), kWhite);
  EXPECT_EQ(PixelAt(*surface, 22, 5), kBlack);  // outlines have no fill
  surface->FillBlack(UURect(0, 0, 200, 8));
  EXPECT_EQ(PixelAt(*surface, 20, 3), kBlack);
}

TEST(MMSurfaceTest, PalettesGoToTheColourTableAndForeignOnesAreNotDeleted) {
  AFPalette palette;
  palette.mEntries[7] = AFPaletteEntry{30, 20, 10, 0};
  Surface surface = MakeSurface(8, UURect(0, 0, 4, 4), palette);
  surface->FillRect(UURect(0, 0, 4, 4), AFColor(int16_t{7}));
  MMBitmap bitmap;
  surface->GetImageDescription(bitmap);
  EXPECT_EQ(*bitmap.GetPixelAddress(3, 3), 7);
  LOGPALETTE foreign{0x300, 1, {{1, 2, 3, 0}}};
  HPALETTE theirs = CreatePalette(&foreign);
  SelectPalette(surface->GetDC(), theirs, FALSE);
  surface->SetPalette(palette);
  surface->Detach();
  EXPECT_TRUE(DeleteObject(theirs));  // still alive: only its owner deletes it
}

TEST(MMSurfaceTest, TextIsPlacedByItsAlignment) {
  Surface surface = MakeSurface(32, UURect(0, 0, 200, 60));
  surface->FillRect(UURect(0, 0, 200, 60), Rgb(0, 0, 0));
  MMSystemFont font("DejaVu Sans", 20, FW_NORMAL, false, false);
  MMTextStyle style{&font, Rgb(255, 255, 255), 1, 0};
  EXPECT_EQ(surface->GetTextBounds(nullptr, 5, 6, style), UURect(5, 6, 5, 6));
  const UURect bounds = surface->GetTextBounds("HIH", 100, 40, style);
  surface->BeginText(&font);
  const int32_t width = surface->GetTextWidth("HIH", 0);
  EXPECT_EQ(surface->AlignTextX(100, 1, 0, "HIH", 0), 100 - width / 2);
  EXPECT_EQ(surface->AlignTextY(40, 2, 0), 40 + surface->GetTextCapHeight());
  surface->EndText();
  EXPECT_EQ(bounds.mLeft, 100 - width / 2);
  EXPECT_EQ(bounds.mRight, bounds.mLeft + width);
  EXPECT_EQ(bounds.mBottom, 40 + font.GetDescent());
  surface->DrawText("HIH", 100, 40, style);
  EXPECT_FALSE(font.IsSelected());
  // The capitals stand on the baseline inside the bounds (their edges are
  // smoothed, so the stem is nearly white).
  EXPECT_GT(PixelAt(*surface, bounds.mLeft + 3, 39)[0], 200);
  EXPECT_EQ(PixelAt(*surface, bounds.mLeft + 3, 40), kBlack);
  EXPECT_EQ(PixelAt(*surface, bounds.mLeft - 1, 39), kBlack);
  EXPECT_EQ(MMSurface::AlignOffset(10, 0, 2, 8), 18);
}

}  // namespace
