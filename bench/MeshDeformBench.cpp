// Deforming one frame of a 10,000-vertex block, as a lit mesh below a
// deformer is drawn: skinning with four joints weighing on every vertex,
// and blending eight dense targets with non-zero weights. Each frame
// computes positions and normals; the rate counts vertices.

#include "mm3d/MM3DDeformerScratch.h"
#include "mm3d/MM3DDisplayTreeNodeBlendShape.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedSkin.h"
#include "mm3d/MM3DIndexedMeshVertexData.h"

#include <benchmark/benchmark.h>

#include <array>

namespace {

constexpr int32_t kVertices = 10000;
constexpr int32_t kJoints = 4;
constexpr int32_t kTargets = 8;

void FillBlock(MM3DIndexedMeshVertexData& block) {
  for (int32_t v = 0; v < kVertices; ++v) {
    const auto f = static_cast<float>(v);
    block.mPositions.Append(MM3DVector(f * 0.01f, f * 0.02f, 1.0f, 1.0f));
    block.mNormals.Append(MM3DVector(0.0f, 1.0f, f * 0.001f, 0.0f));
  }
}

// Positions, then normals, of one block, as the pipeline asks for them.
void DeformFrame(MM3DIndexedMeshDeformer& deformer, const MM3DIndexedMeshVertexData& block) {
  deformer.BeginFrame();
  deformer.SelectPart(0, 0);
  MM3DVertexArrays arrays(block);
  deformer.DeformPositions(arrays);
  deformer.DeformNormals(arrays);
  deformer.EndFrame();
  benchmark::DoNotOptimize(arrays.mPositions[kVertices - 1]);
  benchmark::DoNotOptimize(arrays.mNormals[kVertices - 1]);
}

template <typename Block>
MM3DPerMeshBlock<Block> OneBlock(Block&& block) {
  UUGrowableArray<Block> part;
  part.Append(std::move(block));
  MM3DPerMeshBlock<Block> all;
  all.Append(std::move(part));
  return all;
}

void BM_SkinVerticesWithFourInfluences(benchmark::State& state) {
  MM3DCreateDeformerScratchArrays();
  MM3DIndexedMeshVertexData block;
  FillBlock(block);
  std::array<MM3DDisplayTreeNodeJoint, kJoints> joints;
  UUGrowableArray<MM3DDisplayTreeNodeJoint*> references;
  UUGrowableArray<MM3DMatrix> binds;
  UUGrowableArray<MM3DSkinInfluence> influences;
  for (int32_t j = 0; j < kJoints; ++j) {
    joints[j].SetRotationZ(0.1f * static_cast<float>(j));
    joints[j].SetTranslationX(static_cast<float>(j));
    references.Append(&joints[j]);
    binds.Append(MM3DMatrixIdentity);
    MM3DSkinInfluence influence{j, {}};
    for (int32_t v = 0; v < kVertices; ++v) {
      influence.mWeights.Append(MM3DSkinWeight{static_cast<uint16_t>(v), 0.25f});
    }
    influences.Append(std::move(influence));
  }
  MM3DDisplayTreeNodeIndexedSkin skin(OneBlock(std::move(influences)), references,
                                      std::move(binds));
  for (auto _ : state) DeformFrame(skin, block);
  state.SetItemsProcessed(state.iterations() * kVertices);
  MM3DFreeDeformerScratchArrays();
}
BENCHMARK(BM_SkinVerticesWithFourInfluences)->Unit(benchmark::kMicrosecond);

MM3DMeshTargets<MM3DVector> DenseTargets(float scale) {
  MM3DTargetArrays<MM3DVector> targets;
  for (int32_t t = 0; t < kTargets; ++t) {
    UUGrowableArray<MM3DVector> offsets;
    const float step = scale * static_cast<float>(t + 1);
    offsets.Insert(0, kVertices, MM3DVector(step, -step, 0.5f * step, 0.0f));
    targets.Append(std::move(offsets));
  }
  return OneBlock(std::move(targets));
}

void BM_BlendEightDenseShapes(benchmark::State& state) {
  MM3DCreateDeformerScratchArrays();
  MM3DIndexedMeshVertexData block;
  FillBlock(block);
  UUGrowableArray<float> weights;
  for (int32_t t = 0; t < kTargets; ++t) weights.Append(0.1f * static_cast<float>(t + 1));
  MM3DDisplayTreeNodeIndexedBlendShapeArray blend(std::move(weights), DenseTargets(0.01f),
                                                  DenseTargets(0.001f));
  for (auto _ : state) DeformFrame(blend, block);
  state.SetItemsProcessed(state.iterations() * kVertices);
  MM3DFreeDeformerScratchArrays();
}
BENCHMARK(BM_BlendEightDenseShapes)->Unit(benchmark::kMicrosecond);

}  // namespace
