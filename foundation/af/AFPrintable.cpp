#include "foundation/af/AFPrintable.h"

#include "foundation/af/AFPrintSessionBase.h"

#include <cstring>

bool AFPrintableBox::Draw(AFPrintSessionBase& session) {
  HDC dc = session.GetDC();
  HBRUSH brush = CreateSolidBrush(mColor.ToColorRef());
  SelectObject(dc, brush);
  PatBlt(dc, mRect.mLeft, mRect.mTop, mRect.GetWidth(), mRect.GetHeight(), PATCOPY);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  DeleteObject(brush);
  return true;
}

bool AFPrintableFrame::Draw(AFPrintSessionBase& session) {
  HDC dc = session.GetDC();
  HPEN pen = CreatePen(PS_INSIDEFRAME, mPenWidth, mColor.ToColorRef());
  SelectObject(dc, pen);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, mRect.mLeft, mRect.mTop, mRect.mRight, mRect.mBottom);
  SelectObject(dc, GetStockObject(NULL_BRUSH));
  SelectObject(dc, GetStockObject(NULL_PEN));
  DeleteObject(pen);
  return true;
}

AFPrintableText::AFPrintableText(const UUPoint& point, const char* text, const char* faceName,
                                 int32_t height, const AFColor& color)
    : mPoint(point), mColor(color) {
  std::strncpy(mText, text, kTextSize - 1);
  LOGFONTA font{};
  font.lfHeight = -height;
  font.lfOutPrecision = OUT_TT_PRECIS;
  font.lfQuality = PROOF_QUALITY;
  std::strncpy(font.lfFaceName, faceName, LF_FACESIZE - 1);
  mFont = CreateFontIndirectA(&font);
}

AFPrintableText::~AFPrintableText() {
  if (mFont != nullptr) DeleteObject(mFont);
}

bool AFPrintableText::Draw(AFPrintSessionBase& session) {
  HDC dc = session.GetDC();
  SelectObject(dc, mFont);
  SetTextColor(dc, mColor.ToColorRef());
  SetTextAlign(dc, TA_BASELINE);
  TextOutA(dc, mPoint.mX, mPoint.mY, mText, static_cast<int>(std::strlen(mText)));
  SelectObject(dc, GetStockObject(DEVICE_DEFAULT_FONT));
  return true;
}
