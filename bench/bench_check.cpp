// Validating a layered model (layered_model.h) with every check but the files: the
// 2,000-operation model must take well under 50 ms, and the time must grow linearly with
// the model (2,000, 20,000 and 200,000 operations). BM_CheckJson adds the JSON document
// that `vmod check --json` prints.
#include <benchmark/benchmark.h>

#include "layered_model.h"
#include "vmodcheck/vmodcheck.h"

namespace {

void validate(benchmark::State &state, bool json) {
    LayeredModel layered(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)));
    for (auto _ : state) {
        Oerr_ErrorReport *err = nullptr;
        Vmodcheck_Report *report = vmodcheck_Validate(layered.model, nullptr, &err);
        if (report == nullptr) {
            oerr_DeleteErrorReportEx(&err);
            state.SkipWithError("the validator failed");
            break;
        }
        if (json) {
            char *text = vmodcheck_ReportJson(report, layered.model, 0, &err);
            benchmark::DoNotOptimize(text);
            vmodcheck_Free(text);
        }
        state.counters["problems"] = static_cast<double>(report->count);
        vmodcheck_ReportFree(report);
    }
    state.counters["operations"] = layered.operations;
}

void BM_Check(benchmark::State &state) { validate(state, false); }
void BM_CheckJson(benchmark::State &state) { validate(state, true); }

} // namespace

// {width, layers}: 2,000, 20,000 and 200,000 operations.
BENCHMARK(BM_Check)->Args({100, 20})->Args({100, 200})->Args({100, 2000})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CheckJson)->Args({100, 20})->Args({100, 200})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
