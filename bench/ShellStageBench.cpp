// The stage's offscreen picture of the creation screen at 800 x 600 over the
// builder's data files (the stage keeps its offscreen device between
// pictures) against drawing the same view on the screen's device, as the
// counter "ratio"; the goal is at most 2. Before each pair an untimed
// screen frame gives the screen's driver its textures back, which the
// picture took.

#include "app/shell/VPLActMaker.h"
#include "app/shell/VPLStage.h"
#include "bench/RatioOverFloor.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "mm3d/drivers/MM3DDriver.h"
#include "tests/app/shell/ProgramStage.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>

namespace {

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 600;

// The creation view drawn and shown on the screen's device.
void DrawOnScreen(shell_test::ProgramStage& stage) {
  VPLGetActMaker().DrawCreationView(stage.Act());
  stage.Stage().GetDriver()->Present();
}

void BM_RenderToSurfaceOverScreenFrame(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("VPL_DATA_DIR", VPL_DEFAULT_DATA_DIR, 0);
  shell_test::ProgramDataFiles files;
  shell_test::CreationActMaker maker;
  shell_test::ProgramStage stage(&maker, 1);
  VPLStage& programStage = stage.Stage();
  const std::unique_ptr<WinMMOffscreenSurface> picture(
      WinMMCreateOffscreenSurface(32, UURect(0, 0, kWidth, kHeight), AFPalette()));
  if (!files.Ready() || !programStage.GetRenderer() || picture == nullptr ||
      !programStage.RenderToSurface(*picture, kVPLNow, true).mRendered) {
    return state.SkipWithError("no data files, creation screen or 3D device");
  }
  std::chrono::duration<double, std::milli> pictures{};
  std::chrono::duration<double, std::milli> returns{};
  ReportRatioOverFloor(
      state, [&] { DrawOnScreen(stage); },
      [&] {
        const auto start = std::chrono::steady_clock::now();
        benchmark::DoNotOptimize(programStage.RenderToSurface(*picture, kVPLNow, true));
        pictures += std::chrono::steady_clock::now() - start;
      },
      [&] {
        const auto start = std::chrono::steady_clock::now();
        DrawOnScreen(stage);
        returns += std::chrono::steady_clock::now() - start;
      });
  const auto iterations = static_cast<double>(state.iterations());
  state.counters["picture_ms"] = pictures.count() / iterations;
  // The screen frame after a picture, which loads the textures again.
  state.counters["return_ms"] = returns.count() / iterations;
}
BENCHMARK(BM_RenderToSurfaceOverScreenFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
