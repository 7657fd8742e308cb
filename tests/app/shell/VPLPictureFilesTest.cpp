#include "app/shell/VPLPictureFiles.h"

#include "foundation/uu/UUFileSystem.h"
#include "platform/win32/testhooks.h"
#include "tests/app/shell/ShellTestSupport.h"
#include "tests/foundation/uu/ScratchDirectory.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

using shell_test::PatternPixel;
using shell_test::RunCommand;

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 600;
constexpr uintmax_t kBmpSize = 1920054;
constexpr int32_t kSeed = 3;
// JPEG is lossy: the decoded picture stays within this mean difference.
constexpr double kJpegMeanDifference = 4.0;

// A surface that answers the image description it is given, as a surface
// of any size (also sizes no DIB section takes) would.
class BitmapSurface : public MMSurface {
 public:
  explicit BitmapSurface(const MMBitmap& bitmap) : mBitmap(bitmap) {}
  UURect GetRect() const override { return mBitmap.mRect; }
  int32_t GetPixelFormat() const override { return kMMFormat32; }
  bool GetImageDescription(MMBitmap& bitmap) const override {
    bitmap = mBitmap;
    return true;
  }

 private:
  MMBitmap mBitmap;
};

MMBitmap Bitmap32(std::vector<uint8_t>& pixels, int32_t width, int32_t height) {
  pixels.assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4 + 4, 0x40);
  MMBitmap bitmap;
  bitmap.mBitsPerPixel = 32;
  bitmap.mBytesPerPixel = 4;
  bitmap.mFormat = kMMFormat32;
  bitmap.mSubFormat = kMMSubFormatCopy;
  bitmap.mRect = UURect(0, 0, width, height);
  bitmap.mPixels = pixels.data();
  bitmap.mPitch = width * 4;
  return bitmap;
}

class VPLPictureFilesTest : public ::testing::Test {
 protected:
  std::string Path(const char* name) const {
    char path[kUUPathCapacity];
    UUMakeFilePath(path, mScratch.Directory(), name);
    return path;
  }
  std::string Host(const char* name) const { return mScratch.HostPath(name); }
  bool Exists(const char* name) const { return std::filesystem::exists(Host(name)); }
  size_t FileCount() const {
    auto entries = std::filesystem::directory_iterator(Host(""));
    return static_cast<size_t>(std::distance(begin(entries), end(entries)));
  }
  // The picture ffmpeg decodes from a file, as blue, green, red, alpha.
  std::vector<uint8_t> Decode(const char* name) const {
    const std::string output = RunCommand("ffmpeg -v error -i '" + Host(name) +
                                          "' -f rawvideo -pix_fmt bgra - 2>/dev/null");
    return {output.begin(), output.end()};
  }

  ScratchDirectory mScratch;
  UUOwned<MMSurface> mSurface = shell_test::PatternSurface(kWidth, kHeight, kSeed);
};

TEST_F(VPLPictureFilesTest, BmpIsTheSurfaceRowsBottomUpThatEveryViewerReads) {
  ASSERT_TRUE(VPLSavePicture(kVPLPictureBmp, mSurface.Get(), mScratch.Directory(), "p.bmp"));
  EXPECT_EQ(std::filesystem::file_size(Host("p.bmp")), kBmpSize);
  EXPECT_EQ(FileCount(), 1u);  // the temporary name is gone
  EXPECT_NE(RunCommand("file -b '" + Host("p.bmp") + "'")
                .find("PC bitmap, Windows 3.x format, 800 x 600 x 32, cbSize 1920054, "
                      "bits offset 54"),
            std::string::npos);
  const std::vector<uint8_t> decoded = Decode("p.bmp");
  ASSERT_EQ(decoded.size(), static_cast<size_t>(kWidth) * kHeight * 4);
  int mismatches = 0;
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      const uint8_t* p = &decoded[(static_cast<size_t>(y) * kWidth + static_cast<size_t>(x)) * 4];
      const uint32_t bgr = static_cast<uint32_t>(p[0] | p[1] << 8 | p[2] << 16);
      mismatches += bgr != PatternPixel(x, y, kSeed) ? 1 : 0;
    }
  }
  EXPECT_EQ(mismatches, 0);
  // The file's first row is the picture's bottom row.
  std::FILE* file = std::fopen(Host("p.bmp").c_str(), "rb");
  uint8_t first[4] = {};
  std::fseek(file, 54, SEEK_SET);
  ASSERT_EQ(std::fread(first, 1, 4, file), 4u);
  std::fclose(file);
  EXPECT_EQ(static_cast<uint32_t>(first[0] | first[1] << 8 | first[2] << 16),
            PatternPixel(0, kHeight - 1, kSeed));
}

