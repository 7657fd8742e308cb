#include "mm/drawing/MMPrintSurface.h"

#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "platform/win32/testhooks.h"
#include "tests/platform/win32/PrintFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

using vpl::test::PrintedPage;
using vpl::test::PrintFile;

namespace {

// Printed at 75 dots per inch and read back at the same resolution, page
// pixels and printer pixels are the same. An A4 page is then 620 x 876
// pixels with a printable area of {14, 14, 606, 862}.
constexpr LONG kTestDpi = 75;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0xE00000;
constexpr uint32_t kGreen = 0x00C000;
constexpr uint32_t kBlue = 0x0000E0;
constexpr uint32_t kYellow = 0xE0E000;
constexpr uint32_t kOrange = 0xF08020;
constexpr uint8_t kOrangeIndex = 7;

struct SurfaceDeleter {
  void operator()(WinMMOffscreenSurface* surface) const {
    surface->Detach();
    delete surface;
  }
};
using Surface = std::unique_ptr<WinMMOffscreenSurface, SurfaceDeleter>;

AFColor ColorOf(uint32_t rgb) {
  return AFColor(AFRGB(static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                       static_cast<uint8_t>(rgb)));
}

class MMPrintSurfaceTest : public testing::Test {
 protected:
  void SetUp() override { vpl::platform::SetPrinterResolutions({POINT{kTestDpi, kTestDpi}}); }
  void TearDown() override { vpl::platform::ResetPrinterResolutions(); }

  PrintFile mFile;
};

TEST_F(MMPrintSurfaceTest, AWideSurfaceFillsThePrintableWidthCentredVertically) {
  // Quadrants of four colours show the picture is neither turned nor
  // mirrored on the page.
  constexpr int32_t kWidth = 80, kHeight = 60;
  Surface surface(WinMMCreateOffscreenSurface(32, UURect(0, 0, kWidth, kHeight), AFPalette()));
  surface->FillRect(UURect(0, 0, kWidth / 2, kHeight / 2), ColorOf(kRed));
  surface->FillRect(UURect(kWidth / 2, 0, kWidth, kHeight / 2), ColorOf(kGreen));
  surface->FillRect(UURect(0, kHeight / 2, kWidth / 2, kHeight), ColorOf(kBlue));
  surface->FillRect(UURect(kWidth / 2, kHeight / 2, kWidth, kHeight), ColorOf(kYellow));

  MMPrintSurface session(surface.get());
  ASSERT_EQ(session.Print("Picture"), AFPrintSessionBase::kPrintDone);
  const UURect fitted(14, 216, 606, 660);  // 592 x 444: the printable width, 4:3
  EXPECT_EQ(session.GetPageRect(), fitted);

  const PrintedPage page = mFile.Rasterise(1, kTestDpi);
  const int32_t left = fitted.mLeft + fitted.GetWidth() / 4;
  const int32_t right = fitted.mRight - fitted.GetWidth() / 4;
  const int32_t top = fitted.mTop + fitted.GetHeight() / 4;
  const int32_t bottom = fitted.mBottom - fitted.GetHeight() / 4;
  EXPECT_TRUE(page.Shows(left, top, kRed));
  EXPECT_TRUE(page.Shows(right, top, kGreen));
  EXPECT_TRUE(page.Shows(left, bottom, kBlue));
  EXPECT_TRUE(page.Shows(right, bottom, kYellow));
  EXPECT_TRUE(page.Shows(fitted.mLeft + 1, fitted.mTop + 1, kRed));
  EXPECT_TRUE(page.Shows(fitted.mRight - 2, fitted.mBottom - 2, kYellow));
  EXPECT_TRUE(page.Shows(page.width / 2, fitted.mTop - 2, kWhite));
  EXPECT_TRUE(page.Shows(page.width / 2, fitted.mBottom + 1, kWhite));
}

TEST_F(MMPrintSurfaceTest, EightBitPixelsPrintInTheSurfacesPaletteColours) {
  AFPalette palette;
  palette.mEntries[kOrangeIndex] = AFPaletteEntry{.mBlue = 0x20, .mGreen = 0x80, .mRed = 0xF0};
  constexpr int32_t kSide = 40;  // rows of 40 bytes need no padding
  Surface surface(WinMMCreateOffscreenSurface(8, UURect(0, 0, kSide, kSide), palette));
  std::memset(surface->GetBits(), kOrangeIndex, kSide * kSide);

  MMPrintSurface session(surface.get());
  ASSERT_EQ(session.Print("Picture"), AFPrintSessionBase::kPrintDone);
  const UURect fitted = session.GetPageRect();
  const PrintedPage page = mFile.Rasterise(1, kTestDpi);
  EXPECT_TRUE(
      page.Shows((fitted.mLeft + fitted.mRight) / 2, (fitted.mTop + fitted.mBottom) / 2, kOrange));
}

TEST_F(MMPrintSurfaceTest, PixelsThatCannotBeDrawnFailTheJob) {
  MMDrawingSurface withoutPixels(nullptr);
  MMPrintSurface session(&withoutPixels);
  EXPECT_EQ(session.Print("Picture"), AFPrintSessionBase::kPrintPageFailed);
  EXPECT_FALSE(session.HasPrinter());
  EXPECT_FALSE(mFile.Exists());
}

TEST_F(MMPrintSurfaceTest, APrintableWithoutSurfaceDrawsNothing) {
  MMPrintableSurface printable(UURect(0, 0, 10, 10), nullptr);
  MMDrawingSurface withoutPixels(nullptr);
  MMPrintSurface session(&withoutPixels);
  EXPECT_FALSE(printable.Print(session));
}

}  // namespace
