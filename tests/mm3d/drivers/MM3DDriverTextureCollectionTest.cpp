#include "mm3d/drivers/MM3DDriverTextureCollection.h"

#include "tests/mm3d/drivers/RecordingDriver.h"

#include <gtest/gtest.h>

namespace {

constexpr MM3DDriverTextureFormat kAlphaMipmapped{kMM3DTextureArgb4444,
                                                  kMM3DFilterBilinearMipNearest, 1};

MM3DDriverTextureImage Image(int32_t width, int32_t height) {
  return MM3DDriverTextureImage(
      width, height,
      std::make_unique<uint8_t[]>(static_cast<size_t>(width) * static_cast<size_t>(height) * 4), 1);
}

TEST(MM3DDriverTextureCollectionTest, FormatQueries) {
  EXPECT_EQ(MM3DDriverTextureFormat{}, (MM3DDriverTextureFormat{1, 0, 0}));
  EXPECT_TRUE(kAlphaMipmapped.HasAlpha());
  EXPECT_TRUE(kAlphaMipmapped.IsMipmapped());
  EXPECT_FALSE((MM3DDriverTextureFormat{kMM3DTextureRgb888, kMM3DFilterBilinear, 0}).HasAlpha());
  EXPECT_FALSE((MM3DDriverTextureFormat{kMM3DTextureRgb888, kMM3DFilterBilinear, 0}).IsMipmapped());
  EXPECT_TRUE((MM3DDriverTextureFormat{1, 5, 1}) < (MM3DDriverTextureFormat{2, 0, 0}));
  EXPECT_TRUE((MM3DDriverTextureFormat{1, 0, 0}) < (MM3DDriverTextureFormat{1, 0, 1}));
}

TEST(MM3DDriverTextureCollectionTest, LoadTakesFirstFreeSlotAndRecordsFormatAndSize) {
  RecordingTextureCollection collection(4);
  MM3DDriverTextureHandle first = collection.Load(kAlphaMipmapped, Image(16, 8));
  MM3DDriverTextureHandle second = collection.Load({}, Image(8, 8));
  EXPECT_EQ(first.GetSlot(), 0);
  EXPECT_EQ(second.GetSlot(), 1);
  EXPECT_EQ(collection.GetReferenceCount(0), 1);
  EXPECT_EQ(first.GetFormat(), kAlphaMipmapped);
  EXPECT_EQ(first.GetSize().mWidth, 16);
  EXPECT_EQ(first.GetSize().mHeight, 8);
}

TEST(MM3DDriverTextureCollectionTest, RefusedSlotIsSkipped) {
  RecordingTextureCollection collection(4);
  collection.mFirstAccepted = 1;
  MM3DDriverTextureHandle handle = collection.Load({}, Image(8, 8));
  EXPECT_EQ(handle.GetSlot(), 1);
  EXPECT_EQ(collection.mLoaded, (std::vector<int32_t>{0, 1}));
}

TEST(MM3DDriverTextureCollectionTest, FullCollectionGivesEmptyHandle) {
  RecordingTextureCollection collection(2);
  MM3DDriverTextureHandle a = collection.Load({}, Image(8, 8));
  MM3DDriverTextureHandle b = collection.Load({}, Image(8, 8));
  MM3DDriverTextureHandle c = collection.Load({}, Image(8, 8));
  EXPECT_TRUE(c.IsEmpty());
  EXPECT_EQ(collection.mLoaded.size(), 2u);
}

TEST(MM3DDriverTextureCollectionTest, SlotFreedOnceAtLastRelease) {
  RecordingTextureCollection collection(2);
  MM3DDriverTextureHandle handle = collection.Load({}, Image(8, 8));
  MM3DDriverTextureHandle copy1(handle);
  MM3DDriverTextureHandle copy2;
  copy2 = copy1;
  MM3DDriverTextureHandle& alias = copy2;
  copy2 = alias;  // self-assignment keeps the one reference
  EXPECT_EQ(collection.GetReferenceCount(0), 3);
  handle.Release();
  copy1.Release();
  EXPECT_TRUE(collection.mFreed.empty());
  copy2.Release();
  EXPECT_EQ(collection.mFreed, (std::vector<int32_t>{0}));
  EXPECT_TRUE(copy2.IsEmpty());
  // A freed slot is taken again.
  MM3DDriverTextureHandle again = collection.Load({}, Image(8, 8));
  EXPECT_EQ(again.GetSlot(), 0);
}

TEST(MM3DDriverTextureCollectionTest, SelectHandleSelectsOrUnselectsAndReleasesArgument) {
  RecordingTextureCollection collection(2);
  MM3DDriverTextureHandle handle = collection.Load({}, Image(8, 8));
  collection.SelectHandle(handle);
  collection.SelectNone();
  EXPECT_EQ(collection.mSelections, (std::vector<int32_t>{0, RecordingTextureCollection::kNone}));
  EXPECT_EQ(collection.GetReferenceCount(0), 1);
  // The argument was the last reference: selecting it frees the slot.
  collection.SelectHandle(std::move(handle));
  EXPECT_EQ(collection.mFreed, (std::vector<int32_t>{0}));
}

}  // namespace
