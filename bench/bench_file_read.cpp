// Reading speed and memory of the model-file reader on a generated model of about 10 MB
// (tens of thousands of nodes of every kind). Targets: 50 MB/s or more (the rate is of
// CPU time, which a loaded machine does not distort); the heap in use at the peak of a
// parse no more than three times what the finished model holds.
#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "../tests/support/model_generator.h"
#include "file/model_reader.h"
#include "file/parser_tables.h"
#include "vmodhost/oerr.h"
#include "vmod/vmod.h"

namespace {

// The generated model's file, written once per process.
const std::string &modelPath() {
    static const std::string path = [] {
        std::string file = (std::filesystem::temp_directory_path() /
                            ("vmod_bench_read_" + std::to_string(getpid()) + ".vmf"))
                               .string();
        vmodtest::ModelPtr model(vmodtest::generateModel(7, 30000, 12, file.c_str()));
        Oerr_ErrorReport *err = nullptr;
        vmod_ModelWrite(model.get(), &err);
        if (err != nullptr)
            std::fprintf(stderr, "cannot write the benchmark model %s\n", file.c_str());
        oerr_DeleteErrorReportEx(&err);
        std::atexit([] { std::filesystem::remove(modelPath()); });
        return file;
    }();
    return path;
}

void releaseRead(Vmod_Model *model) {
    Oerr_ErrorReport *err = nullptr;
    vmod_NodesDelete(model->nodes, &err);
    model->nodes = nullptr;
    vmodtest::freeModel(model);
}

void BM_ModelRead(benchmark::State &state) {
    const std::string &path = modelPath();
    const auto bytes = static_cast<int64_t>(std::filesystem::file_size(path));
    for (auto _ : state) {
        Vmod_Model *model = vmodtest::heapRecord<Vmod_Model>();
        Oerr_ErrorReport *err = nullptr;
        vmod_ModelRead(model, path.c_str(), &err);
        if (err != nullptr) {
            state.SkipWithError("the model does not read");
            oerr_DeleteErrorReportEx(&err);
        }
        state.PauseTiming();
        releaseRead(model);
        state.ResumeTiming();
    }
    state.SetBytesProcessed(state.iterations() * bytes);
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}
BENCHMARK(BM_ModelRead)->Unit(benchmark::kMillisecond)->MinTime(2.0);

// The heap in use, sampled every few hundred productions of a parse, against the heap the
// finished model holds after a whole read (links resolved).
size_t peakInUse = 0;
uint32_t sampleCountdown = 0;

int32_t sampledAction(Olex_Parser *parser, void *ld, int32_t production, Olex_Value *top, Olex_Value *result,
                      void **parseResult, int32_t *flag) {
    if (sampleCountdown-- == 0) {
        sampleCountdown = 500;
        peakInUse = std::max(peakInUse, mallinfo2().uordblks);
    }
    return parseAction(parser, ld, production, top, result, parseResult, flag);
}

void BM_ModelReadMemory(benchmark::State &state) {
    const std::string &path = modelPath();
    double held = 0, peak = 0;
    for (auto _ : state) {
        size_t before = mallinfo2().uordblks;
        Vmod_Model *model = vmodtest::heapRecord<Vmod_Model>();
        Oerr_ErrorReport *err = nullptr;
        vmod_ModelRead(model, path.c_str(), &err);
        held = static_cast<double>(mallinfo2().uordblks - before);
        releaseRead(model);

        Vmod_ParserTables tables = *file_ModelParserTables();
        tables.action = sampledAction;
        before = mallinfo2().uordblks;
        peakInUse = before;
        auto *parsed = static_cast<Vmod_Model *>(
            olex_Parse(&tables, nullptr, omsc_AddressOf_olex_Scanner(), nullptr, path.c_str(), nullptr, nullptr, &err));
        peakInUse = std::max(peakInUse, mallinfo2().uordblks);
        peak = static_cast<double>(peakInUse - before);
        file_ParsedModelRelease(parsed);
        oerr_DeleteErrorReportEx(&err);
    }
    state.counters["model_heap_MB"] = held / 1e6;
    state.counters["parse_peak_heap_MB"] = peak / 1e6;
    state.counters["peak_per_model"] = held > 0 ? peak / held : 0;
}
BENCHMARK(BM_ModelReadMemory)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
