// What an idle stage costs: a stage on its own thread shows a 2D act in a
// visible window and nothing happens for a second, while this thread
// handles the window's messages as the application's loop does. The
// counter core_fraction is the process's processor time over that second,
// as a fraction of one core.
#include "mm/stage/MM2DAct.h"
#include "mm/stage/MM2DDisplayModeStrategy.h"
#include "mm/stage/MMStage.h"
#include "mm/stage/MMStageWindow.h"
#include "platform/win32/user.h"
#include "platform/win32/winmm.h"

#include <benchmark/benchmark.h>

#include <ctime>

namespace {

constexpr UURect kStageRect(0, 0, 640, 480);
constexpr DWORD kSettle = 300;
constexpr DWORD kIdle = 1000;

class IdleStage : public MMStage {
 public:
  explicit IdleStage(MMStageWindow* window) : MMStage(window, kStageRect, nullptr) {}
  MMAct* CreateNextAct() override {
    return new (ALGlobalAllocator) MM2DAct(this, &MMStandard2DDisplayModeStrategy());
  }
};

// Handles this thread's messages for the given time, waiting for each.
void HandleMessagesFor(DWORD milliseconds) {
  const DWORD start = timeGetTime();
  for (DWORD passed = 0; passed < milliseconds; passed = timeGetTime() - start) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, milliseconds - passed, QS_ALLINPUT);
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&message);
      DispatchMessageA(&message);
    }
  }
}

void BM_IdleStageWithA2DAct(benchmark::State& state) {
  auto* window = new (ALGlobalAllocator) MMStageWindow(AFDefaultWindowDescription);
  (new (ALGlobalAllocator) IdleStage(window))->StartThread();
  HandleMessagesFor(kSettle);
  double busy = 0;
  for (auto _ : state) {
    const std::clock_t before = std::clock();
    HandleMessagesFor(kIdle);
    busy += static_cast<double>(std::clock() - before) / CLOCKS_PER_SEC;
  }
  state.counters["core_fraction"] = busy / (state.iterations() * kIdle / 1000.0);
  delete window;
}
BENCHMARK(BM_IdleStageWithA2DAct)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

}  // namespace
