#include "mm3d/MM3DTextureHandle.h"

#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DTextureCollection.h"

MM3DTextureHandle::MM3DTextureHandle(MM3DDriverTextureMap* map, UUOrderedMapNodeBase* entry)
    : mMap(map), mEntry(entry) {
  ++MM3DDriverTextureMap::EntryOf(mEntry).mReferenceCount;
}

MM3DTextureHandle::MM3DTextureHandle(const MM3DTextureHandle& other)
    : mMap(other.mMap), mEntry(other.mEntry) {
  if (mEntry != nullptr) ++MM3DDriverTextureMap::EntryOf(mEntry).mReferenceCount;
}

MM3DTextureHandle& MM3DTextureHandle::operator=(const MM3DTextureHandle& other) {
  if (other.mEntry == mEntry) return *this;
  Release();
  mMap = other.mMap;
  mEntry = other.mEntry;
  if (mEntry != nullptr) ++MM3DDriverTextureMap::EntryOf(mEntry).mReferenceCount;
  return *this;
}

void MM3DTextureHandle::Release() {
  if (mEntry == nullptr) return;
  mMap->RemoveReference(mEntry);
  mMap = nullptr;
  mEntry = nullptr;
}

MMResourceId MM3DTextureHandle::GetTextureId() const {
  return MM3DDriverTextureMap::EntryOf(mEntry).mTextureId;
}

const MM3DTextureKey& MM3DTextureHandle::GetKey() const {
  return MM3DDriverTextureMap::EntryOf(mEntry).mKey;
}

UUPoint MM3DTextureHandle::GetSize() const { return MM3DGetTextureSize(GetTextureId()); }

bool MM3DTextureHandle::IsOpaque() const { return MM3DIsTextureOpaque(GetTextureId()); }

MM3DDriverTextureHandle MM3DTextureHandle::GetDriverTexture() const {
  return mMap->GetDriverTexture(mEntry);
}
