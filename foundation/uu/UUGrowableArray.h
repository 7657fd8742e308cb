#pragma once
// A growable array whose block carries its byte size in front of the
// elements. It grows to at least twice its capacity, so appends cost
// amortised constant time. Elements are moved when the block changes (an
// array of UUOwned hands its objects on) and copied when inserted.

#include "foundation/uu/UUArrayBlock.h"

#include <algorithm>
#include <cstdint>
#include <new>
#include <type_traits>
#include <utility>

template <typename T>
class UUGrowableArray {
 public:
  // Every block comes from the source, which stays with the array when
  // blocks are moved or swapped.
  UUGrowableArray() = default;
  explicit UUGrowableArray(ALBlockSource source) : mSource(source) {}
  UUGrowableArray(const UUGrowableArray&) = delete;
  UUGrowableArray& operator=(const UUGrowableArray&) = delete;
  // Moving hands the block over and leaves the source empty, so arrays can
  // hold arrays.
  UUGrowableArray(UUGrowableArray&& other) noexcept { Swap(other); }
  UUGrowableArray& operator=(UUGrowableArray&& other) noexcept {
    UUGrowableArray(std::move(other)).Swap(*this);
    return *this;
  }
  ~UUGrowableArray() {
    DestroyElements(0, mCount);
    mCount = 0;
    UUFreeArrayBlock(mData);
  }

  int32_t Count() const { return mCount; }
  int32_t Capacity() const { return mCapacity; }
  T* Begin() const { return mData; }
  T* End() const { return mData + mCount; }
  T* begin() const { return Begin(); }
  T* end() const { return End(); }
  T& operator[](int32_t index) const { return mData[index]; }

  // n copies of value before position.
  void Insert(int32_t position, int32_t n, const T& value) {
    if (n <= 0) return;
    T copy(value);  // value may be an element that moves
    OpenGap(position, n);
    for (int32_t i = 0; i < n; ++i) new (mData + position + i) T(copy);
  }
  void Append(const T& value) { Insert(mCount, 1, value); }
  // n elements more at the end, left unset for the caller to fill (a
  // reader's destination); the first of them. Only for elements that need
  // neither construction nor destruction.
  T* Extend(int32_t n) {
    static_assert(std::is_trivially_default_constructible_v<T> &&
                  std::is_trivially_destructible_v<T>);
    OpenGap(mCount, n);
    return mData + mCount - n;
  }
  void Append(T&& value) {
    T moved(std::move(value));
    OpenGap(mCount, 1);
    new (mData + mCount - 1) T(std::move(moved));
  }

  // Moves the tail down over [from, to).
  void EraseRange(int32_t from, int32_t to) {
    if (from >= to) return;
    std::move(mData + to, mData + mCount, mData + from);
    DestroyElements(mCount - (to - from), mCount);
    mCount -= to - from;
  }

  void Reserve(int32_t n) {
    if (mCapacity < n) Relocate(std::max(n, 2 * mCapacity));
  }
  // Installs a fresh block of max(n, 2 x capacity) elements on an emptied
  // array, before its elements are rebuilt.
  void Allocate(int32_t n) {
    UUFreeArrayBlock(mData);
    mCapacity = std::max(n, 2 * mCapacity);
    mData = NewBlock(mCapacity);
  }
  // A block of exactly count elements (none when empty).
  void Compact() {
    if (mCapacity != mCount) Relocate(mCount);
  }
  void Swap(UUGrowableArray& other) {
    std::swap(mCount, other.mCount);
    std::swap(mCapacity, other.mCapacity);
    std::swap(mData, other.mData);
  }

 private:
  T* NewBlock(int32_t capacity) const {
    if (capacity == 0) return nullptr;
    return static_cast<T*>(UUAllocateArrayBlock(static_cast<size_t>(capacity) * sizeof(T),
                                                mSource.Get(), kALMustSucceed));
  }

  void DestroyElements(int32_t from, int32_t to) {
    for (int32_t i = from; i < to; ++i) mData[i].~T();
  }

  // Moves the elements into a new block of the given capacity, leaving a
  // gap of gapSize elements at gapPosition.
  void Relocate(int32_t capacity, int32_t gapPosition = 0, int32_t gapSize = 0) {
    T* data = NewBlock(capacity);
    for (int32_t i = 0; i < mCount; ++i) {
      new (data + (i < gapPosition ? i : i + gapSize)) T(std::move(mData[i]));
    }
    DestroyElements(0, mCount);
    UUFreeArrayBlock(mData);
    mData = data;
    mCapacity = capacity;
  }

  // Makes room for n elements before position; count includes them after.
  void OpenGap(int32_t position, int32_t n) {
    if (mCount + n > mCapacity) {
      Relocate(std::max(mCount + n, 2 * mCapacity), position, n);
    } else {
      for (int32_t i = mCount - 1; i >= position; --i) {
        new (mData + i + n) T(std::move(mData[i]));
        mData[i].~T();
      }
    }
    mCount += n;
  }

  ALBlockSource mSource = ALBlockSource::Current();
  int32_t mCount = 0;
  int32_t mCapacity = 0;
  T* mData = nullptr;
};
