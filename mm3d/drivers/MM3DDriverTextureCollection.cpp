#include "mm3d/drivers/MM3DDriverTextureCollection.h"

#include <tuple>
#include <utility>

bool MM3DDriverTextureFormat::operator<(const MM3DDriverTextureFormat& other) const {
  return std::tie(mFormat, mFilter, mClamp) < std::tie(other.mFormat, other.mFilter, other.mClamp);
}

MM3DDriverTextureHandle::MM3DDriverTextureHandle(MM3DDriverTextureCollection* collection,
                                                 int32_t slot)
    : mCollection(collection), mSlot(collection != nullptr ? slot : 0) {
  if (mCollection != nullptr) mCollection->AddReference(mSlot);
}

MM3DDriverTextureHandle::MM3DDriverTextureHandle(const MM3DDriverTextureHandle& other)
    : MM3DDriverTextureHandle(other.mCollection, other.mSlot) {}

MM3DDriverTextureHandle& MM3DDriverTextureHandle::operator=(const MM3DDriverTextureHandle& other) {
  if (this == &other) return *this;
  Release();
  mCollection = other.mCollection;
  mSlot = other.mSlot;
  if (mCollection != nullptr) mCollection->AddReference(mSlot);
  return *this;
}

void MM3DDriverTextureHandle::Release() {
  MM3DDriverTextureCollection* collection = std::exchange(mCollection, nullptr);
  const int32_t slot = std::exchange(mSlot, 0);
  if (collection != nullptr) collection->RemoveReference(slot);
}

MM3DDriverTextureFormat MM3DDriverTextureHandle::GetFormat() const {
  return mCollection != nullptr ? mCollection->GetFormat(mSlot) : MM3DDriverTextureFormat{};
}

MM3DTextureSize MM3DDriverTextureHandle::GetSize() const {
  return mCollection != nullptr ? mCollection->GetSize(mSlot) : MM3DTextureSize{};
}

MM3DDriverTextureCollection::MM3DDriverTextureCollection(int32_t slotCount)
    : mSlotCount(slotCount) {
  mReferenceCounts.Insert(0, slotCount, 0);
  mFormats.Insert(0, slotCount, MM3DDriverTextureFormat{});
  mSizes.Insert(0, slotCount, MM3DTextureSize{});
}

MM3DDriverTextureHandle MM3DDriverTextureCollection::Load(const MM3DDriverTextureFormat& format,
                                                          const MM3DDriverTextureImage& image) {
  for (int32_t slot = 0; slot < mSlotCount; ++slot) {
    if (mReferenceCounts[slot] != 0 || !LoadImage(slot, format, image)) continue;
    mFormats[slot] = format;
    mSizes[slot] = MM3DTextureSize{image.GetWidth(), image.GetHeight()};
    return MM3DDriverTextureHandle(this, slot);
  }
  return MM3DDriverTextureHandle();
}

void MM3DDriverTextureCollection::SelectHandle(MM3DDriverTextureHandle handle) {
  if (handle.IsEmpty()) {
    Unselect();
  } else {
    Select(handle.GetSlot());
  }
  handle.Release();
}

void MM3DDriverTextureCollection::RemoveReference(int32_t slot) {
  if (--mReferenceCounts[slot] == 0) FreeSlot(slot);
}
