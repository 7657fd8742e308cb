#pragma once

#include "foundation/af/AFPalette.h"
#include "foundation/uu/UUPoint.h"
#include "foundation/uu/UURect.h"
#include "mm/drawing/MMBitmap.h"
#include "platform/win32/gdi.h"

#include <cstdint>

class MMFont;

// How a text is drawn: its font and colour, and where the given point lies
// on it: horizontally 0 its left end, 1 its centre, 2 its right end;
// vertically 0 on the baseline, 1 half the cap height above it, 2 at the
// top of the capitals.
struct MMTextStyle {
  MMFont* mFont = nullptr;
  AFColor mColor;
  int32_t mHorizontalAlignment = 0;
  int32_t mVerticalAlignment = 0;
};

// Something the framework draws on with GDI: a window or a picture in
// memory. Every drawing operation brackets itself with BeginDraw and
// EndDraw, which keep the device context valid across nested calls; a clip
// rectangle reaches the device context when it is next fetched.
class MMSurface {
 public:
  MMSurface() = default;
  virtual ~MMSurface() = default;
  MMSurface(const MMSurface&) = delete;
  MMSurface& operator=(const MMSurface&) = delete;

  // Before deletion: gives back the palette the surface selected.
  virtual void Detach();
  virtual UURect GetRect() const = 0;
  // 0 8-bit, 1 32-bit, 2 24-bit pixels; 3 a window on a true-colour display.
  virtual int32_t GetPixelFormat() const = 0;
  virtual bool GetImageDescription(MMBitmap& bitmap) const = 0;
  // The pixels inside the clip; false for a window or an empty area. They
  // stay valid while the surface lives.
  virtual bool LockBits(MMBitmap& bitmap);
  virtual int32_t ReservedQuery() { return 0; }
  // Applies a pending clip first.
  virtual HDC GetDC();
  virtual void ApplyClip();
  virtual void ReleaseDC() {}

  void BeginDraw() { ++mDrawingCount; }
  void EndDraw();
  void SetClipRect(const UURect& rect);
  const UURect& GetClipRect() const { return mClipRect; }
  // Transparent text background, text at the baseline and moving the
  // current position, null pen and brush, no clip region.
  void InitializeDC();

  void SetPixel(int32_t x, int32_t y, const AFColor& color);
  void FillRect(const UURect& rect, const AFColor& color);
  void FrameRect(const UURect& rect, const AFColor& color, int32_t penWidth);
  void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const AFColor& color,
                int32_t penWidth);
  void DrawPolyline(const UUPoint* points, int32_t count, const AFColor& color, int32_t penWidth);
  void FillPolygon(const UUPoint* points, int32_t count, const AFColor& color);
  // Any number of polygons, filled by the alternate rule.
  void FillPolyPolygon(const UUPoint* points, const int16_t* counts, int32_t polygonCount,
                       const AFColor& color);
  void FrameEllipse(const UURect& rect, const AFColor& color, int32_t penWidth);
  void FillEllipse(const UURect& rect, const AFColor& color);
  void FillBlack(const UURect& rect);

  void DrawText(const char* text, int32_t x, int32_t y, const MMTextStyle& style);
  UURect GetTextBounds(const char* text, int32_t x, int32_t y, const MMTextStyle& style);

  // Between BeginText and EndText the font stays selected and these forward
  // to it.
  void BeginText(MMFont* font);
  void EndText();
  int32_t GetTextCapHeight() const;
  int32_t GetTextAscent() const;
  int32_t GetTextDescent() const;
  int32_t GetLineSpacing() const;
  int32_t GetTextWidth(const char* text, int32_t length) const;
  int32_t GetTextLeftOverhang(const char* text) const;
  int32_t GetTextRightOverhang(uint32_t character) const;
  void MoveTextTo(int32_t x, int32_t y);
  UUPoint GetTextPosition() const;
  void DrawTextRun(const AFColor& color, const char* text, int32_t length);

  // A coordinate given for one alignment turned into the coordinate for
  // another (for example a centre into a left end).
  int32_t AlignTextY(int32_t y, int32_t alignment, int32_t reference) const;
  int32_t AlignTextX(int32_t x, int32_t alignment, int32_t reference, const char* text,
                     int32_t length) const;
  static int32_t AlignOffset(int32_t x, int32_t alignment, int32_t reference, int32_t extent);

 protected:
  // Selects and gives back the palette the surface made (it deletes only
  // palettes it made itself).
  void SelectOwnedPalette(HPALETTE palette);

  UURect mClipRect{-32768, -32768, 32767, 32767};
  bool mClipPending = false;
  MMFont* mTextFont = nullptr;
  HDC mDC = nullptr;
  int16_t mDrawingCount = 0;
  HPALETTE mOwnedPalette = nullptr;

 private:
  // One drawing call on the device context, between BeginDraw and EndDraw.
  template <typename Draw>
  void DrawOnDC(Draw draw);
  // Draws with a pen or brush made for the one call: selected for it, then
  // the null one of its kind put back and the tool deleted.
  template <typename Draw>
  void DrawWithTool(HGDIOBJ tool, int nullTool, Draw draw);
  template <typename Draw>
  void DrawWithPen(const AFColor& color, int32_t width, Draw draw);
  template <typename Draw>
  void DrawWithBrush(const AFColor& color, Draw draw);
  // BeginText with the style's font; answers where the text's left end and
  // baseline lie for the style's alignment.
  UUPoint BeginStyledText(const char* text, int32_t x, int32_t y, const MMTextStyle& style);
};
