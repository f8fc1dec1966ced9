// Every command of the `vmod` tool grows linearly with the model: each runs on the three
// shapes that once made commands quadratic (chain, fan-in, long CHILD list) at n and 8n
// nodes, and its CPU time may grow by far less than the 64 times a quadratic command
// shows. The bound is generous so that a loaded machine does not fail it; the timings
// themselves are the benchmark's business (bench/bench_commands.cpp).
#include <gtest/gtest.h>

#include <sys/resource.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "support/scratch_dir.h"
#include "support/shape_models.h"
#include "vmodhost/vmodhost.h"

namespace {

constexpr int64_t kSmall = 4000;
constexpr int64_t kLarge = 8 * kSmall;
// Linear is 8; a quadratic command shows 64 once its own work outweighs starting up.
constexpr double kRatioBound = 24;
// Below this the small run is all start-up; the ratio is taken against it.
constexpr double kFloorSeconds = 0.02;

double childrenCpuSeconds() {
    struct rusage usage {};
    getrusage(RUSAGE_CHILDREN, &usage);
    return static_cast<double>(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
           static_cast<double>(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

// The CPU seconds of one run of the tool, or a negative value when it failed.
double cpuSecondsOf(const std::string &arguments) {
    // An absolute limit too: a return to quadratic time must not stall the suite.
    const std::string command =
        "timeout 300 '" + std::string(VMOD_BINARY_DIR) + "/tools/vmod' " + arguments + " >/dev/null 2>&1";
    const double before = childrenCpuSeconds();
    const int raw = std::system(command.c_str());
    const double spent = childrenCpuSeconds() - before;
    const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return status == 0 || status == 3 ? spent : -1;  // check: 3 is "not ready"
}

std::string argumentsFor(const std::string &command, const std::string &model, const std::string &out) {
    if (command == "check") return "check " + model;
    if (command == "script") return "script " + model + " -o " + out + ".mdl";
    if (command == "eps") return "eps " + model + " " + out + ".eps";
    if (command == "ps") return "ps " + model + " " + out + ".ps --pages 1-2";
    if (command == "render") return "render " + model + " " + out + ".png --ppi 2";
    if (command == "print") return "print " + model + " " + out + ".pdf --pages 1-2 --dpi 30";
    if (command == "anno") return "anno " + model + " " + out + ".svg";
    return "resave " + model + " " + out + ".vmf";
}

} // namespace

TEST(vmod_tool_scaling, EveryCommandIsLinearOnEveryShape) {
#ifdef VMOD_SANITIZED
    GTEST_SKIP() << "timings under the sanitizers say nothing about the release code";
#endif
    vmodtest::ScratchDir dir;
    for (vmodtest::Shape shape : {vmodtest::Shape::Chain, vmodtest::Shape::FanIn, vmodtest::Shape::Children}) {
        const std::string small = dir.file(std::string(vmodtest::shapeName(shape)) + "-small.vmf");
        const std::string large = dir.file(std::string(vmodtest::shapeName(shape)) + "-large.vmf");
        ASSERT_TRUE(vmodtest::writeShapeModel(small, shape, kSmall));
        ASSERT_TRUE(vmodtest::writeShapeModel(large, shape, kLarge));
        for (const char *command : {"check", "script", "eps", "ps", "render", "print", "anno", "resave"}) {
            if ((std::string(command) == "print" || std::string(command) == "render") && !vmodhost_HasCairo())
                continue; // a host without Cairo has no PDF printer and draws no pictures
            const double atSmall = cpuSecondsOf(argumentsFor(command, small, dir.file("out")));
            const double atLarge = cpuSecondsOf(argumentsFor(command, large, dir.file("out")));
            const std::string what = std::string(command) + " on " + vmodtest::shapeName(shape);
            ASSERT_GE(atSmall, 0) << what << " failed";
            ASSERT_GE(atLarge, 0) << what << " failed at " << kLarge << " nodes (or ran past the limit)";
            EXPECT_LT(atLarge / std::max(atSmall, kFloorSeconds), kRatioBound)
                << what << ": " << atSmall << " s at " << kSmall << " nodes, " << atLarge << " s at " << kLarge;
        }
    }
}

// A model the script generator refuses (a function reading its own output, notes sharing
// identifiers with rasters) still gets its operations listed by `vmod check` in one pass
// over the model, not one search per operation.
TEST(vmod_tool_scaling, CheckIsLinearOnAHostileModel) {
#ifdef VMOD_SANITIZED
    GTEST_SKIP() << "timings under the sanitizers say nothing about the release code";
#endif
    vmodtest::ScratchDir dir;
    const int64_t large = 100000, small = large / 8;
    const std::string smallModel = dir.file("hostile-small.vmf"), largeModel = dir.file("hostile-large.vmf");
    ASSERT_TRUE(vmodtest::writeShapeModel(smallModel, vmodtest::Shape::Hostile, small));
    ASSERT_TRUE(vmodtest::writeShapeModel(largeModel, vmodtest::Shape::Hostile, large));
    const double atSmall = cpuSecondsOf("check " + smallModel);
    const double atLarge = cpuSecondsOf("check " + largeModel);
    ASSERT_GE(atSmall, 0) << "check failed";
    ASSERT_GE(atLarge, 0) << "check failed at " << large << " nodes (or ran past the limit)";
    EXPECT_LT(atLarge / std::max(atSmall, kFloorSeconds), kRatioBound)
        << atSmall << " s at " << small << " nodes, " << atLarge << " s at " << large;
}
