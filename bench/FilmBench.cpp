// The film decoder's cost: a film of 100 frames of 320 x 240 32-bit pixels
// (a raw frame every 25, a compressed frame every 25 between them, delta
// and compressed delta frames in the rest) decoded into one frame, against
// copying the same 100 frames' bytes into it with memcpy. The ratio of the
// two times is the decoder's cost per frame over the plainest copy.

#include "media/films/MM2DFilmChunkReader.h"
#include "media/films/MM2DFilmChunkWriter.h"
#include "media/films/MM2DFilmFrameDecoder.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

using Bytes = std::vector<uint8_t>;

constexpr int32_t kWidth = 320;
constexpr int32_t kHeight = 240;
constexpr int32_t kPitch = kWidth * 4;
constexpr int32_t kFrameBytes = kPitch * kHeight;
constexpr int32_t kFrames = 100;
constexpr int32_t kBox = 48;

// A still gradient with a box that moves 3 pixels a frame: what changes
// between frames is the box's trail, as in a cartoon.
Bytes Frame(int32_t k) {
  Bytes pixels(kFrameBytes);
  const int32_t boxX = (3 * k) % (kWidth - kBox);
  const int32_t boxY = (2 * k) % (kHeight - kBox);
  for (int32_t y = 0; y < kHeight; ++y) {
    for (int32_t x = 0; x < kWidth; ++x) {
      uint8_t* p = &pixels[static_cast<size_t>(y * kPitch + 4 * x)];
      const bool inBox = x >= boxX && x < boxX + kBox && y >= boxY && y < boxY + kBox;
      p[0] = inBox ? 0x20 : static_cast<uint8_t>(x);
      p[1] = inBox ? 0xC0 : static_cast<uint8_t>(y);
      p[2] = inBox ? 0x40 : static_cast<uint8_t>(x + y);
    }
  }
  return pixels;
}

struct Film {
  Bytes stream;
  std::vector<Bytes> frames;
  int32_t workBytes = 0;
};

const Film& TheFilm() {
  static const Film film = [] {
    Film made;
    MM2DFilmChunkWriter writer(4);
    const MM2DFilmDirtyRect dirty[kMM2DFilmDirtyRectCount] = {{0, 0, kHeight, kWidth}};
    for (int32_t k = 0; k < kFrames; ++k) {
      made.frames.push_back(Frame(k));
      const Bytes& frame = made.frames.back();
      if (k % 25 == 0) {
        writer.RawFrame(frame.data(), kFrameBytes);
      } else if (k % 25 == 12) {
        writer.CompressedFrame(frame.data(), kFrameBytes);
      } else {
        const MM2DFilmDeltaOps ops = MM2DFilmDeltaOps::Encode(
            made.frames[static_cast<size_t>(k - 1)].data(), frame.data(), kFrameBytes, 4);
        const auto opsBytes = static_cast<int32_t>(ops.GetBytes().size());
        made.workBytes = std::max(made.workBytes, 2 * opsBytes + 64);
        if (k % 2 == 0) {
          writer.DeltaFrame(dirty, ops);
        } else {
          writer.CompressedDeltaFrame(dirty, ops);
        }
      }
      writer.FrameTime(100 * (k + 1));
    }
    writer.End();
    made.stream = writer.GetBytes();
    return made;
  }();
  return film;
}

void BM_DecodeFilm(benchmark::State& state) {
  const Film& film = TheFilm();
  Bytes frame(kFrameBytes);
  Bytes work(static_cast<size_t>(film.workBytes));
  MM2DFilmFrameDecoder decoder(frame.data(), kHeight, kPitch, 4, work.data(),
                               static_cast<int32_t>(work.size()));
  for (auto _ : state) {
    MM2DFilmChunkReader reader(film.stream.data(), static_cast<int32_t>(film.stream.size()));
    MM2DFilmChunk chunk;
    while (reader.Next(chunk)) {
      if (MM2DFilmFrameDecoder::IsPicture(chunk.mType)) decoder.Apply(chunk, nullptr);
    }
    benchmark::DoNotOptimize(frame.data());
  }
  if (frame != film.frames.back()) state.SkipWithError("the last frame differs");
  state.SetBytesProcessed(state.iterations() * int64_t{kFrames} * kFrameBytes);
}
BENCHMARK(BM_DecodeFilm)->Unit(benchmark::kMillisecond);

void BM_CopyFrames(benchmark::State& state) {
  const Film& film = TheFilm();
  Bytes frame(kFrameBytes);
  for (auto _ : state) {
    for (const Bytes& source : film.frames) {
      std::memcpy(frame.data(), source.data(), kFrameBytes);
      benchmark::ClobberMemory();
    }
    benchmark::DoNotOptimize(frame.data());
  }
  state.SetBytesProcessed(state.iterations() * int64_t{kFrames} * kFrameBytes);
}
BENCHMARK(BM_CopyFrames)->Unit(benchmark::kMillisecond);

}  // namespace
