#include "mm/resources/MMBitmapPictureCollection.h"

#include "foundation/uu/UUFileSystem.h"
#include "foundation/uu/UUString.h"

#include <climits>
#include <cstring>

int16_t MMBitmapPictureManager::ItemCount() { return mCollection->GetItemCount(); }

void MMBitmapPictureManager::AddReference(int16_t item) {
  MMAddPictureReference(MMMakePictureId(mCollection, item));
}

void MMBitmapPictureManager::ReleaseReference(int16_t item) {
  MMReleasePictureReference(MMMakePictureId(mCollection, item));
}

int16_t MMBitmapPictureManager::ReferenceCount(int16_t item) {
  return mCollection->GetReferenceCount(item);
}

MMBitmapPictureCollection::MMBitmapPictureCollection(int16_t slotCount, uint16_t collectionNumber)
    : MMPictureCollection(collectionNumber),
      mCache("bitmap picture resource cache", slotCount),
      mManager(this),
      mHelper(this, mCache),
      mSlotCount(slotCount < 0 ? int16_t{0} : slotCount) {
  mEntries.Insert(0, mSlotCount, Entry());
}

MMBitmapPictureCollection::MMBitmapPictureCollection(int16_t slotCount, uint16_t collectionNumber,
                                                     const UUDirectory& swapDirectory,
                                                     const char* swapName)
    : MMBitmapPictureCollection(slotCount, collectionNumber) {
  mSwapDirectory.Assign(swapDirectory);
  UUCopyString(swapName, mSwapName, kUUPathCapacity);
  CreateSwapFile();
}

MMBitmapPictureCollection::~MMBitmapPictureCollection() {
  if (HasSwapFile()) {
    if (mSwapFile.IsOpen()) mSwapFile.Close();
    UUDeleteFile(mSwapDirectory, mSwapName);
    mSwapDirectory.Clear();
  }
  mCache.FreeAll();
}

void MMBitmapPictureCollection::CreateSwapFile() {
  if (mSwapFile.IsOpen()) mSwapFile.Close();
  mSwapFile.SetError(kUUNoError);
  mSwapFile.Open(mSwapDirectory, mSwapName, kUUFileCreate, UUFileOptions());
}

void MMBitmapPictureCollection::Reset() {
  for (int16_t slot = 0; slot < mSlotCount; ++slot) {
    if (mEntries[slot].mInUse) FreeSlot(slot);
  }
  if (HasSwapFile()) CreateSwapFile();
}

bool MMBitmapPictureCollection::IsInUse(int16_t item) const {
  return item >= 0 && item < mSlotCount && mEntries[item].mInUse;
}

int16_t MMBitmapPictureCollection::GetReferenceCount(int16_t item) const {
  return IsInUse(item) ? mEntries[item].mReferences : int16_t{0};
}

int16_t MMBitmapPictureCollection::FindFreeSlot() const {
  for (int16_t slot = 0; slot < mSlotCount; ++slot) {
    if (!mEntries[slot].mInUse) return slot;
  }
  return -1;
}

int32_t MMBitmapPictureCollection::FindSwapOffset(int32_t size) const {
  int32_t candidate = 0;
  for (int16_t slot = 0; slot < mSlotCount; ++slot) {
    const Entry& entry = mEntries[slot];
    const int32_t end = entry.mSwapOffset + entry.mBlockSize;
    if (entry.mInUse && entry.mSwapOffset < candidate + size && candidate < end) {
      candidate = end;
      slot = -1;  // scan again from the first slot
    }
  }
  return candidate;
}

bool MMBitmapPictureCollection::Describe(int16_t slot, const MMBitmap& source, bool hasPalette) {
  const int32_t bits = source.mBitsPerPixel;
  const int64_t width = source.GetWidth();
  const int64_t height = source.GetHeight();
  if ((bits != 8 && bits != 24 && bits != 32) || width <= 0 || height <= 0 ||
      source.mPixels == nullptr) {
    return false;
  }
  const int64_t pitch = (width * (bits / 8) + 3) & ~int64_t{3};
  const int64_t blockSize = height * pitch + (hasPalette ? kPaletteBytes : 0);
  if (blockSize > INT_MAX) return false;
  Entry& entry = mEntries[slot];
  entry.mReferences = 0;
  entry.mPitch = static_cast<int32_t>(pitch);
  entry.mBitsPerPixel = bits;
  entry.mFormat = source.mFormat;
  entry.mSubFormat = source.mSubFormat;
  entry.mWidth = static_cast<int32_t>(width);
  entry.mHeight = static_cast<int32_t>(height);
  entry.mHasPalette = hasPalette;
  entry.mSwapOffset = 0;
  entry.mBlockSize = static_cast<int32_t>(blockSize);
  return true;
}

void MMBitmapPictureCollection::CopyIn(int16_t slot, const MMBitmap& source,
                                       const MMPalette* palette) {
  const Entry& entry = mEntries[slot];
  auto* block = static_cast<uint8_t*>(mCache.GetAddress(slot));
  if (palette != nullptr) {
    std::memcpy(block, palette, kPaletteBytes);
    block += kPaletteBytes;
  }
  const auto rowBytes =
      static_cast<size_t>(entry.mWidth) * static_cast<size_t>(entry.mBitsPerPixel / 8);
  for (int32_t y = 0; y < entry.mHeight; ++y) {
    uint8_t* row = block + static_cast<ptrdiff_t>(y) * entry.mPitch;
    std::memcpy(row, source.mPixels + static_cast<ptrdiff_t>(y) * source.mPitch, rowBytes);
    // The padding goes to the swap file too: no stale memory there.
    std::memset(row + rowBytes, 0, static_cast<size_t>(entry.mPitch) - rowBytes);
  }
}

