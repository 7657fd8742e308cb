#include "mm/drawing/MMSurface.h"

#include "foundation/uu/UUString.h"
#include "mm/drawing/MMFont.h"

#include <cstring>
#include <vector>

namespace {

// factor = reference - alignment, applied as extent x factor / 2.
int32_t Factor(int32_t alignment, int32_t reference) { return reference - alignment; }

RECT ToRECT(const UURect& r) { return RECT{r.mLeft, r.mTop, r.mRight, r.mBottom}; }

std::vector<POINT> ToPOINTs(const UUPoint* points, int32_t count) {
  std::vector<POINT> result;
  for (int32_t i = 0; i < count; ++i) result.push_back(POINT{points[i].mX, points[i].mY});
  return result;
}

}  // namespace

void MMSurface::Detach() {
  if (mDC == nullptr) return;
  SelectPalette(mDC, static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE)), FALSE);
  if (mOwnedPalette != nullptr) DeleteObject(mOwnedPalette);
  mOwnedPalette = nullptr;
}

void MMSurface::SelectOwnedPalette(HPALETTE palette) {
  HPALETTE previous = SelectPalette(mDC, palette, FALSE);
  // A palette someone else selected is theirs to delete.
  if (previous != nullptr && previous == mOwnedPalette) DeleteObject(previous);
  mOwnedPalette = palette;
}

bool MMSurface::LockBits(MMBitmap& bitmap) {
  MMBitmap whole;
  if (!GetImageDescription(whole)) return false;
  UURect area = GetRect();
  area.Intersect(mClipRect);
  bitmap = whole.GetSubBitmap(area);
  return !area.IsEmpty();
}

HDC MMSurface::GetDC() {
  ApplyClip();
  return mDC;
}

void MMSurface::ApplyClip() {
  if (!mClipPending) return;
  const UURect rect = GetRect();
  const bool clipped = rect.mLeft < mClipRect.mLeft || rect.mTop < mClipRect.mTop ||
                       rect.mRight > mClipRect.mRight || rect.mBottom > mClipRect.mBottom;
  if (clipped) {
    // Regions are in device coordinates: the surface's corner is (0, 0).
    const UURect device = mClipRect.OffsetBy(UUPoint{-rect.mLeft, -rect.mTop});
    HRGN region = CreateRectRgn(device.mLeft, device.mTop, device.mRight, device.mBottom);
    SelectClipRgn(mDC, region);
    DeleteObject(region);
  } else {
    SelectClipRgn(mDC, nullptr);
  }
  mClipPending = false;
}

void MMSurface::EndDraw() {
  if (mDrawingCount == 1) ReleaseDC();
  --mDrawingCount;
}

void MMSurface::SetClipRect(const UURect& rect) {
  mClipRect = rect;
  mClipPending = true;
}

void MMSurface::InitializeDC() {
  SetBkMode(mDC, TRANSPARENT);
  SetTextAlign(mDC, TA_BASELINE | TA_UPDATECP);
  SelectObject(mDC, GetStockObject(NULL_PEN));
  SelectObject(mDC, GetStockObject(NULL_BRUSH));
  SelectClipRgn(mDC, nullptr);
}

template <typename Draw>
void MMSurface::DrawOnDC(Draw draw) {
  BeginDraw();
  draw(GetDC());
  EndDraw();
}

template <typename Draw>
void MMSurface::DrawWithTool(HGDIOBJ tool, int nullTool, Draw draw) {
  DrawOnDC([&](HDC dc) {
    SelectObject(dc, tool);
    draw(dc);
    SelectObject(dc, GetStockObject(nullTool));
    DeleteObject(tool);
  });
}

template <typename Draw>
void MMSurface::DrawWithPen(const AFColor& color, int32_t width, Draw draw) {
  DrawWithTool(CreatePen(PS_SOLID, width, color.ToColorRef()), NULL_PEN, draw);
}

template <typename Draw>
void MMSurface::DrawWithBrush(const AFColor& color, Draw draw) {
  DrawWithTool(CreateSolidBrush(color.ToColorRef()), NULL_BRUSH, draw);
}

void MMSurface::SetPixel(int32_t x, int32_t y, const AFColor& color) {
  DrawOnDC([&](HDC dc) { SetPixelV(dc, x, y, color.ToColorRef()); });
}

void MMSurface::FillRect(const UURect& rect, const AFColor& color) {
  DrawWithBrush(color, [&](HDC dc) {
    PatBlt(dc, rect.mLeft, rect.mTop, rect.GetWidth(), rect.GetHeight(), PATCOPY);
  });
}

void MMSurface::FrameRect(const UURect& rect, const AFColor& color, int32_t penWidth) {
  DrawWithPen(color, penWidth,
              [&](HDC dc) { Rectangle(dc, rect.mLeft, rect.mTop, rect.mRight, rect.mBottom); });
}

void MMSurface::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const AFColor& color,
                         int32_t penWidth) {
  DrawWithPen(color, penWidth, [&](HDC dc) {
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
  });
}

void MMSurface::DrawPolyline(const UUPoint* points, int32_t count, const AFColor& color,
                             int32_t penWidth) {
  const std::vector<POINT> corners = ToPOINTs(points, count);
  DrawWithPen(color, penWidth, [&](HDC dc) { Polyline(dc, corners.data(), count); });
}

