// vmod_ModelWrite: saving safely. A save either replaces the file with the whole model
// or leaves the earlier file as it was, with no temporary file behind, and says why.
#include <gtest/gtest.h>

#include <clocale>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "vmodhost/ofio.h"
#include "support/example_models.h"
#include "support/model_write_fixture.h"

using vmodtest::addChildId;
using vmodtest::addNode;
using vmodtest::heapString;
using vmodtest::ModelPtr;
using vmodtest::payload;

namespace {

const char *const kEarlier = "TITLE \"earlier\";\n";

// The report chain of a failed save, checked against the message of the outermost
// report; the function, code and severity are those of every vmod_ModelWrite report.
void expectReport(Oerr_ErrorReport *err, const std::string &message) {
    ASSERT_NE(err, nullptr);
    EXPECT_EQ(std::string(vmodhost_ErrorMessage(err)), message);
    EXPECT_STREQ(vmodhost_ErrorFunction(err), "vmod_ModelWrite");
    EXPECT_EQ(vmodhost_ErrorCode(err), 1);
    EXPECT_EQ(vmodhost_ErrorSeverity(err), 2);
}

std::string causeOf(const Oerr_ErrorReport *err) {
    const Oerr_ErrorReport *cause = err != nullptr ? vmodhost_ErrorCause(err) : nullptr;
    return cause != nullptr ? vmodhost_ErrorMessage(cause) : "";
}

mode_t modeOf(const std::string &path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? info.st_mode : 0;
}

// Writes kEarlier as path and gives it the permission bits mode.
void writeEarlier(const std::string &path, mode_t mode) {
    vmodtest::writeWholeFile(path, kEarlier);
    ASSERT_EQ(chmod(path.c_str(), mode), 0);
}

// Collects what oerr_PrintErrorReport shows.
void collect(const char *text, void *user) { *static_cast<std::string *>(user) += text; }

} // namespace

// ---- success ----

TEST_F(vmod_ModelWrite, ReplacesTheEarlierFileWhole) {
    std::string path = dir.file("model.vmf");
    vmodtest::writeWholeFile(path, std::string(100000, 'x'));
    ModelPtr model(vmodtest::ndviModel(nullptr));
    Oerr_ErrorReport *err = save(model.get(), path);
    EXPECT_EQ(err, nullptr);
    oerr_DeleteErrorReportEx(&err);
    EXPECT_EQ(vmodtest::wholeFile(path), vmodtest::wholeFile(std::string(VMOD_SOURCE_DIR) + "/examples/ndvi.vmf"));
    EXPECT_EQ(dir.entries(), std::set<std::string>{"model.vmf"});
}

TEST_F(vmod_ModelWrite, KeepsThePermissionBitsOfTheFileItReplaces) {
    std::string path = dir.file("model.vmf");
    writeEarlier(path, 0640);
    ModelPtr model(vmodtest::newModel());
    Oerr_ErrorReport *err = save(model.get(), path);
    EXPECT_EQ(err, nullptr);
    oerr_DeleteErrorReportEx(&err);
    EXPECT_EQ(modeOf(path) & 07777, 0640u);
    EXPECT_NE(vmodtest::wholeFile(path), kEarlier);
}

TEST_F(vmod_ModelWrite, NewFileGetsTheBitsAPlainCreateWould) {
    mode_t mask = umask(022);
    std::string path = dir.file("new.vmf");
    ModelPtr model(vmodtest::newModel());
    Oerr_ErrorReport *err = save(model.get(), path);
    umask(mask);
    EXPECT_EQ(err, nullptr);
    oerr_DeleteErrorReportEx(&err);
    EXPECT_EQ(modeOf(path) & 07777, 0644u);
}

