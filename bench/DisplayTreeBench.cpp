// World matrices of a 1,000-node tree of transforms (1 + 9 + 90 + 900
// nodes, four levels) asked for after one change: at the top, which
// invalidates every node, at one leaf, which invalidates that leaf only,
// and after no change at all.

#include "mm3d/MM3DDisplayTreeNodeTransform.h"
#include "mm3d/MM3DMatrix.h"

#include <benchmark/benchmark.h>

#include <vector>

namespace {

constexpr int kTopChildren = 9;
constexpr int kBranching = 10;
constexpr int kLevelsBelowTop = 3;

MM3DMatrix Translation(float x, float y, float z) {
  MM3DMatrix matrix;
  MM3DMatrixTranslation(matrix, x, y, z);
  return matrix;
}

class Tree {
 public:
  Tree() : mTop(Translation(0, 0, 1)) {
    mNodes.push_back(&mTop);
    Grow(mTop, kTopChildren, 1);
  }

  void AskAll(benchmark::State& state) {
    MM3DMatrix world;
    for (MM3DDisplayTreeNodeTransform* node : mNodes) {
      node->GetWorldMatrix(world);
      benchmark::DoNotOptimize(world);
    }
    state.SetItemsProcessed(state.items_processed() + static_cast<int64_t>(mNodes.size()));
  }

  MM3DDisplayTreeNodeTransform mTop;
  std::vector<MM3DDisplayTreeNodeTransform*> mNodes;

 private:
  void Grow(MM3DDisplayTreeNodeTransform& parent, int children, int level) {
    for (int i = 0; i < children; ++i) {
      auto* child = new MM3DDisplayTreeNodeTransform(Translation(static_cast<float>(i), 1, 0));
      parent.AddChild(UUOwned<MM3DDisplayTreeNode>(child));
      mNodes.push_back(child);
      if (level < kLevelsBelowTop) Grow(*child, kBranching, level + 1);
    }
  }
};

void WorldMatricesAfterATopChange(benchmark::State& state) {
  Tree tree;
  float x = 0;
  for (auto _ : state) {
    tree.mTop.SetMatrix(Translation(x += 1, 0, 1));
    tree.AskAll(state);
  }
}
BENCHMARK(WorldMatricesAfterATopChange);

void WorldMatricesAfterALeafChange(benchmark::State& state) {
  Tree tree;
  MM3DDisplayTreeNodeTransform* leaf = tree.mNodes.back();
  float x = 0;
  for (auto _ : state) {
    leaf->SetMatrix(Translation(x += 1, 0, 1));
    tree.AskAll(state);
  }
}
BENCHMARK(WorldMatricesAfterALeafChange);

void WorldMatricesUnchanged(benchmark::State& state) {
  Tree tree;
  for (auto _ : state) tree.AskAll(state);
}
BENCHMARK(WorldMatricesUnchanged);

}  // namespace
