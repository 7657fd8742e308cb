#include "app/shell/VPLSketch.h"

#include "tests/app/shell/SketchTestSupport.h"
#include "tests/foundation/uu/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

using sketch_test::FakeCreation;
using sketch_test::PatternBitmap;
using sketch_test::ReadHostFile;
using sketch_test::SketchBytes;
using sketch_test::WriteHostFile;

namespace {

constexpr int32_t kTime = 0x12345678;
constexpr int16_t kSize = 256;
const std::string kSignature("VPL3Dv1.0\0", 10);
constexpr size_t kThumbnailBytes = 256 * 256 * 4;

class VPLSketchTest : public ::testing::Test {
 protected:
  VPLSketch MakeSketch(const std::vector<uint8_t>& bytes) {
    WriteHostFile(mScratch.HostPath("Sketch 1"), bytes);
    return VPLSketch(mScratch.Directory(), "Sketch 1");
  }
  std::vector<uint8_t> FileBytes() { return ReadHostFile(mScratch.HostPath("Sketch 1")); }

  ScratchDirectory mScratch;
};

TEST_F(VPLSketchTest, CreationWrittenAndReadBackEqualsItself) {
  VPLSketch sketch =
      MakeSketch(SketchBytes(kTime, kSignature, 0, kSize, kSize, 4, kThumbnailBytes));
  FakeCreation written({1, 2, 3, 250, 0, 7});
  const auto thumbnail = PatternBitmap(kSize, kSize, 9);
  ASSERT_TRUE(sketch.Write(&written, *thumbnail));

  FakeCreation read;
  ASSERT_TRUE(sketch.ReadCreation(read));
  EXPECT_EQ(read.Bytes(), written.Bytes());
  const auto back = PatternBitmap(kSize, kSize, 0);
  ASSERT_TRUE(sketch.ReadThumbnail(*back));
  EXPECT_EQ(std::memcmp(back->mPixels, thumbnail->mPixels, kThumbnailBytes), 0);
  EXPECT_EQ(FileBytes()[14], 1);
}

TEST_F(VPLSketchTest, WithoutCreationTheThumbnailReadsButTheCreationStaysUntouched) {
  VPLSketch sketch = MakeSketch(SketchBytes(kTime, kSignature, 0, kSize, kSize, 4, 0));
  const auto thumbnail = PatternBitmap(kSize, kSize, 3);
  ASSERT_TRUE(sketch.Write(nullptr, *thumbnail));
  FakeCreation creation({42});
  EXPECT_FALSE(sketch.ReadCreation(creation));
  EXPECT_EQ(creation.Bytes(), std::vector<uint8_t>{42});
  const auto back = PatternBitmap(kSize, kSize, 0);
  ASSERT_TRUE(sketch.ReadThumbnail(*back));
  EXPECT_EQ(std::memcmp(back->mPixels, thumbnail->mPixels, kThumbnailBytes), 0);
}

TEST_F(VPLSketchTest, ThumbnailOfAnotherSizeReadsNoRow) {
  VPLSketch sketch =
      MakeSketch(SketchBytes(kTime, kSignature, 0, kSize, kSize, 4, kThumbnailBytes));
  const auto small = PatternBitmap(128, 128, 7);
  const auto before = PatternBitmap(128, 128, 7);
  EXPECT_FALSE(sketch.ReadThumbnail(*small));
  EXPECT_EQ(std::memcmp(small->mPixels, before->mPixels, 128 * 128 * 4), 0);
}

TEST_F(VPLSketchTest, RewriteKeepsTheTimeAndLeavesTheExactLength) {
  VPLSketch sketch =
      MakeSketch(SketchBytes(kTime, kSignature, 0, kSize, kSize, 4, kThumbnailBytes));
  EXPECT_EQ(sketch.GetCreationTime(), kTime);
  const auto thumbnail = PatternBitmap(kSize, kSize, 1);
  FakeCreation large(std::vector<uint8_t>(5000, 0xAB));
  ASSERT_TRUE(sketch.Write(&large, *thumbnail));
  FakeCreation shorter({9, 9});
  ASSERT_TRUE(sketch.Write(&shorter, *thumbnail));

  const std::vector<uint8_t> bytes = FileBytes();
  const std::vector<uint8_t> time(bytes.begin(), bytes.begin() + 4);
  EXPECT_EQ(time, (std::vector<uint8_t>{0x78, 0x56, 0x34, 0x12}));
  EXPECT_EQ(bytes.size(), kVPLSketchHeaderSize + kThumbnailBytes + 4 + 2);
}

TEST_F(VPLSketchTest, RewriteLeavesNoTemporaryFile) {
  VPLSketch sketch =
      MakeSketch(SketchBytes(kTime, kSignature, 0, kSize, kSize, 4, kThumbnailBytes));
  const auto thumbnail = PatternBitmap(kSize, kSize, 1);
  ASSERT_TRUE(sketch.Write(nullptr, *thumbnail));
  int files = 0;
  for (const auto& entry : std::filesystem::directory_iterator(mScratch.HostPath(""))) {
    (void)entry;
    ++files;
  }
  EXPECT_EQ(files, 1);
}

TEST_F(VPLSketchTest, OnlyTheExactSignatureIsASketch) {
  const struct {
    std::string signature;
    bool accepted;
  } cases[] = {
      {kSignature, true},
      {std::string("vpl3dV1.0\0", 10), false},
      {"VPL3Dv1.0 ", false},
      {std::string("VPL3Dv1.1\0", 10), false},
  };
  for (const auto& c : cases) {
    VPLSketch sketch =
        MakeSketch(SketchBytes(kTime, c.signature, 1, kSize, kSize, 4, kThumbnailBytes));
    FakeCreation creation;
    const auto thumbnail = PatternBitmap(kSize, kSize, 0);
    EXPECT_EQ(VPLIsSketchFile(mScratch.Directory(), "Sketch 1"), c.accepted);
    EXPECT_EQ(sketch.ReadThumbnail(*thumbnail), c.accepted);
  }
}

TEST_F(VPLSketchTest, DamagedHeadersAreRefusedAndTheCreationStaysUntouched) {
  const struct {
    const char* what;
    std::vector<uint8_t> bytes;
  } cases[] = {
      {"negative width", SketchBytes(kTime, kSignature, 1, -256, kSize, 4, kThumbnailBytes)},
      {"zero height", SketchBytes(kTime, kSignature, 1, kSize, 0, 4, kThumbnailBytes)},
      {"no bytes per pixel", SketchBytes(kTime, kSignature, 1, kSize, kSize, 0, kThumbnailBytes)},
      {"five bytes per pixel", SketchBytes(kTime, kSignature, 1, kSize, kSize, 5, kThumbnailBytes)},
      {"huge thumbnail", SketchBytes(kTime, kSignature, 1, 32767, 32767, 4, kThumbnailBytes)},
      {"truncated thumbnail", SketchBytes(kTime, kSignature, 1, kSize, kSize, 4, 1000)},
      {"truncated header", {0x78, 0x56, 0x34, 0x12, 'V', 'P', 'L'}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    VPLSketch sketch = MakeSketch(c.bytes);
    FakeCreation creation({42});
    EXPECT_FALSE(sketch.ReadCreation(creation));
    EXPECT_EQ(creation.Bytes(), std::vector<uint8_t>{42});
  }
}

TEST_F(VPLSketchTest, LongNamesAreCutWithinTheirBuffer) {
  const std::string longName(400, 'n');
  const VPLSketch sketch(mScratch.Directory(), longName.c_str());
  EXPECT_EQ(std::strlen(sketch.GetFileName()), 259u);
  EXPECT_EQ(sketch.GetCreationTime(), 0);
}

}  // namespace
