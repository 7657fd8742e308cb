#include "mm/drawing/MMRegion.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

namespace {

// Dirty rectangles of small sprites scattered over an 800 x 600 stage.
std::vector<UURect> SpriteRects(size_t count, int32_t side) {
  std::mt19937 random(7);
  std::vector<UURect> rects;
  for (size_t i = 0; i < count; ++i) {
    const int32_t left = static_cast<int32_t>(random() % (800 - side));
    const int32_t top = static_cast<int32_t>(random() % (600 - side));
    rects.emplace_back(left, top, left + side, top + side);
  }
  return rects;
}

void BM_RegionAccumulateSmallRects(benchmark::State& state) {
  const std::vector<UURect> rects = SpriteRects(static_cast<size_t>(state.range(0)), 16);
  for (auto _ : state) {
    MMRegion region;
    for (const UURect& r : rects) region.AddRect(r);
    benchmark::DoNotOptimize(region);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_RegionAccumulateSmallRects)->Arg(10)->Arg(20)->Arg(100)->Arg(1000);

// One sprite moving a few pixels per frame: each frame adds its old and new
// places, which overlap.
void BM_RegionAccumulateMovingSprite(benchmark::State& state) {
  const int32_t frames = static_cast<int32_t>(state.range(0));
  for (auto _ : state) {
    MMRegion region;
    for (int32_t f = 0; f < frames; ++f) {
      region.AddRect({f * 3, f * 2, f * 3 + 32, f * 2 + 32});
      region.AddRect({f * 3 + 3, f * 2 + 2, f * 3 + 35, f * 2 + 34});
    }
    benchmark::DoNotOptimize(region);
  }
  state.SetItemsProcessed(state.iterations() * frames * 2);
}
BENCHMARK(BM_RegionAccumulateMovingSprite)->Arg(100);

}  // namespace
