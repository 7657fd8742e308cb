// Applying an animation clip, as a player does each frame: a clip of 50
// curve animations of the components of a few transform nodes, set to a
// time that moves on every frame.

#include "foundation/uu/UUGrowableArray.h"
#include "mm3d/MM3DAnimationClip.h"
#include "mm3d/MM3DLinearFunctionCurve.h"
#include "mm3d/MM3DNodeAnimations.h"

#include <benchmark/benchmark.h>

#include <array>

namespace {

constexpr int kCurves = 50;
constexpr int kKeys = 100;
constexpr int kNodes = 5;
constexpr int32_t kChannels = 22;
constexpr float kKeyStep = 0.1f;
constexpr float kFrame = 1.0f / 60.0f;

UURefCount<MM3DFunctionCurve> Curve(int seed) {
  UUGrowableArray<MM3DLinearCurveKey> keys;
  for (int i = 0; i < kKeys; ++i) {
    keys.Append(MM3DLinearCurveKey(static_cast<float>(i) * kKeyStep,
                                   static_cast<float>((i * 7 + seed) % 13)));
  }
  return UURefCount<MM3DFunctionCurve>(new MM3DLinearFunctionCurve(keys, kMM3DPlainValue));
}

void BM_ApplyClipOf50Curves(benchmark::State& state) {
  std::array<MM3DDisplayTreeNodeSRTTransform, kNodes> nodes;
  MM3DAnimationClip clip;
  for (int i = 0; i < kCurves; ++i) {
    // Channel 0 (visibility) is left out so that every node stays drawn.
    const int32_t channel = 1 + i % (kChannels - 1);
    clip.AddAnimation(
        UUOwned<MM3DAnimation>(new MM3DSRTAnimation(&nodes[i % kNodes], Curve(i), channel)));
  }
  const float end = static_cast<float>(kKeys - 1) * kKeyStep;
  float time = 0.0f;
  for (auto _ : state) {
    clip.Apply(time);
    time += kFrame;
    if (time > end) time = 0.0f;
  }
  benchmark::DoNotOptimize(nodes[0].GetTranslation());
}
BENCHMARK(BM_ApplyClipOf50Curves);

}  // namespace
