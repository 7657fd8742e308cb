#include "mm/drawing/MMSystemFont.h"

#include "mm/drawing/MMSurface.h"

#include <cstring>

namespace {

int32_t LengthOf(const char* text, int32_t length) {
  return length != 0 ? length : static_cast<int32_t>(std::strlen(text));
}

}  // namespace

MMSystemFont::MMSystemFont(const char* faceName, int32_t pixelHeight, int32_t weight, bool italic,
                           bool underline) {
  LOGFONTA font{};
  font.lfHeight = -pixelHeight;
  font.lfWeight = weight;
  font.lfItalic = italic ? 1 : 0;
  font.lfUnderline = underline ? 1 : 0;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_TT_PRECIS;
  font.lfClipPrecision = 0;
  font.lfQuality = PROOF_QUALITY;
  font.lfPitchAndFamily = 0;
  std::strncpy(font.lfFaceName, faceName, LF_FACESIZE - 1);
  mFont = CreateFontIndirectA(&font);
}

MMSystemFont::MMSystemFont(HFONT font) : mFont(font) {}

MMSystemFont::~MMSystemFont() {
  if (mFont != nullptr) DeleteObject(mFont);
}

HDC MMSystemFont::SurfaceDC() const { return mSurface->GetDC(); }

void MMSystemFont::Select(MMSurface* surface) {
  mSurface = surface;
  HDC dc = SurfaceDC();
  SelectObject(dc, mFont);
  if (mMetricsRead) return;
  TEXTMETRICA metrics{};
  if (!GetTextMetricsA(dc, &metrics)) return;
  mCapHeight = metrics.tmAscent - metrics.tmInternalLeading;
  mAscent = metrics.tmAscent;
  mDescent = metrics.tmDescent;
  mLineSpacing = metrics.tmHeight + metrics.tmExternalLeading;
  mMetricsRead = true;
}

void MMSystemFont::Deselect() {
  SelectObject(SurfaceDC(), GetStockObject(DEVICE_DEFAULT_FONT));
  mSurface = nullptr;
}

int32_t MMSystemFont::GetTextWidth(const char* text, int32_t length) {
  length = LengthOf(text, length);
  if (length == 0) return 0;
  SIZE size{};
  GetTextExtentPoint32A(SurfaceDC(), text, length, &size);
  return size.cx;
}

int32_t MMSystemFont::GetCharPositions(int16_t* positions, const char* text, int32_t length) {
  length = LengthOf(text, length);
  int widths[256] = {};
  GetCharWidthA(SurfaceDC(), 0, 255, widths);
  positions[0] = 0;
  for (int32_t i = 0; i < length; ++i) {
    positions[i + 1] = static_cast<int16_t>(positions[i] + widths[static_cast<uint8_t>(text[i])]);
  }
  return length;
}

int32_t MMSystemFont::Overhang(uint32_t character, bool left) const {
  ABC abc{};
  if (!GetCharABCWidthsA(SurfaceDC(), character, character, &abc)) return 0;
  const int width = left ? abc.abcA : abc.abcC;
  return width < 0 ? -width : 0;
}

int32_t MMSystemFont::GetLeftOverhang(const char* text) {
  const auto first = static_cast<uint8_t>(text[0]);
  uint32_t character = first;
  if (IsDBCSLeadByte(first) && text[1] != '\0')
    character = first * 256u + static_cast<uint8_t>(text[1]);
  return Overhang(character, true);
}

int32_t MMSystemFont::GetRightOverhang(uint32_t character) { return Overhang(character, false); }

void MMSystemFont::MoveTo(int32_t x, int32_t y) { MoveToEx(SurfaceDC(), x, y, nullptr); }

UUPoint MMSystemFont::GetPosition() {
  POINT point{};
  GetCurrentPositionEx(SurfaceDC(), &point);
  return UUPoint{point.x, point.y};
}

void MMSystemFont::DrawText(const AFColor& color, const char* text, int32_t length) {
  HDC dc = SurfaceDC();
  SetTextColor(dc, color.ToColorRef());
  TextOutA(dc, 0, 0, text, LengthOf(text, length));
}
