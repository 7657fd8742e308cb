// The editing tools: the press's pick over a creation of 50 objects of 400
// triangles against a plain loop of the same segment-triangle tests over the
// objects whose boxes the segment meets; and one move-drag event on a
// 2,000-vertex object (segment, plane test, placement, bounds, sound) as a
// share of a 60 Hz frame.

#include "app/creation/VPLCreation.h"
#include "app/creation/VPLObjCreationUser.h"
#include "app/objects/VPLDisplayTreeVisitors.h"
#include "bench/BenchRandom.h"
#include "bench/RatioOverFloor.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"
#include "tests/app/creation/ToolSupport.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

namespace {

using namespace creation_support;

constexpr double kFrameMicroseconds = 1e6 / 60.0;
constexpr int32_t kObjects = 50;
constexpr int32_t kTriangles = 400;
constexpr int32_t kDragVertices = 2001;  // whole triangles

// Triangles scattered through a cube of side 2 around the origin.
UURefCount<MM3DModel> ScatteredModel(int32_t triangles, BenchRandom& random) {
  std::vector<MM3DVector> positions;
  for (int32_t i = 0; i < 3 * triangles; ++i) {
    positions.emplace_back(random.Next() * 2 - 1, random.Next() * 2 - 1, random.Next() * 2 - 1,
                           1.0f);
  }
  return app_fixtures::MakeMeshesModel({positions});
}

VPLObjCreation* AddScattered(ToolStage& stage, int32_t triangles, const MM3DVector& at,
                             BenchRandom& random) {
  auto* object =
      new VPLObjCreationUser(&stage.Area(), ScatteredModel(triangles, random), &stage.Creation());
  stage.Creation().AddObjectAt(object, at);
  return object;
}

// Every triangle of an object's meshes in world space.
std::vector<MM3DVector> WorldTriangles(const VPLObjCreation& object) {
  std::vector<MM3DVector> out;
  const UUGrowableArray<MM3DDisplayTreeNode*> meshes = VPLFindMeshes(object.GetDisplayTreeRoot());
  MM3DMatrix transform;
  object.GetTransform(transform);
  for (int32_t m = 0; m < meshes.Count(); ++m) {
    const auto* mesh = static_cast<MM3DDisplayTreeNodeIndexedMesh*>(meshes[m]);
    const MM3DIndexedMeshVertexData& block = *mesh->GetPart(0).mBlocks[0];
    for (int32_t i = 0; i < block.mPositions.Count(); ++i) {
      MM3DVector world;
      transform.TransformPoint(world, block.mPositions[i]);
      out.push_back(world);
    }
  }
  return out;
}

void BM_PressPickAgainstTheBoxedTriangleLoop(benchmark::State& state) {
  ToolStage stage;
  BenchRandom random;
  std::vector<VPLObjCreation*> objects;
  for (int32_t i = 0; i < kObjects; ++i) {
    const MM3DVector at(static_cast<float>(i % 10 - 5) * 2.5f,
                        static_cast<float>(i / 10 - 2) * 2.5f, 0.0f, 1.0f);
    objects.push_back(AddScattered(stage, kTriangles, at, random));
  }
  std::vector<std::vector<MM3DVector>> triangles;
  for (const VPLObjCreation* object : objects) triangles.push_back(WorldTriangles(*object));
  const VPLPickEvent press = stage.EventAt(MM3DVector(0.0f, 0.0f, 0.0f, 1.0f), kVPLPress);
  MMView& view = *stage.Area().GetView();
  int32_t hits = 0;
  ReportRatioOverFloor(
      state,
      [&] {
        const VPLSegment s = VPLScreenToWorldSegment(view, press.mX, press.mY, true);
        float best = -1.0f;
        for (size_t o = 0; o < objects.size(); ++o) {
          if (!objects[o]->IntersectsBounds(s.mStart, s.mEnd)) continue;
          const std::vector<MM3DVector>& t = triangles[o];
          for (size_t i = 0; i + 2 < t.size(); i += 3) {
            MM3DVector hit;
            if (!VPLIntersectSegmentTriangle(s.mStart, s.mEnd, t[i], t[i + 1], t[i + 2], hit))
              continue;
            const float d = hit.Direction(s.mStart).LengthSquared();
            if (best < 0.0f || d < best) best = d;
          }
        }
        benchmark::DoNotOptimize(best);
      },
      [&] {
        const VPLSegment s = VPLScreenToWorldSegment(view, press.mX, press.mY, true);
        MM3DVector hit;
        VPLVertexHolder vertex;
        hits += stage.Creation().PickObject(s.mStart, s.mEnd, &hit, &vertex) != nullptr ? 1 : 0;
      });
  state.counters["hit"] = hits > 0 ? 1.0 : 0.0;
}
BENCHMARK(BM_PressPickAgainstTheBoxedTriangleLoop)->Unit(benchmark::kMicrosecond);

void BM_MoveDragEventShareOfAFrame(benchmark::State& state) {
  ToolStage stage;
  BenchRandom random;
  AddScattered(stage, kDragVertices / 3, MM3DVector(0.0f, 0.0f, 0.0f, 1.0f), random);
  std::unique_ptr<VPLTool> tool = stage.Make(kVPLToolMove);
  const VPLPickEvent there = stage.EventAt(MM3DVector(1.0f, 0.5f, 0.0f, 1.0f), kVPLHeld);
  const VPLPickEvent back = stage.EventAt(MM3DVector(0.0f, 0.0f, 0.0f, 1.0f), kVPLHeld);
  stage.Send(*tool, MM3DVector(0.0f, 0.0f, 0.0f, 1.0f), kVPLPress | kVPLHeld);
  std::chrono::steady_clock::duration spent{};
  bool toThere = true;
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    tool->OnMouse(toThere ? there : back);
    spent += std::chrono::steady_clock::now() - start;
    toThere = !toThere;
  }
  const double us = std::chrono::duration<double, std::micro>(spent).count() /
                    static_cast<double>(state.iterations());
  state.counters["engaged"] = tool->IsEngaged() ? 1.0 : 0.0;
  state.counters["drag_us"] = us;
  state.counters["frame_share"] = us / kFrameMicroseconds;
}
BENCHMARK(BM_MoveDragEventShareOfAFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
