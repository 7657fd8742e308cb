#include "mm/resources/MMBitmapPictureCollection.h"

#include "mm/resources/MMResourceCollection.h"
#include "tests/support/ResourceFileFixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace {

using namespace resource_fixtures;

// An 8-bit source of width x height whose pixel (x, y) is x + 16y, with a
// source pitch of at least 64 bytes, wider than small pictures.
struct Source {
  Source(int32_t width, int32_t height)
      : pitch(std::max(width, 64)), pixels(static_cast<size_t>(height * pitch), 0xEE) {
    for (int32_t y = 0; y < height; ++y) {
      for (int32_t x = 0; x < width; ++x) {
        pixels[static_cast<size_t>(y * pitch + x)] = static_cast<uint8_t>(x + 16 * y);
      }
    }
    bitmap.mBitsPerPixel = 8;
    bitmap.mBytesPerPixel = 1;
    bitmap.mFormat = kMMFormat8;
    bitmap.mSubFormat = kMMSubFormatKeyed;
    bitmap.mRect = UURect(0, 0, width, height);
    bitmap.mPitch = pitch;
    bitmap.mPixels = pixels.data();
  }
  int32_t pitch;
  std::vector<uint8_t> pixels;
  MMBitmap bitmap;
};

MMPalette Reds() {
  MMPalette palette;
  for (int i = 0; i < 256; ++i) palette.mEntries[i] = {0, 0, static_cast<uint8_t>(i), 0};
  return palette;
}

class MMBitmapPictureCollectionTest : public ::testing::Test {
 protected:
  void TearDown() override { MMResourceCache::SetMemoryBudget(0); }
  // A picture whose block is exactly size bytes: one row of size bytes.
  MMResourceId AddOfSize(MMBitmapPictureCollection& collection, int32_t size) {
    Source source(size, 1);
    return collection.AddBitmap(collection.FindFreeSlot(), source.bitmap, nullptr);
  }
  std::string SwapName() { return UniqueName("swap"); }
};

TEST_F(MMBitmapPictureCollectionTest, AddedBitmapLocksWithItsPaletteAndPaddedRows) {
  MMBitmapPictureCollection collection(4, 3);
  Source source(3, 2);
  const MMPalette palette = Reds();
  const MMResourceId id = collection.AddBitmap(0, source.bitmap, &palette);
  ASSERT_EQ(id, 0x00030000);
  EXPECT_EQ(collection.GetSize(0), (UUPoint{3, 2}));
  EXPECT_EQ(collection.GetBitsPerPixel(0), 8);
  EXPECT_EQ(collection.GetSubFormat(0), kMMSubFormatKeyed);
  MMBitmap bitmap;
  const MMPalette* locked = nullptr;
  ASSERT_TRUE(collection.LockBitmap(0, &bitmap, &locked));
  EXPECT_EQ(bitmap.mPitch, 4);
  ASSERT_NE(locked, nullptr);
  EXPECT_EQ(locked->mEntries[9].mRed, 9);
  EXPECT_EQ(
      reinterpret_cast<const uint8_t*>(bitmap.mPixels) - reinterpret_cast<const uint8_t*>(locked),
      1024);
  EXPECT_EQ(*bitmap.GetPixelAddress(2, 1), 18);
  collection.Unlock(0);
  EXPECT_EQ(MMGetPictureCollection(id), &collection);
}

TEST_F(MMBitmapPictureCollectionTest, TheLastReferenceFreesTheSlot) {
  MMBitmapPictureCollection collection(2, 3);
  Source source(3, 2);
  const MMResourceId id = collection.AddBitmap(1, source.bitmap, nullptr);
  MMAddPictureReference(id);
  MMAddPictureReference(id);
  EXPECT_EQ(collection.GetReferenceManager()->ReferenceCount(1), 2);
  MMReleasePictureReference(id);
  EXPECT_TRUE(collection.IsInUse(1));
  MMReleasePictureReference(id);
  EXPECT_FALSE(collection.IsInUse(1));
  MMBitmap bitmap;
  EXPECT_FALSE(collection.LockBitmap(1, &bitmap, nullptr));
  MMReleasePictureReference(id);  // one too many does nothing
  EXPECT_EQ(collection.GetReferenceCount(1), 0);
}

