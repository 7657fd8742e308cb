// Every kind of BMP the platform decodes, drawn with StretchDIBits, equals
// what an independent decoder (ffmpeg) makes of the same file.
#include "platform/win32/gdi.h"
#include "tests/platform/win32/GdiTestPixels.h"
#include "tests/support/BmpFixtures.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;
using bmp_fixtures::BmpFixture;

uint32_t Le(const std::vector<uint8_t>& b, size_t at, int bytes) {
  uint32_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = value << 8 | b[at + static_cast<size_t>(i)];
  return value;
}

bool HaveFfmpeg() { return std::system("ffmpeg -version >/dev/null 2>&1") == 0; }

class GdiDibDecodeTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HaveFfmpeg()) GTEST_SKIP() << "ffmpeg is not installed";
    char pattern[] = "/tmp/vpldibXXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    mDirectory = pattern;
  }
  void TearDown() override {
    if (!mDirectory.empty()) fs::remove_all(mDirectory);
  }

  // The picture as ffmpeg decodes it: red, green, blue per pixel, top row
  // first.
  std::vector<uint8_t> Reference(const BmpFixture& fixture) {
    const fs::path in = mDirectory / fixture.mName;
    const fs::path out = mDirectory / (fixture.mName + ".rgb");
    std::ofstream(in, std::ios::binary)
        .write(reinterpret_cast<const char*>(fixture.mBytes.data()),
               static_cast<std::streamsize>(fixture.mBytes.size()));
    const std::string command = "ffmpeg -v error -y -i '" + in.string() +
                                "' -f rawvideo -pix_fmt rgb24 '" + out.string() + "'";
    if (std::system(command.c_str()) != 0) return {};
    std::ifstream file(out, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  }

  fs::path mDirectory;
};

// The picture as StretchDIBits draws it into a 32-bit top-down section.
std::vector<uint8_t> Decoded(const BmpFixture& fixture, int32_t width, int32_t height) {
  const std::vector<uint8_t>& b = fixture.mBytes;
  vpl::test::DibCanvas canvas(width, -height, 32);
  const auto* info = reinterpret_cast<const BITMAPINFO*>(b.data() + 14);
  if (StretchDIBits(canvas.dc(), 0, 0, width, height, 0, 0, width, height, b.data() + Le(b, 10, 4),
                    info, DIB_RGB_COLORS, SRCCOPY) != height) {
    return {};
  }
  std::vector<uint8_t> rgb;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const COLORREF c = canvas.At(x, y);
      rgb.insert(rgb.end(), {GetRValue(c), GetGValue(c), GetBValue(c)});
    }
  }
  return rgb;
}

TEST_F(GdiDibDecodeTest, EveryKindDecodesAsAnIndependentDecoderDoes) {
  for (const BmpFixture& fixture : bmp_fixtures::AllBmpFixtures()) {
    const std::vector<uint8_t>& b = fixture.mBytes;
    const bool core = Le(b, 14, 4) == 12;
    const auto width = static_cast<int32_t>(core ? Le(b, 18, 2) : Le(b, 18, 4));
    const auto signedHeight = static_cast<int32_t>(core ? Le(b, 20, 2) : Le(b, 22, 4));
    const int32_t height = signedHeight < 0 ? -signedHeight : signedHeight;
    const std::vector<uint8_t> expected = Reference(fixture);
    ASSERT_EQ(expected.size(), static_cast<size_t>(width * height * 3)) << fixture.mName;
    EXPECT_EQ(Decoded(fixture, width, height), expected) << fixture.mName;
  }
}

}  // namespace
