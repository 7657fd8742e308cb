// One frame of 50 meshes of 200 triangles each (10,000 triangles, the
// meshes of every second one blended) through the standard pipeline and
// renderer into the OpenGL offscreen driver, and, as the floor, the same
// triangles handed to the driver directly in batches of 128 with the same
// blocks and view matrices. The third benchmark alternates both and reports
// pipeline time / floor time as "ratio" (the aim is at most 2). The last
// sorts the pointers of 10,000 sorted-buffer records by their keys.

#include "bench/BenchRandom.h"
#include "mm/drawing/win/WinMMOffscreenSurface.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DMaterial.h"
#include "mm3d/MM3DRenderContext.h"
#include "mm3d/MM3DSortedTriangleBuffer.h"
#include "mm3d/MM3DStandardPipeline.h"
#include "mm3d/MM3DStandardRenderer.h"
#include "mm3d/drivers/win/WinMM3DGLBitmapDriverAdapter.h"

#include <benchmark/benchmark.h>

#include "bench/RatioOverFloor.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

namespace {

constexpr int32_t kMeshes = 50;
constexpr int32_t kTrianglesPerMesh = 200;
constexpr int32_t kTriangles = kMeshes * kTrianglesPerMesh;
constexpr int32_t kBatch = 128;
constexpr int32_t kSize = 256;

// Small triangles of one mesh around its origin, three vertices each.
void FillMesh(MM3DIndexedMeshVertexData& mesh, bool blended, BenchRandom& random) {
  const uint8_t alpha = blended ? 128 : 255;
  for (int32_t t = 0; t < kTrianglesPerMesh; ++t) {
    const float x = random.Next() * 4 - 2;
    const float y = random.Next() * 4 - 2;
    const float z = random.Next() * 4 - 2;
    for (int32_t k = 0; k < 3; ++k) {
      mesh.mIndices.Append(static_cast<uint16_t>(mesh.mPositions.Count()));
      mesh.mPositions.Append(
          MM3DVector(x + (k == 1 ? 0.3f : 0.0f), y + (k == 2 ? 0.3f : 0.0f), z, 1.0f));
      mesh.mColors.Append(MM3DPackedColor{static_cast<uint8_t>(random.Next() * 255),
                                          static_cast<uint8_t>(random.Next() * 255),
                                          static_cast<uint8_t>(random.Next() * 255), alpha});
    }
  }
}

std::unique_ptr<MM3DMaterial> Material(MM3DBlendFactors blend) {
  auto material = std::make_unique<MM3DMaterialVertexColor>();
  material->AddTextureLayer(MM3DMaterialTextureLayer(blend, MM3DTextureHandle()));
  return material;
}

class PipelineFixture {
 public:
  PipelineFixture() {
    BenchRandom random;
    for (int32_t i = 0; i < kMeshes; ++i) {
      FillMesh(mMeshes[i], i % 2 == 1, random);
      for (const MM3DPackedColor& c : mMeshes[i].mColors) {
        mCornerColors[i].push_back(MM3DCornerColor{c.mR, c.mG, c.mB, c.mA});
      }
      MM3DMatrixTranslation(mModels[i], random.Next() * 20 - 10, random.Next() * 16 - 8,
                            30 + random.Next() * 30);
    }
    mSurface.reset(WinMMCreateOffscreenSurface(32, UURect(0, 0, kSize, kSize), AFPalette()));
    WinMM3DGLDriverInfo info;
    std::snprintf(info.mLibrary, sizeof info.mLibrary, "OPENGL32.DLL");
    MM3DDeviceMode mode(kSize, kSize, 2, 0, 1);
    mode.mDepthBufferCode = 1;
    if (mSurface) mDriver = WinMM3DGLCreateBitmapDriver(info, mode, *mSurface);
    if (!mDriver) return;
    mBuffer = mDriver->CreateTriangleBuffer(kBatch, 2);
    mRenderer = std::make_unique<MM3DStandardRenderer>(mDriver);
    mRenderer->SetViewport(UURect(0, 0, kSize, kSize));
    MM3DMatrix camera;
    camera.SetIdentity();
    mPipeline.SetCameraMatrix(camera);
    MM3DMaterial* materials[] = {mOpaque.get(), mBlended.get()};
    for (int32_t b = 0; b < 2; ++b)
      MM3DStandardPipeline::FillRenderState(*materials[b], mBlocks[b]);
  }
  ~PipelineFixture() {
    mRenderer.reset();
    if (mDriver) mDriver->DestroyTriangleBuffer(mBuffer);
  }

