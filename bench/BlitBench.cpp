// Blits of an 800 x 600 picture, each against memcpy of the same bytes (the
// physical limit): the blit modes of the framework at 32 bits, and GDI's
// copies at 16 and 32 bits.
#include "mm/drawing/MMBlitRequest.h"
#include "platform/win32/gdi.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <vector>

namespace {

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 600;

std::unique_ptr<MMBitmapWithPixels> MakeBitmap(int32_t format, int32_t subFormat, int32_t width,
                                               int32_t height) {
  std::unique_ptr<MMBitmapWithPixels> bitmap(
      MMBitmapWithPixels::Create(UURect(0, 0, width, height), format, nullptr));
  bitmap->mSubFormat = subFormat;
  for (int32_t i = 0; i < bitmap->mPitch * height; ++i) {
    bitmap->mPixels[i] = static_cast<uint8_t>(i * 7);
  }
  if (format == kMMFormat32 && subFormat == kMMSubFormatKeyed) {
    for (int32_t i = 3; i < bitmap->mPitch * height; i += 4)
      bitmap->mPixels[i] = (i / 4) % 3 ? 0 : 255;
  }
  return bitmap;
}

void MemcpyBaseline(benchmark::State& state, size_t bytes) {
  std::vector<uint8_t> a(bytes, 1), b(bytes);
  for (auto _ : state) {
    std::memcpy(b.data(), a.data(), bytes);
    benchmark::DoNotOptimize(b.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

// args: format, sub-format, source scale in percent, path (plain, SSE2, AVX2)
void BM_Blit(benchmark::State& state) {
  const auto format = static_cast<int32_t>(state.range(0));
  const auto subFormat = static_cast<int32_t>(state.range(1));
  const auto scale = static_cast<int32_t>(state.range(2));
  const auto path = static_cast<MMBlitPath>(state.range(3));
  const std::vector<MMBlitPath> available = MMAvailableBlitPaths();
  if (std::find(available.begin(), available.end(), path) == available.end()) {
    return state.SkipWithError("this processor lacks the path");
  }
  MMSelectBlitRoutines(path);
  auto source = MakeBitmap(format, subFormat, kWidth * scale / 100, kHeight * scale / 100);
  auto destination = MakeBitmap(format, 0, kWidth, kHeight);
  for (auto _ : state) {
    MMBitmapBlitRequest request;
    request.Prepare(source.get(), *destination, UURect(0, 0, kWidth, kHeight));
    request.Execute();
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * destination->mPitch * kHeight);
  MMInitializeBlitRoutines();
}

void BM_Memcpy32(benchmark::State& state) { MemcpyBaseline(state, size_t{kWidth} * kHeight * 4); }
void BM_Memcpy16(benchmark::State& state) { MemcpyBaseline(state, size_t{kWidth} * kHeight * 2); }

struct GdiPicture {
  explicit GdiPicture(int bits) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER),
                      kWidth,
                      kHeight,
                      1,
                      static_cast<WORD>(bits),
                      BI_RGB,
                      0,
                      0,
                      0,
                      0,
                      0};
    dc = CreateCompatibleDC(nullptr);
    void* bits_ = nullptr;
    bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
    previous = SelectObject(dc, bitmap);
  }
  ~GdiPicture() {
    SelectObject(dc, previous);
    DeleteObject(bitmap);
    DeleteDC(dc);
  }
  HDC dc;
  HBITMAP bitmap;
  HGDIOBJ previous;
};

// args: bits, stretched
void BM_GdiBlt(benchmark::State& state) {
  const int bits = static_cast<int>(state.range(0));
  GdiPicture source(bits), destination(bits);
  for (auto _ : state) {
    if (state.range(1) != 0) {
      StretchBlt(destination.dc, 0, 0, kWidth, kHeight, source.dc, 0, 0, kWidth / 2, kHeight / 2,
                 SRCCOPY);
    } else {
      BitBlt(destination.dc, 0, 0, kWidth, kHeight, source.dc, 0, 0, SRCCOPY);
    }
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * kWidth * kHeight * bits / 8);
}

}  // namespace

BENCHMARK(BM_Memcpy32);
BENCHMARK(BM_Memcpy16);
// copy, scaled (a half-size source enlarged), keyed, blended; plain and vector (the
// blends through each of SSE2 and AVX2)
BENCHMARK(BM_Blit)
    ->ArgNames({"format", "sub", "scale", "path"})
    ->Args({kMMFormat32, 0, 100, 0})
    ->Args({kMMFormat32, 0, 100, 1})
    ->Args({kMMFormat32, 0, 50, 0})
    ->Args({kMMFormat32, 1, 100, 0})
    ->Args({kMMFormat32, 1, 100, 1})
    ->Args({kMMFormat32, 2, 100, 0})
    ->Args({kMMFormat32, 2, 100, 1})
    ->Args({kMMFormat32, 2, 100, 2})
    ->Args({kMMFormat32, 3, 100, 0})
    ->Args({kMMFormat32, 3, 100, 1})
    ->Args({kMMFormat32, 3, 100, 2})
    ->Args({kMMFormat24, 0, 100, 0});
BENCHMARK(BM_GdiBlt)
    ->ArgNames({"bits", "stretch"})
    ->Args({32, 0})
    ->Args({16, 0})
    ->Args({32, 1})
    ->Args({16, 1});
