#include "mm/resources/MMPictureLoader.h"

#include "mm/resources/MMResourceCollection.h"
#include "tests/support/ResourceFileFixtures.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace resource_fixtures;

// A 10 x 3 8-bit picture: pitch 12, pixel (x, y) = x + 10y + 1.
std::vector<uint8_t> EightBitPixels(bool ownPalette) {
  std::vector<uint8_t> data;
  if (ownPalette) {
    const MMPalette palette = GreyPalette();
    const auto* bytes = reinterpret_cast<const uint8_t*>(&palette);
    data.assign(bytes, bytes + 1024);
  }
  for (int y = 0; y < 3; ++y) {
    for (int x = 0; x < 12; ++x) data.push_back(static_cast<uint8_t>(x < 10 ? x + 10 * y + 1 : 0));
  }
  return data;
}

// An encoded 32-bit 4 x 1 picture: . A . B
std::vector<uint8_t> EncodedPixels() {
  std::vector<uint8_t> pixels = {0, 0, 0, 255, 1, 2, 3, 0, 0, 0, 0, 255, 4, 5, 6, 0};
  MMBitmap bitmap;
  bitmap.mBitsPerPixel = 32;
  bitmap.mBytesPerPixel = 4;
  bitmap.mFormat = kMMFormat32;
  bitmap.mSubFormat = kMMSubFormatKeyed;
  bitmap.mRect = UURect(0, 0, 4, 1);
  bitmap.mPitch = 16;
  bitmap.mPixels = pixels.data();
  std::vector<uint8_t> block(256);
  MMEncodedImage image;
  block.resize(static_cast<size_t>(image.Encode(bitmap, block.data(), 256)));
  return block;
}

class MMPictureLoaderTest : public ::testing::Test {
 protected:
  void SetUp() override { AFClearError(); }
  void TearDown() override {
    mLoader.reset();
    Remove(mName);
    MMResourceCache::SetMemoryBudget(0);
  }
  MMPictureLoader* Open(const std::vector<Picture>& pictures, int16_t collection) {
    mName = UniqueName("pictures");
    WritePictures(mName, collection, pictures);
    mLoader.reset(MMOpenPictureFile(TempDirectory(), mName.c_str(), false));
    return mLoader.get();
  }
  std::string mName;
  std::unique_ptr<MMPictureLoader> mLoader;
};

TEST_F(MMPictureLoaderTest, PlainPackedAndEncodedPicturesLock) {
  const std::vector<Picture> pictures = {
      {true, false, 1, 10, 3, 1, EightBitPixels(true)},
      {true, false, 3, 10, 3, 2, EightBitPixels(false), true},
      {false, true, 1, 4, 1, 0, EncodedPixels()},
  };
  MMPictureLoader* loader = Open(pictures, 9);
  ASSERT_NE(loader, nullptr);
  EXPECT_EQ(MMGetPictureCollection(0x00090002), loader);
  EXPECT_EQ(MMMakePictureId(loader, 2), 0x00090002);

  MMBitmap bitmap;
  const MMPalette* palette = nullptr;
  ASSERT_TRUE(loader->LockBitmap(0, &bitmap, &palette));
  EXPECT_EQ(bitmap.mPitch, 12);
  EXPECT_EQ(reinterpret_cast<const uint8_t*>(palette) + 1024, bitmap.mPixels);
  EXPECT_EQ(*bitmap.GetPixelAddress(9, 2), 30);
  loader->Unlock(0);

  ASSERT_TRUE(loader->LockBitmap(1, &bitmap, &palette));  // unpacked with LZO
  EXPECT_EQ(palette, loader->GetFile()->GetSharedPalette(0));
  EXPECT_EQ(*bitmap.GetPixelAddress(3, 1), 14);
  loader->Unlock(1);

  MMEncodedImage image;
  EXPECT_FALSE(loader->LockBitmap(2, &bitmap, nullptr));  // not a plain bitmap
  ASSERT_TRUE(loader->LockEncoded(2, &image, nullptr));
  EXPECT_TRUE(image.IsValid());
  EXPECT_EQ(image.FindPixel(3, 0)[0], 4);
  loader->Unlock(2);

  EXPECT_EQ(loader->GetTransparencyAt(0, UUPoint{0, 0}), 0);    // keyed, index 1
  EXPECT_EQ(loader->GetTransparencyAt(1, UUPoint{6, 0}), 128);  // palette entry 7
  EXPECT_EQ(loader->GetTransparencyAt(2, UUPoint{0, 0}), 255);  // transparent run
  EXPECT_EQ(loader->GetTransparencyAt(2, UUPoint{1, 0}), 0);
}

