#pragma once
// The interface through which visuals draw pictures: a picture is locked as
// a bitmap or an encoded image (whichever form it has), drawn and unlocked.
// Every collection is numbered and registered in the picture registry, so
// that a picture id (collection number << 16 | item) names it anywhere.

#include "foundation/uu/UUPoint.h"
#include "mm/drawing/MMBitmap.h"
#include "mm/drawing/MMPalette.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm/resources/MMEncodedImage.h"
#include "mm/resources/MMReferenceManager.h"
#include "mm/resources/MMResourceCollection.h"

#include <cstdint>

class MMPictureCollection : public MMResourceCollection {
 public:
  explicit MMPictureCollection(uint16_t collectionNumber);
  ~MMPictureCollection() override;

  uint16_t GetCollectionNumber() const { return mCollectionNumber; }
  // Items at or above the count are refused by every id operation.
  virtual int16_t GetItemCount() const = 0;
  virtual UUPoint GetSize(int16_t item) = 0;
  virtual int32_t GetSubFormat(int16_t item) = 0;
  virtual int32_t GetBitsPerPixel(int16_t item) = 0;
  virtual bool IsBitmap(int16_t item) = 0;
  // The picture stays locked until Unlock; palette (when asked) receives
  // its palette or null.
  virtual bool LockBitmap(int16_t item, MMBitmap* bitmap, const MMPalette** palette) = 0;
  virtual bool LockEncoded(int16_t item, MMEncodedImage* image, const MMPalette** palette) = 0;
  virtual void Unlock(int16_t item) = 0;
  virtual MMReferenceManager* GetReferenceManager() = 0;
  virtual void AddReference(int16_t item) { GetReferenceManager()->AddReference(item); }
  virtual void ReleaseReference(int16_t item) { GetReferenceManager()->ReleaseReference(item); }
  // Brings the picture into memory.
  virtual void Load(int16_t item);
  virtual void Purge(int16_t) {}

  // 0 opaque to 255 transparent; 255 where nothing can be read.
  uint8_t GetTransparencyAt(int16_t item, UUPoint point);
  bool GetPalette(int16_t item, MMPalette* palette);

 private:
  // Locks the picture in its own form; the bitmap or image is filled.
  bool LockAny(int16_t item, MMBitmap* bitmap, MMEncodedImage* image, const MMPalette** palette);

  uint16_t mCollectionNumber;
};

MMCollectionRegistry<MMPictureCollection>& MMPictureRegistry();

// Operations on a picture id; an id whose collection is not registered, or
// whose item lies outside it, is ignored (null, -1 or nothing).
MMPictureCollection* MMGetPictureCollection(MMResourceId id);
MMResourceId MMMakePictureId(MMPictureCollection* collection, int16_t item);
void MMAddPictureReference(MMResourceId id);
void MMReleasePictureReference(MMResourceId id);
void MMLoadPicture(MMResourceId id);
void MMPurgePicture(MMResourceId id);
void MMDeleteAllPictureCollections();