TEST_F(vmod_ModelWrite, SavingThroughASymbolicLinkKeepsTheLink) {
    std::string real = dir.file("real.vmf");
    std::string link = dir.file("link.vmf");
    vmodtest::writeWholeFile(real, kEarlier);
    ASSERT_EQ(symlink("real.vmf", link.c_str()), 0);
    ModelPtr model(vmodtest::newModel());
    Oerr_ErrorReport *err = save(model.get(), link);
    EXPECT_EQ(err, nullptr);
    oerr_DeleteErrorReportEx(&err);
    struct stat info;
    ASSERT_EQ(lstat(link.c_str(), &info), 0);
    EXPECT_TRUE(S_ISLNK(info.st_mode));
    EXPECT_EQ(vmodtest::wholeFile(real).substr(0, 9), "PAGESIZE ");
    EXPECT_EQ(dir.entries(), (std::set<std::string>{"link.vmf", "real.vmf"}));
}

TEST_F(vmod_ModelWrite, NumbersUseAPointInACommaDecimalLocale) {
    std::string previous = std::setlocale(LC_ALL, nullptr);
    if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "de_DE.UTF-8 locale not installed";
    }
    char probe[16];
    std::snprintf(probe, sizeof probe, "%g", 0.5);
    ModelPtr model(vmodtest::everyKindModel(nullptr));
    std::string text = written(model.get());
    std::setlocale(LC_ALL, previous.c_str());
    EXPECT_STREQ(probe, "0,5"); // the locale is really in effect
    expectGolden("writer_every_kind", text);
}

// ---- the file cannot be created ----

TEST_F(vmod_ModelWrite, MissingDirectoryIsReportedAndPrinted) {
    std::string path = dir.file("no/such/dir/model.vmf");
    std::string shown;
    vmodhost_SetErrorSink(collect, &shown);
    ModelPtr model(vmodtest::newModel());
    Oerr_ErrorReport *err = save(model.get(), path);
    expectReport(err, "Error Cannot Write Model: " + path);
    EXPECT_NE(shown.find("Error Cannot Write Model: " + path), std::string::npos);
    oerr_DeleteErrorReportEx(&err);
    EXPECT_TRUE(dir.entries().empty());
}

TEST_F(vmod_ModelWrite, DirectoryIsNotReplaced) {
    std::string path = dir.file("model.vmf");
    ASSERT_EQ(mkdir(path.c_str(), 0755), 0);
    vmodtest::writeWholeFile(path + "/inside", kEarlier);
    ModelPtr model(vmodtest::newModel());
    Oerr_ErrorReport *err = save(model.get(), path);
    expectReport(err, "Error Cannot Write Model: " + path);
    oerr_DeleteErrorReportEx(&err);
    EXPECT_EQ(dir.entries(), std::set<std::string>{"model.vmf"});
    EXPECT_EQ(dir.entries("model.vmf"), std::set<std::string>{"inside"});
}

TEST_F(vmod_ModelWrite, UnwritableDirectoryIsReported) {
    // A privileged process may write anywhere on disk, but never create files in /proc.
    std::string path = "/proc/self/model.vmf";
    std::string sub;
    if (geteuid() != 0) {
        sub = dir.file("locked");
        ASSERT_EQ(mkdir(sub.c_str(), 0555), 0);
        path = sub + "/model.vmf";
    }
    ModelPtr model(vmodtest::newModel());
    Oerr_ErrorReport *err = save(model.get(), path);
    expectReport(err, "Error Cannot Write Model: " + path);
    EXPECT_NE(causeOf(err), "");
    oerr_DeleteErrorReportEx(&err);
    if (!sub.empty()) {
        EXPECT_TRUE(dir.entries("locked").empty());
    }
}

// Even a process that could write it leaves a file that nobody may write alone.
TEST_F(vmod_ModelWrite, ReadOnlyFileIsNotReplaced) {
    std::string path = dir.file("model.vmf");
    writeEarlier(path, 0444);
    ModelPtr model(vmodtest::newModel());
    Oerr_ErrorReport *err = save(model.get(), path);
    expectReport(err, "Error Cannot Write Model: " + path);
    oerr_DeleteErrorReportEx(&err);
    EXPECT_EQ(vmodtest::wholeFile(path), kEarlier);
    EXPECT_EQ(dir.entries(), std::set<std::string>{"model.vmf"});
}

