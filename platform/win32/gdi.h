#pragma once
// GDI: device contexts, bitmaps, pens, brushes, fonts, palettes and the
// drawing calls the system makes, answered by a software renderer over memory
// pixels. Text is drawn with FreeType; faces are found with fontconfig, and a
// face that is missing falls back to DejaVu Sans. The display is a true-colour
// device. DrawDib is part of this family here: it copies like StretchDIBits.

#include "platform/win32/user.h"

// ---- Handles and basic types ------------------------------------------------

// Any GDI object handle converts to HGDIOBJ, as the system passes them.
using HGDIOBJ = void*;
using HBITMAP = struct HBITMAP__*;
using HPEN = struct HPEN__*;
using HBRUSH = struct HBRUSH__*;
using HFONT = struct HFONT__*;
using HPALETTE = struct HPALETTE__*;
using HRGN = struct HRGN__*;
using HDRAWDIB = struct HDRAWDIB__*;
using COLORREF = DWORD;

constexpr COLORREF RGB(BYTE red, BYTE green, BYTE blue) {
  return static_cast<COLORREF>(red | (green << 8) | (blue << 16));
}
// A colour named by its index in the device context's selected palette.
constexpr COLORREF PALETTEINDEX(WORD index) { return 0x01000000u | index; }
constexpr BYTE GetRValue(COLORREF color) { return static_cast<BYTE>(color); }
constexpr BYTE GetGValue(COLORREF color) { return static_cast<BYTE>(color >> 8); }
constexpr BYTE GetBValue(COLORREF color) { return static_cast<BYTE>(color >> 16); }

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

// ---- Device contexts --------------------------------------------------------

// A memory device context with no bitmap of its own: drawing reaches pixels
// once a DIB section is selected into it. The argument is ignored.
HDC CreateCompatibleDC(HDC reference);
// Fails for a device context handed out by a window (those go back through
// ReleaseDC).
BOOL DeleteDC(HDC dc);
// Selects a bitmap, pen, brush or font and answers the one it replaces; a
// region becomes the clip (answering the region kind). Null on failure. A
// bitmap can be selected in one device context at a time.
HGDIOBJ SelectObject(HDC dc, HGDIOBJ object);
// Fails while the object is selected in a device context; stock objects
// are never deleted.
BOOL DeleteObject(HGDIOBJ object);

constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int SYSTEM_FONT = 13;
constexpr int DEVICE_DEFAULT_FONT = 14;
constexpr int DEFAULT_PALETTE = 15;
constexpr int DEFAULT_GUI_FONT = 17;  // the small sans-serif font of dialogs and controls
HGDIOBJ GetStockObject(int index);

// Logical coordinates are device coordinates moved by the window origin.
BOOL SetWindowOrgEx(HDC dc, int x, int y, LPPOINT previous);
BOOL GetWindowOrgEx(HDC dc, LPPOINT origin);

constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
// Answer the previous value, 0 (or CLR_INVALID for colours) on failure.
int SetBkMode(HDC dc, int mode);
COLORREF SetBkColor(HDC dc, COLORREF color);
COLORREF SetTextColor(HDC dc, COLORREF color);

constexpr UINT TA_NOUPDATECP = 0;
constexpr UINT TA_UPDATECP = 1;
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;
constexpr UINT GDI_ERROR = 0xFFFFFFFF;
// Answers the previous alignment, GDI_ERROR on failure.
UINT SetTextAlign(HDC dc, UINT align);
UINT GetTextAlign(HDC dc);

BOOL MoveToEx(HDC dc, int x, int y, LPPOINT previous);
BOOL GetCurrentPositionEx(HDC dc, LPPOINT position);

constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int BITSPIXEL = 12;
constexpr int PLANES = 14;
constexpr int NUMCOLORS = 24;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int SIZEPALETTE = 104;
constexpr int RASTERCAPS = 38;
constexpr int RC_BITBLT = 1;
constexpr int RC_PALETTE = 0x0100;
constexpr int RC_DIBTODEV = 0x0200;
constexpr int RC_STRETCHBLT = 0x0800;
constexpr int RC_STRETCHDIB = 0x2000;
// The display: the desktop's size, 32 bits per pixel, no palette, 96 dots
// per inch. A printer answers its own (print.h).
int GetDeviceCaps(HDC dc, int index);

