#include "app/shell/MMGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

int32_t MMVectorLength(int32_t x, int32_t y) {
  const int64_t ax = std::llabs(x), ay = std::llabs(y);
  if (ax == 0 && ay == 0) return 0;
  const int64_t squares = ax * ax + ay * ay;
  int64_t r = std::max(ax, ay) + std::min(ax, ay) / 2;
  for (int step = 0; step < 3; ++step) r = (r + squares / r) / 2;
  return static_cast<int32_t>(r);
}

void MMVectorSetLength(UUPoint& vector, int32_t length) {
  const int64_t current = MMVectorLength(vector.mX, vector.mY);
  if (current == 0) return;
  vector.mX = static_cast<int32_t>(int64_t{length} * vector.mX / current);
  vector.mY = static_cast<int32_t>(int64_t{length} * vector.mY / current);
}

UUPoint MMPointRotateQuarter(UUPoint point, int32_t angle) {
  return UURect::TurnQuarter(point, angle);
}

namespace {

int32_t Round(double v) { return static_cast<int32_t>(std::floor(v + 0.5)); }

UURect AspectTarget(const UURect& source, const UURect& target) {
  const double sourceAspect = static_cast<double>(source.GetWidth()) / source.GetHeight();
  const double targetAspect = static_cast<double>(target.GetWidth()) / target.GetHeight();
  UUPoint size = target.GetSize();
  if (targetAspect > sourceAspect) {
    size.mX = Round(target.GetHeight() * sourceAspect);
  } else {
    size.mY = Round(target.GetWidth() / sourceAspect);
  }
  return target.CentreSize(size);
}

}  // namespace

MMRectMapping::MMRectMapping(const UURect& source, const UURect& target, bool keepAspect)
    : mSource(source), mTarget(target), mIdentity(source.IsEmpty() || target.IsEmpty()) {
  if (!mIdentity && keepAspect) mTarget = AspectTarget(source, target);
}

int32_t MMRectMapping::MapX(int32_t x) const {
  if (mIdentity) return x;
  return Round(static_cast<double>(x - mSource.mLeft) * mTarget.GetWidth() / mSource.GetWidth()) +
         mTarget.mLeft;
}

int32_t MMRectMapping::MapY(int32_t y) const {
  if (mIdentity) return y;
  return Round(static_cast<double>(y - mSource.mTop) * mTarget.GetHeight() / mSource.GetHeight()) +
         mTarget.mTop;
}

UUPoint MMRectMapping::MapPoint(UUPoint point) const {
  return UUPoint{MapX(point.mX), MapY(point.mY)};
}

UURect MMRectMapping::MapRect(const UURect& rect) const {
  return UURect(MapX(rect.mLeft), MapY(rect.mTop), MapX(rect.mRight), MapY(rect.mBottom));
}