TEST_F(vmod_ModelWrite, ModelWithoutFileNameIsReported) {
    ModelPtr model(vmodtest::newModel());
    Oerr_ErrorReport *err = nullptr;
    ::vmod_ModelWrite(model.get(), &err);
    expectReport(err, "Error Cannot Write Model: ");
    oerr_DeleteErrorReportEx(&err);
}

// ---- a write fails ----

TEST_F(vmod_ModelWrite, EveryFailedWriteLeavesTheEarlierFile) {
    // Fails the first write, then the second, and so on until the save gets through:
    // every one of them must be caught.
    std::string path = dir.file("model.vmf");
    vmodtest::writeWholeFile(path, kEarlier);
    ModelPtr model(vmodtest::everyKindModel(nullptr));
    int32_t failing = 1;
    for (;; ++failing) {
        ASSERT_LT(failing, 5000);
        vmodhost_FailWriteAfter(failing);
        Oerr_ErrorReport *err = save(model.get(), path);
        vmodhost_FailWriteAfter(0);
        if (err == nullptr) break;
        expectReport(err, "Error Closing Model: " + path);
        oerr_DeleteErrorReportEx(&err);
        ASSERT_EQ(vmodtest::wholeFile(path), kEarlier) << "write " << failing;
        ASSERT_EQ(dir.entries(), std::set<std::string>{"model.vmf"}) << "write " << failing;
    }
    EXPECT_GT(failing, 100);
    EXPECT_EQ(vmodtest::wholeFile(path),
              vmodtest::wholeFile(std::string(VMOD_SOURCE_DIR) + "/tests/golden/writer_every_kind.vmf"));
}

TEST_F(vmod_ModelWrite, FullDeviceIsReportedOnClosing) {
    if (access("/dev/full", W_OK) != 0) {
        GTEST_SKIP() << "no /dev/full";
    }
    ModelPtr model(vmodtest::everyKindModel(nullptr));
    Oerr_ErrorReport *err = save(model.get(), "/dev/full");
    expectReport(err, "Error Closing Model: /dev/full");
    EXPECT_EQ(causeOf(err), "cannot write /dev/full: No space left on device");
    oerr_DeleteErrorReportEx(&err);
    struct stat info;
    ASSERT_EQ(stat("/dev/full", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode)); // written in place, not replaced
}

TEST_F(vmod_ModelWrite, FailureWithoutReportSlotIsStillShown) {
    std::string shown;
    vmodhost_SetErrorSink(collect, &shown);
    ModelPtr model(vmodtest::newModel(dir.file("no/dir.vmf").c_str()));
    ::vmod_ModelWrite(model.get(), nullptr);
    EXPECT_NE(shown.find("Error Cannot Write Model:"), std::string::npos);
}

// ---- models the file cannot carry ----