// Drawing is never batched: every call is finished when it returns.
BOOL GdiFlush();
DWORD GdiSetBatchLimit(DWORD limit);

// ---- Regions (rectangles only) ----------------------------------------------

constexpr int ERROR = 0;
constexpr int NULLREGION = 1;
constexpr int SIMPLEREGION = 2;
HRGN CreateRectRgn(int left, int top, int right, int bottom);
// Device coordinates; a null region removes the clip. Answers the kind of
// the resulting clip, ERROR on failure.
int SelectClipRgn(HDC dc, HRGN region);

// ---- Bitmaps ----------------------------------------------------------------

constexpr DWORD BI_RGB = 0;
constexpr DWORD BI_RLE8 = 1;
constexpr DWORD BI_RLE4 = 2;
constexpr DWORD BI_BITFIELDS = 3;
constexpr UINT DIB_RGB_COLORS = 0;
constexpr UINT DIB_PAL_COLORS = 1;

struct RGBQUAD {
  BYTE rgbBlue;
  BYTE rgbGreen;
  BYTE rgbRed;
  BYTE rgbReserved;
};

struct BITMAPINFOHEADER {
  DWORD biSize;
  LONG biWidth;
  LONG biHeight;  // positive: rows stored bottom-up
  WORD biPlanes;
  WORD biBitCount;
  DWORD biCompression;
  DWORD biSizeImage;
  LONG biXPelsPerMeter;
  LONG biYPelsPerMeter;
  DWORD biClrUsed;
  DWORD biClrImportant;
};

// For BI_BITFIELDS the three colour masks follow a 40-byte header in
// bmiColors; the colour table follows the header, whatever its size.
struct BITMAPINFO {
  BITMAPINFOHEADER bmiHeader;
  RGBQUAD bmiColors[1];
};

struct BITMAP {
  LONG bmType;
  LONG bmWidth;
  LONG bmHeight;
  LONG bmWidthBytes;
  WORD bmPlanes;
  WORD bmBitsPixel;
  LPVOID bmBits;
};

struct DIBSECTION {
  BITMAP dsBm;
  BITMAPINFOHEADER dsBmih;
  DWORD dsBitfields[3];
  HANDLE dshSection;
  DWORD dsOffset;
};

// Device-independent bitmaps of 1, 4 and 8 bits with a colour table (after
// the header; biClrUsed entries, 0 = all), 16 bits as 5-5-5 (BI_RGB) or
// 5-6-5 (BI_BITFIELDS 0xF800, 0x07E0, 0x001F), 24 and 32 bits; rows are
// DWORD-aligned, bottom-up for a positive height. The header may be the
// 12-byte core header (three-byte colours) or a 40- to 124-byte one.
// BI_RLE8 and BI_RLE4 rows, bottom-up only, are read no further than
// biSizeImage bytes; uncompressed rows must all be there.
//
// A section takes any uncompressed kind; its pixels are zeroed. 1- and
// 4-bit sections are set through SetDIBits and read through their bits, not
// drawn on. Section handles and DIB_PAL_COLORS are not supported.
HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset);
// Sets the bitmap's rows from the DIB (every kind above), converting
// colours, scan line 0 being the bottom row of both; start must be 0.
// Answers the number of scan lines set, 0 on failure.
int SetDIBits(HDC dc, HBITMAP bitmap, UINT start, UINT lines, const void* bits,
              const BITMAPINFO* info, UINT usage);
