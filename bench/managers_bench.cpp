// The slot table behind the managers: lookups by identifier in tables of 10, 100 and 1000 records
// (the render path looks records up several times per object and frame), and creating 1000 records
// from a fresh table, growth by 10 included. The log is closed, so no rows are written.
#include "views/vtr3_views.h"

#include <benchmark/benchmark.h>

namespace {

// Looks up every registered identifier in turn: the scan reaches each position once per round.
void LookUpById(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    c_VTR3ViewManager views;
    views.Initialize();
    for (int id = 0; id < count; ++id) {
        views.RegisterView(id, "");
    }
    int id = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(views.GetSlotByID(id));
        id = id + 1 == count ? 0 : id + 1;
    }
    views.DeInitialize();
}
BENCHMARK(LookUpById)->Arg(10)->Arg(100)->Arg(1000);

void CreateThousandRecords(benchmark::State& state) {
    c_VTR3ViewManager views;
    for (auto _ : state) {
        views.Initialize();
        for (int id = 0; id < 1000; ++id) {
            views.RegisterView(id, "");
        }
        views.DeInitialize();
    }
}
BENCHMARK(CreateThousandRecords);

} // namespace
