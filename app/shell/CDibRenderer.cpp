// CDib::DrawInto: the bitmap scaled into a drawing surface by averaging the
// source pixels each destination pixel covers, with brightness and contrast
// applied, dithered when the surface is 8-bit.
#include "app/shell/CDib.h"
#include "app/shell/MMFloydSteinberg.h"
#include "app/shell/MMInversePalette.h"
#include "mm/drawing/MMDrawingSurface.h"

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace {

struct Span {
  int32_t mFirst;
  int32_t mLast;
};

// Which source pixels each destination pixel covers: enlarging, the one
// under its centre; shrinking, those from the end of the previous span on.
std::vector<Span> SpanTable(int32_t source, int32_t destination) {
  std::vector<Span> spans(static_cast<size_t>(destination));
  int32_t previousEnd = -1;
  for (int32_t i = 0; i < destination; ++i) {
    const int64_t s = source, d = destination;
    Span& span = spans[static_cast<size_t>(i)];
    if (source < destination) {
      span.mFirst = span.mLast = static_cast<int32_t>((2 * i + 1) * s / (2 * d));
    } else {
      span.mFirst = previousEnd + 1;
      span.mLast = static_cast<int32_t>(((i + 1) * s - s / 2) / d);
    }
    span.mFirst = std::clamp(span.mFirst, 0, source - 1);
    span.mLast = std::clamp(span.mLast, span.mFirst, source - 1);
    previousEnd = span.mLast;
  }
  return spans;
}

// Brightness moves every channel by -128 to +128, contrast scales it.
class Adjustment {
 public:
  Adjustment(int32_t brightness, int32_t contrast)
      : mOffset(static_cast<int>(std::lround(brightness * 256.0 / 100)) - 128),
        mFactor(contrast == 1   ? 1.0
                : contrast < 50 ? (contrast + 50) / 100.0
                                : 2.0 * contrast / 100) {}

  bool Neutral() const { return mOffset == 0 && mFactor == 1.0; }
  uint8_t Apply(int v) const {
    return static_cast<uint8_t>(std::clamp(static_cast<int>(v * mFactor) + mOffset, 0, 255));
  }

 private:
  int mOffset;
  double mFactor;
};

class Renderer {
 public:
  Renderer(const CDib& dib, const UURect& rect)
      : mDib(dib),
        mRect(rect),
        mAdjustment(dib.GetBrightness(), dib.GetContrast()),
        mColumns(SpanTable(dib.GetWidth(), rect.GetWidth())),
        mRows(SpanTable(dib.GetHeight(), rect.GetHeight())),
        mSourceRow(static_cast<size_t>(dib.GetUnpackedRowLength())),
        mSourceBgr(static_cast<size_t>(dib.GetWidth()) * 3),
        mRow(static_cast<size_t>(rect.GetWidth()) * 3) {}

  bool Draw(MMDrawingSurface& surface) {
    if (!ReadPalette()) return false;
    MMBitmap bitmap;
    if (!surface.GetImageDescription(bitmap) || bitmap.mPixels == nullptr) return false;
    PrepareDither(surface, bitmap);
    for (int32_t j = 0; j < mRect.GetHeight(); ++j) {
      const int32_t y = mRect.mTop + j;
      if (y < bitmap.mRect.mTop || y >= bitmap.mRect.mBottom) continue;
      if (!AverageRow(mRows[static_cast<size_t>(j)])) return false;
      WriteRow(bitmap, y);
    }
    return true;
  }

 private:
  // Up to 8 bits the colour table, adjusted once.
  bool ReadPalette() {
    if (mDib.GetBitsPerPixel() > 8) return true;
    unsigned char table[1024] = {};
    if (!mDib.GetColorTable(table)) return false;
    for (size_t k = 0; k < 1024; ++k) mPalette[k] = Adjust(table[k]);
    return true;
  }

  uint8_t Adjust(uint8_t v) const { return mAdjustment.Neutral() ? v : mAdjustment.Apply(v); }

  void PrepareDither(MMDrawingSurface& surface, const MMBitmap& bitmap) {
    if (bitmap.mFormat != kMMFormat8) return;
    MMPalette palette;
    for (int i = 0; i < 256; ++i) {
      const AFPaletteEntry& e = surface.GetPalette().mEntries[i];
      palette.mEntries[i] = MMPaletteEntry{e.mBlue, e.mGreen, e.mRed, 0};
    }
    mInverse.emplace(palette, int16_t{-1}, nullptr, 0);
    mDither.emplace(mRect.GetWidth(), &*mInverse, int16_t{-1}, int16_t{-1});
    mIndexes.resize(static_cast<size_t>(mRect.GetWidth()));
  }

  // The source row y from the top as blue, green, red; the last one read
  // is kept.
  bool FetchRow(int32_t y) {
    if (y == mFetched) return true;
    if (!mDib.GetRow(y, mSourceRow.data())) return false;
    mFetched = y;
    if (mDib.GetBitsPerPixel() > 8) {
      std::copy(mSourceRow.begin(), mSourceRow.end(), mSourceBgr.begin());
      return true;
    }
    for (size_t x = 0; x < mSourceRow.size(); ++x) {
      std::copy_n(mPalette + 4 * mSourceRow[x], 3,
                  mSourceBgr.begin() + static_cast<ptrdiff_t>(3 * x));
    }
    return true;
  }

  bool AverageRow(const Span& rows) {
    std::vector<uint32_t> sums(mRow.size(), 0);
    std::vector<uint32_t> counts(static_cast<size_t>(mRect.GetWidth()), 0);
    for (int32_t y = rows.mFirst; y <= rows.mLast; ++y) {
      if (!FetchRow(y)) return false;
      for (size_t i = 0; i < mColumns.size(); ++i) {
        for (int32_t x = mColumns[i].mFirst; x <= mColumns[i].mLast; ++x) {
          for (size_t c = 0; c < 3; ++c)
            sums[3 * i + c] += mSourceBgr[3 * static_cast<size_t>(x) + c];
          ++counts[i];
        }
      }
    }
    const bool adjustRow = mDib.GetBitsPerPixel() > 8;
    for (size_t k = 0; k < mRow.size(); ++k) {
      const uint32_t count = counts[k / 3];
      const auto value = static_cast<uint8_t>((sums[k] + count / 2) / count);
      mRow[k] = adjustRow ? Adjust(value) : value;
    }
    return true;
  }

  void WriteRow(const MMBitmap& bitmap, int32_t y) {
    const int32_t first = std::max(mRect.mLeft, bitmap.mRect.mLeft);
    const int32_t end = std::min(mRect.mRight, bitmap.mRect.mRight);
    if (mDither) mDither->DitherRowBgr(mRow.data(), mIndexes.data(), mRect.GetWidth());
    for (int32_t x = first; x < end; ++x) {
      const auto i = static_cast<size_t>(x - mRect.mLeft);
      uint8_t* pixel = bitmap.GetPixelAddress(x, y);
      if (bitmap.mFormat == kMMFormat8) {
        *pixel = mIndexes[i];
      } else {
        std::copy_n(mRow.begin() + static_cast<ptrdiff_t>(3 * i), 3, pixel);
        if (bitmap.mFormat == kMMFormat32) pixel[3] = 0;
      }
    }
  }

  const CDib& mDib;
  UURect mRect;
  Adjustment mAdjustment;
  std::vector<Span> mColumns;
  std::vector<Span> mRows;
  uint8_t mPalette[1024] = {};
  std::vector<unsigned char> mSourceRow;
  std::vector<uint8_t> mSourceBgr;
  std::vector<uint8_t> mRow;  // the destination row, blue, green, red
  int32_t mFetched = -1;
  std::optional<MMInversePalette> mInverse;
  std::optional<MMFloydSteinberg> mDither;
  std::vector<uint8_t> mIndexes;
};

// The surface's origin is (0, 0) while the bitmap is drawn, and is then
// put back.
class OriginAtZero {
 public:
  explicit OriginAtZero(MMDrawingSurface& surface)
      : mSurface(surface), mOrigin(surface.GetRect().GetTopLeft()) {
    mSurface.SetOrigin(0, 0);
  }
  ~OriginAtZero() { mSurface.SetOrigin(mOrigin.mX, mOrigin.mY); }
  OriginAtZero(const OriginAtZero&) = delete;
  OriginAtZero& operator=(const OriginAtZero&) = delete;

 private:
  MMDrawingSurface& mSurface;
  UUPoint mOrigin;
};

}  // namespace

bool CDib::DrawInto(MMDrawingSurface& surface, const UURect& rect) const {
  // An empty bitmap or rectangle would divide by zero: nothing is drawn.
  if (mWidth < 1 || mHeight < 1 || rect.IsEmpty()) return false;
  OriginAtZero origin(surface);
  return Renderer(*this, rect).Draw(surface);
}
