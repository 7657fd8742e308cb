// Documents on a printer's device context: pages of pixels gathered into a
// PDF document, which ends in the print file or as a CUPS job.
#include "platform/win32/PdfDocument.h"
#include "platform/win32/Printer.h"

#include <atomic>
#include <cstdlib>

namespace vpl::platform {

namespace {

constexpr int kBitsPerPixel = 24;
constexpr int kDone = 1;

std::string TemporaryDirectory() {
  const char* directory = std::getenv("TMPDIR");
  return directory != nullptr && *directory != '\0' ? directory : "/tmp";
}

// The finished document goes beside the print file under a temporary
// name, so that a failed job leaves the previous file as it was.
std::string DocumentTemplate(const Printer& printer) {
  if (printer.ToFile()) return printer.output + ".XXXXXX";
  return TemporaryDirectory() + "/vpl3d-print-XXXXXX";
}

int NextJobNumber() {
  static std::atomic<int> jobs{0};
  return ++jobs;
}

}  // namespace

PrinterDevice::PrinterDevice(Printer printer, const PrinterPage& page)
    : mPrinter(std::move(printer)), mPage(page) {}

PrinterDevice::~PrinterDevice() = default;

int PrinterDevice::DeviceCaps(int index) const {
  switch (index) {
    case HORZRES:
      return mPage.printable.right - mPage.printable.left;
    case VERTRES:
      return mPage.printable.bottom - mPage.printable.top;
    case PHYSICALWIDTH:
      return mPage.width;
    case PHYSICALHEIGHT:
      return mPage.height;
    case PHYSICALOFFSETX:
      return mPage.printable.left;
    case PHYSICALOFFSETY:
      return mPage.printable.top;
    case LOGPIXELSX:
      return mPage.resolution.x;
    case LOGPIXELSY:
      return mPage.resolution.y;
    case BITSPIXEL:
      return kBitsPerPixel;
    case PLANES:
      return 1;
    case NUMCOLORS:
      return -1;
    case RASTERCAPS:
      return RC_BITBLT | RC_DIBTODEV | RC_STRETCHBLT | RC_STRETCHDIB;
    default:
      return 0;
  }
}

GdiPixels PrinterDevice::Pixels() { return mPageOpen ? mPixels : GdiPixels{}; }

int PrinterDevice::StartDocument(const char* name) {
  if (mDocument) return SP_ERROR;
  mTitle = name != nullptr ? name : "";
  mDocument = PdfDocument::Create(DocumentTemplate(mPrinter), mTitle, mPage.width, mPage.height,
                                  mPage.resolution);
  return mDocument ? NextJobNumber() : SP_ERROR;
}

int PrinterDevice::StartPage() {
  if (!mDocument || mPageOpen) return SP_ERROR;
  mPixels = mDocument->BeginPage();
  mPageOpen = !mPixels.Empty();
  return mPageOpen ? kDone : SP_ERROR;
}

int PrinterDevice::EndPage() {
  if (!mPageOpen) return SP_ERROR;
  mPageOpen = false;
  return mDocument->EndPage() ? kDone : SP_ERROR;
}

int PrinterDevice::EndDocument() {
  if (!mDocument || mPageOpen) return SP_ERROR;
  std::unique_ptr<PdfDocument> document = std::move(mDocument);
  if (!document->Finish()) return SP_ERROR;
  const bool delivered = mPrinter.ToFile()
                             ? document->MoveTo(mPrinter.output)
                             : SubmitToCups(mPrinter.device, document->Path(), mTitle);
  return delivered ? kDone : SP_ERROR;
}

int PrinterDevice::AbortDocument() {
  if (!mDocument) return SP_ERROR;
  mDocument.reset();
  mPageOpen = false;
  return kDone;
}

}  // namespace vpl::platform

using namespace vpl::platform;

namespace {

// Runs the action on the printer behind a live printer's device context;
// SP_ERROR otherwise.
template <typename Action>
int WithPrinter(HDC handle, Action action) {
  auto dc = LookUpGdi<GdiDC>(handle);
  auto printer = dc ? std::dynamic_pointer_cast<PrinterDevice>(dc->mDevice) : nullptr;
  if (!printer) {
    SetLastError(ERROR_INVALID_HANDLE);
    return SP_ERROR;
  }
  return action(*printer);
}

}  // namespace

int StartDocA(HDC dc, const DOCINFOA* document) {
  if (document == nullptr) return SP_ERROR;
  return WithPrinter(
      dc, [&](PrinterDevice& printer) { return printer.StartDocument(document->lpszDocName); });
}

int StartPage(HDC dc) {
  return WithPrinter(dc, [](PrinterDevice& printer) { return printer.StartPage(); });
}

int EndPage(HDC dc) {
  return WithPrinter(dc, [](PrinterDevice& printer) { return printer.EndPage(); });
}

int EndDoc(HDC dc) {
  return WithPrinter(dc, [](PrinterDevice& printer) { return printer.EndDocument(); });
}

int AbortDoc(HDC dc) {
  return WithPrinter(dc, [](PrinterDevice& printer) { return printer.AbortDocument(); });
}