  bool Ready() const { return mBuffer != nullptr; }

  void DrawThroughPipeline() {
    mRenderer->BeginFrame();
    for (int32_t i = 0; i < kMeshes; ++i) {
      MM3DMaterial& material = i % 2 == 1 ? *mBlended : *mOpaque;
      MM3DRenderContext context(true);
      context.SetModelMatrix(mModels[i]);
      material.Apply(context);
      mPipeline.RenderPart(mMeshes[i], context, *mRenderer);
      material.Unapply(context);
    }
    mRenderer->EndFrame();
  }

  void DrawThroughDriver() {
    mDriver->BeginFrame();
    mDriver->ClearFrame();
    for (int32_t i = 0; i < kMeshes; ++i) {
      mDriver->mViewMatrix = mModels[i];
      mDriver->SetViewMatrix(mModels[i]);
      const MM3DIndexedMeshVertexData& mesh = mMeshes[i];
      const std::vector<MM3DCornerColor>& colors = mCornerColors[i];
      for (int32_t first = 0; first < kTrianglesPerMesh; first += kBatch) {
        const int32_t count = std::min(kBatch, kTrianglesPerMesh - first);
        mBuffer->SetPositions(0, count, mesh.mPositions.Begin() + 3 * first);
        mBuffer->SetColors(0, count, colors.data() + 3 * first);
        mDriver->DrawTriangleBuffer(mBlocks[i % 2], *mBuffer, 0, count);
      }
    }
    mDriver->EndFrame();
  }

 private:
  MM3DIndexedMeshVertexData mMeshes[kMeshes];
  MM3DMatrix mModels[kMeshes];
  // The floor's colours, already in the driver's type.
  std::vector<MM3DCornerColor> mCornerColors[kMeshes];
  std::unique_ptr<MM3DMaterial> mOpaque = Material({kMM3DBlendOne, kMM3DBlendZero});
  std::unique_ptr<MM3DMaterial> mBlended =
      Material({kMM3DBlendSourceAlpha, kMM3DBlendInvSourceAlpha});
  MM3DRenderStateBlock mBlocks[2];
  std::unique_ptr<WinMMOffscreenSurface> mSurface;
  UURefCount<MM3DDriver> mDriver;
  MM3DTriangleBuffer* mBuffer = nullptr;
  std::unique_ptr<MM3DStandardRenderer> mRenderer;
  MM3DStandardPipeline mPipeline;
};

PipelineFixture& Fixture() {
  static PipelineFixture fixture;
  return fixture;
}

void ThroughPipeline(benchmark::State& state) {
  if (!Fixture().Ready()) return state.SkipWithError("no OpenGL driver");
  for (auto _ : state) Fixture().DrawThroughPipeline();
  state.SetItemsProcessed(state.iterations() * kTriangles);
}
BENCHMARK(ThroughPipeline)->Unit(benchmark::kMillisecond);

void DriverFloor(benchmark::State& state) {
  if (!Fixture().Ready()) return state.SkipWithError("no OpenGL driver");
  for (auto _ : state) Fixture().DrawThroughDriver();
  state.SetItemsProcessed(state.iterations() * kTriangles);
}
BENCHMARK(DriverFloor)->Unit(benchmark::kMillisecond);

void PipelineOverFloor(benchmark::State& state) {
  if (!Fixture().Ready()) return state.SkipWithError("no OpenGL driver");
  ReportRatioOverFloor(
      state, [] { Fixture().DrawThroughDriver(); }, [] { Fixture().DrawThroughPipeline(); });
}
BENCHMARK(PipelineOverFloor)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void SortTenThousand(benchmark::State& state) {
  BenchRandom random;
  std::vector<MM3DSortedTriangle> records(kTriangles);
  std::vector<MM3DSortedTriangle*> unsorted;
  for (MM3DSortedTriangle& record : records) {
    record.mKey = random.Next();
    unsorted.push_back(&record);
  }
  std::vector<MM3DSortedTriangle*> pointers(unsorted.size());
  for (auto _ : state) {
    std::copy(unsorted.begin(), unsorted.end(), pointers.begin());
    std::qsort(pointers.data(), pointers.size(), sizeof pointers[0], MM3DCompareSortedTriangles);
    benchmark::DoNotOptimize(pointers.data());
  }
  state.SetItemsProcessed(state.iterations() * kTriangles);
}
BENCHMARK(SortTenThousand)->Unit(benchmark::kMicrosecond);

}  // namespace
