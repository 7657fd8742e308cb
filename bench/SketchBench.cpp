// Sketch files against the plainest way of doing the same work: a save of
// a sketch with a 1 MB creation against writing the same bytes with
// write, fsync and rename; a sketchbook's scan of 50 sketches against
// reading their 10 signature bytes with pread.

#include "app/shell/VPLSketch.h"
#include "app/shell/VPLSketchbook.h"
#include "bench/BenchScratch.h"
#include "bench/RatioOverFloor.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr uint32_t kCreationBytes = 1 << 20;
constexpr int kSketches = 50;

// A creation whose record is 1 MB written in one piece.
class LargeCreation : public VPLSketchCreation {
 public:
  bool Write(UURandomAccessStream& stream) override {
    return stream.Write(mBytes.data(), kCreationBytes);
  }
  bool Read(UURandomAccessStream&) override { return false; }

 private:
  std::vector<uint8_t> mBytes = std::vector<uint8_t>(kCreationBytes, 0x33);
};

std::unique_ptr<MMBitmapWithPixels> Thumbnail() {
  const int32_t side = kVPLSketchThumbnailSize;
  std::unique_ptr<MMBitmapWithPixels> bitmap(
      MMBitmapWithPixels::Create(UURect(0, 0, side, side), kMMFormat32, nullptr));
  std::fill_n(bitmap->mPixels, side * side * 4, uint8_t{0x80});
  return bitmap;
}

void WritePlainly(const std::string& temporary, const std::string& name,
                  const std::vector<uint8_t>& bytes) {
  const int descriptor = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0666);
  if (write(descriptor, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size()))
    std::abort();
  fsync(descriptor);
  close(descriptor);
  std::rename(temporary.c_str(), name.c_str());
}

void BM_SketchWriteOverPlainWrite(benchmark::State& state) {
  BenchScratch scratch("sketch");
  LargeCreation creation;
  const auto thumbnail = Thumbnail();
  std::fclose(std::fopen(scratch.Host("Sketch 1").c_str(), "wb"));
  VPLSketch sketch(scratch.Directory(), "Sketch 1");
  sketch.Write(&creation, *thumbnail);
  std::ifstream file(scratch.Host("Sketch 1"), std::ios::binary);
  const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)),
                                   std::istreambuf_iterator<char>());
  ReportRatioOverFloor(
      state, [&] { WritePlainly(scratch.Host(".plain"), scratch.Host("Plain 1"), bytes); },
      [&] { sketch.Write(&creation, *thumbnail); });
}
BENCHMARK(BM_SketchWriteOverPlainWrite)->Unit(benchmark::kMillisecond);

void BM_SketchbookLoadOverSignatureReads(benchmark::State& state) {
  BenchScratch scratch("sketch");
  LargeCreation creation;
  const auto thumbnail = Thumbnail();
  std::vector<std::string> names;
  for (int i = 1; i <= kSketches; ++i) {
    names.push_back("Sketch " + std::to_string(i));
    std::fclose(std::fopen(scratch.Host(names.back()).c_str(), "wb"));
    VPLSketch(scratch.Directory(), names.back().c_str()).Write(nullptr, *thumbnail);
  }
  VPLSketchbook book(scratch.Directory());
  ReportRatioOverFloor(
      state,
      [&] {
        char signature[kVPLSketchSignatureSize];
        for (const std::string& name : names) {
          const int descriptor = open(scratch.Host(name).c_str(), O_RDONLY);
          benchmark::DoNotOptimize(pread(descriptor, signature, sizeof signature, 4));
          close(descriptor);
        }
      },
      [&] { benchmark::DoNotOptimize(book.Load(false)); });
}
BENCHMARK(BM_SketchbookLoadOverSignatureReads)->Unit(benchmark::kMicrosecond);

}  // namespace