TEST_F(VPLPictureFilesTest, BmpReplacesAnEarlierFileWholeAndFailsCleanlyWithoutAFolder) {
  shell_test::RunCommand("echo old > '" + Host("p.bmp") + "'");
  ASSERT_TRUE(VPLWriteBmpFile(mSurface.Get(), mScratch.Directory(), "p.bmp"));
  EXPECT_EQ(std::filesystem::file_size(Host("p.bmp")), kBmpSize);
  UUDirectory missing;
  missing.Set((std::string(mScratch.Directory().Text()) + "missing\\").c_str());
  EXPECT_FALSE(VPLSavePicture(kVPLPictureBmp, mSurface.Get(), missing, "p.bmp"));
}

TEST_F(VPLPictureFilesTest, JpegIsABaselinePictureCloseToTheSurface) {
  ASSERT_TRUE(VPLSavePicture(kVPLPictureJpeg, mSurface.Get(), mScratch.Directory(), "p.jpg"));
  EXPECT_EQ(FileCount(), 1u);  // the disk probe is gone
  const std::string probe = RunCommand(
      "ffprobe -v error -show_entries stream=codec_name,profile,width,height -of "
      "default=noprint_wrappers=1 '" +
      Host("p.jpg") + "'");
  EXPECT_NE(probe.find("codec_name=mjpeg"), std::string::npos) << probe;
  EXPECT_NE(probe.find("profile=Baseline"), std::string::npos) << probe;
  EXPECT_NE(probe.find("width=800\nheight=600"), std::string::npos) << probe;
  const std::vector<uint8_t> decoded = Decode("p.jpg");
  ASSERT_EQ(decoded.size(), static_cast<size_t>(kWidth) * kHeight * 4);
  double difference = 0;
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      const uint8_t* p = &decoded[(static_cast<size_t>(y) * kWidth + static_cast<size_t>(x)) * 4];
      const uint32_t source = PatternPixel(x, y, kSeed);
      for (int c = 0; c < 3; ++c) difference += std::abs(p[c] - int((source >> (8 * c)) & 0xFF));
    }
  }
  EXPECT_LT(difference / (double(kWidth) * kHeight * 3), kJpegMeanDifference);
}

TEST_F(VPLPictureFilesTest, JpegReadsBackWhatWasWritten) {
  ASSERT_TRUE(VPLSavePicture(kVPLPictureJpeg, mSurface.Get(), mScratch.Directory(), "p.jpg"));
  UUOwned<MMBitmapWithPixels> bitmap(VPLReadJpegFile(Path("p.jpg").c_str()));
  ASSERT_TRUE(bitmap);
  EXPECT_EQ(bitmap->mRect, UURect(0, 0, kWidth, kHeight));
  const uint8_t* p = bitmap->GetPixelAddress(100, 50);
  const uint32_t source = PatternPixel(100, 50, kSeed);
  for (int c = 0; c < 3; ++c) EXPECT_NEAR(p[c], (source >> (8 * c)) & 0xFF, 12);
  EXPECT_EQ(p[3], 0);
}

// Failures of the JPEG library while writing come back as false: the save
// leaves no file, shows no message, and the process goes on.
TEST_F(VPLPictureFilesTest, JpegSizesTheLibraryRefusesFailWithoutAFile) {
  struct Case {
    int32_t width;
    int32_t height;
  };
  for (const Case& c : {Case{0, 10}, Case{70000, 1}}) {
    std::vector<uint8_t> pixels;
    BitmapSurface surface(Bitmap32(pixels, c.width, c.height));
    const int boxes = vpl::platform::MessageBoxCount();
    EXPECT_FALSE(VPLSavePicture(kVPLPictureJpeg, &surface, mScratch.Directory(), "p.jpg"))
        << c.width << " x " << c.height;
    EXPECT_EQ(FileCount(), 0u);
    EXPECT_EQ(vpl::platform::MessageBoxCount(), boxes);
  }
}

TEST_F(VPLPictureFilesTest, JpegFailsWithoutAFileOrMessageWhenTheDiskCannotHoldTheRawImage) {
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // Files may grow to a little less than the probe's height + 1 rows.
    const rlim_t limit = static_cast<rlim_t>(kWidth) * 4 * kHeight;
    const rlimit size{limit, limit};
    signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &size);
    const int boxes = vpl::platform::MessageBoxCount();
    const bool saved =
        VPLSavePicture(kVPLPictureJpeg, mSurface.Get(), mScratch.Directory(), "p.jpg");
    _exit(!saved && FileCount() == 0 && vpl::platform::MessageBoxCount() == boxes ? 0 : 1);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0);
}

TEST_F(VPLPictureFilesTest, OtherExportTypesWriteNothingAndFail) {
  for (int32_t type : {0, 3}) {
    EXPECT_FALSE(VPLSavePicture(type, mSurface.Get(), mScratch.Directory(), "p")) << type;
  }
  EXPECT_EQ(FileCount(), 0u);
}

