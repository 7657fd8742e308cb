#pragma once
// Internal to the platform layer: the printers print.h reaches (the print
// file and CUPS destinations), the page a device context prints on and the
// device behind a printer's device context.

#include "platform/win32/GdiObjects.h"
#include "platform/win32/print.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace vpl::platform {

class PdfDocument;

// A paper upright, with the margins the printer cannot print on; tenths of
// a millimetre.
struct PrinterPaper {
  int32_t width = 2100;
  int32_t length = 2970;
  RECT margins{50, 50, 50, 50};
};

struct Printer {
  std::string device;  // the name DEVNAMES and DEVMODE carry
  std::string output;  // the print file's host path, or empty for CUPS
  PrinterPaper paper;  // the printer's default paper

  bool ToFile() const { return !output.empty(); }
};

// The device name of the print file's printer.
inline constexpr char kPrintFileDevice[] = "Print file";

std::optional<Printer> DefaultPrinter();
// The printer of a device name and output, as the DEVNAMES give them.
std::optional<Printer> FindPrinter(const char* device, const char* output);
// The resolutions the printers offer (dots per inch), the default first,
// and the one they print at when no offered one is asked for.
std::vector<POINT> PrinterResolutions();
POINT DefaultPrinterResolution();

// CUPS: a destination by name (null: the default one), and handing a PDF
// file to one as a job of that title.
std::optional<Printer> FindCupsPrinter(const char* name);
bool SubmitToCups(const std::string& device, const std::string& pdfPath, const std::string& title);

// The page of a device context, in device pixels from the paper's corner.
struct PrinterPage {
  POINT resolution{};  // dots per inch
  int32_t width = 0;
  int32_t height = 0;
  RECT printable{};
};

// The paper, turned when landscape, at the resolution.
PrinterPage LayOutPage(const PrinterPaper& paper, POINT resolution, bool landscape);

// What a printer's device context draws on: one document at a time, made
// of pages of white pixels.
class PrinterDevice : public GdiDevice {
 public:
  PrinterDevice(Printer printer, const PrinterPage& page);
  ~PrinterDevice() override;

  int DeviceCaps(int index) const override;
  GdiPixels Pixels() override;

  int StartDocument(const char* name);
  int StartPage();
  int EndPage();
  int EndDocument();
  int AbortDocument();

 private:
  Printer mPrinter;
  PrinterPage mPage;
  std::string mTitle;
  std::unique_ptr<PdfDocument> mDocument;
  GdiPixels mPixels;  // of the open page
  bool mPageOpen = false;
};

}  // namespace vpl::platform
