// The stage's offscreen picture of the creation at 800 x 600 (a device of
// its own made, drawn into and let go, and the screen's device taken back)
// against drawing the same view on the screen's device.

#include "app/shell/VPLStage.h"
#include "bench/RatioOverFloor.h"
#include "foundation/af/AFWindow.h"
#include "foundation/al/ALAllocator.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "mm/stage/MMStageWindow.h"
#include "mm/tasks/MMTaskManager.h"
#include "mm3d/MM3DRenderer.h"
#include "mm3d/drivers/MM3DDriver.h"
#include "platform/win32/user.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

namespace {

constexpr int32_t kWidth = 800;
constexpr int32_t kHeight = 600;

void DrainMessages() {
  MSG message;
  while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

void BM_RenderToSurfaceOverScreenFrame(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  auto* window = new (ALGlobalAllocator) MMStageWindow(AFDefaultWindowDescription);
  auto* stage = new (ALGlobalAllocator) VPLStage(window, UURect(0, 0, kWidth, kHeight));
  stage->Init();
  stage->RequestAct(1);
  stage->UpdateLoop(stage->GetTaskManager()->GetNow(), true);
  DrainMessages();
  const std::unique_ptr<WinMMOffscreenSurface> picture(
      WinMMCreateOffscreenSurface(32, UURect(0, 0, kWidth, kHeight), AFPalette()));
  if (!stage->GetRenderer() || picture == nullptr) {
    state.SkipWithError("no 3D device");
  } else {
    ReportRatioOverFloor(
        state,
        [&] {
          const UURefCount<MM3DRenderer> renderer = stage->GetRenderer();
          renderer->BeginFrame();
          renderer->EndFrame();
          stage->GetDriver()->Present();
        },
        [&] { benchmark::DoNotOptimize(stage->RenderToSurface(*picture, kVPLNow, true)); });
  }
  delete window;
  DrainMessages();
}
BENCHMARK(BM_RenderToSurfaceOverScreenFrame)->Unit(benchmark::kMillisecond)->Iterations(20);

}  // namespace
