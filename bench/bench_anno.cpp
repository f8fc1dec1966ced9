// vmod_ModelAnno on models of growing size: a grid of nodes, each with an arrow to the
// next, written to a scratch file. The export should grow linearly with the model.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <unistd.h>

#include "vmodhost/oerr.h"
#include "vmodhost/ollm.h"
#include "vmodhost/ostr.h"
#include "vmod/vmod.h"

static void BM_ModelAnno(benchmark::State &state) {
    Vmod_Model model{};
    model.pageWidth = 8.5;
    model.pageHeight = 11;
    Vmod_Node *previous = nullptr;
    for (int64_t i = 0; i < state.range(0); ++i) {
        Vmod_Node *node = vmod_NodeCreate(&model, static_cast<int32_t>(i % 7), nullptr);
        node->id = static_cast<int32_t>(i + 1);
        node->title = ostr_Duplicate("node");
        node->x = static_cast<double>(i % 50) * 1.5;
        node->y = static_cast<double>(i / 50) * 1.5;
        model.nodes = static_cast<Vmod_Node *>(ollm_Add(model.nodes, OLLM_APPEND, node));
        if (previous != nullptr) vmod_ChildAddByNode(previous, node, nullptr);
        previous = node;
    }
    std::string path = "/tmp/vmod_bench_anno_" + std::to_string(getpid()) + ".svg";
    for (auto _ : state) {
        Oerr_ErrorReport *err = nullptr;
        vmod_ModelAnno(&model, path.c_str(), &err);
        if (err != nullptr) {
            state.SkipWithError("export failed");
            oerr_DeleteErrorReportEx(&err);
            break;
        }
    }
    std::remove(path.c_str());
    state.SetComplexityN(state.range(0));
    vmod_ModelDelete(&model, nullptr);
}
BENCHMARK(BM_ModelAnno)->RangeMultiplier(4)->Range(16, 4096)->Complexity()->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
