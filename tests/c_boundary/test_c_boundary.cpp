// No C++ exception crosses the C interface. This program replaces the global operator
// new with one that can be told to throw std::bad_alloc at its Nth call from now; each
// test calls an exported function once for every N until a call runs without reaching
// the failure. A call must never throw; when the failure was reached it either reports
// it (the "memory is exhausted" report, or its failure value where it has no report) or
// does its work exactly as it would with memory to spare, and it leaves nothing behind.
//
// A program of its own, so that the rest of the suite keeps the allocator (and the
// sanitizers' checks of it) as it is. The replacement calls malloc and free, which the
// sanitizers watch as they watch any other.
#include <gtest/gtest.h>
#include <malloc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <set>
#include <string>

#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "vmodhost/omsc.h"
#include "vmodhost/ostr.h"
#include "support/model_generator.h"
#include "support/scratch_dir.h"
#include "vmod/vmod.h"
#include "vmodhost/vmodhost.h"

namespace {

// Calls of operator new left before the one that throws; negative: none throws.
long allocationsBeforeFailure = -1;
bool failureReached = false;

void *allocate(std::size_t size) {
    if (allocationsBeforeFailure == 0) {
        allocationsBeforeFailure = -1;
        failureReached = true;
        throw std::bad_alloc();
    }
    if (allocationsBeforeFailure > 0) --allocationsBeforeFailure;
    if (void *block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}

} // namespace

void *operator new(std::size_t size) { return allocate(size); }
void *operator new[](std::size_t size) { return allocate(size); }
void *operator new(std::size_t size, const std::nothrow_t &) noexcept {
    try {
        return allocate(size);
    } catch (...) {
        return nullptr;
    }
}
void *operator new[](std::size_t size, const std::nothrow_t &tag) noexcept { return operator new(size, tag); }
void operator delete(void *block) noexcept { std::free(block); }
void operator delete[](void *block) noexcept { std::free(block); }
void operator delete(void *block, std::size_t) noexcept { std::free(block); }
void operator delete[](void *block, std::size_t) noexcept { std::free(block); }
void operator delete(void *block, const std::nothrow_t &) noexcept { std::free(block); }
void operator delete[](void *block, const std::nothrow_t &) noexcept { std::free(block); }

namespace {

// Bytes the C heap has handed out and not taken back (0 where the sanitizers keep the
// heap themselves; their leak check stands in then).
std::size_t heapInUse() { return mallinfo2().uordblks; }

// Whether this program's operator new is the one in use: a tool that brings its own
// allocator (a memory checker) may replace it, and then nothing here can fail.
bool replacementInUse() {
    allocationsBeforeFailure = 0;
    failureReached = false;
    try {
        delete new int(0);
    } catch (const std::bad_alloc &) {
    }
    allocationsBeforeFailure = -1;
    return failureReached;
}

using vmodtest::addChild;
using vmodtest::addNode;
using vmodtest::ModelPtr;

// Runs call with the Nth allocation failing, for N = 0, 1, 2, ... until a call no longer
// reaches the failure. check(failed) judges each call's outcome; prepare, run before each
// call with memory to spare, sets up what the call needs (a file to write to). Returns
// how many calls reached the failure (so a test can tell that it exercised something).
template <typename Call, typename Check, typename Prepare>
int sweep(Call &call, Check &check, Prepare &prepare) {
    int reached = 0;
    for (long n = 0; n < 100000; ++n) {
        prepare();
        failureReached = false;
        allocationsBeforeFailure = n;
        bool threw = false;
        try {
            call();
        } catch (...) {
            threw = true;
        }
        allocationsBeforeFailure = -1;
        EXPECT_FALSE(threw) << "an exception crossed the C interface at allocation " << n;
        check(failureReached);
        if (!failureReached) return reached;
        ++reached;
    }
    ADD_FAILURE() << "the call never ran to its end";
    return reached;
}

// The sweep, repeated until one sweep leaves the heap as the one before left it. A failed
// call that leaks grows the heap with every sweep; what the runtime and the host set up
// once for good (caches, the unwinder's tables, reached first by some later failure) stops
// growing after a few sweeps.
template <typename Call, typename Check, typename Prepare>
int everyAllocationFailing(Call call, Check check, Prepare prepare) {
    const int reached = sweep(call, check, prepare);
    std::size_t before = heapInUse();
    for (int round = 0; round < 8; ++round) {
        sweep(call, check, prepare);
        const std::size_t after = heapInUse();
        if (after == before) return reached;
        before = after;
    }
    ADD_FAILURE() << "a failed call leaked: the heap grows with every sweep";
    return reached;
}

template <typename Call, typename Check>
int everyAllocationFailing(Call call, Check check) {
    return everyAllocationFailing(call, check, [] {});
}

// A file to write to, opened before the allocations start failing.
struct OpenFile {
    Ofio_File *file = nullptr;
    void open(const std::string &path) {
        close();
        Oerr_ErrorReport *ignored = nullptr;
        file = ofio_Open(path.c_str(), "w", &ignored);
        oerr_DeleteErrorReportEx(&ignored);
    }
    void close() {
        if (file != nullptr) ofio_Close(file, 0);
        file = nullptr;
    }
    ~OpenFile() { close(); }
};

// A report of memory exhaustion from function, as the boundary makes it.
void expectMemoryReport(const Oerr_ErrorReport *report, const char *function) {
    ASSERT_NE(report, nullptr) << function;
    EXPECT_STREQ(vmodhost_ErrorFunction(report), function);
    EXPECT_EQ(vmodhost_ErrorCode(report), VMOD_ERR_MEMORY);
    EXPECT_EQ(vmodhost_ErrorSeverity(report), VMOD_SEVERITY_ERROR);
    EXPECT_STREQ(vmodhost_ErrorMessage(report), "memory is exhausted");
}

struct Report {
    Oerr_ErrorReport *report = nullptr;
    ~Report() { oerr_DeleteErrorReportEx(&report); }
    void clear() { oerr_DeleteErrorReportEx(&report); }
};

// in -> f -> out, with a second operation reading out, and a note.
ModelPtr smallModel() {
    ModelPtr model(vmodtest::newModel());
    Vmod_Node *in = addNode(model.get(), VMOD_RASTER, 1, "in", 1, 1);
    Vmod_Node *f = addNode(model.get(), VMOD_FUNCTION, 2, "f", 2, 1);
    vmodtest::payload<Vmod_FunctionData>(f)->expression = ostr_Duplicate("f ( $n1_in )");
    Vmod_Node *out = addNode(model.get(), VMOD_RASTER, 3, "out", 3, 1);
    Vmod_Node *g = addNode(model.get(), VMOD_FUNCTION, 4, "g", 4, 1);
    vmodtest::payload<Vmod_FunctionData>(g)->expression = ostr_Duplicate("g ( $n3_out )");
    Vmod_Node *last = addNode(model.get(), VMOD_RASTER, 5, "last", 5, 1);
    Vmod_Node *note = addNode(model.get(), VMOD_TEXT, 6, "a note\nof two lines", 3, 3);
    vmodtest::payload<Vmod_TextData>(note)->font = ostr_Duplicate("helvetica");
    vmodtest::payload<Vmod_TextData>(note)->size = 12;
    addChild(in, f);
    addChild(f, out);
    addChild(out, g);
    addChild(g, last);
    model->fileName = ostr_Duplicate("small.vmf");
    return model;
}

// The small model, saved at path (its file name).
ModelPtr savedModel(const std::string &path) {
    ModelPtr model = smallModel();
    omsc_HeapFree(model->fileName);
    model->fileName = ostr_Duplicate(path.c_str());
    vmod_ModelWrite(model.get(), nullptr);
    return model;
}

std::string fileText(const std::string &path) {
    std::string text;
    vmodtest::readWholeFile(path, text);
    return text;
}

class CBoundary : public ::testing::Test {
protected:
    void SetUp() override {
        if (!replacementInUse()) GTEST_SKIP() << "operator new is replaced by the tool running this program";
    }
};

} // namespace

TEST_F(CBoundary, GraphQueriesReportExhaustionOrAnswerRightly) {
    ModelPtr model = smallModel();
    Vmod_Node *first = model->nodes;
    Vmod_Node *last = vmod_IdToNode(model.get(), 5, nullptr);
    Report err;
    int reached = everyAllocationFailing([&] { err.clear(); (void)vmod_Circular(first, 1, 5, &err.report); }, [&](bool) {
        if (err.report != nullptr) expectMemoryReport(err.report, "vmod_Circular");
        else EXPECT_EQ(vmod_Circular(first, 1, 5, nullptr), 1);
    });
    EXPECT_GT(reached, 0);
    int32_t answer = -1;
    reached = everyAllocationFailing([&] { err.clear(); answer = vmod_Ancestor(last, 1, 0, &err.report); }, [&](bool) {
        if (err.report != nullptr) {
            expectMemoryReport(err.report, "vmod_Ancestor");
            EXPECT_EQ(answer, 0);
        } else {
            EXPECT_EQ(answer, 1);
        }
    });
    EXPECT_GT(reached, 0);
    Vmod_Node *next = nullptr;
    reached = everyAllocationFailing([&] { err.clear(); next = vmod_NextFunction(first, &err.report); }, [&](bool) {
        if (err.report != nullptr) {
            expectMemoryReport(err.report, "vmod_NextFunction");
            EXPECT_EQ(next, nullptr);
        } else {
            EXPECT_EQ(next, vmod_IdToNode(model.get(), 2, nullptr));
        }
    });
    EXPECT_GT(reached, 0);
}

TEST_F(CBoundary, ResolvingLinksReportsExhaustion) {
    Report err;
    int reached = everyAllocationFailing(
        [&] {
            err.clear();
            ModelPtr model(vmodtest::newModel());
            Vmod_Node *a = addNode(model.get(), VMOD_RASTER, 1, "a");
            addNode(model.get(), VMOD_FUNCTION, 2, "f");
            vmod_ChildAdd(a, 2, nullptr);
            EXPECT_EQ(vmod_UpdateNodes(model.get(), &err.report), model.get());
        },
        [&](bool) {
            if (err.report != nullptr) expectMemoryReport(err.report, "vmod_UpdateNodes");
        });
    EXPECT_GT(reached, 0);
}

TEST_F(CBoundary, TextReplacementGivesNullOrTheWholeResult) {
    char *result = nullptr;
    int reached = everyAllocationFailing(
        [&] { result = vmod_ChangeAll("a + a + b", "a", "elevation"); },
        [&](bool) {
            if (result != nullptr) {
                EXPECT_STREQ(result, "elevation + elevation + b");
            }
            omsc_HeapFree(result);
        });
    EXPECT_GT(reached, 0);
}

// The functions that run unguarded make no C++ allocation at all, so they cannot throw.
TEST_F(CBoundary, GraphEditsAllocateNothingThatCouldThrow) {
    ModelPtr model = smallModel();
    Vmod_Node *first = model->nodes;
    Vmod_Node *f = vmod_IdToNode(model.get(), 2, nullptr);
    Vmod_Node *g = vmod_IdToNode(model.get(), 4, nullptr);
    allocationsBeforeFailure = 0;
    failureReached = false;
    Vmod_Node *copy = vmod_NodeDuplicate(g, nullptr);
    copy->children = copy->parents = nullptr;
    Vmod_Node *made = vmod_NodeCreate(model.get(), VMOD_SCALAR, nullptr);
    EXPECT_EQ(vmod_NodeNextAvail(first, nullptr), 7);
    EXPECT_EQ(vmod_Orphan(first, 1, nullptr), 1);
    vmod_ChildAddByNode(f, g, nullptr);
    vmod_ChildAdd(f, 99, nullptr);
    vmod_ChildDelete(f, 4, nullptr);
    vmod_SingleParent(f, 3, nullptr);
    vmod_ChildrenDelete(g, nullptr);
    f->selected = 1;
    model->nodes = vmod_NodesSelDel(first, nullptr);
    vmod_NodesDelete(copy, nullptr);
    vmod_NodesDelete(made, nullptr);
    EXPECT_FALSE(failureReached);
    allocationsBeforeFailure = -1;
    EXPECT_EQ(vmod_IdToNode(model.get(), 2, nullptr), nullptr);
}

TEST_F(CBoundary, TextCopiesNeverThrowAndNeverLeak) {
    ModelPtr model = smallModel();
    Vmod_Node *note = vmod_IdToNode(model.get(), 6, nullptr);
    Vmod_Node *copy = nullptr;
    int reached = everyAllocationFailing([&] { copy = vmod_NodeDuplicate(note, nullptr); }, [&](bool) {
        ASSERT_NE(copy, nullptr);
        // Without memory to own it, the copy has no font rather than a leaked one.
        const char *font = vmodtest::payload<Vmod_TextData>(copy)->font;
        if (font != nullptr) {
            EXPECT_STREQ(font, "helvetica");
        }
        copy->children = copy->parents = nullptr;
        vmod_NodesDelete(copy, nullptr);
    });
    EXPECT_GT(reached, 0);
}

// Runs write (a save into path that reports into the given slot) with every allocation
// failing in turn. A failure is reported (as memory exhaustion where the library's own
// allocation failed; the host's reports, such as a temporary file that cannot be named,
// may come instead) and leaves what stood at path before (earlier, or no file when
// earlier is null); a success writes exactly what a save with memory to spare writes.
template <typename Write>
void expectWholeOrNothing(const vmodtest::ScratchDir &dir, const std::string &path, const char *function,
                          const char *earlier, Write write) {
    Report err;
    write(&err.report);
    ASSERT_EQ(err.report, nullptr);
    const std::string whole = fileText(path);
    ASSERT_FALSE(whole.empty());
    const std::set<std::string> noFile, oneFile{path.substr(path.rfind('/') + 1)};
    auto restore = [&] {
        std::remove(path.c_str());
        if (std::FILE *before = earlier != nullptr ? std::fopen(path.c_str(), "w") : nullptr) {
            std::fputs(earlier, before);
            std::fclose(before);
        }
    };
    vmodhost_SetErrorSink([](const char *, void *) {}, nullptr);
    int reached = everyAllocationFailing(
        [&] {
            err.clear();
            write(&err.report);
        },
        [&](bool) {
            if (err.report == nullptr) {
                EXPECT_EQ(fileText(path), whole);
                return;
            }
            if (vmodhost_ErrorCode(err.report) == VMOD_ERR_MEMORY) expectMemoryReport(err.report, function);
            EXPECT_EQ(dir.entries(), earlier != nullptr ? oneFile : noFile);
            if (earlier != nullptr) {
                EXPECT_EQ(fileText(path), earlier);
            }
        },
        restore);
    vmodhost_SetErrorSink(nullptr, nullptr);
    EXPECT_GT(reached, 0);
}

TEST_F(CBoundary, SavingReportsExhaustionAndKeepsTheEarlierFile) {
    vmodtest::ScratchDir dir;
    const std::string path = dir.file("model.vmf");
    ModelPtr model = savedModel(path);
    expectWholeOrNothing(dir, path, "vmod_ModelWrite", "earlier",
                         [&](Oerr_ErrorReport **err) { vmod_ModelWrite(model.get(), err); });
}

TEST_F(CBoundary, EpsExportReportsExhaustionOrWritesTheWholeFile) {
    vmodtest::ScratchDir dir;
    const std::string path = dir.file("model.eps");
    ModelPtr model = smallModel();
    expectWholeOrNothing(dir, path, "vmod_ModelEPS", nullptr,
                         [&](Oerr_ErrorReport **err) { vmod_ModelEPS(path.c_str(), model.get(), err); });
}

TEST_F(CBoundary, ScriptGivesZeroOrTheWholeScript) {
    vmodtest::ScratchDir dir;
    ModelPtr model = smallModel();
    const std::string path = dir.file("script.txt");
    OpenFile out;
    out.open(path);
    ASSERT_EQ(vmod_ScriptGen(model.get(), out.file), 1);
    out.close();
    const std::string whole = fileText(path);
    int32_t result = -1;
    int reached = everyAllocationFailing([&] { result = vmod_ScriptGen(model.get(), out.file); },
                                         [&](bool) {
                                             out.close();
                                             if (result == 1) {
                                                 EXPECT_EQ(fileText(path), whole);
                                             }
                                         },
                                         [&] { out.open(path); });
    EXPECT_GT(reached, 0);
}

TEST_F(CBoundary, NodePrintAndTextPrintNeverThrow) {
    vmodtest::ScratchDir dir;
    ModelPtr model = smallModel();
    Vmod_Node *note = vmod_IdToNode(model.get(), 6, nullptr);
    Vmod_Node *f = vmod_IdToNode(model.get(), 2, nullptr);
    OpenFile out;
    out.open(dir.file("node.ps"));
    Report noteErr, functionErr;
    int reached = everyAllocationFailing(
        [&] {
            noteErr.clear();
            functionErr.clear();
            vmod_NodePrint(out.file, model.get(), note, &noteErr.report);
            vmod_NodePrint(out.file, model.get(), f, &functionErr.report);
            vmod_TextPrint(out.file, note);
            vmod_HeaderPrint(out.file, model.get());
            vmod_PrintPageNumbers(out.file, model.get(), 1, 2);
        },
        [&](bool) {
            if (noteErr.report != nullptr) expectMemoryReport(noteErr.report, "vmod_NodePrint");
            if (functionErr.report != nullptr) expectMemoryReport(functionErr.report, "vmod_NodePrint");
        });
    EXPECT_GT(reached, 0);
}

TEST_F(CBoundary, ReadingAFileNeverThrows) {
    vmodtest::ScratchDir dir;
    const std::string path = dir.file("model.vmf");
    ModelPtr model = savedModel(path);
    ASSERT_FALSE(fileText(path).empty());
    Report err;
    vmodhost_SetErrorSink([](const char *, void *) {}, nullptr);
    Vmod_Model *read = nullptr;
    int reached = everyAllocationFailing(
        [&] {
            err.clear();
            read = vmod_ModelParse(path.c_str(), &err.report);
        },
        [&](bool) {
            // A read either fails with a report or gives the model.
            EXPECT_NE(read == nullptr, err.report == nullptr);
            if (read != nullptr) {
                vmod_ModelDelete(read, nullptr);
                omsc_HeapFree(read);
            }
        });
    vmodhost_SetErrorSink(nullptr, nullptr);
    EXPECT_GT(reached, 0);
}
