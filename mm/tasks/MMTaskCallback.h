#pragma once

#include "foundation/uu/UUCallback.h"
#include "foundation/uu/UUOrderedMap.h"
#include "foundation/uu/UURefCount.h"

#include <cstdint>

class MMTaskClient;

// A shared callback bound to a task client: posting it queues the callback
// as an immediate task, so it runs on the stage thread at the task
// manager's next run, never at once. Copies share the callback; the last
// copy deletes it.
class MMTaskCallback {
 public:
  MMTaskCallback() = default;
  // Takes ownership of callback (which may be null).
  MMTaskCallback(MMTaskClient* client, UUCallback* callback);

  MMTaskClient* GetClient() const { return mClient; }
  const UURefCount<UUCallback>& GetCallback() const { return mCallback; }

  // Nothing without a client. A post on behalf of an owner is withdrawn
  // when that owner cancels its tasks (MMTaskManager::CancelOwner).
  void Post(const void* owner = nullptr) const;

 private:
  MMTaskClient* mClient = nullptr;
  UURefCount<UUCallback> mCallback;
};

// Bindings by 32-bit key, each key at most once.
class MMTaskCallbackMap {
 public:
  struct Entry {
    int32_t mKey;
    MMTaskCallback mBinding;
  };

  MMTaskCallbackMap();

  // An existing key keeps its binding; the new one is dropped.
  void Insert(int32_t key, const MMTaskCallback& binding);
  void Erase(int32_t key);
  void Clear() { mMap.Clear(); }
  bool Contains(int32_t key) const { return Find(key) != End(); }
  UUOrderedMapNodeBase* Find(int32_t key) const { return mMap.Find(&key); }
  UUOrderedMapNodeBase* End() const { return mMap.End(); }
  static const Entry& EntryAt(UUOrderedMapNodeBase* node) {
    return UUOrderedMap<Entry>::ValueOf(node);
  }
  // A copy, or an empty binding when the key is absent.
  MMTaskCallback Get(int32_t key) const;
  // Posts the key's binding when it is present and has a client.
  bool Post(int32_t key) const;

 private:
  static const void* KeyOf(const Entry* entry) { return &entry->mKey; }
  static bool KeyLess(const void* a, const void* b) {
    return *static_cast<const int32_t*>(a) < *static_cast<const int32_t*>(b);
  }

  UUOrderedMap<Entry> mMap;
};
