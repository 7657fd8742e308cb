// CUPS destinations: their names and default media, and printing a file.
#include "platform/win32/Printer.h"

#include <cups/cups.h>

namespace vpl::platform {

namespace {

constexpr int kHundredthsPerTenth = 10;

// The destination's default media: its size and the margins it cannot
// print on, which CUPS gives in hundredths of a millimetre.
void ReadDefaultMedia(cups_dest_t* destination, PrinterPaper& paper) {
  cups_dinfo_t* info = cupsCopyDestInfo(CUPS_HTTP_DEFAULT, destination);
  if (info == nullptr) return;
  cups_size_t size{};
  if (cupsGetDestMediaDefault(CUPS_HTTP_DEFAULT, destination, info, 0, &size) != 0 &&
      size.width > 0 && size.length > 0) {
    paper.width = size.width / kHundredthsPerTenth;
    paper.length = size.length / kHundredthsPerTenth;
    paper.margins = RECT{size.left / kHundredthsPerTenth, size.top / kHundredthsPerTenth,
                         size.right / kHundredthsPerTenth, size.bottom / kHundredthsPerTenth};
  }
  cupsFreeDestInfo(info);
}

}  // namespace

std::optional<Printer> FindCupsPrinter(const char* name) {
  cups_dest_t* destination = cupsGetNamedDest(CUPS_HTTP_DEFAULT, name, nullptr);
  if (destination == nullptr) return std::nullopt;
  Printer printer{.device = destination->name};
  ReadDefaultMedia(destination, printer.paper);
  cupsFreeDests(1, destination);
  return printer;
}

bool SubmitToCups(const std::string& device, const std::string& pdfPath, const std::string& title) {
  return cupsPrintFile(device.c_str(), pdfPath.c_str(), title.c_str(), 0, nullptr) > 0;
}

}  // namespace vpl::platform
