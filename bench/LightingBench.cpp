// Per-vertex Lambert and Phong lighting of a 10,000-vertex block under four
// lights (two point, one infinite, one spot); reports vertices per second.

#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "mm3d/MM3DLightSources.h"
#include "mm3d/MM3DMaterialLambert.h"
#include "mm3d/MM3DMatrix.h"
#include "mm3d/MM3DRenderContext.h"

#include <benchmark/benchmark.h>

#include <cmath>
#include <memory>
#include <vector>

namespace {

constexpr int kVertices = 10000;
const MM3DColor kWhite{1.0f, 1.0f, 1.0f, 1.0f};
const MM3DColor kGrey{0.2f, 0.2f, 0.2f, 1.0f};

// Vertices on a unit sphere, their normals pointing outward.
struct Block {
  Block() : mPositions(kVertices), mNormals(kVertices) {
    for (int i = 0; i < kVertices; ++i) {
      const float a = 0.01f * static_cast<float>(i);
      const float b = 0.37f * static_cast<float>(i);
      mNormals[i] =
          MM3DVector(std::sin(a) * std::cos(b), std::sin(a) * std::sin(b), std::cos(a), 0.0f);
      mPositions[i] = MM3DVector(mNormals[i].mX, mNormals[i].mY, mNormals[i].mZ, 1.0f);
    }
  }
  std::vector<MM3DVector> mPositions;
  std::vector<MM3DVector> mNormals;
};

void ShadeWithFourLights(benchmark::State& state, MM3DMaterial& material) {
  MM3DCreateShadingScratch();
  const Block block;
  MM3DPointLightSource pointA(MM3DVector(3.0f, 0.0f, 0.0f, 1.0f), kWhite, 0.5f);
  MM3DPointLightSource pointB(MM3DVector(0.0f, -3.0f, 1.0f, 1.0f), kWhite, 0.5f);
  MM3DInfiniteLightSource infinite(kWhite, 0.7f, MM3DVector(0.0f, 0.0f, 1.0f, 0.0f));
  MM3DSpotLightSource spot(
      MM3DVector(0.0f, 3.0f, 3.0f, 1.0f), kWhite, 1.0f,
      std::make_unique<MM3DSpotLightInterest>(MM3DVector(0.0f, 0.0f, 0.0f, 1.0f)), 0.3f, 0.2f);
  MM3DRenderContext context(true);
  for (MM3DLight* light : {static_cast<MM3DLight*>(&pointA), static_cast<MM3DLight*>(&pointB),
                           static_cast<MM3DLight*>(&infinite), static_cast<MM3DLight*>(&spot)}) {
    light->Transform(MM3DMatrixIdentity, true);
    context.PushLight(light);
  }
  context.SumAmbientLights();
  MM3DVertexArrays arrays;
  arrays.mVertexCount = kVertices;
  arrays.mPositions = block.mPositions.data();
  arrays.mNormals = block.mNormals.data();
  material.Begin(context, MM3DVector(0.0f, 0.0f, 5.0f, 1.0f));
  for (auto _ : state) {
    material.Shade(arrays);
    benchmark::DoNotOptimize(arrays.mColors);
  }
  material.End();
  state.SetItemsProcessed(state.iterations() * kVertices);
  MM3DDestroyShadingScratch();
}

void BM_Lambert(benchmark::State& state) {
  MM3DMaterialLambert material(0.0f, kWhite, 0.8f, kGrey, kGrey);
  ShadeWithFourLights(state, material);
}
BENCHMARK(BM_Lambert);

void BM_Phong(benchmark::State& state) {
  MM3DMaterialPhong material(0.0f, kWhite, 0.8f, kGrey, kGrey, kWhite, 16.0f);
  ShadeWithFourLights(state, material);
}
BENCHMARK(BM_Phong);

}  // namespace
