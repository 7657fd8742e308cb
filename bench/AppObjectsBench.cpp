// The application objects' per-frame and per-move costs. A mouse event
// routed through an interface scene of 40 controls of 500 triangles each
// (20,000 triangles), against the floor of the segment-triangle tests of
// all those triangles in a plain loop over the same vertex arrays: the
// program routes an event every frame while the mouse rests. And the
// bounds of an object of 10,000 vertices, rebuilt as every move does,
// against a plain loop transforming the same vertices.

#include "app/objects/VPLDisplayTreeVisitors.h"
#include "app/objects/VPLObj.h"
#include "app/objects/VPLSceneUIBase.h"
#include "bench/RatioOverFloor.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeWithVisibility.h"
#include "mm3d/MM3DMaterialLambert.h"
#include "tests/app/support/InterfaceStage.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <vector>

namespace {

constexpr int32_t kControlColumns = 8;
constexpr int32_t kControlRows = 5;
// Each control is a grid of 25 x 10 cells, two triangles a cell.
constexpr int32_t kCellColumns = 25;
constexpr int32_t kCellRows = 10;
constexpr float kControlSide = 1.0f;
// Without a camera script the scene keeps its default camera, looking along -z.
constexpr float kControlDepth = -20.0f;
constexpr int32_t kBoundsGridSide = 100;  // 10,000 vertices

UURefCount<MM3DIndexedMeshVertexData> Grid(int32_t columns, int32_t rows, float side) {
  UURefCount<MM3DIndexedMeshVertexData> block(new MM3DIndexedMeshVertexData);
  for (int32_t r = 0; r <= rows; ++r) {
    for (int32_t c = 0; c <= columns; ++c) {
      block->mPositions.Append(MM3DVector(
          side * static_cast<float>(c) / static_cast<float>(columns) - side / 2,
          side * static_cast<float>(r) / static_cast<float>(rows) - side / 2, 0.0f, 1.0f));
    }
  }
  const auto at = [&](int32_t r, int32_t c) {
    return static_cast<uint16_t>(r * (columns + 1) + c);
  };
  for (int32_t r = 0; r < rows; ++r) {
    for (int32_t c = 0; c < columns; ++c) {
      for (uint16_t i :
           {at(r, c), at(r, c + 1), at(r + 1, c + 1), at(r, c), at(r + 1, c + 1), at(r + 1, c)}) {
        block->mIndices.Append(i);
      }
    }
  }
  return block;
}

UURefCount<MM3DModel> GridModel(int32_t columns, int32_t rows, float side) {
  auto* root = new MM3DDisplayTreeNodeRoot;
  auto* mesh = new MM3DDisplayTreeNodeIndexedMesh;
  MM3DIndexedMeshPart part;
  part.mMaterial = UURefCount<MM3DMaterial>(new MM3DMaterialLambert);
  part.mBlocks.Append(Grid(columns, rows, side));
  mesh->AddPart(part);
  root->AddChild(UUOwned<MM3DDisplayTreeNode>(mesh));
  return UURefCount<MM3DModel>(
      new MM3DModel(UUOwned<MM3DDisplayTreeNode>(root), UUOwned<MM3DAnimationClip>()));
}

// The block of an object's one mesh, and that mesh's world matrix.
const MM3DIndexedMeshVertexData& BlockOf(const VPLObj& object, MM3DMatrix& world) {
  MM3DDisplayTreeNode* mesh = VPLFindMeshes(object.GetDisplayTreeRoot())[0];
  world = MM3DMatrixIdentity;
  mesh->GetWorldMatrix(world);
  return *static_cast<MM3DDisplayTreeNodeIndexedMesh*>(mesh)->GetPart(0).mBlocks[0];
}

// Every triangle of the controls against the segment, brought into each
// control's space as the picks do.
int32_t TestEveryTriangle(const std::vector<VPLObj*>& controls, const VPLSegment& ray) {
  int32_t hits = 0;
  for (const VPLObj* control : controls) {
    MM3DMatrix inverse;
    const MM3DIndexedMeshVertexData& block = BlockOf(*control, inverse);
    inverse.InvertAffine();
    MM3DVector start;
    MM3DVector end;
    inverse.TransformPoint(start, ray.mStart);
    inverse.TransformPoint(end, ray.mEnd);
    for (int32_t i = 0; i + 2 < block.mIndices.Count(); i += 3) {
      MM3DVector hit;
      hits += VPLIntersectSegmentTriangle(start, end, block.mPositions[block.mIndices[i]],
                                          block.mPositions[block.mIndices[i + 1]],
                                          block.mPositions[block.mIndices[i + 2]], hit);
    }
  }
  return hits;
}

// The stage, its 40 controls and the event whose pointer rests on the far
// corner of the last control, so that that control's triangles are all
// tried before the hit.
struct FortyControls {
  FortyControls() {
    for (int32_t r = 0; r < kControlRows; ++r) {
      for (int32_t c = 0; c < kControlColumns; ++c) {
        auto* control =
            new VPLObjEvent(&mStage.Scene(), GridModel(kCellColumns, kCellRows, kControlSide));
        control->SetPosition(1.2f * static_cast<float>(c - kControlColumns / 2),
                             1.2f * static_cast<float>(r - kControlRows / 2), kControlDepth);
        mStage.Plain().AppendInterfaceObject(control);
        mControls.push_back(control);
      }
    }
    const UUPoint at = mStage.ScreenPointOf(
        mControls.back()->GetWorldPosition().Sum(MM3DVector(0.45f, 0.45f, 0, 0)));
    mEvent = MMMouseEvent{0, at.mX, at.mY, 0};
    mRay = mStage.Scene().MakeViewRay(at.mX, at.mY);
  }

