// The two live paths of picture import, each against the least work it
// could do: the area resampler of a 1024 x 768 picture into 128 x 96 over
// one pass summing every source byte, and the run-length decoding of an
// 800 x 600 picture over copying its decoded bytes.
#include "RatioOverFloor.h"
#include "app/shell/MMResampleArea.h"
#include "platform/win32/gdi.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

MMBitmap Bitmap32(std::vector<uint8_t>& pixels, int32_t width, int32_t height) {
  pixels.resize(static_cast<size_t>(width) * static_cast<size_t>(height) * 4);
  MMBitmap bitmap;
  bitmap.mBitsPerPixel = 32;
  bitmap.mBytesPerPixel = 4;
  bitmap.mFormat = kMMFormat32;
  bitmap.mRect = UURect(0, 0, width, height);
  bitmap.mPixels = pixels.data();
  bitmap.mPitch = width * 4;
  return bitmap;
}

void BM_ResampleArea32OverSummingEveryByte(benchmark::State& state) {
  std::vector<uint8_t> sourcePixels, destinationPixels;
  const MMBitmap source = Bitmap32(sourcePixels, 1024, 768);
  const MMBitmap destination = Bitmap32(destinationPixels, 128, 96);
  for (size_t i = 0; i < sourcePixels.size(); ++i) {
    sourcePixels[i] = i % 4 == 3 ? 0 : static_cast<uint8_t>(i * 13 + i / 4096);
  }
  ReportRatioOverFloor(
      state,
      [&] {
        uint64_t sum = 0;
        for (uint8_t byte : sourcePixels) sum += byte;
        benchmark::DoNotOptimize(sum);
      },
      [&] {
        MMResampleArea32(source, destination);
        benchmark::ClobberMemory();
      });
}

constexpr int32_t kRleWidth = 800;
constexpr int32_t kRleHeight = 600;

// Rows of runs of 20 to 80 pixels between literal strings of 6 pixels, as a
// child's drawing, flat areas with some detail, encodes.
std::vector<uint8_t> Rle8Rows() {
  std::vector<uint8_t> stream;
  for (int32_t y = 0; y < kRleHeight; ++y) {
    int32_t x = 0;
    while (x < kRleWidth) {
      const int32_t run = std::min(20 + (x * 7 + y) % 61, kRleWidth - x);
      stream.insert(stream.end(), {static_cast<uint8_t>(run), static_cast<uint8_t>(x + y)});
      x += run;
      if (kRleWidth - x >= 6) {
        stream.insert(stream.end(), {0, 6});
        for (int k = 0; k < 6; ++k) stream.push_back(static_cast<uint8_t>(x * 3 + k));
        x += 6;
      }
    }
    stream.insert(stream.end(), {0, 0});
  }
  stream.insert(stream.end(), {0, 1});
  return stream;
}

struct Rle8Picture {
  Rle8Picture() : stream(Rle8Rows()), info(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD)) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = kRleWidth;
    header.biHeight = kRleHeight;
    header.biPlanes = 1;
    header.biBitCount = 8;
    std::memcpy(info.data(), &header, sizeof header);
    for (size_t i = 0; i < 256; ++i) info[sizeof header + 4 * i] = static_cast<uint8_t>(i);
    section = CreateDIBSection(nullptr, Info(), DIB_RGB_COLORS, &bits, nullptr, 0);
    header.biCompression = BI_RLE8;
    header.biSizeImage = static_cast<DWORD>(stream.size());
    std::memcpy(info.data(), &header, sizeof header);
  }
  ~Rle8Picture() { DeleteObject(section); }
  const BITMAPINFO* Info() const { return reinterpret_cast<const BITMAPINFO*>(info.data()); }

  std::vector<uint8_t> stream;
  std::vector<uint8_t> info;
  void* bits = nullptr;
  HBITMAP section = nullptr;
};

void BM_Rle8DecodingOverCopyingTheDecodedBytes(benchmark::State& state) {
  Rle8Picture picture;
  const size_t bytes = size_t{kRleWidth} * kRleHeight;
  std::vector<uint8_t> decoded(bytes, 3), copy(bytes);
  ReportRatioOverFloor(
      state,
      [&] {
        std::memcpy(copy.data(), decoded.data(), bytes);
        benchmark::ClobberMemory();
      },
      [&] {
        SetDIBits(nullptr, picture.section, 0, kRleHeight, picture.stream.data(), picture.Info(),
                  DIB_RGB_COLORS);
        benchmark::ClobberMemory();
      });
}

}  // namespace

BENCHMARK(BM_ResampleArea32OverSummingEveryByte)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Rle8DecodingOverCopyingTheDecodedBytes)->Unit(benchmark::kMillisecond);
