#include "foundation/uu/UURingQueue.h"

#include <cstring>

UURingQueue::UURingQueue(int32_t elementSize, int32_t capacity, void* buffer)
    : mElementSize(elementSize),
      mCapacity(capacity < 1 ? 1 : capacity),
      mBuffer(static_cast<uint8_t*>(buffer)) {}

bool UURingQueue::Push(const void* element) {
  const int32_t next = (mTail + 1) % mCapacity;
  if (next == mHead) return false;
  std::memcpy(Slot(mTail), element, static_cast<size_t>(mElementSize));
  mTail = next;
  return true;
}

void* UURingQueue::Front() const { return IsEmpty() ? nullptr : Slot(mHead); }

void* UURingQueue::Back() const {
  return IsEmpty() ? nullptr : Slot((mCapacity + mTail - 1) % mCapacity);
}

void UURingQueue::Pop() {
  if (!IsEmpty()) mHead = (mHead + 1) % mCapacity;
}
