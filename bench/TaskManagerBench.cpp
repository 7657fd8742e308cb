#include "foundation/al/ALAllocator.h"
#include "mm/tasks/MMLightweightThread.h"
#include "mm/tasks/MMTaskCallback.h"
#include "mm/tasks/MMTaskClient.h"
#include "mm/tasks/MMTaskManager.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

// A thread that steps every period milliseconds, as animation players and
// page turners do.
class PeriodicThread : public MMLightweightThread {
 public:
  PeriodicThread(MMTaskClient* client, int32_t period, int64_t* steps)
      : MMLightweightThread(client), mPeriod(period), mSteps(steps) {}
  ~PeriodicThread() override { Terminate(); }
  bool Step() override {
    ++*mSteps;
    Sleep(mPeriod);
    return true;
  }

 private:
  int32_t mPeriod;
  int64_t* mSteps;
};

// Advances of one 16 ms frame with state.range(0) threads spread over four
// scene clients; with period 16 every thread steps in every advance.
void RunFrames(benchmark::State& state, const int32_t* periods, int periodCount) {
  MMTaskManager manager;
  std::vector<std::unique_ptr<MMTaskClient>> clients;
  for (int i = 0; i < 4; ++i) clients.push_back(std::make_unique<MMTaskClient>(&manager));
  int64_t steps = 0;
  std::vector<std::unique_ptr<PeriodicThread>> threads;
  for (int64_t i = 0; i < state.range(0); ++i) {
    threads.push_back(
        std::make_unique<PeriodicThread>(clients[i % 4].get(), periods[i % periodCount], &steps));
    threads.back()->Start();
  }
  int32_t now = 0;
  manager.RunUntil(now);
  steps = 0;
  for (auto _ : state) {
    now += 16;
    manager.RunUntil(now);
  }
  state.counters["steps_per_advance"] =
      benchmark::Counter(static_cast<double>(steps) / static_cast<double>(state.iterations()));
  state.SetItemsProcessed(steps);
}

void BM_TaskManagerAdvanceEveryTaskDue(benchmark::State& state) {
  const int32_t periods[] = {16};
  RunFrames(state, periods, 1);
}
BENCHMARK(BM_TaskManagerAdvanceEveryTaskDue)->Arg(100)->Arg(300)->Arg(1000);

void BM_TaskManagerAdvanceMixedPeriods(benchmark::State& state) {
  const int32_t periods[] = {16, 33, 50, 100, 1000};
  RunFrames(state, periods, 5);
}
BENCHMARK(BM_TaskManagerAdvanceMixedPeriods)->Arg(300);

class NoOp : public UUCallback {
 public:
  void Invoke() override {}
};

// Bindings are copied and posted constantly; each post is one immediate
// task at the next advance.
void BM_TaskCallbackCopyPostAndRun(benchmark::State& state) {
  MMTaskManager manager;
  MMTaskClient client(&manager);
  const MMTaskCallback binding(&client, new (ALGlobalAllocator) NoOp);
  int32_t now = 0;
  for (auto _ : state) {
    for (int64_t i = 0; i < state.range(0); ++i) {
      const MMTaskCallback copy = binding;
      copy.Post();
    }
    manager.RunUntil(++now);
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_TaskCallbackCopyPostAndRun)->Arg(300);

}  // namespace
