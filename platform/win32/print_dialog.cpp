// The print dialog's default printer, the printers' resolutions and their
// device contexts.
#include "platform/win32/Printer.h"

#include <algorithm>
#include <cstring>

using namespace vpl::platform;

namespace {

constexpr char kDriverName[] = "winspool";
constexpr WORD kDevModeVersion = 0x0401;
constexpr int32_t kSmallestPaper = 100;   // tenths of a millimetre
constexpr int32_t kLargestPaper = 12000;  // tenths of a millimetre
constexpr int32_t kLargestPagePixels = 32767;

// Copies the record into a new global block; null when there is no memory.
HGLOBAL NewGlobalBlock(const void* bytes, size_t size) {
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, size);
  if (block == nullptr) return nullptr;
  std::memcpy(GlobalLock(block), bytes, size);
  GlobalUnlock(block);
  return block;
}

HGLOBAL NewDevMode(const Printer& printer) {
  DEVMODEA mode{};
  const size_t nameLength = std::min(printer.device.size(), sizeof mode.dmDeviceName - 1);
  std::memcpy(mode.dmDeviceName, printer.device.data(), nameLength);
  mode.dmSpecVersion = kDevModeVersion;
  mode.dmSize = sizeof mode;
  mode.dmFields =
      DM_ORIENTATION | DM_PAPERLENGTH | DM_PAPERWIDTH | DM_PRINTQUALITY | DM_YRESOLUTION;
  mode.dmOrientation = DMORIENT_PORTRAIT;
  mode.dmPaperWidth = static_cast<short>(printer.paper.width);
  mode.dmPaperLength = static_cast<short>(printer.paper.length);
  const POINT resolution = DefaultPrinterResolution();
  mode.dmPrintQuality = static_cast<short>(resolution.x);
  mode.dmYResolution = static_cast<short>(resolution.y);
  return NewGlobalBlock(&mode, sizeof mode);
}

// The record followed by the driver, device and output names.
HGLOBAL NewDevNames(const Printer& printer) {
  std::string names(sizeof(DEVNAMES), '\0');
  DEVNAMES offsets{};
  offsets.wDefault = DN_DEFAULTPRN;
  for (auto [offset, name] : {std::pair{&offsets.wDriverOffset, std::string(kDriverName)},
                              std::pair{&offsets.wDeviceOffset, printer.device},
                              std::pair{&offsets.wOutputOffset, printer.output}}) {
    if (names.size() > UINT16_MAX) return nullptr;
    *offset = static_cast<WORD>(names.size());
    names += name;
    names += '\0';
  }
  std::memcpy(names.data(), &offsets, sizeof offsets);
  return NewGlobalBlock(names.data(), names.size());
}

bool Offers(POINT resolution) {
  const std::vector<POINT> offered = PrinterResolutions();
  return std::any_of(offered.begin(), offered.end(),
                     [&](const POINT& p) { return p.x == resolution.x && p.y == resolution.y; });
}

// The paper, orientation and resolution of the settings, applied to the
// printer's own; false for a paper no printer takes.
bool ApplyDevMode(const DEVMODEA& mode, PrinterPaper& paper, POINT& resolution, bool& landscape) {
  if ((mode.dmFields & DM_PAPERWIDTH) != 0) paper.width = mode.dmPaperWidth;
  if ((mode.dmFields & DM_PAPERLENGTH) != 0) paper.length = mode.dmPaperLength;
  if ((mode.dmFields & DM_ORIENTATION) != 0) landscape = mode.dmOrientation == DMORIENT_LANDSCAPE;
  if ((mode.dmFields & DM_PRINTQUALITY) != 0) {
    const LONG x = mode.dmPrintQuality;
    const POINT asked{x, (mode.dmFields & DM_YRESOLUTION) != 0 ? mode.dmYResolution : x};
    if (Offers(asked)) resolution = asked;
  }
  return std::clamp(paper.width, kSmallestPaper, kLargestPaper) == paper.width &&
         std::clamp(paper.length, kSmallestPaper, kLargestPaper) == paper.length;
}

bool FitsDevice(const PrinterPage& page) {
  return page.width >= 1 && page.height >= 1 && page.width <= kLargestPagePixels &&
         page.height <= kLargestPagePixels;
}

}  // namespace

BOOL PrintDlgA(PRINTDLGA* dialog) {
  if (dialog == nullptr || dialog->lStructSize != sizeof(PRINTDLGA) ||
      (dialog->Flags & PD_RETURNDEFAULT) == 0 || dialog->hDevMode != nullptr ||
      dialog->hDevNames != nullptr) {
    return FALSE;
  }
  std::optional<Printer> printer = DefaultPrinter();
  if (!printer) return FALSE;
  HGLOBAL mode = NewDevMode(*printer);
  HGLOBAL names = NewDevNames(*printer);
  if (mode == nullptr || names == nullptr) {
    if (mode != nullptr) GlobalFree(mode);
    if (names != nullptr) GlobalFree(names);
    return FALSE;
  }
  dialog->hDevMode = mode;
  dialog->hDevNames = names;
  return TRUE;
}

int DeviceCapabilitiesA(LPCSTR device, LPCSTR port, WORD capability, LPSTR output,
                        const DEVMODEA*) {
  if (capability != DC_ENUMRESOLUTIONS || !FindPrinter(device, port)) return -1;
  const std::vector<POINT> offered = PrinterResolutions();
  if (output != nullptr) {
    for (const POINT& resolution : offered) {
      std::memcpy(output, &resolution.x, sizeof(LONG));
      std::memcpy(output + sizeof(LONG), &resolution.y, sizeof(LONG));
      output += 2 * sizeof(LONG);
    }
  }
  return static_cast<int>(offered.size());
}

HDC CreateDCA(LPCSTR, LPCSTR device, LPCSTR output, const DEVMODEA* devMode) {
  std::optional<Printer> printer = FindPrinter(device, output);
  if (!printer) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  PrinterPaper paper = printer->paper;
  POINT resolution = DefaultPrinterResolution();
  bool landscape = false;
  if (devMode != nullptr && !ApplyDevMode(*devMode, paper, resolution, landscape)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  const PrinterPage page = LayOutPage(paper, resolution, landscape);
  if (!FitsDevice(page)) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  return CreateDeviceDC(std::make_shared<PrinterDevice>(std::move(*printer), page));
}
