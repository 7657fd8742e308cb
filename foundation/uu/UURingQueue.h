#pragma once
// A queue of fixed-size elements in a caller's ring of slots. It holds at
// most capacity - 1 elements: full when the slot after the tail is the head.
// Not synchronised.

#include <cstdint>

class UURingQueue {
 public:
  UURingQueue(int32_t elementSize, int32_t capacity, void* buffer);

  // False when full.
  bool Push(const void* element);
  // The oldest and the newest element; null when empty.
  void* Front() const;
  void* Back() const;
  // Drops the oldest element; nothing when empty.
  void Pop();
  bool IsEmpty() const { return mHead == mTail; }

 private:
  uint8_t* Slot(int32_t index) const { return mBuffer + int64_t{index} * mElementSize; }

  int32_t mElementSize;
  int32_t mCapacity;
  uint8_t* mBuffer;
  int32_t mHead = 0;
  int32_t mTail = 0;
};
