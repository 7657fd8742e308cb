// The colour controls' per-event costs. One drag on the colour wheel (the
// triangle pick, the ray brought into the wheel's space, the mixing, the
// grey scale's material applied to the fill preview) against its floor,
// the bare segment-triangle tests over all the wheel's triangles; and one
// drag along a slider as a share of a 60 Hz frame.

#include "app/objects/VPLMaterializer.h"
#include "app/objects/VPLObjColorPicker.h"
#include "app/objects/VPLObjDynamicPreview.h"
#include "app/objects/VPLObjGreyScale.h"
#include "app/objects/VPLPercentageSlider.h"
#include "bench/RatioOverFloor.h"
#include "tests/app/support/AppFixtures.h"
#include "tests/app/support/InterfaceStage.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <vector>

namespace {

using namespace app_fixtures;

constexpr double kFrameMicroseconds = 1e6 / 60.0;
constexpr int32_t kWheelTriangles = 24;
constexpr int32_t kTimedCalls = 2000;
const MM3DVector kPlace(0, 0, 10, 1);

// A fan about the origin, each triangle's corner colours from the hue wheel.
UURefCount<MM3DModel> Wheel(std::vector<MM3DVector>& positions) {
  std::vector<MM3DPackedColor> colours;
  const float step = 6.2831853f / kWheelTriangles;
  for (int32_t i = 0; i < kWheelTriangles; ++i) {
    const float a = step * static_cast<float>(i);
    positions.push_back({0, 0, 0, 1});
    positions.push_back({std::cos(a), std::sin(a), 0, 1});
    positions.push_back({std::cos(a + step), std::sin(a + step), 0, 1});
    const auto hue = static_cast<uint8_t>(i * 10);
    colours.insert(colours.end(), {{255, 255, 255, 0}, {hue, 0, 255, 0}, {0, hue, 128, 0}});
  }
  return MakeMeshesModel({positions}, {colours});
}

VPLPickEvent DragAt(float x, float y) {
  VPLPickEvent event(0, 0, 0, kVPLHeld);
  event.mRay = VPLSegment{MM3DVector(x, y, 0, 1), MM3DVector(x, y, 2 * kPlace.mZ, 1)};
  return event;
}

template <typename Call>
double MicrosecondsPerCall(Call call) {
  const auto start = std::chrono::steady_clock::now();
  for (int32_t i = 0; i < kTimedCalls; ++i) call();
  return std::chrono::duration<double, std::micro>(std::chrono::steady_clock::now() - start)
             .count() /
         kTimedCalls;
}

void BM_PickAColourAgainstTheTriangleTests(benchmark::State& state) {
  AppFiles files;
  InterfaceStage stage;
  VPLMaterializer materializer(nullptr);
  VPLObjDynamicPreview preview(&stage.Scene(), MakeQuad());
  VPLObjGreyScale grey(&stage.Scene(), MakeQuad(), kMMNoResource, {}, &materializer, &preview);
  std::vector<MM3DVector> corners;
  VPLObjColorPicker picker(&stage.Scene(), Wheel(corners), {}, &grey);
  picker.SetPosition(kPlace);
  // In the wheel's last triangle: every triangle is tried before it.
  const float a = 6.2831853f * (kWheelTriangles - 0.5f) / kWheelTriangles;
  const VPLPickEvent event = DragAt(0.5f * std::cos(a), 0.5f * std::sin(a));
  const MM3DVector localStart(event.mRay.mStart.mX, event.mRay.mStart.mY, -kPlace.mZ, 1);
  const MM3DVector localEnd(event.mRay.mEnd.mX, event.mRay.mEnd.mY, kPlace.mZ, 1);
  int32_t hits = 0;
  const auto floor = [&] {
    for (size_t i = 0; i + 2 < corners.size(); i += 3) {
      MM3DVector hit;
      hits += VPLIntersectSegmentTriangle(localStart, localEnd, corners[i], corners[i + 1],
                                          corners[i + 2], hit)
                  ? 1
                  : 0;
    }
    benchmark::DoNotOptimize(hits);
  };
  const auto drag = [&] { picker.OnDrag(event); };
  ReportRatioOverFloor(state, floor, drag);
  state.counters["drag_us"] = MicrosecondsPerCall(drag);
}
BENCHMARK(BM_PickAColourAgainstTheTriangleTests)->Unit(benchmark::kMicrosecond);

void BM_SliderDragShareOfAFrame(benchmark::State& state) {
  AppFiles files;
  InterfaceStage stage;
  VPLMaterializer materializer(nullptr);
  VPLOpacityPercentageSlider slider(&stage.Scene(), MakeQuad(), kMMNoResource, {});
  slider.SetMaterializer(&materializer);
  slider.SetPosition(kPlace);
  slider.ResetKnob();
  const VPLPickEvent events[] = {DragAt(-0.5f, 0.0f), DragAt(0.5f, 0.0f)};
  int32_t i = 0;
  const auto drag = [&] { slider.OnDrag(events[i++ & 1]); };
  for (auto _ : state) drag();
  const double us = MicrosecondsPerCall(drag);
  state.counters["drag_us"] = us;
  state.counters["frame_share"] = us / kFrameMicroseconds;
}
BENCHMARK(BM_SliderDragShareOfAFrame)->Unit(benchmark::kMicrosecond);

}  // namespace
