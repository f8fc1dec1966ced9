// Timings of the graph queries: reachability (vmod_Circular), ancestry (vmod_Ancestor),
// orphans (vmod_Orphan) and the next-operation search (vmod_NextFunction), on pipelines
// of growing size and on a lattice of diamonds whose path count doubles with each level.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "vmod/vmod.h"

namespace {

struct Graph {
    Vmod_Model model{};
    Vmod_Node *first = nullptr;
    Vmod_Node *last = nullptr;
    std::vector<Vmod_Node *> operations;
    int32_t count = 0;

    Graph() = default;
    Graph(const Graph &) = delete;
    Graph &operator=(const Graph &) = delete;
    ~Graph() { vmod_ModelDelete(&model, nullptr); }

    Vmod_Node *add(int32_t kind) {
        Vmod_Node *node = vmod_NodeCreate(&model, kind, nullptr);
        node->id = ++count;
        // Appended at the known tail: walking the list for every node would make building
        // the big graphs quadratic.
        if (first == nullptr) {
            model.nodes = first = node;
        } else {
            last->next = node;
            node->prev = last;
        }
        last = node;
        if (kind == VMOD_FUNCTION) operations.push_back(node);
        return node;
    }
    void markDone(bool done) {
        for (Vmod_Node *f : operations) static_cast<Vmod_FunctionData *>(f->data)->done = done;
    }
};

// A pipeline of `steps` operations, each reading the previous output and up to two
// earlier data nodes chosen at random, and writing one raster.
void buildPipeline(Graph &g, int steps) {
    std::mt19937 random(7);
    std::vector<Vmod_Node *> data{g.add(VMOD_RASTER)};
    for (int i = 0; i < steps; ++i) {
        Vmod_Node *f = g.add(VMOD_FUNCTION);
        vmod_ChildAddByNode(data.back(), f, nullptr);
        for (int k = 0; k < 2; ++k)
            vmod_ChildAddByNode(data[std::uniform_int_distribution<size_t>(0, data.size() - 1)(random)], f, nullptr);
        Vmod_Node *out = g.add(VMOD_RASTER);
        vmod_ChildAddByNode(f, out, nullptr);
        data.push_back(out);
    }
}

// Levels of two operations that both read both outputs of the level above.
void buildLattice(Graph &g, int levels) {
    std::vector<Vmod_Node *> above{g.add(VMOD_RASTER)};
    for (int level = 0; level < levels; ++level) {
        std::vector<Vmod_Node *> outputs;
        for (int k = 0; k < 2; ++k) {
            Vmod_Node *f = g.add(VMOD_FUNCTION);
            for (Vmod_Node *input : above) vmod_ChildAddByNode(input, f, nullptr);
            Vmod_Node *out = g.add(VMOD_RASTER);
            vmod_ChildAddByNode(f, out, nullptr);
            outputs.push_back(out);
        }
        above = outputs;
    }
}

void build(Graph &g, const benchmark::State &state) {
    if (state.range(1) == 0)
        buildPipeline(g, static_cast<int>(state.range(0)));
    else
        buildLattice(g, static_cast<int>(state.range(0)));
}

// Worst cases: the target is unreachable, so the whole graph is searched.
void BM_Circular(benchmark::State &state) {
    Graph g;
    build(g, state);
    for (auto _ : state) benchmark::DoNotOptimize(vmod_Circular(g.first, g.first->id, -1, nullptr));
    state.counters["nodes"] = static_cast<double>(g.last->id);
}

void BM_Ancestor(benchmark::State &state) {
    Graph g;
    build(g, state);
    for (auto _ : state) benchmark::DoNotOptimize(vmod_Ancestor(g.last, -1, g.last->id, nullptr));
    state.counters["nodes"] = static_cast<double>(g.last->id);
}

void BM_Orphan(benchmark::State &state) {
    Graph g;
    build(g, state);
    for (auto _ : state) benchmark::DoNotOptimize(vmod_Orphan(g.first, -1, nullptr));
    state.counters["nodes"] = static_cast<double>(g.last->id);
}

// One call with nothing written yet (the answer is the first operation).
void BM_NextFunction(benchmark::State &state) {
    Graph g;
    build(g, state);
    for (auto _ : state) benchmark::DoNotOptimize(vmod_NextFunction(g.first, nullptr));
    state.counters["nodes"] = static_cast<double>(g.last->id);
}

// A whole script generation: one call per operation, each answer marked done.
void BM_NextFunctionAll(benchmark::State &state) {
    Graph g;
    build(g, state);
    for (auto _ : state) {
        g.markDone(false);
        while (Vmod_Node *next = vmod_NextFunction(g.first, nullptr))
            static_cast<Vmod_FunctionData *>(next->data)->done = 1;
    }
    state.counters["nodes"] = static_cast<double>(g.last->id);
}

// {size, shape}: shape 0 a pipeline of `size` operations, 1 a lattice `size` levels deep.
void linearSizes(benchmark::internal::Benchmark *b) {
    for (int steps : {100, 1000, 10000, 100000}) b->Args({steps, 0});
    b->Args({40, 1});
}
void searchSizes(benchmark::internal::Benchmark *b) {
    for (int steps : {100, 1000, 4000}) b->Args({steps, 0});
    b->Args({40, 1});
}
void generationSizes(benchmark::internal::Benchmark *b) {
    for (int steps : {100, 400}) b->Args({steps, 0});
    b->Args({40, 1});
}

}  // namespace

BENCHMARK(BM_Circular)->Apply(linearSizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Ancestor)->Apply(linearSizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_Orphan)->Apply(linearSizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NextFunction)->Apply(searchSizes)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_NextFunctionAll)->Apply(generationSizes)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