// Copies into the colour table of the 8-bit DIB section selected in the
// device context; answers the number of entries set.
UINT SetDIBColorTable(HDC dc, UINT start, UINT count, const RGBQUAD* colors);
UINT GetDIBColorTable(HDC dc, UINT start, UINT count, RGBQUAD* colors);
// For a bitmap its BITMAP, or its DIBSECTION when the buffer holds one; for
// a font its LOGFONTA; for a palette its entry count (a WORD). Answers the
// bytes written, 0 on failure or for other objects.
int GetObjectA(HGDIOBJ object, int size, LPVOID buffer);

// ---- Blits ------------------------------------------------------------------

constexpr DWORD SRCCOPY = 0x00CC0020;
constexpr DWORD PATCOPY = 0x00F00021;
constexpr DWORD DSTINVERT = 0x00550009;
constexpr DWORD BLACKNESS = 0x00000042;
constexpr DWORD WHITENESS = 0x00FF0062;

// Colours are converted between formats through red, green and blue; 8-bit
// pixels map to the nearest entry of the destination's colour table. The
// raster operations above are honoured; any other fails.
BOOL BitBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
            int sourceY, DWORD rop);
// Nearest-pixel scaling; a negative width or height on either side mirrors.
BOOL StretchBlt(HDC destination, int x, int y, int width, int height, HDC source, int sourceX,
                int sourceY, int sourceWidth, int sourceHeight, DWORD rop);
// The source rectangle of a bottom-up DIB is measured from its bottom row.
// Answers the number of scan lines drawn, 0 on failure.
int StretchDIBits(HDC dc, int x, int y, int width, int height, int sourceX, int sourceY,
                  int sourceWidth, int sourceHeight, const void* bits, const BITMAPINFO* info,
                  UINT usage, DWORD rop);
// PATCOPY fills with the selected brush (a null brush draws nothing).
BOOL PatBlt(HDC dc, int x, int y, int width, int height, DWORD rop);
// Moves the pixels of the scroll rectangle (within the clip rectangle) and
// reports in update the bounds of what the move uncovered.
BOOL ScrollDC(HDC dc, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN updateRegion,
              LPRECT update);

// ---- Pens, brushes and shapes -----------------------------------------------

constexpr int PS_SOLID = 0;
constexpr int PS_NULL = 5;
constexpr int PS_INSIDEFRAME = 6;  // solid; shapes keep a wide outline inside
// Width 0 or 1 is one pixel; wider pens are round.
HPEN CreatePen(int style, int width, COLORREF color);
HBRUSH CreateSolidBrush(COLORREF color);

// Lines leave out their last pixel, as the current position moves on.
BOOL LineTo(HDC dc, int x, int y);
BOOL Polyline(HDC dc, const POINT* points, int count);
// Filled with the brush and outlined with the pen; the right and bottom
// edges are outside.
BOOL Rectangle(HDC dc, int left, int top, int right, int bottom);
BOOL Ellipse(HDC dc, int left, int top, int right, int bottom);
// Filled with the alternate (even-odd) rule.
BOOL Polygon(HDC dc, const POINT* points, int count);
BOOL PolyPolygon(HDC dc, const POINT* points, const int* counts, int polygonCount);
int FillRect(HDC dc, const RECT* rect, HBRUSH brush);
BOOL SetPixelV(HDC dc, int x, int y, COLORREF color);
COLORREF GetPixel(HDC dc, int x, int y);

// ---- Palettes ---------------------------------------------------------------

constexpr BYTE PC_EXPLICIT = 0x02;
constexpr BYTE PC_NOCOLLAPSE = 0x04;

struct PALETTEENTRY {
  BYTE peRed;
  BYTE peGreen;
  BYTE peBlue;
  BYTE peFlags;
};
using LPPALETTEENTRY = PALETTEENTRY*;

struct LOGPALETTE {
  WORD palVersion;
  WORD palNumEntries;
  PALETTEENTRY palPalEntry[1];
};

