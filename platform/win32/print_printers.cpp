// The printers: the print file when VPL3D_PRINT_FILE names one, else the
// destinations of CUPS (never asked under VPL3D_TEST); their resolutions
// and the pages they print on.
#include "platform/win32/Printer.h"
#include "platform/win32/testhooks.h"

#include <cstdlib>
#include <cstring>
#include <mutex>

namespace vpl::platform {

namespace {

constexpr LONG kPrinterDpi = 300;
constexpr int32_t kTenthsOfMillimetrePerInch = 254;

struct ResolutionList {
  std::mutex mutex;
  std::vector<POINT> resolutions{POINT{kPrinterDpi, kPrinterDpi}};
};

ResolutionList& Resolutions() {
  static ResolutionList list;
  return list;
}

bool CupsAllowed() { return std::getenv("VPL3D_TEST") == nullptr; }

int32_t ToPixels(int32_t tenths, LONG dpi) { return tenths * dpi / kTenthsOfMillimetrePerInch; }

}  // namespace

void SetPrinterResolutions(const std::vector<POINT>& resolutions) {
  std::lock_guard lock(Resolutions().mutex);
  Resolutions().resolutions = resolutions;
}

void ResetPrinterResolutions() { SetPrinterResolutions({POINT{kPrinterDpi, kPrinterDpi}}); }

std::vector<POINT> PrinterResolutions() {
  std::lock_guard lock(Resolutions().mutex);
  return Resolutions().resolutions;
}

POINT DefaultPrinterResolution() {
  std::vector<POINT> offered = PrinterResolutions();
  return offered.empty() ? POINT{kPrinterDpi, kPrinterDpi} : offered.front();
}

std::optional<Printer> DefaultPrinter() {
  const char* file = std::getenv("VPL3D_PRINT_FILE");
  if (file != nullptr && *file != '\0') return Printer{.device = kPrintFileDevice, .output = file};
  if (!CupsAllowed()) return std::nullopt;
  return FindCupsPrinter(nullptr);
}

std::optional<Printer> FindPrinter(const char* device, const char* output) {
  if (device == nullptr) return std::nullopt;
  if (std::strcmp(device, kPrintFileDevice) == 0) {
    if (output == nullptr || *output == '\0') return std::nullopt;
    return Printer{.device = kPrintFileDevice, .output = output};
  }
  if (!CupsAllowed()) return std::nullopt;
  return FindCupsPrinter(device);
}

PrinterPage LayOutPage(const PrinterPaper& paper, POINT resolution, bool landscape) {
  int32_t width = paper.width, length = paper.length;
  RECT margins = paper.margins;
  if (landscape) {
    // Turned a quarter to the left: the upright paper's top edge becomes
    // the left one.
    std::swap(width, length);
    margins =
        RECT{paper.margins.top, paper.margins.right, paper.margins.bottom, paper.margins.left};
  }
  PrinterPage page;
  page.resolution = resolution;
  page.width = ToPixels(width, resolution.x);
  page.height = ToPixels(length, resolution.y);
  page.printable = RECT{ToPixels(margins.left, resolution.x), ToPixels(margins.top, resolution.y),
                        page.width - ToPixels(margins.right, resolution.x),
                        page.height - ToPixels(margins.bottom, resolution.y)};
  return page;
}

}  // namespace vpl::platform
