// Every command of the `vmod` tool on the three shapes that once made commands quadratic
// (chain, fan-in, long CHILD list) at 10,000, 100,000 and 1,000,000 nodes. Each case runs
// the built program once per iteration and reports its wall time, its CPU time and its
// peak memory, also per node. Picture and print cover a few pages at a low resolution.
//
//   bench_commands                                   all cases (1,000,000 takes minutes)
//   bench_commands --benchmark_filter='/100000$'     one size
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "support/shape_models.h"

extern char **environ;

namespace {

const std::string &scratch() {
    static const std::string dir = [] {
        char pattern[] = "/tmp/vmod_bench_commands_XXXXXX";
        const char *made = mkdtemp(pattern);
        return std::string(made != nullptr ? made : "/tmp");
    }();
    return dir;
}

// The model file of a shape and size, written on first use.
std::string modelFile(vmodtest::Shape shape, int64_t nodes) {
    static std::map<std::pair<int, int64_t>, std::string> made;
    auto key = std::make_pair(static_cast<int>(shape), nodes);
    auto found = made.find(key);
    if (found != made.end()) return found->second;
    std::string path = scratch() + "/" + vmodtest::shapeName(shape) + "-" + std::to_string(nodes) + ".vmf";
    if (!vmodtest::writeShapeModel(path, shape, nodes)) return {};
    made.emplace(key, path);
    return path;
}

std::vector<std::string> commandLine(const std::string &command, const std::string &model) {
    const std::string out = scratch() + "/out";
    if (command == "check") return {"check", model};
    if (command == "script") return {"script", model, "-o", out + ".mdl"};
    if (command == "eps") return {"eps", model, out + ".eps"};
    if (command == "ps") return {"ps", model, out + ".ps", "--pages", "1-3"};
    if (command == "render") return {"render", model, out + ".png", "--ppi", "4"};
    if (command == "print") return {"print", model, out + ".pdf", "--pages", "1-3", "--dpi", "50"};
    if (command == "anno") return {"anno", model, out + ".svg"};
    return {"resave", model, out + ".vmf"};
}

struct Run {
    bool ok = false;
    int status = -1;
    double wallSeconds = 0, cpuSeconds = 0;
    long peakKilobytes = 0;
};

Run runTool(const std::vector<std::string> &args) {
    std::vector<std::string> argv{VMOD_TOOL};
    argv.insert(argv.end(), args.begin(), args.end());
    std::vector<char *> raw;
    for (std::string &arg : argv) raw.push_back(arg.data());
    raw.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    const auto start = std::chrono::steady_clock::now();
    pid_t pid = 0;
    Run run;
    if (posix_spawn(&pid, raw[0], &actions, nullptr, raw.data(), environ) == 0) {
        int status = 0;
        struct rusage usage {};
        if (wait4(pid, &status, 0, &usage) == pid) {
            run.wallSeconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            run.cpuSeconds = static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
                             static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
            run.peakKilobytes = usage.ru_maxrss;
            run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            run.ok = true;
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    return run;
}

void BM_Command(benchmark::State &state, std::string command, vmodtest::Shape shape) {
    const int64_t nodes = state.range(0);
    const std::string model = modelFile(shape, nodes);
    if (model.empty()) {
        state.SkipWithError("cannot write the model");
        return;
    }
    Run run;
    for (auto _ : state) {
        run = runTool(commandLine(command, model));
        // check exits 3 for a model not ready to run; that is a result, not a failure.
        if (!run.ok || (run.status != 0 && run.status != 3)) {
            state.SkipWithError(("vmod " + command + " failed").c_str());
            return;
        }
        state.SetIterationTime(run.wallSeconds);
    }
    state.counters["cpu_s"] = run.cpuSeconds;
    state.counters["peak_MB"] = static_cast<double>(run.peakKilobytes) / 1024.0;
    state.counters["bytes_per_node"] = static_cast<double>(run.peakKilobytes) * 1024.0 / static_cast<double>(nodes);
}

const int kRegistered = [] {
    for (vmodtest::Shape shape : {vmodtest::Shape::Chain, vmodtest::Shape::FanIn, vmodtest::Shape::Children})
        for (const char *command : {"check", "script", "eps", "ps", "render", "print", "anno", "resave"})
            benchmark::RegisterBenchmark((std::string(command) + "/" + vmodtest::shapeName(shape)).c_str(),
                                         BM_Command, std::string(command), shape)
                ->Arg(10000)
                ->Arg(100000)
                ->Arg(1000000)
                ->Iterations(1)
                ->UseManualTime()
                ->Unit(benchmark::kMillisecond);
    return 0;
}();

} // namespace

BENCHMARK_MAIN();