namespace {

struct Refusal {
    const char *what;
    void (*spoil)(Vmod_Model *model);
    const char *reason; // must appear in the cause
};

Vmod_Node *firstOfKind(Vmod_Model *model, int32_t type) {
    for (Vmod_Node *n = model->nodes; n != nullptr; n = n->next)
        if (n->type == type) return n;
    return nullptr;
}

// Records are packed, so a string field is replaced in place rather than through a
// reference to it.
#define REPLACE_STRING(field, text)                                                           \
    do {                                                                                       \
        omsc_HeapFree(field);                                                                  \
        (field) = heapString(text);                                                            \
    } while (0)

const Refusal kRefusals[] = {
    {"raster file name ending in a backslash",
     [](Vmod_Model *m) { REPLACE_STRING(payload<Vmod_RasterData>(firstOfKind(m, VMOD_RASTER))->fileName, "C:\\data\\"); },
     "RASTER node 1 \"$n1_dem\": the FILENAME string ends in a backslash"},
    {"model title ending in a backslash", [](Vmod_Model *m) { REPLACE_STRING(m->title, "title\\"); },
     "model header: the TITLE string ends in a backslash"},
    {"function expression ending in a backslash",
     [](Vmod_Model *m) { REPLACE_STRING(payload<Vmod_FunctionData>(firstOfKind(m, VMOD_FUNCTION))->expression, "a \\"); },
     "FUNCTION node 3 \"CONCAT \"x\"\": the VALUE string ends in a backslash"},
    {"note ending in a backslash", [](Vmod_Model *m) { REPLACE_STRING(firstOfKind(m, VMOD_TEXT)->title, "\\"); },
     "TEXT node 10 \"\\\": the TITLE string ends in a backslash"},
    {"criteria cell ending in a backslash",
     [](Vmod_Model *m) { REPLACE_STRING(payload<Vmod_CriteriaData>(firstOfKind(m, VMOD_CRITERIA))->cells[2], "x\\\\"); },
     "CRITERIA node 6 \"$n6_rule\": the VALUE string ends in a backslash"},
    {"scalar prompt ending in a backslash",
     [](Vmod_Model *m) {
         Vmod_Node *n = firstOfKind(m, VMOD_SCALAR)->next; // the written, prompted one
         while (n->type != VMOD_SCALAR) n = n->next;
         REPLACE_STRING(payload<Vmod_ScalarData>(n)->promptText, "where\\");
     },
     "SCALAR node 14 \"$n14_total\": the PROMPT string ends in a backslash"},
    {"vector type without a word",
     [](Vmod_Model *m) { payload<Vmod_VectorData>(firstOfKind(m, VMOD_VECTOR))->vectorType = 2; },
     "VECTOR node 2 \"$n2_roads\": VECTORTYPE 2 has no word"},
    {"vector cell size unit without a word",
     [](Vmod_Model *m) { payload<Vmod_VectorData>(firstOfKind(m, VMOD_VECTOR))->cellSizeUnits = -1; },
     "CELLSIZE unit -1 has no word"},
    {"vector AOI without a word",
     [](Vmod_Model *m) { payload<Vmod_VectorData>(firstOfKind(m, VMOD_VECTOR))->aoiMode = 3; }, "AOI 3 has no word"},
    {"raster AOI without a word",
     [](Vmod_Model *m) { payload<Vmod_RasterData>(firstOfKind(m, VMOD_RASTER))->aoiMode = 7; }, "AOI 7 has no word"},
    {"kernel without a word",
     [](Vmod_Model *m) {
         Vmod_Node *n = firstOfKind(m, VMOD_MATRIX)->next;
         while (n->type != VMOD_MATRIX) n = n->next;
         payload<Vmod_MatrixData>(n)->builtin = 9;
     },
     "MATRIX node 13 \"$n13_lowpass\": BUILTIN 9 has no word"},
    {"header cell size mode without a word", [](Vmod_Model *m) { m->cellSizeMode = 3; }, "CELLSIZE 3 has no word"},
    {"header cell size unit without a word", [](Vmod_Model *m) { m->cellSizeUnits = 2; },
     "CELLSIZE unit 2 has no word"},
    {"header window without rectangle", [](Vmod_Model *m) { m->windowMode = 2; }, "WINDOW 2 has no rectangle"},
    {"header window unit without a word",
     [](Vmod_Model *m) {
         m->windowMode = 2;
         m->window = vmodtest::newRect(0, 0, 1, 1);
         m->windowUnits = 2;
     },
     "WINDOW unit 2 has no word"},
    {"header AOI without a word", [](Vmod_Model *m) { m->aoiMode = -1; }, "model header: AOI -1 has no word"},
    {"function with two outputs",
     [](Vmod_Model *m) { addChildId(firstOfKind(m, VMOD_FUNCTION), 9); },
     "FUNCTION node 3 \"CONCAT \"x\"\": 2 children"},
    {"criteria with two outputs", [](Vmod_Model *m) { addChildId(firstOfKind(m, VMOD_CRITERIA), 1); },
     "CRITERIA node 6 \"$n6_rule\": 2 children"},
    {"negative matrix size",
     [](Vmod_Model *m) { payload<Vmod_MatrixData>(firstOfKind(m, VMOD_MATRIX))->rows = -3; },
     "MATRIX node 5 \"$n5_kernel\": SIZE 3, -3 is negative"},
    {"matrix larger than a file carries",
     [](Vmod_Model *m) {
         auto *k = payload<Vmod_MatrixData>(firstOfKind(m, VMOD_MATRIX));
         k->columns = 100000;
         k->rows = 100000;
     },
     "SIZE gives 10000000000 entries"},
    {"table larger than a file carries",
     [](Vmod_Model *m) { payload<Vmod_TableData>(firstOfKind(m, VMOD_TABLE))->size = 10000001; },
     "TABLE node 8 \"$n8_lut\": SIZE gives 10000001 entries"},
    {"negative table size",
     [](Vmod_Model *m) { payload<Vmod_TableData>(firstOfKind(m, VMOD_TABLE))->size = -1; }, "SIZE gives -1 entries"},
    {"criteria rows beyond what a file carries",
     [](Vmod_Model *m) {
         auto *c = payload<Vmod_CriteriaData>(firstOfKind(m, VMOD_CRITERIA));
         omsc_HeapFree(c->outputValues);
         c->outputValues = nullptr;
         for (int32_t i = 0; i < c->columns * c->rows; ++i) omsc_HeapFree(c->cells[i]);
         omsc_HeapFree(c->cells);
         c->cells = nullptr;
         c->rows = 2000000000;
     },
     "SIZE gives 2000000000 entries"},
    {"negative recode table",
     [](Vmod_Model *m) {
         for (Vmod_Node *n = m->nodes; n != nullptr; n = n->next)
             if (n->type == VMOD_RASTER && payload<Vmod_RasterData>(n)->recode)
                 payload<Vmod_RasterData>(n)->numClasses = -1;
     },
     "RASTER node 9 \"$n9_classes\": NUMCLASSES gives -1 entries"},
};

} // namespace

