// The creation area's undo: the checkpoint taken before every change, of a
// creation of 50 objects of 1,000-vertex models, against copying the same
// record bytes, with the allocations it makes once the block exists; and
// the undo that reads it back, as a share of a 60 Hz frame.

#include "app/creation/VPLObjCreationUser.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "bench/RatioOverFloor.h"
#include "foundation/al/ALAllocator.h"
#include "tests/app/creation/AreaSupport.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <utility>
#include <vector>

namespace {

using namespace area_support;

constexpr double kFrameMicroseconds = 1e6 / 60.0;
constexpr int32_t kObjects = 50;
constexpr int32_t kVertices = 999;  // whole triangles

// Counts the blocks taken while it stands in for both of the program's
// allocators: operator new's and the one growing arrays take by default.
// It is never destroyed: every block it hands out, some freed only at
// exit, goes back through it.
class CountingAllocator : public ALAllocator {
 public:
  void* Allocate(size_t size, ALMemToolsRecord* record) override {
    ++mCount;
    return ALAllocator::Allocate(size, record);
  }
  int64_t mCount = 0;
};

CountingAllocator& Counter() {
  static auto* counter = new CountingAllocator;
  return *counter;
}

class CountingScope {
 public:
  CountingScope()
      : mDefault(std::exchange(ALDefaultAllocator, &Counter())),
        mGlobal(std::exchange(ALGlobalAllocator, &Counter())),
        mStart(Counter().mCount) {}
  ~CountingScope() {
    ALDefaultAllocator = mDefault;
    ALGlobalAllocator = mGlobal;
  }
  CountingScope(const CountingScope&) = delete;
  CountingScope& operator=(const CountingScope&) = delete;
  int64_t Count() const { return Counter().mCount - mStart; }

 private:
  ALAllocator* mDefault;
  ALAllocator* mGlobal;
  int64_t mStart;
};

void Fill(AreaWorld& world) {
  for (int32_t i = 0; i < kObjects; ++i) {
    world.Creation().AddObjectAt(
        new VPLObjCreationUser(&world.Area(), MakeLargeModel(kVertices), &world.Creation()),
        MM3DVector(static_cast<float>(i % 10), 0, static_cast<float>(10 + i / 10), 1));
  }
}

void BM_TakeSnapshotAgainstCopyingTheRecord(benchmark::State& state) {
  AreaWorld world;
  Fill(world);
  const std::vector<uint8_t> record = RecordOf(world.Creation());
  std::vector<uint8_t> copy(record.size());
  world.Area().TakeSnapshot();
  const int32_t blockSize = world.Area().GetUndoBlockSize();
  int64_t allocations = 0;
  {
    const CountingScope counting;
    world.Area().TakeSnapshot();
    allocations = counting.Count();
  }
  ReportRatioOverFloor(
      state,
      [&] {
        std::memcpy(copy.data(), record.data(), copy.size());
        benchmark::ClobberMemory();
      },
      [&] { world.Area().TakeSnapshot(); });
  state.counters["record_bytes"] = static_cast<double>(record.size());
  state.counters["allocations_per_snapshot"] = static_cast<double>(allocations);
  state.counters["block_grew"] = world.Area().GetUndoBlockSize() != blockSize ? 1.0 : 0.0;
}
BENCHMARK(BM_TakeSnapshotAgainstCopyingTheRecord)->Unit(benchmark::kMillisecond);

void BM_UndoShareOfAFrame(benchmark::State& state) {
  AreaWorld world;
  Fill(world);
  world.Area().TakeSnapshot();
  std::chrono::steady_clock::duration spent{};
  for (auto _ : state) {
    world.Creation().SetModified(true);
    const auto start = std::chrono::steady_clock::now();
    world.Area().Undo();
    spent += std::chrono::steady_clock::now() - start;
  }
  const double us = std::chrono::duration<double, std::micro>(spent).count() /
                    static_cast<double>(state.iterations());
  state.counters["undo_us"] = us;
  state.counters["frame_share"] = us / kFrameMicroseconds;
}
BENCHMARK(BM_UndoShareOfAFrame)->Unit(benchmark::kMillisecond);

}  // namespace