TEST_F(MMPictureLoaderTest, DamagedPicturesFailAloneAndNeverOverrun) {
  std::vector<uint8_t> badPacked = Pack(EightBitPixels(false));
  std::vector<Picture> pictures = {
      {true, false, 0, 10, 3, 0, std::vector<uint8_t>(20, 1)},  // too small for 10 x 3
      {true, false, 0, 10, 3, 5, EightBitPixels(false)},        // no shared palette 3
      {false, true, 1, 4, 1, 0, EncodedPixels()},
      {true, false, 0, 10, 3, 0, EightBitPixels(false)},
  };
  pictures[2].data[6] = 9;  // runs longer than the row
  MMPictureLoader* loader = Open(pictures, 10);
  ASSERT_NE(loader, nullptr);
  MMBitmap bitmap;
  MMEncodedImage image;
  EXPECT_FALSE(loader->LockBitmap(0, &bitmap, nullptr));
  EXPECT_FALSE(loader->LockBitmap(1, &bitmap, nullptr));
  EXPECT_FALSE(loader->LockEncoded(2, &image, nullptr));
  EXPECT_FALSE(loader->LockBitmap(99, &bitmap, nullptr));
  ASSERT_TRUE(loader->LockBitmap(3, &bitmap, nullptr));
  loader->Unlock(3);
}

TEST_F(MMPictureLoaderTest, ActSwitchReloadsReferencedPicturesOnly) {
  MMPictureLoader* loader = Open({{true, false, 0, 10, 3, 0, EightBitPixels(false)},
                                  {true, false, 0, 10, 3, 0, EightBitPixels(false)}},
                                 11);
  ASSERT_NE(loader, nullptr);
  MMAddPictureReference(0x000B0000);
  MMLoadPicture(0x000B0000);
  MMLoadPicture(0x000B0001);
  // Memory pressure takes both, the unreferenced one first.
  EXPECT_GT(MMResourceCache::PurgeLeastRecentlyUsed(), 0u);
  EXPECT_GT(MMResourceCache::PurgeLeastRecentlyUsed(), 0u);
  MMResourceCollection::PurgeAllUnreferenced();
  ASSERT_TRUE(MMResourceCollection::ReloadAllReferenced());
  MMBitmap bitmap;
  ASSERT_TRUE(loader->LockBitmap(0, &bitmap, nullptr));
  EXPECT_EQ(*bitmap.GetPixelAddress(2, 0), 3);  // read again
  loader->Unlock(0);
  MMReleasePictureReference(0x000B0000);
  MMResourceCollection::PurgeAllUnreferenced();
  EXPECT_EQ(MMResourceCache::GetMemoryInUse(), 0u);
}

TEST_F(MMPictureLoaderTest, WrongVersionIsRefused) {
  mName = UniqueName("version");
  WritePictures(mName, 12, {{true, false, 0, 10, 3, 0, EightBitPixels(false)}});
  std::vector<uint8_t> bytes = ReadBytes(mName);
  bytes[42 + 40] = 12;  // the picture version after the named header
  WriteBytes(mName, bytes);
  EXPECT_EQ(MMOpenPictureFile(TempDirectory(), mName.c_str(), false), nullptr);
  EXPECT_EQ(AFGetErrorCode(), MME_PICTURE_RESOURCE_FILE_BAD_VERSION_NUMBER);
}

TEST_F(MMPictureLoaderTest, FileInfoOpensWithoutALoaderAndKeepsTheOptionBytes) {
  mName = UniqueName("info");
  {
    MMPictureResourceFile file;
    ASSERT_TRUE(file.Create(TempDirectory(), mName.c_str(), UUFileOptions(), 2, 13));
    ASSERT_TRUE(file.SetOptionFlag(0, 5, true));
    ASSERT_TRUE(file.SetOptionFlag(0, 1, true));
    ASSERT_TRUE(file.SetOptionField(0, 2));
    ASSERT_TRUE(file.SetOptionField(1, 3));
    ASSERT_TRUE(file.SetOptionFlag(1, 3 + 1, false));  // the field's high bit
    ASSERT_TRUE(file.RecordEndOffset());
    ASSERT_TRUE(file.Close(true));
  }
  MMPictureFileInfo info;
  ASSERT_TRUE(MMOpenPictureFileInfo(TempDirectory(), mName.c_str(), true, &info));
  EXPECT_EQ(info.mCollectionNumber, 13);
  EXPECT_EQ(info.mPictureCount, 2);
  EXPECT_EQ(MMGetPictureCollection(0x000D0000), nullptr);
  EXPECT_EQ(info.mFile->GetOptions(0), 0x32);
  EXPECT_TRUE(info.mFile->GetOptionFlag(0, 5));
  EXPECT_FALSE(info.mFile->GetOptionFlag(0, 0));
  EXPECT_EQ(info.mFile->GetOptionField(0), 2);
  EXPECT_EQ(info.mFile->GetOptionField(1), 1);
  info.mFile->Close(false);
  delete info.mFile;
  EXPECT_FALSE(MMOpenPictureFileInfo(TempDirectory(), "vplres-no-such-file", true, &info));
}

}  // namespace
