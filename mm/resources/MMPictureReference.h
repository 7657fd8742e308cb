#pragma once
// A counted reference to one picture of a picture collection, held by
// value: the item's reference through the collection's reference manager,
// and the collection that answers for the item.

#include "foundation/uu/UUPoint.h"
#include "mm/resources/MMCollectionRegistry.h"
#include "mm/resources/MMPictureCollection.h"
#include "mm/resources/MMResourceReference.h"

#include <cstdint>

class MMPictureReference {
 public:
  MMPictureReference() = default;
  // -1, an id whose collection is not registered or whose item lies
  // outside its collection give an empty reference.
  explicit MMPictureReference(MMResourceId id);
  // Empty for a null collection or an item outside it.
  MMPictureReference(MMPictureCollection* collection, int16_t item);

  // Points at another picture (adding its reference before the old one is
  // released).
  void Set(const MMPictureReference& other);
  bool IsEmpty() const { return mReference.IsEmpty(); }
  bool operator==(const MMPictureReference& other) const {
    return mReference.GetManager() == other.mReference.GetManager() &&
           mReference.GetItem() == other.mReference.GetItem();
  }

  // -1 when empty or when the collection is no longer registered.
  MMResourceId GetId() const;
  MMPictureCollection* GetCollection() const { return mCollection; }
  const MMResourceReference& GetResourceReference() const { return mReference; }
  int16_t GetItem() const { return mReference.GetItem(); }

  // Width and height; (0, 0) when empty.
  UUPoint GetSize() const;
  int32_t GetSubFormat() const;
  int32_t GetBitsPerPixel() const;
  // 0 opaque to 255 transparent; 255 when empty.
  uint8_t GetTransparencyAt(UUPoint point) const;
  // 0 where opaque, 1 where fully transparent, else the sub-format.
  int32_t ClassifyPoint(UUPoint point) const;
  bool ContainsPoint(UUPoint point) const;
  bool IsBitmap() const;
  bool LockBitmap(MMBitmap* bitmap, const MMPalette** palette) const;
  bool LockEncoded(MMEncodedImage* image, const MMPalette** palette) const;
  void Unlock() const;
  // False when the picture has no palette.
  bool GetPalette(MMPalette* palette) const;

 private:
  MMResourceReference mReference;
  MMPictureCollection* mCollection = nullptr;
};
