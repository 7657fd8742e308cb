#include "platform/quicktime/quicktime.h"
#include "platform/win32/PathMapping.h"
#include "platform/win32/kernel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

FSSpec SpecOf(const fs::path& path) {
  const std::string windows = vpl::platform::ToWindowsPath(path.string());
  FSSpec spec{};
  spec.name[0] = static_cast<uint8_t>(windows.size());
  std::memcpy(spec.name + 1, windows.data(), windows.size());
  return spec;
}

class QuickTimeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/vpl-quicktime-XXXXXX";
    mDirectory = mkdtemp(pattern);
    ASSERT_EQ(InitializeQTML(0), noErr);
  }
  void TearDown() override {
    TerminateQTML();
    fs::remove_all(mDirectory);
  }
  fs::path mDirectory;
};

TEST_F(QuickTimeTest, ClientLibraryLoadsByItsFullPathAndQuickTimeStarts) {
  EXPECT_NE(LoadLibraryA("C:\\Program Files\\Plorvia\\qtmlClient.dll"), nullptr);
  EXPECT_NE(LoadLibraryA("QTMLCLIENT.DLL"), nullptr);
  int32_t version = 0;
  EXPECT_EQ(Gestalt(gestaltQuickTime, &version), noErr);
  EXPECT_GE(version, 0x04000000);
  EXPECT_EQ(EnterMovies(), noErr);
  TerminateQTML();
  EXPECT_NE(EnterMovies(), noErr);
}

TEST_F(QuickTimeTest, MovieCallsRefuseWhatTheyCannotWrite) {
  const FSSpec existing = SpecOf(mDirectory / "existing");
  std::ofstream(mDirectory / "existing") << "kept";
  int16_t file = 0;
  Movie movie = nullptr;
  EXPECT_EQ(CreateMovieFile(&existing, 0, 0, 0, &file, &movie), dupFNErr);
  const FSSpec missing = SpecOf(mDirectory / "missing" / "movie");
  EXPECT_EQ(CreateMovieFile(&missing, 0, 0, createMovieFileDeleteCurFile, &file, &movie), fnfErr);
  EXPECT_EQ(movie, nullptr);

  const FSSpec spec = SpecOf(mDirectory / "movie");
  ASSERT_EQ(CreateMovieFile(&spec, 0, 0, createMovieFileDeleteCurFile, &file, &movie), noErr);
  Track track = NewMovieTrack(movie, 4 << 16, 2 << 16, 0);
  Media media = NewTrackMedia(track, VideoMediaType, 600, nullptr, 0);
  ASSERT_NE(media, nullptr);
  Handle sample = NewHandle(16);
  Handle tooSmall = NewHandle(4);
  // Samples go in between the media edits, described by a whole image
  // description, and no larger than their handle.
  EXPECT_EQ(AddMediaSample(media, sample, 0, 16, 60, tooSmall, 1, 0, nullptr), invalidMedia);
  ASSERT_EQ(BeginMediaEdits(media), noErr);
  EXPECT_EQ(AddMediaSample(media, sample, 0, 16, 60, tooSmall, 1, 0, nullptr), paramErr);
  SetHandleSize(tooSmall, sizeof(ImageDescription));
  EXPECT_EQ(AddMediaSample(media, sample, 8, 16, 60, tooSmall, 1, 0, nullptr), paramErr);
  EXPECT_EQ(GetMediaDuration(media), 0);
  DisposeHandle(sample);
  DisposeHandle(tooSmall);
  EXPECT_EQ(CloseMovieFile(file), noErr);
  DisposeMovie(movie);
  EXPECT_EQ(DeleteMovieFile(&spec), noErr);
  EXPECT_EQ(DeleteMovieFile(&spec), fnfErr);
}

TEST_F(QuickTimeTest, OnlyTheAnimationCodecCompressesWholeWorlds) {
  GWorldPtr world = nullptr;
  const Rect bounds{0, 0, 2, 3};
  EXPECT_EQ(NewGWorld(&world, 16, &bounds, nullptr, nullptr, 0), paramErr);
  ASSERT_EQ(NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0), noErr);
  PixMapHandle pixels = GetGWorldPixMap(world);
  EXPECT_EQ(GetPixRowBytes(pixels), 12);
  int32_t largest = 0;
  EXPECT_EQ(GetMaxCompressionSize(pixels, &bounds, 0, 0, FourCharCode("jpeg"), anyCodec, &largest),
            noCodecErr);
  ASSERT_EQ(GetMaxCompressionSize(pixels, &bounds, 0, 0, kAnimationCodecType, anyCodec, &largest),
            noErr);
  Handle data = NewHandle(largest);
  auto description = reinterpret_cast<ImageDescriptionHandle>(NewHandle(4));
  const Rect part{0, 0, 1, 3};
  EXPECT_EQ(CompressImage(pixels, &part, 0, kAnimationCodecType, description, *data), paramErr);
  ASSERT_EQ(CompressImage(pixels, &bounds, 0, kAnimationCodecType, description, *data), noErr);
  EXPECT_EQ((*description)->width, 3);
  EXPECT_EQ((*description)->height, 2);
  EXPECT_EQ((*description)->depth, 32);
  EXPECT_GT((*description)->dataSize, 0);
  EXPECT_LE((*description)->dataSize, largest);
  DisposeHandle(reinterpret_cast<Handle>(description));
  DisposeHandle(data);
  DisposeGWorld(world);
}

}  // namespace
