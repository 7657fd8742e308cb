#include "foundation/uu/UURect.h"

#include <algorithm>

double UURect::FitScale(const UURect& other) const {
  const double halfWidth = GetWidth() / 2.0;
  const double halfHeight = GetHeight() / 2.0;
  const double centreX = mLeft + halfWidth;
  const double centreY = mTop + halfHeight;
  double scale = 1.0;
  // Each side of the other limits the half extent towards it.
  const auto limit = [&scale](double room, double half) {
    if (half > 0) scale = std::min(scale, room / half);
  };
  limit(centreX - other.mLeft, halfWidth);
  limit(other.mRight - centreX, halfWidth);
  limit(centreY - other.mTop, halfHeight);
  limit(other.mBottom - centreY, halfHeight);
  return std::max(scale, 0.0);
}

void UURect::ScaleAboutCentre(double scaleX, double scaleY) {
  const UUPoint centre{mLeft + GetWidth() / 2, mTop + GetHeight() / 2};
  const auto width = static_cast<int32_t>(GetWidth() * scaleX);
  const auto height = static_cast<int32_t>(GetHeight() * scaleY);
  FromPointAndSize(UUPoint{centre.mX - width / 2, centre.mY - height / 2}, width, height);
}

void UURect::FitAspect(int32_t width, int32_t height) {
  if (width <= 0 || height <= 0 || IsEmpty()) return;
  const double ratio = static_cast<double>(width) / height;
  UUPoint size = GetSize();
  if (static_cast<double>(GetWidth()) / GetHeight() > ratio) {
    size.mX = static_cast<int32_t>(GetHeight() * ratio);
  } else {
    size.mY = static_cast<int32_t>(GetWidth() / ratio);
  }
  *this = CentreSize(size);
}
