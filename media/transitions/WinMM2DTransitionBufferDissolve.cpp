#include "media/transitions/WinMM2DTransitionBufferDissolve.h"

#include "media/transitions/MMPixelSequencer.h"
#include "mm/drawing/MMBitmap.h"
#include "mm/drawing/MMControlSurface.h"
#include "mm/drawing/MMDrawingSurface.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"

#include <cstring>
#include <memory>

namespace {

// What the window shows of the rectangle, in a buffer over the back
// surface's area with its depth and palette; null when it cannot be made.
std::unique_ptr<WinMMOffscreenSurface> MakeBuffer(MMControlSurface* front, MMDrawingSurface* back,
                                                  const UURect& rect) {
  const int32_t format = back->GetPixelFormat();
  if (format != kMMFormat8 && format != kMMFormat32) return nullptr;
  std::unique_ptr<WinMMOffscreenSurface> buffer(WinMMCreateOffscreenSurface(
      format == kMMFormat8 ? 8 : 32, back->GetRect(), back->GetPalette()));
  if (buffer == nullptr) return nullptr;
  buffer->BeginDraw();
  const BOOL copied = BitBlt(buffer->GetDC(), rect.mLeft, rect.mTop, rect.GetWidth(),
                             rect.GetHeight(), front->GetDC(), rect.mLeft, rect.mTop, SRCCOPY);
  buffer->EndDraw();
  if (!copied) return nullptr;
  return buffer;
}

}  // namespace

bool WinMM2DTransitionBufferDissolve::PlayEffect(const UURect& rect) {
  std::unique_ptr<WinMMOffscreenSurface> buffer =
      MakeBuffer(GetFrontSurface(), GetBackSurface(), rect);
  MMBitmap source;
  MMBitmap target;
  if (buffer == nullptr || !GetBackSurface()->GetImageDescription(source) ||
      !buffer->GetImageDescription(target)) {
    return false;
  }
  UURect area = rect;
  area.Intersect(source.mRect);
  if (area.IsEmpty()) return false;
  const auto bytes = static_cast<size_t>(source.mBitsPerPixel / 8);
  const auto write = [&](UUPoint cell) {
    const int32_t x = area.mLeft + cell.mX;
    const int32_t y = area.mTop + cell.mY;
    std::memcpy(target.GetPixelAddress(x, y), source.GetPixelAddress(x, y), bytes);
  };
  const int32_t pixels = area.GetWidth() * area.GetHeight();
  const int32_t every =
      1 << MMPixelSequencer::Bits(static_cast<uint32_t>(pixels / mRefreshDivisor));
  MMPixelSequencer sequencer;
  sequencer.Init(area.GetWidth(), area.GetHeight());
  for (int32_t done = 1; !sequencer.IsDone(); ++done) {
    write(sequencer.Next());
    if (done % every != 0) continue;
    if (!WaitForStep(done, pixels)) return false;
    GetFrontSurface()->CopyFrom(*buffer, area);
  }
  write(UUPoint{0, 0});
  GetFrontSurface()->CopyFrom(*buffer, area);
  return true;
}
