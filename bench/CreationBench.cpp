// The creation's per-frame and per-load costs. One tick of a creation of
// 200 objects, each spinning and pulsing, as a share of a 60 Hz frame. The
// read of a creation record of 50 objects of 1,000-vertex models against
// copying the same bytes.

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationUser.h"
#include "bench/RatioOverFloor.h"
#include "foundation/uu/UUMemory.h"
#include "foundation/uu/UUOwned.h"
#include "mm/tasks/MMTaskManager.h"
#include "tests/app/creation/CreationSupport.h"
#include "tests/app/support/AppFixtures.h"
#include "tests/app/support/InterfaceStage.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstring>
#include <memory>
#include <vector>

namespace {

using namespace app_fixtures;
using creation_support::LitMeshModel;

constexpr double kFrameMicroseconds = 1e6 / 60.0;
constexpr int32_t kFrameMilliseconds = 16;
constexpr int32_t kTickedObjects = 200;
constexpr int32_t kReadObjects = 50;
constexpr int32_t kVertices = 999;  // whole triangles
constexpr int32_t kRecordBlock = 1 << 24;

std::unique_ptr<VPLCreation> NewCreation(InterfaceStage& stage) {
  return std::make_unique<VPLCreation>(
      &stage.Scene(),
      UURefCount<MM3DCamera>(new MM3DCamera(
          MM3DVector(0, 30, 40, 1), UUOwned<MM3DVector>(new MM3DVector(0, 0, 0, 1)), 0.0f)));
}

// Turned by a drag whose last step came 30 ms after the one before.
void Spin(InterfaceStage& stage, VPLObjCreation& object) {
  MMTaskManager& clock = *stage.Stage()->GetTaskManager();
  object.BeginRotate(0, 0, 0);
  object.DragRotate(0, 0.05f, 0);
  clock.RunUntil(clock.GetNow() + 30);
  object.DragRotate(0, 0.1f, 0);
  object.EndRotate(0, 0, 0);
}

void BM_CreationTickShareOfAFrame(benchmark::State& state) {
  AppFiles files;
  InterfaceStage stage;
  const std::unique_ptr<VPLCreation> creation = NewCreation(stage);
  for (int32_t i = 0; i < kTickedObjects; ++i) {
    auto* object = new VPLObjCreationUser(&stage.Scene(), MakeTwoMeshes(), nullptr);
    creation->AddObjectAt(object,
                          MM3DVector(static_cast<float>(i % 20), 0, static_cast<float>(i / 20), 1));
    Spin(stage, *object);
    object->SetColors(MM3DColor{1, 1, 1, 1}, MM3DColor{0.5f, 0.2f, 0.2f, 1});
  }
  int32_t now = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) creation->Tick(now += kFrameMilliseconds);
  const double us =
      std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() /
      static_cast<double>(state.iterations());
  state.counters["tick_us"] = us;
  state.counters["frame_share"] = us / kFrameMicroseconds;
}
BENCHMARK(BM_CreationTickShareOfAFrame)->Unit(benchmark::kMicrosecond);

void BM_ReadFiftyObjectsAgainstCopyingTheirBytes(benchmark::State& state) {
  AppFiles files;
  InterfaceStage stage;
  const std::unique_ptr<VPLCreation> source = NewCreation(stage);
  for (int32_t i = 0; i < kReadObjects; ++i) {
    source->AddObjectAt(new VPLObjCreationUser(&stage.Scene(), LitMeshModel(kVertices), nullptr),
                        MM3DVector(static_cast<float>(i), 0, 0, 1));
  }
  std::vector<uint8_t> block(kRecordBlock);
  UUMemory output(block.data(), kRecordBlock);
  int32_t length = 0;
  if (!source->Write(output) || !output.Tell(&length)) {
    state.SkipWithError("the creation was not written");
    return;
  }
  std::vector<uint8_t> copy(static_cast<size_t>(length));
  ReportRatioOverFloor(
      state,
      [&] {
        std::memcpy(copy.data(), block.data(), copy.size());
        benchmark::ClobberMemory();
      },
      [&] {
        const std::unique_ptr<VPLCreation> read = NewCreation(stage);
        UUMemory input(block.data(), length);
        benchmark::DoNotOptimize(read->Read(input));
      });
  state.counters["record_bytes"] = static_cast<double>(length);
}
BENCHMARK(BM_ReadFiftyObjectsAgainstCopyingTheirBytes)->Unit(benchmark::kMillisecond);

}  // namespace
