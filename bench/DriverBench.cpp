// 20,000 lit triangles (finished vertex colours, as the pipeline hands
// them over) in batches of 128, drawn through the OpenGL driver and, as the
// floor, by raw GL calls on the same arrays in the same context. The third
// benchmark alternates both and reports driver time / floor time as
// "ratio" (the aim is at most 1.5).

#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "mm3d/drivers/win/WinMM3DGLBitmapDriverAdapter.h"

#include <benchmark/benchmark.h>

#include "bench/RatioOverFloor.h"

#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int32_t kTriangles = 20000;
constexpr int32_t kBatch = 128;
constexpr int32_t kSize = 256;

struct Scene {
  std::vector<MM3DVector> mPositions;
  std::vector<MM3DCornerColor> mColors;
};

// Small triangles spread over the view at varying depths, each corner with
// its own colour.
Scene MakeScene() {
  Scene scene;
  uint32_t seed = 12345;
  const auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<float>(seed >> 8) / static_cast<float>(1u << 24);
  };
  for (int32_t i = 0; i < kTriangles; ++i) {
    const float x = next() * 2 - 1;
    const float y = next() * 2 - 1;
    const float z = 2 + next() * 8;
    for (int32_t k = 0; k < 3; ++k) {
      scene.mPositions.emplace_back(x * z * 0.4f + (k == 1 ? 0.05f : 0.0f),
                                    y * z * 0.3f + (k == 2 ? 0.05f : 0.0f), z, 1.0f);
      scene.mColors.push_back(MM3DCornerColor{static_cast<uint8_t>(next() * 255),
                                              static_cast<uint8_t>(next() * 255),
                                              static_cast<uint8_t>(next() * 255), 255});
    }
  }
  return scene;
}

class DriverFixture {
 public:
  DriverFixture() : mScene(MakeScene()) {
    mSurface.reset(WinMMCreateOffscreenSurface(32, UURect(0, 0, kSize, kSize), AFPalette()));
    WinMM3DGLDriverInfo info;
    std::snprintf(info.mLibrary, sizeof info.mLibrary, "OPENGL32.DLL");
    MM3DDeviceMode mode(kSize, kSize, 2, 0, 1);
    mode.mDepthBufferCode = 1;
    if (mSurface) mDriver = WinMM3DGLCreateBitmapDriver(info, mode, *mSurface);
    if (mDriver) mBuffer = mDriver->CreateTriangleBuffer(kBatch, 0);
    mBlock.mStageCount = 1;
    mBlock.mStages[0] = MM3DRenderStage{.mDepthMode = kMM3DDepthTestAndWrite,
                                        .mDepthFunction = kMM3DDepthLess,
                                        .mOpaque = kMM3DBlendingOff,
                                        .mBlendFactors = {kMM3DBlendOne, kMM3DBlendZero}};
  }
  ~DriverFixture() {
    if (mDriver) mDriver->DestroyTriangleBuffer(mBuffer);
  }

  bool Ready() const { return mBuffer != nullptr; }

  void DrawThroughDriver() {
    mDriver->ClearFrame();
    for (int32_t first = 0; first < kTriangles; first += kBatch) {
      const int32_t count = std::min(kBatch, kTriangles - first);
      mBuffer->SetPositions(0, count, &mScene.mPositions[3 * first]);
      mBuffer->SetColors(0, count, &mScene.mColors[3 * first]);
      mDriver->DrawTriangleBuffer(mBlock, *mBuffer, 0, count);
    }
    Dispatch().glFinish();
  }

  void DrawRaw() {
    const WinMM3DGLDispatch& gl = Dispatch();
    gl.glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    for (int32_t first = 0; first < kTriangles; first += kBatch) {
      const int32_t count = std::min(kBatch, kTriangles - first);
      gl.glVertexPointer(3, GL_FLOAT, sizeof(MM3DVector), &mScene.mPositions[3 * first]);
      gl.glColorPointer(4, GL_UNSIGNED_BYTE, 0, &mScene.mColors[3 * first]);
      gl.glDrawArrays(GL_TRIANGLES, 0, 3 * count);
    }
    gl.glFinish();
  }

 private:
  const WinMM3DGLDispatch& Dispatch() {
    return static_cast<WinMM3DGLDriverBase&>(*mDriver).mDispatch;
  }

  Scene mScene;
  std::unique_ptr<WinMMOffscreenSurface> mSurface;
  UURefCount<MM3DDriver> mDriver;
  MM3DTriangleBuffer* mBuffer = nullptr;
  MM3DRenderStateBlock mBlock;
};

DriverFixture& Fixture() {
  static DriverFixture fixture;
  return fixture;
}

void ThroughDriver(benchmark::State& state) {
  if (!Fixture().Ready()) return state.SkipWithError("no OpenGL driver");
  for (auto _ : state) Fixture().DrawThroughDriver();
  state.SetItemsProcessed(state.iterations() * kTriangles);
}
BENCHMARK(ThroughDriver)->Unit(benchmark::kMillisecond);

void RawFloor(benchmark::State& state) {
  if (!Fixture().Ready()) return state.SkipWithError("no OpenGL driver");
  for (auto _ : state) Fixture().DrawRaw();
  state.SetItemsProcessed(state.iterations() * kTriangles);
}
BENCHMARK(RawFloor)->Unit(benchmark::kMillisecond);

void DriverOverFloor(benchmark::State& state) {
  if (!Fixture().Ready()) return state.SkipWithError("no OpenGL driver");
  ReportRatioOverFloor(
      state, [] { Fixture().DrawRaw(); }, [] { Fixture().DrawThroughDriver(); });
}
BENCHMARK(DriverOverFloor)->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace
