// The whole frame of a 3D act (advance, the act's views drawing their
// enclosure, present) whose scene holds 50 model molecules of 200 lit
// triangles each (10,000 triangles) and one molecule with the scene's
// lights, on a stage whose display the system's 3D strategy made (the
// OpenGL driver on a window); and, as the floor, the same triangles handed
// to that driver directly in batches of 128 with the same block and
// model-view matrices. The third benchmark alternates both and reports act
// time / floor time as "ratio" (the aim is at most 2.5). The last times the
// data-file start-up over small files of every kind up to the first
// presented frame of a 3D act showing the started model file's model.

#include "bench/BenchRandom.h"
#include "bench/FrameworkStartUp.h"
#include "media/startup/MMResourceFiles.h"
#include "media/startup/MMResourceSearchDirectories.h"
#include "mm/stage/MM3DAct.h"
#include "mm/stage/MM3DDisplayModeStrategy.h"
#include "mm/stage/MM3DModelMolecule.h"
#include "mm/stage/MM3DSpatialEnclosure.h"
#include "mm/stage/MM3DSpatialView.h"
#include "mm/stage/MMScene.h"
#include "mm3d/MM3DDriverStateSync.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DModelCollection.h"
#include "mm3d/MM3DStandardPipeline.h"
#include "tests/media/startup/StartupTestSupport.h"
#include "tests/mm/stage/StageTestSupport.h"
#include "tests/mm3d/MM3DSceneModels.h"

#include <benchmark/benchmark.h>

#include "bench/RatioOverFloor.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr int32_t kModels = 50;
constexpr int32_t kTrianglesPerModel = 200;
constexpr int32_t kTriangles = kModels * kTrianglesPerModel;
constexpr int32_t kBatch = 128;
constexpr float kSide = 0.3f;

// Small triangles facing the camera around the origin, three vertices
// each.
UURefCount<MM3DIndexedMeshVertexData> TriangleBlock(BenchRandom& random) {
  UURefCount<MM3DIndexedMeshVertexData> block(new MM3DIndexedMeshVertexData);
  const MM3DVector towardCamera(0.0f, 0.0f, -1.0f, 0.0f);
  for (int32_t t = 0; t < kTrianglesPerModel; ++t) {
    const float x = random.Next() * 4 - 2;
    const float y = random.Next() * 4 - 2;
    const float z = random.Next() * 4 - 2;
    for (int32_t k = 0; k < 3; ++k) {
      block->mIndices.Append(static_cast<uint16_t>(block->mPositions.Count()));
      block->mPositions.Append(
          MM3DVector(x + (k == 1 ? kSide : 0.0f), y + (k == 2 ? kSide : 0.0f), z, 1.0f));
      block->mNormals.Append(towardCamera);
    }
  }
  return block;
}

struct Placed {
  UURefCount<MM3DIndexedMeshVertexData> mBlock;
  MM3DMatrix mModelView;
};

class ActFixture {
 public:
  ActFixture() {
    MM3DCreateShadingScratch();
    BenchRandom random;
    for (int32_t i = 0; i < kModels; ++i) {
      Placed placed{TriangleBlock(random), {}};
      MM3DMatrixTranslation(placed.mModelView, random.Next() * 20 - 10, random.Next() * 16 - 8,
                            30 + random.Next() * 30);
      mMeshes.push_back(placed);
    }
    MM3DStandardPipeline::FillRenderState(*mMaterial, mBlock);
    mRun.Start();
    if (mRun.mStage->LacksDisplay()) return;
    mBuffer = mRun.mStage->GetDriver()->CreateTriangleBuffer(kBatch, 2);
  }
  ~ActFixture() {
    if (mBuffer != nullptr) mRun.mStage->GetDriver()->DestroyTriangleBuffer(mBuffer);
    MM3DDestroyShadingScratch();
  }

  bool Ready() const { return mBuffer != nullptr; }

