// The film decoder's cost: a film of 100 frames of 320 x 240 32-bit pixels
// (a raw frame every 25, a compressed frame every 25 between them, delta
// and compressed delta frames in the rest) decoded into one frame, against
// copying with memcpy the bytes the decoder writes: whole raw and
// compressed frames, and only the changed pixels' runs of the delta frames.
// The counter "ratio" of DecodeOverCopy is the decoder's time over the
// plainest copy's, both timed in one loop.

#include "media/films/MM2DFilmChunkReader.h"
#include "media/films/MM2DFilmChunkWriter.h"
#include "media/films/MM2DFilmFrameDecoder.h"

#include <benchmark/benchmark.h>

#include "bench/RatioOverFloor.h"

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

// Bytes [mStart, mStart + mLength) of a frame.
struct Run {
  int32_t mStart;
  int32_t mLength;
};

// The runs of whole pixels in which next differs from previous.
std::vector<Run> ChangedRuns(const Bytes& previous, const Bytes& next) {
  std::vector<Run> runs;
  for (int32_t at = 0; at < kFrameBytes; at += 4) {
    if (std::memcmp(&previous[static_cast<size_t>(at)], &next[static_cast<size_t>(at)], 4) == 0)
      continue;
    if (!runs.empty() && runs.back().mStart + runs.back().mLength == at) {
      runs.back().mLength += 4;
    } else {
      runs.push_back({at, 4});
    }
  }
  return runs;
}

struct Film {
  Bytes stream;
  std::vector<Bytes> frames;
  // Per frame, what the decoder writes into the frame bitmap.
  std::vector<std::vector<Run>> written;
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
      const bool whole = k % 25 == 0 || k % 25 == 12;
      made.written.push_back(whole ? std::vector<Run>{{0, kFrameBytes}}
                                   : ChangedRuns(made.frames[static_cast<size_t>(k - 1)], frame));
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

// The film played into one frame bitmap, and the same frames copied into
// another.
class Player {
 public:
  Player()
      : mWork(static_cast<size_t>(TheFilm().workBytes)),
        mDecoder(mFrame.data(), kHeight, kPitch, 4, mWork.data(),
                 static_cast<int32_t>(mWork.size())) {}

  void Decode() {
    const Film& film = TheFilm();
    MM2DFilmChunkReader reader(film.stream.data(), static_cast<int32_t>(film.stream.size()));
    MM2DFilmChunk chunk;
    while (reader.Next(chunk)) {
      if (MM2DFilmFrameDecoder::IsPicture(chunk.mType)) mDecoder.Apply(chunk, nullptr);
    }
    benchmark::DoNotOptimize(mFrame.data());
  }
  void Copy() {
    const Film& film = TheFilm();
    for (size_t k = 0; k < film.frames.size(); ++k) {
      for (const Run& run : film.written[k]) {
        std::memcpy(mCopy.data() + run.mStart, film.frames[k].data() + run.mStart,
                    static_cast<size_t>(run.mLength));
      }
      benchmark::ClobberMemory();
    }
    benchmark::DoNotOptimize(mCopy.data());
  }
  bool DecodedLastFrame() const { return mFrame == TheFilm().frames.back(); }

 private:
  Bytes mFrame = Bytes(kFrameBytes);
  Bytes mCopy = Bytes(kFrameBytes);
  Bytes mWork;
  MM2DFilmFrameDecoder mDecoder;
};

void SetFramesProcessed(benchmark::State& state) {
  state.SetBytesProcessed(state.iterations() * int64_t{kFrames} * kFrameBytes);
}

void BM_DecodeFilm(benchmark::State& state) {
  Player player;
  for (auto _ : state) player.Decode();
  if (!player.DecodedLastFrame()) state.SkipWithError("the last frame differs");
  SetFramesProcessed(state);
}
BENCHMARK(BM_DecodeFilm)->Unit(benchmark::kMillisecond);

void BM_CopyFrames(benchmark::State& state) {
  Player player;
  for (auto _ : state) player.Copy();
  SetFramesProcessed(state);
}
BENCHMARK(BM_CopyFrames)->Unit(benchmark::kMillisecond);

void DecodeOverCopy(benchmark::State& state) {
  Player player;
  ReportRatioOverFloor(
      state, [&player] { player.Copy(); }, [&player] { player.Decode(); });
  if (!player.DecodedLastFrame()) state.SkipWithError("the last frame differs");
}
BENCHMARK(DecodeOverCopy)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
