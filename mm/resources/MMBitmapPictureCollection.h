#pragma once
// Pictures handed in at run time as bitmaps. Each added picture is copied
// into a block of the "bitmap picture resource cache" and gets a picture
// id, so that visuals draw it like any picture. With a swap file every
// added picture is also written there, so that its block may be purged and
// read back at the next lock; without one, added pictures stay pinned in
// memory. A picture lives while it has references: releasing the last one
// frees its slot.

#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UUFile.h"
#include "foundation/uu/UUGrowableArray.h"
#include "mm/resources/MMPictureCollection.h"
#include "mm/resources/MMResourceCache.h"
#include "mm/resources/MMStandardResourceHelper.h"

#include <cstdint>

class MMBitmapPictureCollection;

// References go through the picture registry to the collection's own
// counts.
class MMBitmapPictureManager : public MMReferenceManager {
 public:
  explicit MMBitmapPictureManager(MMBitmapPictureCollection* collection)
      : mCollection(collection) {}

  int16_t ItemCount() override;
  void AddReference(int16_t item) override;
  void ReleaseReference(int16_t item) override;
  int16_t ReferenceCount(int16_t item) override;

 private:
  MMBitmapPictureCollection* mCollection;
};

class MMBitmapPictureCollection : public MMPictureCollection {
 public:
  static constexpr int32_t kPaletteBytes = 1024;

  MMBitmapPictureCollection(int16_t slotCount, uint16_t collectionNumber);
  // Creates (or empties) the swap file in that directory.
  MMBitmapPictureCollection(int16_t slotCount, uint16_t collectionNumber,
                            const UUDirectory& swapDirectory, const char* swapName);
  // Deletes the swap file.
  ~MMBitmapPictureCollection() override;

  // Frees every slot (blocks included) and empties the swap file.
  void Reset();
  // The first slot not in use; -1 when every slot is in use.
  int16_t FindFreeSlot() const;
  // Copies the bitmap (and the palette, when given) into the slot and
  // answers its picture id, with no reference yet; -1 when the slot is not
  // free, the bitmap is not a plain 8-, 24- or 32-bit one, there is no
  // memory or the swap file cannot be written.
  MMResourceId AddBitmap(int16_t slot, const MMBitmap& source, const MMPalette* palette);
  // The first offset at which size bytes overlap no picture in use.
  int32_t FindSwapOffset(int32_t size) const;

  int16_t GetItemCount() const override { return mSlotCount; }
  // Slots not in use answer an empty size and 0.
  UUPoint GetSize(int16_t item) override;
  int32_t GetSubFormat(int16_t item) override;
  int32_t GetBitsPerPixel(int16_t item) override;
  bool IsBitmap(int16_t) override { return true; }
  bool LockBitmap(int16_t item, MMBitmap* bitmap, const MMPalette** palette) override;
  // The collection holds plain bitmaps only.
  bool LockEncoded(int16_t, MMEncodedImage*, const MMPalette**) override { return false; }
  void Unlock(int16_t item) override { mCache.Unlock(item); }
  MMReferenceManager* GetReferenceManager() override { return &mManager; }
  void AddReference(int16_t item) override;
  // The last reference frees the slot.
  void ReleaseReference(int16_t item) override;

  bool LoadReferenced() override { return mHelper.LoadReferenced(); }
  void EndLoadReferenced(bool success) override { mHelper.EndLoadReferenced(success); }
  void PurgeUnreferenced() override { mHelper.PurgeUnreferenced(); }

  // Locks the item's block, reading it back from the swap file when it was
  // purged.
  bool LockItem(int16_t item);
  void UnlockItem(int16_t item) { mCache.Unlock(item); }
  int16_t GetReferenceCount(int16_t item) const;
  bool IsInUse(int16_t item) const;
  bool HasSwapFile() const { return mSwapDirectory.IsSet(); }

  // The reload machinery's operations.
  bool AllocateItem(int16_t item);
  bool ReadItem(int16_t item) { return ReadFromSwap(item); }
  bool ReadFromSwap(int16_t item);

 private:
  struct Entry {
    bool mInUse = false;
    int16_t mReferences = 0;
    int32_t mPitch = 0;
    int32_t mBitsPerPixel = 0;
    int32_t mFormat = 0;
    int32_t mSubFormat = 0;
    int32_t mWidth = 0;
    int32_t mHeight = 0;
    bool mHasPalette = false;
    int32_t mSwapOffset = 0;
    int32_t mBlockSize = 0;
  };

  // Fills the slot's entry from the source; false for a bitmap that cannot
  // be held.
  bool Describe(int16_t slot, const MMBitmap& source, bool hasPalette);
  void CopyIn(int16_t slot, const MMBitmap& source, const MMPalette* palette);
  bool WriteToSwap(int16_t slot);
  void CreateSwapFile();
  void TruncateSwapFileWhenEmpty();
  void Discard(int16_t item);
  // Gives the block of a slot in use back and marks the slot free.
  void FreeSlot(int16_t item);

  MMResourceCache mCache;
  MMBitmapPictureManager mManager;
  MMStandardResourceHelper<MMBitmapPictureCollection> mHelper;
  int16_t mSlotCount;
  UUGrowableArray<Entry> mEntries;
  UUDirectory mSwapDirectory;
  char mSwapName[kUUPathCapacity] = {};
  UUFile mSwapFile;
};
