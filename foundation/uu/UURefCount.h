#pragma once
// The shared handle: the object and a reference count kept in a small cell
// from a process-wide pool. The last handle to let go deletes the object
// (without calling its Detach hook).

#include <cstdint>
#include <utility>

// A free cell holds the next free cell, a live one the count: cells are
// pointer-sized on 64-bit so that the free list fits in them.
union UUCountCell {
  UUCountCell* mNext;
  int32_t mCount;
};

// Pops a cell, first adding a block of 256 cells (the first links the block
// into the pool's block list, 255 are usable) when none is free.
UUCountCell* UUAllocateCountCell();
// Pushes the cell back; when no cell is live any more every block is freed.
void UUFreeCountCell(UUCountCell* cell);

template <typename T>
class UURefCount {
 public:
  UURefCount() = default;
  explicit UURefCount(T* object) { Take(object); }
  UURefCount(const UURefCount& other) { Share(other.mCell, other.mObject); }
  template <typename U>
  UURefCount(const UURefCount<U>& other) {  // NOLINT: converts like a pointer
    Share(other.mCell, other.mObject);
  }
  UURefCount(UURefCount&& other) noexcept
      : mCell(std::exchange(other.mCell, nullptr)),
        mObject(std::exchange(other.mObject, nullptr)) {}
  UURefCount& operator=(const UURefCount& other) {
    if (this != &other) {
      UUCountCell* cell = other.mCell;
      T* object = other.mObject;
      if (cell != nullptr) ++cell->mCount;
      Release();
      mCell = cell;
      mObject = object;
    }
    return *this;
  }
  UURefCount& operator=(UURefCount&& other) noexcept {
    if (this != &other) {
      Release();
      mCell = std::exchange(other.mCell, nullptr);
      mObject = std::exchange(other.mObject, nullptr);
    }
    return *this;
  }
  ~UURefCount() { Release(); }

  // Drops the current reference, then takes object (when not null).
  void Reset(T* object = nullptr) {
    Release();
    Take(object);
  }

  T* Get() const { return mObject; }
  T* operator->() const { return mObject; }
  T& operator*() const { return *mObject; }
  bool IsEmpty() const { return mObject == nullptr; }
  explicit operator bool() const { return mObject != nullptr; }
  friend bool operator==(const UURefCount& a, const UURefCount& b) {
    return a.mObject == b.mObject;
  }

 private:
  template <typename U>
  friend class UURefCount;

  void Take(T* object) {
    if (object == nullptr) return;
    mCell = UUAllocateCountCell();
    mCell->mCount = 1;
    mObject = object;
  }
  void Share(UUCountCell* cell, T* object) {
    if (cell == nullptr) return;
    ++cell->mCount;
    mCell = cell;
    mObject = object;
  }
  void Release() {
    UUCountCell* cell = std::exchange(mCell, nullptr);
    T* object = std::exchange(mObject, nullptr);
    if (cell == nullptr || --cell->mCount != 0) return;
    UUFreeCountCell(cell);
    delete object;
  }

  UUCountCell* mCell = nullptr;
  T* mObject = nullptr;
};
