#include "media/transitions/WinMM2DTransitionRandomDissolve.h"

#include "media/transitions/MM2DTransitionOperations.h"
#include "media/transitions/MMPixelSequencer.h"
#include "mm/drawing/MMBitmap.h"
#include "mm/drawing/MMControlSurface.h"
#include "mm/drawing/MMDrawingSurface.h"

#include <functional>

namespace {

constexpr int32_t kCellsPerPace = 1000;

}  // namespace

bool WinMM2DTransitionRandomDissolve::PlayEffect(const UURect& rect) {
  // Partial cells at the right and bottom edges are clipped, so that the
  // whole rectangle is covered.
  const int32_t columns = (rect.GetWidth() + mCellWidth - 1) / mCellWidth;
  const int32_t rows = (rect.GetHeight() + mCellHeight - 1) / mCellHeight;
  const int32_t cells = columns * rows;
  MMBitmap back;
  const bool pixels = mCellWidth == 1 && mCellHeight == 1;
  if (pixels && (!GetBackSurface()->GetImageDescription(back) || back.mPixels == nullptr)) {
    return false;
  }
  std::function<void(UUPoint)> draw = [&](UUPoint at) {
    UURect cell;
    cell.FromPointAndSize(at, mCellWidth, mCellHeight);
    cell.Intersect(rect);
    CopyRect(cell);
  };
  if (pixels) {
    draw = [&](UUPoint at) {
      GetFrontSurface()->SetPixel(at.mX, at.mY, MMPixelColor(back, at.mX, at.mY));
    };
  }
  const auto origin = [&](UUPoint cell) {
    return UUPoint{rect.mLeft + cell.mX * mCellWidth, rect.mTop + cell.mY * mCellHeight};
  };
  MMPixelSequencer sequencer;
  sequencer.Init(columns, rows);
  const int32_t every = 1 << MMPixelSequencer::Bits(static_cast<uint32_t>(cells / kCellsPerPace));
  for (int32_t done = 1; !sequencer.IsDone(); ++done) {
    draw(origin(sequencer.Next()));
    if (done % every == 0 && !WaitForStep(done, cells)) return false;
  }
  draw(origin(UUPoint{0, 0}));
  return true;
}
