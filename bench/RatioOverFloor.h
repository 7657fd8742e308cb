#pragma once
// Times a way of doing some work against its floor, the cheapest way of
// doing the same work, alternately in one loop so that both see the same
// machine, and reports the time of the one over the time of the other as
// the counter "ratio".

#include <benchmark/benchmark.h>

#include <chrono>

// The same, with an untimed step before each pair that sets up what the
// measured way works on.
template <typename Floor, typename Measured, typename Prepare>
void ReportRatioOverFloor(benchmark::State& state, Floor floor, Measured measured,
                          Prepare prepare) {
  using Clock = std::chrono::steady_clock;
  Clock::duration floorTime{};
  Clock::duration measuredTime{};
  for (auto _ : state) {
    prepare();
    const auto start = Clock::now();
    floor();
    const auto middle = Clock::now();
    measured();
    const auto end = Clock::now();
    floorTime += middle - start;
    measuredTime += end - middle;
  }
  state.counters["ratio"] =
      std::chrono::duration<double>(measuredTime) / std::chrono::duration<double>(floorTime);
}

template <typename Floor, typename Measured>
void ReportRatioOverFloor(benchmark::State& state, Floor floor, Measured measured) {
  ReportRatioOverFloor(state, floor, measured, [] {});
}
