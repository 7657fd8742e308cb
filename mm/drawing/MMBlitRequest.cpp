#include "mm/drawing/MMBlitRequest.h"

#include "mm/drawing/win/WinMMProcessor.h"

void MMBlitRequest::Run() {
  const bool mmx = MMBlitRoutinesUseMMX();
  if (mmx) WinMMBeginMMX();
  mSource->WalkRows(*this, mSpanRoutine);
  if (mmx) WinMMEndMMX();
}

void MMBlitRequest::SetAxis(int32_t sourceStart, int32_t sourceExtent, int32_t destinationStart,
                            int32_t destinationExtent, int32_t clipStart, bool exactWhenEqual,
                            int32_t& start, int32_t& step) {
  if (exactWhenEqual && sourceExtent == destinationExtent) {
    step = 0x10000;
    start = static_cast<int32_t>(
        (static_cast<int64_t>(sourceStart) + clipStart - destinationStart) * 65536);
    return;
  }
  step = static_cast<int32_t>(static_cast<int64_t>(sourceExtent) * 65536 / destinationExtent);
  start = static_cast<int32_t>(static_cast<int64_t>(clipStart - destinationStart) * step +
                               step / 2 + static_cast<int64_t>(sourceStart) * 65536);
}

bool MMBitmapBlitRequest::Prepare(MMImageDescription* source, const MMBitmap& destination,
                                  const UURect& rect) {
  return PrepareAxes(source, destination, source->mRect, rect, true);
}

bool MMBitmapBlitRequest::PrepareRect(MMImageDescription* source, const MMBitmap& destination,
                                      const UURect& sourceRect, const UURect& rect) {
  return PrepareAxes(source, destination, sourceRect, rect, false);
}

bool MMBitmapBlitRequest::PrepareAxes(MMImageDescription* source, const MMBitmap& destination,
                                      const UURect& sourceRect, const UURect& rect,
                                      bool exactWhenEqual) {
  mReady = false;
  UURect clip = rect;
  clip.Intersect(destination.mRect);
  if (clip.IsEmpty()) return false;
  mSource = source;
  mDestination = destination.GetSubBitmap(clip);
  SetAxis(sourceRect.mTop, sourceRect.GetHeight(), rect.mTop, rect.GetHeight(), clip.mTop,
          exactWhenEqual, mSourceY, mYStep);
  SetAxis(sourceRect.mLeft, sourceRect.GetWidth(), rect.mLeft, rect.GetWidth(), clip.mLeft,
          exactWhenEqual, mSourceX, mXStep);
  mWidth = static_cast<int16_t>(clip.GetWidth());
  mReady = ChooseSpanRoutine(destination.mFormat);
  return mReady;
}

bool MMBitmapBlitRequest::Execute() {
  if (!mReady) return false;
  Run();
  return true;
}
