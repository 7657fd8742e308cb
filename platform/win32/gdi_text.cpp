// Fonts and text: creating fonts, drawing text and measuring it.
#include "platform/win32/GdiFontFace.h"
#include "platform/win32/GdiObjects.h"
#include "platform/win32/GdiRaster.h"

#include <cstring>
#include <mutex>

using namespace vpl::platform;

namespace {

// The selected font's face, opened at its first use.
std::shared_ptr<GdiFontFace> FaceOf(const GdiDC& dc) {
  static std::mutex mutex;
  std::lock_guard lock(mutex);
  GdiFont& font = *dc.mFont;
  if (!font.mFace) font.mFace = GdiFontFace::Open(font.mLogFont);
  return font.mFace;
}

// Runs the action with a live device context and its face.
template <typename Action>
BOOL WithFace(HDC handle, Action action) {
  return WithDC(handle, FALSE, [&](GdiDC& dc) {
    auto face = FaceOf(dc);
    if (!face) return FALSE;
    return action(dc, *face);
  });
}

void DrawGlyph(const GdiCanvas& canvas, const GdiFontFace::Glyph& glyph, int32_t penX,
               int32_t baseline, COLORREF color) {
  const int32_t left = penX + glyph.left, top = baseline - glyph.top;
  for (int32_t y = 0; y < glyph.rows; ++y) {
    const uint8_t* row = &glyph.coverage[static_cast<size_t>(y) * static_cast<size_t>(glyph.width)];

    for (int32_t x = 0; x < glyph.width; ++x) BlendPixel(canvas, left + x, top + y, color, row[x]);
  }
}

// The text's left end and baseline for the alignment, logical coordinates.
POINT TextOrigin(UINT align, POINT reference, int32_t width, const TEXTMETRICA& metrics) {
  POINT origin = reference;
  if ((align & TA_CENTER) == TA_CENTER) {
    origin.x -= width / 2;
  } else if (align & TA_RIGHT) {
    origin.x -= width;
  }
  if ((align & TA_BASELINE) == TA_BASELINE) return origin;
  origin.y += (align & TA_BOTTOM) ? -metrics.tmDescent : metrics.tmAscent;
  return origin;
}

void DrawTextRun(GdiDC& dc, GdiFontFace& face, POINT origin, const uint8_t* text, int32_t length,
                 int32_t width) {
  GdiCanvas canvas = dc.Canvas();
  const TEXTMETRICA& m = face.Metrics();
  const int32_t x = origin.x + canvas.offset.x, baseline = origin.y + canvas.offset.y;
  if (dc.mBkMode == OPAQUE) {
    FillPixelRect(canvas, RECT{x, baseline - m.tmAscent, x + width, baseline + m.tmDescent},
                  EncodeColor(canvas.pixels, dc.ResolveColor(dc.mBkColor)));
  }
  const COLORREF color = dc.ResolveColor(dc.mTextColor);
  int32_t penX = x;
  for (int32_t i = 0; i < length; ++i) {
    const GdiFontFace::Glyph& glyph = face.GlyphOf(text[i]);
    DrawGlyph(canvas, glyph, penX, baseline, color);
    penX += glyph.advance;
  }
  if (face.Underlined()) {
    const int32_t thickness = std::max<LONG>(1, m.tmHeight / 16);
    FillPixelRect(canvas, RECT{x, baseline + 1, x + width, baseline + 1 + thickness},
                  EncodeColor(canvas.pixels, color));
  }
}

}  // namespace

HFONT CreateFontIndirectA(const LOGFONTA* font) {
  if (font == nullptr || strnlen(font->lfFaceName, LF_FACESIZE) == LF_FACESIZE) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return nullptr;
  }
  auto object = std::make_shared<GdiFont>();
  object->mLogFont = *font;
  return reinterpret_cast<HFONT>(RegisterGdiObject(std::move(object)));
}

BOOL TextOutA(HDC handle, int x, int y, LPCSTR text, int length) {
  if (length < 0 || (text == nullptr && length > 0)) return FALSE;
  return WithFace(handle, [&](GdiDC& dc, GdiFontFace& face) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text);
    const int32_t width = face.TextWidth(bytes, length);
    const bool update = (dc.mTextAlign & TA_UPDATECP) != 0;
    const POINT reference = update ? dc.mPosition : POINT{x, y};
    DrawTextRun(dc, face, TextOrigin(dc.mTextAlign, reference, width, face.Metrics()), bytes,
                length, width);
    if (update && (dc.mTextAlign & TA_CENTER) != TA_CENTER) {
      dc.mPosition.x += (dc.mTextAlign & TA_RIGHT) ? -width : width;
    }
    return TRUE;
  });
}

BOOL GetTextExtentPoint32A(HDC handle, LPCSTR text, int length, LPSIZE size) {
  if (size == nullptr || length < 0 || (text == nullptr && length > 0)) return FALSE;
  return WithFace(handle, [&](GdiDC&, GdiFontFace& face) {
    size->cx = face.TextWidth(reinterpret_cast<const uint8_t*>(text), length);
    size->cy = face.Metrics().tmHeight;
    return TRUE;
  });
}

BOOL GetTextMetricsA(HDC handle, TEXTMETRICA* metrics) {
  if (metrics == nullptr) return FALSE;
  return WithFace(handle, [&](GdiDC&, GdiFontFace& face) {
    *metrics = face.Metrics();
    return TRUE;
  });
}

BOOL GetCharWidthA(HDC handle, UINT first, UINT last, int* widths) {
  if (widths == nullptr || first > last || last > 0xFF) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return WithFace(handle, [&](GdiDC&, GdiFontFace& face) {
    for (UINT c = first; c <= last; ++c) *widths++ = face.GlyphOf(static_cast<uint8_t>(c)).advance;
    return TRUE;
  });
}

BOOL GetCharABCWidthsA(HDC handle, UINT first, UINT last, ABC* widths) {
  if (widths == nullptr || first > last || last > 0xFF) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return FALSE;
  }
  return WithFace(handle, [&](GdiDC&, GdiFontFace& face) {
    for (UINT c = first; c <= last; ++c) {
      const GdiFontFace::Glyph& glyph = face.GlyphOf(static_cast<uint8_t>(c));
      ABC& abc = *widths++;
      // A glyph with no ink (a space) is all advance.
      abc.abcA = glyph.width > 0 ? glyph.left : 0;
      abc.abcB = static_cast<UINT>(glyph.width > 0 ? glyph.width : glyph.advance);
      abc.abcC = glyph.advance - abc.abcA - static_cast<int>(abc.abcB);
    }
    return TRUE;
  });
}