  // A frame the system asked for, so the act draws though nothing moved.
  void DrawAct() {
    mRun.mStage->GetAct()->Repaint();
    mRun.Frame();
  }
  // The lights, then one model per placed mesh.
  std::vector<UURefCount<MM3DModel>> Models() const {
    std::vector<UURefCount<MM3DModel>> models{scene_models::MakeLights()};
    for (const Placed& mesh : mMeshes) {
      const float(&at)[4] = mesh.mModelView.mElement[3];
      models.push_back(scene_models::MakePlacedMesh(mesh.mBlock, mMaterial, at[0], at[1], at[2]));
    }
    return models;
  }
  // The triangles the act's last frame drew.
  int32_t LastDrawn() const { return mRun.mStage->GetRenderer()->GetStatistics().mLastPolygons; }

  void DrawThroughDriver() {
    MM3DDriver& driver = *mRun.mStage->GetDriver();
    driver.BeginFrame();
    driver.ClearFrame();
    for (const Placed& mesh : mMeshes) {
      MM3DSyncViewMatrix(driver, mesh.mModelView);
      const MM3DVector* positions = mesh.mBlock->mPositions.Begin();
      for (int32_t first = 0; first < kTrianglesPerModel; first += kBatch) {
        const int32_t count = std::min(kBatch, kTrianglesPerModel - first);
        mBuffer->SetPositions(0, count, positions + 3 * first);
        mBuffer->SetColors(0, count, mColors.data());
        driver.DrawTriangleBuffer(mBlock, *mBuffer, 0, count);
      }
    }
    driver.EndFrame();
  }

 private:
  std::vector<Placed> mMeshes;
  UURefCount<MM3DMaterial> mMaterial = scene_models::LitMaterial(MM3DTextureHandle());
  MM3DRenderStateBlock mBlock;
  // The floor's colours, already in the driver's type.
  std::vector<MM3DCornerColor> mColors =
      std::vector<MM3DCornerColor>(3 * kBatch, MM3DCornerColor{160, 160, 160, 255});
  StageOnTestThread mRun{[this](MMStage* stage) {
    return new (ALGlobalAllocator) ModelsAct(stage, [this](MMStage*) { return Models(); });
  }};
  MM3DTriangleBuffer* mBuffer = nullptr;
};

// Each run of a benchmark sets up its own stage outside the timed loop.
void ActFrame(benchmark::State& state) {
  ActFixture fixture;
  if (!fixture.Ready()) return state.SkipWithError("no 3D display");
  for (auto _ : state) fixture.DrawAct();
  state.SetItemsProcessed(state.iterations() * kTriangles);
  state.counters["drawn"] = fixture.LastDrawn();
}
BENCHMARK(ActFrame)->Unit(benchmark::kMillisecond);

void DriverFloor(benchmark::State& state) {
  ActFixture fixture;
  if (!fixture.Ready()) return state.SkipWithError("no 3D display");
  for (auto _ : state) fixture.DrawThroughDriver();
  state.SetItemsProcessed(state.iterations() * kTriangles);
}
BENCHMARK(DriverFloor)->Unit(benchmark::kMillisecond);

void ActFrameOverFloor(benchmark::State& state) {
  ActFixture fixture;
  if (!fixture.Ready()) return state.SkipWithError("no 3D display");
  ReportRatioOverFloor(
      state, [&fixture] { fixture.DrawThroughDriver(); }, [&fixture] { fixture.DrawAct(); });
  state.counters["drawn"] = fixture.LastDrawn();
}
BENCHMARK(ActFrameOverFloor)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void StartUpToFirstFrame(benchmark::State& state) {
  StartupFiles files;
  for (auto _ : state) {
    const FrameworkStartUp run = TimeFrameworkStartUp(files);
    if (run.mStatistics.mFrames == 0) return state.SkipWithError("no frame after the start-up");
    state.SetIterationTime(std::chrono::duration<double>(run.mTook).count());
    state.counters["drawn"] = run.mStatistics.mLastPolygons;
  }
}
BENCHMARK(StartUpToFirstFrame)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
