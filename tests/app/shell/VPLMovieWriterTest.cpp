#include "app/shell/VPLMovieWriter.h"

#include "platform/quicktime/quicktime.h"
#include "tests/app/shell/ShellTestSupport.h"
#include "tests/foundation/uu/ScratchDirectory.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

using shell_test::PatternPixel;
using shell_test::RunCommand;

constexpr int32_t kWidth = 320;
constexpr int32_t kHeight = 240;
constexpr int32_t kFrames = 100;
constexpr int32_t kFrameRate = 10;
constexpr char kMovie[] = "movie.mov";
constexpr char kTemporary[] = "tempMovie";

// Draws frame n of the pattern into the surface.
void DrawFrame(MMSurface& surface, int32_t n) {
  surface.BeginDraw();
  MMBitmap image;
  ASSERT_TRUE(surface.GetImageDescription(image));
  for (int32_t y = 0; y < kHeight; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(image.GetPixelAddress(0, y));
    // A fourth byte that means nothing: the movie must be opaque anyway.
    for (int32_t x = 0; x < kWidth; ++x) row[x] = PatternPixel(x, y, n) | 0x17000000u;
  }
  surface.EndDraw();
}

// A surface whose pixels can be taken away, as a window's are.
class VanishingSurface : public MMSurface {
 public:
  explicit VanishingSurface(MMSurface& inner) : mInner(inner) {}
  UURect GetRect() const override { return mInner.GetRect(); }
  int32_t GetPixelFormat() const override { return mInner.GetPixelFormat(); }
  bool GetImageDescription(MMBitmap& bitmap) const override {
    return mHasPixels && mInner.GetImageDescription(bitmap);
  }
  bool mHasPixels = true;

 private:
  MMSurface& mInner;
};

class VPLMovieWriterTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(InitializeQTML(0), noErr); }
  static void TearDownTestSuite() { TerminateQTML(); }

  bool Exists(const char* name) const { return std::filesystem::exists(mScratch.HostPath(name)); }
  // Begin, the track, the frames (stopping at the first failure), the
  // track's end and Finish, as the export runs them.
  bool Export(MMSurface* surface, const UUDirectory& directory, int32_t frames) {
    VPLMovieWriter writer;
    if (writer.Begin(surface, kFrameRate, directory, kMovie) && writer.AddTrack()) {
      for (int32_t n = 0; n < frames; ++n) {
        if (surface == mSurface.Get()) DrawFrame(*surface, n);
        if (!writer.AddFrame()) break;
      }
      writer.FinishTrack();
    }
    return writer.Finish();
  }

  ScratchDirectory mScratch;
  UUOwned<MMSurface> mSurface = shell_test::PatternSurface(kWidth, kHeight, 0);
};

TEST_F(VPLMovieWriterTest, HundredFramesMakeTenSecondsOfAnimationAtTenFramesASecond) {
  ASSERT_TRUE(Export(mSurface.Get(), mScratch.Directory(), kFrames));
  EXPECT_FALSE(Exists(kTemporary));
  const std::string probe = RunCommand(
      "ffprobe -v error -count_frames -show_entries "
      "stream=codec_name,width,height,nb_read_frames,r_frame_rate,time_base,duration -of "
      "default=noprint_wrappers=1 '" +
      mScratch.HostPath(kMovie) + "'");
  for (const char* line : {"codec_name=qtrle", "width=320", "height=240", "r_frame_rate=10/1",
                           "time_base=1/600", "duration=10.000000", "nb_read_frames=100"}) {
    EXPECT_NE(probe.find(line), std::string::npos) << line << " in\n" << probe;
  }
  // The header comes first, so that players can start before the end.
  std::ifstream file(mScratch.HostPath(kMovie), std::ios::binary);
  std::string start(64, '\0');
  file.read(start.data(), 64);
  EXPECT_NE(start.find("moov"), std::string::npos);
}

TEST_F(VPLMovieWriterTest, EveryFrameDecodesToItsSourceExactly) {
  ASSERT_TRUE(Export(mSurface.Get(), mScratch.Directory(), kFrames));
  const std::string decoded = RunCommand("ffmpeg -v error -i '" + mScratch.HostPath(kMovie) +
                                         "' -f rawvideo -pix_fmt bgra - 2>/dev/null");
  ASSERT_EQ(decoded.size(), size_t{kWidth} * kHeight * 4 * kFrames);
  int mismatches = 0;
  for (int32_t n = 0; n < kFrames; ++n) {
    for (int32_t y = 0; y < kHeight; ++y) {
      for (int32_t x = 0; x < kWidth; ++x) {
        const auto* p = reinterpret_cast<const uint8_t*>(
            &decoded[((static_cast<size_t>(n) * kHeight + static_cast<size_t>(y)) * kWidth +
                      static_cast<size_t>(x)) *
                     4]);
        const uint32_t pixel = static_cast<uint32_t>(p[0] | p[1] << 8 | p[2] << 16 | p[3] << 24);
        mismatches += pixel != (PatternPixel(x, y, n) | 0xFF000000u) ? 1 : 0;
      }
    }
  }
  EXPECT_EQ(mismatches, 0);
}

TEST_F(VPLMovieWriterTest, MissingFolderFailsAtBeginAndFinishTouchesNoFile) {
  UUDirectory missing;
  missing.Set((std::string(mScratch.Directory().Text()) + "missing\\").c_str());
  VPLMovieWriter writer;
  EXPECT_FALSE(writer.Begin(mSurface.Get(), kFrameRate, missing, kMovie));
  EXPECT_FALSE(writer.Finish());
  EXPECT_TRUE(std::filesystem::is_empty(mScratch.HostPath("")));
}

TEST_F(VPLMovieWriterTest, AnEarlierTemporaryMovieIsReplacedAndThenGone) {
  std::ofstream(mScratch.HostPath(kTemporary)) << "an old temporary movie";
  ASSERT_TRUE(Export(mSurface.Get(), mScratch.Directory(), 3));
  EXPECT_FALSE(Exists(kTemporary));
  EXPECT_TRUE(Exists(kMovie));
}

TEST_F(VPLMovieWriterTest, AFrameWithoutPixelsFailsAndLeavesNoFile) {
  VanishingSurface surface(*mSurface);
  VPLMovieWriter writer;
  ASSERT_TRUE(writer.Begin(&surface, kFrameRate, mScratch.Directory(), kMovie));
  ASSERT_TRUE(writer.AddTrack());
  EXPECT_TRUE(writer.AddFrame());
  surface.mHasPixels = false;
  EXPECT_FALSE(writer.AddFrame());
  writer.FinishTrack();
  EXPECT_FALSE(writer.Finish());
  EXPECT_FALSE(Exists(kMovie));
  EXPECT_FALSE(Exists(kTemporary));
}

}  // namespace
