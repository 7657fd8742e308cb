// The creation's exports against the cheapest way of doing the same work:
// the BMP save against writing, flushing and renaming its bytes plainly;
// the JPEG save against the JPEG library alone compressing the same rows
// into a file (the difference is the disk probe and the conversion); one
// movie frame against the Animation encoder compressing the same frame.

#include "app/shell/VPLMovieWriter.h"
#include "app/shell/VPLPictureFiles.h"
#include "bench/BenchScratch.h"
#include "bench/RatioOverFloor.h"
#include "foundation/uu/UUDirectory.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "platform/quicktime/quicktime.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 600;
constexpr int32_t kMovieWidth = 320;
constexpr int32_t kMovieHeight = 240;

std::unique_ptr<WinMMOffscreenSurface> Picture(int32_t width, int32_t height) {
  std::unique_ptr<WinMMOffscreenSurface> surface(
      WinMMCreateOffscreenSurface(32, UURect(0, 0, width, height), AFPalette()));
  surface->BeginDraw();
  MMBitmap image;
  surface->GetImageDescription(image);
  for (int32_t y = 0; y < height; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(image.GetPixelAddress(0, y));
    for (int32_t x = 0; x < width; ++x) {
      row[x] = static_cast<uint32_t>((x / 4) | (y / 3) << 8 | ((x + y) / 8) << 16);
    }
  }
  surface->EndDraw();
  return surface;
}

void WritePlainly(const std::string& temporary, const std::string& target,
                  const std::vector<uint8_t>& bytes) {
  const int file = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  benchmark::DoNotOptimize(write(file, bytes.data(), bytes.size()));
  fsync(file);
  close(file);
  std::rename(temporary.c_str(), target.c_str());
}

void BM_SaveBmpOverPlainWrite(benchmark::State& state) {
  BenchScratch scratch("export");
  auto surface = Picture(kWidth, kHeight);
  VPLSavePicture(kVPLPictureBmp, surface.get(), scratch.Directory(), "saved.bmp");
  std::vector<uint8_t> bytes(std::filesystem::file_size(scratch.Host("saved.bmp")));
  std::FILE* saved = std::fopen(scratch.Host("saved.bmp").c_str(), "rb");
  benchmark::DoNotOptimize(std::fread(bytes.data(), 1, bytes.size(), saved));
  std::fclose(saved);
  ReportRatioOverFloor(
      state, [&] { WritePlainly(scratch.Host("plain.tmp"), scratch.Host("plain.bmp"), bytes); },
      [&] { VPLSavePicture(kVPLPictureBmp, surface.get(), scratch.Directory(), "saved.bmp"); });
}
BENCHMARK(BM_SaveBmpOverPlainWrite)->Unit(benchmark::kMillisecond);

void CompressRows(const std::string& path, const std::vector<uint8_t>& rgb) {
  jpeg_compress_struct info{};
  jpeg_error_mgr errors{};
  info.err = jpeg_std_error(&errors);
  jpeg_create_compress(&info);
  std::FILE* file = std::fopen(path.c_str(), "wb");
  jpeg_stdio_dest(&info, file);
  info.image_width = kWidth;
  info.image_height = kHeight;
  info.input_components = 3;
  info.in_color_space = JCS_RGB;
  jpeg_set_defaults(&info);
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    auto* row = const_cast<JSAMPROW>(rgb.data() + info.next_scanline * kWidth * 3);
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  std::fclose(file);
  jpeg_destroy_compress(&info);
}

void BM_SaveJpegOverLibraryAlone(benchmark::State& state) {
  BenchScratch scratch("export");
  auto surface = Picture(kWidth, kHeight);
  // The picture's own rows, already turned into the library's order.
  std::vector<uint8_t> rgb;
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      rgb.insert(rgb.end(), {static_cast<uint8_t>((x + y) / 8), static_cast<uint8_t>(y / 3),
                             static_cast<uint8_t>(x / 4)});
    }
  }
  ReportRatioOverFloor(
      state, [&] { CompressRows(scratch.Host("plain.jpg"), rgb); },
      [&] { VPLSavePicture(kVPLPictureJpeg, surface.get(), scratch.Directory(), "saved.jpg"); });
}
BENCHMARK(BM_SaveJpegOverLibraryAlone)->Unit(benchmark::kMillisecond);

void BM_MovieFrameOverEncoderAlone(benchmark::State& state) {
  InitializeQTML(0);
  BenchScratch scratch("export");
  auto surface = Picture(kMovieWidth, kMovieHeight);
  GWorldPtr world = nullptr;
  const Rect bounds{0, 0, kMovieHeight, kMovieWidth};
  NewGWorld(&world, 32, &bounds, nullptr, nullptr, 0);
  int32_t largest = 0;
  GetMaxCompressionSize(GetGWorldPixMap(world), &bounds, 0, 0, kAnimationCodecType, anyCodec,
                        &largest);
  std::vector<char> data(static_cast<size_t>(largest));
  auto description = reinterpret_cast<ImageDescriptionHandle>(NewHandle(4));
  VPLMovieWriter writer;
  writer.Begin(surface.get(), 10, scratch.Directory(), "movie.mov");
  writer.AddTrack();
  ReportRatioOverFloor(
      state,
      [&] {
        CompressImage(GetGWorldPixMap(world), &bounds, 1023, kAnimationCodecType, description,
                      data.data());
      },
      [&] { writer.AddFrame(); });
  writer.FinishTrack();
  writer.Finish();
  DisposeHandle(reinterpret_cast<Handle>(description));
  DisposeGWorld(world);
}
BENCHMARK(BM_MovieFrameOverEncoderAlone)->Unit(benchmark::kMillisecond);

}  // namespace