// Writes a JPEG straight through the library: components samples a pixel,
// each sample value(x, y, component).
template <typename Value>
void WriteRawJpeg(const std::string& hostPath, int width, int height, int components,
                  J_COLOR_SPACE space, Value value) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  std::FILE* file = std::fopen(hostPath.c_str(), "wb");
  jpeg_stdio_dest(&info, file);
  info.image_width = static_cast<JDIMENSION>(width);
  info.image_height = static_cast<JDIMENSION>(height);
  info.input_components = components;
  info.in_color_space = space;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, 100, TRUE);
  jpeg_start_compress(&info, TRUE);
  std::vector<JSAMPLE> row(static_cast<size_t>(width * components));
  while (info.next_scanline < info.image_height) {
    for (int x = 0; x < width; ++x) {
      for (int c = 0; c < components; ++c) {
        row[static_cast<size_t>(x * components + c)] =
            static_cast<JSAMPLE>(value(x, static_cast<int>(info.next_scanline), c));
      }
    }
    JSAMPROW rows[] = {row.data()};
    jpeg_write_scanlines(&info, rows, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  std::fclose(file);
}

TEST_F(VPLPictureFilesTest, GreyJpegGivesGreyPixelsOfItsOwnSamples) {
  constexpr int kGreyWidth = 37;
  constexpr int kGreyHeight = 5;
  WriteRawJpeg(Host("grey.jpg"), kGreyWidth, kGreyHeight, 1, JCS_GRAYSCALE,
               [](int, int, int) { return 90; });
  UUOwned<MMBitmapWithPixels> bitmap(VPLReadJpegFile(Path("grey.jpg").c_str()));
  ASSERT_TRUE(bitmap);
  ASSERT_EQ(bitmap->mRect, UURect(0, 0, kGreyWidth, kGreyHeight));
  for (int y = 0; y < kGreyHeight; ++y) {
    for (int x = 0; x < kGreyWidth; ++x) {
      const uint8_t* p = bitmap->GetPixelAddress(x, y);
      EXPECT_EQ(p[0], 90);
      EXPECT_EQ(p[1], 90);
      EXPECT_EQ(p[2], 90);
      EXPECT_EQ(p[3], 0);
    }
  }
}

TEST_F(VPLPictureFilesTest, DamagedJpegsGiveNothingAndCloseTheFile) {
  ASSERT_TRUE(VPLSavePicture(kVPLPictureJpeg, mSurface.Get(), mScratch.Directory(), "p.jpg"));
  const uintmax_t size = std::filesystem::file_size(Host("p.jpg"));
  std::filesystem::copy_file(Host("p.jpg"), Host("truncated.jpg"));
  std::filesystem::resize_file(Host("truncated.jpg"), size / 2);
  std::filesystem::copy_file(Host("p.jpg"), Host("corrupt.jpg"));
  std::FILE* file = std::fopen(Host("corrupt.jpg").c_str(), "r+b");
  std::fseek(file, 2, SEEK_SET);
  std::fputs("garbage where the tables were", file);
  std::fclose(file);
  WriteRawJpeg(Host("two.jpg"), 8, 8, 2, JCS_UNKNOWN,
               [](int x, int y, int c) { return x + y + c; });
  for (const char* name : {"truncated.jpg", "corrupt.jpg", "two.jpg", "missing.jpg"}) {
    const int descriptors = shell_test::OpenDescriptorCount();
    EXPECT_EQ(VPLReadJpegFile(Path(name).c_str()), nullptr) << name;
    EXPECT_EQ(shell_test::OpenDescriptorCount(), descriptors) << name;
  }
}

// Stray bytes before a marker are a warning of the library, common in real
// photos that decode whole: the picture is read as if they were not there.
TEST_F(VPLPictureFilesTest, StrayBytesBeforeAMarkerStillGiveThePicture) {
  ASSERT_TRUE(VPLSavePicture(kVPLPictureJpeg, mSurface.Get(), mScratch.Directory(), "p.jpg"));
  std::ifstream clean(Host("p.jpg"), std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(clean)), std::istreambuf_iterator<char>());
  const std::string startOfScan("\xFF\xDA", 2);
  const size_t scan = bytes.find(startOfScan);
  ASSERT_NE(scan, std::string::npos);
  bytes.insert(scan, "stray");
  std::ofstream(Host("stray.jpg"), std::ios::binary) << bytes;
  UUOwned<MMBitmapWithPixels> clean32(VPLReadJpegFile(Path("p.jpg").c_str()));
  UUOwned<MMBitmapWithPixels> stray32(VPLReadJpegFile(Path("stray.jpg").c_str()));
  ASSERT_TRUE(clean32);
  ASSERT_TRUE(stray32);
  ASSERT_EQ(stray32->mRect, clean32->mRect);
  EXPECT_EQ(std::memcmp(stray32->GetPixelAddress(0, 0), clean32->GetPixelAddress(0, 0),
                        size_t{kWidth} * 4),
            0);
  EXPECT_EQ(std::memcmp(stray32->GetPixelAddress(0, kHeight - 1),
                        clean32->GetPixelAddress(0, kHeight - 1), size_t{kWidth} * 4),
            0);
}

}  // namespace