TEST_F(vmod_ModelWrite, ModelTheFileCannotCarryIsRefusedAndNothingIsWritten) {
    std::string path = dir.file("model.vmf");
    std::string fresh = dir.file("fresh.vmf");
    vmodtest::writeWholeFile(path, kEarlier);
    for (const Refusal &refusal : kRefusals) {
        SCOPED_TRACE(refusal.what);
        ModelPtr model(vmodtest::everyKindModel(nullptr));
        refusal.spoil(model.get());
        Oerr_ErrorReport *err = save(model.get(), path);
        expectReport(err, "Error Cannot Write Model: " + path);
        EXPECT_NE(causeOf(err).find(refusal.reason), std::string::npos) << causeOf(err);
        oerr_DeleteErrorReportEx(&err);
        EXPECT_EQ(vmodtest::wholeFile(path), kEarlier);
        err = save(model.get(), fresh);
        EXPECT_NE(err, nullptr);
        oerr_DeleteErrorReportEx(&err);
        EXPECT_EQ(dir.entries(), std::set<std::string>{"model.vmf"});
    }
}

TEST_F(vmod_ModelWrite, ValuesOfStatementsNotWrittenDoNotMatter) {
    ModelPtr model(vmodtest::everyKindModel(nullptr));
    Vmod_Model *m = model.get();
    m->windowUnits = 9;                 // window is not given by a rectangle
    m->cellSizeMode = 0;
    m->cellSizeUnits = 9;               // cell size is not given by numbers
    auto *dem = payload<Vmod_RasterData>(m->nodes);
    dem->prompt = 1;                    // the file name is not written
    REPLACE_STRING(dem->fileName, "C:\\data\\");
    for (Vmod_Node *n = m->nodes; n != nullptr; n = n->next) {
        if (n->type == VMOD_RASTER && payload<Vmod_RasterData>(n)->newFile) payload<Vmod_RasterData>(n)->aoiMode = 9;
        if (n->type == VMOD_MATRIX && payload<Vmod_MatrixData>(n)->source != 0)
            payload<Vmod_MatrixData>(n)->builtin = 99;
        if (n->type == VMOD_TEXT) addChildId(n, 1); // a note's arrows are not saved
    }
    auto *roads = payload<Vmod_VectorData>(m->nodes->next);
    roads->recode = 1;                  // the attribute is not written
    REPLACE_STRING(roads->attribute, "trailing\\");
    EXPECT_EQ(written(m).substr(0, 6), "TITLE ");
}
