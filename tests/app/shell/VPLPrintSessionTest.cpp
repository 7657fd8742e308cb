#include "app/shell/VPLPrintSession.h"

#include "app/shell/VPLPrintLayout.h"
#include "mm/drawing/MMBlitRequest.h"
#include "tests/app/shell/ShellTestSupport.h"
#include "tests/platform/win32/PrintFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

using shell_test::FourSmallCopies;
using shell_test::OneLargeCopy;
using vpl::test::PrintedPage;
using vpl::test::PrintFile;

constexpr int kDotsPerInch = 300;  // the test printer's resolution
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kRed = 0xFF0000;
constexpr uint32_t kBlue = 0x0000FF;
// A4 at 300 dots per inch in points.
constexpr double kA4Width = 595.0;
constexpr double kA4Height = 842.0;

const UURect kLayoutArea(0, 0, 2000, 2600);
const UURect kA4At300(0, 0, 2480, 3508);
const UURect kPrintableAt300(59, 59, 2421, 3449);
const UURect kA4At600(0, 0, 4960, 7016);
const UURect kPrintableAt600(118, 118, 4842, 6898);

// A one-pixel line of grey 128 through (x, y): the rasteriser may spread
// it over two pixels, lighter, so the darkest grey next to the point counts.
bool IsGreyLine(const PrintedPage& page, int32_t x, int32_t y) {
  uint32_t darkest = 0xFF;
  for (int32_t dy = -1; dy <= 1; ++dy) {
    for (int32_t dx = -1; dx <= 1; ++dx) {
      const uint32_t pixel = page.At(x + dx, y + dy);
      const uint32_t red = pixel >> 16, green = pixel >> 8 & 0xFF, blue = pixel & 0xFF;
      if (red == green && green == blue) darkest = std::min(darkest, red);
    }
  }
  return darkest >= 0x70 && darkest <= 0xB0;
}

VPLPageLayout Layout(const shell_test::SlotTable& table, const UURect& area = kLayoutArea) {
  VPLPageLayout layout{area, UUPoint{table.width, table.height}, {}};
  for (const auto& [x, y] : table.corners) layout.mSlots.push_back(UUPoint{x, y});
  return layout;
}

TEST(VPLPrintLayoutTest, SlotsAreStretchedOverThePageAndNarrowedIntoWhatPrints) {
  struct Case {
    const char* what;
    VPLPageLayout layout;
    UURect page;
    UURect printable;
    int32_t dotsPerInch;
    int16_t mode;
    size_t slot;
    VPLPrintSlot expected;
  };
  const Case cases[] = {
      {"one copy at 300 dpi",
       Layout(OneLargeCopy()),
       kA4At300,
       kPrintableAt300,
       300,
       0,
       0,
       {UURect(124, 404, 2356, 2226), UURect(124, 404, 2356, 2226)}},
      {"cut marks at 300 dpi: a quarter inch inside",
       Layout(FourSmallCopies()),
       kA4At300,
       kPrintableAt300,
       300,
       1,
       0,
       {UURect(124, 404, 1215, 1295), UURect(199, 479, 1140, 1220)}},
      {"cut marks at 600 dpi",
       Layout(FourSmallCopies()),
       kA4At600,
       kPrintableAt600,
       600,
       1,
       3,
       {UURect(2529, 2860, 4712, 4641), UURect(2679, 3010, 4562, 4491)}},
      {"30 and 50 pixels out: 50 off both sides, no inset",
       Layout(FourSmallCopies()),
       kLayoutArea,
       UURect(130, 0, 1850, 2600),
       300,
       1,
       1,
       {UURect(1070, 300, 1850, 960), UURect(1070, 300, 1850, 960)}},
      {"30 and 50 pixels out at 600 dpi",
       Layout(FourSmallCopies()),
       kLayoutArea,
       UURect(130, 0, 1850, 2600),
       600,
       0,
       2,
       {UURect(150, 1060, 930, 1720), UURect(150, 1060, 930, 1720)}},
  };
  for (const Case& c : cases) {
    const std::vector<VPLPrintSlot> slots =
        VPLPlaceSlots(c.layout, c.page, c.printable, c.dotsPerInch, c.mode);
    ASSERT_EQ(slots.size(), c.layout.mSlots.size()) << c.what;
    EXPECT_EQ(slots[c.slot].mSlot, c.expected.mSlot) << c.what;
    EXPECT_EQ(slots[c.slot].mFrame, c.expected.mFrame) << c.what;
  }
}

TEST(VPLPrintLayoutTest, LayoutsWithoutSlotsOrAreaPlaceNothing) {
  const shell_test::SlotTable none{880, 660, {}};
  EXPECT_TRUE(VPLPlaceSlots(Layout(none), kA4At300, kPrintableAt300, 300, 1).empty());
  for (const UURect& area : {UURect(0, 0, 0, 2600), UURect(0, 0, 2000, 0)}) {
    EXPECT_TRUE(
        VPLPlaceSlots(Layout(FourSmallCopies(), area), kA4At300, kPrintableAt300, 300, 0).empty());
  }
}

