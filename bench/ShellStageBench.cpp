// The stage's offscreen pictures of the creation screen at 800 x 600 over
// the builder's data files (the stage keeps its offscreen device between
// pictures) against drawing the same view on the screen's device.
// "ratio" is against a screen frame as the stage hands it over, its
// drawing still under way in the GL library's threads; "finished_ratio"
// against a screen frame waited for until it is drawn, as a picture must
// be. A movie's export, 101 pictures of 320 x 240 and their encoding, is
// timed against 100 finished screen frames.

#include "app/objects/VPLServices.h"
#include "app/shell/VPLActMaker.h"
#include "app/shell/VPLSceneCreationUI.h"
#include "app/shell/VPLStage.h"
#include "bench/RatioOverFloor.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "mm3d/drivers/MM3DDriver.h"
#include "mm3d/drivers/win/WinMM3DGLDispatch.h"
#include "platform/quicktime/quicktime.h"
#include "tests/app/shell/ProgramStage.h"
#include "tests/foundation/uu/TempDirectory.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <memory>

namespace {

using Clock = std::chrono::steady_clock;
using Milliseconds = std::chrono::duration<double, std::milli>;

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 600;
constexpr int32_t kMovieFrames = 100;

// The creation screen on the program's stage over the builder's data files,
// with a picture of 800 x 600 to draw into.
class PictureBench {
 public:
  PictureBench()
      : mPicture(WinMMCreateOffscreenSurface(32, UURect(0, 0, kWidth, kHeight), AFPalette())) {}

  bool Ready() {
    return mFiles.Ready() && Stage().GetRenderer() && mPicture != nullptr && Picture().mRendered;
  }
  VPLStage& Stage() { return mStage.Stage(); }
  VPLSurfaceRendering Picture() { return Stage().RenderToSurface(*mPicture, kVPLNow, true); }
  // The creation view drawn and shown on the screen's device.
  void DrawOnScreen() {
    VPLGetActMaker().DrawCreationView(mStage.Act());
    Stage().GetDriver()->Present();
  }
  // The same, waited for until the GL library has drawn it.
  void DrawOnScreenFinished() {
    DrawOnScreen();
    mGL.glFinish();
  }
  VPLSceneCreationUI& Screen() {
    return *static_cast<VPLActCreation*>(mStage.Act())->GetInterface();
  }

 private:
  static bool SetEnvironment() {
    setenv("SDL_VIDEODRIVER", "offscreen", 0);
    setenv("VPL_DATA_DIR", VPL_DEFAULT_DATA_DIR, 0);
    return true;
  }

  bool mEnvironment = SetEnvironment();
  shell_test::ProgramDataFiles mFiles;
  shell_test::CreationActMaker mMaker;
  shell_test::ProgramStage mStage{&mMaker, 1};
  const std::unique_ptr<WinMMOffscreenSurface> mPicture;
  WinMM3DGLDispatch mGL{"OPENGL32.DLL"};
};

void BM_RenderToSurfaceOverScreenFrame(benchmark::State& state) {
  PictureBench bench;
  if (!bench.Ready()) return state.SkipWithError("no data files, creation screen or 3D device");
  Milliseconds pictures{};
  Milliseconds returns{};
  Milliseconds finished{};
  ReportRatioOverFloor(
      state, [&] { bench.DrawOnScreen(); },
      [&] {
        const auto start = Clock::now();
        benchmark::DoNotOptimize(bench.Picture());
        pictures += Clock::now() - start;
      },
      [&] {
        auto start = Clock::now();
        bench.DrawOnScreen();
        returns += Clock::now() - start;
        start = Clock::now();
        bench.DrawOnScreenFinished();
        finished += Clock::now() - start;
      });
  const auto iterations = static_cast<double>(state.iterations());
  state.counters["picture_ms"] = pictures.count() / iterations;
  // The screen frame after a picture.
  state.counters["return_ms"] = returns.count() / iterations;
  state.counters["finished_ms"] = finished.count() / iterations;
  state.counters["finished_ratio"] = pictures / finished;
}
BENCHMARK(BM_RenderToSurfaceOverScreenFrame)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_MovieExportOverScreenFrames(benchmark::State& state) {
  PictureBench bench;
  if (!bench.Ready() || InitializeQTML(0) != noErr) {
    return state.SkipWithError("no data files, creation screen, 3D device or movie writer");
  }
  VPLGetServices().mRenderToSurface = [&bench](MMSurface& surface, int32_t time, bool white) {
    return bench.Stage().RenderToSurface(surface, time, white);
  };
  Milliseconds movies{};
  ReportRatioOverFloor(
      state,
      [&] {
        for (int32_t frame = 0; frame < kMovieFrames; ++frame) bench.DrawOnScreenFinished();
      },
      [&] {
        const TempDirectory folder;
        bench.Screen().SetExportsFolder(folder.Directory());
        const auto start = Clock::now();
        if (!bench.Screen().ExportMovie()) state.SkipWithError("the movie was not written");
        movies += Clock::now() - start;
      });
  state.counters["movie_ms"] = movies.count() / static_cast<double>(state.iterations());
  VPLGetServices().mRenderToSurface = nullptr;
  TerminateQTML();
}
BENCHMARK(BM_MovieExportOverScreenFrames)->Unit(benchmark::kMillisecond)->MinTime(5.0);

}  // namespace
