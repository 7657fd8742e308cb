#pragma once
// A driver's texture slots: the format chosen for a texture, the counted
// handle on one slot, and the slot bookkeeping every back-end shares. The
// last handle released frees its slot.

#include "foundation/uu/UUGrowableArray.h"
#include "mm3d/drivers/MM3DDriverTextureImage.h"

#include <cstdint>
#include <utility>

// Format codes: 16 bits 5-6-5 without alpha, 16 bits 4-4-4-4, 16 bits
// 1-5-5-5, 24 bits without alpha, 32 bits with alpha.
enum MM3DTextureFormatCode : int32_t {
  kMM3DTextureRgb565 = 1,
  kMM3DTextureArgb4444 = 2,
  kMM3DTextureArgb1555 = 3,
  kMM3DTextureRgb888 = 4,
  kMM3DTextureArgb8888 = 5
};

// Filter modes: nearest or bilinear texels, then from the nearest mip
// level, then blended between mip levels.
enum MM3DTextureFilter : int32_t {
  kMM3DFilterNearest = 0,
  kMM3DFilterBilinear = 1,
  kMM3DFilterNearestMipNearest = 2,
  kMM3DFilterBilinearMipNearest = 3,
  kMM3DFilterNearestMipLinear = 4,
  kMM3DFilterBilinearMipLinear = 5
};

struct MM3DDriverTextureFormat {
  int32_t mFormat = kMM3DTextureRgb565;
  int32_t mFilter = kMM3DFilterNearest;
  int32_t mClamp = 0;  // 1 clamps coordinates to the edge, 0 repeats

  bool HasAlpha() const {
    return mFormat == kMM3DTextureArgb4444 || mFormat == kMM3DTextureArgb1555 ||
           mFormat == kMM3DTextureArgb8888;
  }
  bool IsMipmapped() const { return mFilter >= kMM3DFilterNearestMipNearest; }
  bool operator==(const MM3DDriverTextureFormat& other) const = default;
  bool operator<(const MM3DDriverTextureFormat& other) const;
};

struct MM3DTextureSize {
  int32_t mWidth = 0;
  int32_t mHeight = 0;
};

class MM3DDriverTextureCollection;

// A counted reference to one slot; empty when it names no collection.
class MM3DDriverTextureHandle {
 public:
  MM3DDriverTextureHandle() = default;
  MM3DDriverTextureHandle(MM3DDriverTextureCollection* collection, int32_t slot);
  MM3DDriverTextureHandle(const MM3DDriverTextureHandle& other);
  // Takes over the other's reference.
  MM3DDriverTextureHandle(MM3DDriverTextureHandle&& other) noexcept
      : mCollection(std::exchange(other.mCollection, nullptr)),
        mSlot(std::exchange(other.mSlot, 0)) {}
  MM3DDriverTextureHandle& operator=(const MM3DDriverTextureHandle& other);
  ~MM3DDriverTextureHandle() { Release(); }

  // Drops the reference, freeing the slot with the last one.
  void Release();

  bool IsEmpty() const { return mCollection == nullptr; }
  MM3DDriverTextureCollection* GetCollection() const { return mCollection; }
  int32_t GetSlot() const { return mSlot; }
  // Whether both name the same slot of the same collection.
  bool SameSlot(const MM3DDriverTextureHandle& other) const {
    return mCollection == other.mCollection && mSlot == other.mSlot;
  }
  MM3DDriverTextureFormat GetFormat() const;
  MM3DTextureSize GetSize() const;

 private:
  MM3DDriverTextureCollection* mCollection = nullptr;
  int32_t mSlot = 0;
};

class MM3DDriverTextureCollection {
 public:
  explicit MM3DDriverTextureCollection(int32_t slotCount);
  virtual ~MM3DDriverTextureCollection() = default;
  MM3DDriverTextureCollection(const MM3DDriverTextureCollection&) = delete;
  MM3DDriverTextureCollection& operator=(const MM3DDriverTextureCollection&) = delete;

  // Creates the slot's device texture from the image, replacing what it
  // held; false when the device refuses.
  virtual bool LoadImage(int32_t slot, const MM3DDriverTextureFormat& format,
                         const MM3DDriverTextureImage& image) = 0;
  virtual void FreeSlot(int32_t slot) = 0;
  // The slot's texture is used by the following draws.
  virtual void Select(int32_t slot) = 0;
  // Draws continue without a texture.
  virtual void Unselect() = 0;

  // The first free slot, from 0 upwards, whose device accepts the image;
  // an empty handle when none does.
  MM3DDriverTextureHandle Load(const MM3DDriverTextureFormat& format,
                               const MM3DDriverTextureImage& image);
  void SelectHandle(MM3DDriverTextureHandle handle);
  void SelectNone() { SelectHandle(MM3DDriverTextureHandle()); }

  int32_t GetSlotCount() const { return mSlotCount; }
  int32_t GetReferenceCount(int32_t slot) const { return mReferenceCounts[slot]; }
  void AddReference(int32_t slot) { ++mReferenceCounts[slot]; }
  // Frees the slot when the last reference goes.
  void RemoveReference(int32_t slot);
  const MM3DDriverTextureFormat& GetFormat(int32_t slot) const { return mFormats[slot]; }
  const MM3DTextureSize& GetSize(int32_t slot) const { return mSizes[slot]; }

 private:
  int32_t mSlotCount;
  UUGrowableArray<int32_t> mReferenceCounts;
  UUGrowableArray<MM3DDriverTextureFormat> mFormats;
  UUGrowableArray<MM3DTextureSize> mSizes;
};
