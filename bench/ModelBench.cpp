// Reading a model file against reading its bytes with pread. The model is
// a mesh of 10,000 lit triangles below a transform, with a clip of ten
// 100-key curves on the transform.

#include "foundation/uu/UUDirectory.h"
#include "foundation/uu/UUMemory.h"
#include "mm3d/MM3DCompiledTextureModDatabase.h"
#include "mm3d/MM3DDisplayTreeNodeIndexedMesh.h"
#include "mm3d/MM3DMaterial.h"
#include "mm3d/MM3DModel.h"
#include "tests/mm3d/MM3DMeshBuilders.h"
#include "tests/mm3d/MM3DModelSupport.h"

#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kTriangles = 10000;
constexpr int kCorners = 3;
constexpr int kCurves = 10;
constexpr int kKeys = 100;
constexpr float kKeyStep = 0.1f;
constexpr int32_t kTranslationX = 19;
constexpr int32_t kScratchSize = 16 << 20;
constexpr char kFileName[] = "model.mod";

UURefCount<MM3DFunctionCurve> HundredKeyCurve(int seed) {
  UUGrowableArray<MM3DLinearCurveKey> keys;
  for (int i = 0; i < kKeys; ++i) {
    keys.Append(MM3DLinearCurveKey(static_cast<float>(i) * kKeyStep,
                                   static_cast<float>((i * 7 + seed) % 13)));
  }
  return UURefCount<MM3DFunctionCurve>(new MM3DLinearFunctionCurve(keys, kMM3DPlainValue));
}

// 10,000 separate triangles along x, their normals up.
UURefCount<MM3DIndexedMeshVertexData> TriangleBlock() {
  std::vector<MM3DVector> positions;
  for (int t = 0; t < kTriangles; ++t) {
    for (int c = 0; c < kCorners; ++c) {
      positions.emplace_back(static_cast<float>(t), static_cast<float>(c), 0.0f, 1.0f);
    }
  }
  const std::vector<MM3DVector> normals(positions.size(), MM3DVector(0.0f, 0.0f, 1.0f, 0.0f));
  return MakeBlock(positions, normals);
}

UURefCount<MM3DModel> MakeTriangleModel() {
  UURefCount<MM3DMaterial> material(new MM3DMaterialVertexColor);
  material->AddTextureLayer(MM3DMaterialTextureLayer(MM3DBlendFactors(), MM3DTextureHandle()));
  MM3DIndexedMeshPart part;
  part.mMaterial = material;
  part.mBlocks.Append(TriangleBlock());
  auto* mesh = new MM3DDisplayTreeNodeIndexedMesh;
  mesh->AddPart(part);
  auto* transform = new MM3DDisplayTreeNodeSRTTransform;
  transform->AddChild(UUOwned<MM3DDisplayTreeNode>(mesh));
  auto* root = new MM3DDisplayTreeNodeRoot;
  root->AddChild(UUOwned<MM3DDisplayTreeNode>(transform));
  auto* clip = new MM3DAnimationClip;
  clip->SetEndTime(static_cast<float>(kKeys - 1) * kKeyStep);
  for (int c = 0; c < kCurves; ++c) {
    clip->AddAnimation(
        UUOwned<MM3DAnimation>(new MM3DSRTAnimation(transform, HundredKeyCurve(c), kTranslationX)));
  }
  return UURefCount<MM3DModel>(
      new MM3DModel(UUOwned<MM3DDisplayTreeNode>(root), UUOwned<MM3DAnimationClip>(clip)));
}

// The model's file in a directory of its own.
class ModelFile {
 public:
  ModelFile() {
    char pattern[] = "/tmp/vpl-bench-XXXXXX";
    mHostDirectory = mkdtemp(pattern);
    ByteWriter writer;
    std::vector<uint8_t> scratch(kScratchSize);
    UUMemory memory(scratch.data(), kScratchSize);
    MM3DCompiledTextureModDatabase database;
    MM3DWriteModel(writer, MakeTriangleModel(), database, memory);
    mSize = writer.mBytes.size();
    std::FILE* file = std::fopen(HostPath().c_str(), "wb");
    std::fwrite(writer.mBytes.data(), 1, mSize, file);
    std::fclose(file);
    std::string windows = "C:" + mHostDirectory + "/";
    for (char& c : windows) c = c == '/' ? '\\' : c;
    mDirectory.Set(windows.c_str());
  }
  ~ModelFile() {
    std::remove(HostPath().c_str());
    rmdir(mHostDirectory.c_str());
  }
  ModelFile(const ModelFile&) = delete;
  ModelFile& operator=(const ModelFile&) = delete;

  std::string HostPath() const { return mHostDirectory + "/" + kFileName; }
  const UUDirectory& Directory() const { return mDirectory; }
  size_t Size() const { return mSize; }

 private:
  std::string mHostDirectory;
  UUDirectory mDirectory;
  size_t mSize = 0;
};

void BM_ReadModelFile(benchmark::State& state) {
  ModelFile file;
  for (auto _ : state) {
    MM3DCompiledTextureModDatabase database;
    UURefCount<MM3DModel> model = MM3DReadModelFile(file.Directory(), kFileName, database, nullptr);
    if (model.IsEmpty()) state.SkipWithError("the model file did not read");
    benchmark::DoNotOptimize(model.Get());
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.Size()));
}
BENCHMARK(BM_ReadModelFile)->Unit(benchmark::kMillisecond);

void BM_PreadModelBytes(benchmark::State& state) {
  ModelFile file;
  const int descriptor = open(file.HostPath().c_str(), O_RDONLY);
  std::vector<uint8_t> bytes(file.Size());
  for (auto _ : state) {
    benchmark::DoNotOptimize(pread(descriptor, bytes.data(), bytes.size(), 0));
  }
  close(descriptor);
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * file.Size()));
}
BENCHMARK(BM_PreadModelBytes)->Unit(benchmark::kMillisecond);

}  // namespace