TEST(VPLPrintLayoutTest, EveryRealPaperTakesTheLargeLayout) {
  EXPECT_EQ(VPLPrintSession::LayoutScriptFor(UURect(0, 0, 2159, 2794)), 22);  // letter
  EXPECT_EQ(VPLPrintSession::LayoutScriptFor(UURect(0, 0, 2970, 2100)), 22);  // A4 turned
  EXPECT_EQ(VPLPrintSession::LayoutScriptFor(UURect(0, 0, 200, 250)), 21);
}

class VPLPrintSessionTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { MMInitializeBlitRoutines(); }

  // An 800 x 600 picture, red on the left half and blue on the right.
  VPLPrintSessionTest() {
    mPicture->FillRect(UURect(0, 0, 400, 600), AFColor(AFRGB(255, 0, 0)));
    mPicture->FillRect(UURect(400, 0, 800, 600), AFColor(AFRGB(0, 0, 255)));
  }
  int32_t Print(int16_t mode, const char* caption = "") {
    VPLPrintSession session(mPicture.Get(), mode, caption);
    return session.Print("Creation");
  }
  PrintedPage Page() const { return mFile.Rasterise(1, kDotsPerInch); }

  PrintFile mFile;
  UUOwned<MMSurface> mPicture = shell_test::PatternSurface(800, 600, 0);
};

TEST_F(VPLPrintSessionTest, OneCopyFillsItsSlotOnOneA4Page) {
  shell_test::ShellScripts scripts;
  ASSERT_EQ(Print(0), AFPrintSessionBase::kPrintDone);
  const PrintFile::Info info = mFile.ReadInfo();
  EXPECT_EQ(info.pages, 1);
  EXPECT_NEAR(info.widthInPoints, kA4Width, 1);
  EXPECT_NEAR(info.heightInPoints, kA4Height, 1);
  // The slot (124, 404, 2356, 2226) holds the 4:3 picture (124, 478, 2356,
  // 2152).
  const PrintedPage page = Page();
  EXPECT_TRUE(page.Shows(300, 1300, kRed));
  EXPECT_TRUE(page.Shows(2200, 1300, kBlue));
  EXPECT_TRUE(page.Shows(130, 485, kRed));
  EXPECT_TRUE(page.Shows(1240, 470, kWhite));
  EXPECT_TRUE(page.Shows(1240, 2160, kWhite));
  EXPECT_TRUE(page.Shows(20, 20, kWhite));
  EXPECT_TRUE(page.Shows(1240, 3400, kWhite));
}

TEST_F(VPLPrintSessionTest, CutMarkCopiesSitInsideTheirSlotsWithGreyCornerBrackets) {
  shell_test::ShellScripts scripts;
  ASSERT_EQ(Print(kVPLPrintModeCutMarks), AFPrintSessionBase::kPrintDone);
  const PrintedPage page = Page();
  // Slot (124, 404, 1215, 1295); its picture (199, 497, 1140, 1202).
  EXPECT_TRUE(page.Shows(300, 850, kRed));
  EXPECT_TRUE(page.Shows(1100, 850, kBlue));
  EXPECT_TRUE(page.Shows(160, 850, kWhite));
  EXPECT_TRUE(page.Shows(660, 440, kWhite));
  // The brackets 2 pixels outside the slot, arms an eighth of an inch.
  const int arm = kDotsPerInch / 8;
  EXPECT_TRUE(IsGreyLine(page, 122, 402));
  EXPECT_TRUE(IsGreyLine(page, 122 + arm - 3, 402));
  EXPECT_TRUE(IsGreyLine(page, 122, 402 + arm - 3));
  EXPECT_TRUE(page.Shows(122 + arm + 4, 402, kWhite));
  EXPECT_TRUE(page.Shows(122, 402 + arm + 4, kWhite));
  EXPECT_TRUE(IsGreyLine(page, 1217, 1297));
  EXPECT_TRUE(IsGreyLine(page, 1217 - arm + 3, 1297));
  // The fourth copy's slot (1264, 1430, 2356, 2320).
  EXPECT_TRUE(IsGreyLine(page, 2358, 2322));
  EXPECT_TRUE(page.Shows(2100, 1900, kBlue));
}

TEST_F(VPLPrintSessionTest, CaptionIsPrintedUnderThePicture) {
  shell_test::ShellScripts scripts;
  ASSERT_EQ(Print(0, "Caption"), AFPrintSessionBase::kPrintDone);
  const PrintedPage page = Page();
  // 12 points at 300 dpi: 50 pixels; the baseline at 2152 + 50.
  int dark = 0;
  for (int y = 2152; y < 2202; ++y) {
    for (int x = 1040; x < 1440; ++x) dark += page.At(x, y) == 0 ? 1 : 0;
  }
  EXPECT_GT(dark, 100);
}

TEST_F(VPLPrintSessionTest, LayoutWithoutSlotsPrintsNothingAndThePageFails) {
  shell_test::ShellScripts scripts(shell_test::SlotTable{1800, 1350, {}});
  EXPECT_EQ(Print(0), AFPrintSessionBase::kPrintPageFailed);
}

}  // namespace
