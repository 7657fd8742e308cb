// What the creation screen at rest costs: idle passes of the program's loop
// over a creation of 30 blocks and Pomble standing, the pointer still,
// against as many passes over an empty 2D act, as the counter "ratio" of
// the process's processor time (every thread: the 3D driver's too). The
// screen draws nothing at rest, so the goal is about 1.

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationUser.h"
#include "app/creation/VPLSceneCreationArea.h"
#include "app/shell/VPLActCreation.h"
#include "mm3d/MM3DModelCollection.h"
#include "tests/app/shell/ProgramStage.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <ctime>

namespace {

using shell_test::ProgramStage;

constexpr MMResourceId kCube = 80;
constexpr int32_t kBlocks = 30;
constexpr int32_t kBlocksPerRow = 6;
constexpr float kBlockSpacing = 6.0f;
// One second of idle passes at 60 frames a second.
constexpr int32_t kPasses = 60;
constexpr int32_t kPassStep = 17;
const UUPoint kMeadow{450, 300};

// The processor seconds of so many idle passes, each a pass later.
double SecondsOfPasses(ProgramStage& stage, int32_t& time) {
  const std::clock_t before = std::clock();
  for (int32_t pass = 0; pass < kPasses; ++pass) {
    time += kPassStep;
    stage.Stage().StrategyIdleTick();
    stage.RunFrameAt(time);
  }
  return static_cast<double>(std::clock() - before) / CLOCKS_PER_SEC;
}

void FillTheMeadow(ProgramStage& stage) {
  VPLSceneCreationArea& area = *static_cast<VPLActCreation*>(stage.Act())->GetCreationArea();
  for (int32_t i = 0; i < kBlocks; ++i) {
    auto* block = new VPLObjCreationUser(&area, MM3DGetModel(kCube, stage.Stage().GetTextureMap()),
                                         area.GetCreation());
    const float x = static_cast<float>(i % kBlocksPerRow - kBlocksPerRow / 2) * kBlockSpacing;
    const float z = static_cast<float>(i / kBlocksPerRow) * -kBlockSpacing;
    area.GetCreation()->AddObjectAt(block, MM3DVector(x, 0.0f, z, 1.0f));
  }
  area.AddCharacter();
  stage.Move(kMeadow);
}

void BM_RestingCreationScreenOverAnEmpty2DAct(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("VPL_DATA_DIR", VPL_DEFAULT_DATA_DIR, 0);
  shell_test::ProgramDataFiles files;
  shell_test::CreationActMaker maker;
  if (!files.Ready()) return state.SkipWithError("no data files");
  double floor = 0;
  {
    ProgramStage empty(&maker, ProgramStage::kFirstAct);
    int32_t time = empty.Now();
    SecondsOfPasses(empty, time);
    floor = SecondsOfPasses(empty, time);
  }
  ProgramStage stage(&maker, 1);
  FillTheMeadow(stage);
  int32_t time = stage.Now();
  SecondsOfPasses(stage, time);
  double measured = 0;
  for (auto _ : state) measured += SecondsOfPasses(stage, time);
  state.counters["ratio"] = measured / static_cast<double>(state.iterations()) / floor;
  state.counters["core_fraction"] =
      measured / static_cast<double>(state.iterations()) / (kPasses * kPassStep / 1000.0);
}
BENCHMARK(BM_RestingCreationScreenOverAnEmpty2DAct)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