void MMSurface::FillPolygon(const UUPoint* points, int32_t count, const AFColor& color) {
  const std::vector<POINT> corners = ToPOINTs(points, count);
  DrawWithBrush(color, [&](HDC dc) { Polygon(dc, corners.data(), count); });
}

void MMSurface::FillPolyPolygon(const UUPoint* points, const int16_t* counts, int32_t polygonCount,
                                const AFColor& color) {
  if (polygonCount < 1) return;
  std::vector<int> widened(counts, counts + polygonCount);
  int32_t total = 0;
  for (int count : widened) total += count;
  const std::vector<POINT> corners = ToPOINTs(points, total);
  DrawWithBrush(color, [&](HDC dc) {
    if (polygonCount == 1) {
      Polygon(dc, corners.data(), widened[0]);
    } else {
      PolyPolygon(dc, corners.data(), widened.data(), polygonCount);
    }
  });
}

void MMSurface::FrameEllipse(const UURect& rect, const AFColor& color, int32_t penWidth) {
  DrawWithPen(color, penWidth,
              [&](HDC dc) { Ellipse(dc, rect.mLeft, rect.mTop, rect.mRight, rect.mBottom); });
}

void MMSurface::FillEllipse(const UURect& rect, const AFColor& color) {
  DrawWithBrush(color,
                [&](HDC dc) { Ellipse(dc, rect.mLeft, rect.mTop, rect.mRight, rect.mBottom); });
}

void MMSurface::FillBlack(const UURect& rect) {
  const RECT r = ToRECT(rect);
  DrawOnDC([&](HDC dc) { ::FillRect(dc, &r, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH))); });
}

UUPoint MMSurface::BeginStyledText(const char* text, int32_t x, int32_t y,
                                   const MMTextStyle& style) {
  BeginText(style.mFont);
  return UUPoint{AlignTextX(x, style.mHorizontalAlignment, 0, text, 0),
                 AlignTextY(y, style.mVerticalAlignment, 0)};
}

void MMSurface::DrawText(const char* text, int32_t x, int32_t y, const MMTextStyle& style) {
  const UUPoint origin = BeginStyledText(text, x, y, style);
  MoveTextTo(origin.mX, origin.mY);
  DrawTextRun(style.mColor, text, 0);
  EndText();
}

UURect MMSurface::GetTextBounds(const char* text, int32_t x, int32_t y, const MMTextStyle& style) {
  if (text == nullptr) return UURect(x, y, x, y);
  const UUPoint origin = BeginStyledText(text, x, y, style);
  int32_t left = origin.mX;
  int32_t right = left + GetTextWidth(text, 0);
  const size_t length = std::strlen(text);
  if (length > 0) {
    left -= GetTextLeftOverhang(text);
    const ptrdiff_t last = UUPreviousCharOffset(text, static_cast<ptrdiff_t>(length));
    uint32_t character = static_cast<uint8_t>(text[last]);
    if (static_cast<size_t>(last) + 2 == length)
      character = character * 256u + static_cast<uint8_t>(text[last + 1]);
    right += GetTextRightOverhang(character);
  }
  const UURect bounds(left, origin.mY - GetTextAscent(), right, origin.mY + GetTextDescent());
  EndText();
  return bounds;
}

void MMSurface::BeginText(MMFont* font) {
  BeginDraw();
  mTextFont = font;
  font->Select(this);
}

void MMSurface::EndText() {
  mTextFont->Deselect();
  mTextFont = nullptr;
  EndDraw();
}

int32_t MMSurface::GetTextCapHeight() const { return mTextFont->GetCapHeight(); }
int32_t MMSurface::GetTextAscent() const { return mTextFont->GetAscent(); }
int32_t MMSurface::GetTextDescent() const { return mTextFont->GetDescent(); }
int32_t MMSurface::GetLineSpacing() const { return mTextFont->GetLineSpacing(); }

int32_t MMSurface::GetTextWidth(const char* text, int32_t length) const {
  return mTextFont->GetTextWidth(text, length);
}

int32_t MMSurface::GetTextLeftOverhang(const char* text) const {
  return mTextFont->GetLeftOverhang(text);
}

int32_t MMSurface::GetTextRightOverhang(uint32_t character) const {
  return mTextFont->GetRightOverhang(character);
}

void MMSurface::MoveTextTo(int32_t x, int32_t y) { mTextFont->MoveTo(x, y); }
UUPoint MMSurface::GetTextPosition() const { return mTextFont->GetPosition(); }

void MMSurface::DrawTextRun(const AFColor& color, const char* text, int32_t length) {
  ApplyClip();
  mTextFont->DrawText(color, text, length);
}

int32_t MMSurface::AlignTextY(int32_t y, int32_t alignment, int32_t reference) const {
  return y - mTextFont->GetCapHeight() * Factor(alignment, reference) / 2;
}

int32_t MMSurface::AlignTextX(int32_t x, int32_t alignment, int32_t reference, const char* text,
                              int32_t length) const {
  const int32_t factor = Factor(alignment, reference);
  return factor == 0 ? x : x + mTextFont->GetTextWidth(text, length) * factor / 2;
}

int32_t MMSurface::AlignOffset(int32_t x, int32_t alignment, int32_t reference, int32_t extent) {
  return x + extent * Factor(alignment, reference) / 2;
}
