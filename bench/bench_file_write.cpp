// Writing a model file of about 10 MB: tens of thousands of nodes of every kind.
// Target: 50 MB/s or more.
//
// BM_ModelWriteText writes to /dev/null, which is written in place: the writer and the
// host's formatting alone. BM_ModelWriteSave is the whole atomic save to a file beside
// the target, sync to disk and rename included, timed by the wall clock.
#include <benchmark/benchmark.h>

#include <string>
#include <sys/stat.h>

#include "../tests/support/model_generator.h"
#include "../tests/support/scratch_dir.h"
#include "vmodhost/oerr.h"
#include "vmod/vmod.h"

namespace {

// 40,000 nodes, five thousand of each kind, with lists of up to a few dozen entries.
constexpr int32_t kNodes = 40000;
constexpr int32_t kListScale = 6;
constexpr uint64_t kSeed = 20261208;

// The size of the file the model makes, written once.
int64_t fileSize(Vmod_Model *model, const std::string &path) {
    Oerr_ErrorReport *err = nullptr;
    vmod_ModelWrite(model, &err);
    oerr_DeleteErrorReportEx(&err);
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? static_cast<int64_t>(info.st_size) : 0;
}

void run(benchmark::State &state, const std::string &target, const std::string &sizePath) {
    vmodtest::ModelPtr model(vmodtest::generateModel(kSeed, kNodes, kListScale, sizePath.c_str()));
    const int64_t bytes = fileSize(model.get(), sizePath);
    omsc_HeapFree(model->fileName);
    model->fileName = vmodtest::heapString(target.c_str());
    for (auto _ : state) {
        Oerr_ErrorReport *err = nullptr;
        vmod_ModelWrite(model.get(), &err);
        if (err != nullptr) {
            oerr_DeleteErrorReportEx(&err);
            state.SkipWithError("the save failed");
            break;
        }
    }
    state.SetBytesProcessed(bytes * static_cast<int64_t>(state.iterations()));
    state.counters["file_MB"] = static_cast<double>(bytes) / 1e6;
}

void BM_ModelWriteText(benchmark::State &state) {
    vmodtest::ScratchDir dir;
    run(state, "/dev/null", dir.file("size.vmf"));
}
BENCHMARK(BM_ModelWriteText)->Unit(benchmark::kMillisecond)->MinTime(2.0);

void BM_ModelWriteSave(benchmark::State &state) {
    vmodtest::ScratchDir dir;
    run(state, dir.file("bench.vmf"), dir.file("bench.vmf"));
}
BENCHMARK(BM_ModelWriteSave)->Unit(benchmark::kMillisecond)->MinTime(2.0)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
