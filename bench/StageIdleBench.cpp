// What an idle stage costs: a stage on its own thread shows an act in a
// visible window and nothing happens for a second, while this thread
// handles the window's messages as the application's loop does. The
// counter core_fraction is the process's processor time over that second,
// as a fraction of one core. The acts: an empty 2D act, and a 3D act of 50
// lit cubes, each a model molecule of its own, drawn by the system's 3D
// strategy (the OpenGL driver on the window).
#include "mm/stage/MM2DAct.h"
#include "mm/stage/MM2DDisplayModeStrategy.h"
#include "mm/stage/MM3DAct.h"
#include "mm/stage/MM3DDisplayModeStrategy.h"
#include "mm/stage/MM3DModelMolecule.h"
#include "mm/stage/MM3DSpatialEnclosure.h"
#include "mm/stage/MM3DSpatialView.h"
#include "mm/stage/MMScene.h"
#include "mm/stage/MMStage.h"
#include "mm/stage/MMStageWindow.h"
#include "platform/win32/user.h"
#include "platform/win32/winmm.h"
#include "tests/mm3d/MM3DSceneModels.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <memory>
#include <vector>

namespace {

constexpr UURect kStageRect(0, 0, 640, 480);
constexpr DWORD kSettle = 300;
// A 3D display starts its driver and compiles its shaders in its first
// frames, which are not idle.
constexpr DWORD kSettle3D = 3000;
constexpr DWORD kIdle = 1000;

constexpr int32_t kCubes = 50;
constexpr int32_t kCubesPerRow = 10;
constexpr float kCubeHalfSide = 0.4f;
constexpr float kCubeDistance = 20.0f;

// The lights, then the cubes in rows across the view.
class CubesAct : public MM3DAct {
 public:
  explicit CubesAct(MMStage* stage) : MM3DAct(stage, &MMStandard3DDisplayModeStrategy()) {
    Add(scene_models::MakeLights());
    for (int32_t i = 0; i < kCubes; ++i) {
      const float x = static_cast<float>(i % kCubesPerRow) * 2 - kCubesPerRow + 1;
      const float y = static_cast<float>(i / kCubesPerRow) * 2 - kCubes / kCubesPerRow + 1;
      Add(scene_models::MakePlacedMesh(mBlock, mMaterial, x, y, kCubeDistance));
    }
  }
  ~CubesAct() override {
    for (const std::unique_ptr<MM3DModelMolecule>& molecule : mMolecules) molecule->Detach();
    mMolecules.clear();
    mScene.ResignFocus();
    mView.Detach();
  }

 private:
  void Add(const UURefCount<MM3DModel>& model) {
    mMolecules.push_back(std::make_unique<MM3DModelMolecule>(&mScene, model));
  }

  MM3DSpatialEnclosure mSpace{GetStage()};
  MM3DSpatialView mView{GetViewServices(), &mSpace, GetStage()->GetLocalRect(), 0};
  MMScene mScene{GetSceneServices(), &mSpace};
  UURefCount<MM3DIndexedMeshVertexData> mBlock = scene_models::CubeBlock(kCubeHalfSide);
  UURefCount<MM3DMaterial> mMaterial = scene_models::LitMaterial(MM3DTextureHandle());
  std::vector<std::unique_ptr<MM3DModelMolecule>> mMolecules;
};

template <typename Act>
class IdleStage : public MMStage {
 public:
  explicit IdleStage(MMStageWindow* window) : MMStage(window, kStageRect, nullptr) {}
  MMAct* CreateNextAct() override { return new (ALGlobalAllocator) Act(this); }
};

class Empty2DAct : public MM2DAct {
 public:
  explicit Empty2DAct(MMStage* stage) : MM2DAct(stage, &MMStandard2DDisplayModeStrategy()) {}
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

template <typename Act>
void IdleStageWith(benchmark::State& state, DWORD settle) {
  auto* window = new (ALGlobalAllocator) MMStageWindow(AFDefaultWindowDescription);
  (new (ALGlobalAllocator) IdleStage<Act>(window))->StartThread();
  HandleMessagesFor(settle);
  double busy = 0;
  for (auto _ : state) {
    const std::clock_t before = std::clock();
    HandleMessagesFor(kIdle);
    busy += static_cast<double>(std::clock() - before) / CLOCKS_PER_SEC;
  }
  state.counters["core_fraction"] =
      busy / (static_cast<double>(state.iterations()) * kIdle / 1000.0);
  delete window;
}
void BM_IdleStageWithA2DAct(benchmark::State& state) { IdleStageWith<Empty2DAct>(state, kSettle); }
BENCHMARK(BM_IdleStageWithA2DAct)->Unit(benchmark::kMillisecond)->Iterations(3)->UseRealTime();

void BM_IdleStageWithA3DActOf50Models(benchmark::State& state) {
  MM3DCreateShadingScratch();
  IdleStageWith<CubesAct>(state, kSettle3D);
  MM3DDestroyShadingScratch();
}
BENCHMARK(BM_IdleStageWithA3DActOf50Models)
    ->Unit(benchmark::kMillisecond)
    ->Iterations(3)
    ->UseRealTime();

}  // namespace
