#include "mm/drawing/MMImageDescription.h"

bool MMImageDescription::IsValid() const {
  static const int32_t kBitsOfFormat[] = {8, 32, 24};
  if (mRect.mLeft >= mRect.mRight || mRect.mTop >= mRect.mBottom) return false;
  if (mFormat < kMMFormat8 || mFormat > kMMFormat24) return false;
  if (mSubFormat < kMMSubFormatCopy || mSubFormat > kMMSubFormatStraight) return false;
  if (mFormat == kMMFormat24 && mSubFormat != kMMSubFormatCopy) return false;
  return mBitsPerPixel == kBitsOfFormat[mFormat] && mBitsPerPixel == 8 * mBytesPerPixel;
}
