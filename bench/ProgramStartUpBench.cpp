// The program's start-up over the builder's data files: from the start of
// the data files to the intro's first frame, and from the request for the
// creation act to the creation screen's first frame, each over the
// framework's own start-up to its first frame measured in the same loop
// (counters "intro_ratio" and "creation_ratio"; the goal is at most 1.5)
// and in milliseconds.

#include "app/shell/VPLActMaker.h"
#include "bench/FrameworkStartUp.h"
#include "foundation/uu/UUDirectory.h"
#include "tests/app/shell/ProgramStage.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

// The program's own acts after a quiet first frame.
class ProgramActs : public shell_test::CreationActMaker {};

struct ProgramStartUp {
  Milliseconds mIntro{};
  Milliseconds mCreation{};
  bool mShown = false;
};

ProgramStartUp TimeProgramStartUp(UUDirectory& data) {
  ProgramStartUp run;
  MMResourceSearchDirectories.PushBack(&data);
  const auto start = Clock::now();
  if (MMStartResourceFiles()) {
    ProgramActs maker;
    shell_test::ProgramStage stage(&maker, 0);
    run.mIntro = Clock::now() - start;
    const auto request = Clock::now();
    stage.Stage().RequestAct(1);
    stage.RunFrame();
    run.mCreation = Clock::now() - request;
    run.mShown =
        stage.Stage().GetRenderer() && stage.Stage().GetRenderer()->GetStatistics().mFrames > 0;
  }
  MMStopResourceFiles();
  return run;
}

void BM_ProgramStartUpOverFramework(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("VPL_DATA_DIR", VPL_DEFAULT_DATA_DIR, 0);
  UUDirectory data(shell_test::DataFolderName().c_str());
  StartupFiles files;
  Milliseconds floor{};
  Milliseconds intro{};
  Milliseconds creation{};
  for (auto _ : state) {
    const FrameworkStartUp framework = TimeFrameworkStartUp(files);
    const ProgramStartUp program = TimeProgramStartUp(data);
    if (framework.mStatistics.mFrames == 0 || !program.mShown) {
      return state.SkipWithError("no frame after a start-up");
    }
    floor += framework.mTook;
    intro += program.mIntro;
    creation += program.mCreation;
  }
  const auto iterations = static_cast<double>(state.iterations());
  state.counters["floor_ms"] = floor.count() / iterations;
  state.counters["intro_ms"] = intro.count() / iterations;
  state.counters["creation_ms"] = creation.count() / iterations;
  state.counters["intro_ratio"] = intro / floor;
  state.counters["creation_ratio"] = creation / floor;
}
BENCHMARK(BM_ProgramStartUpOverFramework)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
