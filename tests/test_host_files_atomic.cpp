// The host's atomic save: a new file beside the target, renamed over it when complete.
#include <gtest/gtest.h>

#include <string>
#include <sys/stat.h>

#include "vmodhost/oerr.h"
#include "vmodhost/ofio.h"
#include "vmodhost/omsc.h"
#include "support/scratch_dir.h"
#include "vmodhost/vmodhost.h"

namespace {

struct HeapString {
    char *text;
    ~HeapString() { omsc_HeapFree(text); }
};

// A scratch directory whose only file, the target m.vmf, holds "old".
struct EarlierFile {
    vmodtest::ScratchDir dir;
    std::string path = dir.file("m.vmf");
    EarlierFile() { vmodtest::writeWholeFile(path, "old"); }
    // The target holds text, and nothing was left beside it.
    void expectOnly(const std::string &text) {
        EXPECT_EQ(vmodtest::wholeFile(path), text);
        EXPECT_EQ(dir.entries(), std::set<std::string>{"m.vmf"});
    }
};

} // namespace

TEST(ofio_SaveBegin, GivesAnEmptyFileBesideTheTargetAndLeavesTheTargetAlone) {
    EarlierFile target;
    Oerr_ErrorReport *err = nullptr;
    HeapString written{ofio_SaveBegin(target.path.c_str(), &err)};
    ASSERT_NE(written.text, nullptr);
    EXPECT_EQ(err, nullptr);
    std::string name(written.text);
    EXPECT_EQ(name.substr(0, target.dir.path().size() + 1), target.dir.path() + "/");
    EXPECT_EQ(name.find('/', target.dir.path().size() + 1), std::string::npos); // same directory
    EXPECT_EQ(vmodtest::wholeFile(name), "");
    EXPECT_EQ(vmodtest::wholeFile(target.path), "old");
    ofio_SaveAbort(written.text, target.path.c_str());
    EXPECT_EQ(target.dir.entries(), std::set<std::string>{"m.vmf"});
}

TEST(ofio_SaveBegin, RefusesWhatCannotBeSaved) {
    vmodtest::ScratchDir dir;
    for (const std::string &path : {std::string(""), dir.path(), dir.file("missing/m.vmf"), dir.path() + "/"}) {
        SCOPED_TRACE(path);
        Oerr_ErrorReport *err = nullptr;
        EXPECT_EQ(ofio_SaveBegin(path.c_str(), &err), nullptr);
        ASSERT_NE(err, nullptr);
        EXPECT_STREQ(vmodhost_ErrorFunction(err), "ofio_SaveBegin");
        oerr_DeleteErrorReportEx(&err);
    }
    Oerr_ErrorReport *err = nullptr;
    EXPECT_EQ(ofio_SaveBegin(nullptr, &err), nullptr);
    oerr_DeleteErrorReportEx(&err);
    EXPECT_EQ(ofio_SaveBegin(nullptr, nullptr), nullptr);
    EXPECT_TRUE(dir.entries().empty());
}