bool MMBitmapPictureCollection::WriteToSwap(int16_t slot) {
  Entry& entry = mEntries[slot];
  entry.mSwapOffset = FindSwapOffset(entry.mBlockSize);
  if (mSwapFile.Seek(entry.mSwapOffset, kUUSeekFromStart, nullptr) &&
      mSwapFile.Write(mCache.GetAddress(slot), static_cast<uint32_t>(entry.mBlockSize))) {
    return true;
  }
  mSwapFile.SetError(kUUNoError);
  return false;
}

void MMBitmapPictureCollection::Discard(int16_t item) {
  mCache.Unlock(item);
  mCache.Free(item);
}

MMResourceId MMBitmapPictureCollection::AddBitmap(int16_t slot, const MMBitmap& source,
                                                  const MMPalette* palette) {
  if (slot < 0 || slot >= mSlotCount || mEntries[slot].mInUse ||
      !Describe(slot, source, palette != nullptr) || !AllocateItem(slot)) {
    return kMMNoResource;
  }
  CopyIn(slot, source, palette);
  if (HasSwapFile() && !WriteToSwap(slot)) {
    Discard(slot);
    return kMMNoResource;
  }
  mCache.MarkReferenced(slot);
  // Without a swap file a purged picture could never be read back.
  if (!HasSwapFile()) mCache.Pin(slot);
  mCache.Unlock(slot);
  mEntries[slot].mInUse = true;
  return MMMakePictureId(this, slot);
}

bool MMBitmapPictureCollection::AllocateItem(int16_t item) {
  if (mCache.Lock(item)) return true;
  if (!mCache.Allocate(item, static_cast<uint32_t>(mEntries[item].mBlockSize))) return false;
  if (mCache.Lock(item)) return true;
  mCache.Free(item);
  return false;
}

bool MMBitmapPictureCollection::ReadFromSwap(int16_t item) {
  const Entry& entry = mEntries[item];
  const bool read =
      HasSwapFile() && mSwapFile.Seek(entry.mSwapOffset, kUUSeekFromStart, nullptr) &&
      mSwapFile.Read(mCache.GetAddress(item), static_cast<uint32_t>(entry.mBlockSize));
  mSwapFile.SetError(kUUNoError);
  return read;
}

bool MMBitmapPictureCollection::LockItem(int16_t item) {
  if (!IsInUse(item)) return false;
  if (mCache.Lock(item)) return true;
  if (!AllocateItem(item)) return false;
  if (ReadFromSwap(item)) return true;
  Discard(item);
  return false;
}

UUPoint MMBitmapPictureCollection::GetSize(int16_t item) {
  return IsInUse(item) ? UUPoint{mEntries[item].mWidth, mEntries[item].mHeight} : UUPoint{};
}

int32_t MMBitmapPictureCollection::GetSubFormat(int16_t item) {
  return IsInUse(item) ? mEntries[item].mSubFormat : 0;
}

int32_t MMBitmapPictureCollection::GetBitsPerPixel(int16_t item) {
  return IsInUse(item) ? mEntries[item].mBitsPerPixel : 0;
}

bool MMBitmapPictureCollection::LockBitmap(int16_t item, MMBitmap* bitmap,
                                           const MMPalette** palette) {
  if (!LockItem(item)) return false;
  const Entry& entry = mEntries[item];
  auto* pixels = static_cast<uint8_t*>(mCache.GetAddress(item));
  const MMPalette* found = nullptr;
  if (entry.mHasPalette) {
    found = reinterpret_cast<const MMPalette*>(pixels);
    pixels += kPaletteBytes;
  }
  if (palette != nullptr) *palette = found;
  bitmap->mPixels = pixels;
  bitmap->mPitch = entry.mPitch;
  bitmap->mBitsPerPixel = entry.mBitsPerPixel;
  bitmap->mBytesPerPixel = entry.mBitsPerPixel / 8;
  bitmap->mFormat = entry.mFormat;
  bitmap->mSubFormat = entry.mSubFormat;
  bitmap->mRect = UURect(0, 0, entry.mWidth, entry.mHeight);
  return true;
}

void MMBitmapPictureCollection::AddReference(int16_t item) {
  if (IsInUse(item)) ++mEntries[item].mReferences;
}

void MMBitmapPictureCollection::ReleaseReference(int16_t item) {
  if (!IsInUse(item) || mEntries[item].mReferences <= 0) return;
  if (--mEntries[item].mReferences > 0) return;
  FreeSlot(item);
  TruncateSwapFileWhenEmpty();
}

void MMBitmapPictureCollection::FreeSlot(int16_t item) {
  if (!HasSwapFile()) mCache.Unpin(item);
  mCache.ClearReferenced(item);
  mCache.Free(item);
  mEntries[item].mInUse = false;
}

void MMBitmapPictureCollection::TruncateSwapFileWhenEmpty() {
  if (!HasSwapFile()) return;
  for (const Entry& entry : mEntries) {
    if (entry.mInUse) return;
  }
  mSwapFile.Seek(0, kUUSeekFromStart, nullptr);
  mSwapFile.SetError(kUUNoError);
  mSwapFile.Truncate();
  mSwapFile.SetError(kUUNoError);
}
