// The drawing tools' costs. A 300-ring tube drag on a twelve-point profile
// against appending the same vertices and indices to plain arrays; a
// rounded freehand release of about 8,000 cells (fill, both surfaces and
// their triangles) as a share of a 60 Hz frame.

#include "app/creation/VPLToolShapeFreehand.h"
#include "app/creation/VPLToolTubeDraw.h"
#include "bench/RatioOverFloor.h"
#include "tests/app/creation/DrawingToolSupport.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <memory>
#include <vector>

namespace {

using namespace tool_support;

constexpr double kFrameMicroseconds = 1e6 / 60.0;
constexpr int32_t kRings = VPLToolTubeDraw::kMaxRings;
constexpr float kRingStep = 1.5f;
// A square this wide fills 89 x 89 = 7,921 cells.
constexpr float kSquareSide = 44.0f;

// What one ring appends: a copy and a new vertex per slot, two triangles
// per side quad.
void AppendRingsToArrays(int32_t slots, int32_t quads) {
  MM3DIndexedMeshVertexData block;
  const MM3DVector position{1.0f, 2.0f, 3.0f, 1.0f};
  const MM3DVector normal{0.0f, 1.0f, 0.0f, 0.0f};
  for (int32_t ring = 0; ring < kRings; ++ring) {
    for (int32_t v = 0; v < 2 * slots; ++v) {
      block.mPositions.Append(position);
      block.mNormals.Append(normal);
      block.mColors.Append(MM3DPackedColor{255, 255, 255, 255});
      block.mTextureCoordinates[0].Append(MM3DTextureCoordinate{0.5f, 0.5f});
    }
    for (int32_t i = 0; i < 6 * quads; ++i) block.mIndices.Append(static_cast<uint16_t>(i));
  }
  benchmark::DoNotOptimize(block.mIndices.Begin());
}

void BM_TubeRingsAgainstAppendingTheirArrays(benchmark::State& state) {
  ToolWorld world;
  world.Area().SetToolOption(0);
  world.Area().SetDrawSize(kDiscRow);
  VPLToolTubeDraw tool(world.Area().GetView(), &world.Creation(), &world.Area(), 493);
  constexpr int32_t kSlots = 3 * kDiscPoints;
  ReportRatioOverFloor(
      state, [] { AppendRingsToArrays(kSlots, kDiscPoints - 1); },
      [&] {
        for (int32_t i = 1; i <= kRings + 1; ++i) {
          tool.Drag(Through(kRingStep * static_cast<float>(i), 0), false);
        }
      },
      // The press loads the profile and makes the tube once per drag.
      [&] { tool.Begin(Through(0, 0), false); });
  state.counters["rings"] = tool.GetRingCount();
}
BENCHMARK(BM_TubeRingsAgainstAppendingTheirArrays)->Unit(benchmark::kMillisecond);

// The square's outline as the tool leaves it: every grid point once.
std::vector<MM3DVector> SquareOutline() {
  std::vector<MM3DVector> points;
  const auto steps = static_cast<int32_t>(2 * kSquareSide);
  const float corners[4][2] = {
      {0, 0}, {kSquareSide, 0}, {kSquareSide, kSquareSide}, {0, kSquareSide}};
  for (int32_t c = 0; c < 4; ++c) {
    const float* from = corners[c];
    const float* to = corners[(c + 1) % 4];
    for (int32_t s = 0; s < steps; ++s) {
      const float t = static_cast<float>(s) / static_cast<float>(steps);
      points.push_back(
          {from[0] + t * (to[0] - from[0]), from[1] + t * (to[1] - from[1]), 0.0f, 1.0f});
    }
  }
  return points;
}

void BM_RoundedReleaseShareOfAFrame(benchmark::State& state) {
  VPLDrawingPlane plane;
  plane.Face(kEyeBehind);
  const std::vector<MM3DVector> points = SquareOutline();
  const auto n = static_cast<int16_t>(points.size());
  int32_t vertices = 0;
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) {
    float depth = 0.0f;
    const auto grid = VPLToolShapeFreehand::BuildFillGrid(plane, points.data(), n, depth);
    MM3DIndexedMeshVertexData block;
    const MM3DVector v{0.0f, 0.0f, depth / 2, 0.0f};
    const MM3DVector minusV{0.0f, 0.0f, -depth / 2, 0.0f};
    const auto front = VPLToolShapeFreehand::RaiseSurface(*grid, v, points[0], block);
    const auto back = VPLToolShapeFreehand::RaiseSurface(*grid, minusV, points[0], block);
    VPLToolShapeFreehand::Triangulate(*front, 0, block);
    VPLToolShapeFreehand::Triangulate(*back, 1, block);
    vertices = block.GetVertexCount();
  }
  const double us =
      std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() /
      static_cast<double>(state.iterations());
  state.counters["release_us"] = us;
  state.counters["frame_share"] = us / kFrameMicroseconds;
  state.counters["vertices"] = vertices;
}
BENCHMARK(BM_RoundedReleaseShareOfAFrame)->Unit(benchmark::kMillisecond);

}  // namespace
