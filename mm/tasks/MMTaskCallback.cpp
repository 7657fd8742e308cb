#include "mm/tasks/MMTaskCallback.h"

#include "mm/tasks/MMTaskClient.h"

MMTaskCallback::MMTaskCallback(MMTaskClient* client, UUCallback* callback)
    : mClient(client), mCallback(callback) {}

void MMTaskCallback::Post(const void* owner) const {
  if (mClient != nullptr) mClient->AddImmediateTask(mCallback, owner);
}

MMTaskCallbackMap::MMTaskCallbackMap()
    : mMap(&MMTaskCallbackMap::KeyOf, &MMTaskCallbackMap::KeyLess) {}

void MMTaskCallbackMap::Insert(int32_t key, const MMTaskCallback& binding) {
  mMap.InsertUnique(Entry{key, binding});
}

void MMTaskCallbackMap::Erase(int32_t key) {
  UUOrderedMapNodeBase* node = Find(key);
  if (node != End()) mMap.Erase(node);
}

MMTaskCallback MMTaskCallbackMap::Get(int32_t key) const {
  UUOrderedMapNodeBase* node = Find(key);
  return node == End() ? MMTaskCallback() : EntryAt(node).mBinding;
}

bool MMTaskCallbackMap::Post(int32_t key) const {
  UUOrderedMapNodeBase* node = Find(key);
  if (node == End() || EntryAt(node).mBinding.GetClient() == nullptr) return false;
  EntryAt(node).mBinding.Post();
  return true;
}
