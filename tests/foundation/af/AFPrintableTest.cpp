#include "foundation/af/AFPrintable.h"

#include "foundation/af/AFPrintSessionFromList.h"
#include "platform/win32/testhooks.h"
#include "tests/platform/win32/PrintFile.h"

#include <gtest/gtest.h>

#include <functional>

using vpl::test::PrintedPage;
using vpl::test::PrintFile;

namespace {

// Printed at 75 dots per inch and read back at the same resolution, page
// pixels and printer pixels are the same.
constexpr LONG kTestDpi = 75;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlue = 0x2040C0;
constexpr uint32_t kRed = 0xC02020;
const AFColor kBlueColor(AFRGB(0x20, 0x40, 0xC0));
const AFColor kRedColor(AFRGB(0xC0, 0x20, 0x20));
const AFColor kBlackColor(AFRGB(0, 0, 0));

class OnePageSession : public AFPrintSessionFromList {
 public:
  explicit OnePageSession(std::function<void(UUList<AFPrintable*>&)> build)
      : AFPrintSessionFromList(AFPalette()), mBuild(std::move(build)) {}
  bool BuildPage(int32_t, UUList<AFPrintable*>& items) override {
    mBuild(items);
    return true;
  }

 private:
  std::function<void(UUList<AFPrintable*>&)> mBuild;
};

class AFPrintableTest : public testing::Test {
 protected:
  void SetUp() override { vpl::platform::SetPrinterResolutions({POINT{kTestDpi, kTestDpi}}); }
  void TearDown() override { vpl::platform::ResetPrinterResolutions(); }

  PrintedPage PrintOne(AFPrintable* item) {
    OnePageSession session([item](UUList<AFPrintable*>& items) { items.PushBack(item); });
    EXPECT_EQ(session.Print("Item"), AFPrintSessionBase::kPrintDone);
    return mFile.Rasterise(1, kTestDpi);
  }

  // Whether any pixel of the rectangle is darker than mid-grey.
  static bool AnyInk(const PrintedPage& page, const UURect& rect) {
    for (int32_t y = rect.mTop; y < rect.mBottom; ++y) {
      for (int32_t x = rect.mLeft; x < rect.mRight; ++x) {
        if ((page.At(x, y) & 0xFF) < 0x80) return true;
      }
    }
    return false;
  }

  PrintFile mFile;
};

TEST_F(AFPrintableTest, BoxFillsItsRectangle) {
  const PrintedPage page = PrintOne(new AFPrintableBox(UURect(100, 100, 200, 150), kBlueColor));
  EXPECT_TRUE(page.Shows(101, 101, kBlue));
  EXPECT_TRUE(page.Shows(198, 148, kBlue));
  EXPECT_TRUE(page.Shows(202, 125, kWhite));
  EXPECT_TRUE(page.Shows(150, 152, kWhite));
}

TEST_F(AFPrintableTest, FrameKeepsItsPenInsideAndLeavesTheMiddleEmpty) {
  constexpr int16_t kPen = 8;
  const PrintedPage page =
      PrintOne(new AFPrintableFrame(UURect(300, 100, 400, 200), kRedColor, kPen));
  EXPECT_TRUE(page.Shows(301, 150, kRed));
  EXPECT_TRUE(page.Shows(300 + kPen - 2, 150, kRed));
  EXPECT_TRUE(page.Shows(398, 150, kRed));
  EXPECT_TRUE(page.Shows(350, 198, kRed));
  EXPECT_TRUE(page.Shows(350, 150, kWhite));
  EXPECT_TRUE(page.Shows(297, 150, kWhite));
  EXPECT_TRUE(page.Shows(402, 150, kWhite));
}

TEST_F(AFPrintableTest, TextStandsOnItsBaseline) {
  constexpr int32_t kHeight = 40;
  const UUPoint baseline{100, 400};
  const PrintedPage page =
      PrintOne(new AFPrintableText(baseline, "HH", "DejaVu Sans", kHeight, kBlackColor));
  const int32_t right = baseline.mX + 2 * kHeight;
  EXPECT_TRUE(AnyInk(page, UURect(baseline.mX, baseline.mY - kHeight / 2, right, baseline.mY)));
  EXPECT_FALSE(AnyInk(page, UURect(baseline.mX, baseline.mY + 2, right, baseline.mY + kHeight)));
  EXPECT_FALSE(
      AnyInk(page, UURect(baseline.mX, baseline.mY - 2 * kHeight, right, baseline.mY - kHeight)));
  EXPECT_FALSE(AnyInk(page, UURect(0, 0, baseline.mX - 2, page.height)));
}

}  // namespace
