#include "platform/win32/print.h"
#include "platform/win32/testhooks.h"
#include "tests/platform/win32/PrintFile.h"

#include <gtest/gtest.h>

#include <string>

using vpl::test::PrintFile;

namespace {

// A4 with 5 mm margins at 300 dots per inch, in device pixels.
constexpr int kA4Width = 2480;
constexpr int kA4Height = 3507;
constexpr int kA4Margin = 59;
constexpr double kA4WidthInPoints = 595.3;
constexpr double kA4HeightInPoints = 841.9;
constexpr double kPointTolerance = 1.5;  // pages are whole device pixels
constexpr COLORREF kInk = RGB(0, 0, 255);
constexpr uint32_t kInkRgb = 0x0000FF;
constexpr uint32_t kWhiteRgb = 0xFFFFFF;
constexpr LONG kTestDpi = 75;  // pages of few pixels, quick to write and read back

// The default printer's settings and names, as the print dialog answers.
struct DefaultPrinter {
  DefaultPrinter() {
    dialog.lStructSize = sizeof dialog;
    dialog.Flags = PD_RETURNDEFAULT;
    found = PrintDlgA(&dialog) != FALSE;
    if (!found) return;
    const char* names = static_cast<const char*>(GlobalLock(dialog.hDevNames));
    const auto* offsets = reinterpret_cast<const DEVNAMES*>(names);
    driver = names + offsets->wDriverOffset;
    device = names + offsets->wDeviceOffset;
    output = names + offsets->wOutputOffset;
    GlobalUnlock(dialog.hDevNames);
    mode = *static_cast<const DEVMODEA*>(GlobalLock(dialog.hDevMode));
    GlobalUnlock(dialog.hDevMode);
  }
  ~DefaultPrinter() {
    if (!found) return;
    GlobalFree(dialog.hDevMode);
    GlobalFree(dialog.hDevNames);
  }
  HDC CreateDC() const { return CreateDCA(driver.c_str(), device.c_str(), output.c_str(), &mode); }

  PRINTDLGA dialog{};
  bool found = false;
  std::string driver, device, output;
  DEVMODEA mode{};
};

HDC StartDocument(const DefaultPrinter& printer) {
  HDC dc = printer.CreateDC();
  DOCINFOA document{};
  document.cbSize = sizeof document;
  document.lpszDocName = "Test";
  EXPECT_GT(StartDocA(dc, &document), 0);
  return dc;
}

void DrawBox(HDC dc, const RECT& box) {
  HBRUSH brush = CreateSolidBrush(kInk);
  HGDIOBJ previous = SelectObject(dc, brush);
  PatBlt(dc, box.left, box.top, box.right - box.left, box.bottom - box.top, PATCOPY);
  SelectObject(dc, previous);
  DeleteObject(brush);
}

class PrintTest : public testing::Test {
 protected:
  void SetUp() override { vpl::platform::SetPrinterResolutions({POINT{kTestDpi, kTestDpi}}); }
  void TearDown() override { vpl::platform::ResetPrinterResolutions(); }

  PrintFile mFile;
};

TEST(PrintWithoutFileTest, TestsHaveNoPrinter) {
  DefaultPrinter printer;
  EXPECT_FALSE(printer.found);
  EXPECT_EQ(printer.dialog.hDevMode, nullptr);
  EXPECT_EQ(printer.dialog.hDevNames, nullptr);
}

TEST_F(PrintTest, ThePrintFileIsTheDefaultPrinterWithA4At300Dpi) {
  vpl::platform::ResetPrinterResolutions();
  DefaultPrinter printer;
  ASSERT_TRUE(printer.found);
  EXPECT_EQ(printer.output, mFile.Path());
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(printer.mode.dmDeviceName)), printer.device);
  LONG resolutions[2] = {};
  ASSERT_EQ(DeviceCapabilitiesA(printer.device.c_str(), printer.output.c_str(), DC_ENUMRESOLUTIONS,
                                reinterpret_cast<LPSTR>(resolutions), &printer.mode),
            1);
  EXPECT_EQ(resolutions[0], 300);
  EXPECT_EQ(resolutions[1], 300);
  EXPECT_EQ(DeviceCapabilitiesA("NoSuchPrinter", "", DC_ENUMRESOLUTIONS, nullptr, nullptr), -1);

  HDC dc = printer.CreateDC();
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 300);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), kA4Width);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALHEIGHT), kA4Height);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETX), kA4Margin);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETY), kA4Margin);
  EXPECT_EQ(GetDeviceCaps(dc, HORZRES), kA4Width - 2 * kA4Margin);
  EXPECT_EQ(GetDeviceCaps(dc, VERTRES), kA4Height - 2 * kA4Margin);
  EXPECT_TRUE(DeleteDC(dc));
}

