// The engine's math at the sizes a frame asks of it: 4x4 matrix products,
// one matrix applied to 10,000 points, and 1,000 Hermite curves evaluated
// at one time (a clip's channels in one frame).

#include "mm3d/MM3DAggregateFunctionCurve.h"
#include "mm3d/MM3DMatrix.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

constexpr int32_t kPoints = 10000;
constexpr int32_t kCurves = 1000;
constexpr int32_t kKeysPerCurve = 8;

MM3DMatrix SomeMatrix() {
  MM3DMatrix rotation;
  MM3DMatrix translation;
  MM3DMatrix matrix;
  MM3DMatrixRotationXYZ(rotation, 0.3f, -0.7f, 1.1f);
  MM3DMatrixTranslation(translation, 4, -5, 6);
  MM3DMatrixMultiply(matrix, rotation, translation);
  return matrix;
}

void MatrixProduct(benchmark::State& state) {
  const MM3DMatrix a = SomeMatrix();
  MM3DMatrix b = SomeMatrix();
  MM3DMatrix out;
  for (auto _ : state) {
    MM3DMatrixMultiply(out, a, b);
    benchmark::DoNotOptimize(out);
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations());
}
BENCHMARK(MatrixProduct);

void TransformPoints(benchmark::State& state) {
  const MM3DMatrix matrix = SomeMatrix();
  std::vector<MM3DVector> in(kPoints);
  std::vector<MM3DVector> out(kPoints);
  for (int32_t i = 0; i < kPoints; ++i) {
    const auto f = static_cast<float>(i);
    in[static_cast<size_t>(i)] = MM3DVector(f * 0.5f, -f * 0.25f, f * 2.0f, 1.0f);
  }
  for (auto _ : state) {
    matrix.TransformPoints(out.data(), in.data(), kPoints);
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * kPoints);
}
BENCHMARK(TransformPoints);

std::vector<std::unique_ptr<MM3DAggregateFunctionCurve>> HermiteCurves() {
  std::vector<std::unique_ptr<MM3DAggregateFunctionCurve>> curves;
  for (int32_t c = 0; c < kCurves; ++c) {
    UUGrowableArray<MM3DAggregateCurveKey> keys;
    for (int32_t k = 0; k < kKeysPerCurve; ++k) {
      keys.Append(MM3DAggregateCurveKey(kMM3DKeyHermite, static_cast<float>(k) * 0.5f,
                                        static_cast<float>((c + k) % 7) * 1.5f, 0.5f, -0.25f));
    }
    curves.push_back(std::make_unique<MM3DAggregateFunctionCurve>(
        keys, kMM3DPlainValue, kMM3DInfinityCycle, kMM3DInfinityCycle));
  }
  return curves;
}

// Every curve at one time per iteration, the time moving forward by a frame
// each iteration as a playing clip's does.
void EvaluateHermiteCurves(benchmark::State& state) {
  auto curves = HermiteCurves();
  float time = 0.0f;
  for (auto _ : state) {
    float sum = 0.0f;
    for (auto& curve : curves) sum += curve->Evaluate(time);
    benchmark::DoNotOptimize(sum);
    time += 1.0f / 30.0f;
  }
  state.SetItemsProcessed(state.iterations() * kCurves);
}
BENCHMARK(EvaluateHermiteCurves);

}  // namespace
