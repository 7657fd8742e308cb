#include "mm3d/MM3DDriverTextureMap.h"

#include "mm3d/MM3DSceneChanges.h"
#include "mm3d/MM3DTextureCollection.h"
#include "mm3d/drivers/MM3DDriver.h"
#include "mm3d/drivers/MM3DDriverTextureImage.h"

#include <utility>

namespace {

const void* KeyOf(const MM3DDriverTextureEntry* entry) { return entry; }

// By texture id, then clamp, then linear.
bool Less(const void* a, const void* b) {
  const auto* x = static_cast<const MM3DDriverTextureEntry*>(a);
  const auto* y = static_cast<const MM3DDriverTextureEntry*>(b);
  if (x->mTextureId != y->mTextureId) return x->mTextureId < y->mTextureId;
  if (x->mKey.mClamp != y->mKey.mClamp) return x->mKey.mClamp < y->mKey.mClamp;
  return x->mKey.mLinear < y->mKey.mLinear;
}

}  // namespace

MM3DDriverTextureMap::MM3DDriverTextureMap() : mEntries(KeyOf, Less) {}

// The driver's texture names are deleted in its own context.
MM3DDriverTextureMap::~MM3DDriverTextureMap() { ReleaseAll(); }

void MM3DDriverTextureMap::SetDriver(MM3DDriver* driver, MM3DDriverTextureStrategy* strategy) {
  if (driver == mDriver && strategy == mStrategy) return;
  ReleaseAll();
  mKeptDriver = nullptr;
  mDriver = driver;
  mStrategy = strategy;
  if (mDriver != nullptr) mDriver->MakeCurrent();
}

void MM3DDriverTextureMap::SwitchDriver(MM3DDriver* driver) {
  if (driver == mDriver) return;
  if (driver != mKeptDriver) {
    ReleaseKept();
    mKeptDriver = driver;
  }
  std::swap(mDriver, mKeptDriver);
  for (UUOrderedMapNodeBase* node = mEntries.Begin(); node != mEntries.End();
       node = UUOrderedMapIterator::Increment(node)) {
    MM3DDriverTextureEntry& entry = EntryOf(node);
    std::swap(entry.mDriverTexture, entry.mKeptTexture);
  }
  if (mDriver != nullptr) mDriver->MakeCurrent();
}

void MM3DDriverTextureMap::ForgetKeptDriver(MM3DDriver* driver) {
  if (driver == nullptr || driver != mKeptDriver) return;
  ReleaseKept();
  mKeptDriver = nullptr;
  if (mDriver != nullptr) mDriver->MakeCurrent();
}

MM3DTextureHandle MM3DDriverTextureMap::GetHandle(MMResourceId textureId,
                                                  const MM3DTextureKey& key) {
  if (textureId == kMMNoResource) return MM3DTextureHandle();
  MM3DDriverTextureEntry probe;
  probe.mTextureId = textureId;
  probe.mKey = key;
  return MM3DTextureHandle(this, mEntries.InsertUnique(probe).first);
}

void MM3DDriverTextureMap::LoadAll() {
  if (mDriver == nullptr) return;
  MM3DDriverTextureImage image;
  MMResourceId loadedId = kMMNoResource;
  for (UUOrderedMapNodeBase* node = mEntries.Begin(); node != mEntries.End();
       node = UUOrderedMapIterator::Increment(node)) {
    MM3DDriverTextureEntry& entry = EntryOf(node);
    if (!entry.mDriverTexture.IsEmpty()) continue;
    if (entry.mTextureId != loadedId) {
      MM3DLoadTextureImage(entry.mTextureId, image);
      loadedId = entry.mTextureId;
    }
    CreateDriverTexture(entry, image);
  }
}

// The textures are made again from their collections, whose pictures may
// have changed meanwhile (a sketch's thumbnail): a change of the scene.
void MM3DDriverTextureMap::ReleaseAll() {
  ReleaseKept();
  if (mDriver == nullptr) return;
  MM3DSceneChanges::Note();
  // A driver's texture names live in its own context, whichever is current.
  mDriver->MakeCurrent();
  for (UUOrderedMapNodeBase* node = mEntries.Begin(); node != mEntries.End();
       node = UUOrderedMapIterator::Increment(node)) {
    EntryOf(node).mDriverTexture.Release();
  }
}

void MM3DDriverTextureMap::ReleaseKept() {
  if (mKeptDriver == nullptr) return;
  mKeptDriver->MakeCurrent();
  for (UUOrderedMapNodeBase* node = mEntries.Begin(); node != mEntries.End();
       node = UUOrderedMapIterator::Increment(node)) {
    EntryOf(node).mKeptTexture.Release();
  }
}

// A kept texture's name lives in the kept driver's context, which the
// entry's last release may find not current.
void MM3DDriverTextureMap::RemoveReference(UUOrderedMapNodeBase* node) {
  MM3DDriverTextureEntry& entry = EntryOf(node);
  if (--entry.mReferenceCount != 0) return;
  if (!entry.mKeptTexture.IsEmpty()) {
    mKeptDriver->MakeCurrent();
    entry.mKeptTexture.Release();
    if (mDriver != nullptr) mDriver->MakeCurrent();
  }
  mEntries.Erase(node);
}

MM3DDriverTextureHandle MM3DDriverTextureMap::GetDriverTexture(UUOrderedMapNodeBase* node) {
  MM3DDriverTextureEntry& entry = EntryOf(node);
  if (entry.mDriverTexture.IsEmpty() && mDriver != nullptr) {
    MM3DDriverTextureImage image;
    MM3DLoadTextureImage(entry.mTextureId, image);
    CreateDriverTexture(entry, image);
  }
  return entry.mDriverTexture;
}

void MM3DDriverTextureMap::CreateDriverTexture(MM3DDriverTextureEntry& entry,
                                               const MM3DDriverTextureImage& image) {
  if (!image.HasPixels() || mStrategy == nullptr) return;
  const MM3DDriverTextureFormat format = mStrategy->ChooseFormat(entry.mTextureId, entry.mKey);
  entry.mDriverTexture = mDriver->GetTextureCollection().Load(format, image);
}
