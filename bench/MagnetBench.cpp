// The magnet and the bake on a 10,000-vertex mesh. One magnet step whose
// reach covers about 150 vertices, against the pick every step needs: the
// same segment-triangle tests over the mesh's triangles in a plain loop
// (a held magnet must keep a 60 Hz frame). The bake of a scale and turn
// into the mesh, against plain point and direction transforms of its
// arrays.

#include "app/creation/VPLObjCreationUser.h"
#include "app/objects/VPLPicking.h"
#include "bench/RatioOverFloor.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "tests/app/support/AppFixtures.h"
#include "tests/app/support/InterfaceStage.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

namespace {

using namespace app_fixtures;

// 100 x 100 vertices one unit apart in the ground plane.
constexpr int32_t kSide = 100;
// A squared reach of 48 holds about 150 vertices around the hit.
constexpr float kReach = 48.0f;
const MM3DVector kStart(50.3f, 10.0f, 50.2f, 1.0f);
const MM3DVector kEnd(50.3f, -10.0f, 50.2f, 1.0f);
const MM3DVector kUp(0.0f, 1.0f, 0.0f, 0.0f);

UURefCount<MM3DModel> Grid() {
  std::vector<MM3DVector> positions;
  for (int32_t z = 0; z < kSide; ++z) {
    for (int32_t x = 0; x < kSide; ++x) {
      positions.emplace_back(static_cast<float>(x), 0.0f, static_cast<float>(z), 1.0f);
    }
  }
  std::vector<uint16_t> indices;
  const auto at = [](int32_t x, int32_t z) { return static_cast<uint16_t>(z * kSide + x); };
  for (int32_t z = 0; z + 1 < kSide; ++z) {
    for (int32_t x = 0; x + 1 < kSide; ++x) {
      indices.insert(indices.end(), {at(x, z), at(x + 1, z), at(x + 1, z + 1), at(x, z),
                                     at(x + 1, z + 1), at(x, z + 1)});
    }
  }
  return MakeIndexedModel(positions, indices, kUp);
}

// The nearest crossing of every triangle: the pick's own work.
bool PlainPick(const MM3DIndexedMeshVertexData& block, MM3DVector& nearest) {
  bool found = false;
  float best = 0.0f;
  for (int32_t i = 0; i + 2 < block.mIndices.Count(); i += 3) {
    MM3DVector hit;
    if (!VPLIntersectSegmentTriangle(kStart, kEnd, block.mPositions[block.mIndices[i]],
                                     block.mPositions[block.mIndices[i + 1]],
                                     block.mPositions[block.mIndices[i + 2]], hit)) {
      continue;
    }
    const float distance = hit.Direction(kStart).LengthSquared();
    if (!found || distance < best) nearest = hit;
    best = found ? std::min(best, distance) : distance;
    found = true;
  }
  return found;
}

void BM_MagnetStepAgainstItsPick(benchmark::State& state) {
  AppFiles files;
  InterfaceStage stage;
  VPLObjCreationUser object(&stage.Scene(), Grid(), nullptr);
  MM3DIndexedMeshVertexData& block = FirstMeshBlock(object.GetDisplayTreeRoot());
  const std::vector<MM3DVector> flat(block.mPositions.begin(), block.mPositions.end());
  using Clock = std::chrono::steady_clock;
  Clock::duration floorTime{};
  Clock::duration stepTime{};
  for (auto _ : state) {
    const auto start = Clock::now();
    MM3DVector hit;
    benchmark::DoNotOptimize(PlainPick(block, hit));
    const auto middle = Clock::now();
    object.DragMagnetPush(kStart, kEnd, kReach);
    const auto end = Clock::now();
    floorTime += middle - start;
    stepTime += end - middle;
    // Every step starts from the flat grid, so that none ever splits.
    state.PauseTiming();
    std::copy(flat.begin(), flat.end(), block.mPositions.begin());
    state.ResumeTiming();
  }
  state.counters["ratio"] =
      std::chrono::duration<double>(stepTime) / std::chrono::duration<double>(floorTime);
}
BENCHMARK(BM_MagnetStepAgainstItsPick)->Unit(benchmark::kMicrosecond);

void BM_BakeAgainstPlainTransforms(benchmark::State& state) {
  AppFiles files;
  InterfaceStage stage;
  VPLObjCreationUser object(&stage.Scene(), Grid(), nullptr);
  MM3DIndexedMeshVertexData& block = FirstMeshBlock(object.GetDisplayTreeRoot());
  std::vector<MM3DVector> points(static_cast<size_t>(block.mPositions.Count()));
  std::vector<MM3DVector> directions(points.size());
  MM3DMatrix matrix;
  MM3DMatrixRotationXYZ(matrix, 0.0f, 0.01f, 0.0f);
  bool grow = true;
  ReportRatioOverFloor(
      state,
      [&] {
        matrix.TransformPoints(points.data(), block.mPositions.Begin(), block.mPositions.Count());
        matrix.TransformDirections(directions.data(), block.mNormals.Begin(),
                                   block.mNormals.Count());
        benchmark::ClobberMemory();
      },
      [&] {
        // Growing and shrinking by turns keeps the mesh the same size.
        const float factor = grow ? 1.001f : 1.0f / 1.001f;
        grow = !grow;
        object.SetScale(factor, factor, factor);
        object.BakeScale();
      });
}
BENCHMARK(BM_BakeAgainstPlainTransforms)->Unit(benchmark::kMicrosecond);

}  // namespace
