// The interface widgets' per-frame and per-click costs. The 3D cursor's
// tick, which runs every frame, as a share of a 60 Hz frame. A material
// applied to an object of ten meshes against building the same engine
// material, finding the meshes and handing it to them directly. One forward scroll of
// a 3 x 2 texture grid (the looks still in view copied, one cell filled)
// against refilling every cell of it.

#include "app/objects/VPLDisplayTreeVisitors.h"
#include "app/objects/VPLMaterializer.h"
#include "app/objects/VPLObjCursor.h"
#include "app/objects/VPLObjEventGrpCtrlScrollScripted.h"
#include "app/objects/VPLServices.h"
#include "bench/RatioOverFloor.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DDisplayTreeNodeWithVisibility.h"
#include "mm3d/MM3DDriverTextureMap.h"
#include "mm3d/MM3DMaterialLambert.h"
#include "tests/app/support/AppFixtures.h"
#include "tests/app/support/InterfaceStage.h"
#include "tests/mm3d/FakeTextureCollection.h"
#include "tests/mm3d/MM3DMeshBuilders.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <vector>

namespace {

using namespace app_fixtures;

constexpr double kFrameMicroseconds = 1e6 / 60.0;
constexpr int32_t kMeshes = 10;
constexpr uint16_t kTextureCollection = 12;
constexpr MMResourceId kCell = kFirstFreeEntry;
constexpr MMResourceId kGrid = kFirstFreeEntry + 1;
constexpr MMResourceId kTextureList = kFirstFreeEntry + 2;
constexpr int16_t kTextures = 40;

ExtraTables GridTables() {
  const auto reference = [](MMResourceId entry) { return static_cast<uint32_t>(entry + 1); };
  std::vector<TaggedRow> layout{
      {2, 3}, {3, 2}, {4, 1}, {5, reference(kCell)}, {6, reference(kCell)}};
  for (int i = 0; i < 6; ++i) layout.push_back({9, reference(kCell)});
  std::vector<TaggedRow> textures;
  for (int16_t i = 0; i < kTextures; ++i) textures.push_back({i, kTextureCollection});
  return {{kCell, {{0, static_cast<uint32_t>(ModelId(kQuadItem))}}},
          {kGrid, layout},
          {kTextureList, textures}};
}

UURefCount<MM3DModel> TenMeshes() {
  auto* root = new MM3DDisplayTreeNodeRoot;
  const MM3DVector normal(0, 0, -1, 0);
  for (int32_t m = 0; m < kMeshes; ++m) {
    const auto x = static_cast<float>(m);
    MM3DIndexedMeshPart part;
    part.mMaterial = UURefCount<MM3DMaterial>(new MM3DMaterialLambert);
    part.mBlocks.Append(MakeBlock({{x, 0, 0, 1}, {x + 1, 0, 0, 1}, {x, 1, 0, 1}},
                                  std::vector<MM3DVector>(3, normal)));
    auto* mesh = new MM3DDisplayTreeNodeIndexedMesh;
    mesh->AddPart(part);
    root->AddChild(UUOwned<MM3DDisplayTreeNode>(mesh));
  }
  return UURefCount<MM3DModel>(
      new MM3DModel(UUOwned<MM3DDisplayTreeNode>(root), UUOwned<MM3DAnimationClip>()));
}

void BM_CursorTickShareOfAFrame(benchmark::State& state) {
  AppFiles files;
  InterfaceStage stage;
  VPLObjCursor cursor(&stage.Scene(), MakeQuad());
  stage.Move(UUPoint{100, 100});
  const auto start = std::chrono::steady_clock::now();
  for (auto _ : state) cursor.Tick(0);
  const double us =
      std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start).count() /
      static_cast<double>(state.iterations());
  state.counters["tick_us"] = us;
  state.counters["frame_share"] = us / kFrameMicroseconds;
}
BENCHMARK(BM_CursorTickShareOfAFrame)->Unit(benchmark::kMicrosecond);

void BM_ApplyAMaterialToTenMeshes(benchmark::State& state) {
  AppFiles files;
  InterfaceStage stage;
  VPLObj object(&stage.Scene(), TenMeshes());
  VPLMaterializer materializer(nullptr);
  materializer.SetKind(kVPLLambertMaterial);
  materializer.SetColor({0.2f, 0.5f, 0.9f, 0.0f});
  const auto direct = [&] {
    UURefCount<MM3DMaterial> material(
        new MM3DMaterialLambert(0.0f, {0.2f, 0.5f, 0.9f, 0.0f}, 1.0f, {0, 0, 0, 0}, {0, 0, 0, 0}));
    material->AddTextureLayer({{kMM3DBlendOne, kMM3DBlendZero}, {}});
    // Any direct way must find the object's meshes too.
    for (MM3DDisplayTreeNode* mesh : VPLFindMeshes(object.GetDisplayTreeRoot())) {
      static_cast<MM3DDisplayTreeNodeIndexedMesh*>(mesh)->SetPartShader(0, material);
    }
  };
  ReportRatioOverFloor(state, direct, [&] { materializer.Apply(&object); });
}
BENCHMARK(BM_ApplyAMaterialToTenMeshes)->Unit(benchmark::kMicrosecond);

void BM_ScrollATextureGridAgainstRefillingIt(benchmark::State& state) {
  AppFiles files(GridTables());
  InterfaceStage stage;
  FakeTextureCollection textures(kTextureCollection);
  for (int16_t i = 0; i < kTextures; ++i) textures.Add({.mRed = static_cast<uint8_t>(i)});
  MM3DDriverTextureMap map;
  VPLGetServices().mTextureMap = &map;
  VPLObjEventGrpCtrlScrollScriptedTextures grid(&stage.Scene(), MakeQuad(), kGrid, {},
                                                kTextureList);
  grid.Build();
  bool forward = true;
  ReportRatioOverFloor(
      state, [&] { grid.Refresh(); },
      [&] {
        grid.OnScroll(forward ? kScrollForward : kScrollBack);
        forward = !forward;
      });
  VPLGetServices().mTextureMap = nullptr;
}
BENCHMARK(BM_ScrollATextureGridAgainstRefillingIt)->Unit(benchmark::kMicrosecond);

}  // namespace