TEST(ofio_SaveBegin, DeviceIsWrittenInPlace) {
    Oerr_ErrorReport *err = nullptr;
    HeapString written{ofio_SaveBegin("/dev/null", &err)};
    ASSERT_NE(written.text, nullptr);
    EXPECT_STREQ(written.text, "/dev/null");
    EXPECT_EQ(ofio_SaveCommit(written.text, "/dev/null", &err), 0);
    ofio_SaveAbort(written.text, "/dev/null"); // nothing to remove
    struct stat info;
    ASSERT_EQ(stat("/dev/null", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
}

TEST(ofio_SaveCommit, MovesTheWrittenFileOverTheTarget) {
    EarlierFile target;
    HeapString written{ofio_SaveBegin(target.path.c_str(), nullptr)};
    ASSERT_NE(written.text, nullptr);
    vmodtest::writeWholeFile(written.text, "new");
    Oerr_ErrorReport *err = nullptr;
    EXPECT_EQ(ofio_SaveCommit(written.text, target.path.c_str(), &err), 0);
    EXPECT_EQ(err, nullptr);
    target.expectOnly("new");
}

TEST(ofio_SaveCommit, FailureChainsToTheCallersReportAndLeavesTheTarget) {
    EarlierFile target;
    Oerr_ErrorReport *err = oerr_CreateErrorReport("earlier", 1, 2, nullptr, "earlier report");
    EXPECT_EQ(ofio_SaveCommit(target.dir.file(".gone").c_str(), target.path.c_str(), &err), -1);
    ASSERT_NE(err, nullptr);
    EXPECT_STREQ(vmodhost_ErrorFunction(err), "ofio_SaveCommit");
    ASSERT_NE(vmodhost_ErrorCause(err), nullptr);
    EXPECT_STREQ(vmodhost_ErrorMessage(vmodhost_ErrorCause(err)), "earlier report");
    oerr_DeleteErrorReportEx(&err);
    EXPECT_EQ(vmodtest::wholeFile(target.path), "old");
    EXPECT_EQ(ofio_SaveCommit(nullptr, target.path.c_str(), nullptr), -1);
}

// ---- the save through one handle ----

TEST(ofio_SaveOpen, CancelLeavesTheEarlierFileAndNothingBeside) {
    EarlierFile target;
    Ofio_File *file = ofio_SaveOpen(target.path.c_str(), nullptr);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(ofio_Fprintf(file, "new"), 3);
    ofio_SaveCancel(file);
    ofio_SaveCancel(nullptr);
    target.expectOnly("old");
}

TEST(ofio_SaveClose, PutsTheWholeFileInPlace) {
    EarlierFile target;
    Ofio_File *file = ofio_SaveOpen(target.path.c_str(), nullptr);
    ASSERT_NE(file, nullptr);
    ofio_Fprintf(file, "new ");
    EXPECT_EQ(ofio_Write(file, "bytes", 5), 0);
    EXPECT_EQ(vmodtest::wholeFile(target.path), "old"); // nothing replaced before the close
    Oerr_ErrorReport *err = nullptr;
    EXPECT_EQ(ofio_SaveClose(file, &err), 0);
    EXPECT_EQ(err, nullptr);
    target.expectOnly("new bytes");
}

// A write that fails early is remembered with its reason until the close, which then
// keeps the earlier file.
TEST(ofio_SaveClose, FailedWriteIsReportedWithTheSystemsReason) {
    EarlierFile target;
    Ofio_File *file = ofio_SaveOpen(target.path.c_str(), nullptr);
    ASSERT_NE(file, nullptr);
    vmodhost_FailWriteAfter(1);
    EXPECT_EQ(ofio_Fprintf(file, "new"), -1);
    vmodhost_FailWriteAfter(0);
    EXPECT_EQ(ofio_Fprintf(file, "more"), 4);
    Oerr_ErrorReport *err = nullptr;
    EXPECT_EQ(ofio_SaveClose(file, &err), -1);
    ASSERT_NE(err, nullptr);
    EXPECT_EQ(std::string(vmodhost_ErrorMessage(err)),
              "cannot write " + target.path + ": No space left on device");
    oerr_DeleteErrorReportEx(&err);
    target.expectOnly("old");
}

TEST(ofio_SaveOpen, RefusalNamesTheFileAndTheReason) {
    vmodtest::ScratchDir dir;
    std::string path = dir.file("missing/m.vmf");
    Oerr_ErrorReport *err = nullptr;
    EXPECT_EQ(ofio_SaveOpen(path.c_str(), &err), nullptr);
    ASSERT_NE(err, nullptr);
    EXPECT_EQ(std::string(vmodhost_ErrorMessage(err)), "cannot write " + path + ": No such file or directory");
    oerr_DeleteErrorReportEx(&err);
    EXPECT_EQ(ofio_SaveOpen(path.c_str(), nullptr), nullptr);
    EXPECT_EQ(ofio_SaveClose(nullptr, nullptr), -1);
}
