#pragma once
// Sole owners: UUOwned<T> of one object, UUOwnedArray of a block with a
// size prefix. Neither is ever shared: moving hands the object on and
// leaves the source empty.

#include "foundation/uu/UUArrayBlock.h"

#include <type_traits>
#include <utility>

template <typename T>
class UUOwned {
 public:
  UUOwned() = default;
  explicit UUOwned(T* object) : mObject(object) {}
  UUOwned(UUOwned&& other) noexcept : mObject(std::exchange(other.mObject, nullptr)) {}
  // Hands on an object of a derived class, as a pointer would convert.
  template <typename U>
  requires std::is_convertible_v<U*, T*> UUOwned(UUOwned<U>&& other)
  noexcept : mObject(other.Release()) {}  // NOLINT: converts
  UUOwned& operator=(UUOwned&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.mObject, nullptr));
    return *this;
  }
  ~UUOwned() { Reset(); }

  // Releases the current object (its Detach hook first, when its class has
  // one), then owns object.
  void Reset(T* object = nullptr) {
    T* old = std::exchange(mObject, object);
    if (old == nullptr) return;
    if constexpr (requires(T * p) { p->Detach(); }) old->Detach();
    delete old;
  }

  // Gives up the object without deleting it; the caller owns it now.
  T* Release() { return std::exchange(mObject, nullptr); }

  T* Get() const { return mObject; }
  T* operator->() const { return mObject; }
  T& operator*() const { return *mObject; }
  bool IsEmpty() const { return mObject == nullptr; }
  explicit operator bool() const { return mObject != nullptr; }

 private:
  T* mObject = nullptr;
};

class UUOwnedArray {
 public:
  UUOwnedArray() = default;
  // Takes the element area of a block made by UUAllocateArrayBlock.
  explicit UUOwnedArray(void* elements) : mElements(elements) {}
  UUOwnedArray(UUOwnedArray&& other) noexcept
      : mElements(std::exchange(other.mElements, nullptr)) {}
  UUOwnedArray& operator=(UUOwnedArray&& other) noexcept {
    if (this != &other) Reset(std::exchange(other.mElements, nullptr));
    return *this;
  }
  ~UUOwnedArray() { Reset(); }

  void Reset(void* elements = nullptr) { UUFreeArrayBlock(std::exchange(mElements, elements)); }
  void* Get() const { return mElements; }

 private:
  void* mElements = nullptr;
};