TEST_F(PrintTest, PagesBecomePagesOfThePdfWithWhatWasDrawn) {
  DefaultPrinter printer;
  HDC dc = StartDocument(printer);
  for (int page = 0; page < 2; ++page) {
    ASSERT_GT(StartPage(dc), 0);
    DrawBox(dc, RECT{0, 0, GetDeviceCaps(dc, PHYSICALWIDTH) / 2,
                     GetDeviceCaps(dc, PHYSICALHEIGHT) / 2});
    ASSERT_GT(EndPage(dc), 0);
  }
  EXPECT_FALSE(mFile.Exists());  // not before the document ends
  ASSERT_GT(EndDoc(dc), 0);
  DeleteDC(dc);

  ASSERT_TRUE(mFile.Exists());
  EXPECT_EQ(mFile.FileCount(), 1u);
  const PrintFile::Info info = mFile.ReadInfo();
  EXPECT_EQ(info.pages, 2);
  EXPECT_NEAR(info.widthInPoints, kA4WidthInPoints, kPointTolerance);
  EXPECT_NEAR(info.heightInPoints, kA4HeightInPoints, kPointTolerance);
  vpl::test::PrintedPage page = mFile.Rasterise(2, 30);
  ASSERT_GT(page.width, 0);
  EXPECT_TRUE(page.Shows(page.width / 4, page.height / 4, kInkRgb));
  EXPECT_TRUE(page.Shows(page.width * 3 / 4, page.height * 3 / 4, kWhiteRgb));
}

TEST_F(PrintTest, AnAbortedOrAbandonedDocumentLeavesNoFile) {
  DefaultPrinter printer;
  HDC aborted = StartDocument(printer);
  ASSERT_GT(StartPage(aborted), 0);
  EXPECT_GT(AbortDoc(aborted), 0);
  EXPECT_EQ(EndDoc(aborted), SP_ERROR);
  DeleteDC(aborted);
  HDC abandoned = StartDocument(printer);
  DeleteDC(abandoned);
  EXPECT_EQ(mFile.FileCount(), 0u);
}

TEST_F(PrintTest, StepsOutOfOrderFail) {
  DefaultPrinter printer;
  HDC dc = printer.CreateDC();
  EXPECT_EQ(StartPage(dc), SP_ERROR);  // no document
  EXPECT_EQ(EndDoc(dc), SP_ERROR);
  DOCINFOA document{};
  document.cbSize = sizeof document;
  ASSERT_GT(StartDocA(dc, &document), 0);
  EXPECT_EQ(StartDocA(dc, &document), SP_ERROR);
  EXPECT_EQ(EndPage(dc), SP_ERROR);  // no page
  ASSERT_GT(StartPage(dc), 0);
  EXPECT_EQ(StartPage(dc), SP_ERROR);
  EXPECT_EQ(EndDoc(dc), SP_ERROR);  // a page still open
  HDC memory = CreateCompatibleDC(nullptr);
  EXPECT_EQ(StartDocA(memory, &document), SP_ERROR);
  DeleteDC(memory);
  AbortDoc(dc);
  DeleteDC(dc);
}

TEST_F(PrintTest, DrawingOutsideAPageReachesNothing) {
  DefaultPrinter printer;
  HDC dc = StartDocument(printer);
  DrawBox(dc, RECT{0, 0, 100, 100});
  EXPECT_TRUE(TextOutA(dc, 10, 10, "Lost", 4));
  ASSERT_GT(StartPage(dc), 0);
  ASSERT_GT(EndPage(dc), 0);
  ASSERT_GT(EndDoc(dc), 0);
  DeleteDC(dc);
  const vpl::test::PrintedPage page = mFile.Rasterise(1, kTestDpi);
  ASSERT_GT(page.width, 0);
  EXPECT_TRUE(page.Shows(50, 50, kWhiteRgb));
}

TEST_F(PrintTest, BitmapsAreNotSelectedIntoAPrinter) {
  DefaultPrinter printer;
  HDC dc = printer.CreateDC();
  BITMAPINFO info{};
  info.bmiHeader = BITMAPINFOHEADER{.biSize = sizeof(BITMAPINFOHEADER),
                                    .biWidth = 4,
                                    .biHeight = 4,
                                    .biPlanes = 1,
                                    .biBitCount = 32};
  void* bits = nullptr;
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  EXPECT_EQ(SelectObject(dc, bitmap), nullptr);
  DeleteObject(bitmap);
  DeleteDC(dc);
}

TEST_F(PrintTest, SettingsChoosePaperOrientationAndOfferedResolution) {
  vpl::platform::SetPrinterResolutions({POINT{150, 150}, POINT{kTestDpi, kTestDpi}});
  DefaultPrinter printer;
  DEVMODEA mode = printer.mode;
  mode.dmPaperWidth = 2159;  // letter
  mode.dmPaperLength = 2794;
  mode.dmOrientation = DMORIENT_LANDSCAPE;
  mode.dmPrintQuality = mode.dmYResolution = kTestDpi;
  HDC dc = CreateDCA(nullptr, printer.device.c_str(), printer.output.c_str(), &mode);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 75);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 825);
  EXPECT_EQ(GetDeviceCaps(dc, PHYSICALHEIGHT), 637);
  DeleteDC(dc);
  mode.dmPrintQuality = mode.dmYResolution = 600;  // not offered: the printer's own
  dc = CreateDCA(nullptr, printer.device.c_str(), printer.output.c_str(), &mode);
  EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSX), 150);
  DeleteDC(dc);
  mode.dmPaperWidth = 20000;  // two metres
  EXPECT_EQ(CreateDCA(nullptr, printer.device.c_str(), printer.output.c_str(), &mode), nullptr);
}

}  // namespace
