#pragma once
// The picture collection over a picture resource file: pictures are read
// (and unpacked) on demand into the blocks of the "picture resource cache",
// where they stay purgeable between locks.

#include "foundation/uu/UUDirectory.h"
#include "mm/resources/MMPictureCollection.h"
#include "mm/resources/MMPictureResourceFile.h"
#include "mm/resources/MMResourceCache.h"
#include "mm/resources/MMStandardResourceHelper.h"

#include <cstdint>

class MMPictureLoader : public MMPictureCollection {
 public:
  // Takes the open file over.
  MMPictureLoader(MMPictureResourceFile* file, uint16_t collectionNumber, int16_t pictureCount);
  ~MMPictureLoader() override;

  int16_t GetItemCount() const override { return mPictureCount; }
  UUPoint GetSize(int16_t item) override { return mFile->GetSize(item); }
  int32_t GetSubFormat(int16_t item) override;
  int32_t GetBitsPerPixel(int16_t item) override;
  bool IsBitmap(int16_t item) override;
  bool LockBitmap(int16_t item, MMBitmap* bitmap, const MMPalette** palette) override;
  bool LockEncoded(int16_t item, MMEncodedImage* image, const MMPalette** palette) override;
  void Unlock(int16_t item) override { mCache.Unlock(item); }
  MMReferenceManager* GetReferenceManager() override { return &mManager; }
  // The picture is read again at its next lock.
  void Purge(int16_t item) override { mCache.Purge(item); }

  bool LoadReferenced() override { return mHelper.LoadReferenced(); }
  // Reads with a scratch block for packed pictures while it runs.
  void EndLoadReferenced(bool success) override;
  void PurgeUnreferenced() override { mHelper.PurgeUnreferenced(); }

  // Locks the item's block, allocating and reading it when it is absent.
  bool LockItem(int16_t item);
  void UnlockItem(int16_t item) { mCache.Unlock(item); }
  void* GetItemAddress(int16_t item) { return mCache.GetAddress(item); }
  // The unpacked size when packed, else the subfile size; 0 when the
  // subfile does not lie inside the file.
  int32_t GetBlockSize(int16_t item) const;

  // The reload machinery's operations.
  bool AllocateItem(int16_t item);
  // Reads the item into its locked block; on failure the block holds zeros.
  bool ReadItem(int16_t item);

  MMPictureResourceFile* GetFile() const { return mFile; }

 private:
  // Locks the item and finds its palette and pixels; false for a picture of
  // the other form or one that cannot be read.
  bool LockPixels(int16_t item, bool encoded, uint8_t** pixels, const MMPalette** palette);
  // The subfile's size when it lies inside the file, else 0.
  int32_t GetStoredSize(int16_t item) const;
  // Whether the item's size, format, palette and stored bytes fit together.
  bool HasConsistentGeometry(int16_t item) const;
  bool ReadStored(int16_t item, uint8_t* destination, int32_t size);
  bool FixByteOrder(int16_t item, uint8_t* data, int32_t size);
  bool IsValidEncoded(int16_t item, uint8_t* data, int32_t size);

  MMResourceCache mCache;
  MMStandardReferenceManager mManager;
  MMStandardResourceHelper<MMPictureLoader> mHelper;
  MMPictureResourceFile* mFile;
  int16_t mPictureCount;
  int32_t mLargestUnpackedSize;
};

// An open picture file and what its loader is made from.
struct MMPictureFileInfo {
  MMPictureResourceFile* mFile = nullptr;
  uint16_t mCollectionNumber = 0;
  int16_t mPictureCount = 0;
};

// Opens a picture file (without checking its checksum) and fills the info,
// the caller owning the file; false (with the error recorded) when it
// cannot be opened.
bool MMOpenPictureFileInfo(const UUDirectory& directory, const char* name, bool keepNames,
                           MMPictureFileInfo* info);
// Opens a picture file and makes its loader; null (with the error recorded)
// when it cannot be opened.
MMPictureLoader* MMOpenPictureFile(const UUDirectory& directory, const char* name, bool keepNames);
