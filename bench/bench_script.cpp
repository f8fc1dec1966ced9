// Script generation of a layered model (layered_model.h).
//
// BM_ScriptGen is the generator as shipped. BM_ScriptGenStepwise defines operations
// through the next-operation search exactly as first described (the tests' oracle,
// tests/support/next_operation_oracle.h): one scan per candidate, outputs found by walking
// the list. It is cubic in the size of the model, so it is run on small layered models;
// BM_ScriptGenLibrarySearch uses the library's vmod_NextFunction for each definition (on
// the 2,000-operation model it takes minutes, so it is not in the default list).
#include <benchmark/benchmark.h>

#include <string>

#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "vmodhost/ollm.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "script/script_gen.h"
#include "layered_model.h"
#include "support/next_operation_oracle.h"
#include "vmod/vmod.h"

namespace {

void generate(benchmark::State &state, const ScriptOptions &options) {
    LayeredModel layered(static_cast<int32_t>(state.range(0)), static_cast<int32_t>(state.range(1)));
    for (auto _ : state) {
        Oerr_ErrorReport *err = nullptr;
        Ofio_File *file = ofio_Open("/dev/null", "w", &err);
        oerr_DeleteErrorReportEx(&err);
        int32_t result = script_Generate(layered.model, file, options);
        ofio_Close(file, 0);
        if (result != 1) {
            state.SkipWithError("the script was not complete");
            break;
        }
    }
    state.counters["operations"] = layered.operations;
}

void BM_ScriptGen(benchmark::State &state) { generate(state, ScriptOptions{}); }

void BM_ScriptGenStepwise(benchmark::State &state) {
    ScriptOptions options;
    options.literalOrder = true;
    options.nextOperation = vmodtest::oracleNextOperation;
    generate(state, options);
}

void BM_ScriptGenLibrarySearch(benchmark::State &state) {
    ScriptOptions options;
    options.literalOrder = true;
    generate(state, options);
}

} // namespace

// {width, layers}: 100 x 20 is the 2,000-operation model.
BENCHMARK(BM_ScriptGen)->Args({100, 20})->Args({20, 4})->Args({20, 8})->Args({20, 12})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScriptGenStepwise)->Args({20, 4})->Args({20, 8})->Args({20, 12})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ScriptGenLibrarySearch)->Args({20, 12})->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
