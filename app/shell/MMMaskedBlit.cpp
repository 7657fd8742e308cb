#include "app/shell/MMMaskedBlit.h"

#include "app/shell/MMProductTable.h"

#include <algorithm>

namespace {

// A zero span widens by one pixel, to the left at the source's far edge.
void Widen(int32_t& low, int32_t& high, int32_t limit) {
  if (high != low) return;
  if (high < limit) {
    ++high;
  } else {
    --low;
  }
}

}  // namespace

MMMaskedBlit::MMMaskedBlit(const MMBitmap& source, const MMPalette& palette, const MMBitmap& mask,
                           bool mirrorX, bool mirrorY)
    : mSource(source), mPalette(palette), mMask(mask), mMirrorX(mirrorX), mMirrorY(mirrorY) {}

bool MMMaskedBlit::Draw(MMDrawingSurface& surface, const UURect& destination) {
  MMBitmap target;
  const bool usable = mSource.mBitsPerPixel == 8 && mMask.mBitsPerPixel == 8 &&
                      mSource.mPixels != nullptr && mMask.mPixels != nullptr &&
                      mMask.mRect == mSource.mRect && !mSource.mRect.IsEmpty() &&
                      !destination.IsEmpty() && surface.GetImageDescription(target) &&
                      target.mBitsPerPixel == 32 && target.mPixels != nullptr;
  if (!usable) return false;
  const UURect clipped = UURectIntersectionOf(destination, target.mRect);
  if (clipped.IsEmpty()) return false;
  Compose(target, clipped, MapSource(destination, clipped));
  return true;
}

UURect MMMaskedBlit::MapSource(const UURect& destination, const UURect& clipped) const {
  const UURect& source = mSource.mRect;
  UURect mapped;
  if (destination.GetSize() == source.GetSize()) {
    mapped =
        clipped.OffsetBy(UUPoint{source.mLeft - destination.mLeft, source.mTop - destination.mTop});
  } else {
    const double scale =
        std::min(static_cast<double>(source.GetWidth()) / destination.GetWidth(),
                 static_cast<double>(source.GetHeight()) / destination.GetHeight());
    const auto map = [scale](int32_t origin, int32_t edge, int32_t destinationOrigin) {
      return static_cast<int16_t>(origin + scale * (edge - destinationOrigin));
    };
    mapped = UURect(map(source.mLeft, clipped.mLeft, destination.mLeft),
                    map(source.mTop, clipped.mTop, destination.mTop),
                    map(source.mLeft, clipped.mRight, destination.mLeft),
                    map(source.mTop, clipped.mBottom, destination.mTop));
    Widen(mapped.mLeft, mapped.mRight, source.mRight);
    Widen(mapped.mTop, mapped.mBottom, source.mBottom);
  }
  if (mMirrorX) {
    mapped = UURect(source.mLeft + source.mRight - mapped.mRight, mapped.mTop,
                    source.mLeft + source.mRight - mapped.mLeft, mapped.mBottom);
  }
  if (mMirrorY) {
    mapped = UURect(mapped.mLeft, source.mTop + source.mBottom - mapped.mBottom, mapped.mRight,
                    source.mTop + source.mBottom - mapped.mTop);
  }
  mapped.Intersect(source);
  return mapped;
}

// Steps through the mapped source in 16.16 fixed point (one whole pixel a
// step at equal sizes), backwards along a mirrored axis: one routine serves
// the plain, scaled and mirrored variants alike.
void MMMaskedBlit::Compose(const MMBitmap& target, const UURect& clipped,
                           const UURect& mapped) const {
  if (mapped.IsEmpty()) return;
  const int64_t stepX = (int64_t{mapped.GetWidth()} << 16) / clipped.GetWidth();
  const int64_t stepY = (int64_t{mapped.GetHeight()} << 16) / clipped.GetHeight();
  for (int32_t j = 0; j < clipped.GetHeight(); ++j) {
    const auto along = static_cast<int32_t>((j * stepY) >> 16);
    const int32_t sy = mMirrorY ? mapped.mBottom - 1 - along : mapped.mTop + along;
    for (int32_t i = 0; i < clipped.GetWidth(); ++i) {
      const auto across = static_cast<int32_t>((i * stepX) >> 16);
      const int32_t sx = mMirrorX ? mapped.mRight - 1 - across : mapped.mLeft + across;
      const MMPaletteEntry& c = mPalette.mEntries[*mSource.GetPixelAddress(sx, sy)];
      const uint8_t m = *mMask.GetPixelAddress(sx, sy);
      uint8_t* d = target.GetPixelAddress(clipped.mLeft + i, clipped.mTop + j);
      d[0] = MMBlendChannel(c.mBlue, d[0], m);
      d[1] = MMBlendChannel(c.mGreen, d[1], m);
      d[2] = MMBlendChannel(c.mRed, d[2], m);
      d[3] = 0;
    }
  }
}