TEST_F(MMBitmapPictureCollectionTest, AFullCollectionHasNoFreeSlotAndRefusesBitmaps) {
  MMBitmapPictureCollection collection(2, 3);
  Source source(3, 2);
  EXPECT_EQ(collection.FindFreeSlot(), 0);
  ASSERT_NE(collection.AddBitmap(collection.FindFreeSlot(), source.bitmap, nullptr), -1);
  EXPECT_EQ(collection.FindFreeSlot(), 1);
  ASSERT_NE(collection.AddBitmap(collection.FindFreeSlot(), source.bitmap, nullptr), -1);
  EXPECT_EQ(collection.FindFreeSlot(), -1);
  EXPECT_EQ(collection.AddBitmap(collection.FindFreeSlot(), source.bitmap, nullptr), -1);
  EXPECT_EQ(collection.AddBitmap(0, source.bitmap, nullptr), -1);  // slot in use
  MMBitmap twelveBit = source.bitmap;
  twelveBit.mBitsPerPixel = 12;
  collection.Reset();
  EXPECT_EQ(collection.AddBitmap(0, twelveBit, nullptr), -1);
  EXPECT_FALSE(collection.IsInUse(0));
}

TEST_F(MMBitmapPictureCollectionTest, SwapOffsetsAreFirstFitAndTheFileEmptiesWithTheLastPicture) {
  const std::string name = SwapName();
  {
    MMBitmapPictureCollection collection(8, 4, TempDirectory(), name.c_str());
    const MMResourceId a = AddOfSize(collection, 100);
    const MMResourceId b = AddOfSize(collection, 52);  // rows are padded to 4 bytes
    const MMResourceId c = AddOfSize(collection, 100);
    for (MMResourceId id : {a, b, c}) MMAddPictureReference(id);
    EXPECT_EQ(PeekBytes(name).size(), 252u);
    MMReleasePictureReference(b);
    EXPECT_EQ(collection.FindSwapOffset(40), 100);
    const MMResourceId d = AddOfSize(collection, 40);
    EXPECT_EQ(collection.FindSwapOffset(60), 252);
    MMAddPictureReference(d);
    for (MMResourceId id : {a, c, d}) MMReleasePictureReference(id);
    EXPECT_EQ(PeekBytes(name).size(), 0u);
  }
  UUFile gone;
  EXPECT_FALSE(gone.Open(TempDirectory(), name.c_str(), kUUFileRead, UUFileOptions()));
}

TEST_F(MMBitmapPictureCollectionTest, APurgedPictureIsReadBackFromTheSwapFile) {
  const std::string name = SwapName();
  MMBitmapPictureCollection collection(2, 4, TempDirectory(), name.c_str());
  Source source(5, 3);
  const MMResourceId id = collection.AddBitmap(0, source.bitmap, nullptr);
  MMAddPictureReference(id);
  MMResourceCache::PurgeLeastRecentlyUsed();
  MMBitmap bitmap;
  ASSERT_TRUE(collection.LockBitmap(0, &bitmap, nullptr));
  EXPECT_EQ(*bitmap.GetPixelAddress(4, 2), 36);
  collection.Unlock(0);
  MMReleasePictureReference(id);
}

TEST_F(MMBitmapPictureCollectionTest, WithoutASwapFileAPictureIsNeverPurged) {
  MMBitmapPictureCollection collection(2, 4);
  Source source(5, 3);
  const MMResourceId id = collection.AddBitmap(0, source.bitmap, nullptr);
  MMAddPictureReference(id);
  MMResourceCache::PurgeLeastRecentlyUsed();
  MMResourceCollection::PurgeAllUnreferenced();
  EXPECT_TRUE(MMResourceCollection::ReloadAllReferenced());
  MMBitmap bitmap;
  ASSERT_TRUE(collection.LockBitmap(0, &bitmap, nullptr));
  EXPECT_EQ(*bitmap.GetPixelAddress(1, 1), 17);
  collection.Unlock(0);
  MMReleasePictureReference(id);
}

}  // namespace