  InterfaceStage mStage;
  std::vector<VPLObj*> mControls;
  MMMouseEvent mEvent;
  VPLSegment mRay;
};

// Reports the routed event's own time in microseconds beside the ratio.
template <typename Floor>
void RouteAgainst(benchmark::State& state, FortyControls& scene, Floor floor) {
  std::chrono::steady_clock::duration routed{};
  ReportRatioOverFloor(state, floor, [&] {
    const auto start = std::chrono::steady_clock::now();
    benchmark::DoNotOptimize(scene.mStage.Scene().OnMouse(scene.mEvent));
    routed += std::chrono::steady_clock::now() - start;
  });
  state.counters["event_us"] = std::chrono::duration<double, std::micro>(routed).count() /
                               static_cast<double>(state.iterations());
}

// The floor is every triangle of the 40 controls.
void BM_RouteAMouseEventThroughFortyControls(benchmark::State& state) {
  FortyControls scene;
  RouteAgainst(state, scene,
               [&] { benchmark::DoNotOptimize(TestEveryTriangle(scene.mControls, scene.mRay)); });
}
BENCHMARK(BM_RouteAMouseEventThroughFortyControls)->Unit(benchmark::kMicrosecond);

// The floor is the triangles of the control under the pointer, tried once.
void BM_RouteAMouseEventAgainstTheHitControlsTriangles(benchmark::State& state) {
  FortyControls scene;
  const std::vector<VPLObj*> hit{scene.mControls.back()};
  RouteAgainst(state, scene, [&] { benchmark::DoNotOptimize(TestEveryTriangle(hit, scene.mRay)); });
}
BENCHMARK(BM_RouteAMouseEventAgainstTheHitControlsTriangles)->Unit(benchmark::kMicrosecond);

void BM_BuildBoundsPerVertex(benchmark::State& state) {
  InterfaceStage stage;
  VPLObj object(&stage.Scene(), GridModel(kBoundsGridSide - 1, kBoundsGridSide - 1, 10.0f));
  object.SetPosition(1, 2, 3);
  MM3DMatrix world;
  const MM3DIndexedMeshVertexData& block = BlockOf(object, world);
  const auto transformAll = [&] {
    MM3DVector low(0, 0, 0, 1);
    MM3DVector high(0, 0, 0, 1);
    for (int32_t v = 0; v < block.mPositions.Count(); ++v) {
      MM3DVector p;
      world.TransformPoint(p, block.mPositions[v]);
      low = MM3DVector(std::min(low.mX, p.mX), std::min(low.mY, p.mY), std::min(low.mZ, p.mZ), 1);
      high =
          MM3DVector(std::max(high.mX, p.mX), std::max(high.mY, p.mY), std::max(high.mZ, p.mZ), 1);
    }
    benchmark::DoNotOptimize(low);
    benchmark::DoNotOptimize(high);
  };
  ReportRatioOverFloor(state, transformAll, [&] { object.RefreshBounds(); });
  state.SetItemsProcessed(state.iterations() * block.mPositions.Count());
}
BENCHMARK(BM_BuildBoundsPerVertex)->Unit(benchmark::kMicrosecond);

}  // namespace
