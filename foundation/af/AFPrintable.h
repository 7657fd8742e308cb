#pragma once
// The items a print session draws on a page, in the printer's device
// pixels: a filled box, a frame, a line of text.

#include "foundation/af/AFPalette.h"
#include "foundation/uu/UUPoint.h"
#include "foundation/uu/UURect.h"
#include "platform/win32/gdi.h"

#include <cstdint>

class AFPrintSessionBase;

class AFPrintable {
 public:
  AFPrintable() = default;
  virtual ~AFPrintable() = default;
  AFPrintable(const AFPrintable&) = delete;
  AFPrintable& operator=(const AFPrintable&) = delete;

  // Draws into the session's device context; answers success.
  virtual bool Draw(AFPrintSessionBase& session) = 0;
  bool Print(AFPrintSessionBase& session) { return Draw(session); }
};

class AFPrintableBox : public AFPrintable {
 public:
  AFPrintableBox(const UURect& rect, const AFColor& color) : mRect(rect), mColor(color) {}
  bool Draw(AFPrintSessionBase& session) override;

 private:
  UURect mRect;
  AFColor mColor;
};

// The pen lies inside the rectangle.
class AFPrintableFrame : public AFPrintable {
 public:
  AFPrintableFrame(const UURect& rect, const AFColor& color, int16_t penWidth)
      : mRect(rect), mColor(color), mPenWidth(penWidth) {}
  bool Draw(AFPrintSessionBase& session) override;

 private:
  UURect mRect;
  AFColor mColor;
  int16_t mPenWidth;
};

// A line of text whose baseline starts at the point, in a font of the face
// (at most 31 characters) whose characters are height pixels high.
class AFPrintableText : public AFPrintable {
 public:
  static constexpr int kTextSize = 256;

  AFPrintableText(const UUPoint& point, const char* text, const char* faceName, int32_t height,
                  const AFColor& color);
  ~AFPrintableText() override;
  bool Draw(AFPrintSessionBase& session) override;

 private:
  UUPoint mPoint;
  char mText[kTextSize] = {};
  AFColor mColor;
  HFONT mFont = nullptr;
};
