// The reader against files that ask for more than the machine has: the cap on the list
// entries a whole file may ask for, long CHILD lists, and (run as the tool under a memory
// limit) sizing statements whose arrays cannot be made and an export that runs out of
// memory. Each must end in a report naming the position, never a crash.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <set>
#include <string>

#include "file/format_words.h"
#include "support/reader_support.h"
#include "support/scratch_dir.h"
#include "support/shape_models.h"

namespace {

std::string rejection(const std::string &text) {
    ReportKeeper report;
    ParsedModel model = parseText(text, report);
    return model ? std::string() : report.cause();
}

struct LimitedRun {
    int status;
    std::string err;
};

// Runs the tool with its address space limited to kilobytes: ulimit -v, or where the
// tool runs under an emulator (which reserves the whole guest address space up front),
// the emulator's own bound on the guest's address space.
LimitedRun vmodLimited(long kilobytes, const std::string &arguments, const vmodtest::ScratchDir &dir) {
#ifdef VMOD_TOOL_EMULATED
    const std::string limit = "QEMU_RESERVED_VA=" + std::to_string(kilobytes * 1024) + " ";
#else
    const std::string limit = "ulimit -v " + std::to_string(kilobytes) + "; ";
#endif
    const std::string command = "cd '" + dir.file("") + "' && sh -c '" + limit + "exec \"" +
                                std::string(VMOD_BINARY_DIR) + "/tools/vmod\" " + arguments + "' >/dev/null 2>" +
                                dir.file("err");
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readFile(dir.file("err"))};
}

// True when the program starts at all under the limit; under an emulator that reserves
// the guest's address space up front it cannot, and the limit tests say nothing there.
bool startsUnderLimit(long kilobytes, const vmodtest::ScratchDir &dir) {
    return vmodLimited(kilobytes, "--help", dir).status == 0;
}

} // namespace

TEST(vmod_ModelParse, TheSizedListsOfAFileAreCappedTogether) {
    // Each list is within the cap; together they are not.
    const std::string half = std::to_string(VMOD_MAX_LIST_ENTRIES / 2);
    EXPECT_EQ(rejection("TITLE t;\nRASTER { NUMCLASSES " + half + "; }\nVECTOR { NUMCLASSES " + half + "; }\n"), "");
    EXPECT_EQ(rejection("TITLE t;\nRASTER { NUMCLASSES " + half + "; }\nVECTOR { NUMCLASSES " + half +
                        "; }\nTABLE { SIZE 1; }\n"),
              "model.vmf:4:14: the sized lists of the file ask for more than 10000000 entries in all");
    // A sizing statement repeated in one block asks again.
    EXPECT_EQ(rejection("TITLE t;\nMATRIX { SIZE 5000, 1000; SIZE 5000, 1000; SIZE 1, 1; }\n"),
              "model.vmf:2:44: the sized lists of the file ask for more than 10000000 entries in all");
    EXPECT_EQ(rejection("TITLE t;\nCRITERIA { SIZE 5000, 2000; }\nCRITERIA { SIZE 1, 1; }\n"),
              "model.vmf:3:12: the sized lists of the file ask for more than 10000000 entries in all");
}

TEST(vmod_ModelParse, ALongChildListKeepsItsOrderAndLinks) {
    std::string text = "TITLE t;\nRASTER { ID 1;";
    for (int id = 2; id <= 2001; ++id)
        text += " CHILD " + std::to_string(id) + ";";
    text += " }\nSCALAR { ID 7; CHILD 9; CHILD 8; }\n";
    ReportKeeper report;
    ParsedModel model = parseText(text, report);
    ASSERT_TRUE(model) << report.cause();
    int expected = 2;
    const Vmod_Link *previous = nullptr;
    for (const Vmod_Link *link = model->nodes->children; link != nullptr; link = link->next, ++expected) {
        EXPECT_EQ(link->id, expected);
        EXPECT_EQ(link->prev, previous);
        previous = link;
    }
    EXPECT_EQ(expected, 2002);
    // The next block starts its own list.
    const Vmod_Link *second = model->nodes->next->children;
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->id, 9);
    EXPECT_EQ(second->prev, nullptr);
    ASSERT_NE(second->next, nullptr);
    EXPECT_EQ(second->next->id, 8);
    EXPECT_EQ(second->next->next, nullptr);
}

// A memory limit makes the arrays of these sizing statements impossible; each must be a
// rejection at its statement. The limit leaves room for the program itself.
TEST(vmod_tool_memory_limit, SizingStatementsBeyondMemoryAreRejected) {
#ifdef VMOD_SANITIZED
    GTEST_SKIP() << "the sanitizers' shadow memory cannot live under ulimit -v";
#endif
    vmodtest::ScratchDir dir;
    // A criteria table's cells are pointers: in a 32-bit program the largest table the
    // entry cap allows takes 36 MB, which fits under 60 MB, so the limit there is lower.
    const long limit = sizeof(void *) == 4 ? 40000 : 60000;
    if (!startsUnderLimit(limit, dir)) GTEST_SKIP() << "the program cannot start under ulimit -v here";
    const std::string cases[][2] = {
        {"TITLE t;\nMATRIX { ID 1; SIZE 3000, 3000; VALUE 1; }\n", "model.vmf:2:16: memory is exhausted"},
        {"TITLE t;\nTABLE { ID 1; SIZE 9000000; VALUE 1; }\n", "model.vmf:2:20: memory is exhausted"},
        {"TITLE t;\nCRITERIA { ID 1; SIZE 3000, 3000; }\n", "model.vmf:2:18: memory is exhausted"},
    };
    for (const auto &each : cases) {
        writeFile(dir.file("model.vmf"), each[0]);
        LimitedRun run = vmodLimited(limit, "resave model.vmf out.vmf", dir);
        EXPECT_EQ(run.status, 1) << each[0] << run.err;
        EXPECT_NE(run.err.find(each[1]), std::string::npos) << each[0] << run.err;
    }
}

// An export that runs out of memory part way reports it and leaves nothing behind: no
// layer file and no temporary file beside it.
TEST(vmod_tool_memory_limit, AnAnnoExportBeyondMemoryFailsCleanly) {
#ifdef VMOD_SANITIZED
    GTEST_SKIP() << "the sanitizers' shadow memory cannot live under ulimit -v";
#endif
    vmodtest::ScratchDir dir;
    if (!startsUnderLimit(60000, dir)) GTEST_SKIP() << "the program cannot start under ulimit -v here";
    // A model that reads within the limit (resave runs in it) but whose export does not.
    ASSERT_TRUE(vmodtest::writeShapeModel(dir.file("model.vmf"), vmodtest::Shape::Chain, 120000));
    LimitedRun run = vmodLimited(60000, "anno model.vmf out.svg", dir);
    EXPECT_EQ(run.status, 1) << run.err;
    EXPECT_NE(run.err.find("memory is exhausted"), std::string::npos) << run.err;
    EXPECT_EQ(dir.entries(), (std::set<std::string>{"err", "model.vmf"}));
}
