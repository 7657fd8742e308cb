#pragma once
// Printing: the default printer, its resolutions, its device contexts and
// documents of pages. A printer's device context draws with our GDI on a
// page of pixels at the printer's resolution; each finished page becomes a
// page of a PDF document, which EndDoc hands to CUPS or, when the printer
// is the print file, writes to that file.
//
// The default printer is the print file when VPL3D_PRINT_FILE names one
// (a host path), else the default destination of CUPS. Under VPL3D_TEST
// CUPS is never asked, so a test without a print file has no printer.
// The print file's printer has A4 paper with margins of 5 mm; every printer
// prints at 300 dots per inch.
//
// A printer's device coordinates are measured from the paper's top-left
// corner: the printable area lies PHYSICALOFFSETX and PHYSICALOFFSETY
// inside it and is HORZRES by VERTRES pixels.

#include "platform/win32/gdi.h"

// ---- Printer settings -------------------------------------------------------

constexpr DWORD DM_ORIENTATION = 0x00000001;
constexpr DWORD DM_PAPERLENGTH = 0x00000004;
constexpr DWORD DM_PAPERWIDTH = 0x00000008;
constexpr DWORD DM_PRINTQUALITY = 0x00000400;
constexpr DWORD DM_YRESOLUTION = 0x00002000;

constexpr short DMORIENT_PORTRAIT = 1;
constexpr short DMORIENT_LANDSCAPE = 2;

// A printer's settings are those of DEVMODEA (user.h): dmFields names the
// members that are set. The paper is dmPaperWidth by dmPaperLength tenths
// of a millimetre, held upright; landscape turns it. dmPrintQuality is the
// horizontal resolution, dmYResolution the vertical one.

// Offsets in characters from the start of the record to the driver, device
// and output names that follow it.
struct DEVNAMES {
  WORD wDriverOffset;
  WORD wDeviceOffset;
  WORD wOutputOffset;
  WORD wDefault;
};
constexpr WORD DN_DEFAULTPRN = 0x0001;

// ---- The print dialog -------------------------------------------------------

constexpr DWORD PD_RETURNDEFAULT = 0x00000400;

struct PRINTDLGA {
  DWORD lStructSize;  // sizeof(PRINTDLGA)
  HWND hwndOwner;
  HGLOBAL hDevMode;
  HGLOBAL hDevNames;
  HDC hDC;
  DWORD Flags;
  WORD nFromPage;
  WORD nToPage;
  WORD nMinPage;
  WORD nMaxPage;
  WORD nCopies;
  HINSTANCE hInstance;
  LPARAM lCustData;
};

// No dialog is ever shown: with PD_RETURNDEFAULT (and no DEVMODE or
// DEVNAMES passed in) the default printer's settings and names are returned
// in new global blocks that the caller frees. Fails without a default
// printer, without PD_RETURNDEFAULT, or for a record of another size.
BOOL PrintDlgA(PRINTDLGA* dialog);

// ---- Printers ---------------------------------------------------------------

constexpr WORD DC_ENUMRESOLUTIONS = 13;

// DC_ENUMRESOLUTIONS: the resolutions the printer offers, as pairs of LONG
// (horizontal, vertical) written to output unless it is null; answers how
// many. -1 for an unknown printer or another capability.
int DeviceCapabilitiesA(LPCSTR device, LPCSTR port, WORD capability, LPSTR output,
                        const DEVMODEA* devMode);

// A device context of the named printer (device and output as the DEVNAMES
// give them), with the paper, orientation and resolution of devMode where
// it sets them; a resolution the printer does not offer is not used. Null
// for an unknown printer, or a paper outside 1 cm to 1.2 m on either side.
HDC CreateDCA(LPCSTR driver, LPCSTR device, LPCSTR output, const DEVMODEA* devMode);

// The page of a printer's device context (GetDeviceCaps): the paper in
// device pixels and the corner of the printable area on it.
constexpr int PHYSICALWIDTH = 110;
constexpr int PHYSICALHEIGHT = 111;
constexpr int PHYSICALOFFSETX = 112;
constexpr int PHYSICALOFFSETY = 113;

// ---- Documents --------------------------------------------------------------

constexpr int SP_ERROR = -1;

// Only the document's name is used: it becomes the title of the job.
struct DOCINFOA {
  int cbSize;
  LPCSTR lpszDocName;
  LPCSTR lpszOutput;
  LPCSTR lpszDatatype;
  DWORD fwType;
};

// All answer SP_ERROR on failure (a device context that is not a printer's,
// a step out of order). StartDocA answers the job's number; the others a
// positive value. Drawing outside a page reaches nothing. EndDoc completes
// the document and sends it to the printer or the print file (written to a
// temporary name and renamed into place); AbortDoc discards it, as does
// deleting the device context with a document open.
int StartDocA(HDC dc, const DOCINFOA* document);
int StartPage(HDC dc);
int EndPage(HDC dc);
int EndDoc(HDC dc);
int AbortDoc(HDC dc);
