#pragma once
// A picture collection in memory for the tests of what draws pictures:
// 32-bit keyed pictures of one colour each, with a transparent rectangle
// when asked, counting the references and the locks still held.

#include "mm/resources/MMPictureCollection.h"
#include "mm/resources/MMReferenceManager.h"

#include <cstdint>
#include <memory>
#include <vector>

class FakePictureCollection : public MMPictureCollection {
 public:
  explicit FakePictureCollection(uint16_t number) : MMPictureCollection(number) {}

  // Blue, green and red of the colour; the hole (picture coordinates) is
  // fully transparent. Answers the item.
  int16_t Add(int32_t width, int32_t height, uint8_t blue, uint8_t green, uint8_t red,
              const UURect& hole = UURect()) {
    auto picture = std::make_unique<Picture>();
    picture->mPixels.resize(static_cast<size_t>(width * height * 4));
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < width; ++x) {
        uint8_t* pixel = &picture->mPixels[static_cast<size_t>((y * width + x) * 4)];
        const bool inHole =
            x >= hole.mLeft && x < hole.mRight && y >= hole.mTop && y < hole.mBottom;
        pixel[0] = blue;
        pixel[1] = green;
        pixel[2] = red;
        pixel[3] = inHole ? 255 : 0;
      }
    }
    MMBitmap& bitmap = picture->mBitmap;
    bitmap.mBitsPerPixel = 32;
    bitmap.mBytesPerPixel = 4;
    bitmap.mFormat = kMMFormat32;
    bitmap.mSubFormat = kMMSubFormatKeyed;
    bitmap.mRect = UURect(0, 0, width, height);
    bitmap.mPitch = width * 4;
    bitmap.mPixels = picture->mPixels.data();
    mPictures.push_back(std::move(picture));
    return static_cast<int16_t>(mPictures.size() - 1);
  }
  MMResourceId Id(int16_t item) const {
    return MMMakeResourceId(GetCollectionNumber(), static_cast<uint16_t>(item));
  }

  int16_t GetItemCount() const override { return static_cast<int16_t>(mPictures.size()); }
  UUPoint GetSize(int16_t item) override {
    return mPictures[static_cast<size_t>(item)]->mBitmap.mRect.GetSize();
  }
  int32_t GetSubFormat(int16_t) override { return kMMSubFormatKeyed; }
  int32_t GetBitsPerPixel(int16_t) override { return 32; }
  bool IsBitmap(int16_t) override { return true; }
  bool LockBitmap(int16_t item, MMBitmap* bitmap, const MMPalette** palette) override {
    *bitmap = mPictures[static_cast<size_t>(item)]->mBitmap;
    if (palette != nullptr) *palette = nullptr;
    ++mLocks;
    return true;
  }
  bool LockEncoded(int16_t, MMEncodedImage*, const MMPalette**) override { return false; }
  void Unlock(int16_t) override { --mLocks; }
  MMReferenceManager* GetReferenceManager() override { return &mManager; }
  bool LoadReferenced() override { return true; }
  void EndLoadReferenced(bool) override {}
  void PurgeUnreferenced() override {}

  int16_t References() { return mManager.ReferenceCount(0); }
  int32_t mLocks = 0;

 private:
  struct Picture {
    std::vector<uint8_t> mPixels;
    MMBitmap mBitmap;
  };
  std::vector<std::unique_ptr<Picture>> mPictures;
  MMDummyReferenceManager mManager{32767};
};