// palNumEntries entries follow the header (1 to 256).
HPALETTE CreatePalette(const LOGPALETTE* palette);
// Answers the palette it replaces; PALETTEINDEX colours name its entries.
HPALETTE SelectPalette(HDC dc, HPALETTE palette, BOOL forceBackground);
// The display has no hardware palette: answers the number of entries of
// the selected palette, GDI_ERROR on failure.
UINT RealizePalette(HDC dc);
UINT GetPaletteEntries(HPALETTE palette, UINT start, UINT count, LPPALETTEENTRY entries);
UINT GetNearestPaletteIndex(HPALETTE palette, COLORREF color);
// The display's 256-entry system palette: the twenty static colours at 0 to
// 9 and 246 to 255; entries 10 to 245 are those of the palettes realised,
// each at its own index, the last realisation winning (PC_EXPLICIT entries
// and the stock palette change nothing). Null entries answer the size; 0 on
// failure.
UINT GetSystemPaletteEntries(HDC dc, UINT start, UINT count, LPPALETTEENTRY entries);

// ---- Fonts and text ---------------------------------------------------------

constexpr int LF_FACESIZE = 32;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE OUT_TT_PRECIS = 4;
constexpr BYTE PROOF_QUALITY = 2;

struct LOGFONTA {
  LONG lfHeight;  // negative: character height; positive: cell height
  LONG lfWidth;
  LONG lfEscapement;
  LONG lfOrientation;
  LONG lfWeight;
  BYTE lfItalic;
  BYTE lfUnderline;
  BYTE lfStrikeOut;
  BYTE lfCharSet;
  BYTE lfOutPrecision;
  BYTE lfClipPrecision;
  BYTE lfQuality;
  BYTE lfPitchAndFamily;
  char lfFaceName[LF_FACESIZE];
};

struct TEXTMETRICA {
  LONG tmHeight;
  LONG tmAscent;
  LONG tmDescent;
  LONG tmInternalLeading;
  LONG tmExternalLeading;
  LONG tmAveCharWidth;
  LONG tmMaxCharWidth;
  LONG tmWeight;
  LONG tmOverhang;
  LONG tmDigitizedAspectX;
  LONG tmDigitizedAspectY;
  BYTE tmFirstChar;
  BYTE tmLastChar;
  BYTE tmDefaultChar;
  BYTE tmBreakChar;
  BYTE tmItalic;
  BYTE tmUnderlined;
  BYTE tmStruckOut;
  BYTE tmPitchAndFamily;
  BYTE tmCharSet;
};

struct ABC {
  int abcA;
  UINT abcB;
  int abcC;
};

// The face is matched with fontconfig; a face name it does not know falls
// back to DejaVu Sans. Fails for a null record or a face name without its
// terminator.
HFONT CreateFontIndirectA(const LOGFONTA* font);
// Texts are Windows-1252 bytes. TextOutA honours the alignment (left,
// centre, right; top, baseline, bottom), TA_UPDATECP, the background mode
// and underlining; glyphs are blended into the pixels with their coverage.
BOOL TextOutA(HDC dc, int x, int y, LPCSTR text, int length);
BOOL GetTextExtentPoint32A(HDC dc, LPCSTR text, int length, LPSIZE size);
BOOL GetTextMetricsA(HDC dc, TEXTMETRICA* metrics);
// Advance widths of the characters first to last.
BOOL GetCharWidthA(HDC dc, UINT first, UINT last, int* widths);
BOOL GetCharABCWidthsA(HDC dc, UINT first, UINT last, ABC* widths);

// ---- DrawDib ----------------------------------------------------------------

HDRAWDIB DrawDibOpen();
BOOL DrawDibClose(HDRAWDIB drawDib);
// Kept for the drawing calls' sake; the display needs no mapping.
BOOL DrawDibSetPalette(HDRAWDIB drawDib, HPALETTE palette);
// StretchDIBits of the source rectangle (a width of -1 takes the DIB's
// size) into the destination rectangle.
BOOL DrawDibDraw(HDRAWDIB drawDib, HDC dc, int x, int y, int width, int height,
                 BITMAPINFOHEADER* header, LPVOID bits, int sourceX, int sourceY, int sourceWidth,
                 int sourceHeight, UINT flags);
