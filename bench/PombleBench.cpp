// Pomble's costs. Its frame (tick and draw with all six parts posed)
// against the same model drawn beside it with the weights it was loaded
// with, each frame showing one of the two (goal: a ratio of at most 1.2).
// A 500-step camera glide run inside one long frame, as a share of a 60 Hz
// frame (goal: at most 0.05).

#include "app/creation/VPLCameraThread.h"
#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationChar.h"
#include "app/creation/VPLPombleVisual.h"
#include "bench/RatioOverFloor.h"
#include "foundation/uu/UUOwned.h"
#include "mm/tasks/MMTaskManager.h"
#include "mm3d/MM3DDisplayTreeDataNodes.h"
#include "mm3d/MM3DModelCollection.h"
#include "tests/app/creation/PombleSupport.h"
#include "tests/app/support/InterfaceStage.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>

namespace {

using namespace pomble_support;

constexpr double kFrameMicroseconds = 1e6 / 60.0;
// The glide's steps and the one that arrives, a millisecond each.
constexpr int32_t kGlideMilliseconds = VPLCameraThread::kGlideSteps + 1;
const MM3DVector kEye(0.0f, 36.0f, -70.0f, 1.0f);
const MM3DVector kGaze(0.0f, 4.0f, 0.0f, 1.0f);
const MM3DVector kTarget(6.0f, 12.0f, 0.0f, 1.0f);

void UseBuiltDataFiles() {
  const char* fromEnvironment = std::getenv("VPL_DATA_DIR");
  if (fromEnvironment == nullptr || *fromEnvironment == '\0') {
    setenv("VPL_DATA_DIR", VPL_DEFAULT_DATA_DIR, 1);
  }
}

std::unique_ptr<VPLCreation> NewCreation(InterfaceStage& stage) {
  return std::make_unique<VPLCreation>(
      &stage.Scene(), UURefCount<MM3DCamera>(
                          new MM3DCamera(kEye, UUOwned<MM3DVector>(new MM3DVector(kGaze)), 0.0f)));
}

void BM_PosedPombleFrameOverUnposed(benchmark::State& state) {
  UseBuiltDataFiles();
  DataFiles files;
  if (!files.Ready()) {
    state.SkipWithError("the data files are not built");
    return;
  }
  InterfaceStage stage;
  MM3DDriverTextureMap* textures = stage.Stage()->GetTextureMap();
  VPLObjCreationChar pomble(&stage.Scene(), MM3DGetModel(kPombleModel, textures), nullptr);
  VPLObj unposed(&stage.Scene(), MM3DGetModel(kPombleModel, textures));
  for (int32_t part = 0; part < kVPLBodyPartCount; ++part) {
    pomble.GetPoseVisual()->SetPartPose(part, 0.7f, false);
  }
  MMTaskManager& clock = *stage.Stage()->GetTaskManager();
  ReportRatioOverFloor(
      state,
      [&] {
        pomble.SetVisibility(kMMHidden);
        unposed.SetVisibility(kMMShown);
        stage.RunFrame();
      },
      [&] {
        unposed.SetVisibility(kMMHidden);
        pomble.SetVisibility(kMMShown);
        pomble.Tick(clock.GetNow());
        stage.RunFrame();
      });
}
BENCHMARK(BM_PosedPombleFrameOverUnposed)->Unit(benchmark::kMillisecond);

void BM_GlideShareOfAFrame(benchmark::State& state) {
  InterfaceStage stage;
  const std::unique_ptr<VPLCreation> creation = NewCreation(stage);
  MM3DDisplayTreeNodeLocator target(kTarget);
  VPLCameraThread thread(stage.Scene().GetTaskClient(), &creation->GetCamera(), nullptr);
  thread.SetTarget(&target);
  thread.MakeStartCallback().Post();
  MMTaskManager& clock = *stage.Stage()->GetTaskManager();
  clock.RunUntil(clock.GetNow() + 1);
  double us = 0.0;
  for (auto _ : state) {
    thread.Start(VPLCameraThread::kApproach);
    const auto start = std::chrono::steady_clock::now();
    clock.RunUntil(clock.GetNow() + kGlideMilliseconds);
    us +=
        std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count();
  }
  thread.Terminate();
  us /= static_cast<double>(state.iterations());
  state.counters["glide_us"] = us;
  state.counters["frame_share"] = us / kFrameMicroseconds;
}
BENCHMARK(BM_GlideShareOfAFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
