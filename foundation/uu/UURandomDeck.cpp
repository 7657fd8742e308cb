#include "foundation/uu/UURandomDeck.h"

#include "foundation/al/ALMilliseconds.h"
#include "foundation/uu/UURandom.h"

#include <algorithm>
#include <utility>

UURandomDeck::UURandomDeck(const UURandomDeck& other)
    : mLow(other.mLow),
      mHigh(other.mHigh),
      mIndex(other.mIndex),
      mCurrent(other.mCurrent),
      mDealt(other.mDealt) {
  for (int32_t value : other.mValues) mValues.Append(value);
}

UURandomDeck& UURandomDeck::operator=(const UURandomDeck& other) {
  if (this == &other) return *this;
  UURandomDeck copy(other);
  UUSwapRandomDecks(*this, copy);
  return *this;
}

void UURandomDeck::SetRange(int32_t low, int32_t high) {
  mLow = low;
  mHigh = high;
  mDealt = false;
}

void UURandomDeck::Refill() {
  const int64_t wanted = std::max<int64_t>(int64_t{mHigh} - mLow, 0);
  const int64_t surplus = mValues.Count() - wanted;
  if (surplus > 0) {
    mValues.EraseRange(static_cast<int32_t>(wanted), mValues.Count());
  } else if (surplus < 0) {
    mValues.Insert(mValues.Count(), static_cast<int32_t>(-surplus), 0);
  } else if (mDealt) {
    return;  // the values already hold the range in some order
  }
  for (int32_t i = 0; i < mValues.Count(); ++i) mValues[i] = mLow + i;
}

void UURandomDeck::Shuffle() {
  const int32_t count = mValues.Count();
  if (count == 0) return;
  UURandom random(static_cast<int32_t>(ALMilliseconds()));
  for (int32_t p = 0; p < count; ++p) std::swap(mValues[p], mValues[random.Range(0, count - 1)]);
  if (mDealt && mValues[0] == mCurrent) std::swap(mValues[0], mValues[count - 1]);
}

void UURandomDeck::Next() {
  if (mDealt) ++mIndex;
  if (!mDealt || mIndex >= mValues.Count()) {
    Refill();
    Shuffle();
    mIndex = 0;
  }
  mDealt = true;
  mCurrent = mValues.Count() > 0 ? mValues[mIndex] : mLow;
}

bool UURandomDeck::operator==(const UURandomDeck& other) const {
  if (mDealt != other.mDealt) return false;
  if (!mDealt) return mLow == other.mLow && mHigh == other.mHigh;
  const bool sameValues = mValues.Begin() == other.mValues.Begin() ||
                          (mValues.Count() == other.mValues.Count() &&
                           UUEqualWords(mValues.Begin(), mValues.End(), other.mValues.Begin()));
  return sameValues && mIndex == other.mIndex && mCurrent == other.mCurrent;
}

void UUSwapRandomDecks(UURandomDeck& a, UURandomDeck& b) {
  a.mValues.Swap(b.mValues);
  std::swap(a.mLow, b.mLow);
  std::swap(a.mHigh, b.mHigh);
  std::swap(a.mIndex, b.mIndex);
  std::swap(a.mCurrent, b.mCurrent);
  std::swap(a.mDealt, b.mDealt);
}

bool UUEqualWords(const int32_t* first, const int32_t* last, const int32_t* other) {
  return std::equal(first, last, other);
}
